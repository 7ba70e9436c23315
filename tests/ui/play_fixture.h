// SPDX-License-Identifier: GPL-3.0-or-later
// A main window played as a person plays it: mouse and keys sent to the map, modal dialogs answered.
#pragma once

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "window_fixture.h"

namespace vortan::test {

class PlayFixture : public WindowFixture {
 protected:
  MapView* View() { return window->View(); }
  QPoint CellCentre(int x, int y) { return CellRect(x, y).center(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, QPointF(at), View()->mapToGlobal(QPointF(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, mods);
    QCoreApplication::sendEvent(View(), &e);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, at, button, mods);
    Mouse(QEvent::MouseButtonRelease, at, button, mods);
  }
  void Key(int key, const QString& text = QString()) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(View(), &e);
  }
  void Type(char c) { Key(QChar(c).toUpper().unicode(), QString(QChar(c))); }
  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  void AwaitOrders(int piece) {
    game->state.currentPiece = static_cast<int16_t>(piece);
    game->state.currentPlayer = game->pieces[piece].owner;
    game->pieces[piece].state = PieceState::AwaitingOrders;
  }
  // Answers the next modal dialog (or message box) that opens, from inside its loop.
  static void WhenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
      if (QWidget* modal = QApplication::activeModalWidget()) act(modal);
    });
  }
};

}  // namespace vortan::test
