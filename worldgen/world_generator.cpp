// SPDX-License-Identifier: GPL-3.0-or-later
// The world generator works by trial: each attempt grows land from random
// blobs, fills single sea holes, numbers the land masses and looks for start
// cities; an attempt that breaks a rule is thrown away. Every draw comes from
// the game's one generator in a fixed order, so a seed always gives the same
// world.
#include "worldgen/world_generator.h"

#include <algorithm>

#include "model/piece_types.h"

namespace vortan {
namespace {

constexpr int kMaxAttempts = 200;
constexpr int kMaxLandAmount = 4;
constexpr int kMinLandMasses = 9;
constexpr int kMaxLandMasses = 79;
constexpr int kLandMassSizeCap = 250;
constexpr const char* kFailureCaption = "Vortan";
constexpr const char* kFailureText = "Failed to make a suitable map\nTry again or change the New Game settings";

bool IsLandMassTerrain(uint8_t terrain) { return terrain == Terrain::Land || terrain == Terrain::City; }

void EmptyPieceTable(PieceTable& t) {
  for (PieceRecord& r : t.slots) r.type = PieceType::None;
}

// Only the fields a new world defines; the rest of each cell keeps its bytes.
void ClearWhole70x70Grid(World& w) {
  for (MapCell& c : w.cells) {
    c.terrain = Terrain::Sea;
    c.explored = 0;
    c.visible = 0;
    c.landMass = 0;
    c.topType = PieceType::None;
  }
}

void GrowLand(Random& rng, const GameSettings& s, World& w) {
  const int width = s.width;
  const int height = s.height;
  const double target = (s.landAmount * 5 + 18) / 100.0;
  long total = 0;
  while (total / static_cast<double>(width * height) < target) {
    const int x = rng.Mod(width);
    const int y = rng.Mod(height);
    const int a = rng.Mod(3) + 3;
    const int b = rng.Mod(3) + 3;
    total += AddLandBlob(rng, x, y, b, a, width, height, s, w);
  }
}

int CityDrawsForBlob(int extentX, int extentY, int landAmount) {
  const double divisor = landAmount * static_cast<double>(1.7f) + static_cast<double>(8.0f);
  return static_cast<int>(extentX * extentY / divisor);
}

void PlaceBlobCities(Random& rng, int x, int y, int dx, int dy, int width, int height, const GameSettings& s,
                     World& w) {
  const int draws = CityDrawsForBlob(dx, dy, s.landAmount);
  for (int k = 0; k < draws; ++k) {
    const int corner = rng.Mod(4);
    const int cx = Wrap(corner < 2 ? x + 1 : x + dx - 1, width);
    const int cy = Wrap(corner % 2 == 0 ? y + 1 : y + dy - 1, height);
    MapCell& c = w.At(cx, cy);
    if (c.terrain == Terrain::Land && CityNearby(cx, cy, s, w) == 0) c.terrain = Terrain::City;
  }
}

void PlaceBlobMountains(Random& rng, int x, int y, int dx, int dy, int width, int height, World& w) {
  if (rng.Mod(2) != 1) return;
  const int count = rng.Mod(2) + 1 + 1;
  for (int k = 0; k < count; ++k) {
    const int u = rng.Mod(dx - 1);
    const int v = rng.Mod(dy - 1);
    w.At(Wrap(x + 1 + u, width), Wrap(y + 1 + v, height)).terrain = Terrain::Mountain;
  }
}

int SeaNeighbourCount(const GameSettings& s, const World& w, int x, int y) {
  int count = 0;
  ForEachInBlock3(s, x, y, [&](int nx, int ny) {
    if ((nx != x || ny != y) && w.At(nx, ny).terrain == Terrain::Sea) ++count;
  });
  return count;
}

// Land masses a human may start on, by difficulty: the city count must lie
// in [min, max]. Computer players take any open land mass.
struct CityCountRange {
  int min, max;
};
constexpr CityCountRange kHumanStartRange[] = {{2, 255}, {2, 3}, {1, 2}, {1, 2}};
constexpr CityCountRange kComputerStartRange = {0, 255};

CityCountRange WantedCityCount(const GameSettings& s, int player) {
  if (s.kind[player] != PlayerKind::Human) return kComputerStartRange;
  return kHumanStartRange[std::min<int>(s.difficulty, Difficulty::Hard)];
}

// The first coastal neutral city of the land mass, column by column.
bool FindCoastalCity(const World& w, const GameSettings& s, int landMass, int& outX, int& outY) {
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      const MapCell& c = w.At(x, y);
      if (c.terrain == Terrain::City && c.landMass == landMass && IsCoastal(w, s, x, y)) {
        outX = x;
        outY = y;
        return true;
      }
    }
  return false;
}

// Only the fields a start city needs are written; the slot keeps the rest.
void FoundStartCity(Game& g, const GameSettings& s, const GameState& state, int player, int x, int y) {
  g.world.At(x, y).terrain = Terrain::Land;
  g.landMasses[g.world.At(x, y).landMass].status = LandMassStatus::Secure;
  PieceRecord& city = g.pieces[player];
  city.type = PieceType::City;
  city.owner = static_cast<uint8_t>(player);
  city.x = static_cast<uint8_t>(x);
  city.y = static_cast<uint8_t>(y);
  city.production = s.inUse[PieceType::Army] ? PieceType::Army : PieceType::Para;
  city.daysLeft = s.days[city.production];
  const auto bit = static_cast<uint8_t>(state.playerBit[player]);
  ForEachInBlock3(s, x, y, [&](int bx, int by) {
    g.world.At(bx, by).explored |= bit;
    g.world.At(bx, by).visible |= bit;
  });
}

bool PlaceOneStartCity(Game& g, const GameSettings& s, const GameState& state, int player) {
  const int n = s.landMassCount;
  const CityCountRange wanted = WantedCityCount(s, player);
  for (int draw = 0; draw < 2 * n; ++draw) {
    const int i = 1 + g.rng.Mod(n);
    const LandMassRecord& mass = g.landMasses[i];
    if (mass.status != LandMassStatus::Open || mass.cityCount < wanted.min || mass.cityCount > wanted.max) continue;
    int x = 0, y = 0;
    if (!FindCoastalCity(g.world, s, i, x, y)) continue;
    FoundStartCity(g, s, state, player, x, y);
    return true;
  }
  return false;
}

// One attempt; the land-mass count on success, else 0.
int TryOneWorld(Game& g, GameSettings& s, GameState& state) {
  EmptyPieceTable(g.pieces);
  ClearWhole70x70Grid(g.world);
  s.landMassCount = 0;
  s.landAmount = std::min<uint8_t>(s.landAmount, kMaxLandAmount);
  GrowLand(g.rng, s, g.world);
  FillSeaHoles(s, g.world);
  const int n = LabelLandMasses(g.landMasses, s, g.world);
  if (n == 0) return 0;
  CountCitiesPerLandMass(g.landMasses, s, g.world);
  if (n < kMinLandMasses || n > kMaxLandMasses) return 0;
  s.landMassCount = static_cast<uint8_t>(n);
  return PlaceStartCities(g, s, state) == 1 ? n : 0;
}

}  // namespace

int GenerateWorld(Game& g, GameSettings settings, GameState state) {
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    const int n = TryOneWorld(g, settings, state);
    if (n != 0) return n;
  }
  g.ui().ShowMessageBox(kFailureCaption, kFailureText, MsgIcon::Exclamation, MsgButtons::Ok);
  return 0;
}

int AddLandBlob(Random& rng, int x, int y, int extentX, int extentY, int width, int height, const GameSettings& s,
                World& w) {
  int made = 0;
  for (int i = x; i <= x + extentX; ++i) {
    const int edge = (i == x || i == x + extentX) ? 1 : 0;
    for (int j = y + edge; j <= y + extentY - edge; ++j) {
      MapCell& c = w.At(Wrap(i, width), Wrap(j, height));
      if (c.terrain == Terrain::Sea) {
        c.terrain = Terrain::Land;
        ++made;
      }
    }
  }
  PlaceBlobCities(rng, x, y, extentX, extentY, width, height, s, w);
  PlaceBlobMountains(rng, x, y, extentX, extentY, width, height, w);
  return made;
}

int CityNearby(int x, int y, const GameSettings& s, const World& w) {
  int found = 0;
  ForEachInBlock3(s, x, y, [&](int nx, int ny) {
    if (w.At(nx, ny).terrain == Terrain::City) found = 1;
  });
  return found;
}

void FillSeaHoles(const GameSettings& s, World& w) {
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      MapCell& c = w.At(x, y);
      if (c.terrain == Terrain::Sea && SeaNeighbourCount(s, w, x, y) <= 1) c.terrain = Terrain::Land;
    }
}

int LabelLandMasses(LandMassTable& t, const GameSettings& s, World& w) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) w.At(x, y).landMass = 0;
  for (int i = 1; i < kLandMassSlots; ++i) t[i].size = 0;
  int count = 0;
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      const MapCell& c = w.At(x, y);
      if (!IsLandMassTerrain(c.terrain) || c.landMass != 0) continue;
      if (++count == kLandMassSlots) return count;  // too many: the table ends at 79
      FloodLandMass(count, x, y, t, s.width, s.height, w);
      if (t[count].size >= kLandMassSizeCap) return 0;
    }
  return count;
}

// Recursive on purpose: the size cap bounds the depth at 250 calls, and the
// visiting order decides which cells the capped mass reaches.
void FloodLandMass(int number, int x, int y, LandMassTable& t, int width, int height, World& w) {
  w.At(x, y).landMass = static_cast<uint8_t>(number);
  LandMassRecord& mass = t[number];
  if (mass.size + 1 >= kLandMassSizeCap) {
    mass.size = kLandMassSizeCap;
    return;
  }
  ++mass.size;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int nx = Wrap(x + dx, width);
      const int ny = Wrap(y + dy, height);
      if (dx != 0 && dy != 0 && w.At(x, ny).terrain == Terrain::Sea && w.At(nx, y).terrain == Terrain::Sea) continue;
      const MapCell& n = w.At(nx, ny);
      if (IsLandMassTerrain(n.terrain) && n.landMass == 0) FloodLandMass(number, nx, ny, t, width, height, w);
    }
}

void CountCitiesPerLandMass(LandMassTable& t, const GameSettings& s, const World& w) {
  for (LandMassRecord& r : t) r.cityCount = 0;
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y) {
      const MapCell& c = w.At(x, y);
      if (c.terrain == Terrain::City) ++t[c.landMass].cityCount;
    }
}

int PlaceStartCities(Game& g, const GameSettings& s, GameState& state) {
  const int n = s.landMassCount;
  for (int i = 1; i <= n; ++i)
    if (g.landMasses[i].cityCount > kMaxCitiesPerLandMass) return 0;
  for (int i = 1; i <= n; ++i) g.landMasses[i].status = LandMassStatus::Open;
  for (int p = 0; p < kPlayerCount; ++p) {
    if (s.kind[p] == PlayerKind::Out) continue;
    if (!PlaceOneStartCity(g, s, state, p)) return 0;
  }
  return 1;
}

}  // namespace vortan
