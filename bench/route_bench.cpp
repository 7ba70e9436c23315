// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one route step on a full-size world: 70 x 70 cells, a continent
// broken by mountains and lakes, islands in the ocean, and a few hundred pieces
// of four computer players. Each case asks for a step toward a destination
// beyond the wave's reach, so the target slides back and the wave runs out to
// its full 19 steps. Run with --benchmark_repetitions to get the median.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "ai/route_finding.h"
#include "model/piece_types.h"

namespace {

using namespace vortan;

constexpr int kSide = 70;

void NumberLandMasses(Game& g) {
  auto isLand = [&](int x, int y) {
    const int t = g.world.At(x, y).terrain;
    return t == Terrain::Land || t == Terrain::City;
  };
  int count = 0;
  std::vector<MapPos> todo;
  for (int x = 0; x < kSide; ++x)
    for (int y = 0; y < kSide; ++y) {
      if (!isLand(x, y) || g.world.At(x, y).landMass != 0) continue;
      g.world.At(x, y).landMass = static_cast<uint8_t>(++count);
      todo.push_back(MapPos{static_cast<uint8_t>(x), static_cast<uint8_t>(y)});
      while (!todo.empty()) {
        const MapPos p = todo.back();
        todo.pop_back();
        ForEachInBlock3(g.settings, p.x, p.y, [&](int nx, int ny) {
          if (!isLand(nx, ny) || g.world.At(nx, ny).landMass != 0) return;
          g.world.At(nx, ny).landMass = static_cast<uint8_t>(count);
          todo.push_back(MapPos{static_cast<uint8_t>(nx), static_cast<uint8_t>(ny)});
        });
      }
    }
  g.settings.landMassCount = static_cast<uint8_t>(count);
}

int Put(Game& g, int type, int owner, int x, int y) {
  const int slot = FindFreeSlot(g.pieces);
  PieceRecord& r = g.pieces[slot];
  r = PieceRecord{};
  r.type = static_cast<uint8_t>(type);
  r.owner = static_cast<uint8_t>(owner);
  r.x = r.destX = static_cast<uint8_t>(x);
  r.y = r.destY = static_cast<uint8_t>(y);
  r.strength = 100;
  r.movesLeft = g.settings.moves[type];
  r.fuel = g.settings.fuel[type];
  return slot;
}

// Continent x 4..40, y 4..44 with mountains and lakes; islands in the ocean;
// 300 pieces spread over land and sea.
std::unique_ptr<Game> BuildWorld() {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->settings.width = g->settings.height = kSide;
  g->settings.kind = {PlayerKind::Computer, PlayerKind::Computer, PlayerKind::Computer,
                      PlayerKind::Computer, PlayerKind::Out,      PlayerKind::Out};
  Random rng(12345);
  for (int x = 4; x <= 40; ++x)
    for (int y = 4; y <= 44; ++y) {
      const int roll = rng.Mod(100);
      g->world.At(x, y).terrain = roll < 12 ? Terrain::Mountain : roll < 16 ? Terrain::Sea : Terrain::Land;
    }
  for (int island = 0; island < 25; ++island) {
    const int cx = 44 + rng.Mod(24), cy = rng.Mod(kSide);
    for (int k = 0; k < 6; ++k)
      g->world.At((cx + rng.Mod(3)) % kSide, (cy + rng.Mod(3)) % kSide).terrain = Terrain::Land;
  }
  for (int x = 30; x <= 34; ++x)
    for (int y = 28; y <= 32; ++y) g->world.At(x, y).terrain = Terrain::Sea;  // an inland lake
  NumberLandMasses(*g);
  for (MapCell& c : g->world.cells) {
    c.explored = 0x3F;
    c.fighterRange = c.bomberRange = 3;
  }
  int placed = 0;
  while (placed < 300) {
    const int x = rng.Mod(kSide), y = rng.Mod(kSide), owner = rng.Mod(4);
    const int terrain = g->world.At(x, y).terrain;
    if (terrain == Terrain::Mountain) continue;
    static constexpr int kLandTypes[] = {PieceType::City, PieceType::Army, PieceType::Army, PieceType::Fighter};
    static constexpr int kSeaTypes[] = {PieceType::Destroyer,  PieceType::Transport, PieceType::Submarine,
                                        PieceType::Battleship, PieceType::Carrier,   PieceType::Fighter};
    const int type = terrain == Terrain::Sea ? kSeaTypes[rng.Mod(6)] : kLandTypes[rng.Mod(4)];
    Put(*g, type, owner, x, y);
    ++placed;
  }
  for (int i = 0; i < kPieceSlots; ++i)
    if (!g->pieces[i].IsEmpty())
      g->world.At(g->pieces[i].Pos()).visible |= static_cast<uint8_t>(1 << g->pieces[i].owner);
  RefreshAllCells(*g);
  return g;
}

void RouteStep(benchmark::State& st, int type, MapPos from, MapPos to) {
  auto g = BuildWorld();
  if (type == PieceType::Army) g->world.At(from).terrain = Terrain::Land;
  if (IsShipType(type)) g->world.At(from).terrain = Terrain::Sea;
  const int piece = Put(*g, type, 0, from.x, from.y);
  RefreshCell(*g, from);
  g->state.currentPlayer = 0;
  g->state.currentPiece = static_cast<int16_t>(piece);
  int found = 0;
  for (auto _ : st) {
    g->pieces[piece].destX = to.x;
    g->pieces[piece].destY = to.y;
    const std::optional<MapPos> step = FindRouteStep(*g, piece, from, to);
    found += step.has_value() ? 1 : 0;
    benchmark::DoNotOptimize(step);
  }
  st.counters["found"] = benchmark::Counter(found, benchmark::Counter::kAvgIterations);
}

void BM_ArmyAcrossTheContinent(benchmark::State& st) { RouteStep(st, PieceType::Army, MapPos{6, 10}, MapPos{38, 40}); }
void BM_ShipAcrossTheOcean(benchmark::State& st) { RouteStep(st, PieceType::Destroyer, MapPos{50, 5}, MapPos{55, 40}); }
void BM_FighterOverLandAndSea(benchmark::State& st) {
  RouteStep(st, PieceType::Fighter, MapPos{20, 20}, MapPos{60, 50});
}
// The worst case: the destination is an inland lake the ship cannot reach, so
// all 19 waves run before the greedy step.
void BM_ShipIntoALake(benchmark::State& st) { RouteStep(st, PieceType::Destroyer, MapPos{52, 30}, MapPos{32, 30}); }

BENCHMARK(BM_ArmyAcrossTheContinent)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ShipAcrossTheOcean)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FighterOverLandAndSea)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ShipIntoALake)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
