// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the menu bar, the client area (strip, map, scroll bars),
// the column of tool windows and the one place where commands are carried out.
#pragma once

#include <QAction>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <map>

#include "model/game.h"
#include "ui/cursor_store.h"
#include "ui/event_list.h"
#include "ui/map_view.h"
#include "ui/menu_commands.h"
#include "ui/picture_store.h"

namespace vortan {

class GameLoop;

// Options > Dim remembered cells: an item of the window's own, not of the game.
inline constexpr int kCmdDimRemembered = 167;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Game& g, const PictureStore& pictures, const CursorStore& cursors, QWidget* parent = nullptr);

  MapView* View() const { return view_; }
  const PictureStore& Pictures() const { return pictures_; }
  // The loop that runs the game; held while the map plays an explosion.
  void SetGameLoop(GameLoop* loop);

  // Carries out one command of the menu, the strip or the keyboard.
  void ExecuteCommand(int id);
  // Opens a saved game without asking for it (a file named at start-up).
  void OpenGameFile(const std::string& path);
  // An order or dialog key from the keyboard or the strip.
  void HandleCharacter(QChar c);

  EventList& Events() { return events_; }
  // After the steps of each slice of the game: the pointer, the blinking
  // frame, the line naming whose turn it is.
  void AfterGameSlice();

  QAction* Action(int id) const;
  void EnableMenuItem(int id, bool enabled);
  void CheckMenuItem(int id, bool checked);
  bool IsChecked(int id) const;

  // Sizes and centres the window to show the whole world at the present cell size.
  void SizeMainWindowForWorld();
  void PlaceInfoDialogs();
  // The start-up state of the menu items.
  void SetStartUpMenuState();

  QWidget* ToolWindowWidget(ToolWindow w) const { return tools_[static_cast<size_t>(w)]; }
  bool IsToolWindowOpen(ToolWindow w) const { return ToolWindowWidget(w) != nullptr; }
  void OpenToolWindow(ToolWindow w);
  void CloseToolWindow(ToolWindow w);
  // The window is painted again soon, once however often it is asked for
  // meanwhile: at once after a quiet spell, and no more than every
  // kToolRepaintMs while the game runs on its own.
  void RepaintToolWindow(ToolWindow w);
  static constexpr int kToolRepaintMs = 100;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildMenu();
  void ToggleToolWindow(int id, ToolWindow w);
  void SetZoom(int id);
  void SetSoundMode(int id);
  // The "Save current game?" question; false when the command must not go on.
  bool SaveGuard();
  void CentreView(int x, int y);
  bool IsToolWindow(const QObject* w) const;
  // Activates the main window with the focus on the map.
  void GiveKeysToMap();
  void UpdateToolWindows();

  Game& g_;
  const PictureStore& pictures_;
  const CursorStore& cursors_;
  MapView* view_;
  GameLoop* loop_ = nullptr;
  std::map<int, QAction*> actions_;
  QSize sizedForFrame_;
  std::array<QPointer<QWidget>, 5> tools_{};
  EventList events_;
  int playerShown_ = -1;        // whose turn the side panel names
  unsigned toolsToUpdate_ = 0;  // one bit per ToolWindow
  QTimer toolRepaint_;
  QElapsedTimer sinceToolRepaint_;
};

}  // namespace vortan
