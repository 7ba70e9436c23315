// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/announcements.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "rules/player_view.h"
#include "ui/tool_windows.h"
#include "ui_about_box.h"
#include "ui_next_player.h"
#include "ui_player_announcement.h"
#include "vortan/version.h"

namespace vortan {

namespace {

int PlayerIndex(int p) { return std::clamp(p, 0, kPlayerCount - 1); }

// Our own drawings for the About pictures when the picture files are missing:
// a title line, and a fireball whose mask is black where the fireball is.
QImage TitleStandIn() {
  QImage img(256, 16, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 128));
  QPainter p(&img);
  QFont f = DialogFont();
  f.setBold(true);
  p.setFont(f);
  p.setPen(qRgb(255, 255, 0));
  p.drawText(img.rect(), Qt::AlignCenter, "V O R T A N");
  return img;
}

QImage FireballStandIn(bool mask) {
  QImage img(128, 128, QImage::Format_RGB32);
  img.fill(mask ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  QPainter p(&img);
  p.setPen(Qt::NoPen);
  const QPointF centre(64, 64);
  if (mask) {
    p.setBrush(QColor(0, 0, 0));
    p.drawEllipse(centre, 60, 60);
    return img;
  }
  const struct {
    int radius;
    QRgb colour;
  } kRings[] = {{60, qRgb(128, 0, 0)},
                {50, qRgb(255, 0, 0)},
                {38, qRgb(255, 128, 0)},
                {24, qRgb(255, 255, 0)},
                {10, qRgb(255, 255, 255)}};
  for (const auto& ring : kRings) {
    p.setBrush(QColor(ring.colour));
    p.drawEllipse(centre, ring.radius, ring.radius);
  }
  return img;
}

QImage LoadOr(const QString& name, int w, int h, QImage standIn) {
  const Picture pic = PictureStore::Load(name, w, h);
  return pic.Loaded() ? pic.Original() : standIn;
}

}  // namespace

// --- Next Player ---

NextPlayerDialog::NextPlayerDialog(Game& g, const PictureStore& pictures, QWidget* main)
    : QDialog(main), g_(g), pictures_(pictures), form_(std::make_unique<Ui::NextPlayerForm>()) {
  form_->setupUi(this);
  connect(form_->ok, &QPushButton::clicked, this, &QDialog::accept);
  CentreOver(this, main);
}

NextPlayerDialog::~NextPlayerDialog() = default;

void NextPlayerDialog::done(int result) {
  ShowMap(g_);
  QDialog::done(result);
}

void NextPlayerDialog::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  const int player = PlayerIndex(g_.state.currentPlayer);
  const int top = (h - 48) / 2 - 24;
  p.drawImage(w / 2 - 24, top, Symbol(pictures_, player, PieceType::Army, 3));
  DrawTextAt(p, w / 2 + 30, top + 24 - p.fontMetrics().height() / 2, kPlayerNames[player]);
}

// --- Eliminated and Victory ---

PlayerAnnouncement::PlayerAnnouncement(const QString& title, int player, const QString& text,
                                       const PictureStore& pictures, QWidget* main)
    : QDialog(main),
      player_(PlayerIndex(player)),
      text_(text),
      pictures_(pictures),
      form_(std::make_unique<Ui::PlayerAnnouncementForm>()) {
  form_->setupUi(this);
  setWindowTitle(title);
  setFont(DialogFont());
  connect(form_->ok, &QPushButton::clicked, this, &QDialog::accept);
  CentreOver(this, main);
}

PlayerAnnouncement::~PlayerAnnouncement() = default;

void PlayerAnnouncement::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  p.drawImage(w / 2 - 24, 8, Symbol(pictures_, player_, PieceType::Army, 3));
  DrawTextAt(p, w / 2 + 30, 32 - p.fontMetrics().height() / 2, kPlayerNames[player_]);
  DrawTextCentred(p, w / 2, static_cast<int>(0.5 * h), text_);
}

// --- About ---

AboutBox::AboutBox(QWidget* main)
    : QDialog(main),
      title_(LoadOr("BMP_TITLE", 256, 16, TitleStandIn())),
      explosion_(LoadOr("BMP_NUCLEAR", 128, 128, FireballStandIn(false))),
      mask_(LoadOr("BMP_NUCLEAR_MASK", 128, 128, FireballStandIn(true))),
      form_(std::make_unique<Ui::AboutForm>()) {
  form_->setupUi(this);
  connect(form_->ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(form_->rules, &QPushButton::clicked, this, &AboutBox::rulesRequested);
  CentreOver(this, main);
}

AboutBox::~AboutBox() = default;

QPoint AboutBox::ExplosionTopLeft() const { return QPoint(width() / 2 - 64, static_cast<int>(0.47 * height()) - 64); }

QImage AboutBox::Picture() const {
  QImage canvas(size(), QImage::Format_RGB32);
  canvas.fill(palette().color(QPalette::Window));
  QPainter p(&canvas);
  p.drawImage(width() / 2 - 128, 12, title_);
  // The mask clears the fireball's place, the picture then fills it; the
  // black around the fireball leaves the face as it was.
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(ExplosionTopLeft(), mask_);
  p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
  p.drawImage(ExplosionTopLeft(), explosion_);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(QRect(0, ExplosionTopLeft().y() + 132, width(), 20), Qt::AlignCenter,
             QCoreApplication::translate("AboutBox", "Version %1").arg(kVersion));
  return canvas;
}

void AboutBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Picture());
}

// --- Running them ---

void RunNextPlayerPrompt(Game& g, const PictureStore& pictures, QWidget* main) {
  HideMap(g);
  g.ui().RepaintMainWindow();
  NextPlayerDialog dialog(g, pictures, main);
  dialog.exec();
  g.ui().RepaintMainWindow();
}

void RunEliminatedDialog(Game& g, const PictureStore& pictures, QWidget* main) {
  PlayerAnnouncement dialog(QCoreApplication::translate("PlayerAnnouncement", "Ha! Ha! Ha!"), g.app.lostPlayer,
                            QCoreApplication::translate("PlayerAnnouncement", "has been eliminated!"), pictures, main);
  dialog.exec();
}

void RunVictoryDialog(Game& g, const PictureStore& pictures, QWidget* main) {
  PlayerAnnouncement dialog(QCoreApplication::translate("PlayerAnnouncement", "Victory!"), g.app.winner,
                            QCoreApplication::translate("PlayerAnnouncement", "has conquered the world!"), pictures,
                            main);
  dialog.exec();
}

void RunAboutBox(QWidget* main, const std::function<void()>& rules) {
  AboutBox box(main);
  QObject::connect(&box, &AboutBox::rulesRequested, &box, [&rules] {
    if (rules) rules();
  });
  box.exec();
}

}  // namespace vortan
