// vortan-sim new: makes a new game exactly as File > New would after its dialog
// returned OK, from a fresh program start and a given generator state, and
// writes it as a saved game.
//
//   vortan-sim new --seed S --size N --land L --difficulty D --players KKKKKK
//                  [--ini FILE] --out FILE.gam
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/game_start.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "persist/settings_file.h"
#include "tools/sim_commands.h"
#include "worldgen/new_game.h"

namespace vortan::sim {
namespace {

constexpr int kExitUsage = 2;
constexpr int kExitNoWorld = 3;
constexpr int kExitWriteFailed = 1;

// Headless hooks that keep the text of the last message box.
class CapturingHooks : public PresentationHooks {
 public:
  std::string lastMessage;
  MsgResult ShowMessageBox(std::string_view, std::string_view text, MsgIcon, MsgButtons) override {
    lastMessage = text;
    return MsgResult::Ok;
  }
};

struct NewOptions {
  uint32_t seed = 0;
  int size = 0;
  int land = 0;
  int difficulty = 0;
  std::array<uint8_t, kPlayerCount> kinds{};
  std::string ini;
  std::string out;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "vortan-sim new: %s\n", problem.c_str());
  return kExitUsage;
}

// A decimal number within [lo, hi]; nothing else.
std::optional<long long> ParseNumber(const std::string& text, long long lo, long long hi) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v < lo || v > hi) return std::nullopt;
  return v;
}

std::optional<std::array<uint8_t, kPlayerCount>> ParsePlayers(const std::string& text) {
  if (text.size() != kPlayerCount) return std::nullopt;
  std::array<uint8_t, kPlayerCount> kinds{};
  for (int p = 0; p < kPlayerCount; ++p) {
    switch (text[p]) {
      case 'O': kinds[p] = PlayerKind::Out; break;
      case 'H': kinds[p] = PlayerKind::Human; break;
      case 'C': kinds[p] = PlayerKind::Computer; break;
      default: return std::nullopt;
    }
  }
  return kinds;
}

struct NumberOption {
  const char* name;
  long long lo, hi;
  const char* expected;
};
constexpr NumberOption kSeed{"--seed", 0, 4294967295LL, "an unsigned 32-bit number"};
constexpr NumberOption kSize{"--size", 1, kGridSide, "a world side from 1 to 70"};
constexpr NumberOption kLand{"--land", 0, 4, "0 to 4"};
constexpr NumberOption kDifficulty{"--difficulty", 0, 3, "0 to 3"};

// Fills `o` from the arguments; an empty string when they are good, else the problem.
std::string ReadOptions(const Args& args, NewOptions& o) {
  static const std::vector<std::string> kKnown = {"--seed", "--size",    "--land", "--difficulty",
                                                  "--players", "--ini", "--out"};
  std::map<std::string, std::string> given;
  for (size_t i = 0; i < args.size(); i += 2) {
    const std::string& name = args[i];
    if (std::find(kKnown.begin(), kKnown.end(), name) == kKnown.end()) return "unknown argument '" + name + "'";
    if (i + 1 >= args.size()) return name + " needs a value";
    given[name] = args[i + 1];
  }
  for (const std::string& name : kKnown)
    if (name != "--ini" && !given.count(name)) return "missing " + name;
  std::optional<long long> values[4];
  const NumberOption* numbers[] = {&kSeed, &kSize, &kLand, &kDifficulty};
  for (int k = 0; k < 4; ++k) {
    values[k] = ParseNumber(given[numbers[k]->name], numbers[k]->lo, numbers[k]->hi);
    if (!values[k])
      return std::string(numbers[k]->name) + " must be " + numbers[k]->expected + ", not '" +
             given[numbers[k]->name] + "'";
  }
  o.seed = static_cast<uint32_t>(*values[0]);
  o.size = static_cast<int>(*values[1]);
  o.land = static_cast<int>(*values[2]);
  o.difficulty = static_cast<int>(*values[3]);
  const auto kinds = ParsePlayers(given["--players"]);
  if (!kinds) return "--players must be six letters O, H or C, not '" + given["--players"] + "'";
  o.kinds = *kinds;
  int humans = 0, taking = 0;
  for (uint8_t k : o.kinds) {
    humans += k == PlayerKind::Human;
    taking += k != PlayerKind::Out;
  }
  if (humans == 0) return "--players needs a human player (H)";
  if (taking < 2) return "--players needs more than 1 player";
  o.ini = given.count("--ini") ? given["--ini"] : "";
  if (!o.ini.empty() && !std::ifstream(o.ini)) return "cannot read --ini file '" + o.ini + "'";
  o.out = given["--out"];
  if (o.out.empty()) return "--out needs a file name";
  return "";
}

}  // namespace

int RunNew(const Args& args) {
  NewOptions o;
  if (std::string problem = ReadOptions(args, o); !problem.empty()) return Usage(problem);

  auto g = std::make_unique<Game>();
  CapturingHooks hooks;
  g->hooks = &hooks;
  ResetToProgramStart(*g);
  if (o.ini.empty())
    ApplyDefaultPieceAttributes(g->settings);
  else
    LoadPieceAttributes(g->settings, o.ini);
  g->rng.SetState(o.seed);
  g->settings.width = g->settings.height = static_cast<uint8_t>(o.size);
  g->settings.landAmount = static_cast<uint8_t>(o.land);
  g->settings.difficulty = static_cast<uint8_t>(o.difficulty);
  g->settings.kind = o.kinds;

  if (StartNewGame(*g) == 0) {
    std::fprintf(stderr, "%s\n", hooks.lastMessage.c_str());
    return kExitNoWorld;
  }

  if (!WriteGameToPath(*g, o.out)) {
    std::fprintf(stderr, "vortan-sim new: cannot write '%s'\n", o.out.c_str());
    return kExitWriteFailed;
  }
  return 0;
}

}  // namespace vortan::sim
