// The information windows beside the map: what Rankings, Game Info, Piece
// Info, the Production list and the World Map show and how they answer the
// mouse; the city names; the modal announcements and a hot-seat day.
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <set>

#include "model/piece_types.h"
#include "rules/orders.h"
#include "rules/turn_loop.h"
#include "ui/announcements.h"
#include "ui/city_dialog.h"
#include "ui/city_names.h"
#include "ui/game_info_window.h"
#include "ui/piece_info_window.h"
#include "ui/production_window.h"
#include "ui/rankings_window.h"
#include "ui/world_map_window.h"
#include "window_fixture.h"
#include "worldgen/new_game.h"

namespace vortan::test {
namespace {

// The application's own hooks, dialogs and all, with message boxes recorded
// and without the waits of explosions and sounds.
class RealDialogHooks : public ShellHooks {
 public:
  using ShellHooks::ShellHooks;
  MsgResult ShowMessageBox(std::string_view, std::string_view, MsgIcon, MsgButtons) override { return MsgResult::Yes; }
  void ShowExplosion(MapPos, Rgb, int) override {}
  void PlaySoundEffect(int) override {}
};

class InfoWindowsTest : public WindowFixture {
 protected:
  void Send(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent e(type, at, w.mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  QImage Symbol(int owner, int type) const { return pictures.Piece(PictureSet::Large, owner, type).Variant(1, false, false); }
};

TEST_F(InfoWindowsTest, RankingsScoreEachCategoryAndBreakTiesByCategory) {
  Build({"++++", "++++", "....", "...."});
  AddCity(*game, 0, 0, 0);
  AddCity(*game, 0, 1, 0);
  AddCity(*game, 2, 2, 0);
  for (int i = 0; i < 3; ++i) AddPiece(*game, PieceType::Army, 1, 0, 1);
  const std::tuple<int, int, int, int> pieces[] = {
      {PieceType::Destroyer, 0, 0, 2}, {PieceType::Submarine, 0, 1, 2}, {PieceType::Battleship, 1, 2, 2},
      {PieceType::Carrier, 1, 3, 2},   {PieceType::Transport, 3, 0, 3}, {PieceType::Fighter, 4, 1, 1},
      {PieceType::Bomber, 4, 2, 1},    {PieceType::Para, 5, 3, 1}};
  for (const auto& [type, owner, x, y] : pieces) AddPiece(*game, type, owner, x, y);
  const RankingScores s = ScoreRankings(game->pieces);
  EXPECT_EQ(s[RankingCategory::Cities], (std::array<int, 6>{2, 0, 1, 0, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Troops], (std::array<int, 6>{0, 3, 0, 0, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Sea], (std::array<int, 6>{10, 20, 0, 1, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Air], (std::array<int, 6>{0, 0, 0, 0, 6, 1}));

  // Ties: cities and sea to the lower player, troops and air to the higher.
  RankingScores t{};
  t[RankingCategory::Cities] = {0, 2, 0, 2, 1, 0};
  t[RankingCategory::Troops] = {0, 2, 0, 2, 1, 0};
  t[RankingCategory::Sea] = {5, 0, 5, 0, 0, 0};
  t[RankingCategory::Air] = {0, 15, 0, 0, 10, 0};   // 3 fighters beat 10 bombers
  const RankingOrder order = RankPlayers(t);
  constexpr int n = kNoRank;
  EXPECT_EQ(order[RankingCategory::Cities], (std::array<int, 6>{1, 3, 4, n, n, n}));
  EXPECT_EQ(order[RankingCategory::Troops], (std::array<int, 6>{3, 1, 4, n, n, n}));
  EXPECT_EQ(order[RankingCategory::Sea], (std::array<int, 6>{0, 2, n, n, n, n}));
  EXPECT_EQ(order[RankingCategory::Air], (std::array<int, 6>{1, 4, n, n, n, n}));
}

TEST_F(InfoWindowsTest, RankingsGameInfoAndPieceInfoDrawWhatTheyShould) {
  Build({"+++", "+++", "..."});
  const int army = AddPiece(*game, PieceType::Army, 0, 0, 0);
  AddPiece(*game, PieceType::Army, 2, 1, 0);
  RankingsWindow rankings(*game, pictures, window.get());
  rankings.resize(110, 110);
  const QImage shot = Shot(rankings);
  const auto place = [&](int k) { return shot.copy(110 * k / 6 + 1, static_cast<int>(0.38 * 110), 16, 16); };
  EXPECT_EQ(place(0), Symbol(2, PieceType::Army)) << "equal troops: the higher player first";
  EXPECT_EQ(place(1), Symbol(0, PieceType::Army));
  EXPECT_EQ(place(2), pictures.BlankWhite(PictureSet::Large).Variant(1, false, false));

  // Game Info and Piece Info stay blank before the first day and through day one.
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 1, 0);
  game->pieces[fighter].fuel = 13;
  game->state.currentPiece = static_cast<int16_t>(army);
  GameInfoWindow info(*game, pictures, window.get());
  PieceInfoWindow piece(*game, pictures, window.get());
  info.resize(110, 88);
  piece.resize(110, 118);
  for (int day : {0, 1, 2}) {
    game->state.day = static_cast<int16_t>(day);
    EXPECT_EQ(Uniform(Shot(info)), day == 0) << day;
    EXPECT_EQ(Uniform(Shot(piece)), day < 2) << day;
  }
  game->state.day = 7;
  EXPECT_EQ(GameInfoDayText(*game), "Day 7    ");
  game->settings.difficulty = Difficulty::Tricky;
  EXPECT_EQ(GameInfoLevelText(*game), "Tricky   ");
  game->state.demoMode = 1;
  EXPECT_EQ(GameInfoLevelText(*game), "Demo     ");
  EXPECT_EQ(GameInfoSizeText(*game), "3 x 3");
  EXPECT_EQ(PieceInfoFuelText(game->pieces[army]), "  n/a  ");
  EXPECT_EQ(PieceInfoFuelText(game->pieces[fighter]), "  13  ");
  EXPECT_EQ(PieceInfoMovesText(game->pieces[army]), QString::asprintf("  %d  ", game->settings.moves[PieceType::Army]));
  for (auto [strength, split] : {std::pair{100, 2}, std::pair{50, 26}, std::pair{0, 50}})
    EXPECT_EQ(StrengthBarSplit(strength), split) << strength;
}

TEST_F(InfoWindowsTest, ProductionListSortsByTypeOrderThenDaysThenTableOrder) {
  Build(std::vector<std::string>(6, "++++++"));
  const int battleship = AddCity(*game, 0, 0, 0, PieceType::Battleship);
  const int armyLate = AddCity(*game, 0, 1, 0, PieceType::Army);
  const int fighter = AddCity(*game, 0, 2, 0, PieceType::Fighter);
  const int armyFirst = AddCity(*game, 0, 3, 0, PieceType::Army);
  const int armySoon = AddCity(*game, 0, 4, 0, PieceType::Army);
  const int paras = AddCity(*game, 0, 5, 0, PieceType::Para);
  const int transport = AddCity(*game, 0, 0, 1, PieceType::Transport);
  AddCity(*game, 1, 1, 1, PieceType::Army);   // not the viewer's
  game->pieces[AddCity(*game, 0, 2, 1, PieceType::Army)].daysLeft = 33;   // stalled
  game->pieces[armyLate].daysLeft = game->pieces[armyFirst].daysLeft = 5;
  game->pieces[armySoon].daysLeft = 2;
  EXPECT_EQ(ProductionList(*game, 0), (std::vector<int>{armySoon, armyLate, armyFirst, paras, fighter, transport, battleship}));
  const std::pair<int, const char*> days[] = {{0, "tomorrow   "}, {1, "tomorrow   "}, {2, "in 2 days   "}, {32, "in 32 days   "}};
  for (const auto& [n, text] : days) EXPECT_EQ(ProductionDaysText(n), text) << n;
}

TEST_F(InfoWindowsTest, ProductionScrollRangeFollowsTheListLength) {
  const std::tuple<int, int, int> ranges[] = {{3, 180, 0}, {11, 180, 1}, {25, 180, 15}, {25, 189, 15}};
  for (const auto& [rows, height, max] : ranges) EXPECT_EQ(ProductionMaxScroll(rows, height), max) << rows << " " << height;
  const std::tuple<int, int, int, int> steps[] = {
      {0, QAbstractSlider::SliderSingleStepSub, 0, 0}, {15, QAbstractSlider::SliderSingleStepAdd, 0, 15},
      {4, QAbstractSlider::SliderPageStepSub, 0, 0},   {7, QAbstractSlider::SliderPageStepSub, 0, 3},
      {11, QAbstractSlider::SliderPageStepAdd, 0, 15}, {10, QAbstractSlider::SliderPageStepAdd, 0, 14},
      {3, QAbstractSlider::SliderMove, 9, 9}};
  for (const auto& [from, action, to, expected] : steps)
    EXPECT_EQ(ScrollProductionList(from, 15, action, to), expected) << from << " " << action;

  Build(std::vector<std::string>(6, "++++++"));
  for (int i = 0; i < 3; ++i) AddCity(*game, 0, i, 0);
  ProductionWindow w(*game, pictures, *window);
  w.resize(110, 180);
  w.Refresh();
  EXPECT_EQ(w.Bar()->maximum(), 0);
  EXPECT_EQ(w.CityAtY(2 * 18 + 5), w.Listed()[2]);
  EXPECT_EQ(w.CityAtY(3 * 18 + 5), -1);
  Send(w, QEvent::MouseMove, QPoint(30, 5 * 18 + 2));   // over a blank row: no popup
  EXPECT_EQ(w.Popup(), nullptr);
  EXPECT_TRUE(Uniform(Shot(w).copy(0, 3 * 18, 80, 180 - 3 * 18)));
  for (int i = 0; i < 30; ++i) AddCity(*game, 0, i % 6, 1 + i / 6);
  w.Refresh();
  EXPECT_EQ(w.Bar()->maximum(), 33 - 10);
  w.Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(w.FirstRow(), 4);
  EXPECT_EQ(w.CityAtY(5), w.Listed()[4]);
}

TEST_F(InfoWindowsTest, ProductionRowsNameTheirCityCentreTheMapAndAskForProduction) {
  Build(std::vector<std::string>(6, "++++++"));
  const int a = AddCity(*game, 0, 4, 5);
  const int b = AddCity(*game, 0, 2, 3);
  game->pieces[b].daysLeft = 9;
  ProductionWindow w(*game, pictures, *window);
  w.resize(110, 180);
  w.Refresh();
  Send(w, QEvent::MouseMove, QPoint(30, 5));
  ASSERT_NE(w.Popup(), nullptr);
  EXPECT_EQ(w.Popup()->City(), a);
  EXPECT_EQ(w.Popup()->Name().toStdString(), CityName(*game, a));
  EXPECT_EQ(w.Popup()->size(), QSize(10 * w.Popup()->Name().size() + 8, 20));
  Send(w, QEvent::MouseMove, QPoint(30, 18 + 5));
  ASSERT_NE(w.Popup(), nullptr);
  EXPECT_EQ(w.Popup()->City(), b);
  Send(w, QEvent::MouseButtonRelease, QPoint(30, 18 + 5), Qt::LeftButton);
  EXPECT_EQ(w.Popup(), nullptr);
  EXPECT_EQ(game->state.viewX, 2);
  EXPECT_EQ(game->state.viewY, 3);
  Send(w, QEvent::MouseButtonRelease, QPoint(30, 5), Qt::RightButton);
  EXPECT_EQ(hooks->citiesOpened, std::vector<int>{a});
  game->state.demoMode = 1;   // the mouse is ignored in a demo game
  Send(w, QEvent::MouseButtonRelease, QPoint(30, 5), Qt::RightButton);
  Send(w, QEvent::MouseMove, QPoint(30, 5));
  EXPECT_EQ(hooks->citiesOpened.size(), 1u);
  EXPECT_EQ(w.Popup(), nullptr);
}

TEST_F(InfoWindowsTest, WorldMapOf50By50Is258By282CentredOnHomeAndAClickCentresTheMap) {
  Build(std::vector<std::string>(50, std::string(25, '+') + std::string(25, '.')));
  EXPECT_EQ(WorldMapFrameSize(50, 50), QSize(258, 282));
  WorldMapWindow w(*game, cursors, window.get());
  w.show();
  EXPECT_EQ(w.frameGeometry().size(), QSize(258, 282));
  game->state.homeX[0] = 10;
  game->state.homeY[0] = 3;
  EXPECT_EQ(WorldMapCellOf(*game, 0, 0), (MapPos{35, 28}));   // half a world from home
  EXPECT_EQ(WorldMapCellOf(*game, 25, 25), (MapPos{10, 3}));
  Send(w, QEvent::MouseButtonRelease, WorldMapOrigin(*game, w.size()) + QPoint(5 * 25 + 2, 5 * 24 + 4), Qt::RightButton);
  EXPECT_EQ(game->state.viewX, 10);
  EXPECT_EQ(game->state.viewY, 2);
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

TEST_F(InfoWindowsTest, WorldMapBlocksShowWhatTheViewerKnowsInBothColourSets) {
  Build({"++*+", "+++.", "....", "...."});
  const QRgb black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), green = qRgb(0, 128, 0), white = qRgb(255, 255, 255);
  const QRgb red = qRgb(255, 0, 0), lime = qRgb(0, 255, 0), purple = qRgb(128, 0, 128);
  AddPiece(*game, PieceType::Army, 0, 0, 0);
  AddCity(*game, 1, 1, 1);
  AddPiece(*game, PieceType::Destroyer, 1, 3, 1);
  AddPiece(*game, PieceType::Fighter, 1, 1, 0);
  const std::tuple<int, int, int, int> known[] = {   // x, y, explored by (bits), in sight of
      {0, 0, 1, 1}, {1, 1, 3, 0}, {3, 1, 3, 2}, {1, 0, 1, 1}, {2, 0, 1, 0}, {0, 2, 2, 0}, {2, 2, 1, 0}};
  for (const auto& [x, y, by, sees] : known) {
    game->world.At(x, y).explored = static_cast<uint8_t>(by);
    game->world.At(x, y).visible = static_cast<uint8_t>(sees);
  }
  const struct {
    const char* what;
    int x, y, mono, demo;
    QRgb ground;          // 0: not checked
    bool marked;
    QRgb frame, centre;   // 0: not checked
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
    if (r.ground) EXPECT_EQ(b.ground, r.ground);
    EXPECT_EQ(b.marked, r.marked);
    if (r.frame) EXPECT_EQ(b.frame, r.frame);
    if (r.centre) EXPECT_EQ(b.centre, r.centre);
  }
}

TEST_F(InfoWindowsTest, CityNamesFollowLandMassAndOrdinalAndNeverRunOut) {
  EXPECT_STREQ(kCityNames[0], "London");
  EXPECT_STREQ(kCityNames[191], "Amman");
  EXPECT_EQ(CityNameFor(2, 3), "San Francisco");
  EXPECT_EQ(CityNameFor(32, 5), "Amman");
  const std::set<std::string> classic(std::begin(kCityNames), std::end(kCityNames));
  EXPECT_EQ(classic.size(), 190u);   // "Abadan" and "Perth" twice
  std::set<std::string> extra;
  for (int mass = 33; mass <= 79; ++mass)
    for (int ordinal = 0; ordinal < 6; ++ordinal) {
      const std::string name = CityNameFor(mass, ordinal);
      EXPECT_LE(name.size(), 14u) << name;
      EXPECT_EQ(classic.count(name), 0u) << name;
      EXPECT_TRUE(extra.insert(name).second) << name << " twice";
    }
  EXPECT_FALSE(CityNameFor(80, 0).empty());
  Build({"+++.", "+++.", "....", "...."});
  const int c = AddCity(*game, 0, 1, 1);
  game->world.At(1, 1).landMass = 40;
  game->world.At(1, 1).cityOrdinal = 2;
  EXPECT_EQ(CityName(*game, c), CityNameFor(40, 2));
}

TEST_F(InfoWindowsTest, TheApplicationsHooksOpenTheDialogsAndAboutDrawsThroughItsMask) {
  Build({"+++", "+++", "..."});
  RealDialogHooks real(*game, *window, sound);
  game->hooks = &real;
  const int city = AddCity(*game, 0, 1, 1);
  game->app.lostPlayer = 1;
  std::vector<QString> titles;
  const auto answerNext = [&] {
    QTimer::singleShot(0, [&] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(modal, nullptr);
      titles.push_back(modal->windowTitle());
      modal->reject();
    });
  };
  answerNext();
  game->ui().ShowEliminatedDialog();
  answerNext();
  game->ui().ShowVictoryDialog();
  answerNext();
  game->ui().ShowCityDialog(city);
  EXPECT_EQ(titles, (std::vector<QString>{"Ha! Ha! Ha!", "Victory!", QString::fromStdString(CityName(*game, city))}));
  game->hooks = hooks.get();

  AboutBox box(window.get());
  const QRgb face = box.palette().color(QPalette::Window).rgb() | 0xFF000000;
  EXPECT_EQ(box.Picture().pixel(box.ExplosionTopLeft() + QPoint(1, 1)), face) << "the picture's corner is masked";
  EXPECT_NE(box.Picture().pixel(box.ExplosionTopLeft() + QPoint(64, 64)), face);
  bool rules = false;
  QObject::connect(&box, &AboutBox::rulesRequested, [&] { rules = true; });
  box.findChild<QPushButton*>("rules")->click();
  EXPECT_TRUE(rules);
}

// --- A generated game ---

class GeneratedGameTest : public InfoWindowsTest {
 protected:
  void SetUp() override {
    InfoWindowsTest::SetUp();
    real = std::make_unique<RealDialogHooks>(*game, *window, sound);
    game->hooks = real.get();
  }
  // A 50 x 50 world with the given players, started as New starts it.
  void Start(std::array<uint8_t, kPlayerCount> kinds, uint32_t seed) {
    ResetToProgramStart(*game);
    ApplyDefaultPieceAttributes(game->settings);
    game->rng.SetState(seed);
    window->show();
    NewGameChoice choice;
    choice.kind = kinds;
    choice.sizeIndex = 0;
    choice.land = 2;
    ASSERT_EQ(ApplyNewGameChoice(*game, choice), NewGameVerdict::Accepted);
    ASSERT_EQ(StartNewGame(*game), 1);
  }
  // With VORTAN_SCREENSHOT_DIR set, saves the picture there for a look by eye.
  static void Save(const QImage& img, const QString& name) {
    if (const char* dir = std::getenv("VORTAN_SCREENSHOT_DIR")) EXPECT_TRUE(img.save(QString(dir) + "/" + name + ".png"));
  }
  std::unique_ptr<RealDialogHooks> real;
};

TEST_F(GeneratedGameTest, HotSeatDayPromptsEachHumanWithTheMapHidden) {
  using namespace PlayerKind;
  Start({Human, Human, Out, Out, Out, Out}, 2024);
  window->CheckMenuItem(Cmd::PromptOnNewHuman, true);
  ASSERT_TRUE(game->app.promptOnNewHuman);
  struct Prompt {
    int player, day;
    bool hidden, mapBlack, productionClosed;
  };
  std::vector<Prompt> prompts;
  int cityDialogs = 0;
  QTimer answering;   // answers every modal dialog as it opens
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
      prompts.push_back({game->state.currentPlayer, game->state.day, game->state.mapHidden == 1, black,
                         !window->IsToolWindowOpen(ToolWindow::Production)});
      if (prompts.size() == 1 && std::getenv("VORTAN_SCREENSHOT_DIR")) {
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 300) QApplication::processEvents();
        QImage img = QGuiApplication::primaryScreen()->grabWindow(0).toImage();   // a real display, else the dialog
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
  ASSERT_EQ(prompts.size(), 5u);
  for (size_t k = 0; k < prompts.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(prompts[k].hidden);
    EXPECT_TRUE(prompts[k].mapBlack);
    EXPECT_TRUE(prompts[k].productionClosed);
    EXPECT_EQ(prompts[k].player, static_cast<int>(k % 2));
  }
  EXPECT_EQ(prompts[1].day, 1);
  EXPECT_GT(prompts[4].day, prompts[2].day) << "a later day, a new round of hand-overs";
  EXPECT_EQ(game->state.mapHidden, 0);
  EXPECT_TRUE(window->IsToolWindowOpen(ToolWindow::Production)) << "reopened after the prompt";
}

// Every window of a game in progress; with VORTAN_SCREENSHOT_DIR set, their
// pictures are saved there for a look by eye.
TEST_F(GeneratedGameTest, EveryWindowOfAGameInProgressShowsSomethingAtItsSize) {
  using namespace PlayerKind;
  Start({Human, Computer, Computer, Out, Out, Out}, 77);
  game->state.autoPlay[0] = 1;   // the computer plays the human's side too
  for (int steps = 0; steps < 400000 && game->state.day < 40 && game->state.gameActive; ++steps) AdvanceGame(*game);
  ASSERT_GE(game->state.day, 30);
  game->state.autoPlay[0] = 0;
  game->state.currentPlayer = game->state.viewingPlayer = 0;
  game->state.mapHidden = 0;
  // Player 0's city with the most pieces in it, and one of its pieces.
  int city = -1, most = -1, piece = -1;
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& c = game->pieces[i];
    if (c.owner != 0 || c.IsEmpty()) continue;
    if (c.type != PieceType::City) {
      piece = piece < 0 ? i : piece;
      continue;
    }
    int n = 0;
    for (const PieceRecord& r : game->pieces.slots) n += r.type != PieceType::City && !r.IsEmpty() && r.Pos() == c.Pos();
    if (n > most) most = n, city = i;
  }
  ASSERT_GE(city, 0);
  ASSERT_GE(piece, 0);
  game->state.currentPiece = static_cast<int16_t>(piece);
  game->state.viewX = game->pieces[city].x;
  game->state.viewY = game->pieces[city].y;
  window->PlaceInfoDialogs();
  window->ExecuteCommand(Cmd::WorldMap);
  window->View()->RepaintAll();

  QRect all = window->frameGeometry();
  const std::pair<ToolWindow, const char*> column[] = {{ToolWindow::GameInfo, "game_info"}, {ToolWindow::Rankings, "rankings"},
                                                       {ToolWindow::PieceInfo, "piece_info"}, {ToolWindow::Production, "production"},
                                                       {ToolWindow::WorldMap, "world_map"}};
  for (auto [which, name] : column) {
    QWidget* w = window->ToolWindowWidget(which);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_FALSE(Uniform(Shot(*w))) << name;
    Save(Shot(*w), name);
    all |= w->frameGeometry();
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
  game->state.currentPlayer = 0;
  // The main window with its column and the World Map, where each stands.
  QImage desk(all.size(), QImage::Format_RGB32);
  desk.fill(qRgb(0, 128, 128));
  QPainter p(&desk);
  p.drawImage(window->geometry().topLeft() - all.topLeft(), Shot(*window));
  for (auto [which, name] : column)
    p.drawImage(window->ToolWindowWidget(which)->geometry().topLeft() - all.topLeft(), Shot(*window->ToolWindowWidget(which)));
  p.end();
  Save(desk, "desktop");
}

}  // namespace
}  // namespace vortan::test

// On the offscreen screen of the window tests; with VORTAN_TEST_ON_DISPLAY
// set, on the display the environment names (e.g. under Xvfb).
int main(int argc, char** argv) {
  if (!std::getenv("VORTAN_TEST_ON_DISPLAY")) return vortan::test::RunWindowTests(argc, argv);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
