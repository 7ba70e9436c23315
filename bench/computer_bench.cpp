// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the computer player decides, per piece type, and how fast whole
// demonstration games run headless.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <limits>
#include <memory>

#include "ai/computer_turn.h"
#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

constexpr int kDayLimit = 300;

std::unique_ptr<Game> StartDemo(uint32_t seed) {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->rng.SetState(seed);
  DemoCommand(*g);
  return g;
}

int TypesInPlay(const Game& g) {
  std::array<bool, kTypeCount> seen{};
  for (const PieceRecord& r : g.pieces.slots)
    if (r.type < kTypeCount) seen[r.type] = true;
  int n = 0;
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) n += seen[t];
  return n;
}

// A demo game at the first moment where the most piece types are in play at
// once, over a few seeds, so that every type's rule has a piece to decide.
Game& MidGame() {
  static std::unique_ptr<Game> g = [] {
    uint32_t bestSeed = 1;
    long bestSteps = 0;
    int bestTypes = 0;
    for (uint32_t seed = 1; seed <= 12 && bestTypes < PieceType::Para; ++seed) {
      auto game = StartDemo(seed);
      for (long steps = 1; game->state.gameActive == 1 && game->state.day < 200; ++steps) {
        AdvanceGame(*game);
        if (steps % 256 != 0) continue;
        int types = TypesInPlay(*game);
        if (types > bestTypes) bestTypes = types, bestSeed = seed, bestSteps = steps;
        if (bestTypes == PieceType::Para) break;
      }
    }
    auto game = StartDemo(bestSeed);
    for (long steps = 0; steps < bestSteps; ++steps) AdvanceGame(*game);
    return game;
  }();
  return *g;
}

// A piece of the given type from the middle of the table on, out in the open
// where there is one (a city's garrison decides nothing); paras are seldom
// built, so one is put into a city when the game has none.
int FindPiece(Game& g, int type) {
  int found = -1;
  for (int k = 0; k < kPieceSlots; ++k) {
    int i = (k + kPieceSlots / 2) % kPieceSlots;
    if (g.pieces[i].type != type) continue;
    if (g.world.At(g.pieces[i].Pos()).topType != PieceType::City) return i;
    if (found < 0) found = i;
  }
  if (found >= 0 || type != PieceType::Para) return found;
  const int slot = FindFreeSlot(g.pieces);
  for (int city = 0; city < kPieceSlots && slot >= 0; ++city) {
    const PieceRecord& c = g.pieces[city];
    if (c.type != PieceType::City) continue;
    PieceRecord para = c;
    para.type = PieceType::Para;
    para.strength = 100;
    para.movesLeft = g.settings.moves[PieceType::Para];
    para.fuel = g.settings.fuel[PieceType::Para];
    para.state = PieceState::AwaitingOrders;
    g.pieces[slot] = para;
    RefreshCell(g, para.Pos());
    return slot;
  }
  return -1;
}

void BM_DecideComputerPiece(benchmark::State& st) {
  Game& g = MidGame();
  const int type = static_cast<int>(st.range(0));
  const int piece = FindPiece(g, type);
  if (piece < 0) {
    st.SkipWithError("no piece of this type in the game");
    return;
  }
  const PieceRecord saved = g.pieces[piece];
  const uint32_t rng = g.rng.State();
  const int16_t current = g.state.currentPiece, player = g.state.currentPlayer;
  g.state.currentPiece = static_cast<int16_t>(piece);
  g.state.currentPlayer = saved.owner;
  for (auto _ : st) {
    g.pieces[piece] = saved;
    g.rng.SetState(rng);
    DecideComputerPiece(g);
    benchmark::DoNotOptimize(g.pieces[piece]);
  }
  g.pieces[piece] = saved;
  g.rng.SetState(rng);
  g.state.currentPiece = current;
  g.state.currentPlayer = player;
}
BENCHMARK(BM_DecideComputerPiece)
    ->ArgName("type")
    ->Arg(PieceType::Army)
    ->Arg(PieceType::Destroyer)
    ->Arg(PieceType::Fighter)
    ->Arg(PieceType::Bomber)
    ->Arg(PieceType::Battleship)
    ->Arg(PieceType::Carrier)
    ->Arg(PieceType::Submarine)
    ->Arg(PieceType::Transport)
    ->Arg(PieceType::Para);

void BM_UpdateLandMassStatus(benchmark::State& st) {
  Game& g = MidGame();
  for (auto _ : st) {
    UpdateLandMassStatus(g, g.state.currentPlayer);
    benchmark::DoNotOptimize(g.landMasses);
  }
}
BENCHMARK(BM_UpdateLandMassStatus);

// Whole games from the Demo command to victory or the day limit.
void BM_DemoGame(benchmark::State& st) {
  int64_t days = 0, steps = 0;
  for (auto _ : st) {
    st.PauseTiming();
    auto g = StartDemo(static_cast<uint32_t>(st.range(0)));
    st.ResumeTiming();
    do {
      AdvanceGame(*g);
      ++steps;
    } while (g->state.gameActive == 1 && g->state.day < kDayLimit);
    days += g->state.day;
  }
  st.counters["days/s"] = benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
  st.counters["steps/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
  st.counters["days"] = benchmark::Counter(static_cast<double>(days), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DemoGame)->ArgName("seed")->DenseRange(1, 6)->Unit(benchmark::kMillisecond);

// Seeds 1 to 50 played to their winner (or day 400, as vortan-sim demo does),
// each timed in process CPU seconds: the median, the 90th percentile and the
// slowest game, how many games took 0.1 s or more, and the steps a second
// over all of them. A game's time is the fastest of three plays of it:
// whatever else the machine runs can only slow a play down, and the slowest
// of fifty single plays would measure the machine's worst moment instead of
// the game. One iteration is all the plays.
void BM_FiftyDemoGames(benchmark::State& st) {
  constexpr int kSeeds = 50;
  constexpr int kPlays = 3;
  constexpr int kDays = 400;
  std::array<double, kSeeds> seconds{};
  int64_t steps = 0;
  double total = 0;
  for (auto _ : st) {
    seconds.fill(std::numeric_limits<double>::max());
    for (int play = 0; play < kPlays; ++play) {
      for (int seed = 1; seed <= kSeeds; ++seed) {
        st.PauseTiming();
        auto g = StartDemo(static_cast<uint32_t>(seed));
        st.ResumeTiming();
        const std::clock_t start = std::clock();
        do {
          AdvanceGame(*g);
          ++steps;
        } while (g->state.gameActive == 1 && g->state.day < kDays);
        const double s = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        double& fastest = seconds[static_cast<std::size_t>(seed - 1)];
        fastest = std::min(fastest, s);
        total += s;
      }
    }
  }
  std::sort(seconds.begin(), seconds.end());
  st.counters["median_s"] = seconds[kSeeds / 2 - 1];
  st.counters["p90_s"] = seconds[kSeeds * 9 / 10 - 1];
  st.counters["max_s"] = seconds[kSeeds - 1];
  st.counters["over_0.1s"] =
      static_cast<double>(std::count_if(seconds.begin(), seconds.end(), [](double s) { return s >= 0.1; }));
  st.counters["steps/s"] = static_cast<double>(steps) / total;
}
BENCHMARK(BM_FiftyDemoGames)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace vortan
