// SPDX-License-Identifier: GPL-3.0-or-later
// Sanity checks of a running game, called after every step by tests and debug runs.
#pragma once
#include <string>
#include "model/game.h"

namespace vortan {
// Empty string when every invariant holds; otherwise a description of the first broken one.
std::string CheckInvariants(const Game& g);
}  // namespace vortan
