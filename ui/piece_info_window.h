// SPDX-License-Identifier: GPL-3.0-or-later
// Piece Info: the current piece's symbol, its strength bar, moves and fuel.
#pragma once

#include "ui/tool_windows.h"

namespace vortan {

QString PieceInfoMovesText(const PieceRecord& piece);
QString PieceInfoFuelText(const PieceRecord& piece);
// The bottom of the light part of the strength bar (the bar runs from 2 to 50).
int StrengthBarSplit(int strength);

class PieceInfoWindow : public ColumnWindow {
  Q_OBJECT
 public:
  PieceInfoWindow(const Game& g, const PictureStore& pictures, QWidget* owner)
      : ColumnWindow(ToolWindow::PieceInfo, QT_TRANSLATE_NOOP("InfoWindow", "Piece Info"), g, pictures, owner) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace vortan
