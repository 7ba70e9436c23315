// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/production.h"

#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct ProductionTest : WorldTest<> {
  // Lets the city finish its piece now; returns the slot it went into.
  int Built(int city) {
    const int slot = FindFreeSlot(g.pieces);
    P(city).daysLeft = 1;
    RunCityProduction(g, city);
    return slot;
  }
};

const std::vector<std::string> kCoast = {"..........", ".++++.....", ".++++.....",
                                         ".++++.....", "..........", ".........."};

TEST_F(ProductionTest, ComputerBuildTimesScaleWithDifficultyInSinglePrecision) {
  Build(kCoast);
  const int city = AddCity(g, 1, 1, 1);
  g.state.autoPlay[1] = 1;  // a human on auto play still counts the plain days
  struct Case {
    uint8_t kind, difficulty, days, expected;
  };  // in single precision, where 12 x 1.1 gives 13
  for (Case c : {Case{PlayerKind::Computer, Difficulty::Simple, 20, 22},
                 {PlayerKind::Computer, Difficulty::Tricky, 20, 17},
                 {PlayerKind::Computer, Difficulty::Hard, 4, 3},
                 {PlayerKind::Computer, Difficulty::Simple, 12, 13},
                 {PlayerKind::Computer, Difficulty::Hard, 12, 9},
                 {PlayerKind::Computer, Difficulty::Easy, 7, 7},
                 {PlayerKind::Computer, Difficulty::Hard, 1, 0},
                 {PlayerKind::Human, Difficulty::Simple, 20, 20}}) {
    g.settings.kind[1] = c.kind;
    g.settings.difficulty = c.difficulty;
    g.settings.days[PieceType::Army] = c.days;
    ResetBuildTime(g, city);
    EXPECT_EQ(P(city).daysLeft, c.expected) << int(c.days) << " days, difficulty " << int(c.difficulty);
  }
}

TEST_F(ProductionTest, ANewShipGoesToTheLastFreeSeaNeighbour) {
  Build({"......", ".+++..", ".++...", ".+....", "......"});
  const int city = AddCity(g, 0, 2, 2, PieceType::Destroyer);
  const int first = Built(city);  // east (3, 2) and south-east (3, 3) are sea
  EXPECT_THAT(P(first), HasFields({.pos = Cell{3, 3}, .dest = Cell{3, 3}}));
  EXPECT_EQ(g.state.currentPiece, kPieceSlots - 1);  // the next search starts from the first slot
  EXPECT_EQ(P(Built(city)).Pos(), (MapPos{3, 2}));
  // An aircraft over the last free neighbour does not keep a ship off it;
  // once every sea neighbour holds a ship, the next stays in the city.
  AddPiece(g, PieceType::Fighter, 0, 2, 3);
  EXPECT_EQ(P(Built(city)).Pos(), (MapPos{2, 3}));
  EXPECT_EQ(P(Built(city)).Pos(), (MapPos{2, 2}));
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::City);
}

TEST_F(ProductionTest, NewPiecesTakeTheLowestFreeSlotsAndWriteOnlyTheirFields) {
  Build(kCoast);
  const int first = AddCity(g, 0, 1, 1, PieceType::Fighter);
  AddPiece(g, PieceType::Army, 0, 2, 2);
  const int second = AddCity(g, 0, 3, 3, PieceType::Army);
  P(1).type = PieceType::None;  // a hole below the second city
  P(3).fuel = 9;                // bytes left over in the next free slot
  g.settings.fuel[PieceType::Fighter] = 20;
  P(first).daysLeft = P(second).daysLeft = 1;
  RunCityProduction(g, first);
  RunCityProduction(g, second);
  // A new fighter's tank is 14, whatever the attribute.
  EXPECT_THAT(P(1), HasFields({.type = PieceType::Fighter, .fuel = 14, .pos = Cell{1, 1}}));
  EXPECT_THAT(P(3), HasFields({.type = PieceType::Army, .fuel = 9}));
  EXPECT_EQ(P(first).daysLeft, g.settings.days[PieceType::Fighter]);
}

TEST_F(ProductionTest, AFullTableBuildsNothingAndTheCountdownAtZeroBuildsOnceASlotIsFree) {
  Build(kCoast);
  const int city = AddCity(g, 0, 1, 1);
  while (FindFreeSlot(g.pieces) >= 0) AddPiece(g, PieceType::Army, 0, 2, 2);
  P(city).daysLeft = 1;
  RunCityProduction(g, city);
  EXPECT_EQ(P(city).daysLeft, 0);
  P(200).type = PieceType::None;
  RunCityProduction(g, city);  // at once, not 255 days on
  EXPECT_EQ(P(200).Pos(), (MapPos{1, 1}));
  EXPECT_EQ(P(city).daysLeft, g.settings.days[PieceType::Army]);
}

TEST_F(ProductionTest, AComputerChoosesForAHumanOnAutoPlayAndOnlyForCities) {
  Build(kCoast);
  const int city = AddCity(g, 0, 1, 1, PieceType::Transport);
  g.state.autoPlay[0] = 1;  // the computer plays for this human: nobody has pieces yet, so an army
  g.state.currentPiece = 42;
  P(city).daysLeft = 0;
  ChooseProduction(g, city);
  EXPECT_TRUE(hooks.calls.empty()) << "no City dialog";
  EXPECT_THAT(P(city), HasFields({.production = PieceType::Army, .daysLeft = g.settings.days[PieceType::Army]}));
  EXPECT_EQ(g.state.currentPiece, 42);
  ComputerChooseProduction(g, AddPiece(g, PieceType::Army, 0, 2, 2));
  EXPECT_EQ(hooks.calls.back(), "Message Error!: It's not a city");
}

// A computer city on a secure land mass with enough armies there and no enemy near.
struct ComputerChoiceTest : ProductionTest {
  int city = -1;
  void SetUpWorld(const std::vector<std::string>& rows, int cx, int cy) {
    Build(rows);
    g.settings.kind[0] = PlayerKind::Computer;
    city = AddCity(g, 0, cx, cy);
    LandMassRecord& lm = g.landMasses[g.world.At(cx, cy).landMass];
    lm.cityCount = 1, lm.armyCount = 5, lm.status = LandMassStatus::Secure;
  }
  // Replaces every piece but the city by this mix, all in the city.
  void Have(std::initializer_list<std::pair<int, int>> mix) {
    for (int i = 0; i < kPieceSlots; ++i)
      if (i != city) P(i).type = PieceType::None;
    for (auto [type, n] : mix)
      for (int k = 0; k < n; ++k) AddPiece(g, type, 0, P(city).x, P(city).y);
  }
  uint8_t Choice() { return ComputerChooseProduction(g, city), P(city).production; }
};

const std::vector<std::string> kInland = {".........", ".+++++++.", ".+++++++.", ".+++++++.",
                                          ".+++++++.", ".+++++++.", "........."};

TEST_F(ComputerChoiceTest, InlandCitiesBuildFightersUntilAQuarterAndFive) {
  SetUpWorld(kInland, 4, 3);
  for (auto [armies, fighters, expected] : {std::tuple{9, 1, PieceType::Fighter},
                                            {16, 4, PieceType::Fighter},
                                            {1, 4, PieceType::Fighter},
                                            {15, 5, PieceType::Army},
                                            {5, 5, PieceType::Army}}) {
    Have({{PieceType::Army, armies}, {PieceType::Fighter, fighters}});
    EXPECT_EQ(Choice(), expected) << fighters << " fighters of " << armies + fighters;
  }
  Have({{PieceType::Army, 9}, {PieceType::Fighter, 1}});
  g.settings.inUse[PieceType::Fighter] = 0;
  EXPECT_EQ(Choice(), PieceType::Army);
}

TEST_F(ComputerChoiceTest, ArmiesFirstWhileTheLandMassNeedsThem) {
  SetUpWorld(kInland, 4, 3);
  Have({{PieceType::Army, 9}, {PieceType::Fighter, 1}});
  LandMassRecord& lm = g.landMasses[1];
  // No more armies than cities; too few while the land mass is being taken.
  for (auto [armies, status, expected] : {std::tuple{1, LandMassStatus::Secure, PieceType::Army},
                                          {4, LandMassStatus::BeingTaken, PieceType::Army},
                                          {5, LandMassStatus::BeingTaken, PieceType::Fighter}}) {
    lm.armyCount = static_cast<decltype(lm.armyCount)>(armies);
    lm.status = status;
    EXPECT_EQ(Choice(), expected) << armies;
  }
  lm.status = LandMassStatus::Secure;
  const int enemy = AddPiece(g, PieceType::Army, 1, 1, 5);  // within four cells, same land mass
  EXPECT_EQ(Choice(), PieceType::Army);
  P(enemy).x = 8, P(enemy).y = 3;  // at sea (aboard), not on this land mass
  RefreshAllCells(g);
  EXPECT_EQ(Choice(), PieceType::Fighter);
}

TEST_F(ComputerChoiceTest, CoastalCitiesKeepTheirFleetInProportion) {
  SetUpWorld(kCoast, 4, 2);
  Have({{PieceType::Army, 4}});
  // Each row adds to the pieces before it; (4 + 1) / 6 = 0 transports allowed at first.
  const std::pair<int, uint8_t> steps[] = {
      {PieceType::None, PieceType::Transport},       {PieceType::Transport, PieceType::Fighter},
      {PieceType::Fighter, PieceType::Destroyer},  // 1 of 6 fighters: 16 %
      {PieceType::Destroyer, PieceType::Battleship}, {PieceType::Battleship, PieceType::Submarine},
      {PieceType::Submarine, PieceType::Bomber},     {PieceType::Bomber, PieceType::Fighter},  // 1 of 10: 10 %
      {PieceType::Fighter, PieceType::Bomber},  // 2 of 11: 18 %, and one bomber is too few
      {PieceType::Bomber, PieceType::Army},     // carriers wait for more than five fighters
  };
  for (auto [added, expected] : steps) {
    if (added != PieceType::None) AddPiece(g, added, 0, 4, 2);
    EXPECT_EQ(Choice(), expected) << "after adding type " << int(added);
  }
  g.settings.inUse[PieceType::Army] = 0;
  EXPECT_EQ(Choice(), PieceType::Para);
}

}  // namespace
}  // namespace vortan::test
