#include "ai/computer_turn.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void UpdateLandMassStatus(Game& g, int player) { std::abort(); }
int LandParasIfUseful(Game& g) { std::abort(); }
void DecideComputerPiece(Game& g) { std::abort(); }
}  // namespace vortan
