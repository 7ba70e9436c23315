// The mouse on the map and the strip, scrolling, keeping the piece in view and
// zooming, driven through the events a person's mouse and keys produce.
#include <QMenuBar>
#include <QScreen>

#include "play_fixture.h"
#include "rules/turn_loop.h"

namespace vortan::test {
namespace {

class MapInputTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({"..............", ".++++++++.....", ".++++++++.....", ".++++++++.....", "..............",
           "..........++..", "..........++..", ".............."});
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
  const std::pair<const char*, QPoint> clicks[] = {
      {"its own cell", CellCentre(4, 2)},
      {"the strip's last row", QPoint(CellCentre(6, 2).x(), kStripHeight)},
      {"the vertical scroll bar", QPoint(View()->width() - 8, CellCentre(6, 2).y())},
      {"a demo", CellCentre(6, 2)}};
  for (const auto& [where, at] : clicks) {
    game->state.demoMode = std::string(where) == "a demo";
    AwaitOrders(army);
    Click(at);
    EXPECT_EQ(game->pieces[army].state, PieceState::AwaitingOrders) << where;
  }
}

TEST_F(MapInputTest, RightClickOpensAnOwnCityUnlessShiftIsHeldAndWakesAndPicks) {
  const int sleeper = AddPiece(*game, PieceType::Army, 0, 2, 2);
  game->pieces[sleeper].state = PieceState::Asleep;
  Click(CellCentre(2, 2), Qt::RightButton);
  EXPECT_EQ(hooks->citiesOpened, std::vector<int>{city});
  EXPECT_EQ(game->pieces[sleeper].state, PieceState::Asleep);
  Click(CellCentre(2, 2), Qt::RightButton, Qt::ShiftModifier);
  EXPECT_EQ(game->pieces[sleeper].state, PieceState::Ready);
  EXPECT_EQ(game->state.currentPiece, sleeper);
  EXPECT_TRUE(game->lastSelectedPos == (MapPos{2, 2}));
  Click(CellCentre(11, 5), Qt::RightButton);   // another player's city
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
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
  EXPECT_EQ(game->pieces[fighter].state, PieceState::Returning);
  EXPECT_EQ(game->state.currentPiece, fighter);
  EXPECT_EQ(game->pieces[waiting].state, PieceState::Ready);
  EXPECT_TRUE(game->pieces[waiting].Dest() == game->pieces[waiting].Pos());
}

TEST_F(MapInputTest, TheGoToLineAndDistanceCursorFollowThePointer) {
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  AwaitOrders(army);
  const auto move = [&](QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton); };
  const struct {
    QPoint at;
    bool line;
    int cursor;
  } moves[] = {{CellCentre(7, 3), true, 4},
               {CellCentre(5, 2), true, 2},
               {QPoint(View()->width() - 5, 200), false, 0},   // over the scroll bar
               {QPoint(200, 10), true, 0}};                     // over the strip
  for (const auto& m : moves) {
    move(m.at);
    EXPECT_EQ(View()->GotoLineDrawn(), m.line) << m.at.x() << "," << m.at.y();
    EXPECT_EQ(View()->CursorShape(), m.cursor) << m.at.x() << "," << m.at.y();
  }
  QEvent leave(QEvent::Leave);   // out over the frame
  QCoreApplication::sendEvent(View(), &leave);
  EXPECT_FALSE(View()->GotoLineDrawn());
  move(CellCentre(7, 3));
  const QImage withLine = View()->Screen();
  Click(CellCentre(7, 3));
  EXPECT_FALSE(View()->GotoLineDrawn());
  EXPECT_NE(View()->Screen(), withLine);
  AwaitOrders(army);
  game->app.endTurnRequested = 1;   // after End turn no line is drawn
  move(CellCentre(6, 3));
  EXPECT_FALSE(View()->GotoLineDrawn());
  game->settings.kind[0] = PlayerKind::Computer;   // the hourglass in a computer's turn
  View()->SetMapCursor(CellCentre(6, 3));
  EXPECT_EQ(View()->CursorShape(), 20);
}

// --- The button strip ---

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
      {0, "new"},           {92, "file"},         {93, ""},         {106, ""},        {107, "sleep"},
      {260, "Illegal Move"}, {261, ""},            {275, "End turn..."}, {305, "End turn..."}, {306, "Coward!"},
      {335, "Coward!"},     {336, ""},            {350, "zoom 12"}, {472, "zoom 32"}, {473, ""},
      {400, "zoom 16"},     {138, "ready"},   // Later last: it hands the turn on
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
  AwaitOrders(enemy);
  for (int x : {120, 92, 280}) Click(QPoint(x, 10));
  Settle();
  EXPECT_EQ(game->pieces[enemy].state, PieceState::AwaitingOrders);
  EXPECT_TRUE(hooks->messages.empty());
  EXPECT_EQ(hooks->fileDialogs, 0);
  Click(QPoint(320, 10));
  Settle();
  EXPECT_EQ(hooks->messages, std::vector<std::string>{"Coward!: Are you sure you wish to surrender?"});
  game->state.demoMode = 1;
  Click(QPoint(320, 10));
  Click(QPoint(40, 10));
  Settle();
  EXPECT_EQ(hooks->messages.size(), 1u);
  EXPECT_EQ(hooks->fileDialogs, 1);   // Open works even in a demo
}

// --- Scrolling, keeping the piece in view, zoom ---

class ViewTest : public PlayFixture {};

TEST_F(ViewTest, LineAndPageStepsWrapRoundTheWorld) {
  BuildSea(40, 12);
  game->state.homeX[0] = 10;
  game->state.homeY[0] = 30;
  game->state.viewX = game->state.viewY = 0;
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  EXPECT_EQ(game->state.viewX, 39);
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

TEST_F(ViewTest, AResizedWindowPlacesTheBarsAndALineScrollRedrawsOnlyTheNewBand) {
  BuildSea(60);
  AddCity(*game, 0, 30, 30);
  AddPiece(*game, PieceType::Destroyer, 0, 33, 28);
  window->resize(600, 500);
  QCoreApplication::processEvents();
  const QSize client = View()->size();
  EXPECT_EQ(View()->VerticalBar()->geometry(), QRect(client.width() - 15, 34, 16, client.height() - 48));
  EXPECT_EQ(View()->HorizontalBar()->geometry(), QRect(0, client.height() - 15, client.width() - 14, 16));
  EXPECT_EQ(View()->Grip()->geometry(), QRect(client.width() - 15, client.height() - 15, 15, 15));
  View()->RepaintAll();
  const QImage before = View()->Screen();
  Key(Qt::Key_Right);
  const QImage after = View()->Screen();
  const QRect area = MapViewRect(after.size()) & after.rect();
  const QRect kept(area.left(), area.top(), ((after.width() - 16) / 16 - 1) * 16, area.height());
  EXPECT_EQ(after.copy(kept), before.copy(kept.translated(16, 0)));
  View()->RepaintAll();   // and the band is what a full repaint draws
  EXPECT_EQ(View()->Screen().copy(area), after.copy(area));
}

TEST_F(ViewTest, KeepPieceInViewPagesUntilThePieceIsWellInside) {
  BuildSea(70, 32);
  AwaitOrders(AddPiece(*game, PieceType::Destroyer, 0, 3, 66));
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

TEST_F(ViewTest, EachZoomSizesTheWindowToTheWorldWithinTheScreen) {
  const struct {
    int command, cellSize, button;
  } zooms[] = {{Cmd::Zoom75, 12, 10}, {Cmd::Zoom100, 16, 11}, {Cmd::Zoom150, 24, 12}, {Cmd::Zoom200, 32, 13}};
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
      for (const auto& other : zooms) {   // only the chosen zoom is checked and drawn pressed
        EXPECT_EQ(Checked(other.command), other.command == z.command);
        const QRect r(ButtonLeft(other.button), 0, 30, 32);
        EXPECT_EQ(View()->Screen().copy(r),
                  pictures.Strip(other.button == z.button).Original().copy(r).convertToFormat(QImage::Format_RGB32))
            << "button " << other.button;
      }
    }
  }
  BuildSea(40);
  window->ExecuteCommand(Cmd::Zoom100);
  QCoreApplication::processEvents();
  EXPECT_EQ(View()->size(), QSize(655, 689));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
