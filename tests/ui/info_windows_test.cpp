// The information windows beside the map: what Rankings, Game Info, Piece
// Info, the Production list and the World Map show and how they answer the
// mouse; the city names; the modal announcements.
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "model/piece_types.h"
#include "rules/orders.h"
#include "rules/production.h"
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
  std::vector<std::string> messages;
  MsgResult ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon, MsgButtons) override {
    messages.push_back(std::string(caption) + ": " + std::string(text));
    return MsgResult::Yes;
  }
  void ShowExplosion(MapPos, Rgb, int) override {}
  void PlaySoundEffect(int) override {}
};

class InfoWindowsTest : public WindowFixture {
 protected:
  // A window grabbed as the screen would show it.
  static QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
  static bool Uniform(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != img.pixel(0, 0)) return false;
    return true;
  }
  void Release(QWidget& w, QPoint at, Qt::MouseButton button) {
    QMouseEvent e(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  void Move(QWidget& w, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  void AddMany(int count, int type, int owner, int x, int y) {
    for (int i = 0; i < count; ++i) AddPiece(*game, type, owner, x, y);
  }
};

// --- Rankings ---

TEST_F(InfoWindowsTest, RankingsScoreEveryPieceForItsOwnerByCategory) {
  Build({"++++", "++++", "....", "...."});
  AddCity(*game, 0, 0, 0);
  AddCity(*game, 0, 1, 0);
  AddCity(*game, 2, 2, 0);
  AddMany(3, PieceType::Army, 1, 0, 1);
  AddPiece(*game, PieceType::Destroyer, 0, 0, 2);
  AddPiece(*game, PieceType::Submarine, 0, 1, 2);
  AddPiece(*game, PieceType::Battleship, 1, 2, 2);
  AddPiece(*game, PieceType::Carrier, 1, 3, 2);
  AddPiece(*game, PieceType::Transport, 3, 0, 3);
  AddPiece(*game, PieceType::Fighter, 4, 1, 1);
  AddPiece(*game, PieceType::Bomber, 4, 2, 1);
  AddPiece(*game, PieceType::Para, 5, 3, 1);
  const RankingScores s = ScoreRankings(game->pieces);
  EXPECT_EQ(s[RankingCategory::Cities], (std::array<int, 6>{2, 0, 1, 0, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Troops], (std::array<int, 6>{0, 3, 0, 0, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Sea], (std::array<int, 6>{10, 20, 0, 1, 0, 0}));
  EXPECT_EQ(s[RankingCategory::Air], (std::array<int, 6>{0, 0, 0, 0, 6, 1}));
}

TEST_F(InfoWindowsTest, RankingTiesGoToTheLowerPlayerForCitiesAndSeaAndTheHigherForTroopsAndAir) {
  RankingScores s{};
  s[RankingCategory::Cities] = {0, 2, 0, 2, 1, 0};
  s[RankingCategory::Troops] = {0, 2, 0, 2, 1, 0};
  s[RankingCategory::Sea] = {5, 0, 5, 0, 0, 0};
  s[RankingCategory::Air] = {0, 15, 0, 0, 10, 0};   // 3 fighters beat 10 bombers
  const RankingOrder order = RankPlayers(s);
  EXPECT_EQ(order[RankingCategory::Cities], (std::array<int, 6>{1, 3, 4, kNoRank, kNoRank, kNoRank}));
  EXPECT_EQ(order[RankingCategory::Troops], (std::array<int, 6>{3, 1, 4, kNoRank, kNoRank, kNoRank}));
  EXPECT_EQ(order[RankingCategory::Sea], (std::array<int, 6>{0, 2, kNoRank, kNoRank, kNoRank, kNoRank}));
  EXPECT_EQ(order[RankingCategory::Air], (std::array<int, 6>{1, 4, kNoRank, kNoRank, kNoRank, kNoRank}));
}

TEST_F(InfoWindowsTest, RankingsWindowDrawsEachPlayersSymbolAndBlanksForTheRest) {
  Build({"++++", "++++", "....", "...."});
  AddPiece(*game, PieceType::Army, 0, 0, 0);
  AddPiece(*game, PieceType::Army, 2, 1, 0);
  RankingsWindow w(*game, pictures, window.get());
  w.resize(110, 110);
  const QImage shot = Shot(w);
  const int y = static_cast<int>(0.38 * 110);
  auto place = [&](int k) { return shot.copy(110 * k / 6 + 1, y, 16, 16); };
  // Equal troops: the higher player first.
  EXPECT_EQ(place(0), pictures.Piece(PictureSet::Large, 2, PieceType::Army).Variant(1, false, false));
  EXPECT_EQ(place(1), pictures.Piece(PictureSet::Large, 0, PieceType::Army).Variant(1, false, false));
  EXPECT_EQ(place(2), pictures.BlankWhite(PictureSet::Large).Variant(1, false, false));
}

// --- Game Info and Piece Info ---

TEST_F(InfoWindowsTest, GameInfoIsBlankBeforeTheFirstDayAndThenNamesDayLevelAndSize) {
  Build({"+++", "+++", "..."});
  GameInfoWindow w(*game, pictures, window.get());
  w.resize(110, 88);
  game->state.day = 0;
  EXPECT_TRUE(Uniform(Shot(w)));
  game->state.day = 7;
  EXPECT_FALSE(Uniform(Shot(w)));
  EXPECT_EQ(GameInfoDayText(*game), "Day 7    ");
  game->settings.difficulty = Difficulty::Tricky;
  EXPECT_EQ(GameInfoLevelText(*game), "Tricky   ");
  game->state.demoMode = 1;
  EXPECT_EQ(GameInfoLevelText(*game), "Demo     ");
  EXPECT_EQ(GameInfoSizeText(*game), "3 x 3");
}

TEST_F(InfoWindowsTest, PieceInfoStaysBlankThroughDayOneAndShowsFuelOnlyForAircraft) {
  Build({"+++", "+++", "..."});
  const int army = AddPiece(*game, PieceType::Army, 0, 0, 0);
  const int fighter = AddPiece(*game, PieceType::Fighter, 0, 1, 0);
  game->pieces[fighter].fuel = 13;
  game->state.currentPiece = static_cast<int16_t>(army);
  PieceInfoWindow w(*game, pictures, window.get());
  w.resize(110, 118);
  EXPECT_TRUE(Uniform(Shot(w)));
  game->state.day = 2;
  EXPECT_FALSE(Uniform(Shot(w)));
  EXPECT_EQ(PieceInfoFuelText(game->pieces[army]), "  n/a  ");
  EXPECT_EQ(PieceInfoFuelText(game->pieces[fighter]), "  13  ");
  EXPECT_EQ(PieceInfoMovesText(game->pieces[army]), QString::asprintf("  %d  ", game->settings.moves[PieceType::Army]));
  EXPECT_EQ(StrengthBarSplit(100), 2);
  EXPECT_EQ(StrengthBarSplit(50), 26);
  EXPECT_EQ(StrengthBarSplit(0), 50);
}

// --- Production list ---

TEST_F(InfoWindowsTest, ProductionListSortsByTypeOrderThenDaysThenTableOrder) {
  Build(std::vector<std::string>(6, "++++++"));
  const int battleship = AddCity(*game, 0, 0, 0, PieceType::Battleship);
  const int armyLate = AddCity(*game, 0, 1, 0, PieceType::Army);
  const int fighter = AddCity(*game, 0, 2, 0, PieceType::Fighter);
  const int armyFirst = AddCity(*game, 0, 3, 0, PieceType::Army);
  const int armySoon = AddCity(*game, 0, 4, 0, PieceType::Army);
  const int paras = AddCity(*game, 0, 5, 0, PieceType::Para);
  const int transport = AddCity(*game, 0, 0, 1, PieceType::Transport);
  const int theirs = AddCity(*game, 1, 1, 1, PieceType::Army);
  const int stalled = AddCity(*game, 0, 2, 1, PieceType::Army);
  game->pieces[armyLate].daysLeft = 5;
  game->pieces[armyFirst].daysLeft = 5;
  game->pieces[armySoon].daysLeft = 2;
  game->pieces[stalled].daysLeft = 33;
  const std::vector<int> list = ProductionList(*game, 0);
  EXPECT_EQ(list, (std::vector<int>{armySoon, armyLate, armyFirst, paras, fighter, transport, battleship}));
  EXPECT_EQ(std::count(list.begin(), list.end(), theirs), 0);
}

TEST_F(InfoWindowsTest, ProductionDaysSayTomorrowForNoneOrOneDay) {
  EXPECT_EQ(ProductionDaysText(0), "tomorrow   ");
  EXPECT_EQ(ProductionDaysText(1), "tomorrow   ");
  EXPECT_EQ(ProductionDaysText(2), "in 2 days   ");
  EXPECT_EQ(ProductionDaysText(32), "in 32 days   ");
}

TEST_F(InfoWindowsTest, ProductionScrollRangeFollowsTheListLength) {
  EXPECT_EQ(ProductionMaxScroll(3, 180), 0);    // fits: 10 rows
  EXPECT_EQ(ProductionMaxScroll(11, 180), 1);
  EXPECT_EQ(ProductionMaxScroll(25, 180), 15);
  EXPECT_EQ(ProductionMaxScroll(25, 189), 15);  // a part row does not count

  const int max = 15;
  EXPECT_EQ(ScrollProductionList(0, max, QAbstractSlider::SliderSingleStepSub, 0), 0);
  EXPECT_EQ(ScrollProductionList(15, max, QAbstractSlider::SliderSingleStepAdd, 0), 15);
  EXPECT_EQ(ScrollProductionList(4, max, QAbstractSlider::SliderPageStepSub, 0), 0);
  EXPECT_EQ(ScrollProductionList(7, max, QAbstractSlider::SliderPageStepSub, 0), 3);
  EXPECT_EQ(ScrollProductionList(11, max, QAbstractSlider::SliderPageStepAdd, 0), 15);
  EXPECT_EQ(ScrollProductionList(10, max, QAbstractSlider::SliderPageStepAdd, 0), 14);
  EXPECT_EQ(ScrollProductionList(3, max, QAbstractSlider::SliderMove, 9), 9);
}

TEST_F(InfoWindowsTest, ProductionWindowScrollsLongListsOnlyAndLeavesRowsBelowTheListBlank) {
  Build(std::vector<std::string>(6, "++++++"));
  for (int i = 0; i < 3; ++i) AddCity(*game, 0, i, 0);
  ProductionWindow w(*game, pictures, *window);
  w.resize(110, 180);
  w.Refresh();
  EXPECT_EQ(w.Bar()->maximum(), 0);
  EXPECT_EQ(w.CityAtY(2 * 18 + 5), w.Listed()[2]);
  EXPECT_EQ(w.CityAtY(3 * 18 + 5), -1);
  Move(w, QPoint(30, 5 * 18 + 2));   // over a blank row: no popup
  EXPECT_EQ(w.Popup(), nullptr);
  const QImage shot = Shot(w);
  EXPECT_TRUE(Uniform(shot.copy(0, 3 * 18, 80, 180 - 3 * 18)));

  for (int i = 0; i < 30; ++i) AddCity(*game, 0, i % 6, 1 + i / 6);
  w.Refresh();
  EXPECT_EQ(w.Bar()->maximum(), 33 - 10);
  w.Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(w.FirstRow(), 4);
  EXPECT_EQ(w.Bar()->value(), 4);
  EXPECT_EQ(w.CityAtY(5), w.Listed()[4]);
}

class CityDialogRecorder : public WindowTestHooks {
 public:
  using WindowTestHooks::WindowTestHooks;
  std::vector<int> opened;
  void ShowCityDialog(int city) override { opened.push_back(city); }
};

TEST_F(InfoWindowsTest, ProductionRowsNameTheirCityCentreTheMapAndAskForProduction) {
  auto recorder = std::make_unique<CityDialogRecorder>(*game, *window, sound);
  game->hooks = recorder.get();
  Build(std::vector<std::string>(6, "++++++"));
  game->hooks = recorder.get();
  const int a = AddCity(*game, 0, 4, 5);
  const int b = AddCity(*game, 0, 2, 3);
  game->pieces[b].daysLeft = 9;
  ProductionWindow w(*game, pictures, *window);
  w.resize(110, 180);
  w.Refresh();
  Move(w, QPoint(30, 5));
  ASSERT_NE(w.Popup(), nullptr);
  EXPECT_EQ(w.Popup()->City(), a);
  EXPECT_EQ(w.Popup()->Name().toStdString(), CityName(*game, a));
  EXPECT_EQ(w.Popup()->size(), QSize(10 * w.Popup()->Name().size() + 8, 20));
  Move(w, QPoint(30, 18 + 5));
  ASSERT_NE(w.Popup(), nullptr);
  EXPECT_EQ(w.Popup()->City(), b);

  Release(w, QPoint(30, 18 + 5), Qt::LeftButton);
  EXPECT_EQ(w.Popup(), nullptr);
  EXPECT_EQ(game->state.viewX, 2);
  EXPECT_EQ(game->state.viewY, 3);
  Release(w, QPoint(30, 5), Qt::RightButton);
  EXPECT_EQ(recorder->opened, std::vector<int>{a});

  game->state.demoMode = 1;   // the mouse is ignored in a demo game
  Release(w, QPoint(30, 5), Qt::RightButton);
  Move(w, QPoint(30, 5));
  EXPECT_EQ(recorder->opened.size(), 1u);
  EXPECT_EQ(w.Popup(), nullptr);
  game->hooks = hooks.get();
}

// --- World Map ---

TEST_F(InfoWindowsTest, WorldMapOf50By50Is258By282WithTheMapCentredOnHome) {
  Build(std::vector<std::string>(50, std::string(50, '.')));
  EXPECT_EQ(WorldMapFrameSize(50, 50), QSize(258, 282));
  WorldMapWindow w(*game, cursors, window.get());
  w.show();
  EXPECT_EQ(w.frameGeometry().size(), QSize(258, 282));
  game->state.homeX[0] = 10;
  game->state.homeY[0] = 3;
  // Block (0, 0) shows the cell half a world from home; the centre block home.
  EXPECT_EQ(WorldMapCellOf(*game, 0, 0), (MapPos{35, 28}));
  EXPECT_EQ(WorldMapCellOf(*game, 25, 25), (MapPos{10, 3}));
  const QPoint origin = WorldMapOrigin(*game, w.size());
  Release(w, origin + QPoint(5 * 25 + 2, 5 * 24 + 4), Qt::RightButton);
  EXPECT_EQ(game->state.viewX, 10);
  EXPECT_EQ(game->state.viewY, 2);
}

TEST_F(InfoWindowsTest, WorldMapBlocksShowWhatTheViewerKnows) {
  Build({"++*+", "+++.", "....", "...."});
  const QRgb black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), green = qRgb(0, 128, 0), white = qRgb(255, 255, 255);
  auto explore = [&](int x, int y, uint8_t by, uint8_t sees = 0) {
    game->world.At(x, y).explored = by;
    game->world.At(x, y).visible = sees;
  };
  auto at = [&](int x, int y) { return WorldMapBlockAt(*game, MapPos{static_cast<uint8_t>(x), static_cast<uint8_t>(y)}); };
  AddPiece(*game, PieceType::Army, 0, 0, 0);
  const int theirCity = AddCity(*game, 1, 1, 1);
  AddPiece(*game, PieceType::Destroyer, 1, 3, 1);
  AddPiece(*game, PieceType::Fighter, 1, 1, 0);
  explore(0, 0, 1, 1);
  explore(1, 1, 1 | 2);
  explore(3, 1, 1 | 2, 2);   // seen once by player 0, now out of its sight
  explore(1, 0, 1, 1);
  explore(2, 0, 1);          // a neutral city
  explore(0, 2, 2);          // only player 1 knows it
  explore(2, 2, 1);

  EXPECT_EQ(at(3, 3).ground, black);
  EXPECT_EQ(at(0, 2).ground, black);
  EXPECT_EQ(at(2, 2).ground, navy);
  EXPECT_FALSE(at(2, 2).marked);
  const WorldMapBlock own = at(0, 0);
  EXPECT_TRUE(own.marked);
  EXPECT_EQ(own.frame, white);
  EXPECT_EQ(own.centre, qRgb(255, 0, 0));
  EXPECT_TRUE(at(1, 1).marked) << "a city on an explored cell";
  EXPECT_EQ(at(1, 1).centre, qRgb(0, 255, 0));
  EXPECT_EQ(at(3, 1).ground, navy);
  EXPECT_FALSE(at(3, 1).marked) << "a ship out of sight";
  EXPECT_TRUE(at(1, 0).marked) << "a plane in sight";
  const WorldMapBlock neutral = at(2, 0);
  EXPECT_EQ(neutral.ground, green);
  EXPECT_EQ(neutral.frame, qRgb(0, 255, 0));
  EXPECT_EQ(neutral.centre, black);

  game->app.monochrome = 1;
  EXPECT_EQ(at(1, 1).frame, black);
  EXPECT_EQ(at(1, 1).centre, qRgb(128, 0, 128));
  EXPECT_EQ(at(0, 0).frame, white);
  EXPECT_EQ(at(0, 0).centre, qRgb(255, 0, 0));

  game->app.monochrome = 0;
  game->state.demoMode = 1;   // everything anyone has explored, every piece on it
  EXPECT_EQ(at(0, 2).ground, navy);
  EXPECT_TRUE(at(3, 1).marked);
  EXPECT_EQ(at(3, 3).ground, black);
  (void)theirCity;
}

TEST_F(InfoWindowsTest, WorldMapPaintsEachBlockInItsColours) {
  Build(std::vector<std::string>(10, "+++++....."));
  RevealAll();
  AddPiece(*game, PieceType::Army, 0, 2, 2);
  WorldMapWindow w(*game, cursors, window.get());
  w.resize(WorldMapFrameSize(10, 10) - QSize(8, 32));
  const QImage shot = Shot(w);
  const QPoint origin = WorldMapOrigin(*game, w.size());
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) {
      const MapPos cell = WorldMapCellOf(*game, i, j);
      const WorldMapBlock b = WorldMapBlockAt(*game, cell);
      const QPoint corner = origin + QPoint(5 * i, 5 * j), middle = corner + QPoint(2, 2);
      ASSERT_EQ(shot.pixel(corner), b.marked ? b.frame : b.ground) << i << "," << j;
      ASSERT_EQ(shot.pixel(middle), b.marked ? b.centre : b.ground) << i << "," << j;
    }
}

// --- City names ---

TEST_F(InfoWindowsTest, CityNamesFollowLandMassAndOrdinalAndNeverRunOut) {
  EXPECT_STREQ(kCityNames[0], "London");
  EXPECT_STREQ(kCityNames[191], "Amman");
  EXPECT_EQ(CityNameFor(2, 3), "San Francisco");
  EXPECT_EQ(CityNameFor(32, 5), "Amman");
  std::set<std::string> classic(std::begin(kCityNames), std::end(kCityNames));
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

// --- Announcements ---

TEST_F(InfoWindowsTest, NextPlayerHidesTheMapWhileOpen) {
  Build({"+++", "+++", "..."});
  int hiddenWhileOpen = -1;
  QTimer::singleShot(0, [&] {
    hiddenWhileOpen = game->state.mapHidden;
    if (QWidget* modal = QApplication::activeModalWidget()) static_cast<QDialog*>(modal)->reject();
  });
  RunNextPlayerPrompt(*game, pictures, window.get());
  EXPECT_EQ(hiddenWhileOpen, 1);
  EXPECT_EQ(game->state.mapHidden, 0);
}

TEST_F(InfoWindowsTest, AboutBoxDrawsTheExplosionThroughItsMask) {
  Build({"+++", "+++", "..."});
  AboutBox box(window.get());
  const QImage img = box.Picture();
  const QRgb face = box.palette().color(QPalette::Window).rgb() | 0xFF000000;
  const QPoint e = box.ExplosionTopLeft();
  EXPECT_EQ(img.pixel(e + QPoint(1, 1)), face) << "the corner of the picture is transparent";
  EXPECT_NE(img.pixel(e + QPoint(64, 64)), face);
  bool rules = false;
  QObject::connect(&box, &AboutBox::rulesRequested, [&] { rules = true; });
  box.findChild<QPushButton*>("rules")->click();
  EXPECT_TRUE(rules);
}


// --- In the application ---

TEST_F(InfoWindowsTest, ViewItemsToggleTheirWindowsWithTheirCheckMarksAndTheColumnBringsThemBack) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  window->PlaceInfoDialogs();
  EXPECT_NE(qobject_cast<GameInfoWindow*>(window->ToolWindowWidget(ToolWindow::GameInfo)), nullptr);
  EXPECT_NE(qobject_cast<PieceInfoWindow*>(window->ToolWindowWidget(ToolWindow::PieceInfo)), nullptr);
  EXPECT_NE(qobject_cast<ProductionWindow*>(window->ToolWindowWidget(ToolWindow::Production)), nullptr);
  ASSERT_NE(qobject_cast<RankingsWindow*>(window->ToolWindowWidget(ToolWindow::Rankings)), nullptr);
  EXPECT_TRUE(window->IsChecked(Cmd::Rankings));

  window->ExecuteCommand(Cmd::Rankings);
  EXPECT_FALSE(window->IsToolWindowOpen(ToolWindow::Rankings));
  EXPECT_FALSE(window->IsChecked(Cmd::Rankings));
  window->ExecuteCommand(Cmd::Rankings);
  EXPECT_TRUE(window->IsChecked(Cmd::Rankings));
  window->ToolWindowWidget(ToolWindow::Rankings)->close();   // its close box
  EXPECT_FALSE(window->IsChecked(Cmd::Rankings));

  window->PlaceInfoDialogs();
  QWidget* rankings = window->ToolWindowWidget(ToolWindow::Rankings);
  ASSERT_NE(rankings, nullptr);
  const QRect main = window->frameGeometry();
  EXPECT_EQ(rankings->frameGeometry().topLeft(), QPoint(main.x() + main.width(), main.y() + 90));
  EXPECT_EQ(rankings->frameGeometry().size(), QSize(112, 112));

  window->ExecuteCommand(Cmd::WorldMap);
  auto* map = qobject_cast<WorldMapWindow*>(window->ToolWindowWidget(ToolWindow::WorldMap));
  ASSERT_NE(map, nullptr);
  EXPECT_TRUE(window->IsChecked(Cmd::WorldMap));
  EXPECT_EQ(map->frameGeometry().size(), WorldMapFrameSize(40, 40));
  map->close();
  EXPECT_FALSE(window->IsChecked(Cmd::WorldMap));
}

TEST_F(InfoWindowsTest, TheApplicationsHooksOpenTheDialogs) {
  Build({"+++", "+++", "..."});
  RealDialogHooks real(*game, *window, sound);
  game->hooks = &real;
  const int city = AddCity(*game, 0, 1, 1);
  game->app.lostPlayer = 1;
  std::vector<QString> titles;
  auto answerNext = [&] {
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
  game->pieces[city].production = PieceType::Army;
  game->ui().ShowCityDialog(city);
  EXPECT_EQ(titles, (std::vector<QString>{"Ha! Ha! Ha!", "Victory!", QString::fromStdString(CityName(*game, city))}));
  game->hooks = hooks.get();
}

// --- A generated game ---

class GeneratedGameTest : public InfoWindowsTest {
 protected:
  void SetUp() override {
    InfoWindowsTest::SetUp();
    real = std::make_unique<RealDialogHooks>(*game, *window, sound);
    game->hooks = real.get();
  }
  void TearDown() override {
    game->hooks = &game->nullHooks;
    InfoWindowsTest::TearDown();
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
  // Answers every modal dialog as it opens: `look` sees it first.
  void AnswerDialogs(std::function<void(QDialog&)> look) {
    answering = std::make_unique<QTimer>();
    QObject::connect(answering.get(), &QTimer::timeout, [look] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      look(*d);
      d->accept();
    });
    answering->start(5);
  }
  // With VORTAN_SCREENSHOT_DIR set: the whole screen as it is now (on a
  // real display) or else the dialog itself.
  static void SaveScreen(QWidget& top, const QString& name) {
    const char* dir = std::getenv("VORTAN_SCREENSHOT_DIR");
    if (!dir) return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 300) QApplication::processEvents();
    QImage img = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    if (img.isNull() || Uniform(img)) img = Shot(top);
    img.save(QString(dir) + "/" + name + ".png");
  }
  std::unique_ptr<RealDialogHooks> real;
  std::unique_ptr<QTimer> answering;
};

TEST_F(GeneratedGameTest, HotSeatDayPromptsEachHumanWithTheMapHidden) {
  Start({PlayerKind::Human, PlayerKind::Human, PlayerKind::Out, PlayerKind::Out, PlayerKind::Out, PlayerKind::Out},
        2024);
  window->CheckMenuItem(Cmd::PromptOnNewHuman, true);
  ASSERT_TRUE(game->app.promptOnNewHuman);
  struct Prompt {
    int player, day;
    bool hidden, mapBlack, productionClosed;
  };
  std::vector<Prompt> prompts;
  int cityDialogs = 0;
  AnswerDialogs([&](QDialog& d) {
    if (qobject_cast<CityDialog*>(&d)) {
      ++cityDialogs;
      return;
    }
    if (!qobject_cast<NextPlayerDialog*>(&d)) return;
    const QImage screen = window->View()->Screen();
    const QRect map = MapViewRect(screen.size());
    bool black = true;
    for (int y = map.top(); y < map.bottom() && black; y += 7)
      for (int x = map.left(); x < map.right(); x += 7)
        if (screen.pixel(x, y) != qRgb(0, 0, 0)) black = false;
    prompts.push_back({game->state.currentPlayer, game->state.day, game->state.mapHidden == 1, black,
                       !window->IsToolWindowOpen(ToolWindow::Production)});
    if (prompts.size() == 1) SaveScreen(d, "hot_seat_prompt");
  });
  // The humans end their turns at once. Until their first armies are built
  // nobody has a piece to move, and the days pass without a hand-over.
  for (int steps = 0; steps < 5000 && prompts.size() < 5; ++steps) {
    const int cp = game->state.currentPiece;
    if (cp >= 0 && cp < kPieceSlots && game->pieces[cp].state == PieceState::AwaitingOrders) OrderEndTurn(*game);
    AdvanceGame(*game);
  }
  EXPECT_EQ(cityDialogs, 2) << "each human chooses the first production of the home city";
  ASSERT_EQ(prompts.size(), 5u);
  for (const Prompt& p : prompts) {
    EXPECT_TRUE(p.hidden) << "player " << p.player << " day " << p.day;
    EXPECT_TRUE(p.mapBlack) << "player " << p.player << " day " << p.day;
    EXPECT_TRUE(p.productionClosed);
  }
  for (size_t k = 0; k < prompts.size(); ++k) EXPECT_EQ(prompts[k].player, static_cast<int>(k % 2)) << k;
  EXPECT_EQ(prompts[0].day, 1);
  EXPECT_EQ(prompts[1].day, 1);
  EXPECT_GT(prompts[4].day, prompts[2].day) << "a later day, a new round of hand-overs";
  EXPECT_EQ(game->state.mapHidden, 0);
  EXPECT_TRUE(window->IsToolWindowOpen(ToolWindow::Production)) << "reopened after the prompt";
}

// Every window of a game in progress; with VORTAN_SCREENSHOT_DIR set, their
// pictures are saved there for a look by eye.
TEST_F(GeneratedGameTest, EveryWindowOfAGameInProgressShowsSomethingAtItsSize) {
  Start({PlayerKind::Human, PlayerKind::Computer, PlayerKind::Computer, PlayerKind::Out, PlayerKind::Out,
         PlayerKind::Out},
        77);
  game->state.autoPlay[0] = 1;   // the computer plays the human's side too
  for (int steps = 0; steps < 400000 && game->state.day < 40 && game->state.gameActive; ++steps) AdvanceGame(*game);
  ASSERT_GE(game->state.day, 30);
  game->state.autoPlay[0] = 0;
  game->state.currentPlayer = 0;
  game->state.viewingPlayer = 0;
  game->state.mapHidden = 0;
  // Player 0's city with the most pieces in it, and one of its pieces.
  int city = -1, most = -1, piece = -1;
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& c = game->pieces[i];
    if (c.type != PieceType::City || c.owner != 0) continue;
    int n = 0;
    for (const PieceRecord& r : game->pieces.slots) n += r.type != PieceType::City && r.type != PieceType::None && r.Pos() == c.Pos();
    if (n > most) most = n, city = i;
  }
  for (int i = 0; i < kPieceSlots && piece < 0; ++i)
    if (game->pieces[i].owner == 0 && game->pieces[i].type != PieceType::City && !game->pieces[i].IsEmpty()) piece = i;
  ASSERT_GE(city, 0);
  ASSERT_GE(piece, 0);
  game->state.currentPiece = static_cast<int16_t>(piece);
  game->state.viewX = game->pieces[city].x;
  game->state.viewY = game->pieces[city].y;
  window->PlaceInfoDialogs();
  window->ExecuteCommand(Cmd::WorldMap);
  window->View()->RepaintAll();

  std::vector<std::pair<QString, QImage>> shots;
  auto keep = [&](const QString& name, QWidget& w) {
    const QImage img = Shot(w);
    EXPECT_FALSE(Uniform(img)) << name.toStdString();
    shots.emplace_back(name, img);
  };
  const QRect main = window->frameGeometry();
  const std::pair<ToolWindow, const char*> column[] = {{ToolWindow::GameInfo, "game_info"},
                                                       {ToolWindow::Rankings, "rankings"},
                                                       {ToolWindow::PieceInfo, "piece_info"},
                                                       {ToolWindow::Production, "production"},
                                                       {ToolWindow::WorldMap, "world_map"}};
  for (auto [which, name] : column) {
    QWidget* w = window->ToolWindowWidget(which);
    ASSERT_NE(w, nullptr) << name;
    keep(name, *w);
    if (which == ToolWindow::WorldMap) continue;
    const ColumnPlace place = ColumnPlaceOf(which);
    EXPECT_EQ(w->frameGeometry(), QRect(main.x() + main.width(), main.y() + place.offset, 112,
                                        place.height ? place.height : main.height() - place.offset))
        << name;
  }
  EXPECT_EQ(window->ToolWindowWidget(ToolWindow::WorldMap)->frameGeometry().size(), QSize(258, 282));

  CityDialog cityDialog(*game, pictures, city, window.get());
  keep("city_dialog", cityDialog);
  CityNamePopup popup(*game, city, *window);
  keep("city_name_popup", popup);
  game->state.currentPlayer = 1;
  NextPlayerDialog next(*game, pictures, window.get());
  keep("next_player", next);
  PlayerAnnouncement eliminated("Ha! Ha! Ha!", 2, "has been eliminated!", pictures, window.get());
  keep("eliminated", eliminated);
  PlayerAnnouncement victory("Victory!", 0, "has conquered the world!", pictures, window.get());
  keep("victory", victory);
  AboutBox about(window.get());
  keep("about", about);
  game->state.currentPlayer = 0;

  const char* dir = std::getenv("VORTAN_SCREENSHOT_DIR");
  if (!dir) return;
  // The main window with its column and the World Map, where each stands.
  QRect all = main;
  for (auto [which, name] : column) all |= window->ToolWindowWidget(which)->frameGeometry();
  QImage desk(all.size(), QImage::Format_RGB32);
  desk.fill(qRgb(0, 128, 128));
  QPainter p(&desk);
  p.drawImage(window->geometry().topLeft() - all.topLeft(), Shot(*window));
  for (auto [which, name] : column) {
    QWidget* w = window->ToolWindowWidget(which);
    p.drawImage(w->geometry().topLeft() - all.topLeft(), Shot(*w));
  }
  p.end();
  shots.emplace_back("desktop", desk);
  for (const auto& [name, img] : shots) EXPECT_TRUE(img.save(QString(dir) + "/" + name + ".png")) << name.toStdString();
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
