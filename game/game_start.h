// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a game: New, Demo and loading a saved game, and the view set-up
// they share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "model/game.h"

namespace vortan {
// New: the dialog, then a new world; 1 when a game was started, else the
// settings are as before.
int NewGameCommand(Game& g);
// What New does once its dialog has said OK: generate, set up, start. 0 when
// no world could be made (the message has been shown; settings not restored).
int StartNewGame(Game& g);
// Demo: six computers on a 40 x 40 world, the view centred on the land.
void DemoCommand(Game& g);
// Menus, zoom, scroll position and window size for the game in the records,
// and the elimination check; every way into a game ends here.
void SetUpGameView(Game& g);
// What the rules call when somebody wins (SetUpGameView installs it): a named
// game keeps its final position, the recovery file does not.
void KeepFinalPosition(Game& g);
int LoadGame(Game& g);  // asks for a file through the hooks
// Loads the named file with the full check; on refusal shows the message and changes nothing.
bool LoadGameFromPath(Game& g, const std::string& path);
// The same for a file image already read; path names the game afterwards.
bool LoadGameFromBytes(Game& g, const uint8_t* data, size_t size, const std::string& path);
}  // namespace vortan
