// SPDX-License-Identifier: GPL-3.0-or-later
// The per-type attributes (in use, build days, moves, fuel) live in GameSettings;
// this header holds their defaults, bounds and the fixed per-type rules.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace vortan {

struct PieceTypeDefaults {
  const char* key;    // settings-file key
  const char* label;  // dialog label
  uint8_t days;
  uint8_t moves;
  uint8_t fuel;  // 0: no Fuel attribute
};
// Indexed by PieceType code; element 0 (City) is unused.
extern const std::array<PieceTypeDefaults, kTypeCount> kPieceTypeDefaults;
extern const AttackTable kAttackTableConstants;

// What a ship carries at most: six armies on a Transport, six fighters on a
// Carrier; 0 for every other type.
int CargoCapacity(int type);
// A land mass holds at most six cities.
inline constexpr int kMaxCitiesPerLandMass = 6;

// Puts the defaults into the four attribute arrays (every type in use).
void ApplyDefaultPieceAttributes(GameSettings& s);
// Bounds days and moves to 1..32 and fuel to 8..32, for types 1 to 9.
void BoundPieceAttributes(GameSettings& s);
// The two in-use invariants: Army or Para, and Transport or Para.
// True when Army or Para is in use: something can take a city.
bool CanCaptureCities(const GameSettings& s);
// True when Transport or Para is in use: something can cross the sea to land.
bool CanReachOtherIslands(const GameSettings& s);
// A ship's moves for the turn from its full moves and strength (damaged ships are slower).
int ShipMovesForStrength(int moves, int strength);
// Fuel of a freshly built aircraft (14 for a Fighter, 28 for Bomber and Para).
int NewPieceFuel(int type);
// Sight radius of a piece of this type (armies see less from a ship).
int SightRange(int type, bool aboardShip);

}  // namespace vortan
