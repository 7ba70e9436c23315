#include <gtest/gtest.h>

#include "model/game.h"
#include "model/piece_types.h"

namespace vortan {
namespace {

TEST(Random, KnownSequenceFromSeed) {
  Random r(1);
  // state 1 -> 1*214013+2531011 = 2745024 -> >>16 = 41
  EXPECT_EQ(r.Next(), 41);
  EXPECT_EQ(r.Next(), 18467);
  EXPECT_EQ(r.Next(), 6334);
  EXPECT_EQ(r.Next(), 26500);
}

struct ModelTest : ::testing::Test {
  Game g;
  void SetUp() override {
    ResetToProgramStart(g);
    g.settings.width = 50;
    g.settings.height = 50;
  }
};

TEST_F(ModelTest, WrapsAtEveryEdge) {
  EXPECT_EQ(WrapX(g.settings, 50), 0);
  EXPECT_EQ(WrapY(g.settings, -1), 49);
  EXPECT_EQ(WrapX(g.settings, -71), 29);  // offsets larger than the world still wrap
  EXPECT_EQ(WrapDistance(g.settings, 0, 0, 49, 49), 1);
  EXPECT_EQ(WrapDistance(g.settings, 0, 0, 25, 0), 25);
  EXPECT_EQ(WrapDistance(g.settings, 3, 4, 8, 6), 5);
}

TEST_F(ModelTest, TopPiecePrecedence) {
  auto put = [&](int slot, int type, int owner, int x, int y) {
    g.pieces[slot] = PieceRecord{};
    g.pieces[slot].type = static_cast<uint8_t>(type);
    g.pieces[slot].owner = static_cast<uint8_t>(owner);
    g.pieces[slot].x = static_cast<uint8_t>(x);
    g.pieces[slot].y = static_cast<uint8_t>(y);
  };
  put(5, PieceType::Army, 0, 1, 1);
  put(6, PieceType::City, 0, 1, 1);
  put(7, PieceType::Fighter, 0, 1, 1);
  put(1, PieceType::Army, 1, 2, 2);
  put(2, PieceType::Transport, 1, 2, 2);
  put(3, PieceType::Army, 1, 2, 2);
  put(8, PieceType::Submarine, 2, 3, 3);
  put(9, PieceType::Submarine, 3, 4, 4);
  put(4, PieceType::Destroyer, 3, 4, 4);
  RefreshAllCells(g);
  EXPECT_EQ(g.world.At(1, 1).topType, PieceType::City);
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::Transport);
  EXPECT_EQ(g.world.At(3, 3).topType, PieceType::Submarine);
  EXPECT_EQ(g.world.At(4, 4).topType, PieceType::Destroyer);
  EXPECT_EQ(g.world.At(0, 0).topType, PieceType::None);

  g.pieces[4].type = PieceType::None;
  RefreshCell(g, MapPos{4, 4});
  EXPECT_EQ(g.world.At(4, 4).topType, PieceType::Submarine);
  EXPECT_EQ(g.world.At(4, 4).topOwner, 3);
}

TEST_F(ModelTest, FreeSlotIsLowestAndFullTableHasNone) {
  g.pieces[0].type = PieceType::Army;
  g.pieces[2].type = PieceType::Army;
  EXPECT_EQ(FindFreeSlot(g.pieces), 1);
  for (auto& r : g.pieces.slots) r.type = PieceType::Army;
  EXPECT_EQ(FindFreeSlot(g.pieces), -1);
}

TEST(PieceTypes, DamagedShipsSlowDown) {
  EXPECT_EQ(ShipMovesForStrength(6, 24), 3);
  EXPECT_EQ(ShipMovesForStrength(6, 25), 4);
  EXPECT_EQ(ShipMovesForStrength(6, 50), 6);
  EXPECT_EQ(ShipMovesForStrength(4, 40), 3);
  EXPECT_EQ(ShipMovesForStrength(6, 20), 3);
}

}  // namespace
}  // namespace vortan
