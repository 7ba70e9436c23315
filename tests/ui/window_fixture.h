// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the window tests (whose main() is window_main.cpp): a main window
// around a game built from an ASCII picture, with every question answered
// from a script.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "model/game.h"
#include "support/world_picture.h"
#include "ui/cursor_store.h"
#include "ui/main_window.h"
#include "ui/picture_store.h"
#include "ui/shell_hooks.h"
#include "ui/sound_player.h"

namespace vortan::test {

// The application's hooks with message boxes, dialogs and announcements recorded and answered, not shown.
class WindowTestHooks : public ShellHooks {
 public:
  using ShellHooks::ShellHooks;
  std::vector<std::string> messages, dialogs, events;  // events: sounds, in order with explosion discs
  std::deque<MsgResult> answers;                       // taken in order; then `answer`
  MsgResult answer = MsgResult::Yes;
  std::deque<std::optional<std::string>> files;  // file dialog choices; none left: cancel
  std::vector<int> citiesOpened;
  int fileDialogs = 0, newGameDialogs = 0;
  bool realNewGameDialog = false, newGameOk = true;

  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon, MsgButtons) override {
    messages.push_back(std::string(caption) + ": " + std::string(text));
    return Take(answers, answer);
  }
  std::optional<std::string> ChooseOpenFile() override { return ++fileDialogs, Take(files, {}); }
  std::optional<std::string> ChooseSaveFile() override { return ++fileDialogs, Take(files, {}); }
  void ShowCityDialog(int city) override { citiesOpened.push_back(city); }
  void ShowNextPlayerPrompt() override { dialogs.push_back("Next player"); }
  void ShowEliminatedDialog() override { dialogs.push_back("Eliminated"); }
  void ShowVictoryDialog() override { dialogs.push_back("Victory"); }
  void PlaySoundEffect(int effect) override { events.push_back("sound " + std::to_string(effect)); }
  bool RunNewGameDialog() override {
    ++newGameDialogs;
    return realNewGameDialog ? ShellHooks::RunNewGameDialog() : newGameOk;
  }

 private:
  template <class T>
  static T Take(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T front = queue.front();
    queue.pop_front();
    return front;
  }
};

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    pictures.LoadBitmaps();
    cursors.LoadCursors();
    window = std::make_unique<MainWindow>(*game, pictures, cursors);
    hooks = std::make_unique<WindowTestHooks>(*game, *window, sound);
    game->hooks = hooks.get();
  }
  void TearDown() override { game->hooks = &game->nullHooks; }

  // A world from the picture, shown whole at the given cell size, viewed by
  // player 0 with the view centred on the middle cell.
  Game& Build(const std::vector<std::string>& rows, int cellSize = 16) {
    BuildWorld(*game, rows);
    SetCellSize(cellSize);
    game->state.viewX = static_cast<int16_t>(game->Width() / 2);
    game->state.viewY = static_cast<int16_t>(game->Height() / 2);
    window->SizeMainWindowForWorld();
    window->show();
    return *game;
  }
  void BuildSea(int side, int cellSize = 16) {
    Build(std::vector<std::string>(side, std::string(side, '.')), cellSize);
    RevealAll();
  }
  void SetCellSize(int cellSize) {
    game->state.tileSize = static_cast<uint8_t>(cellSize);
    game->state.zoomIsWhole = cellSize == 16 || cellSize == 32;
  }
  void RevealAll() {
    for (int y = 0; y < game->Height(); ++y)
      for (int x = 0; x < game->Width(); ++x) game->world.At(x, y).explored = game->world.At(x, y).visible = 1;
  }
  // What the main window shows now, without the go-to line.
  QImage Grab() {
    window->View()->RepaintAll();
    window->View()->EraseGotoLine();
    return window->View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  static bool Uniform(const QImage& img) {
    QImage one(img.size(), QImage::Format_RGB32);
    one.fill(img.pixel(0, 0));
    return img.convertToFormat(QImage::Format_RGB32) == one;
  }
  QRect CellRect(int x, int y) const {
    const ViewFrame v = window->View()->Renderer().Frame();
    return QRect(ScreenX(v, x), ScreenY(v, y), v.cellSize, v.cellSize);
  }
  QImage CellIn(const QImage& shot, int x, int y) const { return shot.copy(CellRect(x, y)); }
  // A picture as a cell of the present size shows it.
  QImage AsCell(const Picture& p, bool mirrored = false, bool inverted = false) const {
    return p.Variant(game->state.tileSize >= 24 ? 2 : 1, mirrored, inverted);
  }
  int Set() const { return game->state.zoomIsWhole ? PictureSet::Large : PictureSet::Small; }
  bool Enabled(int id) { return window->Action(id)->isEnabled(); }
  bool Checked(int id) { return window->Action(id)->isChecked(); }

  std::unique_ptr<Game> game = std::make_unique<Game>();
  PictureStore pictures;
  CursorStore cursors;
  SoundPlayer sound;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<WindowTestHooks> hooks;
};

}  // namespace vortan::test
