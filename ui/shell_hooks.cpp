// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell_hooks.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "model/game.h"
#include "ui/announcements.h"
#include "ui/city_dialog.h"
#include "ui/event_list.h"
#include "ui/file_commands.h"
#include "ui/main_window.h"
#include "ui/menu_commands.h"
#include "ui/messages.h"
#include "ui/new_game_dialog.h"
#include "ui/sound_player.h"

namespace vortan {
namespace {

// The View menu and the sound and colour options: there is always something to look at.
constexpr int kViewItems[] = {Cmd::PieceInfo, Cmd::Rankings,  Cmd::WorldMap,  Cmd::Production,   Cmd::GameInfo,
                              Cmd::NoSound,   Cmd::PcSpeaker, Cmd::SoundCard, Cmd::ColourMonitor};
// The commands of a game played by hand, grey during a demo.
constexpr int kPlayItems[] = {Cmd::Save,  Cmd::SaveAs,   Cmd::Later,     Cmd::Finished, Cmd::Return,
                              Cmd::Sleep, Cmd::Drop,     Cmd::Surrender, Cmd::EndTurn,  Cmd::CurrentPiece,
                              Cmd::Home,  Cmd::AutoPlay, Cmd::MoveMemory};
// The order commands a human may give the current piece; grey while a
// computer player is on turn.
constexpr int kOrderItems[] = {Cmd::CurrentPiece, Cmd::Drop,  Cmd::Return, Cmd::Later,
                               Cmd::Finished,     Cmd::Sleep, Cmd::EndTurn};
// The orders that mean nothing once the game is over.
constexpr int kItemsOffAfterGame[] = {Cmd::Drop,  Cmd::Return,       Cmd::Later,     Cmd::Finished,
                                      Cmd::Sleep, Cmd::CurrentPiece, Cmd::Surrender, Cmd::EndTurn};

}  // namespace

ShellHooks::ShellHooks(Game& g, MainWindow& window, SoundPlayer& sound) : g_(g), window_(window), sound_(sound) {
  window_.View()->soundOutput = [this](int effect, uint8_t mode, int draw) { sound_.PlayDrawn(effect, mode, draw); };
}

ShellHooks::~ShellHooks() { window_.View()->soundOutput = nullptr; }

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

void ShellHooks::ShowExplosion(MapPos pos, Rgb colour, int radius) {
  window_.View()->ShowExplosion(pos, colour, radius);
}
// The draw is the game's and happens now, in its place among the game's
// draws; the sound itself waits for the explosions queued before it.
void ShellHooks::PlaySoundEffect(int effect) {
  const uint8_t mode = g_.app.soundMode;
  window_.View()->PlaySoundInTurn(effect, mode, SoundPlayer::Draw(effect, mode, g_.rng));
}

void ShellHooks::ShowNextPlayerPrompt() {
  window_.Events().Clear();  // what one human saw is not the next one's business
  RunNextPlayerPrompt(g_, window_.Pictures(), &window_);
}
void ShellHooks::ShowEliminatedDialog() { RunEliminatedDialog(g_, window_.Pictures(), &window_); }
void ShellHooks::ShowVictoryDialog() { RunVictoryDialog(g_, window_.Pictures(), &window_); }
void ShellHooks::ShowCityDialog(int cityIndex) { RunCityDialog(g_, window_.Pictures(), cityIndex, &window_); }

bool ShellHooks::RunNewGameDialog() { return vortan::RunNewGameDialog(g_, &window_); }

std::optional<std::string> ShellHooks::ChooseOpenFile() {
  return ChooseGameFile(&window_, FileDialogKind::Open, g_, leftoverRecoverFile);
}

std::optional<std::string> ShellHooks::ChooseSaveFile() { return ChooseGameFile(&window_, FileDialogKind::SaveAs, g_); }

MsgResult ShellHooks::ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon icon,
                                     MsgButtons buttons) {
  static const std::map<MsgIcon, QMessageBox::Icon> kIcons = {{MsgIcon::None, QMessageBox::NoIcon},
                                                              {MsgIcon::Stop, QMessageBox::Critical},
                                                              {MsgIcon::Exclamation, QMessageBox::Warning},
                                                              {MsgIcon::Question, QMessageBox::Question},
                                                              {MsgIcon::Information, QMessageBox::Information}};
  static const std::map<MsgButtons, QMessageBox::StandardButtons> kButtons = {
      {MsgButtons::Ok, QMessageBox::Ok},
      {MsgButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
      {MsgButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
      {MsgButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}};
  window_.View()->EraseGotoLine();
  QMessageBox box(kIcons.at(icon), TranslateMessage(caption), TranslateMessage(text), kButtons.at(buttons), &window_);
  const int answer = box.exec();
  // Whatever the answer starts (a surrender's explosions) may run without the
  // event loop: the map under the box is painted again now, not later.
  window_.repaint();
  switch (answer) {
    case QMessageBox::Yes:
      return MsgResult::Yes;
    case QMessageBox::No:
      return MsgResult::No;
    case QMessageBox::Cancel:
      return MsgResult::Cancel;
    default:
      return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
  }
}

void ShellHooks::RepaintMainWindow() { window_.View()->RepaintAll(); }
void ShellHooks::PaintMapBlack() { window_.View()->PaintMapBlack(); }
void ShellHooks::SetScrollBarsForViewer() { window_.View()->SetScrollBarsForViewer(); }
void ShellHooks::SizeMainWindowForWorld() { window_.SizeMainWindowForWorld(); }
void ShellHooks::PlaceInfoDialogs() { window_.PlaceInfoDialogs(); }

void ShellHooks::GameSetUp(bool demo, int humansLeft, std::optional<bool> autoPlay, std::optional<bool> moveMemory) {
  window_.View()->DropEffects();  // the explosions of the game replaced
  for (int id : kViewItems) window_.EnableMenuItem(id, true);
  for (int id : kPlayItems) window_.EnableMenuItem(id, !demo);
  if (autoPlay) window_.CheckMenuItem(Cmd::AutoPlay, *autoPlay);
  if (moveMemory) window_.CheckMenuItem(Cmd::MoveMemory, *moveMemory);
  if (humansLeft == 0) {
    window_.EnableMenuItem(Cmd::Surrender, false);
    window_.EnableMenuItem(Cmd::AutoPlay, false);
    window_.EnableMenuItem(Cmd::MoveMemory, false);
  }
  // The Next Player prompt only matters while several humans take turns.
  window_.CheckMenuItem(Cmd::PromptOnNewHuman, humansLeft > 1);
  window_.EnableMenuItem(Cmd::PromptOnNewHuman, humansLeft > 1);
}

void ShellHooks::ZoomChanged(int level) {
  for (int z = 0; z < static_cast<int>(std::size(kZoomCommands)); ++z) {
    window_.EnableMenuItem(kZoomCommands[z], true);
    window_.CheckMenuItem(kZoomCommands[z], z == level);
  }
}

void ShellHooks::OrdersAvailableChanged(bool available) {
  for (int id : kOrderItems) window_.EnableMenuItem(id, available);
}

void ShellHooks::AutoPlayChanged(bool on) { window_.CheckMenuItem(Cmd::AutoPlay, on); }

void ShellHooks::NoHumanLeft() {
  window_.EnableMenuItem(Cmd::Surrender, false);
  window_.EnableMenuItem(Cmd::AutoPlay, false);
}

void ShellHooks::GameOver() {
  for (int id : kItemsOffAfterGame) window_.EnableMenuItem(id, false);
}

void ShellHooks::SoundModeChanged(int mode) {
  for (int m = 0; m < static_cast<int>(std::size(kSoundCommands)); ++m)
    window_.CheckMenuItem(kSoundCommands[m], m == mode);
}

void ShellHooks::ColourChanged(bool colour) { window_.CheckMenuItem(Cmd::ColourMonitor, colour); }

void ShellHooks::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitCursorDepth_;
  } else if (waitCursorDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --waitCursorDepth_;
  }
}

void ShellHooks::ReportCombat(MapPos where, int attacker, int attackerType, int defender, int defenderType,
                              bool defenderDestroyed) {
  window_.Events().Combat(where, attacker, attackerType, defender, defenderType, defenderDestroyed);
}
void ShellHooks::ReportBlast(MapPos where, int owner, int piecesDestroyed) {
  window_.Events().Blast(where, owner, piecesDestroyed);
}
void ShellHooks::ReportCityTaken(MapPos where, int newOwner, int previousOwner) {
  window_.Events().CityTaken(where, newOwner, previousOwner);
}
void ShellHooks::ReportPieceBuilt(MapPos, int owner, int type) { window_.Events().Built(owner, type); }
void ShellHooks::ReportPieceLost(MapPos, int owner, int type, PieceLoss why) {
  window_.Events().Lost(owner, type, why);
}
void ShellHooks::ReportPlayerEliminated(int player) { window_.Events().Eliminated(player); }

void ShellHooks::ReportNoRoute(int piece, MapPos target) {
  window_.Events().Refused(NoRouteReason(g_, piece, target));
  window_.View()->ShowRefusal();
}

void ShellHooks::ReportNoHome(int piece) {
  window_.Events().Refused("No place for this " + PieceName(g_.pieces[piece].type) + " to return to");
  window_.View()->ShowRefusal();
}

}  // namespace vortan
