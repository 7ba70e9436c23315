// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/game.h"

namespace vortan {
// What the city builds from now on; the build time is left to ResetBuildTime,
// so a choice taken back before it is confirmed costs no work.
void SetCityProduction(Game& g, int city, int type);
// Starts the city's build over: the type's days, stretched or shortened for
// a computer by the difficulty.
void ResetBuildTime(Game& g, int city);
// Lets the owner choose what the city builds: the City dialog for a human,
// the computer's choice otherwise.
void ChooseProduction(Game& g, int city);
// The computer player's choice of what the city builds.
void ComputerChooseProduction(Game& g, int city);
// The production step of one city at its owner's turn start.
void RunCityProduction(Game& g, int city);
}  // namespace vortan
