// SPDX-License-Identifier: GPL-3.0-or-later
// What just happened, as the viewing player may know it: combats, cities
// taken, pieces built and lost, players eliminated, and the orders that could
// not be carried out. Newest first, the last ten. Nothing the viewing player
// could not see gets in; the list starts afresh when another player views.
//
// The game reports many events a turn and the list is read only when it is
// painted: each event is kept as its numbers and put into words when read.
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

  const std::deque<EventLine>& Lines() const;
  // Called after every change, to repaint whatever shows the list.
  std::function<void()> changed;

 private:
  bool SeesAll() const;
  int Viewer() const;
  bool Knows(int player) const { return SeesAll() || player == Viewer(); }
  bool Sees(MapPos where) const { return SeesAll() || ViewerSeesCell(g_, where); }
  // An event as reported: what kind, and the numbers its line is made of.
  struct Event {
    enum class Kind : uint8_t { Combat, Blast, CityTaken, Built, Lost, Eliminated, Refused } kind;
    int player;                   // whose colour the line is written in; -1 for a refusal
    int other = 0;                // the defender, the previous owner, the pieces destroyed
    int type = 0;                 // the piece: the attacker's, the one built or lost
    int otherType = 0;            // the defender's piece
    bool destroyed = false;       // a combat's loser did not survive it
    bool namedWithOwner = false;  // a built piece is said to be whose
    PieceLoss why{};
    QString text{};  // a refusal's own words
  };
  static QString Words(const Event& e);
  void Add(Event e);

  const Game& g_;
  std::deque<Event> events_;
  mutable std::deque<EventLine> lines_;  // events_ in words, made when read
  mutable bool linesStale_ = false;
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
