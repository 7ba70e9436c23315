// SPDX-License-Identifier: GPL-3.0-or-later
// The small window that names a city, shown over the city's cell on the map
// while the pointer rests on the city's row of the Production list.
#pragma once

#include <QRect>
#include <QWidget>

#include "model/game.h"

namespace vortan {

class MainWindow;

// The popup's size for a name.
QSize CityNamePopupSize(const QString& name);
// Its top-left corner on the screen: over the city's cell, kept within the
// main window. `frame` is the main window with its border, `clientTop` the
// screen y of the top of its menu bar, `menuHeight` the bar's height.
QPoint CityNamePopupPlace(const Game& g, int city, QRect frame, int clientTop, int menuHeight, int viewColumns,
                          int viewRows);

class CityNamePopup : public QWidget {
  Q_OBJECT
 public:
  CityNamePopup(const Game& g, int city, MainWindow& main);
  int City() const { return city_; }
  QString Name() const { return name_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  int city_;
  QString name_;
};

}  // namespace vortan
