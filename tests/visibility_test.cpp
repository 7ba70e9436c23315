#include <gtest/gtest.h>

#include "rules/movement.h"
#include "rules/visibility.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct DrawCounter : test::RecordingHooks {
  int draws = 0;
  void DrawCell(MapPos, bool) override { ++draws; }
};

struct VisibilityTest : ::testing::Test {
  Game g;
  DrawCounter hooks;
  void Build(const std::vector<std::string>& rows) {
    test::BuildWorld(g, rows);
    g.hooks = &hooks;
  }
  bool Sees(int x, int y, int player = 0) const { return g.world.At(x, y).visible & (1 << player); }
  bool Knows(int x, int y, int player = 0) const { return g.world.At(x, y).explored & (1 << player); }
  void SendFar(int piece) {
    g.pieces[piece].destX = 0;
    g.pieces[piece].destY = 0;
  }
  bool Stopped(int piece) const {
    const PieceRecord& p = g.pieces[piece];
    return p.Dest() == p.Pos() && p.state == PieceState::Ready;
  }
};

TEST_F(VisibilityTest, GroundPiecesSeeFarOnlyAcrossWater) {
  Build({"+++++++++", "+++.+++++", "+++++++++", "+++++++++", "+++++++++"});
  const int army = AddPiece(g, PieceType::Army, 0, 2, 2);
  UpdateSight(g, army, g.pieces[army].Pos(), false);
  EXPECT_TRUE(Sees(3, 2));
  EXPECT_FALSE(Sees(4, 2)) << "land to the east hides what lies beyond";
  EXPECT_FALSE(Knows(4, 2));
  EXPECT_TRUE(Sees(4, 0)) << "the north-east neighbour is sea";
  EXPECT_TRUE(Sees(3, 0));
  EXPECT_FALSE(Sees(0, 0));
  EXPECT_TRUE(Sees(2, 2));

  const int fighter = AddPiece(g, PieceType::Fighter, 0, 2, 2);
  UpdateSight(g, fighter, g.pieces[fighter].Pos(), false);
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 5; ++y) EXPECT_EQ(Sees(x, y), x != 6 && x != 7) << x << "," << y;
}

TEST_F(VisibilityTest, SubmarinesShowOnlyFromNextDoor) {
  Build({".......", ".......", "......."});
  const int destroyer = AddPiece(g, PieceType::Destroyer, 0, 1, 1);
  AddPiece(g, PieceType::Submarine, 1, 3, 1);
  AddPiece(g, PieceType::Submarine, 0, 1, 0);
  SendFar(destroyer);
  UpdateSight(g, destroyer, g.pieces[destroyer].Pos(), false);
  EXPECT_TRUE(Knows(3, 1));
  EXPECT_FALSE(Sees(3, 1));
  EXPECT_TRUE(Sees(1, 0)) << "an own submarine is no secret";
  EXPECT_FALSE(Stopped(destroyer));

  PerformStep(g, destroyer, 2, 1);
  EXPECT_TRUE(Sees(3, 1));
  EXPECT_TRUE(Stopped(destroyer));
}

TEST_F(VisibilityTest, SightingsEndGoToOrders) {
  Build({"........", "........", "...+....", "........", "+*......"});
  const int transport = AddPiece(g, PieceType::Transport, 0, 5, 2);
  SendFar(transport);
  PerformStep(g, transport, 5, 1);
  EXPECT_FALSE(Stopped(transport));
  PerformStep(g, transport, 4, 1);
  EXPECT_TRUE(Stopped(transport)) << "land came into sight";

  const int army = AddPiece(g, PieceType::Army, 0, 0, 4);
  g.pieces[army].state = PieceState::Returning;
  SendFar(army);
  UpdateSight(g, army, g.pieces[army].Pos(), false);
  EXPECT_TRUE(Stopped(army)) << "a neutral city stops even a returning army";
}

TEST_F(VisibilityTest, EnemiesStopAllButReturningPieces) {
  Build({"++++++", "++++++", "++++++"});
  AddPiece(g, PieceType::Army, 1, 3, 1);
  AddCity(g, 1, 0, 1);
  const int returning = AddPiece(g, PieceType::Army, 0, 2, 1);
  g.pieces[returning].state = PieceState::Returning;
  SendFar(returning);
  UpdateSight(g, returning, g.pieces[returning].Pos(), false);
  EXPECT_EQ(g.pieces[returning].state, PieceState::Returning);

  const int asleep = AddCity(g, 0, 4, 1);
  g.pieces[asleep].state = PieceState::Asleep;
  for (MapCell& c : g.world.cells) c.visible = 0;  // as at the end of a turn
  UpdateSight(g, asleep, g.pieces[asleep].Pos(), false);
  EXPECT_EQ(g.pieces[asleep].state, PieceState::Ready) << "the end-of-turn look-round wakes it too";

  const int quiet = AddCity(g, 0, 1, 1);  // beside the enemy city only
  g.pieces[quiet].state = PieceState::Asleep;
  UpdateSight(g, quiet, g.pieces[quiet].Pos(), false);
  EXPECT_EQ(g.pieces[quiet].state, PieceState::Asleep) << "an enemy city is no alarm";
}

TEST_F(VisibilityTest, OnlyNewsIsRedrawnAndInADemoOthersKnowledgeIsNoNews) {
  Build({"++++++", "++++++", "++++++"});
  const int army = AddPiece(g, PieceType::Army, 0, 1, 1);
  UpdateSight(g, army, g.pieces[army].Pos(), true);
  EXPECT_EQ(hooks.draws, 9);
  hooks.draws = 0;
  UpdateSight(g, army, g.pieces[army].Pos(), true);
  EXPECT_EQ(hooks.draws, 1) << "only its own cell";

  g.state.demoMode = 1;
  g.state.currentPlayer = 1;
  AddPiece(g, PieceType::Army, 0, 1, 0);
  const int seer = AddPiece(g, PieceType::Army, 1, 2, 1);
  SendFar(seer);
  hooks.draws = 0;
  UpdateSight(g, seer, g.pieces[seer].Pos(), true);
  EXPECT_EQ(hooks.draws, 4) << "its own cell and the three cells nobody had seen";
  EXPECT_TRUE(Sees(1, 1, 1));
  EXPECT_FALSE(Stopped(seer)) << "the enemy stood on a cell player 0 had explored";
}

TEST_F(VisibilityTest, AnEmptySlotComplainsAndSeesOnlyItsCell) {
  Build({"+++++", "+++++", "+++++"});
  g.pieces[7].x = 2;
  g.pieces[7].y = 1;
  UpdateSight(g, 7, MapPos{2, 1}, false);
  ASSERT_EQ(hooks.calls.size(), 1u);
  EXPECT_EQ(hooks.calls[0], "Message Oops!: Attempting to see with an unused piece");
  EXPECT_TRUE(Sees(2, 1));
  EXPECT_FALSE(Sees(1, 1));
}

}  // namespace
}  // namespace vortan
