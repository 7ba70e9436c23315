#include "rules/visibility.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
void UpdateSight(Game& g, int piece, MapPos previous, bool redraw) { std::abort(); }
void MarkSeen(Game& g, MapPos cell, int dx, int dy) { std::abort(); }
bool IsSightBlocked(const Game& g, int dx, int dy, MapPos piecePos, int pieceType) { std::abort(); }
}  // namespace vortan
