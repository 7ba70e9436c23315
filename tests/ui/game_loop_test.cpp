// SPDX-License-Identifier: GPL-3.0-or-later
// The idle game loop: steps in short slices between turns of the event loop,
// asleep while a human's piece waits for an order, never re-entered from a
// modal dialog; and a real new game driven by it onto the screen.
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include "game/game_start.h"
#include "model/piece_types.h"
#include "ui/game_loop.h"
#include "window_fixture.h"
#include "worldgen/new_game.h"

namespace vortan::test {
namespace {

class GameLoopTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    loop = std::make_unique<GameLoop>(*game);
    window->SetGameLoop(loop.get());
  }
  void TearDown() override {
    window->SetGameLoop(nullptr);
    loop.reset();
    WindowFixture::TearDown();
  }
  void WithArmy() {
    Build(std::vector<std::string>(30, std::string(40, '+')));
    army = AddPiece(*game, PieceType::Army, 0, 3, 3);
    game->state.currentPiece = static_cast<int16_t>(army);
  }
  // Runs the event loop for a while (or until done() holds).
  void Spin(
      int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms && !done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  void Await() { game->pieces[army].state = PieceState::AwaitingOrders; }
  void PressKey() {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
    QCoreApplication::sendEvent(window->View(), &key);
  }
  std::unique_ptr<GameLoop> loop;
  int army = 0;
};

TEST_F(GameLoopTest, StepsUntilAHumanPieceAwaitsOrders) {
  WithArmy();
  int steps = 0;
  loop->step = [&](Game&) {
    if (++steps == 5) Await();
  };
  loop->Wake();
  Spin(300);
  EXPECT_EQ(std::tuple(steps, loop->StepPending()), std::tuple(5, false));
  PressKey();  // input wakes it for one step, which finds the piece still waiting
  Spin(100);
  EXPECT_EQ(steps, 6);
  game->state.autoPlay[0] = 1;  // auto play keeps it going
  loop->Wake();
  Spin(30, [&] { return steps > 20; });
  EXPECT_GT(steps, 20);
  game->state.autoPlay[0] = 0;
  Spin(30);
  const int stopped = steps;
  game->state.gameActive = 0;
  Await();
  loop->Wake();
  Spin(30);
  EXPECT_EQ(steps, stopped);
}

// Steps of 1 ms: a slice runs a few of them, then the event loop gets its
// turn, so input waits for at most one slice and one step.
TEST_F(GameLoopTest, RunsStepsInSlicesAndLetsInputInBetween) {
  WithArmy();
  game->state.autoPlay[0] = 1;
  int steps = 0, stepsAtInput = -1;
  loop->step = [&](Game&) {
    if (++steps == 1) QTimer::singleShot(0, [&] { stepsAtInput = steps; });
    QElapsedTimer busy;
    busy.start();
    while (busy.nsecsElapsed() < 1'000'000) {
    }
  };
  loop->Wake();
  Spin(200, [&] { return stepsAtInput >= 0 && steps > 40; });
  game->state.gameActive = 0;
  const int perSlice = static_cast<int>(GameLoop::kSliceNs / 1'000'000) + 1;
  EXPECT_LE(stepsAtInput, perSlice) << "an event posted in a slice's first step waits for that slice alone";
  EXPECT_GT(loop->SlicesRun(), 1);
  // Over many slices, not the first alone: on a busy machine one step can outlast a slice.
  EXPECT_LT(loop->SlicesRun(), steps) << "a slice holds several steps";
  EXPECT_LE(loop->LongestSliceNs(), GameLoop::kSliceNs + 50'000'000) << "steps of 1 ms, no slice far past its length";
}

TEST_F(GameLoopTest, AModalDialogNeverLetsAnotherStepRunUntilItCloses) {
  WithArmy();
  int depth = 0, deepest = 0, steps = 0;
  loop->step = [&](Game& g) {
    g.insideAdvanceGame = true;
    deepest = std::max(deepest, ++depth);
    if (++steps == 1) {  // a dialog opened inside a step, while input and commands arrive
      QDialog dialog(window.get());
      QTimer::singleShot(20, &dialog, [&] { PressKey(), window->ExecuteCommand(Cmd::NoSound); });
      QTimer::singleShot(80, &dialog, &QDialog::accept);
      dialog.exec();
    }
    if (steps == 3) Await();
    --depth;
    g.insideAdvanceGame = false;
  };
  loop->Wake();
  Spin(400, [&] { return steps >= 3; });
  EXPECT_EQ(std::tuple(deepest, steps), std::tuple(1, 3));
  game->state.gameActive = 0;
}

// An explosion shown by a step plays its discs from the event loop: input is
// handled between them, and the next step waits until the last disc is gone.
// (How soon input is handled is measured by the input-delay benchmark; a
// bound in milliseconds here would fail on a busy machine.)
TEST_F(GameLoopTest, AnExplosionHoldsTheStepsButNotTheInput) {
  WithArmy();
  RevealAll();
  game->state.autoPlay[0] = 1;  // there is always work
  int steps = 0, stepsAtInput = -1;
  bool playingAtInput = false;
  bool inputHandled = false;
  QElapsedTimer clock;
  loop->step = [&](Game& g) {
    if (++steps > 1) return;
    g.ui().ShowExplosion(MapPos{5, 5}, kExplosionYellow, 1);
    clock.start();
    QTimer::singleShot(0, [&] {
      inputHandled = true;
      stepsAtInput = steps;
      playingAtInput = window->View()->EffectsPlaying();
    });
  };
  loop->Wake();
  Spin(60, [&] { return inputHandled; });
  EXPECT_TRUE(playingAtInput) << "the explosion was over before the event loop had its turn";
  EXPECT_EQ(stepsAtInput, 1) << "a step ran while the explosion played";
  Spin(1000, [&] { return steps > 1; });
  EXPECT_GE(clock.elapsed(), 3 * 30) << "the steps went on before the last disc";
  EXPECT_GT(steps, 1) << "the steps never went on after the explosion";
  game->state.gameActive = 0;
}

class RealGameTest : public GameLoopTest {
 protected:
  void SetUp() override {
    GameLoopTest::SetUp();
    StartProgram(*game, 4242);
    window->show();
  }
};

TEST_F(RealGameTest, SeededNewGameShowsTheStartCityInTheFogAndWaitsForTheHuman) {
  game->settings.kind = {PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0};
  game->settings.width = game->settings.height = 50, game->settings.landAmount = 2;
  ASSERT_EQ(NewGameCommand(*game), 1);
  EXPECT_EQ(window->centralWidget()->size(), QSize(50 * 16 + 15, 50 * 16 + 49));
  QImage shot = Grab();
  const PieceRecord& city = game->pieces[0];  // the first start city is the human's
  ASSERT_TRUE(city.type == PieceType::City && city.owner == 0);
  EXPECT_EQ(CellIn(shot, city.x, city.y), AsCell(pictures.Piece(Set(), 0, PieceType::City)));
  int black = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x)
      if (!ViewerKnowsCell(*game, MapPos{uint8_t(x), uint8_t(y)})) {
        ++black;
        ASSERT_EQ(CellIn(shot, x, y).pixel(5, 5), qRgb(0, 0, 0)) << x << "," << y;
      }
  EXPECT_GT(black, 2000);

  // The computer plays and the human's city builds until there is a piece to order.
  loop->Wake();
  Spin(5000, [&] { return !loop->StepPending(); });
  ASSERT_FALSE(loop->StepPending()) << "the loop waits for the human's order";
  const PieceRecord& piece = game->pieces[game->state.currentPiece];
  ASSERT_EQ(std::tuple(int(game->state.currentPlayer), int(piece.state)),
            std::tuple(0, int(PieceState::AwaitingOrders)));
  // The piece awaiting orders is drawn instead of whatever tops its cell.
  EXPECT_EQ(CellIn(Grab(), piece.x, piece.y).copy(0, 9, 16, 7),
            AsCell(pictures.Piece(Set(), 0, piece.type), piece.facing).copy(0, 9, 16, 7));
}

}  // namespace
}  // namespace vortan::test
