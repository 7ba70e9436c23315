// SPDX-License-Identifier: GPL-3.0-or-later
// The options read at start-up and written at shutdown, the recovery file,
// and the command line.
#include <QTemporaryDir>

#include "persist/saved_game.h"
#include "persist/settings_file.h"
#include "support/files.h"
#include "ui/command_line.h"
#include "ui/shell.h"
#include "vortan/version.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class ShellTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    ResetToProgramStart(*game);
    game->settingsPath = (folder / "VORTAN.INI").string();
  }
  QTemporaryDir dir;
  const std::filesystem::path folder = dir.path().toStdString();
};

TEST_F(ShellTest, StartUpReadsTheOptionsAndShutdownWritesThemBack) {
  const struct {
    const char* file;   // nullptr: no settings file
    int mode, checked;  // checked: the Sound item ticked, or -1 for none
    int monochrome;
    const char *sounds, *colour;  // as written back
  } rows[] = {
      // the unsound value first, on the menu as built
      {"[Setup]\nSounds=7\n", SoundMode::None, -1, 0, nullptr, nullptr},
      {"[Setup]\nSounds=1\nColour=0\n", SoundMode::Speaker, Cmd::PcSpeaker, 1, "1", "0"},
      {nullptr, SoundMode::Card, Cmd::SoundCard, 0, "2", "1"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file ? r.file : "no file");
    std::filesystem::remove(game->settingsPath);
    if (r.file) std::ofstream(game->settingsPath) << r.file;
    const std::string path = game->settingsPath;
    ResetToProgramStart(*game);
    game->settingsPath = path;
    ApplyStartUpOptions(*game, *window);
    EXPECT_EQ(game->app.soundMode, r.mode);
    for (int id : {Cmd::NoSound, Cmd::PcSpeaker, Cmd::SoundCard}) EXPECT_EQ(window->IsChecked(id), id == r.checked);
    EXPECT_EQ(std::tuple(window->IsChecked(Cmd::ColourMonitor), int(game->app.monochrome)),
              std::tuple(r.monochrome == 0, r.monochrome));
    if (!r.sounds) continue;
    std::filesystem::remove(game->settingsPath);
    ShutDown(*game);
    EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", "") +
                  ReadProfileString(game->settingsPath, "Setup", "Colour", ""),
              std::string(r.sounds) + r.colour);
  }
}

// Dim remembered cells is off unless the settings file says otherwise, and
// a file that never held the choice is left as it was while it stays off.
TEST_F(ShellTest, DimRememberedCellsIsKeptUnderAKeyOfItsOwn) {
  const std::string untouched = "[Setup]\nSounds=2\nColour=1\n";
  std::ofstream(game->settingsPath) << untouched;
  ApplyStartUpOptions(*game, *window);
  EXPECT_FALSE(window->IsChecked(kCmdDimRemembered));
  SaveDisplayOptions(*game, *window);
  EXPECT_EQ(ReadText(game->settingsPath), untouched) << "the settings file changed although the option stayed off";
  window->ExecuteCommand(kCmdDimRemembered);
  SaveDisplayOptions(*game, *window);
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Display", "DimRemembered", ""), "1");
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", ""), "2") << "another option was lost";
  window->ExecuteCommand(kCmdDimRemembered);
  ASSERT_FALSE(window->IsChecked(kCmdDimRemembered));
  LoadDisplayOptions(*game, *window);
  EXPECT_TRUE(window->IsChecked(kCmdDimRemembered) && window->View()->Renderer().dimRemembered);
}

TEST_F(ShellTest, ShutdownDeletesOnlyTheRecoveryFileThisProgramWrote) {
  game->app.fileFolder = folder.string();
  game->state.gameActive = 1;
  const auto recover = folder / kRecoverFileName;
  std::ofstream(recover) << "another program's";
  game->app.fileName = kRecoverFileName;
  ShutDown(*game);
  EXPECT_TRUE(std::filesystem::exists(recover)) << "a recovery file this program never wrote was deleted";
  ASSERT_TRUE(SaveGame(*game));
  game->app.fileName = "war.gam";
  ShutDown(*game);
  EXPECT_TRUE(std::filesystem::exists(recover)) << "deleted although the game now has a name";
  game->app.fileName = kRecoverFileName;
  ShutDown(*game);
  EXPECT_FALSE(std::filesystem::exists(recover));
}

TEST_F(ShellTest, WithoutAHomeThereAreNoSettings) {
  const QByteArray home = qgetenv("HOME");
  qunsetenv("HOME");
  const QString path = SettingsFilePath();
  qputenv("HOME", home);
  EXPECT_TRUE(path.isEmpty()) << "settings would go to " << path.toStdString();
}

// The game's command line, read before any window opens: help and version
// print and end the program, a saved game is opened, and a mistake is one
// line on standard error with exit status 2.
CommandLineOutcome Read(QStringList arguments) {
  arguments.prepend("vortan");
  return ReadCommandLine(arguments);
}

TEST(GameCommandLine, HelpAndVersionPrintAndEndTheProgram) {
  for (const char* option : {"--help", "-h"}) {
    const CommandLineOutcome o = Read({option});
    EXPECT_FALSE(o.start.has_value()) << option << " would open a window";
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(o.output.startsWith("Usage: vortan [OPTIONS] [FILE.gam]")) << o.output.toStdString();
  }
  for (const char* option : {"--version", "-v"}) {
    const CommandLineOutcome o = Read({option});
    EXPECT_FALSE(o.start.has_value());
    EXPECT_EQ(o.output, QString("vortan %1\n").arg(kVersion));
  }
}

TEST(GameCommandLine, AFileOrNothingStartsTheGameAndTheToolkitOptionsPassThrough) {
  EXPECT_EQ(Read({}).start.value().gameFile, "");
  EXPECT_EQ(Read({"/home/me/war.gam"}).start.value().gameFile, "/home/me/war.gam");
  EXPECT_EQ(Read({"-platform", "offscreen", "-style", "fusion", "war.gam"}).start.value().gameFile, "war.gam");
}

TEST(GameCommandLine, MistakesAreOneLineAndExitTwo) {
  for (const QStringList& arguments : {QStringList{"--fullscreen"}, QStringList{"-x"}, QStringList{"a.gam", "b.gam"}}) {
    const CommandLineOutcome o = Read(arguments);
    EXPECT_FALSE(o.start.has_value()) << arguments.join(" ").toStdString();
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.toStandardError);
    EXPECT_EQ(o.output.count('\n'), 1) << o.output.toStdString();
    EXPECT_TRUE(o.output.startsWith("vortan: ")) << o.output.toStdString();
  }
}

}  // namespace
}  // namespace vortan::test
