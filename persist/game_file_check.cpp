// SPDX-License-Identifier: GPL-3.0-or-later
// The load check. A file is refused unless the rules can play it as it stands:
// every value inside the range its record declares, every piece on ground it
// can stand on, cargo with its carrier and a player on turn who takes part.
// The first wrong value found is named, so a damaged file can be diagnosed.
#include "persist/game_file_check.h"

#include <array>
#include <cstdio>
#include <memory>

#include "model/game.h"
#include "model/piece_types.h"

namespace vortan {
namespace {

constexpr int kMinSide = 10;
constexpr int kMaxStrength = 100;
constexpr int kMaxFuelLeft = 32;

std::string Str(int v) { return std::to_string(v); }

std::string OutOf(const std::string& what, int value, int low, int high) {
  if (value >= low && value <= high) return {};
  return what + " is " + Str(value) + ", not " + Str(low) + " to " + Str(high);
}

// The piece attributes a file carries, by type, with the bounds the Piece
// Attributes dialog keeps them in.
struct AttributeBounds {
  const char* name;
  std::array<uint8_t, kTypeCount> GameSettings::*values;
  int low, high;
  bool airOnly;
};
constexpr AttributeBounds kAttributeBounds[] = {
    {"in-use flag", &GameSettings::inUse, 0, 1, false},
    {"days", &GameSettings::days, 1, 32, false},
    {"moves", &GameSettings::moves, 1, 32, false},
    {"fuel", &GameSettings::fuel, 8, 32, true},
};

std::string SettingsProblem(const GameSettings& s) {
  if (s.version != 2.0f) {
    char text[48];
    std::snprintf(text, sizeof text, "format version is %.9g, not 2.0", static_cast<double>(s.version));
    return text;
  }
  for (int p = 0; p < kPlayerCount; ++p)
    if (s.kind[p] > PlayerKind::Computer) return "player " + Str(p) + " has kind " + Str(s.kind[p]);
  if (s.difficulty > Difficulty::Hard) return "difficulty is " + Str(s.difficulty);
  if (s.width < kMinSide || s.width > kGridSide || s.height < kMinSide || s.height > kGridSide)
    return "world size " + Str(s.width) + " x " + Str(s.height) + " is outside 10 to 70";
  if (s.landMassCount >= kLandMassSlots) return "land-mass count " + Str(s.landMassCount) + " is above 79";
  for (const AttributeBounds& a : kAttributeBounds)
    for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
      if (a.airOnly && !IsAirType(t)) continue;
      const std::string what = std::string(a.name) + " of " + kPieceTypeDefaults[t].key;
      if (std::string why = OutOf(what, (s.*a.values)[t], a.low, a.high); !why.empty()) return why;
    }
  return {};
}

bool Inside(const GameSettings& s, int x, int y) { return x >= 0 && x < s.width && y >= 0 && y < s.height; }

bool TakesPart(const GameSettings& s, const GameState& st, int p) {
  return s.kind[p] != PlayerKind::Out && st.eliminated[p] == 0;
}

// The flags of the state record, each 0 or 1.
std::string FlagProblem(const GameState& st) {
  const struct {
    const char* name;
    int value;
  } kFlags[] = {{"game-active flag", st.gameActive}, {"demo flag", st.demoMode}};
  for (const auto& f : kFlags)
    if (std::string why = OutOf(f.name, f.value, 0, 1); !why.empty()) return why;
  for (int p = 0; p < kPlayerCount; ++p) {
    const std::string who = " of player " + Str(p);
    if (std::string why = OutOf("eliminated flag" + who, st.eliminated[p], 0, 1); !why.empty()) return why;
    if (std::string why = OutOf("auto-play flag" + who, st.autoPlay[p], 0, 1); !why.empty()) return why;
    if (std::string why = OutOf("move memory" + who, st.moveMemory[p], 0, 1); !why.empty()) return why;
    if (st.playerBit[p] != (1 << p)) return "player bit" + who + " is " + Str(st.playerBit[p]) + ", not " + Str(1 << p);
  }
  return {};
}

std::string StateProblem(const GameSettings& s, const GameState& st) {
  if (st.currentPlayer < 0 || st.currentPlayer >= kPlayerCount) return "current player is " + Str(st.currentPlayer);
  if (st.viewingPlayer < 0 || st.viewingPlayer >= kPlayerCount) return "viewing player is " + Str(st.viewingPlayer);
  if (st.currentPiece < 0 || st.currentPiece >= kPieceSlots) return "current piece is " + Str(st.currentPiece);
  if (!Inside(s, st.viewX, st.viewY)) return "view (" + Str(st.viewX) + ", " + Str(st.viewY) + ") is outside the world";
  // An Out player's views and home are leftovers nobody reads; the viewing
  // player's are read when the view is restored, whatever its kind.
  for (int p = 0; p < kPlayerCount; ++p) {
    if (s.kind[p] == PlayerKind::Out && p != st.viewingPlayer) continue;
    if (!Inside(s, st.savedViewX[p], st.savedViewY[p]))
      return "saved view of player " + Str(p) + " is outside the world";
    if (!Inside(s, st.homeX[p], st.homeY[p])) return "home of player " + Str(p) + " is outside the world";
  }
  if (std::string why = FlagProblem(st); !why.empty()) return why;
  if (st.gameActive == 1 && st.day < 1) return "day is " + Str(st.day) + " in a game in progress";
  return {};
}

std::string CellProblem(const GameSettings& s, const GameState& st, const MapCell& c, int x, int y) {
  const std::string where = "cell (" + Str(x) + ", " + Str(y) + ")";
  if (c.terrain > Terrain::Mountain) return where + " has terrain " + Str(c.terrain);
  if (c.landMass > s.landMassCount) return where + " has land mass " + Str(c.landMass) + " of " + Str(s.landMassCount);
  for (int p = 0; p < kPlayerCount; ++p) {
    const int bit = 1 << p;
    if (TakesPart(s, st, p) && (c.visible & bit) && !(c.explored & bit))
      return where + " is visible to player " + Str(p) + " but not explored";
  }
  return {};
}

std::string WorldProblem(const GameSettings& s, const GameState& st, const World& w) {
  for (int x = 0; x < s.width; ++x)
    for (int y = 0; y < s.height; ++y)
      if (std::string why = CellProblem(s, st, w.At(x, y), x, y); !why.empty()) return why;
  return {};
}

// Where a piece of each class may stand. Ships keep to the sea and the harbours
// of cities; a computer's transport may also have run aground on land it had
// never seen, and the rules play on from there.
std::string GroundProblem(const PieceRecord& r, uint8_t terrain, bool cityHere) {
  if (r.type == PieceType::City)
    return terrain == Terrain::Land ? std::string() : "stands on terrain " + Str(terrain) + ", not Land";
  if (r.type == PieceType::Army && (terrain == Terrain::Mountain || terrain == Terrain::City))
    return "is an army on terrain " + Str(terrain);
  if (!IsShipType(r.type) || terrain == Terrain::Sea) return {};
  if (terrain == Terrain::Land && (cityHere || r.type == PieceType::Transport)) return {};
  return "is a ship on terrain " + Str(terrain);
}

std::string PieceProblem(const Game& g, const PieceRecord& r, int slot) {
  const GameSettings& s = g.settings;
  const std::string who = "piece " + Str(slot);
  if (r.type > PieceType::None) return who + " has type " + Str(r.type);
  if (r.owner >= kPlayerCount) return who + " has owner " + Str(r.owner);
  // A player on turn who takes no part (a day's first player when Out, say)
  // is passed over by the turn loop, but only while it has nothing to move.
  if (!TakesPart(s, g.state, r.owner))
    return who + " belongs to player " + Str(r.owner) +
           (r.owner == g.state.currentPlayer ? ", who is on turn but" : ", who") + " takes no part";
  if (r.state > PieceState::Returning) return who + " has state " + Str(r.state);
  if (!Inside(s, r.x, r.y)) return who + " stands outside the world";
  if (!Inside(s, r.destX, r.destY)) return who + " is headed outside the world";
  if (r.type == PieceType::City) {
    if (r.production < PieceType::Army || r.production > PieceType::Para)
      return who + " is a city building type " + Str(r.production);
    return {};
  }
  if (std::string why = OutOf(who + " strength", r.strength, 1, kMaxStrength); !why.empty()) return why;
  if (std::string why = OutOf(who + " moves left", r.movesLeft, 0, s.moves[r.type]); !why.empty()) return why;
  if (IsAirType(r.type))
    if (std::string why = OutOf(who + " fuel", r.fuel, 0, kMaxFuelLeft); !why.empty()) return why;
  return {};
}

// What stands on each cell, counted once for the cross-checks between pieces.
struct CellCounts {
  std::array<uint8_t, kGridSide * kGridSide> cities{};
  std::array<std::array<uint8_t, kPlayerCount>, kGridSide * kGridSide> armies{};
  std::array<std::array<uint8_t, kPlayerCount>, kGridSide * kGridSide> transports{};
};

int CellIndex(int x, int y) { return y * kGridSide + x; }

std::string PiecesProblem(const Game& g, CellCounts& counts) {
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.IsEmpty()) continue;
    if (std::string why = PieceProblem(g, r, i); !why.empty()) return why;
    const int cell = CellIndex(r.x, r.y);
    if (r.type == PieceType::City && ++counts.cities[cell] > 1)
      return "two cities stand on (" + Str(r.x) + ", " + Str(r.y) + ")";
    if (r.type == PieceType::Army) counts.armies[cell][r.owner]++;
    if (r.type == PieceType::Transport) counts.transports[cell][r.owner]++;
  }
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.IsEmpty()) continue;
    const int cell = CellIndex(r.x, r.y);
    if (std::string why = GroundProblem(r, g.world.At(r.x, r.y).terrain, counts.cities[cell] != 0); !why.empty())
      return "piece " + Str(i) + " " + why;
  }
  return {};
}

// Armies at sea are cargo: a transport of their owner holds them, six at most.
std::string CargoProblem(const Game& g, const CellCounts& counts) {
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      if (g.world.At(x, y).terrain != Terrain::Sea) continue;
      const int cell = CellIndex(x, y);
      for (int p = 0; p < kPlayerCount; ++p)
        if (counts.armies[cell][p] > CargoCapacity(PieceType::Transport) * counts.transports[cell][p])
          return Str(counts.armies[cell][p]) + " armies of player " + Str(p) + " at sea on (" + Str(x) + ", " + Str(y) +
                 ") with " + Str(counts.transports[cell][p]) + " transports";
    }
  return {};
}

// A city's name comes from its land mass and its ordinal there, so every city
// must lie on a land mass holding no more cities than the name table allows.
std::string CityProblem(const Game& g, const CellCounts& counts) {
  std::array<int, kLandMassSlots> cities{};
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      const MapCell& c = g.world.At(x, y);
      if (c.terrain != Terrain::City && counts.cities[CellIndex(x, y)] == 0) continue;
      if (c.landMass == 0) return "the city at (" + Str(x) + ", " + Str(y) + ") lies on no land mass";
      if (++cities[c.landMass] > kMaxCitiesPerLandMass)
        return "land mass " + Str(c.landMass) + " holds more than 6 cities";
    }
  return {};
}

// An army sees the cells beside it after every step, and is built in a city
// that saw them, so its player has explored them all. Beside the unknown the
// computer would plan a route through it and walk the army into the sea.
std::string SightProblem(const Game& g) {
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& r = g.pieces[i];
    if (r.type != PieceType::Army) continue;
    std::string why;
    ForEachInBlock3(g.settings, r.x, r.y, [&](int x, int y) {
      if (why.empty() && (g.world.At(x, y).explored & g.state.playerBit[r.owner]) == 0)
        why = "piece " + Str(i) + " is an army beside (" + Str(x) + ", " + Str(y) + "), which player " + Str(r.owner) +
              " has not explored";
    });
    if (!why.empty()) return why;
  }
  return {};
}

}  // namespace

std::string CheckSavedGameBytes(const uint8_t* data, size_t size) {
  if (size != static_cast<size_t>(kSavedGameBytes))
    return "the file is " + std::to_string(size) + " bytes long; a saved game is " + Str(kSavedGameBytes);
  auto g = std::make_unique<Game>();
  g->settings = DecodeSettings(data);
  if (std::string why = SettingsProblem(g->settings); !why.empty()) return why;
  g->state = DecodeState(data + kSettingsBytes);
  if (std::string why = StateProblem(g->settings, g->state); !why.empty()) return why;
  g->world = DecodeWorld(data + kSettingsBytes + kStateBytes + kPieceTableBytes);
  if (std::string why = WorldProblem(g->settings, g->state, g->world); !why.empty()) return why;
  g->pieces = DecodePieces(data + kSettingsBytes + kStateBytes);
  auto counts = std::make_unique<CellCounts>();
  if (std::string why = PiecesProblem(*g, *counts); !why.empty()) return why;
  if (std::string why = CargoProblem(*g, *counts); !why.empty()) return why;
  if (std::string why = CityProblem(*g, *counts); !why.empty()) return why;
  return SightProblem(*g);
}

}  // namespace vortan
