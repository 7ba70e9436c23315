// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/turn_loop.h"

#include <array>
#include <cstdint>
#include <span>

#include "ai/computer_turn.h"
#include "game/piece_steps.h"
#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "rules/elimination.h"
#include "rules/movement.h"
#include "rules/production.h"
#include "rules/visibility.h"

namespace vortan {
namespace {

// The windows the Next Player prompt hides, so the previous player's map and
// pieces are not shown to the next one.
constexpr ToolWindow kWindowsHiddenByPrompt[] = {ToolWindow::PieceInfo, ToolWindow::Production, ToolWindow::WorldMap};

// The search for a movable piece runs through turn starts and days until some
// player can move, after a victory too, until the winner can. When nothing can
// move for a long time (only sleeping pieces and no city, or a winner with
// nothing that will ever move) control goes back to the message loop instead
// of hanging the program. No city takes this long to build.
constexpr int kDaysBeforeYield = 64;

// A piece whose steps go on changing nothing (not its cell, moves, fuel or
// strength, nor whose turn it is) is caught in a cycle of orders, for instance
// a fighter torn between an enemy and its carrier. After this many such steps
// in a row its moves end for the turn. No piece of an ordinary game takes even
// a handful of idle steps in a row.
constexpr int kStillStepsBeforeStop = 64;

constexpr int16_t kLastDay = INT16_MAX;

class ReentryGuard {
 public:
  explicit ReentryGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~ReentryGuard() { flag_ = false; }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;

 private:
  bool& flag_;
};

bool AnyPlayerTakingPart(const Game& g) {
  for (int p = 0; p < kPlayerCount; ++p)
    if (IsTakingPart(g, p)) return true;
  return false;
}

bool IsLivePieceOf(const Game& g, int piece, int player) {
  if (piece < 0 || piece >= kPieceSlots) return false;
  const PieceRecord& r = g.pieces[piece];
  return !r.IsEmpty() && r.owner == player;
}

void ForgetDestination(PieceRecord& r) {
  r.destX = r.x;
  r.destY = r.y;
}

// --- StartPlayerTurn steps ---

void AdvanceToNextPlayer(Game& g) {
  g.state.currentPlayer = static_cast<int16_t>(g.state.currentPlayer + 1);
  if (g.state.currentPlayer > kPlayerCount - 1) StartNewDay(g);
}

bool TopIsCityOf(const Game& g, int x, int y, int player) {
  const MapCell& c = g.world.At(x, y);
  return c.topType == PieceType::City && c.topOwner == player;
}

// The player's slots in table order. Most slots of the table belong to others
// or to nobody, and the turn's start walks the player's pieces several times:
// they are listed once, in a pass without branches.
struct OwnSlots {
  std::array<int16_t, kPieceSlots> slots;
  int count = 0;
  template <typename F>
  void ForEach(F&& f) const {
    for (int k = 0; k < count; ++k) f(slots[k]);
  }
};

void ListOwnSlots(const Game& g, int player, int slotsInUse, OwnSlots& own) {
  int count = 0;
  for (int i = 0; i < slotsInUse; ++i) {
    const PieceRecord& r = g.pieces[i];
    own.slots[count] = static_cast<int16_t>(i);
    count += static_cast<int>(!r.IsEmpty() & (r.owner == player));
  }
  own.count = count;
}

// A day's repair for a piece at a base: a ship beside one of its owner's
// cities (once for each), a fighter on a city or carrier, anything else on a city.
void RepairAtBase(Game& g, int piece, int player) {
  const PieceRecord& r = g.pieces[piece];
  const uint8_t top = g.world.At(r.x, r.y).topType;
  if (IsShipType(r.type)) {
    ForEachInBlock3(g.settings, r.x, r.y, [&](int x, int y) {
      if (TopIsCityOf(g, x, y, player)) RepairPiece(g, piece);
    });
  } else if (r.type == PieceType::Fighter) {
    if (top == PieceType::City || top == PieceType::Carrier) RepairPiece(g, piece);
  } else if (top == PieceType::City) {
    RepairPiece(g, piece);
  }
}

// The turn's start for each of the player's pieces, in one pass over the
// table since each step touches the piece alone: pieces awaiting orders are
// woken, destinations forgotten without move memory, pieces at a base
// repaired, and a computer's orders cleared (it decides every piece afresh
// each turn).
void PreparePieces(Game& g, int player, const OwnSlots& own) {
  const bool forget = g.state.moveMemory[player] == 0;
  const bool computer = IsComputerControlled(g, player);
  own.ForEach([&](int i) {
    PieceRecord& r = g.pieces[i];
    const bool woken = r.state == PieceState::AwaitingOrders;
    const bool cleared = computer && r.state != PieceState::Returning;
    if (woken || cleared) r.state = PieceState::Ready;
    if (woken || cleared || forget) ForgetDestination(r);
    RepairAtBase(g, i, player);  // strength alone: the order of the steps does not matter
  });
}

void SendLowFuelAircraftHome(Game& g, const OwnSlots& own) {
  own.ForEach([&](int i) {
    PieceRecord& r = g.pieces[i];
    const MapCell& c = g.world.At(r.x, r.y);
    const bool low = (r.type == PieceType::Fighter && r.fuel < c.fighterRange) ||
                     ((r.type == PieceType::Bomber || r.type == PieceType::Para) && r.fuel < c.bomberRange);
    if (low) r.state = PieceState::Returning;
  });
}

void RunProduction(Game& g, const OwnSlots& own) {
  own.ForEach([&](int i) {
    if (g.pieces[i].type == PieceType::City) RunCityProduction(g, i);
  });
}

// The pieces just built are not listed: they come with their full moves already.
void GiveMoves(Game& g, const OwnSlots& own) {
  own.ForEach([&](int i) {
    PieceRecord& r = g.pieces[i];
    if (r.type == PieceType::City) return;
    int moves = g.settings.moves[r.type];
    if (IsShipType(r.type)) moves = ShipMovesForStrength(moves, r.strength);
    r.movesLeft = static_cast<uint8_t>(moves);
  });
}

// The turn's start, given a bound on the slots in use: any count at least
// that of the last slot in use will do, as the slots past it are empty.
void StartPlayerTurnWithin(Game& g, int slotsInUse) {
  if (!AnyPlayerTakingPart(g)) {
    g.state.gameActive = 0;
    return;
  }
  g.state.currentPiece = 0;
  AdvanceToNextPlayer(g);
  while (!IsTakingPart(g, g.state.currentPlayer)) AdvanceToNextPlayer(g);
  const int player = g.state.currentPlayer;

  if (player == g.state.viewingPlayer || g.state.demoMode != 0) {
    g.ui().RepaintToolWindow(ToolWindow::WorldMap);
    g.ui().RepaintToolWindow(ToolWindow::GameInfo);
  }
  CheckElimination(g);
  g.app.endTurnRequested = 0;
  if (IsHumanPlayer(g, player)) g.ui().RepaintToolWindow(ToolWindow::GameInfo);
  // Nothing below takes a piece away or hands one over; production adds some.
  OwnSlots own;
  ListOwnSlots(g, player, slotsInUse, own);
  PreparePieces(g, player, own);
  if (IsComputerControlled(g, player)) UpdateLandMassStatus(g, player, slotsInUse);
  RecomputeRefuelMaps(g, std::span<const int16_t>(own.slots.data(), static_cast<std::size_t>(own.count)));
  SendLowFuelAircraftHome(g, own);
  if (g.state.day != 1) RunProduction(g, own);
  GiveMoves(g, own);
}

// The quick part of CanMove, which rules out most slots of the table: the
// player's own piece, not a city, with moves left. The search for the next
// piece asks it inline before the whole of CanMove.
bool MayMove(const PieceRecord& r, int player) {
  return r.owner == player && r.movesLeft != 0 && r.type != PieceType::City && !r.IsEmpty();
}

// The first slot of [from, to) whose piece can move, or `to` when none can.
int FirstMovableIn(const Game& g, int from, int to) {
  const int player = g.state.currentPlayer;
  for (int i = from; i < to; ++i)
    if (MayMove(g.pieces[i], player) && CanMove(g, i)) return i;
  return to;
}

// --- NextPiece helpers ---

// Draws the current piece's cell without the highlight of the current piece.
void DrawCellUnhighlighted(Game& g, MapPos pos) {
  const int16_t saved = g.state.currentPiece;
  g.state.currentPiece = kPieceSlots - 1;
  g.ui().DrawCell(pos, false);
  g.state.currentPiece = saved;
}

bool HumanHoldsOwnPiece(const Game& g) {
  const int player = g.state.currentPlayer;
  return IsHumanPlayer(g, player) && IsLivePieceOf(g, g.state.currentPiece, player);
}

// Between its turns a player's visible mask shows what its pieces saw when
// the turn ended, not what they passed earlier in the turn. Returns the slots
// in use, which the next turn's start takes over.
int RecordEndOfTurnSight(Game& g) {
  const int player = g.state.currentPlayer;
  const uint8_t bit = static_cast<uint8_t>(g.state.playerBit[player]);
  const auto keep = static_cast<uint8_t>(~bit);
  // The map's size in locals: the cell writes could otherwise change it, as far as the compiler knows.
  const int width = g.Width(), height = g.Height();
  for (int y = 0; y < height; ++y) {
    MapCell* row = &g.world.At(0, y);
#pragma GCC unroll 4
    for (int x = 0; x < width; ++x) row[x].visible &= keep;
  }
  const int slotsInUse = SlotsInUse(g.pieces);
  for (int i = 0; i < slotsInUse; ++i)
    if (IsLivePieceOf(g, i, player)) UpdateSight(g, i, g.pieces[i].Pos(), false);
  return slotsInUse;
}

// --- HandOverTurn helpers ---

void SwitchViewTo(Game& g, int player) {
  GameState& s = g.state;
  s.savedViewX[s.viewingPlayer] = s.viewX;
  s.savedViewY[s.viewingPlayer] = s.viewY;
  s.viewingPlayer = static_cast<int16_t>(player);
  s.viewX = s.savedViewX[player];
  s.viewY = s.savedViewY[player];
  g.ui().SetScrollBarsForViewer();
  g.ui().RepaintToolWindow(ToolWindow::GameInfo);
  g.ui().RepaintToolWindow(ToolWindow::Rankings);
}

// Returns whether the tool windows were closed and reopened around the prompt.
bool PromptNextHuman(Game& g) {
  if (!g.app.promptOnNewHuman) {
    g.ui().RepaintMainWindow();
    return false;
  }
  bool closed[std::size(kWindowsHiddenByPrompt)] = {};
  g.ui().PaintMapBlack();
  for (std::size_t k = 0; k < std::size(kWindowsHiddenByPrompt); ++k) {
    if (!g.ui().IsToolWindowOpen(kWindowsHiddenByPrompt[k])) continue;
    g.ui().CloseToolWindow(kWindowsHiddenByPrompt[k]);
    closed[k] = true;
  }
  g.ui().ShowNextPlayerPrompt();
  g.ui().RepaintMainWindow();
  for (std::size_t k = 0; k < std::size(kWindowsHiddenByPrompt); ++k)
    if (closed[k]) g.ui().OpenToolWindow(kWindowsHiddenByPrompt[k]);
  return true;
}

void ChooseFirstProductions(Game& g, int player) {
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.type == PieceType::City && r.owner == player) ChooseProduction(g, i);
  }
}

void HandOverToHuman(Game& g, int player) {
  bool reopened = false;
  if (player != g.state.viewingPlayer || g.state.day == 1) {
    SwitchViewTo(g, player);
    reopened = PromptNextHuman(g);
  }
  g.ui().RepaintToolWindow(ToolWindow::Rankings);
  if (!reopened) {
    g.ui().RepaintToolWindow(ToolWindow::Production);
    g.ui().RepaintToolWindow(ToolWindow::WorldMap);
  }
  if (g.state.day == 1) ChooseFirstProductions(g, player);
  g.ui().OrdersAvailableChanged(true);
}

// --- AdvanceGame helpers ---

void ShowPieceInfoForNewPiece(Game& g) {
  if (g.state.currentPiece == g.lastShownPiece) return;
  const bool humanWatching = g.ui().IsToolWindowOpen(ToolWindow::PieceInfo) && IsHumanPlayer(g, g.state.currentPlayer);
  if (!humanWatching && g.state.demoMode == 0) return;
  g.ui().RepaintToolWindow(ToolWindow::PieceInfo);
  g.lastShownPiece = g.state.currentPiece;
}

void LoseAircraft(Game& g, int piece) {
  PieceRecord& r = g.pieces[piece];
  const int type = r.type;
  r.type = PieceType::None;
  RefreshFiledCell(g, r.Pos());
  g.ui().ReportPieceLost(r.Pos(), r.owner, type, PieceLoss::OutOfFuel);
  g.ui().ShowExplosion(r.Pos(), kExplosionRed, 1);
  CheckElimination(g);
}

void StepReadyPiece(Game& g, int piece) {
  PieceRecord& r = g.pieces[piece];
  if (!(r.Dest() == r.Pos())) {
    GoToStep(g, piece);
    return;
  }
  r.state = PieceState::AwaitingOrders;
  if (!IsComputerControlled(g, g.state.currentPlayer)) g.ui().KeepPieceInView();
}

// What a step must change to count as progress. Whole ints: a mark packed
// from narrow fields is put together through the stack and read back in
// wider pieces than were written, which stalls the processor.
struct StepMark {
  int piece, player, day;
  int type, x, y, movesLeft;
  int strength, fuel;
  bool operator==(const StepMark&) const = default;
};

StepMark MarkOf(const Game& g, int piece) {
  const PieceRecord& r = g.pieces[piece];
  return {g.state.currentPiece, g.state.currentPlayer, g.state.day, r.type, r.x, r.y, r.movesLeft, r.strength, r.fuel};
}

bool WaitsForHuman(const Game& g, int piece) {
  return g.pieces[piece].state == PieceState::AwaitingOrders && !IsComputerControlled(g, g.state.currentPlayer);
}

void WatchForStillSteps(Game& g, int piece, const StepMark& before) {
  if (!(MarkOf(g, piece) == before) || WaitsForHuman(g, piece)) {
    g.stillSteps = 0;
    return;
  }
  if (++g.stillSteps < kStillStepsBeforeStop) return;
  g.stillSteps = 0;
  g.pieces[piece].movesLeft = 0;
}

void DecideWaitingPiece(Game& g) {
  if (!IsComputerControlled(g, g.state.currentPlayer)) return;  // a human gives the order
  if (LandParasIfUseful(g) == 0) DecideComputerPiece(g);
}

}  // namespace

bool IsArmyBoxedIn(const Game& g, int piece) {
  const PieceRecord& r = g.pieces[piece];
  const int player = g.state.currentPlayer;
  const int xs[3] = {WrapX(g.settings, r.x - 1), r.x, WrapX(g.settings, r.x + 1)};
  const int ys[3] = {WrapY(g.settings, r.y - 1), r.y, WrapY(g.settings, r.y + 1)};
  // Boxed in when every cell of the block is closed; the first open one settles it.
  for (int x : xs)
    for (int y : ys) {
      const MapCell& c = g.world.At(x, y);
      const bool closed = c.terrain == Terrain::Sea || c.terrain == Terrain::Mountain ||
                          (c.topType == PieceType::Army && c.topOwner == player);
      if (!closed) return false;
    }
  return true;
}

bool CanMove(const Game& g, int piece) {
  if (piece < 0 || piece >= kPieceSlots) return false;
  const PieceRecord& r = g.pieces[piece];
  if (!MayMove(r, g.state.currentPlayer) || r.state == PieceState::Asleep) return false;
  return r.type != PieceType::Army || !IsArmyBoxedIn(g, piece);
}

void AdvanceGame(Game& g) {
  if (g.state.gameActive != 1 || g.insideAdvanceGame) return;
  ReentryGuard guard(g.insideAdvanceGame);
  if (!CanMove(g, g.state.currentPiece)) {
    NextPiece(g, false);
    if (g.state.gameActive != 1) return;
    if (!CanMove(g, g.state.currentPiece)) return;  // nothing can move yet; try again when idle
  }

  ShowPieceInfoForNewPiece(g);
  const int piece = g.state.currentPiece;
  if (IsAirType(g.pieces[piece].type) && !RefuelAircraft(g, piece)) {
    LoseAircraft(g, piece);
    return;
  }
  const StepMark before = MarkOf(g, piece);
  switch (g.pieces[piece].state) {
    case PieceState::Ready:
      StepReadyPiece(g, piece);
      break;
    case PieceState::Returning:
      ReturnStep(g, piece);
      break;
    default:
      DecideWaitingPiece(g);
      break;
  }
  WatchForStillSteps(g, piece, before);
}

bool SelectNewPiece(Game& g, bool later) {
  if (g.state.currentPiece < 0 || g.state.currentPiece >= kPieceSlots) {
    g.ui().ShowMessageBox("Error", "Problem with FindNewPiece", MsgIcon::Stop, MsgButtons::Ok);
    g.state.currentPiece = 0;
  }
  const int old = g.state.currentPiece;
  if (IsHumanPlayer(g, g.state.currentPlayer) && !later) {
    int best = g.Width() + g.Height();
    for (int i = 0; i < kPieceSlots; ++i) {
      if (i == old || !CanMove(g, i)) continue;
      const int d = WrapDistance(g.settings, g.pieces[i].Pos(), g.lastSelectedPos);
      if (d < best) {
        g.state.currentPiece = static_cast<int16_t>(i);
        best = d;
      }
    }
  }
  if (g.state.currentPiece == old) {
    // The next movable piece after the old one, round the table back to the
    // old one itself when no other can move.
    int i = FirstMovableIn(g, old + 1, kPieceSlots);
    if (i == kPieceSlots) i = FirstMovableIn(g, 0, old);
    g.state.currentPiece = static_cast<int16_t>(i);
  }
  if (g.state.currentPiece == old && !CanMove(g, old)) return false;
  g.lastSelectedPos = g.pieces[g.state.currentPiece].Pos();
  return true;
}

void NextPiece(Game& g, bool later) {
  const int current = g.state.currentPiece;
  const int player = g.state.currentPlayer;
  if (IsLivePieceOf(g, current, player) && g.pieces[current].type == PieceType::Carrier) RecomputeFighterMap(g);
  if (HumanHoldsOwnPiece(g)) DrawCellUnhighlighted(g, g.pieces[current].Pos());

  int daysPassed = 0;
  bool turnPassed = false;
  while (!SelectNewPiece(g, later)) {
    turnPassed = true;
    // Neither the hand-over nor the turn's start before its production
    // adds a piece: the count of the slots in use stands till then.
    const int slotsInUse = RecordEndOfTurnSight(g);
    if (g.state.day == 1) HandOverTurn(g);
    const int before = g.state.currentPlayer;
    StartPlayerTurnWithin(g, slotsInUse);
    if (!AnyPlayerTakingPart(g)) return;  // nobody left to move: the game is over
    if (g.state.currentPlayer <= before && ++daysPassed >= kDaysBeforeYield) break;
  }
  if (turnPassed) HandOverTurn(g);
  if (HumanHoldsOwnPiece(g)) g.ui().DrawCell(g.pieces[g.state.currentPiece].Pos(), false);
}

void StartPlayerTurn(Game& g) { StartPlayerTurnWithin(g, SlotsInUse(g.pieces)); }

void RepairPiece(Game& g, int piece) {
  PieceRecord& r = g.pieces[piece];
  const int strength = r.strength + (100 - r.strength) / 3;
  r.strength = static_cast<int16_t>(strength > 100 ? 100 : strength);
}

void StartNewDay(Game& g) {
  g.state.currentPlayer = 0;
  // The day counter is 16 bits in the game file: it stops at its largest
  // value rather than turn negative, and the days after it save no more.
  if (g.state.day < kLastDay) {
    g.state.day = static_cast<int16_t>(g.state.day + 1);
    if (g.state.day % 7 == 0 && g.state.demoMode == 0 && g.state.gameActive == 1) SaveGame(g);
  }
  if (g.state.demoMode != 0) {
    g.ui().RepaintToolWindow(ToolWindow::WorldMap);
    g.ui().RepaintToolWindow(ToolWindow::GameInfo);
  }
  g.ui().RepaintToolWindow(ToolWindow::Rankings);
}

void HandOverTurn(Game& g) {
  const int player = g.state.currentPlayer;
  if (IsHumanPlayer(g, player)) {
    HandOverToHuman(g, player);
  } else {
    if (g.state.day == 1) ChooseFirstProductions(g, player);
    g.ui().OrdersAvailableChanged(false);
  }
  g.lastShownPiece = kPieceSlots;
  const bool autoPlayShown = g.state.autoPlay[g.state.viewingPlayer] == 1 && g.state.demoMode == 0;
  g.ui().AutoPlayChanged(autoPlayShown);
}

MapPos LastSelectedPos(const Game& g) { return g.lastSelectedPos; }

}  // namespace vortan
