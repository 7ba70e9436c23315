// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/game.h"
#include "model/random.h"

namespace vortan {
// Returns the land-mass count, or 0 after 200 failed attempts (the message box has been shown).
int GenerateWorld(Game& g, GameSettings settings, GameState state);
// Draws its cities and mountains from rng.
int AddLandBlob(Random& rng, int x, int y, int extentX, int extentY, int width, int height, const GameSettings& s,
                World& w);
// 1 when a city stands on or next to the cell, else 0.
int CityNearby(int x, int y, const GameSettings& s, const World& w);
// Turns every sea cell with at most one sea neighbour into land.
void FillSeaHoles(const GameSettings& s, World& w);
// Numbers the land masses from 1; returns how many there are, or 0 when one
// reaches the size cap (the world is then drawn again).
int LabelLandMasses(LandMassTable& t, const GameSettings& s, World& w);
// Gives the connected land around x, y the number, up to the land mass size cap.
void FloodLandMass(int number, int x, int y, LandMassTable& t, int width, int height, World& w);
// Each land mass's number of cities.
void CountCitiesPerLandMass(LandMassTable& t, const GameSettings& s, const World& w);
// Gives each player taking part a home city; 0 when a land mass holds too
// many cities or a player finds no home.
int PlaceStartCities(Game& g, const GameSettings& s, GameState& state);
}  // namespace vortan
