// Explosions, the inverted go-to line and the sound effects' choice of file
// and random draws.
#include <QElapsedTimer>

#include "model/random.h"
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
  std::vector<std::string> Discs() const {
    std::vector<std::string> d;
    for (const std::string& e : hooks->events)
      if (e.find("disc") != std::string::npos) d.push_back(e);
    return d;
  }
  void Explode(MapPos pos, int radius) {
    hooks->events.clear();
    discColour = radius == 2 ? qRgb(255, 128, 0) : qRgb(255, 255, 0);
    window->View()->ShowExplosion(pos, radius == 2 ? kExplosionOrange : kExplosionYellow, radius);
  }
  QRgb discColour = 0;
};

TEST_F(EffectsTest, DiscsGrowByAThirdOfTheCellEveryThirtyMilliseconds) {
  const std::pair<int, std::vector<std::string>> sizes[] = {{12, {"disc 6", "disc 10", "disc 14"}},
                                                            {16, {"disc 8", "disc 13", "disc 18", "disc 23"}},
                                                            {32, {"disc 16", "disc 26", "disc 36", "disc 46"}}};
  for (const auto& [cellSize, discs] : sizes) {
    Build(std::vector<std::string>(30, std::string(40, '.')), cellSize);
    RevealAll();
    window->View()->RepaintAll();
    const QImage before = window->View()->Screen().copy();
    QElapsedTimer clock;
    clock.start();
    Explode(MapPos{5, 5}, 1);
    EXPECT_GE(clock.elapsed(), 30 * static_cast<qint64>(discs.size()));
    EXPECT_EQ(Discs(), discs) << cellSize;
    EXPECT_EQ(window->View()->Screen(), before) << "the cells are drawn again over the discs";
  }
  // A cell in the second row, 58 pixels down: radii 28, 33 and 38 would reach the strip.
  Build(std::vector<std::string>(30, std::string(40, '.')), 16);
  RevealAll();
  const ViewFrame g = window->View()->Renderer().Frame();
  Explode(MapPos{uint8_t(CellXAt(g, 80)), uint8_t(CellYAt(g, kStripHeight + 16))}, 2);
  EXPECT_EQ(Discs(), (std::vector<std::string>{"disc 8", "disc 13", "disc 18", "disc 23"}));
}

TEST_F(EffectsTest, OutOfSightOnlyABomberBlastOverExploredGroundShowsAndItsSoundFollowsTheMode) {
  BuildSea(40);
  game->world.At(5, 5).visible = 0;
  Explode(MapPos{5, 5}, 1);
  EXPECT_TRUE(Discs().empty());
  Explode(MapPos{5, 5}, 2);
  EXPECT_EQ(Discs().size(), 7u);
  game->world.At(5, 5).explored = 0;
  Explode(MapPos{5, 5}, 2);
  EXPECT_TRUE(Discs().empty());

  game->world.At(5, 5).explored = game->world.At(5, 5).visible = 1;
  game->app.soundMode = SoundMode::Card;
  Explode(MapPos{5, 5}, 2);
  EXPECT_EQ(hooks->events.front(), "sound 0");
  game->app.soundMode = SoundMode::Speaker;
  Explode(MapPos{5, 5}, 2);
  EXPECT_EQ(hooks->events.front(), "disc 8");
  EXPECT_EQ(hooks->events.back(), "sound 0");
  Explode(MapPos{5, 5}, 1);
  EXPECT_EQ(std::count(hooks->events.begin(), hooks->events.end(), "sound 0"), 0);
}

TEST_F(EffectsTest, TheGoToLineIsInvertedClippedAtTheStripAndGoneWhenDrawnTwice) {
  BuildSea(40);
  const int piece = AddPiece(*game, PieceType::Destroyer, 0, 5, 5);
  game->pieces[piece].state = PieceState::AwaitingOrders;
  game->state.currentPiece = static_cast<int16_t>(piece);
  MapView& v = *window->View();
  v.RepaintAll();
  v.EraseGotoLine();
  const QImage before = v.Screen().copy();
  const QPoint centre = CellRect(5, 5).topLeft() + QPoint(8, 8), pointer = centre + QPoint(80, 80);
  v.DrawGotoLine(pointer);
  ASSERT_TRUE(v.GotoLineDrawn());
  const QPoint mid = (pointer + centre) / 2;
  EXPECT_EQ(v.Screen().pixel(mid) & 0xFFFFFF, ~before.pixel(mid) & 0xFFFFFF);
  v.DrawGotoLine(pointer + QPoint(-30, 10));   // moves: the old line goes first
  v.EraseGotoLine();
  EXPECT_EQ(v.Screen(), before);

  v.DrawGotoLine(QPoint(centre.x(), 5));
  EXPECT_EQ(v.Screen().copy(0, 0, before.width(), kStripHeight), before.copy(0, 0, before.width(), kStripHeight));
  EXPECT_NE(v.Screen().pixel(centre.x(), kStripHeight), before.pixel(centre.x(), kStripHeight));
  v.EraseGotoLine();
  game->pieces[piece].state = PieceState::Ready;
  v.DrawGotoLine(pointer);
  EXPECT_FALSE(v.GotoLineDrawn());
  EXPECT_EQ(v.Screen(), before);
}

TEST(SoundTest, CardDrawsOnceForTankAndDistantOnlyAndEvenDrawsPickTheFirstFile) {
  SoundPlayer player;
  player.searchFolders = {};   // no files: every effect is silently nothing
  Random rng(7);
  const uint32_t start = rng.State();
  for (int mode : {SoundMode::None, SoundMode::Speaker, SoundMode::Card})
    for (int effect : {SoundEffect::Bomber, SoundEffect::Ship, SoundEffect::Fighter, SoundEffect::Para,
                       SoundEffect::Laugh, SoundEffect::Victory, SoundEffect::Tank, SoundEffect::Distant})
      if (mode != SoundMode::Card || (effect != SoundEffect::Tank && effect != SoundEffect::Distant))
        player.Play(effect, static_cast<uint8_t>(mode), rng);
  EXPECT_EQ(rng.State(), start);
  player.Play(SoundEffect::Tank, SoundMode::Card, rng);
  player.Play(SoundEffect::Distant, SoundMode::Card, rng);
  Random expected(7);
  expected.Next();
  expected.Next();
  EXPECT_EQ(rng.State(), expected.State());

  const std::tuple<int, int, const char*> files[] = {{SoundEffect::Tank, 10, "tank1.wav"},
                                                     {SoundEffect::Tank, 11, "tank2.wav"},
                                                     {SoundEffect::Distant, 0, "distant1.wav"},
                                                     {SoundEffect::Distant, 32767, "distant2.wav"},
                                                     {SoundEffect::Laugh, 0, "haha.wav"}};
  for (const auto& [effect, draw, file] : files) EXPECT_EQ(SoundPlayer::FileFor(effect, draw), file) << draw;
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
