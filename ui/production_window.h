// SPDX-License-Identifier: GPL-3.0-or-later
// The Production list: the shown player's cities sorted by what they build
// and when, with a scroll bar; the pointer over a row names the city, a left
// click centres the map on it, a right click asks for its production.
#pragma once

#include <QPointer>
#include <QScrollBar>
#include <string>
#include <vector>

#include "ui/city_name_popup.h"
#include "ui/tool_windows.h"

namespace vortan {

inline constexpr int kProductionRowHeight = 18;
inline constexpr int kEventAreaHeight = 190;

// The player's cities in list order: by type (Army, Paras, Fighter, Bomber,
// Transport, Destroyer, Submarine, Carrier, Battleship), then days left, then
// piece-table order; cities with more than 32 days left are not listed.
std::vector<int> ProductionList(const Game& g, int player);
std::string ProductionDaysText(int daysLeft);
// The highest first row; 0 when the list fits.
int ProductionMaxScroll(int count, int clientHeight);
// The first row after a scroll-bar action (QAbstractSlider::SliderAction);
// `dragged` is the box's position for a drag.
int ScrollProductionList(int first, int max, int action, int dragged);

class ProductionWindow : public ColumnWindow {
  Q_OBJECT
 public:
  ProductionWindow(Game& g, const PictureStore& pictures, MainWindow& main);
  ~ProductionWindow() override;

  const std::vector<int>& Listed() const { return list_; }
  int FirstRow() const { return first_; }
  int MaxScroll() const { return max_; }
  QScrollBar* Bar() const { return bar_; }
  CityNamePopup* Popup() const { return popup_; }
  // Builds the list again and sets the scroll range from it.
  void Refresh();
  // Where the list of recent events is drawn.
  QRect EventArea() const { return QRect(0, ListHeight(), width(), EventAreaHeight()); }
  // The listed city of the row at client y, or -1.
  int CityAtY(int y) const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  bool IgnoresMouse() const;
  void ShowPopupFor(int city);
  void ClosePopup();
  int ListHeight() const { return height() - EventAreaHeight(); }
  // The part below the list that names whose turn it is and what just happened.
  int EventAreaHeight() const;
  void PaintEvents(QPainter& p) const;

  Game& game_;  // for the list's own operations; reading goes through g_
  MainWindow& main_;
  QScrollBar* bar_;
  std::vector<int> list_;
  int first_ = 0;
  int max_ = 0;
  QPointer<CityNamePopup> popup_;
};

}  // namespace vortan
