// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture_store.h"

#include <QHash>
#include <QPainter>

static void RegisterPictures() {
#ifdef VORTAN_HAVE_PICTURES
  static bool registered = false;
  if (!registered) Q_INIT_RESOURCE(pictures);
  registered = true;
#endif
}

namespace vortan {

namespace {

constexpr QRgb kPlayerColours[6] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),  qRgb(0, 0, 255),
                                    qRgb(255, 255, 0), qRgb(64, 64, 64), qRgb(255, 0, 255)};
constexpr QRgb kNavy = qRgb(0, 0, 128);
constexpr QRgb kGreen = qRgb(0, 128, 0);

// 3 x 5 digit shapes for the stand-in stack digits, one row per 3 bits.
constexpr uint16_t kDigitFont[10] = {0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9, 0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};

void MarkName(QImage& img, const QString& name) {
  // A few pixels spell the name's hash, so that no two stand-ins look alike.
  const uint h = qHash(name);
  for (int i = 0; i < 6 && i < img.width(); ++i)
    img.setPixel(i, img.height() - 1, (h >> i) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
}

void DrawCoast(QImage& img, const QString& digits) {
  const int w = img.width(), h = img.height(), band = w / 4;
  QPainter p(&img);
  auto side = [&](QChar d) {
    switch (d.unicode()) {
      case '0':
        p.fillRect(0, h - band, w, band, QColor(kNavy));
        break;
      case '1':
        p.fillRect(w - band, 0, band, h, QColor(kNavy));
        break;
      case '3':
        p.fillRect(0, 0, band, h, QColor(kNavy));
        break;
      case '4':
        p.fillRect(0, 0, w, band, QColor(kNavy));
        break;
      default:
        break;
    }
  };
  static const QStringList kBays = {"10", "03", "14", "43"};
  if (kBays.contains(digits)) {
    const bool right = digits.contains('1'), bottom = digits.contains('0');
    p.fillRect(right ? w - band : 0, bottom ? h - band : 0, band, band, QColor(kNavy));
  } else {
    side(digits[0]);
    side(digits[1]);
  }
}

QImage StandInStrip(bool pressed) {
  QImage img(474, 34, QImage::Format_RGB32);
  img.fill(qRgb(192, 192, 192));
  QPainter p(&img);
  static const char* kLabels[14] = {"N", "O", "Sv", "S", "L", "F", "R", "D", "E", "Su", "75", "100", "150", "200"};
  for (int i = 0; i < 14; ++i) {
    const int x = 31 * i + 1 + (i > 2 ? 13 : 0) + (i > 7 ? 13 : 0) + (i > 9 ? 13 : 0);
    const QRect r(x, 1, 30, 32);
    p.setPen(pressed ? Qt::darkGray : Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pressed ? Qt::white : Qt::darkGray);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    p.drawText(r.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter, kLabels[i]);
  }
  return img;
}

QImage StandIn(const QString& name, int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  const QString base = name.mid(4);
  if (name.startsWith("BMP_BUTTONS")) return StandInStrip(name.endsWith("_DOWN"));
  if (base.size() == 1 && base[0].isDigit()) {
    img.fill(qRgb(0, 0, 0));
    const uint16_t bits = kDigitFont[base[0].digitValue()];
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (bits & (1u << (14 - (row * 3 + col)))) img.setPixel(1 + col, 1 + row, qRgb(255, 255, 255));
    return img;
  }
  QRgb fill = qRgb(128, 128, 128);
  for (int c = 0; c < 6; ++c)
    if (base.startsWith(QString("RED GREEN BLUE YELLOW BLACK PURPLE").split(' ')[c] + "_")) fill = kPlayerColours[c];
  if (base.startsWith("SEA")) fill = kNavy;
  if (base.startsWith("LAND")) fill = kGreen;
  if (base == "CITY") fill = qRgb(192, 192, 192);
  if (base == "BLANK_BLACK") fill = qRgb(0, 0, 0);
  if (base == "BLANK_WHITE") fill = qRgb(255, 255, 255);
  img.fill(fill);
  if (base == "BLANK_BLACK" || base == "BLANK_WHITE") return img;
  if (base.startsWith("LAND")) DrawCoast(img, base.mid(4));
  if (fill != kNavy && fill != kGreen && !base.startsWith("MOUNTAIN") && base != "CITY") {
    // A piece: a dark nose on its eastern side so a mirrored piece shows it.
    for (int y = height / 3; y < height - height / 3; ++y) img.setPixel(width - 2, y, qRgb(0, 0, 0));
  }
  MarkName(img, name);
  return img;
}

}  // namespace

const QImage& Picture::Variant(int scale, bool mirrored, bool inverted) const {
  QImage& v = variants_[static_cast<size_t>((scale - 1) * 4 + (mirrored ? 2 : 0) + (inverted ? 1 : 0))];
  if (v.isNull() && !image_.isNull()) {
    QImage img =
        scale == 1 ? image_ : image_.scaled(image_.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (mirrored) img = img.mirrored(true, false);
    if (inverted) img.invertPixels();
    v = img.convertToFormat(QImage::Format_RGB32);
  }
  return v;
}

QString PictureStore::PieceName(int set, int colour, int kind) {
  static const char* kColours[6] = {"RED", "GREEN", "BLUE", "YELLOW", "BLACK", "PURPLE"};
  return Prefix(set) + kColours[colour] + "_" + kPieceKindNames[kind];
}

QString PictureStore::LandName(int set, int tile) { return Prefix(set) + "LAND" + kLandTileSuffixes[tile]; }

Picture PictureStore::Load(const QString& name, int width, int height) {
  QImage img(":/pictures/" + name + ".png");
  if (img.isNull()) return Picture(StandIn(name, width, height), false);
  if (img.width() != width || img.height() != height)
    img = img.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return Picture(img.convertToFormat(QImage::Format_RGB32), true);
}

void RegisterPictureResources() { ::RegisterPictures(); }

void PictureStore::LoadBitmaps() {
  RegisterPictureResources();
  for (int set = 0; set < 2; ++set) {
    const int side = set == PictureSet::Small ? 12 : 16;
    const QString pre = Prefix(set);
    for (int v = 0; v < 8; ++v) sea_[set][v] = Load(pre + "SEA_" + QString::number(v), side, side);
    mountain_[set] = Load(pre + "MOUNTAIN", side, side);
    neutralCity_[set] = Load(pre + "CITY", side, side);
    blankBlack_[set] = Load(pre + "BLANK_BLACK", side, side);
    blankWhite_[set] = Load(pre + "BLANK_WHITE", side, side);
    for (int t = 0; t < kLandTileCount; ++t) land_[set][t] = Load(LandName(set, t), side, side);
    for (int kind = 0; kind < 10; ++kind)
      for (int colour = 0; colour < 6; ++colour)
        pieces_[set][colour][kind] = Load(PieceName(set, colour, kind), side, side);
  }
  for (int n = 1; n <= 9; ++n) digits_[n] = Load("BMP_" + QString::number(n), kDigitWidth, kDigitHeight);
  strip_ = Load("BMP_BUTTONS", 474, 34);
  stripDown_ = Load("BMP_BUTTONS_DOWN", 474, 34);
}

}  // namespace vortan
