// Movement, fuel, refuel maps and the orders a human gives the current piece.
#pragma once
#include "model/game.h"

namespace vortan {
void PerformStep(Game& g, int piece, int x, int y);
bool CheckAircraftFuel(Game& g, int piece);
void RecomputeRefuelMaps(Game& g);
void RecomputeFighterMap(Game& g);
// Turns the piece east or west when the target lies one column that way.
void SetFacingToward(const Game& g, PieceRecord& p, MapPos target);
}  // namespace vortan
