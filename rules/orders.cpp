#include "rules/orders.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void OrderGoTo(Game& g, MapPos dest) { std::abort(); }
void OrderSleep(Game& g) { std::abort(); }
void OrderLater(Game& g) { std::abort(); }
void OrderFinished(Game& g) { std::abort(); }
void OrderReturn(Game& g) { std::abort(); }
void OrderDrop(Game& g) { std::abort(); }
void OrderEndTurn(Game& g) { std::abort(); }
void OrderSurrender(Game& g) { std::abort(); }
void WakePiece(Game& g, int piece) { std::abort(); }
}  // namespace vortan
