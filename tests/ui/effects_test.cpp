// SPDX-License-Identifier: GPL-3.0-or-later
// Explosions: discs growing by a third of a cell, clipped at the strip, shown
// out of sight only for a bomber's blast over explored ground; where the sounds
// are found; the map under an answered question.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/sound_player.h"
#include "ui/view_geometry.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class EffectsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    window->View()->explosionObserver = [this](int r, QPoint centre) {
      // The disc is filled with its colour at its middle and near its rim.
      const QImage& s = window->View()->Screen();
      const bool filled = s.pixel(centre) == discColour && s.pixel(centre.x() + r - 2, centre.y()) == discColour;
      hooks->events.push_back((filled ? "disc " : "unfilled disc ") + std::to_string(r));
    };
  }
  // The discs drawn and sounds played, in order, as one line, once the
  // event loop has played them.
  std::string Explode(MapPos pos, int radius) {
    hooks->events.clear();
    discColour = radius == 2 ? qRgb(255, 128, 0) : qRgb(255, 255, 0);
    window->View()->ShowExplosion(pos, radius == 2 ? kExplosionOrange : kExplosionYellow, radius);
    return PlayOut();
  }
  // Runs the event loop until the queued effects are over; what was seen.
  std::string PlayOut() {
    QElapsedTimer clock;
    clock.start();
    while (window->View()->EffectsPlaying() && clock.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_FALSE(window->View()->EffectsPlaying()) << "the explosion never ended";
    QCoreApplication::processEvents();  // the cells under the discs, drawn again
    std::string seen;
    for (const std::string& e : hooks->events) seen += (seen.empty() ? "" : ", ") + e;
    return seen;
  }
  QRgb discColour = 0;
};

TEST_F(EffectsTest, DiscsGrowByAThirdOfTheCellEveryThirtyMilliseconds) {
  enum Where { Inside, NearStrip, LastColumn };
  const std::tuple<int, Where, const char*> sizes[] = {
      // cell size, where, discs
      {12, Inside, "disc 6, disc 10, disc 14"},
      {16, Inside, "disc 8, disc 13, disc 18, disc 23"},
      {32, Inside, "disc 16, disc 26, disc 36, disc 46"},
      {16, NearStrip,
       "disc 8, disc 13, disc 18, disc 23"},          // a blast 58 pixels down: radii 28 to 38 would reach the strip
      {12, LastColumn, "disc 6, disc 10, disc 14"}};  // the minimum window shows black past the world's 480 pixels
  for (const auto& [cellSize, where, discs] : sizes) {
    SCOPED_TRACE(std::to_string(cellSize) + " " + std::to_string(where));
    BuildSea(40, cellSize);
    window->View()->RepaintAll();
    const QImage before = window->View()->Screen().copy();
    const ViewFrame g = window->View()->Renderer().Frame();
    const MapPos at = where == NearStrip    ? MapPos{uint8_t(CellXAt(g, 80)), uint8_t(CellYAt(g, kStripHeight + 16))}
                      : where == LastColumn ? MapPos{uint8_t(CellXAt(g, 40 * 12 - 6)), 5}
                                            : MapPos{5, 5};
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Explode(at, where == NearStrip ? 2 : 1), discs);
    EXPECT_GE(clock.elapsed(), 30 * (std::count(discs, discs + strlen(discs), ',') + 1));
    EXPECT_EQ(window->View()->Screen(), before) << "the cells are drawn again over the discs";
  }
}

TEST_F(EffectsTest, OutOfSightOnlyABomberBlastOverExploredGroundShowsAndItsSoundFollowsTheMode) {
  BuildSea(40);
  auto& c = game->world.At(5, 5);
  const std::string seven = "disc 8, disc 13, disc 18, disc 23, disc 28, disc 33, disc 38";
  const struct {
    int explored, visible, mode, radius;
    std::string seen;
  } rows[] = {{1, 0, SoundMode::None, 1, ""},
              {1, 0, SoundMode::None, 2, seven},
              {0, 0, SoundMode::None, 2, ""},
              {1, 1, SoundMode::Card, 2, "sound 0, " + seven},
              {1, 1, SoundMode::Speaker, 2, seven + ", sound 0"},
              {1, 1, SoundMode::Speaker, 1, "disc 8, disc 13, disc 18, disc 23"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    c.explored = static_cast<uint8_t>(r.explored);
    c.visible = static_cast<uint8_t>(r.visible);
    game->app.soundMode = static_cast<uint8_t>(r.mode);
    EXPECT_EQ(Explode(MapPos{5, 5}, r.radius), r.seen);
  }
}

// The game's sounds after an explosion wait for its discs; their draw from
// the game's random numbers happens when the game asks, not when they play.
TEST_F(EffectsTest, ASoundAskedForDuringAnExplosionPlaysAfterItsDiscs) {
  BuildSea(40);
  window->View()->soundOutput = [this](int effect, uint8_t, int draw) {
    hooks->events.push_back("played " + std::to_string(effect) + " draw " + std::to_string(draw));
  };
  game->app.soundMode = SoundMode::Card;
  hooks->events.clear();
  hooks->ShellHooks::PlaySoundEffect(SoundEffect::Ship);
  EXPECT_EQ(hooks->events, std::vector<std::string>{"played 2 draw 0"}) << "nothing playing: the sound is not held";
  hooks->events.clear();
  discColour = qRgb(255, 255, 0);
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionYellow, 1);
  Random expected = game->rng;
  const int draw = expected.Next();
  hooks->ShellHooks::PlaySoundEffect(SoundEffect::Tank);
  EXPECT_EQ(game->rng.State(), expected.State()) << "the game's draw for the sound waited for the sound";
  EXPECT_EQ(PlayOut(), "disc 8, disc 13, disc 18, disc 23, played 1 draw " + std::to_string(draw));
}

// Installed under any prefix, the sounds are found beside the program (bin/
// or games/ next to share/vortan) or through the desktop's data folders.
TEST(SoundFilesTest, FoundBesideTheProgramFirstThenInTheDataFolders) {
  QTemporaryDir prefix;
  QDir(prefix.path()).mkpath("share/vortan/sounds");
  QDir(prefix.path()).mkpath("games");
  QDir(prefix.path()).mkpath("data/vortan/sounds");
  for (const char* file :
       {"share/vortan/sounds/ship.wav", "data/vortan/sounds/ship.wav", "data/vortan/sounds/para.wav"})
    QFile(prefix.filePath(file)).open(QIODevice::WriteOnly);
  const QString appName = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("vortan");
  qputenv("XDG_DATA_DIRS", prefix.filePath("data").toUtf8());
  SoundPlayer player;
  player.searchFolders = {prefix.filePath("games"), prefix.filePath("games/../share/vortan/sounds")};
  EXPECT_EQ(QFileInfo(player.Locate("ship.wav")).canonicalFilePath(),
            QFileInfo(prefix.filePath("share/vortan/sounds/ship.wav")).canonicalFilePath());
  EXPECT_EQ(QFileInfo(player.Locate("para.wav")).canonicalFilePath(),
            QFileInfo(prefix.filePath("data/vortan/sounds/para.wav")).canonicalFilePath());
  EXPECT_TRUE(player.Locate("victory.wav").isEmpty());
  QCoreApplication::setApplicationName(appName);
}

// An answered question leaves nothing of its box on the map: what it covered
// is painted again before the answer is acted on (the surrender's discs run
// with no event loop that would do it later).
TEST_F(EffectsTest, TheMapUnderAnAnsweredQuestionIsRepaintedBeforeTheAnswerIsUsed) {
  BuildSea(30);
  struct PaintCounter : QObject {
    int paints = 0;
    bool boxGone = false;
    bool eventFilter(QObject*, QEvent* e) override {
      if (boxGone && e->type() == QEvent::Paint) ++paints;
      return false;
    }
  } counter;
  window->View()->installEventFilter(&counter);
  QCoreApplication::processEvents();
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
    counter.boxGone = true;
  });
  EXPECT_EQ(hooks->ShellHooks::ShowMessageBox("Coward!", "Are you sure you wish to surrender?", MsgIcon::Exclamation,
                                              MsgButtons::YesNo),
            MsgResult::Yes);
  EXPECT_GT(counter.paints, 0) << "the map was not painted again between the box closing and the answer";
  window->View()->removeEventFilter(&counter);
}

}  // namespace
}  // namespace vortan::test
