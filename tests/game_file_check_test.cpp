// SPDX-License-Identifier: GPL-3.0-or-later
// The load check against damaged files: each value the rules cannot play is
// refused and named, and a flood of randomly damaged files never crashes, never
// hangs and never lets through a game that breaks the game's own rules.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "rules/invariants.h"
#include "support/world_picture.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

using test::AddCity;
using test::AddPiece;
using Bytes = std::vector<uint8_t>;

// Red (human) and Green (computer) on two islands; Green's transport carries an army.
void BuildTwoIslands(Game& g) {
  test::BuildWorld(g, {"............", "..++*+......", "..+++^...*..", "...++....++.", "............", ".....+++....",
                       "....++++....", ".....++.....", "............", "............"});
  AddCity(g, 0, 3, 1);
  AddCity(g, 1, 6, 6, PieceType::Transport);
  AddPiece(g, PieceType::Army, 0, 4, 2);       // slot 2
  AddPiece(g, PieceType::Fighter, 1, 6, 6);    // slot 3
  AddPiece(g, PieceType::Transport, 1, 6, 4);  // slot 4
  AddPiece(g, PieceType::Army, 1, 6, 4);       // slot 5
  AddPiece(g, PieceType::Destroyer, 0, 1, 1);  // slot 6
  g.state.homeX = {3, 6}, g.state.homeY = {1, 6};
  g.state.savedViewX = {3, 6}, g.state.savedViewY = {1, 6};
  g.state.viewX = 3, g.state.viewY = 1;
  for (MapCell& c : g.world.cells) c.explored = 3;  // both have seen it all
}

std::string CheckOf(const Game& g) {
  const Bytes b = GameFileBytes(g);
  return CheckSavedGameBytes(b.data(), b.size());
}

struct Damage {
  const char* what;
  std::function<void(Game&)> apply;
  const char* named;  // words the refusal must contain; empty: the file is playable
};

const Damage kDamages[] = {
    {"a destroyer with no moves", [](Game& g) { g.settings.moves[PieceType::Destroyer] = 0; },
     "moves of destroyer is 0"},
    {"a transport with no moves", [](Game& g) { g.settings.moves[PieceType::Transport] = 0; },
     "moves of transport is 0"},
    {"33 days to build an army", [](Game& g) { g.settings.days[PieceType::Army] = 33; }, "days of army is 33"},
    {"fighters with 7 fuel", [](Game& g) { g.settings.fuel[PieceType::Fighter] = 7; }, "fuel of fighter is 7"},
    {"an in-use flag of 2", [](Game& g) { g.settings.inUse[PieceType::Para] = 2; }, "in-use flag of para is 2"},
    {"the player on turn set Out", [](Game& g) { g.settings.kind[0] = PlayerKind::Out; },
     "piece 0 belongs to player 0, who is on turn but takes no part"},
    {"the player on turn eliminated", [](Game& g) { g.state.eliminated[0] = 1; },
     "player 0, who is on turn but takes no part"},
    {"pieces of an Out player", [](Game& g) { g.state.currentPlayer = 1, g.settings.kind[0] = PlayerKind::Out; },
     "piece 0 belongs to player 0, who takes no part"},
    {"an eliminated flag of 2", [](Game& g) { g.state.eliminated[3] = 2; }, "eliminated flag of player 3 is 2"},
    {"a changed player bit", [](Game& g) { g.state.playerBit[2] = 3; }, "player bit of player 2 is 3, not 4"},
    {"an auto-play flag of 9", [](Game& g) { g.state.autoPlay[1] = 9; }, "auto-play flag of player 1 is 9"},
    {"a game-active flag of 2", [](Game& g) { g.state.gameActive = 2; }, "game-active flag is 2"},
    {"day 0 in a game in progress", [](Game& g) { g.state.day = 0; }, "day is 0"},
    {"an army of strength 0", [](Game& g) { g.pieces[2].strength = 0; }, "piece 2 strength is 0, not 1 to 100"},
    {"a fighter of strength 101", [](Game& g) { g.pieces[3].strength = 101; }, "piece 3 strength is 101"},
    {"more moves left than the type has", [](Game& g) { g.pieces[4].movesLeft = 5; },
     "piece 4 moves left is 5, not 0 to 4"},
    {"a fighter with fuel -1", [](Game& g) { g.pieces[3].fuel = -1; }, "piece 3 fuel is -1"},
    {"a land mass above the count", [](Game& g) { g.world.At(10, 3).landMass = 9; },
     "cell (10, 3) has land mass 9 of 3"},
    {"a cell visible but not explored", [](Game& g) { g.world.At(0, 0).visible = 2, g.world.At(0, 0).explored = 1; },
     "cell (0, 0) is visible to player 1 but not explored"},
    {"two cities on one cell", [](Game& g) { AddCity(g, 1, 3, 1); }, "two cities stand on (3, 1)"},
    {"a city at sea", [](Game& g) { g.pieces[1].x = 0, g.pieces[1].y = 0; }, "piece 1 stands on terrain 0"},
    {"a city on a mountain", [](Game& g) { g.pieces[0].x = 5, g.pieces[0].y = 2; }, "piece 0 stands on terrain 3"},
    {"an army on a neutral city", [](Game& g) { g.pieces[2].x = 4, g.pieces[2].y = 1; },
     "piece 2 is an army on terrain 2"},
    {"an army at sea without a transport", [](Game& g) { g.pieces[2].x = 0, g.pieces[2].y = 4; },
     "1 armies of player 0 at sea on (0, 4) with 0 transports"},
    {"an army aboard another player's transport", [](Game& g) { g.pieces[2].x = 6, g.pieces[2].y = 4; },
     "armies of player 0 at sea on (6, 4)"},
    {"an army beside land its player never saw", [](Game& g) { g.world.At(5, 3).explored = 2; },
     "piece 2 is an army beside (5, 3), which player 0 has not explored"},
    {"seven armies aboard one transport",
     [](Game& g) {
       for (int i = 0; i < 6; ++i) AddPiece(g, PieceType::Army, 1, 6, 4);
     },
     "7 armies of player 1"},
    {"a destroyer on open land", [](Game& g) { g.pieces[6].x = 4, g.pieces[6].y = 3; },
     "piece 6 is a ship on terrain 1"},
    {"a destroyer on a mountain", [](Game& g) { g.pieces[6].x = 5, g.pieces[6].y = 2; },
     "piece 6 is a ship on terrain 3"},
    // What play can lead to loads again.
    {"a destroyer in its city", [](Game& g) { g.pieces[6].x = 3, g.pieces[6].y = 1; }, ""},
    {"a transport run aground on land, with its army",
     [](Game& g) { g.pieces[4].x = g.pieces[5].x = 7, g.pieces[4].y = g.pieces[5].y = 6; }, ""},
    {"six armies aboard",
     [](Game& g) {
       for (int i = 0; i < 5; ++i) AddPiece(g, PieceType::Army, 1, 6, 4);
     },
     ""},
    {"a fighter over a mountain", [](Game& g) { g.pieces[3].x = 5, g.pieces[3].y = 2; }, ""},
    {"a game that is over", [](Game& g) { g.state.gameActive = 0, g.state.day = 0; }, ""},
    {"a day begun by an Out player", [](Game& g) { g.state.currentPlayer = 2; }, ""},
};

TEST(GameFileCheck, RefusesEveryValueTheRulesCannotPlayAndNamesIt) {
  for (const Damage& d : kDamages) {
    SCOPED_TRACE(d.what);
    auto g = std::make_unique<Game>();
    BuildTwoIslands(*g);
    ASSERT_EQ(CheckOf(*g), "") << "the undamaged game";
    d.apply(*g);
    RefreshAllCells(*g);
    const std::string why = CheckOf(*g);
    if (*d.named == '\0') {
      EXPECT_EQ(why, "") << "a playable file was refused";
    } else {
      EXPECT_NE(why.find(d.named), std::string::npos)
          << "refusal reads '" << why << "', should name '" << d.named << "'";
    }
  }
}

// --- Randomly damaged files ---

// Every accepted file is played on for kDaysPlayed days, so the files are
// split in shards that run side by side. Under the sanitizers every file costs
// some twenty times as much: that run looks for memory errors on fewer files.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kMutatedFiles = 2000;
#else
constexpr int kMutatedFiles = 100000;
#endif
constexpr int kShards = 4;
constexpr int kDaysPlayed = 30;
constexpr long kStepsPerDayAtMost = 20000;

// The two islands grown into games small enough to play a month of in a few
// milliseconds that still hold every kind of rule: ships of each side, a
// transport with its army, a carrier with its fighter, cities of several
// owners; played on by the computer for `days` days.
Bytes PlayedGame(int players, int days) {
  auto g = std::make_unique<Game>();
  BuildTwoIslands(*g);
  AddPiece(*g, PieceType::Carrier, 0, 1, 4);
  AddPiece(*g, PieceType::Fighter, 0, 1, 4);
  AddPiece(*g, PieceType::Submarine, 1, 9, 5);
  if (players == 3) {
    g->settings.kind[2] = PlayerKind::Computer;
    AddCity(*g, 2, 10, 3);
    AddPiece(*g, PieceType::Bomber, 2, 10, 3);
    AddPiece(*g, PieceType::Para, 2, 9, 3);
    g->state.homeX[2] = g->state.savedViewX[2] = 10, g->state.homeY[2] = g->state.savedViewY[2] = 3;
  }
  RefreshAllCells(*g);
  g->app.fileFolder = "/nonexistent";  // the weekly saves fail quietly
  g->state.autoPlay.fill(1);
  while (g->state.day <= days && g->state.gameActive == 1) AdvanceGame(*g);
  return GameFileBytes(*g);
}

// Damage of the kinds found in the wild: a few bytes anywhere that matters,
// whole blocks from another game, pieces moved or copied, files cut or padded.
class Mutator {
 public:
  Mutator(std::vector<Bytes> bases, uint32_t seed) : bases_(std::move(bases)), rng_(seed) {}

  Bytes Next() {
    Bytes b = bases_[Pick(bases_.size())];
    const size_t kind = Pick(10);
    if (kind == 3) return CutOrPadded(std::move(b));
    if (kind == 0) SpliceBlock(b);
    if (kind == 1) MovePiece(b);
    if (kind == 2) CopyPiece(b);
    for (size_t hits = 1 + Pick(3); hits > 0; --hits) b[Somewhere()] = Value();
    return b;
  }

 private:
  static constexpr size_t kSlotsUsed = 40, kSideUsed = 12;
  static constexpr int kBlockStart[] = {0, kSettingsBytes, kSettingsBytes + kStateBytes,
                                        kSettingsBytes + kStateBytes + kPieceTableBytes, kSavedGameBytes};
  size_t Pick(size_t n) { return static_cast<size_t>(rng_() % n); }
  uint8_t Value() {
    static constexpr uint8_t kInteresting[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,   10,  11,   12,   31,
                                               32, 33, 49, 50, 69, 70, 79, 80, 99, 100, 101, 0x7F, 0x80, 0xFF};
    return Pick(3) ? kInteresting[Pick(sizeof kInteresting)] : static_cast<uint8_t>(rng_());
  }
  size_t Somewhere() {  // the header, the pieces in use and a few free slots, the world
    const size_t where = Pick(3);
    if (where == 0) return Pick(kSettingsBytes + kStateBytes);
    if (where == 1) return static_cast<size_t>(kBlockStart[2]) + Pick(kSlotsUsed * kPieceBytes);
    return static_cast<size_t>(kBlockStart[3]) + (Pick(kSideUsed) * kGridSide + Pick(kSideUsed)) * kCellBytes;
  }
  void SpliceBlock(Bytes& b) {
    const Bytes& other = bases_[Pick(bases_.size())];
    const size_t block = Pick(4);
    std::copy(other.begin() + kBlockStart[block], other.begin() + kBlockStart[block + 1],
              b.begin() + kBlockStart[block]);
  }
  void MovePiece(Bytes& b) {
    const size_t at = static_cast<size_t>(kBlockStart[2]) + Pick(kSlotsUsed) * kPieceBytes;
    b[at + 4 + Pick(2)] = static_cast<uint8_t>(Pick(kSideUsed));
  }
  Bytes CutOrPadded(Bytes b) {
    if (Pick(2))
      b.resize(Pick(b.size()));
    else
      b.resize(b.size() + 1 + Pick(64), Value());
    return b;
  }
  void CopyPiece(Bytes& b) {
    const size_t from = static_cast<size_t>(kBlockStart[2]) + Pick(kSlotsUsed) * kPieceBytes;
    const size_t to = static_cast<size_t>(kBlockStart[2]) + Pick(kSlotsUsed) * kPieceBytes;
    std::copy(b.begin() + from, b.begin() + from + kPieceBytes, b.begin() + to);
  }

  std::vector<Bytes> bases_;
  std::mt19937 rng_;
};

// Plays on until kDaysPlayed days have passed or the game ends; false when the
// game stopped making progress.
bool PlaysOn(Game& g) {
  g.state.autoPlay.fill(1);
  long stepsToday = 0;
  for (int day = g.state.day, lastDay = day + kDaysPlayed; g.state.gameActive == 1 && g.state.day < lastDay;) {
    AdvanceGame(g);
    if (g.state.day != day) day = g.state.day, stepsToday = 0;
    if (++stepsToday > kStepsPerDayAtMost) return false;
  }
  return true;
}

class MutatedFiles : public testing::TestWithParam<int> {};

TEST_P(MutatedFiles, NeverCrashHangOrBreakTheRulesOnceAccepted) {
  const int shard = GetParam();
  Mutator mutate({PlayedGame(2, 1), PlayedGame(3, 1), PlayedGame(2, 8)}, 20261206 + shard);
  auto g = std::make_unique<Game>();
  int accepted = 0;
  const std::clock_t start = std::clock();
  for (int round = shard * kMutatedFiles / kShards; round < (shard + 1) * kMutatedFiles / kShards; ++round) {
    const Bytes b = mutate.Next();
    if (!CheckSavedGameBytes(b.data(), b.size()).empty()) continue;
    ++accepted;
    ResetToProgramStart(*g);
    g->rng.SetState(static_cast<uint32_t>(round));
    ASSERT_TRUE(LoadGameFromBytes(*g, b.data(), b.size(), "/nonexistent/damaged.gam")) << "round " << round;
    ASSERT_EQ(CheckInvariants(*g), "") << "an accepted file breaks the rules right after loading, round " << round;
    ASSERT_TRUE(PlaysOn(*g)) << "the game stopped making progress on day " << g->state.day << ", round " << round;
    ASSERT_EQ(CheckInvariants(*g), "") << "after playing on, round " << round;
  }
  std::printf("%d mutated files, %d accepted and played %d days, %.1f s of CPU\n", kMutatedFiles / kShards, accepted,
              kDaysPlayed, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  EXPECT_GT(accepted, kMutatedFiles / kShards / 10) << "too few damaged files pass to exercise the rules";
}

INSTANTIATE_TEST_SUITE_P(Shard, MutatedFiles, testing::Range(0, kShards));

}  // namespace
}  // namespace vortan
