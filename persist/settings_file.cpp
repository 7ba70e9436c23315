#include "persist/settings_file.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def) { std::abort(); }
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key, const std::string& def) { std::abort(); }
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key, const std::string& value) { std::abort(); }
void LoadPieceAttributes(GameSettings& s, const std::string& path) { std::abort(); }
void LoadSetupOptions(Game& g) { std::abort(); }
void SaveSetupOptions(Game& g) { std::abort(); }
}  // namespace vortan
