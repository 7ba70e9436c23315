// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/visibility.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>

#include "model/piece_types.h"

namespace vortan {

// A foreign submarine is only made out from right beside it.
static bool HidesFrom(const MapCell& c, int player, int dx, int dy) {
  return c.topType == PieceType::Submarine && c.topOwner != player && (std::abs(dx) > 1 || std::abs(dy) > 1);
}

// The player explores the cell and sees it; dx, dy is its offset from the onlooker.
static void Mark(MapCell& c, int player, uint8_t bit, int dx, int dy) {
  c.explored |= bit;
  if (!HidesFrom(c, player, dx, dy)) c.visible |= bit;
}

namespace {

// Sight ranges are at most 3 cells.
constexpr int kMaxSightSide = 7;

void StopPiece(PieceRecord& p) {
  p.destX = p.x;
  p.destY = p.y;
  p.state = PieceState::Ready;
}

// Whether the look at the cell is news to the player: a cell nobody has
// explored yet or, outside a demo, one the player has not explored or where a
// piece has come into view. The onlooker's own cell and the one it came from
// are news whatever they hold.
bool BringsNews(const MapCell& c, uint8_t bit, bool demo) {
  if (c.explored == 0) return true;
  if (demo) return false;
  return !(c.explored & bit) || (!(c.visible & bit) && c.topType != PieceType::None);
}

// What the piece has just seen may end its go-to order.
void ApplySightingStops(Game& g, PieceRecord& p, const MapCell& c) {
  const int player = g.state.currentPlayer;
  const bool enemy = c.topType != PieceType::None && c.topOwner != player && c.topType != PieceType::City;
  if (enemy && p.state != PieceState::Returning) StopPiece(p);
  if (c.terrain == Terrain::City && p.type == PieceType::Army) StopPiece(p);
  if (c.terrain != Terrain::Sea && p.type == PieceType::Transport) StopPiece(p);
}

// The cells of a (2 range + 1) square as bits of a mask, one byte for each
// x offset, bit j of it for y offset j: a cell's place in the mask comes from
// shifts rather than divisions, and a column of the square is one byte.
using SquareMask = uint64_t;
constexpr int kColumnBits = 8;
static_assert(kMaxSightSide <= kColumnBits && kMaxSightSide * kColumnBits <= 64);

constexpr int MaskBit(int i, int j) { return i * kColumnBits + j; }

// The whole square of each range.
constexpr std::array<SquareMask, kMaxSightSide / 2 + 1> SquareMasks() {
  std::array<SquareMask, kMaxSightSide / 2 + 1> masks{};
  for (int range = 0; range <= kMaxSightSide / 2; ++range)
    for (int i = 0; i <= 2 * range; ++i)
      for (int j = 0; j <= 2 * range; ++j) masks[range] |= SquareMask{1} << MaskBit(i, j);
  return masks;
}
constexpr auto kSquare = SquareMasks();

// For each neighbour (a, b) of the centre, a, b = 0, 1, 2 for offsets -1, 0, +1:
// the cells of the square that a sight line reaches past that neighbour.
constexpr std::array<std::array<SquareMask, 9>, kMaxSightSide / 2 + 1> BeyondNeighbourMasks() {
  std::array<std::array<SquareMask, 9>, kMaxSightSide / 2 + 1> masks{};
  for (int range = 0; range <= kMaxSightSide / 2; ++range) {
    const int side = 2 * range + 1;
    for (int i = 0; i < side; ++i)
      for (int j = 0; j < side; ++j) {
        const int dx = i - range, dy = j - range;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) continue;
        const int neighbour = ((dx > 0) - (dx < 0) + 1) * 3 + (dy > 0) - (dy < 0) + 1;
        masks[range][neighbour] |= SquareMask{1} << MaskBit(i, j);
      }
  }
  return masks;
}
constexpr auto kBeyondNeighbour = BeyondNeighbourMasks();

// The cells of the square the onlooker cannot see: ground and sea pieces look
// past their neighbour only across open water.
SquareMask HiddenBehindNeighbours(const Game& g, int type, const uint8_t* xs, const uint8_t* ys, int range) {
  SquareMask hidden = 0;
  if (IsAirType(type) || range < 2) return hidden;
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b)
      if (g.world.At(xs[range - 1 + a], ys[range - 1 + b]).terrain != Terrain::Sea)
        hidden |= kBeyondNeighbour[range][a * 3 + b];
  return hidden;
}

// The cells of the square that stand on the given cell (more than one only
// where the square wraps onto itself on a tiny map).
SquareMask CellsAt(MapPos cell, const uint8_t* xs, const uint8_t* ys, int side) {
  SquareMask at = 0;
  for (int i = 0; i < side; ++i) {
    if (xs[i] != cell.x) continue;
    for (int j = 0; j < side; ++j)
      if (ys[j] == cell.y) at |= SquareMask{1} << MaskBit(i, j);
  }
  return at;
}

// The same for the centre of the square and a cell near it, without the search
// where the square cannot wrap onto itself.
SquareMask CentreAndCellAt(const Game& g, MapPos centre, MapPos cell, const uint8_t* xs, const uint8_t* ys, int range) {
  const int side = 2 * range + 1;
  if (side > g.Width() || side > g.Height()) return CellsAt(centre, xs, ys, side) | CellsAt(cell, xs, ys, side);
  const int i = Wrap(cell.x - centre.x + range, g.Width()), j = Wrap(cell.y - centre.y + range, g.Height());
  SquareMask at = SquareMask{1} << MaskBit(range, range);
  if (i < side && j < side) at |= SquareMask{1} << MaskBit(i, j);
  return at;
}

// Byte j of the word to bit j of its lowest byte, for words whose bytes hold
// nothing but their lowest bit: each byte's bit lands in the top byte of the
// product at its own place, with no carries from the rest.
constexpr uint64_t kLowBits = 0x0101010101010101u;
constexpr uint64_t kGatherBytes = 0x0102040810204080u;
constexpr uint8_t GatherBytes(uint64_t lowBits) { return static_cast<uint8_t>(lowBits * kGatherBytes >> 56); }
static_assert(GatherBytes(0x0001000100000101u) == 0b1010011);
static_assert(GatherBytes(kLowBits) == 0xFF);

// The cells of the square the player has explored and sees already, where
// looking again changes nothing. A cell is only ever seen once explored (a
// look marks both, and a loaded game is checked for it), so its visible byte
// answers alone. Each column's cells are put together a byte for each, and
// the player's bit of the bytes taken out at once.
template <int kSide>
SquareMask SeenAlready(const Game& g, uint8_t bit, const uint8_t* xs, const uint8_t* ys) {
  std::array<const MapCell*, kSide> rows;
  for (int j = 0; j < kSide; ++j) rows[j] = &g.world.At(0, ys[j]);
  const int shift = std::countr_zero(bit);  // a player's bit is a single bit
  SquareMask seen = 0;
  for (int i = 0; i < kSide; ++i) {
    const int x = xs[i];
    uint64_t column = 0;
#pragma GCC unroll 7
    for (int j = 0; j < kSide; ++j) {
      const MapCell& c = rows[j][x];
      column |= uint64_t{c.visible} << (8 * j);
    }
    seen |= SquareMask{GatherBytes(column >> shift & kLowBits)} << MaskBit(i, 0);
  }
  return seen;
}

SquareMask SeenAlready(const Game& g, uint8_t bit, const uint8_t* xs, const uint8_t* ys, int range) {
  static_assert(kMaxSightSide == 7);
  switch (range) {
    case 0:
      return SeenAlready<1>(g, bit, xs, ys);
    case 1:
      return SeenAlready<3>(g, bit, xs, ys);
    case 2:
      return SeenAlready<5>(g, bit, xs, ys);
    default:
      return SeenAlready<7>(g, bit, xs, ys);
  }
}

// The wrapped columns or rows of a sight square, with room for eight so that
// a square clear of the map's edges is filled in one eight-byte store.
using SightAxis = std::array<uint8_t, kMaxSightSide + 1>;

void FillAxis(int centre, int range, int length, SightAxis& axis) {
  const int first = centre - range;
  if (std::endian::native != std::endian::little || first < 0 || first + kMaxSightSide >= length) {
    WrapSpan(centre, range, length, axis.data());
    return;
  }
  // first + k for k = 0 .. 7 in the bytes of one word, lowest first: no byte carries into the next.
  const uint64_t run = static_cast<uint64_t>(first) * 0x0101010101010101u + 0x0706050403020100u;
  std::memcpy(axis.data(), &run, sizeof run);
}

// Who looks, read once per look around: the cell writes could otherwise
// change the game state, as far as the compiler knows.
struct Onlooker {
  int player;
  uint8_t bit;
  bool demo;
  bool redraw;
};

// The onlooker looks at a cell that may be news: marks it seen and acts on the news.
void LookAt(Game& g, PieceRecord& p, const Onlooker& o, MapPos cell, bool ownOrPrevious, int dx, int dy) {
  MapCell& c = g.world.At(cell);
  const bool news = ownOrPrevious || BringsNews(c, o.bit, o.demo);
  Mark(c, o.player, o.bit, dx, dy);
  if (!news) return;
  if (o.redraw) g.ui().DrawCell(cell, false);
  if (c.visible & o.bit) ApplySightingStops(g, p, c);
}

}  // namespace

void UpdateSight(Game& g, int piece, MapPos previous, bool redraw) {
  PieceRecord& p = g.pieces[piece];
  const int player = g.state.currentPlayer;
  const auto bit = static_cast<uint8_t>(g.state.playerBit[player]);
  const Onlooker onlooker{player, bit, g.state.demoMode != 0, redraw};
  const MapPos own = p.Pos();
  int range = 0;
  if (p.IsEmpty()) {
    g.ui().ShowMessageBox("Oops!", "Attempting to see with an unused piece", MsgIcon::Stop, MsgButtons::Ok);
  } else {
    range = SightRange(p.type, g.world.At(own).terrain == Terrain::Sea);
  }
  assert(2 * range + 1 <= kMaxSightSide);
  SightAxis xs, ys;
  FillAxis(own.x, range, g.Width(), xs);
  FillAxis(own.y, range, g.Height(), ys);
  // The onlooker's own cell and the one it came from are looked at whatever
  // they hold; of the rest only what is not explored and in sight already.
  const SquareMask always = CentreAndCellAt(g, own, previous, xs.data(), ys.data(), range);
  SquareMask look = (kSquare[range] & ~SeenAlready(g, bit, xs.data(), ys.data(), range)) | always;
  look &= ~HiddenBehindNeighbours(g, p.type, xs.data(), ys.data(), range);
  // In the square's order, x offset major: what is drawn and what stops the
  // piece follow the order the cells are marked in.
  while (look != 0) {
    const int k = std::countr_zero(look);
    look &= look - 1;
    const int i = k / kColumnBits, j = k % kColumnBits;
    LookAt(g, p, onlooker, MapPos{xs[i], ys[j]}, (always >> k & 1) != 0, i - range, j - range);
  }
}

}  // namespace vortan
