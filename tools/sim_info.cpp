// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim info: checks a saved game as a load would and summarises it.
// vortan-sim attributes: what the program would read from the settings file at start-up.
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "model/game.h"
#include "model/piece_types.h"
#include "persist/file_bytes.h"
#include "persist/saved_game.h"
#include "persist/settings_file.h"
#include "tools/sim_commands.h"

namespace vortan::sim {
namespace {

constexpr const char* kKindNames[] = {"Out", "Human", "Computer"};
constexpr const char* kDifficultyNames[] = {"Simple", "Easy", "Tricky", "Hard"};

struct Summary {
  std::array<std::array<int, kTypeCount>, kPlayerCount> pieces{};
  int neutralCities = 0;
  std::map<int, std::pair<int, int>> landMasses;  // number -> cells, cities
};

Summary Summarise(const Game& g) {
  Summary s;
  for (const PieceRecord& r : g.pieces.slots) {
    if (r.IsEmpty()) continue;
    s.pieces[r.owner][r.type]++;
    if (r.type == PieceType::City) s.landMasses[g.world.At(r.x, r.y).landMass].second++;
  }
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      const MapCell& c = g.world.At(x, y);
      if (c.landMass != 0) s.landMasses[c.landMass].first++;
      if (c.terrain != Terrain::City) continue;
      s.neutralCities++;
      s.landMasses[c.landMass].second++;
    }
  return s;
}

void PrintSummary(const std::string& path, const Game& g) {
  const GameSettings& st = g.settings;
  const GameState& gs = g.state;
  std::printf("%s: saved game, %d bytes\n", path.c_str(), kSavedGameBytes);
  std::printf("world %d x %d, %d land masses numbered, difficulty %s\n", st.width, st.height, st.landMassCount,
              kDifficultyNames[st.difficulty]);
  std::printf("day %d, %s on turn, %s viewing%s%s\n", gs.day, kPlayerNames[gs.currentPlayer],
              kPlayerNames[gs.viewingPlayer], gs.gameActive == 1 ? "" : ", game over",
              gs.demoMode == 1 ? ", demo" : "");
  const Summary s = Summarise(g);
  for (int p = 0; p < kPlayerCount; ++p) {
    std::printf("%-6s %s", kPlayerNames[p], kKindNames[st.kind[p]]);
    if (gs.eliminated[p]) std::printf(" eliminated");
    for (int t = PieceType::City; t <= PieceType::Para; ++t)
      if (s.pieces[p][t]) std::printf(" %s %d", kPieceTypeDefaults[t].key, s.pieces[p][t]);
    std::printf("\n");
  }
  std::printf("neutral cities %d\n", s.neutralCities);
  std::printf("land masses %zu:", s.landMasses.size());
  for (const auto& [number, counts] : s.landMasses)
    std::printf(" %d (%d cells, %d cities)", number, counts.first, counts.second);
  std::printf("\n");
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadAcceptedGameFile(const std::string& path) {
  auto bytes = ReadFileBytes(path, static_cast<size_t>(kSavedGameBytes) + 1);
  if (!bytes) {
    std::printf("%s: refused: cannot be read\n", path.c_str());
    return std::nullopt;
  }
  if (const std::string why = CheckSavedGameBytes(bytes->data(), bytes->size()); !why.empty()) {
    std::printf("%s: refused: %s\n", path.c_str(), why.c_str());
    return std::nullopt;
  }
  return bytes;
}

namespace {

// Remembers whether loading the options chose a sound mode.
class SoundChoice : public PresentationHooks {
 public:
  bool chosen = false;
  void SoundModeChanged(int /*mode*/) override { chosen = true; }
};

constexpr Option kAttributesOptions[] = {
    {"--ini", "FILE", "the settings file to read (default: none, the built-in values)"},
};

int RunInfo(const ParsedArgs& args) {
  const std::string& path = args.Operands()[0];
  const auto bytes = ReadAcceptedGameFile(path);
  if (!bytes) return kExitRefused;
  auto g = std::make_unique<Game>();
  DecodeGameFile(*g, bytes->data());
  PrintSummary(path, *g);
  return 0;
}

int RunAttributes(const ParsedArgs& args) {
  const std::string ini = args.Text("--ini");
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  SoundChoice sound;
  g->hooks = &sound;
  g->settingsPath = ini;
  LoadPieceAttributes(g->settings, ini);
  LoadSetupOptions(*g);
  const GameSettings& s = g->settings;
  for (int t = PieceType::Army; t <= PieceType::Para; ++t)
    std::printf("%s in-use %d days %d moves %d fuel %d\n", kPieceTypeDefaults[t].key, s.inUse[t], s.days[t], s.moves[t],
                s.fuel[t]);
  if (sound.chosen)
    std::printf("sounds %d\n", g->app.soundMode);
  else
    std::printf("sounds none\n");
  std::printf("colour %d\n", g->app.monochrome ? 0 : 1);
  return 0;
}

}  // namespace

const Command kInfoCommand{"info", "check a saved game as Open would and summarise it", "FILE.gam", 1, {}, RunInfo};
const Command kAttributesCommand{
    "attributes", "print the piece attributes and options read at start-up", "", 0, kAttributesOptions, RunAttributes};

}  // namespace vortan::sim
