// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes through the load check; an accepted file is
// loaded as Open would and played for a few steps, and must keep the game's
// own consistency rules throughout. A crash, a hang or an abort is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/game.h"
#include "persist/game_file_check.h"
#include "rules/invariants.h"

namespace {

constexpr int kStepsPlayed = 50;

void ExpectConsistent(const vortan::Game& g, const char* when) {
  const std::string broken = vortan::CheckInvariants(g);
  if (broken.empty()) return;
  std::fprintf(stderr, "game inconsistent %s: %s\n", when, broken.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vortan::Game* g = new vortan::Game;  // one game for the whole run, as in the program
  if (!vortan::CheckSavedGameBytes(data, size).empty()) return 0;
  vortan::ResetToProgramStart(*g);
  // The weekly saves go to a folder that does not exist and fail quietly.
  if (!vortan::LoadGameFromBytes(*g, data, size, "/nonexistent/fuzz.gam")) std::abort();
  ExpectConsistent(*g, "after loading");
  for (int step = 0; step < kStepsPlayed && g->state.gameActive == 1; ++step) vortan::AdvanceGame(*g);
  ExpectConsistent(*g, "after playing on");
  return 0;
}
