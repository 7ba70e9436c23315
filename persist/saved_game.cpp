// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "model/piece_types.h"
#include "persist/file_bytes.h"
#include "persist/game_file_check.h"

namespace vortan {
namespace {

constexpr std::string_view kOopsCaption = "Oops!";
constexpr std::string_view kBadFileText = "This is an out of date or corrupted game file";
constexpr std::string_view kSaveErrorText = "File Save Error";

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }
std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool IsUnnamed(const Game& g) { return g.app.fileName == kRecoverFileName; }

// An unnamed game is written to this program's own recovery file.
std::string CurrentFilePath(const Game& g) {
  const std::string& name = IsUnnamed(g) ? g.recoverFileName : g.app.fileName;
  if (g.app.fileFolder.empty()) return name;
  return (std::filesystem::path(g.app.fileFolder) / name).string();
}

// Notes a recovery file as this program's own, to be deleted at exit.
bool Written(Game& g, const std::string& path) {
  if (!IsUnnamed(g)) return true;
  for (const std::string& p : g.recoverFilesWritten)
    if (p == path) return true;
  g.recoverFilesWritten.push_back(path);
  return true;
}

// The file dialogs make the chosen file the current one: its bare name, and its
// folder as the place where later saves of that name go.
void AdoptFile(Game& g, const std::string& path) {
  g.app.fileName = NameOf(path);
  g.app.fileFolder = FolderOf(path);
}

void RefuseFile(Game& g) { g.ui().ShowMessageBox(kOopsCaption, kBadFileText, MsgIcon::Exclamation, MsgButtons::Ok); }

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

bool WriteGameToPath(const Game& g, const std::string& path, std::string* why) {
  const std::vector<uint8_t> bytes = GameFileBytes(g);
  return ReplaceFileBytes(path, bytes.data(), bytes.size(), why);
}

bool SaveGame(Game& g) {
  if (g.state.demoMode == 1 || g.state.gameActive == 0) return true;
  const int viewer = g.state.viewingPlayer;
  assert(viewer >= 0 && viewer < kPlayerCount);
  g.state.savedViewX[viewer] = g.state.viewX;
  g.state.savedViewY[viewer] = g.state.viewY;
  std::string path = CurrentFilePath(g), why;
  if (WriteGameToPath(g, path, &why)) return Written(g, path);
  // The recovery file moves to the fallback folder for good, so it is found
  // there for deleting at exit and the next week's save goes straight there.
  if (IsUnnamed(g) && !g.app.recoverFallbackFolder.empty() && g.app.fileFolder != g.app.recoverFallbackFolder) {
    g.app.fileFolder = g.app.recoverFallbackFolder;
    path = CurrentFilePath(g);
    if (WriteGameToPath(g, path, &why)) return Written(g, path);
  }
  if (g.app.saveErrorShown) return false;
  g.app.saveErrorShown = true;
  const std::string text = std::string(kSaveErrorText) + "\n\n" + path + ": " + why;
  g.ui().ShowMessageBox(kOopsCaption, text, MsgIcon::Stop, MsgButtons::Ok);
  return false;
}

// A game is named only once it has been written under the name: after a
// failed write it keeps its old name (unnamed stays unnamed) and the dialog
// comes back, until a save succeeds or the player cancels.
int SaveGameAs(Game& g) {
  while (const std::optional<std::string> chosen = g.ui().ChooseSaveFile()) {
    const std::string oldName = g.app.fileName, oldFolder = g.app.fileFolder;
    AdoptFile(g, *chosen);
    g.app.saveErrorShown = false;  // every try the player makes reports its failure
    if (SaveGame(g)) return 1;
    g.app.fileName = oldName;
    g.app.fileFolder = oldFolder;
  }
  return 0;
}

void DecodeGameFile(Game& g, const uint8_t* data) {
  g.settings = DecodeSettings(data);
  g.state = DecodeState(data + kSettingsBytes);
  g.pieces = DecodePieces(data + kSettingsBytes + kStateBytes);
  g.world = DecodeWorld(data + kSettingsBytes + kStateBytes + kPieceTableBytes);
  g.occupancy.Rebuild(g.pieces);  // the top pieces come from the file as they are
}

bool ReadGameFromBytes(Game& g, const uint8_t* data, size_t size, const std::string& path) {
  if (!CheckSavedGameBytes(data, size).empty()) {
    RefuseFile(g);
    return false;
  }
  DecodeGameFile(g, data);
  AdoptFile(g, path);
  g.app.saveErrorShown = false;  // a loaded game is a new game for the weekly save's error
  return true;
}

bool ReadGameFromPath(Game& g, const std::string& path) {
  const auto bytes = ReadFileBytes(path, static_cast<size_t>(kSavedGameBytes) + 1);
  if (!bytes) {
    RefuseFile(g);
    return false;
  }
  return ReadGameFromBytes(g, bytes->data(), bytes->size(), path);
}

// Only the recovery files this program wrote: one that belongs to another
// program, or that the player opened to recover a game, stays.
void DeleteRecoverFile(Game& g) {
  std::error_code ec;
  for (const std::string& path : g.recoverFilesWritten) std::filesystem::remove(path, ec);
  g.recoverFilesWritten.clear();
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
