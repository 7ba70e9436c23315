// SPDX-License-Identifier: GPL-3.0-or-later
// The Piece Attributes dialog: which piece types are in use and their build
// days, moves and fuel. Its OK checks and stores through ApplyPieceAttributes.
#pragma once

#include <QDialog>
#include <memory>

#include "model/game.h"
#include "worldgen/new_game.h"

class QCheckBox;
class QLineEdit;

namespace Ui {
class PieceAttributesDialog;
}

namespace vortan {

class PieceAttributesDialog : public QDialog {
  Q_OBJECT
 public:
  PieceAttributesDialog(Game& g, QWidget* parent);
  ~PieceAttributesDialog() override;

  void Show(const PieceAttributeInput& in);
  PieceAttributeInput Entered() const;
  // The controls of a piece type (type code 1..9); the fuel field is null for
  // the types without fuel.
  QCheckBox* UseBox(int type) const;
  QLineEdit* DaysField(int type) const;
  QLineEdit* MovesField(int type) const;
  QLineEdit* FuelField(int type) const;

 private:
  void Confirm();

  Game& g_;
  std::unique_ptr<Ui::PieceAttributesDialog> ui_;
};

}  // namespace vortan
