#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "rules/turn_loop.h"
#include "support/world_picture.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;
using test::AddCity;
using test::AddPiece;

const std::string kRefused = "Message Oops!: This is an out of date or corrupted game file";
const std::string kSaveError = "Message Oops!: File Save Error";

// Hooks whose file dialogs answer with a path chosen by the test.
class FileHooks : public test::RecordingHooks {
 public:
  std::optional<std::string> openAnswer, saveAnswer;
  std::optional<std::string> ChooseOpenFile() override { return openAnswer; }
  std::optional<std::string> ChooseSaveFile() override { return saveAnswer; }
};

// The four blocks as a file image, for "nothing changed" comparisons.
std::vector<uint8_t> Image(const Game& g) {
  std::vector<uint8_t> b(kSavedGameBytes);
  EncodeSettings(g.settings, b.data());
  EncodeState(g.state, b.data() + kSettingsBytes);
  EncodePieces(g.pieces, b.data() + kSettingsBytes + kStateBytes);
  EncodeWorld(g.world, b.data() + kSettingsBytes + kStateBytes + kPieceTableBytes);
  return b;
}

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Two players on a 12 x 10 world with cities, an army, a loaded transport and a
// fighter; every byte nobody reads holds a non-zero pattern.
void BuildSavedGame(Game& g) {
  test::BuildWorld(g, {
      "............",
      "..++*+......",
      "..+++^...*..",
      "...++....++.",
      "............",
      ".....+++....",
      "....+*++*...",
      ".....++.....",
      "............",
      "............",
  });
  const int red = AddCity(g, 0, 3, 1);
  const int green = AddCity(g, 1, 6, 5, PieceType::Transport);
  AddPiece(g, PieceType::Army, 0, 4, 2);
  AddPiece(g, PieceType::Fighter, 1, 6, 5);
  AddPiece(g, PieceType::Transport, 1, 6, 4);
  AddPiece(g, PieceType::Army, 1, 6, 4);
  // An empty slot keeps whatever it last held.
  PieceRecord& leftover = g.pieces[40];
  leftover.owner = 0xEE;
  leftover.x = 250;
  leftover.y = 251;
  leftover.strength = -123;
  leftover.production = 77;
  for (int i = 0; i < kPieceSlots; ++i) g.pieces[i].unused15 = static_cast<uint8_t>(i * 7 + 1);

  g.settings.unused55 = 0xA5;
  g.settings.landAmount = 9;  // out of range, but never used to index anything
  g.state.unused2 = {0x5A, 0xC3};
  g.state.unused18 = {0x77, 0x88};
  g.state.day = 15;
  g.state.tileSize = 16;
  g.state.zoomIsWhole = 1;
  g.state.currentPiece = 3;
  for (int p : {0, 1}) {
    const PieceRecord& city = g.pieces[p == 0 ? red : green];
    g.state.homeX[p] = g.state.savedViewX[p] = city.x;
    g.state.homeY[p] = g.state.savedViewY[p] = city.y;
  }
  g.state.savedViewX[3] = -300;  // an Out player's leftovers
  g.state.homeY[4] = 999;
  g.state.viewX = g.state.savedViewX[0];
  g.state.viewY = g.state.savedViewY[0];
  for (int x = 0; x < kGridSide; ++x)
    for (int y = 0; y < kGridSide; ++y) {
      if (x < g.Width() && y < g.Height()) continue;
      MapCell& c = g.world.At(x, y);
      c.terrain = static_cast<uint8_t>(0x80 | x);
      c.landMass = static_cast<uint8_t>(0xC0 | y);
      c.topType = 0xEE;
      c.tileVariant = 0x99;
    }
}

struct SavedGameTest : ::testing::Test {
  std::unique_ptr<Game> saved = std::make_unique<Game>();
  std::unique_ptr<Game> g = std::make_unique<Game>();
  FileHooks hooks;
  fs::path dir;
  fs::path file;

  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vortan-saved-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    file = dir / "war.gam";
    BuildSavedGame(*saved);
    ASSERT_TRUE(WriteGameToPath(*saved, file.string()));
    StartOtherGame();
    g->hooks = &hooks;
  }
  void TearDown() override { fs::remove_all(dir); }

  // What a refused load must leave alone: the blocks, the file name and the city counts.
  std::vector<uint8_t> Remember() const {
    std::vector<uint8_t> m = Image(*g);
    const std::string names = g->app.fileName + '|' + g->app.fileFolder;
    m.insert(m.end(), names.begin(), names.end());
    for (const LandMassRecord& r : g->landMasses) m.push_back(static_cast<uint8_t>(r.cityCount));
    return m;
  }
  void ExpectUnchanged(const std::vector<uint8_t>& before) const {
    EXPECT_TRUE(Remember() == before) << "a refused file changed the game in memory";
  }
  // The game in memory that a load may replace: a different, running game.
  void StartOtherGame() {
    test::BuildWorld(*g, {"++++++++++", "+........+", "+........+", "+........+", "+........+",
                          "+........+", "+........+", "+........+", "+........+", "++++++++++"});
    AddCity(*g, 0, 0, 0);
    AddCity(*g, 1, 5, 0);
  }
  void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    WriteAll(file, bytes);
    hooks.calls.clear();
    const auto before = Remember();
    EXPECT_FALSE(LoadGameFromPath(*g, file.string()));
    EXPECT_EQ(hooks.calls, std::vector<std::string>{kRefused});
    ExpectUnchanged(before);
  }
};

TEST_F(SavedGameTest, FileIsTheFourBlocksByteForByte) {
  const std::vector<uint8_t> bytes = ReadAll(file);
  ASSERT_EQ(bytes.size(), 66964u);
  EXPECT_EQ(bytes, Image(*saved));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<uint8_t>{0, 0, 0, 0x40}));
  EXPECT_EQ(CheckSavedGameBytes(bytes.data(), bytes.size()), "");
  EXPECT_FALSE(fs::exists(file.string() + ".saving"));
}

TEST_F(SavedGameTest, LoadRestoresEveryBlockAndEveryUnusedByte) {
  g->landMasses[2].status = LandMassStatus::Contested;
  g->landMasses[2].armyCount = 7;
  ASSERT_TRUE(LoadGameFromPath(*g, file.string()));
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(g->app.fileName, "war.gam");
  EXPECT_EQ(g->app.fileFolder, dir.string());

  // The view set-up draws new sea tiles and numbers the cities; every other
  // byte, the unused ones and the unused part of the grid included, comes from the file.
  for (Game* game : {saved.get(), g.get()})
    for (int x = 0; x < game->Width(); ++x)
      for (int y = 0; y < game->Height(); ++y) game->world.At(x, y).tileVariant = game->world.At(x, y).cityOrdinal = 0;
  EXPECT_TRUE(Image(*g) == Image(*saved));

  // Only the city counts are recounted: two neutral and two owned cities.
  EXPECT_EQ(g->landMasses[1].cityCount, 2);  // (3,1) owned, (4,1) neutral
  EXPECT_EQ(g->landMasses[2].cityCount, 3);  // (6,5) owned, (5,6) and (8,6) neutral
  EXPECT_EQ(g->landMasses[3].cityCount, 1);  // (9,2) neutral
  EXPECT_EQ(g->landMasses[0].cityCount, 0);
  EXPECT_EQ(g->landMasses[2].status, LandMassStatus::Contested);
  EXPECT_EQ(g->landMasses[2].armyCount, 7);
}

TEST_F(SavedGameTest, RefusesDamagedFilesAndKeepsTheGameInMemory) {
  const std::vector<uint8_t> good = ReadAll(file);
  const int state = kSettingsBytes, pieces = kSettingsBytes + kStateBytes;
  const int world = pieces + kPieceTableBytes;
  const auto with = [&](std::initializer_list<std::pair<int, uint8_t>> changes) {
    std::vector<uint8_t> b = good;
    for (auto [at, v] : changes) b[static_cast<size_t>(at)] = v;
    return b;
  };
  const auto cell = [&](int x, int y, int field) { return world + (y * kGridSide + x) * kCellBytes + field; };
  const int army = pieces + 2 * kPieceBytes;   // slot 2: Red's army at (4, 2)
  const int redCity = pieces;                  // slot 0

  ExpectRefused({good.begin(), good.end() - 1}, "one byte short");
  ExpectRefused({}, "empty file");
  std::vector<uint8_t> padded = good;
  padded.push_back(0);
  ExpectRefused(padded, "one byte too many");
  ExpectRefused(with({{3, 0x3F}, {2, 0x80}}), "version 1.0");
  ExpectRefused(with({{0, 1}}), "version a hair above 2.0");
  ExpectRefused(with({{8 + 2, 3}}), "kind 3");
  ExpectRefused(with({{7, 4}}), "difficulty 4");
  ExpectRefused(with({{4, 9}}), "width 9");
  ExpectRefused(with({{5, 71}}), "height 71");
  ExpectRefused(with({{6, 80}}), "80 land masses");
  ExpectRefused(with({{state + 4, 6}}), "current player 6");
  ExpectRefused(with({{state + 9, 0xFF}}), "viewing player negative");
  ExpectRefused(with({{state + 0, 0xF4}, {state + 1, 0x01}}), "current piece 500");
  ExpectRefused(with({{state + 80, 12}}), "view x = width");
  ExpectRefused(with({{state + 82 + 1, 0x80}}), "view y negative");
  ExpectRefused(with({{state + 32 + 2, 12}}), "saved view of a taking-part player");
  ExpectRefused(with({{state + 68, 10}}), "home y of Red = height");
  ExpectRefused(with({{army, 11}}), "piece type 11");
  ExpectRefused(with({{army + 1, 6}}), "owner 6");
  ExpectRefused(with({{army + 3, 4}}), "state 4");
  ExpectRefused(with({{army + 4, 12}}), "x outside");
  ExpectRefused(with({{army + 5, 200}}), "y outside");
  ExpectRefused(with({{army + 6, 12}}), "destination outside");
  ExpectRefused(with({{redCity + 13, 0}}), "city building nothing");
  ExpectRefused(with({{redCity + 13, 10}}), "city building type 10");
  ExpectRefused(with({{cell(0, 0, 0), 4}}), "terrain 4");
  ExpectRefused(with({{cell(11, 9, 3), 80}}), "land mass 80");
  ExpectRefused(with({{cell(9, 2, 3), 0}}), "neutral city on no land mass");
  ExpectRefused(with({{redCity + 4, 0}, {redCity + 5, 0}}), "owned city at sea");
  // Land mass 2 holds three cities; four more land cells becoming cities make seven.
  ExpectRefused(with({{cell(5, 5, 0), 2}, {cell(7, 5, 0), 2}, {cell(4, 6, 0), 2}, {cell(7, 6, 0), 2}}),
                "seven cities on one land mass");
}

// Damage a file from a generated game in random places: a refused file leaves
// the game in memory as it was, and an accepted one can be played on, since
// everything the rules index with a value from the file has been checked.
TEST_F(SavedGameTest, NoMutatedFileCrashesOrHalfLoads) {
  auto demo = std::make_unique<Game>();
  ResetToProgramStart(*demo);
  ApplyDefaultPieceAttributes(demo->settings);
  demo->rng.SetState(20261205);
  DemoCommand(*demo);
  for (int step = 0; step < 3000; ++step) AdvanceGame(*demo);
  demo->state.demoMode = 0;  // a demo game is never saved
  ASSERT_TRUE(WriteGameToPath(*demo, file.string()));
  const std::vector<uint8_t> good = ReadAll(file);

  std::mt19937 rng(20261205);
  const uint8_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 39, 40, 41, 69, 70, 71, 79, 80, 0x7F, 0x80, 0xFF};
  const auto somewhere = [&]() -> size_t {
    switch (rng() % 3) {  // the header, the pieces in use, the used part of the world
      case 0: return rng() % (kSettingsBytes + kStateBytes);
      case 1: return kSettingsBytes + kStateBytes + rng() % (100 * kPieceBytes);
      default: return kSettingsBytes + kStateBytes + kPieceTableBytes + rng() % (40 * kGridSide * kCellBytes);
    }
  };
  int accepted = 0, refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> b = good;
    const int kindOfDamage = static_cast<int>(rng() % 20);
    if (kindOfDamage == 0) {
      b.resize(rng() % b.size());
    } else if (kindOfDamage == 1) {
      b.resize(b.size() + 1 + rng() % 64, static_cast<uint8_t>(rng()));
    } else {
      for (int hits = 1 + static_cast<int>(rng() % 4); hits > 0; --hits)
        b[somewhere()] = rng() % 2 ? interesting[rng() % sizeof interesting] : static_cast<uint8_t>(rng());
    }
    WriteAll(file, b);
    hooks.calls.clear();
    StartOtherGame();
    g->app.fileName = kRecoverFileName;
    const auto before = Remember();
    if (LoadGameFromPath(*g, file.string())) {
      ++accepted;
      EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), kRefused), 0);
      EXPECT_EQ(g->app.fileName, "war.gam");
      g->app.fileFolder = (dir / "never written").string();
      for (int step = 0; step < 300 && g->state.gameActive == 1; ++step) AdvanceGame(*g);
    } else {
      ++refused;
      ASSERT_EQ(hooks.calls, std::vector<std::string>{kRefused}) << "round " << round;
      ExpectUnchanged(before);
    }
  }
  EXPECT_GT(accepted, 20);
  EXPECT_GT(refused, 100);
}

TEST_F(SavedGameTest, SavingWritesToTheCurrentFileWithTheViewKept) {
  ASSERT_TRUE(LoadGameFromPath(*g, file.string()));
  fs::remove(file);
  g->state.viewX = 7;
  g->state.viewY = 8;
  SaveGame(*g);
  EXPECT_TRUE(hooks.calls.empty());
  auto again = std::make_unique<Game>();
  ASSERT_TRUE(LoadGameFromPath(*again, file.string()));
  EXPECT_EQ(again->state.savedViewX[0], 7);
  EXPECT_EQ(again->state.savedViewY[0], 8);
  EXPECT_EQ(again->state.viewX, 7);
}

TEST_F(SavedGameTest, NothingIsSavedWithoutAnActiveGameOrInADemo) {
  g->app.fileFolder = dir.string();
  g->state.gameActive = 0;
  SaveGame(*g);
  g->state.gameActive = 1;
  g->state.demoMode = 1;
  SaveGame(*g);
  EXPECT_FALSE(fs::exists(dir / kRecoverFileName));
  EXPECT_TRUE(hooks.calls.empty());
  g->state.demoMode = 0;
  SaveGame(*g);
  EXPECT_EQ(ReadAll(dir / kRecoverFileName).size(), 66964u);
}

TEST_F(SavedGameTest, FileDialogsNameTheGameAndRecoverFileStaysUnsaved) {
  EXPECT_EQ(SaveGameAs(*g), 0);  // cancelled
  EXPECT_EQ(LoadGame(*g), 0);
  EXPECT_EQ(g->app.fileName, kRecoverFileName);

  hooks.saveAnswer = (dir / "named.gam").string();
  EXPECT_EQ(SaveGameAs(*g), 1);
  EXPECT_EQ(g->app.fileName, "named.gam");
  g->state.day = 99;
  SaveGame(*g);  // follows the chosen file
  fs::rename(dir / "named.gam", dir / kRecoverFileName);
  hooks.openAnswer = (dir / kRecoverFileName).string();
  EXPECT_EQ(LoadGame(*g), 1);
  EXPECT_EQ(g->app.fileName, kRecoverFileName);
  EXPECT_EQ(g->state.day, 99);
  DeleteRecoverFile(*g);
  EXPECT_FALSE(fs::exists(dir / kRecoverFileName));
  EXPECT_TRUE(fs::exists(file));

  hooks.openAnswer = (dir / "missing.gam").string();
  EXPECT_EQ(LoadGame(*g), 0);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{kRefused});
}

TEST_F(SavedGameTest, FailedSaveShowsTheErrorAndKeepsTheOldFile) {
  g->app.fileName = "war.gam";
  g->app.fileFolder = (dir / "no such folder").string();
  SaveGame(*g);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{kSaveError});

  // The old file survives a save that cannot finish: here a folder sits where
  // the new copy would be written before it replaces the old one.
  const std::vector<uint8_t> old = ReadAll(file);
  fs::create_directory(file.string() + ".saving");
  g->app.fileFolder = dir.string();
  hooks.calls.clear();
  SaveGame(*g);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{kSaveError});
  EXPECT_EQ(ReadAll(file), old);

  // A target that cannot be written as a file.
  fs::create_directory(dir / "folder.gam");
  g->app.fileName = "folder.gam";
  hooks.calls.clear();
  SaveGame(*g);
  EXPECT_EQ(hooks.calls, std::vector<std::string>{kSaveError});
  EXPECT_TRUE(fs::is_directory(dir / "folder.gam"));
}

TEST(SimInfo, SummarisesGoodFilesAndRefusesDamagedOnes) {
  const fs::path dir = fs::temp_directory_path() / "vortan-sim-info-test";
  fs::create_directories(dir);
  auto g = std::make_unique<Game>();
  BuildSavedGame(*g);
  const fs::path good = dir / "good.gam", bad = dir / "bad.gam", out = dir / "out.txt";
  ASSERT_TRUE(WriteGameToPath(*g, good.string()));
  std::vector<uint8_t> b = ReadAll(good);
  b[7] = 4;
  WriteAll(bad, b);
  const auto run = [&](const std::string& args) {
    const std::string cmd = std::string(VORTAN_SIM_PATH) + " " + args + " > " + out.string() + " 2>&1";
    const int status = std::system(cmd.c_str());
    return WEXITSTATUS(status);
  };
  const auto output = [&] {
    const auto bytes = ReadAll(out);
    return std::string(bytes.begin(), bytes.end());
  };
  EXPECT_EQ(run("info " + good.string()), 0);
  EXPECT_NE(output().find("day 15"), std::string::npos) << output();
  EXPECT_NE(output().find("GREEN  Computer city 1 army 1 fighter 1 transport 1"), std::string::npos) << output();
  EXPECT_EQ(run("info " + bad.string()), 4);
  EXPECT_NE(output().find("difficulty is 4"), std::string::npos) << output();
  EXPECT_EQ(run("info " + (dir / "none.gam").string()), 4);
  EXPECT_EQ(run("info"), 2);
  EXPECT_EQ(run("info a b"), 2);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vortan
