// SPDX-License-Identifier: GPL-3.0-or-later
// Game Info: the shown player's city, the day, the difficulty (or "Demo") and
// the size of the world.
#pragma once

#include "ui/tool_windows.h"

namespace vortan {

// The three lines of text, top to bottom.
QString GameInfoDayText(const Game& g);
QString GameInfoLevelText(const Game& g);
QString GameInfoSizeText(const Game& g);

class GameInfoWindow : public ColumnWindow {
  Q_OBJECT
 public:
  GameInfoWindow(const Game& g, const PictureStore& pictures, QWidget* owner)
      : ColumnWindow(ToolWindow::GameInfo, QT_TRANSLATE_NOOP("InfoWindow", "Game Info"), g, pictures, owner) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace vortan
