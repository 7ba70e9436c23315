// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/city_name_popup.h"

#include <QMenuBar>
#include <QPainter>
#include <algorithm>

#include "ui/city_names.h"
#include "ui/main_window.h"
#include "ui/tool_windows.h"
#include "ui/view_geometry.h"

namespace vortan {

QSize CityNamePopupSize(const QString& name) { return QSize(10 * static_cast<int>(name.size()) + 8, 20); }

QPoint CityNamePopupPlace(const Game& g, int city, QRect frame, int clientTop, int menuHeight, int viewColumns,
                          int viewRows) {
  const PieceRecord& c = g.pieces[std::clamp(city, 0, kPieceSlots - 1)];
  const int w = std::max(1, g.Width()), h = std::max(1, g.Height());
  const int column = Wrap(c.x - g.state.viewX + w + viewColumns / 2, w);
  const int row = Wrap(c.y - g.state.viewY + h + viewRows / 2, h);
  const int cell = g.state.tileSize;
  int x = frame.left() + column * cell;
  int y = clientTop + row * cell + menuHeight + 14;
  x = std::clamp(x, frame.left(), std::max(frame.left(), frame.left() + frame.width() - 100));
  y = std::clamp(y, frame.top(), std::max(frame.top(), frame.top() + frame.height() - 20));
  return QPoint(x, y);
}

CityNamePopup::CityNamePopup(const Game& g, int city, MainWindow& main)
    : QWidget(&main, Qt::ToolTip | Qt::FramelessWindowHint),
      city_(city),
      name_(QString::fromStdString(CityName(g, city))) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFont(DialogFont());
  const QSize size = CityNamePopupSize(name_);
  resize(size);
  const int menuHeight = main.menuBar() ? main.menuBar()->height() : 0;
  move(CityNamePopupPlace(g, city, main.frameGeometry(), main.geometry().top(), menuHeight,
                          main.View()->Renderer().columns, main.View()->Renderer().rows));
}

void CityNamePopup::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  DrawTextCentred(p, width() / 2, 0, name_);
}

}  // namespace vortan
