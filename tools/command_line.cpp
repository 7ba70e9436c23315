// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/command_line.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "vortan/version.h"

namespace vortan::sim {
namespace {

constexpr const char* kProgram = "vortan-sim";

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

std::string Synopsis(const Command& c) {
  std::string line = std::string(kProgram) + " " + c.name;
  for (const Option& o : c.options) {
    const std::string part = std::string(o.name) + " " + o.value;
    line += o.required ? " " + part : " [" + part + "]";
  }
  if (*c.operands) line += std::string(" ") + c.operands;
  return line;
}

void PrintCommandHelp(const Command& c) {
  std::printf("Usage: %s\n\n%s\n", Synopsis(c).c_str(), c.summary);
  if (!c.options.empty()) std::printf("\nOptions:\n");
  for (const Option& o : c.options) {
    const std::string left = std::string(o.name) + " " + o.value;
    std::printf("  %-18s %s\n", left.c_str(), o.help);
  }
  std::printf("  %-18s %s\n", "-h, --help", "show this help and exit");
}

void PrintProgramHelp(std::span<const Command* const> commands) {
  std::printf("Usage: %s COMMAND [OPTIONS]\n\n", kProgram);
  std::printf("The Vortan game without a window: new worlds, saved-game checks and\n");
  std::printf("computer-only games. A seed always gives the same game.\n\nCommands:\n");
  for (const Command* c : commands) std::printf("  %-11s %s\n", c->name, c->summary);
  std::printf("\nOptions:\n  %-11s %s\n  %-11s %s\n", "-h, --help", "show this help and exit", "--version",
              "show the version and exit");
  std::printf("\nRun '%s COMMAND --help' for the options of a command.\n", kProgram);
}

std::string RangeText(const Option& o) {
  return "a number from " + std::to_string(o.lo) + " to " + std::to_string(o.hi);
}

class CommandLineParser {
 public:
  explicit CommandLineParser(const Command& c) : c_(c) {}

  // An empty string when the arguments fit the table, else the problem.
  std::string Parse(std::span<char* const> args, ParsedArgs& out) const {
    for (size_t i = 0; i < args.size(); ++i) {
      const std::string_view arg = args[i];
      if (arg.size() < 2 || arg.substr(0, 2) != "--") {
        out.operands.emplace_back(arg);
        continue;
      }
      const Option* o = Find(arg);
      if (!o) return "unknown option '" + std::string(arg) + "'";
      if (out.Has(arg)) return std::string(arg) + " given twice";
      if (i + 1 >= args.size()) return std::string(arg) + " needs a value (" + o->value + ")";
      const std::string value = args[++i];
      if (value.empty()) return std::string(arg) + " needs a value (" + o->value + ")";
      if (o->number && !ParseNumber(value, o->lo, o->hi))
        return std::string(arg) + " must be " + RangeText(*o) + ", not '" + value + "'";
      out.values[std::string(arg)] = value;
    }
    for (const Option& o : c_.options)
      if (o.required && !out.Has(o.name)) return std::string("missing ") + o.name;
    if (static_cast<int>(out.operands.size()) != c_.operandCount) {
      if (c_.operandCount == 0) return "unexpected argument '" + out.operands.front() + "'";
      return std::string("needs exactly ") + std::to_string(c_.operandCount) + " " + c_.operands;
    }
    return {};
  }

 private:
  const Option* Find(std::string_view name) const {
    for (const Option& o : c_.options)
      if (name == o.name) return &o;
    return nullptr;
  }
  const Command& c_;
};

int RunCommand(const Command& c, std::span<char* const> args) {
  for (const char* arg : args)
    if (IsHelp(arg)) {
      PrintCommandHelp(c);
      return 0;
    }
  ParsedArgs parsed;
  if (std::string problem = CommandLineParser(c).Parse(args, parsed); !problem.empty()) {
    std::fprintf(stderr, "%s %s: %s (see '%s %s --help')\n", kProgram, c.name, problem.c_str(), kProgram, c.name);
    return kExitUsage;
  }
  return c.run(parsed);
}

}  // namespace

std::string ParsedArgs::Text(std::string_view option, std::string fallback) const {
  const auto it = values.find(option);
  return it == values.end() ? fallback : it->second;
}

long long ParsedArgs::Number(std::string_view option, long long fallback) const {
  const auto it = values.find(option);
  if (it == values.end()) return fallback;
  return *ParseNumber(it->second, std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max());
}

std::optional<long long> ParseNumber(std::string_view text, long long lo, long long hi) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  // from_chars takes a leading minus; a count or a seed never has one.
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi) return std::nullopt;
  return value;
}

int UsageError(const char* command, const std::string& problem) {
  std::fprintf(stderr, "%s %s: %s\n", kProgram, command, problem.c_str());
  return kExitUsage;
}

int RunCommandLine(std::span<const Command* const> commands, int argc, char** argv) {
  const std::span<char* const> args(argv + 1, argc > 0 ? argc - 1 : 0);
  if (args.empty()) {
    std::fprintf(stderr, "%s: missing command (see '%s --help')\n", kProgram, kProgram);
    return kExitUsage;
  }
  const std::string_view first = args[0];
  if (IsHelp(first)) {
    PrintProgramHelp(commands);
    return 0;
  }
  if (first == "--version") {
    std::printf("%s %s\n", kProgram, kVersion);
    return 0;
  }
  for (const Command* c : commands)
    if (first == c->name) return RunCommand(*c, args.subspan(1));
  const char* what = first.substr(0, 1) == "-" ? "option" : "command";
  std::fprintf(stderr, "%s: unknown %s '%s' (see '%s --help')\n", kProgram, what, args[0], kProgram);
  return kExitUsage;
}

}  // namespace vortan::sim
