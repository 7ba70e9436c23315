// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/movement.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "model/piece_types.h"
#include "rules/combat.h"
#include "rules/production.h"
#include "rules/visibility.h"

namespace vortan {

namespace {

// A freshly taken city starts on armies, or on paras where armies are not built.
void StartCaptureProduction(const Game& g, PieceRecord& city) {
  const int type = g.settings.inUse[PieceType::Army] == 1 ? PieceType::Army : PieceType::Para;
  city.production = static_cast<uint8_t>(type);
  city.daysLeft = g.settings.days[type];
}

void TakeNeutralCity(Game& g, int piece, MapPos target) {
  PieceRecord& p = g.pieces[piece];
  const MapPos old = p.Pos();
  p.type = PieceType::City;
  StartCaptureProduction(g, p);
  p.owner = static_cast<uint8_t>(g.state.currentPlayer);
  p.destX = old.x;
  p.destY = old.y;
  p.state = PieceState::Asleep;
  p.movesLeft = 0;
  g.world.At(target).terrain = Terrain::Land;
  p.x = target.x;
  p.y = target.y;
  IndexSlot(g, piece);
  RefreshCells(g, old, target);
  UpdateSight(g, piece, old, true);
  RecomputeRefuelMaps(g);
  g.ui().ReportCityTaken(target, g.state.currentPlayer, -1);
  if (ViewerSeesCell(g, target)) g.ui().PlaySoundEffect(SoundEffect::Tank);
  ChooseProduction(g, piece);
}

// Cargo is not linked to its carrier: whatever of the cargo type stands on the
// carrier's sea cell moves with it, the first six in table order.
void CarryCargo(Game& g, const PieceRecord& carrier, MapPos target) {
  int cargoType = PieceType::None;
  if (carrier.type == PieceType::Transport) cargoType = PieceType::Army;
  if (carrier.type == PieceType::Carrier) cargoType = PieceType::Fighter;
  if (cargoType == PieceType::None || g.world.At(carrier.Pos()).terrain != Terrain::Sea) return;
  const int capacity = CargoCapacity(carrier.type);
  std::array<int16_t, kPieceSlots> cargo;
  int carried = 0;
  g.occupancy.ForEachAt(g.pieces, carrier.x, carrier.y, [&](int slot, const PieceRecord& r) {
    if (r.type == cargoType && carried < capacity) cargo[carried++] = static_cast<int16_t>(slot);
  });
  // Moved once the cell's list has been read, since re-indexing changes it.
  for (int k = 0; k < carried; ++k) {
    PieceRecord& r = g.pieces[cargo[k]];
    r.x = r.destX = target.x;
    r.y = r.destY = target.y;
    IndexSlot(g, cargo[k]);
  }
}

bool CityInSight(const Game& g, const PieceRecord& p, MapPos around) {
  bool found = false;
  ForEachInBlock3(g.settings, around.x, around.y, [&](int x, int y) {
    const MapCell& c = g.world.At(x, y);
    if (c.terrain == Terrain::City) found = true;
    if (p.type == PieceType::Army && c.topType == PieceType::City && c.topOwner != g.state.currentPlayer) found = true;
  });
  return found;
}

// An army or transport under a go-to order halts beside a city so the player
// can decide what to do with it.
void StopBesideCity(Game& g, PieceRecord& p) {
  if (p.type != PieceType::Army && p.type != PieceType::Transport) return;
  if (p.state == PieceState::Returning) return;
  if (!CityInSight(g, p, p.Pos())) return;
  p.destX = p.x;
  p.destY = p.y;
  p.state = PieceState::Ready;
}

void MoveOneCell(Game& g, int piece, MapPos target) {
  PieceRecord& p = g.pieces[piece];
  CarryCargo(g, p, target);
  SetFacingToward(g, p, target);
  if (IsAirType(p.type)) --p.fuel;
  --p.movesLeft;
  if (p.movesLeft > 0 && IsHumanPlayer(g, g.state.currentPlayer)) g.ui().RefreshPieceInfo();
  const MapPos old = p.Pos();
  p.x = target.x;
  p.y = target.y;
  IndexSlot(g, piece);
  RefreshCells(g, old, target);
  UpdateSight(g, piece, old, true);
  StopBesideCity(g, p);
}

// Square radii come from fuel figures, which are single bytes.
constexpr int kMaxSquareSide = 256;
using SquareAxis = std::array<uint8_t, kMaxSquareSide>;

void LowerFighterRange(Game& g, MapPos carrier, int radius, int sail) {
  SquareAxis xs, ys;
  WrapSpan(carrier.x, radius, g.Width(), xs.data());
  WrapSpan(carrier.y, radius, g.Height(), ys.data());
  for (int dx = -radius; dx <= radius; ++dx) {
    for (int dy = -radius; dy <= radius; ++dy) {
      MapCell& c = g.world.At(xs[dx + radius], ys[dy + radius]);
      const int d = std::max(std::abs(dx), std::abs(dy)) + sail;
      if (d < c.fighterRange) c.fighterRange = static_cast<uint8_t>(d);
    }
  }
}

// Packed positions (MapPos::Packed), left uninitialised until filled.
using PosList = std::array<uint16_t, kPieceSlots>;

// A carrier counts as a base at its distance plus one turn of sailing,
// since it may have moved on by the time the fighter gets there.
void LowerFighterMapNearCarriers(Game& g, const PosList& carriers, int count) {
  const int sail = g.settings.moves[PieceType::Carrier];
  const int radius = (g.settings.fuel[PieceType::Fighter] - sail) / 2;
  if (radius < 0) return;
  for (int n = 0; n < count; ++n) LowerFighterRange(g, MapPos::FromPacked(carriers[n]), radius, sail);
}

// The current player's carriers, in table order.
int ListCarriers(const Game& g, PosList& carriers) {
  const int player = g.state.currentPlayer;
  int count = 0;
  for (const PieceRecord& carrier : g.pieces.slots)
    if (carrier.type == PieceType::Carrier && carrier.owner == player) carriers[count++] = carrier.Pos().Packed();
  return count;
}

void TopUp(Game& g, PieceRecord& a) {
  const int full = g.settings.fuel[a.type];
  if (a.fuel == full) return;
  a.fuel = static_cast<int16_t>(full);
  if (IsHumanPlayer(g, g.state.currentPlayer)) g.ui().RefreshPieceInfo();
}

}  // namespace

void SetFacingToward(const Game& g, PieceRecord& p, MapPos target) {
  const int w = g.Width();
  const int step = Wrap(target.x - p.x, w);
  if (step == 1) p.facing = 0;
  if (step == w - 1) p.facing = 1;
}

void PerformStep(Game& g, int piece, int x, int y) {
  const MapPos target{static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
  const MapCell& c = g.world.At(target);
  if (c.topOwner != g.state.currentPlayer && c.topType != PieceType::None) {
    ResolveAttack(g, piece, target);
    return;
  }
  if (c.terrain == Terrain::City && g.pieces[piece].type == PieceType::Army) {
    TakeNeutralCity(g, piece, target);
    return;
  }
  MoveOneCell(g, piece, target);
}

bool RefuelAircraft(Game& g, int piece) {
  PieceRecord& a = g.pieces[piece];
  const int base = g.world.At(a.Pos()).topType;
  if (base == PieceType::City) TopUp(g, a);
  if (a.type == PieceType::Fighter && base == PieceType::Carrier) TopUp(g, a);
  return a.fuel != 0;
}

namespace {

using CityList = std::array<uint32_t, kPieceSlots>;

// What the refuel maps are worked out from: the player's cities as the maps
// see them and the player's carriers, both in table order, found in one pass
// over the table or over the player's slots.
struct Bases {
  CityList cities;
  int cityCount = 0;
  PosList carriers;
  int carrierCount = 0;
};

// Notes the piece if it is a base: a city or a carrier of the player.
void AddBase(const Game& g, const PieceRecord& r, Bases& b) {
  if (r.type == PieceType::City) {
    const bool safe = g.landMasses[g.world.At(r.Pos()).landMass].status == LandMassStatus::Secure;
    b.cities[b.cityCount++] = r.x | r.y << 8 | uint32_t{safe} << 16;
  } else if (r.type == PieceType::Carrier) {
    b.carriers[b.carrierCount++] = r.Pos().Packed();
  }
}

void ListBases(const Game& g, int player, Bases& b) {
  for (const PieceRecord& r : g.pieces.slots)
    if (r.owner == player) AddBase(g, r, b);
}

using RangePair = std::array<uint8_t, 2>;  // bomber range, safe city range

// Lowers a run of cells to their distances d[k] from a city. The safe city
// range follows only where the city is nearer than every city before it, so it
// cannot be a plain minimum like the bomber range.
void LowerRun(RangePair* cells, const uint8_t* d, int run, bool secure) {
  if (!secure) {
#pragma GCC unroll 4
    for (int k = 0; k < run; ++k) cells[k][0] = std::min(cells[k][0], d[k]);
    return;
  }
#pragma GCC unroll 4
  for (int k = 0; k < run; ++k) {
    if (d[k] >= cells[k][0]) continue;
    cells[k][0] = cells[k][1] = d[k];
  }
}

// For each row offset dy of a city's square, the distances max(dy, |dx|) of
// the row's cells: the same for every city, so worked out once.
using SquareRows = std::array<SquareAxis, kMaxSquareSide / 2 + 1>;

void FillSquareRows(int radius, SquareRows& rows) {
  const int side = 2 * radius + 1;
  SquareAxis& centre = rows[0];
  for (int k = 0; k < side; ++k) centre[k] = static_cast<uint8_t>(std::abs(k - radius));
  // Row dy is the centre row with its middle 2 dy + 1 cells raised to dy.
  for (int dy = 1; dy <= radius; ++dy) {
    std::memcpy(rows[dy].data(), centre.data(), static_cast<std::size_t>(side));
    std::memset(rows[dy].data() + radius - dy, dy, static_cast<std::size_t>(2 * dy + 1));
  }
}

// How many of the bases' cities the memory's maps hold already: all those
// they were worked out from, when these come first among the bases' cities,
// in the same order and on the same world (as after a city was taken in a
// later slot than the player's others); else none.
int CitiesKept(const Game& g, const RefuelMemory::Maps& m, const Bases& bases) {
  const bool sameWorld =
      m.width == g.Width() && m.height == g.Height() && m.bomberFuel == g.settings.fuel[PieceType::Bomber];
  if (!sameWorld || m.cityCount <= 0 || m.cityCount > bases.cityCount) return 0;
  return std::equal(m.cities.begin(), m.cities.begin() + m.cityCount, bases.cities.begin()) ? m.cityCount : 0;
}

// Works the maps out in the memory's dense pairs, and notes what they came
// from. The cities lower the maps one after the other, so the cities the
// memory holds already need not be gone over again.
void WorkOutRefuelMaps(const Game& g, const Bases& bases, RefuelMemory::Maps& m) {
  const int fuel = g.settings.fuel[PieceType::Bomber];
  const int width = g.Width(), height = g.Height();
  const int kept = CitiesKept(g, m, bases);
  // Only the world's rows are ever read back, so only they are filled.
  if (kept == 0)
    std::memset(m.ranges.data(), fuel + 1, sizeof(RangePair) * kGridSide * static_cast<std::size_t>(height));
  const int radius = fuel / 2;
  const int side = 2 * radius + 1;
  SquareRows distances;
  FillSquareRows(radius, distances);
  SquareAxis ys;
  for (int n = kept; n < bases.cityCount; ++n) {
    const uint32_t city = bases.cities[n];
    const int cityX = city & 0xFF, cityY = city >> 8 & 0xFF;
    const bool secure = (city >> 16) != 0;
    WrapSpan(cityY, radius, height, ys.data());
    const int left = Wrap(cityX - radius, width);
    // A city's own square is written in any order: where the square wraps onto
    // itself the nearer offset wins either way. Only the order of the cities counts.
    for (int j = 0; j < side; ++j) {
      RangePair* row = &m.ranges[static_cast<std::size_t>(ys[j] * kGridSide)];
      const uint8_t* rowDistances = distances[static_cast<std::size_t>(std::abs(j - radius))].data();
      // The row runs unbroken up to the world's east edge, then on from its west edge.
      for (int i = 0, x = left; i < side; x = 0) {
        const int run = std::min(side - i, width - x);
        LowerRun(row + x, rowDistances + i, run, secure);
        i += run;
      }
    }
  }
  m.cityCount = bases.cityCount;
  m.width = width;
  m.height = height;
  m.bomberFuel = fuel;
  std::copy(bases.cities.begin(), bases.cities.begin() + bases.cityCount, m.cities.begin());
}

bool SameInputs(const Game& g, const RefuelMemory::Maps& m, const Bases& bases) {
  return m.cityCount == bases.cityCount && m.width == g.Width() && m.height == g.Height() &&
         m.bomberFuel == g.settings.fuel[PieceType::Bomber] &&
         std::equal(bases.cities.begin(), bases.cities.begin() + bases.cityCount, m.cities.begin());
}

// Where a cell's bomber and safe city ranges lie in it: next to each other,
// so the pair comes from the memory in one copy.
constexpr std::size_t kRangePair = offsetof(MapCell, bomberRange);
static_assert(offsetof(MapCell, safeCityRange) == kRangePair + 1);

// Copies the maps into the map cells, the fighter map's start from the bomber map with them.
void Recall(Game& g, const RefuelMemory::Maps& m) {
  // The map's size in locals: the cell writes could otherwise change it, as far as the compiler knows.
  const int width = g.Width(), height = g.Height();
  for (int y = 0; y < height; ++y) {
    MapCell* row = &g.world.At(0, y);
    const RangePair* kept = &m.ranges[static_cast<std::size_t>(y * kGridSide)];
    // The pair is read once into a local: the cell writes could otherwise
    // change the memory, as far as the compiler knows, and it reads it again.
#pragma GCC unroll 4
    for (int x = 0; x < width; ++x) {
      RangePair pair;
      std::memcpy(pair.data(), kept[x].data(), 2);
      std::memcpy(reinterpret_cast<unsigned char*>(&row[x]) + kRangePair, pair.data(), 2);
      row[x].fighterRange = pair[0];
    }
  }
}

// Works the maps out from the bases, or takes them from the player's memory
// when its bases are the same as when it last worked them out.
void RefuelMapsFromBases(Game& g, const Bases& bases) {
  const int player = g.state.currentPlayer;
  if (player < 0 || player >= kPlayerCount) {
    RefuelMemory::Maps scratch;
    WorkOutRefuelMaps(g, bases, scratch);
    Recall(g, scratch);
  } else {
    RefuelMemory::Maps& memory = g.refuelMemory.players[static_cast<std::size_t>(player)];
    if (!SameInputs(g, memory, bases)) WorkOutRefuelMaps(g, bases, memory);
    Recall(g, memory);
  }
  LowerFighterMapNearCarriers(g, bases.carriers, bases.carrierCount);
}

}  // namespace

void RecomputeRefuelMaps(Game& g) {
  Bases bases;
  ListBases(g, g.state.currentPlayer, bases);
  RefuelMapsFromBases(g, bases);
}

void RecomputeRefuelMaps(Game& g, std::span<const int16_t> ownSlots) {
  Bases bases;
  for (const int16_t slot : ownSlots) AddBase(g, g.pieces[slot], bases);
  RefuelMapsFromBases(g, bases);
}

void RecomputeFighterMap(Game& g) {
  const int width = g.Width(), height = g.Height();
  for (int y = 0; y < height; ++y) {
    MapCell* row = &g.world.At(0, y);
    for (int x = 0; x < width; ++x) row[x].fighterRange = row[x].bomberRange;
  }
  PosList carriers;
  const int count = ListCarriers(g, carriers);
  LowerFighterMapNearCarriers(g, carriers, count);
}

}  // namespace vortan
