// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/elimination.h"

#include "game/game_start.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

using Flags = std::array<uint8_t, kPlayerCount>;
using Calls = std::vector<std::string>;

// Records which player each dialog names at the moment it is shown, and the
// events that grey the menus.
struct EndingHooks : RecordingHooks {
  Game* game = nullptr;
  void ShowEliminatedDialog() override { calls.push_back("Eliminated " + std::to_string(game->app.lostPlayer)); }
  void ShowVictoryDialog() override { calls.push_back("Victory " + std::to_string(game->app.winner)); }
  void NoHumanLeft() override { calls.push_back("NoHumanLeft"); }
  void GameOver() override { calls.push_back("GameOver"); }
};

const std::string kLaugh = "Sound " + std::to_string(SoundEffect::Laugh);
const std::string kFanfare = "Sound " + std::to_string(SoundEffect::Victory);

struct EliminationTest : WorldTest<EndingHooks> {
  void SetUp() override {
    Build({"........", ".++++++.", ".++++++.", "........"});
    g.settings.kind = {PlayerKind::Human, PlayerKind::Computer, PlayerKind::Computer,
                       PlayerKind::Out,   PlayerKind::Human,    PlayerKind::Out};
    hooks.game = &g;
  }
};

TEST_F(EliminationTest, EveryPlayerWithNothingLeftGoesInOneCheckLowerIndexFirst) {
  AddCity(g, 0, 1, 1);
  AddPiece(g, PieceType::Destroyer, 1, 0, 0);  // a ship at sea keeps its owner alive
  CheckElimination(g);
  // Players 2 and 4 own nothing; 3 and 5 are Out and never reported.
  EXPECT_EQ(hooks.calls, (Calls{kLaugh, "Eliminated 2", kLaugh, "Eliminated 4"}));
  EXPECT_EQ(g.state.eliminated, (Flags{0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(g.state.gameActive, 1);
  hooks.calls.clear();
  CheckElimination(g);  // nothing new: no dialog twice
  EXPECT_TRUE(hooks.calls.empty());
}

TEST_F(EliminationTest, TheLastPlayerStandingHasConqueredTheWorld) {
  AddCity(g, 1, 5, 2);
  AddPiece(g, PieceType::Army, 0, 2, 2);
  g.state.eliminated[2] = g.state.eliminated[4] = 1;
  CheckElimination(g);
  EXPECT_EQ(g.state.gameActive, 1);
  P(1).type = PieceType::None;  // the human's last army falls
  g.state.currentPlayer = 0;
  CheckElimination(g);
  EXPECT_THAT(
      NAMED(g.state.eliminated[0], g.app.winner, g.state.currentPlayer, g.state.viewingPlayer, g.state.gameActive),
      ElementsAre(1, 1, 1, 1, 0));
  EXPECT_EQ(hooks.calls, (Calls{kLaugh, "Eliminated 0", "NoHumanLeft", kFanfare, "Victory 1", "GameOver"}))
      << "the last human's fall leaves no human, and the victory ends the game";
}

TEST_F(EliminationTest, ANamedGameIsSavedAtVictoryTheRecoveryFileIsNot) {
  ScratchFolder folder;
  const auto& dir = folder.path;
  g.app.fileFolder = dir.string();
  g.keepFinalPosition = &KeepFinalPosition;  // as setting the game up installs it
  AddCity(g, 4, 5, 2);
  CheckElimination(g);
  EXPECT_EQ(g.state.gameActive, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / kRecoverFileName));
  g.state.gameActive = 1;
  g.app.fileName = "final.gam";
  CheckElimination(g);
  ASSERT_TRUE(std::filesystem::exists(dir / "final.gam"));
  EXPECT_EQ(std::filesystem::file_size(dir / "final.gam"), static_cast<uintmax_t>(kSavedGameBytes));
}

TEST_F(EliminationTest, WhenTheLastTwoFallTogetherNobodyWins) {
  AddPiece(g, PieceType::Army, 0, 2, 2);
  AddPiece(g, PieceType::Army, 1, 3, 2);
  g.state.eliminated[2] = g.state.eliminated[4] = 1;
  g.app.winner = 5;
  P(0).type = P(1).type = PieceType::None;  // one blast
  CheckElimination(g);
  EXPECT_THAT(NAMED(g.state.eliminated[0], g.state.eliminated[1], g.state.gameActive, g.app.winner),
              ElementsAre(1, 1, 0, 5));
  EXPECT_EQ(CountStartingWith(hooks.calls, "Victory"), 0);
}

}  // namespace
}  // namespace vortan::test
