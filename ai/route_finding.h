#pragma once
#include "model/game.h"

namespace vortan {
int FindRouteStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY);
int GreedyStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY);
int IsRoutePassable(Game& g, int piece, int x, int y);
int CanEnterCell(Game& g, int piece, int x, int y);
int TransportCanTakeArmy(Game& g, int piece, int x, int y);
int FighterCanAffordStep(const Game& g, int piece, int x, int y);
}  // namespace vortan
