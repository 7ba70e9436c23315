// SPDX-License-Identifier: GPL-3.0-or-later
// Movement, fuel and refuel maps.
#pragma once
#include <cstdint>
#include <span>

#include "model/game.h"

namespace vortan {
// Moves the piece onto a neighbouring cell: an attack when another player
// holds it, the taking of a neutral city by an army, else a plain move.
void PerformStep(Game& g, int piece, int x, int y);
// Tops an aircraft up when it stands on a base it may refuel at (a city, or
// a carrier for a fighter); returns whether it has fuel left.
bool RefuelAircraft(Game& g, int piece);
// Each cell's distance to the nearest city (and safe city) of the player on
// turn, for bombers, then the fighters' map.
void RecomputeRefuelMaps(Game& g);
// The same from the player's slots, listed in table order, where the caller
// has that list at hand: the walk over the whole table is spared.
void RecomputeRefuelMaps(Game& g, std::span<const int16_t> ownSlots);
// The fighters' distances to a base: the cities', lowered near the player's carriers.
void RecomputeFighterMap(Game& g);
// Turns the piece east or west when the target lies one column that way.
void SetFacingToward(const Game& g, PieceRecord& p, MapPos target);
}  // namespace vortan
