#pragma once
#include "model/game.h"

namespace vortan {
void CheckElimination(Game& g);
}  // namespace vortan
