#include "worldgen/world_generator.h"

#include <cstdlib>

// Not written yet: every function here aborts until it is implemented.
namespace vortan {
int GenerateWorld(Game& g, GameSettings settings, GameState state) { std::abort(); }
int AddLandBlob(int x, int y, int extentX, int extentY, int width, int height, const GameSettings& s, World& w) { std::abort(); }
int CityNearby(int x, int y, const GameSettings& s, const World& w) { std::abort(); }
void FillSeaHoles(const GameSettings& s, World& w) { std::abort(); }
int LabelLandMasses(LandMassTable& t, const GameSettings& s, World& w) { std::abort(); }
void FloodLandMass(int number, int x, int y, LandMassTable& t, int width, int height, World& w) { std::abort(); }
void CountCitiesPerLandMass(LandMassTable& t, const GameSettings& s, const World& w) { std::abort(); }
int PlaceStartCities(Game& g, const GameSettings& s, GameState& state) { std::abort(); }
}  // namespace vortan
