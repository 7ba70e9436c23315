// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the game core asks of the user interface goes through this one
// interface. The core never draws, plays a sound or opens a window itself.
// NullHooks does nothing: message boxes answer at once, optional windows are
// closed, modal dialogs return immediately. Tests and vortan-sim use it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/records.h"

namespace vortan {

enum class ToolWindow { GameInfo, Rankings, PieceInfo, Production, WorldMap };

namespace SoundEffect {
enum : uint8_t { Bomber = 0, Tank, Ship, Distant, Fighter, Para, Laugh, Victory };
}

namespace SoundMode {
enum : uint8_t { None = 0, Speaker = 1, Card = 2 };
}

struct Rgb {
  uint8_t r, g, b;
};
inline constexpr Rgb kExplosionRed{255, 0, 0};
inline constexpr Rgb kExplosionYellow{255, 255, 0};
inline constexpr Rgb kExplosionOrange{255, 128, 0};

// Why a piece was lost other than in a fight.
enum class PieceLoss { OutOfFuel, SankWithShip };

enum class MsgIcon { None, Stop, Exclamation, Question, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

class PresentationHooks {
 public:
  virtual ~PresentationHooks() = default;

  // Map view.
  // Redraws one cell from the records.
  virtual void DrawCell(MapPos /*pos*/, bool /*fullRepaint*/) {}
  // Removes the line drawn from the current piece towards a destination being chosen.
  virtual void EraseGotoLine() {}
  // Scrolls the map, if need be, so the current piece of a human on turn is in sight.
  virtual void KeepPieceInView() {}
  // Redraws the piece information window for the current piece.
  virtual void RefreshPieceInfo() {}

  // Tool windows: a repaint request does nothing for a closed window.
  virtual bool IsToolWindowOpen(ToolWindow /*w*/) const { return false; }
  virtual void RepaintToolWindow(ToolWindow /*w*/) {}
  // Closing a closed window and opening an open one do nothing.
  virtual void CloseToolWindow(ToolWindow /*w*/) {}
  virtual void OpenToolWindow(ToolWindow /*w*/) {}
  // A new game replaces the production list: close it if open and create it anew.
  virtual void RecreateProductionWindow() {}

  // Effects. Neither waits: the explosion's frames follow at their own pace
  // and its cells are redrawn when it is over, and a sound plays in turn
  // after the explosions asked for before it. The game holds its next step
  // until they are done.
  virtual void ShowExplosion(MapPos /*pos*/, Rgb /*colour*/, int /*radius*/) {}
  virtual void PlaySoundEffect(int /*effect*/) {}

  // Modal dialogs.
  virtual void ShowNextPlayerPrompt() {}
  virtual void ShowEliminatedDialog() {}  // names AppShared::lostPlayer
  virtual void ShowVictoryDialog() {}     // names AppShared::winner
  virtual void ShowCityDialog(int /*cityIndex*/) {}
  // The New Game dialog edits Game::settings in place; true for OK.
  virtual bool RunNewGameDialog() { return true; }
  // File dialogs; std::nullopt when the user cancels.
  virtual std::optional<std::string> ChooseOpenFile() { return std::nullopt; }
  virtual std::optional<std::string> ChooseSaveFile() { return std::nullopt; }
  // Shows a message and waits for a button; without a user interface the
  // affirmative answer (OK or Yes) is taken.
  virtual MsgResult ShowMessageBox(std::string_view /*caption*/, std::string_view /*text*/, MsgIcon /*icon*/,
                                   MsgButtons buttons) {
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Yes;
  }

  // Main window.
  virtual void RepaintMainWindow() {}
  // Blanks the map area, so nothing of one player's view shows to the next.
  virtual void PaintMapBlack() {}
  // Sets the scroll ranges for the map and scrolls to the viewing player's view.
  virtual void SetScrollBarsForViewer() {}
  // Fits the main window to the map size of the game just set up.
  virtual void SizeMainWindowForWorld() {}
  // Opens the information windows and places them beside the main window.
  virtual void PlaceInfoDialogs() {}
  // Shows the busy cursor while a world is generated, and takes it away again.
  virtual void SetWaitCursor(bool /*on*/) {}

  // What happened in the game, for the menus and buttons that depend on it.
  // A game is in the window: a demo or not, how many humans still take part,
  // and the viewer's Auto Play and Move Memory choices (unset in a demo or
  // without a viewing player).
  virtual void GameSetUp(bool /*demo*/, int /*humansLeft*/, std::optional<bool> /*autoPlay*/,
                         std::optional<bool> /*moveMemory*/) {}
  // The map is shown at kZoomLevels[level].
  virtual void ZoomChanged(int /*level*/) {}
  // The viewing human can (or can no longer) give orders to pieces.
  virtual void OrdersAvailableChanged(bool /*available*/) {}
  // Auto Play is now on or off for the viewing player.
  virtual void AutoPlayChanged(bool /*on*/) {}
  // The last human taking part was eliminated; computers play on.
  virtual void NoHumanLeft() {}
  // The game is over (won, or nobody left) and takes no more orders.
  virtual void GameOver() {}
  // The saved options chose a SoundMode and colour or monochrome display.
  virtual void SoundModeChanged(int /*mode*/) {}
  virtual void ColourChanged(bool /*colour*/) {}
  // What happened, told after the records have changed, for the player's list
  // of recent events. The user interface decides what the viewing player may
  // know of it; telling never changes the game.
  // One blow of an attack: the defender lost strength, or was destroyed.
  virtual void ReportCombat(MapPos /*where*/, int /*attacker*/, int /*attackerType*/, int /*defender*/,
                            int /*defenderType*/, bool /*defenderDestroyed*/) {}
  // A bomber's blast: the bomber and everything within its radius are gone.
  virtual void ReportBlast(MapPos /*where*/, int /*owner*/, int /*piecesDestroyed*/) {}
  // previousOwner is -1 for a neutral city.
  virtual void ReportCityTaken(MapPos /*where*/, int /*newOwner*/, int /*previousOwner*/) {}
  // A city finished a piece of the type.
  virtual void ReportPieceBuilt(MapPos /*where*/, int /*owner*/, int /*type*/) {}
  // A piece was lost outside combat: out of fuel, or sunk with the ship carrying it.
  virtual void ReportPieceLost(MapPos /*where*/, int /*owner*/, int /*type*/, PieceLoss /*why*/) {}
  // The player has just been marked eliminated.
  virtual void ReportPlayerEliminated(int /*player*/) {}
  // A human's piece was given an order it cannot carry out.
  virtual void ReportNoRoute(int /*piece*/, MapPos /*target*/) {}
  // A human's returning piece found no base, or no way to one.
  virtual void ReportNoHome(int /*piece*/) {}
};

using NullHooks = PresentationHooks;

}  // namespace vortan
