#pragma once
#include "model/game.h"

namespace vortan {
void UpdateLandMassStatus(Game& g, int player);
int LandParasIfUseful(Game& g);
void DecideComputerPiece(Game& g);
}  // namespace vortan
