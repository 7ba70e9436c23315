// The idle-driven game step and the choice of the piece that moves.
#pragma once
#include "model/game.h"

namespace vortan {
void AdvanceGame(Game& g);
bool CanMove(const Game& g, int piece);
bool IsArmyBoxedIn(const Game& g, int piece);
void NextPiece(Game& g, bool later);
bool FindNewPiece(Game& g, bool later);
void StartPlayerTurn(Game& g);
void StartNewDay(Game& g);
void HandOverTurn(Game& g);
void RepairPiece(Game& g, int piece);
MapPos LastSelectedPos(const Game& g);
}  // namespace vortan
