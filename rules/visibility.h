#pragma once
#include "model/game.h"

namespace vortan {
void UpdateSight(Game& g, int piece, MapPos previous, bool redraw);
void MarkSeen(Game& g, MapPos cell, int dx, int dy);
}  // namespace vortan
