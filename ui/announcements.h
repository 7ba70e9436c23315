// SPDX-License-Identifier: GPL-3.0-or-later
// The modal announcements: the prompt that hands the mouse to the next human,
// a player's elimination, the victory, and the About box.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>

#include "model/game.h"
#include "ui/picture_store.h"

namespace Ui {
class NextPlayerForm;
class PlayerAnnouncementForm;
class AboutForm;
}  // namespace Ui

namespace vortan {

// Shown when the turn passes to another human: the map stays hidden while
// it is open, so one player never sees another's pieces.
class NextPlayerDialog : public QDialog {
  Q_OBJECT
 public:
  NextPlayerDialog(Game& g, const PictureStore& pictures, QWidget* main);
  ~NextPlayerDialog() override;
  void done(int result) override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  Game& g_;
  const PictureStore& pictures_;
  std::unique_ptr<Ui::NextPlayerForm> form_;
};

// "Ha! Ha! Ha!" and "Victory!": a player's tank and one line about them.
class PlayerAnnouncement : public QDialog {
  Q_OBJECT
 public:
  PlayerAnnouncement(const QString& title, int player, const QString& text, const PictureStore& pictures,
                     QWidget* main);
  ~PlayerAnnouncement() override;
  QString Text() const { return text_; }
  int Player() const { return player_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  int player_;
  QString text_;
  const PictureStore& pictures_;
  std::unique_ptr<Ui::PlayerAnnouncementForm> form_;
};

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* main);
  ~AboutBox() override;
  // The client area as it is painted: the title and the explosion drawn
  // through its mask onto the dialog's face.
  QImage Picture() const;
  QPoint ExplosionTopLeft() const;

 Q_SIGNALS:
  void rulesRequested();

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QImage title_, explosion_, mask_;
  std::unique_ptr<Ui::AboutForm> form_;
};

void RunNextPlayerPrompt(Game& g, const PictureStore& pictures, QWidget* main);
void RunEliminatedDialog(Game& g, const PictureStore& pictures, QWidget* main);
void RunVictoryDialog(Game& g, const PictureStore& pictures, QWidget* main);
// `rules` opens the rules, for the "Rules" button.
void RunAboutBox(QWidget* main, const std::function<void()>& rules);

}  // namespace vortan
