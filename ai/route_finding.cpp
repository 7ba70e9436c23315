#include "ai/route_finding.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
int FindRouteStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY) { std::abort(); }
int GreedyStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY) { std::abort(); }
int IsRoutePassable(Game& g, int piece, int x, int y) { std::abort(); }
int CanEnterCell(Game& g, int piece, int x, int y) { std::abort(); }
int TransportCanTakeArmy(Game& g, int piece, int x, int y) { std::abort(); }
int FighterCanAffordStep(const Game& g, int piece, int x, int y) { std::abort(); }
void GoToStep(Game& g, int piece) { std::abort(); }
void ReturnStep(Game& g, int piece) { std::abort(); }
}  // namespace vortan
