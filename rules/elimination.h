// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/game.h"

namespace vortan {
// Eliminates every player taking part who owns nothing any more, and ends
// the game when one player (or none) is left.
void CheckElimination(Game& g);
}  // namespace vortan
