// SPDX-License-Identifier: GPL-3.0-or-later
// The order keys on the piece that waits, End turn and Surrender with their
// questions, and the menu through start-up, new game, demo, hand-over and victory.
#include "game/turn_loop.h"
#include "model/piece_types.h"
#include "play_fixture.h"
#include "rules/elimination.h"

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
    if (r.state != kAny) {
      EXPECT_EQ(game->pieces[p].state, r.state);
    }
    if (r.movesLeft != kAny) {
      EXPECT_EQ(game->pieces[p].movesLeft, r.movesLeft);
    }
    EXPECT_EQ(game->pieces[p].type, r.typeAfter);
    EXPECT_EQ(hooks->messages, r.message[0] ? std::vector<std::string>{r.message} : std::vector<std::string>{});
    if (r.key == 'F') {
      EXPECT_TRUE(game->pieces[p].Dest() == game->pieces[p].Pos());
    }
    game->pieces[p].type = None;
    RefreshCell(*game, game->pieces[p].Pos());
  }
  // Later hands the turn to another piece.
  const int second = AddPiece(*game, Army, 0, 5, 3);
  AwaitOrders(army);
  Type('l');
  EXPECT_EQ(std::tuple(int(game->pieces[army].state), int(game->state.currentPiece)), std::tuple(int(Ready), second));
}

// What End turn and Surrender do to the pieces is the core's (OrdersTest).
TEST_F(CommandsTest, EndTurnAndSurrenderAskAndActOnlyOnYes) {
  AddPiece(*game, PieceType::Army, 1, 6, 3);
  AwaitOrders(army);
  hooks->answers = {MsgResult::No, MsgResult::No};
  window->ExecuteCommand(Cmd::EndTurn);
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_EQ(hooks->messages, (std::vector<std::string>{"End turn...: Are you sure you wish to end your turn?",
                                                       "Coward!: Are you sure you wish to surrender?"}));
  EXPECT_EQ(std::tuple(game->app.endTurnRequested, game->pieces[army].movesLeft != 0, game->state.eliminated[0]),
            std::tuple(0, true, 0));

  hooks->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::EndTurn);
  EXPECT_EQ(std::tuple(game->app.endTurnRequested, game->pieces[army].movesLeft, game->pieces[city].movesLeft),
            std::tuple(1, 0, 0));

  hooks->answers = {MsgResult::Yes};
  window->ExecuteCommand(Cmd::Surrender);
  EXPECT_TRUE(game->pieces[army].IsEmpty() && game->pieces[city].IsEmpty());
  EXPECT_EQ(std::tuple(game->world.At(2, 2).terrain, game->state.eliminated[0]), std::tuple(Terrain::City, 1));
}

class MenuStateTest : public PlayFixture {
 protected:
  void SetUp() override {
    PlayFixture::SetUp();
    StartProgram(*game, 12345);
    window->SizeMainWindowForWorld();
    window->show();
    window->SetStartUpMenuState();
  }
  void StartNew(std::array<uint8_t, kPlayerCount> kinds) {
    game->settings.kind = kinds;
    game->settings.width = game->settings.height = 50, game->settings.landAmount = 2;
    window->ExecuteCommand(Cmd::New);
    ASSERT_EQ(game->state.gameActive, 1);
  }
  // Per item: 'e' enabled, '-' greyed, upper case ('E', 'X') when checked.
  std::string Menu(const std::vector<int>& ids) {
    std::string out;
    for (int id : ids) out += Enabled(id) ? (Checked(id) ? 'E' : 'e') : (Checked(id) ? 'X' : '-');
    return out;
  }
};

// Save, Save as, the seven orders, Home, Surrender, Auto play, Move memory, Prompt on new human.
const std::vector<int> kPlayItems = {Cmd::Save,      Cmd::SaveAs,   Cmd::Later,      Cmd::Finished,        Cmd::Return,
                                     Cmd::Sleep,     Cmd::Drop,     Cmd::EndTurn,    Cmd::CurrentPiece,    Cmd::Home,
                                     Cmd::Surrender, Cmd::AutoPlay, Cmd::MoveMemory, Cmd::PromptOnNewHuman};
// The windows, the zooms, colour and sound, then New, Open, Demo and Exit.
const std::vector<int> kOtherItems = {
    Cmd::PieceInfo, Cmd::Rankings, Cmd::Production, Cmd::WorldMap,      Cmd::GameInfo, Cmd::Zoom75,
    Cmd::Zoom100,   Cmd::Zoom150,  Cmd::Zoom200,    Cmd::ColourMonitor, Cmd::NoSound,  Cmd::PcSpeaker,
    Cmd::SoundCard, Cmd::New,      Cmd::Open,       Cmd::Demo,          Cmd::Exit};

TEST_F(MenuStateTest, StartUpThenANewGameForOneHumanThenADemoThenVictory) {
  EXPECT_EQ(Menu(kPlayItems), "------------X-");
  EXPECT_EQ(Menu(kOtherItems), "eeeeeeEeeEeeeeeee");
  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  EXPECT_EQ(Menu(kPlayItems), "eeeeeeeeeeeeE-");
  EXPECT_EQ(game->app.fileName, kRecoverFileName);
  hooks->answer = MsgResult::No;  // not saved first
  window->ExecuteCommand(Cmd::Demo);
  ASSERT_EQ(game->state.demoMode, 1);
  EXPECT_EQ(Menu(kPlayItems) + Menu({Cmd::New}), "------------X-e");
  StartNew({PlayerKind::Human, PlayerKind::Computer, 0, 0, 0, 0});
  for (PieceRecord& r : game->pieces.slots)
    if (r.owner == 1) r.type = PieceType::None;
  CheckElimination(*game);
  EXPECT_EQ(game->state.gameActive, 0);
  EXPECT_EQ(hooks->dialogs, (std::vector<std::string>{"Eliminated", "Victory"}));
  EXPECT_EQ(Menu(kPlayItems), "ee-------e-eE-") << "after victory every order, End turn included, is greyed";
  // Nor does the keyboard's way to the command ask a question nobody can act on.
  const size_t asked = hooks->messages.size();
  window->ExecuteCommand(Cmd::EndTurn);
  EXPECT_EQ(hooks->messages.size(), asked) << "End turn asked again after the game was over";
}

TEST_F(MenuStateTest, TwoHumansGetThePromptOnAndTheHandOverFollowsWhoseTurnItIs) {
  StartNew({PlayerKind::Human, PlayerKind::Computer, PlayerKind::Human, 0, 0, 0});
  EXPECT_EQ(Menu(kPlayItems), "eeeeeeeeeeeeEE");
  game->state.currentPlayer = 1;
  HandOverTurn(*game);
  EXPECT_EQ(Menu(kPlayItems), "ee-------eeeEE");
  game->state.autoPlay[2] = 1;
  game->state.currentPlayer = 2;
  HandOverTurn(*game);
  EXPECT_EQ(game->state.viewingPlayer, 2);
  EXPECT_EQ(Menu(kPlayItems), "eeeeeeeeeeeEEE");
}

}  // namespace
}  // namespace vortan::test
