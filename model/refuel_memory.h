// SPDX-License-Identifier: GPL-3.0-or-later
// The refuel maps last worked out for each player, and what they were worked
// out from. A player's maps follow from nothing but the world's size, the
// bomber's fuel and that player's cities (where they stand, in table order, and
// whether their land mass is secure), which rarely change between two of the
// player's turns; when they are the same, the maps are copied back instead of
// worked out again.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace vortan {

struct RefuelMemory {
  struct Maps {
    int cityCount = -1;  // -1: nothing remembered yet
    int width = 0, height = 0, bomberFuel = 0;
    std::array<uint32_t, kPieceSlots> cities{};  // x | y << 8 | secure << 16, in table order
    // Each cell's bomberRange and safeCityRange side by side, as they lie in
    // MapCell, row by row with the grid's stride. The maps are worked out here,
    // densely packed, rather than in the 12-byte map cells, and each cell's
    // pair is copied into the map in one move.
    std::array<std::array<uint8_t, 2>, kGridSide * kGridSide> ranges{};
  };
  std::array<Maps, kPlayerCount> players;
};

}  // namespace vortan
