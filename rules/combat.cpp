// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/combat.h"

#include <array>

#include "rules/elimination.h"
#include "rules/movement.h"
#include "rules/production.h"
#include "rules/visibility.h"

namespace vortan {

namespace {

constexpr int kBlastRadius = 2;

bool OnCell(const PieceRecord& r, MapPos cell) { return r.x == cell.x && r.y == cell.y; }

void Destroy(PieceRecord& r) {
  r.type = PieceType::None;
  r.movesLeft = 0;
}

void KeepPosition(PieceRecord& r) {
  r.destX = r.x;
  r.destY = r.y;
}

// A bomber's blast spares nothing within two cells, not even the bomber or
// its owner's cities; a city destroyed this way leaves a neutral site.
void Blast(Game& g, int attacker, MapPos target) {
  int destroyed = 0;
  for (PieceRecord& r : g.pieces.slots) {
    if (WrapDistance(g.settings, r.Pos(), target) > kBlastRadius) continue;
    if (r.type == PieceType::City) g.world.At(r.Pos()).terrain = Terrain::City;
    if (!r.IsEmpty() && &r != &g.pieces[attacker]) ++destroyed;
    r.type = PieceType::None;
  }
  Destroy(g.pieces[attacker]);
  RefreshAllCells(g);
  g.ui().ReportBlast(target, g.pieces[attacker].owner, destroyed);
  g.ui().ShowExplosion(target, kExplosionOrange, kBlastRadius);
  CheckElimination(g);
}

int AttackSound(int attackerType) {
  if (attackerType == PieceType::Army) return SoundEffect::Tank;
  if (attackerType == PieceType::Fighter) return SoundEffect::Fighter;
  return SoundEffect::Ship;
}

// The sound card plays the attack before the explosion, the speaker beeps after it.
void AttackSoundFor(Game& g, int attackerType, MapPos target, uint8_t mode) {
  if (g.app.soundMode == mode && ViewerSeesCell(g, target)) g.ui().PlaySoundEffect(AttackSound(attackerType));
}

// A sunk transport or carrier takes everything of its cargo type on the cell down with it.
void SinkCargo(Game& g, const PieceRecord& carrier, MapPos target) {
  if (g.world.At(target).terrain != Terrain::Sea) return;
  int cargoType = PieceType::None;
  if (carrier.type == PieceType::Transport) cargoType = PieceType::Army;
  if (carrier.type == PieceType::Carrier) cargoType = PieceType::Fighter;
  if (cargoType == PieceType::None) return;
  // Emptied slots stay filed under the cell until the caller re-files it.
  g.occupancy.ForEachAt(g.pieces, target.x, target.y, [&](int slot, const PieceRecord& r) {
    if (r.type != cargoType) return;
    g.pieces[slot].type = PieceType::None;
    g.ui().ReportPieceLost(target, r.owner, cargoType, PieceLoss::SankWithShip);
  });
}

void StrikeDefender(Game& g, int attackerType, PieceRecord& d, int meanDamage, MapPos target) {
  if (IsShipType(d.type) && g.world.At(target).terrain != Terrain::Sea) {
    d.strength = 0;  // a ship caught in port cannot manoeuvre
  } else {
    d.strength = static_cast<int16_t>(d.strength - (g.rng.Mod(meanDamage) + meanDamage / 2));
  }
  if (d.state != PieceState::Returning) {
    KeepPosition(d);
    d.state = PieceState::Ready;
  }
  AttackSoundFor(g, attackerType, target, SoundMode::Card);
  const int defenderType = d.type;
  if (d.strength < 1) {
    SinkCargo(g, d, target);
    Destroy(d);
    RefreshFiledCell(g, target);
  }
  g.ui().ReportCombat(target, g.state.currentPlayer, attackerType, d.owner, defenderType, d.IsEmpty());
  if (d.IsEmpty()) {
    g.ui().ShowExplosion(target, kExplosionYellow, 1);
    if (!ViewerSeesCell(g, target)) g.ui().PlaySoundEffect(SoundEffect::Distant);
  }
  AttackSoundFor(g, attackerType, target, SoundMode::Speaker);
}

bool StrikeCell(Game& g, int attacker, MapPos target) {
  const int player = g.state.currentPlayer;
  const int attackerType = g.pieces[attacker].type;
  // The cell's pieces are listed before any is struck, since a strike
  // re-files the cell; one sunk with an earlier ship is empty when its turn comes.
  std::array<int16_t, kPieceSlots> onCell;
  int count = 0;
  g.occupancy.ForEachAt(g.pieces, target.x, target.y,
                        [&](int slot, const PieceRecord&) { onCell[count++] = static_cast<int16_t>(slot); });
  bool struck = false;
  for (int k = 0; k < count; ++k) {
    PieceRecord& d = g.pieces[onCell[k]];
    if (d.IsEmpty() || d.type == PieceType::City || d.owner == player) continue;
    const int meanDamage = g.app.attackTable[attackerType][d.type];
    if (meanDamage == 0) continue;
    StrikeDefender(g, attackerType, d, meanDamage, target);
    struck = true;
  }
  return struck;
}

void FinishAttack(Game& g, int attacker, MapPos target) {
  CheckElimination(g);
  PieceRecord& a = g.pieces[attacker];
  a.movesLeft = 0;
  KeepPosition(a);
  a.state = a.type == PieceType::Fighter ? PieceState::Returning : PieceState::Ready;
  SetFacingToward(g, a, target);
  --a.fuel;
  RefreshFiledCell(g, a.Pos());
  g.ui().DrawCell(a.Pos(), false);
}

void CaptureCity(Game& g, int attacker, MapPos target) {
  PieceRecord& a = g.pieces[attacker];
  a.type = PieceType::None;  // the army garrisons the city
  RefreshFiledCell(g, a.Pos());
  const int player = g.state.currentPlayer;
  const int production = g.settings.inUse[PieceType::Army] == 1 ? PieceType::Army : PieceType::Para;
  int captured = -1;
  for (int i = 0; i < kPieceSlots; ++i) {
    PieceRecord& c = g.pieces[i];
    if (c.type != PieceType::City || c.owner == player || !OnCell(c, target)) continue;
    const int previousOwner = c.owner;
    c.owner = static_cast<uint8_t>(player);
    c.state = PieceState::Asleep;
    g.ui().ReportCityTaken(target, player, previousOwner);
    KeepPosition(c);
    c.production = static_cast<uint8_t>(production);
    c.daysLeft = g.settings.days[production];
    captured = i;
  }
  RefreshFiledCell(g, target);
  if (captured >= 0) UpdateSight(g, captured, target, true);
  RecomputeRefuelMaps(g);
  if (ViewerSeesCell(g, target)) g.ui().PlaySoundEffect(SoundEffect::Tank);
  if (captured >= 0) ChooseProduction(g, captured);
  CheckElimination(g);
}

}  // namespace

void ResolveAttack(Game& g, int attacker, MapPos target) {
  const int player = g.state.currentPlayer;
  PieceRecord& a = g.pieces[attacker];
  const bool computerMoves = IsComputerControlled(g, player);
  if (computerMoves && a.movesLeft > 0) --a.movesLeft;

  if (a.type == PieceType::Bomber) {
    Blast(g, attacker, target);
    return;
  }
  if (a.type == PieceType::Army && g.world.At(a.Pos()).terrain == Terrain::Sea) {
    KeepPosition(a);  // no assault from a transport's deck
    return;
  }
  if (StrikeCell(g, attacker, target)) {
    FinishAttack(g, attacker, target);
  } else if (g.world.At(target).topType == PieceType::City && a.type == PieceType::Army) {
    CaptureCity(g, attacker, target);
  } else {
    KeepPosition(a);
  }
}

}  // namespace vortan
