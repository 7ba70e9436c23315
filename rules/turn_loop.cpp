#include "rules/turn_loop.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void AdvanceGame(Game& g) { std::abort(); }
bool CanMove(const Game& g, int piece) { std::abort(); }
bool IsArmyBoxedIn(const Game& g, int piece) { std::abort(); }
void NextPiece(Game& g, bool later) { std::abort(); }
bool FindNewPiece(Game& g, bool later) { std::abort(); }
void StartPlayerTurn(Game& g) { std::abort(); }
void StartNewDay(Game& g) { std::abort(); }
void HandOverTurn(Game& g) { std::abort(); }
void RepairPiece(Game& g, int piece) { std::abort(); }
MapPos LastSelectedPos(const Game& g) { std::abort(); }
}  // namespace vortan
