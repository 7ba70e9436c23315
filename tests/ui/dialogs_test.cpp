// SPDX-License-Identifier: GPL-3.0-or-later
// The New Game and Piece Attributes dialogs: what they open with, what their
// OK refuses and says, what they write to the settings file (even when they
// refuse) and what Cancel undoes.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "play_fixture.h"
#include "ui/new_game_dialog.h"
#include "ui/piece_attributes_dialog.h"

namespace vortan::test {
namespace {

using Kinds = std::array<uint8_t, kPlayerCount>;

class DialogsTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    ASSERT_TRUE(dir.isValid());
    ResetToProgramStart(*game);
    game->settingsPath = dir.filePath("VORTAN.INI").toStdString();
    LoadPieceAttributes(game->settings, game->settingsPath);
    LoadNewGameChoices(*game);
  }
  int FileValue(const char* section, const std::string& key) {
    return ReadProfileInt(game->settingsPath, section, key, -1);
  }
  void Choose(NewGameDialog& d, Kinds kinds, int size, int difficulty, int land) {
    for (int p = 0; p < kPlayerCount; ++p) d.Button(1000 + 10 * p + kinds[p])->click();
    d.Button(1100 + size)->click();
    d.Button(1200 + difficulty)->click();
    d.Button(1710 + land)->click();
  }
  QTemporaryDir dir;
};

// Which choices are refused is the core's (NewGameTest); here a refusal keeps
// the dialog open, and every button reaches the choice and the file.
TEST_F(DialogsTest, NewGameRefusesASinglePlayerButWritesTheChoiceAnyway) {
  NewGameDialog d(*game, window.get());
  Choose(d, {PlayerKind::Human, 0, 0, 0, 0, 0}, 2, 3, 4);
  d.Button(1)->click();
  EXPECT_EQ(hooks->messages.back(), "Sorry!: There must be more than 1 player");
  EXPECT_NE(d.result(), QDialog::Accepted);
  const std::pair<const char*, int> written[] = {
      {"player1", 1}, {"player2", 0}, {"size", 2}, {"difficulty", 3}, {"land", 4}};
  for (const auto& [key, value] : written) EXPECT_EQ(FileValue("Settings", key), value) << key;

  Choose(d, {PlayerKind::Computer, 0, PlayerKind::Human, 0, 0, PlayerKind::Computer}, 4, 1, 1);
  d.Button(1)->click();
  EXPECT_EQ(std::tuple(d.result(), hooks->messages.size(), int(game->settings.kind[2]), int(game->settings.width)),
            std::tuple(int(QDialog::Accepted), size_t{1}, int(PlayerKind::Human), 70));
  EXPECT_EQ(FileValue("Settings", "player6"), 2);
}

TEST_F(DialogsTest, CancellingNewGameRestoresTheRecordButNotTheFile) {
  game->settings.kind = {PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0};
  const Kinds kinds = game->settings.kind;
  const uint8_t armyDays = game->settings.days[PieceType::Army];
  hooks->realNewGameDialog = true;
  bool sawPieces = false;
  WhenModalOpens([&](QWidget* w) {
    auto* d = qobject_cast<NewGameDialog*>(w);
    ASSERT_NE(d, nullptr);
    Choose(*d, {0, PlayerKind::Computer, 0, 0, 0, 0}, 1, 1, 1);
    d->Button(1)->click();
    WhenModalOpens([&](QWidget* inner) {  // Pieces >>: the Army's build time changed and confirmed there
      auto* p = qobject_cast<PieceAttributesDialog*>(inner);
      ASSERT_NE(p, nullptr);
      sawPieces = true;
      p->DaysField(PieceType::Army)->setText("9");
      p->findChild<QPushButton*>("okButton")->click();
    });
    d->Button(3)->click();
    d->Button(2)->click();
  });
  window->ExecuteCommand(Cmd::New);
  EXPECT_TRUE(sawPieces);
  EXPECT_EQ(hooks->messages.back(), "Sorry!: There must be a human player");
  EXPECT_EQ(std::tuple(int(game->state.gameActive), game->settings.kind, game->settings.days[PieceType::Army]),
            std::tuple(0, kinds, armyDays));
  EXPECT_EQ(std::tuple(FileValue("Settings", "player2"), FileValue("Days", "army")), std::tuple(2, 9));
}

class PieceAttributesTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    dialog = std::make_unique<PieceAttributesDialog>(*game, window.get());
  }
  void Press(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }
  std::unique_ptr<PieceAttributesDialog> dialog;
};

TEST_F(PieceAttributesTest, RowsShowTheSettingsAndRangesAndDefaultFillsInButCancelStoresNothing) {
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    EXPECT_EQ(std::tuple(dialog->UseBox(t)->isChecked(), dialog->DaysField(t)->text().toInt(),
                         dialog->MovesField(t)->text().toInt(), dialog->FuelField(t) != nullptr),
              std::tuple(true, int(kPieceTypeDefaults[t].days), int(kPieceTypeDefaults[t].moves),
                         t == PieceType::Para || t == PieceType::Fighter || t == PieceType::Bomber))
        << t;
  }
  dialog->UseBox(PieceType::Bomber)->setChecked(false);
  dialog->MovesField(PieceType::Fighter)->setText("3");
  Press("defaultButton");
  EXPECT_TRUE(dialog->UseBox(PieceType::Bomber)->isChecked());
  EXPECT_EQ(dialog->MovesField(PieceType::Fighter)->text(), "14");
  dialog->MovesField(PieceType::Fighter)->setText("3");
  Press("cancelButton");
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(game->settings.moves[PieceType::Fighter], 14);
  EXPECT_FALSE(std::filesystem::exists(game->settingsPath));

  // The boxes come from the file's "Pieces" keys: only exactly 1 is in use.
  WriteProfileString(game->settingsPath, "Pieces", "carrier", "2");
  PieceAttributesDialog reopened(*game, window.get());
  EXPECT_FALSE(reopened.UseBox(PieceType::Carrier)->isChecked());
  EXPECT_TRUE(reopened.UseBox(PieceType::Submarine)->isChecked());
}

// Which sets are refused and how typed values are bounded are the core's
// (NewGameTest); here OK keeps the dialog open on a refusal and takes every
// kind of field to the settings and the file.
TEST_F(PieceAttributesTest, OkRefusesAGameWithoutCaptureThenBoundsWhatWasTypedAndWritesEveryKey) {
  dialog->UseBox(PieceType::Army)->setChecked(false);
  dialog->UseBox(PieceType::Para)->setChecked(false);
  Press("okButton");
  EXPECT_EQ(hooks->messages.back(),
            "Vortan: You must have either Armies or Paras in the\ngame or you couldn't capture cities!");
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(FileValue("Pieces", "army"), -1);
  EXPECT_EQ(game->settings.inUse[PieceType::Army], 1);

  dialog->UseBox(PieceType::Army)->setChecked(true);
  dialog->UseBox(PieceType::Submarine)->setChecked(false);
  dialog->DaysField(PieceType::Destroyer)->setText("abc");
  dialog->MovesField(PieceType::Transport)->setText("300");
  dialog->FuelField(PieceType::Bomber)->setText("40");
  Press("okButton");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const GameSettings& s = game->settings;
  const struct {
    int value, expected;
    const char *section, *key;  // and in the file
  } rows[] = {
      {s.days[PieceType::Destroyer], 1, "Days", "destroyer"}, {s.moves[PieceType::Transport], 32, "Moves", "transport"},
      {s.fuel[PieceType::Bomber], 32, "Fuel", "bomber"},      {s.inUse[PieceType::Submarine], 0, "Pieces", "submarine"},
      {s.inUse[PieceType::Army], 1, "Pieces", "army"},        {s.fuel[PieceType::Para], 28, "Fuel", "para"}};
  for (const auto& r : rows) {
    EXPECT_EQ(r.value, r.expected) << r.key;
    EXPECT_EQ(FileValue(r.section, r.key), r.expected) << r.section << " " << r.key;
  }
  EXPECT_EQ(FileValue("Fuel", "destroyer"), -1) << "only the air types have fuel keys";
}

}  // namespace
}  // namespace vortan::test
