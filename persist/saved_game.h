// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>
#include "model/game.h"
#include "persist/game_file_check.h"

namespace vortan {
// To app.fileName; false when it could not be written, and then "File Save
// Error" with the file and the reason, at most once per game (the application
// clears app.saveErrorShown when the player saves by hand). An unnamed game
// whose folder cannot be written goes on in app.recoverFallbackFolder.
bool SaveGame(Game& g);
// Asks for a file through the hooks until one is saved (1) or the player cancels (0).
int SaveGameAs(Game& g);
// Reads the named file into the records with the full check and makes it the
// current file; on refusal shows the message and changes nothing. The view is
// not set up (the game layer's LoadGameFromPath does that).
bool ReadGameFromPath(Game& g, const std::string& path);
// The same for a file image already read; path names the game afterwards.
bool ReadGameFromBytes(Game& g, const uint8_t* data, size_t size, const std::string& path);
// Writes the game file; false when the file could not be written (with the
// reason in `why` when given).
bool WriteGameToPath(const Game& g, const std::string& path, std::string* why = nullptr);
// The four records as a game file holds them, byte for byte.
std::vector<uint8_t> GameFileBytes(const Game& g);
// The four records from a file image of kSavedGameBytes that passed the load
// check, and the cell index rebuilt for them; nothing else of the game changes.
void DecodeGameFile(Game& g, const uint8_t* data);
// Removes the game's current file from disk; a missing file is no error.
void DeleteRecoverFile(Game& g);
// Counts the cities again after a load.
void RecountCities(Game& g);
}  // namespace vortan
