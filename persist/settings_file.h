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
// The key's value read as an optionally signed decimal number (digits up to the
// first other character); def when the file, section or key is missing or empty.
int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def);
// The key's value as text; def when the file, section or key is missing.
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def);
// Sets one key, adding the key or its section when missing and leaving every
// other line as it was; false when the file could not be written.
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
  // Reads go through a cached copy of the file; a write updates the file at
  // once and drops the copy.
  explicit ProfileSettings(std::string path) : path_(std::move(path)) {}
  int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) const override;
  void WriteInt(const std::string& section, const std::string& key, int32_t value) override;

 private:
  std::string path_;
  mutable std::optional<std::string> text_;  // the file as read for this store's first read since a write
};

// Fills the days, moves, fuel and in-use arrays from the file's "Days",
// "Moves", "Fuel" and "Pieces" sections (defaults for missing keys), then
// bounds them to their legal ranges.
void LoadPieceAttributes(GameSettings& s, const std::string& path);
// Takes the sound mode and colour choice from the "Setup" section and tells
// the user interface; values out of range leave the current choice alone.
void LoadSetupOptions(Game& g);
// Writes the sound mode and colour choice to the "Setup" section in one step.
void SaveSetupOptions(Game& g);
}  // namespace vortan
