// SPDX-License-Identifier: GPL-3.0-or-later
// The World Map: the whole world in 5 x 5 blocks with the shown player's home
// at the centre; a click centres the main view on the cell under the pointer.
#pragma once

#include <QPoint>
#include <QRgb>
#include <QSize>

#include "model/game.h"
#include "ui/info_window.h"

namespace vortan {

class CursorStore;

inline constexpr int kWorldBlock = 5;

// The window's outer size (frame included) for a world.
QSize WorldMapFrameSize(int width, int height);
// The map's top-left corner in a client area of the given size.
QPoint WorldMapOrigin(const Game& g, QSize client);
// The world cell shown by block (i, j).
MapPos WorldMapCellOf(const Game& g, int i, int j);

// How one block looks: the ground, and for a marked cell a frame with a
// 3 x 3 centre.
struct WorldMapBlock {
  QRgb ground;
  bool marked = false;
  QRgb frame = 0;
  QRgb centre = 0;
};
WorldMapBlock WorldMapBlockAt(const Game& g, MapPos cell);

class WorldMapWindow : public InfoWindow {
  Q_OBJECT
 public:
  WorldMapWindow(Game& g, const CursorStore& cursors, QWidget* owner);
  // Takes the window's size and place for the world now in play.
  void TakePlace(const QWidget* main);
  // Moves the window, frame included, inside the area if it reaches out of it.
  void KeepInside(const QRect& area);

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  Game& g_;
  bool placed_ = false;
};

}  // namespace vortan
