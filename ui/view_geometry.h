// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed geometry of the main window's client area: the button strip, the
// map view with its scroll bars, the cell <-> screen conversions on the
// wrapping world and the size of a window that shows the whole world.
#pragma once

#include <QRect>
#include <QSize>

#include "model/game.h"

namespace vortan {

inline constexpr int kStripHeight = 34;
inline constexpr int kStripWidth = 474;
inline constexpr int kButtonCount = 14;
inline constexpr int kButtonWidth = 30;
inline constexpr int kButtonHeight = 32;
inline constexpr int kScrollBarSize = 16;
inline constexpr int kToolColumnWidth = 112;

// Whole cells that fit in the map view.
inline int ViewColumns(int clientWidth, int cellSize) { return (clientWidth - 16) / cellSize; }
inline int ViewRows(int clientHeight, int cellSize) { return (clientHeight - 50) / cellSize; }

struct ViewFrame {
  int width, height;  // world size
  int cellSize;
  int columns, rows;  // whole cells in the view
  int viewX, viewY;   // cell at the centre
};

inline int ScreenX(const ViewFrame& v, int x) { return Wrap(v.columns / 2 + (x - v.viewX), v.width) * v.cellSize; }
inline int ScreenY(const ViewFrame& v, int y) {
  return Wrap(v.rows / 2 + (y - v.viewY), v.height) * v.cellSize + kStripHeight;
}
inline int CellXAt(const ViewFrame& v, int px) {
  return Wrap(v.viewX + (px / v.cellSize - v.columns / 2) + v.width, v.width);
}
inline int CellYAt(const ViewFrame& v, int py) {
  return Wrap(v.viewY + ((py - kStripHeight) / v.cellSize - v.rows / 2) + v.height, v.height);
}

// The strip button under x (-1 for none).
inline int ButtonAt(int x) {
  if (x >= 0 && x <= 92) return (x - 1) / 31;
  if (x >= 107 && x <= 260) return (x - 14) / 31;
  if (x >= 275 && x <= 335) return (x - 27) / 31;
  if (x >= 350 && x <= 472) return (x - 40) / 31;
  return -1;
}
// The strip's zoom button (10 to 13) for a cell size, -1 for none.
inline int ZoomButtonForCellSize(int cellSize) {
  switch (cellSize) {
    case 12:
      return 10;
    case 16:
      return 11;
    case 24:
      return 12;
    case 32:
      return 13;
    default:
      return -1;
  }
}
inline int ButtonLeft(int i) { return 31 * i + 1 + (i > 2 ? 13 : 0) + (i > 7 ? 13 : 0) + (i > 9 ? 13 : 0); }

// Rectangles of the client area's children for a client of this size.
inline QRect VerticalBarRect(QSize c) { return QRect(c.width() - 15, kStripHeight, 16, c.height() - 48); }
inline QRect HorizontalBarRect(QSize c) { return QRect(0, c.height() - 15, c.width() - 14, 16); }
inline QRect SizeGripRect(QSize c) { return QRect(c.width() - 15, c.height() - 15, 15, 15); }
// The map view part that cells may be painted into.
inline QRect MapViewRect(QSize c) { return QRect(0, kStripHeight, c.width() - 15, c.height() - 15 - kStripHeight); }

// The client area that shows a whole width x height world.
inline QSize ClientSizeForWorld(int width, int height, int cellSize) {
  return QSize(width * cellSize + 15, height * cellSize + 49);
}

}  // namespace vortan
