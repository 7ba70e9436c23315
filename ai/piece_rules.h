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
// sums over the window and its margin.
class WindowSquareSums {
 public:
  // r is at most WindowCells::kMargin.
  explicit WindowSquareSums(int r) : r_(r) {}

  // Fills the sums in one pass over the window, row by row; value(const
  // MapCell&) gives a cell's share.
  template <typename F>
  void Fill(const Game& g, const WindowCells& cells, int radius, F&& value) {
    const int n = 2 * radius + 1 + 2 * WindowCells::kMargin;
    for (int u = 0; u <= n; ++u) Set(u, 0, 0);
    for (int v = 1; v <= n; ++v) {
      const int j = v - 1 - WindowCells::kMargin;
      int32_t row = 0;
      Set(0, v, 0);
      for (int u = 1; u <= n; ++u) {
        row += value(cells.Cell(g.world, u - 1 - WindowCells::kMargin, j));
        Set(u, v, Sum(u, v - 1) + row);
      }
    }
  }

  // Fills two sums in one pass; values(const MapCell&) gives a cell's share
  // in each as a std::pair.
  template <typename F>
  static void FillPair(WindowSquareSums& a, WindowSquareSums& b, const Game& g, const WindowCells& cells, int radius,
                       F&& values) {
    const int n = 2 * radius + 1 + 2 * WindowCells::kMargin;
    for (int u = 0; u <= n; ++u) a.Set(u, 0, 0), b.Set(u, 0, 0);
    for (int v = 1; v <= n; ++v) {
      const int j = v - 1 - WindowCells::kMargin;
      int32_t rowA = 0, rowB = 0;
      a.Set(0, v, 0);
      b.Set(0, v, 0);
      for (int u = 1; u <= n; ++u) {
        const auto [shareA, shareB] = values(cells.Cell(g.world, u - 1 - WindowCells::kMargin, j));
        rowA += shareA;
        rowB += shareB;
        a.Set(u, v, a.Sum(u, v - 1) + rowA);
        b.Set(u, v, b.Sum(u, v - 1) + rowB);
      }
    }
  }

  // The sum over the square around entry [i][j].
  int32_t At(int i, int j) const {
    const int a = i + WindowCells::kMargin - r_, b = j + WindowCells::kMargin - r_, e = 2 * r_ + 1;
    return Sum(a + e, b + e) - Sum(a, b + e) - Sum(a + e, b) + Sum(a, b);
  }

 private:
  static constexpr int kSide = kValueMapSide + 2 * WindowCells::kMargin + 1;
  int32_t Sum(int a, int b) const { return sums_[static_cast<std::size_t>(a * kSide + b)]; }
  void Set(int a, int b, int32_t v) { sums_[static_cast<std::size_t>(a * kSide + b)] = v; }
  int r_;
  std::array<int32_t, kSide * kSide> sums_;
};

// CountUnexplored and CountUnseen over squares of radius r for a whole
// window, both from one table of sums: the unexplored count in the low 16
// bits, the unseen count above them (a window holds far fewer than 2^16 cells).
class ExplorationCounts {
 public:
  // Counts for the player over a window of the given radius, squares of radius r.
  ExplorationCounts(const Game& g, const WindowCells& cells, int radius, int r, int player);
  // The cells the player never explored in the square around entry [i][j].
  int Unexplored(int i, int j) const { return sums_.At(i, j) & 0xFFFF; }
  // The cells the player does not see now in the square around entry [i][j].
  int Unseen(int i, int j) const { return sums_.At(i, j) >> 16; }

 private:
  WindowSquareSums sums_;
};

// True unless another army of the owner, on land of the same land mass, is
// strictly nearer to the cell.
bool IsNearestArmy(const Game& g, int army, int x, int y);

// Keeps a damaged ship in port or sends it there.
void ShipRepairBias(const Game& g, int ship, DecisionWindow& window);

}  // namespace vortan
