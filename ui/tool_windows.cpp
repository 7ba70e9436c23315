// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tool_windows.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

#include "ui/game_info_window.h"
#include "ui/main_window.h"
#include "ui/piece_info_window.h"
#include "ui/production_window.h"
#include "ui/rankings_window.h"
#include "ui/view_geometry.h"
#include "ui/world_map_window.h"

namespace vortan {

ColumnPlace ColumnPlaceOf(ToolWindow w) {
  switch (w) {
    case ToolWindow::GameInfo:
      return {0, 90};
    case ToolWindow::Rankings:
      return {90, 112};
    case ToolWindow::PieceInfo:
      return {202, 120};
    default:
      return {322, 0};
  }
}

int ShownPlayer(const Game& g) {
  const int p = g.state.demoMode ? g.state.currentPlayer : g.state.viewingPlayer;
  return std::clamp(p, 0, kPlayerCount - 1);
}

int ViewingPlayer(const Game& g) { return std::clamp<int>(g.state.viewingPlayer, 0, kPlayerCount - 1); }

bool ToolWindowShowsWait(const Game& g) {
  const int p = std::clamp<int>(g.state.currentPlayer, 0, kPlayerCount - 1);
  return (g.state.gameActive && !IsHumanPlayer(g, p)) || g.state.autoPlay[p] == 1;
}

QFont DialogFont() {
  QFont f = QApplication::font();
  f.setPixelSize(12);
  return f;
}

void DrawTextAt(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QRect(x, y, 4000, p.fontMetrics().height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void DrawTextCentred(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QRect(x - 2000, y, 4000, p.fontMetrics().height()), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
             text);
}

const QImage& Symbol(const PictureStore& pictures, int colour, int kind, int scale, bool mirrored) {
  return pictures.Piece(PictureSet::Large, std::clamp(colour, 0, kPlayerCount - 1), std::clamp(kind, 0, 9))
      .Variant(scale, mirrored, false);
}

void CentreOver(QWidget* dialog, const QWidget* main) {
  if (!main) return;
  const QRect m = main->frameGeometry();
  const QSize d = dialog->frameGeometry().size();
  dialog->move((m.left() + m.left() + m.width() - d.width()) / 2, (m.top() + m.top() + m.height() - d.height()) / 2);
}

ColumnWindow::ColumnWindow(ToolWindow which, const QString& title, const Game& g, const PictureStore& pictures,
                           QWidget* owner)
    : InfoWindow(title, owner), which_(which), g_(g), pictures_(pictures) {
  setMouseTracking(true);
  setFont(DialogFont());
  resize(kToolColumnWidth, std::max(1, ColumnPlaceOf(which).height));
}

void ColumnWindow::TakePlace(const QWidget* main) {
  if (!main) return;
  const QRect f = main->frameGeometry();
  const ColumnPlace place = ColumnPlaceOf(which_);
  const QSize margins = frameGeometry().size() - geometry().size();
  const int height = place.height ? place.height : f.height() - place.offset;
  resize(std::max(1, kToolColumnWidth - margins.width()), std::max(1, height - margins.height()));
  move(f.x() + f.width(), f.y() + place.offset);
}

void ColumnWindow::showEvent(QShowEvent* e) {
  InfoWindow::showEvent(e);
  if (!placed_) {
    placed_ = true;
    TakePlace(parentWidget());
  }
  UpdateCursor();
}

void ColumnWindow::enterEvent(QEnterEvent* e) {
  UpdateCursor();
  InfoWindow::enterEvent(e);
}

void ColumnWindow::mouseMoveEvent(QMouseEvent* e) {
  UpdateCursor();
  InfoWindow::mouseMoveEvent(e);
}

void ColumnWindow::UpdateCursor() { setCursor(ToolWindowShowsWait(g_) ? Qt::WaitCursor : Qt::ArrowCursor); }

InfoWindow* CreateToolWindow(ToolWindow which, Game& g, const PictureStore& pictures, const CursorStore& cursors,
                             MainWindow& main) {
  switch (which) {
    case ToolWindow::GameInfo:
      return new GameInfoWindow(g, pictures, &main);
    case ToolWindow::Rankings:
      return new RankingsWindow(g, pictures, &main);
    case ToolWindow::PieceInfo:
      return new PieceInfoWindow(g, pictures, &main);
    case ToolWindow::Production:
      return new ProductionWindow(g, pictures, main);
    case ToolWindow::WorldMap:
      return new WorldMapWindow(g, cursors, &main);
  }
  return nullptr;
}

}  // namespace vortan
