// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse on the map and the strip, scrolling and zooming, driven through
// the events a person's mouse and keys produce.
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include "game/turn_loop.h"
#include "play_fixture.h"

namespace vortan::test {
namespace {

class MapInputTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({"..............", ".++++++++.....", ".++++++++.....", ".++++++++.....", "..............", "..........++..",
           "..........++..", ".............."});
    RevealAll();
    city = AddCity(*game, 0, 2, 2);
    AddCity(*game, 1, 11, 5);
  }
  int city = 0;
};

TEST_F(MapInputTest, AGoToClickSendsThePieceAndTheTurnEngineWalksItThere) {
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 2, 2);
  AwaitOrders(fighter);
  Click(CellCentre(7, 3));
  EXPECT_TRUE(game->pieces[fighter].state == PieceState::Ready && game->pieces[fighter].Dest() == (MapPos{7, 3}));
  for (int step = 0; step < 50 && !(game->pieces[fighter].Pos() == MapPos{7, 3}); ++step) AdvanceGame(*game);
  EXPECT_TRUE(game->pieces[fighter].Pos() == (MapPos{7, 3}));
  EXPECT_EQ(game->pieces[fighter].movesLeft, game->settings.moves[PieceType::Fighter] - 5);
}

TEST_F(MapInputTest, RightClickOpensAnOwnCityUnlessShiftIsHeldAndWakesAndPicks) {
  const int sleeper = AddPiece(*game, PieceType::Army, 0, 2, 2);
  game->pieces[sleeper].state = PieceState::Asleep;
  Click(CellCentre(2, 2), Qt::RightButton);
  EXPECT_EQ(hooks->citiesOpened, std::vector<int>{city});
  EXPECT_EQ(game->pieces[sleeper].state, PieceState::Asleep);
  Click(CellCentre(2, 2), Qt::RightButton, Qt::ShiftModifier);
  EXPECT_EQ(std::tuple(int(game->pieces[sleeper].state), int(game->state.currentPiece)),
            std::tuple(int(PieceState::Ready), sleeper));
  EXPECT_TRUE(game->lastSelectedPos == (MapPos{2, 2}));
  Click(CellCentre(11, 5), Qt::RightButton);  // another player's city
  EXPECT_EQ(hooks->citiesOpened.size(), 1u);

  // All but returning aircraft wake; the first with moves left is picked and
  // the piece that waited keeps still.
  const int waiting = AddPiece(*game, PieceType::Army, 0, 3, 3);
  const int army = AddPiece(*game, PieceType::Army, 0, 6, 2);
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 6, 2);
  game->pieces[army].state = PieceState::Asleep;
  game->pieces[army].movesLeft = 0;
  game->pieces[fighter].state = PieceState::Returning;
  game->pieces[waiting].destX = 5;
  AwaitOrders(waiting);
  Click(CellCentre(6, 2), Qt::RightButton);
  EXPECT_EQ(
      std::tuple(int(game->pieces[army].state), int(game->pieces[fighter].state), int(game->pieces[waiting].state)),
      std::tuple(int(PieceState::Ready), int(PieceState::Returning), int(PieceState::Ready)));
  EXPECT_EQ(game->state.currentPiece, fighter);
  EXPECT_TRUE(game->pieces[waiting].Dest() == game->pieces[waiting].Pos());
}

// A click in a tool window goes through the window system to that window;
// the keys pressed next must still reach the map.
TEST_F(MapInputTest, KeysReachTheMapAfterAClickInAnyToolWindow) {
  const struct {
    int command;
    ToolWindow clicked;
    char key;
    ToolWindow toggled;
  } rows[] = {{Cmd::WorldMap, ToolWindow::WorldMap, 'g', ToolWindow::GameInfo},
              {Cmd::Production, ToolWindow::Production, 'a', ToolWindow::Rankings},
              {Cmd::PieceInfo, ToolWindow::PieceInfo, 'w', ToolWindow::WorldMap}};
  for (const auto& r : rows) {
    if (!window->IsToolWindowOpen(r.clicked)) window->ExecuteCommand(r.command);
    QWidget* tool = window->ToolWindowWidget(r.clicked);
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tool));
    const bool wasOpen = window->IsToolWindowOpen(r.toggled);
    QTest::mouseClick(tool->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    // The window system sends the key to the window that was clicked.
    QTest::keyClick(tool->windowHandle(), r.key);
    QCoreApplication::processEvents();
    EXPECT_NE(window->IsToolWindowOpen(r.toggled), wasOpen)
        << "key '" << r.key << "' after a click in " << tool->windowTitle().toStdString() << " did not reach the map";
    EXPECT_EQ(QApplication::focusWidget(), window->View()) << "the focus stayed away from the map";
  }
}

class StripTest : public MapInputTest {
 protected:
  void SetUp() override {
    MapInputTest::SetUp();
    army = AddPiece(*game, PieceType::Army, 0, 4, 2);
    AwaitOrders(army);
    hooks->answer = MsgResult::No;
  }
  // What pressing and releasing the strip at x led to.
  std::string Press(int x) {
    const size_t messages = hooks->messages.size();
    const int files = hooks->fileDialogs, news = hooks->newGameDialogs, cell = game->state.tileSize;
    AwaitOrders(army);
    Click(QPoint(x, 10));
    Settle();
    std::string seen;
    if (hooks->messages.size() > messages) seen = hooks->messages.back().substr(0, hooks->messages.back().find(':'));
    if (hooks->fileDialogs > files) seen = "file";
    if (hooks->newGameDialogs > news) seen = "new";
    if (game->state.tileSize != cell) seen = "zoom " + std::to_string(game->state.tileSize);
    if (game->pieces[army].state == PieceState::Asleep) seen = "sleep";
    if (game->pieces[army].state == PieceState::Ready) seen = "ready";
    return seen;
  }
  QImage ButtonPicture(int x) { return View()->Screen().copy(QRect(ButtonLeft(ButtonAt(x)), 0, 30, 32)); }
  int army = 0;
};

TEST_F(StripTest, HitAreasAndWhatEachButtonSends) {
  const std::pair<int, std::string> presses[] = {
      {0, "new"},           {92, "file"},          {93, ""},         {106, ""},
      {107, "sleep"},       {260, "Illegal Move"}, {261, ""},        {275, "End turn..."},
      {305, "End turn..."}, {306, "Coward!"},      {335, "Coward!"}, {336, ""},
      {350, "zoom 12"},     {472, "zoom 32"},      {473, ""},        {400, "zoom 16"},
      {138, "ready"},  // Later last: it hands the turn on
  };
  for (const auto& [x, expected] : presses) EXPECT_EQ(Press(x), expected) << "x = " << x;
}

TEST_F(StripTest, AHeldButtonFollowsThePointerAndActsOnlyWhenReleasedOverIt) {
  const QImage raised = ButtonPicture(120);
  Mouse(QEvent::MouseButtonPress, QPoint(120, 10), Qt::LeftButton);
  const QImage pressed = ButtonPicture(120);
  EXPECT_TRUE(pressed != raised && QWidget::mouseGrabber() == View());
  const std::tuple<QEvent::Type, QPoint, bool> steps[] = {// and the button drawn pressed after it
                                                          {QEvent::MouseMove, {120, 33}, false},  // below the button
                                                          {QEvent::MouseMove, {125, 32}, true},
                                                          {QEvent::MouseMove, {300, 200}, false},
                                                          {QEvent::MouseButtonRelease, {300, 200}, false}};
  for (const auto& [type, at, down] : steps) {
    Mouse(type, at, Qt::LeftButton);
    EXPECT_EQ(ButtonPicture(120), down ? pressed : raised) << at.x() << "," << at.y();
  }
  Settle();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  // Out and back in again: the order is given.
  for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, QPoint(120, 10)},
                          {QEvent::MouseMove, QPoint(300, 10)},
                          {QEvent::MouseMove, QPoint(110, 0)},
                          {QEvent::MouseButtonRelease, QPoint(110, 0)}})
    Mouse(type, at, Qt::LeftButton);
  Settle();
  EXPECT_EQ(game->pieces[army].state, PieceState::Asleep);
}

class ViewTest : public PlayFixture {};

TEST_F(ViewTest, LineAndPageStepsWrapRoundTheWorld) {
  BuildSea(40, 12);
  game->state.homeX[0] = 10, game->state.homeY[0] = 30;
  game->state.viewX = game->state.viewY = 0;
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  EXPECT_EQ(std::tuple(game->state.viewX, game->state.viewY), std::tuple(39, 39));
  EXPECT_EQ(View()->HorizontalBar()->value(), (60 + 39 - 10) % 40);
  EXPECT_EQ(View()->VerticalBar()->value(), (60 + 39 - 30) % 40);
  game->state.viewX = 38;
  View()->HorizontalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(game->state.viewX, 2);
  View()->VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(game->state.viewY, 35);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(std::tuple(game->state.viewX, game->state.viewY), std::tuple(3, 36));
  View()->HorizontalBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(game->state.viewX, 3);
}

TEST_F(ViewTest, EachZoomSizesTheWindowToTheWorldWithinTheScreen) {
  const struct {
    int command, cellSize;
  } zooms[] = {{Cmd::Zoom75, 12}, {Cmd::Zoom100, 16}, {Cmd::Zoom150, 24}, {Cmd::Zoom200, 32}};
  for (int side : {40, 50, 70}) {
    BuildSea(side);
    for (const auto& z : zooms) {
      SCOPED_TRACE(std::to_string(side) + " @ " + std::to_string(z.cellSize));
      window->ExecuteCommand(z.command);
      QCoreApplication::processEvents();
      EXPECT_EQ(game->state.tileSize, z.cellSize);
      EXPECT_EQ(game->state.zoomIsWhole, z.cellSize == 16 || z.cellSize == 32);
      // The whole world if the screen has room beside the tool windows, else
      // as much as it holds; never under 500 x 400 with the frame.
      const QRect screen = window->screen()->availableGeometry();
      const QSize frame = window->frameGeometry().size() - window->geometry().size();
      const QSize menu(0, window->menuBar()->sizeHint().height());
      const QSize whole = ClientSizeForWorld(side, side, z.cellSize) + menu + frame;
      const QSize outer(std::max(500, std::min(whole.width(), screen.width() - kToolColumnWidth)),
                        std::max(400, std::min(whole.height(), screen.height())));
      EXPECT_EQ(View()->size(), outer - frame - menu);
      for (const auto& other : zooms) EXPECT_EQ(Checked(other.command), other.command == z.command);
    }
  }
}

}  // namespace
}  // namespace vortan::test
