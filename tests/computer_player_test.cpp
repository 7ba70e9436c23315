// The computer player's decisions on small hand-drawn worlds: what each kind
// of piece aims for, what it avoids and when it stays put.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ai/computer_turn.h"
#include "ai/piece_rules.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;
using test::BuildWorld;

constexpr int kMe = 1;  // the computer player of the fixtures
constexpr int kEnemy = 0;

// A sea of the given size with rectangles of terrain painted on it.
struct Picture {
  std::vector<std::string> rows;
  Picture(int w, int h) : rows(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.')) {}
  Picture& Paint(int x0, int y0, int x1, int y1, char c = '+') {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = c;
    return *this;
  }
};

// The signed column offset of b from a on a world of width w.
int ColumnOffset(int a, int b, int w) { return ((b - a) % w + w + w / 2) % w - w / 2; }

struct ComputerPlayerTest : ::testing::Test {
  Game g;

  void Build(const std::vector<std::string>& rows) {
    BuildWorld(g, rows);
    g.state.currentPlayer = kMe;
  }
  void Mark(int player, int x0, int y0, int x1, int y1, bool know, bool see) {
    const auto bit = static_cast<uint8_t>(g.state.playerBit[player]);
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) {
        MapCell& c = g.world.At(x, y);
        c.explored = static_cast<uint8_t>(know ? c.explored | bit : c.explored & ~bit);
        c.visible = static_cast<uint8_t>(see ? c.visible | bit : c.visible & ~bit);
      }
  }
  void Explore(int player, bool see = true) { Mark(player, 0, 0, g.Width() - 1, g.Height() - 1, true, see); }
  void Forget(int player, int x0, int y0, int x1, int y1) { Mark(player, x0, y0, x1, y1, false, false); }
  // The refuel distances an own city gives, as the start of a turn would.
  void RangesFromCity(int x, int y) {
    for (int cx = 0; cx < g.Width(); ++cx)
      for (int cy = 0; cy < g.Height(); ++cy) {
        MapCell& c = g.world.At(cx, cy);
        c.fighterRange = c.bomberRange = c.safeCityRange = static_cast<uint8_t>(WrapDistance(g.settings, cx, cy, x, y));
      }
  }
  MapPos Decide(int piece) {
    g.state.currentPiece = static_cast<int16_t>(piece);
    DecideComputerPiece(g);
    return g.pieces[piece].Dest();
  }
};

TEST_F(ComputerPlayerTest, LandMassSurveyRatesEachLandMassFromThePlayersView) {
  Build({
      "............",
      ".++...++....",
      ".++...+*....",
      "............",
      ".++...++....",
      ".++...++....",
      "............",
  });
  Explore(kMe, false);
  AddCity(g, kMe, 1, 1);    // own and fully known
  Forget(kMe, 2, 4, 2, 5);  // an unexplored corner, two own armies there
  AddPiece(g, PieceType::Army, kMe, 1, 4);
  AddPiece(g, PieceType::Army, kMe, 1, 5);
  AddCity(g, kEnemy, 6, 4);  // a known enemy city
  const int seen = AddPiece(g, PieceType::Army, kEnemy, 9, 3);  // at sea, seen
  g.world.At(9, 3).visible |= g.state.playerBit[kMe];
  g.landMasses[0].status = LandMassStatus::Secure;

  UpdateLandMassStatus(g, kMe);
  auto status = [&](int x, int y) { return g.landMasses[g.world.At(x, y).landMass].status; };
  EXPECT_EQ(status(1, 1), LandMassStatus::Secure);
  EXPECT_EQ(status(1, 4), LandMassStatus::BeingTaken);
  EXPECT_EQ(status(6, 1), LandMassStatus::Open);  // a neutral city and nothing of ours
  EXPECT_EQ(status(6, 4), LandMassStatus::Contested);
  EXPECT_EQ(g.landMasses[0].status, LandMassStatus::Contested);  // the army at sea
  EXPECT_EQ(g.landMasses[g.world.At(1, 4).landMass].armyCount, 2);

  g.pieces[seen].type = PieceType::None;  // entry 0 is not reset by the next survey
  UpdateLandMassStatus(g, kMe);
  EXPECT_EQ(g.landMasses[0].status, LandMassStatus::Contested);
}

TEST_F(ComputerPlayerTest, GarrisonArmyStaysWhileTheOthersLookForATransport) {
  Build(Picture(10, 5).Paint(1, 1, 8, 3).rows);
  Explore(kMe);
  AddCity(g, kMe, 2, 2);
  const int garrison = AddPiece(g, PieceType::Army, kMe, 2, 2);
  const int spare = AddPiece(g, PieceType::Army, kMe, 2, 2);
  g.pieces[garrison].state = g.pieces[spare].state = PieceState::AwaitingOrders;
  AddPiece(g, PieceType::Transport, kMe, 0, 2);
  UpdateLandMassStatus(g, kMe);
  ASSERT_EQ(g.landMasses[1].status, LandMassStatus::Secure);

  const uint32_t rngBefore = g.rng.State();
  EXPECT_EQ(Decide(garrison), (MapPos{2, 2}));
  EXPECT_EQ(g.pieces[garrison].movesLeft, 0);
  EXPECT_EQ(g.pieces[garrison].state, PieceState::AwaitingOrders);
  EXPECT_EQ(g.rng.State(), rngBefore) << "a garrison decision draws nothing";

  EXPECT_EQ(Decide(spare), (MapPos{0, 2}));
  EXPECT_EQ(g.pieces[spare].state, PieceState::Ready);
}

TEST_F(ComputerPlayerTest, ArmyAboardLandsOnlyWhereThereIsSomethingToTake) {
  Build({
      "........",
      "..+*....",
      "........",
      "...++...",
      "........",
  });
  Explore(kMe);
  AddCity(g, kMe, 4, 3);  // makes the lower island secure
  AddPiece(g, PieceType::Transport, kMe, 3, 2);
  const int army = AddPiece(g, PieceType::Army, kMe, 3, 2);
  UpdateLandMassStatus(g, kMe);
  EXPECT_EQ(Decide(army), (MapPos{3, 1})) << "the neutral city beside the transport";

  g.world.At(3, 1).terrain = Terrain::Land;  // no city left up there: the island is secure too
  UpdateLandMassStatus(g, kMe);
  EXPECT_EQ(Decide(army), (MapPos{3, 2}));
  EXPECT_EQ(g.pieces[army].movesLeft, 0) << "stays aboard";
}

TEST_F(ComputerPlayerTest, OnlyTheNearestArmyMakesForANeutralCity) {
  Build(Picture(14, 4).Paint(1, 1, 12, 2).Paint(11, 1, 11, 1, '*').rows);
  Explore(kMe);
  const int far = AddPiece(g, PieceType::Army, kMe, 5, 1);
  const int near = AddPiece(g, PieceType::Army, kMe, 8, 2);
  UpdateLandMassStatus(g, kMe);
  ASSERT_EQ(g.landMasses[1].status, LandMassStatus::BeingTaken);
  EXPECT_EQ(Decide(near), (MapPos{11, 1}));
  EXPECT_NE(Decide(far), (MapPos{11, 1}));
}

// Late in the game a transport with one army and nothing open goes back to the
// armies waiting; with open land it seeks that coast, out of a destroyer's reach.
TEST_F(ComputerPlayerTest, LoadedTransportSeeksOpenCoastsElseArmiesWaitingAndAvoidsDestroyers) {
  Build(Picture(40, 5).Paint(1, 1, 3, 3).Paint(14, 2, 16, 3).rows);
  Explore(kMe);
  AddCity(g, kMe, 2, 2);
  RangesFromCity(2, 2);
  g.state.day = 40;
  const int transport = AddPiece(g, PieceType::Transport, kMe, 8, 3);
  AddPiece(g, PieceType::Army, kMe, 8, 3);
  AddPiece(g, PieceType::Army, kMe, 3, 1);  // waiting on the home coast
  const auto decide = [&] {
    UpdateLandMassStatus(g, kMe);
    const MapPos dest = Decide(transport);
    EXPECT_EQ(g.world.At(dest).terrain, Terrain::Sea);
    return dest;
  };
  EXPECT_LE(WrapDistance(g.settings, decide(), MapPos{3, 1}), 1);

  Forget(kMe, 16, 2, 16, 3);  // the far island still has unexplored land
  EXPECT_LE(WrapDistance(g.settings, decide(), MapPos{14, 2}), 1) << "beside the open island";

  AddPiece(g, PieceType::Destroyer, kEnemy, 12, 3);
  EXPECT_LT(ColumnOffset(8, decide().x, g.Width()), 4 - 6) << "the destroyer, its reach and all beyond are threatened";
}

TEST_F(ComputerPlayerTest, ParaLandsOnlyOverLandWorthTaking) {
  Build(Picture(8, 4).Paint(1, 1, 5, 2).Paint(5, 1, 5, 1, '*').rows);
  Explore(kMe);
  const int para = AddPiece(g, PieceType::Para, kMe, 2, 2);
  g.state.currentPiece = static_cast<int16_t>(para);
  g.landMasses[1].status = LandMassStatus::BeingTaken;
  EXPECT_EQ(LandParasIfUseful(g), 0);
  EXPECT_EQ(g.pieces[para].type, PieceType::Para);

  g.landMasses[1].status = LandMassStatus::Open;
  EXPECT_EQ(LandParasIfUseful(g), 1);
  EXPECT_EQ(g.pieces[para].type, PieceType::Army);
  EXPECT_EQ(g.pieces[para].movesLeft, 0);
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::Army);
}

TEST_F(ComputerPlayerTest, ParaFliesToEmptyLandBesideANeutralCityAwayFromFighters) {
  Build(Picture(40, 30).Paint(2, 10, 4, 12).Paint(3, 11, 3, 11, '*').Paint(8, 11, 9, 12)
            .Paint(14, 10, 16, 12).Paint(15, 11, 15, 11, '*').rows);
  Explore(kMe);
  AddCity(g, kMe, 8, 11);
  const int para = AddPiece(g, PieceType::Para, kMe, 8, 11);
  UpdateLandMassStatus(g, kMe);
  for (uint32_t seed = 1; seed <= 8; ++seed) {   // the islands score alike but for their distance
    g.rng.SetState(seed);
    MapPos dest = Decide(para);
    EXPECT_EQ(g.world.At(dest).terrain, Terrain::Land);
    EXPECT_EQ(g.world.At(dest).topType, PieceType::None);
    EXPECT_EQ(WrapDistance(g.settings, dest, MapPos{3, 11}), 1) << "the nearer island";
  }
  AddPiece(g, PieceType::Fighter, kEnemy, 4, 10);    // guards the western city
  EXPECT_EQ(WrapDistance(g.settings, Decide(para), MapPos{15, 11}), 1) << "the eastern island instead";
}

TEST_F(ComputerPlayerTest, DamagedShipHeadsForPortAndRepairsThere) {
  Build(Picture(20, 4).Paint(2, 1, 3, 2).rows);
  Explore(kMe);
  AddCity(g, kMe, 3, 2);
  const int ship = AddPiece(g, PieceType::Destroyer, kMe, 12, 1);
  g.pieces[ship].strength = 59;
  MapPos dest = Decide(ship);
  EXPECT_EQ(g.world.At(dest).terrain, Terrain::Sea);
  EXPECT_LE(WrapDistance(g.settings, dest, MapPos{3, 2}), 1);

  g.pieces[ship].x = 4, g.pieces[ship].y = 3, g.pieces[ship].strength = 84, g.pieces[ship].movesLeft = 6;
  EXPECT_EQ(Decide(ship), (MapPos{4, 3}));
  EXPECT_EQ(g.pieces[ship].movesLeft, 0) << "stays in port";

  AddPiece(g, PieceType::Transport, kEnemy, 5, 3);
  EXPECT_EQ(Decide(ship), (MapPos{5, 3})) << "but strikes at a neighbour";
}

TEST_F(ComputerPlayerTest, FighterNeverAimsBeyondItsFuel) {
  Build(Picture(30, 30).Paint(15, 15, 15, 15).rows);
  Explore(kMe, false);
  Forget(kMe, 0, 0, 29, 8);
  AddCity(g, kMe, 15, 15);
  RangesFromCity(15, 15);
  const int fighter = AddPiece(g, PieceType::Fighter, kMe, 15, 12);
  PieceRecord& f = g.pieces[fighter];
  for (int fuel = 3; fuel <= 14; ++fuel)
    for (uint32_t seed = 1; seed <= 5; ++seed) {
      g.rng.SetState(seed);
      f.fuel = static_cast<int16_t>(fuel);
      f.movesLeft = 14;
      const MapPos dest = Decide(fighter);
      EXPECT_LE(g.world.At(dest).fighterRange, fuel - WrapDistance(g.settings, f.Pos(), dest)) << fuel << " " << seed;
    }
}

TEST_F(ComputerPlayerTest, DamagedFighterWaitsAtItsBaseAndStrikesOnlyNextDoor) {
  Build(Picture(30, 30).Paint(1, 10, 8, 11).rows);
  Explore(kMe);
  Forget(kMe, 6, 10, 8, 11);
  AddCity(g, kMe, 2, 10);
  RangesFromCity(2, 10);
  const int fighter = AddPiece(g, PieceType::Fighter, kMe, 2, 10);
  g.pieces[fighter].state = PieceState::AwaitingOrders;
  g.pieces[fighter].strength = 69;
  EXPECT_EQ(Decide(fighter), (MapPos{2, 10}));
  EXPECT_EQ(g.pieces[fighter].movesLeft, 0);

  g.pieces[fighter].movesLeft = 14;
  const int enemy = AddPiece(g, PieceType::Army, kEnemy, 3, 11);
  EXPECT_EQ(Decide(fighter), (MapPos{3, 11}));
  EXPECT_EQ(g.pieces[fighter].state, PieceState::Ready);
  EXPECT_EQ(g.pieces[fighter].movesLeft, 14);

  g.pieces[enemy].type = PieceType::None;
  RefreshCell(g, MapPos{3, 11});
  g.pieces[fighter].strength = 70;
  MapPos dest = Decide(fighter);
  EXPECT_GE(dest.x, 5) << "healthy again, it scouts the unexplored east";
  EXPECT_LE(dest.x, 11);
}

TEST_F(ComputerPlayerTest, DangerOutweighsTheBestValue) {
  Build(Picture(30, 11).rows);
  Explore(kMe);
  Forget(kMe, 3, 0, 10, 10);                         // much to explore in the west
  const int sub = AddPiece(g, PieceType::Submarine, kMe, 15, 5);
  EXPECT_LT(Decide(sub).x, 15);

  AddPiece(g, PieceType::Destroyer, kEnemy, 13, 5);
  EXPECT_GT(Decide(sub).x, 13 + 4) << "the destroyer and 4 cells on our side are threatened";
}

// The rules read their counts from running sums over the window; they must
// agree with counting square by square, also where squares and windows wrap
// over a world smaller than themselves.
TEST_F(ComputerPlayerTest, WindowCountsAgreeWithCountingCellByCell) {
  for (auto [w, h] : {std::pair{23, 17}, std::pair{5, 3}, std::pair{40, 40}}) {
    Build(Picture(w, h).rows);
    Random noise(static_cast<uint32_t>(w * 100 + h));
    for (MapCell& c : g.world.cells) {
      c.explored = static_cast<uint8_t>(noise.Next() & 0x3F);
      c.visible = static_cast<uint8_t>(c.explored & noise.Next());
    }
    const MapPos centre{static_cast<uint8_t>(w / 3), static_cast<uint8_t>(h / 2)};
    for (int radius : {1, 7, 20})
      for (int r = 1; r <= WindowCells::kMargin; ++r) {
        const WindowCells cells(g.settings, centre, radius);
        const ExplorationCounts counts(g, cells, radius, r, kMe);
        for (int i = 0; i <= 2 * radius; ++i)
          for (int j = 0; j <= 2 * radius; ++j) {
            const MapPos c = cells.Pos(i, j);
            ASSERT_EQ(c, WrapPos(g.settings, centre.x + i - radius, centre.y + j - radius));
            ASSERT_EQ(cells.Distance(i, j), WrapDistance(g.settings, centre, c));
            ASSERT_EQ(counts.Unexplored(i, j), CountUnexplored(g, kMe, c.x, c.y, r)) << w << "x" << h << " r" << r;
            ASSERT_EQ(counts.Unseen(i, j), CountUnseen(g, kMe, c.x, c.y, r)) << w << "x" << h << " r" << r;
          }
      }
  }
}

TEST_F(ComputerPlayerTest, APieceWithNowhereSafeStaysAndStillSpendsBothDraws) {
  Build({"......", "..++..", "......"});
  Explore(kMe);
  AddCity(g, kMe, 2, 1);
  const int army = AddPiece(g, PieceType::Army, kMe, 3, 1);
  AddPiece(g, PieceType::Battleship, kEnemy, 3, 0);
  AddPiece(g, PieceType::Battleship, kEnemy, 3, 2);
  UpdateLandMassStatus(g, kMe);
  Random expected = g.rng;
  expected.Next();
  expected.Next();
  EXPECT_EQ(Decide(army), (MapPos{3, 1}));
  EXPECT_EQ(g.pieces[army].movesLeft, 0);
  EXPECT_EQ(g.pieces[army].state, PieceState::Ready);
  EXPECT_EQ(g.rng.State(), expected.State());
}

TEST_F(ComputerPlayerTest, EqualScoresAreSettledByTheRotatedScan) {
  Build(Picture(9, 9).rows);
  Explore(kMe);
  const int carrier = AddPiece(g, PieceType::Carrier, kMe, 4, 4);
  RangesFromCity(4, 4);
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 9; ++y) g.world.At(x, y).bomberRange = 13;   // every cell worth the same
  std::set<int> chosen;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    g.rng.SetState(seed);
    g.pieces[carrier].movesLeft = 4;
    chosen.insert(Decide(carrier).Packed());
  }
  EXPECT_GT(chosen.size(), 1u) << "the draws decide between equal cells";
}

}  // namespace
}  // namespace vortan
