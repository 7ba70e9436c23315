// A main window played as a person plays it: mouse and keys sent to the map,
// menu commands triggered, and every question, file dialog and the New Game
// dialog answered from a script instead of waiting for a person.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <deque>
#include <functional>

#include "window_fixture.h"

namespace vortan::test {

class ScriptedHooks : public WindowTestHooks {
 public:
  using WindowTestHooks::WindowTestHooks;
  std::deque<MsgResult> answers;            // taken in order; then `answer`
  std::deque<std::optional<std::string>> files;   // file dialog choices; empty: cancel
  int fileDialogs = 0;
  std::vector<int> citiesOpened;
  // Set to drive the real New Game dialog; otherwise the dialog says `newGameOk`.
  bool realNewGameDialog = false;
  bool newGameOk = true;
  int newGameDialogs = 0;

  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon icon, MsgButtons b) override {
    WindowTestHooks::ShowMessageBox(caption, text, icon, b);
    if (answers.empty()) return answer;
    const MsgResult r = answers.front();
    answers.pop_front();
    return r;
  }
  std::optional<std::string> ChooseOpenFile() override { return NextFile(); }
  std::optional<std::string> ChooseSaveFile() override { return NextFile(); }
  void ShowCityDialog(int city) override { citiesOpened.push_back(city); }
  std::vector<std::string> dialogs;   // the hand-over, elimination and victory dialogs shown
  void ShowNextPlayerPrompt() override { dialogs.push_back("Next player"); }
  void ShowEliminatedDialog() override { dialogs.push_back("Eliminated"); }
  void ShowVictoryDialog() override { dialogs.push_back("Victory"); }
  bool RunNewGameDialog() override {
    ++newGameDialogs;
    return realNewGameDialog ? ShellHooks::RunNewGameDialog() : newGameOk;
  }

 private:
  std::optional<std::string> NextFile() {
    ++fileDialogs;
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
};

class PlayFixture : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    scripted = std::make_unique<ScriptedHooks>(*game, *window, sound);
    game->hooks = scripted.get();
  }

  MapView* View() { return window->View(); }
  QPoint CellCentre(int x, int y) { return CellRect(x, y).center(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, QPointF(at), View()->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                  held, mods);
    QCoreApplication::sendEvent(View(), &e);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, at, button, mods);
    Mouse(QEvent::MouseButtonRelease, at, button, mods);
  }
  void Key(int key, const QString& text = QString()) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(View(), &e);
  }
  void Type(char c) { Key(QChar(c).toUpper().unicode(), QString(QChar(c))); }
  // Lets posted commands (the strip's) run.
  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  // Makes piece the current piece of its (Human) owner, waiting for an order.
  void AwaitOrders(int piece) {
    game->state.currentPiece = static_cast<int16_t>(piece);
    game->state.currentPlayer = game->pieces[piece].owner;
    game->pieces[piece].state = PieceState::AwaitingOrders;
  }
  bool Enabled(int id) { return window->Action(id)->isEnabled(); }
  bool Checked(int id) { return window->Action(id)->isChecked(); }
  // Answers the next modal dialog (or message box) that opens, from inside its loop.
  void WhenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal) act(modal);
    });
  }

  std::unique_ptr<ScriptedHooks> scripted;
};

}  // namespace vortan::test
