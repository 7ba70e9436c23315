#include "rules/production.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void ResetBuildTime(Game& g, int city) { std::abort(); }
void ChooseProduction(Game& g, int city) { std::abort(); }
void ComputerChooseProduction(Game& g, int city) { std::abort(); }
void RunCityProduction(Game& g, int city) { std::abort(); }
}  // namespace vortan
