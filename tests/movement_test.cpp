// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/movement.h"

#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct MovementTest : WorldTest<> {
  int Range(uint8_t MapCell::*map, int x, int y) const { return g.world.At(x, y).*map; }
};

TEST_F(MovementTest, ShipsCarryUpToSixOfTheirCargoTypeInTableOrder) {
  Build({"......", "..+...", "......"});
  int armies[7];
  for (int& a : armies) a = AddPiece(g, PieceType::Army, 0, 4, 0);
  const int transport = AddPiece(g, PieceType::Transport, 0, 4, 0);
  PerformStep(g, transport, 5, 0);
  Ints xs;
  for (int a : armies) xs.push_back(P(a).x);
  EXPECT_EQ(xs, (Ints{5, 5, 5, 5, 5, 5, 4}));
  EXPECT_EQ(P(armies[0]).movesLeft, 1) << "cargo rides free";
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 4, 2);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 4, 2);
  const int carrier = AddPiece(g, PieceType::Carrier, 0, 4, 2);
  PerformStep(g, carrier, 3, 2);
  EXPECT_THAT(NAMED(P(fighter).x, P(bomber).x), ElementsAre(3, 4));
  AddCity(g, 0, 2, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 2, 1);
  const int inPort = AddPiece(g, PieceType::Transport, 0, 2, 1);
  PerformStep(g, inPort, 1, 0);
  EXPECT_EQ(P(army).Pos(), (MapPos{2, 1})) << "nothing boards in a city";
}

TEST_F(MovementTest, ArmyBecomesTheNeutralCityItEnters) {
  Build({"++++", "++*+", "++++"});
  const int army = AddPiece(g, PieceType::Army, 0, 1, 1);
  PerformStep(g, army, 2, 1);
  EXPECT_THAT(P(army), HasFields({.type = PieceType::City,
                                  .state = PieceState::Asleep,
                                  .production = PieceType::Army,
                                  .daysLeft = g.settings.days[PieceType::Army],
                                  .pos = Cell{2, 1}}));
  EXPECT_THAT(NAMED(g.world.At(2, 1).terrain, Range(&MapCell::bomberRange, 2, 1)), ElementsAre(Terrain::Land, 0));
  EXPECT_TRUE(Saw(hooks.calls, "City " + std::to_string(army)));
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
  EXPECT_THAT(NAMED(P(army).destX, P(returning).destX), ElementsAre(5, 6));
}

TEST_F(MovementTest, AircraftBurnFuelAndRefuelOnlyOnTheirBases) {
  Build({"+++++", "+++++", "....."});
  AddCity(g, 0, 3, 0);
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 1, 0);
  P(fighter).fuel = 2;
  PerformStep(g, fighter, 2, 1);
  PerformStep(g, fighter, 3, 0);  // lands on its last drop
  EXPECT_EQ(P(fighter).fuel, 0);
  EXPECT_TRUE(RefuelAircraft(g, fighter));
  EXPECT_EQ(P(fighter).fuel, 14);
  AddPiece(g, PieceType::Carrier, 0, 3, 2);
  const int onDeck = AddPiece(g, PieceType::Fighter, 0, 3, 2);
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 3, 2);
  P(onDeck).fuel = P(bomber).fuel = 2;
  RefuelAircraft(g, onDeck);
  RefuelAircraft(g, bomber);
  EXPECT_THAT(NAMED(P(onDeck).fuel, P(bomber).fuel), ElementsAre(14, 2));
  P(bomber).fuel = 0;
  EXPECT_FALSE(RefuelAircraft(g, bomber));
}

TEST_F(MovementTest, CitiesServeHalfABombersRangeAndCarriersAddOneCruise) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  AddCity(g, 0, 10, 10);
  AddPiece(g, PieceType::Carrier, 0, 22, 10);
  AddCity(g, 1, 20, 30);
  g.landMasses[0].status = LandMassStatus::Contested;
  RecomputeRefuelMaps(g);
  // (20, 30) is another player's city; only cities on secure land count as safe;
  // at (17, 10) the nearer city beats the carrier, at (20, 10) the nearer carrier the city.
  EXPECT_THAT(NAMED(Range(&MapCell::bomberRange, 24, 3), Range(&MapCell::bomberRange, 25, 10),
                    Range(&MapCell::bomberRange, 20, 30), Range(&MapCell::safeCityRange, 10, 10),
                    Range(&MapCell::fighterRange, 27, 15), Range(&MapCell::fighterRange, 28, 10),
                    Range(&MapCell::fighterRange, 17, 10), Range(&MapCell::fighterRange, 20, 10)),
              ElementsAre(14, 29, 29, 29, 9, 29, 7, 6));
  g.landMasses[0].status = LandMassStatus::Secure;
  g.settings.fuel[PieceType::Fighter] = 8;
  g.settings.moves[PieceType::Carrier] = 9;  // radius (8 - 9) / 2 = 0
  RecomputeRefuelMaps(g);
  EXPECT_THAT(NAMED(Range(&MapCell::safeCityRange, 13, 9), Range(&MapCell::fighterRange, 22, 10),
                    Range(&MapCell::fighterRange, 23, 10)),
              ElementsAre(3, 9, 13));
  g.settings.moves[PieceType::Carrier] = 10;  // radius -1: no carrier pass
  RecomputeFighterMap(g);
  EXPECT_EQ(Range(&MapCell::fighterRange, 22, 10), 12);
}

// A player's refuel maps are copied back from memory when nothing they follow
// from changed; copied or worked out, they must be the same maps.
TEST_F(MovementTest, RememberedRefuelMapsAreTheMapsWorkedOutAfresh) {
  std::vector<std::string> rows(30, std::string(30, '.'));
  rows[5].replace(3, 5, "+++++"), rows[20].replace(18, 4, "++++");
  Build(rows);
  const int west = AddCity(g, 0, 5, 5), east = AddCity(g, 0, 19, 20), enemy = AddCity(g, 1, 20, 20);
  g.landMasses[g.world.At(5, 5).landMass].status = LandMassStatus::Contested;
  const int carrier = AddPiece(g, PieceType::Carrier, 0, 12, 12);
  const auto maps = [&] {
    Ints all;
    for (const MapCell& c : g.world.cells) all.insert(all.end(), {c.bomberRange, c.safeCityRange, c.fighterRange});
    return all;
  };
  const auto expectAfresh = [&](const char* after) {
    RecomputeRefuelMaps(g);
    for (MapCell& c : g.world.cells) c.bomberRange = c.safeCityRange = c.fighterRange = 0;
    RecomputeRefuelMaps(g);  // nothing changed since the last call: copied back
    const Ints recalled = maps();
    g.refuelMemory = RefuelMemory{};
    RecomputeRefuelMaps(g);
    EXPECT_EQ(recalled, maps()) << "the remembered maps differ from fresh ones after " << after;
  };
  expectAfresh("the first turn");
  P(carrier).x = 14;
  expectAfresh("the carrier sailed");
  g.landMasses[g.world.At(5, 5).landMass].status = LandMassStatus::Secure;
  expectAfresh("a land mass became secure");
  P(east).owner = 1, P(enemy).owner = 0;
  expectAfresh("one city lost and one taken");
  P(west).owner = 1;
  expectAfresh("a city lost");
  g.settings.fuel[PieceType::Bomber] = 20;
  expectAfresh("the bomber's fuel changed");
  g.state.currentPlayer = 1;
  expectAfresh("the turn passed to another player");
}

}  // namespace
}  // namespace vortan::test
