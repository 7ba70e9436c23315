#include "rules/elimination.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void CheckElimination(Game& g) { std::abort(); }
}  // namespace vortan
