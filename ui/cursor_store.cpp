// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cursor_store.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>

#include "ui/picture_store.h"

namespace vortan {

namespace {

// "NAME x y" lines; missing entries put the hot spot at the top left.
QHash<QString, QPoint> ReadHotSpots() {
  QHash<QString, QPoint> spots;
  QFile f(":/cursors/hotspots.txt");
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return spots;
  QTextStream in(&f);
  while (!in.atEnd()) {
    const QStringList parts = in.readLine().split(' ', Qt::SkipEmptyParts);
    if (parts.size() == 3) spots.insert(parts[0], QPoint(parts[1].toInt(), parts[2].toInt()));
  }
  return spots;
}

QPixmap StandInCursor(const QString& label) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(0, 12), QPoint(8, 8)}));
  QFont font = p.font();
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.fillRect(QRect(8, 10, 22, 14), Qt::white);
  p.drawRect(QRect(8, 10, 21, 13));
  p.drawText(QRect(8, 10, 22, 14), Qt::AlignCenter, label);
  return pm;
}

QCursor LoadCursor(const QString& name, const QString& standInLabel, const QHash<QString, QPoint>& spots) {
  QPixmap pm(":/cursors/" + name + ".png");
  if (pm.isNull()) return QCursor(StandInCursor(standInLabel), 0, 0);
  const QPoint hot = spots.value(name, QPoint(0, 0));
  return QCursor(pm, hot.x(), hot.y());
}

}  // namespace

void CursorStore::LoadCursors() {
  RegisterPictureResources();
  const QHash<QString, QPoint> spots = ReadHotSpots();
  distance_[0] = QCursor(Qt::ArrowCursor);
  for (int d = 1; d < 20; ++d)
    distance_[static_cast<size_t>(d)] = LoadCursor("CURSOR_" + QString::number(d), QString::number(d), spots);
  world_ = LoadCursor("CURSOR_WORLD", "W", spots);
}

}  // namespace vortan
