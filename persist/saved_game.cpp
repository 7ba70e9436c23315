// Saved games: the four blocks byte for byte, 66,964 bytes. A file is checked in
// full before anything in memory is replaced, because every later rule and the
// map code index tables and the world with the values it holds.
#include "persist/saved_game.h"

#include <array>
#include <cassert>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "persist/file_bytes.h"
#include "persist/game_file_check.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

constexpr std::string_view kOopsCaption = "Oops!";
constexpr std::string_view kBadFileText = "This is an out of date or corrupted game file";
constexpr std::string_view kSaveErrorText = "File Save Error";

constexpr ToolWindow kToolWindows[] = {ToolWindow::Rankings, ToolWindow::GameInfo, ToolWindow::Production,
                                       ToolWindow::PieceInfo, ToolWindow::WorldMap};

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }
std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string CurrentFilePath(const Game& g) {
  if (g.app.fileFolder.empty()) return g.app.fileName;
  return (std::filesystem::path(g.app.fileFolder) / g.app.fileName).string();
}

// The file dialogs make the chosen file the current one: its bare name, and its
// folder as the place where later saves of that name go.
void AdoptFile(Game& g, const std::string& path) {
  g.app.fileName = NameOf(path);
  g.app.fileFolder = FolderOf(path);
}

void RefuseFile(Game& g) { g.ui().ShowMessageBox(kOopsCaption, kBadFileText, MsgIcon::Exclamation, MsgButtons::Ok); }

void AfterLoad(Game& g) {
  SetUpGameView(g);
  RecountCities(g);
  g.ui().RepaintMainWindow();
  for (ToolWindow w : kToolWindows) g.ui().RepaintToolWindow(w);
}

}  // namespace

std::vector<uint8_t> GameFileBytes(const Game& g) {
  std::vector<uint8_t> bytes(kSavedGameBytes);
  uint8_t* out = bytes.data();
  EncodeSettings(g.settings, out);
  EncodeState(g.state, out + kSettingsBytes);
  EncodePieces(g.pieces, out + kSettingsBytes + kStateBytes);
  EncodeWorld(g.world, out + kSettingsBytes + kStateBytes + kPieceTableBytes);
  return bytes;
}

bool WriteGameToPath(const Game& g, const std::string& path) {
  const std::vector<uint8_t> bytes = GameFileBytes(g);
  return ReplaceFileBytes(path, bytes.data(), bytes.size());
}

void SaveGame(Game& g) {
  if (g.state.demoMode == 1 || g.state.gameActive == 0) return;
  const int viewer = g.state.viewingPlayer;
  assert(viewer >= 0 && viewer < kPlayerCount);
  g.state.savedViewX[viewer] = g.state.viewX;
  g.state.savedViewY[viewer] = g.state.viewY;
  if (!WriteGameToPath(g, CurrentFilePath(g)))
    g.ui().ShowMessageBox(kOopsCaption, kSaveErrorText, MsgIcon::Stop, MsgButtons::Ok);
}

int SaveGameAs(Game& g) {
  const std::optional<std::string> chosen = g.ui().ChooseSaveFile();
  if (!chosen) return 0;
  AdoptFile(g, *chosen);
  SaveGame(g);
  return 1;
}

bool LoadGameFromBytes(Game& g, const uint8_t* data, size_t size, const std::string& path) {
  if (!CheckSavedGameBytes(data, size).empty()) {
    RefuseFile(g);
    return false;
  }
  g.settings = DecodeSettings(data);
  g.state = DecodeState(data + kSettingsBytes);
  g.pieces = DecodePieces(data + kSettingsBytes + kStateBytes);
  g.world = DecodeWorld(data + kSettingsBytes + kStateBytes + kPieceTableBytes);
  AdoptFile(g, path);
  AfterLoad(g);
  return true;
}

bool LoadGameFromPath(Game& g, const std::string& path) {
  const auto bytes = ReadFileBytes(path, static_cast<size_t>(kSavedGameBytes) + 1);
  if (!bytes) {
    RefuseFile(g);
    return false;
  }
  return LoadGameFromBytes(g, bytes->data(), bytes->size(), path);
}

int LoadGame(Game& g) {
  const std::optional<std::string> chosen = g.ui().ChooseOpenFile();
  if (!chosen) return 0;
  return LoadGameFromPath(g, *chosen) ? 1 : 0;
}

void DeleteRecoverFile(Game& g) {
  std::error_code ec;
  std::filesystem::remove(CurrentFilePath(g), ec);
}

void RecountCities(Game& g) {
  for (LandMassRecord& m : g.landMasses) m.cityCount = 0;
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      const MapCell& c = g.world.At(x, y);
      if (c.terrain == Terrain::City) g.landMasses[c.landMass].cityCount++;
    }
  for (const PieceRecord& r : g.pieces.slots)
    if (r.type == PieceType::City) g.landMasses[g.world.At(r.x, r.y).landMass].cityCount++;
}

}  // namespace vortan
