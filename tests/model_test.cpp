// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "model/game.h"
#include "model/piece_types.h"
#include "support/named_values.h"

namespace vortan {
namespace {

using ::testing::ElementsAre;

TEST(Random, KnownSequenceFromSeed) {
  Random r(1);
  for (int want : {41, 18467, 6334, 26500}) EXPECT_EQ(r.Next(), want);
}

struct ModelTest : ::testing::Test {
  Game g;
  void SetUp() override { ResetToProgramStart(g), g.settings.width = g.settings.height = 50; }
  void Put(int slot, uint8_t type, uint8_t owner, uint8_t x, uint8_t y) { g.pieces[slot] = {type, owner, 0, 0, x, y}; }
};

TEST_F(ModelTest, WrapsAtEveryEdge) {
  const GameSettings& s = g.settings;
  EXPECT_THAT(NAMED(WrapX(s, 50), WrapY(s, -1), WrapX(s, -71)), ElementsAre(0, 49, 29));
  EXPECT_EQ(WrapDistance(g.settings, 0, 0, 49, 49), 1);
  EXPECT_EQ(WrapDistance(g.settings, 0, 0, 25, 0), 25);
  EXPECT_EQ(WrapDistance(g.settings, 3, 4, 8, 6), 5);
  g.settings.width = 51;
  EXPECT_EQ(WrapDistance(g.settings, 0, 0, 26, 0), 25) << "on an odd width: 26 east is 25 west";
}

// A city always shows, a submarine only alone, a transport hides its cargo,
// else the highest slot wins.
TEST_F(ModelTest, TopPiecePrecedence) {
  Put(5, PieceType::Army, 0, 1, 1), Put(6, PieceType::City, 0, 1, 1), Put(7, PieceType::Fighter, 0, 1, 1);
  Put(1, PieceType::Army, 1, 2, 2), Put(2, PieceType::Transport, 1, 2, 2), Put(3, PieceType::Army, 1, 2, 2);
  Put(8, PieceType::Submarine, 2, 3, 3);
  Put(9, PieceType::Submarine, 3, 4, 4), Put(4, PieceType::Destroyer, 3, 4, 4);
  RefreshAllCells(g);
  const auto tops = [&] {
    std::vector<int> t;
    for (int i = 0; i <= 4; ++i) t.push_back(g.world.At(i, i).topType);
    return t;
  };
  EXPECT_EQ(tops(), (std::vector<int>{PieceType::None, PieceType::City, PieceType::Transport, PieceType::Submarine,
                                      PieceType::Destroyer}));

  g.pieces[4].type = PieceType::None;
  RefreshCell(g, MapPos{4, 4});
  EXPECT_THAT(NAMED(+g.world.At(4, 4).topType, +g.world.At(4, 4).topOwner), ElementsAre(+PieceType::Submarine, 3));
}

// The cell index lists a cell's pieces in table order, follows pieces the
// rules re-index, and catches up on a cell only where RefreshCell is called.
TEST_F(ModelTest, CellIndexFollowsMovesAndRefreshes) {
  using Slots = std::vector<int>;
  Put(7, PieceType::Army, 0, 1, 1), Put(2, PieceType::Transport, 0, 1, 1), Put(5, PieceType::Army, 0, 1, 1);
  RefreshAllCells(g);
  const auto at = [&](int x, int y) {
    Slots slots;
    g.occupancy.ForEachAt(g.pieces, x, y, [&](int i, const PieceRecord&) { slots.push_back(i); });
    return slots;
  };
  EXPECT_EQ(at(1, 1), (Slots{2, 5, 7})) << "a cell's pieces in table order";
  g.pieces[2].x = g.pieces[5].x = 2;  // the transport sails east with one army aboard
  IndexSlot(g, 2), IndexSlot(g, 5);
  RefreshCells(g, MapPos{1, 1}, MapPos{2, 1});
  EXPECT_EQ(at(1, 1), (Slots{7})) << "the army left behind";
  EXPECT_EQ(at(2, 1), (Slots{2, 5})) << "the transport and its cargo";
  EXPECT_THAT(NAMED(+g.world.At(1, 1).topType, +g.world.At(2, 1).topType),
              ElementsAre(+PieceType::Army, +PieceType::Transport));
  // Put down by hand: gone from its old cell at once, found on the new one after RefreshCell.
  g.pieces[7].x = g.pieces[7].y = 4;
  Put(3, PieceType::Submarine, 1, 4, 4);
  EXPECT_EQ(at(1, 1), Slots{}) << "a piece moved away by hand still listed where it was";
  EXPECT_EQ(at(4, 4), Slots{}) << "the index found pieces nobody filed";
  RefreshCell(g, MapPos{4, 4});
  EXPECT_EQ(at(4, 4), (Slots{3, 7})) << "RefreshCell did not file the pieces standing on the cell";
  EXPECT_THAT(NAMED(+g.world.At(4, 4).topType, g.occupancy.ListedInOrder(3), g.occupancy.ListedInOrder(7)),
              ElementsAre(+PieceType::Army, 1, 1));
  g.pieces[3].type = PieceType::None;  // sunk
  RefreshCell(g, MapPos{4, 4});
  EXPECT_EQ(at(4, 4), (Slots{7}));
  EXPECT_EQ(g.occupancy.FiledCell(3), CellOccupancy::kNowhere)
      << "an empty slot still filed after its cell was refreshed";
}

TEST_F(ModelTest, FreeSlotIsLowestAndFullTableHasNone) {
  g.pieces[0].type = g.pieces[2].type = PieceType::Army;
  EXPECT_EQ(FindFreeSlot(g.pieces), 1);
  for (auto& r : g.pieces.slots) r.type = PieceType::Army;
  EXPECT_EQ(FindFreeSlot(g.pieces), -1);
}

TEST(PieceTypes, DamagedShipsSlowDown) {
  const int kCases[][3] = {{6, 24, 3}, {6, 25, 4}, {6, 50, 6}, {4, 40, 3}, {6, 20, 3}};  // moves, strength, result
  for (auto [moves, strength, want] : kCases) EXPECT_EQ(ShipMovesForStrength(moves, strength), want) << strength;
}

}  // namespace
}  // namespace vortan
