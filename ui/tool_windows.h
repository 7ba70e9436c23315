// SPDX-License-Identifier: GPL-3.0-or-later
// What the small windows beside the map share: the column they stand in, the
// dialog font and text placement, the symbols they draw and the pointer shape
// over them; and the one place that makes each of them.
#pragma once

#include <QImage>
#include <QPainter>
#include <QString>

#include "model/game.h"
#include "ui/info_window.h"
#include "ui/picture_store.h"

namespace vortan {

class CursorStore;
class MainWindow;

// Where a window of the column stands: below the main window's top by
// `offset`, `height` high (0: down to the main window's bottom).
struct ColumnPlace {
  int offset;
  int height;
};
ColumnPlace ColumnPlaceOf(ToolWindow w);

// The player whose view the windows show: the viewing player, or in a demo
// game the player on turn.
int ShownPlayer(const Game& g);
// The viewing player, always a valid index.
int ViewingPlayer(const Game& g);
// The hourglass over a tool window: a game runs and the player on turn is not
// a human at the controls.
bool ToolWindowShowsWait(const Game& g);

// The font of the dialogs, and text whose top edge is at y: left-aligned at x,
// or centred on x.
QFont DialogFont();
void DrawTextAt(QPainter& p, int x, int y, const QString& text);
void DrawTextCentred(QPainter& p, int x, int y, const QString& text);
// A piece symbol of the 16-pixel set, magnified `scale` times.
const QImage& Symbol(const PictureStore& pictures, int colour, int kind, int scale = 1, bool mirrored = false);
// Places a dialog centred over the main window.
void CentreOver(QWidget* dialog, const QWidget* main);

// A tool window of the column: takes its place when it first shows and keeps
// the pointer shape up to date.
class ColumnWindow : public InfoWindow {
  Q_OBJECT
 public:
  ColumnWindow(ToolWindow which, const QString& title, const Game& g, const PictureStore& pictures, QWidget* owner);
  // Moves to the window's place beside `main`.
  void TakePlace(const QWidget* main);

 protected:
  void showEvent(QShowEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void UpdateCursor();

  ToolWindow which_;
  const Game& g_;
  const PictureStore& pictures_;
  bool placed_ = false;
};

// Makes the window for a View item, sized and placed, not yet shown.
InfoWindow* CreateToolWindow(ToolWindow which, Game& g, const PictureStore& pictures, const CursorStore& cursors,
                             MainWindow& main);

}  // namespace vortan
