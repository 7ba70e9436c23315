// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/world_map_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "rules/player_view.h"
#include "ui/cursor_store.h"
#include "ui/tool_windows.h"
#include "ui/view_geometry.h"

namespace vortan {

namespace {

constexpr QRgb kPlayerColours[kPlayerCount] = {qRgb(255, 0, 0),   qRgb(0, 255, 0), qRgb(0, 0, 255),
                                               qRgb(128, 128, 0), qRgb(0, 0, 0),   qRgb(255, 0, 255)};
// Other players' pieces on a monochrome display.
constexpr QRgb kSecondColours[kPlayerCount] = {qRgb(0, 255, 255), qRgb(128, 0, 128),   qRgb(128, 128, 0),
                                               qRgb(0, 0, 128),   qRgb(255, 255, 255), qRgb(0, 255, 0)};
constexpr QRgb kUnexplored = qRgb(0, 0, 0);
constexpr QRgb kSea = qRgb(0, 0, 128);
constexpr QRgb kLand = qRgb(0, 128, 0);
constexpr QRgb kPieceFrame = qRgb(255, 255, 255);
constexpr QRgb kNeutralFrame = qRgb(0, 255, 0);
constexpr QRgb kNeutralCentre = qRgb(0, 0, 0);
// Room the column leaves to the right of the main window for the map.
constexpr int kRoomBesideMain = 224;

}  // namespace

QSize WorldMapFrameSize(int width, int height) { return QSize(width * kWorldBlock + 8, height * kWorldBlock + 32); }

QPoint WorldMapOrigin(const Game& g, QSize client) {
  return QPoint(client.width() / 2 - static_cast<int>(2.5 * g.Width()),
                client.height() / 2 - static_cast<int>(2.5 * g.Height()));
}

MapPos WorldMapCellOf(const Game& g, int i, int j) {
  const int v = ViewingPlayer(g);
  return WrapPos(g.settings, g.Width() / 2 + g.state.homeX[v] + i, g.Height() / 2 + g.state.homeY[v] + j);
}

WorldMapBlock WorldMapBlockAt(const Game& g, MapPos pos) {
  const int v = ViewingPlayer(g);
  const int bit = g.state.playerBit[v];
  const bool seesAll = g.state.demoMode || g.state.eliminated[v];
  const MapCell& c = g.world.At(pos);
  const bool explored = (c.explored & bit) != 0;
  WorldMapBlock b{kUnexplored};
  if (c.explored == 0 || (!explored && !seesAll)) return b;
  b.ground = c.terrain == Terrain::Sea ? kSea : kLand;
  if (c.topType != PieceType::None) {
    const int owner = std::clamp<int>(c.topOwner, 0, kPlayerCount - 1);
    const bool own = owner == v;
    b.marked = own || (c.visible & bit) || seesAll || (c.topType == PieceType::City && explored);
    if (b.marked) {
      const bool otherOnMono = g.app.monochrome == 1 && !own;
      b.frame = otherOnMono ? qRgb(0, 0, 0) : kPieceFrame;
      b.centre = otherOnMono ? kSecondColours[owner] : kPlayerColours[owner];
    }
  } else if (c.terrain == Terrain::City && explored) {
    b.marked = true;
    b.frame = kNeutralFrame;
    b.centre = kNeutralCentre;
  }
  return b;
}

WorldMapWindow::WorldMapWindow(Game& g, const CursorStore& cursors, QWidget* owner)
    : InfoWindow(QT_TRANSLATE_NOOP("InfoWindow", "World Map"), owner), g_(g) {
  setCursor(cursors.World());
  const QSize outer = WorldMapFrameSize(g.Width(), g.Height());
  resize(outer - QSize(8, 32));
}

void WorldMapWindow::TakePlace(const QWidget* main) {
  const QSize outer = WorldMapFrameSize(g_.Width(), g_.Height());
  const QSize margins = frameGeometry().size() - geometry().size();
  resize(outer - margins);
  if (!main) return;
  const QRect m = main->frameGeometry();
  const QRect screen = main->screen()->geometry();
  if (screen.right() + 1 - (m.right() + 1) >= kRoomBesideMain)
    move(m.right() + 1, m.top() + 322);
  else
    CentreOver(this, main);
  KeepInside(main->screen()->availableGeometry());
}

void WorldMapWindow::KeepInside(const QRect& area) {
  // A large world's map is wider than the room beside the main window: it
  // slides left and up until all of it can be seen and reached.
  const QRect f = frameGeometry();
  const int x = std::max(area.left(), std::min(f.left(), area.right() + 1 - f.width()));
  const int y = std::max(area.top(), std::min(f.top(), area.bottom() + 1 - f.height()));
  if (x != f.left() || y != f.top()) move(x, y);
}

void WorldMapWindow::showEvent(QShowEvent* e) {
  InfoWindow::showEvent(e);
  if (placed_) return;
  placed_ = true;
  TakePlace(parentWidget());
}

void WorldMapWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  const QPoint origin = WorldMapOrigin(g_, size());
  for (int i = 0; i < g_.Width(); ++i)
    for (int j = 0; j < g_.Height(); ++j) {
      const WorldMapBlock b = WorldMapBlockAt(g_, WorldMapCellOf(g_, i, j));
      const int x = origin.x() + kWorldBlock * i, y = origin.y() + kWorldBlock * j;
      p.fillRect(x, y, kWorldBlock, kWorldBlock, QColor(b.marked ? b.frame : b.ground));
      if (b.marked) p.fillRect(x + 1, y + 1, 3, 3, QColor(b.centre));
    }
}

void WorldMapWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
  if (g_.Width() <= 0 || g_.Height() <= 0) return;
  const int v = ViewingPlayer(g_);
  const QPoint origin = WorldMapOrigin(g_, size());
  const QPoint m = e->position().toPoint();
  CentreView(g_, Wrap(g_.Width() / 2 + g_.state.homeX[v] + (m.x() - origin.x()) / kWorldBlock, g_.Width()),
             Wrap(g_.Height() / 2 + g_.state.homeY[v] + (m.y() - origin.y()) / kWorldBlock, g_.Height()));
  g_.ui().RepaintMainWindow();
}

}  // namespace vortan
