// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/game_loop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <algorithm>

#include "game/turn_loop.h"
#include "rules/invariants.h"

namespace vortan {

GameLoop::GameLoop(Game& g, QObject* parent) : QObject(parent), g_(g) {
  timer_.setSingleShot(true);
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &GameLoop::RunSlice);
  step = [](Game& game) { AdvanceGame(game); };
  QApplication::instance()->installEventFilter(this);
}

bool GameLoop::WorkRemains() const {
  if (!g_.state.gameActive) return false;
  const int player = g_.state.currentPlayer, cp = g_.state.currentPiece;
  if (player < 0 || player >= kPlayerCount || cp < 0 || cp >= kPieceSlots) return true;
  const bool humanWaits = g_.pieces[cp].state == PieceState::AwaitingOrders && CanMove(g_, cp) &&
                          IsHumanControlled(g_, player) && !g_.app.endTurnRequested;
  return !humanWaits;
}

void GameLoop::Wake() {
  // Inside a step (a modal dialog's own loop) nothing is armed: the step
  // re-arms itself when it returns.
  if (running_ || g_.insideAdvanceGame || Held()) return;
  if (WorkRemains() && !timer_.isActive()) timer_.start();
}

void GameLoop::WakeForInput() {
  if (running_ || g_.insideAdvanceGame || !g_.state.gameActive) return;
  if (Held()) {
    stepOwed_ = true;
    return;
  }
  if (!timer_.isActive()) timer_.start();
}

void GameLoop::Resume() {
  if (running_ || g_.insideAdvanceGame || Held()) return;  // the step in progress re-arms when it returns
  if (stepOwed_ && g_.state.gameActive) {
    stepOwed_ = false;
    if (!timer_.isActive()) timer_.start();
    return;
  }
  Wake();
}

void GameLoop::RunSlice() {
  if (running_ || g_.insideAdvanceGame || !g_.state.gameActive) return;
  // A modal dialog opened by a command, or an open menu, suspends the game;
  // the command (or the input that closes the menu) wakes the loop again.
  if (QApplication::activeModalWidget()) return;
  if (QApplication::activePopupWidget()) {
    QTimer::singleShot(50, this, &GameLoop::Wake);  // look again once the menu may have closed
    return;
  }
  if (Held()) {  // armed before the hold: Resume() runs the slice
    stepOwed_ = true;
    return;
  }
  QElapsedTimer slice;
  slice.start();
  do {
    RunStep();
  } while (WorkRemains() && !Held() && slice.nsecsElapsed() < kSliceNs);
  ++slices_;
  longestSliceNs_ = std::max(longestSliceNs_, slice.nsecsElapsed());
  if (afterSlice) afterSlice();
  if (WorkRemains() && !Held()) timer_.start();
}

void GameLoop::RunStep() {
  running_ = true;
  step(g_);
  ++steps_;
  running_ = false;
  ReportBrokenInvariant();
  if (afterStep) afterStep();
}

// Debug builds check the game's records after every step and say once, on
// the console, what broke; release builds skip the scan.
void GameLoop::ReportBrokenInvariant() {
#ifndef NDEBUG
  if (reportedBrokenInvariant_) return;
  const std::string broken = CheckInvariants(g_);
  if (broken.empty()) return;
  reportedBrokenInvariant_ = true;
  qCritical("Game records inconsistent after step %d: %s", steps_, broken.c_str());
#endif
}

bool GameLoop::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::Wheel:
      // Input may have given an order; the step after it decides whether to go on.
      if (!running_) QTimer::singleShot(0, this, &GameLoop::WakeForInput);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace vortan
