// Explosions, the inverted go-to line, the distance cursor and the sound
// effects' choice of file and random draws.
#include "window_fixture.h"

#include <QElapsedTimer>

#include "model/random.h"
#include "ui/view_geometry.h"

namespace vortan::test {
namespace {

// Records the sounds asked for, in order with the explosion's discs.
class EffectHooks : public WindowTestHooks {
 public:
  using WindowTestHooks::WindowTestHooks;
  std::vector<std::string>* log = nullptr;
  void PlaySoundEffect(int effect) override { log->push_back("sound " + std::to_string(effect)); }
};

class EffectsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    effectHooks = std::make_unique<EffectHooks>(*game, *window, sound);
    effectHooks->log = &events;
    game->hooks = effectHooks.get();
    window->View()->explosionObserver = [this](int r, QPoint centre) {
      events.push_back("disc " + std::to_string(r));
      // The disc is filled with the colour at its middle and near its rim.
      const QImage& s = window->View()->Screen();
      if (s.pixel(centre) != discColour || s.pixel(centre.x() + r - 2, centre.y()) != discColour)
        events.push_back("unfilled disc " + std::to_string(r));
    };
  }
  std::vector<std::string> Discs() const {
    std::vector<std::string> d;
    for (const std::string& e : events)
      if (e.rfind("disc", 0) == 0 || e.rfind("unfilled", 0) == 0) d.push_back(e);
    return d;
  }
  void SeaWorld(int cellSize) {
    // Large enough that the window shows each cell once at every zoom.
    Build(std::vector<std::string>(30, std::string(40, '.')), cellSize);
    RevealAll();
    window->View()->RepaintAll();
  }
  std::unique_ptr<EffectHooks> effectHooks;
  std::vector<std::string> events;
  QRgb discColour = qRgb(255, 255, 0);
};

// A cell that shows in the view's second row, away from the strip.
MapPos SecondRowCell(const Game& g, const MapView& v) {
  const ViewFrame f = const_cast<MapView&>(v).Renderer().Frame();
  return MapPos{static_cast<uint8_t>(CellXAt(f, 5 * f.cellSize)), static_cast<uint8_t>(CellYAt(f, kStripHeight + f.cellSize))};
  (void)g;
}

TEST_F(EffectsTest, DiscsGrowByAThirdOfTheCellEveryThirtyMilliseconds) {
  const std::vector<std::pair<int, std::vector<std::string>>> sizes = {
      {12, {"disc 6", "disc 10", "disc 14"}},
      {16, {"disc 8", "disc 13", "disc 18", "disc 23"}},
      {32, {"disc 16", "disc 26", "disc 36", "disc 46"}}};
  for (const auto& [cellSize, discs] : sizes) {
    SeaWorld(cellSize);
    events.clear();
    const MapPos pos{5, 5};
    const QImage before = window->View()->Screen().copy();
    QElapsedTimer clock;
    clock.start();
    window->View()->ShowExplosion(pos, kExplosionYellow, 1);
    EXPECT_GE(clock.elapsed(), 30 * static_cast<qint64>(discs.size()));
    EXPECT_EQ(Discs(), discs) << cellSize;
    // Afterwards the cells are drawn again over the discs.
    EXPECT_EQ(window->View()->Screen(), before) << cellSize;
  }
}

TEST_F(EffectsTest, DiscsReachingTheStripAreSkipped) {
  SeaWorld(16);
  discColour = qRgb(255, 128, 0);
  const MapPos pos = SecondRowCell(*game, *window->View());
  window->View()->ShowExplosion(pos, kExplosionOrange, 2);
  // Centre 58 pixels down: radii 28, 33 and 38 would cross y = 34.
  EXPECT_EQ(Discs(), (std::vector<std::string>{"disc 8", "disc 13", "disc 18", "disc 23"}));
}

TEST_F(EffectsTest, OutOfSightOnlyABomberBlastOverExploredGroundIsShown) {
  SeaWorld(16);
  game->world.At(5, 5).visible = 0;
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionYellow, 1);
  EXPECT_TRUE(Discs().empty());
  discColour = qRgb(255, 128, 0);
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionOrange, 2);
  EXPECT_EQ(Discs().size(), 7u);
  events.clear();
  game->world.At(5, 5).explored = 0;
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionOrange, 2);
  EXPECT_TRUE(Discs().empty());
}

TEST_F(EffectsTest, BomberSoundBeforeTheBlastOnACardAfterItOnTheSpeaker) {
  SeaWorld(16);
  discColour = qRgb(255, 128, 0);
  game->app.soundMode = SoundMode::Card;
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionOrange, 2);
  EXPECT_EQ(events.front(), "sound 0");
  events.clear();
  game->app.soundMode = SoundMode::Speaker;
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionOrange, 2);
  EXPECT_EQ(events.back(), "sound 0");
  EXPECT_EQ(events.front(), "disc 8");
  events.clear();
  window->View()->ShowExplosion(MapPos{5, 5}, kExplosionYellow, 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "sound 0"), 0);
}

class GotoLineTest : public EffectsTest {
 protected:
  void SetUp() override {
    EffectsTest::SetUp();
    SeaWorld(16);
    piece = AddPiece(*game, PieceType::Destroyer, 0, 5, 5);
    game->pieces[piece].state = PieceState::AwaitingOrders;
    game->state.currentPiece = static_cast<int16_t>(piece);
    window->View()->RepaintAll();
    window->View()->EraseGotoLine();
  }
  QPoint PieceCentre() const {
    const QRect r = CellRect(5, 5);
    return r.topLeft() + QPoint(8, 8);
  }
  int piece = 0;
};

TEST_F(GotoLineTest, DrawingTheLineTwiceGivesThePictureBack) {
  const QImage before = window->View()->Screen().copy();
  const QPoint pointer = PieceCentre() + QPoint(80, 80);
  window->View()->DrawGotoLine(pointer);
  ASSERT_TRUE(window->View()->GotoLineDrawn());
  const QImage& with = window->View()->Screen();
  // Halfway along, the pixel is the inverse of what was there.
  const QPoint mid = (pointer + PieceCentre()) / 2;
  EXPECT_EQ(with.pixel(mid) & 0xFFFFFF, ~before.pixel(mid) & 0xFFFFFF);
  window->View()->DrawGotoLine(pointer + QPoint(-30, 10));   // moves: the old line goes first
  window->View()->EraseGotoLine();
  EXPECT_EQ(window->View()->Screen(), before);
}

TEST_F(GotoLineTest, LineStopsAtTheStripAndNeedsAPieceAwaitingOrders) {
  const QImage before = window->View()->Screen().copy();
  window->View()->DrawGotoLine(QPoint(PieceCentre().x(), 5));
  const QImage& with = window->View()->Screen();
  EXPECT_EQ(with.copy(0, 0, with.width(), kStripHeight), before.copy(0, 0, before.width(), kStripHeight));
  EXPECT_NE(with.pixel(PieceCentre().x(), kStripHeight), before.pixel(PieceCentre().x(), kStripHeight));
  window->View()->EraseGotoLine();
  game->pieces[piece].state = PieceState::Ready;
  window->View()->DrawGotoLine(PieceCentre() + QPoint(50, 50));
  EXPECT_FALSE(window->View()->GotoLineDrawn());
  EXPECT_EQ(window->View()->Screen(), before);
}

TEST_F(GotoLineTest, CursorShowsTheDistanceOrTheHourglass) {
  MapView& v = *window->View();
  v.SetMapCursor(PieceCentre() + QPoint(11 * 16, 3 * 16));
  EXPECT_EQ(v.CursorShape(), 11);
  v.SetMapCursor(PieceCentre() + QPoint(-2 * 16, -4 * 16));
  EXPECT_EQ(v.CursorShape(), 4);
  v.SetMapCursor(PieceCentre());
  EXPECT_EQ(v.CursorShape(), 0);
  game->settings.kind[0] = PlayerKind::Computer;
  v.SetMapCursor(PieceCentre());
  EXPECT_EQ(v.CursorShape(), 20);
  v.SetMapCursor(QPoint(40, 10));   // over the strip
  EXPECT_EQ(v.CursorShape(), 0);
}

TEST(SoundTest, CardDrawsOnceForTankAndDistantOnly) {
  SoundPlayer player;
  player.searchFolders = {};   // no files: every effect is silently nothing
  Random rng(7);
  const uint32_t start = rng.State();
  for (int effect : {SoundEffect::Bomber, SoundEffect::Ship, SoundEffect::Fighter, SoundEffect::Para,
                     SoundEffect::Laugh, SoundEffect::Victory})
    player.Play(effect, SoundMode::Card, rng);
  EXPECT_EQ(rng.State(), start);
  for (int mode : {SoundMode::None, SoundMode::Speaker})
    for (int effect : {SoundEffect::Tank, SoundEffect::Distant}) player.Play(effect, static_cast<uint8_t>(mode), rng);
  EXPECT_EQ(rng.State(), start);
  player.Play(SoundEffect::Tank, SoundMode::Card, rng);
  player.Play(SoundEffect::Distant, SoundMode::Card, rng);
  Random expected(7);
  expected.Next();
  expected.Next();
  EXPECT_EQ(rng.State(), expected.State());
}

TEST(SoundTest, EvenDrawsPickTheFirstFile) {
  EXPECT_EQ(SoundPlayer::FileFor(SoundEffect::Tank, 10), "tank1.wav");
  EXPECT_EQ(SoundPlayer::FileFor(SoundEffect::Tank, 11), "tank2.wav");
  EXPECT_EQ(SoundPlayer::FileFor(SoundEffect::Distant, 0), "distant1.wav");
  EXPECT_EQ(SoundPlayer::FileFor(SoundEffect::Distant, 32767), "distant2.wav");
  EXPECT_EQ(SoundPlayer::FileFor(SoundEffect::Laugh, 0), "haha.wav");
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
