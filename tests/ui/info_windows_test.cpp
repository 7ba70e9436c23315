// SPDX-License-Identifier: GPL-3.0-or-later
// The information windows beside the map: Rankings, the Production list and
// the World Map; a hot-seat day and every window of a game in progress.
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>

#include "game/game_start.h"
#include "game/orders.h"
#include "game/turn_loop.h"
#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "ui/announcements.h"
#include "ui/city_dialog.h"
#include "ui/production_window.h"
#include "ui/rankings_window.h"
#include "ui/world_map_window.h"
#include "window_fixture.h"
#include "worldgen/new_game.h"

namespace vortan::test {
namespace {

// The application's own hooks, dialogs and all, without message boxes and the waits of explosions and sounds.
class RealDialogHooks : public ShellHooks {
 public:
  using ShellHooks::ShellHooks;
  MsgResult ShowMessageBox(std::string_view, std::string_view, MsgIcon, MsgButtons) override { return MsgResult::Yes; }
  void ShowExplosion(MapPos, Rgb, int) override {}
  void PlaySoundEffect(int) override {}
};

class InfoWindowsTest : public WindowFixture {};

TEST_F(InfoWindowsTest, RankingsScoreEachCategoryAndBreakTiesByCategory) {
  Build({"++++", "++++", "....", "...."});
  for (auto [owner, x] : {std::pair{0, 0}, {0, 1}, {2, 2}}) AddCity(*game, owner, x, 0);
  for (int i = 0; i < 3; ++i) AddPiece(*game, PieceType::Army, 1, 0, 1);
  const std::tuple<int, int, int, int> pieces[] = {{PieceType::Destroyer, 0, 0, 2},  {PieceType::Submarine, 0, 1, 2},
                                                   {PieceType::Battleship, 1, 2, 2}, {PieceType::Carrier, 1, 3, 2},
                                                   {PieceType::Transport, 3, 0, 3},  {PieceType::Fighter, 4, 1, 1},
                                                   {PieceType::Bomber, 4, 2, 1},     {PieceType::Para, 5, 3, 1}};
  for (const auto& [type, owner, x, y] : pieces) AddPiece(*game, type, owner, x, y);
  EXPECT_EQ(ScoreRankings(game->pieces),
            (RankingScores{{{2, 0, 1, 0, 0, 0}, {0, 3, 0, 0, 0, 0}, {10, 20, 0, 1, 0, 0}, {0, 0, 0, 0, 6, 1}}}));
  // Ties: cities and sea to the lower player, troops and air to the higher; 3 fighters beat 10 bombers.
  constexpr int n = kNoRank;
  EXPECT_EQ(
      RankPlayers(RankingScores{{{0, 2, 0, 2, 1, 0}, {0, 2, 0, 2, 1, 0}, {5, 0, 5, 0, 0, 0}, {0, 15, 0, 0, 10, 0}}}),
      (RankingOrder{{{1, 3, 4, n, n, n}, {3, 1, 4, n, n, n}, {0, 2, n, n, n, n}, {1, 4, n, n, n, n}}}));
}

TEST_F(InfoWindowsTest, ProductionListSortsByTypeOrderThenDaysThenTableOrder) {
  Build(std::vector<std::string>(6, "++++++"));
  using namespace PieceType;
  const std::tuple<int, int, int> cities[] = {// owner, production, days left; the last is stalled
                                              {0, Battleship, 9}, {0, Army, 5}, {0, Fighter, 9},
                                              {0, Army, 5},       {0, Army, 2}, {0, Para, 9},
                                              {0, Transport, 9},  {1, Army, 9}, {0, Army, 33}};
  std::vector<int> c;
  for (const auto& [owner, type, days] : cities) {
    c.push_back(AddCity(*game, owner, int(c.size()) % 6, int(c.size()) / 6, type));
    game->pieces[c.back()].daysLeft = static_cast<uint8_t>(days);
  }
  EXPECT_EQ(ProductionList(*game, 0), (std::vector<int>{c[4], c[1], c[3], c[5], c[2], c[6], c[0]}));
  const std::pair<int, const char*> days[] = {
      {0, "tomorrow   "}, {1, "tomorrow   "}, {2, "in 2 days   "}, {32, "in 32 days   "}};
  for (const auto& [n, text] : days) EXPECT_EQ(ProductionDaysText(n), text) << n;
}

TEST_F(InfoWindowsTest, WorldMapOf50By50Is258By282CentredOnHomeAndAClickCentresTheMap) {
  Build(std::vector<std::string>(50, std::string(25, '+') + std::string(25, '.')));
  EXPECT_EQ(WorldMapFrameSize(50, 50), QSize(258, 282));
  WorldMapWindow w(*game, cursors, window.get());
  w.show();
  EXPECT_EQ(w.frameGeometry().size(), QSize(258, 282));
  game->state.homeX[0] = 10, game->state.homeY[0] = 3;
  EXPECT_EQ(WorldMapCellOf(*game, 0, 0), (MapPos{35, 28}));  // half a world from home
  EXPECT_EQ(WorldMapCellOf(*game, 25, 25), (MapPos{10, 3}));
  const QPoint click = WorldMapOrigin(*game, w.size()) + QPoint(5 * 25 + 2, 5 * 24 + 4);
  QMouseEvent release(QEvent::MouseButtonRelease, click, w.mapToGlobal(click), Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
  EXPECT_EQ(std::tuple(game->state.viewX, game->state.viewY), std::tuple(10, 2));
  // Each block painted in its colours: the frame and centre of a marked one.
  RevealAll();
  AddPiece(*game, PieceType::Army, 0, 10, 3);
  const QImage shot = Shot(w);
  const QPoint origin = WorldMapOrigin(*game, w.size());
  for (int i = 0; i < 50; i += 3)
    for (int j = 0; j < 50; j += 3) {
      const WorldMapBlock b = WorldMapBlockAt(*game, WorldMapCellOf(*game, i, j));
      const QPoint corner = origin + QPoint(5 * i, 5 * j);
      ASSERT_EQ(shot.pixel(corner), b.marked ? b.frame : b.ground) << i << "," << j;
      ASSERT_EQ(shot.pixel(corner + QPoint(2, 2)), b.marked ? b.centre : b.ground) << i << "," << j;
    }
  EXPECT_EQ(shot.pixel(origin + QPoint(5 * 25 + 2, 5 * 25 + 2)), qRgb(255, 0, 0)) << "home army";
}

TEST_F(InfoWindowsTest, ALargeWorldsMapBesideTheMainWindowStaysOnTheScreen) {
  Build(std::vector<std::string>(70, std::string(70, '.')));
  const QRect screen = window->screen()->availableGeometry();
  // Room enough beside the main window for the usual place, not for a 70 x 70 map.
  window->move(screen.right() + 1 - 300 - window->frameGeometry().width(), screen.top());
  window->ExecuteCommand(Cmd::WorldMap);
  QWidget* map = window->ToolWindowWidget(ToolWindow::WorldMap);
  ASSERT_NE(map, nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(screen.contains(map->frameGeometry()))
      << "the World Map at " << map->frameGeometry().x() << "," << map->frameGeometry().y() << " size "
      << map->frameGeometry().width() << "x" << map->frameGeometry().height() << " reaches off the screen "
      << screen.width() << "x" << screen.height();
  EXPECT_EQ(map->frameGeometry().top(), window->frameGeometry().top() + 322) << "the usual height is kept";
}

TEST_F(InfoWindowsTest, WorldMapBlocksShowWhatTheViewerKnowsInBothColourSets) {
  Build({"++*+", "+++.", "....", "...."});
  const QRgb black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), green = qRgb(0, 128, 0), white = qRgb(255, 255, 255);
  const QRgb red = qRgb(255, 0, 0), lime = qRgb(0, 255, 0), purple = qRgb(128, 0, 128);
  AddPiece(*game, PieceType::Army, 0, 0, 0);
  AddCity(*game, 1, 1, 1);
  AddPiece(*game, PieceType::Destroyer, 1, 3, 1);
  AddPiece(*game, PieceType::Fighter, 1, 1, 0);
  const std::tuple<int, int, int, int> known[] = {
      // x, y, explored by (bits), in sight of
      {0, 0, 1, 1}, {1, 1, 3, 0}, {3, 1, 3, 2}, {1, 0, 1, 1}, {2, 0, 1, 0}, {0, 2, 2, 0}, {2, 2, 1, 0}};
  for (const auto& [x, y, by, sees] : known) {
    game->world.At(x, y).explored = static_cast<uint8_t>(by);
    game->world.At(x, y).visible = static_cast<uint8_t>(sees);
  }
  const struct {  // colours of 0 are not checked
    const char* what;
    int x, y, mono, demo;
    QRgb ground;
    bool marked;
    QRgb frame, centre;
  } rows[] = {
      {"unknown", 3, 3, 0, 0, black, false, 0, 0},
      {"known only to another", 0, 2, 0, 0, black, false, 0, 0},
      {"explored sea", 2, 2, 0, 0, navy, false, 0, 0},
      {"own army", 0, 0, 0, 0, 0, true, white, red},
      {"enemy city on explored ground", 1, 1, 0, 0, 0, true, 0, lime},
      {"enemy ship out of sight", 3, 1, 0, 0, navy, false, 0, 0},
      {"enemy plane in sight", 1, 0, 0, 0, 0, true, 0, 0},
      {"neutral city", 2, 0, 0, 0, green, true, lime, black},
      {"enemy city, monochrome", 1, 1, 1, 0, 0, true, black, purple},
      {"own army, monochrome", 0, 0, 1, 0, 0, true, white, red},
      {"demo: what anyone explored", 0, 2, 0, 1, navy, false, 0, 0},
      {"demo: every piece", 3, 1, 0, 1, 0, true, 0, 0},
      {"demo: unknown", 3, 3, 0, 1, black, false, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    game->app.monochrome = static_cast<uint8_t>(r.mono);
    game->state.demoMode = static_cast<uint8_t>(r.demo);
    const WorldMapBlock b = WorldMapBlockAt(*game, MapPos{uint8_t(r.x), uint8_t(r.y)});
    EXPECT_EQ(std::tuple(r.ground ? b.ground : 0, b.marked, r.frame ? b.frame : 0, r.centre ? b.centre : 0),
              std::tuple(r.ground, r.marked, r.frame, r.centre));
  }
}

class GeneratedGameTest : public InfoWindowsTest {
 protected:
  void SetUp() override {
    InfoWindowsTest::SetUp();
    real = std::make_unique<RealDialogHooks>(*game, *window, sound);
    game->hooks = real.get();
  }
  // A 50 x 50 world with the given players, started as New starts it.
  void Start(std::array<uint8_t, kPlayerCount> kinds, uint32_t seed) {
    StartProgram(*game, seed);
    window->show();
    NewGameChoice choice{.kind = kinds, .sizeIndex = 0, .land = 2};
    ProfileSettings store(game->settingsPath);
    ASSERT_EQ(ApplyNewGameChoice(*game, choice, store), NewGameVerdict::Accepted);
    ASSERT_EQ(StartNewGame(*game), 1);
  }
  // With VORTAN_SCREENSHOT_DIR set, saves the picture there for a look by eye.
  static void Save(const QImage& img, const QString& name) {
    if (const char* dir = std::getenv("VORTAN_SCREENSHOT_DIR")) {
      EXPECT_TRUE(img.save(QString(dir) + "/" + name + ".png"));
    }
  }
  std::unique_ptr<RealDialogHooks> real;
};

TEST_F(GeneratedGameTest, HotSeatDayPromptsEachHumanWithTheMapHidden) {
  using namespace PlayerKind;
  Start({Human, Human, Out, Out, Out, Out}, 2024);
  window->CheckMenuItem(Cmd::PromptOnNewHuman, true);
  ASSERT_TRUE(game->app.promptOnNewHuman);
  std::vector<std::string> prompts;  // "player: map hidden, black, Production closed"
  std::vector<int> days;
  int cityDialogs = 0;
  QTimer answering;  // answers every modal dialog as it opens
  QObject::connect(&answering, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    cityDialogs += qobject_cast<CityDialog*>(d) != nullptr;
    if (qobject_cast<NextPlayerDialog*>(d)) {
      const QImage screen = window->View()->Screen();
      const QRect map = MapViewRect(screen.size());
      bool black = true;
      for (int y = map.top(); y < map.bottom(); y += 7)
        for (int x = map.left(); x < map.right(); x += 7) black = black && screen.pixel(x, y) == qRgb(0, 0, 0);
      prompts.push_back(std::to_string(game->state.currentPlayer) + ": " + std::to_string(game->state.mapHidden) +
                        std::to_string(black) + std::to_string(!window->IsToolWindowOpen(ToolWindow::Production)));
      days.push_back(game->state.day);
      if (prompts.size() == 1 && std::getenv("VORTAN_SCREENSHOT_DIR")) {
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 300) QApplication::processEvents();
        QImage img = QGuiApplication::primaryScreen()->grabWindow(0).toImage();  // a real display, else the dialog
        Save(img.isNull() || Uniform(img) ? Shot(*d) : img, "hot_seat_prompt");
      }
    }
    d->accept();
  });
  answering.start(5);
  // The humans end their turns at once. Until their first armies are built
  // nobody has a piece to move, and the days pass without a hand-over.
  for (int steps = 0; steps < 5000 && prompts.size() < 5; ++steps) {
    const int cp = game->state.currentPiece;
    if (cp >= 0 && cp < kPieceSlots && game->pieces[cp].state == PieceState::AwaitingOrders) OrderEndTurn(*game);
    AdvanceGame(*game);
  }
  EXPECT_EQ(cityDialogs, 2) << "each human chooses the first production of the home city";
  ASSERT_EQ(prompts, (std::vector<std::string>{"0: 111", "1: 111", "0: 111", "1: 111", "0: 111"}));
  EXPECT_EQ(days[1], 1);
  EXPECT_GT(days[4], days[2]) << "a later day, a new round of hand-overs";
  EXPECT_EQ(game->state.mapHidden, 0);
  EXPECT_TRUE(window->IsToolWindowOpen(ToolWindow::Production)) << "reopened after the prompt";
}

TEST_F(GeneratedGameTest, EveryWindowOfAGameInProgressShowsSomethingAtItsSize) {
  using namespace PlayerKind;
  Start({Human, Computer, Computer, Out, Out, Out}, 77);
  game->state.autoPlay[0] = 1;  // the computer plays the human's side too
  for (int steps = 0; steps < 400000 && game->state.day < 40 && game->state.gameActive; ++steps) AdvanceGame(*game);
  ASSERT_GE(game->state.day, 30);
  game->state.autoPlay[0] = game->state.currentPlayer = game->state.viewingPlayer = game->state.mapHidden = 0;
  // Player 0's city with the most pieces in it, and one of its pieces.
  int city = -1, most = -1, piece = -1;
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& c = game->pieces[i];
    if (c.owner != 0 || c.IsEmpty()) continue;
    if (c.type != PieceType::City && piece < 0) piece = i;
    if (c.type != PieceType::City) continue;
    int n = 0;
    for (const PieceRecord& r : game->pieces.slots)
      n += r.type != PieceType::City && !r.IsEmpty() && r.Pos() == c.Pos();
    if (n > most) most = n, city = i;
  }
  ASSERT_TRUE(city >= 0 && piece >= 0);
  game->state.currentPiece = static_cast<int16_t>(piece);
  game->state.viewX = game->pieces[city].x, game->state.viewY = game->pieces[city].y;
  window->PlaceInfoDialogs();
  window->ExecuteCommand(Cmd::WorldMap);
  window->View()->RepaintAll();

  const std::pair<ToolWindow, const char*> column[] = {{ToolWindow::GameInfo, "game_info"},
                                                       {ToolWindow::Rankings, "rankings"},
                                                       {ToolWindow::PieceInfo, "piece_info"},
                                                       {ToolWindow::Production, "production"},
                                                       {ToolWindow::WorldMap, "world_map"}};
  for (auto [which, name] : column) {
    QWidget* w = window->ToolWindowWidget(which);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_FALSE(Uniform(Shot(*w))) << name;
    Save(Shot(*w), name);
  }

  CityDialog cityDialog(*game, pictures, city, window.get());
  CityNamePopup popup(*game, city, *window);
  game->state.currentPlayer = 1;
  NextPlayerDialog next(*game, pictures, window.get());
  PlayerAnnouncement eliminated("Ha! Ha! Ha!", 2, "has been eliminated!", pictures, window.get());
  PlayerAnnouncement victory("Victory!", 0, "has conquered the world!", pictures, window.get());
  AboutBox about(window.get());
  const std::pair<QWidget*, const char*> dialogs[] = {{&cityDialog, "city_dialog"}, {&popup, "city_name_popup"},
                                                      {&next, "next_player"},       {&eliminated, "eliminated"},
                                                      {&victory, "victory"},        {&about, "about"}};
  for (auto [w, name] : dialogs) {
    EXPECT_FALSE(Uniform(Shot(*w))) << name;
    Save(Shot(*w), name);
  }
}

}  // namespace
}  // namespace vortan::test
