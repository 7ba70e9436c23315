// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <optional>
#include <string>
#include "model/game.h"
#include "model/settings_store.h"

namespace vortan {
// Generates a world for the settings and resets the game state for its first
// day. 0 when no world could be made (the message has been shown).
int StartGeneratedGame(Game& g);
// The Piece Attributes dialog's nine boxes and raw field texts, in type-code
// order (index 1..9; index 0, the city, is unused).
struct PieceAttributeInput {
  std::array<bool, kTypeCount> use{};
  std::array<std::string, kTypeCount> days, moves, fuel;
};
// The dialog's OK: stores the boxes and the bounded values in the settings and
// the settings file. Returns false and shows the message when the in-use set is
// invalid; then nothing is changed.
bool ApplyPieceAttributes(Game& g, const PieceAttributeInput& in, SettingsStore& store);
// What the Piece Attributes dialog shows when it opens: the boxes from the
// settings file's "Pieces" keys (missing: in use), the fields from the settings.
PieceAttributeInput PieceAttributesToShow(const Game& g, const SettingsStore& store);
// What its "Default" button puts in: every box checked, the default values.
PieceAttributeInput DefaultPieceAttributesToShow();

// The New Game dialog's OK, given which button of each group is selected.
struct NewGameChoice {
  // Per player: Out, Human, or anything else for Computer.
  std::array<uint8_t, kPlayerCount> kind{};
  std::optional<int> sizeIndex;       // 0..4 for 50 x 50 .. 70 x 70; none selected means 70 x 70
  int difficulty = Difficulty::Easy;  // 0..2; anything else is Hard
  std::optional<int> land;            // 0..4; none selected leaves the amount of land as it was
};
// Whether the New Game choice was taken, or why not.
enum class NewGameVerdict { Accepted, NoHumanPlayer, OnlyOnePlayer };
// Stores the choice in the settings and the settings file, then checks it;
// a refused choice has shown its message and stays stored (the dialog stays open).
NewGameVerdict ApplyNewGameChoice(Game& g, const NewGameChoice& choice, SettingsStore& store);

// The Demo command's view centre: the middle of the land, found from the
// longest band of all-sea columns (x) and rows (y).
MapPos CentreOnLand(const GameSettings& s, const World& w);
}  // namespace vortan
