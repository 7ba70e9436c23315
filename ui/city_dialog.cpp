// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/city_dialog.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "game/turn_loop.h"
#include "rules/piece_state.h"
#include "rules/production.h"
#include "ui/city_names.h"
#include "ui/tool_windows.h"
#include "ui_city_dialog.h"

namespace vortan {

namespace {

struct TypeButton {
  int type;
  QRadioButton* Ui::CityDialogForm::*button;
};
constexpr TypeButton kButtons[] = {
    {PieceType::Army, &Ui::CityDialogForm::army},
    {PieceType::Para, &Ui::CityDialogForm::paras},
    {PieceType::Fighter, &Ui::CityDialogForm::fighter},
    {PieceType::Bomber, &Ui::CityDialogForm::bomber},
    {PieceType::Transport, &Ui::CityDialogForm::transport},
    {PieceType::Destroyer, &Ui::CityDialogForm::destroyer},
    {PieceType::Submarine, &Ui::CityDialogForm::submarine},
    {PieceType::Carrier, &Ui::CityDialogForm::carrier},
    {PieceType::Battleship, &Ui::CityDialogForm::battleship},
};

constexpr QPoint kOutOfSight{666, 666};
constexpr QColor kBoxColour{192, 192, 192};

int Trunc(double v) { return static_cast<int>(v); }

}  // namespace

QString CityDaysText(int days) {
  return days == 1 ? QCoreApplication::translate("CityDialog", "tomorrow      ")
                   : QCoreApplication::translate("CityDialog", "in %1 days  ").arg(days);
}

CityDialog::CityDialog(Game& g, const PictureStore& pictures, int city, QWidget* main)
    : QDialog(main),
      g_(g),
      pictures_(pictures),
      city_(std::clamp(city, 0, kPieceSlots - 1)),
      productionAtOpening_(g.pieces[city_].production),
      form_(std::make_unique<Ui::CityDialogForm>()) {
  form_->setupUi(this);
  setFont(DialogFont());
  setWindowTitle(QString::fromStdString(CityName(g, city_)));
  // The boxes only frame the painting (the form draws them as bare frames, so
  // they do not tint it); clicks in them belong to the dialog.
  for (QGroupBox* box : {form_->awake, form_->asleep}) box->setAttribute(Qt::WA_TransparentForMouseEvents);
  EnableButtons();
  if (QRadioButton* b = ButtonFor(productionAtOpening_)) b->setChecked(true);
  const int v = ViewingPlayer(g);
  if (g.state.day == 1 || g.state.demoMode || g.state.eliminated[v]) {
    form_->cancel->move(kOutOfSight);
    form_->cancel->hide();
  }
  for (const TypeButton& tb : kButtons)
    connect(form_.get()->*tb.button, &QRadioButton::clicked, this, [this, type = tb.type] { ChooseType(type); });
  connect(form_->ok, &QPushButton::clicked, this, &CityDialog::accept);
  connect(form_->cancel, &QPushButton::clicked, this, &CityDialog::reject);
  CentreOver(this, main);
}

CityDialog::~CityDialog() = default;

QRadioButton* CityDialog::ButtonFor(int type) const {
  for (const TypeButton& tb : kButtons)
    if (tb.type == type) return form_.get()->*tb.button;
  return nullptr;
}

QWidget* CityDialog::CancelButton() const { return form_->cancel; }

int CityDialog::Owner() const { return std::clamp<int>(g_.pieces[city_].owner, 0, kPlayerCount - 1); }

void CityDialog::EnableButtons() {
  const bool readOnly = g_.state.demoMode || g_.state.eliminated[ViewingPlayer(g_)];
  const PieceRecord& c = g_.pieces[city_];
  const bool coastal = IsCoastal(g_.world, g_.settings, c.x, c.y);
  for (const TypeButton& tb : kButtons) {
    bool enabled = !readOnly && g_.settings.inUse[tb.type] != 0;
    if (!coastal && IsShipType(tb.type)) enabled = false;
    (form_.get()->*tb.button)->setEnabled(enabled);
  }
}

int CityDialog::ShownDays() const {
  const PieceRecord& c = g_.pieces[city_];
  if (c.production == productionAtOpening_) return c.daysLeft;
  return c.production < kTypeCount ? g_.settings.days[c.production] : 0;
}

int CityDialog::AwakeTop() const { return Trunc(0.55 * height()); }
int CityDialog::AsleepTop() const { return Trunc(0.82 * height()); }

QPoint CityDialog::SlotPosition(int column, int row, int top) const {
  const int w = width();
  return QPoint(Trunc(0.08 * w) + Trunc(w * column / 16.0) - 8, top + 19 * row - 7);
}

void CityDialog::FillSlots() {
  for (SlotTable* t : {&awake_, &asleep_})
    for (auto& row : *t) row.fill(kNoSlotPiece);
  const PieceRecord& c = g_.pieces[city_];
  int awakeCount = 0, asleepCount = 0;
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g_.pieces[i];
    if (i == city_ || r.IsEmpty() || r.type == PieceType::City || r.owner != c.owner || !(r.Pos() == c.Pos())) continue;
    const bool asleep = r.state == PieceState::Asleep;
    int& count = asleep ? asleepCount : awakeCount;
    if (count >= kSlotColumns * kSlotRows) continue;
    (asleep ? asleep_ : awake_)[count / kSlotColumns][count % kSlotColumns] = i;
    ++count;
  }
}

void CityDialog::ChooseType(int type) {
  SetCityProduction(g_, city_, type);
  if (QRadioButton* b = ButtonFor(type)) b->setChecked(true);
  update();
}

void CityDialog::ClickAt(QPoint m) {
  if (g_.state.demoMode) return;
  FillSlots();
  const int w = width(), h = height();
  const int column = Trunc((m.x() - Trunc(0.08 * w)) * 16.0 / w + 0.5);
  const bool onAwake = m.y() < Trunc(0.82 * h) - 16;
  // The asleep box is hit-tested a little lower than it is painted.
  const int row = onAwake ? (m.y() + 8 - Trunc(0.55 * h)) / 20 : (m.y() + 8 - Trunc(0.84 * h)) / 20;
  if (column < 0 || column >= kSlotColumns || row < 0 || row >= kSlotRows) return;
  const int piece = (onAwake ? awake_ : asleep_)[row][column];
  if (piece == kNoSlotPiece) return;
  if (onAwake) {
    SleepPiece(g_, piece);
  } else {
    WakePiece(g_, piece);
    SetCurrentPiece(g_, piece);
  }
  update();
}

void CityDialog::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) ClickAt(e->position().toPoint());
  QDialog::mouseReleaseEvent(e);
}

void CityDialog::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  const PieceRecord& c = g_.pieces[city_];
  p.drawImage(Trunc(0.2 * w) - 24, Trunc(0.17 * h) - 24, Symbol(pictures_, Owner(), PieceType::City, 3));
  if (c.production < kTypeCount) {
    const int set = g_.state.zoomIsWhole ? PictureSet::Large : PictureSet::Small;
    const int scale = g_.state.tileSize >= 24 ? 2 : 1;
    p.drawImage(Trunc(0.1 * w) - 8, Trunc(0.31 * h) + 2,
                pictures_.Piece(set, Owner(), c.production).Variant(scale, false, false));
  }
  DrawTextAt(p, Trunc(0.15 * w), Trunc(0.32 * h), CityDaysText(ShownDays()));

  FillSlots();
  for (const auto& [top, table] : {std::pair{AwakeTop(), &awake_}, std::pair{AsleepTop(), &asleep_}}) {
    p.fillRect(Trunc(0.08 * w) - 8, top - 7, 5 * w / 16, 35, kBoxColour);
    for (int row = 0; row < kSlotRows; ++row)
      for (int column = 0; column < kSlotColumns; ++column) {
        const int piece = (*table)[row][column];
        if (piece == kNoSlotPiece) continue;
        p.drawImage(SlotPosition(column, row, top), Symbol(pictures_, Owner(), g_.pieces[piece].type));
      }
  }
}

void CityDialog::accept() {
  const PieceRecord& c = g_.pieces[city_];
  if (c.production != productionAtOpening_) {
    ResetBuildTime(g_, city_);
    const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
    if (g_.ui().IsToolWindowOpen(ToolWindow::Production) && IsHumanPlayer(g_, player))
      g_.ui().RepaintToolWindow(ToolWindow::Production);
  }
  for (int i = 0; i < kPieceSlots; ++i)
    if (g_.pieces[i].Pos() == c.Pos() && CanMove(g_, i)) SetCurrentPiece(g_, i);
  done(0);
}

void CityDialog::reject() {
  SetCityProduction(g_, city_, productionAtOpening_);
  done(0);
}

void RunCityDialog(Game& g, const PictureStore& pictures, int city, QWidget* main) {
  CityDialog dialog(g, pictures, city, main);
  dialog.exec();
}

}  // namespace vortan
