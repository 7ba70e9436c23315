// SPDX-License-Identifier: GPL-3.0-or-later
#include "ai/computer_turn.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdlib>

#include "ai/piece_rules.h"
#include "ai/value_map.h"

namespace vortan {

// Rows: the deciding piece's type; columns: the visible enemy's type.
const TargetValueTable kTargetValue = {{
    //  City Army Dest Fight Bomb Batt Carr  Sub Trans Para
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                // City
    {{0, 300, 0, 100, 200, 0, 0, 0, 40, 120}},       // Army
    {{0, 0, 80, 40, 200, 0, 20, 200, 100, 120}},     // Destroyer
    {{0, 60, 0, 100, 900, 0, 40, 120, 200, 140}},    // Fighter
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                // Bomber
    {{0, 60, 80, 100, 200, 80, 120, 20, 200, 120}},  // Battleship
    {{0, 0, 20, 80, 200, 0, 0, 20, 0, 120}},         // Carrier
    {{0, 0, 0, 0, 0, 300, 100, 80, 200, 0}},         // Submarine
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                // Transport
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                // Para
}};

namespace {

constexpr int kRepairedFighterStrength = 70;

// A damaged fighter at its own city or carrier waits to be repaired and
// strikes only at pieces right beside it. True when it was held.
bool HoldDamagedFighterAtBase(Game& g, int index) {
  PieceRecord& f = g.pieces[index];
  const MapCell& here = g.world.At(f.Pos());
  if (f.type != PieceType::Fighter || f.strength >= kRepairedFighterStrength) return false;
  if (here.topType != PieceType::City && here.topType != PieceType::Carrier) return false;
  if (here.topOwner != f.owner) return false;
  f.destX = f.x;
  f.destY = f.y;
  ForEachInBlock3(g.settings, f.x, f.y, [&](int x, int y) {
    const MapCell& c = g.world.At(x, y);
    if (c.topType == PieceType::None || c.topType == PieceType::City || c.topOwner == f.owner) return;
    f.destX = static_cast<uint8_t>(x);
    f.destY = static_cast<uint8_t>(y);
    f.state = PieceState::Ready;
  });
  if (f.Dest() == f.Pos()) f.movesLeft = 0;
  return true;
}

// Whether a row of the target values gives anything for some piece (other
// than a city); a city is worth nothing to a piece whose row does not, and
// its occupants need not be looked for.
bool ValuesAnyPiece(const std::array<int16_t, kTypeCount>& row) {
  for (int t = 0; t < kTypeCount; ++t)
    if (t != PieceType::City && row[static_cast<std::size_t>(t)] != 0) return true;
  return false;
}

int32_t EnemyWorth(const Game& g, const PieceRecord& piece, MapPos cellPos, const MapCell& c) {
  const auto& row = kTargetValue[piece.type];
  if (c.topType == PieceType::City) {
    int32_t worth = 0;
    if (!ValuesAnyPiece(row)) return worth;
    // The cell index, not a walk of all slots: the rules re-index every piece they place.
    g.occupancy.ForEachAt(g.pieces, cellPos.x, cellPos.y, [&](int, const PieceRecord& o) {
      if (o.type != PieceType::City) worth += row[o.type];
    });
    return worth;
  }
  if (piece.type == PieceType::Army && g.world.At(piece.Pos()).landMass != c.landMass) return 0;
  return row[c.topType];
}

// Adds what the visible enemies are worth to the piece.
void ScoreEnemies(const Game& g, const PieceRecord& piece, DecisionWindow& window) {
  const bool ship = IsShipType(piece.type);
  const WindowCells& cells = *window.cells;
  for (int k = 0; k < window.enemyCount; ++k) {
    const int i = window.EnemyI(k), j = window.EnemyJ(k);
    const MapPos cp = cells.Pos(i, j);
    const MapCell& c = g.world.At(cp);
    if (ship && !cells.Coastal(g.world, i, j)) continue;
    int32_t& v = window.map.At(i, j);
    const int m = piece.movesLeft >= cells.Distance(i, j) ? 2 : 1;
    v += m * EnemyWorth(g, piece, cp, c);
    if (piece.type == PieceType::Fighter && c.terrain != Terrain::Sea && c.topType != PieceType::Bomber &&
        g.landMasses[c.landMass].status == LandMassStatus::Contested)
      v /= 2;
  }
}

// v * 8 / d truncated toward zero, for the divisors 2 to 22 of the discount,
// by a multiplication with the rounded-up reciprocal: exact while |v * 8| stays
// below 2^27, which every score does by far (plain division beyond).
class Discount {
 public:
  constexpr Discount() {
    for (int d = 1; d < kDivisors; ++d) reciprocal_[d] = ((uint64_t{1} << 32) + d - 1) / d;
  }
  int32_t Apply(int32_t v, int d) const {
    const int64_t x = int64_t{v} * 8;
    const uint64_t ax = static_cast<uint64_t>(x < 0 ? -x : x);
    if (ax >= (uint64_t{1} << 27)) return static_cast<int32_t>(x / d);
    const int64_t q = static_cast<int64_t>((ax * reciprocal_[d]) >> 32);
    return static_cast<int32_t>(x < 0 ? -q : q);
  }

 private:
  static constexpr int kDivisors = kMaxValueRadius + 3;
  uint64_t reciprocal_[kDivisors]{};
};
constexpr Discount kDiscount;

// The best score before any entry is looked at: an entry must beat it to be
// chosen.
constexpr int32_t kNothingYet = -10000;

// The smallest score that can still come out above `best` after the discount
// in a row di rings out of a window of radius R. The divisors of the row run
// from di + 2 to R + 2 (3 at the centre): a positive score does best with the
// smallest, a negative one with the largest, which brings it nearest to 0.
int32_t Floor(int32_t best, int di, int R) {
  if (best >= 0) return static_cast<int32_t>(((int64_t{best} + 1) * (di + 2) + 7) / 8);
  const int64_t below = int64_t{best} * (R + 2);  // a score s can beat best only if s * 8 > below
  return static_cast<int32_t>(-((-below + 7) / 8) + 1);
}

// The farthest ring out, up to R, at which a score of `top` can still beat a
// bar `best`: beyond it the divisor exceeds top * 8 / (best + 1).
int ColumnReach(int32_t top, int32_t best, int R) {
  if (best < 0) return R;
  const int64_t reach = int64_t{top} * 8 / (int64_t{best} + 1) - 2;
  return reach < R ? static_cast<int>(reach) : R;
}

// The rows i whose largest score tops[i] reaches the floor of a bar `best`,
// as bits i. Rows R - k and R + k lie k rings out and share a floor, worked
// out once for both.
uint64_t RowsReaching(const std::array<int32_t, 2 * kMaxValueRadius + 1>& tops, int32_t best, int R) {
  uint64_t rows = 0;
  for (int k = 0; k <= R; ++k) {
    const int32_t floor = Floor(best, k, R);
    rows |= uint64_t{tops[R - k] >= floor} << (R - k);
    rows |= uint64_t{tops[R + k] >= floor} << (R + k);
  }
  return rows;
}

// The largest score of row i. Whole blocks of eight entries first, eight
// maxima side by side, held as two halves of four so that the compiler keeps
// them in two vector registers (one array of eight went through the stack on
// every row); then the rest of the row as up to two blocks of four, the last
// ending at the row's end and overlapping what was taken before, which does
// not change a maximum and spares a loop over the rest one by one.
int32_t RowTop(const ValueMap& map, int i) {
  constexpr int kHalf = 4;
  const int32_t* row = map.Row(i);
  const int side = map.Side(), blocks = side / (2 * kHalf);
  if (blocks == 0) {
    int32_t top = row[side - 1];
    for (int j = 0; j < side - 1; ++j) top = row[j] > top ? row[j] : top;
    return top;
  }
  std::array<int32_t, kHalf> lo, hi;
  for (int k = 0; k < kHalf; ++k) lo[k] = row[k];
  for (int k = 0; k < kHalf; ++k) hi[k] = row[kHalf + k];
  const int32_t* end = row + blocks * 2 * kHalf;
  for (const int32_t* block = row + 2 * kHalf; block < end; block += 2 * kHalf) {
    for (int k = 0; k < kHalf; ++k) lo[k] = block[k] > lo[k] ? block[k] : lo[k];
    for (int k = 0; k < kHalf; ++k) hi[k] = block[kHalf + k] > hi[k] ? block[kHalf + k] : hi[k];
  }
  const int rest = side - blocks * 2 * kHalf;
  if (rest > kHalf)
    for (int k = 0; k < kHalf; ++k) lo[k] = end[k] > lo[k] ? end[k] : lo[k];
  if (rest > 0) {
    const int32_t* last = row + side - kHalf;
    for (int k = 0; k < kHalf; ++k) hi[k] = last[k] > hi[k] ? last[k] : hi[k];
  }
  for (int k = 0; k < kHalf; ++k) lo[k] = hi[k] > lo[k] ? hi[k] : lo[k];
  const int32_t m01 = lo[1] > lo[0] ? lo[1] : lo[0], m23 = lo[3] > lo[2] ? lo[3] : lo[2];
  return m23 > m01 ? m23 : m01;
}

// Far cells count for less (every entry times 8, divided by its ring plus 2,
// 3 for the centre); then the best entry wins, in a scan that starts at a
// random place so that equal scores are chosen among fairly. Both draws are
// spent even when nothing qualifies. Rows and entries that cannot beat the
// best so far are passed over; the order of the rest decides ties as before.
void ChooseDestination(Game& g, PieceRecord& piece, const ValueMap& map) {
  const int R = map.radius, side = map.Side();
  const int a = g.rng.Mod(R) * 2 + 1;
  const int b = g.rng.Mod(R) * 2 + 1;
  auto ring = [R](int k) { return std::abs(k - R); };  // worked out where used: cheaper than a table to fill
  std::array<int32_t, 2 * kMaxValueRadius + 1> tops;
  int32_t top = kNothingYet;
  for (int i = 0; i < side; ++i) {
    tops[i] = RowTop(map, i);
    top = tops[i] > top ? tops[i] : top;
  }
  // The largest entry comes out at least this high even at the largest
  // divisor, R + 2 (no less than the centre's 3, as R is at least 1), so
  // nothing lower can win and the bar starts just below it. The first entry
  // to reach the best is still the one chosen: none that could is passed over.
  int32_t best = top >= 0 ? kDiscount.Apply(top, R + 2) - 1 : kNothingYet;
  int bestI = -1, bestJ = -1;
  const int firstJ = b % side, firstI = a % side;
  // The rows that can hold the winner at all, one bit each, held from the
  // first row scanned on: the bar only rises, so no row left out could win
  // later, and the rows out of reach (mostly the far ones) are passed over
  // without a look each.
  const uint64_t rows = RowsReaching(tops, best, R);
  const uint64_t all = (uint64_t{1} << side) - 1;
  for (uint64_t left = ((rows >> firstI) | (rows << (side - firstI))) & all; left != 0; left &= left - 1) {
    const int turn = std::countr_zero(left);
    const int i = firstI + turn < side ? firstI + turn : firstI + turn - side;
    const int di = ring(i);
    int32_t floor = Floor(best, di, R);
    if (tops[i] < floor) continue;
    const int32_t* row = map.Row(i);
    // An entry whose column lies more than `reach` rings out is divided by
    // more than tops[i] * 8 / (best + 1): even the row's largest score
    // could not beat the best there, so those columns are left out.
    const int reach = ColumnReach(tops[i], best, R);
    const int jLo = R - reach, jEnd = R + reach + 1;
    for (int part = 0; part < 2; ++part) {  // from firstJ to the end, then from 0 up to it
      const int from = part == 0 ? std::max(firstJ, jLo) : jLo, to = part == 0 ? jEnd : std::min(firstJ, jEnd);
      for (int j = from; j < to; ++j) {
        const int32_t raw = row[j];
        if (raw < floor) continue;
        const int dj = ring(j);
        const int d = (di == 0 && dj == 0) ? 3 : (di > dj ? di : dj) + 2;
        // With a best of 0 or more, raw * 8 / d beats it exactly when
        // raw * 8 reaches (best + 1) * d: no division for an entry that loses.
        if (best >= 0 && int64_t{raw} * 8 < (int64_t{best} + 1) * d) continue;
        const int32_t v = kDiscount.Apply(raw, d);
        if (v > best) {
          best = v;
          bestI = i;
          bestJ = j;
          floor = Floor(best, di, R);
        }
      }
    }
  }
  piece.state = PieceState::Ready;
  if (bestI < 0) {
    piece.movesLeft = 0;
    piece.destX = piece.x;
    piece.destY = piece.y;
    return;
  }
  const int di = bestI - R, dj = bestJ - R;
  if (di == 0 && dj == 0) piece.movesLeft = 0;
  MapPos dest = WrapPos(g.settings, piece.x + di, piece.y + dj);
  piece.destX = dest.x;
  piece.destY = dest.y;
}

}  // namespace

void DecideComputerPiece(Game& g) {
  const int index = g.state.currentPiece;
  if (HoldDamagedFighterAtBase(g, index)) return;
  DecisionWindow window;
  if (!ApplyPieceRule(g, index, window)) return;
  assert(window.scored);
  PieceRecord& piece = g.pieces[index];
  if (IsShipType(piece.type)) ShipRepairBias(g, index, window);
  ScoreEnemies(g, piece, window);
  ChooseDestination(g, piece, window.map);
}

namespace {

// Marks Open every land mass with land the player has not explored or a city
// (a city's terrain stays City only while nobody has taken it). Any order will
// do. The cells left to take are found without a branch per cell, as bits of
// runs of up to 64 cells (land and sea alternate too unpredictably for a
// branch to pay), then visited bit by bit.
void MarkOpenMasses(Game& g, int bit) {
  constexpr int kRun = 64;
  static_assert(Terrain::Sea == 0 && Terrain::Land == 1 && Terrain::City == 2 && Terrain::Mountain == 3);
  const auto bits = static_cast<uint32_t>(bit), twoBits = 2 * bits;
  // The terrain times twice the player's bit, less its explored bit, comes
  // to between 2 and 4 times the bit only for unexplored land (2) or a city
  // (4, or 3 once explored): one compare instead of two. The borrow of the
  // wider subtraction is that compare's outcome.
  auto toTake = [bits, twoBits](const MapCell& c) -> uint64_t {
    const uint32_t scaled = c.terrain * twoBits - (c.explored & bits);
    return (uint64_t{scaled - twoBits} - (twoBits + 1)) >> 63;
  };
  const int width = g.Width(), height = g.Height();
  for (int y = 0; y < height; ++y) {
    const MapCell* row = &g.world.At(0, y);
    for (int x0 = 0; x0 < width; x0 += kRun) {
      const int n = width - x0 < kRun ? width - x0 : kRun;
      uint64_t left = 0;
      int k = n - 1;  // bit k for cell x0 + k, two cells a step
      if (n % 2 != 0) left = toTake(row[x0 + k--]);
      for (; k > 0; k -= 2) left = left * 4 + toTake(row[x0 + k]) * 2 + toTake(row[x0 + k - 1]);
      for (; left != 0; left &= left - 1)
        g.landMasses[row[x0 + std::countr_zero(left)].landMass].status = LandMassStatus::Open;
    }
  }
}

}  // namespace

void UpdateLandMassStatus(Game& g, int player) { UpdateLandMassStatus(g, player, kPieceSlots); }

void UpdateLandMassStatus(Game& g, int player, int slotsInUse) {
  const int bit = g.state.playerBit[player];
  for (int m = 1; m <= g.settings.landMassCount; ++m) {
    g.landMasses[m].status = LandMassStatus::Secure;
    g.landMasses[m].armyCount = 0;
  }
  auto massUnder = [&](const PieceRecord& r) -> LandMassRecord& { return g.landMasses[g.world.At(r.Pos()).landMass]; };
  MarkOpenMasses(g, bit);
  // One pass over the pieces in any order: an own army or city turns only an
  // Open mass into BeingTaken, an enemy turns any mass Contested, so the
  // enemy's mark stands whichever comes first.
  for (int i = 0; i < slotsInUse; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.type != PieceType::Army && r.type != PieceType::City) continue;
    LandMassRecord& mass = massUnder(r);
    if (r.owner == player) {
      if (r.type == PieceType::Army) mass.armyCount++;
      if (mass.status == LandMassStatus::Open) mass.status = LandMassStatus::BeingTaken;
      continue;
    }
    const MapCell& c = g.world.At(r.Pos());
    bool knownCity = r.type == PieceType::City && (c.explored & bit) != 0;
    bool seenArmy = r.type == PieceType::Army && (c.visible & bit) != 0;
    if (knownCity || seenArmy) mass.status = LandMassStatus::Contested;
  }
}

int LandParasIfUseful(Game& g) {
  PieceRecord& p = g.pieces[g.state.currentPiece];
  const MapCell& c = g.world.At(p.Pos());
  if (p.type != PieceType::Para || c.terrain != Terrain::Land || c.topOwner != p.owner) return 0;
  const int status = g.landMasses[c.landMass].status;
  if (status == LandMassStatus::Secure || status == LandMassStatus::BeingTaken) return 0;
  p.type = PieceType::Army;
  RefreshCell(g, p.Pos());
  g.ui().DrawCell(p.Pos(), false);
  p.movesLeft = 0;
  p.destX = p.x;
  p.destY = p.y;
  if (ViewerSeesCell(g, p.Pos())) g.ui().PlaySoundEffect(SoundEffect::Para);
  return 1;
}

}  // namespace vortan
