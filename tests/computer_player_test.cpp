// SPDX-License-Identifier: GPL-3.0-or-later
// The computer player's decisions on small hand-drawn worlds: what each kind
// of piece aims for, what it avoids and when it stays put.
#include <gtest/gtest.h>

#include "ai/computer_turn.h"
#include "ai/piece_rules.h"
#include "support/piece_fields.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;
using test::Cell;
using test::HasFields;

constexpr int kMe = 1, kEnemy = 0;  // the computer player of the fixtures and its foe

// A sea of w x h with rectangles of terrain painted on it.
struct Picture {
  std::vector<std::string> rows;
  Picture(int w, int h) : rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.')) {}
  Picture& Paint(int x0, int y0, int x1, int y1, char c = '+') {
    for (int y = y0; y <= y1; ++y) rows[y].replace(x0, x1 - x0 + 1, x1 - x0 + 1, c);
    return *this;
  }
};

struct ComputerPlayerTest : ::testing::Test {
  Game g;
  void Build(const std::vector<std::string>& rows, bool see = true) {
    test::BuildWorld(g, rows);
    g.state.currentPlayer = kMe;
    Mark(0, 0, g.Width() - 1, g.Height() - 1, true, see);
  }
  void Mark(int x0, int y0, int x1, int y1, bool know, bool see) {
    const auto bit = static_cast<uint8_t>(g.state.playerBit[kMe]);
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) {
        MapCell& c = g.world.At(x, y);
        c.explored = static_cast<uint8_t>(know ? c.explored | bit : c.explored & ~bit);
        c.visible = static_cast<uint8_t>(see ? c.visible | bit : c.visible & ~bit);
      }
  }
  void Forget(int x0, int y0, int x1, int y1) { Mark(x0, y0, x1, y1, false, false); }
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
  // The piece after a decision.
  const PieceRecord& Decided(int piece) {
    Decide(piece);
    return g.pieces[piece];
  }
  int Distance(MapPos a, MapPos b) { return WrapDistance(g.settings, a, b); }
};

TEST_F(ComputerPlayerTest, GarrisonArmyStaysWhileTheOthersLookForATransport) {
  Build(Picture(10, 5).Paint(1, 1, 8, 3).rows);
  AddCity(g, kMe, 2, 2);
  const int garrison = AddPiece(g, PieceType::Army, kMe, 2, 2), spare = AddPiece(g, PieceType::Army, kMe, 2, 2);
  g.pieces[garrison].state = g.pieces[spare].state = PieceState::AwaitingOrders;
  AddPiece(g, PieceType::Transport, kMe, 0, 2);
  UpdateLandMassStatus(g, kMe);
  ASSERT_EQ(g.landMasses[1].status, LandMassStatus::Secure);
  const uint32_t rngBefore = g.rng.State();
  EXPECT_THAT(Decided(garrison), HasFields({.state = PieceState::AwaitingOrders, .moves = 0, .dest = Cell{2, 2}}));
  EXPECT_EQ(g.rng.State(), rngBefore) << "a garrison decision draws nothing";
  EXPECT_EQ(Decide(spare), (MapPos{0, 2}));
  EXPECT_EQ(g.pieces[spare].state, PieceState::Ready);
}

// From a transport's deck an army lands on a neutral city before an own city
// before empty land, and only on land masses not yet secure.
TEST_F(ComputerPlayerTest, ArmyAboardLandsWhereThereIsSomethingToTake) {
  Build(Picture(10, 7).Paint(4, 2, 4, 4).Paint(4, 2, 4, 2, '*').rows);
  const int army = AddPiece(g, PieceType::Army, kMe, 3, 3);
  AddPiece(g, PieceType::Transport, kMe, 3, 3);
  g.landMasses[1].status = LandMassStatus::Open;
  EXPECT_EQ(Decide(army), (MapPos{4, 2}));
  AddCity(g, kMe, 4, 2);
  EXPECT_EQ(Decide(army), (MapPos{4, 2}));
  g.landMasses[1].status = LandMassStatus::Secure;
  EXPECT_EQ(Decide(army), (MapPos{3, 3})) << "nothing to take: stays aboard";
}

// On secure land a damaged army goes home to its city; where land is left to
// take, the nearest army makes for the neutral city before enemy cities, and
// an army in a city strikes at enemy armies beside it first.
TEST_F(ComputerPlayerTest, ArmiesRepairTakeNeutralCitiesAndDefendTheirCities) {
  Build(Picture(12, 5).Paint(1, 1, 10, 3).rows);
  AddCity(g, kMe, 2, 2);
  const int army = AddPiece(g, PieceType::Army, kMe, 6, 2);
  g.pieces[army].strength = 89;
  EXPECT_EQ(Decide(army), (MapPos{2, 2}));

  Build(Picture(12, 5).Paint(1, 1, 10, 3).Paint(8, 2, 8, 2, '*').rows);
  g.landMasses[1].status = LandMassStatus::Contested;
  AddCity(g, kEnemy, 3, 2);
  const int advancing = AddPiece(g, PieceType::Army, kMe, 5, 2);
  EXPECT_EQ(Decide(advancing), (MapPos{8, 2})) << "2000 x 8 / 5 beats 1000 x 8 / 4";

  Build(Picture(12, 5).Paint(1, 1, 10, 3).Paint(3, 2, 3, 2, '*').rows);
  g.landMasses[1].status = LandMassStatus::Contested;
  AddCity(g, kMe, 5, 2);
  const int defender = AddPiece(g, PieceType::Army, kMe, 5, 2);
  AddPiece(g, PieceType::Army, kEnemy, 6, 2);
  EXPECT_EQ(Decide(defender), (MapPos{6, 2}));
}

// Late in the game a transport with one army and nothing open goes back to the
// armies waiting; with open land it seeks that coast, out of a destroyer's reach.
TEST_F(ComputerPlayerTest, LoadedTransportSeeksOpenCoastsElseArmiesWaitingAndAvoidsDestroyers) {
  Build(Picture(40, 5).Paint(1, 1, 3, 3).Paint(14, 2, 16, 3).rows);
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
  g.state.day = 29;
  EXPECT_GT(decide().x, 8) << "before day 30 it explores, away from home";
  g.state.day = 30;
  EXPECT_LE(Distance(decide(), MapPos{3, 1}), 1);
  Forget(16, 2, 16, 3);  // the far island still has unexplored land
  EXPECT_LE(Distance(decide(), MapPos{14, 2}), 1) << "beside the open island";
  AddPiece(g, PieceType::Destroyer, kEnemy, 12, 3);
  const int w = g.Width(), offset = ((decide().x - 8) % w + w + w / 2) % w - w / 2;  // signed, wrapping
  EXPECT_LT(offset, 4 - 6) << "the destroyer, its reach and all beyond are threatened";
}

// A loaded transport values a neutral city's coast far above plain land; an
// empty one makes for armies waiting on secure land before its cities.
TEST_F(ComputerPlayerTest, TransportsSeekCityCoastsAndWaitingArmies) {
  Build(Picture(40, 9).Paint(14, 4, 14, 4, '*').Paint(25, 3, 27, 5).rows);
  g.state.day = 40;
  g.landMasses[1].status = g.landMasses[2].status = LandMassStatus::Open;
  const int loaded = AddPiece(g, PieceType::Transport, kMe, 20, 4);
  AddPiece(g, PieceType::Army, kMe, 20, 4);
  EXPECT_LE(Distance(Decide(loaded), MapPos{14, 4}), 1) << "1000 x 8 / 7 beats 3 x 50 x 8 / 6";

  Build(Picture(30, 5).Paint(1, 2, 12, 2).rows);
  AddCity(g, kMe, 2, 2);
  RangesFromCity(2, 2);
  AddPiece(g, PieceType::Army, kMe, 12, 2);
  const int empty = AddPiece(g, PieceType::Transport, kMe, 3, 3);
  EXPECT_LE(Distance(Decide(empty), MapPos{12, 2}), 1) << "(200 - 9) x 8 / 10 beats (10 - 1) x 8 / 3";
}

TEST_F(ComputerPlayerTest, ParaLandsOnlyOverLandWorthTaking) {
  Build(Picture(8, 4).Paint(1, 1, 5, 2).Paint(5, 1, 5, 1, '*').rows);
  const int para = AddPiece(g, PieceType::Para, kMe, 2, 2);
  g.state.currentPiece = static_cast<int16_t>(para);
  g.landMasses[1].status = LandMassStatus::BeingTaken;
  EXPECT_EQ(LandParasIfUseful(g), 0);
  EXPECT_EQ(g.pieces[para].type, PieceType::Para);
  g.landMasses[1].status = LandMassStatus::Open;
  EXPECT_EQ(LandParasIfUseful(g), 1);
  EXPECT_THAT(g.pieces[para], HasFields({.type = PieceType::Army, .moves = 0}));
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::Army) << "the map shows the landed army";
}

TEST_F(ComputerPlayerTest, DamagedShipHeadsForPortAndRepairsThere) {
  Build(Picture(20, 4).Paint(2, 1, 3, 2).rows);
  AddCity(g, kMe, 3, 2);
  const int ship = AddPiece(g, PieceType::Destroyer, kMe, 12, 1);
  g.pieces[ship].strength = 59;
  const MapPos dest = Decide(ship);
  EXPECT_EQ(g.world.At(dest).terrain, Terrain::Sea);
  EXPECT_LE(Distance(dest, MapPos{3, 2}), 1);
  g.pieces[ship].x = 4, g.pieces[ship].y = 3, g.pieces[ship].strength = 84, g.pieces[ship].movesLeft = 6;
  Mark(6, 0, 9, 3, true, false);  // unseen water nearby weighs less than the repair
  EXPECT_THAT(Decided(ship), HasFields({.state = PieceState::Ready, .moves = 0, .dest = Cell{4, 3}}))
      << "stays in port";
  AddPiece(g, PieceType::Transport, kEnemy, 5, 3);
  EXPECT_EQ(Decide(ship), (MapPos{5, 3})) << "but strikes at a neighbour";
}

// Fighters below 70 strength wait at their own city to be repaired, striking
// only at what stands right beside them.
TEST_F(ComputerPlayerTest, DamagedFighterWaitsAtItsBaseUntilRepaired) {
  Build(Picture(20, 20).Paint(8, 8, 12, 12).rows);
  Forget(0, 0, 5, 19);  // worth scouting, were it fit to fly
  AddCity(g, kMe, 10, 10);
  const int fighter = AddPiece(g, PieceType::Fighter, kMe, 10, 10);
  g.pieces[fighter].strength = 69;
  EXPECT_THAT(Decided(fighter), HasFields({.moves = 0, .dest = Cell{10, 10}}));
  const int enemy = AddPiece(g, PieceType::Army, kEnemy, 11, 9);
  EXPECT_THAT(Decided(fighter), HasFields({.state = PieceState::Ready, .dest = Cell{11, 9}}));
  g.pieces[enemy].type = PieceType::None, RefreshCell(g, MapPos{11, 9});
  g.pieces[fighter].strength = 70;
  EXPECT_LT(Decide(fighter).x, 8) << "repaired, it flies off to scout";
}

// An enemy the piece can reach this turn counts twice; a fighter halves what
// it sees on a contested land mass (bombers excepted).
TEST_F(ComputerPlayerTest, TargetsWithinReachCountTwiceAndFightersShunContestedLand) {
  Build(Picture(30, 11).rows);
  const int destroyer = AddPiece(g, PieceType::Destroyer, kMe, 10, 5);
  AddPiece(g, PieceType::Transport, kEnemy, 16, 5);      // 100, 6 away: within its 6 moves
  AddPiece(g, PieceType::Submarine, kEnemy, 10 - 7, 5);  // 200, 7 away: beyond
  EXPECT_EQ(Decide(destroyer), (MapPos{16, 5})) << "2 x 100 x 8 / 8 beats 200 x 8 / 9";

  Build(Picture(30, 11).Paint(20, 2, 24, 8).rows);
  g.landMasses[1].status = LandMassStatus::Contested;
  const int fighter = AddPiece(g, PieceType::Fighter, kMe, 19, 5);
  AddPiece(g, PieceType::Army, kEnemy, 20, 5);     // 2 x 60 on contested land, halved
  AddPiece(g, PieceType::Carrier, kEnemy, 18, 5);  // 2 x 40 at sea
  EXPECT_EQ(Decide(fighter), (MapPos{18, 5}));
}

// Scores shrink with distance, x 8 / (ring + 2), but the piece's own cell
// counts like the ring around it: 5 unseen cells beside it beat its own 4.
TEST_F(ComputerPlayerTest, ThePiecesOwnCellIsDiscountedLikeItsNeighbours) {
  Build(Picture(40, 30).rows);
  Mark(18, 13, 18, 16, true, false);
  Mark(23, 13, 23, 17, true, false);
  const int ship = AddPiece(g, PieceType::Destroyer, kMe, 20, 15);
  EXPECT_EQ(Decide(ship), (MapPos{21, 15}));
}

// A land mass is secure until the player learns of something left to take
// there, being taken once its armies or cities stand on it, and contested as
// soon as it knows an enemy city or sees an enemy army on it.
TEST_F(ComputerPlayerTest, LandMassStatusFollowsWhatThePlayerKnows) {
  Build(Picture(12, 6).Paint(1, 1, 4, 4).Paint(7, 1, 10, 4).rows);
  AddCity(g, kMe, 2, 2);
  const auto status = [&](int mass) {
    UpdateLandMassStatus(g, kMe);
    return g.landMasses[mass].status;
  };
  EXPECT_EQ(status(1), LandMassStatus::Secure);
  Forget(4, 4, 4, 4);
  EXPECT_EQ(status(1), LandMassStatus::BeingTaken);
  EXPECT_EQ(status(2), LandMassStatus::Secure);
  Forget(8, 2, 8, 2);
  EXPECT_EQ(status(2), LandMassStatus::Open);
  const int army = AddPiece(g, PieceType::Army, kEnemy, 9, 3);
  EXPECT_EQ(status(2), LandMassStatus::Contested) << "an enemy army in sight";
  Mark(9, 3, 9, 3, true, false);
  EXPECT_EQ(status(2), LandMassStatus::Open) << "an enemy army out of sight";
  g.pieces[army].type = PieceType::City;
  EXPECT_EQ(status(2), LandMassStatus::Contested) << "a known enemy city, seen or not";
}

TEST_F(ComputerPlayerTest, FighterNeverAimsBeyondItsFuel) {
  Build(Picture(30, 30).Paint(15, 15, 15, 15).rows, false);
  Forget(0, 0, 29, 8);
  AddCity(g, kMe, 15, 15);
  RangesFromCity(15, 15);
  const int fighter = AddPiece(g, PieceType::Fighter, kMe, 15, 12);
  for (int fuel = 3; fuel <= 14; ++fuel)
    for (uint32_t seed = 1; seed <= 5; ++seed) {
      g.rng.SetState(seed);
      g.pieces[fighter].fuel = static_cast<int16_t>(fuel), g.pieces[fighter].movesLeft = 14;
      const MapPos dest = Decide(fighter);
      EXPECT_LE(g.world.At(dest).fighterRange, fuel - Distance(MapPos{15, 12}, dest)) << fuel << " " << seed;
    }
}

// A bomber's blast counts four times within this turn's moves; paras drop
// beside neutral cities on open land rather than on contested land.
TEST_F(ComputerPlayerTest, BombersStrikeWithinReachAndParasDropWhereCitiesAreOpen) {
  Build(Picture(40, 20).Paint(12, 10, 30, 10).rows);
  g.landMasses[1].status = LandMassStatus::Contested;
  const int bomber = AddPiece(g, PieceType::Bomber, kMe, 10, 10);
  AddPiece(g, PieceType::Army, kEnemy, 15, 10);  // 3 x 4 days, 5 away: within its 7 moves
  AddPiece(g, PieceType::Army, kEnemy, 19, 10);  // two in one blast, 9 away
  AddPiece(g, PieceType::Army, kEnemy, 20, 10);
  EXPECT_EQ(Decide(bomber), (MapPos{15, 10})) << "4 x 12 x 8 / 7 beats 24 x 8 / 11";

  Build(Picture(30, 30).Paint(5, 2, 5, 2).Paint(6, 2, 6, 2, '*').Paint(5, 8, 5, 8).Paint(6, 8, 6, 8, '*').rows);
  g.landMasses[1].status = LandMassStatus::Open;
  g.landMasses[2].status = LandMassStatus::Contested;
  EXPECT_EQ(Decide(AddPiece(g, PieceType::Para, kMe, 5, 5)), (MapPos{5, 2})) << "320 + 40 beats 160";
}

// Patrolling destroyers keep to the sea within the fighters' reach (range
// below 10); carriers move out to where the bombers' range (up to 12) is longest.
TEST_F(ComputerPlayerTest, ShipsKeepToTheSeaTheirAircraftReach) {
  Build(Picture(40, 30).Paint(20, 15, 20, 15).rows);
  AddCity(g, kMe, 20, 15);
  RangesFromCity(20, 15);
  const MapPos patrol = Decide(AddPiece(g, PieceType::Destroyer, kMe, 22, 15));
  EXPECT_LT(g.world.At(patrol).fighterRange, 10);
  const MapPos carrier = Decide(AddPiece(g, PieceType::Carrier, kMe, 30, 15));
  EXPECT_EQ(g.world.At(carrier).bomberRange, 11) << "55 x 8 / 3 beats 60 x 8 / 4";
}

TEST_F(ComputerPlayerTest, DangerOutweighsTheBestValue) {
  Build(Picture(30, 11).rows);
  Forget(3, 0, 10, 10);  // much to explore in the west
  const int sub = AddPiece(g, PieceType::Submarine, kMe, 15, 5);
  EXPECT_LT(Decide(sub).x, 15);
  AddPiece(g, PieceType::Destroyer, kEnemy, 13, 5);
  Mark(16, 3, 17, 7, true, false);  // unseen water just inside the destroyer's reach
  EXPECT_GT(Decide(sub).x, 13 + 4) << "the destroyer and 4 cells on our side are threatened";
}

}  // namespace
}  // namespace vortan
