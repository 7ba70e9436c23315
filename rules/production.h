#pragma once
#include "model/game.h"

namespace vortan {
void ResetBuildTime(Game& g, int city);
void ChooseProduction(Game& g, int city);
void ComputerChooseProduction(Game& g, int city);
// The production step of one city at its owner's turn start.
void RunCityProduction(Game& g, int city);
}  // namespace vortan
