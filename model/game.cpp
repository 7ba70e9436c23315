// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/game.h"

#include <array>

#include "model/piece_types.h"

namespace vortan {

void ResetToProgramStart(Game& g) {
  g.settings = GameSettings{};
  g.state = GameState{};
  g.pieces = PieceTable{};
  g.world = World{};
  g.landMasses = LandMassTable{};
  g.app = AppShared{};
  g.app.attackTable = kAttackTableConstants;

  g.settings.version = 2.0f;
  g.settings.width = 40;
  g.settings.height = 40;
  g.settings.landMassCount = 10;

  g.state.gameActive = 0;
  g.state.mapHidden = 1;
  g.state.tileSize = kDefaultTileSize;
  g.state.zoomIsWhole = 1;
  for (int p = 0; p < kPlayerCount; ++p) g.state.playerBit[p] = static_cast<int16_t>(1 << p);

  for (MapCell& c : g.world.cells) {
    c.explored = 0;
    c.visible = 0;
    c.topType = PieceType::None;
  }
  for (PieceRecord& r : g.pieces.slots) {
    r.x = 0;
    r.y = 0;
    r.type = PieceType::None;
  }
  g.occupancy.Clear();
  g.lastSelectedPos = MapPos{0, 0};
  g.lastShownPiece = kPieceSlots;
  g.cityDialogPiece = -1;
  g.insideAdvanceGame = false;
}

bool IsHumanControlled(const Game& g, int player) { return IsHumanPlayer(g, player) && g.state.autoPlay[player] != 1; }

bool IsCoastal(const World& w, const GameSettings& s, int x, int y) {
  // The first sea cell settles it, the cell's own first: it needs no look
  // round. The block's columns and rows are wrapped once.
  const int xs[3] = {WrapX(s, x - 1), WrapX(s, x), WrapX(s, x + 1)};
  const int ys[3] = {WrapY(s, y - 1), WrapY(s, y), WrapY(s, y + 1)};
  if (w.At(xs[1], ys[1]).terrain == Terrain::Sea) return true;
  for (const int cx : xs)
    for (const int cy : ys)
      if (w.At(cx, cy).terrain == Terrain::Sea) return true;
  return false;
}

bool IsEnemyOccupied(const World& w, int x, int y, int player) {
  const MapCell& c = w.At(x, y);
  return c.topType != PieceType::None && c.topOwner != player;
}

bool IsNextToOwnCity(const PieceTable& t, const GameSettings& s, int piece) {
  const PieceRecord& p = t[piece];
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& c = t[i];
    if (c.type == PieceType::City && c.owner == p.owner && WrapDistance(s, c.x, c.y, p.x, p.y) <= 1) return true;
  }
  return false;
}

// The top-piece precedence: a city always wins, a submarine shows only when
// alone, carriers and transports hide their cargo, else the highest index wins.
static void ApplyTopPiece(MapCell& c, const PieceRecord& r) {
  bool takes = false;
  if (r.type == PieceType::City) {
    takes = true;
  } else if (r.type == PieceType::Submarine) {
    takes = c.topType == PieceType::None;
  } else {
    takes = c.topType != PieceType::City && c.topType != PieceType::Carrier && c.topType != PieceType::Transport;
  }
  if (takes) {
    c.topType = r.type;
    c.topOwner = r.owner;
    c.topFacing = r.facing;
  }
}

// The cell's top piece from the index alone.
static void RefreshTopPiece(Game& g, MapPos pos) {
  MapCell& c = g.world.At(pos);
  c.topType = PieceType::None;
  g.occupancy.ForEachAt(g.pieces, pos.x, pos.y, [&](int, const PieceRecord& r) { ApplyTopPiece(c, r); });
}

// Files right the slots filed under the cell, some of which may have left or vanished.
static void RefileSlotsAt(Game& g, MapPos pos) {
  std::array<int16_t, kPieceSlots> filed;
  int count = 0;
  g.occupancy.ForEachFiled(pos.x, pos.y, [&](int slot) { filed[count++] = static_cast<int16_t>(slot); });
  for (int k = 0; k < count; ++k) IndexSlot(g, filed[k]);
}

void RefreshCell(Game& g, MapPos pos) {
  // Whatever changed on this cell behind the index's back is filed right
  // first: slots filed here that have left, then slots standing here.
  RefileSlotsAt(g, pos);
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.type != PieceType::None && r.x == pos.x && r.y == pos.y) IndexSlot(g, i);
  }
  RefreshTopPiece(g, pos);
}

void RefreshFiledCell(Game& g, MapPos pos) {
  RefileSlotsAt(g, pos);
  RefreshTopPiece(g, pos);
}

void RefreshCells(Game& g, MapPos a, MapPos b) {
  RefreshTopPiece(g, a);
  RefreshTopPiece(g, b);
}

void RefreshAllCells(Game& g) {
  g.occupancy.Rebuild(g.pieces);
  for (int y = 0; y < g.Height(); ++y)
    for (int x = 0; x < g.Width(); ++x) g.world.At(x, y).topType = PieceType::None;
  for (const PieceRecord& r : g.pieces.slots)
    if (r.type != PieceType::None && r.x < kGridSide && r.y < kGridSide) ApplyTopPiece(g.world.At(r.x, r.y), r);
}

static bool ViewerMaskTest(const Game& g, uint8_t mask) {
  int viewer = g.state.viewingPlayer;
  if (viewer >= 0 && viewer < kPlayerCount && (mask & g.state.playerBit[viewer])) return true;
  if (mask == 0) return false;
  return g.state.demoMode != 0 || (viewer >= 0 && viewer < kPlayerCount && g.state.eliminated[viewer] != 0);
}

bool ViewerKnowsCell(const Game& g, MapPos pos) { return ViewerMaskTest(g, g.world.At(pos).explored); }
bool ViewerSeesCell(const Game& g, MapPos pos) { return ViewerMaskTest(g, g.world.At(pos).visible); }

int FindFreeSlot(const PieceTable& t) {
  for (int i = 0; i < kPieceSlots; ++i)
    if (t[i].type == PieceType::None) return i;
  return -1;
}

int SlotsInUse(const PieceTable& t) {
  // Ten slots a test, with one branch for the ten, as most of the walk is
  // over empty slots. Their types are all None exactly when every one holds
  // all of None's bits (the AND) and none holds another (the OR).
  constexpr int kStride = 10;
  static_assert(kPieceSlots % kStride == 0);
  int end = kPieceSlots;
  for (; end > 0; end -= kStride) {
    uint8_t all = PieceType::None, any = PieceType::None;
#pragma GCC unroll 10
    for (int k = 1; k <= kStride; ++k) {
      all &= t[end - k].type;
      any |= t[end - k].type;
    }
    if (all != PieceType::None || any != PieceType::None) break;
  }
  while (end > 0 && t[end - 1].IsEmpty()) --end;
  return end;
}

}  // namespace vortan
