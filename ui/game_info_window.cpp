// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/game_info_window.h"

#include <QCoreApplication>

namespace vortan {

namespace {
constexpr const char* kLevelTexts[4] = {
    QT_TRANSLATE_NOOP("GameInfoWindow", "Simple   "), QT_TRANSLATE_NOOP("GameInfoWindow", "Easy     "),
    QT_TRANSLATE_NOOP("GameInfoWindow", "Tricky   "), QT_TRANSLATE_NOOP("GameInfoWindow", "Hard     ")};
}

QString GameInfoDayText(const Game& g) {
  return QCoreApplication::translate("GameInfoWindow", "Day %1    ").arg(g.state.day);
}

QString GameInfoLevelText(const Game& g) {
  return g.state.demoMode ? QCoreApplication::translate("GameInfoWindow", "Demo     ")
                          : QCoreApplication::translate("GameInfoWindow", kLevelTexts[g.settings.difficulty & 3]);
}

QString GameInfoSizeText(const Game& g) { return QString::asprintf("%d x %d", g.Width(), g.Height()); }

void GameInfoWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().button());
  if (g_.state.day == 0) return;
  const int w = width(), h = height();
  p.drawImage(2, h / 2 - 24, Symbol(pictures_, ShownPlayer(g_), PieceType::City, 3));
  const int x = w / 2 - 2;
  DrawTextAt(p, x, static_cast<int>(0.08 * h), GameInfoDayText(g_));
  DrawTextAt(p, x, static_cast<int>(0.39 * h), GameInfoLevelText(g_));
  DrawTextAt(p, x, static_cast<int>(0.7 * h), GameInfoSizeText(g_));
}

}  // namespace vortan
