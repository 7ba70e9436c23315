// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/orders.h"

#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct OrdersTest : WorldTest<> {
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
  EXPECT_THAT(P(para), HasFields({.type = PieceType::Army, .state = PieceState::Ready, .moves = 0}));
  EXPECT_EQ(g.world.At(2, 1).topType, PieceType::Army);
  const int overSea = Awaiting(PieceType::Para, 6, 1);
  EXPECT_FALSE(OrderDrop(g));
  Awaiting(PieceType::Army, 3, 3);
  EXPECT_FALSE(OrderDrop(g));
  EXPECT_EQ(P(overSea).type, PieceType::Para);
  EXPECT_EQ(hooks.calls,
            (std::vector<std::string>{"Sound 5", "Message Illegal Move: Paras must be dropped on open land",
                                      "Message Illegal Move: Only paras can be dropped"}));
}

TEST_F(OrdersTest, AircraftAwayFromABaseGoHomeInsteadOfSleepingOrFinishing) {
  AddCity(g, 0, 1, 1);
  AddPiece(g, PieceType::Carrier, 0, 7, 2);
  RecomputeRefuelMaps(g);
  struct Case {
    int type, x, y;
    bool (*order)(Game&);
    int state;
    bool keepsMoves;
  } const cases[] = {
      {PieceType::Bomber, 3, 1, OrderSleep, PieceState::Returning, true},
      {PieceType::Bomber, 1, 1, OrderSleep, PieceState::Asleep, true},
      {PieceType::Fighter, 6, 2, OrderFinished, PieceState::Returning, true},
      {PieceType::Fighter, 7, 2, OrderFinished, PieceState::Ready, false},  // on the carrier's deck
  };
  for (const Case& c : cases) {
    const int piece = Awaiting(c.type, c.x, c.y);
    EXPECT_TRUE(c.order(g));
    EXPECT_THAT(NAMED(P(piece).state, P(piece).movesLeft != 0), ElementsAre(c.state, c.keepsMoves))
        << c.x << "," << c.y;
  }
}

TEST_F(OrdersTest, OrderKeysNeedAHumansPieceAwaitingOrders) {
  const int army = Awaiting(PieceType::Army, 2, 2);
  P(army).state = PieceState::Ready;
  Ints refused = {OrderSleep(g), OrderReturn(g)};
  P(army).state = PieceState::AwaitingOrders;
  g.settings.kind[0] = PlayerKind::Computer;
  refused.insert(refused.end(), {OrderFinished(g), OrderDrop(g), OrderGoTo(g, MapPos{4, 2})});
  g.settings.kind[0] = PlayerKind::Human;
  refused.push_back(OrderGoTo(g, MapPos{2, 2}));  // its own cell
  EXPECT_EQ(refused, (Ints{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(P(army).state, PieceState::AwaitingOrders);
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_TRUE(OrderGoTo(g, MapPos{4, 3}));
  EXPECT_THAT(P(army), HasFields({.state = PieceState::Ready, .dest = Cell{4, 3}}));
}

TEST_F(OrdersTest, EndTurnTakesEveryMoveButSendsFlyingAircraftHome) {
  const int flying = AddPiece(g, PieceType::Fighter, 0, 3, 0);
  const int spent = AddPiece(g, PieceType::Fighter, 0, 3, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 3, 2);
  const int enemy = AddPiece(g, PieceType::Army, 1, 0, 3);
  P(spent).movesLeft = 0;
  OrderEndTurn(g);
  EXPECT_EQ(g.app.endTurnRequested, 1);
  EXPECT_THAT(P(flying), HasFields({.state = PieceState::Returning, .moves = g.settings.moves[PieceType::Fighter]}));
  EXPECT_THAT(NAMED(P(spent).state, P(army).movesLeft, P(enemy).movesLeft),
              ElementsAre(PieceState::Ready, 0, g.settings.moves[PieceType::Army]));
}

TEST_F(OrdersTest, SurrenderLeavesNeutralCitySitesAndAnExplosionPerPiece) {
  g.settings.kind[2] = PlayerKind::Computer;
  const int city = AddCity(g, 0, 1, 1);
  const int army = AddPiece(g, PieceType::Army, 0, 3, 2);
  const int enemy = AddCity(g, 1, 4, 3);
  AddCity(g, 2, 0, 3);
  OrderSurrender(g);
  EXPECT_THAT(NAMED(Alive(city), Alive(army), Alive(enemy), g.state.eliminated[0]), ElementsAre(0, 0, 1, 1));
  EXPECT_THAT(NAMED(g.world.At(1, 1).terrain, g.world.At(1, 1).topType, g.world.At(3, 2).terrain),
              ElementsAre(Terrain::City, PieceType::None, Terrain::Land));
  EXPECT_EQ(CountStartingWith(hooks.calls, "Explosion"), 2);
}

}  // namespace
}  // namespace vortan::test
