// SPDX-License-Identifier: GPL-3.0-or-later
#include "ai/route_cells.h"

#include <cassert>

#include "model/piece_types.h"

namespace vortan {

namespace {

int CurrentPlayer(const Game& g) { return g.state.currentPlayer; }
int CurrentBit(const Game& g) { return g.state.playerBit[g.state.currentPlayer]; }

bool CanDamageSomeoneAt(Game& g, int attackerType, int x, int y, PiecesByCell& at) {
  // The piece on top stands there too, and usually settles it without the index.
  const int top = g.world.At(x, y).topType;
  if (top < kTypeCount && g.app.attackTable[attackerType][top] != 0) return true;
  bool found = false;
  at.ForEachAt(x, y, [&](int, const PieceRecord& r) {
    if (g.app.attackTable[attackerType][r.type] != 0) found = true;
  });
  return found;
}

bool ArmyStandsAt(int x, int y, PiecesByCell& at) {
  bool found = false;
  at.ForEachAt(x, y, [&](int, const PieceRecord& r) {
    if (r.type == PieceType::Army) found = true;
  });
  return found;
}

enum class Verdict { Blocked, Open, Undecided };

// A visible enemy on the cell: only the piece's own destination may be entered,
// and then as an attack.
Verdict EnemyInSight(Game& g, int piece, int x, int y, PiecesByCell& at) {
  const MapCell& c = g.world.At(x, y);
  const PieceRecord& p = g.pieces[piece];
  if (c.topType == PieceType::None || c.topOwner == CurrentPlayer(g) || !(c.visible & CurrentBit(g)))
    return Verdict::Undecided;
  if (p.destX != x || p.destY != y) return Verdict::Blocked;
  if (p.type == PieceType::Army && g.world.At(p.x, p.y).terrain == Terrain::Sea) return Verdict::Blocked;
  if (p.type == PieceType::Army && c.topType == PieceType::City) return Verdict::Open;
  if (p.type == PieceType::Bomber) return Verdict::Open;
  if (CanDamageSomeoneAt(g, p.type, x, y, at)) return Verdict::Open;
  return Verdict::Undecided;
}

bool ArmyMayEnter(Game& g, int piece, int x, int y, PiecesByCell& at) {
  const PieceRecord& p = g.pieces[piece];
  const MapCell& s = g.world.At(p.x, p.y);
  const MapCell& c = g.world.At(x, y);
  if (s.terrain == Terrain::Sea && c.terrain == Terrain::Sea) return false;
  // Land masses that touch at a corner stay apart for armies.
  if (s.terrain == Terrain::Land && c.terrain == Terrain::Land && s.landMass != c.landMass) return false;
  if (c.terrain == Terrain::Land && c.topType == PieceType::None) return true;
  if (c.terrain == Terrain::City) return true;
  if (c.topType == PieceType::City && c.topOwner == CurrentPlayer(g)) return true;
  if (c.terrain == Terrain::Mountain) return false;
  if (c.terrain == Terrain::Sea) return TransportTakesArmy(g, piece, x, y, at);
  if (c.topType == PieceType::Army) return false;
  return !ArmyStandsAt(x, y, at);
}

// Any ship on top blocks another ship, whoever owns it; aircraft do not.
bool ShipMayEnter(const MapCell& c) {
  if (c.terrain != Terrain::Sea) return false;
  return c.topType == PieceType::Fighter || c.topType == PieceType::Bomber || c.topType == PieceType::Para ||
         c.topType == PieceType::None;
}

}  // namespace

bool EnterableCell(Game& g, int piece, int x, int y, PiecesByCell& at) {
  const Verdict enemy = EnemyInSight(g, piece, x, y, at);
  if (enemy != Verdict::Undecided) return enemy == Verdict::Open;
  const int type = g.pieces[piece].type;
  if (type == PieceType::Army) return ArmyMayEnter(g, piece, x, y, at);
  if (IsShipType(type)) return ShipMayEnter(g.world.At(x, y));
  return true;
}

bool RoutePassable(Game& g, int piece, int x, int y, PiecesByCell& at) {
  const int p = CurrentPlayer(g);
  const bool explored = (g.world.At(x, y).explored & CurrentBit(g)) != 0;
  // The computer plans through the unknown as if it were open; a human's
  // pieces keep to what their player has seen.
  const bool boldPlanner = IsComputerControlled(g, p);
  if (!explored) return boldPlanner;
  return EnterableCell(g, piece, x, y, at);
}

bool TransportTakesArmy(Game& g, int piece, int x, int y, PiecesByCell& at) {
  // An empty cell shows nothing on top: no ride there, and no need to ask the index.
  if (g.world.At(x, y).topType == PieceType::None) return false;
  const int p = CurrentPlayer(g);
  int armies = 0;
  bool transport = false;
  at.ForEachAt(x, y, [&](int, const PieceRecord& r) {
    if (r.owner != p) return;
    if (r.type == PieceType::Army) ++armies;
    if (r.type == PieceType::Transport) transport = true;
  });
  if (!transport || armies >= CargoCapacity(PieceType::Transport)) return false;
  // A human's army that finds a ride waits aboard until its player wakes it,
  // even when the search goes on to choose a step elsewhere.
  if (IsHumanPlayer(g, p)) {
    assert(g.state.currentPiece >= 0 && g.state.currentPiece < kPieceSlots);
    g.pieces[g.state.currentPiece].state = PieceState::Asleep;
  }
  const PieceRecord& army = g.pieces[piece];
  const int home = g.world.At(army.x, army.y).landMass;
  bool besideHome = false;
  ForEachInBlock3(g.settings, x, y, [&](int bx, int by) {
    const MapCell& b = g.world.At(bx, by);
    if (b.terrain != Terrain::Sea && b.landMass == home) besideHome = true;
  });
  return besideHome;
}

}  // namespace vortan
