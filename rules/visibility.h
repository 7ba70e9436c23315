// SPDX-License-Identifier: GPL-3.0-or-later
// What each player has explored and sees now.
#pragma once
#include "model/game.h"

namespace vortan {
// Marks what the piece sees from its cell after a move from `previous`,
// stopping a go-to order at news, and redraws the changed cells if asked.
void UpdateSight(Game& g, int piece, MapPos previous, bool redraw);
}  // namespace vortan
