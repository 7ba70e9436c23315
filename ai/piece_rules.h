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
// a window at once (CountUnexplored, CountUnseen and the like), from running
// sums over the window and a margin of r around it.
class WindowSquareSums {
 public:
  // r is at most WindowCells::kMargin.
  explicit WindowSquareSums(int r) : r_(r) {}

  // Fills the sums in one pass over the window, row by row; value(const
  // MapCell&) gives a cell's share.
  template <typename F>
  void Fill(const Game& g, const WindowCells& cells, int radius, F&& value) {
    const int r = r_, n = 2 * (radius + r) + 1;
    const uint8_t* xs = cells.Xs(-r);  // xs[u - 1] for u = 1 .. n
    int32_t* above = sums_.data();
    for (int u = 0; u <= n; ++u) above[u] = 0;
    for (int v = 1; v <= n; ++v) {
      const MapCell* row = cells.Row(g.world, v - 1 - r);
      int32_t* here = above + kSide;
      int32_t run = 0;
      here[0] = 0;
      int u = 1;
      for (; u + 3 <= n; u += 4) {  // four cells a turn: the loop's own count and test weigh as much as a cell
        const int32_t s0 = run + value(row[xs[u - 1]]);
        const int32_t s1 = s0 + value(row[xs[u]]);
        const int32_t s2 = s1 + value(row[xs[u + 1]]);
        run = s2 + value(row[xs[u + 2]]);
        here[u] = above[u] + s0;
        here[u + 1] = above[u + 1] + s1;
        here[u + 2] = above[u + 2] + s2;
        here[u + 3] = above[u + 3] + run;
      }
      for (; u <= n; ++u) {
        run += value(row[xs[u - 1]]);
        here[u] = above[u] + run;
      }
      above = here;
    }
  }

  // The sum over the square around entry [i][j].
  int32_t At(int i, int j) const {
    const int32_t* low = sums_.data() + j * kSide + i;
    const int32_t* high = low + across_;
    return high[edge_] - high[0] - low[edge_] + low[0];
  }

 private:
  static constexpr int kSide = kValueMapSide + 2 * WindowCells::kMargin + 1;
  int r_;
  int edge_ = 2 * r_ + 1;                    // a square's edge
  int across_ = edge_ * kSide;               // from a square's top row to the row below its bottom
  std::array<int32_t, kSide * kSide> sums_;  // row v, column u at v * kSide + u
};

// CountUnexplored and CountUnseen over squares of radius r for a whole
// window, both from one table of sums: the unexplored count in the low 8
// bits, the unseen count above them. The running sums spill from the low
// byte into the next, but a square (at most 7 x 7 cells) holds fewer than
// 2^8 of each, so the difference that gives a square's sum separates them.
class ExplorationCounts {
 public:
  // Counts for the player over a window of the given radius, squares of radius r.
  ExplorationCounts(const Game& g, const WindowCells& cells, int radius, int r, int player);
  // The cells the player never explored in the square around entry [i][j].
  int Unexplored(int i, int j) const { return sums_.At(i, j) & 0xFF; }
  // The cells the player does not see now in the square around entry [i][j].
  int Unseen(int i, int j) const { return sums_.At(i, j) >> 8; }

 private:
  WindowSquareSums sums_;
};

// True unless another army of the owner, on land of the same land mass, is
// strictly nearer to the cell.
bool IsNearestArmy(const Game& g, int army, int x, int y);

// Keeps a damaged ship in port or sends it there.
void ShipRepairBias(const Game& g, int ship, DecisionWindow& window);

}  // namespace vortan
