#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "model/game.h"

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

void LoadPieceAttributes(GameSettings& s, const std::string& path);
void LoadSetupOptions(Game& g);
void SaveSetupOptions(Game& g);
}  // namespace vortan
