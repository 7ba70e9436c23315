// SPDX-License-Identifier: GPL-3.0-or-later
// The common set-up of the rule tests: a game built from a picture, hooks
// that record what the rules asked for, and scratch folders for saved files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/named_values.h"
#include "support/piece_fields.h"
#include "support/world_picture.h"

namespace vortan::test {

using ::testing::ElementsAre;

inline bool Saw(const std::vector<std::string>& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

inline int CountStartingWith(const std::vector<std::string>& calls, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

using Ints = std::vector<int>;

template <class Hooks = RecordingHooks>
struct WorldTest : ::testing::Test {
  Game g;
  Hooks hooks;
  void Build(const std::vector<std::string>& rows) {
    BuildWorld(g, rows);
    g.hooks = &hooks;
    g.app.fileFolder = std::filesystem::temp_directory_path().string();  // weekly and victory saves go here
  }
  PieceRecord& P(int piece) { return g.pieces[piece]; }
  void SendTo(int piece, int x, int y) {
    P(piece).destX = static_cast<uint8_t>(x);
    P(piece).destY = static_cast<uint8_t>(y);
  }
  bool Alive(int piece) const { return !g.pieces[piece].IsEmpty(); }
};

}  // namespace vortan::test
