// SPDX-License-Identifier: GPL-3.0-or-later
// Time to generate a world, attempts included, over a run of seeds: the
// largest world with the most land, and the smallest New Game world with the
// least. Run with --benchmark_repetitions to get the median.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/piece_types.h"
#include "worldgen/world_generator.h"

namespace {

using namespace vortan;

void GenerateWorlds(benchmark::State& st, int side, int land) {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->settings.width = g->settings.height = static_cast<uint8_t>(side);
  g->settings.landAmount = static_cast<uint8_t>(land);
  g->settings.difficulty = Difficulty::Easy;
  g->settings.kind = {PlayerKind::Human,    PlayerKind::Computer, PlayerKind::Computer,
                      PlayerKind::Computer, PlayerKind::Out,      PlayerKind::Out};
  uint32_t seed = 0;
  int failures = 0;
  for (auto _ : st) {
    g->rng.SetState(seed++ * 2654435761u);
    const int n = GenerateWorld(*g, g->settings, g->state);
    failures += n == 0;
    benchmark::DoNotOptimize(n);
  }
  st.counters["failures"] = failures;
}

void BM_World70LotsMore(benchmark::State& st) { GenerateWorlds(st, 70, 4); }
void BM_World50MuchLess(benchmark::State& st) { GenerateWorlds(st, 50, 0); }

BENCHMARK(BM_World70LotsMore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_World50MuchLess)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
