// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/turn_loop.h"

#include "game/orders.h"
#include "rules/invariants.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct TurnHooks : RecordingHooks {
  int nested = 0;
  Game* game = nullptr;
  void KeepPieceInView() override { calls.push_back("KeepInView"); }
  // A modal dialog whose message loop calls the game step again, as a careless shell might.
  void ShowCityDialog(int city) override {
    RecordingHooks::ShowCityDialog(city);
    if (game && nested++ == 0) AdvanceGame(*game);
  }
};

struct TurnLoopTest : WorldTest<TurnHooks> {
  // Starts the turn of the player after `before`, on the given day.
  void StartTurnAfter(int before, int day) {
    g.state.currentPlayer = static_cast<int16_t>(before);
    g.state.day = static_cast<int16_t>(day);
    StartPlayerTurn(g);
    ASSERT_EQ(CheckInvariants(g), "");
  }
  // Land x 1..8, y 1..4 with sea all round; player 0 has a city at (1, 1), player 1 at (8, 4).
  void BuildIsland(bool cities = true) {
    Build({"............", ".++++++++...", ".++++++++...", ".++++++++...", ".++++++++...", "............",
           "............", "............"});
    if (cities) AddCity(g, 0, 1, 1), AddCity(g, 1, 8, 4);
  }
};

TEST_F(TurnLoopTest, HumansGetTheNearestPieceOthersAndLaterTheNextInTableOrder) {
  BuildIsland();
  const int far = AddPiece(g, PieceType::Army, 0, 6, 1);
  const int tieLow = AddPiece(g, PieceType::Army, 0, 1, 4);
  const int tieHigh = AddPiece(g, PieceType::Army, 0, 4, 1);
  g.lastSelectedPos = MapPos{1, 1};
  // Each search measures from the piece chosen before: 3 (the lower index of a tie), then 3, then 5.
  for (int expected : {tieLow, tieHigh, far}) {
    ASSERT_TRUE(SelectNewPiece(g, false));
    EXPECT_THAT(NAMED(g.state.currentPiece, LastSelectedPos(g) == P(expected).Pos()), ElementsAre(expected, 1));
    P(expected).movesLeft = 0;
  }
  EXPECT_FALSE(SelectNewPiece(g, false));
  EXPECT_EQ(g.state.currentPiece, far);
  // From a piece at (1, 1), nearest-first would give tieLow; Later and the
  // computer take the next in index order, wrapping past the last slot.
  for (int i : {far, tieLow, tieHigh}) P(i).movesLeft = 1;
  const int put = AddPiece(g, PieceType::Army, 0, 1, 1);
  const auto nextAfterPut = [&](bool later) {
    g.state.currentPiece = static_cast<int16_t>(put);
    g.lastSelectedPos = P(put).Pos();
    P(put).state = PieceState::AwaitingOrders;
    EXPECT_TRUE(later ? OrderLater(g) : SelectNewPiece(g, false));
    return g.state.currentPiece;
  };
  EXPECT_EQ(nextAfterPut(true), far);
  g.settings.kind[0] = PlayerKind::Computer;
  EXPECT_EQ(nextAfterPut(false), far);
  for (int i : {far, tieLow, tieHigh}) P(i).movesLeft = 0;
  EXPECT_EQ(nextAfterPut(false), put);  // the only movable piece keeps the turn
}

TEST_F(TurnLoopTest, ArmiesWithNowhereToGoAreNotOffered) {
  Build({"..........", ".+..+^+...", "....+++...", "..........", "..........", ".........."});
  const int alone = AddPiece(g, PieceType::Army, 0, 1, 1);   // one-cell island
  const int hemmed = AddPiece(g, PieceType::Army, 0, 4, 1);  // mountain and own armies round it
  const int below = AddPiece(g, PieceType::Army, 0, 4, 2);
  AddPiece(g, PieceType::Army, 0, 5, 2);
  const int besideLand = AddPiece(g, PieceType::Army, 0, 6, 1);  // (6, 2) is free
  const int aboard = AddPiece(g, PieceType::Army, 0, 7, 3);      // at sea beside (6, 2)
  EXPECT_THAT(NAMED(CanMove(g, alone), CanMove(g, hemmed), CanMove(g, besideLand), CanMove(g, aboard)),
              ElementsAre(0, 0, 1, 1));
  P(hemmed).movesLeft = 0;
  EXPECT_TRUE(IsArmyBoxedIn(g, hemmed));
  P(below).owner = 1;  // an enemy beside it is something to attack
  RefreshCell(g, P(below).Pos());
  EXPECT_FALSE(IsArmyBoxedIn(g, hemmed));
}

TEST_F(TurnLoopTest, TurnStartWakesRepairsSendsLowFuelHomeAndGivesMoves) {
  Build({"............", ".++++++++...", ".++++++++...", ".++++++++...", ".+++++++....", "............", "............",
         "............"});
  AddCity(g, 1, 1, 1);
  AddCity(g, 0, 7, 3);
  AddCity(g, 0, 7, 4);  // a second city beside the sea cell (8, 4)
  struct Row {
    int type, x, y, strength, fuel, repaired, moves, state;
  } const rows[] = {
      {PieceType::Destroyer, 8, 4, 10, 0, 60, 6, PieceState::Ready},   // beside two own cities: 10 -> 40 -> 60
      {PieceType::Army, 7, 3, 11, 0, 40, 1, PieceState::Ready},        // in a city: a third of 89, truncated
      {PieceType::Army, 4, 2, 10, 0, 10, 1, PieceState::Ready},        // in the field
      {PieceType::Destroyer, 5, 6, 20, 0, 20, 3, PieceState::Ready},   // below a quarter: half its moves
      {PieceType::Battleship, 1, 6, 40, 0, 40, 3, PieceState::Ready},  // below half: three quarters
      {PieceType::Carrier, 10, 6, 100, 0, 100, 4, PieceState::Ready},
      {PieceType::Fighter, 10, 6, 40, 14, 60, 14, PieceState::Ready},      // on the carrier's deck
      {PieceType::Fighter, 3, 1, 100, 3, 100, 14, PieceState::Returning},  // 4 from the city, 3 to fly
      {PieceType::Fighter, 3, 2, 100, 4, 100, 14, PieceState::Ready},
      {PieceType::Bomber, 2, 6, 100, 4, 100, 7, PieceState::Returning},  // 5 from the city
  };
  std::vector<int> pieces;
  for (const Row& r : rows) {
    PieceRecord& p = P(pieces.emplace_back(AddPiece(g, r.type, 0, r.x, r.y)));
    p.strength = static_cast<int16_t>(r.strength), p.fuel = static_cast<int16_t>(r.fuel), p.movesLeft = 0;
  }
  const int field = pieces[2];
  const int waiting = AddPiece(g, PieceType::Army, 0, 3, 3);
  P(waiting).state = PieceState::AwaitingOrders, P(waiting).destX = 6;
  P(field).destX = 8;  // a go-to order kept from the last turn
  g.app.endTurnRequested = 1;
  StartTurnAfter(1, 1);
  EXPECT_THAT(NAMED(g.state.currentPlayer, g.state.day, g.state.currentPiece, g.app.endTurnRequested),
              ElementsAre(0, 2, 0, 0));
  for (std::size_t k = 0; k < std::size(rows); ++k)
    EXPECT_THAT(P(pieces[k]), HasFields({.state = rows[k].state, .moves = rows[k].moves, .strength = rows[k].repaired}))
        << k;
  EXPECT_THAT(P(waiting), HasFields({.state = PieceState::Ready, .dest = Cell{3, 3}}));
  EXPECT_EQ(P(field).destX, 8);  // kept while the player's move memory is on
  g.state.moveMemory[0] = 0;
  StartTurnAfter(1, 2);
  EXPECT_EQ(P(field).Dest(), P(field).Pos());
}

TEST_F(TurnLoopTest, TurnOrderSkipsOutAndEliminatedPlayersAndComputersDecideAfresh) {
  BuildIsland(false);
  g.settings.kind = {PlayerKind::Human,    PlayerKind::Out, PlayerKind::Computer,
                     PlayerKind::Computer, PlayerKind::Out, PlayerKind::Out};
  AddCity(g, 0, 1, 1);
  AddCity(g, 3, 8, 4);
  const int army = AddPiece(g, PieceType::Army, 3, 3, 3);
  const int returning = AddPiece(g, PieceType::Fighter, 3, 4, 4);
  P(army).destX = 6;
  P(returning).state = PieceState::Returning, P(returning).destX = 1;
  g.state.eliminated[2] = 1;  // player 2 has nothing left
  StartTurnAfter(0, 4);
  EXPECT_THAT(NAMED(g.state.currentPlayer, g.state.day), ElementsAre(3, 4));
  EXPECT_EQ(P(army).Dest(), P(army).Pos());
  EXPECT_THAT(P(returning), HasFields({.state = PieceState::Returning, .dest = Cell{1, 4}}));
  StartTurnAfter(3, 4);
  EXPECT_THAT(NAMED(g.state.currentPlayer, g.state.day), ElementsAre(0, 5));
}

TEST_F(TurnLoopTest, EverySeventhDaySavesToTheGameFileExceptInADemonstration) {
  BuildIsland();
  ScratchFolder folder;
  const auto file = folder.path / "weekly.gam";
  g.app.fileFolder = folder.path.string();
  g.app.fileName = "weekly.gam";
  const auto bytesSavedAfter = [&](int day) {
    StartTurnAfter(1, day);
    const int bytes = std::filesystem::exists(file) ? int(std::filesystem::file_size(file)) : 0;
    return std::filesystem::remove(file), bytes;
  };
  EXPECT_EQ(bytesSavedAfter(5), 0);
  EXPECT_EQ(bytesSavedAfter(6), kSavedGameBytes);
  // The 16-bit day counter stops at its last day, 32767 (a multiple of 7), and saves no more.
  EXPECT_EQ(bytesSavedAfter(32766), kSavedGameBytes);
  EXPECT_EQ(g.state.day, 32767);
  EXPECT_EQ(bytesSavedAfter(32767), 0);
  EXPECT_EQ(g.state.day, 32767) << "the day counter wrapped";
  g.state.demoMode = 1;
  EXPECT_EQ(bytesSavedAfter(13), 0);
}

TEST_F(TurnLoopTest, FirstDayRunsThroughEveryPlayerToTheFirstBuiltPieceWithoutReentry) {
  BuildIsland();
  g.settings.kind[1] = PlayerKind::Human;
  hooks.game = &g;  // the City dialog tries to step the game again
  AdvanceGame(g);
  ASSERT_EQ(CheckInvariants(g), "");
  EXPECT_TRUE(Saw(hooks.calls, "City 0") && Saw(hooks.calls, "City 1"));
  // Days 2, 3 and 4 count the 4 days down to 1; on day 5 red builds its army.
  EXPECT_THAT(NAMED(g.insideAdvanceGame, hooks.nested, g.state.day, g.state.viewingPlayer,
                    int(std::count(hooks.calls.begin(), hooks.calls.end(), "KeepInView"))),
              ElementsAre(0, 2, 5, 0, 1));
  EXPECT_THAT(P(g.state.currentPiece),
              HasFields({.type = PieceType::Army, .owner = 0, .state = PieceState::AwaitingOrders}));
}

TEST_F(TurnLoopTest, TheLoopYieldsWhenNothingMovesForLong) {
  BuildIsland(false);
  g.settings.kind[1] = PlayerKind::Human;
  for (int p = 0; p < 2; ++p) P(AddPiece(g, PieceType::Army, p, 2 + 4 * p, 2)).state = PieceState::Asleep;
  g.state.day = 3;
  AdvanceGame(g);
  EXPECT_THAT(NAMED(g.state.gameActive, g.state.day), ElementsAre(1, 3 + 64));
  AdvanceGame(g);
  EXPECT_EQ(g.state.day, 3 + 128);
  P(0).state = PieceState::Ready;  // woken by a click while the game was idle
  AdvanceGame(g);
  EXPECT_THAT(NAMED(g.state.currentPiece, P(0).state), ElementsAre(0, PieceState::AwaitingOrders));
}

// A computer fighter on its carrier beside an enemy submarine, with a carrier
// much faster than the fighter's fuel reaches: sent at the submarine, it turns
// back for the carrier before spending a move, and again, for ever.
TEST_F(TurnLoopTest, APieceThatCyclesWithoutMovingHasItsMovesEndedForTheTurn) {
  std::vector<std::string> sea(16, std::string(24, '.'));
  sea[1].replace(1, 2, "++"), sea[12].replace(18, 2, "++");
  Build(sea);
  AddCity(g, 0, 1, 1), AddCity(g, 1, 18, 12);  // the carrier is far beyond the fighter's fuel from any city
  g.settings.moves[PieceType::Carrier] = 32;
  g.settings.moves[PieceType::Fighter] = 3;
  g.settings.fuel[PieceType::Fighter] = 8;
  AddPiece(g, PieceType::Carrier, 1, 6, 4);
  const int fighter = AddPiece(g, PieceType::Fighter, 1, 6, 4);
  AddPiece(g, PieceType::Submarine, 0, 7, 4);
  StartTurnAfter(0, 3);
  int steps = 0;
  while (g.state.currentPlayer == 1 && steps < 5000) AdvanceGame(g), ++steps;
  EXPECT_NE(g.state.currentPlayer, 1) << "player 1's turn never ended; the fighter is at (" << int(P(fighter).x) << ", "
                                      << int(P(fighter).y) << ") with " << int(P(fighter).movesLeft) << " moves";
  EXPECT_EQ(CheckInvariants(g), "");
}

}  // namespace
}  // namespace vortan::test
