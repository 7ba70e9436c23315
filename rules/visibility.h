#pragma once
#include "model/game.h"

namespace vortan {
void UpdateSight(Game& g, int piece, MapPos previous, bool redraw);
void MarkSeen(Game& g, MapPos cell, int dx, int dy);
bool IsSightBlocked(const Game& g, int dx, int dy, MapPos piecePos, int pieceType);
}  // namespace vortan
