// SPDX-License-Identifier: GPL-3.0-or-later
// Route finding for pieces on a go-to or return order. They take the game
// writable only because a human's army that finds a transport to board is put
// to sleep on the spot; nothing else changes.
#pragma once
#include <optional>

#include "model/game.h"

namespace vortan {
// The first step of the piece's route from `from` towards `to` (the nearest
// reachable cell toward it when `to` itself cannot be reached); none when the
// piece cannot get any closer.
std::optional<MapPos> FindRouteStep(Game& g, int piece, MapPos from, MapPos to);
// A neighbour the piece may enter that is nearer to `to`; none when there is none.
std::optional<MapPos> GreedyStep(Game& g, int piece, MapPos from, MapPos to);
// Whether a route of the piece may lead through the cell.
bool IsRoutePassable(Game& g, int piece, int x, int y);
// Whether the piece may step onto the cell (its kind of ground, or a base, a
// transport or an enemy to attack).
bool CanEnterCell(Game& g, int piece, int x, int y);
// Whether the army may board a transport of its owner on the cell.
bool TransportCanTakeArmy(Game& g, int piece, int x, int y);
// Whether the fighter still has the fuel to get back to a base after stepping onto the cell.
bool FighterCanAffordStep(const Game& g, int piece, int x, int y);
}  // namespace vortan
