// SPDX-License-Identifier: GPL-3.0-or-later
// Builds small games from ASCII pictures so rule tests read like the situations
// they check:
//
//   Game& g = fixture.Build({
//       "....",
//       ".++*",
//       ".+^.",
//   });
//   int army = AddPiece(g, PieceType::Army, 0, 1, 1);
//
// Terrain characters: '.' sea, '+' land, '*' neutral city, '^' mountain.
// The world is exactly as wide and high as the picture (both at least 3 is wise,
// since the world wraps). Land masses are numbered by a flood fill over Land
// and City cells, column by column. Players 0 and 1 are set Human and Computer
// unless the test changes settings.kind.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "model/game.h"

namespace vortan::test {

// Fresh program start with default piece attributes and the random numbers
// seeded, as the program stands before New or Demo.
void StartProgram(Game& g, uint32_t seed);

// Fresh program start + a world from the picture, default piece attributes,
// day 1, gameActive 1, player 0 on turn and viewing.
void BuildWorld(Game& g, const std::vector<std::string>& rows);

// Puts a piece in the lowest free slot with full strength, full moves and fuel
// (for aircraft the type's fuel attribute), state Ready, destination its own
// cell, then refreshes the cell. Returns the slot.
int AddPiece(Game& g, int type, int owner, int x, int y);
// An owned city (terrain becomes Land) building `production`.
int AddCity(Game& g, int owner, int x, int y, int production = PieceType::Army);

// The picture of the terrain as it stands (for failure messages).
std::string DrawTerrain(const Game& g);

// Hooks that record what the core asked for; message boxes give `answer`.
class RecordingHooks : public PresentationHooks {
 public:
  std::vector<std::string> calls;
  MsgResult answer = MsgResult::Yes;
  void DrawCell(MapPos, bool) override {}
  void ShowExplosion(MapPos pos, Rgb c, int radius) override;
  void PlaySoundEffect(int effect) override;
  void ShowNextPlayerPrompt() override { calls.push_back("NextPlayer"); }
  void ShowEliminatedDialog() override { calls.push_back("Eliminated"); }
  void ShowVictoryDialog() override { calls.push_back("Victory"); }
  void ShowCityDialog(int city) override { calls.push_back("City " + std::to_string(city)); }
  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon, MsgButtons) override;
};

}  // namespace vortan::test
