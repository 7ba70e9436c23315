#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "rules/invariants.h"
#include "rules/turn_loop.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

// Also records the window and menu requests of the turn hand-over.
struct TurnHooks : test::RecordingHooks {
  bool pieceInfoOpen = false;
  bool productionOpen = false;
  int nested = 0;
  Game* game = nullptr;
  bool IsToolWindowOpen(ToolWindow w) const override {
    return (w == ToolWindow::PieceInfo && pieceInfoOpen) || (w == ToolWindow::Production && productionOpen);
  }
  void RepaintToolWindow(ToolWindow w) override { calls.push_back("Repaint " + std::to_string(int(w))); }
  void CloseToolWindow(ToolWindow w) override { calls.push_back("Close " + std::to_string(int(w))); }
  void OpenToolWindow(ToolWindow w) override { calls.push_back("Open " + std::to_string(int(w))); }
  void PaintMapBlack() override { calls.push_back("Black"); }
  void RepaintMainWindow() override { calls.push_back("MainWindow"); }
  void EnableMenuItem(int id, bool on) override { calls.push_back("Menu " + std::to_string(id) + (on ? " on" : " off")); }
  void CheckMenuItem(int id, bool on) override { calls.push_back("Check " + std::to_string(id) + (on ? " on" : " off")); }
  void KeepPieceInView() override { calls.push_back("KeepInView"); }
  // A modal dialog whose message loop calls the game step again, as a careless shell might.
  void ShowCityDialog(int city) override {
    test::RecordingHooks::ShowCityDialog(city);
    if (game && nested++ == 0) AdvanceGame(*game);
  }
  bool Saw(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  int IndexOf(const std::string& call) const {
    auto it = std::find(calls.begin(), calls.end(), call);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
  }
};

struct TurnLoopTest : ::testing::Test {
  Game g;
  TurnHooks hooks;
  void Build(const std::vector<std::string>& rows) {
    test::BuildWorld(g, rows);
    g.hooks = &hooks;
    g.app.fileFolder = std::filesystem::temp_directory_path().string();  // where the weekly saves go
  }
  // Starts the turn of the player after `before`, on the given day.
  void StartTurnAfter(int before, int day) {
    g.state.currentPlayer = static_cast<int16_t>(before);
    g.state.day = static_cast<int16_t>(day);
    StartPlayerTurn(g);
    ASSERT_EQ(CheckInvariants(g), "");
  }
};

// Land x 1..8, y 1..4 with sea all round.
const std::vector<std::string> kIsland = {
    "............",
    ".++++++++...",
    ".++++++++...",
    ".++++++++...",
    ".++++++++...",
    "............",
    "............",
    "............",
};

TEST_F(TurnLoopTest, HumanIsOfferedTheNearestPieceWithTiesToTheLowerIndex) {
  Build(kIsland);
  AddCity(g, 0, 8, 4);
  int far = AddPiece(g, PieceType::Army, 0, 6, 1);     // distance 5 from (1, 1)
  int tieLow = AddPiece(g, PieceType::Army, 0, 1, 4);  // distance 3
  int tieHigh = AddPiece(g, PieceType::Army, 0, 4, 1); // distance 3
  g.lastSelectedPos = MapPos{1, 1};
  g.state.currentPiece = 0;

  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, tieLow);
  EXPECT_EQ(LastSelectedPos(g), (MapPos{1, 4}));

  g.pieces[tieLow].movesLeft = 0;
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, tieHigh);  // 3 from (1, 4), the far one 5

  g.pieces[tieHigh].movesLeft = 0;
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, far);

  g.pieces[far].state = PieceState::Asleep;
  EXPECT_FALSE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, far);
}

TEST_F(TurnLoopTest, LaterAndComputersWalkTheTableInIndexOrder) {
  Build(kIsland);
  AddCity(g, 0, 8, 4);
  int far = AddPiece(g, PieceType::Army, 0, 8, 1);
  int near = AddPiece(g, PieceType::Army, 0, 2, 1);
  int put = AddPiece(g, PieceType::Army, 0, 1, 1);
  g.state.currentPiece = static_cast<int16_t>(put);
  g.lastSelectedPos = MapPos{1, 1};

  ASSERT_TRUE(FindNewPiece(g, true));
  EXPECT_EQ(g.state.currentPiece, far);  // wraps past 499 to the first movable one

  g.state.currentPiece = static_cast<int16_t>(put);
  g.lastSelectedPos = MapPos{1, 1};
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, near);

  g.settings.kind[0] = PlayerKind::Computer;
  g.state.currentPiece = static_cast<int16_t>(put);
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, far);

  // The only movable piece is the current one: it keeps the turn.
  g.pieces[far].movesLeft = g.pieces[near].movesLeft = 0;
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, put);
}

TEST_F(TurnLoopTest, ArmiesWithNowhereToGoAreNotOffered) {
  Build({
      "..........",
      ".+..+^+...",
      "....+++...",
      "..........",
      "..........",
      "..........",
  });
  int alone = AddPiece(g, PieceType::Army, 0, 1, 1);     // one-cell island
  int hemmed = AddPiece(g, PieceType::Army, 0, 4, 1);    // mountain and own armies round it
  int below = AddPiece(g, PieceType::Army, 0, 4, 2);
  AddPiece(g, PieceType::Army, 0, 5, 2);
  int besideLand = AddPiece(g, PieceType::Army, 0, 6, 1);
  EXPECT_FALSE(CanMove(g, alone));
  EXPECT_FALSE(CanMove(g, hemmed));
  EXPECT_TRUE(CanMove(g, besideLand));  // (6, 2) is free land
  g.pieces[hemmed].movesLeft = 0;
  EXPECT_TRUE(IsArmyBoxedIn(g, hemmed));

  // An enemy army beside it is something to attack.
  g.pieces[below].owner = 1;
  RefreshCell(g, g.pieces[below].Pos());
  EXPECT_FALSE(IsArmyBoxedIn(g, hemmed));
}

TEST_F(TurnLoopTest, ArmyAboardATransportIsOfferedOnlyBesideLand) {
  Build({
      "..........",
      "..........",
      "..........",
      "......++..",
      "..........",
  });
  int transport = AddPiece(g, PieceType::Transport, 0, 2, 1);
  int army = AddPiece(g, PieceType::Army, 0, 2, 1);
  g.pieces[transport].movesLeft = 0;
  g.state.currentPiece = static_cast<int16_t>(transport);
  EXPECT_FALSE(CanMove(g, army));
  EXPECT_FALSE(FindNewPiece(g, false));

  for (int i : {transport, army}) g.pieces[i].x = 5, g.pieces[i].y = 2;
  RefreshAllCells(g);
  EXPECT_TRUE(CanMove(g, army));
  ASSERT_TRUE(FindNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, army);
}

TEST_F(TurnLoopTest, TurnStartWakesRepairsAndGivesMoves) {
  Build({
      "............",
      ".++++++++...",
      ".++++++++...",
      ".++++++++...",
      ".+++++++....",
      "............",
      "............",
      "............",
  });
  AddCity(g, 1, 1, 1);
  int cityA = AddCity(g, 0, 7, 3);
  AddCity(g, 0, 7, 4);  // a second city beside the sea cell (8, 4)
  int ship = AddPiece(g, PieceType::Destroyer, 0, 8, 4);
  int garrison = AddPiece(g, PieceType::Army, 0, 7, 3);
  int field = AddPiece(g, PieceType::Army, 0, 4, 2);
  int slow = AddPiece(g, PieceType::Destroyer, 0, 5, 6);
  int slower = AddPiece(g, PieceType::Battleship, 0, 1, 6);
  int waiting = AddPiece(g, PieceType::Army, 0, 3, 3);
  int carrier = AddPiece(g, PieceType::Carrier, 0, 10, 6);
  int onCarrier = AddPiece(g, PieceType::Fighter, 0, 10, 6);
  g.pieces[ship].strength = 10;
  g.pieces[garrison].strength = 10;
  g.pieces[field].strength = 10;
  g.pieces[slow].strength = 20;
  g.pieces[slower].strength = 40;
  g.pieces[onCarrier].strength = 40;
  g.pieces[waiting].state = PieceState::AwaitingOrders;
  g.pieces[waiting].destX = 6;
  g.pieces[field].destX = 8;  // a go-to order kept from the last turn
  for (int i = 0; i < kPieceSlots; ++i)
    if (!g.pieces[i].IsEmpty() && g.pieces[i].type != PieceType::City) g.pieces[i].movesLeft = 0;
  g.app.endTurnRequested = 1;

  StartTurnAfter(1, 1);
  EXPECT_EQ(g.state.currentPlayer, 0);
  EXPECT_EQ(g.state.day, 2);
  EXPECT_EQ(g.state.currentPiece, 0);
  EXPECT_EQ(g.app.endTurnRequested, 0);
  EXPECT_EQ(g.pieces[ship].strength, 60);      // beside two own cities: 10 -> 40 -> 60
  EXPECT_EQ(g.pieces[garrison].strength, 40);
  EXPECT_EQ(g.pieces[field].strength, 10);
  EXPECT_EQ(g.pieces[onCarrier].strength, 60);
  EXPECT_EQ(g.pieces[waiting].state, PieceState::Ready);
  EXPECT_EQ(g.pieces[waiting].Dest(), g.pieces[waiting].Pos());
  EXPECT_EQ(g.pieces[field].destX, 8);         // moveMemory 1 keeps the order
  EXPECT_EQ(g.pieces[ship].movesLeft, 6);
  EXPECT_EQ(g.pieces[slow].movesLeft, 3);      // strength 20: half of 6
  EXPECT_EQ(g.pieces[slower].movesLeft, 3);    // strength 40: three quarters of 4
  EXPECT_EQ(g.pieces[carrier].movesLeft, 4);
  EXPECT_EQ(g.pieces[field].movesLeft, 1);
  EXPECT_EQ(g.pieces[cityA].movesLeft, 0);
}

TEST_F(TurnLoopTest, WithoutMoveMemoryEveryOrderEndsWithTheTurn) {
  Build(kIsland);
  AddCity(g, 1, 1, 1);
  AddCity(g, 0, 8, 4);
  int army = AddPiece(g, PieceType::Army, 0, 2, 2);
  g.pieces[army].destX = 7;
  g.state.moveMemory[0] = 0;
  StartTurnAfter(1, 3);
  EXPECT_EQ(g.pieces[army].Dest(), g.pieces[army].Pos());
  EXPECT_EQ(g.pieces[army].state, PieceState::Ready);
}

TEST_F(TurnLoopTest, AircraftShortOfFuelStartTheTurnReturning) {
  Build({
      "..............................",
      ".++...........................",
      "..............................",
      "..............................",
      "..............................",
  });
  AddCity(g, 1, 2, 1);
  AddCity(g, 0, 1, 1);
  int shortFighter = AddPiece(g, PieceType::Fighter, 0, 5, 1);  // 4 from the city
  int fullFighter = AddPiece(g, PieceType::Fighter, 0, 5, 2);
  int bomber = AddPiece(g, PieceType::Bomber, 0, 13, 1);      // 12 from the city
  g.pieces[shortFighter].fuel = 3;
  g.pieces[fullFighter].fuel = 4;
  g.pieces[bomber].fuel = 11;
  StartTurnAfter(1, 2);
  EXPECT_EQ(g.world.At(5, 1).fighterRange, 4);
  EXPECT_EQ(g.pieces[shortFighter].state, PieceState::Returning);
  EXPECT_EQ(g.pieces[fullFighter].state, PieceState::Ready);
  EXPECT_EQ(g.pieces[bomber].state, PieceState::Returning);
}

TEST_F(TurnLoopTest, TurnOrderSkipsOutAndEliminatedPlayersAndComputersDecideAfresh) {
  Build(kIsland);
  g.settings.kind = {PlayerKind::Human, PlayerKind::Out, PlayerKind::Computer,
                     PlayerKind::Computer, PlayerKind::Out, PlayerKind::Out};
  AddCity(g, 0, 1, 1);
  AddCity(g, 2, 8, 1);
  AddCity(g, 3, 8, 4);
  int army = AddPiece(g, PieceType::Army, 3, 3, 3);
  int returning = AddPiece(g, PieceType::Fighter, 3, 4, 4);
  g.pieces[army].destX = 6;
  g.pieces[returning].state = PieceState::Returning;
  g.pieces[returning].destX = 1;
  g.state.eliminated[2] = 1;
  g.pieces[1].type = PieceType::None;  // player 2 has nothing left
  RefreshAllCells(g);
  StartTurnAfter(0, 4);
  EXPECT_EQ(g.state.currentPlayer, 3);
  EXPECT_EQ(g.state.day, 4);
  EXPECT_EQ(g.pieces[army].Dest(), g.pieces[army].Pos());
  EXPECT_EQ(g.pieces[returning].state, PieceState::Returning);
  EXPECT_EQ(g.pieces[returning].destX, 1);

  StartTurnAfter(3, 4);
  EXPECT_EQ(g.state.currentPlayer, 0);
  EXPECT_EQ(g.state.day, 5);
}

TEST_F(TurnLoopTest, RepairAddsAThirdOfTheDamage) {
  Build(kIsland);
  int army = AddPiece(g, PieceType::Army, 0, 2, 2);
  for (auto [before, after] : {std::pair{10, 40}, {40, 60}, {99, 99}, {98, 98}, {97, 98}, {1, 34}}) {
    g.pieces[army].strength = static_cast<int16_t>(before);
    RepairPiece(g, army);
    EXPECT_EQ(g.pieces[army].strength, after) << "from " << before;
  }
}

TEST_F(TurnLoopTest, EverySeventhDaySavesToTheGameFile) {
  Build(kIsland);
  AddCity(g, 0, 1, 1);
  AddCity(g, 1, 8, 4);
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vortan_turn_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "weekly.gam";
  g.app.fileFolder = dir.string();
  g.app.fileName = "weekly.gam";

  StartTurnAfter(1, 5);
  EXPECT_FALSE(std::filesystem::exists(file));
  StartTurnAfter(1, 6);
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(std::filesystem::file_size(file), static_cast<uintmax_t>(kSavedGameBytes));

  std::filesystem::remove(file);
  g.state.demoMode = 1;
  StartTurnAfter(1, 13);
  EXPECT_EQ(g.state.day, 14);
  EXPECT_FALSE(std::filesystem::exists(file));
  std::filesystem::remove_all(dir);
}

TEST_F(TurnLoopTest, HandOverShowsThePromptBehindABlackMap) {
  Build(kIsland);
  g.settings.kind[1] = PlayerKind::Human;
  int city = AddCity(g, 1, 8, 4);
  AddCity(g, 0, 1, 1);
  g.state.viewX = 3;
  g.state.savedViewX[1] = 7;
  g.state.currentPlayer = 1;
  g.state.day = 2;
  g.app.promptOnNewHuman = true;
  hooks.pieceInfoOpen = true;
  HandOverTurn(g);
  EXPECT_EQ(g.state.viewingPlayer, 1);
  EXPECT_EQ(g.state.savedViewX[0], 3);
  EXPECT_EQ(g.state.viewX, 7);
  const int black = hooks.IndexOf("Black"), close = hooks.IndexOf("Close 2"), prompt = hooks.IndexOf("NextPlayer"),
            main = hooks.IndexOf("MainWindow"), reopen = hooks.IndexOf("Open 2");
  ASSERT_GE(black, 0);
  EXPECT_TRUE(black < close && close < prompt && prompt < main && main < reopen);
  EXPECT_FALSE(hooks.Saw("Close 3"));  // only open windows are closed
  EXPECT_FALSE(hooks.Saw("Repaint 3"));
  EXPECT_FALSE(hooks.Saw("City " + std::to_string(city)));  // productions are chosen on day 1 only
  EXPECT_TRUE(hooks.Saw("Menu " + std::to_string(Cmd::EndTurn) + " on"));
  EXPECT_TRUE(hooks.Saw("Check " + std::to_string(Cmd::AutoPlay) + " off"));
  EXPECT_EQ(g.lastShownPiece, kPieceSlots);

  // The same player again on a later day: no switch, no prompt.
  hooks.calls.clear();
  HandOverTurn(g);
  EXPECT_FALSE(hooks.Saw("NextPlayer"));
  EXPECT_TRUE(hooks.Saw("Repaint 3"));
}

TEST_F(TurnLoopTest, FirstDayRunsThroughEveryPlayerToTheFirstBuiltPiece) {
  Build(kIsland);
  g.settings.kind[1] = PlayerKind::Human;
  int red = AddCity(g, 0, 1, 1);
  int green = AddCity(g, 1, 8, 4);
  g.state.currentPiece = 0;
  hooks.game = &g;  // the City dialog tries to step the game again
  AdvanceGame(g);
  EXPECT_FALSE(g.insideAdvanceGame);
  EXPECT_EQ(hooks.nested, 2);
  ASSERT_EQ(CheckInvariants(g), "");
  EXPECT_TRUE(hooks.Saw("City " + std::to_string(red)));
  EXPECT_TRUE(hooks.Saw("City " + std::to_string(green)));
  // Days 2, 3 and 4 count the 4 days down to 1; on day 5 red builds its army.
  EXPECT_EQ(g.state.day, 5);
  EXPECT_EQ(g.state.currentPlayer, 0);
  EXPECT_EQ(g.state.viewingPlayer, 0);
  const PieceRecord& army = g.pieces[g.state.currentPiece];
  EXPECT_EQ(army.type, PieceType::Army);
  EXPECT_EQ(army.owner, 0);
  EXPECT_EQ(army.state, PieceState::AwaitingOrders);
  EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "KeepInView"), 1);
}

TEST_F(TurnLoopTest, AnAircraftWithoutFuelIsLostWhenItNextHoldsTheTurn) {
  Build(kIsland);
  AddCity(g, 1, 8, 4);
  AddCity(g, 0, 1, 1);
  int fighter = AddPiece(g, PieceType::Fighter, 0, 10, 6);
  g.pieces[fighter].fuel = 0;
  g.state.currentPiece = static_cast<int16_t>(fighter);
  AdvanceGame(g);
  EXPECT_TRUE(g.pieces[fighter].IsEmpty());
  EXPECT_EQ(g.world.At(10, 6).topType, PieceType::None);
  EXPECT_TRUE(hooks.Saw("Explosion 10,6 255/0/0 r1"));
  EXPECT_EQ(CheckInvariants(g), "");
}

TEST_F(TurnLoopTest, TheLoopStopsWhenNobodyIsLeft) {
  Build(kIsland);
  g.state.currentPiece = 0;
  AdvanceGame(g);  // nothing on the map: both players go, nobody wins
  EXPECT_EQ(g.state.gameActive, 0);
  EXPECT_FALSE(hooks.Saw("Victory"));
  AdvanceGame(g);
  EXPECT_EQ(g.state.gameActive, 0);
}

TEST_F(TurnLoopTest, WhenNothingCanMoveForLongTheStepReturnsToTheMessageLoop) {
  Build(kIsland);
  g.settings.kind[1] = PlayerKind::Human;
  for (int p = 0; p < 2; ++p) g.pieces[AddPiece(g, PieceType::Army, p, 2 + 4 * p, 2)].state = PieceState::Asleep;
  g.state.day = 3;
  AdvanceGame(g);
  EXPECT_EQ(g.state.gameActive, 1);
  EXPECT_EQ(g.state.day, 3 + 64);
  AdvanceGame(g);
  EXPECT_EQ(g.state.day, 3 + 128);

  g.pieces[0].state = PieceState::Ready;  // woken by a click while the game was idle
  AdvanceGame(g);
  EXPECT_EQ(g.state.currentPiece, 0);
  EXPECT_EQ(g.pieces[0].state, PieceState::AwaitingOrders);
}

}  // namespace
}  // namespace vortan
