// SPDX-License-Identifier: GPL-3.0-or-later
// Where the New Game and Piece Attributes choices are remembered between runs.
// The layers that apply those choices write through this interface and so need
// not know the file format, which belongs to persist/.
#pragma once
#include <cstdint>
#include <string>

namespace vortan {
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value stored under section/key, or def when there is none.
  virtual int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) const = 0;
  // Stores the value under section/key, replacing any earlier one.
  virtual void WriteInt(const std::string& section, const std::string& key, int32_t value) = 0;
};
}  // namespace vortan
