#include "rules/combat.h"

#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;

struct CombatTest : test::WorldTest<> {
  void Build(const std::vector<std::string>& rows) {
    WorldTest::Build(rows);
    AddCity(g, 1, g.Width() - 1, g.Height() - 1);  // keeps player 1 in the game
  }
  // The damage the generator will deal next for mean damage t.
  int NextDamage(int t) const {
    Random copy(g.rng.State());
    return copy.Mod(t) + t / 2;
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
    const int damage = NextDamage(20);
    Attack(attacker, 2, 1);
    EXPECT_EQ(P(defender).strength, 100 - damage);
    EXPECT_EQ(P(defender).Dest(), P(defender).Pos());
    EXPECT_EQ(P(attacker).strength, 100);
    EXPECT_EQ(P(attacker).Pos(), (MapPos{1, 1})) << "an attacker never moves in";
    EXPECT_EQ(P(attacker).movesLeft, 0);
    EXPECT_EQ(P(attacker).fuel, -1) << "every attack costs fuel, whatever the type";
    P(attacker).type = P(defender).type = PieceType::None;
  }

  const int defender = AddPiece(g, PieceType::Army, 1, 2, 1);
  int attacks = 0;
  for (; Alive(defender) && attacks < 20; ++attacks) Attack(AddPiece(g, PieceType::Army, 0, 1, 1), 2, 1);
  EXPECT_GE(attacks, 4);
  EXPECT_LE(attacks, 10);
}

TEST_F(CombatTest, SunkCarriersTakeTheirWholeCargoDown) {
  Build({"........", "........", "........"});
  const int transport = AddPiece(g, PieceType::Transport, 1, 3, 1);
  const int armies[] = {AddPiece(g, PieceType::Army, 1, 3, 1), AddPiece(g, PieceType::Army, 1, 3, 1)};
  const int destroyer = AddPiece(g, PieceType::Destroyer, 0, 2, 1);
  Attack(destroyer, 3, 1);
  EXPECT_FALSE(Alive(transport));
  for (int a : armies) EXPECT_FALSE(Alive(a));
  EXPECT_EQ(P(destroyer).facing, 0);

  const int carrier = AddPiece(g, PieceType::Carrier, 1, 5, 1);
  const int fighter = AddPiece(g, PieceType::Fighter, 1, 5, 1);
  P(carrier).strength = 10;
  const int sub = AddPiece(g, PieceType::Submarine, 0, 6, 1);
  Attack(sub, 5, 1);
  EXPECT_FALSE(Alive(carrier));
  EXPECT_FALSE(Alive(fighter)) << "the fighter goes down with its deck, unstruck";
  EXPECT_EQ(P(sub).facing, 1);
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
  EXPECT_EQ(P(fighter).state, PieceState::Returning);
  EXPECT_EQ(P(fighter).fuel, g.settings.fuel[PieceType::Fighter] - 1);
  EXPECT_EQ(g.world.At(2, 1).topOwner, 1);
}

TEST_F(CombatTest, BomberBlastSparesNothingWithinTwoCells) {
  Build({"+++++++++", "+++++++++", "+++++++++", "+++++++++", "+++++++++", "+++++++++"});
  const int bomber = AddPiece(g, PieceType::Bomber, 0, 3, 2);
  const int ownCity = AddCity(g, 0, 2, 2);
  const int ownNear = AddPiece(g, PieceType::Army, 0, 6, 2);
  const int ownFar = AddPiece(g, PieceType::Army, 0, 7, 2);
  const int target = AddPiece(g, PieceType::Army, 1, 4, 2);
  const int enemyNear = AddPiece(g, PieceType::Fighter, 1, 4, 4);
  Attack(bomber, 4, 2);
  for (int gone : {bomber, ownCity, ownNear, target, enemyNear}) EXPECT_FALSE(Alive(gone)) << gone;
  EXPECT_TRUE(Alive(ownFar));
  EXPECT_EQ(g.world.At(2, 2).terrain, Terrain::City) << "a neutral city site again";
  EXPECT_EQ(g.world.At(2, 2).topType, PieceType::None);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{"Explosion 4,2 255/128/0 r2"});
}

TEST_F(CombatTest, ACityFallsOnlyOnceItsGarrisonIsGone) {
  Build({"+++++", "+++++", "+++++"});
  const int city = AddCity(g, 1, 2, 1);
  const int guards[] = {AddPiece(g, PieceType::Army, 1, 2, 1), AddPiece(g, PieceType::Army, 1, 2, 1)};
  for (int guard : guards) P(guard).strength = 5;
  Attack(AddPiece(g, PieceType::Army, 0, 1, 1), 2, 1);
  for (int guard : guards) EXPECT_FALSE(Alive(guard));
  EXPECT_EQ(P(city).owner, 1) << "striking the garrison was the whole attack";

  P(city).production = PieceType::Fighter;
  const int taker = AddPiece(g, PieceType::Army, 0, 3, 1);
  Attack(taker, 2, 1);
  EXPECT_FALSE(Alive(taker));
  const PieceRecord& c = P(city);
  EXPECT_EQ(c.owner, 0);
  EXPECT_EQ(c.state, PieceState::Asleep);
  EXPECT_EQ(c.production, PieceType::Army);
  EXPECT_EQ(c.daysLeft, g.settings.days[PieceType::Army]);
  EXPECT_EQ(g.world.At(2, 1).topOwner, 0);
  EXPECT_EQ(g.world.At(2, 1).bomberRange, 0);
  const std::vector<std::string> tail(hooks.calls.end() - 2, hooks.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Sound 1", "City " + std::to_string(city)}));
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
    EXPECT_EQ(P(piece).Dest(), P(piece).Pos());
    EXPECT_EQ(P(piece).movesLeft, g.settings.moves[P(piece).type]) << "a human keeps its moves";
  }
  EXPECT_EQ(P(enemyShip).strength, 100);
  g.settings.kind[0] = PlayerKind::Computer;
  Attack(transport, 4, 1);
  EXPECT_EQ(P(transport).movesLeft, g.settings.moves[PieceType::Transport] - 1);
  EXPECT_TRUE(hooks.calls.empty());
}

TEST_F(CombatTest, SoundsFollowTheSoundModeAndTheViewersSight) {
  Build({"++++", "++++", "++++"});
  const auto killInSight = [&](uint8_t mode, bool seen) {
    g.app.soundMode = mode;
    hooks.calls.clear();
    const int defender = AddPiece(g, PieceType::Army, 1, 2, 1);
    P(defender).strength = 1;
    g.world.At(2, 1).visible = seen ? 1 : 0;
    Attack(AddPiece(g, PieceType::Army, 0, 1, 1), 2, 1);
    return hooks.calls;
  };
  const std::string boom = "Explosion 2,1 255/255/0 r1";
  EXPECT_EQ(killInSight(SoundMode::Card, true), (std::vector<std::string>{"Sound 1", boom}));
  EXPECT_EQ(killInSight(SoundMode::Speaker, true), (std::vector<std::string>{boom, "Sound 1"}));
  EXPECT_EQ(killInSight(SoundMode::None, true), (std::vector<std::string>{boom}));
  EXPECT_EQ(killInSight(SoundMode::Card, false), (std::vector<std::string>{boom, "Sound 3"}));
}

}  // namespace
}  // namespace vortan
