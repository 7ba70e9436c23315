// The route search: a breadth-first wave over a 41 x 41 window centred on a
// target near the destination, spreading out from the target until it reaches
// the piece, which then steps onto a neighbour reached one wave earlier.
// Only the first step is returned; the search runs afresh for every step.
#include <array>
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
constexpr int8_t kUnreached = 21;
constexpr int8_t kImpassable = 22;

int TrueMod(int v, int m) {
  const int r = v % m;
  return r < 0 ? r + m : r;
}

// One cell of a toward b on an axis of length len.
int StepToward(int a, int b, int len) {
  const int d = TrueMod(a - b + len, len);
  if (d > len / 2) return (a + 1) % len;
  if (d > 0) return (a - 1 + len) % len;
  return a;
}

// The sign of b's step toward a on an axis of length len.
int StepSign(int b, int a, int len) {
  const int d = TrueMod(a - b + len, len);
  if (d > len / 2) return -1;
  return d > 0 ? 1 : 0;
}

bool SameCell(int x, int y, MapPos p) { return x == p.x && y == p.y; }

class Wave {
 public:
  Wave(Game& g, int piece, MapPos from, MapPos target, PiecesByCell& at)
      : g_(g), piece_(piece), from_(from), target_(target), at_(at) {
    for (auto& column : reach_) column.fill(kUnreached);
    reach_[kRadius][kRadius] = 0;
    for (auto& column : passable_) column.fill(0);
    for (int k = 0; k < kSide; ++k) {
      cellX_[k] = TrueMod(g.Width() + target.x + k - kRadius, g.Width());
      cellY_[k] = TrueMod(g.Height() + target.y + k - kRadius, g.Height());
    }
  }

  // Runs the waves; true with the step when the piece's cell was reached.
  bool Run(int& stepX, int& stepY) {
    for (int r = 1; r <= kLastWave; ++r)
      for (int i = kRadius - r; i <= kRadius + r; ++i)
        for (int j = kRadius - r; j <= kRadius + r; ++j)
          if (reach_[i][j] == kUnreached && Visit(r, i, j, stepX, stepY)) return true;
    return false;
  }

 private:
  bool Visit(int r, int i, int j, int& stepX, int& stepY) {
    const int x = cellX_[i];
    const int y = cellY_[j];
    if (SameCell(x, y, from_)) return StepFromSource(r, i, j, stepX, stepY);
    // A cell's passability cannot change within one search, so it is asked once.
    if (!passable_[i][j]) {
      if (!RoutePassable(g_, piece_, x, y, at_)) {
        reach_[i][j] = kImpassable;
        return false;
      }
      passable_[i][j] = 1;
    }
    for (const Direction& d : kDirections)
      if (reach_[i + d.dx][j + d.dy] < r) {
        reach_[i][j] = static_cast<int8_t>(r);
        break;
      }
    return false;
  }

  bool Reached(int r, int i, int j, Direction d) const { return reach_[i + d.dx][j + d.dy] < r; }
  bool EmptyBeside(Direction d) const {
    return g_.world.At(WrapPos(g_.settings, from_.x + d.dx, from_.y + d.dy)).topType == PieceType::None;
  }

  // The piece prefers the straight line toward the target, then any free
  // reached neighbour, then any reached neighbour at all.
  bool StepFromSource(int r, int i, int j, int& stepX, int& stepY) const {
    const Direction straight{StepSign(from_.x, target_.x, g_.Width()), StepSign(from_.y, target_.y, g_.Height())};
    const Direction* chosen = nullptr;
    if (Reached(r, i, j, straight) && EmptyBeside(straight)) chosen = &straight;
    for (const Direction& d : kDirections)
      if (!chosen && Reached(r, i, j, d) && EmptyBeside(d)) chosen = &d;
    for (const Direction& d : kDirections)
      if (!chosen && Reached(r, i, j, d)) chosen = &d;
    if (!chosen) return false;
    stepX = TrueMod(g_.Width() + from_.x + chosen->dx, g_.Width());
    stepY = TrueMod(g_.Height() + from_.y + chosen->dy, g_.Height());
    return true;
  }

  Game& g_;
  int piece_;
  MapPos from_, target_;
  PiecesByCell& at_;
  std::array<std::array<int8_t, kSide>, kSide> reach_;
  std::array<std::array<uint8_t, kSide>, kSide> passable_;
  std::array<int, kSide> cellX_, cellY_;
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
TargetChoice ChooseTarget(Game& g, int piece, MapPos from, MapPos& target, PiecesByCell& at) {
  for (int pass = 0; pass < kTargetPasses; ++pass) {
    if (RoutePassable(g, piece, target.x, target.y, at) && WrapDistance(g.settings, from, target) <= kLastWave)
      return TargetChoice::Found;
    target.x = static_cast<uint8_t>(StepToward(target.x, from.x, g.Width()));
    target.y = static_cast<uint8_t>(StepToward(target.y, from.y, g.Height()));
    if (target == from) return TargetChoice::ReachedSource;
  }
  return TargetChoice::GaveUp;
}

bool InsideWorld(const Game& g, MapPos p) { return p.x < g.Width() && p.y < g.Height(); }

}  // namespace

int FindRouteStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY) {
  if (!InsideWorld(g, to) || !InsideWorld(g, from) || to == from) return 0;
  PiecesByCell at(g.pieces);
  MapPos target = to;
  switch (ChooseTarget(g, piece, from, target, at)) {
    case TargetChoice::Found:
      break;
    case TargetChoice::ReachedSource:
      return GreedyStepWith(g, piece, from, to, stepX, stepY, at);
    case TargetChoice::GaveUp:
      stepX = from.x;
      stepY = from.y;
      return 0;
  }
  Wave wave(g, piece, from, target, at);
  if (wave.Run(stepX, stepY)) return 1;
  return GreedyStepWith(g, piece, from, to, stepX, stepY, at);
}

int GreedyStep(Game& g, int piece, MapPos from, MapPos to, int& stepX, int& stepY) {
  PiecesByCell at(g.pieces);
  return GreedyStepWith(g, piece, from, to, stepX, stepY, at);
}

}  // namespace vortan
