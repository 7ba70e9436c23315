// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "support/files.h"
#include "support/named_values.h"

namespace vortan {
namespace {

using ::testing::ElementsAre;

namespace fs = std::filesystem;

// Keeps the sound mode and display colour the options announce.
struct MenuHooks : PresentationHooks {
  std::optional<int> soundMode;
  std::optional<bool> colour;
  void SoundModeChanged(int mode) override { soundMode = mode; }
  void ColourChanged(bool on) override { colour = on; }
};

struct SettingsFileTest : ::testing::Test {
  test::ScratchFolder scratch;
  const fs::path dir = scratch.path;
  const std::string ini = (dir / "VORTAN.INI").string();
  void Write(const std::string& text) const { test::WriteText(ini, text); }
  std::string Read() const { return test::ReadText(ini); }
  int32_t Int(const std::string& section, const std::string& key, int32_t def = -99) const {
    return ReadProfileInt(ini, section, key, def);
  }
};

TEST_F(SettingsFileTest, NumbersAreReadLikeTheProfileFunctions) {
  const struct {
    const char* line;
    int32_t want;
  } kCases[] = {{"a=12abc", 12},      {"b=3.7", 3},   {"c=-5", -5},        {"d=abc", 0}, {"e=", -99},
                {"f=  \"17\"  ", 17}, {"g='-2'", -2}, {"h=4294967297", 1}, {"i=+8", 8},  {"j=--3", 0},
                {"k=\"\"", -99},      {"l=\"9'", 0},  {"m", -99}};  // empty or missing values give the default;
                                                                    // unmatched quotes stay
  std::string text = "[Days]\r\n";
  for (const auto& c : kCases) text += std::string(c.line) + "\r\n";
  Write(text);
  for (const auto& c : kCases) EXPECT_EQ(Int("Days", std::string(1, c.line[0])), c.want) << c.line;
  const std::string none = (dir / "none.ini").string();
  EXPECT_THAT(NAMED(Int("Days", "missing"), Int("Moves", "a"), ReadProfileInt(none, "Days", "a", 5),
                    ReadProfileInt("", "Days", "a", 6)),
              ElementsAre(-99, -99, 5, 6));
}

TEST_F(SettingsFileTest, NamesMatchLooselyAndTheFirstMatchWins) {
  Write(
      "; army=1 in a comment\r  [ DAYS ]  \r  ARMY  =  7  \rarmy=8\r[Moves]\nFighter=20\n"
      "[days]\r\narmy=9\r\ndestroyer=3\r\n");
  EXPECT_THAT(NAMED(Int("Days", "army"), Int(" days ", " Army"), Int("moves", "FIGHTER"), Int("Days", "destroyer")),
              ElementsAre(7, 7, 20, -99))
      << "only the first [Days] section counts";
}

TEST_F(SettingsFileTest, WritingChangesOneLineAndKeepsTheRest) {
  Write("; my settings\n[Setup]\n  sounds = 1\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n[Days]\rarmy=4");
  ASSERT_TRUE(WriteProfileString(ini, "SETUP", "Sounds", "2"));
  EXPECT_EQ(Read(), "; my settings\n[Setup]\nsounds=2\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n[Days]\rarmy=4");
  ASSERT_TRUE(WriteProfileString(ini, "Setup", "Colour", "0"));
  ASSERT_TRUE(WriteProfileString(ini, "Days", "para", "8"));
  ASSERT_TRUE(WriteProfileString(ini, "Fuel", "bomber", "28"));
  EXPECT_EQ(Read(),
            "; my settings\n[Setup]\nsounds=2\nColour=0\r\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n"
            "[Days]\rarmy=4\r\npara=8\r\n\r\n[Fuel]\r\nbomber=28\r\n");
  EXPECT_THAT(NAMED(Int("Setup", "colour"), Int("Days", "army"), Int("Fuel", "bomber")), ElementsAre(0, 4, 28));

  const std::string fresh = (dir / "new.ini").string();
  ASSERT_TRUE(WriteProfileString(fresh, "Setup", "Sounds", "0"));
  EXPECT_EQ(test::ReadText(fresh), "[Setup]\r\nSounds=0\r\n");
  EXPECT_FALSE(WriteProfileString("", "Setup", "Sounds", "0") ||
               WriteProfileString((dir / "no folder" / "x.ini").string(), "Setup", "Sounds", "0"));
}

// Files as they are found on real machines: a byte-order mark from an editor,
// a file grown past a megabyte, a link to a shared copy, a temporary left by a
// killed writer.
TEST_F(SettingsFileTest, OddFilesAreReadWholeAndWrittenBackWithoutLoss) {
  Write("\xEF\xBB\xBF[Setup]\r\nSounds=1\r\n");
  EXPECT_EQ(Int("Setup", "Sounds"), 1) << "the byte-order mark hid the first section";
  ASSERT_TRUE(WriteProfileString(ini, "Setup", "Colour", "0"));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF[Setup]\r\nSounds=1\r\nColour=0\r\n");

  const std::string filler = "; " + std::string(1 << 20, 'x') + "\r\n";
  Write("[Setup]\r\nSounds=1\r\n" + filler + "[Days]\r\narmy=9\r\n");
  EXPECT_EQ(Int("Days", "army"), 9) << "a key past the first megabyte was not read";
  ASSERT_TRUE(WriteProfileString(ini, "Setup", "Sounds", "2"));
  EXPECT_EQ(Read(), "[Setup]\r\nSounds=2\r\n" + filler + "[Days]\r\narmy=9\r\n") << "a long file was cut";

  const fs::path real = dir / "shared.ini", link = dir / "VORTAN.INI";
  fs::remove(link);
  std::ofstream(real) << "[Setup]\nSounds=1\n";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real.filename(), link);
  const fs::path stray = dir / "shared.ini.saving.2147483600.0", living = dir / "shared.ini.saving.1.0";
  std::ofstream(stray) << "left by a killed writer";
  std::ofstream(living) << "another program's write in progress";
  ASSERT_TRUE(WriteProfileString(ini, "Setup", "Sounds", "0"));
  EXPECT_TRUE(fs::is_symlink(link)) << "the link was replaced by a file";
  EXPECT_EQ(test::ReadText(real), "[Setup]\nSounds=0\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::make_pair(fs::exists(stray), fs::exists(living)), std::make_pair(false, true));
}

// Runs f in a child process; false when it has not finished within seconds.
bool FinishesWithin(int seconds, const std::function<void()>& f) {
  const pid_t child = fork();
  if (child == 0) {
    f();
    _exit(0);
  }
  for (int waited = 0; waited < seconds * 10; ++waited) {
    if (waitpid(child, nullptr, WNOHANG) == child) return true;
    usleep(100000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return false;
}

TEST_F(SettingsFileTest, AFifoOrAFolderInPlaceOfTheFileIsNeitherWaitedOnNorReplaced) {
  ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
  EXPECT_TRUE(FinishesWithin(5, [&] { EXPECT_EQ(Int("Setup", "Sounds", 4), 4); })) << "reading a FIFO blocked";
  EXPECT_TRUE(FinishesWithin(5, [&] { WriteProfileString(ini, "Setup", "Sounds", "1"); })) << "writing a FIFO blocked";
  EXPECT_FALSE(WriteProfileString(ini, "Setup", "Sounds", "1"));
  EXPECT_TRUE(fs::is_fifo(ini));
}

TEST_F(SettingsFileTest, TwoProgramsWritingAtOnceLoseNoSection) {
  constexpr int kWrites = 500;
  Write("[Kept]\r\nuntouched=1\r\n");
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    if (writers[w] == 0) {
      bool ok = true;
      for (int i = 0; i < kWrites; ++i)
        ok = WriteProfileString(ini, "Writer" + std::to_string(w), "key" + std::to_string(i), std::to_string(i)) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : writers) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write failed";
  }
  EXPECT_EQ(Int("Kept", "untouched"), 1) << "a section neither program wrote was lost";
  for (int w = 0; w < 2; ++w) {
    int kept = 0;
    for (int i = 0; i < kWrites; ++i) kept += Int("Writer" + std::to_string(w), "key" + std::to_string(i)) == i;
    EXPECT_EQ(kept, kWrites) << "writer " << w << " lost keys";
  }
  int temporaries = 0;
  for (const auto& e : fs::directory_iterator(dir)) temporaries += e.path().filename() != "VORTAN.INI";
  EXPECT_EQ(temporaries, 0) << "temporary files were left behind";
}

TEST_F(SettingsFileTest, SetupOptionsLoadAndSaveBack) {
  Game g;
  ResetToProgramStart(g);
  MenuHooks menu;
  g.hooks = &menu;
  g.settingsPath = ini;
  Write("[Setup]\r\nSounds=1\r\nColour=0\r\n");
  LoadSetupOptions(g);
  EXPECT_THAT(NAMED(+g.app.soundMode, +g.app.monochrome), ElementsAre(+SoundMode::Speaker, 1));
  EXPECT_EQ(menu.soundMode, +SoundMode::Speaker) << "the window's sound menu was not told";
  EXPECT_EQ(menu.colour, false) << "the window's colour option was not told";
  g.app.soundMode = SoundMode::Card, g.app.monochrome = 0;
  SaveSetupOptions(g);
  EXPECT_EQ(Read(), "[Setup]\r\nSounds=2\r\nColour=1\r\n");

  ResetToProgramStart(g);
  menu = MenuHooks{};
  Write("[Setup]\nSounds=7\nColour=5\n");
  LoadSetupOptions(g);
  EXPECT_THAT(NAMED(+g.app.soundMode, +g.app.monochrome), ElementsAre(+SoundMode::None, 0));
  EXPECT_FALSE(menu.soundMode.has_value() || menu.colour.has_value()) << "values out of range change nothing";
}

}  // namespace
}  // namespace vortan
