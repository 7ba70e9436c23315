// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/piece_attributes_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "ui_piece_attributes.h"

namespace vortan {

namespace {
// The form names its controls after the settings-file keys of the types.
QString Key(int type) { return QString::fromLatin1(kPieceTypeDefaults[type].key); }
bool HasRow(int type) { return type >= PieceType::Army && type <= PieceType::Para; }
}  // namespace

PieceAttributesDialog::PieceAttributesDialog(Game& g, QWidget* parent)
    : QDialog(parent), g_(g), ui_(std::make_unique<Ui::PieceAttributesDialog>()) {
  ui_->setupUi(this);
  connect(ui_->okButton, &QPushButton::clicked, this, &PieceAttributesDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->defaultButton, &QPushButton::clicked, this, [this] { Show(DefaultPieceAttributesToShow()); });
  Show(PieceAttributesToShow(g_, ProfileSettings(g_.settingsPath)));
}

PieceAttributesDialog::~PieceAttributesDialog() = default;

QCheckBox* PieceAttributesDialog::UseBox(int type) const {
  return HasRow(type) ? findChild<QCheckBox*>("use_" + Key(type)) : nullptr;
}
QLineEdit* PieceAttributesDialog::DaysField(int type) const {
  return HasRow(type) ? findChild<QLineEdit*>("days_" + Key(type)) : nullptr;
}
QLineEdit* PieceAttributesDialog::MovesField(int type) const {
  return HasRow(type) ? findChild<QLineEdit*>("moves_" + Key(type)) : nullptr;
}
QLineEdit* PieceAttributesDialog::FuelField(int type) const {
  return HasRow(type) ? findChild<QLineEdit*>("fuel_" + Key(type)) : nullptr;
}

void PieceAttributesDialog::Show(const PieceAttributeInput& in) {
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    UseBox(t)->setChecked(in.use[t]);
    DaysField(t)->setText(QString::fromStdString(in.days[t]));
    MovesField(t)->setText(QString::fromStdString(in.moves[t]));
    if (QLineEdit* fuel = FuelField(t)) fuel->setText(QString::fromStdString(in.fuel[t]));
  }
}

PieceAttributeInput PieceAttributesDialog::Entered() const {
  PieceAttributeInput in;
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    in.use[t] = UseBox(t)->isChecked();
    in.days[t] = DaysField(t)->text().toStdString();
    in.moves[t] = MovesField(t)->text().toStdString();
    if (QLineEdit* fuel = FuelField(t)) in.fuel[t] = fuel->text().toStdString();
  }
  return in;
}

void PieceAttributesDialog::Confirm() {
  ProfileSettings store(g_.settingsPath);
  if (ApplyPieceAttributes(g_, Entered(), store)) accept();
}

}  // namespace vortan
