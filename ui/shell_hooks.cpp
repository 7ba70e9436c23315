#include "ui/shell_hooks.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "model/game.h"
#include "ui/announcements.h"
#include "ui/city_dialog.h"
#include "ui/file_commands.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/new_game_dialog.h"
#include "ui/sound_player.h"

namespace vortan {

void ShellHooks::DrawCell(MapPos pos, bool fullRepaint) { window_.View()->DrawCell(pos, fullRepaint); }
void ShellHooks::EraseGotoLine() { window_.View()->EraseGotoLine(); }
void ShellHooks::KeepPieceInView() { window_.View()->KeepPieceInView(); }
void ShellHooks::RefreshPieceInfo() { window_.RepaintToolWindow(ToolWindow::PieceInfo); }

bool ShellHooks::IsToolWindowOpen(ToolWindow w) const { return window_.IsToolWindowOpen(w); }
void ShellHooks::RepaintToolWindow(ToolWindow w) { window_.RepaintToolWindow(w); }
void ShellHooks::CloseToolWindow(ToolWindow w) { window_.CloseToolWindow(w); }
void ShellHooks::OpenToolWindow(ToolWindow w) { window_.OpenToolWindow(w); }
void ShellHooks::RecreateProductionWindow() {
  window_.CloseToolWindow(ToolWindow::Production);
  window_.OpenToolWindow(ToolWindow::Production);
  window_.PlaceInfoDialogs();
}

void ShellHooks::ShowExplosion(MapPos pos, Rgb colour, int radius) { window_.View()->ShowExplosion(pos, colour, radius); }
void ShellHooks::PlaySoundEffect(int effect) { sound_.Play(effect, g_.app.soundMode, g_.rng); }

void ShellHooks::ShowNextPlayerPrompt() { RunNextPlayerPrompt(g_, window_.Pictures(), &window_); }
void ShellHooks::ShowEliminatedDialog() { RunEliminatedDialog(g_, window_.Pictures(), &window_); }
void ShellHooks::ShowVictoryDialog() { RunVictoryDialog(g_, window_.Pictures(), &window_); }
void ShellHooks::ShowCityDialog(int cityIndex) { RunCityDialog(g_, window_.Pictures(), cityIndex, &window_); }

bool ShellHooks::RunNewGameDialog() { return vortan::RunNewGameDialog(g_, &window_); }

std::optional<std::string> ShellHooks::ChooseOpenFile() { return ChooseGameFile(&window_, FileDialogKind::Open, g_, leftoverRecoverFile); }

std::optional<std::string> ShellHooks::ChooseSaveFile() { return ChooseGameFile(&window_, FileDialogKind::SaveAs, g_); }

MsgResult ShellHooks::ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon icon,
                                     MsgButtons buttons) {
  static const std::map<MsgIcon, QMessageBox::Icon> kIcons = {
      {MsgIcon::None, QMessageBox::NoIcon},          {MsgIcon::Stop, QMessageBox::Critical},
      {MsgIcon::Exclamation, QMessageBox::Warning},  {MsgIcon::Question, QMessageBox::Question},
      {MsgIcon::Information, QMessageBox::Information}};
  static const std::map<MsgButtons, QMessageBox::StandardButtons> kButtons = {
      {MsgButtons::Ok, QMessageBox::Ok},
      {MsgButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
      {MsgButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
      {MsgButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}};
  window_.View()->EraseGotoLine();
  QMessageBox box(kIcons.at(icon), TranslateMessage(caption), TranslateMessage(text), kButtons.at(buttons), &window_);
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    default: return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
  }
}

void ShellHooks::RepaintMainWindow() { window_.View()->RepaintAll(); }
void ShellHooks::PaintMapBlack() { window_.View()->PaintMapBlack(); }
void ShellHooks::SetScrollBarsForViewer() { window_.View()->SetScrollBarsForViewer(); }
void ShellHooks::EnableMenuItem(int commandId, bool enabled) { window_.EnableMenuItem(commandId, enabled); }
void ShellHooks::CheckMenuItem(int commandId, bool checked) { window_.CheckMenuItem(commandId, checked); }
void ShellHooks::SizeMainWindowForWorld() { window_.SizeMainWindowForWorld(); }
void ShellHooks::PlaceInfoDialogs() { window_.PlaceInfoDialogs(); }

void ShellHooks::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitCursorDepth_;
  } else if (waitCursorDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --waitCursorDepth_;
  }
}

}  // namespace vortan
