#include "worldgen/new_game.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
int NewGameCommand(Game& g) { std::abort(); }
void DemoCommand(Game& g) { std::abort(); }
int StartGeneratedGame(Game& g) { std::abort(); }
void SetUpGameView(Game& g) { std::abort(); }
bool ApplyPieceAttributes(Game& g, const PieceAttributeInput& in) { std::abort(); }
}  // namespace vortan
