#include "persist/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "support/named_values.h"

namespace vortan {
namespace {

using ::testing::ElementsAre;

namespace fs = std::filesystem;

struct MenuHooks : PresentationHooks {
  std::map<int, bool> checked;
  void CheckMenuItem(int id, bool on) override { checked[id] = on; }
};

struct SettingsFileTest : ::testing::Test {
  fs::path dir;
  std::string ini;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          (std::string("vortan-ini-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    ini = (dir / "VORTAN.INI").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& text) const { std::ofstream(ini, std::ios::binary) << text; }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Read() const { return Read(ini); }
  int32_t Int(const std::string& section, const std::string& key, int32_t def = -99) const {
    return ReadProfileInt(ini, section, key, def);
  }
};

TEST_F(SettingsFileTest, NumbersAreReadLikeTheProfileFunctions) {
  const struct {
    const char* line;
    int32_t want;
  } kCases[] = {{"a=12abc", 12},  {"b=3.7", 3},        {"c=-5", -5},        {"d=abc", 0},
                {"e=", -99},      {"f=  \"17\"  ", 17}, {"g='-2'", -2},      {"h=4294967297", 1},
                {"i=+8", 8},      {"j=--3", 0},        {"k=\"\"", -99},     {"l=\"9'", 0},
                {"m", -99}};  // empty or missing values give the default; unmatched quotes stay
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
  Write("; army=1 in a comment\r  [ DAYS ]  \r  ARMY  =  7  \rarmy=8\r[Moves]\nFighter=20\n"
        "[days]\r\narmy=9\r\ndestroyer=3\r\n");
  EXPECT_THAT(NAMED(Int("Days", "army"), Int(" days ", " Army"), Int("moves", "FIGHTER"), Int("Days", "destroyer")),
              ElementsAre(7, 7, 20, -99))
      << "only the first [Days] section counts";
}

TEST_F(SettingsFileTest, WritingChangesOneLineAndKeepsTheRest) {
  Write("; my settings\n[Setup]\n  sounds = 1\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n[Days]\rarmy=4");
  ASSERT_TRUE(WriteProfileString(ini, "SETUP", "Sounds", "2"));
  EXPECT_EQ(Read(),
            "; my settings\n[Setup]\nsounds=2\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n[Days]\rarmy=4");
  ASSERT_TRUE(WriteProfileString(ini, "Setup", "Colour", "0"));
  ASSERT_TRUE(WriteProfileString(ini, "Days", "para", "8"));
  ASSERT_TRUE(WriteProfileString(ini, "Fuel", "bomber", "28"));
  EXPECT_EQ(Read(),
            "; my settings\n[Setup]\nsounds=2\nColour=0\r\n\n; pieces follow\n[Pieces]\r\narmy=1\r\n\r\n"
            "[Days]\rarmy=4\r\npara=8\r\n\r\n[Fuel]\r\nbomber=28\r\n");
  EXPECT_THAT(NAMED(Int("Setup", "colour"), Int("Days", "army"), Int("Fuel", "bomber")), ElementsAre(0, 4, 28));

  const std::string fresh = (dir / "new.ini").string();
  ASSERT_TRUE(WriteProfileString(fresh, "Setup", "Sounds", "0"));
  EXPECT_EQ(Read(fresh), "[Setup]\r\nSounds=0\r\n");
  EXPECT_FALSE(WriteProfileString("", "Setup", "Sounds", "0") ||
               WriteProfileString((dir / "no folder" / "x.ini").string(), "Setup", "Sounds", "0"));
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
  EXPECT_EQ(menu.checked, (std::map<int, bool>{{Cmd::NoSound, false}, {Cmd::PcSpeaker, true},
                                               {Cmd::SoundCard, false}, {Cmd::ColourMonitor, false}}));
  g.app.soundMode = SoundMode::Card, g.app.monochrome = 0;
  SaveSetupOptions(g);
  EXPECT_EQ(Read(), "[Setup]\r\nSounds=2\r\nColour=1\r\n");

  ResetToProgramStart(g);
  menu.checked.clear();
  Write("[Setup]\nSounds=7\nColour=5\n");
  LoadSetupOptions(g);
  EXPECT_THAT(NAMED(+g.app.soundMode, +g.app.monochrome), ElementsAre(+SoundMode::None, 0));
  EXPECT_TRUE(menu.checked.empty()) << "values out of range change nothing";
}

}  // namespace
}  // namespace vortan
