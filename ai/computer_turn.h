// SPDX-License-Identifier: GPL-3.0-or-later
// The computer player's decisions.
#pragma once
#include "model/game.h"

namespace vortan {
// Rates each land mass for the player: secure, open, being taken or contested.
void UpdateLandMassStatus(Game& g, int player);
// The same where the caller knows the slots from slotsInUse on to be empty.
void UpdateLandMassStatus(Game& g, int player, int slotsInUse);
// Lands the current paratroops as an army when their land mass is still to
// be won; 1 when they landed.
int LandParasIfUseful(Game& g);
// Picks the current piece's destination from its rule and the enemies in reach.
void DecideComputerPiece(Game& g);
}  // namespace vortan
