// On a screen with two device pixels per logical pixel the map's pixel art is
// doubled pixel for pixel, never smoothed.
#include "ui/map_renderer.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class HighDpiTest : public WindowFixture {};

TEST_F(HighDpiTest, CellsAreDoubledByPixelRepetition) {
  Build({"......", ".++++.", ".++++.", "......"}, 16);
  RevealAll();
  game->state.currentPiece = static_cast<int16_t>(AddPiece(*game, PieceType::Battleship, 0, 0, 3));
  window->View()->RepaintAll();
  window->View()->EraseGotoLine();
  const QPixmap shot = window->View()->grab();
  ASSERT_EQ(shot.devicePixelRatio(), 2.0);
  const QImage device = shot.toImage().convertToFormat(QImage::Format_RGB32);
  const auto deviceCell = [&](int x, int y) { return device.copy(QRect(CellRect(x, y).topLeft() * 2, QSize(32, 32))); };
  EXPECT_EQ(deviceCell(0, 3), pictures.Piece(PictureSet::Large, 0, PieceType::Battleship).Variant(2, false, false));
  EXPECT_EQ(deviceCell(1, 1), pictures.Land(PictureSet::Large, window->View()->Renderer().ChooseLandTile(MapPos{1, 1}))
                                  .Variant(2, false, false));
  EXPECT_EQ(deviceCell(3, 0), pictures.Sea(PictureSet::Large, 0).Variant(2, false, false));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv, 2); }
