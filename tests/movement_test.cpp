#include "rules/movement.h"

#include "support/rules_fixture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct MovementTest : test::WorldTest<> {
  MapPos At(int piece) const { return g.pieces[piece].Pos(); }
  int Range(uint8_t MapCell::*map, int x, int y) const { return g.world.At(x, y).*map; }
};

TEST_F(MovementTest, ShipsCarryUpToSixOfTheirCargoTypeInTableOrder) {
  Build({"......", "..+...", "......"});
  int armies[7];
  for (int& a : armies) a = AddPiece(g, PieceType::Army, 0, 4, 0);
  const int transport = AddPiece(g, PieceType::Transport, 0, 4, 0);
  PerformStep(g, transport, 5, 0);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(P(armies[i]).Dest().x, i < 6 ? 5 : 4) << i;
  EXPECT_EQ(P(armies[0]).movesLeft, 1) << "cargo rides free";

  const int fighter = AddPiece(g, PieceType::Fighter, 0, 4, 2);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 4, 2);
  const int carrier = AddPiece(g, PieceType::Carrier, 0, 4, 2);
  PerformStep(g, carrier, 3, 2);
  EXPECT_EQ(At(fighter), (MapPos{3, 2}));
  EXPECT_EQ(At(bomber), (MapPos{4, 2}));

  AddCity(g, 0, 2, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 2, 1);
  const int inPort = AddPiece(g, PieceType::Transport, 0, 2, 1);
  PerformStep(g, inPort, 1, 0);
  EXPECT_EQ(At(army), (MapPos{2, 1})) << "nothing boards in a city";
}

TEST_F(MovementTest, FacingFollowsHorizontalStepsAcrossTheEdge) {
  Build({".....", ".....", "....."});
  const int ship = AddPiece(g, PieceType::Destroyer, 0, 0, 1);
  for (auto [x, y, facing] : {std::tuple{4, 1, 1}, {4, 2, 1}, {0, 1, 0}}) {  // west, south (kept), east
    PerformStep(g, ship, x, y);
    EXPECT_EQ(P(ship).facing, facing) << x << "," << y;
  }
  EXPECT_EQ(P(ship).movesLeft, g.settings.moves[PieceType::Destroyer] - 3);
}

TEST_F(MovementTest, ArmyBecomesTheNeutralCityItEnters) {
  Build({"++++", "++*+", "++++"});
  const int army = AddPiece(g, PieceType::Army, 0, 1, 1);
  PerformStep(g, army, 2, 1);
  const PieceRecord& city = P(army);
  EXPECT_EQ(city.type, PieceType::City);
  EXPECT_EQ(city.Pos(), (MapPos{2, 1}));
  EXPECT_EQ(city.state, PieceState::Asleep);
  EXPECT_EQ(city.production, PieceType::Army);
  EXPECT_EQ(city.daysLeft, g.settings.days[PieceType::Army]);
  EXPECT_EQ(g.world.At(2, 1).terrain, Terrain::Land);
  EXPECT_EQ(Range(&MapCell::bomberRange, 2, 1), 0);
  EXPECT_TRUE(test::Saw(hooks.calls, "City " + std::to_string(army)));

  g.settings.inUse[PieceType::Army] = 0;
  g.world.At(0, 0).terrain = Terrain::City;
  const int second = AddPiece(g, PieceType::Army, 0, 1, 0);
  PerformStep(g, second, 0, 0);
  EXPECT_EQ(P(second).production, PieceType::Para);
}

TEST_F(MovementTest, GoToEndsBesideAnEnemyCityUnlessReturning) {
  Build({"+++++++", "+++++++", "+++++++"});
  AddCity(g, 1, 6, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 4, 1);
  const int returning = AddPiece(g, PieceType::Army, 0, 4, 2);
  P(returning).state = PieceState::Returning;
  for (int piece : {army, returning}) P(piece).destX = 6;
  PerformStep(g, army, 5, 1);
  PerformStep(g, returning, 5, 2);
  EXPECT_EQ(P(army).Dest(), (MapPos{5, 1}));
  EXPECT_EQ(P(returning).Dest(), (MapPos{6, 2}));
}

TEST_F(MovementTest, AircraftBurnFuelAndRefuelOnlyOnTheirBases) {
  Build({"+++++", "+++++", "....."});
  AddCity(g, 0, 3, 0);
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 1, 0);
  P(fighter).fuel = 2;
  PerformStep(g, fighter, 2, 1);
  PerformStep(g, fighter, 3, 0);  // lands on its last drop
  EXPECT_EQ(P(fighter).fuel, 0);
  EXPECT_TRUE(CheckAircraftFuel(g, fighter));
  EXPECT_EQ(P(fighter).fuel, 14);

  AddPiece(g, PieceType::Carrier, 0, 3, 2);
  const int onDeck = AddPiece(g, PieceType::Fighter, 0, 3, 2);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 3, 2);
  P(onDeck).fuel = P(bomber).fuel = 2;
  CheckAircraftFuel(g, onDeck);
  CheckAircraftFuel(g, bomber);
  EXPECT_EQ(P(onDeck).fuel, 14);
  EXPECT_EQ(P(bomber).fuel, 2);
  P(bomber).fuel = 0;
  EXPECT_FALSE(CheckAircraftFuel(g, bomber));
}

TEST_F(MovementTest, CitiesServeHalfABombersRangeAndCarriersAddOneCruise) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  AddCity(g, 0, 10, 10);
  AddPiece(g, PieceType::Carrier, 0, 22, 10);
  AddCity(g, 1, 20, 30);
  g.landMasses[0].status = LandMassStatus::Contested;
  RecomputeRefuelMaps(g);
  EXPECT_EQ(Range(&MapCell::bomberRange, 24, 3), 14);
  EXPECT_EQ(Range(&MapCell::bomberRange, 25, 10), 29);
  EXPECT_EQ(Range(&MapCell::bomberRange, 20, 30), 29) << "another player's city";
  EXPECT_EQ(Range(&MapCell::safeCityRange, 10, 10), 29) << "only cities on secure land count";
  EXPECT_EQ(Range(&MapCell::fighterRange, 27, 15), 9);
  EXPECT_EQ(Range(&MapCell::fighterRange, 28, 10), 29);
  EXPECT_EQ(Range(&MapCell::fighterRange, 17, 10), 7) << "a nearer city beats the carrier";
  EXPECT_EQ(Range(&MapCell::fighterRange, 20, 10), 6) << "a nearer carrier beats the city";

  g.landMasses[0].status = LandMassStatus::Secure;
  g.settings.fuel[PieceType::Fighter] = 8;
  g.settings.moves[PieceType::Carrier] = 9;  // radius (8 - 9) / 2 = 0
  RecomputeRefuelMaps(g);
  EXPECT_EQ(Range(&MapCell::safeCityRange, 13, 9), 3);
  EXPECT_EQ(Range(&MapCell::fighterRange, 22, 10), 9);
  EXPECT_EQ(Range(&MapCell::fighterRange, 23, 10), 13);
  g.settings.moves[PieceType::Carrier] = 10;  // radius -1: no carrier pass
  RecomputeFighterMap(g);
  EXPECT_EQ(Range(&MapCell::fighterRange, 22, 10), 12);
}

}  // namespace
}  // namespace vortan
