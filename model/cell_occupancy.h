// SPDX-License-Identifier: GPL-3.0-or-later
// Which piece slots stand on each cell, so that a cell's pieces are found
// without walking all 500 slots. Each cell keeps a list of slots in table
// order, which is the order the top-piece precedence and the cargo rules
// count in.
//
// The piece table stays the truth. The rules re-index a slot whenever they
// move, create or remove its piece (IndexSlot, or RefreshCell for a cell);
// every list is filtered against the table when read, so a slot emptied or
// moved without re-indexing is never reported where it no longer stands.
// What the filter cannot catch is a piece put on a cell behind the index's
// back: that needs RefreshCell on the cell, or RefreshAllCells.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace vortan {

class CellOccupancy {
 public:
  CellOccupancy() { Clear(); }

  void Clear() {
    head_.fill(kNone);
    next_.fill(kNone);
    cell_.fill(kNowhere);
  }

  // Indexes the whole table afresh.
  void Rebuild(const PieceTable& t) {
    Clear();
    for (int i = kPieceSlots - 1; i >= 0; --i) {
      const int cell = CellOf(t[i]);
      if (cell == kNowhere) continue;
      next_[i] = head_[cell];
      head_[cell] = static_cast<int16_t>(i);
      cell_[i] = static_cast<uint16_t>(cell);
    }
  }

  // Files the slot under the cell its record stands on now (or under none
  // when the slot is empty); nothing to do when it already is.
  void IndexSlot(const PieceTable& t, int slot) {
    const int cell = CellOf(t[slot]);
    if (cell == cell_[slot]) return;
    Unlink(slot);
    if (cell != kNowhere) Link(slot, cell);
  }

  // Calls f(slot, record) for every piece standing on (x, y), in table order.
  template <typename F>
  void ForEachAt(const PieceTable& t, int x, int y, F&& f) const {
    if (x >= kGridSide || y >= kGridSide) return;
    for (int i = head_[Cell(x, y)]; i != kNone; i = next_[i]) {
      const PieceRecord& r = t[i];
      if (!r.IsEmpty() && r.x == x && r.y == y) f(i, r);
    }
  }

  // Calls f(slot) for every slot filed under (x, y), standing there or not.
  template <typename F>
  void ForEachFiled(int x, int y, F&& f) const {
    if (x >= kGridSide || y >= kGridSide) return;
    for (int i = head_[Cell(x, y)]; i != kNone; i = next_[i]) f(i);
  }

  // The cell index the slot is filed under, or kNowhere; for the invariant check.
  int FiledCell(int slot) const { return cell_[slot]; }
  // Whether the slot is in the list of the cell it is filed under, in table order there.
  bool ListedInOrder(int slot) const {
    const int cell = cell_[slot];
    if (cell == kNowhere) return false;
    int before = -1;
    for (int i = head_[cell]; i != kNone; i = next_[i]) {
      if (i <= before) return false;
      if (i == slot) return true;
      before = i;
    }
    return false;
  }

  static constexpr int kNowhere = 0xFFFF;
  static int Cell(int x, int y) { return y * kGridSide + x; }
  // The cell a record stands on, or kNowhere for an empty slot or one off the grid.
  static int CellOf(const PieceRecord& r) {
    if (r.IsEmpty() || r.x >= kGridSide || r.y >= kGridSide) return kNowhere;
    return Cell(r.x, r.y);
  }

 private:
  static constexpr int16_t kNone = -1;

  void Unlink(int slot) {
    const int cell = cell_[slot];
    if (cell == kNowhere) return;
    int16_t* link = &head_[cell];
    while (*link != slot) link = &next_[*link];
    *link = next_[slot];
    next_[slot] = kNone;
    cell_[slot] = kNowhere;
  }

  void Link(int slot, int cell) {
    int16_t* link = &head_[cell];
    while (*link != kNone && *link < slot) link = &next_[*link];
    next_[slot] = *link;
    *link = static_cast<int16_t>(slot);
    cell_[slot] = static_cast<uint16_t>(cell);
  }

  std::array<int16_t, kGridSide * kGridSide> head_;
  std::array<int16_t, kPieceSlots> next_;
  std::array<uint16_t, kPieceSlots> cell_;
};

}  // namespace vortan
