// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/production.h"

#include <array>
#include <cassert>

#include "model/piece_types.h"
#include "rules/visibility.h"

namespace vortan {
namespace {

// Computer build-time factors by difficulty (Simple, Easy, Tricky, Hard). They
// are single-precision constants widened to double before the product, so 20
// days at Simple give 22 rather than 23.
constexpr std::array<float, 4> kComputerBuildFactor = {1.15f, 1.0f, 0.85f, 0.75f};

// A coastal city's build order: the first type whose share of the player's
// pieces is still below its limit is built.
enum class ShareTest { TransportsForArmies, PercentBelow, CountBelow, CarrierForFighters };
struct CoastalChoice {
  uint8_t type;
  ShareTest test;
  int limit;
};
constexpr CoastalChoice kCoastalChoices[] = {
    {PieceType::Transport, ShareTest::TransportsForArmies, 0}, {PieceType::Fighter, ShareTest::PercentBelow, 11},
    {PieceType::Destroyer, ShareTest::PercentBelow, 2},        {PieceType::Battleship, ShareTest::PercentBelow, 2},
    {PieceType::Submarine, ShareTest::PercentBelow, 6},        {PieceType::Bomber, ShareTest::CountBelow, 2},
    {PieceType::Carrier, ShareTest::CarrierForFighters, 1},
};

constexpr int kEnemyArmyWatchRadius = 4;
constexpr int kFewArmies = 4;            // armies that are still too few on a land mass not yet secure
constexpr int kFighterShareInland = 25;  // percent
constexpr int kFewFightersInland = 5;
constexpr int kFightersBeforeCarrier = 5;

struct PieceCounts {
  std::array<int, kTypeCount> byType{};
  int total = 0;
};

PieceCounts CountPieces(const Game& g, int player) {
  PieceCounts counts;
  const int slotsInUse = SlotsInUse(g.pieces);
  for (int i = 0; i < slotsInUse; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.IsEmpty() || r.owner != player || r.type == PieceType::City) continue;
    counts.byType[r.type]++;
    counts.total++;
  }
  return counts;
}

int Percent(const PieceCounts& c, int type) { return c.byType[type] * 100 / c.total; }

uint8_t ArmyOrPara(const GameSettings& s) { return s.inUse[PieceType::Army] ? PieceType::Army : PieceType::Para; }

// Whether some cell of the square of the given radius around the city, in
// column-major order, passes the test. The wrapped columns and rows are worked
// out once for the square rather than once per cell.
template <typename Test>
bool AnyCellAround(const Game& g, const PieceRecord& city, int radius, Test&& test) {
  constexpr int kMaxRadius = 127;  // half the largest fuel a setting can hold
  assert(radius <= kMaxRadius);
  std::array<uint8_t, 2 * kMaxRadius + 1> xs, ys;
  WrapSpan(city.x, radius, g.Width(), xs.data());
  WrapSpan(city.y, radius, g.Height(), ys.data());
  const int side = 2 * radius + 1;
  for (int i = 0; i < side; ++i)
    for (int j = 0; j < side; ++j)
      if (test(g.world.At(xs[i], ys[j]))) return true;
  return false;
}

bool EnemyArmyNear(const Game& g, const PieceRecord& city, int player) {
  const int landMass = g.world.At(city.x, city.y).landMass;
  return AnyCellAround(g, city, kEnemyArmyWatchRadius, [&](const MapCell& c) {
    return c.topType == PieceType::Army && c.topOwner != player && c.landMass == landMass;
  });
}

bool AnyMassOpen(const Game& g) {
  for (const LandMassRecord& mass : g.landMasses)
    if (mass.status == LandMassStatus::Open) return true;
  return false;
}

// Only cities on open land count, and late in a game there is often none:
// the square need not be looked through then.
bool NeutralCityWithinParaReach(const Game& g, const PieceRecord& city, int player) {
  if (!AnyMassOpen(g)) return false;
  const int bit = g.state.playerBit[player];
  return AnyCellAround(g, city, g.settings.fuel[PieceType::Para] / 2, [&](const MapCell& c) {
    return c.terrain == Terrain::City && (c.explored & bit) && g.landMasses[c.landMass].status == LandMassStatus::Open;
  });
}

// The land mass needs more armies before the player builds anything else.
bool NeedsArmies(const Game& g, const PieceRecord& city, int player, const PieceCounts& counts) {
  const LandMassRecord& lm = g.landMasses[g.world.At(city.x, city.y).landMass];
  return counts.total == 0 || EnemyArmyNear(g, city, player) || lm.armyCount <= lm.cityCount ||
         (lm.status != LandMassStatus::Secure && lm.armyCount <= kFewArmies);
}

bool CoastalChoiceHolds(const CoastalChoice& choice, const PieceCounts& c) {
  switch (choice.test) {
    case ShareTest::TransportsForArmies:
      return c.byType[PieceType::Transport] <= (c.byType[PieceType::Army] + 1) / 6;
    case ShareTest::PercentBelow:
      return Percent(c, choice.type) < choice.limit;
    case ShareTest::CountBelow:
      return c.byType[choice.type] < choice.limit;
    case ShareTest::CarrierForFighters:
      return Percent(c, choice.type) < choice.limit && c.byType[PieceType::Fighter] > kFightersBeforeCarrier;
  }
  return false;
}

uint8_t ChooseForCoastalCity(const GameSettings& s, const PieceCounts& counts) {
  for (const CoastalChoice& choice : kCoastalChoices)
    if (s.inUse[choice.type] && CoastalChoiceHolds(choice, counts)) return choice.type;
  return ArmyOrPara(s);
}

uint8_t ChooseForInlandCity(const GameSettings& s, const PieceCounts& counts) {
  const int fighters = counts.byType[PieceType::Fighter];
  if (s.inUse[PieceType::Fighter] &&
      (Percent(counts, PieceType::Fighter) < kFighterShareInland || fighters < kFewFightersInland))
    return PieceType::Fighter;
  return ArmyOrPara(s);
}

// A new ship goes to sea at once: onto the last free sea neighbour in scan
// order, or stays in the city when every neighbour is land or holds a ship.
MapPos PlaceNewShip(const Game& g, MapPos cityPos) {
  MapPos pos = cityPos;
  ForEachInBlock3(g.settings, cityPos.x, cityPos.y, [&](int x, int y) {
    if (x == cityPos.x && y == cityPos.y) return;
    const MapCell& c = g.world.At(x, y);
    if (c.terrain == Terrain::Sea && !IsShipType(c.topType))
      pos = MapPos{static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
  });
  return pos;
}

// Writes only the fields a new piece uses; the rest of the slot keeps its bytes.
void BuildPiece(Game& g, int slot, int type, MapPos pos, int owner) {
  PieceRecord& r = g.pieces[slot];
  r.type = static_cast<uint8_t>(type);
  r.x = r.destX = pos.x;
  r.y = r.destY = pos.y;
  r.owner = static_cast<uint8_t>(owner);
  r.state = PieceState::Ready;
  r.strength = 100;
  r.movesLeft = g.settings.moves[type];
  r.facing = 0;
  if (IsAirType(type)) r.fuel = static_cast<int16_t>(NewPieceFuel(type));
}

}  // namespace

void SetCityProduction(Game& g, int city, int type) {
  assert(g.pieces[city].type == PieceType::City);
  g.pieces[city].production = static_cast<uint8_t>(type);
}

void ResetBuildTime(Game& g, int city) {
  PieceRecord& c = g.pieces[city];
  const int days = c.production < kTypeCount ? g.settings.days[c.production] : 0;
  if (g.settings.kind[c.owner] != PlayerKind::Computer) {
    c.daysLeft = static_cast<uint8_t>(days);
    return;
  }
  const double factor = static_cast<double>(kComputerBuildFactor[g.settings.difficulty & 3]);
  c.daysLeft = static_cast<uint8_t>(static_cast<int>(days * factor));
}

void ChooseProduction(Game& g, int city) {
  const int player = g.state.currentPlayer;
  if (IsHumanControlled(g, player)) {
    g.ui().ShowCityDialog(city);
    if (g.ui().IsToolWindowOpen(ToolWindow::Production)) g.ui().RepaintToolWindow(ToolWindow::Production);
    return;
  }
  const int16_t saved = g.state.currentPiece;
  g.state.currentPiece = static_cast<int16_t>(city);
  ComputerChooseProduction(g, city);
  g.state.currentPiece = saved;
  ResetBuildTime(g, city);
}

void ComputerChooseProduction(Game& g, int city) {
  PieceRecord& c = g.pieces[city];
  if (c.type != PieceType::City) g.ui().ShowMessageBox("Error!", "It's not a city", MsgIcon::Stop, MsgButtons::Ok);
  const int player = g.state.currentPlayer;
  const PieceCounts counts = CountPieces(g, player);
  if (NeedsArmies(g, c, player, counts)) {
    c.production = ArmyOrPara(g.settings);
  } else if (g.settings.inUse[PieceType::Para] && NeutralCityWithinParaReach(g, c, player)) {
    c.production = PieceType::Para;
  } else if (!IsCoastal(g.world, g.settings, c.x, c.y)) {
    c.production = ChooseForInlandCity(g.settings, counts);
  } else {
    c.production = ChooseForCoastalCity(g.settings, counts);
  }
}

void RunCityProduction(Game& g, int city) {
  PieceRecord& c = g.pieces[city];
  // A countdown already at 0 (the table was full, or a scaled build time
  // truncated to 0) builds now instead of wrapping round to 255 days.
  if (c.daysLeft != 0) {
    c.daysLeft = static_cast<uint8_t>(c.daysLeft - 1);
    if (c.daysLeft != 0) return;
  }
  const int slot = FindFreeSlot(g.pieces);
  if (slot < 0) return;
  const int type = c.production;
  if (type < PieceType::Army || type > PieceType::Para) return;
  const int owner = c.owner;
  const MapPos pos = IsShipType(type) ? PlaceNewShip(g, c.Pos()) : c.Pos();
  BuildPiece(g, slot, type, pos, owner);
  g.ui().ReportPieceBuilt(pos, owner, type);
  if (IsComputerControlled(g, owner)) ChooseProduction(g, city);
  ResetBuildTime(g, city);
  g.state.currentPiece = kPieceSlots - 1;
  IndexSlot(g, slot);
  RefreshFiledCell(g, pos);
  if (owner == g.state.viewingPlayer || g.state.demoMode != 0) UpdateSight(g, slot, pos, true);
}

}  // namespace vortan
