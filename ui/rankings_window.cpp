// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rankings_window.h"

namespace vortan {

namespace {

// Points of each piece type (City, Army, Destroyer, Fighter, Bomber,
// Battleship, Carrier, Submarine, Transport, Paras) in each category.
constexpr int kPoints[RankingCategory::Count][kTypeCount] = {
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 1, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 5, 0, 0, 10, 10, 5, 1, 0},
    {0, 0, 0, 5, 1, 0, 0, 0, 0, 1},
};

struct RowLook {
  double top;        // share of the client height
  int symbol;        // the piece drawn for a player
  bool tieToHigher;  // equal scores: the higher-numbered player first
};
constexpr RowLook kRows[RankingCategory::Count] = {
    {0.1, PieceType::City, false},
    {0.38, PieceType::Army, true},
    {0.59, PieceType::Destroyer, false},
    {0.8, PieceType::Fighter, true},
};

}  // namespace

RankingScores ScoreRankings(const PieceTable& pieces) {
  RankingScores scores{};
  for (const PieceRecord& r : pieces.slots) {
    if (r.IsEmpty() || r.type >= kTypeCount || r.owner >= kPlayerCount) continue;
    for (int c = 0; c < RankingCategory::Count; ++c) scores[c][r.owner] += kPoints[c][r.type];
  }
  return scores;
}

RankingOrder RankPlayers(RankingScores scores) {
  RankingOrder order{};
  for (int c = 0; c < RankingCategory::Count; ++c) {
    auto& left = scores[c];
    for (int place = 0; place < kPlayerCount; ++place) {
      int best = 0;
      for (int p = 1; p < kPlayerCount; ++p)
        if (left[p] > left[best] || (kRows[c].tieToHigher && left[p] == left[best])) best = p;
      if (left[best] < 1) {
        order[c][place] = kNoRank;
        continue;
      }
      order[c][place] = best;
      left[best] = 0;
    }
  }
  return order;
}

void RankingsWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const int w = width(), h = height();
  const RankingOrder order = RankPlayers(ScoreRankings(g_.pieces));
  const QImage& blank = pictures_.BlankWhite(PictureSet::Large).Variant(1, false, false);
  for (int c = 0; c < RankingCategory::Count; ++c) {
    const int y = static_cast<int>(kRows[c].top * h);
    for (int place = 0; place < kPlayerCount; ++place) {
      const int x = w * place / kPlayerCount + 1;
      const int player = order[c][place];
      p.drawImage(x, y, player == kNoRank ? blank : Symbol(pictures_, player, kRows[c].symbol));
    }
  }
}

}  // namespace vortan
