// SPDX-License-Identifier: GPL-3.0-or-later
#include "worldgen/new_game.h"
#include "game/game_start.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "support/files.h"
#include "support/named_values.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using ::testing::ElementsAre;

using test::BuildWorld;

// Records hook calls and the last game set-up and zoom level announced.
struct MenuHooks : test::RecordingHooks {
  struct SetUp {
    bool demo;
    int humansLeft;
    std::optional<bool> autoPlay, moveMemory;
  };
  std::optional<SetUp> setUp;
  std::optional<int> zoom;
  std::function<bool()> dialog = [] { return true; };
  void GameSetUp(bool demo, int humansLeft, std::optional<bool> autoPlay, std::optional<bool> moveMemory) override {
    setUp = SetUp{demo, humansLeft, autoPlay, moveMemory};
  }
  void ZoomChanged(int level) override { zoom = level; }
  bool RunNewGameDialog() override { return dialog(); }
  void SetWaitCursor(bool on) override { calls.push_back(on ? "Wait" : "Arrow"); }
};

struct NewGameTest : ::testing::Test {
  std::unique_ptr<Game> owner = std::make_unique<Game>();
  Game& g = *owner;
  MenuHooks hooks;
  test::ScratchFolder scratch;
  ProfileSettings store{(scratch.path / "VORTAN.INI").string()};
  void SetUp() override {
    test::StartProgram(g, 2024);
    g.hooks = &hooks;
    g.settingsPath = (scratch.path / "VORTAN.INI").string();
  }
  int Setting(const char* section, const std::string& key) { return ReadProfileInt(g.settingsPath, section, key, -1); }
  std::vector<uint8_t> SettingsBytes() {
    std::vector<uint8_t> b(kSettingsBytes);
    EncodeSettings(g.settings, b.data());
    return b;
  }
};

TEST_F(NewGameTest, NewGameDialogStoresItsChoiceEvenWhenItRefusesIt) {
  g.settings.landAmount = 3;
  EXPECT_EQ(ApplyNewGameChoice(g, {{2, 2, 0, 0, 0, 0}, std::nullopt, 7, std::nullopt}, store),
            NewGameVerdict::NoHumanPlayer);
  EXPECT_EQ(hooks.calls.back(), "Message Sorry!: There must be a human player");
  EXPECT_THAT(NAMED(g.settings.width, g.settings.difficulty, g.settings.landAmount),
              ElementsAre(70, Difficulty::Hard, 3));
  EXPECT_THAT(NAMED(Setting("Settings", "player2"), Setting("Settings", "size"), Setting("Settings", "land")),
              ElementsAre(2, 4, -1))
      << "no land button: nothing written";
  EXPECT_EQ(ApplyNewGameChoice(g, {{0, 0, 1, 0, 0, 0}, 1, 0, 4}, store), NewGameVerdict::OnlyOnePlayer);
  EXPECT_EQ(hooks.calls.back(), "Message Sorry!: There must be more than 1 player");
  EXPECT_THAT(NAMED(g.settings.height, Setting("Settings", "land")), ElementsAre(55, 4));
  hooks.calls.clear();
  EXPECT_EQ(ApplyNewGameChoice(g, {{0, 2, 1, 0, 0, 0}, 0, 2, 1}, store), NewGameVerdict::Accepted);
  EXPECT_TRUE(hooks.calls.empty());
}

// Cancelled or failed, the game's settings are put back; the file keeps what the dialogs wrote.
TEST_F(NewGameTest, CancelOrFailedGenerationPutsTheSettingsBack) {
  const auto before = SettingsBytes();
  hooks.dialog = [&] {
    ApplyNewGameChoice(g, {{2, 2, 2, 0, 0, 0}, 2, 1, 0}, store);
    PieceAttributeInput in;
    in.use.fill(true);
    in.use[PieceType::Carrier] = false;
    ApplyPieceAttributes(g, in, store);
    return false;
  };
  EXPECT_EQ(NewGameCommand(g), 0);
  EXPECT_EQ(SettingsBytes(), before);
  EXPECT_THAT(NAMED(Setting("Settings", "size"), Setting("Pieces", "carrier")), ElementsAre(2, 0));
  hooks.calls.clear();
  hooks.dialog = [&] {
    g.settings.kind = {1, 2, 0, 0, 0, 0};
    g.settings.width = g.settings.height = 12;  // too small for any world
    return true;
  };
  EXPECT_EQ(NewGameCommand(g), 0);
  EXPECT_EQ(SettingsBytes(), before);
  EXPECT_EQ(g.state.gameActive, 0);
  EXPECT_EQ(hooks.calls.front() + hooks.calls.back(), "WaitArrow");
}

// The new game's records are checked byte for byte by the golden games of
// vortan-sim (tests/golden); here, what lies beyond them.
TEST_F(NewGameTest, NewGameClearsTheOldGameAndSetsTheMenus) {
  hooks.dialog = [&] {
    return ApplyNewGameChoice(g, {{0, 2, 1, 2, 1, 0}, 0, 2, 1}, store) == NewGameVerdict::Accepted;
  };
  g.state.eliminated[1] = g.state.autoPlay[2] = 1;
  g.app.fileName = "OLD.GAM";
  ASSERT_EQ(NewGameCommand(g), 1);
  EXPECT_THAT(NAMED(g.state.viewingPlayer, g.state.eliminated[1], g.state.autoPlay[2]), ElementsAre(2, 0, 0));
  EXPECT_EQ(g.app.fileName, kRecoverFileName);
  ASSERT_TRUE(hooks.setUp.has_value()) << "the window was not told of the new game";
  EXPECT_THAT(
      NAMED(hooks.setUp->demo, hooks.setUp->humansLeft, hooks.setUp->autoPlay.value_or(true), g.app.promptOnNewHuman),
      ElementsAre(false, 2, false, true));
  EXPECT_EQ(hooks.zoom, kDefaultZoom) << "a new game is shown at 100 %";
}

TEST_F(NewGameTest, DemoIsSixComputersOnFortyByFortyCentredOnTheLand) {
  g.settings.inUse[PieceType::Army] = 0;
  DemoCommand(g);
  const GameSettings& s = g.settings;
  EXPECT_THAT(NAMED(s.width, s.landAmount, s.difficulty, s.inUse[PieceType::Army], g.state.demoMode, g.state.gameActive,
                    std::count(s.kind.begin(), s.kind.end(), PlayerKind::Computer)),
              ElementsAre(40, 2, Difficulty::Easy, 1, 1, 1, kPlayerCount));
  const MapPos centre = CentreOnLand(g.settings, g.world);
  EXPECT_THAT(NAMED(g.state.homeX[0], g.state.savedViewY[0], g.state.viewX, g.state.homeX[1]),
              ElementsAre(centre.x, centre.y, centre.x, g.pieces[1].x));
}

TEST_F(NewGameTest, SetUpGameViewNumbersCitiesAndRunsTheEliminationCheck) {
  BuildWorld(g, {".......", ".*+*.*.", ".+++...", "......."});
  test::AddCity(g, 0, 2, 2);
  test::AddCity(g, 1, 5, 1);
  test::AddCity(g, 3, 0, 0);
  g.settings.kind[3] = g.settings.kind[2] = PlayerKind::Computer;  // player 2 owns nothing
  g.state.tileSize = 20, g.lastShownPiece = 3;
  SetUpGameView(g);
  const int kOrdinals[][3] = {{1, 1, 0}, {2, 2, 1}, {3, 1, 2}, {5, 1, 0}};  // x, y, ordinal
  for (auto [x, y, ordinal] : kOrdinals) EXPECT_EQ(g.world.At(x, y).cityOrdinal, ordinal) << x << "," << y;
  EXPECT_THAT(NAMED(g.lastShownPiece, g.state.tileSize, g.state.zoomIsWhole, g.state.eliminated[2]),
              ElementsAre(kPieceSlots, 16, 1, 1));
}

TEST_F(NewGameTest, PieceAttributesReadFieldsAsBytesThenBoundThem) {
  PieceAttributeInput in;
  in.use.fill(true);
  in.use[PieceType::Submarine] = false;
  in.days = {"", "0", "junk", "4", "300", "256", "-3", "12x", " 7 ", "8"};
  in.moves = {"", "1", "6", "14", "7", "4", "4", "4", "4", "7"};
  in.fuel = {"", "", "", "5", "40", "", "", "", "", "300"};
  ASSERT_TRUE(ApplyPieceAttributes(g, in, store));
  const GameSettings& s = g.settings;
  const uint8_t kDays[] = {0, 1, 1, 4, 32, 1, 1, 1, 7, 8};
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) EXPECT_EQ(s.days[t], kDays[t]) << in.days[t];
  EXPECT_THAT(NAMED(s.fuel[PieceType::Fighter], s.fuel[PieceType::Bomber], s.fuel[PieceType::Para],
                    s.inUse[PieceType::Submarine]),
              ElementsAre(8, 32, 32, 0));
  const std::vector<int> written = {Setting("Pieces", "submarine"), Setting("Pieces", "army"),
                                    Setting("Days", "battleship"),  Setting("Moves", "fighter"),
                                    Setting("Fuel", "fighter"),     Setting("Fuel", "carrier")};
  EXPECT_EQ(written, (std::vector<int>{0, 1, 1, 14, 8, -1})) << "only the air types have fuel keys";
}

TEST_F(NewGameTest, PieceAttributesRefuseASetThatCannotCaptureOrCross) {
  const auto before = SettingsBytes();
  PieceAttributeInput in;
  in.use.fill(true);
  in.use[PieceType::Army] = in.use[PieceType::Para] = false;
  EXPECT_FALSE(ApplyPieceAttributes(g, in, store));
  EXPECT_EQ(hooks.calls.back(),
            "Message Vortan: You must have either Armies or Paras in the\ngame or you couldn't capture cities!");
  in.use[PieceType::Army] = true, in.use[PieceType::Transport] = false;
  EXPECT_FALSE(ApplyPieceAttributes(g, in, store));
  EXPECT_EQ(hooks.calls.back(),
            "Message Vortan: You must have either Transports or Paras in the\ngame or you couldn't get to other "
            "islands!");
  EXPECT_TRUE(SettingsBytes() == before && Setting("Pieces", "army") == -1) << "nothing kept, nothing written";
}

}  // namespace
}  // namespace vortan
