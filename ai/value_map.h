// The computer's scratch grid: a score for every cell of a square window
// around the deciding piece. Entry [i][j] stands for the world cell
// (x + i - R, y + j - R), wrapped; [R][R] is the piece's own cell.
#pragma once

#include <array>
#include <cstdint>

#include "model/game.h"

namespace vortan {

constexpr int kValueMapSide = 41;
constexpr int kMaxValueRadius = 20;

// Conventional scores.
constexpr int32_t kAvoid = -1000;       // a cell not to aim for
constexpr int32_t kThreatened = -9999;  // a cell inside an enemy's reach

struct ValueMap {
  int radius = 1;
  std::array<std::array<int32_t, kValueMapSide>, kValueMapSide> entry{};

  int Side() const { return 2 * radius + 1; }
  int32_t& At(int i, int j) { return entry[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]; }
  int32_t At(int i, int j) const { return entry[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]; }
  void Clear() {
    for (auto& column : entry) column.fill(0);
  }
  // Sets R, capped at the window's limit.
  void SetRadius(int r) { radius = r > kMaxValueRadius ? kMaxValueRadius : r; }
  // The world cell of entry [i][j] for a piece at `centre`.
  MapPos CellOf(const GameSettings& s, MapPos centre, int i, int j) const {
    return WrapPos(s, centre.x + i - radius, centre.y + j - radius);
  }
};

// The worth of a visible enemy by [deciding type][enemy type].
using TargetValueTable = std::array<std::array<int16_t, kTypeCount>, kTypeCount>;
extern const TargetValueTable kTargetValue;

}  // namespace vortan
