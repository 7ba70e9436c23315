// SPDX-License-Identifier: GPL-3.0-or-later
#include "ai/route_finding.h"

#include <ostream>

#include "game/piece_steps.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

// One answer of the route search: found (1), none (0, no cell: -1, -1) or any
// (-1, in the cases table), and the step's cell.
struct Step {
  int found, x, y;
  friend bool operator==(const Step&, const Step&) = default;
  friend void PrintTo(const Step& s, std::ostream* os) {
    if (s.found == 0) {
      *os << "no step";
      return;
    }
    *os << (s.found == 1 ? "a step to (" : "any step, cell (") << s.x << "," << s.y << ")";
  }
};

constexpr int kRed = 0, kGreen = 1;  // Human and Computer in the fixture

struct RouteTest : WorldTest<> {
  void Build(const std::vector<std::string>& rows) {
    WorldTest::Build(rows);
    for (MapCell& c : g.world.cells) c.explored = c.visible = 0x3F;
  }
  void SetOnTurn(int piece) {
    g.state.currentPiece = static_cast<int16_t>(piece), g.state.currentPlayer = P(piece).owner;
  }
  // One search from the piece's cell to its destination, as the go-to step asks it.
  Step Search(int piece) {
    SetOnTurn(piece);
    const std::optional<MapPos> step = FindRouteStep(g, piece, P(piece).Pos(), P(piece).Dest());
    return step ? Step{1, step->x, step->y} : Step{0, -1, -1};
  }
  // Follows the search (moving the piece by hand) and counts the steps to the
  // destination; every step must be to a neighbour the route may use.
  int Walk(int piece, int x, int y) {
    SendTo(piece, x, y);
    PieceRecord& p = P(piece);
    for (int steps = 0; steps < 40; ++steps) {
      if (p.x == x && p.y == y) return steps;
      const auto [found, sx, sy] = Search(piece);
      if (!found || WrapDistance(g.settings, p.x, p.y, sx, sy) != 1 || !IsRoutePassable(g, piece, sx, sy)) return -1;
      const MapPos old = p.Pos();
      p.x = static_cast<uint8_t>(sx), p.y = static_cast<uint8_t>(sy);
      RefreshCell(g, old);
      RefreshCell(g, p.Pos());
    }
    return -1;
  }
};

std::vector<std::string> Sea(int side) { return std::vector<std::string>(side, std::string(side, '.')); }
const std::vector<std::string> kStrip = {"..........", "..........", "....+.....",
                                         "....+.....", "....+.....", ".........."};
const std::vector<std::string> kMountain = {".........", ".+++++++.", ".+++^+++.", ".+++^+++.",
                                            ".+++^+++.", ".+++++++.", "........."};
const std::vector<std::string> kRidge = {"..............", ".++++++++.....", ".+^+++^^^.....", ".+^+++^^^.....",
                                         ".+^+++^^^.....", ".++++++++.....", ".............."};
const Step kAnyStep{-1, 0, 0};

TEST_F(RouteTest, FirstStepsAndShortestWalksAcrossTheEdgesAndAroundObstacles) {
  constexpr int kShip = PieceType::Destroyer, kArmy = PieceType::Army;
  // Each case: the first step of the search and the length of the whole walk (0: not walked).
  struct Case {
    std::vector<std::string> picture;
    int type, owner;
    MapPos from, to;
    Step step;
    int steps;
  } const cases[] = {
      {kStrip, kShip, kRed, {0, 3}, {7, 3}, {1, 9, 3}, 3},       // three cells west across the edge, seven east
      {kStrip, kShip, kRed, {7, 3}, {3, 3}, kAnyStep, 5},        // round the land strip, never over it
      {kMountain, kArmy, kRed, {3, 3}, {6, 3}, {1, 3, 4}, 4},    // equal detours: (0, 1) comes before (0, -1)
      {Sea(9), kShip, kRed, {2, 4}, {5, 5}, {1, 3, 5}, 3},       // straight first: (1, 1) and (1, -1) are as short
      {Sea(70), kShip, kGreen, {0, 0}, {19, 5}, {1, 1, 1}, 19},  // within reach the wave starts at the destination
      // 30 off, the target slides back diagonally, then along the row, to (19, 0).
      {Sea(70), kShip, kGreen, {0, 0}, {30, 10}, {1, 1, 0}, 30},
      // The first slide uses up the row difference: aimed at (51, 0), due west.
      {Sea(70), kShip, kGreen, {0, 0}, {40, 69}, {1, 69, 0}, 30},
      {kRidge, kArmy, kRed, {1, 3}, {8, 3}, {1, 1, 4}, 0},  // the mountain gives way to (5, 3), round the ridge
      {kRidge, kArmy, kRed, {1, 3}, {5, 3}, kAnyStep, 5},   // into the ridge's pocket
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(k);
    Build(c.picture);
    const int piece = AddPiece(g, c.type, c.owner, c.from.x, c.from.y);
    SendTo(piece, c.to.x, c.to.y);
    if (c.step != kAnyStep) {
      EXPECT_EQ(Search(piece), c.step);
    }
    EXPECT_EQ(P(piece).Dest(), c.to);  // a real route, not a greedy step that ends the order
    if (c.steps) {
      EXPECT_EQ(Walk(piece, c.to.x, c.to.y), c.steps);
    }
  }
}

TEST_F(RouteTest, AmongEqualStepsAFreeCellComesFirstThenTableOrder) {
  Build(kMountain);
  const int army = AddPiece(g, PieceType::Army, kRed, 3, 3);
  SendTo(army, 6, 3);
  AddPiece(g, PieceType::Fighter, kRed, 3, 4);  // an own fighter on the southern detour
  EXPECT_EQ(Search(army), Step(1, 3, 2));
  AddPiece(g, PieceType::Fighter, kRed, 3, 2);  // both occupied: table order again
  EXPECT_EQ(Search(army), Step(1, 3, 4));

  Build(Sea(9));
  const int ship = AddPiece(g, PieceType::Destroyer, kRed, 2, 4);
  SendTo(ship, 5, 5);
  AddPiece(g, PieceType::Fighter, kRed, 3, 5);    // does not block a ship, but the step avoids it
  AddPiece(g, PieceType::Transport, kRed, 4, 5);  // own ships block each other
  EXPECT_THAT(NAMED(IsRoutePassable(g, ship, 3, 5), IsRoutePassable(g, ship, 4, 5)), ElementsAre(1, 0));
  EXPECT_EQ(Search(ship), Step(1, 3, 4));
}

TEST_F(RouteTest, HumansKeepToExploredCellsComputersPlanThroughTheUnknown) {
  Build({"..........", ".++.++++..", ".++.++++..", ".++.++++..", ".+++++++..", ".........."});
  for (int y = 1; y <= 3; ++y) g.world.At(3, y).explored = 0;
  const int army = AddPiece(g, PieceType::Army, kRed, 1, 2);
  SendTo(army, 5, 2);
  EXPECT_EQ(Search(army), Step(1, 2, 3));
  P(army).owner = kGreen;
  EXPECT_EQ(Search(army), Step(1, 2, 2));
}

TEST_F(RouteTest, GreedyFallbackEndsTheOrderExceptForBombers) {
  Build(std::vector<std::string>(8, "++++++++"));
  for (MapCell& c : g.world.cells) c.explored = 0;
  const int fighter = AddPiece(g, PieceType::Fighter, kRed, 2, 2);
  g.world.At(2, 2).explored = 1;
  SendTo(fighter, 5, 2);  // unexplored all the way: the target slides back to the fighter
  EXPECT_EQ(Search(fighter), Step(1, 3, 2));
  EXPECT_EQ(P(fighter).Dest(), (MapPos{3, 2}));
  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 2, 2);
  SendTo(bomber, 2, 6);
  EXPECT_EQ(Search(bomber), Step(1, 2, 3));
  EXPECT_EQ(P(bomber).Dest(), (MapPos{2, 6}));
  // Walled in by mountains: the step fails and the order is put back, and
  // the go-to step then ends it (and a computer's moves for the day).
  for (MapCell& c : g.world.cells) c.explored = 0x3F;
  const int army = AddPiece(g, PieceType::Army, kGreen, 2, 2);
  ForEachInBlock3(g.settings, 2, 2, [&](int x, int y) { g.world.At(x, y).terrain = Terrain::Mountain; });
  g.world.At(2, 2).terrain = Terrain::Land;
  SendTo(army, 5, 2);
  EXPECT_EQ(Search(army), Step(0, -1, -1));
  EXPECT_EQ(P(army).Dest(), (MapPos{5, 2}));
  GoToStep(g, army);
  EXPECT_THAT(P(army), HasFields({.moves = 0, .dest = Cell{2, 2}}));
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
  const int fifth = TransportCanTakeArmy(g, army, 3, 1);
  AddPiece(g, PieceType::Army, kGreen, 3, 1);  // six aboard: full
  const int sixth = CanEnterCell(g, army, 3, 1);
  P(transport).x = 4;  // out of touch with the army's land mass: takes nobody
  RefreshCell(g, MapPos{4, 1});
  EXPECT_THAT(NAMED(fifth, sixth, TransportCanTakeArmy(g, army, 4, 1)), ElementsAre(1, 0, 0));
  EXPECT_EQ(P(army).state, PieceState::Ready);  // a computer's army never sleeps
  // A human's army sleeps once a search finds it a ride, wherever the ride is.
  Build(kTwoIslands);
  const int human = AddPiece(g, PieceType::Army, kRed, 2, 1);
  AddPiece(g, PieceType::Transport, kRed, 10, 1);  // not beside the army's land
  SetOnTurn(human);
  EXPECT_EQ(TransportCanTakeArmy(g, human, 10, 1), 0);
  EXPECT_EQ(P(human).state, PieceState::Asleep);
  // The wave tests the transport's cell before it reaches the army, which
  // then steps west on land.
  P(human).state = PieceState::Ready;
  SendTo(human, 0, 1);
  EXPECT_EQ(Search(human), Step(1, 1, 1));
  EXPECT_EQ(P(human).state, PieceState::Asleep);
}

TEST_F(RouteTest, VisibleEnemiesBlockUnlessTheyAreTheDestination) {
  Build({"++++..", "++++..", "++++..", "+^+..."});
  const int army = AddPiece(g, PieceType::Army, kRed, 2, 1);
  AddPiece(g, PieceType::Army, kGreen, 3, 1);
  const int ship = AddPiece(g, PieceType::Transport, kRed, 4, 1);
  AddPiece(g, PieceType::Destroyer, kGreen, 5, 1);
  SendTo(ship, 5, 1);  // but a transport cannot hurt a destroyer
  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 4, 2);
  SetOnTurn(army);
  Ints entered = {CanEnterCell(g, army, 3, 1), CanEnterCell(g, bomber, 5, 1), CanEnterCell(g, ship, 5, 1)};
  SendTo(army, 3, 1);
  SendTo(bomber, 5, 1);
  entered.insert(entered.end(), {CanEnterCell(g, army, 3, 1), CanEnterCell(g, bomber, 5, 1)});
  g.world.At(3, 1).visible = 0;  // unseen: just an army standing on the land
  entered.push_back(CanEnterCell(g, army, 3, 1));
  EXPECT_EQ(entered, (Ints{0, 0, 0, 1, 1, 0}));
}

TEST_F(RouteTest, AircraftTurnHomeRatherThanStrand) {
  Build(std::vector<std::string>(12, "++++++++++++"));
  for (MapCell& c : g.world.cells) c.fighterRange = c.bomberRange = 5;
  const auto goTo = [&](int piece, int x, int y, int fuel) {
    P(piece).fuel = static_cast<int16_t>(fuel), P(piece).state = PieceState::Ready;
    SendTo(piece, x, y);
    SetOnTurn(piece);
    GoToStep(g, piece);
  };
  const int fighter = AddPiece(g, PieceType::Fighter, kRed, 2, 2);
  P(fighter).fuel = 6;
  EXPECT_THAT(NAMED(FighterCanAffordStep(g, fighter, 3, 2), FighterCanAffordStep(g, fighter, 4, 2)), ElementsAre(1, 0));
  goTo(fighter, 8, 2, 5);
  EXPECT_THAT(P(fighter), HasFields({.state = PieceState::Returning, .pos = Cell{2, 2}}));
  const int bomber = AddPiece(g, PieceType::Bomber, kRed, 6, 6);
  goTo(bomber, 9, 6, 5);
  const int stateOnFive = P(bomber).state;
  goTo(bomber, 9, 6, 6);
  EXPECT_THAT(NAMED(stateOnFive, P(bomber).x, P(bomber).y), ElementsAre(PieceState::Returning, 7, 6));
  // Low on fuel, a fighter gives up an attack even where the step is affordable.
  g.world.At(3, 2).fighterRange = 0;
  AddPiece(g, PieceType::Army, kGreen, 3, 2);
  goTo(fighter, 3, 2, 5);
  EXPECT_THAT(P(fighter), HasFields({.state = PieceState::Returning, .moves = g.settings.moves[PieceType::Fighter]}));
  goTo(fighter, 3, 2, 6);
  EXPECT_EQ(P(fighter).movesLeft, 0);  // the attack went ahead
}

TEST_F(RouteTest, ReturningPiecesHeadForTheNearestRefuge) {
  Build({"..........", "..........", ".+......+.", ".........."});
  const int ship = AddPiece(g, PieceType::Destroyer, kRed, 5, 0);
  P(ship).state = PieceState::Returning;
  SetOnTurn(ship);
  ReturnStep(g, ship);  // no city at all: the ship spends a move in place
  EXPECT_THAT(P(ship), HasFields({.moves = g.settings.moves[PieceType::Destroyer] - 1, .pos = Cell{5, 0}}));
  AddCity(g, kRed, 1, 2);
  AddCity(g, kRed, 7, 2);  // its landing cell (8, 3) is as near: the earlier city wins
  ReturnStep(g, ship);
  // It heads for the last sea cell of the city's block. On a world this low the ship's cell
  // shows up twice in the window; the copy scanned first reaches the target by (-1, +1)
  // rather than straight (-1, -1).
  EXPECT_THAT(P(ship), HasFields({.pos = Cell{4, 1}, .dest = Cell{2, 3}}));
  P(ship).x = 2, P(ship).y = 3;
  ReturnStep(g, ship);
  EXPECT_EQ(P(ship).state, PieceState::AwaitingOrders);
  g.app.endTurnRequested = 1;
  P(ship).state = PieceState::Returning;
  ReturnStep(g, ship);
  EXPECT_EQ(P(ship).movesLeft, 0);
}

}  // namespace
}  // namespace vortan::test
