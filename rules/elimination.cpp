// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/elimination.h"

#include <array>

namespace vortan {
namespace {

constexpr int kNoPlayer = -1;

constexpr ToolWindow kWindowsShowingTheGame[] = {ToolWindow::GameInfo, ToolWindow::Rankings, ToolWindow::Production,
                                                 ToolWindow::PieceInfo, ToolWindow::WorldMap};

// Only players taking part are asked about; the others count as owning
// something, so the walk ends once every player taking part has been seen.
std::array<bool, kPlayerCount> PlayersOwningSomething(const Game& g) {
  std::array<bool, kPlayerCount> owns{};
  int unseen = 0;
  for (int p = 0; p < kPlayerCount; ++p) {
    owns[p] = !IsTakingPart(g, p);
    if (!owns[p]) ++unseen;
  }
  for (const PieceRecord& r : g.pieces.slots) {
    if (unseen == 0) break;
    if (r.IsEmpty() || r.owner >= kPlayerCount || owns[r.owner]) continue;
    owns[r.owner] = true;
    --unseen;
  }
  return owns;
}

bool AnyHumanLeft(const Game& g) {
  for (int p = 0; p < kPlayerCount; ++p)
    if (IsHumanPlayer(g, p) && g.state.eliminated[p] == 0) return true;
  return false;
}

void Eliminate(Game& g, int p) {
  g.ui().EraseGotoLine();
  g.ui().RepaintToolWindow(ToolWindow::Rankings);
  if (g.state.demoMode == 0) {
    g.app.lostPlayer = p;
    g.ui().PlaySoundEffect(SoundEffect::Laugh);
    g.ui().ShowEliminatedDialog();
  }
  g.state.eliminated[p] = 1;
  g.ui().ReportPlayerEliminated(p);
  if (IsHumanPlayer(g, p) && !AnyHumanLeft(g)) {
    // Nobody is left to play by hand; the map now shows everything.
    g.ui().NoHumanLeft();
    g.ui().RepaintMainWindow();
  }
}

void StopGame(Game& g) {
  g.state.gameActive = 0;
  g.ui().GameOver();
}

void DeclareWinner(Game& g, int w) {
  g.app.winner = w;
  if (g.keepFinalPosition != nullptr) g.keepFinalPosition(g);
  g.ui().EraseGotoLine();
  g.state.currentPlayer = static_cast<int16_t>(w);
  g.state.viewingPlayer = static_cast<int16_t>(w);
  for (ToolWindow window : kWindowsShowingTheGame) g.ui().RepaintToolWindow(window);
  g.ui().PlaySoundEffect(SoundEffect::Victory);
  g.ui().ShowVictoryDialog();
  StopGame(g);
}

// The one player still taking part, kNoPlayer when none or several are left.
int SoleSurvivor(const Game& g, int& left) {
  left = 0;
  int survivor = kNoPlayer;
  for (int p = 0; p < kPlayerCount; ++p) {
    if (!IsTakingPart(g, p)) continue;
    ++left;
    survivor = p;
  }
  return left == 1 ? survivor : kNoPlayer;
}

}  // namespace

void CheckElimination(Game& g) {
  const std::array<bool, kPlayerCount> owns = PlayersOwningSomething(g);
  for (int p = 0; p < kPlayerCount; ++p)
    if (!owns[p] && IsTakingPart(g, p)) Eliminate(g, p);

  int left = 0;
  const int survivor = SoleSurvivor(g, left);
  if (survivor != kNoPlayer) {
    DeclareWinner(g, survivor);
  } else if (left == 0 && g.state.gameActive == 1) {
    // A blast took the last pieces of the last players together: nobody won.
    g.ui().EraseGotoLine();
    StopGame(g);
  }
}

}  // namespace vortan
