// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/game.h"

namespace vortan {
// The attacker (a piece of the current player) strikes the target cell.
void ResolveAttack(Game& g, int attacker, MapPos target);
}  // namespace vortan
