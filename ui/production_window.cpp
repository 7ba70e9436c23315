// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/production_window.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "rules/player_view.h"
#include "rules/production.h"
#include "ui/city_name_popup.h"
#include "ui/main_window.h"

namespace vortan {

namespace {

constexpr int kLongestListedWait = 32;

// The place of each piece type in the list (Army first, Battleship last).
constexpr int kListRank[kTypeCount] = {9, 0, 5, 2, 3, 8, 7, 6, 4, 1};

int RankOf(int type) { return type < kTypeCount ? kListRank[type] : kTypeCount; }

}  // namespace

std::vector<int> ProductionList(const Game& g, int player) {
  std::vector<int> list;
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.type == PieceType::City && r.owner == player && r.daysLeft <= kLongestListedWait) list.push_back(i);
  }
  std::stable_sort(list.begin(), list.end(), [&](int a, int b) {
    const PieceRecord& ra = g.pieces[a];
    const PieceRecord& rb = g.pieces[b];
    if (RankOf(ra.production) != RankOf(rb.production)) return RankOf(ra.production) < RankOf(rb.production);
    return ra.daysLeft < rb.daysLeft;
  });
  return list;
}

std::string ProductionDaysText(int daysLeft) {
  const QString text = daysLeft < 2 ? QCoreApplication::translate("ProductionWindow", "tomorrow   ")
                                    : QCoreApplication::translate("ProductionWindow", "in %1 days   ").arg(daysLeft);
  return text.toStdString();
}

int ProductionMaxScroll(int count, int clientHeight) {
  const int max = count - clientHeight / kProductionRowHeight;
  return max < 1 ? 0 : max;
}

int ScrollProductionList(int first, int max, int action, int dragged) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return std::max(0, first - 1);
    case QAbstractSlider::SliderSingleStepAdd:
      return std::min(max, first + 1);
    case QAbstractSlider::SliderPageStepSub:
      return first < 5 ? 0 : first - 4;
    case QAbstractSlider::SliderPageStepAdd:
      return max - first <= 4 ? max : first + 4;
    case QAbstractSlider::SliderMove:
      return std::clamp(dragged, 0, max);
    case QAbstractSlider::SliderToMinimum:
      return 0;
    case QAbstractSlider::SliderToMaximum:
      return max;
    default:
      return first;
  }
}

ProductionWindow::ProductionWindow(Game& g, const PictureStore& pictures, MainWindow& main)
    : ColumnWindow(ToolWindow::Production, QT_TRANSLATE_NOOP("InfoWindow", "Production"), g, pictures, &main),
      game_(g),
      main_(main) {
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setRange(0, 0);
  bar_->setPageStep(4);
  bar_->setFocusPolicy(Qt::NoFocus);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) {
    const int next = ScrollProductionList(first_, max_, action, bar_->sliderPosition());
    bar_->setSliderPosition(next);
    if (next == first_) return;
    first_ = next;
    update();
  });
}

ProductionWindow::~ProductionWindow() { ClosePopup(); }

void ProductionWindow::Refresh() {
  list_ = ProductionList(g_, ViewingPlayer(g_));
  max_ = ProductionMaxScroll(static_cast<int>(list_.size()), ListHeight());
  first_ = std::clamp(first_, 0, max_);
  bar_->setRange(0, max_);
  bar_->setValue(first_);
}

int ProductionWindow::CityAtY(int y) const {
  if (y < 0 || y >= ListHeight()) return -1;
  const int entry = first_ + y / kProductionRowHeight;
  return entry >= 0 && entry < static_cast<int>(list_.size()) ? list_[static_cast<size_t>(entry)] : -1;
}

void ProductionWindow::resizeEvent(QResizeEvent* e) {
  ColumnWindow::resizeEvent(e);
  bar_->setGeometry(width() - kScrollBarSize, 0, kScrollBarSize, ListHeight());
}

int ProductionWindow::EventAreaHeight() const {
  // Ten short lines when there is room; never more than half the window.
  return std::min(kEventAreaHeight, height() / 2);
}

void ProductionWindow::PaintEvents(QPainter& p) const {
  const QRect area = EventArea();
  p.save();
  p.setClipRect(area);
  p.setPen(palette().color(QPalette::Dark));
  p.drawLine(area.topLeft(), area.topRight());
  QFont small = p.font();
  small.setPixelSize(10);
  p.setFont(small);
  const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
  int y = area.top() + 3;
  if (g_.state.gameActive) {
    QFont bold = small;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(PlayerTextColour(player));
    DrawTextAt(p, 4, y, QString(kPlayerNames[player]) + (g_.state.demoMode ? " moves" : "'s turn"));
    p.setFont(small);
    y += p.fontMetrics().height() + 3;
  }
  const int textWidth = area.width() - 8;
  for (const EventLine& line : main_.Events().Lines()) {
    if (y >= area.bottom()) break;
    // One layout per line: drawing tells how high the wrapped text came out.
    QRect box;
    p.setPen(line.player < 0 ? QColor(128, 0, 0) : PlayerTextColour(line.player));
    p.drawText(QRect(4, y, textWidth, 1000), Qt::TextWordWrap, line.text, &box);
    y += box.height() + 2;
  }
  p.restore();
}

void ProductionWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  PaintEvents(p);
  p.setClipRect(0, 0, width(), ListHeight());
  if (g_.state.demoMode) return;
  Refresh();
  const int rows = ListHeight() / kProductionRowHeight;
  for (int r = 0; r < rows; ++r) {
    const int entry = r + first_;
    if (entry >= static_cast<int>(list_.size())) break;  // the rest of the rows stay blank
    const PieceRecord& city = g_.pieces[list_[static_cast<size_t>(entry)]];
    const int y = kProductionRowHeight * r;
    if (city.production < kTypeCount) p.drawImage(4, y, Symbol(pictures_, ViewingPlayer(g_), city.production));
    DrawTextAt(p, 26, y, QString::fromStdString(ProductionDaysText(city.daysLeft)));
  }
}

bool ProductionWindow::IgnoresMouse() const {
  return g_.state.eliminated[ViewingPlayer(g_)] != 0 || g_.state.demoMode || !g_.state.gameActive;
}

void ProductionWindow::ShowPopupFor(int city) {
  if (popup_ && popup_->City() == city) return;
  ClosePopup();
  game_.app.popupCity = city;
  popup_ = new CityNamePopup(g_, city, main_);
  popup_->show();
}

void ProductionWindow::ClosePopup() {
  if (popup_) popup_->close();
  popup_ = nullptr;
}

void ProductionWindow::mouseMoveEvent(QMouseEvent* e) {
  ColumnWindow::mouseMoveEvent(e);
  if (IgnoresMouse()) return;
  Refresh();
  const int city = CityAtY(e->position().toPoint().y());
  if (city < 0)
    ClosePopup();
  else
    ShowPopupFor(city);
}

void ProductionWindow::leaveEvent(QEvent* e) {
  ClosePopup();
  ColumnWindow::leaveEvent(e);
}

void ProductionWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (IgnoresMouse()) return;
  Refresh();
  const int city = CityAtY(e->position().toPoint().y());
  if (city < 0) return;
  if (e->button() == Qt::LeftButton) {
    ClosePopup();
    CentreView(game_, g_.pieces[city].x, g_.pieces[city].y);
    g_.ui().RepaintMainWindow();
  } else if (e->button() == Qt::RightButton) {
    ChooseProduction(game_, city);
  }
}

}  // namespace vortan
