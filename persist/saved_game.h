#pragma once
#include <string>
#include <vector>
#include "model/game.h"

namespace vortan {
// Checks a whole file image; empty string when it may be loaded, else why not.
std::string CheckSavedGameBytes(const uint8_t* data, size_t size);
// To app.fileName; "File Save Error" with the file and the reason on failure,
// at most once per game (the application clears app.saveErrorShown when the
// player saves by hand). An unnamed game whose folder cannot be written goes
// on in app.recoverFallbackFolder.
void SaveGame(Game& g);
int SaveGameAs(Game& g);         // asks for a file through the hooks
// Reads the named file into the records with the full check and makes it the
// current file; on refusal shows the message and changes nothing. The view is
// not set up (the game layer's LoadGameFromPath does that).
bool ReadGameFromPath(Game& g, const std::string& path);
bool WriteGameToPath(const Game& g, const std::string& path, std::string* why = nullptr);
// The four records as a game file holds them, byte for byte.
std::vector<uint8_t> GameFileBytes(const Game& g);
void DeleteRecoverFile(Game& g);
void RecountCities(Game& g);
}  // namespace vortan
