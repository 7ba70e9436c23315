// SPDX-License-Identifier: GPL-3.0-or-later
// The application's answer to every request the game core makes of the user
// interface: drawing, effects, dialogs and the main window's state.
#pragma once

#include <QString>

#include "model/hooks.h"

namespace vortan {

struct Game;
class MainWindow;
class SoundPlayer;

class ShellHooks : public PresentationHooks {
 public:
  ShellHooks(Game& g, MainWindow& window, SoundPlayer& sound);
  ~ShellHooks() override;

  void DrawCell(MapPos pos, bool fullRepaint) override;
  void EraseGotoLine() override;
  void KeepPieceInView() override;
  void RefreshPieceInfo() override;

  bool IsToolWindowOpen(ToolWindow w) const override;
  void RepaintToolWindow(ToolWindow w) override;
  void CloseToolWindow(ToolWindow w) override;
  void OpenToolWindow(ToolWindow w) override;
  void RecreateProductionWindow() override;

  void ShowExplosion(MapPos pos, Rgb colour, int radius) override;
  void PlaySoundEffect(int effect) override;

  void ShowNextPlayerPrompt() override;
  void ShowEliminatedDialog() override;
  void ShowVictoryDialog() override;
  void ShowCityDialog(int cityIndex) override;
  bool RunNewGameDialog() override;
  std::optional<std::string> ChooseOpenFile() override;
  // A recovery file found at start-up, offered by Open while it is there.
  QString leftoverRecoverFile;
  std::optional<std::string> ChooseSaveFile() override;
  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon icon, MsgButtons buttons) override;

  void RepaintMainWindow() override;
  void PaintMapBlack() override;
  void SetScrollBarsForViewer() override;
  void SizeMainWindowForWorld() override;
  void PlaceInfoDialogs() override;
  void SetWaitCursor(bool on) override;

  // The game's events switch menu items on and off and set their check marks.
  void GameSetUp(bool demo, int humansLeft, std::optional<bool> autoPlay, std::optional<bool> moveMemory) override;
  void ZoomChanged(int level) override;
  void OrdersAvailableChanged(bool available) override;
  void AutoPlayChanged(bool on) override;
  void NoHumanLeft() override;
  void GameOver() override;
  void SoundModeChanged(int mode) override;
  void ColourChanged(bool colour) override;
  void ReportCombat(MapPos where, int attacker, int attackerType, int defender, int defenderType,
                    bool defenderDestroyed) override;
  void ReportBlast(MapPos where, int owner, int piecesDestroyed) override;
  void ReportCityTaken(MapPos where, int newOwner, int previousOwner) override;
  void ReportPieceBuilt(MapPos where, int owner, int type) override;
  void ReportPieceLost(MapPos where, int owner, int type, PieceLoss why) override;
  void ReportPlayerEliminated(int player) override;
  void ReportNoRoute(int piece, MapPos target) override;
  void ReportNoHome(int piece) override;

 private:
  Game& g_;
  MainWindow& window_;
  SoundPlayer& sound_;
  int waitCursorDepth_ = 0;
};

}  // namespace vortan
