// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's tactics, one rule per movable piece type. Each rule sets the
// window radius and scores the cells of the window; DecideComputerPiece then
// adds the enemies, discounts by distance and picks the best cell.
#pragma once

#include "ai/value_map.h"
#include "model/game.h"

namespace vortan {

// Applies the rule of the piece's type: it opens the window at its radius and
// scores every entry. Returns false when the rule settled the piece itself (a
// garrison army) and no destination is to be chosen.
bool ApplyPieceRule(Game& g, int piece, DecisionWindow& window);

// Marks the enemy at entry [a][b], everything beyond it as seen from the
// centre and k entries on the centre's side as threatened.
void PaintDanger(ValueMap& map, int a, int b, int k);

// Cells of the (2r + 1) x (2r + 1) square around (x, y) that the player has
// never explored, or does not see now.
int CountUnexplored(const Game& g, int player, int x, int y, int r);
int CountUnseen(const Game& g, int player, int x, int y, int r);

// Sums of a per-cell value over the square of radius r around every entry of
// a window (or of a block of it) at once (CountUnexplored, CountUnseen and the
// like), from running sums over the entries and a margin of r around them.
class WindowSquareSums {
 public:
  // r is at most WindowCells::kMargin.
  explicit WindowSquareSums(int r) : r_(r) {}

  // Fills the sums for the whole window of the given radius.
  template <typename F>
  void Fill(const Game& g, const WindowCells& cells, int radius, F&& value) {
    Fill(g, cells, 0, 2 * radius, 0, 2 * radius, value);
  }

  // Fills the sums for the entries [i][j] with iLo <= i <= iHi and jLo <= j <=
  // jHi only, in one pass row by row; value(const MapCell&) gives a cell's
  // share. The block keeps its place in the table, so At reads it as it reads
  // a whole window.
  template <typename F>
  void Fill(const Game& g, const WindowCells& cells, int iLo, int iHi, int jLo, int jHi, F&& value) {
    // Mostly the columns do not wrap around the world's edge.
    if (cells.SideBySide(iLo - r_, iHi + r_))
      FillRows<true>(g, cells, iLo, iHi, jLo, jHi, value);
    else
      FillRows<false>(g, cells, iLo, iHi, jLo, jHi, value);
  }

  // The sum over the square around entry [i][j], one of those filled.
  int32_t At(int i, int j) const { return Reader().At(Index(i, j)); }

  // Where the sums for entry [i][j] are found: where the scores keep it.
  static constexpr int Index(int i, int j) { return ValueMap::Index(i, j); }
  // The sums read by Index, for loops that keep the square's shape at hand:
  // the four corners of the square around entry 0, so that each corner of
  // another is one indexed read.
  struct View {
    const int32_t *low, *lowEdge, *high, *highEdge;
    int32_t At(int index) const { return highEdge[index] - high[index] - lowEdge[index] + low[index]; }
  };
  View Reader() const {
    const int32_t* sums = sums_.data();
    return View{sums, sums + edge_, sums + across_, sums + across_ + edge_};
  }

 private:
  static constexpr int kSide = kValueMapStride;

  template <bool kSideBySide, typename F>
  void FillRows(const Game& g, const WindowCells& cells, int iLo, int iHi, int jLo, int jHi, F& value) {
    // Running sums t[u][v] over the cells of the block's columns before u
    // and rows before v, with its margin, at Index(iLo + u, jLo + v).
    const int r = r_, n = iHi - iLo + 2 * r + 1, rows = jHi - jLo + 2 * r + 1;
    const uint8_t* xs = cells.Xs(iLo - r);  // xs[u - 1] for u = 1 .. n
    // Wrapped columns: each column's cells found once here rather than for
    // every cell.
    const MapCell* const world = g.world.cells.data();
    std::array<const MapCell*, kSide> columns;
    if constexpr (!kSideBySide) cells.WrappedColumns(g.world, iLo - r, n, columns.data());
    int32_t* const corner = sums_.data() + Index(iLo, jLo);
    for (int u = 0; u <= n; ++u) corner[u * kSide] = 0;
    // The cell of column u - 1 of the block (with its margin) in a row.
    auto rowCells = [&](int v) {
      const MapCell* row = cells.Row(g.world, jLo + v - 1 - r);
      const MapCell* first = row + xs[0];
      const std::ptrdiff_t down = row - world;
      return [first, down, &columns](int k) -> const MapCell& {
        return kSideBySide ? first[k] : columns[static_cast<std::size_t>(k)][down];
      };
    };
    int v = 1;
    // Two rows a turn: the sum just written for the upper one is at hand for
    // the lower, rather than read back.
    for (; v + 1 <= rows; v += 2) {
      const auto upper = rowCells(v), lower = rowCells(v + 1);
      int32_t* here = corner + v;  // t[0][v]; t[u][v - 1] is just before t[u][v]
      int32_t runUpper = 0, runLower = 0;
      here[0] = 0;
      here[1] = 0;
      int u = 1;
      for (; u + 1 <= n; u += 2) {
        const int32_t a = runUpper + value(upper(u - 1)), b = runLower + value(lower(u - 1));
        runUpper = a + value(upper(u));
        runLower = b + value(lower(u));
        int32_t* t = here + u * kSide;
        const int32_t ta = t[-1] + a, tb = t[kSide - 1] + runUpper;
        t[0] = ta;
        t[1] = ta + b;
        t[kSide] = tb;
        t[kSide + 1] = tb + runLower;
      }
      if (u <= n) {
        runUpper += value(upper(u - 1));
        runLower += value(lower(u - 1));
        int32_t* t = here + u * kSide;
        t[0] = t[-1] + runUpper;
        t[1] = t[0] + runLower;
      }
    }
    if (v <= rows) {
      const auto cell = rowCells(v);
      int32_t* here = corner + v;
      int32_t run = 0;
      here[0] = 0;
      for (int u = 1; u <= n; ++u) {
        run += value(cell(u - 1));
        here[u * kSide] = here[u * kSide - 1] + run;
      }
    }
  }

  int r_;
  int edge_ = 2 * r_ + 1;       // a square's edge
  int across_ = edge_ * kSide;  // from a square's first column to the one after its last
  std::array<int32_t, kSide * kSide> sums_;
};

// CountUnexplored and CountUnseen over squares of radius r for a block of
// window entries, both from one table of sums: the unexplored count in the
// low 8 bits, the unseen count above them. The running sums spill from the
// low byte into the next, but a square (at most 7 x 7 cells) holds fewer than
// 2^8 of each, so the difference that gives a square's sum separates them.
class ExplorationCounts {
 public:
  // Counts for the player around the entries [i][j] with iLo <= i <= iHi
  // and jLo <= j <= jHi, squares of radius r.
  ExplorationCounts(const Game& g, const WindowCells& cells, int iLo, int iHi, int jLo, int jHi, int r, int player);
  // The cells the player does not see now in the square around entry [i][j].
  int Unseen(int i, int j) const { return sums_.At(i, j) >> 8; }
  // Both counts at once, from WindowSquareSums::Index(i, j): unexplored in the
  // low 8 bits, unseen above.
  WindowSquareSums::View Reader() const { return sums_.Reader(); }

 private:
  WindowSquareSums sums_;
};

// True unless another army of the owner, on land of the same land mass, is
// strictly nearer to the cell.
bool IsNearestArmy(const Game& g, int army, int x, int y);

// Keeps a damaged ship in port or sends it there.
void ShipRepairBias(const Game& g, int ship, DecisionWindow& window);

}  // namespace vortan
