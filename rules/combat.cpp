#include "rules/combat.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void ResolveAttack(Game& g, int attacker, MapPos target) { std::abort(); }
}  // namespace vortan
