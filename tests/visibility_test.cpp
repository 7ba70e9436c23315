// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/visibility.h"

#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct VisibilityTest : WorldTest<> {
  bool Sees(int x, int y, int player = 0) const { return g.world.At(x, y).visible & (1 << player); }
  bool Knows(int x, int y) const { return g.world.At(x, y).explored & 1; }
  void Look(int piece) { UpdateSight(g, piece, P(piece).Pos(), false); }
  // Gives the piece a far destination; a sighting ends it.
  int Going(int piece, int state = PieceState::Ready) {
    SendTo(piece, 0, 0);
    P(piece).state = static_cast<uint8_t>(state);
    return piece;
  }
  bool Stopped(int piece) { return P(piece).Dest() == P(piece).Pos(); }
};

TEST_F(VisibilityTest, GroundPiecesSeeFarOnlyAcrossWater) {
  Build({"+++++++++", "+++.+++++", "+++++++++", "+++++++++", "+++++++++"});
  Look(AddPiece(g, PieceType::Army, 0, 2, 2));
  for (auto [x, y, seen] : {std::tuple{3, 2, true},
                            {2, 2, true},
                            {4, 2, false},
                            {4, 0, true},
                            {3, 0, true},
                            {0, 0, false}})  // (4, 0) and (3, 0) lie past the sea at (3, 1)
    EXPECT_THAT(NAMED(Sees(x, y), Knows(x, y)), ElementsAre(seen, seen)) << x << "," << y;
  Look(AddPiece(g, PieceType::Fighter, 0, 2, 2));
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 5; ++y) EXPECT_EQ(Sees(x, y), x != 6 && x != 7) << x << "," << y;
}

TEST_F(VisibilityTest, SubmarinesShowOnlyFromNextDoor) {
  Build({".......", ".......", "......."});
  const int destroyer = Going(AddPiece(g, PieceType::Destroyer, 0, 1, 1));
  AddPiece(g, PieceType::Submarine, 1, 3, 1);
  AddPiece(g, PieceType::Submarine, 0, 1, 0);  // an own submarine is no secret
  Look(destroyer);
  EXPECT_THAT(NAMED(Knows(3, 1), Sees(3, 1), Sees(1, 0), Stopped(destroyer)), ElementsAre(1, 0, 1, 0));
  PerformStep(g, destroyer, 2, 1);
  EXPECT_THAT(NAMED(Sees(3, 1), Stopped(destroyer)), ElementsAre(1, 1));
  EXPECT_EQ(P(destroyer).state, PieceState::Ready);
}

TEST_F(VisibilityTest, SightingsEndGoToOrders) {
  Build({"........", "........", "...+....", "........", "+*......"});
  const int transport = Going(AddPiece(g, PieceType::Transport, 0, 5, 2));
  PerformStep(g, transport, 5, 1);
  EXPECT_FALSE(Stopped(transport));
  PerformStep(g, transport, 4, 1);
  EXPECT_TRUE(Stopped(transport)) << "land came into sight";
  const int army = Going(AddPiece(g, PieceType::Army, 0, 0, 4), PieceState::Returning);
  Look(army);
  EXPECT_THAT(P(army), HasFields({.state = PieceState::Ready, .dest = Cell{0, 4}}))
      << "a neutral city stops even a returning army";
  Build({"++++++", "++++++", "++++++"});
  AddPiece(g, PieceType::Army, 1, 3, 1);
  AddCity(g, 1, 0, 1);
  const int returning = Going(AddPiece(g, PieceType::Army, 0, 2, 1), PieceState::Returning);
  Look(returning);
  EXPECT_EQ(P(returning).state, PieceState::Returning) << "an enemy does not stop a returning piece";
  const int asleep = AddCity(g, 0, 4, 1);
  P(asleep).state = PieceState::Asleep;
  for (MapCell& c : g.world.cells) c.visible = 0;  // as at the end of a turn
  Look(asleep);
  EXPECT_EQ(P(asleep).state, PieceState::Ready) << "the end-of-turn look-round wakes it too";
  const int quiet = AddCity(g, 0, 1, 1);  // beside the enemy city only
  P(quiet).state = PieceState::Asleep;
  Look(quiet);
  EXPECT_EQ(P(quiet).state, PieceState::Asleep) << "an enemy city is no alarm";
}

}  // namespace
}  // namespace vortan::test
