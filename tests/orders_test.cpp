#include "rules/orders.h"

#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct OrdersTest : test::WorldTest<> {
  void SetUp() override { Build({"++++++..", "++++++..", "++++++..", "++++++.."}); }
  int Awaiting(int type, int x, int y) {
    const int piece = AddPiece(g, type, 0, x, y);
    g.pieces[piece].state = PieceState::AwaitingOrders;
    g.state.currentPiece = static_cast<int16_t>(piece);
    return piece;
  }
};

TEST_F(OrdersTest, OnlyAParaOverOpenLandCanBeDropped) {
  const int para = Awaiting(PieceType::Para, 2, 1);
  EXPECT_TRUE(OrderDrop(g));
  EXPECT_EQ(P(para).type, PieceType::Army);
  EXPECT_EQ(P(para).state, PieceState::Ready);
  EXPECT_EQ(P(para).movesLeft, 0);
  EXPECT_EQ(g.world.At(2, 1).topType, PieceType::Army);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"Sound 5"});

  hooks.calls.clear();
  const int overSea = Awaiting(PieceType::Para, 6, 1);
  EXPECT_FALSE(OrderDrop(g));
  Awaiting(PieceType::Army, 3, 3);
  EXPECT_FALSE(OrderDrop(g));
  EXPECT_EQ(P(overSea).type, PieceType::Para);
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"Message Illegal Move: Paras must be dropped on open land",
                                                   "Message Illegal Move: Only paras can be dropped"}));
}

TEST_F(OrdersTest, AircraftAwayFromABaseGoHomeInsteadOfSleepingOrFinishing) {
  AddCity(g, 0, 1, 1);
  AddPiece(g, PieceType::Carrier, 0, 7, 2);
  RecomputeRefuelMaps(g);

  const int bomberOut = Awaiting(PieceType::Bomber, 3, 1);
  EXPECT_TRUE(OrderSleep(g));
  EXPECT_EQ(P(bomberOut).state, PieceState::Returning);
  const int bomberHome = Awaiting(PieceType::Bomber, 1, 1);
  EXPECT_TRUE(OrderSleep(g));
  EXPECT_EQ(P(bomberHome).state, PieceState::Asleep);
  const int fighterOut = Awaiting(PieceType::Fighter, 6, 2);
  EXPECT_TRUE(OrderFinished(g));
  EXPECT_EQ(P(fighterOut).state, PieceState::Returning);
  EXPECT_NE(P(fighterOut).movesLeft, 0);
  const int onDeck = Awaiting(PieceType::Fighter, 7, 2);
  EXPECT_TRUE(OrderFinished(g));
  EXPECT_EQ(P(onDeck).state, PieceState::Ready);
  EXPECT_EQ(P(onDeck).movesLeft, 0);
}

TEST_F(OrdersTest, OrderKeysNeedAHumansPieceAwaitingOrders) {
  const int army = Awaiting(PieceType::Army, 2, 2);
  P(army).state = PieceState::Ready;
  EXPECT_FALSE(OrderSleep(g));
  EXPECT_FALSE(OrderReturn(g));
  P(army).state = PieceState::AwaitingOrders;
  g.settings.kind[0] = PlayerKind::Computer;
  EXPECT_FALSE(OrderFinished(g));
  EXPECT_FALSE(OrderDrop(g));
  EXPECT_FALSE(OrderGoTo(g, MapPos{4, 2}));
  EXPECT_EQ(P(army).state, PieceState::AwaitingOrders);
  EXPECT_TRUE(hooks.calls.empty());

  g.settings.kind[0] = PlayerKind::Human;
  EXPECT_FALSE(OrderGoTo(g, MapPos{2, 2}));
  EXPECT_TRUE(OrderGoTo(g, MapPos{4, 3}));
  EXPECT_EQ(P(army).Dest(), (MapPos{4, 3}));
  EXPECT_EQ(P(army).state, PieceState::Ready);
}

TEST_F(OrdersTest, EndTurnTakesEveryMoveButSendsFlyingAircraftHome) {
  const int flying = AddPiece(g, PieceType::Fighter, 0, 3, 0);
  const int spent = AddPiece(g, PieceType::Fighter, 0, 3, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 3, 2);
  const int enemy = AddPiece(g, PieceType::Army, 1, 0, 3);
  P(spent).movesLeft = 0;
  OrderEndTurn(g);
  EXPECT_EQ(g.app.endTurnRequested, 1);
  EXPECT_EQ(P(flying).state, PieceState::Returning);
  EXPECT_EQ(P(flying).movesLeft, g.settings.moves[PieceType::Fighter]);
  EXPECT_EQ(P(spent).state, PieceState::Ready);
  EXPECT_EQ(P(army).movesLeft, 0);
  EXPECT_EQ(P(enemy).movesLeft, g.settings.moves[PieceType::Army]);
}

TEST_F(OrdersTest, SurrenderLeavesNeutralCitySitesAndAnExplosionPerPiece) {
  g.settings.kind[2] = PlayerKind::Computer;
  const int city = AddCity(g, 0, 1, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 3, 2);
  const int enemy = AddCity(g, 1, 4, 3);
  AddCity(g, 2, 0, 3);
  OrderSurrender(g);
  EXPECT_TRUE(P(city).IsEmpty());
  EXPECT_TRUE(P(army).IsEmpty());
  EXPECT_FALSE(P(enemy).IsEmpty());
  EXPECT_EQ(g.world.At(1, 1).terrain, Terrain::City);
  EXPECT_EQ(g.world.At(1, 1).topType, PieceType::None);
  EXPECT_EQ(g.world.At(3, 2).terrain, Terrain::Land);
  ASSERT_GE(hooks.calls.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(hooks.calls.begin(), hooks.calls.begin() + 4),
            (std::vector<std::string>{"Explosion 1,1 255/255/0 r1", "Sound 1", "Explosion 3,2 255/255/0 r1", "Sound 1"}));
  EXPECT_EQ(g.state.eliminated[0], 1);
}

TEST_F(OrdersTest, WakingACellSparesReturningAircraftAndPicksAPieceThere) {
  const int current = Awaiting(PieceType::Army, 0, 0);
  AddCity(g, 0, 3, 2);
  const int asleep = AddPiece(g, PieceType::Army, 0, 3, 2);
  const int returning = AddPiece(g, PieceType::Fighter, 0, 3, 2);
  P(asleep).state = PieceState::Asleep;
  P(returning).state = PieceState::Returning;
  WakeCell(g, MapPos{3, 2});
  EXPECT_EQ(P(asleep).state, PieceState::Ready);
  EXPECT_EQ(P(returning).state, PieceState::Returning);
  EXPECT_EQ(g.state.currentPiece, asleep);
  EXPECT_EQ(P(current).state, PieceState::Ready);
  EXPECT_EQ(g.lastSelectedPos, (MapPos{3, 2}));
}

}  // namespace
}  // namespace vortan
