// SPDX-License-Identifier: GPL-3.0-or-later
// What just happened, as the viewing player may know it: combats, cities
// taken, pieces built and lost, players eliminated, and the orders that could
// not be carried out. Newest first, the last ten. Nothing the viewing player
// could not see gets in; the list starts afresh when another player views.
#pragma once

#include <QColor>
#include <QString>
#include <deque>
#include <functional>

#include "model/game.h"

namespace vortan {

struct EventLine {
  QString text;
  int player;  // whose colour the line is written in; -1 for a refusal
};

class EventList {
 public:
  static constexpr int kKept = 10;
  explicit EventList(const Game& g) : g_(g) {}

  void Combat(MapPos where, int attacker, int attackerType, int defender, int defenderType, bool destroyed);
  void Blast(MapPos where, int owner, int destroyed);
  void CityTaken(MapPos where, int newOwner, int previousOwner);
  void Built(int owner, int type);
  void Lost(int owner, int type, PieceLoss why);
  void Eliminated(int player);
  // An order of the viewing player that was refused, and why.
  void Refused(const QString& why);
  void Clear();

  const std::deque<EventLine>& Lines() const { return lines_; }
  // Called after every change, to repaint whatever shows the list.
  std::function<void()> changed;

 private:
  bool SeesAll() const;
  int Viewer() const;
  bool Knows(int player) const { return SeesAll() || player == Viewer(); }
  bool Sees(MapPos where) const { return SeesAll() || ViewerSeesCell(g_, where); }
  void Add(const QString& text, int player);

  const Game& g_;
  std::deque<EventLine> lines_;
  int viewer_ = -1;  // the player the lines were written for
};

// A player's colour for text on the windows' grey.
QColor PlayerTextColour(int player);
// "RED", "GREEN", ...; "neutral" for -1.
QString PlayerName(int player);
// "army", "paras", "fighter", ...
QString PieceName(int type);
// Why a left click gives the piece no step: a target of the wrong kind of
// ground for its type, or simply no known way there.
QString NoRouteReason(const Game& g, int piece, MapPos target);

}  // namespace vortan
