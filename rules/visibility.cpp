#include "rules/visibility.h"

#include <cstdlib>

#include "model/piece_types.h"

namespace vortan {

static int Sign(int v) { return (v > 0) - (v < 0); }

bool IsSightBlocked(const Game& g, int dx, int dy, MapPos piecePos, int pieceType) {
  if (dx == 0 && dy == 0) return false;
  if (IsAirType(pieceType)) return false;
  if (std::abs(dx) < 2 && std::abs(dy) < 2) return false;
  // Ground and sea pieces look past their neighbour only across open water.
  MapPos between = WrapPos(g.settings, piecePos.x + Sign(dx), piecePos.y + Sign(dy));
  return g.world.At(between).terrain != Terrain::Sea;
}

void MarkSeen(Game& g, MapPos cell, int dx, int dy) {
  const int player = g.state.currentPlayer;
  const auto bit = static_cast<uint8_t>(g.state.playerBit[player]);
  MapCell& c = g.world.At(cell);
  c.explored |= bit;
  // A foreign submarine is only made out from right beside it.
  const bool hiddenSubmarine = c.topType == PieceType::Submarine && c.topOwner != player &&
                               (std::abs(dx) > 1 || std::abs(dy) > 1);
  if (!hiddenSubmarine) c.visible |= bit;
}

namespace {

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
  for (int dx = -range; dx <= range; ++dx) {
    for (int dy = -range; dy <= range; ++dy) {
      if (IsSightBlocked(g, dx, dy, own, p.type)) continue;
      const MapPos cell = WrapPos(g.settings, own.x + dx, own.y + dy);
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
