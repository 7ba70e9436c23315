// SPDX-License-Identifier: GPL-3.0-or-later
// The City dialog: one city's name, owner, production and the pieces in it.
// The production changes at once with each button; clicks on the awake and
// asleep boxes put pieces to sleep or wake them; Cancel restores only the
// production.
#pragma once

#include <QDialog>
#include <QRadioButton>
#include <array>
#include <memory>

#include "model/game.h"
#include "ui/picture_store.h"

namespace Ui {
class CityDialogForm;
}

namespace vortan {

inline constexpr int kSlotColumns = 5;
inline constexpr int kSlotRows = 2;
inline constexpr int kNoSlotPiece = kPieceSlots;  // an empty slot

// Piece indices by row and column.
using SlotTable = std::array<std::array<int, kSlotColumns>, kSlotRows>;

// The text for the days until the city's piece is ready.
QString CityDaysText(int days);

class CityDialog : public QDialog {
  Q_OBJECT
 public:
  CityDialog(Game& g, const PictureStore& pictures, int city, QWidget* main);
  ~CityDialog() override;

  // The production button for a piece type (nullptr for none).
  QRadioButton* ButtonFor(int type) const;
  QWidget* CancelButton() const;
  // Days shown: the city's days left while the production is the one it had
  // at opening, otherwise the full build days of the chosen type.
  int ShownDays() const;
  // Fills the slot tables as the painting does.
  void FillSlots();
  const SlotTable& Awake() const { return awake_; }
  const SlotTable& Asleep() const { return asleep_; }
  // The production button's effect.
  void ChooseType(int type);
  // A mouse button released at (mx, my) of the client area.
  void ClickAt(QPoint p);

  // The client positions the painting uses.
  int AwakeTop() const;
  int AsleepTop() const;
  QPoint SlotPosition(int column, int row, int top) const;

  void accept() override;  // OK
  void reject() override;  // Cancel, Escape and the close box

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void EnableButtons();
  int Owner() const;

  Game& g_;
  const PictureStore& pictures_;
  int city_;
  uint8_t productionAtOpening_;
  std::unique_ptr<Ui::CityDialogForm> form_;
  SlotTable awake_{};
  SlotTable asleep_{};
};

// Opens the dialog modally for the city and returns when it is closed.
void RunCityDialog(Game& g, const PictureStore& pictures, int city, QWidget* main);

}  // namespace vortan
