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

namespace vortan {
namespace {

constexpr std::string_view kOopsCaption = "Oops!";
constexpr std::string_view kBadFileText = "This is an out of date or corrupted game file";
constexpr std::string_view kSaveErrorText = "File Save Error";
constexpr int kMinSide = 10;

std::string Str(int v) { return std::to_string(v); }

std::string SettingsProblem(const GameSettings& s) {
  if (s.version != 2.0f) {
    char text[48];
    std::snprintf(text, sizeof text, "format version is %.9g, not 2.0", static_cast<double>(s.version));
    return text;
  }
  for (int p = 0; p < kPlayerCount; ++p)
    if (s.kind[p] > PlayerKind::Computer) return "player " + Str(p) + " has kind " + Str(s.kind[p]);
  if (s.difficulty > Difficulty::Hard) return "difficulty is " + Str(s.difficulty);
  if (s.width < kMinSide || s.width > kGridSide || s.height < kMinSide || s.height > kGridSide)
    return "world size " + Str(s.width) + " x " + Str(s.height) + " is outside 10 to 70";
  if (s.landMassCount >= kLandMassSlots) return "land-mass count " + Str(s.landMassCount) + " is above 79";
  return {};
}

bool Inside(const GameSettings& s, int x, int y) { return x >= 0 && x < s.width && y >= 0 && y < s.height; }

std::string StateProblem(const GameSettings& s, const GameState& st) {
  if (st.currentPlayer < 0 || st.currentPlayer >= kPlayerCount) return "current player is " + Str(st.currentPlayer);
  if (st.viewingPlayer < 0 || st.viewingPlayer >= kPlayerCount) return "viewing player is " + Str(st.viewingPlayer);
  if (st.currentPiece < 0 || st.currentPiece >= kPieceSlots) return "current piece is " + Str(st.currentPiece);
  if (!Inside(s, st.viewX, st.viewY)) return "view (" + Str(st.viewX) + ", " + Str(st.viewY) + ") is outside the world";
  // An Out player's views and home are leftovers nobody reads; the viewing
  // player's are read when the view is restored, whatever its kind.
  for (int p = 0; p < kPlayerCount; ++p) {
    if (s.kind[p] == PlayerKind::Out && p != st.viewingPlayer) continue;
    if (!Inside(s, st.savedViewX[p], st.savedViewY[p])) return "saved view of player " + Str(p) + " is outside the world";
    if (!Inside(s, st.homeX[p], st.homeY[p])) return "home of player " + Str(p) + " is outside the world";
  }
  return {};
}

std::string PieceProblem(const GameSettings& s, const PieceRecord& r, int slot) {
  const std::string who = "piece " + Str(slot);
  if (r.type > PieceType::None) return who + " has type " + Str(r.type);
  if (r.owner >= kPlayerCount) return who + " has owner " + Str(r.owner);
  if (r.state > PieceState::Returning) return who + " has state " + Str(r.state);
  if (!Inside(s, r.x, r.y)) return who + " stands outside the world";
  if (!Inside(s, r.destX, r.destY)) return who + " is headed outside the world";
  if (r.type == PieceType::City && (r.production < PieceType::Army || r.production > PieceType::Para))
    return who + " is a city building type " + Str(r.production);
  return {};
}

std::string CellProblem(const MapCell& c, int x, int y) {
  const std::string where = "cell (" + Str(x) + ", " + Str(y) + ")";
  if (c.terrain > Terrain::Mountain) return where + " has terrain " + Str(c.terrain);
  if (c.landMass >= kLandMassSlots) return where + " has land mass " + Str(c.landMass);
  return {};
}

// A city's name comes from its land mass and its ordinal there, so every city
// must lie on a land mass holding no more cities than the name table allows.
std::string CityProblem(const GameSettings& s, const PieceTable& t, const World& w) {
  std::array<bool, kGridSide * kGridSide> isCity{};
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) isCity[y * kGridSide + x] = w.At(x, y).terrain == Terrain::City;
  for (const PieceRecord& r : t.slots)
    if (r.type == PieceType::City) isCity[r.y * kGridSide + r.x] = true;
  std::array<int, kLandMassSlots> cities{};
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      if (!isCity[y * kGridSide + x]) continue;
      const int mass = w.At(x, y).landMass;
      if (mass == 0) return "the city at (" + Str(x) + ", " + Str(y) + ") lies on no land mass";
      if (++cities[mass] > kMaxCitiesPerLandMass) return "land mass " + Str(mass) + " holds more than " + Str(kMaxCitiesPerLandMass) + " cities";
    }
  return {};
}

std::string PiecesProblem(const GameSettings& s, const PieceTable& t) {
  for (int i = 0; i < kPieceSlots; ++i)
    if (!t[i].IsEmpty())
      if (std::string why = PieceProblem(s, t[i], i); !why.empty()) return why;
  return {};
}

std::string WorldProblem(const GameSettings& s, const World& w) {
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y)
      if (std::string why = CellProblem(w.At(x, y), x, y); !why.empty()) return why;
  return {};
}

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

}  // namespace

std::string CheckSavedGameBytes(const uint8_t* data, size_t size) {
  if (size != static_cast<size_t>(kSavedGameBytes))
    return "the file is " + std::to_string(size) + " bytes long; a saved game is " + Str(kSavedGameBytes);
  const GameSettings s = DecodeSettings(data);
  if (std::string why = SettingsProblem(s); !why.empty()) return why;
  const GameState st = DecodeState(data + kSettingsBytes);
  if (std::string why = StateProblem(s, st); !why.empty()) return why;
  auto pieces = std::make_unique<PieceTable>(DecodePieces(data + kSettingsBytes + kStateBytes));
  if (std::string why = PiecesProblem(s, *pieces); !why.empty()) return why;
  auto world = std::make_unique<World>(DecodeWorld(data + kSettingsBytes + kStateBytes + kPieceTableBytes));
  if (std::string why = WorldProblem(s, *world); !why.empty()) return why;
  return CityProblem(s, *pieces, *world);
}

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

void SaveGame(Game& g) {
  if (g.state.demoMode == 1 || g.state.gameActive == 0) return;
  const int viewer = g.state.viewingPlayer;
  assert(viewer >= 0 && viewer < kPlayerCount);
  g.state.savedViewX[viewer] = g.state.viewX;
  g.state.savedViewY[viewer] = g.state.viewY;
  std::string path = CurrentFilePath(g), why;
  if (WriteGameToPath(g, path, &why)) return;
  // The recovery file moves to the fallback folder for good, so it is found
  // there for deleting at exit and the next week's save goes straight there.
  if (g.app.fileName == kRecoverFileName && !g.app.recoverFallbackFolder.empty() &&
      g.app.fileFolder != g.app.recoverFallbackFolder) {
    g.app.fileFolder = g.app.recoverFallbackFolder;
    path = CurrentFilePath(g);
    if (WriteGameToPath(g, path, &why)) return;
  }
  if (g.app.saveErrorShown) return;
  g.app.saveErrorShown = true;
  const std::string text = std::string(kSaveErrorText) + "\n\n" + path + ": " + why;
  g.ui().ShowMessageBox(kOopsCaption, text, MsgIcon::Stop, MsgButtons::Ok);
}

int SaveGameAs(Game& g) {
  const std::optional<std::string> chosen = g.ui().ChooseSaveFile();
  if (!chosen) return 0;
  AdoptFile(g, *chosen);
  SaveGame(g);
  return 1;
}

bool ReadGameFromPath(Game& g, const std::string& path) {
  const auto bytes = ReadFileBytes(path, static_cast<size_t>(kSavedGameBytes) + 1);
  if (!bytes || !CheckSavedGameBytes(bytes->data(), bytes->size()).empty()) {
    RefuseFile(g);
    return false;
  }
  const uint8_t* in = bytes->data();
  g.settings = DecodeSettings(in);
  g.state = DecodeState(in + kSettingsBytes);
  g.pieces = DecodePieces(in + kSettingsBytes + kStateBytes);
  g.world = DecodeWorld(in + kSettingsBytes + kStateBytes + kPieceTableBytes);
  AdoptFile(g, path);
  g.app.saveErrorShown = false;   // a loaded game is a new game for the weekly save's error
  return true;
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
