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
  EXPECT_LE(Distance(decide(), MapPos{3, 1}), 1);
  Forget(16, 2, 16, 3);  // the far island still has unexplored land
  EXPECT_LE(Distance(decide(), MapPos{14, 2}), 1) << "beside the open island";
  AddPiece(g, PieceType::Destroyer, kEnemy, 12, 3);
  const int w = g.Width(), offset = ((decide().x - 8) % w + w + w / 2) % w - w / 2;  // signed, wrapping
  EXPECT_LT(offset, 4 - 6) << "the destroyer, its reach and all beyond are threatened";
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
  EXPECT_THAT(Decided(ship), HasFields({.state = PieceState::Ready, .moves = 0, .dest = Cell{4, 3}})) << "stays in port";
  AddPiece(g, PieceType::Transport, kEnemy, 5, 3);
  EXPECT_EQ(Decide(ship), (MapPos{5, 3})) << "but strikes at a neighbour";
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

TEST_F(ComputerPlayerTest, DangerOutweighsTheBestValue) {
  Build(Picture(30, 11).rows);
  Forget(3, 0, 10, 10);  // much to explore in the west
  const int sub = AddPiece(g, PieceType::Submarine, kMe, 15, 5);
  EXPECT_LT(Decide(sub).x, 15);
  AddPiece(g, PieceType::Destroyer, kEnemy, 13, 5);
  EXPECT_GT(Decide(sub).x, 13 + 4) << "the destroyer and 4 cells on our side are threatened";
}

}  // namespace
}  // namespace vortan
