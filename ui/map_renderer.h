// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the main window's picture into an off-screen image of the client
// area: cells with fog of war, stack counts and the button strip. The widget
// that shows the image decides when and what part of it reaches the screen.
#pragma once

#include <QImage>
#include <QRect>

#include "model/game.h"
#include "ui/picture_store.h"
#include "ui/view_geometry.h"

namespace vortan {

inline constexpr int kNoOwner = 999;

// Copies a picture into target at (px, py) at the cell size, flipped when
// mirrored, inverted when the display is monochrome and the owner is another
// player. fixed16 copies 1:1 whatever the cell size.
void DrawPicture(QImage& target, const Picture& picture, int px, int py, bool mirrored, int owner, bool fixed16,
                 int cellSize, bool monochrome, int viewer);
// The 16 x 16 picture stretched to 48 x 48 (dialogs).
void DrawLargePicture(QImage& target, const Picture& picture, int px, int py, bool mirrored);
// Plain copy of src into dst at (x, y), clipped to dst. Both Format_RGB32.
void BlitImage(QImage& dst, const QImage& src, int x, int y);

class MapRenderer {
 public:
  MapRenderer(const Game& g, const PictureStore& pictures) : g_(g), pictures_(pictures) {}

  void SetTarget(QImage* target) { target_ = target; }
  QImage* Target() const { return target_; }
  int columns = 28;  // whole cells across the view
  int rows = 28;
  ViewFrame Frame() const;
  int CellSize() const { return g_.state.tileSize; }
  int PictureSetInUse() const { return g_.state.zoomIsWhole ? PictureSet::Large : PictureSet::Small; }

  // Draws the cell at pos as the world now stands; returns the rectangle it
  // may have changed (empty when nothing was drawn).
  QRect DrawCell(MapPos pos, bool fullRepaint);
  // Index into kLandTileSuffixes of the coast tile for a Land cell.
  int ChooseLandTile(MapPos pos) const;
  void DrawStackCount(int count, int px, int py, int cellSize);
  void DrawButtonStrip(int clientWidth);
  QRect DrawButton(int index, bool pressed);
  // The paint handler's drawing for an update rectangle of the client area:
  // recomputes the view size, draws the strip and the cells, black where
  // no cell is drawn.
  void PaintRect(QRect update, QSize client);

  static bool ViewerSeesAll(const Game& g);
  // True when a full repaint draws nothing on the cell and leaves it black:
  // never explored by the viewer, or the viewer's own piece out of sight.
  bool LeftBlackOnFullRepaint(MapPos pos) const;

  // Options > Dim remembered cells: explored cells out of sight are drawn darker.
  bool dimRemembered = false;

 private:
  void Dim(QRect cell);
  // An army aboard a ship: the army on the sea tile, not on its own patch of land.
  void DrawArmyAtSea(MapPos pos, int owner, bool mirrored, int px, int py);
  void DrawTerrain(MapPos pos, int px, int py);
  void DrawPieceKind(int kind, int owner, bool mirrored, int px, int py);
  // The pieces of the type on the cell; PieceType::None: of any type.
  int CountPiecesAt(MapPos pos, int type) const;

  const Game& g_;
  const PictureStore& pictures_;
  QImage* target_ = nullptr;
};

}  // namespace vortan
