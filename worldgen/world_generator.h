#pragma once
#include "model/game.h"
#include "model/random.h"

namespace vortan {
// Returns the land-mass count, or 0 after 200 failed attempts (the message box has been shown).
int GenerateWorld(Game& g, GameSettings settings, GameState state);
// Draws its cities and mountains from rng.
int AddLandBlob(Random& rng, int x, int y, int extentX, int extentY, int width, int height, const GameSettings& s,
                World& w);
int CityNearby(int x, int y, const GameSettings& s, const World& w);
void FillSeaHoles(const GameSettings& s, World& w);
int LabelLandMasses(LandMassTable& t, const GameSettings& s, World& w);
void FloodLandMass(int number, int x, int y, LandMassTable& t, int width, int height, World& w);
void CountCitiesPerLandMass(LandMassTable& t, const GameSettings& s, const World& w);
int PlaceStartCities(Game& g, const GameSettings& s, GameState& state);
}  // namespace vortan
