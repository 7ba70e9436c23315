// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's client area: the button strip, the map view and the
// scroll bars with the size grip. Everything is drawn into an off-screen image
// of the client area; painting only copies the exposed part of it to the
// screen, so single cells, the inverted go-to line and the explosion discs can
// be drawn between paints.
//
// The game asks for cells to be drawn many times a step; those requests only
// flag the cell, and each flagged cell is drawn once, as the world then
// stands, when the event loop next gets its turn. Explosions play their discs
// 30 ms apart from a timer while the event loop runs on; the sounds asked for
// meanwhile wait their turn behind them, and the window holds the game until
// the last disc has gone.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTimer>
#include <QWidget>
#include <array>
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
  // Draws the cells asked for since the last time, each once (nothing while
  // an explosion plays: its discs stay until it is over).
  void ComposeDirtyCells();
  bool CellsPending() const { return dirtyCount_ > 0; }
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

  // Queues the explosion; the first disc (and its sound) shows at once when
  // nothing else is playing.
  void ShowExplosion(MapPos pos, Rgb colour, int radius);
  void ClearDiscBeyondWorld(MapPos pos, int radius);
  // A sound effect of the game, its draw already made: played now, or after
  // the explosions queued before it.
  void PlaySoundInTurn(int effect, uint8_t soundMode, int draw);
  // What plays a sound (the shell's sound player).
  std::function<void(int effect, uint8_t soundMode, int draw)> soundOutput;
  // True from an explosion's first disc until the last queued effect is over.
  bool EffectsPlaying() const { return effectsPlaying_; }
  // A new game in the window: what is still queued of the old one is dropped.
  void DropEffects();
  // Called after each disc of an explosion is drawn (tests look at the frames).
  std::function<void(int radius, QPoint centre)> explosionObserver;
  // Time the explosions have held the game so far (benchmarks subtract it
  // from a game's wall time).
  qint64 ExplosionWaitNanoseconds() const { return explosionWaitNs_; }

 Q_SIGNALS:
  void commandPosted(int id);    // strip buttons; delivered after the event returns
  void characterTyped(QChar c);  // order keys from the keyboard and the strip
  void effectsPlayed();          // the last queued effect is over: the game may go on

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
  void ForgetDirtyCells();
  void UpdateMap(QRect r);
  struct Effect;
  void PlayNextEffect();
  bool StartExplosion(const Effect& e);
  bool DrawNextDisc();
  void FinishExplosion(const Effect& e);
  void EffectTick();
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
  // The cells asked for and not drawn yet, one bit per cell of each row of
  // the world grid. They are drawn, row by row of the screen, once the game
  // hands control back, and sent to Qt as few rectangles a row: a game step
  // asks for many cells, often the same ones, and Qt's dirty region grows a
  // rectangle at a time.
  using RowBits = std::array<uint64_t, (kGridSide + 63) / 64>;
  std::array<RowBits, kGridSide> dirtyRows_{};
  int dirtyCount_ = 0;
  void ComposeRow(int y, int firstX, QRect& run);
  bool composePosted_ = false;

  // Queued explosions and the sounds behind them, played in order.
  struct Effect {
    bool sound;
    MapPos pos;
    Rgb colour;
    int radius;  // an explosion's
    int effect;  // a sound's, with its mode and draw
    uint8_t soundMode;
    int draw;
  };
  std::vector<Effect> effects_;  // effects_[nextEffect_ - 1] plays
  size_t nextEffect_ = 0;
  bool effectsPlaying_ = false;
  bool startingEffect_ = false;  // its own sound plays at once
  QTimer frameTimer_;
  QPoint discCentre_;
  int discRadius_ = 0, discEnd_ = 0, discStep_ = 1;
  QElapsedTimer heldFor_;
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
