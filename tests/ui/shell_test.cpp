// The application shell: the menu as built, the options read at start-up and
// written at shutdown, the recovery file, and the column of tool windows.
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "persist/settings_file.h"
#include "ui/shell.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class ShellTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    ResetToProgramStart(*game);
    folder = std::filesystem::path(::testing::TempDir()) /
             ("vortan_shell_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    game->settingsPath = (folder / "VORTAN.INI").string();
  }
  // "&Title: item=id|-|[submenu]" for a menu.
  static std::string Describe(QMenu* menu) {
    std::string out = menu->title().toStdString() + ":";
    for (QAction* a : menu->actions())
      out += a->isSeparator() ? " -"
             : a->menu()      ? " [" + Describe(a->menu()) + "]"
                              : " " + a->text().toStdString() + "=" + std::to_string(a->data().toInt());
    return out;
  }
  std::filesystem::path folder;
};

TEST_F(ShellTest, TheMenuHasEveryCommandInOrderWithHelpAtTheRight) {
  std::vector<std::string> menus;
  for (QAction* a : window->menuBar()->actions()) menus.push_back(Describe(a->menu()));
  const auto* right = qobject_cast<QMenuBar*>(window->menuBar()->cornerWidget(Qt::TopRightCorner));
  ASSERT_NE(right, nullptr);
  for (QAction* a : right->actions()) menus.push_back(Describe(a->menu()));
  EXPECT_EQ(menus, (std::vector<std::string>{
                       "&File: &New...=101 &Open...=102 &Save=103 Save &as...=104 - &Demo=105 - E&xit=106",
                       "&Moves: &Sleep=133 &Later=130 &Finished=131 &Return=132 &Drop=134 - &End turn...=136 "
                       "S&urrender...=135",
                       "&View: &Game Info=144 R&ankings=141 Piece &Info=140 &Production=143 &World Map=142 - "
                       "  75 %=145 100 %=146 150 %=147 200 %=148 - &Current piece=149 &Home=150",
                       "&Options: [&Sound: No Sound=160 PC Speaker=161 Sound Card=162] &Colour monitor=163 - "
                       "&Prompt on new human=164 &Move memory=166 &Auto play=165",
                       "&Help: &Rules...=801 - &About...=800",
                   }));
}

TEST_F(ShellTest, StartUpReadsTheOptionsAndShutdownWritesThemBack) {
  struct Row {
    const char* file;   // nullptr: no settings file
    int mode, checked;  // checked: the Sound item ticked, or -1 for none
    int monochrome;
    const char *sounds, *colour;   // as written back
  };
  const Row rows[] = {  // the unsound value first, on the menu as built
      {"[Setup]\nSounds=7\n", SoundMode::None, -1, 0, nullptr, nullptr},
      {"[Setup]\nSounds=1\nColour=0\n", SoundMode::Speaker, Cmd::PcSpeaker, 1, "1", "0"},
      {nullptr, SoundMode::Card, Cmd::SoundCard, 0, "2", "1"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.file ? r.file : "no file");
    std::filesystem::remove(game->settingsPath);
    if (r.file) std::ofstream(game->settingsPath) << r.file;
    const std::string path = game->settingsPath;
    ResetToProgramStart(*game);
    game->settingsPath = path;
    ApplyStartUpOptions(*game, *window);
    EXPECT_EQ(game->app.soundMode, r.mode);
    for (int id : {Cmd::NoSound, Cmd::PcSpeaker, Cmd::SoundCard}) EXPECT_EQ(window->IsChecked(id), id == r.checked);
    EXPECT_EQ(window->IsChecked(Cmd::ColourMonitor), r.monochrome == 0);
    EXPECT_EQ(game->app.monochrome, r.monochrome);
    if (!r.sounds) continue;
    std::filesystem::remove(game->settingsPath);
    ShutDown(*game);
    EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", ""), r.sounds);
    EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Colour", ""), r.colour);
  }
}

TEST_F(ShellTest, ShutdownDeletesTheRecoveryFileOnlyOfAnUnnamedGame) {
  game->app.fileFolder = folder.string();
  const auto recover = folder / kRecoverFileName;
  std::ofstream(recover) << "x";
  game->app.fileName = "war.gam";
  ShutDown(*game);
  EXPECT_TRUE(std::filesystem::exists(recover));
  game->app.fileName = kRecoverFileName;
  ShutDown(*game);
  EXPECT_FALSE(std::filesystem::exists(recover));
}

TEST_F(ShellTest, TheWindowIsCentredAndToolWindowsStandInAColumnBesideIt) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  const QRect screen = window->screen()->availableGeometry();
  QRect main = window->frameGeometry();
  EXPECT_EQ(main.x(), (screen.width() - 112 - main.width()) / 2);
  EXPECT_EQ(main.y(), (screen.height() - main.height()) / 2);
  EXPECT_EQ(window->minimumSize() + (main.size() - window->size()), QSize(500, 400));
  EXPECT_EQ(window->maximumSize(), window->size());

  window->PlaceInfoDialogs();
  QCoreApplication::processEvents();
  const struct {
    ToolWindow w;
    const char* title;
    int top, height;
  } places[] = {{ToolWindow::GameInfo, "Game Info", 0, 90},
                {ToolWindow::Rankings, "Rankings", 90, 112},
                {ToolWindow::PieceInfo, "Piece Info", 202, 120},
                {ToolWindow::Production, "Production", 322, main.height() - 322}};
  for (const auto& p : places) {
    QWidget* w = window->ToolWindowWidget(p.w);
    ASSERT_NE(w, nullptr) << p.title;
    EXPECT_EQ(w->windowTitle(), p.title);
    EXPECT_EQ(w->parentWidget(), window.get());
    EXPECT_TRUE(w->windowFlags() & Qt::Tool);
    EXPECT_EQ(w->frameGeometry(), QRect(main.right() + 1, main.y() + p.top, 112, p.height)) << p.title;
  }
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::WorldMap));
  // One closed by its close box comes back when the main window moves.
  EXPECT_TRUE(window->IsChecked(Cmd::Rankings));
  window->ToolWindowWidget(ToolWindow::Rankings)->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->IsChecked(Cmd::Rankings));
  window->move(window->pos() + QPoint(-20, 10));
  QCoreApplication::processEvents();
  ASSERT_TRUE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_TRUE(window->IsChecked(Cmd::Rankings));
  main = window->frameGeometry();
  EXPECT_EQ(window->ToolWindowWidget(ToolWindow::Rankings)->frameGeometry(), QRect(main.right() + 1, main.y() + 90, 112, 112));
  EXPECT_EQ(window->ToolWindowWidget(ToolWindow::GameInfo)->frameGeometry().topLeft(), QPoint(main.right() + 1, main.y()));

}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
