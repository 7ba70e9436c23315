// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/orders.h"

#include "game/turn_loop.h"
#include "rules/elimination.h"

namespace vortan {

namespace {

bool IsHumanOnTurn(const Game& g) { return IsHumanPlayer(g, g.state.currentPlayer); }

bool IsPieceIndex(int i) { return i >= 0 && i < kPieceSlots; }

// The order keys only mean something while a human's piece waits for them.
PieceRecord* PieceAwaitingOrder(Game& g) {
  const int i = g.state.currentPiece;
  if (!IsHumanOnTurn(g) || !IsPieceIndex(i)) return nullptr;
  PieceRecord& p = g.pieces[i];
  return p.state == PieceState::AwaitingOrders ? &p : nullptr;
}

// An aircraft may only sleep or finish on a base; elsewhere it flies home.
bool MustGoHome(const Game& g, const PieceRecord& p) {
  const MapCell& c = g.world.At(p.Pos());
  if (p.type == PieceType::Bomber || p.type == PieceType::Para) return c.bomberRange != 0;
  if (p.type == PieceType::Fighter) return c.topType != PieceType::City && c.topType != PieceType::Carrier;
  return false;
}

void SendHome(Game& g, PieceRecord& p) {
  g.ui().EraseGotoLine();
  p.state = PieceState::Returning;
}

void IllegalDrop(Game& g, const char* text) {
  g.ui().ShowMessageBox("Illegal Move", text, MsgIcon::Stop, MsgButtons::Ok);
}

// The next piece of the player on turn on the cell, after the current one in
// table order and wrapping round; -1 when none can move.
int NextMovablePieceAt(const Game& g, MapPos cell) {
  const int current = g.state.currentPiece;
  for (int step = 1; step < kPieceSlots; ++step) {
    const int i = (current + step) % kPieceSlots;
    const PieceRecord& r = g.pieces[i];
    if (r.IsEmpty() || r.type == PieceType::City || r.owner != g.state.currentPlayer) continue;
    if (r.Pos() == cell && r.movesLeft != 0) return i;
  }
  return -1;
}

void MakeCurrent(Game& g, int piece) {
  g.ui().EraseGotoLine();
  const int old = g.state.currentPiece;
  PieceRecord& previous = g.pieces[old];
  if (!previous.IsEmpty() && previous.owner == g.state.currentPlayer) {
    previous.state = PieceState::Ready;
    ClearDestination(previous);
  }
  g.state.currentPiece = static_cast<int16_t>(piece);
  g.ui().DrawCell(previous.Pos(), false);
  g.ui().DrawCell(g.pieces[piece].Pos(), false);
  g.lastSelectedPos = g.pieces[piece].Pos();
  g.ui().RefreshPieceInfo();
}

}  // namespace

bool OrderGoTo(Game& g, MapPos dest) {
  const int i = g.state.currentPiece;
  if (g.state.demoMode != 0 || !IsHumanOnTurn(g) || !IsPieceIndex(i)) return false;
  g.ui().EraseGotoLine();
  PieceRecord& p = g.pieces[i];
  if (p.Pos() == dest) return false;
  p.destX = dest.x;
  p.destY = dest.y;
  p.state = PieceState::Ready;
  return true;
}

bool OrderSleep(Game& g) {
  PieceRecord* p = PieceAwaitingOrder(g);
  if (!p) return false;
  if (MustGoHome(g, *p)) {
    SendHome(g, *p);
    return true;
  }
  g.ui().EraseGotoLine();
  p->state = PieceState::Asleep;
  ClearDestination(*p);
  return true;
}

bool OrderLater(Game& g) {
  PieceRecord* p = PieceAwaitingOrder(g);
  if (!p) return false;
  g.ui().EraseGotoLine();
  p->state = PieceState::Ready;
  ClearDestination(*p);
  NextPiece(g, true);
  return true;
}

bool OrderFinished(Game& g) {
  PieceRecord* p = PieceAwaitingOrder(g);
  if (!p) return false;
  if (MustGoHome(g, *p)) {
    SendHome(g, *p);
    return true;
  }
  g.ui().EraseGotoLine();
  p->movesLeft = 0;
  p->state = PieceState::Ready;
  ClearDestination(*p);
  return true;
}

bool OrderReturn(Game& g) {
  PieceRecord* p = PieceAwaitingOrder(g);
  if (!p) return false;
  SendHome(g, *p);
  return true;
}

bool OrderDrop(Game& g) {
  PieceRecord* p = PieceAwaitingOrder(g);
  if (!p) return false;
  if (p->type != PieceType::Para) {
    IllegalDrop(g, "Only paras can be dropped");
    return false;
  }
  if (g.world.At(p->Pos()).terrain != Terrain::Land) {
    IllegalDrop(g, "Paras must be dropped on open land");
    return false;
  }
  g.ui().EraseGotoLine();
  p->type = PieceType::Army;
  ClearDestination(*p);
  p->state = PieceState::Ready;
  p->movesLeft = 0;
  RefreshCell(g, p->Pos());
  g.ui().DrawCell(p->Pos(), false);
  g.ui().PlaySoundEffect(SoundEffect::Para);
  return true;
}

void OrderEndTurn(Game& g) {
  g.ui().EraseGotoLine();
  g.app.endTurnRequested = 1;
  for (PieceRecord& r : g.pieces.slots) {
    if (r.IsEmpty() || r.owner != g.state.viewingPlayer) continue;
    // Aircraft still in the air fly home first rather than drop where they are.
    if (IsAirType(r.type) && r.movesLeft != 0) {
      r.state = PieceState::Returning;
    } else {
      r.movesLeft = 0;
    }
  }
}

void OrderSurrender(Game& g) {
  for (PieceRecord& r : g.pieces.slots) {
    if (r.IsEmpty() || r.owner != g.state.viewingPlayer) continue;
    if (r.type == PieceType::City) g.world.At(r.Pos()).terrain = Terrain::City;
    r.type = PieceType::None;
    RefreshCell(g, r.Pos());
    g.ui().ShowExplosion(r.Pos(), kExplosionYellow, 1);
    g.ui().PlaySoundEffect(SoundEffect::Tank);
  }
  for (ToolWindow w : {ToolWindow::Production, ToolWindow::Rankings})
    if (g.ui().IsToolWindowOpen(w)) g.ui().RepaintToolWindow(w);
  CheckElimination(g);
}

void WakeCell(Game& g, MapPos cell) {
  for (int i = 0; i < kPieceSlots; ++i)
    if (g.pieces[i].owner == g.state.viewingPlayer && g.pieces[i].Pos() == cell) WakePiece(g, i);
  if (!IsHumanOnTurn(g)) return;
  const int found = NextMovablePieceAt(g, cell);
  if (found >= 0) MakeCurrent(g, found);
}

}  // namespace vortan
