// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/player_view.h"

#include <cassert>
#include <iterator>

namespace vortan {

void CentreView(Game& g, int x, int y) {
  g.state.viewX = static_cast<int16_t>(x);
  g.state.viewY = static_cast<int16_t>(y);
}

void ScrollView(Game& g, int dx, int dy) {
  g.state.viewX = static_cast<int16_t>(Wrap(g.state.viewX + dx, g.Width()));
  g.state.viewY = static_cast<int16_t>(Wrap(g.state.viewY + dy, g.Height()));
}

void SetZoomLevel(Game& g, int level) {
  assert(level >= 0 && level < static_cast<int>(std::size(kZoomLevels)));
  g.state.tileSize = kZoomLevels[level].tileSize;
  g.state.zoomIsWhole = kZoomLevels[level].whole ? 1 : 0;
}

void HideMap(Game& g) { g.state.mapHidden = 1; }
void ShowMap(Game& g) { g.state.mapHidden = 0; }

void SetAutoPlay(Game& g, int player, bool on) { g.state.autoPlay[player] = on ? 1 : 0; }
void SetMoveMemory(Game& g, int player, bool on) { g.state.moveMemory[player] = on ? 1 : 0; }

}  // namespace vortan
