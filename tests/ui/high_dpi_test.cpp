// On a screen with two device pixels per logical pixel the map's pixel art is
// doubled pixel for pixel, never smoothed.
#include "window_fixture.h"

#include "ui/map_renderer.h"

namespace vortan::test {
namespace {

class HighDpiTest : public WindowFixture {};

TEST_F(HighDpiTest, CellsAreDoubledByPixelRepetition) {
  Build({"......", ".++++.", ".++++.", "......"}, 16);
  RevealAll();
  const int ship = AddPiece(*game, PieceType::Battleship, 0, 0, 3);
  game->state.currentPiece = static_cast<int16_t>(ship);
  window->View()->RepaintAll();
  window->View()->EraseGotoLine();
  const QPixmap shot = window->View()->grab();
  ASSERT_EQ(shot.devicePixelRatio(), 2.0);
  const QImage device = shot.toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(device.size(), window->View()->size() * 2);
  const auto deviceCell = [&](int x, int y) {
    const QRect r = CellRect(x, y);
    return device.copy(QRect(r.topLeft() * 2, r.size() * 2));
  };
  EXPECT_EQ(deviceCell(0, 3), pictures.Piece(PictureSet::Large, 0, PieceType::Battleship).Variant(2, false, false));
  EXPECT_EQ(deviceCell(1, 1), pictures.Land(PictureSet::Large, window->View()->Renderer().ChooseLandTile(MapPos{1, 1}))
                                  .Variant(2, false, false));
  EXPECT_EQ(deviceCell(3, 0), pictures.Sea(PictureSet::Large, 0).Variant(2, false, false));
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv, 2); }
