// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/combat.h"

#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

struct CombatTest : WorldTest<> {
  void Build(const std::vector<std::string>& rows) {
    WorldTest::Build(rows);
    AddCity(g, 1, g.Width() - 1, g.Height() - 1);  // keeps player 1 in the game
  }
  void Attack(int attacker, int x, int y) { PerformStep(g, attacker, x, y); }
};

TEST_F(CombatTest, ArmyAgainstArmyDealsTenToTwentyNineAndNeverStrikesBack) {
  Build({"++++++", "++++++", "++++++"});
  for (uint32_t seed : {1u, 77u, 4242u, 99999u}) {
    g.rng.SetState(seed);
    const int attacker = AddPiece(g, PieceType::Army, 0, 1, 1);
    const int defender = AddPiece(g, PieceType::Army, 1, 2, 1);
    P(defender).destX = 4;
    Random copy(g.rng.State());
    const int damage = copy.Mod(20) + 10;
    Attack(attacker, 2, 1);
    EXPECT_THAT(P(defender), HasFields({.strength = 100 - damage, .dest = Cell{2, 1}}));
    // An attacker never moves in, and every attack costs fuel, whatever the type.
    EXPECT_THAT(P(attacker), HasFields({.moves = 0, .strength = 100, .fuel = -1, .pos = Cell{1, 1}}));
    P(attacker).type = P(defender).type = PieceType::None;
  }
}

TEST_F(CombatTest, SunkCarriersTakeTheirWholeCargoDown) {
  Build({"........", "........", "........"});
  const int transport = AddPiece(g, PieceType::Transport, 1, 3, 1);
  const int armies[] = {AddPiece(g, PieceType::Army, 1, 3, 1), AddPiece(g, PieceType::Army, 1, 3, 1)};
  const int destroyer = AddPiece(g, PieceType::Destroyer, 0, 2, 1);
  Attack(destroyer, 3, 1);
  EXPECT_THAT(NAMED(Alive(transport), Alive(armies[0]), Alive(armies[1]), P(destroyer).facing),
              ElementsAre(0, 0, 0, 0));
  const int carrier = AddPiece(g, PieceType::Carrier, 1, 5, 1);
  const int fighter = AddPiece(g, PieceType::Fighter, 1, 5, 1);  // goes down with its deck, unstruck
  P(carrier).strength = 10;
  const int sub = AddPiece(g, PieceType::Submarine, 0, 6, 1);
  Attack(sub, 5, 1);
  EXPECT_THAT(NAMED(Alive(carrier), Alive(fighter), P(sub).facing), ElementsAre(0, 0, 1));
}

TEST_F(CombatTest, ShipsCaughtInACityDieWithoutADraw) {
  Build({"......", ".++...", "......"});
  AddCity(g, 1, 2, 1);
  const int ship = AddPiece(g, PieceType::Destroyer, 1, 2, 1);
  const int army = AddPiece(g, PieceType::Army, 1, 2, 1);
  const int fighter = AddPiece(g, PieceType::Fighter, 0, 3, 1);
  Random expected(g.rng.State());
  const int damage = expected.Mod(20) + 10;  // only the army costs a draw
  Attack(fighter, 2, 1);
  EXPECT_FALSE(Alive(ship));
  EXPECT_EQ(P(army).strength, 100 - damage);
  EXPECT_EQ(g.rng.State(), expected.State());
  EXPECT_THAT(P(fighter), HasFields({.state = PieceState::Returning, .fuel = g.settings.fuel[PieceType::Fighter] - 1}));
  EXPECT_EQ(g.world.At(2, 1).topOwner, 1);
}

TEST_F(CombatTest, BomberBlastSparesNothingWithinTwoCells) {
  Build(std::vector<std::string>(6, "+++++++++"));
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 3, 2);
  const int ownCity = AddCity(g, 0, 2, 2);
  const int ownNear = AddPiece(g, PieceType::Army, 0, 6, 2);
  const int ownFar = AddPiece(g, PieceType::Army, 0, 7, 2);
  const int target = AddPiece(g, PieceType::Army, 1, 4, 2);
  const int enemyNear = AddPiece(g, PieceType::Fighter, 1, 4, 4);
  Attack(bomber, 4, 2);
  EXPECT_THAT(NAMED(Alive(bomber), Alive(ownCity), Alive(ownNear), Alive(target), Alive(enemyNear), Alive(ownFar)),
              ElementsAre(0, 0, 0, 0, 0, 1));
  // A neutral city site again.
  EXPECT_THAT(NAMED(g.world.At(2, 2).terrain, g.world.At(2, 2).topType), ElementsAre(Terrain::City, PieceType::None));
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"Explosion 4,2 255/128/0 r2"});
}

TEST_F(CombatTest, ACityFallsOnlyOnceItsGarrisonIsGone) {
  Build({"+++++", "+++++", "+++++"});
  const int city = AddCity(g, 1, 2, 1);
  const int guards[] = {AddPiece(g, PieceType::Army, 1, 2, 1), AddPiece(g, PieceType::Army, 1, 2, 1)};
  for (int guard : guards) P(guard).strength = 5;
  Attack(AddPiece(g, PieceType::Army, 0, 1, 1), 2, 1);
  // Striking the garrison was the whole attack.
  EXPECT_THAT(NAMED(Alive(guards[0]), Alive(guards[1]), P(city).owner), ElementsAre(0, 0, 1));
  P(city).production = PieceType::Fighter;
  const int taker = AddPiece(g, PieceType::Army, 0, 3, 1);
  Attack(taker, 2, 1);
  EXPECT_FALSE(Alive(taker));
  EXPECT_THAT(P(city), HasFields({.owner = 0,
                                  .state = PieceState::Asleep,
                                  .production = PieceType::Army,
                                  .daysLeft = g.settings.days[PieceType::Army]}));
  EXPECT_THAT(NAMED(g.world.At(2, 1).topOwner, g.world.At(2, 1).bomberRange), ElementsAre(0, 0));
  EXPECT_EQ(hooks.calls.back(), "City " + std::to_string(city));
}

TEST_F(CombatTest, AttacksThatCanDoNothingOnlyEndTheOrder) {
  Build({"+++...", "+++...", "+++..."});
  const int enemyShip = AddPiece(g, PieceType::Destroyer, 1, 4, 1);
  AddPiece(g, PieceType::Transport, 0, 3, 1);
  const int aboard = AddPiece(g, PieceType::Army, 0, 3, 1);
  const int transport = AddPiece(g, PieceType::Transport, 0, 3, 2);
  for (int piece : {aboard, transport}) {
    P(piece).destX = 4;
    Attack(piece, 4, 1);
    // A human keeps its moves.
    EXPECT_THAT(P(piece), HasFields({.moves = g.settings.moves[P(piece).type], .dest = Cell{P(piece).x, P(piece).y}}));
  }
  EXPECT_EQ(P(enemyShip).strength, 100);
  g.settings.kind[0] = PlayerKind::Computer;
  Attack(transport, 4, 1);
  EXPECT_EQ(P(transport).movesLeft, g.settings.moves[PieceType::Transport] - 1);
  EXPECT_TRUE(hooks.calls.empty());
}

}  // namespace
}  // namespace vortan::test
