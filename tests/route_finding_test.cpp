#include "ai/route_finding.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;
using Step = std::tuple<int, int, int>;  // found, x, y

constexpr int kRed = 0;    // Human in the fixture
constexpr int kGreen = 1;  // Computer in the fixture

struct ViewHooks : test::RecordingHooks {
  void EraseGotoLine() override { calls.push_back("EraseGotoLine"); }
  void KeepPieceInView() override { calls.push_back("KeepPieceInView"); }
};

struct RouteTest : ::testing::Test {
  Game g;
  ViewHooks hooks;

  void Build(const std::vector<std::string>& rows) {
    test::BuildWorld(g, rows);
    g.hooks = &hooks;
    for (MapCell& c : g.world.cells) c.explored = c.visible = 0x3F;
  }
  void SetOnTurn(int piece) {
    g.state.currentPiece = static_cast<int16_t>(piece);
    g.state.currentPlayer = g.pieces[piece].owner;
  }
  void SendTo(int piece, int x, int y) {
    g.pieces[piece].destX = static_cast<uint8_t>(x);
    g.pieces[piece].destY = static_cast<uint8_t>(y);
  }
  // One search from the piece's cell to its destination, as the go-to step asks it.
  Step Search(int piece) {
    SetOnTurn(piece);
    int x = -1, y = -1;
    const int found = FindRouteStep(g, piece, g.pieces[piece].Pos(), g.pieces[piece].Dest(), x, y);
    return {found, x, y};
  }
  // Follows the search (moving the piece by hand) and counts the steps to the
  // destination; every step must be to a neighbour the route may use.
  int Walk(int piece, int x, int y) {
    SendTo(piece, x, y);
    PieceRecord& p = g.pieces[piece];
    for (int steps = 0; steps < 40; ++steps) {
      if (p.x == x && p.y == y) return steps;
      const auto [found, sx, sy] = Search(piece);
      if (!found) return -1;
      EXPECT_EQ(WrapDistance(g.settings, p.x, p.y, sx, sy), 1);
      EXPECT_EQ(IsRoutePassable(g, piece, sx, sy), 1) << "at " << sx << "," << sy;
      const MapPos old = p.Pos();
      p.x = static_cast<uint8_t>(sx);
      p.y = static_cast<uint8_t>(sy);
      RefreshCell(g, old);
      RefreshCell(g, p.Pos());
    }
    return -1;
  }
};

TEST_F(RouteTest, ShortestRoutesAcrossTheEdgesAndAroundLand) {
  Build({"..........", "..........", "....+.....", "....+.....", "....+.....", ".........."});
  const int ship = AddPiece(g, PieceType::Destroyer, kRed, 0, 3);
  SendTo(ship, 7, 3);  // three cells west across the edge, seven east
  EXPECT_EQ(Search(ship), Step(1, 9, 3));
  EXPECT_EQ(Walk(ship, 7, 3), 3);
  EXPECT_EQ(Walk(ship, 3, 3), 5);  // round the land strip, never over it
  EXPECT_EQ(Walk(ship, 6, 3), 4);
}

TEST_F(RouteTest, ArmyGoesAroundMountainsAndScanOrderPicksTheDetour) {
  Build({".........", ".+++++++.", ".+++^+++.", ".+++^+++.", ".+++^+++.", ".+++++++.", "........."});
  const int army = AddPiece(g, PieceType::Army, kRed, 3, 3);
  SendTo(army, 6, 3);
  // Both detours take four steps; (0, 1) comes before (0, -1) in the table.
  EXPECT_EQ(Search(army), Step(1, 3, 4));
  // An own fighter on the southern cell makes the free northern one preferred...
  const int fighter = AddPiece(g, PieceType::Fighter, kRed, 3, 4);
  EXPECT_EQ(Search(army), Step(1, 3, 2));
  // ...and with both occupied the first reached neighbour in table order is taken.
  AddPiece(g, PieceType::Fighter, kRed, 3, 2);
  EXPECT_EQ(Search(army), Step(1, 3, 4));
  g.pieces[fighter].type = PieceType::None;
  RefreshCell(g, MapPos{3, 4});
  EXPECT_EQ(Walk(army, 6, 3), 4);
}

TEST_F(RouteTest, StraightLineFirstThenFirstFreeNeighbourInTableOrder) {
  Build(std::vector<std::string>(9, "........."));
  const int ship = AddPiece(g, PieceType::Destroyer, kRed, 2, 4);
  SendTo(ship, 5, 5);  // (1, 0), (1, 1) and (1, -1) are all two steps short
  EXPECT_EQ(Search(ship), Step(1, 3, 5));
  // An own fighter over the sea does not block a ship, but the step avoids it.
  AddPiece(g, PieceType::Fighter, kRed, 3, 5);
  EXPECT_EQ(IsRoutePassable(g, ship, 3, 5), 1);
  EXPECT_EQ(Search(ship), Step(1, 3, 4));
  AddPiece(g, PieceType::Transport, kRed, 4, 5);  // own ships block each other
  EXPECT_EQ(IsRoutePassable(g, ship, 4, 5), 0);
}

TEST_F(RouteTest, FarDestinationAimsAtTheCellNineteenStepsBack) {
  Build(std::vector<std::string>(70, std::string(70, '.')));
  const int ship = AddPiece(g, PieceType::Destroyer, kGreen, 0, 0);
  SendTo(ship, 19, 5);  // within reach: aimed at the destination itself
  EXPECT_EQ(Search(ship), Step(1, 1, 1));
  // At 30 steps the target slides back diagonally, then along the row, to (19, 0).
  SendTo(ship, 30, 10);
  EXPECT_EQ(Search(ship), Step(1, 1, 0));
  EXPECT_EQ(g.pieces[ship].Dest(), (MapPos{30, 10}));  // a real route, not a greedy step
  // Thirty west and one north: the first slide uses up the row difference, so
  // the wave aims at (51, 0) and the ship goes due west.
  SendTo(ship, 40, 69);
  EXPECT_EQ(Search(ship), Step(1, 69, 0));
}

TEST_F(RouteTest, ImpassableDestinationSlidesTheTargetBack) {
  Build({"..............", ".++++++++.....", ".+^+++^^^.....", ".+^+++^^^.....", ".+^+++^^^.....",
         ".++++++++.....", ".............."});
  const int army = AddPiece(g, PieceType::Army, kRed, 1, 3);
  SendTo(army, 8, 3);  // the mountain gives way to (5, 3); the wave goes round the ridge
  EXPECT_EQ(Search(army), Step(1, 1, 4));
  EXPECT_EQ(g.pieces[army].Dest(), (MapPos{8, 3}));
  EXPECT_EQ(Walk(army, 5, 3), 5);
}

TEST_F(RouteTest, HumansKeepToExploredCellsComputersPlanThroughTheUnknown) {
  Build({"..........", ".++.++++..", ".++.++++..", ".++.++++..", ".+++++++..", ".........."});
  for (int y = 1; y <= 3; ++y) g.world.At(3, y).explored = 0;
  const int army = AddPiece(g, PieceType::Army, kRed, 1, 2);
  SendTo(army, 5, 2);
  EXPECT_EQ(Search(army), Step(1, 2, 3));
  g.pieces[army].owner = kGreen;
  EXPECT_EQ(Search(army), Step(1, 2, 2));
}

TEST_F(RouteTest, GreedyFallbackEndsTheOrderExceptForBombers) {
  Build(std::vector<std::string>(8, "++++++++"));
  for (MapCell& c : g.world.cells) c.explored = 0;
  const int fighter = AddPiece(g, PieceType::Fighter, kRed, 2, 2);
  g.world.At(2, 2).explored = 1;
  SendTo(fighter, 5, 2);  // unexplored all the way: the target slides back to the fighter
  EXPECT_EQ(Search(fighter), Step(1, 3, 2));
  EXPECT_EQ(g.pieces[fighter].Dest(), (MapPos{3, 2}));

  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 2, 2);
  SendTo(bomber, 2, 6);
  EXPECT_EQ(Search(bomber), Step(1, 2, 3));
  EXPECT_EQ(g.pieces[bomber].Dest(), (MapPos{2, 6}));

  // Walled in by mountains: the step fails and the order is put back, and
  // the go-to step then ends it (and a computer's moves for the day).
  for (MapCell& c : g.world.cells) c.explored = 0x3F;
  const int army = AddPiece(g, PieceType::Army, kGreen, 2, 2);
  ForEachInBlock3(g.settings, 2, 2, [&](int x, int y) { g.world.At(x, y).terrain = Terrain::Mountain; });
  g.world.At(2, 2).terrain = Terrain::Land;
  SendTo(army, 5, 2);
  EXPECT_EQ(Search(army), Step(0, 2, 2));
  EXPECT_EQ(g.pieces[army].Dest(), (MapPos{5, 2}));
  GoToStep(g, army);
  EXPECT_EQ(g.pieces[army].Dest(), (MapPos{2, 2}));
  EXPECT_EQ(g.pieces[army].movesLeft, 0);
}

const std::vector<std::string> kTwoIslands = {"+++.........", "+++...++....", "+++........."};

TEST_F(RouteTest, ArmiesBoardOwnTransportsBesideTheirLandMass) {
  Build(kTwoIslands);
  const int army = AddPiece(g, PieceType::Army, kGreen, 2, 1);
  const int transport = AddPiece(g, PieceType::Transport, kGreen, 3, 1);
  // The far island and the open sea are closed to the army: the target slides
  // back to the transport, the one sea cell it may enter.
  SendTo(army, 7, 1);
  EXPECT_EQ(Search(army), Step(1, 3, 1));
  for (int i = 0; i < 5; ++i) AddPiece(g, PieceType::Army, kGreen, 3, 1);
  EXPECT_EQ(TransportCanTakeArmy(g, army, 3, 1), 1);
  AddPiece(g, PieceType::Army, kGreen, 3, 1);
  EXPECT_EQ(CanEnterCell(g, army, 3, 1), 0);  // six aboard: full
  // A transport out of touch with the army's land mass takes nobody.
  g.pieces[transport].x = 4;
  RefreshCell(g, MapPos{4, 1});
  EXPECT_EQ(TransportCanTakeArmy(g, army, 4, 1), 0);
  EXPECT_EQ(g.pieces[army].state, PieceState::Ready);  // a computer's army never sleeps
}

TEST_F(RouteTest, HumanArmyFallsAsleepWhenASearchFindsItARide) {
  Build(kTwoIslands);
  const int army = AddPiece(g, PieceType::Army, kRed, 2, 1);
  AddPiece(g, PieceType::Transport, kRed, 10, 1);  // not beside the army's land
  SetOnTurn(army);
  EXPECT_EQ(TransportCanTakeArmy(g, army, 10, 1), 0);
  EXPECT_EQ(g.pieces[army].state, PieceState::Asleep);
  // The wave tests the transport's cell before it reaches the army, which
  // then steps west on land.
  g.pieces[army].state = PieceState::Ready;
  SendTo(army, 0, 1);
  EXPECT_EQ(Search(army), Step(1, 1, 1));
  EXPECT_EQ(g.pieces[army].state, PieceState::Asleep);
}

TEST_F(RouteTest, VisibleEnemiesBlockUnlessTheyAreTheDestination) {
  Build({"++++..", "++++..", "++++..", "+^+..."});
  const int army = AddPiece(g, PieceType::Army, kRed, 2, 1);
  AddPiece(g, PieceType::Army, kGreen, 3, 1);
  SetOnTurn(army);
  EXPECT_EQ(CanEnterCell(g, army, 3, 1), 0);
  SendTo(army, 3, 1);
  EXPECT_EQ(CanEnterCell(g, army, 3, 1), 1);
  g.world.At(3, 1).visible = 0;  // unseen: just an army standing on the land
  EXPECT_EQ(CanEnterCell(g, army, 3, 1), 0);

  const int ship = AddPiece(g, PieceType::Transport, kRed, 4, 1);
  AddPiece(g, PieceType::Destroyer, kGreen, 5, 1);
  SendTo(ship, 5, 1);
  EXPECT_EQ(CanEnterCell(g, ship, 5, 1), 0);  // a transport cannot hurt a destroyer
  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 4, 2);
  EXPECT_EQ(CanEnterCell(g, bomber, 5, 1), 0);
  SendTo(bomber, 5, 1);
  EXPECT_EQ(CanEnterCell(g, bomber, 5, 1), 1);
}

TEST_F(RouteTest, ArmiesNeverCrossBetweenTouchingLandMasses) {
  Build({"+.*.", ".+..", "....", "...."});
  const int army = AddPiece(g, PieceType::Army, kRed, 1, 1);
  SetOnTurn(army);
  g.world.At(0, 0).landMass = 7;  // the generator can leave masses touching at a corner
  EXPECT_EQ(CanEnterCell(g, army, 0, 0), 0);
  EXPECT_EQ(CanEnterCell(g, army, 2, 0), 1);  // a neutral city is not Land for this test
  SendTo(army, 0, 0);
  EXPECT_EQ(std::get<0>(Search(army)), 0);
}

TEST_F(RouteTest, AircraftTurnHomeRatherThanStrand) {
  Build(std::vector<std::string>(12, "++++++++++++"));
  for (MapCell& c : g.world.cells) c.fighterRange = c.bomberRange = 5;
  const int fighter = AddPiece(g, PieceType::Fighter, kRed, 2, 2);
  g.pieces[fighter].fuel = 6;
  EXPECT_EQ(FighterCanAffordStep(g, fighter, 3, 2), 1);
  EXPECT_EQ(FighterCanAffordStep(g, fighter, 4, 2), 0);
  g.pieces[fighter].fuel = 5;
  SendTo(fighter, 8, 2);
  SetOnTurn(fighter);
  GoToStep(g, fighter);
  EXPECT_EQ(g.pieces[fighter].state, PieceState::Returning);
  EXPECT_EQ(g.pieces[fighter].Pos(), (MapPos{2, 2}));
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"EraseGotoLine"});

  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 6, 6);
  g.pieces[bomber].fuel = 5;
  SendTo(bomber, 9, 6);
  SetOnTurn(bomber);
  GoToStep(g, bomber);
  EXPECT_EQ(g.pieces[bomber].state, PieceState::Returning);
  g.pieces[bomber].state = PieceState::Ready;
  g.pieces[bomber].fuel = 6;
  GoToStep(g, bomber);
  EXPECT_EQ(g.pieces[bomber].Pos(), (MapPos{7, 6}));

  // Low on fuel, a fighter gives up an attack even where the step is affordable.
  g.pieces[fighter].state = PieceState::Ready;
  g.world.At(3, 2).fighterRange = 0;
  AddPiece(g, PieceType::Army, kGreen, 3, 2);
  SendTo(fighter, 3, 2);
  SetOnTurn(fighter);
  GoToStep(g, fighter);
  EXPECT_EQ(g.pieces[fighter].state, PieceState::Returning);
  EXPECT_EQ(g.pieces[fighter].movesLeft, g.settings.moves[PieceType::Fighter]);
  g.pieces[fighter].state = PieceState::Ready;
  g.pieces[fighter].fuel = 6;
  GoToStep(g, fighter);
  EXPECT_EQ(g.pieces[fighter].movesLeft, 0);  // the attack went ahead
}

TEST_F(RouteTest, ReturningPiecesHeadForTheNearestRefuge) {
  Build({"..........", "..........", ".+......+.", ".........."});
  const int ship = AddPiece(g, PieceType::Destroyer, kRed, 5, 0);
  g.pieces[ship].state = PieceState::Returning;
  SetOnTurn(ship);
  ReturnStep(g, ship);  // no city at all: the ship spends a move in place
  EXPECT_EQ(g.pieces[ship].Pos(), (MapPos{5, 0}));
  EXPECT_EQ(g.pieces[ship].movesLeft, g.settings.moves[PieceType::Destroyer] - 1);

  AddCity(g, kRed, 1, 2);
  AddCity(g, kRed, 7, 2);  // its landing cell (8, 3) is as near: the earlier city wins
  ReturnStep(g, ship);
  EXPECT_EQ(g.pieces[ship].Dest(), (MapPos{2, 3}));  // last sea cell of the city's block
  // On a world this low the ship's cell shows up twice in the window; the copy
  // scanned first reaches the target by (-1, +1) rather than straight (-1, -1).
  EXPECT_EQ(g.pieces[ship].Pos(), (MapPos{4, 1}));

  g.pieces[ship].x = 2;
  g.pieces[ship].y = 3;
  ReturnStep(g, ship);
  EXPECT_EQ(g.pieces[ship].state, PieceState::AwaitingOrders);
  EXPECT_EQ(hooks.calls.back(), "KeepPieceInView");
  g.app.endTurnRequested = 1;
  g.pieces[ship].state = PieceState::Returning;
  ReturnStep(g, ship);
  EXPECT_EQ(g.pieces[ship].movesLeft, 0);
}

}  // namespace
}  // namespace vortan
