// The computer's tactics, one rule per movable piece type. Each rule sets the
// window radius and scores the cells of the window; DecideComputerPiece then
// adds the enemies, discounts by distance and picks the best cell.
#pragma once

#include "ai/value_map.h"
#include "model/game.h"

namespace vortan {

// Applies the rule of the piece's type to a cleared map. Returns false when
// the rule settled the piece itself (a garrison army) and no destination is
// to be chosen.
bool ApplyPieceRule(Game& g, int piece, ValueMap& map);

// Marks the enemy at entry [a][b], everything beyond it as seen from the
// centre and k entries on the centre's side as threatened.
void PaintDanger(ValueMap& map, int a, int b, int k);

// Cells of the (2r + 1) x (2r + 1) square around (x, y) that the player has
// never explored, or does not see now.
int CountUnexplored(const Game& g, int player, int x, int y, int r);
int CountUnseen(const Game& g, int player, int x, int y, int r);

// True unless another army of the owner, on land of the same land mass, is
// strictly nearer to the cell.
bool IsNearestArmy(const Game& g, int army, int x, int y);

// Keeps a damaged ship in port or sends it there.
void ShipRepairBias(const Game& g, int ship, ValueMap& map);

}  // namespace vortan
