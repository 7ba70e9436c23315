// SPDX-License-Identifier: GPL-3.0-or-later
// The File commands: the "Save current game?" guard before New, Demo and
// closing, Save choosing between a dialog and a plain write, loading good and
// bad files, the overwrite question and the click that closed a file dialog.
#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <fstream>

#include "persist/saved_game.h"
#include "play_fixture.h"
#include "ui/file_commands.h"

namespace vortan::test {
namespace {

constexpr uintmax_t kFileBytes = 66964;

class FileCommandsTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    ASSERT_TRUE(dir.isValid());
    std::vector<std::string> rows(10, "............");
    rows[1] = rows[2] = ".+++++......";
    Build(rows);
    AddCity(*game, 0, 2, 2);
    AddCity(*game, 1, 5, 1);
    game->app.fileFolder = dir.path().toStdString();
  }
  std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
  bool Exists(const char* name) const { return std::filesystem::exists(Path(name)); }
  QTemporaryDir dir;
};

TEST_F(FileCommandsTest, AnUnsavedGameAsksBeforeNewAndDemoAndCancelStopsEverything) {
  hooks->newGameOk = false;
  const struct {
    int command;
    MsgResult answer;
    const char* file;  // chosen in Save as; nullptr: cancelled
    bool asks;
    int fileDialogs, newGameDialogs, demo;
  } rows[] = {
      {Cmd::New, MsgResult::Cancel, nullptr, true, 0, 0, 0},
      {Cmd::New, MsgResult::No, nullptr, true, 0, 1, 0},
      {Cmd::New, MsgResult::Yes, nullptr, true, 1, 1, 0},  // Save as cancelled: no New
      {Cmd::New, MsgResult::Yes, "first.GAM", true, 2, 2, 0},
      {Cmd::Demo, MsgResult::Cancel, nullptr, true, 2, 2, 0},
      {Cmd::Demo, MsgResult::No, nullptr, true, 2, 2, 1},
      {Cmd::Demo, MsgResult::Cancel, nullptr, false, 2, 2, 1},  // a demo is never saved and never asks
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    game->app.fileName = kRecoverFileName;
    hooks->messages.clear();
    hooks->answers = {r.answer};
    if (r.file) hooks->files = {Path(r.file)};
    window->ExecuteCommand(r.command);
    EXPECT_EQ(hooks->messages,
              r.asks ? std::vector<std::string>{"Vortan: Save current game?"} : std::vector<std::string>{});
    EXPECT_EQ(std::tuple(hooks->fileDialogs, hooks->newGameDialogs, int(game->state.demoMode), game->Width()),
              std::tuple(r.fileDialogs, r.newGameDialogs, r.demo, r.demo ? 40 : 12));
  }
  EXPECT_EQ(std::filesystem::file_size(Path("first.GAM")), kFileBytes);
  EXPECT_FALSE(Exists("RECOVER.TMP"));
}

TEST_F(FileCommandsTest, SaveAsksForANameOnlyOnceAndANamedGameIsSavedSilentlyBeforeNewAndOpen) {
  hooks->newGameOk = false;
  const struct {
    int command;
    const char *offered, *name;  // offered: the file dialog's answer (nullptr: cancel); name: the game's after
    int fileDialogs;
  } rows[] = {{Cmd::Save, nullptr, kRecoverFileName, 1}, {Cmd::Save, "war.GAM", "war.GAM", 2},
              {Cmd::Save, nullptr, "war.GAM", 2},        {Cmd::SaveAs, "other.GAM", "other.GAM", 3},
              {Cmd::New, nullptr, "other.GAM", 3},       {Cmd::Open, nullptr, "other.GAM", 4}};
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    std::filesystem::remove(Path(game->app.fileName.c_str()));  // each named game is written again
    if (r.offered) hooks->files = {Path(r.offered)};
    window->ExecuteCommand(r.command);
    EXPECT_EQ(std::tuple(hooks->fileDialogs, game->app.fileName), std::tuple(r.fileDialogs, std::string(r.name)));
    if (std::string(r.name) != kRecoverFileName) {
      EXPECT_EQ(std::filesystem::file_size(Path(r.name)), kFileBytes);
    }
  }
  EXPECT_EQ(hooks->newGameDialogs, 1);
  EXPECT_TRUE(hooks->messages.empty());
}

TEST_F(FileCommandsTest, OpenRefusesABadFileAndLoadsAGoodOneIgnoringTheClickThatClosedTheDialog) {
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  ForEachInBlock3(game->settings, 3, 2, [&](int x, int y) { game->world.At(x, y).explored |= 1; });  // what it sees
  AwaitOrders(army);
  game->app.fileName = "here.gam";
  game->state.day = 9;
  game->state.savedViewX[0] = game->state.viewX, game->state.savedViewY[0] = game->state.viewY;  // same cells shown
  ASSERT_TRUE(WriteGameToPath(*game, Path("saved.gam")));
  std::vector<char> zeros(kFileBytes, 0);
  std::ofstream(Path("bad.gam"), std::ios::binary).write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  game->state.day = 2;
  hooks->files = {Path("bad.gam")};
  window->ExecuteCommand(Cmd::Open);
  EXPECT_EQ(hooks->messages.back(), "Oops!: This is an out of date or corrupted game file");
  EXPECT_EQ(std::tuple(int(game->state.day), game->app.fileName), std::tuple(2, std::string("here.gam")));
  const int dialogs = hooks->fileDialogs;
  hooks->messages.clear();
  window->OpenGameFile(Path("bad.gam"));  // named on the command line: no dialog, the same refusal
  EXPECT_EQ(hooks->messages, std::vector<std::string>{"Oops!: This is an out of date or corrupted game file"});
  window->OpenGameFile(Path("saved.gam"));
  EXPECT_EQ(std::tuple(int(game->state.day), game->app.fileName, hooks->fileDialogs),
            std::tuple(9, std::string("saved.gam"), dialogs));
  game->state.day = 2, game->app.fileName = "here.gam";

  const auto postClick = [&] {
    const QPoint at = CellCentre(4, 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
      QCoreApplication::postEvent(View(), new QMouseEvent(type, QPointF(at), View()->mapToGlobal(QPointF(at)),
                                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  };
  postClick();
  hooks->files = {Path("saved.gam")};
  window->ExecuteCommand(Cmd::Open);
  Settle();
  EXPECT_EQ(std::tuple(int(game->state.day), game->app.fileName), std::tuple(9, std::string("saved.gam")));
  EXPECT_TRUE(Enabled(Cmd::Save));
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  postClick();  // the next click is the player's own
  Settle();
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
}

TEST_F(FileCommandsTest, ClosingGuardsAnUnsavedGameAndSavesANamedOne) {
  hooks->answers = {MsgResult::Cancel, MsgResult::Yes, MsgResult::No};  // Yes: and Save as is cancelled
  EXPECT_FALSE(window->close());
  window->ExecuteCommand(Cmd::Exit);
  EXPECT_TRUE(window->isVisible());
  window->ExecuteCommand(Cmd::Exit);
  EXPECT_FALSE(window->isVisible());
  window->show();
  game->app.fileName = "kept.gam";
  EXPECT_TRUE(window->close());
  EXPECT_EQ(hooks->messages.size(), 3u);
  EXPECT_TRUE(Exists("kept.gam"));
}

// A save that fails never ends in a lost game: Save as keeps the game unnamed
// and offers the dialog again, and a failed save on the way out keeps the
// program open.
TEST_F(FileCommandsTest, AFailedSaveNeverQuitsAndNeverNamesTheGame) {
  const std::string unwritable = Path("no such folder/war.gam");
  const std::string kAsk = "Vortan: Save current game?", kFailed = "Oops!: File Save Error";
  // The messages with the failure's file and reason cut off.
  const auto shown = [&] {
    std::vector<std::string> heads;
    for (const std::string& m : hooks->messages) heads.push_back(m.substr(0, m.find('\n')));
    return heads;
  };
  hooks->answers = {MsgResult::Yes};
  hooks->files = {unwritable};  // then the offered dialog is cancelled
  EXPECT_FALSE(window->close()) << "the program quit although its game was not saved";
  EXPECT_EQ(shown(), (std::vector<std::string>{kAsk, kFailed}));
  EXPECT_EQ(std::tuple(hooks->fileDialogs, game->app.fileName), std::tuple(2, std::string(kRecoverFileName)));

  hooks->messages.clear();
  hooks->answers = {MsgResult::Yes};
  hooks->files = {unwritable, Path("war.gam")};
  window->ExecuteCommand(Cmd::Exit);
  EXPECT_EQ(shown(), (std::vector<std::string>{kAsk, kFailed})) << "the game still counted as unnamed";
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(std::tuple(hooks->fileDialogs, game->app.fileName), std::tuple(4, std::string("war.gam")));

  window->show();
  hooks->messages.clear();
  game->app.fileFolder = Path("no such folder");
  EXPECT_FALSE(window->close()) << "a named game that could not be written was left behind";
  EXPECT_EQ(shown(), std::vector<std::string>{kFailed});
  window->ExecuteCommand(Cmd::New);
  EXPECT_EQ(hooks->newGameDialogs, 0) << "New went ahead after the failed save";
}

TEST_F(FileCommandsTest, SaveAsAddsTheExtensionAndAsksBeforeOverwriting) {
  const auto open = [&](QFileDialog& d, const QString& name) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    SetUpGameFileDialog(d, FileDialogKind::SaveAs, *game);
    d.open();
    QCoreApplication::processEvents();
    d.findChild<QLineEdit*>("fileNameEdit")->setText(name);
  };
  // Presses Save; returns the text of the message box it raised, answered No.
  const auto accept = [&](QFileDialog& d) {
    QString asked;
    WhenModalOpens([&](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) asked = box->text(), box->button(QMessageBox::No)->click();
    });
    QMetaObject::invokeMethod(&d, "accept", Qt::DirectConnection);
    return asked;
  };
  QFileDialog save(window.get());
  open(save, "campaign");
  EXPECT_EQ(QDir(save.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
  EXPECT_TRUE(accept(save).isEmpty());
  ASSERT_EQ(save.result(), QDialog::Accepted);
  EXPECT_EQ(QFileInfo(save.selectedFiles().value(0)).fileName(), "campaign.gam")
      << "a name typed without extension gets the lower-case one this system's files use";
  std::ofstream(Path("campaign.gam")) << "x";
  QFileDialog again(window.get());
  open(again, "campaign.gam");
  EXPECT_FALSE(accept(again).isEmpty());
  EXPECT_NE(again.result(), QDialog::Accepted);
}

// A recovery file left by a crash, in the per-user folder where an unwritable
// working folder sent it, is what Open shows first; once gone, Open is as usual.
TEST_F(FileCommandsTest, OpenOffersTheRecoveryFileLeftFromACrash) {
  QTemporaryDir data;
  game->app.recoverFallbackFolder = data.path().toStdString();
  EXPECT_TRUE(LeftoverRecoveryFile(*game).isEmpty());
  std::ofstream(data.filePath("RECOVER.TMP").toStdString()) << "x";
  const QString left = LeftoverRecoveryFile(*game);
  ASSERT_EQ(left, QFileInfo(data.filePath("RECOVER.TMP")).absoluteFilePath());
  const auto dialogFolder = [&] {
    QFileDialog d(window.get());
    d.setOption(QFileDialog::DontUseNativeDialog);
    SetUpGameFileDialog(d, FileDialogKind::Open, *game, left);
    return std::pair(QDir(d.directory()).canonicalPath(), d.nameFilters().join(" "));
  };
  const auto [offered, filter] = dialogFolder();
  EXPECT_EQ(offered, QDir(data.path()).canonicalPath());
  EXPECT_TRUE(filter.contains("RECOVER.TMP")) << filter.toStdString();
  std::filesystem::remove(data.filePath("RECOVER.TMP").toStdString());
  EXPECT_EQ(dialogFolder().first, QDir(dir.path()).canonicalPath());
}

TEST_F(FileCommandsTest, OpenListsGameFilesWhicheverCaseTheirExtensionHas) {
  for (const char* name : {"lower.gam", "upper.GAM", "other.txt"}) std::ofstream(Path(name)) << "x";
  QFileDialog d(window.get());
  SetUpGameFileDialog(d, FileDialogKind::Open, *game);
  QStringList patterns;
  // The patterns are what the last parentheses of each filter hold.
  for (const QString& filter : d.nameFilters())
    patterns << filter.section('(', -1).section(')', 0, 0).split(' ', Qt::SkipEmptyParts);
  const QStringList shown = QDir(dir.path()).entryList(patterns, QDir::Files, QDir::Name);
  EXPECT_EQ(shown, QStringList({"lower.gam", "upper.GAM"})) << shown.join(", ").toStdString();
}

}  // namespace
}  // namespace vortan::test
