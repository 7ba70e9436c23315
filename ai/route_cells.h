// SPDX-License-Identifier: GPL-3.0-or-later
// The cell tests of the route search, answering "who stands here" from the
// game's cell index. The public functions in route_finding.h are these.
#pragma once

#include "ai/pieces_by_cell.h"
#include "model/game.h"

namespace vortan {

// Whether a route of the piece may lead through the cell: cells its player has
// not explored are open to the computer and closed to a human's pieces.
bool RoutePassable(Game& g, int piece, int x, int y, PiecesByCell& at);
// Whether the piece may step onto the cell: a visible enemy only when it is the
// piece's destination and can be attacked, else by the ground rules of its kind.
bool EnterableCell(Game& g, int piece, int x, int y, PiecesByCell& at);
// Whether the army may board an own transport with room on the sea cell, next
// to its home land mass. A human's current piece is put to sleep when a ride is
// found, so the army waits aboard for its player.
bool TransportTakesArmy(Game& g, int piece, int x, int y, PiecesByCell& at);

}  // namespace vortan
