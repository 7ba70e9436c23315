// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of pieces that move on their own: under a go-to order, or
// returning to the nearest own city (or, for a ship, beside it).
#pragma once
#include "model/game.h"

namespace vortan {
// One step towards the destination; stops the order when there is no way.
void GoToStep(Game& g, int piece);
// One step towards the nearest refuge; awaits orders once there.
void ReturnStep(Game& g, int piece);
}  // namespace vortan
