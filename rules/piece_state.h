// SPDX-License-Identifier: GPL-3.0-or-later
// A player's own pieces outside their moves: sending them to sleep, waking
// them and choosing the one that takes the next order.
#pragma once
#include "model/game.h"

namespace vortan {
// Forgets the piece's go-to destination: it stays where it is.
void ClearDestination(PieceRecord& p);
// The piece sleeps where it stands, skipped by the turn until woken.
void SleepPiece(Game& g, int piece);
// Wakes one record (cities and empty slots are left alone); a returning
// aircraft keeps flying home so that waking does not strand it.
void WakePiece(Game& g, int piece);
// The piece the player's next order goes to; nothing is redrawn.
void SetCurrentPiece(Game& g, int piece);
}  // namespace vortan
