#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "rules/invariants.h"
#include "rules/production.h"
#include "rules/turn_loop.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct ProductionHooks : test::RecordingHooks {
  bool productionOpen = false;
  bool IsToolWindowOpen(ToolWindow w) const override { return w == ToolWindow::Production && productionOpen; }
  void RepaintToolWindow(ToolWindow w) override { calls.push_back("Repaint " + std::to_string(int(w))); }
};

struct ProductionTest : ::testing::Test {
  Game g;
  ProductionHooks hooks;
  void Build(const std::vector<std::string>& rows) {
    test::BuildWorld(g, rows);
    g.hooks = &hooks;
    g.app.fileFolder = std::filesystem::temp_directory_path().string();  // where the weekly saves go
  }
  // Runs whole turns of players 0 and 1 from the start of day `from` to the
  // end of day `to`; returns the days on which player 0 got a new piece.
  std::vector<int> DaysWithNewPieces(int from, int to) {
    std::vector<int> days;
    g.state.day = static_cast<int16_t>(from - 1);
    g.state.currentPlayer = 1;
    int pieces = CountOwned(0);
    while (true) {
      StartPlayerTurn(g);
      EXPECT_EQ(CheckInvariants(g), "");
      if (g.state.day > to) break;
      if (g.state.currentPlayer == 0 && CountOwned(0) > pieces) days.push_back(g.state.day);
      pieces = CountOwned(0);
    }
    return days;
  }
  int CountOwned(int player) const {
    int n = 0;
    for (const PieceRecord& r : g.pieces.slots) n += !r.IsEmpty() && r.owner == player;
    return n;
  }
};

const std::vector<std::string> kCoast = {
    "..........",
    ".++++.....",
    ".++++.....",
    ".++++.....",
    "..........",
    "..........",
};

TEST_F(ProductionTest, TransportsComeEveryOtherDayFromDayThree) {
  Build(kCoast);
  AddCity(g, 0, 4, 2, PieceType::Transport);
  AddCity(g, 1, 1, 1);
  EXPECT_EQ(DaysWithNewPieces(1, 8), (std::vector<int>{3, 5, 7}));
}

TEST_F(ProductionTest, ComputerBuildTimesScaleWithDifficultyInSinglePrecision) {
  Build(kCoast);
  g.settings.kind[1] = PlayerKind::Computer;
  int city = AddCity(g, 1, 1, 1);
  struct Case {
    uint8_t difficulty, days, expected;
  };
  for (Case c : {Case{Difficulty::Simple, 20, 22}, Case{Difficulty::Tricky, 20, 17}, Case{Difficulty::Hard, 4, 3},
                 Case{Difficulty::Simple, 12, 13}, Case{Difficulty::Hard, 12, 9}, Case{Difficulty::Easy, 7, 7},
                 Case{Difficulty::Hard, 1, 0}}) {
    g.settings.difficulty = c.difficulty;
    g.settings.days[PieceType::Army] = c.days;
    ResetBuildTime(g, city);
    EXPECT_EQ(g.pieces[city].daysLeft, c.expected) << int(c.days) << " days at difficulty " << int(c.difficulty);
  }
  // Humans count the plain days, also on auto play.
  g.settings.kind[1] = PlayerKind::Human;
  g.state.autoPlay[1] = 1;
  g.settings.difficulty = Difficulty::Simple;
  g.settings.days[PieceType::Army] = 20;
  ResetBuildTime(g, city);
  EXPECT_EQ(g.pieces[city].daysLeft, 20);
}

TEST_F(ProductionTest, ACountdownAtZeroBuildsAtOnce) {
  Build(kCoast);
  int city = AddCity(g, 0, 2, 2);
  g.pieces[city].daysLeft = 0;
  RunCityProduction(g, city);
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::City);
  ASSERT_EQ(g.pieces[1].type, PieceType::Army);
  EXPECT_EQ(g.pieces[city].daysLeft, g.settings.days[PieceType::Army]);
}

TEST_F(ProductionTest, ANewShipGoesToTheLastFreeSeaNeighbour) {
  Build({
      "......",
      ".+++..",
      ".++...",
      ".+....",
      "......",
  });
  int city = AddCity(g, 0, 2, 2, PieceType::Destroyer);
  g.pieces[city].daysLeft = 1;
  RunCityProduction(g, city);
  int first = 1;
  EXPECT_EQ(g.pieces[first].Pos(), (MapPos{3, 3}));  // east (3, 2) and south-east (3, 3) are sea
  EXPECT_EQ(g.pieces[first].movesLeft, g.settings.moves[PieceType::Destroyer]);
  EXPECT_EQ(g.pieces[first].Dest(), (MapPos{3, 3}));
  EXPECT_EQ(g.state.currentPiece, kPieceSlots - 1);

  g.pieces[city].daysLeft = 1;
  RunCityProduction(g, city);
  EXPECT_EQ(g.pieces[2].Pos(), (MapPos{3, 2}));
  EXPECT_EQ(g.pieces[2].Dest(), (MapPos{3, 2}));

  // An aircraft over the last free neighbour does not keep a ship off it;
  // once every sea neighbour holds a ship, the next stays in the city.
  int fighter = AddPiece(g, PieceType::Fighter, 0, 2, 3);
  g.pieces[city].daysLeft = 1;
  RunCityProduction(g, city);
  EXPECT_EQ(g.pieces[fighter + 1].Pos(), (MapPos{2, 3}));
  g.pieces[city].daysLeft = 1;
  RunCityProduction(g, city);
  EXPECT_EQ(g.pieces[fighter + 2].Pos(), (MapPos{2, 2}));
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::City);
}

TEST_F(ProductionTest, NewPiecesTakeTheLowestFreeSlotsInCityOrder) {
  Build(kCoast);
  int first = AddCity(g, 0, 1, 1, PieceType::Fighter);
  AddPiece(g, PieceType::Army, 0, 2, 2);
  int second = AddCity(g, 0, 3, 3, PieceType::Army);
  g.pieces[1].type = PieceType::None;  // a hole below the second city
  g.pieces[1].fuel = 7;
  g.pieces[3].fuel = 9;                // bytes left over in the next free slot
  g.settings.fuel[PieceType::Fighter] = 20;
  g.pieces[first].daysLeft = g.pieces[second].daysLeft = 1;
  RunCityProduction(g, first);
  RunCityProduction(g, second);
  EXPECT_EQ(g.pieces[1].type, PieceType::Fighter);
  EXPECT_EQ(g.pieces[1].Pos(), (MapPos{1, 1}));
  EXPECT_EQ(g.pieces[1].fuel, 14);     // a new fighter's tank, whatever the attribute
  EXPECT_EQ(g.pieces[3].type, PieceType::Army);
  EXPECT_EQ(g.pieces[3].fuel, 9);      // only aircraft get a tank
  EXPECT_EQ(g.pieces[3].strength, 100);
  EXPECT_EQ(g.pieces[first].daysLeft, g.settings.days[PieceType::Fighter]);
}

TEST_F(ProductionTest, AFullTableBuildsNothingAndTheCityBuildsOnceASlotIsFree) {
  Build(kCoast);
  int city = AddCity(g, 0, 1, 1);
  while (FindFreeSlot(g.pieces) >= 0) AddPiece(g, PieceType::Army, 0, 2, 2);
  g.pieces[city].daysLeft = 1;
  const PieceTable before = g.pieces;
  RunCityProduction(g, city);
  EXPECT_EQ(g.pieces[city].daysLeft, 0);
  for (int i = 1; i < kPieceSlots; ++i) EXPECT_EQ(g.pieces[i].Pos(), before[i].Pos());

  g.pieces[200].type = PieceType::None;
  RunCityProduction(g, city);
  EXPECT_EQ(g.pieces[200].Pos(), (MapPos{1, 1}));
  EXPECT_EQ(g.pieces[city].daysLeft, g.settings.days[PieceType::Army]);
}

TEST_F(ProductionTest, HumansChooseInTheCityDialogComputersByTheirRules) {
  Build(kCoast);
  int city = AddCity(g, 0, 1, 1, PieceType::Transport);
  hooks.productionOpen = true;
  ChooseProduction(g, city);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"City " + std::to_string(city), "Repaint 3"}));

  g.state.autoPlay[0] = 1;  // the computer plays for this human: nobody has pieces yet, so an army
  g.state.currentPiece = 42;
  g.pieces[city].daysLeft = 0;
  ChooseProduction(g, city);
  EXPECT_EQ(g.pieces[city].production, PieceType::Army);
  EXPECT_EQ(g.pieces[city].daysLeft, g.settings.days[PieceType::Army]);
  EXPECT_EQ(g.state.currentPiece, 42);

  g.settings.inUse[PieceType::Army] = 0;
  ComputerChooseProduction(g, city);
  EXPECT_EQ(g.pieces[city].production, PieceType::Para);

  int army = AddPiece(g, PieceType::Army, 0, 2, 2);
  ComputerChooseProduction(g, army);
  EXPECT_EQ(hooks.calls.back(), "Message Error!: It's not a city");
}

// A computer city on land mass 1 with enough armies there and no enemy near.
struct ComputerChoiceTest : ProductionTest {
  int city = -1;
  void SetUpWorld(const std::vector<std::string>& rows, int cx, int cy) {
    Build(rows);
    g.settings.kind[0] = PlayerKind::Computer;
    city = AddCity(g, 0, cx, cy);
    LandMassRecord& lm = g.landMasses[g.world.At(cx, cy).landMass];
    lm.cityCount = 1;
    lm.armyCount = 5;
    lm.status = LandMassStatus::Secure;
  }
  void Add(int type, int n, int x, int y) {
    for (int k = 0; k < n; ++k) AddPiece(g, type, 0, x, y);
  }
  uint8_t Choice() {
    ComputerChooseProduction(g, city);
    return g.pieces[city].production;
  }
};

const std::vector<std::string> kInland = {
    ".........",
    ".+++++++.",
    ".+++++++.",
    ".+++++++.",
    ".+++++++.",
    ".+++++++.",
    ".........",
};

TEST_F(ComputerChoiceTest, InlandCitiesBuildFightersUntilThereAreEnough) {
  SetUpWorld(kInland, 4, 3);
  Add(PieceType::Army, 9, 3, 3);
  Add(PieceType::Fighter, 1, 4, 3);
  EXPECT_EQ(Choice(), PieceType::Fighter);  // 1 of 10
  Add(PieceType::Fighter, 4, 4, 3);
  for (int i = 0; i < 4; ++i) g.pieces[city + 1 + i].type = PieceType::None;
  EXPECT_EQ(Choice(), PieceType::Army);     // 5 of 10: half the pieces, and five of them

  g.settings.inUse[PieceType::Fighter] = 0;
  g.pieces[city + 1].type = PieceType::Army;
  for (int i = 10; i < 14; ++i) g.pieces[i].type = PieceType::None;
  EXPECT_EQ(Choice(), PieceType::Army);
}

TEST_F(ComputerChoiceTest, ArmiesFirstWhileTheLandMassNeedsThem) {
  SetUpWorld(kInland, 4, 3);
  Add(PieceType::Army, 9, 3, 3);
  Add(PieceType::Fighter, 1, 4, 3);
  LandMassRecord& lm = g.landMasses[1];
  lm.armyCount = 1;  // no more armies than cities
  EXPECT_EQ(Choice(), PieceType::Army);
  lm.armyCount = 4;
  lm.status = LandMassStatus::BeingTaken;
  EXPECT_EQ(Choice(), PieceType::Army);
  lm.armyCount = 5;
  EXPECT_EQ(Choice(), PieceType::Fighter);
  lm.status = LandMassStatus::Secure;
  int enemy = AddPiece(g, PieceType::Army, 1, 1, 5);  // within four cells, same land mass
  EXPECT_EQ(Choice(), PieceType::Army);
  g.pieces[enemy].x = 8;  // at sea (aboard), not on this land mass
  g.pieces[enemy].y = 3;
  RefreshAllCells(g);
  EXPECT_EQ(Choice(), PieceType::Fighter);
}

TEST_F(ComputerChoiceTest, ParasForAKnownNeutralCityOnAnOpenLandMass) {
  SetUpWorld({
                 ".............",
                 ".+++++...**..",
                 ".+++++.......",
                 ".+++++.......",
                 ".............",
             },
             3, 2);
  Add(PieceType::Army, 9, 3, 2);
  Add(PieceType::Fighter, 1, 3, 2);
  const int other = g.world.At(9, 1).landMass;
  g.landMasses[other].status = LandMassStatus::Open;
  EXPECT_EQ(Choice(), PieceType::Fighter);  // the city is not explored yet
  g.world.At(10, 1).explored = 1;
  EXPECT_EQ(Choice(), PieceType::Para);
  g.landMasses[other].status = LandMassStatus::BeingTaken;
  EXPECT_NE(Choice(), PieceType::Para);
}

TEST_F(ComputerChoiceTest, CoastalCitiesKeepTheirFleetInProportion) {
  SetUpWorld(kCoast, 4, 2);
  Add(PieceType::Army, 4, 2, 2);
  EXPECT_EQ(Choice(), PieceType::Transport);    // no transport yet, (4 + 1) / 6 = 0 allowed
  Add(PieceType::Transport, 1, 5, 2);
  EXPECT_EQ(Choice(), PieceType::Fighter);
  Add(PieceType::Fighter, 1, 4, 2);             // 1 of 6: 16 %
  EXPECT_EQ(Choice(), PieceType::Destroyer);
  Add(PieceType::Destroyer, 1, 5, 3);
  EXPECT_EQ(Choice(), PieceType::Battleship);
  Add(PieceType::Battleship, 1, 5, 4);
  EXPECT_EQ(Choice(), PieceType::Submarine);
  Add(PieceType::Submarine, 1, 6, 4);
  EXPECT_EQ(Choice(), PieceType::Bomber);
  Add(PieceType::Bomber, 2, 4, 2);
  EXPECT_EQ(Choice(), PieceType::Fighter);      // 1 of 11 fighters: below 11 % again
  Add(PieceType::Fighter, 1, 4, 2);
  EXPECT_EQ(Choice(), PieceType::Army);         // carriers wait for more than five fighters
  g.settings.inUse[PieceType::Army] = 0;
  EXPECT_EQ(Choice(), PieceType::Para);
}

}  // namespace
}  // namespace vortan
