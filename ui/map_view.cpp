// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/map_view.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <bit>
#include <cmath>

#include "game/orders.h"
#include "rules/player_view.h"
#include "ui/large_memory.h"
#include "ui/menu_commands.h"

namespace vortan {

namespace {
constexpr int kWaitCursor = 20;
constexpr int kExplosionFrameMs = 30;  // each disc of an explosion shows this long

int Fold(int d, int size) {
  if (d > size / 2) return d - size;
  if (d < -size / 2) return d + size;
  return d;
}

// The order character a held strip button sends (0: a command instead).
constexpr char kButtonChars[10] = {0, 0, 0, 'S', 'L', 'F', 'R', 'D', 0, 0};
constexpr int kButtonCommands[14] = {
    Cmd::New,    Cmd::Open,    Cmd::SaveAs,  0,           0, 0, 0, 0, Cmd::EndTurn, Cmd::Surrender,
    Cmd::Zoom75, Cmd::Zoom100, Cmd::Zoom150, Cmd::Zoom200};
// What each strip button does, with its key, for the pointer resting on it.
constexpr const char* kButtonTips[14] = {"New",          "Open (Ctrl+O)", "Save as",    "Sleep (S)", "Later (L)",
                                         "Finished (F)", "Return (R)",    "Drop (D)",   "End turn",  "Surrender",
                                         "Zoom 75 %",    "Zoom 100 %",    "Zoom 150 %", "Zoom 200 %"};
constexpr int kRefusalCursor = 21;
constexpr int kRefusalShownMs = 1200;
constexpr int kBlinkMs = 450;
constexpr int kBlinks = 9;  // odd: the frame is left shown
}  // namespace

MapView::MapView(Game& g, const PictureStore& pictures, const CursorStore& cursors, QWidget* parent)
    : QWidget(parent), g_(g), pictures_(pictures), cursors_(cursors), renderer_(g, pictures) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  grip_ = new QSizeGrip(this);
  blink_.setInterval(kBlinkMs);
  connect(&blink_, &QTimer::timeout, this, &MapView::BlinkTick);
  frameTimer_.setInterval(kExplosionFrameMs);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, &MapView::EffectTick);
  vbar_ = new QScrollBar(Qt::Vertical, this);
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  vbar_->setObjectName("801");
  hbar_->setObjectName("800");
  for (QWidget* child : {static_cast<QWidget*>(grip_), static_cast<QWidget*>(vbar_), static_cast<QWidget*>(hbar_)}) {
    child->setFocusPolicy(Qt::NoFocus);
    child->installEventFilter(this);
  }
  vbar_->setRange(0, g_.Height());
  hbar_->setRange(0, g_.Width());
  vbar_->setPageStep(4);
  hbar_->setPageStep(4);
  connect(hbar_, &QScrollBar::actionTriggered, this, [this](int a) { OnScrollAction(Qt::Horizontal, a); });
  connect(vbar_, &QScrollBar::actionTriggered, this, [this](int a) { OnScrollAction(Qt::Vertical, a); });
  connect(hbar_, &QScrollBar::sliderReleased, this, &MapView::SetScrollBarsForViewer);
  connect(vbar_, &QScrollBar::sliderReleased, this, &MapView::SetScrollBarsForViewer);
  renderer_.SetTarget(&screen_);
}

void MapView::PaintRectNow(QRect r) { renderer_.PaintRect(r, screen_.size()); }

void MapView::DrawCell(MapPos pos, bool fullRepaint) {
  if (fullRepaint) {  // part of a repaint in progress: drawn now
    const QRect r = renderer_.DrawCell(pos, true);
    if (!r.isEmpty()) update(r);
    if (frameShown_ && pos == framedCell_ && !r.isEmpty()) frameShown_ = false;
    return;
  }
  if (pos.x >= g_.Width() || pos.y >= g_.Height() || pos.x >= kGridSide || pos.y >= kGridSide) {
    renderer_.DrawCell(pos, false);  // says what is wrong
    return;
  }
  uint64_t& word = dirtyRows_[pos.y][pos.x / 64];
  const uint64_t mask = uint64_t{1} << (pos.x % 64);
  if (word & mask) return;
  word |= mask;
  ++dirtyCount_;
  if (composePosted_) return;
  composePosted_ = true;
  QMetaObject::invokeMethod(this, &MapView::ComposeDirtyCells, Qt::QueuedConnection);
}

namespace {
// Cells this close on a row of the screen are sent to Qt in one rectangle
// with the unchanged cells between them: copying a few more pixels to the
// screen costs less than one more rectangle in the region.
constexpr int kMergedGapCells = 3;
}  // namespace

void MapView::ComposeDirtyCells() {
  composePosted_ = false;
  if (dirtyCount_ == 0 || effectsPlaying_) return;  // the last explosion's end draws them
  const int W = g_.Width(), H = g_.Height();
  if (W > 0 && H > 0) {
    const ViewFrame v = renderer_.Frame();
    // Screen order: the world's rows and columns from those at the view's
    // top left edge, wrapping round.
    const int firstX = Wrap(v.viewX - v.columns / 2, W), firstY = Wrap(v.viewY - v.rows / 2, H);
    for (int k = 0, y = firstY; k < H; ++k, y = y + 1 == H ? 0 : y + 1) {
      QRect run;
      ComposeRow(y, firstX, run);
      UpdateMap(run);
    }
  }
  for (RowBits& row : dirtyRows_) row.fill(0);  // what lies beyond the world is never shown
  dirtyCount_ = 0;
}

void MapView::ComposeRow(int y, int firstX, QRect& run) {
  const RowBits& bits = dirtyRows_[static_cast<size_t>(y)];
  const int W = g_.Width();
  const int gap = kMergedGapCells * renderer_.CellSize();
  auto drawFrom = [&](int from, int to) {  // the flagged columns in [from, to)
    for (int x = from; x < to;) {
      const uint64_t word = bits[static_cast<size_t>(x / 64)] >> (x % 64);
      if (word == 0) {
        x = (x / 64 + 1) * 64;
        continue;
      }
      x += std::countr_zero(word);
      if (x >= to) break;
      const MapPos pos{static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
      ++x;
      const QRect r = renderer_.DrawCell(pos, false);
      if (r.isEmpty()) continue;
      if (frameShown_ && pos == framedCell_) frameShown_ = false;  // drawn over
      if (!run.isEmpty() && r.top() == run.top() && r.left() > run.right() && r.left() - run.right() - 1 <= gap) {
        run.setRight(r.right());
        continue;
      }
      UpdateMap(run);
      run = r;
    }
  };
  drawFrom(firstX, W);
  drawFrom(0, firstX);
}

// Only the map's part of the rectangle: the scroll bars over the rest of the
// picture would be painted again for nothing, and they are costly to paint.
void MapView::UpdateMap(QRect r) {
  r &= MapViewRect(size());
  if (!r.isEmpty()) update(r);
}

void MapView::ForgetDirtyCells() {
  if (dirtyCount_ == 0) return;
  for (RowBits& row : dirtyRows_) row.fill(0);
  dirtyCount_ = 0;
}

void MapView::RepaintAll() {
  EraseGotoLine();
  frameShown_ = false;
  ForgetDirtyCells();  // all drawn now
  PaintRectNow(screen_.rect());
  update(QRect(0, 0, width(), kStripHeight));
  UpdateMap(rect());
  TrackPointer();
}

void MapView::PaintMapBlack() {
  EraseGotoLine();
  ForgetDirtyCells();  // nothing of the map may show until it is repainted whole
  const QRect area = MapViewRect(screen_.size()) & screen_.rect();
  QPainter(&screen_).fillRect(area, Qt::black);
  update(area);
}

void MapView::DrawButton(int index, bool pressed) { update(renderer_.DrawButton(index, pressed)); }

void MapView::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // Pixel art is scaled, if the screen needs it, by plain pixel repetition.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  for (const QRect& r : e->region()) p.drawImage(r, screen_, r);
}

void MapView::resizeEvent(QResizeEvent*) {
  EraseGotoLine();
  lineDrawn_ = false;
  const QSize client = size();
  vbar_->setGeometry(VerticalBarRect(client));
  hbar_->setGeometry(HorizontalBarRect(client));
  grip_->setGeometry(SizeGripRect(client));
  screen_ = MakeBackBuffer(client);
  screen_.fill(Qt::black);
  renderer_.SetTarget(&screen_);
  ForgetDirtyCells();
  PaintRectNow(screen_.rect());
  SetScrollBarsForViewer();
  update();
}

void MapView::SetScrollBarsForViewer() {
  const int W = g_.Width(), H = g_.Height();
  if (W <= 0 || H <= 0) return;
  const QSignalBlocker bh(hbar_), bv(vbar_);
  const int viewer = std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1);
  if (g_.state.gameActive) {
    hbar_->setRange(0, W - 1);
    vbar_->setRange(0, H - 1);
  }
  hbar_->setSliderPosition(Wrap((W * 3) / 2 + g_.state.viewX - g_.state.homeX[viewer], W));
  vbar_->setSliderPosition(Wrap((H * 3) / 2 + g_.state.viewY - g_.state.homeY[viewer], H));
}

void MapView::OnScrollAction(Qt::Orientation o, int action) {
  int step = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      step = -1;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      step = 1;
      break;
    case QAbstractSlider::SliderPageStepSub:
      step = -4;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      step = 4;
      break;
    default:
      break;
  }
  if (step == 0) return;
  if (o == Qt::Horizontal)
    ScrollCells(step, 0);
  else
    ScrollCells(0, step);
  // The bar shows the view's place relative to home, not where Qt moved it.
  QScrollBar* bar = o == Qt::Horizontal ? hbar_ : vbar_;
  const int W = g_.Width(), H = g_.Height();
  const int viewer = std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1);
  bar->setSliderPosition(o == Qt::Horizontal ? Wrap((W * 3) / 2 + g_.state.viewX - g_.state.homeX[viewer], W)
                                             : Wrap((H * 3) / 2 + g_.state.viewY - g_.state.homeY[viewer], H));
}

void MapView::ScrollCells(int dx, int dy) {
  const int W = g_.Width(), H = g_.Height();
  if (W <= 0 || H <= 0) return;
  EraseGotoLine();
  ComposeDirtyCells();  // the picture moved is the world as it stands
  ScrollView(g_, dx, dy);
  const QRect area = MapViewRect(screen_.size()) & screen_.rect();
  if (area.isEmpty()) return;
  const int cs = renderer_.CellSize(), mx = -dx * cs, my = -dy * cs;
  const QRect target = area.translated(mx, my) & area;
  if (!target.isEmpty()) {
    const QImage moved = screen_.copy(target.translated(-mx, -my));
    BlitImage(screen_, moved, target.x(), target.y());
  }
  if (mx > 0) PaintRectNow(QRect(area.left(), area.top(), mx, area.height()));
  if (mx < 0) PaintRectNow(QRect(area.right() + 1 + mx, area.top(), -mx, area.height()));
  if (my > 0) PaintRectNow(QRect(area.left(), area.top(), area.width(), my));
  if (my < 0) PaintRectNow(QRect(area.left(), area.bottom() + 1 + my, area.width(), -my));
  SetScrollBarsForViewer();
  repaint(area);
}

void MapView::KeepPieceInView() {
  const int player = g_.state.currentPlayer;
  if (player < 0 || player >= kPlayerCount || IsComputerControlled(g_, player)) return;
  const int cp = g_.state.currentPiece;
  if (cp < 0 || cp >= kPieceSlots) return;
  const int W = g_.Width(), H = g_.Height();
  if (W <= 0 || H <= 0) return;
  const PieceRecord& piece = g_.pieces[cp];
  const int columns = renderer_.columns, rows = renderer_.rows;
  // A view too small for the 7-cell margins on both sides would page back and
  // forth for ever; a world's width of pages is as far as paging can help.
  for (int guard = 0; guard < W; ++guard) {
    const int c = Wrap(columns / 2 + piece.x - g_.state.viewX + W, W);
    if (c >= (W + columns) / 2 || c < 7)
      ScrollCells(-4, 0);
    else if (c > columns - 7)
      ScrollCells(4, 0);
    else
      break;
  }
  for (int guard = 0; guard < H; ++guard) {
    const int r = Wrap(rows / 2 + piece.y - g_.state.viewY + H, H);
    if (r >= (H + rows) / 2 || r < 7)
      ScrollCells(0, -4);
    else if (r > rows - 7)
      ScrollCells(0, 4);
    else
      break;
  }
  TrackPointer();
}

// --- Go-to line and pointer shape ---

void MapView::InvertLine(QPoint a, QPoint b) {
  // Inverting every pixel of the line (but its last one, as the platform's line
  // does) twice gives back the picture exactly.
  int x = a.x(), y = a.y();
  const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
  const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
  int err = dx + dy;
  const QRect bounds = screen_.rect();
  while (x != b.x() || y != b.y()) {
    if (bounds.contains(x, y)) {
      QRgb* px = reinterpret_cast<QRgb*>(screen_.scanLine(y)) + x;
      *px = (~*px & 0x00FFFFFF) | 0xFF000000;
    }
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  update(QRect(a, b).normalized().adjusted(-1, -1, 1, 1));
}

void MapView::EraseGotoLine() {
  if (lineDrawn_) InvertLine(lineA_, lineB_);
  lineDrawn_ = false;
}

void MapView::DrawGotoLine(QPoint pointer) {
  const int player = g_.state.currentPlayer, cp = g_.state.currentPiece;
  if (!g_.state.gameActive || player < 0 || player >= kPlayerCount || cp < 0 || cp >= kPieceSlots) return;
  const PieceRecord& piece = g_.pieces[cp];
  if (piece.state != PieceState::AwaitingOrders || !IsHumanControlled(g_, player) || g_.state.eliminated[player])
    return;
  EraseGotoLine();
  const int W = g_.Width(), H = g_.Height(), cs = renderer_.CellSize();
  const int dx = Fold(piece.x - g_.state.viewX, W), dy = Fold(piece.y - g_.state.viewY, H);
  QPoint a = pointer;
  QPoint b((dx + renderer_.columns / 2) * cs + cs / 2, (dy + renderer_.rows / 2) * cs + cs / 2 + kStripHeight);
  if (a.y() < kStripHeight && b.y() < kStripHeight) return;
  auto clip = [](QPoint& p1, QPoint p2) {
    if (p1.y() >= kStripHeight) return;
    const double t = double(kStripHeight - p1.y()) / double(p2.y() - p1.y());
    p1 = QPoint(p1.x() + static_cast<int>(std::trunc(t * (p2.x() - p1.x()))), kStripHeight);
  };
  clip(a, b);
  clip(b, a);
  ComposeDirtyCells();  // a cell drawn over the line later would break it
  InvertLine(a, b);
  lineA_ = a;
  lineB_ = b;
  lineDrawn_ = true;
}

void MapView::SetCursorShape(int id) {
  if (id == cursorShape_) return;
  cursorShape_ = id;
  if (id == kWaitCursor)
    setCursor(Qt::WaitCursor);
  else if (id == kRefusalCursor)
    setCursor(Qt::ForbiddenCursor);
  else
    setCursor(cursors_.Distance(id));
}

void MapView::SetMapCursor(QPoint pointer) {
  const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
  if ((IsHumanPlayer(g_, player) || !g_.state.gameActive) && g_.state.autoPlay[player] != 1) {
    if (!g_.state.gameActive) return SetCursorShape(0);
    const int cp = g_.state.currentPiece;
    if (cp < 0 || cp >= kPieceSlots) return SetCursorShape(0);
    const ViewFrame v = renderer_.Frame();
    const PieceRecord& piece = g_.pieces[cp];
    const int d = std::max(std::abs(Fold(CellXAt(v, pointer.x()) - piece.x, v.width)),
                           std::abs(Fold(CellYAt(v, pointer.y()) - piece.y, v.height)));
    return SetCursorShape(d < 20 ? d : 0);
  }
  const bool inside = pointer.x() >= 0 && pointer.x() < width() - 16 && pointer.y() >= 0 && pointer.y() < height() - 16;
  SetCursorShape(inside && pointer.y() > kStripHeight ? kWaitCursor : 0);
}

void MapView::ShowRefusal() {
  SetCursorShape(kRefusalCursor);
  QTimer::singleShot(kRefusalShownMs, this, [this] {
    if (cursorShape_ == kRefusalCursor) SetMapCursor(mapFromGlobal(QCursor::pos()));
  });
}

bool MapView::HumanPieceWaits() const {
  const int player = g_.state.currentPlayer, cp = g_.state.currentPiece;
  if (!g_.state.gameActive || g_.state.demoMode || player < 0 || player >= kPlayerCount || cp < 0 || cp >= kPieceSlots)
    return false;
  const PieceRecord& r = g_.pieces[cp];
  return IsHumanControlled(g_, player) && !g_.state.mapHidden && r.state == PieceState::AwaitingOrders &&
         r.owner == player && r.type != PieceType::City && !r.IsEmpty();
}

void MapView::UpdateBlink() {
  const bool wanted = HumanPieceWaits() && isVisible() && !window()->isMinimized();
  const bool samePiece =
      wanted && g_.state.currentPiece == framedPiece_ && g_.pieces[g_.state.currentPiece].Pos() == framedCell_;
  if (frameShown_ && !samePiece) EraseFrame();
  if (!samePiece) blinksLeft_ = kBlinks;
  if (wanted && blinksLeft_ > 0 && !blink_.isActive()) blink_.start();
  if (!wanted) blink_.stop();
  if (samePiece && blinksLeft_ <= 0 && !frameShown_) InvertFrame();  // drawn over: the steady frame again
}

// The frame is drawn by inverting the cell's rim, so drawing it again takes it
// away and the go-to line's own inversion is never disturbed.
void MapView::BlinkTick() {
  if (!HumanPieceWaits() || !isVisible() || window()->isMinimized()) return UpdateBlink();
  if (!frameShown_) {
    framedPiece_ = g_.state.currentPiece;
    framedCell_ = g_.pieces[framedPiece_].Pos();
  }
  InvertFrame();
  // After a few blinks the frame stays, and the screen comes to rest.
  if (--blinksLeft_ <= 0 && frameShown_) blink_.stop();
}

void MapView::InvertFrame() {
  if (!frameShown_) ComposeDirtyCells();  // a cell drawn over the frame later would break it
  const ViewFrame v = renderer_.Frame();
  const QRect cell(ScreenX(v, framedCell_.x), ScreenY(v, framedCell_.y), v.cellSize, v.cellSize);
  const QRect r = cell.intersected(screen_.rect());
  if (r.isEmpty() || r.top() < kStripHeight) {  // out of view or under the strip: nothing to show
    frameShown_ = false;
    return;
  }
  for (int y = r.top(); y <= r.bottom(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(screen_.scanLine(y));
    const bool rim = y == cell.top() || y == cell.bottom();
    for (int x = r.left(); x <= r.right(); ++x)
      if (rim || x == cell.left() || x == cell.right()) line[x] ^= 0x00FFFFFF;
  }
  frameShown_ = !frameShown_;
  repaint(r);
}

void MapView::EraseFrame() {
  if (frameShown_) InvertFrame();
}

void MapView::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  UpdateBlink();
}

void MapView::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  EraseFrame();
  blink_.stop();
}

void MapView::TrackPointer() {
  DrawGotoLine(pointer_);
  SetMapCursor(pointer_);
}

// --- Pointer and keyboard ---

bool MapView::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    const QPoint at = static_cast<QHelpEvent*>(e)->pos();
    const int button = at.y() < kStripHeight ? ButtonAt(at.x()) : -1;
    if (button >= 0)
      QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), kButtonTips[button], this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(e);
}

// The wheel scrolls the map a cell a notch, sideways with Shift; with Ctrl it zooms.
void MapView::wheelEvent(QWheelEvent* e) {
  wheelAngle_ += e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
  const int notches = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
  wheelAngle_ -= notches * QWheelEvent::DefaultDeltasPerStep;
  e->accept();
  if (notches == 0) return;
  if (e->modifiers() & Qt::ControlModifier) {
    // The zoom commands follow the zoom levels, smallest first.
    const int last = static_cast<int>(std::size(kZoomLevels)) - 1;
    int step = kDefaultZoom;
    for (int k = 0; k <= last; ++k)
      if (kZoomLevels[k].tileSize == g_.state.tileSize) step = k;
    const int next = std::clamp(step + (notches > 0 ? 1 : -1), 0, last);
    if (next != step) Q_EMIT commandPosted(Cmd::Zoom75 + next);
  } else if (e->modifiers() & Qt::ShiftModifier || e->angleDelta().y() == 0) {
    ScrollCells(-notches, 0);
  } else {
    ScrollCells(0, -notches);
  }
  TrackPointer();
}

bool MapView::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Enter && (watched == hbar_ || watched == vbar_ || watched == grip_)) EraseGotoLine();
  return QWidget::eventFilter(watched, e);
}

void MapView::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || e->position().y() >= kStripHeight) return;
  const int button = ButtonAt(e->position().toPoint().x());
  if (button < 0) return;
  if (button >= 10) {
    Q_EMIT commandPosted(kButtonCommands[button]);
    return;
  }
  pressedButton_ = button;
  buttonHeld_ = pointerInside_ = true;
  DrawButton(button, true);
  grabMouse();
}

void MapView::StripPointerMoved(QPoint p) {
  const bool over = ButtonAt(p.x()) == pressedButton_ && p.y() >= 0 && p.y() <= 32;
  if (over != pointerInside_) DrawButton(pressedButton_, over);
  pointerInside_ = over;
}

void MapView::MapPointerMoved(QPoint p) {
  if (p.y() < kStripHeight) {
    if (!g_.app.endTurnRequested) DrawGotoLine(p);
    SetCursorShape(0);
  } else if (p.y() < height() - 15 && p.x() < width() - 15) {
    if (!g_.app.endTurnRequested) DrawGotoLine(p);
    SetMapCursor(p);
  } else {
    EraseGotoLine();
    SetCursorShape(0);
  }
}

void MapView::enterEvent(QEnterEvent* e) { pointer_ = e->position().toPoint(); }

void MapView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  pointer_ = p;
  if (buttonHeld_) StripPointerMoved(p);
  MapPointerMoved(p);
}

void MapView::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::RightButton) return RightClick(p, e->modifiers() & Qt::ShiftModifier);
  if (e->button() != Qt::LeftButton) return;
  if (!buttonHeld_) return LeftClickOnMap(p);
  releaseMouse();
  buttonHeld_ = false;
  DrawButton(pressedButton_, false);
  if (!pointerInside_) return;
  const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
  const bool human = IsHumanPlayer(g_, player);
  const bool playing = g_.state.gameActive && !g_.state.demoMode;
  const int b = pressedButton_;
  if (b > 1 && !(playing && (human || b == 9))) return;
  if (kButtonChars[b])
    Q_EMIT characterTyped(QChar(kButtonChars[b]));
  else
    Q_EMIT commandPosted(kButtonCommands[b]);
}

// The pointer went over the window's frame or the menu bar: no line there.
void MapView::leaveEvent(QEvent*) {
  if (!buttonHeld_) EraseGotoLine();
}

void MapView::LeftClickOnMap(QPoint p) {
  const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
  if (g_.state.demoMode || !IsHumanPlayer(g_, player)) return;
  if (p.y() <= kStripHeight || p.y() >= height() - 15 || p.x() >= width() - 15) return;
  EraseGotoLine();
  const ViewFrame v = renderer_.Frame();
  const MapPos cell{static_cast<uint8_t>(CellXAt(v, p.x())), static_cast<uint8_t>(CellYAt(v, p.y()))};
  const int cp = g_.state.currentPiece;
  if (cp >= 0 && cp < kPieceSlots && !(g_.pieces[cp].Pos() == cell)) OrderGoTo(g_, cell);
}

void MapView::RightClick(QPoint p, bool shift) {
  if (!g_.state.gameActive) return;
  const ViewFrame v = renderer_.Frame();
  const MapPos cell{static_cast<uint8_t>(CellXAt(v, p.x())), static_cast<uint8_t>(CellYAt(v, p.y()))};
  if (!shift) {
    const bool seesAll = MapRenderer::ViewerSeesAll(g_);
    for (int i = 0; i < kPieceSlots; ++i) {
      const PieceRecord& r = g_.pieces[i];
      if (r.type != PieceType::City || !(r.Pos() == cell) || (r.owner != g_.state.viewingPlayer && !seesAll)) continue;
      EraseGotoLine();
      g_.cityDialogPiece = i;
      const int old = g_.state.currentPiece;
      g_.ui().ShowCityDialog(i);
      const int now = g_.state.currentPiece;
      if (now != old && old >= 0 && old < kPieceSlots && now >= 0 && now < kPieceSlots) {
        DrawCell(g_.pieces[old].Pos(), false);
        DrawCell(g_.pieces[now].Pos(), false);
        g_.lastSelectedPos = g_.pieces[now].Pos();
      }
      return;
    }
  }
  WakeCell(g_, cell);
}

void MapView::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Home:
      Q_EMIT commandPosted(Cmd::Home);
      break;
    case Qt::Key_Left:
      ScrollCells(-1, 0);
      break;
    case Qt::Key_Right:
      ScrollCells(1, 0);
      break;
    case Qt::Key_Up:
      ScrollCells(0, -1);
      break;
    case Qt::Key_Down:
      ScrollCells(0, 1);
      break;
    case Qt::Key_Escape:  // catches a viewer's auto play
      if (g_.state.autoPlay[std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1)] == 1)
        Q_EMIT commandPosted(Cmd::AutoPlay);
      break;
    default:
      if (!e->text().isEmpty() && e->text()[0].isPrint()) Q_EMIT characterTyped(e->text()[0]);
      break;
  }
  TrackPointer();
}

// --- Explosion ---

void MapView::ShowExplosion(MapPos pos, Rgb colour, int radius) {
  if (effects_.capacity() == 0) effects_.reserve(64);
  effects_.push_back(Effect{false, pos, colour, radius, 0, 0, 0});
  if (!effectsPlaying_) PlayNextEffect();
}

void MapView::PlaySoundInTurn(int effect, uint8_t soundMode, int draw) {
  if (effectsPlaying_ && !startingEffect_) {
    effects_.push_back(Effect{true, {}, {}, 0, effect, soundMode, draw});
    return;
  }
  if (soundOutput) soundOutput(effect, soundMode, draw);
}

// Plays the queue on from its next entry: sounds at once, explosions out of
// sight at once, until an explosion shows its first disc. The timer then
// draws its discs and comes back here after the last one.
void MapView::PlayNextEffect() {
  while (nextEffect_ < effects_.size()) {
    const Effect e = effects_[nextEffect_++];
    if (e.sound) {
      if (soundOutput) soundOutput(e.effect, e.soundMode, e.draw);
      continue;
    }
    if (StartExplosion(e)) {
      if (!effectsPlaying_) heldFor_.start();
      effectsPlaying_ = true;
      frameTimer_.start();
      return;
    }
    FinishExplosion(e);
  }
  effects_.clear();
  nextEffect_ = 0;
  frameTimer_.stop();
  if (!effectsPlaying_) return;
  effectsPlaying_ = false;
  explosionWaitNs_ += heldFor_.nsecsElapsed();
  ComposeDirtyCells();
  Q_EMIT effectsPlayed();
}

// The sound and the first disc of an explosion the viewer may see; false
// when there is nothing to show.
bool MapView::StartExplosion(const Effect& e) {
  if (g_.Width() <= 0 || g_.Height() <= 0) return false;
  const int viewer = std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1);
  const bool animate =
      (e.radius >= 2 && (g_.world.At(e.pos).explored & g_.state.playerBit[viewer])) || ViewerSeesCell(g_, e.pos);
  if (!animate) return false;
  if (e.radius > 1 && g_.app.soundMode == SoundMode::Card) {
    startingEffect_ = true;
    g_.ui().PlaySoundEffect(SoundEffect::Bomber);
    startingEffect_ = false;
  }
  const bool wasPlaying = effectsPlaying_;
  effectsPlaying_ = false;
  ComposeDirtyCells();  // the discs go over the world as it stood
  effectsPlaying_ = wasPlaying;
  const ViewFrame v = renderer_.Frame();
  const int cs = v.cellSize;
  discCentre_ = QPoint(ScreenX(v, e.pos.x) + cs / 2, ScreenY(v, e.pos.y) + cs / 2);
  discStep_ = std::max(1, cs / 3);
  discEnd_ = cs * e.radius + cs / 2;
  discRadius_ = cs / 2 - discStep_;
  if (DrawNextDisc()) return true;
  ClearDiscBeyondWorld(e.pos, e.radius);
  return false;
}

// Grows the disc to the next radius that stays clear of the strip; false
// when the explosion has no disc left.
bool MapView::DrawNextDisc() {
  for (discRadius_ += discStep_; discRadius_ < discEnd_; discRadius_ += discStep_) {
    const int r = discRadius_;
    if (discCentre_.y() - r <= kStripHeight) continue;
    {
      QPainter p(&screen_);
      const Effect& e = effects_[nextEffect_ - 1];
      p.setPen(Qt::black);
      p.setBrush(QColor(e.colour.r, e.colour.g, e.colour.b));
      p.drawEllipse(QRect(discCentre_.x() - r, discCentre_.y() - r, 2 * r, 2 * r));
    }
    UpdateMap(QRect(discCentre_.x() - r, discCentre_.y() - r, 2 * r + 1, 2 * r + 1));
    if (explosionObserver) explosionObserver(r, discCentre_);
    return true;
  }
  return false;
}

// Every 30 ms while an explosion plays: its next disc, or its end and
// whatever follows it in the queue.
void MapView::EffectTick() {
  if (DrawNextDisc()) return;
  const Effect e = effects_[nextEffect_ - 1];
  FinishExplosion(e);
  if (g_.Width() > 0 && g_.Height() > 0) ClearDiscBeyondWorld(e.pos, e.radius);
  PlayNextEffect();
}

// The speaker's beep after the discs, and the cells under them drawn again.
void MapView::FinishExplosion(const Effect& e) {
  if (e.radius > 1 && g_.app.soundMode == SoundMode::Speaker) {
    startingEffect_ = true;
    g_.ui().PlaySoundEffect(SoundEffect::Bomber);
    startingEffect_ = false;
  }
  if (g_.Width() <= 0 || g_.Height() <= 0) return;
  for (int x = e.pos.x - e.radius; x <= e.pos.x + e.radius; ++x)
    for (int y = e.pos.y - e.radius; y <= e.pos.y + e.radius; ++y)
      DrawCell(MapPos{static_cast<uint8_t>(WrapX(g_.settings, x)), static_cast<uint8_t>(WrapY(g_.settings, y))}, false);
}

void MapView::DropEffects() {
  if (!effectsPlaying_ && effects_.empty()) return;
  const bool discShown = effectsPlaying_;
  nextEffect_ = effects_.size();
  PlayNextEffect();
  if (!discShown) return;
  PaintRectNow(screen_.rect());  // no disc of the old game stays behind
  update();
}

// A window at its minimum size can be wider or taller than the world; the
// band past the world's last column or row (and the picture under the
// scroll bars) holds no cell, so a disc that spilled there would never be
// drawn over. It is black, as in every full paint.
void MapView::ClearDiscBeyondWorld(MapPos pos, int radius) {
  const ViewFrame v = renderer_.Frame();
  const int cs = v.cellSize, reach = cs * radius + cs / 2 + 1;
  const QPoint centre(ScreenX(v, pos.x) + cs / 2, ScreenY(v, pos.y) + cs / 2);
  const QRect disc(centre.x() - reach, centre.y() - reach, 2 * reach + 1, 2 * reach + 1);
  const QRect belowStrip(0, kStripHeight, screen_.width(), screen_.height() - kStripHeight);
  const QRegion spill = QRegion(disc & belowStrip) - QRect(0, kStripHeight, v.width * cs, v.height * cs);
  if (spill.isEmpty()) return;
  QPainter p(&screen_);
  for (const QRect& r : spill) {
    p.fillRect(r, Qt::black);
    UpdateMap(r);
  }
}

}  // namespace vortan
