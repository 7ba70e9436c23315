// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/new_game_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "persist/settings_file.h"
#include "ui/picture_store.h"
#include "ui/piece_attributes_dialog.h"
#include "ui_new_game.h"

namespace vortan {

namespace {

constexpr int kSizes[] = {50, 55, 60, 65, 70};
constexpr int kSizeCount = 5, kDifficultyCount = 4, kLandCount = 5;
// Control ids of the first button of each group.
constexpr int kPlayerIds = 1000, kSizeIds = 1100, kDifficultyIds = 1200, kLandIds = 1710;
// The three buttons of a player column, in control-id order.
constexpr const char* kKindNames[3] = {"out", "human", "computer"};

int ReadSetting(const Game& g, const std::string& key) {
  return g.settingsPath.empty() ? -1 : ReadProfileInt(g.settingsPath, "Settings", key, -1);
}

int SizeIndexOf(int side) {
  for (int i = 0; i < kSizeCount; ++i)
    if (kSizes[i] == side) return i;
  return -1;
}

}  // namespace

void LoadNewGameChoices(Game& g) {
  GameSettings& s = g.settings;
  s.kind.fill(PlayerKind::Out);
  s.kind[0] = PlayerKind::Human;
  s.kind[1] = PlayerKind::Computer;
  s.difficulty = Difficulty::Easy;
  s.landAmount = 2;
  bool anyPlayer = false;
  std::array<uint8_t, kPlayerCount> kinds{};
  for (int p = 0; p < kPlayerCount; ++p) {
    const int k = ReadSetting(g, "player" + std::to_string(p + 1));
    if (k >= PlayerKind::Out && k <= PlayerKind::Computer) anyPlayer = true;
    kinds[p] = k >= PlayerKind::Out && k <= PlayerKind::Computer ? static_cast<uint8_t>(k) : uint8_t{PlayerKind::Out};
  }
  if (anyPlayer) s.kind = kinds;
  if (const int d = ReadSetting(g, "difficulty"); d >= 0 && d < kDifficultyCount)
    s.difficulty = static_cast<uint8_t>(d);
  if (const int l = ReadSetting(g, "land"); l >= 0 && l < kLandCount) s.landAmount = static_cast<uint8_t>(l);
}

NewGameChoice NewGameChoiceToShow(const Game& g) {
  NewGameChoice c;
  for (int p = 0; p < kPlayerCount; ++p)
    c.kind[p] = g.settings.kind[p] <= PlayerKind::Computer ? g.settings.kind[p] : uint8_t{PlayerKind::Computer};
  int size = SizeIndexOf(g.settings.width);
  if (size < 0) size = ReadSetting(g, "size");
  c.sizeIndex = size >= 0 && size < kSizeCount ? size : 0;
  c.difficulty = std::min<int>(g.settings.difficulty, kDifficultyCount - 1);
  c.land = std::min<int>(g.settings.landAmount, kLandCount - 1);
  return c;
}

NewGameDialog::NewGameDialog(Game& g, QWidget* parent)
    : QDialog(parent), g_(g), ui_(std::make_unique<Ui::NewGameDialog>()) {
  ui_->setupUi(this);
  // All eighteen player buttons share one group box; each column is its own
  // exclusive choice.
  for (int p = 0; p < kPlayerCount; ++p) {
    playerGroups_[p] = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
      auto* b = findChild<QRadioButton*>(QString("%1%2").arg(kKindNames[k]).arg(p));
      b->setAutoExclusive(false);
      playerGroups_[p]->addButton(b, k);
    }
  }
  connect(ui_->okButton, &QPushButton::clicked, this, &NewGameDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->piecesButton, &QPushButton::clicked, this, &NewGameDialog::OpenPieceAttributes);
  Select(NewGameChoiceToShow(g_));
}

NewGameDialog::~NewGameDialog() = default;

QAbstractButton* NewGameDialog::Button(int id) const {
  if (id == 1) return ui_->okButton;
  if (id == 2) return ui_->cancelButton;
  if (id == 3) return ui_->piecesButton;
  if (id >= kPlayerIds && id < kPlayerIds + 10 * kPlayerCount && id % 10 < 3)
    return playerGroups_[(id - kPlayerIds) / 10]->button(id % 10);
  if (id >= kSizeIds && id < kSizeIds + kSizeCount)
    return findChild<QRadioButton*>(QString("size%1").arg(id - kSizeIds));
  if (id >= kDifficultyIds && id < kDifficultyIds + kDifficultyCount)
    return findChild<QRadioButton*>(QString("difficulty%1").arg(id - kDifficultyIds));
  if (id >= kLandIds && id < kLandIds + kLandCount)
    return findChild<QRadioButton*>(QString("land%1").arg(id - kLandIds));
  return nullptr;
}

void NewGameDialog::Select(const NewGameChoice& c) {
  for (int p = 0; p < kPlayerCount; ++p) {
    const int k = std::min<int>(c.kind[p], PlayerKind::Computer);
    playerGroups_[p]->button(k)->setChecked(true);
  }
  // Exclusive buttons cannot all be cleared one by one; switching the
  // exclusiveness off for a moment can.
  auto selectIn = [this](int firstId, int count, std::optional<int> chosen) {
    for (int i = 0; i < count; ++i) {
      QAbstractButton* b = Button(firstId + i);
      b->setAutoExclusive(false);
      b->setChecked(chosen && *chosen == i);
      b->setAutoExclusive(true);
    }
  };
  selectIn(kSizeIds, kSizeCount, c.sizeIndex);
  selectIn(kDifficultyIds, kDifficultyCount, c.difficulty);
  selectIn(kLandIds, kLandCount, c.land);
}

NewGameChoice NewGameDialog::Selected() const {
  NewGameChoice c;
  for (int p = 0; p < kPlayerCount; ++p) {
    const int k = playerGroups_[p]->checkedId();
    c.kind[p] = static_cast<uint8_t>(k < 0 ? PlayerKind::Computer : k);
  }
  auto selectedIn = [this](int firstId, int count) -> std::optional<int> {
    for (int i = 0; i < count; ++i)
      if (Button(firstId + i)->isChecked()) return i;
    return std::nullopt;
  };
  c.sizeIndex = selectedIn(kSizeIds, kSizeCount);
  c.difficulty = selectedIn(kDifficultyIds, kDifficultyCount).value_or(Difficulty::Hard);
  c.land = selectedIn(kLandIds, kLandCount);
  return c;
}

QPoint NewGameDialog::ArmyPicturePlace(int p) const {
  const int w = width(), h = height();
  return QPoint(static_cast<int>(std::trunc(w * 0.28)) + static_cast<int>(std::trunc(w * p * 0.0721)) - 8,
                static_cast<int>(std::trunc(h * 0.13)) - 8);
}

void NewGameDialog::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  // Each column wears its player's Army as the map shows it now.
  const int cell = g_.state.tileSize;
  const int set = cell == 16 || cell == 32 ? PictureSet::Large : PictureSet::Small;
  const int base = set == PictureSet::Large ? 16 : 12;
  const int scale = std::max(1, cell / base);
  QPainter painter(this);
  for (int p = 0; p < kPlayerCount; ++p) {
    const Picture army = PictureStore::Load(PictureStore::PieceName(set, p, PieceType::Army), base, base);
    painter.drawImage(ArmyPicturePlace(p), army.Variant(scale, false, false));
  }
}

void NewGameDialog::Confirm() {
  ProfileSettings store(g_.settingsPath);
  if (ApplyNewGameChoice(g_, Selected(), store) == NewGameVerdict::Accepted) accept();
}

void NewGameDialog::OpenPieceAttributes() {
  PieceAttributesDialog pieces(g_, this);
  pieces.exec();
}

bool RunNewGameDialog(Game& g, QWidget* parent) {
  NewGameDialog dialog(g, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace vortan
