// The File commands as a player meets them: the "Save current game?" guard
// before New, Open, Demo and closing, Save choosing between a dialog and a
// plain write, loading good and bad files, the file dialogs themselves and
// the click that closed a file dialog.
#include "play_fixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

#include "persist/saved_game.h"
#include "ui/file_commands.h"

namespace vortan::test {
namespace {

constexpr uintmax_t kFileBytes = 66964;

class FileCommandsTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    ASSERT_TRUE(dir.isValid());
    Build({
        "............",
        ".+++++......",
        ".+++++......",
        "............",
        "............",
        "............",
        "............",
        "............",
        "............",
        "............",
    });
    AddCity(*game, 0, 2, 2);
    AddCity(*game, 1, 5, 1);
    game->app.fileFolder = dir.path().toStdString();
  }
  std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
  bool Exists(const char* name) const { return std::filesystem::exists(Path(name)); }
  void Name(const char* name) { game->app.fileName = name; }

  QTemporaryDir dir;
};

TEST_F(FileCommandsTest, AnUnsavedGameAsksBeforeNewAndCancelStopsEverything) {
  scripted->newGameOk = false;
  scripted->answers = {MsgResult::Cancel};
  window->ExecuteCommand(Cmd::New);
  EXPECT_EQ(scripted->messages.back(), "Vortan: Save current game?");
  EXPECT_EQ(scripted->newGameDialogs, 0);
  EXPECT_EQ(scripted->fileDialogs, 0);

  scripted->answers = {MsgResult::No};
  window->ExecuteCommand(Cmd::New);
  EXPECT_EQ(scripted->newGameDialogs, 1);
  EXPECT_FALSE(Exists("RECOVER.TMP"));

  // Yes, then the Save as dialog is cancelled: no New.
  scripted->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::New);
  EXPECT_EQ(scripted->fileDialogs, 1);
  EXPECT_EQ(scripted->newGameDialogs, 1);

  scripted->answers = {MsgResult::Yes};
  scripted->files = {Path("first.GAM")};
  window->ExecuteCommand(Cmd::New);
  EXPECT_EQ(scripted->newGameDialogs, 2);
  EXPECT_EQ(std::filesystem::file_size(Path("first.GAM")), kFileBytes);
  EXPECT_EQ(game->app.fileName, "first.GAM");
}

TEST_F(FileCommandsTest, ANamedGameIsSavedSilentlyBeforeNewOpenAndDemo) {
  Name("named.gam");
  scripted->newGameOk = false;
  window->ExecuteCommand(Cmd::New);
  EXPECT_TRUE(scripted->messages.empty());
  EXPECT_EQ(std::filesystem::file_size(Path("named.gam")), kFileBytes);
  EXPECT_EQ(scripted->newGameDialogs, 1);
  std::filesystem::remove(Path("named.gam"));
  window->ExecuteCommand(Cmd::Open);   // the dialog is cancelled
  EXPECT_TRUE(Exists("named.gam"));
  EXPECT_EQ(scripted->fileDialogs, 1);
}

TEST_F(FileCommandsTest, DemoIsGuardedLikeNew) {
  scripted->answers = {MsgResult::Cancel};
  window->ExecuteCommand(Cmd::Demo);
  EXPECT_EQ(game->state.demoMode, 0);
  EXPECT_EQ(game->Width(), 12);
  scripted->answers = {MsgResult::No};
  window->ExecuteCommand(Cmd::Demo);
  EXPECT_EQ(game->state.demoMode, 1);
  EXPECT_EQ(game->Width(), 40);
  // A demonstration is never saved and never asks.
  window->ExecuteCommand(Cmd::Demo);
  EXPECT_EQ(scripted->messages.size(), 2u);
}

TEST_F(FileCommandsTest, SaveAsksForANameOnlyOnce) {
  window->ExecuteCommand(Cmd::Save);
  EXPECT_EQ(scripted->fileDialogs, 1);   // cancelled
  EXPECT_EQ(game->app.fileName, kRecoverFileName);
  scripted->files = {Path("war.GAM")};
  window->ExecuteCommand(Cmd::Save);
  EXPECT_EQ(scripted->fileDialogs, 2);
  EXPECT_EQ(game->app.fileName, "war.GAM");
  std::filesystem::remove(Path("war.GAM"));
  window->ExecuteCommand(Cmd::Save);
  EXPECT_EQ(scripted->fileDialogs, 2);
  EXPECT_EQ(std::filesystem::file_size(Path("war.GAM")), kFileBytes);
  scripted->files = {Path("other.GAM")};
  window->ExecuteCommand(Cmd::SaveAs);
  EXPECT_EQ(scripted->fileDialogs, 3);
  EXPECT_TRUE(Exists("other.GAM"));
}

TEST_F(FileCommandsTest, OpenLoadsAGoodFileAndRefusesABadOne) {
  Name("here.gam");
  game->state.day = 9;
  game->state.viewX = 3;
  ASSERT_TRUE(WriteGameToPath(*game, Path("saved.gam")));
  {
    std::ifstream in(Path("saved.gam"), std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(CheckSavedGameBytes(image.data(), image.size()), "");
  }
  std::vector<char> bytes(kFileBytes, 0);
  std::ofstream(Path("bad.gam"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  game->state.day = 2;

  scripted->files = {Path("bad.gam")};
  window->ExecuteCommand(Cmd::Open);
  EXPECT_EQ(scripted->messages.back(), "Oops!: This is an out of date or corrupted game file");
  EXPECT_EQ(game->state.day, 2);
  EXPECT_EQ(game->app.fileName, "here.gam");

  scripted->files = {Path("saved.gam")};
  window->ExecuteCommand(Cmd::Open);
  EXPECT_EQ(game->state.day, 9);
  EXPECT_EQ(game->app.fileName, "saved.gam");
  EXPECT_TRUE(Enabled(Cmd::Save));
}

TEST_F(FileCommandsTest, ClosingGuardsAnUnsavedGameAndSavesANamedOne) {
  scripted->answers = {MsgResult::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  scripted->answers = {MsgResult::Yes};   // and the Save as dialog is cancelled
  window->ExecuteCommand(Cmd::Exit);
  EXPECT_TRUE(window->isVisible());
  scripted->answers = {MsgResult::No};
  window->ExecuteCommand(Cmd::Exit);
  EXPECT_FALSE(window->isVisible());

  window->show();
  Name("kept.gam");
  EXPECT_TRUE(window->close());
  EXPECT_EQ(scripted->messages.size(), 3u);
  EXPECT_TRUE(Exists("kept.gam"));
}

TEST_F(FileCommandsTest, TheClickThatClosedTheFileDialogDoesNotReachTheMap) {
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  AwaitOrders(army);
  auto post = [&](QEvent::Type type) {
    const QPoint at = CellCentre(4, 2);
    QCoreApplication::postEvent(View(), new QMouseEvent(type, QPointF(at), View()->mapToGlobal(QPointF(at)),
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  };
  Name("here.gam");
  game->state.savedViewX[0] = game->state.viewX;   // the loaded game shows the same cells
  game->state.savedViewY[0] = game->state.viewY;
  ASSERT_TRUE(WriteGameToPath(*game, Path("click.gam")));
  post(QEvent::MouseButtonPress);
  post(QEvent::MouseButtonRelease);
  scripted->files = {Path("click.gam")};
  window->ExecuteCommand(Cmd::Open);
  Settle();
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  // The next click is the player's own.
  post(QEvent::MouseButtonPress);
  post(QEvent::MouseButtonRelease);
  Settle();
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
}

// --- The dialogs themselves ---

class FileDialogTest : public FileCommandsTest {
 protected:
  void Open(QFileDialog& d, FileDialogKind kind) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    SetUpGameFileDialog(d, kind, *game);
    d.open();
    QCoreApplication::processEvents();
  }
  // What pressing the dialog's Open or Save button does.
  void Accept(QFileDialog& d) { QMetaObject::invokeMethod(&d, "accept", Qt::DirectConnection); }
  void TypeName(QFileDialog& d, const QString& name) {
    auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
  }
};

TEST_F(FileDialogTest, SaveAsAddsTheExtensionAndAsksBeforeOverwriting) {
  QFileDialog save(window.get());
  Open(save, FileDialogKind::SaveAs);
  EXPECT_EQ(QDir(save.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
  TypeName(save, "campaign");
  Accept(save);
  ASSERT_EQ(save.result(), QDialog::Accepted);
  EXPECT_EQ(QFileInfo(save.selectedFiles().value(0)).fileName(), "campaign.GAM");

  std::ofstream(Path("campaign.GAM")) << "x";
  QFileDialog again(window.get());
  Open(again, FileDialogKind::SaveAs);
  TypeName(again, "campaign.GAM");
  QString asked;
  WhenModalOpens([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) return;
    asked = box->text();
    box->button(QMessageBox::No)->click();
  });
  Accept(again);
  EXPECT_FALSE(asked.isEmpty());
  EXPECT_NE(again.result(), QDialog::Accepted);
}

TEST_F(FileDialogTest, OpenWantsAFileThatExistsAndShowsGameFilesOfEitherCase) {
  QFileDialog open(window.get());
  Open(open, FileDialogKind::Open);
  EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
  TypeName(open, "nothing.gam");
  bool warned = false;
  WhenModalOpens([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      warned = true;
      box->close();
    }
  });
  Accept(open);
  EXPECT_TRUE(warned);
  EXPECT_NE(open.result(), QDialog::Accepted);
  // The filter's patterns take both spellings of the extension and nothing else.
  const QStringList patterns = QString(open.selectedNameFilter()).section('(', -1).chopped(1).split(' ');
  QDir folder(dir.path());
  for (const char* name : {"a.gam", "B.GAM", "c.txt"}) std::ofstream(Path(name)) << "x";
  EXPECT_EQ(folder.entryList(patterns, QDir::Files, QDir::Name), (QStringList{"B.GAM", "a.gam"}));
  EXPECT_TRUE(open.selectedNameFilter().startsWith("Game Files(*.GAM)"));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
