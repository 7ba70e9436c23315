// SPDX-License-Identifier: GPL-3.0-or-later
// What a player is told: the list of recent events beside the map (only what
// the viewing player may know), why an order did nothing, whose turn it is,
// and the mouse wheel, menu keys and Escape that players expect.
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

#include "game/turn_loop.h"
#include "play_fixture.h"
#include "rules/combat.h"
#include "ui/event_list.h"
#include "ui/production_window.h"

namespace vortan::test {
namespace {

class FeedbackTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({"..............", ".++++++++.....", ".++++++++.....", ".++++++++.....", "..............", "..........++..",
           "..........++..", ".............."});
    game->settings.kind[0] = game->settings.kind[1] = PlayerKind::Human;
    game->state.gameActive = 1;
  }
  // Everything in the list, newest first, one line each.
  std::vector<std::string> Listed() {
    std::vector<std::string> out;
    for (const EventLine& l : window->Events().Lines()) out.push_back(l.text.toStdString());
    return out;
  }
  void SeeOnly(int x0, int x1) {
    for (int y = 0; y < game->Height(); ++y)
      for (int x = 0; x < game->Width(); ++x) {
        game->world.At(x, y).explored = 1;
        game->world.At(x, y).visible = x >= x0 && x <= x1 ? 1 : 0;
      }
  }
};

TEST_F(FeedbackTest, CombatsCapturesBuildsAndLossesAreListedOnlyWhenTheViewerMayKnowThem) {
  SeeOnly(0, 5);
  EventList& list = window->Events();
  list.Combat(MapPos{3, 2}, 1, PieceType::Army, 2, PieceType::Army, true);              // seen
  list.Combat(MapPos{10, 5}, 1, PieceType::Destroyer, 2, PieceType::Transport, true);   // out of sight
  list.Combat(MapPos{10, 5}, 1, PieceType::Destroyer, 0, PieceType::Transport, false);  // the viewer's own
  list.CityTaken(MapPos{11, 6}, 1, 2);  // out of sight, not the viewer's
  list.CityTaken(MapPos{11, 6}, 1, 0);  // the viewer's city
  list.Built(1, PieceType::Fighter);    // another player's production is secret
  list.Built(0, PieceType::Fighter);
  list.Lost(1, PieceType::Bomber, PieceLoss::OutOfFuel);
  list.Lost(0, PieceType::Army, PieceLoss::SankWithShip);
  list.Eliminated(2);
  EXPECT_EQ(Listed(),
            (std::vector<std::string>{"BLUE is eliminated", "RED army went down with its ship", "Fighter built",
                                      "GREEN took a RED city", "GREEN destroyer hit RED transport",
                                      "GREEN army destroyed BLUE army"}));
  for (int k = 0; k < 15; ++k) list.Built(0, PieceType::Army);
  EXPECT_EQ(Listed().size(), size_t(EventList::kKept)) << "only the last ten are kept";
  // Another player views: nothing of the first one's list is shown to them.
  game->state.viewingPlayer = 1;
  list.Built(1, PieceType::Transport);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Transport built"}));
}

TEST_F(FeedbackTest, ARealCombatAndCaptureReachTheListThroughTheCore) {
  RevealAll();
  AddCity(*game, 1, 11, 5);  // GREEN lives on after both losses
  AddCity(*game, 1, 6, 2);
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  const int enemy = AddPiece(*game, PieceType::Army, 1, 4, 2);
  game->pieces[enemy].strength = 1;
  game->state.currentPlayer = 0;
  ResolveAttack(*game, army, MapPos{4, 2});
  ASSERT_FALSE(Listed().empty()) << "the combat was not listed";
  EXPECT_EQ(Listed().front(), "RED army destroyed GREEN army");
  const int second = AddPiece(*game, PieceType::Army, 0, 5, 2);
  ResolveAttack(*game, second, MapPos{6, 2});
  EXPECT_EQ(Listed().front(), "RED took a GREEN city");
}

TEST_F(FeedbackTest, AClickThatGivesNoStepSaysWhyAndShowsTheRefusalPointer) {
  RevealAll();
  const int ship = AddPiece(*game, PieceType::Destroyer, 0, 10, 0);
  AwaitOrders(ship);
  Click(CellCentre(4, 2));  // inland
  for (int k = 0; k < 5 && Listed().empty(); ++k) AdvanceGame(*game);
  ASSERT_FALSE(Listed().empty()) << "the refused order was not explained";
  EXPECT_EQ(Listed().front(), "Ships cannot go on land");
  EXPECT_EQ(View()->cursor().shape(), Qt::ForbiddenCursor);
  EXPECT_EQ(window->Events().Lines().front().player, -1);

  // Drop over water is refused in the list as well as in its box.
  const int para = AddPiece(*game, PieceType::Para, 0, 12, 0);
  AwaitOrders(para);
  Type('d');
  EXPECT_EQ(Listed().front(), "Paras must be dropped on open land");
}

TEST_F(FeedbackTest, TheSidePanelNamesWhoseTurnItIsAndTheBoxesNameThePlayer) {
  window->OpenToolWindow(ToolWindow::Production);
  auto* production = static_cast<ProductionWindow*>(window->ToolWindowWidget(ToolWindow::Production));
  ASSERT_NE(production, nullptr);
  production->resize(112, 500);
  for (int player : {0, 2}) {
    game->state.currentPlayer = static_cast<int16_t>(player);
    window->AfterGameSlice();
    const QImage shot = Shot(*production).copy(production->EventArea());
    int coloured = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < shot.width(); ++x) coloured += shot.pixel(x, y) == PlayerTextColour(player).rgb();
    EXPECT_GT(coloured, 10) << "no text in " << kPlayerNames[player] << "'s colour names the player on turn";
  }
}

TEST_F(FeedbackTest, WheelScrollsShiftWheelGoesSidewaysCtrlWheelZooms) {
  const auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
    const QPointF at = CellCentre(5, 4);
    QWheelEvent e(at, View()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(View(), &e);
  };
  const int x = game->state.viewX, y = game->state.viewY;
  wheel(-120, Qt::NoModifier);
  EXPECT_EQ(std::tuple(int(game->state.viewX), int(game->state.viewY)), std::tuple(x, (y + 1) % game->Height()));
  wheel(120, Qt::ShiftModifier);
  EXPECT_EQ(std::tuple(int(game->state.viewX), int(game->state.viewY)),
            std::tuple((x - 1 + game->Width()) % game->Width(), (y + 1) % game->Height()));
  wheel(120, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(game->state.tileSize, 24) << "Ctrl + wheel up zooms in one step from 100 %";
}

TEST_F(FeedbackTest, MenuItemsShowTheirKeysAndOpenSaveExitHaveShortcuts) {
  EXPECT_TRUE(window->Action(Cmd::Sleep)->text().endsWith("\tS"));
  EXPECT_TRUE(window->Action(Cmd::WorldMap)->text().endsWith("\tW"));
  EXPECT_EQ(window->Action(Cmd::Open)->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(window->Action(Cmd::Save)->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(window->Action(Cmd::Exit)->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST_F(FeedbackTest, EscapeCatchesTheViewersAutoPlay) {
  game->state.viewingPlayer = 0;
  window->ExecuteCommand(Cmd::AutoPlay);
  ASSERT_EQ(game->state.autoPlay[0], 1);
  Key(Qt::Key_Escape);
  Settle();
  EXPECT_EQ(game->state.autoPlay[0], 0) << "Escape did not stop auto play";
  EXPECT_FALSE(window->Action(Cmd::AutoPlay)->isChecked());
}

// The piece waiting for a human's order is framed by an inverted rim that
// blinks; nothing blinks while the computer plays or the window is hidden.
TEST_F(FeedbackTest, AThinFrameBlinksRoundTheWaitingPieceOnlyWhileAHumanMustAct) {
  RevealAll();
  const int army = AddPiece(*game, PieceType::Army, 0, 3, 2);
  Grab();
  window->AfterGameSlice();
  EXPECT_FALSE(View()->Blinking()) << "blinking with no piece waiting";
  AwaitOrders(army);
  const QImage before = View()->Screen().copy(CellRect(3, 2));
  window->AfterGameSlice();
  ASSERT_TRUE(View()->Blinking());
  QTest::qWait(600);
  const QImage framed = View()->Screen().copy(CellRect(3, 2));
  const int last = framed.width() - 1;
  for (const QPoint p : {QPoint(0, 0), QPoint(last, 5), QPoint(5, last), QPoint(0, last)})
    EXPECT_EQ(framed.pixel(p), before.pixel(p) ^ 0x00FFFFFF)
        << "rim pixel " << p.x() << "," << p.y() << " not inverted";
  EXPECT_EQ(framed.pixel(5, 5), before.pixel(5, 5)) << "the piece itself is covered";
  game->settings.kind[0] = PlayerKind::Computer;
  window->AfterGameSlice();
  EXPECT_FALSE(View()->Blinking()) << "still blinking during a computer's turn";
  EXPECT_EQ(View()->Screen().copy(CellRect(3, 2)), before) << "the frame was left behind";
  game->settings.kind[0] = PlayerKind::Human;
  window->AfterGameSlice();
  window->hide();
  EXPECT_FALSE(View()->Blinking()) << "the timer runs for a hidden window";
}

}  // namespace
}  // namespace vortan::test
