#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include "model/game.h"
#include "model/settings_store.h"

namespace vortan {
// Profile-style settings file access with the semantics of the platform's profile functions.
int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def);
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def);
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);

// The settings file at a path as a store; with an empty path nothing is read
// (every read gives its default) and nothing is written.
class ProfileSettings : public SettingsStore {
 public:
  explicit ProfileSettings(std::string path) : path_(std::move(path)) {}
  int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) const override;
  void WriteInt(const std::string& section, const std::string& key, int32_t value) override;

 private:
  std::string path_;
};

void LoadPieceAttributes(GameSettings& s, const std::string& path);
void LoadSetupOptions(Game& g);
void SaveSetupOptions(Game& g);
}  // namespace vortan
