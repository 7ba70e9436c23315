// Whole computer games: seeded demo games checked after every step, identical
// replays from one seed through vortan-sim, and a running game that allocates nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <regex>
#include <string>
#include <vector>

#include "model/game.h"
#include "model/piece_types.h"
#include "rules/invariants.h"
#include "rules/turn_loop.h"
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
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->rng.SetState(seed);
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
    EXPECT_EQ(AllocationsDuring([&] { for (int i = 0; i < 1000; ++i) AdvanceGame(*g); }), 0) << "from day " << day;
    ++watched;
  }
  EXPECT_GE(watched, 2) << "the game ended too early to watch it";
}

namespace fs = std::filesystem;

struct SimResult {
  int exitCode = -1;
  std::string output;
};

SimResult RunSim(const std::string& arguments, const fs::path& folder) {
  FILE* pipe = popen(("cd '" + folder.string() + "' && '" VORTAN_SIM_PATH "' " + arguments + " 2>&1").c_str(), "r");
  SimResult r;
  for (char buffer[256]; pipe && std::fgets(buffer, sizeof buffer, pipe);) r.output += buffer;
  const int status = pipe ? pclose(pipe) : -1;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::vector<char> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ReadLines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct SimReplay : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vortan_demo_test_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
};

// Two runs of one seed give the same file and trace; the trace has one line a
// step, ending on the summary's day; --max-steps stops a run; the seed matters.
TEST_F(SimReplay, OneSeedGivesTheSameFileAndTraceTwice) {
  std::string summary;
  for (const char* run : {"a", "b"}) {
    const SimResult r = RunSim(std::string("demo --seed 11 --days 40 --trace ") + run + ".txt --out " + run + ".gam", dir);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    summary = r.output;
  }
  EXPECT_EQ(ReadBytes(dir / "a.gam").size(), 66964u);
  EXPECT_TRUE(ReadBytes(dir / "a.gam") == ReadBytes(dir / "b.gam"));
  EXPECT_TRUE(ReadBytes(dir / "a.txt") == ReadBytes(dir / "b.txt"));

  std::smatch m;
  ASSERT_TRUE(std::regex_match(summary, m, std::regex(R"(steps (\d+) day (\d+) winner \w+ time [0-9.]+ s wall [0-9.]+ s\n)")))
      << summary;
  const std::vector<std::string> lines = ReadLines(dir / "a.txt");
  ASSERT_EQ(std::to_string(lines.size()), m[1].str());
  const std::string day = m[2];
  const std::regex kLine(R"((\d+) (\d+) [0-5] \d+ (\d|10) \d+ \d+ [0-3] -?\d+ [0-9a-f]{8})");
  ASSERT_TRUE(std::regex_match(lines.back(), m, kLine)) << lines.back();
  EXPECT_EQ(m[1].str() + " " + m[2].str(), std::to_string(lines.size()) + " " + day);

  ASSERT_EQ(RunSim("demo --seed 12 --days 40 --max-steps 2000 --trace c.txt --out c.gam", dir).exitCode, 0);
  const std::vector<std::string> other = ReadLines(dir / "c.txt");
  ASSERT_TRUE(other.size() == 2000u && lines.size() > 2000u) << other.size() << " " << lines.size();
  EXPECT_FALSE(std::equal(other.begin(), other.end(), lines.begin())) << "the seed must matter";
}

}  // namespace
}  // namespace vortan
