// SPDX-License-Identifier: GPL-3.0-or-later
// Which pieces stand on a cell, answered from a per-cell index of the piece
// table. The route search asks this for hundreds of cells per step; walking the
// whole table for each of them would cost hundreds of thousands of reads.
// A lone question is answered by walking the table; the index is built on the
// second. It lives on the caller's stack, so it must not outlive a change of
// piece positions.
#pragma once

#include <array>
#include <cstdint>

#include "model/game.h"

namespace vortan {

class PiecesByCell {
 public:
  // Indexes the table lazily: the first question scans the table, a second one
  // builds the index. The table must not change while this lives.
  explicit PiecesByCell(const PieceTable& table) : table_(table) {}
  PiecesByCell(const PiecesByCell&) = delete;
  PiecesByCell& operator=(const PiecesByCell&) = delete;

  // Calls f(index, record) for every occupied slot standing on (x, y). The
  // order is not the table order; callers only count or look for a match.
  template <typename F>
  void ForEachAt(int x, int y, F&& f) {
    if (!built_ && !asked_) {
      asked_ = true;
      for (int i = 0; i < kPieceSlots; ++i)
        if (!table_[i].IsEmpty() && table_[i].x == x && table_[i].y == y) f(i, table_[i]);
      return;
    }
    if (!built_) Build();
    for (int i = head_[Cell(x, y)]; i != kNone; i = next_[i]) f(i, table_[i]);
  }

 private:
  static constexpr int16_t kNone = -1;
  static int Cell(int x, int y) { return y * kGridSide + x; }

  void Build() {
    head_.fill(kNone);
    for (int i = 0; i < kPieceSlots; ++i) {
      const PieceRecord& r = table_[i];
      if (r.IsEmpty() || r.x >= kGridSide || r.y >= kGridSide) continue;
      next_[i] = head_[Cell(r.x, r.y)];
      head_[Cell(r.x, r.y)] = static_cast<int16_t>(i);
    }
    built_ = true;
  }

  const PieceTable& table_;
  bool asked_ = false;
  bool built_ = false;
  std::array<int16_t, kGridSide * kGridSide> head_;
  std::array<int16_t, kPieceSlots> next_;
};

}  // namespace vortan
