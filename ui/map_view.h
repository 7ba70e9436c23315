// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's client area: the button strip, the map view and the
// scroll bars with the size grip. Everything is drawn into an off-screen image
// of the client area; painting only copies the exposed part of it to the
// screen, so single cells, the inverted go-to line and the explosion discs can
// be drawn between paints.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "model/game.h"
#include "ui/cursor_store.h"
#include "ui/map_renderer.h"
#include "ui/picture_store.h"

namespace vortan {

class MapView : public QWidget {
  Q_OBJECT
 public:
  MapView(Game& g, const PictureStore& pictures, const CursorStore& cursors, QWidget* parent = nullptr);

  MapRenderer& Renderer() { return renderer_; }
  const QImage& Screen() const { return screen_; }
  QScrollBar* HorizontalBar() const { return hbar_; }
  QScrollBar* VerticalBar() const { return vbar_; }
  QSizeGrip* Grip() const { return grip_; }

  // Drawing requests from the game and the commands.
  void DrawCell(MapPos pos, bool fullRepaint);
  void RepaintAll();  // the whole client area, at once
  void PaintMapBlack();
  void SetScrollBarsForViewer();
  void KeepPieceInView();
  void DrawButton(int index, bool pressed);
  // Moves the view centre by whole cells, shifting the picture and drawing
  // only the uncovered band.
  void ScrollCells(int dx, int dy);

  void DrawGotoLine(QPoint pointer);
  void EraseGotoLine();
  bool GotoLineDrawn() const { return lineDrawn_; }
  void SetMapCursor(QPoint pointer);
  // The shape SetMapCursor chose last: distance 0..19, 20 for the hourglass.
  int CursorShape() const { return cursorShape_; }
  // Where the pointer was last seen over the view, from its mouse events:
  // asking the window system instead is a round trip to the display server.
  QPoint Pointer() const { return pointer_; }
  // Redraws the go-to line and the pointer shape for where the pointer is.
  void TrackPointer();
  // The refusal pointer for a moment: an order could not be carried out.
  void ShowRefusal();
  // A thin frame blinks round the piece waiting for a human's order, while
  // the window can be seen; otherwise no timer runs.
  void UpdateBlink();
  bool Blinking() const { return blink_.isActive(); }

  void ShowExplosion(MapPos pos, Rgb colour, int radius);
  void ClearDiscBeyondWorld(MapPos pos, int radius);
  // Called after each disc of an explosion is drawn (tests look at the frames).
  std::function<void(int radius, QPoint centre)> explosionObserver;
  // Time spent so far waiting out the explosions' 30 ms frames (benchmarks
  // subtract it from a game's wall time).
  qint64 ExplosionWaitNanoseconds() const { return explosionWaitNs_; }

 Q_SIGNALS:
  void commandPosted(int id);    // strip buttons; delivered after the event returns
  void characterTyped(QChar c);  // order keys from the keyboard and the strip

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void OnScrollAction(Qt::Orientation o, int action);
  void MarkCellDirty(QRect cell);
  void LayOutDirtyCells(int cellSize);
  void UpdateDirtyCells();
  void InvertLine(QPoint a, QPoint b);
  void PaintRectNow(QRect r);
  void SetCursorShape(int id);
  void StripPointerMoved(QPoint p);
  void MapPointerMoved(QPoint p);
  void LeftClickOnMap(QPoint p);
  void RightClick(QPoint p, bool shift);

  Game& g_;
  const PictureStore& pictures_;
  const CursorStore& cursors_;
  MapRenderer renderer_;
  QImage screen_;
  QScrollBar* hbar_;
  QScrollBar* vbar_;
  QSizeGrip* grip_;

  bool lineDrawn_ = false;
  QPoint lineA_, lineB_;
  int pressedButton_ = -1;
  bool buttonHeld_ = false;
  bool pointerInside_ = false;
  int cursorShape_ = -2;  // distance 0..19, 20 wait; -2 unknown
  QPoint pointer_{-1, -1};
  // The cells drawn since the last update request, one flag per cell of the
  // view (row by row), sent to Qt as one update per run of cells in a row
  // once the game hands control back: a game step draws many cells, and an
  // update of each would grow Qt's dirty region a rectangle at a time.
  std::vector<uint8_t> dirtyCells_;
  int dirtyColumns_ = 0, dirtyRows_ = 0, dirtyCellSize_ = 0;
  bool dirtyUpdatePosted_ = false;
  qint64 explosionWaitNs_ = 0;
  int wheelAngle_ = 0;  // eighths of a degree not yet turned into a notch
  QTimer blink_;
  bool frameShown_ = false;
  MapPos framedCell_{};
  int framedPiece_ = -1;
  int blinksLeft_ = 0;
  void BlinkTick();
  void EraseFrame();
  void InvertFrame();
  bool HumanPieceWaits() const;
};

}  // namespace vortan
