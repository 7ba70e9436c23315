// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/saved_game.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/piece_types.h"
#include "persist/recover_file.h"
#include "support/files.h"
#include "support/named_values.h"
#include "support/world_picture.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;
using test::AddCity;
using test::AddPiece;
using ::testing::ElementsAre;
using Bytes = std::vector<uint8_t>;

const std::string kRefused = "Message Oops!: This is an out of date or corrupted game file";
const std::string kSaveError = "Message Oops!: File Save Error";

struct FileHooks : test::RecordingHooks {
  std::optional<std::string> openAnswer, saveAnswer;
  std::optional<std::string> ChooseOpenFile() override { return openAnswer; }
  std::optional<std::string> ChooseSaveFile() override { return saveAnswer; }
};

Bytes Image(const Game& g) { return GameFileBytes(g); }

// Two players on a 12 x 10 world they have both explored; every byte nobody reads holds a non-zero pattern.
void BuildSavedGame(Game& g) {
  test::BuildWorld(g, {"............", "..++*+......", "..+++^...*..", "...++....++.", "............", ".....+++....",
                       "....+*++*...", ".....++.....", "............", "............"});
  const int red = AddCity(g, 0, 3, 1), green = AddCity(g, 1, 6, 5, PieceType::Transport);
  for (auto [type, owner, x, y] : {std::array{+PieceType::Army, 0, 4, 2},
                                   {PieceType::Fighter, 1, 6, 5},
                                   {PieceType::Transport, 1, 6, 4},
                                   {PieceType::Army, 1, 6, 4}})
    AddPiece(g, type, owner, x, y);
  for (MapCell& c : g.world.cells) c.explored = 3;
  PieceRecord& leftover = g.pieces[40];  // an empty slot keeps whatever it last held
  leftover.owner = 0xEE, leftover.x = 250, leftover.y = 251, leftover.strength = -123, leftover.production = 77;
  for (int i = 0; i < kPieceSlots; ++i) g.pieces[i].unused15 = static_cast<uint8_t>(i * 7 + 1);
  g.settings.unused55 = 0xA5, g.settings.landAmount = 9;  // 9 is out of range, but never used to index anything
  g.state.unused2 = {0x5A, 0xC3}, g.state.unused18 = {0x77, 0x88};
  g.state.day = 15, g.state.tileSize = 16, g.state.zoomIsWhole = 1, g.state.currentPiece = 3;
  for (auto [p, city] : {std::pair{0, g.pieces[red]}, {1, g.pieces[green]}})
    g.state.homeX[p] = g.state.savedViewX[p] = city.x, g.state.homeY[p] = g.state.savedViewY[p] = city.y;
  g.state.savedViewX[3] = -300, g.state.homeY[4] = 999;  // an Out player's leftovers
  g.state.viewX = g.state.savedViewX[0], g.state.viewY = g.state.savedViewY[0];
  const MapCell pattern{0, 0x11, 0x22, 0, 0xEE, 0x33, 0x44, 0x99, 0x55, 0x66, 0x77, 0x88};
  for (int x = 0; x < kGridSide; ++x)
    for (int y = 0; y < kGridSide; ++y)
      if (x >= g.Width() || y >= g.Height()) {
        MapCell& c = g.world.At(x, y) = pattern;
        c.terrain = static_cast<uint8_t>(0x80 | x), c.landMass = static_cast<uint8_t>(0xC0 | y);
      }
}

struct SavedGameTest : ::testing::Test {
  std::unique_ptr<Game> saved = std::make_unique<Game>();
  std::unique_ptr<Game> g = std::make_unique<Game>();
  FileHooks hooks;
  test::ScratchFolder scratch;
  const fs::path dir = scratch.path, file = dir / "war.gam";

  void SetUp() override {
    BuildSavedGame(*saved);
    ASSERT_TRUE(WriteGameToPath(*saved, file.string()));
    StartOtherGame();
    g->hooks = &hooks;
  }

  // What a refused load must leave alone: the blocks, the file name and the city counts.
  Bytes Remember() const {
    Bytes m = Image(*g);
    const std::string names = g->app.fileName + '|' + g->app.fileFolder;
    m.insert(m.end(), names.begin(), names.end());
    for (const LandMassRecord& r : g->landMasses) m.push_back(static_cast<uint8_t>(r.cityCount));
    return m;
  }
  void StartOtherGame() {
    test::BuildWorld(*g, std::vector<std::string>(10, "++++++++++"));
    AddCity(*g, 0, 0, 0);
    AddCity(*g, 1, 5, 0);
  }
  void ExpectRefused(const Bytes& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    test::WriteBytes(file, bytes);
    hooks.calls.clear();
    const Bytes before = Remember();
    EXPECT_FALSE(LoadGameFromPath(*g, file.string()));
    EXPECT_EQ(hooks.calls, std::vector<std::string>{kRefused});
    EXPECT_TRUE(Remember() == before) << "a refused file changed the game in memory";
  }
};

TEST_F(SavedGameTest, FileIsTheFourBlocksAndLoadsBackEveryUnusedByte) {
  const Bytes bytes = test::ReadBytes(file);
  ASSERT_EQ(bytes.size(), 66964u);
  EXPECT_TRUE(bytes == Image(*saved));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0, 0, 0, 0x40}));
  EXPECT_FALSE(fs::exists(file.string() + ".saving"));

  g->landMasses[2].status = LandMassStatus::Contested;
  ASSERT_TRUE(LoadGameFromPath(*g, file.string()));
  EXPECT_TRUE(hooks.calls.empty());
  EXPECT_EQ(g->app.fileFolder + "/" + g->app.fileName, (dir / "war.gam").string());
  // The view set-up draws sea tiles and numbers the cities; all else comes from the file.
  for (Game* game : {saved.get(), g.get()})
    for (int x = 0; x < game->Width(); ++x)
      for (int y = 0; y < game->Height(); ++y) game->world.At(x, y).tileVariant = game->world.At(x, y).cityOrdinal = 0;
  EXPECT_TRUE(Image(*g) == Image(*saved));
  // Only the city counts are recounted, owned and neutral alike.
  std::vector<int> cities;
  for (int mass = 0; mass < 4; ++mass) cities.push_back(g->landMasses[mass].cityCount);
  EXPECT_EQ(cities, (std::vector<int>{0, 2, 3, 1}));
  EXPECT_EQ(g->landMasses[2].status, LandMassStatus::Contested);
}

TEST_F(SavedGameTest, RefusesDamagedFilesAndKeepsTheGameInMemory) {
  const Bytes good = test::ReadBytes(file);
  const int state = kSettingsBytes, pieces = kSettingsBytes + kStateBytes, world = pieces + kPieceTableBytes;
  const int army = pieces + 2 * kPieceBytes, redCity = pieces;  // slot 2: Red's army at (4, 2); slot 0
  const auto cell = [&](int x, int y, int field) { return world + (y * kGridSide + x) * kCellBytes + field; };
  const struct {
    std::vector<std::pair<int, uint8_t>> changes;
    const char* what;
  } kCases[] = {
      {{{3, 0x3F}, {2, 0x80}}, "version 1.0"},
      {{{0, 1}}, "version a hair above 2.0"},
      {{{8 + 2, 3}}, "kind 3"},
      {{{7, 4}}, "difficulty 4"},
      {{{4, 9}}, "width 9"},
      {{{5, 71}}, "height 71"},
      {{{6, 80}}, "80 land masses"},
      {{{state + 4, 6}}, "current player 6"},
      {{{state + 9, 0xFF}}, "viewing player -1"},
      {{{state + 0, 0xF4}, {state + 1, 0x01}}, "current piece 500"},
      {{{state + 80, 12}}, "view x = width"},
      {{{state + 82 + 1, 0x80}}, "view y negative"},
      {{{state + 32 + 2, 12}}, "saved view of a taking-part player"},
      {{{state + 68, 10}}, "home y of Red = height"},
      {{{army, 11}}, "piece type 11"},
      {{{army + 1, 6}}, "owner 6"},
      {{{army + 3, 4}}, "state 4"},
      {{{army + 4, 12}}, "x outside"},
      {{{army + 5, 200}}, "y outside"},
      {{{army + 6, 12}}, "destination outside"},
      {{{redCity + 13, 0}}, "city building nothing"},
      {{{redCity + 13, 10}}, "city building type 10"},
      {{{cell(0, 0, 0), 4}}, "terrain 4"},
      {{{cell(11, 9, 3), 80}}, "land mass 80"},
      {{{cell(9, 2, 3), 0}}, "neutral city on no land mass"},
      {{{cell(5, 5, 0), 2}, {cell(7, 5, 0), 2}, {cell(4, 6, 0), 2}, {cell(7, 6, 0), 2}}, "7 cities on land mass 2"},
  };
  for (const auto& c : kCases) {
    Bytes b = good;
    for (auto [at, v] : c.changes) b[static_cast<size_t>(at)] = v;
    ExpectRefused(b, c.what);
  }
  Bytes six = good;  // one city fewer than the case above: the most a land mass may hold
  for (auto [x, y] : {std::pair{5, 5}, {7, 5}, {4, 6}}) six[static_cast<size_t>(cell(x, y, 0))] = 2;
  test::WriteBytes(file, six);
  EXPECT_TRUE(LoadGameFromPath(*g, file.string())) << "6 cities on land mass 2";
  ExpectRefused({good.begin(), good.end() - 1}, "one byte short");
  Bytes padded = good;
  padded.push_back(0);
  ExpectRefused(padded, "one byte too many");
}

TEST_F(SavedGameTest, FileDialogsNameTheGameAndSavesFollowTheNameWithTheViewKept) {
  g->app.fileFolder = dir.string();
  g->state.gameActive = 0;
  SaveGame(*g);
  g->state.gameActive = g->state.demoMode = 1;
  SaveGame(*g);
  EXPECT_FALSE(fs::exists(dir / kRecoverFileName)) << "nothing is saved without a game or in a demo";
  g->state.demoMode = 0;
  EXPECT_EQ(SaveGameAs(*g) + LoadGame(*g), 0) << "both cancelled";
  EXPECT_EQ(g->app.fileName, kRecoverFileName);

  hooks.saveAnswer = (dir / "named.gam").string();
  ASSERT_EQ(SaveGameAs(*g), 1);
  ASSERT_EQ(g->app.fileName, "named.gam");
  g->state.day = 99, g->state.viewX = 7, g->state.viewY = 8;
  SaveGame(*g);
  fs::rename(dir / "named.gam", dir / kRecoverFileName);
  hooks.openAnswer = (dir / kRecoverFileName).string();
  EXPECT_EQ(LoadGame(*g), 1);
  EXPECT_EQ(g->app.fileName, kRecoverFileName);
  EXPECT_THAT(NAMED(g->state.day, g->state.savedViewX[0], g->state.savedViewY[0]), ElementsAre(99, 7, 8));
  EXPECT_TRUE(hooks.calls.empty());
  DeleteRecoverFile(*g);
  EXPECT_TRUE(fs::exists(dir / kRecoverFileName)) << "the recovery file the player opened was deleted";
  SaveGame(*g);
  DeleteRecoverFile(*g);
  EXPECT_TRUE(!fs::exists(dir / kRecoverFileName) && fs::exists(file));
}

// Two programs in one folder: each saves its unnamed game to a file of its own
// and deletes only that one when it ends.
TEST_F(SavedGameTest, EveryRunningProgramHasARecoveryFileOfItsOwn) {
  auto first = std::make_unique<RecoverFileClaim>(std::initializer_list{dir.string()});
  auto second = std::make_unique<RecoverFileClaim>(std::initializer_list{dir.string(), dir.string()});
  EXPECT_EQ(std::make_pair(first->FileName(), second->FileName()),
            std::make_pair(std::string("RECOVER.TMP"), std::string("RECOVER2.TMP")));
  for (Game* game : {g.get(), saved.get()}) game->app.fileFolder = dir.string(), game->app.fileName = kRecoverFileName;
  g->recoverFileName = first->FileName(), saved->recoverFileName = second->FileName();
  ASSERT_TRUE(SaveGame(*g) && SaveGame(*saved));
  DeleteRecoverFile(*saved);
  EXPECT_TRUE(fs::exists(dir / "RECOVER.TMP") && !fs::exists(dir / "RECOVER2.TMP"));
  second.reset();
  EXPECT_EQ(RecoverFileClaim({dir.string()}).FileName(), "RECOVER2.TMP") << "a number given up is taken again";
  first.reset();
  EXPECT_EQ(RecoverFileClaim({dir.string()}).FileName(), "RECOVER.TMP");
}

// Programs started in different folders that cannot be written all fall back
// to the one per-user folder: there too each keeps a file of its own.
TEST_F(SavedGameTest, ProgramsFallingBackToTheUserFolderKeepRecoveryFilesApart) {
  const fs::path data = dir / "user data", here = dir / "here", there = dir / "there";
  for (const fs::path& folder : {data, here, there}) fs::create_directory(folder);
  const RecoverFileClaim first({here.string(), data.string()}), second({there.string(), data.string()});
  EXPECT_NE(first.FileName(), second.FileName()) << "both hold " << first.FileName();
  g->recoverFileName = first.FileName(), saved->recoverFileName = second.FileName();
  for (Game* game : {g.get(), saved.get()}) {
    game->app.fileName = kRecoverFileName, game->app.recoverFallbackFolder = data.string();
    game->app.fileFolder = (dir / "read-only folder").string();
    ASSERT_TRUE(SaveGame(*game));
  }
  DeleteRecoverFile(*saved);
  EXPECT_EQ(test::ReadBytes(data / first.FileName()), Image(*g)) << "the other program's exit took this one's file";
  EXPECT_FALSE(fs::exists(data / second.FileName()));
}

TEST_F(SavedGameTest, FailedSaveShowsTheErrorAndKeepsTheOldFile) {
  const Bytes old = test::ReadBytes(file);
  fs::create_directory(dir / "folder.gam");  // the target cannot be replaced
  ASSERT_EQ(mkfifo((dir / "pipe.gam").c_str(), 0600), 0);
  for (auto [folder, name] : {std::pair{dir / "no such folder", "war.gam"}, {dir, "pipe.gam"}, {dir, "folder.gam"}}) {
    g->app.fileFolder = folder.string(), g->app.fileName = name, hooks.calls = {};
    g->app.saveErrorShown = false;  // as every save by hand does
    SaveGame(*g);
    ASSERT_EQ(hooks.calls.size(), 1u) << folder << " " << name;
    EXPECT_EQ(hooks.calls[0].rfind(kSaveError + "\n\n" + (folder / name).string() + ": ", 0), 0u)
        << "the error names the file and why: " << hooks.calls[0];
    EXPECT_GT(hooks.calls[0].size(), kSaveError.size() + (folder / name).string().size() + 4) << "no reason given";
  }
  EXPECT_EQ(test::ReadBytes(file), old);
  EXPECT_TRUE(fs::is_directory(dir / "folder.gam") && fs::is_fifo(dir / "pipe.gam"));
  hooks.calls = {};
  EXPECT_FALSE(LoadGameFromPath(*g, (dir / "pipe.gam").string())) << "a FIFO was taken for a game";
  EXPECT_EQ(hooks.calls, std::vector<std::string>{kRefused});
}

// An unnamed game started where nothing can be written keeps its weekly save
// in the per-user folder; when even that fails, it says so once, not weekly.
TEST_F(SavedGameTest, RecoveryFileFallsBackToTheUserFolderAndFailsQuietlyAfterOnce) {
  const fs::path data = dir / "user data";
  fs::create_directory(data);
  g->app.fileName = kRecoverFileName;
  g->app.fileFolder = (dir / "read-only folder").string();  // missing: cannot be written, even by root
  g->app.recoverFallbackFolder = data.string();
  SaveGame(*g);
  EXPECT_TRUE(hooks.calls.empty()) << hooks.calls[0];
  EXPECT_EQ(test::ReadBytes(data / kRecoverFileName), Image(*g));
  DeleteRecoverFile(*g);
  EXPECT_FALSE(fs::exists(data / kRecoverFileName)) << "the recovery file is deleted where it went";

  g->app.fileFolder = (dir / "read-only folder").string();
  g->app.recoverFallbackFolder = (dir / "no data folder").string();
  for (int week = 0; week < 6; ++week) SaveGame(*g);
  ASSERT_EQ(hooks.calls.size(), 1u) << "six failed weekly saves";
  EXPECT_NE(hooks.calls[0].find((dir / "no data folder" / kRecoverFileName).string()), std::string::npos)
      << hooks.calls[0];
  g->app.saveErrorShown = false;  // a new game or a load starts afresh
  SaveGame(*g);
  EXPECT_EQ(hooks.calls.size(), 2u);
}

}  // namespace
}  // namespace vortan
