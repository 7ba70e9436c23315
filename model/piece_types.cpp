// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/piece_types.h"

#include "model/game.h"

namespace vortan {

const std::array<PieceTypeDefaults, kTypeCount> kPieceTypeDefaults = {{
    {"city", "City", 0, 0, 0},
    {"army", "Army", 4, 1, 0},
    {"destroyer", "Destroyer", 6, 6, 0},
    {"fighter", "Fighter", 8, 14, 14},
    {"bomber", "Bomber", 12, 7, 28},
    {"battleship", "Battleship", 12, 4, 0},
    {"carrier", "Carrier", 10, 4, 0},
    {"submarine", "Submarine", 6, 4, 0},
    {"transport", "Transport", 2, 4, 0},
    {"para", "Paras", 8, 7, 28},
}};

// Mean damage by [attacker][defender]; 0: the attacker cannot hurt that defender.
const AttackTable kAttackTableConstants = {{
    //  City Army Dest Fight Bomb Batt Carr Sub Trans Para
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                 // City
    {{0, 20, 5, 20, 33, 5, 5, 5, 25, 20}},            // Army
    {{0, 5, 20, 50, 33, 5, 10, 100, 200, 20}},        // Destroyer
    {{0, 20, 10, 33, 200, 10, 10, 33, 50, 200}},      // Fighter
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                 // Bomber
    {{0, 100, 100, 100, 100, 10, 33, 33, 100, 100}},  // Battleship
    {{0, 0, 20, 50, 50, 5, 5, 20, 20, 33}},           // Carrier
    {{0, 0, 20, 5, 10, 100, 100, 20, 200, 0}},        // Submarine
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                 // Transport
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},                 // Para
}};

void ApplyDefaultPieceAttributes(GameSettings& s) {
  for (int t = 1; t < kTypeCount; ++t) {
    s.inUse[t] = 1;
    s.days[t] = kPieceTypeDefaults[t].days;
    s.moves[t] = kPieceTypeDefaults[t].moves;
    s.fuel[t] = kPieceTypeDefaults[t].fuel;
  }
  BoundPieceAttributes(s);
}

static uint8_t Bound(uint8_t v, uint8_t lo, uint8_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

void BoundPieceAttributes(GameSettings& s) {
  for (int t = 1; t < kTypeCount; ++t) {
    s.days[t] = Bound(s.days[t], 1, 32);
    s.moves[t] = Bound(s.moves[t], 1, 32);
    s.fuel[t] = Bound(s.fuel[t], 8, 32);
  }
}

bool CanCaptureCities(const GameSettings& s) { return s.inUse[PieceType::Army] || s.inUse[PieceType::Para]; }
bool CanReachOtherIslands(const GameSettings& s) { return s.inUse[PieceType::Transport] || s.inUse[PieceType::Para]; }

int ShipMovesForStrength(int moves, int strength) {
  if (strength < 25) return static_cast<int>(moves * 0.5);
  if (strength < 50) return static_cast<int>(moves * 0.75);
  return moves;
}

int NewPieceFuel(int type) {
  if (type == PieceType::Fighter) return 14;
  if (type == PieceType::Bomber || type == PieceType::Para) return 28;
  return 0;
}

int SightRange(int type, bool aboardShip) {
  static constexpr std::array<int, kTypeCount> kSight = {1, 2, 2, 3, 3, 2, 2, 2, 1, 2};
  if (type == PieceType::Army && aboardShip) return 1;
  return type >= 0 && type < kTypeCount ? kSight[static_cast<size_t>(type)] : 0;
}

int CargoCapacity(int type) { return type == PieceType::Transport || type == PieceType::Carrier ? 6 : 0; }

}  // namespace vortan
