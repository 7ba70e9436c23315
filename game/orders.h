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
bool OrderSleep(Game& g);
bool OrderLater(Game& g);
bool OrderFinished(Game& g);
bool OrderReturn(Game& g);
bool OrderDrop(Game& g);
void OrderEndTurn(Game& g);
void OrderSurrender(Game& g);
// A right click that opened no city: wakes the viewing player's pieces on the
// cell, then hands the turn to one of them that can still move.
void WakeCell(Game& g, MapPos cell);
}  // namespace vortan
