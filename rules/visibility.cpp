// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/visibility.h"

#include <array>
#include <cassert>
#include <cstdlib>

#include "model/piece_types.h"

namespace vortan {

static int Sign(int v) { return (v > 0) - (v < 0); }

// Ground and sea pieces look past their neighbour only across open water:
// whether the cell at (dx, dy) is seen past the neighbour on the way to it.
static bool SightPassesNeighbour(int pieceType, int dx, int dy) {
  return !IsAirType(pieceType) && (std::abs(dx) >= 2 || std::abs(dy) >= 2);
}

void MarkSeen(Game& g, MapPos cell, int dx, int dy) {
  const int player = g.state.currentPlayer;
  const auto bit = static_cast<uint8_t>(g.state.playerBit[player]);
  MapCell& c = g.world.At(cell);
  c.explored |= bit;
  // A foreign submarine is only made out from right beside it.
  const bool hiddenSubmarine =
      c.topType == PieceType::Submarine && c.topOwner != player && (std::abs(dx) > 1 || std::abs(dy) > 1);
  if (!hiddenSubmarine) c.visible |= bit;
}

namespace {

// Sight ranges are at most 3 cells.
constexpr int kMaxSightSide = 7;

void StopPiece(PieceRecord& p) {
  p.destX = p.x;
  p.destY = p.y;
  p.state = PieceState::Ready;
}

bool BringsNews(const Game& g, const MapCell& c, uint8_t bit, MapPos cell, MapPos own, MapPos previous) {
  const bool demo = g.state.demoMode != 0;
  if (c.explored == 0) return true;
  if (!(c.explored & bit) && !demo) return true;
  if (!(c.visible & bit) && c.topType != PieceType::None && !demo) return true;
  return cell == own || cell == previous;
}

// What the piece has just seen may end its go-to order.
void ApplySightingStops(Game& g, PieceRecord& p, const MapCell& c) {
  const int player = g.state.currentPlayer;
  const bool enemy = c.topType != PieceType::None && c.topOwner != player && c.topType != PieceType::City;
  if (enemy && p.state != PieceState::Returning) StopPiece(p);
  if (c.terrain == Terrain::City && p.type == PieceType::Army) StopPiece(p);
  if (c.terrain != Terrain::Sea && p.type == PieceType::Transport) StopPiece(p);
}

}  // namespace

void UpdateSight(Game& g, int piece, MapPos previous, bool redraw) {
  PieceRecord& p = g.pieces[piece];
  const auto bit = static_cast<uint8_t>(g.state.playerBit[g.state.currentPlayer]);
  const MapPos own = p.Pos();
  int range = 0;
  if (p.IsEmpty()) {
    g.ui().ShowMessageBox("Oops!", "Attempting to see with an unused piece", MsgIcon::Stop, MsgButtons::Ok);
  } else {
    range = SightRange(p.type, g.world.At(own).terrain == Terrain::Sea);
  }
  assert(2 * range + 1 <= kMaxSightSide);
  std::array<uint8_t, kMaxSightSide> xs, ys;
  WrapSpan(own.x, range, g.Width(), xs.data());
  WrapSpan(own.y, range, g.Height(), ys.data());
  for (int dx = -range; dx <= range; ++dx) {
    for (int dy = -range; dy <= range; ++dy) {
      if (SightPassesNeighbour(p.type, dx, dy) &&
          g.world.At(xs[range + Sign(dx)], ys[range + Sign(dy)]).terrain != Terrain::Sea)
        continue;
      const MapPos cell{xs[dx + range], ys[dy + range]};
      MapCell& c = g.world.At(cell);
      const bool news = BringsNews(g, c, bit, cell, own, previous);
      MarkSeen(g, cell, dx, dy);
      if (!news) continue;
      if (redraw) g.ui().DrawCell(cell, false);
      if (c.visible & bit) ApplySightingStops(g, p, c);
    }
  }
}

}  // namespace vortan
