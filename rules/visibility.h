// SPDX-License-Identifier: GPL-3.0-or-later
// What each player has explored and sees now.
#pragma once
#include "model/game.h"

namespace vortan {
// Marks what the piece sees from its cell after a move from `previous`,
// stopping a go-to order at news, and redraws the changed cells if asked.
void UpdateSight(Game& g, int piece, MapPos previous, bool redraw);
// The player on turn explores the cell and sees it (a foreign submarine only
// from right beside it); dx, dy is the cell's offset from the onlooker.
void MarkSeen(Game& g, MapPos cell, int dx, int dy);
}  // namespace vortan
