// SPDX-License-Identifier: GPL-3.0-or-later
// The New Game dialog: players, world size, difficulty and amount of land,
// with the Piece Attributes dialog behind "Pieces >>". It edits the live
// settings record; the New command puts the record back when it is cancelled.
#pragma once

#include <QDialog>
#include <memory>

#include "model/game.h"
#include "worldgen/new_game.h"

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class NewGameDialog;
}

namespace vortan {

// The last New Game choices kept in the settings file's "Settings" section go
// back into the settings record at start-up, so the dialog offers them again
// after a restart. Keys that are missing or out of range leave a first-time
// choice: RED Human against GREEN on the computer, Easy, Normal land.
void LoadNewGameChoices(Game& g);

// What the dialog selects when it opens: the choices in the settings record;
// a world size that is none of the five offered comes from the file's "size"
// key, else the smallest.
NewGameChoice NewGameChoiceToShow(const Game& g);

class NewGameDialog : public QDialog {
  Q_OBJECT
 public:
  NewGameDialog(Game& g, QWidget* parent);
  ~NewGameDialog() override;

  void Select(const NewGameChoice& choice);
  NewGameChoice Selected() const;
  // The buttons by the control ids of the original layout: 1000 + 10p + 0/1/2
  // for player p Out/Human/Computer, 1100.. sizes, 1200.. difficulties,
  // 1710.. land, 1 OK, 2 Cancel, 3 "Pieces >>".
  QAbstractButton* Button(int controlId) const;
  // Where the Army picture of player p goes (its top-left corner).
  QPoint ArmyPicturePlace(int player) const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void Confirm();
  void OpenPieceAttributes();

  Game& g_;
  std::unique_ptr<Ui::NewGameDialog> ui_;
  std::array<QButtonGroup*, kPlayerCount> playerGroups_{};
};

// Runs the dialog modally; true when it closed with OK.
bool RunNewGameDialog(Game& g, QWidget* parent);

}  // namespace vortan
