// The New Game and Piece Attributes dialogs: what they open with, what their
// OK refuses and says, what they write to the settings file (even when they
// refuse) and what Cancel undoes.
#include "play_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "ui/new_game_dialog.h"
#include "ui/piece_attributes_dialog.h"

namespace vortan::test {
namespace {

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
  void Choose(NewGameDialog& d, std::array<int, kPlayerCount> kinds, int size, int difficulty, int land) {
    for (int p = 0; p < kPlayerCount; ++p) d.Button(1000 + 10 * p + kinds[p])->click();
    d.Button(1100 + size)->click();
    d.Button(1200 + difficulty)->click();
    d.Button(1710 + land)->click();
  }
  QTemporaryDir dir;
};

TEST_F(DialogsTest, NewGameRefusesWithoutAHumanOrASecondPlayerButWritesTheChoiceAnyway) {
  NewGameDialog d(*game, window.get());
  EXPECT_EQ(d.windowTitle(), "New Game");
  Choose(d, {PlayerKind::Human, 0, 0, 0, 0, 0}, 2, 3, 4);
  d.Button(1)->click();
  EXPECT_EQ(scripted->messages.back(), "Sorry!: There must be more than 1 player");
  EXPECT_NE(d.result(), QDialog::Accepted);
  EXPECT_EQ(FileValue("Settings", "player1"), 1);
  EXPECT_EQ(FileValue("Settings", "player2"), 0);
  EXPECT_EQ(FileValue("Settings", "size"), 2);
  EXPECT_EQ(FileValue("Settings", "difficulty"), 3);
  EXPECT_EQ(FileValue("Settings", "land"), 4);

  Choose(d, {PlayerKind::Computer, PlayerKind::Computer, 0, 0, 0, 0}, 0, 0, 0);
  d.Button(1)->click();
  EXPECT_EQ(scripted->messages.back(), "Sorry!: There must be a human player");
  EXPECT_EQ(FileValue("Settings", "player1"), 2);

  Choose(d, {PlayerKind::Computer, 0, PlayerKind::Human, 0, 0, PlayerKind::Computer}, 4, 1, 1);
  d.Button(1)->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(scripted->messages.size(), 2u);
  EXPECT_EQ(game->settings.kind[2], PlayerKind::Human);
  EXPECT_EQ(game->settings.width, 70);
  EXPECT_EQ(FileValue("Settings", "player6"), 2);
}

TEST_F(DialogsTest, NewGameOpensWithTheLastConfirmedChoicesEvenAfterARestart) {
  {
    NewGameDialog d(*game, window.get());
    Choose(d, {PlayerKind::Human, PlayerKind::Human, PlayerKind::Computer, 0, 0, 0}, 3, 2, 0);
    d.Button(1)->click();
    ASSERT_EQ(d.result(), QDialog::Accepted);
  }
  const NewGameChoice confirmed = NewGameDialog(*game, window.get()).Selected();
  EXPECT_EQ(confirmed.kind, (std::array<uint8_t, kPlayerCount>{1, 1, 2, 0, 0, 0}));
  EXPECT_EQ(confirmed.sizeIndex, 3);
  EXPECT_EQ(confirmed.difficulty, 2);
  EXPECT_EQ(confirmed.land, 0);

  // A new run of the program: a fresh record, the file read back at start-up.
  ResetToProgramStart(*game);
  game->settingsPath = dir.filePath("VORTAN.INI").toStdString();
  LoadNewGameChoices(*game);
  EXPECT_EQ(game->Width(), 40);
  const NewGameChoice restarted = NewGameDialog(*game, window.get()).Selected();
  EXPECT_EQ(restarted.kind, confirmed.kind);
  EXPECT_EQ(restarted.sizeIndex, 3);
  EXPECT_EQ(restarted.difficulty, 2);
  EXPECT_EQ(restarted.land, 0);
}

TEST_F(DialogsTest, AFirstRunOffersOneHumanAgainstTheComputer) {
  const NewGameChoice first = NewGameDialog(*game, window.get()).Selected();
  EXPECT_EQ(first.kind, (std::array<uint8_t, kPlayerCount>{1, 2, 0, 0, 0, 0}));
  EXPECT_EQ(first.sizeIndex, 0);
  EXPECT_TRUE(first.land.has_value());
}

TEST_F(DialogsTest, AfterADemoTheDialogOffersTheDemosPlayers) {
  game->rng.SetState(99);
  DemoCommand(*game);
  ASSERT_EQ(game->state.demoMode, 1);
  const NewGameChoice shown = NewGameDialog(*game, window.get()).Selected();
  EXPECT_EQ(shown.kind, (std::array<uint8_t, kPlayerCount>{2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(shown.difficulty, 1);
  EXPECT_EQ(shown.land, 2);
}

TEST_F(DialogsTest, CancellingNewGameRestoresTheRecordButNotTheFile) {
  game->settings.kind = {PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0};
  const std::array<uint8_t, kPlayerCount> kinds = game->settings.kind;
  const uint8_t armyDays = game->settings.days[PieceType::Army];
  scripted->realNewGameDialog = true;
  bool sawPieces = false;
  WhenModalOpens([&](QWidget* w) {
    auto* d = qobject_cast<NewGameDialog*>(w);
    ASSERT_NE(d, nullptr);
    Choose(*d, {0, PlayerKind::Computer, 0, 0, 0, 0}, 1, 1, 1);
    d->Button(1)->click();
    // Pieces >>: change the Army's build time and confirm it there.
    WhenModalOpens([&](QWidget* inner) {
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
  EXPECT_EQ(scripted->messages.back(), "Sorry!: There must be a human player");
  EXPECT_EQ(game->state.gameActive, 0);
  EXPECT_EQ(game->settings.kind, kinds);
  EXPECT_EQ(game->settings.days[PieceType::Army], armyDays);
  EXPECT_EQ(FileValue("Settings", "player2"), 2);
  EXPECT_EQ(FileValue("Days", "army"), 9);
}

// The screen may keep fewer bits per colour than the picture has.
bool SamePicture(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 || std::abs(qBlue(p) - qBlue(q)) > 8)
        return false;
    }
  return true;
}

TEST_F(DialogsTest, TheArmyOfEachPlayerIsPaintedAboveItsColumn) {
  NewGameDialog d(*game, window.get());
  d.show();
  const QImage shot = d.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), d.size());
  for (int p = 0; p < kPlayerCount; ++p) {
    const QImage army = PictureStore::Load(PictureStore::PieceName(PictureSet::Large, p, PieceType::Army), 16, 16)
                            .Variant(1, false, false);
    EXPECT_TRUE(SamePicture(shot.copy(QRect(d.ArmyPicturePlace(p), QSize(16, 16))), army)) << p;
    // The column's buttons sit under its picture.
    const QRect human = d.Button(1001 + 10 * p)->geometry().translated(d.Button(1001 + 10 * p)->parentWidget()->pos());
    EXPECT_LT(std::abs(human.left() + 7 - (d.ArmyPicturePlace(p).x() + 8)), 4) << p;
  }
}

// --- Piece Attributes ---

class PieceAttributesTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    dialog = std::make_unique<PieceAttributesDialog>(*game, window.get());
  }
  void Ok() { dialog->findChild<QPushButton*>("okButton")->click(); }
  std::unique_ptr<PieceAttributesDialog> dialog;
};

TEST_F(PieceAttributesTest, RowsShowTheSettingsAndTheRanges) {
  EXPECT_EQ(dialog->windowTitle(), "Piece Attributes");
  const int withFuel[] = {PieceType::Para, PieceType::Fighter, PieceType::Bomber};
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    EXPECT_TRUE(dialog->UseBox(t)->isChecked()) << t;
    EXPECT_EQ(dialog->DaysField(t)->text().toInt(), kPieceTypeDefaults[t].days) << t;
    EXPECT_EQ(dialog->MovesField(t)->text().toInt(), kPieceTypeDefaults[t].moves) << t;
    EXPECT_EQ(dialog->FuelField(t) != nullptr, std::find(std::begin(withFuel), std::end(withFuel), t) != std::end(withFuel));
  }
  const QList<QLabel*> labels = dialog->findChildren<QLabel*>();
  auto shown = [&](const QString& text) {
    return std::count_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->text() == text; });
  };
  EXPECT_EQ(shown("(1-32)"), 2);
  EXPECT_EQ(shown("(8-32)"), 1);
  // The boxes come from the file's "Pieces" keys: only exactly 1 is in use.
  WriteProfileString(game->settingsPath, "Pieces", "carrier", "2");
  PieceAttributesDialog reopened(*game, window.get());
  EXPECT_FALSE(reopened.UseBox(PieceType::Carrier)->isChecked());
  EXPECT_TRUE(reopened.UseBox(PieceType::Submarine)->isChecked());
}

TEST_F(PieceAttributesTest, OkRefusesAGameInWhichNothingCouldTakeCitiesOrCrossTheSea) {
  dialog->UseBox(PieceType::Army)->setChecked(false);
  dialog->UseBox(PieceType::Para)->setChecked(false);
  Ok();
  EXPECT_EQ(scripted->messages.back(),
            "Vortan: You must have either Armies or Paras in the\ngame or you couldn't capture cities!");
  dialog->UseBox(PieceType::Army)->setChecked(true);
  dialog->UseBox(PieceType::Transport)->setChecked(false);
  Ok();
  EXPECT_EQ(scripted->messages.back(),
            "Vortan: You must have either Transports or Paras in the\ngame or you couldn't get to other islands!");
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(FileValue("Pieces", "army"), -1);
  EXPECT_EQ(game->settings.inUse[PieceType::Transport], 1);
}

TEST_F(PieceAttributesTest, OkBoundsWhatWasTypedAndWritesEveryKey) {
  dialog->UseBox(PieceType::Submarine)->setChecked(false);
  dialog->DaysField(PieceType::Army)->setText("0");
  dialog->DaysField(PieceType::Destroyer)->setText("abc");
  dialog->MovesField(PieceType::Transport)->setText("300");
  dialog->DaysField(PieceType::Battleship)->setText("256");
  dialog->FuelField(PieceType::Fighter)->setText("5");
  dialog->FuelField(PieceType::Bomber)->setText("40");
  Ok();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const GameSettings& s = game->settings;
  EXPECT_EQ(s.days[PieceType::Army], 1);
  EXPECT_EQ(s.days[PieceType::Destroyer], 1);
  EXPECT_EQ(s.moves[PieceType::Transport], 32);
  EXPECT_EQ(s.days[PieceType::Battleship], 1);
  EXPECT_EQ(s.fuel[PieceType::Fighter], 8);
  EXPECT_EQ(s.fuel[PieceType::Bomber], 32);
  EXPECT_EQ(s.inUse[PieceType::Submarine], 0);
  EXPECT_EQ(FileValue("Pieces", "submarine"), 0);
  EXPECT_EQ(FileValue("Pieces", "army"), 1);
  EXPECT_EQ(FileValue("Days", "army"), 1);
  EXPECT_EQ(FileValue("Moves", "transport"), 32);
  EXPECT_EQ(FileValue("Fuel", "fighter"), 8);
  EXPECT_EQ(FileValue("Fuel", "para"), 28);
  EXPECT_EQ(FileValue("Fuel", "destroyer"), -1);
}

TEST_F(PieceAttributesTest, DefaultFillsInButCancelStoresNothing) {
  dialog->UseBox(PieceType::Bomber)->setChecked(false);
  dialog->MovesField(PieceType::Fighter)->setText("3");
  dialog->findChild<QPushButton*>("defaultButton")->click();
  EXPECT_TRUE(dialog->UseBox(PieceType::Bomber)->isChecked());
  EXPECT_EQ(dialog->MovesField(PieceType::Fighter)->text(), "14");
  dialog->MovesField(PieceType::Fighter)->setText("3");
  dialog->findChild<QPushButton*>("cancelButton")->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(game->settings.moves[PieceType::Fighter], 14);
  EXPECT_FALSE(std::filesystem::exists(game->settingsPath));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
