// SPDX-License-Identifier: GPL-3.0-or-later
// What the viewing player sees of the world and the options kept for each
// player: the view centre, the zoom level, the hidden map, Auto Play and
// Move Memory. These are stored with the game.
#pragma once
#include "model/game.h"

namespace vortan {
// Centres the map view on the cell.
void CentreView(Game& g, int x, int y);
// Moves the view centre by whole cells, wrapping round the world.
void ScrollView(Game& g, int dx, int dy);
// Shows the map at kZoomLevels[level].
void SetZoomLevel(Game& g, int level);
// Blacks the map out while the next human takes the seat, and shows it again.
void HideMap(Game& g);
void ShowMap(Game& g);  // after the prompt
// The player's Auto Play and Move Memory options.
void SetAutoPlay(Game& g, int player, bool on);
void SetMoveMemory(Game& g, int player, bool on);  // keep go-to orders from turn to turn
}  // namespace vortan
