// How fast the computer player decides, per piece type, and how fast whole
// demonstration games run headless.
#include <benchmark/benchmark.h>

#include <memory>

#include "ai/computer_turn.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "rules/turn_loop.h"
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

// A demo game played on until the given day, so every type has been built.
Game& MidGame() {
  static std::unique_ptr<Game> g = [] {
    auto game = StartDemo(3);
    while (game->state.gameActive == 1 && game->state.day < 60) AdvanceGame(*game);
    return game;
  }();
  return *g;
}

// The piece of the given type with the most to look at: the first one found
// from the middle of the table, so early and late pieces both get a turn.
int FindPiece(const Game& g, int type) {
  for (int k = 0; k < kPieceSlots; ++k) {
    int i = (k + kPieceSlots / 2) % kPieceSlots;
    if (g.pieces[i].type == type) return i;
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

}  // namespace
}  // namespace vortan
