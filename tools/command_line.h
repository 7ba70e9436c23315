// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of vortan-sim: one parser for every command. A command is
// a table of the options it takes; the parser checks the arguments against it
// (unknown, repeated, missing, numbers out of range), prints the help and the
// one-line errors, so a command's own code starts from checked values.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vortan::sim {

inline constexpr int kExitUsage = 2;

struct Option {
  const char* name;   // "--seed"
  const char* value;  // what the value is called in the usage: "S", "FILE.gam"
  const char* help;   // one line
  bool required = false;
  bool number = false;  // a number within [lo, hi], decimal or 0x hexadecimal
  long long lo = 0, hi = 0;
};

struct ParsedArgs {
  bool Has(std::string_view option) const { return values.find(option) != values.end(); }
  // The value given, or `fallback` when the option was left out.
  std::string Text(std::string_view option, std::string fallback = {}) const;
  // The value of a number option, already checked against its range.
  long long Number(std::string_view option, long long fallback = 0) const;
  const std::vector<std::string>& Operands() const { return operands; }

  std::map<std::string, std::string, std::less<>> values;  // option name -> value as given
  std::vector<std::string> operands;                       // the arguments that are no options
};

struct Command {
  const char* name;
  const char* summary;   // one line for `vortan-sim --help`
  const char* operands;  // shown after the options, e.g. "FILE.gam"; "" for none
  int operandCount;      // how many operands it needs
  std::span<const Option> options;
  int (*run)(const ParsedArgs&);
};

// A decimal (or 0x hexadecimal) number within [lo, hi]; nothing else.
std::optional<long long> ParseNumber(std::string_view text, long long lo, long long hi);

// The whole of main: picks the command, handles --help and --version, parses
// the command's arguments and runs it. Returns the process exit code.
int RunCommandLine(std::span<const Command* const> commands, int argc, char** argv);

// For the commands' own checks beyond the table: prints "vortan-sim NAME: problem"
// and returns the usage exit code.
int UsageError(const char* command, const std::string& problem);

}  // namespace vortan::sim
