// SPDX-License-Identifier: GPL-3.0-or-later
// Whole computer games: seeded demo games checked after every step, and a
// running game that allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "rules/invariants.h"
#include "support/world_picture.h"
#include "worldgen/new_game.h"

// Every allocation of the program passes through here, so a test can count the
// ones made while it watches.
namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* Counted(void* p) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (!p) throw std::bad_alloc();
  return p;
}
void* CountedAllocation(std::size_t n) { return Counted(std::malloc(n ? n : 1)); }
void* CountedAlignedAllocation(std::size_t n, std::align_val_t align) {
  const std::size_t a = static_cast<std::size_t>(align);
  return Counted(std::aligned_alloc(a, (n + a - 1) / a * a));
}
}  // namespace

void* operator new(std::size_t n) { return CountedAllocation(n); }
void* operator new[](std::size_t n) { return CountedAllocation(n); }
void* operator new(std::size_t n, std::align_val_t a) { return CountedAlignedAllocation(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return CountedAlignedAllocation(n, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace vortan {
namespace {

// Sanitizer and unoptimised builds run far slower: fewer and shorter games.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kSoakGames = 8;
constexpr int kSoakDays = 90;
#else
constexpr int kSoakGames = 30;
constexpr int kSoakDays = 300;
#endif
// These games take some 300 steps a day; a game that stalls fails here, not on a timeout.
constexpr long kStepLimit = 2000L * kSoakDays;

std::unique_ptr<Game> StartDemo(uint32_t seed) {
  auto g = std::make_unique<Game>();
  test::StartProgram(*g, seed);
  DemoCommand(*g);
  return g;
}

int PlayersLeft(const Game& g) {
  int left = 0;
  for (int p = 0; p < kPlayerCount; ++p) left += g.settings.kind[p] != PlayerKind::Out && !g.state.eliminated[p];
  return left;
}

class DemoSoak : public ::testing::TestWithParam<int> {};

TEST_P(DemoSoak, EveryStepKeepsTheGameConsistentUntilVictoryOrTheDayLimit) {
  auto g = StartDemo(static_cast<uint32_t>(GetParam()));
  ASSERT_EQ(std::make_pair(+g->state.gameActive, CheckInvariants(*g)), std::make_pair(1, std::string()));
  for (long steps = 1; g->state.gameActive == 1 && g->state.day < kSoakDays; ++steps) {
    const int day = g->state.day;
    AdvanceGame(*g);
    ASSERT_EQ(CheckInvariants(*g), "") << "seed " << GetParam() << " step " << steps << " day " << g->state.day;
    ASSERT_GE(g->state.day, day);
    ASSERT_LT(steps, kStepLimit) << "the game stopped advancing on day " << g->state.day;
  }
  EXPECT_EQ(PlayersLeft(*g) <= 1, g->state.gameActive == 0) << PlayersLeft(*g) << " players left";
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoSoak, ::testing::Range(1, kSoakGames + 1));

long AllocationsDuring(auto&& work) {
  gAllocations = 0;
  gCounting = true;
  work();
  gCounting = false;
  return gAllocations;
}

TEST(DemoAllocation, AThousandStepsOfARunningGameAllocateNothing) {
  ASSERT_EQ(AllocationsDuring([] { std::make_unique<int>(7).reset(); }), 1) << "the counting itself works";
  auto g = StartDemo(5);
  int watched = 0;
  for (int day : {3, 20, 45}) {
    while (g->state.gameActive == 1 && g->state.day < day) AdvanceGame(*g);
    if (g->state.gameActive != 1) break;
    EXPECT_EQ(AllocationsDuring([&] {
                for (int i = 0; i < 1000; ++i) AdvanceGame(*g);
              }),
              0)
        << "from day " << day;
    ++watched;
  }
  EXPECT_GE(watched, 2) << "the game ended too early to watch it";
}

}  // namespace
}  // namespace vortan
