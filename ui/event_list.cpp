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
  const QString verb = !destroyed                 ? "hit"
                       : IsShipType(defenderType) ? "sank"
                       : IsAirType(defenderType)  ? "shot down"
                                                  : "destroyed";
  Add(PlayerName(attacker) + " " + PieceName(attackerType) + " " + verb + " " + PlayerName(defender) + " " +
          PieceName(defenderType),
      attacker);
}

void EventList::Blast(MapPos where, int owner, int destroyed) {
  const bool explored = (g_.world.At(where).explored & g_.state.playerBit[Viewer()]) != 0;
  if (!Knows(owner) && !explored) return;
  Add(PlayerName(owner) + " bomber blast: " + QString::number(destroyed) + (destroyed == 1 ? " piece" : " pieces") +
          " and the bomber lost",
      owner);
}

void EventList::CityTaken(MapPos where, int newOwner, int previousOwner) {
  if (!Knows(newOwner) && !Knows(previousOwner) && !Sees(where)) return;
  Add(PlayerName(newOwner) + " took " +
          (previousOwner < 0 ? QString("a neutral city") : "a " + PlayerName(previousOwner) + " city"),
      newOwner);
}

void EventList::Built(int owner, int type) {
  if (!Knows(owner)) return;
  QString name = PieceName(type);
  name[0] = name[0].toUpper();
  Add(SeesAll() ? PlayerName(owner) + " " + PieceName(type) + " built" : name + " built", owner);
}

void EventList::Lost(int owner, int type, PieceLoss why) {
  if (!Knows(owner)) return;
  Add(PlayerName(owner) + " " + PieceName(type) +
          (why == PieceLoss::OutOfFuel ? " ran out of fuel" : " went down with its ship"),
      owner);
}

void EventList::Eliminated(int player) { Add(PlayerName(player) + " is eliminated", player); }

void EventList::Refused(const QString& why) {
  // A piece that cannot go home is told so at each of its steps: once is enough.
  if (!lines_.empty() && lines_.front().player < 0 && lines_.front().text == why && viewer_ == Viewer()) return;
  Add(why, -1);
}

void EventList::Clear() {
  lines_.clear();
  viewer_ = Viewer();
  if (changed) changed();
}

void EventList::Add(const QString& text, int player) {
  if (viewer_ != Viewer()) {
    lines_.clear();  // another player views now: what the last one saw is theirs
    viewer_ = Viewer();
  }
  lines_.push_front(EventLine{text, player});
  if (lines_.size() > kKept) lines_.pop_back();
  if (changed) changed();
}

}  // namespace vortan
