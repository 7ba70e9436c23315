// SPDX-License-Identifier: GPL-3.0-or-later
// Which pieces stand on a cell, as the route cells ask it: the game's own cell
// index, read against the piece table.
#pragma once

#include "model/game.h"

namespace vortan {

class PiecesByCell {
 public:
  explicit PiecesByCell(const Game& g) : g_(g) {}
  PiecesByCell(const PiecesByCell&) = delete;
  PiecesByCell& operator=(const PiecesByCell&) = delete;

  // Calls f(index, record) for every occupied slot standing on (x, y).
  template <typename F>
  void ForEachAt(int x, int y, F&& f) {
    g_.occupancy.ForEachAt(g_.pieces, x, y, f);
  }

 private:
  const Game& g_;
};

}  // namespace vortan
