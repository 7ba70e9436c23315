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
  ShellHooks(Game& g, MainWindow& window, SoundPlayer& sound) : g_(g), window_(window), sound_(sound) {}

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
  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon icon,
                           MsgButtons buttons) override;

  void RepaintMainWindow() override;
  void PaintMapBlack() override;
  void SetScrollBarsForViewer() override;
  void EnableMenuItem(int commandId, bool enabled) override;
  void CheckMenuItem(int commandId, bool checked) override;
  void SizeMainWindowForWorld() override;
  void PlaceInfoDialogs() override;
  void SetWaitCursor(bool on) override;

 private:
  Game& g_;
  MainWindow& window_;
  SoundPlayer& sound_;
  int waitCursorDepth_ = 0;
};

}  // namespace vortan
