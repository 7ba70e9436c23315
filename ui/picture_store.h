// SPDX-License-Identifier: GPL-3.0-or-later
// Every map picture the program draws, loaded once at start-up. Each picture
// keeps its original pixels plus the stretched, mirrored and inverted copies
// made the first time they are asked for, so drawing a cell is one plain copy.
#pragma once

#include <QImage>
#include <QString>
#include <array>

namespace vortan {

inline constexpr int kDigitWidth = 5, kDigitHeight = 7;

namespace PictureSet {
enum : int { Small = 0, Large = 1 };  // "BMO_" 12 x 12, "BMP_" 16 x 16
}

inline constexpr int kLandTileCount = 13;
// The coast tiles in their stored order; the digits name the sea sides.
inline constexpr const char* kLandTileSuffixes[kLandTileCount] = {"00", "11", "22", "33", "44", "01", "10",
                                                                  "03", "30", "14", "41", "34", "43"};
inline constexpr const char* kPieceKindNames[10] = {"CITY",       "TANK",    "DESTROYER", "FIGHTER",   "BOMBER",
                                                    "BATTLESHIP", "CARRIER", "SUBMARINE", "TRANSPORT", "PARA"};

// Makes the pictures, cursors and icon compiled into the program readable
// under ":/"; called before any of them is loaded (repeating it is harmless).
void RegisterPictureResources();

class Picture {
 public:
  Picture() = default;
  Picture(QImage image, bool loaded) : image_(std::move(image)), loaded_(loaded) {}
  const QImage& Original() const { return image_; }
  bool Loaded() const { return loaded_; }
  bool IsNull() const { return image_.isNull(); }
  // The picture magnified by scale (1, 2 or 3), flipped left to right and/or
  // with every colour inverted. Always Format_RGB32.
  const QImage& Variant(int scale, bool mirrored, bool inverted) const;

 private:
  QImage image_;
  bool loaded_ = false;
  mutable std::array<QImage, 12> variants_;
};

class PictureStore {
 public:
  // Loads every picture from the resources; a picture that is missing becomes
  // a plain square of a colour that hints at its meaning.
  void LoadBitmaps();

  const Picture& Sea(int set, int variant) const { return sea_[set][variant & 7]; }
  const Picture& Mountain(int set) const { return mountain_[set]; }
  const Picture& NeutralCity(int set) const { return neutralCity_[set]; }
  const Picture& Land(int set, int tile) const { return land_[set][tile]; }
  const Picture& BlankBlack(int set) const { return blankBlack_[set]; }
  const Picture& BlankWhite(int set) const { return blankWhite_[set]; }
  const Picture& Piece(int set, int colour, int kind) const { return pieces_[set][colour][kind]; }
  // A stack count: a 5 x 7 badge for a cell's bottom-right corner.
  const Picture& Digit(int n) const { return digits_[n]; }
  const Picture& Strip(bool pressed) const { return pressed ? stripDown_ : strip_; }

  // The resource name of a picture, e.g. "BMP_RED_TANK" or "BMO_LAND14".
  static QString PieceName(int set, int colour, int kind);
  static QString LandName(int set, int tile);
  static QString Prefix(int set) { return set == PictureSet::Small ? "BMO_" : "BMP_"; }
  // Loads one picture by name at the given size, or makes its stand-in.
  static Picture Load(const QString& name, int width, int height);

 private:
  std::array<std::array<Picture, 8>, 2> sea_;
  std::array<Picture, 2> mountain_, neutralCity_, blankBlack_, blankWhite_;
  std::array<std::array<Picture, kLandTileCount>, 2> land_;
  std::array<std::array<std::array<Picture, 10>, 6>, 2> pieces_;
  std::array<Picture, 10> digits_;
  Picture strip_, stripDown_;
};

}  // namespace vortan
