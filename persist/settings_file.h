// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include "model/game.h"
#include "model/settings_store.h"

namespace vortan {
// Profile-style settings file access with the semantics of the platform's profile functions.
int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def);
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def);
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);
// Several keys in one read-change-write of the file, which no other writer
// can come between; false when the file could not be written.
struct ProfileEntry {
  std::string section, key, value;
};
bool WriteProfileStrings(const std::string& path, const std::vector<ProfileEntry>& entries);

// The settings file at a path as a store; with an empty path nothing is read
// (every read gives its default) and nothing is written.
class ProfileSettings : public SettingsStore {
 public:
  explicit ProfileSettings(std::string path) : path_(std::move(path)) {}
  int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) const override;
  void WriteInt(const std::string& section, const std::string& key, int32_t value) override;

 private:
  std::string path_;
  mutable std::optional<std::string> text_;  // the file as read for this store's first read since a write
};

void LoadPieceAttributes(GameSettings& s, const std::string& path);
void LoadSetupOptions(Game& g);
void SaveSetupOptions(Game& g);
}  // namespace vortan
