#include "rules/movement.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void PerformStep(Game& g, int piece, int x, int y) { std::abort(); }
bool CheckAircraftFuel(Game& g, int piece) { std::abort(); }
void RecomputeRefuelMaps(Game& g) { std::abort(); }
void RecomputeFighterMap(Game& g) { std::abort(); }
}  // namespace vortan
