// What the map shows: coast tiles, fog of war, pieces, counts, mirroring and
// the monochrome display, checked on the grabbed main window.
#include "window_fixture.h"

#include "ui/map_renderer.h"
#include "ui/view_geometry.h"

namespace vortan::test {
namespace {

class RenderTest : public WindowFixture {
 protected:
  // The expected cell: the picture, with a stack digit in the corner if count > 0.
  QImage WithDigit(QImage cell, int count) const {
    if (count <= 0) return cell;
    const int cs = game->state.tileSize;
    const QImage digit = pictures.Digit(std::min(count, 9)).Variant(cs == 32 ? 2 : 1, false, false);
    BlitImage(cell, digit, cs - digit.width(), 0);
    return cell;
  }
  const Picture& PieceOf(int owner, int kind) const { return pictures.Piece(Set(), owner, kind); }
  void See(int x, int y) { game->world.At(x, y).explored = game->world.At(x, y).visible = 1; }
  void Remember(int x, int y) {
    game->world.At(x, y).explored = 1;
    game->world.At(x, y).visible = 0;
  }
};

TEST_F(RenderTest, DefaultWorldFillsTheSizedClientAreaCellByCell) {
  Build(std::vector<std::string>(40, std::string(40, '.')));
  RevealAll();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) game->world.At(x, y).tileVariant = static_cast<uint8_t>((x + y) % 8);
  const QImage shot = Grab();
  EXPECT_EQ(window->centralWidget()->size(), QSize(655, 689));
  EXPECT_EQ(window->View()->Renderer().columns, 39);
  EXPECT_EQ(window->View()->Renderer().rows, 39);
  EXPECT_EQ(window->View()->VerticalBar()->geometry(), QRect(640, 34, 16, 641));
  EXPECT_EQ(window->View()->HorizontalBar()->geometry(), QRect(0, 674, 641, 16));
  EXPECT_EQ(window->View()->Grip()->geometry(), QRect(640, 674, 15, 15));
  // All 40 x 40 cells appear, each exactly once, and reach the scroll bars.
  QSet<QPoint> seen;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const QRect r = CellRect(x, y);
      ASSERT_TRUE(QRect(0, 34, 640, 640).contains(r)) << x << "," << y;
      seen.insert(r.topLeft());
      ASSERT_EQ(CellIn(shot, x, y), AsCell(pictures.Sea(Set(), (x + y) % 8))) << x << "," << y;
    }
  EXPECT_EQ(seen.size(), 1600);
}

TEST_F(RenderTest, CoastTileFollowsTheFirstRuleThatHolds) {
  struct Case {
    std::vector<std::string> block;
    const char* tile;
  };
  const Case cases[] = {
      {{"+++", "+++", "+++"}, "22"}, {{"+.+", "+++", "..."}, "44"}, {{".+.", ".++", ".+."}, "33"},
      {{".+.", "++.", ".+."}, "11"}, {{".+.", "+++", "..."}, "00"}, {{"+++", "+++", "++."}, "10"},
      {{"+++", "+++", ".++"}, "03"}, {{"++.", "+++", "+++"}, "14"}, {{".++", "+++", "+++"}, "43"},
      {{"...", ".++", ".++"}, "34"}, {{"...", "++.", "++."}, "41"}, {{"++.", "++.", "..."}, "01"},
      {{".++", ".++", "..."}, "30"}, {{"+..", "+++", "+++"}, "44"},  // sea N and NE: rule 2 before rule 8
      {{"...", ".+.", "..."}, "34"},                                  // a one-cell spit
      {{"*^+", "+++", "+^*"}, "22"},                                  // cities and mountains count as land
  };
  for (const Case& c : cases) {
    BuildWorld(*game, c.block);
    EXPECT_STREQ(kLandTileSuffixes[window->View()->Renderer().ChooseLandTile(MapPos{1, 1})], c.tile)
        << c.block[0] << "/" << c.block[1] << "/" << c.block[2];
  }
}

TEST_F(RenderTest, CoastTilesWrapAndReachTheScreen) {
  // The land cell at x = 0 finds its western sea at x = W - 1.
  Build({"++++.", "++++.", "++++.", "++++.", "++++."});
  RevealAll();
  EXPECT_STREQ(kLandTileSuffixes[window->View()->Renderer().ChooseLandTile(MapPos{0, 2})], "33");
  EXPECT_STREQ(kLandTileSuffixes[window->View()->Renderer().ChooseLandTile(MapPos{3, 2})], "11");
  const QImage shot = Grab();
  EXPECT_EQ(CellIn(shot, 0, 2), AsCell(pictures.Land(Set(), 3)));
  EXPECT_EQ(CellIn(shot, 3, 2), AsCell(pictures.Land(Set(), 1)));
  EXPECT_EQ(CellIn(shot, 1, 2), AsCell(pictures.Land(Set(), 2)));
}

class PiecesOnTheMap : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    Build({
        "........",
        ".++++++.",
        ".++++++.",
        "........",
        "........",
        "........",
    });
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 7; ++x) See(x, y);
    ownCity = AddCity(*game, 0, 2, 1);
    for (int i = 0; i < 11; ++i) AddPiece(*game, PieceType::Army, 0, 2, 1);
    enemyCity = AddCity(*game, 1, 5, 1);
    Remember(5, 1);
    AddPiece(*game, PieceType::Army, 1, 4, 2);
    Remember(4, 2);
    AddPiece(*game, PieceType::Army, 1, 3, 2);
    AddPiece(*game, PieceType::Army, 1, 3, 2);
    transport = AddPiece(*game, PieceType::Transport, 0, 1, 4);
    for (int i = 0; i < 3; ++i) AddPiece(*game, PieceType::Army, 0, 1, 4);
    fighter = AddPiece(*game, PieceType::Fighter, 0, 6, 4);
    game->pieces[fighter].facing = 1;
    RefreshCell(*game, MapPos{6, 4});
    game->state.currentPiece = static_cast<int16_t>(transport);
  }
  int ownCity = 0, enemyCity = 0, transport = 0, fighter = 0;
};

TEST_F(PiecesOnTheMap, FogRememberedCitiesStacksAndCounts) {
  const QImage shot = Grab();
  // Never explored: black.
  EXPECT_EQ(CellIn(shot, 7, 5), QImage(CellIn(shot, 7, 5)).convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(CellIn(shot, 7, 5).pixel(3, 3), qRgb(0, 0, 0));
  EXPECT_EQ(CellIn(shot, 7, 5), [&] { QImage b(16, 16, QImage::Format_RGB32); b.fill(Qt::black); return b; }());
  // The viewer's city holding twelve pieces shows 9.
  EXPECT_EQ(CellIn(shot, 2, 1), WithDigit(AsCell(PieceOf(0, PieceType::City)), 9));
  // An enemy city explored but out of sight stays in its owner's colour.
  EXPECT_EQ(CellIn(shot, 5, 1), AsCell(PieceOf(1, PieceType::City)));
  // An enemy army out of sight is not shown: the terrain is.
  EXPECT_EQ(CellIn(shot, 4, 2), AsCell(pictures.Land(Set(), window->View()->Renderer().ChooseLandTile(MapPos{4, 2}))));
  // An enemy stack in sight shows its top piece and no count.
  EXPECT_EQ(CellIn(shot, 3, 2), AsCell(PieceOf(1, PieceType::Army)));
  // The current piece, a transport at sea with three armies aboard, shows 3.
  EXPECT_EQ(CellIn(shot, 1, 4), WithDigit(AsCell(PieceOf(0, PieceType::Transport)), 3));
  // A piece that last moved west is drawn mirrored.
  EXPECT_EQ(CellIn(shot, 6, 4), AsCell(PieceOf(0, PieceType::Fighter), true));
  EXPECT_NE(CellIn(shot, 6, 4), AsCell(PieceOf(0, PieceType::Fighter), false));
}

TEST_F(PiecesOnTheMap, MonochromeInvertsOtherPlayersOnly) {
  game->app.monochrome = 1;
  const QImage shot = Grab();
  EXPECT_EQ(CellIn(shot, 3, 2), AsCell(PieceOf(1, PieceType::Army), false, true));
  EXPECT_EQ(CellIn(shot, 5, 1), AsCell(PieceOf(1, PieceType::City), false, true));
  EXPECT_EQ(CellIn(shot, 6, 4), AsCell(PieceOf(0, PieceType::Fighter), true, false));
  EXPECT_EQ(CellIn(shot, 0, 0), AsCell(pictures.Sea(Set(), 0)));
  // The digit is never inverted.
  EXPECT_EQ(CellIn(shot, 2, 1), WithDigit(AsCell(PieceOf(0, PieceType::City)), 9));
}

TEST_F(PiecesOnTheMap, CurrentArmyCountsItsFellowsAndNotOnItsOwn) {
  const int army = AddPiece(*game, PieceType::Army, 0, 4, 1);
  game->state.currentPiece = static_cast<int16_t>(army);
  EXPECT_EQ(CellIn(Grab(), 4, 1), AsCell(PieceOf(0, PieceType::Army)));
  AddPiece(*game, PieceType::Army, 0, 4, 1);
  AddPiece(*game, PieceType::Army, 0, 4, 1);
  EXPECT_EQ(CellIn(Grab(), 4, 1), WithDigit(AsCell(PieceOf(0, PieceType::Army)), 3));
  // The transport, no longer current, still shows its cargo to its owner.
  EXPECT_EQ(CellIn(Grab(), 1, 4), WithDigit(AsCell(PieceOf(0, PieceType::Transport)), 3));
}

TEST_F(PiecesOnTheMap, PicturesAndDigitsScaleWithTheZoom) {
  for (int cellSize : {12, 24, 32}) {
    SetCellSize(cellSize);
    window->SizeMainWindowForWorld();
    const QImage shot = Grab();
    const QImage cell = CellIn(shot, 1, 4);
    ASSERT_EQ(cell.size(), QSize(cellSize, cellSize));
    EXPECT_EQ(cell, WithDigit(AsCell(PieceOf(0, PieceType::Transport)), 3)) << cellSize;
    // 7 x 9 digits at 12, 16 and 24 pixels; 14 x 18 at 32.
    const QSize digit = cellSize == 32 ? QSize(14, 18) : QSize(7, 9);
    const QImage expectedDigit = pictures.Digit(3).Variant(cellSize == 32 ? 2 : 1, false, false);
    EXPECT_EQ(expectedDigit.size(), digit);
    EXPECT_EQ(cell.copy(QRect(QPoint(cellSize - digit.width(), 0), digit)), expectedDigit) << cellSize;
  }
}

TEST_F(PiecesOnTheMap, HiddenMapDrawsNoCells) {
  game->state.mapHidden = 1;
  const QImage shot = Grab();
  EXPECT_EQ(CellIn(shot, 2, 1).pixel(8, 8), qRgb(0, 0, 0));
  EXPECT_EQ(CellIn(shot, 0, 0).pixel(8, 8), qRgb(0, 0, 0));
}

TEST_F(PiecesOnTheMap, DemonstrationShowsEveryStackWithItsCount) {
  game->state.demoMode = 1;
  AddPiece(*game, PieceType::Transport, 1, 0, 4);
  AddPiece(*game, PieceType::Army, 1, 0, 4);
  AddPiece(*game, PieceType::Army, 1, 0, 4);
  game->world.At(0, 4).visible = game->world.At(0, 4).explored = 2;
  EXPECT_EQ(CellIn(Grab(), 0, 4), WithDigit(AsCell(PieceOf(1, PieceType::Transport)), 2));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }
