// The application shell: the menu as built, the options read at start-up and
// written at shutdown, the recovery file, and the column of tool windows.
#include "window_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <filesystem>
#include <fstream>

#include "persist/settings_file.h"
#include "ui/shell.h"

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
  bool Checked(int id) const { return window->IsChecked(id); }
  bool Enabled(int id) const { return window->Action(id)->isEnabled(); }
  // "&Title: item|item|-|item" for a menu, submenus in brackets.
  static std::string Describe(QMenu* menu) {
    std::string out = menu->title().toStdString() + ":";
    for (QAction* a : menu->actions()) {
      if (a->isSeparator())
        out += " -";
      else if (a->menu())
        out += " [" + Describe(a->menu()) + "]";
      else
        out += " " + a->text().toStdString() + "=" + std::to_string(a->data().toInt());
    }
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
  std::ofstream(game->settingsPath) << "[Setup]\nSounds=1\nColour=0\n";
  ApplyStartUpOptions(*game, *window);
  EXPECT_TRUE(Checked(Cmd::PcSpeaker));
  EXPECT_FALSE(Checked(Cmd::NoSound) || Checked(Cmd::SoundCard));
  EXPECT_FALSE(Checked(Cmd::ColourMonitor));
  EXPECT_EQ(game->app.soundMode, SoundMode::Speaker);
  EXPECT_EQ(game->app.monochrome, 1);
  for (int id : {Cmd::Save, Cmd::SaveAs, Cmd::Drop, Cmd::Return, Cmd::Later, Cmd::Sleep, Cmd::Finished,
                 Cmd::CurrentPiece, Cmd::Home, Cmd::Surrender, Cmd::EndTurn, Cmd::PromptOnNewHuman, Cmd::AutoPlay,
                 Cmd::MoveMemory})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {Cmd::New, Cmd::Open, Cmd::Demo, Cmd::PieceInfo, Cmd::Rankings, Cmd::Production, Cmd::WorldMap,
                 Cmd::GameInfo, Cmd::Zoom75, Cmd::Zoom200, Cmd::ColourMonitor, Cmd::NoSound, Cmd::SoundCard})
    EXPECT_TRUE(Enabled(id)) << id;
  std::filesystem::remove(game->settingsPath);
  ShutDown(*game);
  EXPECT_EQ(ReadProfileInt(game->settingsPath, "Setup", "Sounds", -1), 1);
  EXPECT_EQ(ReadProfileInt(game->settingsPath, "Setup", "Colour", -1), 0);
}

TEST_F(ShellTest, WithoutASettingsFileTheDefaultsAreWritten) {
  ApplyStartUpOptions(*game, *window);
  EXPECT_TRUE(Checked(Cmd::SoundCard));
  EXPECT_TRUE(Checked(Cmd::ColourMonitor));
  ShutDown(*game);
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", ""), "2");
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Colour", ""), "1");
}

TEST_F(ShellTest, AnUnsoundSettingLeavesTheSoundModeOff) {
  std::ofstream(game->settingsPath) << "[Setup]\nSounds=7\n";
  ApplyStartUpOptions(*game, *window);
  EXPECT_EQ(game->app.soundMode, SoundMode::None);
  EXPECT_FALSE(Checked(Cmd::NoSound) || Checked(Cmd::PcSpeaker) || Checked(Cmd::SoundCard));
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

TEST_F(ShellTest, ToolWindowsStandInAColumnBesideTheWindowAndComeBack) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  window->PlaceInfoDialogs();
  QCoreApplication::processEvents();
  const QRect main = window->frameGeometry();
  const int right = main.x() + main.width();
  struct Place {
    ToolWindow w;
    const char* title;
    QRect frame;
  };
  const Place places[] = {
      {ToolWindow::GameInfo, "Game Info", QRect(right, main.y(), 112, 90)},
      {ToolWindow::Rankings, "Rankings", QRect(right, main.y() + 90, 112, 112)},
      {ToolWindow::PieceInfo, "Piece Info", QRect(right, main.y() + 202, 112, 120)},
      {ToolWindow::Production, "Production", QRect(right, main.y() + 322, 112, main.height() - 322)},
  };
  for (const Place& p : places) {
    QWidget* w = window->ToolWindowWidget(p.w);
    ASSERT_NE(w, nullptr) << p.title;
    EXPECT_EQ(w->windowTitle(), p.title);
    EXPECT_EQ(w->parentWidget(), window.get());
    EXPECT_TRUE(w->windowFlags() & Qt::Tool);
    EXPECT_EQ(w->frameGeometry(), p.frame) << p.title;
  }
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::WorldMap));
  // A closed window comes back at its place when the main window moves.
  window->ToolWindowWidget(ToolWindow::Rankings)->close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_FALSE(Checked(Cmd::Rankings));
  window->move(window->pos() + QPoint(-20, 10));
  QCoreApplication::processEvents();
  ASSERT_TRUE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_TRUE(Checked(Cmd::Rankings));
  const QRect moved = window->frameGeometry();
  EXPECT_EQ(window->ToolWindowWidget(ToolWindow::Rankings)->frameGeometry(),
            QRect(moved.x() + moved.width(), moved.y() + 90, 112, 112));
}

TEST_F(ShellTest, TheWindowIsCentredLeavingRoomForTheColumn) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  const QRect screen = window->screen()->availableGeometry();
  const QRect frame = window->frameGeometry();
  EXPECT_EQ(frame.x(), (screen.width() - 112 - frame.width()) / 2);
  EXPECT_EQ(frame.y(), (screen.height() - frame.height()) / 2);
  EXPECT_EQ(window->minimumSize() + (frame.size() - window->size()), QSize(500, 400));
  EXPECT_EQ(window->maximumSize(), window->size());
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
