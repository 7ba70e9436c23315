// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/piece_state.h"

#include <cassert>

#include "model/piece_types.h"

namespace vortan {

void ClearDestination(PieceRecord& p) {
  p.destX = p.x;
  p.destY = p.y;
}

void SleepPiece(Game& g, int piece) {
  PieceRecord& r = g.pieces[piece];
  r.state = PieceState::Asleep;
  ClearDestination(r);
}

void WakePiece(Game& g, int piece) {
  PieceRecord& r = g.pieces[piece];
  if (r.IsEmpty() || r.type == PieceType::City) return;
  if (!(IsAirType(r.type) && r.state == PieceState::Returning)) r.state = PieceState::Ready;
  ClearDestination(r);
}

void SetCurrentPiece(Game& g, int piece) {
  assert(piece >= 0 && piece < kPieceSlots);
  g.state.currentPiece = static_cast<int16_t>(piece);
}

}  // namespace vortan
