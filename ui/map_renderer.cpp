// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/map_renderer.h"

#include <array>
#include <cstring>

namespace vortan {

namespace {
// Rows of a known width are copied with a few register moves; the cells'
// pictures are 12, 16, 24 or 32 pixels wide.
template <size_t kBytes>
void CopyRows(uchar* to, const uchar* from, int rows, qsizetype toStride, qsizetype fromStride) {
  for (int row = 0; row < rows; ++row, to += toStride, from += fromStride) std::memcpy(to, from, kBytes);
}
}  // namespace

void BlitImage(QImage& dst, const QImage& src, int x, int y) {
  const QRect r = QRect(x, y, src.width(), src.height()) & dst.rect();
  if (r.isEmpty()) return;
  const int sx = r.x() - x, sy = r.y() - y;
  const size_t bytes = static_cast<size_t>(r.width()) * 4;
  // The rows are found from each image's start and stride, fetched once:
  // asking for every row checks each time whether the image must be copied.
  const qsizetype dstStride = dst.bytesPerLine(), srcStride = src.bytesPerLine();
  uchar* to = dst.bits() + r.y() * dstStride + static_cast<qsizetype>(r.x()) * 4;
  const uchar* from = src.constBits() + sy * srcStride + static_cast<qsizetype>(sx) * 4;
  switch (bytes) {
    case 48:
      return CopyRows<48>(to, from, r.height(), dstStride, srcStride);
    case 64:
      return CopyRows<64>(to, from, r.height(), dstStride, srcStride);
    case 96:
      return CopyRows<96>(to, from, r.height(), dstStride, srcStride);
    case 128:
      return CopyRows<128>(to, from, r.height(), dstStride, srcStride);
    default:
      for (int row = 0; row < r.height(); ++row, to += dstStride, from += srcStride) std::memcpy(to, from, bytes);
  }
}

void DrawPicture(QImage& target, const Picture& picture, int px, int py, bool mirrored, int owner, bool fixed16,
                 int cellSize, bool monochrome, int viewer) {
  const bool inverted = monochrome && owner != kNoOwner && owner != viewer;
  const int scale = !fixed16 && cellSize >= 24 ? 2 : 1;
  BlitImage(target, picture.Variant(scale, mirrored, inverted), px, py);
}

void DrawLargePicture(QImage& target, const Picture& picture, int px, int py, bool mirrored) {
  BlitImage(target, picture.Variant(3, mirrored, false), px, py);
}

bool MapRenderer::ViewerSeesAll(const Game& g) {
  const int viewer = g.state.viewingPlayer;
  return g.state.demoMode == 1 || (viewer >= 0 && viewer < kPlayerCount && g.state.eliminated[viewer] != 0);
}

ViewFrame MapRenderer::Frame() const {
  return ViewFrame{g_.Width(), g_.Height(), CellSize(), columns, rows, g_.state.viewX, g_.state.viewY};
}

namespace {

// Which neighbours of a land cell are land too, one bit each.
enum Neighbour : unsigned { kN = 1, kS = 2, kE = 4, kW = 8, kNE = 16, kNW = 32, kSE = 64, kSW = 128 };

// The coast tile for one set of land neighbours: index into kLandTileSuffixes, rule by rule.
constexpr int LandTileFor(unsigned land) {
  const bool n = land & kN, s_ = land & kS, e = land & kE, w = land & kW;
  const bool ne = land & kNE, nw = land & kNW, se = land & kSE, sw = land & kSW;
  struct Rule {
    bool holds;
    int tile;
  };
  const Rule rules[] = {
      {n && s_ && e && w && ne && nw && se && sw, 2},  // 22 inland
      {!n && w && e, 4},                               // 44 coast at the top
      {!w && n && s_, 3},                              // 33 coast at the left
      {!e && n && s_, 1},                              // 11 coast at the right
      {!s_ && w && e, 0},                              // 00 coast at the bottom
      {!se && e && s_, 6},                             // 10 small bay bottom right
      {!sw && w && s_, 7},                             // 03 small bay bottom left
      {!ne && n && e, 9},                              // 14 small bay top right
      {!nw && w && n, 12},                             // 43 small bay top left
      {!w && !n, 11},                                  // 34 top-left corner
      {!n && !e, 10},                                  // 41 top-right corner
      {!e && !s_, 5},                                  // 01 bottom-right corner
      {!w && !s_, 8},                                  // 30 bottom-left corner
  };
  for (const Rule& r : rules)
    if (r.holds) return r.tile;
  return 2;
}

// The rules worked out once for all 256 sets of neighbours.
constexpr std::array<uint8_t, 256> kLandTiles = [] {
  std::array<uint8_t, 256> tiles{};
  for (unsigned land = 0; land < 256; ++land) tiles[land] = static_cast<uint8_t>(LandTileFor(land));
  return tiles;
}();

}  // namespace

int MapRenderer::ChooseLandTile(MapPos pos) const {
  const GameSettings& s = g_.settings;
  const int west = WrapX(s, pos.x - 1), east = WrapX(s, pos.x + 1);
  const int north = WrapY(s, pos.y - 1), south = WrapY(s, pos.y + 1);
  auto land = [&](int x, int y, unsigned bit) { return g_.world.At(x, y).terrain != Terrain::Sea ? bit : 0u; };
  const unsigned neighbours = land(pos.x, north, kN) | land(pos.x, south, kS) | land(east, pos.y, kE) |
                              land(west, pos.y, kW) | land(east, north, kNE) | land(west, north, kNW) |
                              land(east, south, kSE) | land(west, south, kSW);
  return kLandTiles[neighbours];
}

void MapRenderer::DrawTerrain(MapPos pos, int px, int py) {
  const MapCell& c = g_.world.At(pos);
  const int set = PictureSetInUse();
  const Picture* p = nullptr;
  switch (c.terrain) {
    case Terrain::Sea:
      p = &pictures_.Sea(set, c.tileVariant & 7);
      break;
    case Terrain::Land:
      p = &pictures_.Land(set, ChooseLandTile(pos));
      break;
    case Terrain::City:
      p = &pictures_.NeutralCity(set);
      break;
    case Terrain::Mountain:
      p = &pictures_.Mountain(set);
      break;
    default:
      break;
  }
  if (!p || p->IsNull()) {
    g_.ui().ShowMessageBox("Warning!", "Asked to draw illegal piece", MsgIcon::Stop, MsgButtons::Ok);
    return;
  }
  DrawPicture(*target_, *p, px, py, false, kNoOwner, false, CellSize(), g_.app.monochrome, g_.state.viewingPlayer);
}

void MapRenderer::DrawPieceKind(int kind, int owner, bool mirrored, int px, int py) {
  if (kind < 0 || kind >= kTypeCount || owner < 0 || owner >= kPlayerCount ||
      pictures_.Piece(PictureSetInUse(), owner, kind).IsNull()) {
    g_.ui().ShowMessageBox("Warning!", "Asked to draw illegal piece", MsgIcon::Stop, MsgButtons::Ok);
    return;
  }
  DrawPicture(*target_, pictures_.Piece(PictureSetInUse(), owner, kind), px, py, mirrored, owner, false, CellSize(),
              g_.app.monochrome, g_.state.viewingPlayer);
}

void MapRenderer::Dim(QRect cell) {
  if (!dimRemembered) return;
  // Halving every channel keeps each picture's look and makes the cell read
  // as "remembered" at any zoom.
  const QRect r = cell.intersected(target_->rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(target_->scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) line[x] = (line[x] >> 1) & 0xFF7F7F7F;
  }
}

void MapRenderer::DrawArmyAtSea(MapPos pos, int owner, bool mirrored, int px, int py) {
  const int cs = CellSize();
  if (!pictures_.Piece(PictureSetInUse(), owner, PieceType::Army).Loaded()) {
    DrawPieceKind(PieceType::Army, owner, mirrored, px, py);
    return;
  }
  // The army's own picture, and RED's in plain colours: where RED's shows the
  // green or olive of the ground, the army's picture is ground, not army.
  QImage army(cs, cs, QImage::Format_RGB32), plain(cs, cs, QImage::Format_RGB32);
  DrawPicture(army, pictures_.Piece(PictureSetInUse(), owner, PieceType::Army), 0, 0, mirrored, owner, false, cs,
              g_.app.monochrome, g_.state.viewingPlayer);
  DrawPicture(plain, pictures_.Piece(PictureSetInUse(), 0, PieceType::Army), 0, 0, mirrored, kNoOwner, false, cs, false,
              g_.state.viewingPlayer);
  DrawTerrain(pos, px, py);
  for (int y = 0; y < cs; ++y)
    for (int x = 0; x < cs; ++x) {
      const QRgb ground = plain.pixel(x, y);
      if (ground == qRgb(0, 128, 0) || ground == qRgb(128, 128, 0)) continue;
      if (target_->rect().contains(px + x, py + y)) target_->setPixel(px + x, py + y, army.pixel(x, y));
    }
}

void MapRenderer::DrawStackCount(int count, int px, int py, int cellSize) {
  if (count <= 0) return;
  if (count > 9) count = 9;
  // A small badge in the bottom-right corner: the piece and a city's flag stay in sight.
  const QImage& digit = pictures_.Digit(count).Variant(cellSize == 32 ? 2 : 1, false, false);
  BlitImage(*target_, digit, px + cellSize - digit.width(), py + cellSize - digit.height());
}

bool MapRenderer::LeftBlackOnFullRepaint(MapPos pos) const {
  if (!ViewerKnowsCell(g_, pos)) return true;
  const MapCell& c = g_.world.At(pos);
  const int viewer = g_.state.viewingPlayer;
  if (c.topType == PieceType::None) return false;
  if (c.topType == PieceType::City && c.topOwner != viewer && !ViewerSeesAll(g_)) return false;
  return c.topOwner == viewer && !ViewerSeesCell(g_, pos);
}

// Only the tops that carry a count look at the pieces under them: the scan
// goes through every piece slot.
int MapRenderer::CountPiecesAt(MapPos pos, int type) const {
  int count = 0;
  for (const PieceRecord& r : g_.pieces.slots)
    if (r.x == pos.x && r.y == pos.y && r.type < PieceType::None && (type == PieceType::None || r.type == type))
      ++count;
  return count;
}

QRect MapRenderer::DrawCell(MapPos pos, bool fullRepaint) {
  if (pos.x >= g_.Width() || pos.y >= g_.Height()) {
    g_.ui().ShowMessageBox("Oops!", "Draw piece out of range", MsgIcon::Stop, MsgButtons::Ok);
    return {};
  }
  const ViewFrame v = Frame();
  const int px = ScreenX(v, pos.x), py = ScreenY(v, pos.y), cs = v.cellSize;
  const QRect rect(px, py, cs, cs);
  const MapCell& c = g_.world.At(pos);
  const int viewer = g_.state.viewingPlayer;
  const bool seesAll = ViewerSeesAll(g_);

  if (fullRepaint && LeftBlackOnFullRepaint(pos)) return {};
  if (!ViewerKnowsCell(g_, pos)) {
    DrawPicture(*target_, pictures_.BlankBlack(PictureSetInUse()), px, py, false, kNoOwner, false, cs,
                g_.app.monochrome, viewer);
    return rect;
  }
  const bool inSight = ViewerSeesCell(g_, pos);
  const bool remembered = !inSight && !seesAll;
  if (c.topType == PieceType::City && c.topOwner != viewer && !seesAll) {
    DrawPieceKind(PieceType::City, c.topOwner, c.topFacing, px, py);
    if (remembered) Dim(rect);
    return rect;
  }
  if (c.topType == PieceType::None) {
    DrawTerrain(pos, px, py);
    if (remembered) Dim(rect);
    return rect;
  }
  if (!inSight) {
    DrawTerrain(pos, px, py);
    if (remembered) Dim(rect);
    return rect;
  }
  if (c.topOwner != viewer && !seesAll) {
    DrawPieceKind(c.topType, c.topOwner, c.topFacing, px, py);
    return rect;
  }

  const int cp = g_.state.currentPiece, player = g_.state.currentPlayer;
  const PieceRecord* current = cp >= 0 && cp < kPieceSlots ? &g_.pieces[cp] : nullptr;
  if (current && current->x == pos.x && current->y == pos.y && current->type != PieceType::None &&
      current->type != PieceType::City && current->owner == player && c.topOwner == player &&
      IsHumanPlayer(g_, player)) {
    if (current->type == PieceType::Army && c.terrain == Terrain::Sea)
      DrawArmyAtSea(pos, player, current->facing, px, py);
    else
      DrawPieceKind(current->type, player, current->facing, px, py);
    int count = 0;
    if (current->type == PieceType::Transport && c.terrain == Terrain::Sea) count = CountPiecesAt(pos, PieceType::Army);
    if (current->type == PieceType::Army) {
      const int armies = CountPiecesAt(pos, PieceType::Army);
      if (armies > 1) count = armies;
    }
    if (current->type == PieceType::Carrier && c.terrain == Terrain::Sea)
      count = CountPiecesAt(pos, PieceType::Fighter);
    DrawStackCount(count, px, py, cs);
    return rect;
  }
  DrawPieceKind(c.topType, c.topOwner, c.topFacing, px, py);
  if (c.topOwner == viewer || seesAll) {
    int count = 0;
    if (c.topType == PieceType::City) count = CountPiecesAt(pos, PieceType::None) - 1;
    if (c.topType == PieceType::Transport) count = CountPiecesAt(pos, PieceType::Army);
    if (c.topType == PieceType::Carrier) count = CountPiecesAt(pos, PieceType::Fighter);
    DrawStackCount(count, px, py, cs);
  }
  return rect;
}

void MapRenderer::DrawButtonStrip(int clientWidth) {
  QImage& t = *target_;
  const QRect strip = QRect(0, 0, clientWidth, kStripHeight) & t.rect();
  for (int y = strip.top(); y <= strip.bottom(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(t.scanLine(y));
    std::fill(line + strip.left(), line + strip.left() + strip.width(),
              y == 0 ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
  }
  BlitImage(t, pictures_.Strip(false).Original(), 0, 0);
  const int zoomButton = ZoomButtonForCellSize(CellSize());
  if (zoomButton >= 0) DrawButton(zoomButton, true);
}

QRect MapRenderer::DrawButton(int index, bool pressed) {
  const int x = ButtonLeft(index);
  const QImage part = pictures_.Strip(pressed).Original().copy(x, 0, kButtonWidth, kButtonHeight);
  BlitImage(*target_, part, x, 0);
  return QRect(x, 0, kButtonWidth, kButtonHeight);
}

static void FillBlack(QImage& t, QRect r) {
  r &= t.rect();
  if (r.isEmpty()) return;
  const qsizetype stride = t.bytesPerLine();
  uchar* line = t.bits() + r.top() * stride + static_cast<qsizetype>(r.left()) * 4;
  for (int y = 0; y < r.height(); ++y, line += stride) {
    QRgb* px = reinterpret_cast<QRgb*>(line);
    std::fill(px, px + r.width(), qRgb(0, 0, 0));
  }
}

void MapRenderer::PaintRect(QRect update, QSize client) {
  const int cs = CellSize();
  columns = ViewColumns(client.width(), cs);
  rows = ViewRows(client.height(), cs);
  int left = update.left(), top = update.top();
  int right = std::min(update.x() + update.width(), client.width() - 15);
  int bottom = std::min(update.y() + update.height(), client.height() - 15);
  if (right <= left || bottom <= top) return;
  QImage& t = *target_;
  if (top < kStripHeight) {
    DrawButtonStrip(client.width());  // covers its rows of the update
    top = kStripHeight;
  }
  if (bottom <= top) return;
  const QRect area(left, top, right - left, bottom - top);
  const int W = g_.Width(), H = g_.Height();
  if (g_.state.mapHidden == 1 || W <= 0 || H <= 0) {
    FillBlack(t, area);
    return;
  }
  // Black goes only where no cell will be drawn: past the world's last
  // column and row (a window larger than the world), and under the cells a
  // full repaint leaves empty. All of it before any cell, whose picture may
  // reach over its neighbours at some zooms.
  const int worldRight = W * cs, worldBottom = kStripHeight + H * cs;
  FillBlack(t, area & QRect(worldRight, top, std::max(0, right - worldRight), bottom - top));
  FillBlack(t, area & QRect(left, worldBottom, right - left, std::max(0, bottom - worldBottom)));
  const int firstRow = (top - kStripHeight) / cs, lastRow = (bottom - 35) / cs;
  const int firstColumn = left / cs, lastColumn = (right - 1) / cs;
  auto cellAt = [&](int column, int row) {
    return MapPos{static_cast<uint8_t>(Wrap(g_.state.viewX + column - columns / 2 + W, W)),
                  static_cast<uint8_t>(Wrap(g_.state.viewY + row - rows / 2 + H, H))};
  };
  for (int row = firstRow; row <= std::min(lastRow, H - 1); ++row)
    for (int column = firstColumn; column <= std::min(lastColumn, W - 1); ++column)
      if (LeftBlackOnFullRepaint(cellAt(column, row)))
        FillBlack(t, area & QRect(column * cs, kStripHeight + row * cs, cs, cs));
  for (int row = firstRow; row <= lastRow; ++row)
    for (int column = firstColumn; column <= lastColumn; ++column) DrawCell(cellAt(column, row), true);
}

}  // namespace vortan
