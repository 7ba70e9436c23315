// The menu and the keyboard as a player uses them: the order keys on the
// piece that waits, End turn and Surrender with their questions, the options,
// and the menu as it stands through start-up, new game, demo, hand-over and
// victory.
#include "model/piece_types.h"
#include "play_fixture.h"
#include "rules/elimination.h"
#include "rules/turn_loop.h"
#include "ui/help_window.h"

namespace vortan::test {
namespace {

class CommandsTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    Build({"..........", ".++++++...", ".++++++...", ".++++++...", "..........", ".........."});
    city = AddCity(*game, 0, 2, 2);
    army = AddPiece(*game, PieceType::Army, 0, 4, 2);
  }
  int city = 0, army = 0;
};

TEST_F(CommandsTest, OrderKeysActOnlyOnAHumansWaitingPieceInEitherCase) {
  using namespace PieceType;
  using namespace PieceState;
  constexpr int kAny = -1;
  const struct {
    const char* what;
    int type, owner, x, y;
    bool waits;
    char key;
    int state, movesLeft, typeAfter;
    const char* message;
  } rows[] = {
      {"sleep", Army, 0, 4, 2, true, 's', Asleep, kAny, Army, ""},
      {"finished", Army, 0, 4, 2, true, 'F', Ready, 0, Army, ""},
      {"return", Army, 0, 4, 2, true, 'r', Returning, kAny, Army, ""},
      {"army drop", Army, 0, 4, 2, true, 'd', kAny, kAny, Army, "Illegal Move: Only paras can be dropped"},
      {"fighter off a city sleeps", Fighter, 0, 5, 1, true, 'S', Returning, kAny, Fighter, ""},
      {"fighter off a city finishes", Fighter, 0, 5, 1, true, 'f', Returning, kAny, Fighter, ""},
      {"fighter in a city", Fighter, 0, 2, 2, true, 'S', Asleep, kAny, Fighter, ""},
      {"para over sea", Para, 0, 8, 4, true, 'D', kAny, kAny, Para, "Illegal Move: Paras must be dropped on open land"},
      {"para over land", Para, 0, 5, 2, true, 'D', kAny, 0, Army, ""},
      {"not waiting", Army, 0, 4, 2, false, 'S', Ready, kAny, Army, ""},
      {"not a human's", Army, 1, 5, 1, true, 'S', AwaitingOrders, kAny, Army, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const int p = AddPiece(*game, r.type, r.owner, r.x, r.y);
    game->settings.kind[1] = PlayerKind::Computer;
    AwaitOrders(p);
    if (!r.waits) game->pieces[p].state = PieceState::Ready;
    game->pieces[p].destX = 6;
    hooks->messages.clear();
    Type(r.key);
    if (r.state != kAny) EXPECT_EQ(game->pieces[p].state, r.state);
    if (r.movesLeft != kAny) EXPECT_EQ(game->pieces[p].movesLeft, r.movesLeft);
    EXPECT_EQ(game->pieces[p].type, r.typeAfter);
    EXPECT_EQ(hooks->messages, r.message[0] ? std::vector<std::string>{r.message} : std::vector<std::string>{});
    if (r.key == 'F') EXPECT_TRUE(game->pieces[p].Dest() == game->pieces[p].Pos());
    game->pieces[p].type = None;
    RefreshCell(*game, game->pieces[p].Pos());
  }
  // Later hands the turn to another piece.
  const int second = AddPiece(*game, Army, 0, 5, 3);
  AwaitOrders(army);
  Type('l');
  EXPECT_EQ(game->pieces[army].state, Ready);
  EXPECT_EQ(game->state.currentPiece, second);
}

TEST_F(CommandsTest, EndTurnAndSurrenderAskAndActOnlyOnYes) {
  const int flying = AddPiece(*game, PieceType::Fighter, 0, 5, 1);
  const int spent = AddPiece(*game, PieceType::Fighter, 0, 6, 1);
  game->pieces[spent].movesLeft = 0;
  AddPiece(*game, PieceType::Army, 1, 6, 3);
  AwaitOrders(army);
  hooks->answers = {MsgResult::No, MsgResult::No};
  window->ExecuteCommand(Cmd::EndTurn);
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_EQ(hooks->messages, (std::vector<std::string>{"End turn...: Are you sure you wish to end your turn?",
                                                       "Coward!: Are you sure you wish to surrender?"}));
  EXPECT_EQ(game->app.endTurnRequested, 0);
  EXPECT_NE(game->pieces[army].movesLeft, 0);
  EXPECT_EQ(game->state.eliminated[0], 0);

  // Yes to End turn: everything stops but flying aircraft with moves go home.
  hooks->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::EndTurn);
  EXPECT_EQ(game->app.endTurnRequested, 1);
  EXPECT_EQ(game->pieces[army].movesLeft, 0);
  EXPECT_EQ(game->pieces[city].movesLeft, 0);
  EXPECT_EQ(game->pieces[flying].state, PieceState::Returning);
  EXPECT_EQ(game->pieces[spent].state, PieceState::Ready);

  // Yes to Surrender: the viewer's pieces go and the city turns neutral.
  hooks->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_TRUE(game->pieces[army].IsEmpty());
  EXPECT_TRUE(game->pieces[city].IsEmpty());
  EXPECT_EQ(game->world.At(2, 2).terrain, Terrain::City);
  EXPECT_EQ(game->state.eliminated[0], 1);
}

TEST_F(CommandsTest, CurrentPieceAndHomeCentreTheViewAndItsScrollBars) {
  game->state.homeX[0] = game->state.homeY[0] = 2;
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
  const struct {
    int command;
    std::function<int()> value;
    int expected;
    bool checked;
  } rows[] = {{Cmd::PcSpeaker, [&] { return game->app.soundMode; }, SoundMode::Speaker, true},
              {Cmd::NoSound, [&] { return game->app.soundMode; }, SoundMode::None, true},
              {Cmd::ColourMonitor, [&] { return game->app.monochrome; }, 1, false},
              {Cmd::ColourMonitor, [&] { return game->app.monochrome; }, 0, true},
              {Cmd::AutoPlay, [&] { return game->state.autoPlay[0]; }, 1, true},
              {Cmd::AutoPlay, [&] { return game->state.autoPlay[0]; }, 0, false},
              {Cmd::MoveMemory, [&] { return game->state.moveMemory[0]; }, 0, false},
              {Cmd::PromptOnNewHuman, [&] { return int(game->app.promptOnNewHuman); }, 1, true}};
  window->CheckMenuItem(Cmd::ColourMonitor, true);
  window->CheckMenuItem(Cmd::MoveMemory, true);
  game->state.autoPlay[0] = 7;
  for (const auto& r : rows) {
    window->Action(r.command)->trigger();
    EXPECT_EQ(r.value(), r.expected) << r.command;
    EXPECT_EQ(Checked(r.command), r.checked) << r.command;
  }
  EXPECT_FALSE(Checked(Cmd::PcSpeaker) || Checked(Cmd::SoundCard));
}

TEST_F(CommandsTest, WindowKeysToggleTheToolWindowsAndRulesOpensOnce) {
  Type('a');
  EXPECT_TRUE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_TRUE(Checked(Cmd::Rankings));
  Type('A');
  Settle();
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_FALSE(Checked(Cmd::Rankings));
  for (auto [key, which] : {std::pair{'g', ToolWindow::GameInfo}, std::pair{'i', ToolWindow::PieceInfo},
                            std::pair{'p', ToolWindow::Production}, std::pair{'w', ToolWindow::WorldMap}}) {
    Type(key);
    EXPECT_TRUE(window->IsToolWindowOpen(which)) << key;
  }
  window->ExecuteCommand(Cmd::Rules);
  window->ExecuteCommand(Cmd::Rules);
  ASSERT_EQ(window->findChildren<HelpWindow*>().size(), 1);
  auto* help = window->findChild<HelpWindow*>();
  EXPECT_TRUE(help->isVisible());
  for (const char* topic : {"The goal", "The pieces", "Moving", "Fighting", "Fuel", "Cities and production",
                            "The windows", "Keys and mouse", "Several people at one screen"})
    EXPECT_TRUE(help->toPlainText().contains(topic)) << topic;
}

// --- The menu through a game's life ---

class MenuStateTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    ResetToProgramStart(*game);
    ApplyDefaultPieceAttributes(game->settings);
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
  void ExpectEnabled(const std::vector<int>& ids, bool enabled) {
    for (int id : ids) EXPECT_EQ(Enabled(id), enabled) << id;
  }
};

const std::vector<int> kPlayItems = {Cmd::Save,      Cmd::SaveAs, Cmd::Later,        Cmd::Finished, Cmd::Return,
                                     Cmd::Sleep,     Cmd::Drop,   Cmd::EndTurn,      Cmd::CurrentPiece, Cmd::Home,
                                     Cmd::Surrender, Cmd::AutoPlay, Cmd::MoveMemory};
const std::vector<int> kOrderItems = {Cmd::CurrentPiece, Cmd::Drop,     Cmd::Return, Cmd::Later,
                                      Cmd::Finished,     Cmd::Sleep,    Cmd::EndTurn};

TEST_F(MenuStateTest, StartUpThenANewGameForOneHumanThenADemoThenVictory) {
  ExpectEnabled(kPlayItems, false);
  ExpectEnabled({Cmd::PromptOnNewHuman}, false);
  ExpectEnabled({Cmd::PieceInfo, Cmd::Rankings, Cmd::Production, Cmd::WorldMap, Cmd::GameInfo, Cmd::Zoom75,
                 Cmd::Zoom100, Cmd::Zoom150, Cmd::Zoom200, Cmd::ColourMonitor, Cmd::NoSound, Cmd::PcSpeaker,
                 Cmd::SoundCard, Cmd::New, Cmd::Open, Cmd::Demo, Cmd::Exit},
                true);
  EXPECT_TRUE(Checked(Cmd::Zoom100));
  EXPECT_TRUE(Checked(Cmd::MoveMemory));

  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  ExpectEnabled(kPlayItems, true);
  ExpectEnabled({Cmd::PromptOnNewHuman}, false);
  EXPECT_FALSE(Checked(Cmd::PromptOnNewHuman));
  EXPECT_TRUE(Checked(Cmd::MoveMemory));
  EXPECT_FALSE(Checked(Cmd::AutoPlay));
  EXPECT_EQ(game->app.fileName, kRecoverFileName);

  hooks->answer = MsgResult::No;   // not saved first
  window->ExecuteCommand(Cmd::Demo);
  ASSERT_EQ(game->state.demoMode, 1);
  ExpectEnabled(kPlayItems, false);
  ExpectEnabled({Cmd::New}, true);

  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  for (PieceRecord& r : game->pieces.slots)
    if (r.owner == 1) r.type = PieceType::None;
  CheckElimination(*game);
  EXPECT_EQ(game->state.gameActive, 0);
  ASSERT_FALSE(hooks->dialogs.empty());
  EXPECT_EQ(hooks->dialogs.back(), "Victory");
  ExpectEnabled({Cmd::Drop, Cmd::Return, Cmd::Later, Cmd::Finished, Cmd::Sleep, Cmd::CurrentPiece, Cmd::Surrender},
                false);
}

TEST_F(MenuStateTest, TwoHumansGetThePromptOnAndTheHandOverFollowsWhoseTurnItIs) {
  StartNew({PlayerKind::Human, PlayerKind::Computer, PlayerKind::Human, 0, 0, 0});
  ExpectEnabled({Cmd::PromptOnNewHuman}, true);
  EXPECT_TRUE(Checked(Cmd::PromptOnNewHuman));
  game->state.currentPlayer = 1;
  HandOverTurn(*game);
  ExpectEnabled(kOrderItems, false);
  game->state.autoPlay[2] = 1;
  game->state.currentPlayer = 2;
  HandOverTurn(*game);
  EXPECT_EQ(game->state.viewingPlayer, 2);
  ExpectEnabled(kOrderItems, true);
  EXPECT_TRUE(Checked(Cmd::AutoPlay));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
