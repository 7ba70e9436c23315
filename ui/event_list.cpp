// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/event_list.h"

#include <algorithm>

#include "model/piece_types.h"

namespace vortan {

QColor PlayerTextColour(int player) {
  static const QColor kColours[kPlayerCount] = {QColor(192, 0, 0),   QColor(0, 128, 0), QColor(0, 0, 224),
                                                QColor(128, 128, 0), QColor(0, 0, 0),   QColor(160, 0, 160)};
  return player >= 0 && player < kPlayerCount ? kColours[player] : QColor(64, 64, 64);
}

QString PlayerName(int player) {
  return player >= 0 && player < kPlayerCount ? QString(kPlayerNames[player]) : QString("neutral");
}

QString PieceName(int type) {
  if (type == PieceType::City) return "city";
  if (type <= 0 || type >= kTypeCount) return "piece";
  return QString(kPieceTypeDefaults[static_cast<size_t>(type)].label).toLower();
}

QString NoRouteReason(const Game& g, int piece, MapPos target) {
  const PieceRecord& p = g.pieces[piece];
  const MapCell& c = g.world.At(target);
  const bool known = (c.explored & g.state.playerBit[std::clamp<int>(p.owner, 0, kPlayerCount - 1)]) != 0;
  const bool ownCity = c.topType == PieceType::City && c.topOwner == p.owner;
  if (known && IsShipType(p.type) && c.terrain != Terrain::Sea && !ownCity) return "Ships cannot go on land";
  if (known && p.type == PieceType::Army && c.terrain == Terrain::Mountain) return "Armies cannot climb mountains";
  return "No known way there for this " + PieceName(p.type);
}

bool EventList::SeesAll() const {
  const int v = Viewer();
  return g_.state.demoMode != 0 || g_.state.eliminated[v] != 0;
}

int EventList::Viewer() const { return std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1); }

void EventList::Combat(MapPos where, int attacker, int attackerType, int defender, int defenderType, bool destroyed) {
  if (!Knows(attacker) && !Knows(defender) && !Sees(where)) return;
  Add(Event{.kind = Event::Kind::Combat,
            .player = attacker,
            .other = defender,
            .type = attackerType,
            .otherType = defenderType,
            .destroyed = destroyed});
}

void EventList::Blast(MapPos where, int owner, int destroyed) {
  const bool explored = (g_.world.At(where).explored & g_.state.playerBit[Viewer()]) != 0;
  if (!Knows(owner) && !explored) return;
  Add(Event{.kind = Event::Kind::Blast, .player = owner, .other = destroyed});
}

void EventList::CityTaken(MapPos where, int newOwner, int previousOwner) {
  if (!Knows(newOwner) && !Knows(previousOwner) && !Sees(where)) return;
  Add(Event{.kind = Event::Kind::CityTaken, .player = newOwner, .other = previousOwner});
}

void EventList::Built(int owner, int type) {
  if (!Knows(owner)) return;
  Add(Event{.kind = Event::Kind::Built, .player = owner, .type = type, .namedWithOwner = SeesAll()});
}

void EventList::Lost(int owner, int type, PieceLoss why) {
  if (!Knows(owner)) return;
  Add(Event{.kind = Event::Kind::Lost, .player = owner, .type = type, .why = why});
}

void EventList::Eliminated(int player) { Add(Event{.kind = Event::Kind::Eliminated, .player = player}); }

void EventList::Refused(const QString& why) {
  // A piece that cannot go home is told so at each of its steps: once is enough.
  if (!events_.empty() && events_.front().kind == Event::Kind::Refused && events_.front().text == why &&
      viewer_ == Viewer())
    return;
  Add(Event{.kind = Event::Kind::Refused, .player = -1, .text = why});
}

void EventList::Clear() {
  events_.clear();
  linesStale_ = true;
  viewer_ = Viewer();
  if (changed) changed();
}

void EventList::Add(Event e) {
  if (viewer_ != Viewer()) {
    events_.clear();  // another player views now: what the last one saw is theirs
    viewer_ = Viewer();
  }
  events_.push_front(std::move(e));
  if (events_.size() > kKept) events_.pop_back();
  linesStale_ = true;
  if (changed) changed();
}

const std::deque<EventLine>& EventList::Lines() const {
  if (!linesStale_) return lines_;
  lines_.clear();
  for (const Event& e : events_) lines_.push_back(EventLine{Words(e), e.player});
  linesStale_ = false;
  return lines_;
}

QString EventList::Words(const Event& e) {
  switch (e.kind) {
    case Event::Kind::Combat: {
      const QString verb = !e.destroyed              ? "hit"
                           : IsShipType(e.otherType) ? "sank"
                           : IsAirType(e.otherType)  ? "shot down"
                                                     : "destroyed";
      return PlayerName(e.player) + " " + PieceName(e.type) + " " + verb + " " + PlayerName(e.other) + " " +
             PieceName(e.otherType);
    }
    case Event::Kind::Blast:
      return PlayerName(e.player) + " bomber blast: " + QString::number(e.other) +
             (e.other == 1 ? " piece" : " pieces") + " and the bomber lost";
    case Event::Kind::CityTaken:
      return PlayerName(e.player) + " took " +
             (e.other < 0 ? QString("a neutral city") : "a " + PlayerName(e.other) + " city");
    case Event::Kind::Built: {
      if (e.namedWithOwner) return PlayerName(e.player) + " " + PieceName(e.type) + " built";
      QString name = PieceName(e.type);
      name[0] = name[0].toUpper();
      return name + " built";
    }
    case Event::Kind::Lost:
      return PlayerName(e.player) + " " + PieceName(e.type) +
             (e.why == PieceLoss::OutOfFuel ? " ran out of fuel" : " went down with its ship");
    case Event::Kind::Eliminated:
      return PlayerName(e.player) + " is eliminated";
    case Event::Kind::Refused:
      return e.text;
  }
  return {};
}

}  // namespace vortan
