// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim new: makes a new game exactly as File > New would after its dialog
// returned OK, from a fresh program start and a given generator state, and
// writes it as a saved game.
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "game/game_start.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "persist/settings_file.h"
#include "tools/sim_commands.h"
#include "worldgen/new_game.h"

namespace vortan::sim {
namespace {

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

constexpr Option kNewOptions[] = {
    {"--seed", "S", "state of the random generator", true, true, 0, 4294967295LL},
    {"--size", "N", "world side, 1 to 70", true, true, 1, kGridSide},
    {"--land", "L", "amount of land, 0 (much less) to 4 (lots more)", true, true, 0, 4},
    {"--difficulty", "D", "0 Simple, 1 Easy, 2 Tricky, 3 Hard", true, true, 0, 3},
    {"--players", "KKKKKK", "H, C or O (human, computer, out) for RED to PURPLE", true},
    {"--ini", "FILE", "settings file to take the piece attributes from"},
    {"--out", "FILE.gam", "the saved game to write", true},
};

std::optional<std::array<uint8_t, kPlayerCount>> ParsePlayers(const std::string& text) {
  if (text.size() != kPlayerCount) return std::nullopt;
  std::array<uint8_t, kPlayerCount> kinds{};
  for (int p = 0; p < kPlayerCount; ++p) {
    switch (text[p]) {
      case 'O':
        kinds[p] = PlayerKind::Out;
        break;
      case 'H':
        kinds[p] = PlayerKind::Human;
        break;
      case 'C':
        kinds[p] = PlayerKind::Computer;
        break;
      default:
        return std::nullopt;
    }
  }
  return kinds;
}

// What the table cannot check: the players' letters and the settings file.
std::string PlayersProblem(const std::string& text) {
  const auto kinds = ParsePlayers(text);
  if (!kinds) return "--players must be six letters O, H or C, not '" + text + "'";
  int humans = 0, taking = 0;
  for (uint8_t k : *kinds) {
    humans += k == PlayerKind::Human;
    taking += k != PlayerKind::Out;
  }
  if (humans == 0) return "--players needs a human player (H)";
  if (taking < 2) return "--players needs more than 1 player";
  return "";
}

int RunNew(const ParsedArgs& args) {
  const std::string players = args.Text("--players");
  if (std::string problem = PlayersProblem(players); !problem.empty()) return UsageError("new", problem);
  const std::string ini = args.Text("--ini");
  if (!ini.empty() && !std::ifstream(ini)) return UsageError("new", "cannot read --ini file '" + ini + "'");
  const std::string out = args.Text("--out");

  auto g = std::make_unique<Game>();
  CapturingHooks hooks;
  g->hooks = &hooks;
  ResetToProgramStart(*g);
  if (ini.empty())
    ApplyDefaultPieceAttributes(g->settings);
  else
    LoadPieceAttributes(g->settings, ini);
  g->rng.SetState(static_cast<uint32_t>(args.Number("--seed")));
  g->settings.width = g->settings.height = static_cast<uint8_t>(args.Number("--size"));
  g->settings.landAmount = static_cast<uint8_t>(args.Number("--land"));
  g->settings.difficulty = static_cast<uint8_t>(args.Number("--difficulty"));
  g->settings.kind = *ParsePlayers(players);

  if (StartNewGame(*g) == 0) {
    std::fprintf(stderr, "%s\n", hooks.lastMessage.c_str());
    return kExitNoWorld;
  }

  if (!WriteGameToPath(*g, out)) {
    std::fprintf(stderr, "vortan-sim new: cannot write '%s'\n", out.c_str());
    return kExitWriteFailed;
  }
  return 0;
}

}  // namespace

const Command kNewCommand{"new", "make a new game as File > New would and save it", "", 0, kNewOptions, RunNew};

}  // namespace vortan::sim
