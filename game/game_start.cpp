// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a game in the window: the New and Demo commands, loading a saved
// game, and the view set-up all three share (menus, zoom, the elimination check).
#include "game/game_start.h"

#include <array>
#include <cstdint>
#include <optional>

#include "persist/saved_game.h"
#include "rules/elimination.h"
#include "worldgen/new_game.h"

namespace vortan {
namespace {

constexpr int kDemoSide = 40;
constexpr uint8_t kDemoLandAmount = 2;  // Normal

constexpr ToolWindow kToolWindows[] = {ToolWindow::Rankings, ToolWindow::GameInfo, ToolWindow::Production,
                                       ToolWindow::PieceInfo, ToolWindow::WorldMap};

bool IsValidPlayer(int p) { return p >= 0 && p < kPlayerCount; }

// --- SetUpGameView steps ---

void DrawTileVariants(Game& g) {
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) g.world.At(x, y).tileVariant = static_cast<uint8_t>(g.rng.Next() & 7);
}

// Tells the window what kind of game it now shows; the Next Player prompt
// is only useful while several humans take turns.
void AnnounceGameSetUp(Game& g) {
  int humans = 0;
  for (int p = 0; p < kPlayerCount; ++p)
    if (IsHumanPlayer(g, p) && g.state.eliminated[p] == 0) ++humans;
  const bool demo = g.state.demoMode != 0;
  const int viewer = g.state.viewingPlayer;
  std::optional<bool> autoPlay;
  std::optional<bool> moveMemory;
  if (!demo && IsValidPlayer(viewer)) {
    autoPlay = g.state.autoPlay[viewer] == 1;
    moveMemory = g.state.moveMemory[viewer] == 1;
  }
  g.app.promptOnNewHuman = humans > 1;
  g.ui().GameSetUp(demo, humans, autoPlay, moveMemory);
}

// Each city's ordinal among the cities of its land mass, column by column;
// it picks the city's name.
void NumberCities(Game& g) {
  std::array<uint8_t, 256> seen{};
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      MapCell& c = g.world.At(x, y);
      if (c.terrain == Terrain::City || c.topType == PieceType::City) c.cityOrdinal = seen[c.landMass]++;
    }
}

// An unknown tile size falls back to 100 %.
void SetZoom(Game& g) {
  int match = -1;
  for (int z = 0; z < static_cast<int>(std::size(kZoomLevels)); ++z)
    if (kZoomLevels[z].tileSize == g.state.tileSize) match = z;
  if (match < 0) {
    g.state.tileSize = kDefaultTileSize;
    match = kDefaultZoom;
  }
  g.ui().ZoomChanged(match);
  g.state.zoomIsWhole = kZoomLevels[match].whole ? 1 : 0;
}

void AfterLoad(Game& g) {
  SetUpGameView(g);
  RecountCities(g);
  g.ui().RepaintMainWindow();
  for (ToolWindow w : kToolWindows) g.ui().RepaintToolWindow(w);
}

}  // namespace

int NewGameCommand(Game& g) {
  const GameSettings before = g.settings;
  if (!g.ui().RunNewGameDialog() || StartNewGame(g) == 0) {
    g.settings = before;
    return 0;
  }
  return 1;
}

int StartNewGame(Game& g) {
  if (StartGeneratedGame(g) == 0) return 0;
  g.state.demoMode = 0;
  SetUpGameView(g);
  g.state.gameActive = 1;
  g.app.fileName = kRecoverFileName;
  g.app.saveErrorShown = false;
  return 1;
}

void DemoCommand(Game& g) {
  g.settings.width = g.settings.height = kDemoSide;
  g.settings.difficulty = Difficulty::Easy;
  g.settings.kind.fill(PlayerKind::Computer);
  g.settings.landAmount = kDemoLandAmount;
  g.state.demoMode = 1;
  if (StartGeneratedGame(g) == 0) return;
  for (int t = 1; t < kTypeCount; ++t) g.settings.inUse[t] = 1;
  g.state.viewingPlayer = 0;
  g.state.gameActive = 1;
  const MapPos centre = CentreOnLand(g.settings, g.world);
  g.state.savedViewX[0] = g.state.homeX[0] = centre.x;
  g.state.savedViewY[0] = g.state.homeY[0] = centre.y;
  SetUpGameView(g);
  g.ui().RepaintMainWindow();
}

void SetUpGameView(Game& g) {
  DrawTileVariants(g);
  g.lastShownPiece = kPieceSlots;
  AnnounceGameSetUp(g);
  RefreshAllCells(g);
  NumberCities(g);
  const int viewer = g.state.viewingPlayer;
  if (IsValidPlayer(viewer)) {
    g.state.viewX = g.state.savedViewX[viewer];
    g.state.viewY = g.state.savedViewY[viewer];
  }
  g.ui().SetScrollBarsForViewer();
  SetZoom(g);
  g.ui().SizeMainWindowForWorld();
  g.ui().PlaceInfoDialogs();
  g.state.mapHidden = 0;
  g.keepFinalPosition = &KeepFinalPosition;
  CheckElimination(g);
}

void KeepFinalPosition(Game& g) {
  if (g.app.fileName != kRecoverFileName) SaveGame(g);
}

bool LoadGameFromPath(Game& g, const std::string& path) {
  if (!ReadGameFromPath(g, path)) return false;
  AfterLoad(g);
  return true;
}

bool LoadGameFromBytes(Game& g, const uint8_t* data, size_t size, const std::string& path) {
  if (!ReadGameFromBytes(g, data, size, path)) return false;
  AfterLoad(g);
  return true;
}

int LoadGame(Game& g) {
  const std::optional<std::string> chosen = g.ui().ChooseOpenFile();
  if (!chosen) return 0;
  return LoadGameFromPath(g, *chosen) ? 1 : 0;
}

}  // namespace vortan
