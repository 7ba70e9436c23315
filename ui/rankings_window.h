// SPDX-License-Identifier: GPL-3.0-or-later
// Rankings: for cities, troops, sea and air, the players in order of their
// scores, blanks for players with nothing in the category.
#pragma once

#include <array>

#include "ui/tool_windows.h"

namespace vortan {

namespace RankingCategory {
enum : int { Cities = 0, Troops, Sea, Air, Count };
}
inline constexpr int kNoRank = -1;

using RankingScores = std::array<std::array<int, kPlayerCount>, RankingCategory::Count>;
using RankingOrder = std::array<std::array<int, kPlayerCount>, RankingCategory::Count>;

// Every piece's points for its owner, by category.
RankingScores ScoreRankings(const PieceTable& pieces);
// The players in each row, best first; kNoRank for a blank place. Ties go to
// the lower player for cities and sea, to the higher for troops and air.
RankingOrder RankPlayers(RankingScores scores);

class RankingsWindow : public ColumnWindow {
  Q_OBJECT
 public:
  RankingsWindow(const Game& g, const PictureStore& pictures, QWidget* owner)
      : ColumnWindow(ToolWindow::Rankings, QT_TRANSLATE_NOOP("InfoWindow", "Rankings"), g, pictures, owner) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace vortan
