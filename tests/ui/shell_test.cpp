// The options read at start-up and written at shutdown, and the recovery file.
#include <QTemporaryDir>
#include <sstream>

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
    const char *sounds, *colour;   // as written back
  } rows[] = {  // the unsound value first, on the menu as built
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
    EXPECT_EQ(std::tuple(window->IsChecked(Cmd::ColourMonitor), int(game->app.monochrome)), std::tuple(r.monochrome == 0, r.monochrome));
    if (!r.sounds) continue;
    std::filesystem::remove(game->settingsPath);
    ShutDown(*game);
    EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", "") + ReadProfileString(game->settingsPath, "Setup", "Colour", ""),
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
  std::stringstream bytes;
  bytes << std::ifstream(game->settingsPath).rdbuf();
  EXPECT_EQ(bytes.str(), untouched) << "the settings file changed although the option stayed off";
  window->ExecuteCommand(kCmdDimRemembered);
  SaveDisplayOptions(*game, *window);
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Display", "DimRemembered", ""), "1");
  EXPECT_EQ(ReadProfileString(game->settingsPath, "Setup", "Sounds", ""), "2") << "another option was lost";
  window->ExecuteCommand(kCmdDimRemembered);
  ASSERT_FALSE(window->IsChecked(kCmdDimRemembered));
  LoadDisplayOptions(*game, *window);
  EXPECT_TRUE(window->IsChecked(kCmdDimRemembered) && window->View()->Renderer().dimRemembered);
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

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
