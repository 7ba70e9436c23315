// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one turn start (StartPlayerTurn) for a player with 100 pieces on a
// full-size 70 x 70 world: 10 cities, armies, aircraft and ships, some of them
// damaged, waiting or low on fuel, on day 10 so that the cities count down.
// Each iteration starts from the same records. Run with
// --benchmark_repetitions to get the median.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/turn_loop.h"
#include "model/piece_types.h"

namespace {

using namespace vortan;

constexpr int kSide = 70;
constexpr int kPlayer = 1;

int Put(Game& g, int type, int owner, int x, int y) {
  const int slot = FindFreeSlot(g.pieces);
  PieceRecord& r = g.pieces[slot];
  r = PieceRecord{};
  r.type = static_cast<uint8_t>(type);
  r.owner = static_cast<uint8_t>(owner);
  r.x = r.destX = static_cast<uint8_t>(x);
  r.y = r.destY = static_cast<uint8_t>(y);
  r.strength = 100;
  r.fuel = g.settings.fuel[type];
  if (type == PieceType::City) {
    r.production = PieceType::Army;
    r.daysLeft = static_cast<uint8_t>(1 + slot % 3);  // some cities finish a piece this turn
  }
  return slot;
}

// Land in the west half (x < 35), sea in the east; every land cell on land mass 1.
std::unique_ptr<Game> BuildGame(uint8_t kind) {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->settings.width = g->settings.height = kSide;
  g->settings.landMassCount = 1;
  g->settings.kind = {PlayerKind::Human, kind, PlayerKind::Out, PlayerKind::Out, PlayerKind::Out, PlayerKind::Out};
  for (int x = 0; x < kSide; ++x)
    for (int y = 0; y < kSide; ++y) {
      MapCell& c = g->world.At(x, y);
      c.terrain = x < 35 ? Terrain::Land : Terrain::Sea;
      c.landMass = x < 35 ? 1 : 0;
      c.explored = 3;
    }
  g->world.At(3, 60).terrain = Terrain::City;
  for (int k = 0; k < 5; ++k) Put(*g, PieceType::City, 0, 2 + k * 6, 2);
  Random rng(4242);
  for (int k = 0; k < 10; ++k) Put(*g, PieceType::City, kPlayer, 3 + k * 3, 30 + (k % 3));
  for (int k = 0; k < 40; ++k) Put(*g, PieceType::Army, kPlayer, rng.Mod(35), 20 + rng.Mod(30));
  for (int k = 0; k < 15; ++k) Put(*g, PieceType::Fighter, kPlayer, rng.Mod(kSide), rng.Mod(kSide));
  for (int k = 0; k < 5; ++k) Put(*g, PieceType::Bomber, kPlayer, rng.Mod(kSide), rng.Mod(kSide));
  static constexpr int kShips[] = {PieceType::Destroyer, PieceType::Transport, PieceType::Submarine,
                                   PieceType::Battleship, PieceType::Carrier};
  for (int k = 0; k < 30; ++k) Put(*g, kShips[k % 5], kPlayer, 36 + rng.Mod(34), rng.Mod(kSide));
  for (int i = 0; i < kPieceSlots; ++i) {
    PieceRecord& r = g->pieces[i];
    if (r.IsEmpty() || r.owner != kPlayer || r.type == PieceType::City) continue;
    r.strength = static_cast<int16_t>(20 + rng.Mod(81));
    r.state = static_cast<uint8_t>(rng.Mod(3) == 0 ? PieceState::AwaitingOrders : PieceState::Ready);
    if (IsAirType(r.type)) r.fuel = static_cast<int16_t>(rng.Mod(15));
  }
  RefreshAllCells(*g);
  g->state.day = 10;
  g->state.currentPlayer = 0;
  g->state.gameActive = 1;
  return g;
}

void CopyRecords(const Game& from, Game& to) {
  to.settings = from.settings;
  to.state = from.state;
  to.pieces = from.pieces;
  to.world = from.world;
  to.landMasses = from.landMasses;
  to.occupancy.Rebuild(to.pieces);
}

void RunTurnStarts(benchmark::State& state, uint8_t kind) {
  const std::unique_ptr<Game> start = BuildGame(kind);
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  for (auto _ : state) {
    state.PauseTiming();
    CopyRecords(*start, *g);
    state.ResumeTiming();
    StartPlayerTurn(*g);
    benchmark::DoNotOptimize(g->pieces);
  }
}

void BM_StartPlayerTurnHuman100(benchmark::State& state) { RunTurnStarts(state, PlayerKind::Human); }
void BM_StartPlayerTurnComputer100(benchmark::State& state) { RunTurnStarts(state, PlayerKind::Computer); }

BENCHMARK(BM_StartPlayerTurnHuman100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartPlayerTurnComputer100)->Unit(benchmark::kMicrosecond);

}  // namespace
