// SPDX-License-Identifier: GPL-3.0-or-later
// Command identifiers shared by the menu, the button strip and the keyboard,
// and the groups of them that the game's events switch together.
#pragma once

#include <iterator>

#include "model/game.h"
#include "model/hooks.h"

namespace vortan {

namespace Cmd {
enum : int {
  New = 101,
  Open = 102,
  Save = 103,
  SaveAs = 104,
  Demo = 105,
  Exit = 106,
  Later = 130,
  Finished = 131,
  Return = 132,
  Sleep = 133,
  Drop = 134,
  Surrender = 135,
  EndTurn = 136,
  PieceInfo = 140,
  Rankings = 141,
  WorldMap = 142,
  Production = 143,
  GameInfo = 144,
  Zoom75 = 145,
  Zoom100 = 146,
  Zoom150 = 147,
  Zoom200 = 148,
  CurrentPiece = 149,
  Home = 150,
  NoSound = 160,
  PcSpeaker = 161,
  SoundCard = 162,
  ColourMonitor = 163,
  PromptOnNewHuman = 164,
  AutoPlay = 165,
  MoveMemory = 166,
  About = 800,
  Rules = 801,
};
}

// The menu items of the zoom levels, in the core's order of kZoomLevels.
inline constexpr int kZoomCommands[] = {Cmd::Zoom75, Cmd::Zoom100, Cmd::Zoom150, Cmd::Zoom200};
static_assert(std::size(kZoomCommands) == std::size(kZoomLevels));

// The sound items, indexed by SoundMode.
inline constexpr int kSoundCommands[] = {Cmd::NoSound, Cmd::PcSpeaker, Cmd::SoundCard};
static_assert(kSoundCommands[SoundMode::Card] == Cmd::SoundCard);

}  // namespace vortan
