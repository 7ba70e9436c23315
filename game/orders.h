// SPDX-License-Identifier: GPL-3.0-or-later
// The orders a human gives (menu, keys and map clicks call these). The order
// keys (Sleep, Later, Finished, Return, Drop) act on the current piece only
// while it awaits orders and the player on turn is Human; they return whether
// they applied. End turn and Surrender run after the player confirmed them.
#pragma once
#include "model/game.h"
#include "rules/piece_state.h"

namespace vortan {
// A left click on a cell: the current piece of a Human player heads there.
bool OrderGoTo(Game& g, MapPos dest);
// The piece sleeps until woken; an aircraft away from a base flies home instead.
bool OrderSleep(Game& g);
// The piece stays ready and the turn moves on to the next piece.
bool OrderLater(Game& g);
// The piece ends its moves for this turn; an aircraft away from a base flies home instead.
bool OrderFinished(Game& g);
// The piece is marked Returning: from now on it heads back to a base.
bool OrderReturn(Game& g);
// A para on open land lands and becomes an army; anything else is refused with a message.
bool OrderDrop(Game& g);
// Ends the viewing player's turn: every piece's moves are spent, except that
// aircraft still in the air fly home.
void OrderEndTurn(Game& g);
// Removes every piece of the viewing player (its cities become neutral) and
// checks whether that ends the game.
void OrderSurrender(Game& g);
// A right click that opened no city: wakes the viewing player's pieces on the
// cell, then hands the turn to one of them that can still move.
void WakeCell(Game& g, MapPos cell);
}  // namespace vortan
