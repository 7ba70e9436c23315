#include <gtest/gtest.h>

#include <algorithm>

#include "model/piece_types.h"
#include "rules/movement.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct MovementTest : ::testing::Test {
  Game g;
  test::RecordingHooks hooks;
  void Build(const std::vector<std::string>& rows) {
    test::BuildWorld(g, rows);
    g.hooks = &hooks;
  }
  void SendTo(int piece, int x, int y) {
    g.pieces[piece].destX = static_cast<uint8_t>(x);
    g.pieces[piece].destY = static_cast<uint8_t>(y);
  }
  MapPos At(int piece) const { return g.pieces[piece].Pos(); }
};

TEST_F(MovementTest, TransportCarriesTheFirstSixArmiesInTableOrder) {
  Build({".......", ".......", "......."});
  int armies[7];
  for (int& a : armies) a = AddPiece(g, PieceType::Army, 0, 2, 1);
  const int transport = AddPiece(g, PieceType::Transport, 0, 2, 1);
  PerformStep(g, transport, 3, 1);
  EXPECT_EQ(At(transport), (MapPos{3, 1}));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(At(armies[i]), (MapPos{3, 1})) << "army " << i;
    EXPECT_EQ(g.pieces[armies[i]].Dest(), (MapPos{3, 1}));
    EXPECT_EQ(g.pieces[armies[i]].movesLeft, g.settings.moves[PieceType::Army]) << "cargo rides free";
  }
  EXPECT_EQ(At(armies[6]), (MapPos{2, 1}));
  EXPECT_EQ(g.pieces[transport].movesLeft, g.settings.moves[PieceType::Transport] - 1);
  EXPECT_EQ(g.world.At(3, 1).topType, PieceType::Transport);
  EXPECT_EQ(g.world.At(2, 1).topType, PieceType::Army);
}

TEST_F(MovementTest, CarrierTakesFightersButNotBombersAndNothingLeavesAPort) {
  Build({"......", "..+...", "......"});
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 4, 1);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 4, 1);
  const int carrier = AddPiece(g, PieceType::Carrier, 0, 4, 1);
  PerformStep(g, carrier, 5, 2);
  EXPECT_EQ(At(fighter), (MapPos{5, 2}));
  EXPECT_EQ(At(bomber), (MapPos{4, 1}));
  EXPECT_EQ(g.pieces[fighter].fuel, g.settings.fuel[PieceType::Fighter]);

  AddCity(g, 0, 2, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 2, 1);
  const int transport = AddPiece(g, PieceType::Transport, 0, 2, 1);
  PerformStep(g, transport, 1, 0);
  EXPECT_EQ(At(transport), (MapPos{1, 0}));
  EXPECT_EQ(At(army), (MapPos{2, 1}));
}

TEST_F(MovementTest, FacingFollowsHorizontalStepsAcrossTheEdge) {
  Build({".....", ".....", "....."});
  const int ship = AddPiece(g, PieceType::Destroyer, 0, 0, 1);
  PerformStep(g, ship, 4, 1);  // west across the edge
  EXPECT_EQ(g.pieces[ship].facing, 1);
  PerformStep(g, ship, 4, 2);  // straight down keeps the facing
  EXPECT_EQ(g.pieces[ship].facing, 1);
  PerformStep(g, ship, 0, 1);  // east across the edge
  EXPECT_EQ(g.pieces[ship].facing, 0);
}

TEST_F(MovementTest, ArmyTakesANeutralCity) {
  Build({"++++", "++*+", "++++"});
  const int army = AddPiece(g, PieceType::Army, 0, 1, 1);
  PerformStep(g, army, 2, 1);
  const PieceRecord& city = g.pieces[army];
  EXPECT_EQ(city.type, PieceType::City);
  EXPECT_EQ(city.Pos(), (MapPos{2, 1}));
  EXPECT_EQ(city.Dest(), (MapPos{1, 1}));
  EXPECT_EQ(city.state, PieceState::Asleep);
  EXPECT_EQ(city.movesLeft, 0);
  EXPECT_EQ(city.production, PieceType::Army);
  EXPECT_EQ(city.daysLeft, g.settings.days[PieceType::Army]);
  EXPECT_EQ(g.world.At(2, 1).terrain, Terrain::Land);
  EXPECT_EQ(g.world.At(2, 1).topType, PieceType::City);
  EXPECT_EQ(g.world.At(1, 1).topType, PieceType::None);
  EXPECT_EQ(g.world.At(2, 1).bomberRange, 0) << "the refuel maps know the new city";
  EXPECT_NE(std::find(hooks.calls.begin(), hooks.calls.end(), "City " + std::to_string(army)), hooks.calls.end());

  g.settings.inUse[PieceType::Army] = 0;
  g.world.At(0, 0).terrain = Terrain::City;
  const int second = AddPiece(g, PieceType::Army, 0, 1, 0);
  PerformStep(g, second, 0, 0);
  EXPECT_EQ(g.pieces[second].production, PieceType::Para);
  EXPECT_EQ(g.pieces[second].daysLeft, g.settings.days[PieceType::Para]);
}

TEST_F(MovementTest, GoToEndsBesideAnEnemyCityUnlessReturning) {
  Build({"+++++++", "+++++++", "+++++++"});
  AddCity(g, 1, 6, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 4, 1);
  SendTo(army, 6, 2);
  PerformStep(g, army, 5, 1);
  EXPECT_EQ(g.pieces[army].Dest(), (MapPos{5, 1}));
  EXPECT_EQ(g.pieces[army].state, PieceState::Ready);

  const int returning = AddPiece(g, PieceType::Army, 0, 4, 2);
  g.pieces[returning].state = PieceState::Returning;
  SendTo(returning, 6, 0);
  PerformStep(g, returning, 5, 2);
  EXPECT_EQ(g.pieces[returning].Dest(), (MapPos{6, 0}));
  EXPECT_EQ(g.pieces[returning].state, PieceState::Returning);
}

TEST_F(MovementTest, AircraftBurnFuelAndRefuelOnlyOnTheirBases) {
  Build({"+++++", "+++++", "....."});
  AddCity(g, 0, 3, 0);
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 1, 0);
  PerformStep(g, fighter, 2, 1);
  EXPECT_EQ(g.pieces[fighter].fuel, 13);
  EXPECT_EQ(g.pieces[fighter].movesLeft, g.settings.moves[PieceType::Fighter] - 1);

  g.pieces[fighter].fuel = 0;
  EXPECT_FALSE(CheckAircraftFuel(g, fighter)) << "empty in the open";
  g.pieces[fighter].fuel = 1;
  PerformStep(g, fighter, 3, 0);  // lands with its last drop of fuel
  EXPECT_EQ(g.pieces[fighter].fuel, 0);
  EXPECT_TRUE(CheckAircraftFuel(g, fighter));
  EXPECT_EQ(g.pieces[fighter].fuel, 14);

  AddPiece(g, PieceType::Carrier, 0, 3, 2);
  const int onDeck = AddPiece(g, PieceType::Fighter, 0, 3, 2);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 3, 2);
  g.pieces[onDeck].fuel = 2;
  g.pieces[bomber].fuel = 2;
  EXPECT_TRUE(CheckAircraftFuel(g, onDeck));
  EXPECT_TRUE(CheckAircraftFuel(g, bomber));
  EXPECT_EQ(g.pieces[onDeck].fuel, 14);
  EXPECT_EQ(g.pieces[bomber].fuel, 2);
}

struct RefuelMapTest : MovementTest {
  void SetUp() override { Build(std::vector<std::string>(40, std::string(40, '.'))); }
};

TEST_F(RefuelMapTest, CitiesReachHalfABombersFuelAndCarriersAddOneCruise) {
  AddCity(g, 0, 10, 10);
  AddPiece(g, PieceType::Carrier, 0, 22, 10);
  AddCity(g, 1, 20, 30);  // another player's city is no base
  g.landMasses[g.world.At(10, 10).landMass].status = LandMassStatus::Contested;
  RecomputeRefuelMaps(g);
  EXPECT_EQ(g.world.At(10, 10).bomberRange, 0);
  EXPECT_EQ(g.world.At(24, 3).bomberRange, 14);
  EXPECT_EQ(g.world.At(25, 10).bomberRange, 29);
  EXPECT_EQ(g.world.At(20, 30).bomberRange, 29);
  EXPECT_EQ(g.world.At(10, 10).safeCityRange, 29) << "only cities on secure land count";
  EXPECT_EQ(g.world.At(22, 10).fighterRange, 4);
  EXPECT_EQ(g.world.At(27, 15).fighterRange, 9);
  EXPECT_EQ(g.world.At(28, 10).fighterRange, 29);
  EXPECT_EQ(g.world.At(17, 10).fighterRange, 7) << "a nearer city beats the carrier";
  EXPECT_EQ(g.world.At(20, 10).fighterRange, 6) << "a nearer carrier beats the city";
  EXPECT_EQ(g.world.At(20, 10).bomberRange, 10);

  g.landMasses[g.world.At(10, 10).landMass].status = LandMassStatus::Secure;
  RecomputeRefuelMaps(g);
  EXPECT_EQ(g.world.At(13, 9).safeCityRange, 3);
}

TEST_F(RefuelMapTest, CarrierPassRadiusTruncatesTowardZero) {
  AddPiece(g, PieceType::Carrier, 0, 30, 10);
  g.settings.fuel[PieceType::Fighter] = 8;
  g.settings.moves[PieceType::Carrier] = 9;  // radius (8 - 9) / 2 = 0
  RecomputeRefuelMaps(g);
  EXPECT_EQ(g.world.At(30, 10).fighterRange, 9);
  EXPECT_EQ(g.world.At(31, 10).fighterRange, 29);
  g.settings.moves[PieceType::Carrier] = 10;  // radius -1: no pass
  RecomputeFighterMap(g);
  EXPECT_EQ(g.world.At(30, 10).fighterRange, 29);
}

}  // namespace
}  // namespace vortan
