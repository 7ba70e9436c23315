// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/invariants.h"

#include <array>
#include <cstdio>

#include "model/piece_types.h"

namespace vortan {
namespace {

constexpr int kMaxAttribute = 32;

std::string Broken(const char* what, int a = -1, int b = -1, int c = -1) {
  char text[160];
  std::snprintf(text, sizeof text, "%s (%d, %d, %d)", what, a, b, c);
  return text;
}

bool InWorld(const Game& g, int x, int y) { return x < g.Width() && y < g.Height(); }

std::string CheckState(const Game& g) {
  const GameSettings& s = g.settings;
  const GameState& st = g.state;
  if (s.width < 1 || s.width > kGridSide || s.height < 1 || s.height > kGridSide)
    return Broken("world size out of range", s.width, s.height);
  if (s.difficulty > Difficulty::Hard) return Broken("difficulty out of range", s.difficulty);
  if (s.landMassCount >= kLandMassSlots) return Broken("land-mass count out of range", s.landMassCount);
  if (st.currentPiece < 0 || st.currentPiece >= kPieceSlots)
    return Broken("currentPiece out of range", st.currentPiece);
  if (st.currentPlayer < 0 || st.currentPlayer >= kPlayerCount)
    return Broken("currentPlayer out of range", st.currentPlayer);
  if (st.viewingPlayer < 0 || st.viewingPlayer >= kPlayerCount)
    return Broken("viewingPlayer out of range", st.viewingPlayer);
  if (st.gameActive != 0 && st.gameActive != 1) return Broken("gameActive not 0 or 1", st.gameActive);
  if (st.gameActive == 1 && st.day < 1) return Broken("day below 1", st.day);
  for (int p = 0; p < kPlayerCount; ++p) {
    if (s.kind[p] > PlayerKind::Computer) return Broken("player kind out of range", p, s.kind[p]);
    if (st.eliminated[p] > 1) return Broken("eliminated flag not 0 or 1", p, st.eliminated[p]);
    if (st.playerBit[p] != (1 << p)) return Broken("player bit changed", p, st.playerBit[p]);
  }
  for (int t = PieceType::Army; t <= PieceType::Para; ++t)
    if (s.days[t] < 1 || s.days[t] > kMaxAttribute || s.moves[t] < 1 || s.moves[t] > kMaxAttribute)
      return Broken("piece attribute out of bounds", t, s.days[t], s.moves[t]);
  return {};
}

std::string CheckPiece(const Game& g, int i) {
  const PieceRecord& r = g.pieces[i];
  if (r.type > PieceType::Para) return Broken("piece type out of range", i, r.type);
  if (r.owner >= kPlayerCount) return Broken("piece owner out of range", i, r.owner);
  if (!IsTakingPart(g, r.owner)) return Broken("piece of a player not taking part", i, r.owner);
  if (!InWorld(g, r.x, r.y)) return Broken("piece outside the world", i, r.x, r.y);
  if (!InWorld(g, r.destX, r.destY)) return Broken("destination outside the world", i, r.destX, r.destY);
  if (r.state > PieceState::Returning) return Broken("piece state out of range", i, r.state);
  const uint8_t terrain = g.world.At(r.x, r.y).terrain;
  if (r.type == PieceType::City) {
    if (r.production < PieceType::Army || r.production > PieceType::Para)
      return Broken("city production out of range", i, r.production);
    if (terrain != Terrain::Land) return Broken("city piece not on Land", i, terrain);
    return {};
  }
  if (r.strength < 1 || r.strength > 100) return Broken("strength out of range", i, r.strength);
  if (r.movesLeft > g.settings.moves[r.type]) return Broken("more moves left than the type has", i, r.movesLeft);
  if (IsAirType(r.type) && (r.fuel < 0 || r.fuel > kMaxAttribute))
    return Broken("aircraft fuel out of range", i, r.fuel);
  if (r.type == PieceType::Army && (terrain == Terrain::Mountain || terrain == Terrain::City))
    return Broken("army on a mountain or a neutral city", i, r.x, r.y);
  // A computer's transport routed through unexplored cells may find land
  // under its bow and stay there; any other ship on Land is in a city.
  const bool aground = r.type == PieceType::Transport;
  if (IsShipType(r.type) && terrain == Terrain::Land && g.world.At(r.x, r.y).topType != PieceType::City && !aground)
    return Broken("ship on land outside a city", i, r.x, r.y);
  if (IsShipType(r.type) && terrain != Terrain::Sea && terrain != Terrain::Land)
    return Broken("ship on a mountain or a neutral city", i, r.x, r.y);
  return {};
}

// What RefreshCell would put on top of every cell, computed in one pass.
struct TopPiece {
  uint8_t type = PieceType::None;
  uint8_t owner = 0;
  uint8_t facing = 0;
};

void ApplyPrecedence(TopPiece& top, const PieceRecord& r) {
  bool takes = false;
  if (r.type == PieceType::City) {
    takes = true;
  } else if (r.type == PieceType::Submarine) {
    takes = top.type == PieceType::None;
  } else {
    takes = top.type != PieceType::City && top.type != PieceType::Carrier && top.type != PieceType::Transport;
  }
  if (takes) top = TopPiece{r.type, r.owner, r.facing};
}

struct CellTally {
  std::array<TopPiece, kGridSide * kGridSide> top{};
  std::array<uint8_t, kGridSide * kGridSide> armies{};
  std::array<uint8_t, kGridSide * kGridSide> transports{};
  std::array<uint8_t, kGridSide * kGridSide> armyOwners{};  // player bits
  std::array<uint8_t, kGridSide * kGridSide> transportOwners{};
  std::array<uint8_t, kGridSide * kGridSide> cities{};
};

std::string CheckCells(const Game& g, CellTally& tally) {
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.IsEmpty()) continue;
    const int cell = r.y * kGridSide + r.x;
    ApplyPrecedence(tally.top[cell], r);
    if (r.type == PieceType::Army) {
      tally.armies[cell]++;
      tally.armyOwners[cell] |= static_cast<uint8_t>(1 << r.owner);
    }
    if (r.type == PieceType::Transport) {
      tally.transports[cell]++;
      tally.transportOwners[cell] |= static_cast<uint8_t>(1 << r.owner);
    }
    if (r.type == PieceType::City && ++tally.cities[cell] > 1) return Broken("two cities on one cell", r.x, r.y);
  }
  int takingPartBits = 0;
  for (int p = 0; p < kPlayerCount; ++p)
    if (IsTakingPart(g, p)) takingPartBits |= 1 << p;
  for (int y = 0; y < g.Height(); ++y)
    for (int x = 0; x < g.Width(); ++x) {
      const MapCell& c = g.world.At(x, y);
      const int cell = y * kGridSide + x;
      const TopPiece& want = tally.top[cell];
      if (c.terrain > Terrain::Mountain) return Broken("terrain out of range", x, y, c.terrain);
      if (c.landMass > g.settings.landMassCount) return Broken("land mass out of range", x, y, c.landMass);
      if (c.topType != want.type) return Broken("top type differs from the pieces", x, y, c.topType);
      if (want.type != PieceType::None && (c.topOwner != want.owner || c.topFacing != want.facing))
        return Broken("top owner or facing differs from the pieces", x, y, c.topOwner);
      if ((c.visible & ~c.explored) & takingPartBits) return Broken("visible but not explored", x, y, c.visible);
      if (c.terrain == Terrain::City && tally.cities[cell] != 0) return Broken("city piece on a neutral city", x, y);
      if (c.terrain != Terrain::Sea) continue;
      if (tally.armyOwners[cell] & ~tally.transportOwners[cell])
        return Broken("army at sea without its transport", x, y);
      if (tally.armies[cell] > CargoCapacity(PieceType::Transport) * tally.transports[cell])
        return Broken("more armies aboard than a transport holds", x, y, tally.armies[cell]);
    }
  return {};
}

}  // namespace

std::string CheckInvariants(const Game& g) {
  if (std::string e = CheckState(g); !e.empty()) return e;
  for (int i = 0; i < kPieceSlots; ++i)
    if (!g.pieces[i].IsEmpty())
      if (std::string e = CheckPiece(g, i); !e.empty()) return e;
  for (int i = 0; i < kPieceSlots; ++i) {
    const int cell = CellOccupancy::CellOf(g.pieces[i]);
    if (g.occupancy.FiledCell(i) != cell) return Broken("cell index files the slot elsewhere", i, cell);
    if (cell != CellOccupancy::kNowhere && !g.occupancy.ListedInOrder(i))
      return Broken("cell index lists the slot out of place", i, cell);
  }
  static_assert(sizeof(CellTally) < 40000, "the tally lives on the stack");
  CellTally tally;
  return CheckCells(g, tally);
}

}  // namespace vortan
