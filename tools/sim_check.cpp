// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim check: the load check of a saved game, then the game's own
// consistency rules on the game as Open would leave it.
#include <cstdio>
#include <memory>
#include <string>

#include "game/game_start.h"
#include "model/game.h"
#include "rules/invariants.h"
#include "tools/sim_commands.h"

namespace vortan::sim {
namespace {

constexpr int kExitInconsistent = 5;

int RunCheck(const ParsedArgs& args) {
  const std::string& path = args.Operands()[0];
  const auto bytes = ReadAcceptedGameFile(path);
  if (!bytes) return kExitRefused;
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  LoadGameFromBytes(*g, bytes->data(), bytes->size(), path);
  if (const std::string broken = CheckInvariants(*g); !broken.empty()) {
    std::printf("%s: accepted but inconsistent: %s\n", path.c_str(), broken.c_str());
    return kExitInconsistent;
  }
  std::printf("%s: ok\n", path.c_str());
  return 0;
}

}  // namespace

const Command kCheckCommand{
    "check", "the load check, then the game's consistency rules on the loaded game", "FILE.gam", 1, {}, RunCheck};

}  // namespace vortan::sim
