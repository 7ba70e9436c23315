// SPDX-License-Identifier: GPL-3.0-or-later
// One game context: the records of a game, the application values the rules
// share with the user interface, the random generator and the hooks. Every
// operation of the core takes it explicitly; there is no global game state.
#pragma once

#include <string>
#include <vector>

#include "model/cell_occupancy.h"
#include "model/hooks.h"
#include "model/random.h"
#include "model/records.h"
#include "model/refuel_memory.h"

namespace vortan {

// Where an unnamed game is saved each week, so a crash loses at most a week.
inline constexpr const char* kRecoverFileName = "RECOVER.TMP";
// The zoom levels: the edge of a map cell in pixels, and whether it is a whole
// multiple of the 16-pixel pictures (drawn from the large set) or not (small set).
struct ZoomLevel {
  uint8_t tileSize;
  bool whole;
};
inline constexpr ZoomLevel kZoomLevels[] = {{12, false}, {16, true}, {24, false}, {32, true}};
inline constexpr int kDefaultZoom = 1;  // 100 %
inline constexpr uint8_t kDefaultTileSize = kZoomLevels[kDefaultZoom].tileSize;
inline constexpr const char* kPlayerNames[kPlayerCount] = {"RED", "GREEN", "BLUE", "YELLOW", "BLACK", "PURPLE"};

// The parts of the application record that the rules read and write.
struct AppShared {
  std::string fileName = kRecoverFileName;
  std::string fileFolder;  // where fileName lives: the folder last chosen in a file dialog; empty: working folder
  // Where the recovery file goes when fileFolder cannot be written (the
  // application sets a per-user folder); empty: nowhere else.
  std::string recoverFallbackFolder;
  bool saveErrorShown = false;  // a weekly save failed and said so: once per game is enough
  int32_t winner = 0;
  int32_t lostPlayer = 0;
  int32_t popupCity = 0;
  int32_t endTurnRequested = 0;
  uint8_t soundMode = SoundMode::None;
  uint8_t monochrome = 0;
  bool promptOnNewHuman = false;  // the "Prompt on new human" menu check
  AttackTable attackTable{};
};

// Everything one game holds; not copyable, since the hooks and the transient
// values belong to the one running game.
struct Game {
  GameSettings settings;
  GameState state;
  PieceTable pieces;
  World world;
  LandMassTable landMasses{};
  AppShared app;
  Random rng;
  PresentationHooks* hooks = &nullHooks;
  // The rules announce a winner in the middle of a move; keeping the final
  // position of a named game is the game layer's business, which installs this
  // when it sets a game up. Null: nothing is kept.
  void (*keepFinalPosition)(Game&) = nullptr;

  // Transient values, never saved.
  CellOccupancy occupancy;  // which slots stand on each cell; see cell_occupancy.h
  RefuelMemory refuelMemory;
  MapPos lastSelectedPos{0, 0};
  int lastShownPiece = kPieceSlots;  // 500: none
  int cityDialogPiece = -1;
  bool insideAdvanceGame = false;                  // guards against re-entry from a modal loop
  int stillSteps = 0;                              // steps in a row that changed nothing (the turn loop's watchdog)
  std::string settingsPath;                        // the settings file; empty: none
  std::string recoverFileName = kRecoverFileName;  // where this program saves an unnamed game
  std::vector<std::string> recoverFilesWritten;    // this program's own recovery files, deleted at exit

  NullHooks nullHooks;

  Game() = default;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
  // The installed presentation hooks; the silent defaults when none are.
  PresentationHooks& ui() const { return *hooks; }
  // The map size in cells, from the settings.
  int Width() const { return settings.width; }
  int Height() const { return settings.height; }
};

// Zeroes every block and applies the start-up defaults of a fresh program
// (settings version 2.0, 40 x 40, 10 land masses; state defaults; empty cells
// and slots; the attack table). Piece attributes are left at zero: the caller
// loads them from the settings file or applies the defaults.
void ResetToProgramStart(Game& g);

// --- Who plays a player ---
// (Asked on every step and in every route search, so most are inline.)
// A Human in the settings, whether or not auto play is on.
inline bool IsHumanPlayer(const Game& g, int player) { return g.settings.kind[player] == PlayerKind::Human; }
// A Human not under auto play: the player gives the orders by hand.
bool IsHumanControlled(const Game& g, int player);
// A Computer, or a Human under auto play: the computer player decides.
inline bool IsComputerControlled(const Game& g, int player) {
  return g.settings.kind[player] == PlayerKind::Computer || g.state.autoPlay[player] == 1;
}
// Neither Out nor eliminated.
inline bool IsTakingPart(const Game& g, int player) {
  return g.state.eliminated[player] == 0 && g.settings.kind[player] != PlayerKind::Out;
}

// --- Queries and helpers shared by every layer ---
// The true modulo: value wrapped into 0..size-1, for negative values too.
// Nearly every caller is at most one size off, so that case is a compare and
// an add; anything further out takes the division.
inline int Wrap(int value, int size) {
  if (value >= 0) {
    if (value < size) return value;
    if (value - size < size) return value - size;
  } else if (value + size >= 0) {
    return value + size;
  }
  const int r = value % size;
  return r < 0 ? r + size : r;
}
// Fighter, Bomber or Para: the types that fly and run on fuel.
inline bool IsAirType(int type) {
  return type == PieceType::Fighter || type == PieceType::Bomber || type == PieceType::Para;
}
// Destroyer, Battleship, Carrier, Submarine or Transport: the types that keep to the sea.
inline bool IsShipType(int type) {
  return type == PieceType::Destroyer || type == PieceType::Battleship || type == PieceType::Carrier ||
         type == PieceType::Submarine || type == PieceType::Transport;
}
// A column or row wrapped onto the map, which joins edge to edge both ways.
inline int WrapX(const GameSettings& s, int x) { return Wrap(x, s.width); }
inline int WrapY(const GameSettings& s, int y) { return Wrap(y, s.height); }
// Both coordinates wrapped onto the map, as a cell position.
inline MapPos WrapPos(const GameSettings& s, int x, int y) {
  return MapPos{static_cast<uint8_t>(WrapX(s, x)), static_cast<uint8_t>(WrapY(s, y))};
}
// Moves between two cells on the wrapping map: the larger of the shorter way
// round in x and in y (a diagonal step counts as one).
// Inline: the route search and the computer player ask it all the time.
inline int WrapDistance(const GameSettings& s, int x1, int y1, int x2, int y2) {
  int dx = Wrap(s.width + x1 - x2, s.width);
  if (dx > s.width / 2) dx = s.width - dx;
  int dy = Wrap(s.height + y1 - y2, s.height);
  if (dy > s.height / 2) dy = s.height - dy;
  return dx > dy ? dx : dy;
}
// The same for two cell positions.
inline int WrapDistance(const GameSettings& s, MapPos a, MapPos b) { return WrapDistance(s, a.x, a.y, b.x, b.y); }
// True when the cell or one of its eight neighbours is sea.
bool IsCoastal(const World& w, const GameSettings& s, int x, int y);
// True when the cell's top piece belongs to someone other than the player.
bool IsEnemyOccupied(const World& w, int x, int y, int player);
// True when a city of the piece's owner is on its cell or next to it.
bool IsNextToOwnCity(const PieceTable& t, const GameSettings& s, int piece);
// Recomputes which piece the cell shows on top (a city first, a lone submarine
// last, carriers and transports hiding their cargo) from the piece table,
// re-indexing every slot that stands on the cell or was filed under it.
void RefreshCell(Game& g, MapPos pos);
// The top pieces of both cells of a move, from the cell index alone: the
// caller has re-indexed every slot it moved (IndexSlot).
void RefreshCells(Game& g, MapPos a, MapPos b);
// RefreshCell for a cell that pieces have only left, vanished from or changed
// on since the index was last right: every piece standing there is filed
// there, so re-filing the cell's own slots is enough and the table is not walked.
void RefreshFiledCell(Game& g, MapPos pos);
// RefreshCell for every cell of the map, after pieces were loaded or replaced
// wholesale; indexes the whole table afresh.
void RefreshAllCells(Game& g);
// Files the slot under the cell it stands on now, after its piece moved,
// appeared or vanished.
inline void IndexSlot(Game& g, int slot) { g.occupancy.IndexSlot(g.pieces, slot); }
// Whether the viewing player has explored the cell; in a demo, or once the
// viewer is eliminated, every cell anyone has explored counts.
bool ViewerKnowsCell(const Game& g, MapPos pos);
// The same for what is in sight now rather than what has ever been seen.
bool ViewerSeesCell(const Game& g, MapPos pos);
// The lowest empty slot, or -1 when all 500 are in use.
int FindFreeSlot(const PieceTable& t);
// One past the last slot in use. New pieces take the lowest empty slot, so
// the table is mostly empty past a hundred or so slots, and the walks over
// the whole table at a turn's start can stop here.
int SlotsInUse(const PieceTable& t);

// Calls f(x, y) for the 3 x 3 block around (cx, cy), wrapped: x offset in the
// outer loop, y offset in the inner loop, both from -1 to +1.
template <typename F>
void ForEachInBlock3(const GameSettings& s, int cx, int cy, F&& f) {
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) f(WrapX(s, cx + dx), WrapY(s, cy + dy));
}

// The wrapped coordinates centre - radius .. centre + radius along an axis of
// the given length, into axis[0 .. 2 radius]: one wrap for a whole square's
// row or column instead of one per cell.
inline void WrapSpan(int centre, int radius, int length, uint8_t* axis) {
  const int side = 2 * radius + 1;
  // Unbroken runs up to the end of the axis, then on from its start.
  for (int k = 0, c = Wrap(centre - radius, length); k < side; c = 0) {
    const int run = side - k < length - c ? side - k : length - c;
    for (int t = 0; t < run; ++t) axis[k + t] = static_cast<uint8_t>(c + t);
    k += run;
  }
}

}  // namespace vortan
