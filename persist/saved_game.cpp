#include "persist/saved_game.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
std::string CheckSavedGameBytes(const uint8_t* data, size_t size) { std::abort(); }
void SaveGame(Game& g) { std::abort(); }
int SaveGameAs(Game& g) { std::abort(); }
int LoadGame(Game& g) { std::abort(); }
bool LoadGameFromPath(Game& g, const std::string& path) { std::abort(); }
bool WriteGameToPath(const Game& g, const std::string& path) { std::abort(); }
void DeleteRecoverFile(Game& g) { std::abort(); }
void RecountCities(Game& g) { std::abort(); }
}  // namespace vortan
