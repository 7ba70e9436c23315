#pragma once
#include <array>
#include <string>
#include "model/game.h"

namespace vortan {
int NewGameCommand(Game& g);
void DemoCommand(Game& g);
int StartGeneratedGame(Game& g);
void SetUpGameView(Game& g);
// The Piece Attributes dialog's OK, given the nine boxes and the raw field texts
// in type-code order (index 1..9). Returns false and shows the message when the
// in-use set is invalid.
struct PieceAttributeInput {
  std::array<bool, kTypeCount> use{};
  std::array<std::string, kTypeCount> days, moves, fuel;
};
bool ApplyPieceAttributes(Game& g, const PieceAttributeInput& in);
}  // namespace vortan
