// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer shapes: the distance cursors 1 to 19 (slot 0 is the arrow) and
// the World Map's pointer, with their hot spots.
#pragma once

#include <QCursor>
#include <array>

namespace vortan {

class CursorStore {
 public:
  void LoadCursors();
  const QCursor& Distance(int d) const { return distance_[static_cast<size_t>(d)]; }
  const QCursor& World() const { return world_; }

 private:
  std::array<QCursor, 20> distance_;
  QCursor world_;
};

}  // namespace vortan
