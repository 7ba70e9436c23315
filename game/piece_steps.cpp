// SPDX-License-Identifier: GPL-3.0-or-later
// The two per-step handlers the turn loop calls for a piece under a go-to
// order or on its way home: the route search picks the step, the rules take it.
#include "game/piece_steps.h"

#include <algorithm>
#include <array>

#include "ai/route_finding.h"
#include "rules/movement.h"

namespace vortan {

namespace {

void StopOrder(PieceRecord& p) {
  p.destX = p.x;
  p.destY = p.y;
}

void TurnHome(Game& g, PieceRecord& p) {
  g.ui().EraseGotoLine();
  p.state = PieceState::Returning;
}

// An aircraft turns home rather than take a step it could not fly back from.
bool AircraftTurnsHome(Game& g, int piece, MapPos step) {
  const PieceRecord& p = g.pieces[piece];
  const MapCell& onto = g.world.At(step);
  if (p.type == PieceType::Fighter) {
    const bool enemyThere = onto.topType != PieceType::None && onto.topOwner != g.state.currentPlayer;
    if (g.world.At(p.x, p.y).fighterRange > p.fuel - 1 && enemyThere) return true;
    return !FighterCanAffordStep(g, piece, step.x, step.y);
  }
  if (p.type == PieceType::Bomber || p.type == PieceType::Para) return onto.bomberRange > p.fuel - 1;
  return false;
}

bool HasArrived(const Game& g, int piece) {
  const PieceRecord& p = g.pieces[piece];
  if (IsShipType(p.type)) return IsNextToOwnCity(g.pieces, g.settings, piece);
  const int top = g.world.At(p.x, p.y).topType;
  return top == PieceType::City || (p.type == PieceType::Fighter && top == PieceType::Carrier);
}

// A ship lands beside a city, on the last sea cell of the city's block.
bool LandingCell(const Game& g, const PieceRecord& city, MapPos& landing) {
  bool found = false;
  ForEachInBlock3(g.settings, city.x, city.y, [&](int x, int y) {
    if (g.world.At(x, y).terrain != Terrain::Sea) return;
    landing = MapPos{static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
    found = true;
  });
  return found;
}

// How far round a returning piece its own cities are looked for on the map
// before the whole table is walked: they are seldom further.
constexpr int kNearbyCityRadius = 7;

// The table slot of the city on the cell.
int CitySlotAt(const Game& g, int x, int y) {
  int slot = kPieceSlots;
  g.occupancy.ForEachAt(g.pieces, x, y, [&](int i, const PieceRecord& r) {
    if (r.type == PieceType::City) slot = i;
  });
  return slot;
}

// The nearest own city within kNearbyCityRadius of the cell, found square by
// square outward on the map, where every city shows on top of its cell; ties
// keep the earlier city in the table. Every cell of the squares lies at its
// own distance, as the squares never wrap onto themselves. Returns the
// distance, -1 when no city is that near.
int NearbyCity(const Game& g, MapPos from, MapPos& best) {
  const int radius = std::min(kNearbyCityRadius, (std::min(g.Width(), g.Height()) - 1) / 2);
  std::array<uint8_t, 2 * kNearbyCityRadius + 1> xs, ys;
  WrapSpan(from.x, radius, g.Width(), xs.data());
  WrapSpan(from.y, radius, g.Height(), ys.data());
  const int player = g.state.currentPlayer;
  for (int d = 0; d <= radius; ++d) {
    int bestSlot = kPieceSlots;
    const auto consider = [&](int i, int j) {
      const MapCell& c = g.world.At(xs[i], ys[j]);
      if (c.topType != PieceType::City || c.topOwner != player) return;
      const int slot = CitySlotAt(g, xs[i], ys[j]);
      if (slot >= bestSlot) return;
      bestSlot = slot;
      best = MapPos{xs[i], ys[j]};
    };
    const int lo = radius - d, hi = radius + d;
    for (int i = lo; i <= hi; ++i) {
      consider(i, lo);
      if (hi != lo) consider(i, hi);
    }
    for (int j = lo + 1; j < hi; ++j) {
      consider(lo, j);
      consider(hi, j);
    }
    if (bestSlot < kPieceSlots) return d;
  }
  return -1;
}

// The nearest own city (for a ship, its landing cell); ties keep the earlier
// city. Returns the distance, the world's width when there is none.
int NearestRefuge(const Game& g, int piece, MapPos& best) {
  const PieceRecord& p = g.pieces[piece];
  const bool ship = IsShipType(p.type);
  if (!ship) {
    const int near = NearbyCity(g, p.Pos(), best);
    if (near >= 0) return near;
  }
  int bestDistance = g.Width();
  best = p.Pos();
  for (const PieceRecord& city : g.pieces.slots) {
    if (city.type != PieceType::City || city.owner != g.state.currentPlayer) continue;
    MapPos cell = city.Pos();
    if (ship && !LandingCell(g, city, cell)) continue;
    const int d = WrapDistance(g.settings, p.Pos(), cell);
    if (d < bestDistance) {
      bestDistance = d;
      best = cell;
    }
  }
  return bestDistance;
}

}  // namespace

void GoToStep(Game& g, int piece) {
  PieceRecord& p = g.pieces[piece];
  const std::optional<MapPos> found = FindRouteStep(g, piece, p.Pos(), p.Dest());
  if (!found || *found == p.Pos()) {
    if (!IsComputerControlled(g, g.state.currentPlayer)) g.ui().ReportNoRoute(piece, p.Dest());
    StopOrder(p);
    if (IsComputerControlled(g, g.state.currentPlayer)) p.movesLeft = 0;
    return;
  }
  const MapPos step = *found;
  if (AircraftTurnsHome(g, piece, step)) {
    TurnHome(g, p);
    return;
  }
  PerformStep(g, piece, step.x, step.y);
}

void ReturnStep(Game& g, int piece) {
  PieceRecord& p = g.pieces[piece];
  if (HasArrived(g, piece)) {
    if (g.app.endTurnRequested == 0) {
      p.state = PieceState::AwaitingOrders;
      g.ui().KeepPieceInView();
      StopOrder(p);
    } else {
      p.movesLeft = 0;
    }
    return;
  }
  MapPos refuge;
  MapPos step = p.Pos();
  // With no refuge at all the piece stays put and spends its moves (and fuel).
  if (NearestRefuge(g, piece, refuge) < g.Width()) {
    p.destX = refuge.x;
    p.destY = refuge.y;
    const std::optional<MapPos> found = FindRouteStep(g, piece, p.Pos(), refuge);
    if (!found) {
      if (!IsComputerControlled(g, g.state.currentPlayer)) g.ui().ReportNoHome(piece);
      p.movesLeft = 0;
      return;
    }
    step = *found;
  } else if (!IsComputerControlled(g, g.state.currentPlayer)) {
    g.ui().ReportNoHome(piece);
  }
  PerformStep(g, piece, step.x, step.y);
}

}  // namespace vortan
