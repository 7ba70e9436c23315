// SPDX-License-Identifier: GPL-3.0-or-later
// The cell tests seen from outside the search.
#include "ai/route_finding.h"

#include "ai/route_cells.h"

namespace vortan {

bool IsRoutePassable(Game& g, int piece, int x, int y) {
  PiecesByCell at(g);
  return RoutePassable(g, piece, x, y, at);
}

bool CanEnterCell(Game& g, int piece, int x, int y) {
  PiecesByCell at(g);
  return EnterableCell(g, piece, x, y, at);
}

bool TransportCanTakeArmy(Game& g, int piece, int x, int y) {
  PiecesByCell at(g);
  return TransportTakesArmy(g, piece, x, y, at);
}

bool FighterCanAffordStep(const Game& g, int piece, int x, int y) {
  const PieceRecord& p = g.pieces[piece];
  const int fuelAfter = p.fuel - WrapDistance(g.settings, p.x, p.y, x, y);
  return g.world.At(x, y).fighterRange <= fuelAfter;
}

}  // namespace vortan
