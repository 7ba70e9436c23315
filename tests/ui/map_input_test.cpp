// The mouse on the map and the strip, scrolling, keeping the piece in view and
// zooming, driven through the events a person's mouse and keys produce.
#include "play_fixture.h"

#include <QMenuBar>

#include "rules/turn_loop.h"

namespace vortan::test {
namespace {

class MapInputTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({
        "..............",
        ".++++++++.....",
        ".++++++++.....",
        ".++++++++.....",
        "..............",
        "..........++..",
        "..........++..",
        "..............",
    });
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
  EXPECT_EQ(game->pieces[fighter].state, PieceState::Ready);
  EXPECT_TRUE(game->pieces[fighter].Dest() == (MapPos{7, 3}));
  for (int step = 0; step < 50 && !(game->pieces[fighter].Pos() == MapPos{7, 3}); ++step) AdvanceGame(*game);
  EXPECT_TRUE(game->pieces[fighter].Pos() == (MapPos{7, 3}));
  EXPECT_EQ(game->pieces[fighter].movesLeft, game->settings.moves[PieceType::Fighter] - 5);
}

TEST_F(MapInputTest, ClicksThatGiveNoOrder) {
  const int army = AddPiece(*game, PieceType::Army, 0, 4, 2);
  AwaitOrders(army);
  Click(CellCentre(4, 2));   // its own cell
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  Click(QPoint(CellCentre(6, 2).x(), kStripHeight));   // the strip's last row
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  Click(QPoint(View()->width() - 8, CellCentre(6, 2).y()));   // the vertical scroll bar
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  game->state.demoMode = 1;
  Click(CellCentre(6, 2));
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
}

TEST_F(MapInputTest, RightClickOnAnOwnCityOpensItUnlessShiftIsHeld) {
  const int sleeper = AddPiece(*game, PieceType::Army, 0, 2, 2);
  game->pieces[sleeper].state = PieceState::Asleep;
  Click(CellCentre(2, 2), Qt::RightButton);
  ASSERT_EQ(scripted->citiesOpened.size(), 1u);
  EXPECT_EQ(scripted->citiesOpened[0], city);
  EXPECT_EQ(game->pieces[sleeper].state, PieceState::Asleep);

  Click(CellCentre(2, 2), Qt::RightButton, Qt::ShiftModifier);
  EXPECT_EQ(scripted->citiesOpened.size(), 1u);
  EXPECT_EQ(game->pieces[sleeper].state, PieceState::Ready);
  EXPECT_EQ(game->state.currentPiece, sleeper);
  EXPECT_TRUE(game->lastSelectedPos == (MapPos{2, 2}));

  Click(CellCentre(11, 5), Qt::RightButton);   // another player's city
  EXPECT_EQ(scripted->citiesOpened.size(), 1u);
}

TEST_F(MapInputTest, RightClickWakesAllButReturningAircraftAndPicksOneThatCanMove) {
  const int waiting = AddPiece(*game, PieceType::Army, 0, 3, 3);
  const int army = AddPiece(*game, PieceType::Army, 0, 6, 2);
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 6, 2);
  game->pieces[army].state = PieceState::Asleep;
  game->pieces[army].movesLeft = 0;
  game->pieces[fighter].state = PieceState::Returning;
  game->pieces[waiting].destX = 5;
  AwaitOrders(waiting);
  Click(CellCentre(6, 2), Qt::RightButton);
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
  EXPECT_EQ(game->pieces[fighter].state, PieceState::Returning);
  // The army has no moves left, so the fighter takes over; the piece that
  // waited keeps still.
  EXPECT_EQ(game->state.currentPiece, fighter);
  EXPECT_EQ(game->pieces[waiting].state, PieceState::Ready);
  EXPECT_TRUE(game->pieces[waiting].Dest() == game->pieces[waiting].Pos());
}

TEST_F(MapInputTest, TheGoToLineAndDistanceCursorFollowThePointer) {
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  AwaitOrders(army);
  Mouse(QEvent::MouseMove, CellCentre(7, 3), Qt::NoButton);
  EXPECT_TRUE(View()->GotoLineDrawn());
  EXPECT_EQ(View()->CursorShape(), 4);
  Mouse(QEvent::MouseMove, CellCentre(5, 2), Qt::NoButton);
  EXPECT_EQ(View()->CursorShape(), 2);
  // Over the scroll bar the line goes; over the strip it comes back.
  Mouse(QEvent::MouseMove, QPoint(View()->width() - 5, 200), Qt::NoButton);
  EXPECT_FALSE(View()->GotoLineDrawn());
  Mouse(QEvent::MouseMove, QPoint(200, 10), Qt::NoButton);
  EXPECT_TRUE(View()->GotoLineDrawn());
  QEvent leave(QEvent::Leave);   // out over the frame
  QCoreApplication::sendEvent(View(), &leave);
  EXPECT_FALSE(View()->GotoLineDrawn());
  // Drawing and erasing leave the picture as it was.
  Mouse(QEvent::MouseMove, CellCentre(7, 3), Qt::NoButton);
  const QImage withLine = View()->Screen();
  Click(CellCentre(7, 3));
  EXPECT_FALSE(View()->GotoLineDrawn());
  EXPECT_NE(View()->Screen(), withLine);
  // After End turn no line is drawn.
  AwaitOrders(army);
  game->app.endTurnRequested = 1;
  Mouse(QEvent::MouseMove, CellCentre(6, 3), Qt::NoButton);
  EXPECT_FALSE(View()->GotoLineDrawn());
}

// --- The button strip ---

class StripTest : public MapInputTest {
 protected:
  void SetUp() override {
    MapInputTest::SetUp();
    army = AddPiece(*game, PieceType::Army, 0, 4, 2);
    AwaitOrders(army);
    scripted->answer = MsgResult::No;
  }
  // What pressing and releasing the strip at x led to.
  std::string Press(int x) {
    const size_t messages = scripted->messages.size();
    const int files = scripted->fileDialogs, news = scripted->newGameDialogs, cell = game->state.tileSize;
    AwaitOrders(army);
    Click(QPoint(x, 10));
    Settle();
    std::string seen;
    if (scripted->messages.size() > messages) seen = scripted->messages.back().substr(0, scripted->messages.back().find(':'));
    if (scripted->fileDialogs > files) seen = "file";
    if (scripted->newGameDialogs > news) seen = "new";
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
      {0, "new"},          {92, "file"},       {93, ""},        {106, ""},         {107, "sleep"},
      {260, "Illegal Move"}, {261, ""},         {275, "End turn..."}, {305, "End turn..."}, {306, "Coward!"},
      {335, "Coward!"},    {336, ""},         {350, "zoom 12"}, {472, "zoom 32"}, {473, ""},
      {400, "zoom 16"},    {138, "ready"},   // Later last: it hands the turn on
  };
  for (const auto& [x, expected] : presses) EXPECT_EQ(Press(x), expected) << "x = " << x;
}

TEST_F(StripTest, AHeldButtonFollowsThePointerAndActsOnlyWhenReleasedOverIt) {
  const QImage raised = ButtonPicture(120);
  Mouse(QEvent::MouseButtonPress, QPoint(120, 10), Qt::LeftButton);
  EXPECT_EQ(QWidget::mouseGrabber(), View());
  const QImage pressed = ButtonPicture(120);
  EXPECT_NE(pressed, raised);
  Mouse(QEvent::MouseMove, QPoint(120, 33), Qt::LeftButton);   // below the button
  EXPECT_EQ(ButtonPicture(120), raised);
  Mouse(QEvent::MouseMove, QPoint(125, 32), Qt::LeftButton);
  EXPECT_EQ(ButtonPicture(120), pressed);
  Mouse(QEvent::MouseMove, QPoint(300, 200), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, QPoint(300, 200), Qt::LeftButton);
  Settle();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(ButtonPicture(120), raised);
  EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders);
  // Out and back in again: the order is given.
  Mouse(QEvent::MouseButtonPress, QPoint(120, 10), Qt::LeftButton);
  Mouse(QEvent::MouseMove, QPoint(300, 10), Qt::LeftButton);
  Mouse(QEvent::MouseMove, QPoint(110, 0), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, QPoint(110, 0), Qt::LeftButton);
  Settle();
  EXPECT_EQ(game->pieces[army].state, PieceState::Asleep);
}

TEST_F(StripTest, DuringAComputersTurnOnlyNewOpenAndSurrenderWork) {
  const int enemy = AddPiece(*game, PieceType::Army, 1, 10, 5);
  game->state.currentPlayer = 1;
  game->state.currentPiece = static_cast<int16_t>(enemy);
  game->pieces[enemy].state = PieceState::AwaitingOrders;
  for (int x : {120, 92, 280}) {
    Click(QPoint(x, 10));
    Settle();
  }
  EXPECT_EQ(game->pieces[enemy].state, PieceState::AwaitingOrders);
  EXPECT_TRUE(scripted->messages.empty());
  EXPECT_EQ(scripted->fileDialogs, 0);
  Click(QPoint(320, 10));
  Settle();
  ASSERT_EQ(scripted->messages.size(), 1u);
  EXPECT_EQ(scripted->messages[0], "Coward!: Are you sure you wish to surrender?");
  game->state.demoMode = 1;
  Click(QPoint(320, 10));
  Click(QPoint(40, 10));
  Settle();
  EXPECT_EQ(scripted->messages.size(), 1u);
  EXPECT_EQ(scripted->fileDialogs, 1);   // Open works even in a demo
}

// --- Scrolling, keeping the piece in view, zoom ---

class ViewTest : public PlayFixture {
 protected:
  void BuildSea(int side, int cellSize) {
    Build(std::vector<std::string>(side, std::string(side, '.')), cellSize);
    RevealAll();
  }
  QSize ExpectedClient(int side, int cellSize) {
    // The whole world if the screen has room beside the column of tool
    // windows, else as much as it holds; never under 500 x 400 with the frame.
    const QRect screen = window->screen()->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const int menu = window->menuBar()->sizeHint().height();
    const QSize whole = ClientSizeForWorld(side, side, cellSize) + QSize(0, menu) + frame;
    const QSize outer(std::max(500, std::min(whole.width(), screen.width() - kToolColumnWidth)),
                      std::max(400, std::min(whole.height(), screen.height())));
    return outer - frame - QSize(0, menu);
  }
};

TEST_F(ViewTest, LineAndPageStepsWrapRoundTheWorld) {
  BuildSea(40, 12);
  game->state.homeX[0] = 10;
  game->state.homeY[0] = 30;
  game->state.viewX = 0;
  game->state.viewY = 0;
  Key(Qt::Key_Left);
  EXPECT_EQ(game->state.viewX, 39);
  Key(Qt::Key_Up);
  EXPECT_EQ(game->state.viewY, 39);
  EXPECT_EQ(View()->HorizontalBar()->value(), (60 + 39 - 10) % 40);
  EXPECT_EQ(View()->VerticalBar()->value(), (60 + 39 - 30) % 40);
  game->state.viewX = 38;
  View()->HorizontalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(game->state.viewX, 2);
  View()->VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(game->state.viewY, 35);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(game->state.viewX, 3);
  EXPECT_EQ(game->state.viewY, 36);
  View()->HorizontalBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(game->state.viewX, 3);
}

TEST_F(ViewTest, ALineScrollMovesThePictureAndRedrawsOnlyTheNewBand) {
  BuildSea(60, 16);
  AddCity(*game, 0, 30, 30);
  AddPiece(*game, PieceType::Destroyer, 0, 33, 28);
  window->resize(600, 500);
  QCoreApplication::processEvents();
  View()->RepaintAll();
  const QImage before = View()->Screen();
  Key(Qt::Key_Right);
  const QImage after = View()->Screen();
  const QRect area = MapViewRect(after.size()) & after.rect();
  const int cs = 16, columns = (after.width() - 16) / cs;
  const QRect kept(area.left(), area.top(), (columns - 1) * cs, area.height());
  EXPECT_EQ(after.copy(kept), before.copy(kept.translated(cs, 0)));
  // And the band is what a full repaint draws.
  View()->RepaintAll();
  EXPECT_EQ(View()->Screen().copy(area), after.copy(area));
}

TEST_F(ViewTest, KeepPieceInViewPagesUntilThePieceIsWellInside) {
  BuildSea(70, 32);
  const int ship = AddPiece(*game, PieceType::Destroyer, 0, 3, 66);
  AwaitOrders(ship);
  game->state.viewX = 40;
  game->state.viewY = 20;
  View()->KeepPieceInView();
  const ViewFrame v = View()->Renderer().Frame();
  const int column = ScreenX(v, 3) / 32, row = (ScreenY(v, 66) - kStripHeight) / 32;
  EXPECT_GE(column, 7);
  EXPECT_LE(column, v.columns - 7);
  EXPECT_GE(row, 7);
  EXPECT_LE(row, v.rows - 7);
}

TEST_F(ViewTest, ResizingPlacesTheBarsAndMovingTakesTheToolWindowsAlong) {
  BuildSea(60, 16);
  window->resize(700, 520);
  QCoreApplication::processEvents();
  const QSize client = View()->size();
  EXPECT_EQ(View()->VerticalBar()->geometry(), QRect(client.width() - 15, 34, 16, client.height() - 48));
  EXPECT_EQ(View()->HorizontalBar()->geometry(), QRect(0, client.height() - 15, client.width() - 14, 16));
  EXPECT_EQ(View()->Grip()->geometry(), QRect(client.width() - 15, client.height() - 15, 15, 15));
  window->PlaceInfoDialogs();
  window->move(40, 30);
  QCoreApplication::processEvents();
  const QRect frame = window->frameGeometry();
  for (ToolWindow w : {ToolWindow::GameInfo, ToolWindow::Rankings, ToolWindow::PieceInfo, ToolWindow::Production}) {
    ASSERT_TRUE(window->IsToolWindowOpen(w));
    EXPECT_EQ(window->ToolWindowWidget(w)->frameGeometry().left(), frame.right() + 1);
  }
  EXPECT_EQ(window->ToolWindowWidget(ToolWindow::GameInfo)->frameGeometry().top(), frame.top());
}

TEST_F(ViewTest, EachZoomSizesTheWindowToTheWorldWithinTheScreen) {
  struct Zoom {
    int command, cellSize, button;
  };
  const Zoom zooms[] = {{Cmd::Zoom75, 12, 10}, {Cmd::Zoom100, 16, 11}, {Cmd::Zoom150, 24, 12}, {Cmd::Zoom200, 32, 13}};
  for (int side : {40, 50, 70}) {
    BuildSea(side, 16);
    for (const Zoom& z : zooms) {
      window->ExecuteCommand(z.command);
      QCoreApplication::processEvents();
      EXPECT_EQ(game->state.tileSize, z.cellSize);
      EXPECT_EQ(game->state.zoomIsWhole, z.cellSize == 16 || z.cellSize == 32);
      for (const Zoom& other : zooms) EXPECT_EQ(Checked(other.command), other.command == z.command);
      EXPECT_EQ(View()->size(), ExpectedClient(side, z.cellSize)) << side << " @ " << z.cellSize;
      // Only the chosen zoom button is drawn pressed.
      const QImage shot = View()->Screen();
      for (const Zoom& other : zooms) {
        const QRect r(ButtonLeft(other.button), 0, 30, 32);
        const QImage want = pictures.Strip(other.button == z.button).Original().copy(r).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shot.copy(r), want) << "button " << other.button << " at zoom " << z.cellSize;
      }
    }
  }
  BuildSea(40, 16);
  window->ExecuteCommand(Cmd::Zoom100);
  QCoreApplication::processEvents();
  EXPECT_EQ(View()->size(), QSize(655, 689));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
