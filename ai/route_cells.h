// SPDX-License-Identifier: GPL-3.0-or-later
// The cell tests of the route search, answering "who stands here" from a shared
// index so that one search builds it once. The public functions in
// route_finding.h are these with an index of their own.
#pragma once

#include "ai/pieces_by_cell.h"
#include "model/game.h"

namespace vortan {

bool RoutePassable(Game& g, int piece, int x, int y, PiecesByCell& at);
bool EnterableCell(Game& g, int piece, int x, int y, PiecesByCell& at);
bool TransportTakesArmy(Game& g, int piece, int x, int y, PiecesByCell& at);

}  // namespace vortan
