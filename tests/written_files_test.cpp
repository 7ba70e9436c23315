// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever the program writes must pass the check that Open applies, at any
// moment of any game: freshly generated, played on, and a second game started
// in the same run over the remains of the first.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/piece_types.h"
#include "persist/file_bytes.h"
#include "persist/saved_game.h"
#include "rules/invariants.h"
#include "support/files.h"
#include "support/world_picture.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

std::string LoadCheckOf(const Game& g) {
  const std::vector<uint8_t> bytes = GameFileBytes(g);
  return CheckSavedGameBytes(bytes.data(), bytes.size());
}

void StartNew(Game& g, int size, int land, int difficulty, std::array<uint8_t, kPlayerCount> kinds) {
  g.settings.width = g.settings.height = static_cast<uint8_t>(size);
  g.settings.landAmount = static_cast<uint8_t>(land);
  g.settings.difficulty = static_cast<uint8_t>(difficulty);
  g.settings.kind = kinds;
  ASSERT_EQ(StartNewGame(g), 1);
}

// Plays on with every human on auto play, checking the game's rules after
// every step and the file now and then.
void PlayOnChecking(Game& g, int untilDay) {
  for (int p = 0; p < kPlayerCount; ++p) g.state.autoPlay[p] = g.settings.kind[p] == PlayerKind::Human;
  for (long step = 0; g.state.gameActive && g.state.day < untilDay; ++step) {
    AdvanceGame(g);
    ASSERT_EQ(CheckInvariants(g), "") << "day " << g.state.day << " step " << step;
    if (step % 997 == 0) {
      ASSERT_EQ(LoadCheckOf(g), "") << "day " << g.state.day;
    }
  }
  ASSERT_EQ(LoadCheckOf(g), "");
}

constexpr uint8_t H = PlayerKind::Human, C = PlayerKind::Computer, O = PlayerKind::Out;

TEST(WrittenFiles, EveryNewGameSetupPassesTheLoadCheck) {
  const std::array<std::array<uint8_t, kPlayerCount>, 3> mixes = {
      {{H, C, O, O, O, O}, {O, C, H, C, O, H}, {H, H, H, H, H, H}}};
  uint32_t seed = 1;
  for (int size = 50; size <= 70; size += 5)
    for (int land = 0; land <= 4; ++land)
      for (const auto& kinds : mixes) {
        Game g;
        test::StartProgram(g, seed++);
        StartNew(g, size, land, static_cast<int>(seed % 4), kinds);
        ASSERT_EQ(LoadCheckOf(g), "") << "size " << size << " land " << land << " seed " << seed - 1;
      }
}

TEST(WrittenFiles, GamesPlayedOnAndASecondGameInTheSameRunPassTheLoadCheck) {
  for (uint32_t seed : {11u, 12u, 13u}) {
    SCOPED_TRACE(seed);
    Game g;
    test::StartProgram(g, seed);
    DemoCommand(g);
    ASSERT_EQ(g.state.gameActive, 1);
    PlayOnChecking(g, 90);
    // The weekly saves of the unnamed second game land in a folder of the test's own.
    const test::ScratchFolder folder;
    g.app.fileFolder = folder.path.string();
    StartNew(g, 50, 2, 3, {H, C, C, O, O, O});
    ASSERT_EQ(LoadCheckOf(g), "");
    PlayOnChecking(g, 40);
    const auto saved = ReadFileBytes((folder.path / kRecoverFileName).string(), kSavedGameBytes + 1);
    ASSERT_TRUE(saved) << "no weekly save was written";
    EXPECT_EQ(CheckSavedGameBytes(saved->data(), saved->size()), "");
  }
}

}  // namespace
}  // namespace vortan
