// SPDX-License-Identifier: GPL-3.0-or-later
// The route search: a breadth-first wave over a 41 x 41 window centred on a
// target near the destination, spreading out from the target until it reaches
// the piece, which then steps onto a neighbour reached one wave earlier.
// Only the first step is returned; the search runs afresh for every step.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "ai/route_cells.h"
#include "ai/route_finding.h"

namespace vortan {

namespace {

struct Direction {
  int dx, dy;
};
// Orthogonal steps first, then diagonals; every tie-break follows this order.
constexpr std::array<Direction, 8> kDirections{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {-1, -1}, {1, 1}, {-1, 1}, {1, -1}}};

constexpr int kRadius = 20;
constexpr int kSide = 2 * kRadius + 1;
constexpr int kLastWave = 19;
constexpr int kTargetPasses = 1000;
// Every wave's square has a column on each side inside the window.
static_assert(kLastWave < kRadius);

// One cell of a toward b on an axis of length len.
int StepToward(int a, int b, int len) {
  const int d = Wrap(a - b + len, len);
  if (d > len / 2) return a + 1 == len ? 0 : a + 1;
  if (d > 0) return a == 0 ? len - 1 : a - 1;
  return a;
}

// The sign of b's step toward a on an axis of length len.
int StepSign(int b, int a, int len) {
  const int d = Wrap(a - b + len, len);
  if (d > len / 2) return -1;
  return d > 0 ? 1 : 0;
}

bool SameCell(int x, int y, MapPos p) { return x == p.x && y == p.y; }

// The top pieces a ship may pass under or beside: aircraft, or none at all.
constexpr std::array<bool, 256> ShipMayShare() {
  std::array<bool, 256> shares{};
  for (const int type : {PieceType::Fighter, PieceType::Bomber, PieceType::Para, PieceType::None}) shares[type] = true;
  return shares;
}
constexpr auto kShipMayShare = ShipMayShare();

// RoutePassable with what stays the same through one search worked out once:
// the cases decided by the cell alone are answered here, the rest (visible
// enemies, armies boarding or meeting other pieces) by RoutePassable itself,
// which gives the same answer from scratch.
class QuickPassable {
 public:
  // The kinds of piece whose cell-only cases differ.
  enum class Kind { Ship, Army, Other };

  QuickPassable(Game& g, int piece, PiecesByCell& at)
      : g_(g),
        piece_(piece),
        at_(at),
        player_(g.state.currentPlayer),
        bit_(static_cast<uint8_t>(g.state.playerBit[g.state.currentPlayer])),
        kind_(KindOf(g.pieces[piece].type)),
        bold_(IsComputerControlled(g, player_)),
        here_(g.world.At(g.pieces[piece].Pos())) {}

  Kind kind() const { return kind_; }

  bool Test(int x, int y) {
    switch (kind_) {
      case Kind::Ship:
        return TestAs<Kind::Ship>(x, y);
      case Kind::Army:
        return TestAs<Kind::Army>(x, y);
      case Kind::Other:
        break;
    }
    return TestAs<Kind::Other>(x, y);
  }

  // Test for a piece of kind K, the kind dispatch left to the caller.
  // The cells of a wave vary unpredictably, so the common case is worked out
  // with as few branches as may be: unexplored cells and enemies in sight,
  // the rare cases, take the one branch.
  template <Kind K>
  bool TestAs(int x, int y) {
    const MapCell& c = g_.world.At(x, y);
    const bool explored = (c.explored & bit_) != 0;
    const bool enemyInSight = (c.topType != PieceType::None) & (c.topOwner != player_) & ((c.visible & bit_) != 0);
    if (!explored | enemyInSight) [[unlikely]]
      return explored ? Full(x, y) : bold_;
    if constexpr (K == Kind::Ship) return (c.terrain == Terrain::Sea) & kShipMayShare[c.topType];
    if constexpr (K == Kind::Army) return ArmyTest(c, x, y);
    return true;
  }

 private:
  // The army's cases that need no piece table, in the order of the full test.
  bool ArmyTest(const MapCell& c, int x, int y) {
    if (here_.terrain == Terrain::Sea && c.terrain == Terrain::Sea) return false;
    if (here_.terrain == Terrain::Land && c.terrain == Terrain::Land && here_.landMass != c.landMass) return false;
    if (c.terrain == Terrain::Land && c.topType == PieceType::None) return true;
    if (c.terrain == Terrain::City) return true;
    if (c.topType == PieceType::City && c.topOwner == player_) return true;
    if (c.terrain == Terrain::Mountain) return false;
    // Open sea with nothing on it carries no transport to board.
    if (c.terrain == Terrain::Sea && c.topType == PieceType::None) return false;
    return Full(x, y);
  }
  bool Full(int x, int y) { return RoutePassable(g_, piece_, x, y, at_); }
  static Kind KindOf(int type) {
    if (IsShipType(type)) return Kind::Ship;
    return type == PieceType::Army ? Kind::Army : Kind::Other;
  }

  Game& g_;
  int piece_;
  PiecesByCell& at_;
  int player_;
  uint8_t bit_;
  Kind kind_;
  bool bold_;
  const MapCell& here_;
};

// Written out plainly, the wave scans the whole square of radius r in every
// wave r, column by column, testing each cell not yet reached. This version
// gives the same answer with less work: wave r reaches exactly the passable
// neighbours of the cells wave r - 1 reached, so a wave is a few bit
// operations per window column (bit j of a column's word is row j of the
// window), and only the cells beside the last wave need testing, each once.
// A human's army may board a transport as a side effect of a test; for a
// human's piece every cell is therefore tested when its ring first enters the
// square (the same cells the full scan tests, in the same order, up to the
// moment the piece's cell is reached).
class Wave {
 public:
  Wave(Game& g, MapPos from, MapPos target, const QuickPassable& passes)
      : g_(g),
        from_(from),
        straight_{StepSign(from.x, target.x, g.Width()), StepSign(from.y, target.y, g.Height())},
        passes_(passes) {
    everyTestCounts_ = IsHumanPlayer(g, g.state.currentPlayer);
    ClearColumn(kRadius);
    reached_[kRadius] = frontier_[kRadius] = Bit(kRadius);
    cellX_[kRadius] = static_cast<uint8_t>(Wrap(target.x, g.Width()));
    cellY_[kRadius] = static_cast<uint8_t>(Wrap(target.y, g.Height()));
    WidenAxes(0);
    widened_ = 0;
    // On a world narrower than the window the piece's cell shows up more than once.
    for (int k = Wrap(from.x - target.x + kRadius, g.Width()); k < kSide; k += g.Width())
      sourceI_[sourceColumns_++] = k;
    for (int k = Wrap(from.y - target.y + kRadius, g.Height()); k < kSide; k += g.Height()) sourceJ_[sourceRows_++] = k;
    // The piece's own cell is never tested, so it is never reached either.
    // Only a wave that grows onto it could test it, and that wave finds the
    // step first: each copy of the cell that wave r grows onto has a
    // neighbour reached in wave r - 1 and lies in square r.
    // The first copy to lie inside a wave's square: no earlier wave can find the step.
    const auto ring = [](int k) { return k < kRadius ? kRadius - k : k - kRadius; };
    sourceRing_ = std::max(ring(sourceI_[0]), ring(sourceJ_[0]));
    if (sourceColumns_ == 1 && sourceRows_ == 1) return;  // the usual world, wider than the window
    for (int a = 0; a < sourceColumns_; ++a)
      for (int b = 0; b < sourceRows_; ++b)
        sourceRing_ = std::min(sourceRing_, std::max(ring(sourceI_[a]), ring(sourceJ_[b])));
  }

  // Runs the waves; true with the step when the piece's cell was reached.
  bool Run(int& stepX, int& stepY) {
    if (everyTestCounts_) return RunTestingRings(stepX, stepY);
    // The piece's kind is settled once here rather than for every cell.
    switch (passes_.kind()) {
      case QuickPassable::Kind::Ship:
        return RunAs<QuickPassable::Kind::Ship>(stepX, stepY);
      case QuickPassable::Kind::Army:
        return RunAs<QuickPassable::Kind::Army>(stepX, stepY);
      case QuickPassable::Kind::Other:
        break;
    }
    return RunAs<QuickPassable::Kind::Other>(stepX, stepY);
  }

 private:
  template <QuickPassable::Kind K>
  bool RunAs(int& stepX, int& stepY) {
    if (sourceColumns_ == 1 && sourceRows_ == 1 && sourceRing_ <= kLastWave) {
      // Ever longer detours are allowed until the last wave, which answers
      // as the full waves would.
      for (int last = sourceRing_, more = 1;; last = std::min(last + more, kLastWave), more *= 2) {
        if (RunWithin<K>(last, stepX, stepY)) return true;
        if (last == kLastWave) return false;
        RestartWaves();
      }
    }
    for (int r = 1; r <= kLastWave; ++r) {
      WidenTo(r);
      int stopI = kSide, stopJ = 0;
      if (r >= sourceRing_ && StepFromSource(r, stopI, stopJ, stepX, stepY)) return true;
      // A wave that reaches nothing is the last: every later one reaches
      // nothing either, and each copy of the piece's cell with a reached
      // neighbour lies in this wave's square and has been asked already.
      if (TestAndSpread<K>(r, 0, kSide - 1, ~Column{0}) == 0) return false;
    }
    return false;
  }

  // The waves over the cells that lie on some route of at most `last` steps
  // between target and piece that ignores what is passable: a cell reached
  // in wave r is of use only within last - r of the piece. A neighbour of the
  // piece reached by the full waves in wave k < last is reached along such a
  // route, every cell of which this search also reaches in the same wave;
  // so up to wave last this search finds the same neighbours reached in the
  // same waves, and the same step. When it finds none the search runs again
  // with a longer `last`, and only the cell tests carry over (a computer's
  // tests change nothing, so testing fewer cells or in another order is no
  // change).
  template <QuickPassable::Kind K>
  bool RunWithin(int last, int& stepX, int& stepY) {
    const int ring = sourceRing_, si = sourceI_[0], sj = sourceJ_[0];
    for (int r = 1; r < last; ++r) {
      WidenTo(r);
      if (r >= ring && StepFromEntry(si, sj, stepX, stepY)) return true;
      const int slack = last - r;
      // Once a wave reaches nothing no neighbour of the piece will be.
      if (TestAndSpread<K>(r, si - slack, si + slack, RowSpan(sj - slack, sj + slack)) == 0) return false;
    }
    WidenTo(last);
    return StepFromEntry(si, sj, stepX, stepY);
  }

  // Forgets what the waves reached, keeping which cells are passable.
  void RestartWaves() {
    for (int i = kRadius - widened_ - 1; i <= kRadius + widened_ + 1; ++i) reached_[i] = frontier_[i] = 0;
    reached_[kRadius] = frontier_[kRadius] = Bit(kRadius);
  }

  bool RunTestingRings(int& stepX, int& stepY) {
    for (int r = 1; r <= kLastWave; ++r) {
      WidenTo(r);
      // The step depends only on earlier waves, so it is known before the ring is tested.
      int stopI = kSide, stopJ = 0;
      const bool stepped = r >= sourceRing_ && StepFromSource(r, stopI, stopJ, stepX, stepY);
      TestRing(r, stopI, stopJ);
      if (stepped) return true;
      Spread(r);
    }
    return false;
  }

  using Column = uint64_t;
  static Column Bit(int j) { return Column{1} << j; }
  // Rows lo .. hi of a column, clipped to the window.
  static Column RowSpan(int lo, int hi) {
    lo = std::max(lo, 0);
    hi = std::min(hi, kSide - 1);
    return ((Bit(hi - lo + 1) - 1) << lo);
  }

  // The coordinates one before and one after c on an axis of length len.
  static uint8_t Before(int c, int len) { return static_cast<uint8_t>(c == 0 ? len - 1 : c - 1); }
  static uint8_t After(int c, int len) { return static_cast<uint8_t>(c + 1 == len ? 0 : c + 1); }
  // Wave r enters the window's columns and rows kRadius - r and kRadius + r:
  // their world coordinates are worked out as the wave gets there, a step on
  // from those of the wave before. Wave r also reads the columns just
  // outside its square, which are cleared now; no wave writes outside its
  // own square, so nothing else needs clearing.
  void WidenAxes(int r) {
    const int lo = kRadius - r, hi = kRadius + r;
    if (r > 0) {  // the centre, the target's cell, is set from the start
      cellX_[lo] = Before(cellX_[lo + 1], g_.Width());
      cellX_[hi] = After(cellX_[hi - 1], g_.Width());
      cellY_[lo] = Before(cellY_[lo + 1], g_.Height());
      cellY_[hi] = After(cellY_[hi - 1], g_.Height());
    }
    if (r < kRadius) {
      ClearColumn(kRadius - r - 1);
      ClearColumn(kRadius + r + 1);
    }
  }
  void WidenTo(int r) {
    for (; widened_ < r;) WidenAxes(++widened_);
  }
  void ClearColumn(int i) { passable_[i] = tested_[i] = reached_[i] = frontier_[i] = 0; }

  // Tests the cells entering the square in wave r, in scan order, stopping
  // before entry (stopI, stopJ).
  void TestRing(int r, int stopI, int stopJ) {
    const int lo = kRadius - r, hi = kRadius + r;
    for (int i = lo; i <= hi; ++i) {
      const int step = (i == lo || i == hi) ? 1 : hi - lo;
      for (int j = lo; j <= hi; j += step) {
        if (i > stopI || (i == stopI && j >= stopJ)) return;
        // The piece's own cell is never tested, so it is never reached either.
        if (!SameCell(cellX_[i], cellY_[j], from_)) TestEntry(i, j);
      }
    }
  }

  void TestEntry(int i, int j) {
    if (passes_.Test(cellX_[i], cellY_[j])) passable_[i] |= Bit(j);
  }

  // The passable cells among the given ones of column i, each tested once.
  template <QuickPassable::Kind K>
  Column PassableAs(int i, Column cells) {
    const int x = cellX_[i];
    Column passable = 0;
    for (; cells != 0; cells &= cells - 1) {
      const int j = std::countr_zero(cells);
      passable |= Column{passes_.TestAs<K>(x, cellY_[j])} << j;
    }
    return passable;
  }

  static Column Grown(Column left, Column middle, Column right) {
    Column grow = left | middle | right;
    return grow | (grow << 1) | (grow >> 1);
  }

  // Tests the cells wave r may reach that no earlier wave tested, column by
  // column, and spreads the wave over each column once its cells are tested.
  // Only the rows in `rows` of columns lo .. hi are grown onto; the columns
  // outside are left as they are, so their frontier is stale. The shortest-
  // route pass narrows lo .. hi by a column each side every wave, so no later
  // wave reads a stale column; the full waves take every column.
  // Returns the cells reached, all columns' rows together: none when 0.
  template <QuickPassable::Kind K>
  Column TestAndSpread(int r, int lo, int hi, Column rows) {
    Column any = 0;
    const int first = std::max(kRadius - r, lo), last = std::min(kRadius + r, hi);
    Column before = frontier_[first - 1];  // the last wave's frontier in the column before
    for (int i = first; i <= last; ++i) {
      const Column here = frontier_[i];
      const Column after = frontier_[i + 1];
      // A column with no frontier beside it stays as it is, its frontier empty.
      if ((before | here | after) == 0) continue;
      const Column grown = Grown(before, here, after) & ~reached_[i] & rows;
      Column fresh = grown & ~tested_[i];
      tested_[i] |= fresh;
      if (fresh != 0) passable_[i] |= PassableAs<K>(i, fresh);
      const Column next = grown & passable_[i];
      reached_[i] |= next;
      frontier_[i] = next;
      any |= next;
      before = here;
    }
    return any;
  }

  void Spread(int r) {
    std::array<Column, kSide> next;
    for (int i = kRadius - r; i <= kRadius + r; ++i) {
      next[i] = Grown(frontier_[i - 1], frontier_[i], frontier_[i + 1]) & passable_[i] & ~reached_[i];
    }
    for (int i = kRadius - r; i <= kRadius + r; ++i) {
      reached_[i] |= next[i];
      frontier_[i] = next[i];
    }
  }

  // Reached in an earlier wave: the only neighbours a wave counts.
  bool Reached(int i, int j, Direction d) const { return (reached_[i + d.dx] >> (j + d.dy)) & 1; }
  // Whether any cell of the block round (i, j) was reached: without one there is no step.
  bool NeighbourReached(int i, int j) const {
    return (((reached_[i - 1] | reached_[i] | reached_[i + 1]) >> (j - 1)) & 7) != 0;
  }
  // The neighbour of the piece's cell at window entry (i, j) one step d away:
  // every reached cell lies inside the square set up so far.
  bool EmptyBeside(int i, int j, Direction d) const {
    return g_.world.At(cellX_[i + d.dx], cellY_[j + d.dy]).topType == PieceType::None;
  }

  // The first copy of the piece's cell in scan order that has a neighbour
  // reached in an earlier wave gives the step.
  bool StepFromSource(int r, int& atI, int& atJ, int& stepX, int& stepY) const {
    for (int a = 0; a < sourceColumns_; ++a)
      for (int b = 0; b < sourceRows_; ++b) {
        const int i = sourceI_[a], j = sourceJ_[b];
        if (i < kRadius - r || i > kRadius + r || j < kRadius - r || j > kRadius + r) continue;
        if (!StepFromEntry(i, j, stepX, stepY)) continue;
        atI = i;
        atJ = j;
        return true;
      }
    return false;
  }

  // The piece prefers the straight line toward the target, then any free
  // reached neighbour, then any reached neighbour at all.
  bool StepFromEntry(int i, int j, int& stepX, int& stepY) const {
    if (!NeighbourReached(i, j)) return false;
    const Direction* chosen = nullptr;
    if (Reached(i, j, straight_) && EmptyBeside(i, j, straight_)) chosen = &straight_;
    const Direction* firstReached = nullptr;
    for (const Direction* d = kDirections.begin(); !chosen && d != kDirections.end(); ++d) {
      if (!Reached(i, j, *d)) continue;
      if (EmptyBeside(i, j, *d)) chosen = d;
      if (!firstReached) firstReached = d;
    }
    if (!chosen) chosen = firstReached;
    if (!chosen) return false;
    stepX = cellX_[i + chosen->dx];
    stepY = cellY_[j + chosen->dy];
    return true;
  }

  Game& g_;
  MapPos from_;
  // The step straight toward the target, the first choice.
  Direction straight_;
  QuickPassable passes_;
  std::array<Column, kSide> passable_, tested_, reached_, frontier_;
  bool everyTestCounts_ = false;
  std::array<uint8_t, kSide> cellX_, cellY_;
  std::array<int, kSide> sourceI_, sourceJ_;
  int sourceColumns_ = 0, sourceRows_ = 0;
  int sourceRing_;
  int widened_;  // the last wave whose columns and rows are set up
};

int GreedyStepWith(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY, PiecesByCell& at) {
  PieceRecord& p = g.pieces[piece];
  const int distance = WrapDistance(g.settings, from, to);
  for (const Direction& d : kDirections) {
    const MapPos c = WrapPos(g.settings, from.x + d.dx, from.y + d.dy);
    stepX = c.x;
    stepY = c.y;
    // The neighbour becomes the destination before it is tested, so an enemy
    // there counts as the target; a bomber only ever attacks its own target.
    if (p.type != PieceType::Bomber) {
      p.destX = c.x;
      p.destY = c.y;
    }
    if (WrapDistance(g.settings, c, to) < distance && EnterableCell(g, piece, c.x, c.y, at)) return 1;
  }
  stepX = from.x;
  stepY = from.y;
  p.destX = to.x;
  p.destY = to.y;
  return 0;
}

enum class TargetChoice { Found, ReachedSource, GaveUp };

// Slides the target from the destination back toward the piece until it is a
// passable cell within reach of the wave.
TargetChoice ChooseTarget(Game& g, MapPos from, MapPos& target, QuickPassable& passes) {
  for (int pass = 0; pass < kTargetPasses; ++pass) {
    if (passes.Test(target.x, target.y) && WrapDistance(g.settings, from, target) <= kLastWave)
      return TargetChoice::Found;
    target.x = static_cast<uint8_t>(StepToward(target.x, from.x, g.Width()));
    target.y = static_cast<uint8_t>(StepToward(target.y, from.y, g.Height()));
    if (target == from) return TargetChoice::ReachedSource;
  }
  return TargetChoice::GaveUp;
}

bool InsideWorld(const Game& g, MapPos p) { return p.x < g.Width() && p.y < g.Height(); }

std::optional<MapPos> StepIf(int found, int stepX, int stepY) {
  if (found == 0) return std::nullopt;
  return MapPos{static_cast<uint8_t>(stepX), static_cast<uint8_t>(stepY)};
}

int SearchRouteStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY) {
  if (!InsideWorld(g, to) || !InsideWorld(g, from) || to == from) return 0;
  PiecesByCell at(g);
  MapPos target = to;
  // The cell tests are set up once for the target's choice and the waves alike.
  QuickPassable passes(g, piece, at);
  switch (ChooseTarget(g, from, target, passes)) {
    case TargetChoice::Found:
      break;
    case TargetChoice::ReachedSource:
      return GreedyStepWith(g, piece, from, to, stepX, stepY, at);
    case TargetChoice::GaveUp:
      stepX = from.x;
      stepY = from.y;
      return 0;
  }
  Wave wave(g, from, target, passes);
  if (wave.Run(stepX, stepY)) return 1;
  return GreedyStepWith(g, piece, from, to, stepX, stepY, at);
}

}  // namespace

std::optional<MapPos> FindRouteStep(Game& g, int piece, MapPos from, MapPos to) {
  int stepX = from.x, stepY = from.y;
  const int found = SearchRouteStep(g, piece, from, to, stepX, stepY);
  return StepIf(found, stepX, stepY);
}

std::optional<MapPos> GreedyStep(Game& g, int piece, MapPos from, MapPos to) {
  PiecesByCell at(g);
  int stepX = from.x, stepY = from.y;
  const int found = GreedyStepWith(g, piece, from, to, stepX, stepY, at);
  return StepIf(found, stepX, stepY);
}

}  // namespace vortan
