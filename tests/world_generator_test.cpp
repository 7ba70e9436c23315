// SPDX-License-Identifier: GPL-3.0-or-later
#include "worldgen/world_generator.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "model/piece_types.h"
#include "support/named_values.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

using ::testing::ElementsAre;

using test::BuildWorld;
using test::DrawTerrain;

std::vector<std::string> Sea(int side) { return std::vector<std::string>(side, std::string(side, '.')); }

int CountTerrain(const Game& g, uint8_t terrain) {
  int n = 0;
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) n += g.world.At(x, y).terrain == terrain;
  return n;
}

// --- The building blocks, on drawn worlds ---

struct BlobTest : ::testing::Test {
  std::unique_ptr<Game> owner = std::make_unique<Game>();
  Game& g = *owner;
  void SetUp() override { BuildWorld(g, Sea(20)); }
  int Blob(int x, int y, int dx, int dy) { return AddLandBlob(g.rng, x, y, dx, dy, 20, 20, g.settings, g.world); }
  bool IsSea(int x, int y) { return g.world.At(x, y).terrain == Terrain::Sea; }
};

TEST_F(BlobTest, IsARectangleWithoutCornersThatWrapsAndCountsOnlyNewLand) {
  EXPECT_EQ(Blob(17, 2, 4, 3), 5 * 4 - 4);  // columns 17..21 wrap to 17, 18, 19, 0, 1; rows 2..5
  for (auto [x, y] : {std::pair{17, 2}, {17, 5}, {1, 2}, {1, 5}, {16, 3}, {2, 3}, {18, 1}, {18, 6}})
    EXPECT_TRUE(IsSea(x, y)) << x << "," << y << "\n" << DrawTerrain(g);
  for (auto [x, y] : {std::pair{17, 3}, {17, 4}, {1, 3}, {19, 2}, {0, 5}}) EXPECT_FALSE(IsSea(x, y)) << x << "," << y;
  EXPECT_EQ(Blob(19, 2, 3, 3), 4) << "new: the first blob's corners (1,2), (1,5) and column 2's two cells";
}

TEST(FillSeaHoles, FillsCellsWithAtMostOneSeaNeighbourInScanOrder) {
  auto g = std::make_unique<Game>();
  BuildWorld(*g, {"++++++++", "+..++.++", "+++++..+", "++++++++"});
  FillSeaHoles(g->settings, g->world);
  EXPECT_EQ(DrawTerrain(*g), "++++++++\n+++++.++\n+++++..+\n++++++++\n")
      << "the pair goes (its second cell has no sea left by then); the triangle's cells have two sea neighbours each";
}

struct LabelTest : ::testing::Test {
  std::unique_ptr<Game> owner = std::make_unique<Game>();
  Game& g = *owner;
  int Label(const std::vector<std::string>& rows) {
    BuildWorld(g, rows);
    return LabelLandMasses(g.landMasses, g.settings, g.world);
  }
  int MassAt(int x, int y) { return g.world.At(x, y).landMass; }
};

TEST_F(LabelTest, CornersJoinOnlyWhenACellBetweenIsNotSea) {
  EXPECT_EQ(Label({".....", ".+...", "..*..", "....."}), 2);
  EXPECT_EQ(Label({".....", ".+^..", "..*..", "....."}), 1);
  EXPECT_EQ(MassAt(2, 1), 0) << "mountains belong to no land mass";
  EXPECT_EQ(Label({"+..+", "....", "....", "+..."}), 1) << "wraps at every edge";
  EXPECT_EQ(Label({"..+.", "+...", "...+", "...."}), 3);
  EXPECT_THAT(NAMED(MassAt(0, 1), MassAt(2, 0), MassAt(3, 2)), ElementsAre(1, 2, 3)) << "column by column";
}

TEST_F(LabelTest, ALandMassOf250CellsFailsAnd249PassesAndTheEightiethIsNeverNumbered) {
  std::vector<std::string> rows = Sea(30);
  for (int y = 1; y <= 25; ++y) rows[y].replace(1, 10, std::string(10, '+'));
  rows[25][10] = '.';
  const auto labelled = [&] { return std::pair<int, int>{Label(rows), g.landMasses[1].size}; };  // left to right
  EXPECT_EQ(labelled(), std::make_pair(1, 249));
  rows[25][10] = '+';
  EXPECT_EQ(labelled(), std::make_pair(0, 250));
  rows = Sea(20);
  for (int i = 0; i < 81; ++i) rows[(i / 9) * 2][(i % 9) * 2] = '+';
  EXPECT_EQ(Label(rows), 80);
  EXPECT_THAT(NAMED(MassAt(16, 12), MassAt(16, 14)), ElementsAre(79, 0)) << "the 80th is found, not numbered";
}

struct StartCityTest : LabelTest {
  GameSettings chosen;  // what the test sets survives the picture's fresh start
  int Place(const std::vector<std::string>& rows) {
    const int n = Label(rows);
    g.settings.kind = chosen.kind, g.settings.difficulty = chosen.difficulty, g.settings.inUse = chosen.inUse;
    g.settings.landMassCount = static_cast<uint8_t>(n);
    CountCitiesPerLandMass(g.landMasses, g.settings, g.world);
    return PlaceStartCities(g, g.settings, g.state);
  }
  void SetUp() override {
    ApplyDefaultPieceAttributes(chosen);
    chosen.kind = {PlayerKind::Out, PlayerKind::Human, 0, 0, 0, 0};
  }
};

TEST_F(StartCityTest, SimpleWantsTwoCitiesWithoutArmiesCitiesBuildParasAndSevenCitiesOnOneLandMassFail) {
  chosen.difficulty = Difficulty::Simple;
  chosen.inUse[PieceType::Army] = 0;
  g.rng.SetState(1);
  ASSERT_EQ(Place({"....", ".*..", "...."}), 0) << "Simple wants two cities or more";
  ASSERT_EQ(Place({"....", ".**.", "...."}), 1);
  EXPECT_THAT(NAMED(+g.pieces[1].production, +g.pieces[1].daysLeft), ElementsAre(+PieceType::Para, 8));
  chosen.kind.fill(PlayerKind::Out);
  EXPECT_EQ(Place({"................", ".*.*.*.*.*.*.*..", ".++++++++++++++.", "................"}), 0);
  EXPECT_EQ(Place({"................", ".*.*.*.*.*.*....", ".++++++++++++++.", "................"}), 1);
}

// --- Whole worlds ---

std::unique_ptr<Game> TwoPlayerStart(int side, uint32_t seed) {
  auto g = std::make_unique<Game>();
  test::StartProgram(*g, seed);
  g->settings.width = g->settings.height = static_cast<uint8_t>(side);
  g->settings.kind = {PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0};
  return g;
}

// The generator works on a copy of the settings: they still hold what was asked for.
void ExpectGuarantees(const Game& g, int n) {
  const GameSettings& s = g.settings;
  ASSERT_TRUE(n >= 9 && n <= 79) << n;
  std::vector<int> cells(kLandMassSlots), cities(kLandMassSlots);
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      const MapCell& c = g.world.At(x, y);
      ASSERT_EQ(c.terrain == Terrain::Land || c.terrain == Terrain::City, c.landMass != 0) << x << "," << y;
      ASSERT_LE(c.landMass, n);
      ++cells[c.landMass];
      cities[c.landMass] += c.terrain == Terrain::City;
    }
  EXPECT_GE((s.width * s.height - CountTerrain(g, Terrain::Sea)) * 100, (s.landAmount * 5 + 18) * s.width * s.height);
  std::set<int> startMasses;
  std::vector<uint8_t> sight(kGridSide * kGridSide);
  for (int p = 0; p < kPlayerCount; ++p) {
    const PieceRecord& c = g.pieces[p];
    ASSERT_EQ(c.type, s.kind[p] == PlayerKind::Out ? PieceType::None : PieceType::City) << "player " << p;
    if (s.kind[p] == PlayerKind::Out) continue;
    EXPECT_TRUE(c.owner == p && IsCoastal(g.world, s, c.x, c.y));
    const int mass = g.world.At(c.x, c.y).landMass;
    EXPECT_TRUE(startMasses.insert(mass).second) << "one start city per land mass";
    static const int kRange[4][2] = {{2, 6}, {2, 3}, {1, 2}, {1, 2}};  // cities on a human's start land mass
    const int count = g.landMasses[mass].cityCount;
    EXPECT_TRUE(s.kind[p] != PlayerKind::Human ||
                (count >= kRange[s.difficulty][0] && count <= kRange[s.difficulty][1]));
    ++cities[mass];
    ForEachInBlock3(s, c.x, c.y, [&](int x, int y) { sight[y * kGridSide + x] |= 1 << p; });
  }
  for (int i = 1; i <= n; ++i) {
    const LandMassRecord& m = g.landMasses[i];
    EXPECT_LE(m.cityCount, 6);
    EXPECT_THAT(
        NAMED(+m.cityCount, +m.size, +m.status),
        ElementsAre(cities[i], cells[i], startMasses.count(i) ? +LandMassStatus::Secure : +LandMassStatus::Open))
        << "land mass " << i;
  }
  for (int i = kPlayerCount; i < kPieceSlots; ++i) ASSERT_EQ(g.pieces[i].type, PieceType::None);
  for (int y = 0; y < kGridSide; ++y)
    for (int x = 0; x < kGridSide; ++x) {
      const MapCell& c = g.world.At(x, y);
      ASSERT_THAT(NAMED(+c.explored, +c.visible, +c.topType),
                  ElementsAre(+sight[y * kGridSide + x], +sight[y * kGridSide + x], +PieceType::None))
          << x << "," << y;
      ASSERT_TRUE(c.terrain == Terrain::Sea || (x < s.width && y < s.height));
    }
}

TEST(GenerateWorld, EverySizeLandAmountDifficultyAndPlayerMixKeepsTheGuarantees) {
  using K = std::array<uint8_t, kPlayerCount>;
  const K kMixes[] = {
      {1, 2, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1}, {0, 2, 1, 0, 2, 2}, {2, 2, 2, 2, 2, 1}, {0, 0, 0, 0, 1, 1}};
  int run = 0;
  for (int side : {40, 50, 55, 60, 65, 70})
    for (int land = 0; land <= 4; ++land, ++run) {
      SCOPED_TRACE(::testing::Message() << side << "x" << side << " land " << land << " run " << run);
      auto g = TwoPlayerStart(side, static_cast<uint32_t>(run * 7919 + 1));
      g->settings.landAmount = static_cast<uint8_t>(land);
      g->settings.difficulty = static_cast<uint8_t>(run % 4);
      g->settings.kind = kMixes[run % 5];
      ExpectGuarantees(*g, GenerateWorld(*g, g->settings, g->state));
      EXPECT_EQ(g->settings.landMassCount, 10) << "only the generator's own copy learns the count";
    }
}

TEST(GenerateWorld, GivesUpAfterTwoHundredAttemptsWithTheMessage) {
  auto g = TwoPlayerStart(12, 7);  // too small for nine land masses
  test::RecordingHooks hooks;
  g->hooks = &hooks;
  EXPECT_EQ(GenerateWorld(*g, g->settings, g->state), 0);
  EXPECT_EQ(hooks.calls,
            std::vector<std::string>{
                "Message Vortan: Failed to make a suitable map\nTry again or change the New Game settings"});
  EXPECT_GT(CountTerrain(*g, Terrain::Land), 0) << "the last attempt's remains stay";
}

}  // namespace
}  // namespace vortan
