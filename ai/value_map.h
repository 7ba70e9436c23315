// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's scratch grid: a score for every cell of a square window
// around the deciding piece. Entry [i][j] stands for the world cell
// (x + i - R, y + j - R), wrapped; [R][R] is the piece's own cell.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "model/game.h"

namespace vortan {

constexpr int kValueMapSide = 41;
constexpr int kMaxValueRadius = 20;
// How far past the window the rules look around an entry.
constexpr int kWindowMargin = 3;
// The step from one entry row to the next in the tables of a window: room for
// the window and its margins, so that the scores and the square sums over a
// window (WindowSquareSums) find an entry at the same index.
constexpr int kValueMapStride = kValueMapSide + 2 * kWindowMargin + 1;

// Conventional scores.
constexpr int32_t kAvoid = -1000;       // a cell not to aim for
constexpr int32_t kThreatened = -9999;  // a cell inside an enemy's reach

struct ValueMap {
  int radius = 1;
  // Left uninitialised: a decision zeroes the part it uses as it scores it.
  // Entry [i][j] at Index(i, j).
  std::array<int32_t, kValueMapSide * kValueMapStride> entry;

  // Entries per side of the window in use: 2R + 1.
  int Side() const { return 2 * radius + 1; }
  // Where entry [i][j] is kept.
  static constexpr int Index(int i, int j) { return i * kValueMapStride + j; }
  // The score of entry [i][j]; [R][R] is the deciding piece's own cell.
  int32_t& At(int i, int j) { return entry[static_cast<std::size_t>(Index(i, j))]; }
  int32_t At(int i, int j) const { return entry[static_cast<std::size_t>(Index(i, j))]; }
  // The entries [i][0] to [i][2R].
  const int32_t* Row(int i) const { return entry.data() + Index(i, 0); }
  // Zeroes every entry, the unused ones too.
  void Clear() { entry.fill(0); }
  // Sets R, capped at the window's limit.
  void SetRadius(int r) { radius = r > kMaxValueRadius ? kMaxValueRadius : r; }
};

// The world column of every window column and the world row of every window
// row, with a margin around the window for the squares the rules look at
// around an entry, so that a wrapped coordinate is worked out only once.
class WindowCells {
 public:
  static constexpr int kMargin = kWindowMargin;

  WindowCells(const GameSettings& s, MapPos centre, int radius) {
    Fill(xs_.data(), dist_.data(), centre.x, s.width, radius);
    Fill(ys_.data(), dist_.data() + kSpan, centre.y, s.height, radius);
    for (int k = 0; k <= 2 * (radius + kMargin); ++k)
      rowBase_[static_cast<std::size_t>(k)] = static_cast<uint16_t>(ys_[static_cast<std::size_t>(k)] * kGridSide);
  }
  // i and j run from -kMargin to 2R + kMargin.
  int X(int i) const { return xs_[static_cast<std::size_t>(i + kMargin)]; }
  int Y(int j) const { return ys_[static_cast<std::size_t>(j + kMargin)]; }
  // WrapDistance from the centre to the cell of entry [i][j].
  int Distance(int i, int j) const {
    int dx = dist_[static_cast<std::size_t>(i + kMargin)], dy = dist_[static_cast<std::size_t>(kSpan + j + kMargin)];
    return dx > dy ? dx : dy;
  }
  // The world cell of entry [i][j].
  const MapCell& Cell(const World& w, int i, int j) const {
    return w.cells[static_cast<std::size_t>(rowBase_[static_cast<std::size_t>(j + kMargin)] +
                                            xs_[static_cast<std::size_t>(i + kMargin)])];
  }
  // The world columns of the entries from i on: Xs(i)[k] is X(i + k).
  const uint8_t* Xs(int i) const { return xs_.data() + i + kMargin; }
  // The world row of entry row j, indexed by world column: Row(w, j)[X(i)] is
  // Cell(w, i, j), for loops that walk along a row.
  const MapCell* Row(const World& w, int j) const {
    return w.cells.data() + rowBase_[static_cast<std::size_t>(j + kMargin)];
  }
  // The world cells of columns i0 .. i0 + n - 1 in the world's first row,
  // for windows whose columns wrap: columns[k] + (Row(w, j) - w.cells.data())
  // is the cell of entry [i0 + k][j], with no column looked up per cell.
  void WrappedColumns(const World& w, int i0, int n, const MapCell** columns) const {
    const uint8_t* xs = Xs(i0);
    for (int k = 0; k < n; ++k) columns[k] = w.cells.data() + xs[k];
  }
  // Whether the cell of entry [i][j] is sea or has sea beside it, as
  // IsCoastal tells of a world cell: the margin holds the neighbours, wrapped
  // as the world is. The cell itself first (most often it settles it), then
  // the block row by row, done at the first sea cell.
  bool Coastal(const World& w, int i, int j) const {
    if (Cell(w, i, j).terrain == Terrain::Sea) return true;
    const uint8_t* xs = Xs(i - 1);
    for (int b = j - 1; b <= j + 1; ++b) {
      const MapCell* row = Row(w, b);
      if (row[xs[0]].terrain == Terrain::Sea || row[xs[1]].terrain == Terrain::Sea ||
          row[xs[2]].terrain == Terrain::Sea)
        return true;
    }
    return false;
  }
  // Whether the columns i0 .. i1 do not wrap around the world's edge, so that
  // the cells of an entry row lie side by side there: Row(w, j) + X(i0) + k is
  // the cell of entry [i0 + k][j].
  bool SideBySide(int i0, int i1) const { return X(i1) == X(i0) + (i1 - i0); }
  // The world position of entry [i][j].
  MapPos Pos(int i, int j) const {
    return MapPos{xs_[static_cast<std::size_t>(i + kMargin)], ys_[static_cast<std::size_t>(j + kMargin)]};
  }

 private:
  static constexpr int kSpan = kValueMapSide + 2 * kMargin;
  static constexpr int kMaxReach = kMaxValueRadius + kMargin;
  // kCounting[k] is k; kRings[k] is the distance from k to kMaxReach.
  static constexpr std::array<uint8_t, 256> kCounting = [] {
    std::array<uint8_t, 256> t{};
    for (int k = 0; k < 256; ++k) t[static_cast<std::size_t>(k)] = static_cast<uint8_t>(k);
    return t;
  }();
  static constexpr std::array<uint8_t, 2 * kMaxReach + 1> kRings = [] {
    std::array<uint8_t, 2 * kMaxReach + 1> t{};
    for (int k = 0; k <= 2 * kMaxReach; ++k)
      t[static_cast<std::size_t>(k)] = static_cast<uint8_t>(k < kMaxReach ? kMaxReach - k : k - kMaxReach);
    return t;
  }();
  // One axis: the wrapped coordinate and the torus distance from the centre
  // for the offsets -radius - kMargin .. radius + kMargin.
  static void Fill(uint8_t* coord, uint8_t* dist, int centre, int length, int radius) {
    const int reach = radius + kMargin, last = 2 * reach;
    int c = Wrap(centre - reach, length);
    if (last < length) {  // no cell twice: the distance is the offset from the centre
      // Copies of stretches of constant tables: up to the world's edge, then
      // on from 0, and the offsets; cheaper than a loop with a wrap test.
      const int edge = last + 1 < length - c ? last + 1 : length - c;
      std::memcpy(coord, kCounting.data() + c, static_cast<std::size_t>(edge));
      std::memcpy(coord + edge, kCounting.data(), static_cast<std::size_t>(last + 1 - edge));
      std::memcpy(dist, kRings.data() + (kMaxReach - reach), static_cast<std::size_t>(last + 1));
      return;
    }
    const int half = length / 2;
    for (int k = 0; k <= last; ++k) {
      int d = c >= centre ? c - centre : c - centre + length;
      if (d > half) d = length - d;
      coord[k] = static_cast<uint8_t>(c);
      dist[k] = static_cast<uint8_t>(d);
      if (++c == length) c = 0;
    }
  }
  // Left uninitialised: the constructor fills the part the window uses, and
  // a window is opened for every decision.
  std::array<uint8_t, kSpan> xs_, ys_;
  std::array<uint8_t, 2 * kSpan> dist_;  // per column, then per row
  std::array<uint16_t, kSpan> rowBase_;  // index of each row's first cell in the world grid
};

// The window of one decision: the scores, the cells they stand for and the
// entries where the player sees another player's piece. A rule opens it at
// its radius and then scores every entry in one pass, which zeroes each entry
// before scoring it and notes the enemies on the way (RuleContext).
struct DecisionWindow {
  ValueMap map;
  std::optional<WindowCells> cells;
  bool scored = false;  // the scoring pass has run since the window was opened
  int enemyCount = 0;
  std::array<uint16_t, kValueMapSide * kValueMapSide> enemies;  // ValueMap::Index(i, j); the first enemyCount hold

  // Sets the radius (capped) and works out the window's cells.
  void Open(const GameSettings& s, const PieceRecord& piece, int radius) {
    map.SetRadius(radius);
    cells.emplace(s, piece.Pos(), map.radius);
    scored = false;
    enemyCount = 0;
  }
  // The entry of the k-th enemy noted by the scoring pass.
  int EnemyI(int k) const { return enemies[static_cast<std::size_t>(k)] / kValueMapStride; }
  int EnemyJ(int k) const { return enemies[static_cast<std::size_t>(k)] % kValueMapStride; }
};

// The worth of a visible enemy by [deciding type][enemy type].
using TargetValueTable = std::array<std::array<int16_t, kTypeCount>, kTypeCount>;
extern const TargetValueTable kTargetValue;

}  // namespace vortan
