// The menu and the keyboard as a player uses them: the order keys on the
// piece that waits, End turn and Surrender with their questions, the options,
// and the menu as it stands through start-up, new game, demo, hand-over and
// victory.
#include "play_fixture.h"

#include "model/piece_types.h"
#include "rules/elimination.h"
#include "rules/turn_loop.h"
#include "ui/help_window.h"

#include <QMenu>
#include <QMenuBar>

namespace vortan::test {
namespace {

class CommandsTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({
        "..........",
        ".++++++...",
        ".++++++...",
        ".++++++...",
        "..........",
        "..........",
    });
    city = AddCity(*game, 0, 2, 2);
    army = AddPiece(*game, PieceType::Army, 0, 4, 2);
  }
  int city = 0, army = 0;
};

TEST_F(CommandsTest, OrderKeysActOnTheWaitingPieceInEitherCase) {
  AwaitOrders(army);
  Type('s');
  EXPECT_EQ(game->pieces[army].state, PieceState::Asleep);
  AwaitOrders(army);
  game->pieces[army].destX = 6;
  game->pieces[army].destY = 3;
  Type('F');
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
  EXPECT_EQ(game->pieces[army].movesLeft, 0);
  EXPECT_TRUE(game->pieces[army].Dest() == game->pieces[army].Pos());
  AwaitOrders(army);
  Type('r');
  EXPECT_EQ(game->pieces[army].state, PieceState::Returning);
}

TEST_F(CommandsTest, LaterHandsTheTurnToAnotherPiece) {
  const int second = AddPiece(*game, PieceType::Army, 0, 5, 3);
  AwaitOrders(army);
  window->ExecuteCommand(Cmd::Later);
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
  EXPECT_EQ(game->state.currentPiece, second);
}

TEST_F(CommandsTest, OrderKeysAreIgnoredUnlessAHumanPieceWaits) {
  game->state.currentPiece = static_cast<int16_t>(army);
  game->pieces[army].state = PieceState::Ready;
  Type('S');
  EXPECT_EQ(game->pieces[army].state, PieceState::Ready);
  const int enemy = AddPiece(*game, PieceType::Army, 1, 5, 1);
  AwaitOrders(enemy);
  Type('S');
  Type('D');
  EXPECT_EQ(game->pieces[enemy].state, PieceState::AwaitingOrders);
  EXPECT_TRUE(scripted->messages.empty());
}

TEST_F(CommandsTest, AircraftThatCannotStayGoHomeInsteadOfSleepingOrFinishing) {
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 5, 1);
  AwaitOrders(fighter);
  Type('S');
  EXPECT_EQ(game->pieces[fighter].state, PieceState::Returning);
  AwaitOrders(fighter);
  Type('F');
  EXPECT_EQ(game->pieces[fighter].state, PieceState::Returning);
  // In a city a fighter may rest.
  const int parked = AddPiece(*game, PieceType::Fighter, 0, 2, 2);
  AwaitOrders(parked);
  Type('S');
  EXPECT_EQ(game->pieces[parked].state, PieceState::Asleep);
}

TEST_F(CommandsTest, DropTurnsParasOnOpenLandIntoAnArmyAndRefusesAnythingElse) {
  AwaitOrders(army);
  Type('d');
  ASSERT_EQ(scripted->messages.size(), 1u);
  EXPECT_EQ(scripted->messages[0], "Illegal Move: Only paras can be dropped");
  const int overSea = AddPiece(*game, PieceType::Para, 0, 8, 4);
  AwaitOrders(overSea);
  Type('D');
  EXPECT_EQ(scripted->messages.back(), "Illegal Move: Paras must be dropped on open land");
  EXPECT_EQ(game->pieces[overSea].type, PieceType::Para);
  const int overLand = AddPiece(*game, PieceType::Para, 0, 5, 2);
  AwaitOrders(overLand);
  window->ExecuteCommand(Cmd::Drop);
  EXPECT_EQ(game->pieces[overLand].type, PieceType::Army);
  EXPECT_EQ(game->pieces[overLand].movesLeft, 0);
}

TEST_F(CommandsTest, EndTurnAsksAndOnYesStopsEverythingButSendsFlyingAircraftHome) {
  const int flying = AddPiece(*game, PieceType::Fighter, 0, 5, 1);
  const int spent = AddPiece(*game, PieceType::Fighter, 0, 6, 1);
  game->pieces[spent].movesLeft = 0;
  AwaitOrders(army);
  scripted->answers = {MsgResult::No};
  window->ExecuteCommand(Cmd::EndTurn);
  EXPECT_EQ(scripted->messages.back(), "End turn...: Are you sure you wish to end your turn?");
  EXPECT_EQ(game->app.endTurnRequested, 0);
  EXPECT_NE(game->pieces[army].movesLeft, 0);

  scripted->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::EndTurn);
  EXPECT_EQ(game->app.endTurnRequested, 1);
  EXPECT_EQ(game->pieces[army].movesLeft, 0);
  EXPECT_EQ(game->pieces[city].movesLeft, 0);
  EXPECT_EQ(game->pieces[flying].state, PieceState::Returning);
  EXPECT_EQ(game->pieces[spent].state, PieceState::Ready);
}

TEST_F(CommandsTest, SurrenderAsksAndOnYesClearsTheViewersPiecesAndGivesTheCityBack) {
  AddPiece(*game, PieceType::Army, 1, 6, 3);
  scripted->answers = {MsgResult::No};
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_EQ(scripted->messages.back(), "Coward!: Are you sure you wish to surrender?");
  EXPECT_EQ(game->pieces[army].type, PieceType::Army);

  scripted->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_TRUE(game->pieces[army].IsEmpty());
  EXPECT_TRUE(game->pieces[city].IsEmpty());
  EXPECT_EQ(game->world.At(2, 2).terrain, Terrain::City);
  EXPECT_EQ(game->state.eliminated[0], 1);
}

TEST_F(CommandsTest, CurrentPieceAndHomeCentreTheViewAndItsScrollBars) {
  game->state.homeX[0] = 2;
  game->state.homeY[0] = 2;
  AwaitOrders(army);
  Type('c');
  EXPECT_EQ(game->state.viewX, 4);
  EXPECT_EQ(game->state.viewY, 2);
  EXPECT_EQ(View()->HorizontalBar()->value(), (10 * 3 / 2 + 4 - 2) % 10);
  Key(Qt::Key_Home);
  Settle();
  EXPECT_EQ(game->state.viewX, 2);
  EXPECT_EQ(View()->HorizontalBar()->value(), 5);
  EXPECT_EQ(View()->VerticalBar()->value(), 3);
}

TEST_F(CommandsTest, OptionsKeepTheirCheckMarksAndTheValuesBehindThem) {
  window->ExecuteCommand(Cmd::PcSpeaker);
  EXPECT_EQ(game->app.soundMode, SoundMode::Speaker);
  EXPECT_TRUE(Checked(Cmd::PcSpeaker));
  EXPECT_FALSE(Checked(Cmd::NoSound) || Checked(Cmd::SoundCard));
  window->Action(Cmd::NoSound)->trigger();
  EXPECT_EQ(game->app.soundMode, SoundMode::None);
  EXPECT_TRUE(Checked(Cmd::NoSound));

  const bool colour = Checked(Cmd::ColourMonitor);
  window->Action(Cmd::ColourMonitor)->trigger();
  EXPECT_NE(Checked(Cmd::ColourMonitor), colour);
  EXPECT_EQ(game->app.monochrome, colour ? 1 : 0);

  game->state.autoPlay[0] = 7;
  window->Action(Cmd::AutoPlay)->trigger();
  EXPECT_EQ(game->state.autoPlay[0], 1);
  EXPECT_TRUE(Checked(Cmd::AutoPlay));
  window->Action(Cmd::AutoPlay)->trigger();
  EXPECT_EQ(game->state.autoPlay[0], 0);

  window->CheckMenuItem(Cmd::MoveMemory, true);
  window->Action(Cmd::MoveMemory)->trigger();
  EXPECT_EQ(game->state.moveMemory[0], 0);
  window->Action(Cmd::PromptOnNewHuman)->trigger();
  EXPECT_TRUE(game->app.promptOnNewHuman);
}

TEST_F(CommandsTest, WindowKeysToggleTheToolWindowsWhateverThePieceDoes) {
  ASSERT_FALSE(window->IsToolWindowOpen(ToolWindow::Rankings));
  Type('a');
  EXPECT_TRUE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_TRUE(Checked(Cmd::Rankings));
  Type('A');
  Settle();
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_FALSE(Checked(Cmd::Rankings));
  const std::pair<char, ToolWindow> keys[] = {{'g', ToolWindow::GameInfo}, {'i', ToolWindow::PieceInfo},
                                              {'p', ToolWindow::Production}, {'w', ToolWindow::WorldMap}};
  for (auto [key, which] : keys) {
    Type(key);
    EXPECT_TRUE(window->IsToolWindowOpen(which)) << key;
  }
}

TEST_F(CommandsTest, RulesOpenTheRulesForPlayers) {
  window->ExecuteCommand(Cmd::Rules);
  auto* help = window->findChild<HelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QString text = help->toPlainText();
  for (const char* topic : {"The goal", "The pieces", "Moving", "Fighting", "Fuel", "Cities and production",
                            "The windows", "Keys and mouse", "Several people at one screen"})
    EXPECT_TRUE(text.contains(topic)) << topic;
  window->ExecuteCommand(Cmd::Rules);
  EXPECT_EQ(window->findChildren<HelpWindow*>().size(), 1);
}

// The menu bar as text: each popup with its items (id in brackets), "-" for a
// separator and a submenu in braces.
std::string Describe(QMenu* menu) {
  std::string out = menu->title().toStdString() + ":";
  for (QAction* a : menu->actions()) {
    if (a->isSeparator())
      out += " -";
    else if (a->menu())
      out += " {" + Describe(a->menu()) + "}";
    else
      out += " " + a->text().toStdString() + "[" + std::to_string(a->data().toInt()) + "]";
  }
  return out;
}

TEST_F(CommandsTest, TheMenuBarHoldsEveryCommandInItsPlace) {
  std::vector<std::string> menus;
  for (QAction* a : window->menuBar()->actions())
    if (a->menu()) menus.push_back(Describe(a->menu()));
  auto* corner = qobject_cast<QMenuBar*>(window->menuBar()->cornerWidget(Qt::TopRightCorner));
  ASSERT_NE(corner, nullptr);   // Help sits at the right end
  for (QAction* a : corner->actions()) menus.push_back(Describe(a->menu()));
  const std::vector<std::string> expected = {
      "&File: &New...[101] &Open...[102] &Save[103] Save &as...[104] - &Demo[105] - E&xit[106]",
      "&Moves: &Sleep[133] &Later[130] &Finished[131] &Return[132] &Drop[134] - &End turn...[136] S&urrender...[135]",
      "&View: &Game Info[144] R&ankings[141] Piece &Info[140] &Production[143] &World Map[142] -   75 %[145] 100 %[146] "
      "150 %[147] 200 %[148] - &Current piece[149] &Home[150]",
      "&Options: {&Sound: No Sound[160] PC Speaker[161] Sound Card[162]} &Colour monitor[163] - &Prompt on new "
      "human[164] &Move memory[166] &Auto play[165]",
      "&Help: &Rules...[801] - &About...[800]",
  };
  EXPECT_EQ(menus, expected);
}

// --- The menu through a game's life ---

class MenuStateTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    ResetToProgramStart(*game);
    for (int t = 1; t < kTypeCount; ++t) {
      game->settings.inUse[t] = 1;
      game->settings.days[t] = kPieceTypeDefaults[t].days;
      game->settings.moves[t] = kPieceTypeDefaults[t].moves;
      game->settings.fuel[t] = kPieceTypeDefaults[t].fuel;
    }
    game->rng.SetState(12345);
    window->SizeMainWindowForWorld();
    window->show();
    window->SetStartUpMenuState();
  }
  void StartNew(std::array<uint8_t, kPlayerCount> kinds) {
    game->settings.kind = kinds;
    game->settings.width = game->settings.height = 50;
    game->settings.landAmount = 2;
    window->ExecuteCommand(Cmd::New);
    ASSERT_EQ(game->state.gameActive, 1);
  }
};

constexpr int kPlayItems[] = {Cmd::Save, Cmd::SaveAs,  Cmd::Later,        Cmd::Finished, Cmd::Return,   Cmd::Sleep,
                              Cmd::Drop, Cmd::EndTurn, Cmd::CurrentPiece, Cmd::Home,     Cmd::Surrender, Cmd::AutoPlay,
                              Cmd::MoveMemory};

TEST_F(MenuStateTest, StartUpGraysWhatNeedsAGame) {
  for (int id : kPlayItems) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(Cmd::PromptOnNewHuman));
  for (int id : {Cmd::PieceInfo, Cmd::Rankings, Cmd::Production, Cmd::WorldMap, Cmd::GameInfo, Cmd::Zoom75,
                 Cmd::Zoom100, Cmd::Zoom150, Cmd::Zoom200, Cmd::ColourMonitor, Cmd::NoSound, Cmd::PcSpeaker,
                 Cmd::SoundCard, Cmd::New, Cmd::Open, Cmd::Demo, Cmd::Exit})
    EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_TRUE(Checked(Cmd::Zoom100));
  EXPECT_TRUE(Checked(Cmd::MoveMemory));
}

TEST_F(MenuStateTest, ANewGameForOneHumanEnablesPlayAndLeavesThePromptOff) {
  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  for (int id : kPlayItems) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(Cmd::PromptOnNewHuman));
  EXPECT_FALSE(Checked(Cmd::PromptOnNewHuman));
  EXPECT_TRUE(Checked(Cmd::MoveMemory));
  EXPECT_FALSE(Checked(Cmd::AutoPlay));
  EXPECT_TRUE(Checked(Cmd::Zoom100));
  EXPECT_EQ(game->app.fileName, kRecoverFileName);
}

TEST_F(MenuStateTest, TwoHumansGetThePromptOnAndTheHandOverFollowsWhoseTurnItIs) {
  StartNew({PlayerKind::Human, PlayerKind::Computer, PlayerKind::Human, 0, 0, 0});
  EXPECT_TRUE(Enabled(Cmd::PromptOnNewHuman));
  EXPECT_TRUE(Checked(Cmd::PromptOnNewHuman));
  game->state.currentPlayer = 1;
  HandOverTurn(*game);
  for (int id : {Cmd::CurrentPiece, Cmd::Drop, Cmd::Return, Cmd::Later, Cmd::Finished, Cmd::Sleep, Cmd::EndTurn})
    EXPECT_FALSE(Enabled(id)) << id;
  game->state.autoPlay[2] = 1;
  game->state.currentPlayer = 2;
  HandOverTurn(*game);
  EXPECT_EQ(game->state.viewingPlayer, 2);
  for (int id : {Cmd::CurrentPiece, Cmd::Drop, Cmd::Return, Cmd::Later, Cmd::Finished, Cmd::Sleep, Cmd::EndTurn})
    EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_TRUE(Checked(Cmd::AutoPlay));
}

TEST_F(MenuStateTest, ADemoGraysPlayAndVictoryStopsTheOrders) {
  window->ExecuteCommand(Cmd::Demo);
  ASSERT_EQ(game->state.demoMode, 1);
  for (int id : kPlayItems) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(Cmd::New));

  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  for (PieceRecord& r : game->pieces.slots)
    if (r.owner == 1) r.type = PieceType::None;
  CheckElimination(*game);
  EXPECT_EQ(game->state.gameActive, 0);
  ASSERT_FALSE(scripted->dialogs.empty());
  EXPECT_EQ(scripted->dialogs.back(), "Victory");
  for (int id : {Cmd::Drop, Cmd::Return, Cmd::Later, Cmd::Finished, Cmd::Sleep, Cmd::CurrentPiece, Cmd::Surrender})
    EXPECT_FALSE(Enabled(id)) << id;
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
