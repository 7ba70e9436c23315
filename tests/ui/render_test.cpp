// SPDX-License-Identifier: GPL-3.0-or-later
// What the map shows: coast tiles, fog of war, pieces, counts, mirroring and
// the monochrome display, checked on the grabbed main window.
#include "ui/map_renderer.h"
#include "ui/view_geometry.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class RenderTest : public WindowFixture {
 protected:
  // The expected cell: the picture, with a stack digit in the corner if count > 0.
  QImage WithDigit(QImage cell, int count) const {
    if (count <= 0) return cell;
    const int cs = game->state.tileSize;
    const QImage digit = pictures.Digit(std::min(count, 9)).Variant(cs == 32 ? 2 : 1, false, false);
    BlitImage(cell, digit, cs - digit.width(), cs - digit.height());
    return cell;
  }
  QImage Piece(int owner, int kind, bool mirrored = false, bool inverted = false, int count = 0) const {
    return WithDigit(AsCell(pictures.Piece(Set(), owner, kind), mirrored, inverted), count);
  }
  const char* Tile(int x, int y) {
    return kLandTileSuffixes[window->View()->Renderer().ChooseLandTile(MapPos{uint8_t(x), uint8_t(y)})];
  }
};

TEST_F(RenderTest, DefaultWorldFillsTheSizedClientAreaCellByCell) {
  BuildSea(40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) game->world.At(x, y).tileVariant = static_cast<uint8_t>((x + y) % 8);
  const QImage shot = Grab();
  EXPECT_EQ(window->centralWidget()->size(), QSize(655, 689));
  // All 40 x 40 cells appear, each once in its own place, and reach the scroll bars.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(CellRect(x, y), QRect(16 * ((x + 39) % 40), 34 + 16 * ((y + 39) % 40), 16, 16)) << x << "," << y;
      ASSERT_EQ(CellIn(shot, x, y), AsCell(pictures.Sea(Set(), (x + y) % 8))) << x << "," << y;
    }
}

TEST_F(RenderTest, CoastTileFollowsTheFirstRuleThatHolds) {
  const struct {
    std::vector<std::string> block;
    const char* tile;
  } cases[] = {
      {{"+++", "+++", "+++"}, "22"}, {{"+.+", "+++", "..."}, "44"}, {{".+.", ".++", ".+."}, "33"},
      {{".+.", "++.", ".+."}, "11"}, {{".+.", "+++", "..."}, "00"}, {{"+++", "+++", "++."}, "10"},
      {{"+++", "+++", ".++"}, "03"}, {{"++.", "+++", "+++"}, "14"}, {{".++", "+++", "+++"}, "43"},
      {{"...", ".++", ".++"}, "34"}, {{"...", "++.", "++."}, "41"}, {{"++.", "++.", "..."}, "01"},
      {{".++", ".++", "..."}, "30"}, {{"+..", "+++", "+++"}, "44"},  // sea N and NE: rule 2 before rule 8
      {{"...", ".+.", "..."}, "34"},                                 // a one-cell spit
      {{"*^+", "+++", "+^*"}, "22"},                                 // cities and mountains count as land
  };
  for (const auto& c : cases) {
    BuildWorld(*game, c.block);
    EXPECT_STREQ(Tile(1, 1), c.tile) << c.block[0] << "/" << c.block[1] << "/" << c.block[2];
  }
  // Across the edge: the land cell at x = 0 finds its western sea at x = W - 1.
  Build({"++++.", "++++.", "++++.", "++++.", "++++."});
  RevealAll();
  EXPECT_STREQ(Tile(0, 2), "33");
  EXPECT_STREQ(Tile(3, 2), "11");
  const QImage shot = Grab();
  for (int x : {0, 1, 3}) EXPECT_EQ(CellIn(shot, x, 2), AsCell(pictures.Land(Set(), x == 0 ? 3 : x == 1 ? 2 : 1))) << x;
}

class PiecesOnTheMap : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    Build({"........", ".++++++.", ".++++++.", "........", "........", "........"});
    RevealAll();
    game->world.At(7, 5).explored = game->world.At(7, 5).visible = 0;
    AddCity(*game, 0, 2, 1);
    for (int i = 0; i < 11; ++i) AddPiece(*game, PieceType::Army, 0, 2, 1);
    AddCity(*game, 1, 5, 1);
    AddPiece(*game, PieceType::Army, 1, 4, 2);
    game->world.At(5, 1).visible = game->world.At(4, 2).visible = 0;  // remembered, out of sight
    for (int i = 0; i < 2; ++i) AddPiece(*game, PieceType::Army, 1, 3, 2);
    const int transport = AddPiece(*game, PieceType::Transport, 0, 1, 4);
    for (int i = 0; i < 3; ++i) AddPiece(*game, PieceType::Army, 0, 1, 4);
    game->pieces[AddPiece(*game, PieceType::Fighter, 0, 6, 4)].facing = 1;
    RefreshCell(*game, MapPos{6, 4});
    game->state.currentPiece = static_cast<int16_t>(transport);
  }
};

TEST_F(PiecesOnTheMap, FogRememberedCitiesStacksCountsMirroringAndMonochrome) {
  for (uint8_t mono : {0, 1}) {
    SCOPED_TRACE(mono ? "monochrome" : "colour");
    game->app.monochrome = mono;
    const QImage shot = Grab();
    EXPECT_TRUE(Uniform(CellIn(shot, 7, 5)) && CellIn(shot, 7, 5).pixel(0, 0) == qRgb(0, 0, 0));  // never explored
    // The viewer's city holding eleven pieces shows 9; the digit is never inverted.
    EXPECT_EQ(CellIn(shot, 2, 1), Piece(0, PieceType::City, false, false, 9));
    // An enemy city out of sight stays in its owner's colour, inverted in monochrome.
    EXPECT_EQ(CellIn(shot, 5, 1), Piece(1, PieceType::City, false, mono));
    // An enemy army out of sight is not shown: the terrain is.
    EXPECT_EQ(CellIn(shot, 4, 2),
              AsCell(pictures.Land(Set(), window->View()->Renderer().ChooseLandTile(MapPos{4, 2}))));
    // An enemy stack in sight shows its top piece and no count.
    EXPECT_EQ(CellIn(shot, 3, 2), Piece(1, PieceType::Army, false, mono));
    // The current piece, a transport at sea with three armies aboard, shows 3.
    EXPECT_EQ(CellIn(shot, 1, 4), Piece(0, PieceType::Transport, false, false, 3));
    // A piece that last moved west is drawn mirrored.
    EXPECT_EQ(CellIn(shot, 6, 4), Piece(0, PieceType::Fighter, true));
    EXPECT_NE(CellIn(shot, 6, 4), Piece(0, PieceType::Fighter, false));
    EXPECT_EQ(CellIn(shot, 0, 0), AsCell(pictures.Sea(Set(), 0)));
  }
}

TEST_F(PiecesOnTheMap, CurrentArmyCountsItsFellowsAndNotItself) {
  const int army = AddPiece(*game, PieceType::Army, 0, 4, 1);
  game->state.currentPiece = static_cast<int16_t>(army);
  EXPECT_EQ(CellIn(Grab(), 4, 1), Piece(0, PieceType::Army));
  AddPiece(*game, PieceType::Army, 0, 4, 1);
  AddPiece(*game, PieceType::Army, 0, 4, 1);
  EXPECT_EQ(CellIn(Grab(), 4, 1), Piece(0, PieceType::Army, false, false, 3));
  // The transport, no longer current, still shows its cargo to its owner.
  EXPECT_EQ(CellIn(Grab(), 1, 4), Piece(0, PieceType::Transport, false, false, 3));
}

// An army about to leave its transport stands on the sea, not on a patch of
// land: where the army's picture shows ground, the sea tile shows through.
TEST_F(PiecesOnTheMap, AnArmyAboardAShipIsDrawnOnTheSea) {
  game->settings.kind[0] = PlayerKind::Human;
  game->state.currentPlayer = 0;
  for (int i = 0; i < kPieceSlots; ++i)
    if (game->pieces[i].type == PieceType::Army && game->pieces[i].Pos() == (MapPos{1, 4}))
      game->state.currentPiece = static_cast<int16_t>(i);
  for (int cellSize : {12, 16, 32}) {
    SCOPED_TRACE(cellSize);
    SetCellSize(cellSize);
    window->SizeMainWindowForWorld();
    const QImage cell = CellIn(Grab(), 1, 4), army = Piece(0, PieceType::Army, false, false, 3);
    const QImage sea = AsCell(pictures.Sea(Set(), game->world.At(1, 4).tileVariant & 7));
    int ground = 0, seaShown = 0, body = 0, armyShown = 0;
    for (int y = 0; y < cell.height(); ++y)
      for (int x = 0; x < cell.width(); ++x) {
        const bool isGround = army.pixel(x, y) == qRgb(0, 128, 0) || army.pixel(x, y) == qRgb(128, 128, 0);
        (isGround ? ground : body) += 1;
        if (isGround)
          seaShown += cell.pixel(x, y) == sea.pixel(x, y);
        else
          armyShown += cell.pixel(x, y) == army.pixel(x, y);
      }
    // All but the stack badge's corner: the rest of the ground is sea, the rest of the picture army.
    EXPECT_GE(seaShown, ground * 4 / 5) << "the army is not drawn on the sea: " << seaShown << " of " << ground;
    EXPECT_GE(armyShown, body * 4 / 5) << "the army itself is not drawn: " << armyShown << " of " << body;
  }
}

// Options > Dim remembered cells: off, the map is exactly as before; on, a
// cell explored but out of sight is drawn at half brightness, one in sight as before.
TEST_F(PiecesOnTheMap, DimRememberedCellsTellsSeenNowFromRemembered) {
  ASSERT_FALSE(window->IsChecked(kCmdDimRemembered)) << "the option must be off at first";
  const QImage plain = Grab();
  window->ExecuteCommand(kCmdDimRemembered);
  ASSERT_TRUE(window->IsChecked(kCmdDimRemembered));
  const QImage dimmed = Grab();
  for (const MapPos remembered : {MapPos{5, 1}, MapPos{4, 2}}) {
    const QImage before = CellIn(plain, remembered.x, remembered.y), after = CellIn(dimmed, remembered.x, remembered.y);
    for (int y = 0; y < before.height(); ++y)
      for (int x = 0; x < before.width(); ++x)
        ASSERT_EQ(after.pixel(x, y),
                  qRgb(qRed(before.pixel(x, y)) / 2, qGreen(before.pixel(x, y)) / 2, qBlue(before.pixel(x, y)) / 2))
            << "remembered cell " << int(remembered.x) << "," << int(remembered.y) << " pixel " << x << "," << y;
  }
  for (const MapPos seen : {MapPos{0, 0}, MapPos{3, 2}, MapPos{2, 1}})
    EXPECT_EQ(CellIn(dimmed, seen.x, seen.y), CellIn(plain, seen.x, seen.y)) << "a cell in sight was dimmed";
  EXPECT_EQ(CellIn(dimmed, 7, 5), CellIn(plain, 7, 5)) << "the unexplored cell stays black";
  window->ExecuteCommand(kCmdDimRemembered);
  EXPECT_EQ(Grab(), plain) << "unticked, the map is not back to its standard look";
}

}  // namespace
}  // namespace vortan::test
