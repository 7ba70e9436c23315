// SPDX-License-Identifier: GPL-3.0-or-later
// The idle-driven game step and the choice of the piece that moves.
#pragma once
#include "model/game.h"

namespace vortan {
// One step of the running game, called while idle: finds a piece that can
// move (passing turns and days as needed) and lets it take one step or decision.
void AdvanceGame(Game& g);
// Whether the piece belongs to the player on turn and may still move today.
bool CanMove(const Game& g, int piece);
// Whether an army is walled in by sea, mountains and its owner's own armies.
bool IsArmyBoxedIn(const Game& g, int piece);
// Makes the next piece that can move current, ending turns (and days) until
// one is found or the game stops; `later` skips the nearest-piece choice.
void NextPiece(Game& g, bool later);
// Makes another piece of the player on turn current: for a human the nearest
// to the last one selected, else the next in table order (`later` forces
// table order). False when no piece of the player can move.
bool SelectNewPiece(Game& g, bool later);
// Passes the turn to the next player taking part and prepares it: wakes,
// repairs, refuels, produces and gives each piece its moves.
void StartPlayerTurn(Game& g);
// Counts a new day (saving every seventh) and repaints the day's windows.
void StartNewDay(Game& g);
// Gives the window to the player on turn: prompts and switches the view for
// a human, or greys the orders for a computer.
void HandOverTurn(Game& g);
// A day's repair: a third of the damage is mended.
void RepairPiece(Game& g, int piece);
// The cell of the piece selected last, where the search for the nearest piece starts.
MapPos LastSelectedPos(const Game& g);
}  // namespace vortan
