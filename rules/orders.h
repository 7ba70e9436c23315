// The orders a human gives the current piece (menu, keys and map clicks call these).
#pragma once
#include "model/game.h"

namespace vortan {
void OrderGoTo(Game& g, MapPos dest);
void OrderSleep(Game& g);
void OrderLater(Game& g);
void OrderFinished(Game& g);
void OrderReturn(Game& g);
void OrderDrop(Game& g);
void OrderEndTurn(Game& g);      // after the player confirmed the question
void OrderSurrender(Game& g);    // after the player confirmed the question
void WakePiece(Game& g, int piece);
}  // namespace vortan
