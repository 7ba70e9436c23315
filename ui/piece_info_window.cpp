// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/piece_info_window.h"

#include <QCoreApplication>

namespace vortan {

QString PieceInfoMovesText(const PieceRecord& piece) { return QString::asprintf("  %d  ", piece.movesLeft); }

QString PieceInfoFuelText(const PieceRecord& piece) {
  const bool fuelled =
      piece.type == PieceType::Fighter || piece.type == PieceType::Bomber || piece.type == PieceType::Para;
  return fuelled ? QString::asprintf("  %d  ", piece.fuel) : QCoreApplication::translate("PieceInfoWindow", "  n/a  ");
}

int StrengthBarSplit(int strength) { return 2 + (100 - strength) * 48 / 100; }

void PieceInfoWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  const int cp = g_.state.currentPiece;
  if (g_.state.day <= 1 || cp < 0 || cp >= kPieceSlots) return;
  const PieceRecord& piece = g_.pieces[cp];
  const int w = width(), h = height();
  if (piece.type < kTypeCount)
    p.drawImage(w / 3 - 24, 2, Symbol(pictures_, g_.state.currentPlayer, piece.type, 3, piece.facing == 1));

  const int barX = static_cast<int>(0.8 * w);
  const int left = barX - 7, right = barX + 7, split = StrengthBarSplit(piece.strength);
  p.fillRect(left, 2, right - left, split - 2, QColor(192, 192, 192));
  p.fillRect(left, split, right - left, 50 - split, QColor(128, 128, 128));
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  p.drawRect(left, 2, right - left - 1, 50 - 2 - 1);
  if (split > 2 && split < 50) p.drawLine(left, split, right - 1, split);

  const int movesY = static_cast<int>(0.6 * h), fuelY = static_cast<int>(0.8 * h);
  DrawTextAt(p, 10, movesY, QCoreApplication::translate("PieceInfoWindow", "Moves:"));
  DrawTextCentred(p, 84, movesY, PieceInfoMovesText(piece));
  DrawTextAt(p, 10, fuelY, QCoreApplication::translate("PieceInfoWindow", "Fuel:"));
  DrawTextCentred(p, 84, fuelY, PieceInfoFuelText(piece));
}

}  // namespace vortan
