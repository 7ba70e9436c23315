// SPDX-License-Identifier: GPL-3.0-or-later
#include "ai/piece_rules.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <type_traits>

namespace vortan {

namespace {

// A kind of enemy the deciding piece keeps away from, and how far: the moves
// of a piece type (the enemy's reach in one turn) or a fixed number of cells.
struct DangerSource {
  uint8_t enemy;
  uint8_t marginMovesOf;  // PieceType::None: use fixedMargin
  uint8_t fixedMargin;
};
constexpr uint8_t kFixed = PieceType::None;

constexpr DangerSource kArmyDanger[] = {{PieceType::Battleship, PieceType::Battleship, 0}};
constexpr DangerSource kFighterDanger[] = {{PieceType::Battleship, PieceType::Battleship, 0},
                                           {PieceType::Destroyer, PieceType::Battleship, 0}};
constexpr DangerSource kParaDanger[] = {
    {PieceType::Fighter, kFixed, 3}, {PieceType::Battleship, kFixed, 3}, {PieceType::Destroyer, kFixed, 3}};
constexpr DangerSource kDestroyerDanger[] = {{PieceType::Battleship, PieceType::Battleship, 0}};
constexpr DangerSource kBattleshipDanger[] = {{PieceType::Submarine, PieceType::Submarine, 0}};
constexpr DangerSource kSubmarineDanger[] = {{PieceType::Fighter, kFixed, 4}, {PieceType::Destroyer, kFixed, 4}};
constexpr DangerSource kCarrierDanger[] = {{PieceType::Battleship, PieceType::Battleship, 0}};
constexpr DangerSource kTransportDanger[] = {{PieceType::Battleship, PieceType::Battleship, 0},
                                             {PieceType::Destroyer, PieceType::Destroyer, 0},
                                             {PieceType::Fighter, kFixed, 3},
                                             {PieceType::Submarine, PieceType::Submarine, 0}};

// Destroyers, battleships and submarines patrol the sea within reach of the
// fighters' bases and explore; they differ only in these numbers.
struct PatrolShip {
  uint8_t radiusMoves;     // R = radiusMoves x own moves
  uint8_t homeRangeBelow;  // sea within this fighter range is worth exploring
  int16_t farSea;          // sea further out
  bool coastalTargets;     // enemy pieces on the coast are not ruled out
  std::span<const DangerSource> danger;
};
constexpr PatrolShip kDestroyerPatrol{2, 10, -100, false, kDestroyerDanger};
constexpr PatrolShip kBattleshipPatrol{3, 8, -50, true, kBattleshipDanger};
constexpr PatrolShip kSubmarinePatrol{3, 8, -100, false, kSubmarineDanger};

// Scores for an army carried by a transport, by what lies next to it.
constexpr int32_t kLandOnOwnCity = 40;
constexpr int32_t kLandOnEmptyLand = 30;
constexpr int32_t kLandOnNeutralCity = 150;

// What the deciding piece sees of the world, in the player's terms.
struct RuleContext {
  RuleContext(Game& game, int piece, DecisionWindow& w)
      : g(game),
        index(piece),
        piece(game.pieces[piece]),
        player(this->piece.owner),
        bit(static_cast<uint8_t>(game.state.playerBit[player])),
        here(game.world.At(this->piece.Pos())),
        window(w),
        map(w.map) {}

  Game& g;
  int index;
  PieceRecord& piece;
  int player;
  uint8_t bit;
  const MapCell& here;
  DecisionWindow& window;
  ValueMap& map;
  std::optional<ExplorationCounts> counts;  // filled by CountSquares
  // The entries noted in the scoring pass (their ValueMap::Index, in the
  // order of the pass) and their columns.
  std::size_t pendingCount = 0;
  int pendingILo = 0, pendingIHi = 0;  // the first and last column with a noted entry
  std::array<uint16_t, kValueMapSide * kValueMapSide> pending;

  // Every rule starts by choosing its window.
  void SetRadius(int r) { window.Open(g.settings, piece, r); }
  // Prepares CountUnexplored and CountUnseen over squares of radius r.
  void CountSquares(int r) { counts.emplace(g, *window.cells, 0, Last(), 0, Last(), r, player); }

  int R() const { return map.radius; }
  int Last() const { return 2 * map.radius; }
  const WindowCells& Cells() const { return *window.cells; }
  const MapCell& Entry(int i, int j) const { return Cells().Cell(g.world, i, j); }
  bool Explored(const MapCell& c) const { return (c.explored & bit) != 0; }
  int Status(const MapCell& c) const { return g.landMasses[c.landMass].status; }
  bool OwnCityOn(const MapCell& c) const { return c.topType == PieceType::City && c.topOwner == player; }
  bool ForeignPieceOn(const MapCell& c) const { return c.topType != PieceType::None && c.topOwner != player; }
  bool ForeignTypeOn(const MapCell& c, int type) const { return c.topType == type && c.topOwner != player; }
  int Moves(int type) const { return g.settings.moves[type]; }
  // Adds kUnexploredWeight x CountUnexplored / kDivisor + CountUnseen over
  // squares of radius r to every entry noted during the scoring pass. The
  // counts are worked out only over the block of entries that read them,
  // which is often a small part of the window.
  template <int kUnexploredWeight, int kDivisor>
  void AddExploration(int r) {
    static_assert(WindowSquareSums::Index(1, 2) == ValueMap::Index(1, 2));
    assert(window.scored);
    if (pendingCount == 0) return;
    const int iLo = pendingILo, iHi = pendingIHi;
    // The pass goes row by row: the first and the last noted bound the rows.
    const int jLo = pending[0] % kValueMapStride, jHi = pending[pendingCount - 1] % kValueMapStride;
    // The cells the player explored and sees, rather than those he does
    // not: a cell costs two steps fewer, the entries read (fewer than the
    // cells) one or two more to turn them into the cells missing.
    WindowSquareSums seen(r);
    // A player's bit is 1 << player (the load check refuses any other), so
    // both flags sit where they are in the two bytes side by side and are
    // summed in place.
    const auto playerBit = static_cast<unsigned>(g.state.playerBit[player]);
    assert(std::has_single_bit(playerBit) && playerBit <= 0x80);
    // The sums shifted right by `shift`: explored in the low 8 bits, seen above.
    const int shift = std::countr_zero(playerBit);
    const unsigned flags = 0x0101u << shift;
    seen.Fill(g, Cells(), iLo, iHi, jLo, jHi, [flags](const MapCell& c) {
      return static_cast<int32_t>((static_cast<unsigned>(c.explored) | static_cast<unsigned>(c.visible) << 8) & flags);
    });
    const WindowSquareSums::View sums = seen.Reader();
    // W x (area - explored) / D + area - seen is (whole - have) / D, with
    // have = W x explored + D x seen: D x (area - seen) is a multiple of D,
    // so it may join the quotient. A square sum times 256 W + D holds have
    // in bits 8 to 15 above the flags' place, as long as D x explored and
    // have stay below 256 (the product then stays below 2^32): one
    // multiplication rather than taking the two counts apart.
    const unsigned area = static_cast<unsigned>((2 * r + 1) * (2 * r + 1));
    const unsigned whole = (kUnexploredWeight + kDivisor) * area, weights = 256 * kUnexploredWeight + kDivisor;
    assert(whole < 256 && kDivisor * area < 256);
    const int drop = 8 + shift;
    // whole - have taken in the product's place, with every bit below it
    // set so that no borrow reaches it; D is a power of two, so the
    // division is that place's lowest bits dropped too.
    static_assert(std::has_single_bit(static_cast<unsigned>(kDivisor)));
    constexpr int kHalvings = std::countr_zero(static_cast<unsigned>(kDivisor));
    const unsigned minuend = whole << drop | ((1u << drop) - 1);
    int32_t* const scores = map.entry.data();
    for (std::size_t k = 0; k < pendingCount; ++k) {
      const int at = pending[k];
      const unsigned product = minuend - static_cast<unsigned>(sums.At(at)) * weights;
      scores[at] += static_cast<int32_t>((product >> (drop + kHalvings)) & (0xFFu >> kHalvings));
    }
    pendingCount = 0;
  }

  // The scoring pass, once per opened window: f(i, j, cell, entry) for every
  // entry, the entry zeroed first; the entries holding an enemy the player
  // sees are noted on the way. When f returns a bool, true notes the entry
  // for AddExploration. Each entry is scored on its own, so the order is
  // free: rows outer, along the world's rows (which AddExploration relies on).
  template <typename F>
  void ForEachEntry(F&& f) {
    Score<false>(f, Block{});
  }
  // The entries [i][j] with iLo <= i <= iHi and jLo <= j <= jHi.
  struct Block {
    int iLo = 0, iHi = 0, jLo = 0, jHi = 0;
  };
  // As ForEachEntry, but f is called only for the entries of the block:
  // every other entry is set to kAvoid and not noted, as f would have done.
  template <typename F>
  void ForEachEntryWithin(const Block& block, F&& f) {
    Score<true>(f, block);
  }
  template <bool kBounded, typename F>
  void Score(F& f, const Block& block) {
    assert(!window.scored);
    // Mostly the window does not wrap around the world's edge between its
    // first and last column: then the cells of an entry row lie side by side.
    if (Cells().SideBySide(0, Last()))
      ScoreEntries<true, kBounded>(f, block);
    else
      ScoreEntries<false, kBounded>(f, block);
    window.scored = true;
  }
  template <bool kSideBySide, bool kBounded, typename F>
  void ScoreEntries(F& f, const Block& block) {
    constexpr bool kNotes = std::is_same_v<std::invoke_result_t<F&, int, int, const MapCell&, int32_t&>, bool>;
    assert(pendingCount == 0 && window.enemyCount == 0);
    const int last = Last(), owner = player, seen = bit;  // copies: a score written might be any int
    const WindowCells& cells = Cells();
    const int x0 = cells.X(0);
    // Wrapped windows: each column's cells found once per pass rather than
    // for every entry.
    const MapCell* const world = g.world.cells.data();
    std::array<const MapCell*, kValueMapSide> columns;
    if constexpr (!kSideBySide) cells.WrappedColumns(g.world, 0, last + 1, columns.data());
    // The counts in locals, kept in registers: in members every score
    // written would have them stored and read afresh.
    std::size_t noted = 0;
    int iLo = kValueMapSide, iHi = -1;
    int enemies = 0;
    int32_t* const scores = map.entry.data();
    for (int j = 0; j <= last; ++j) {
      const MapCell* row = cells.Row(g.world, j);
      const MapCell* first = row + x0;
      const std::ptrdiff_t down = row - world;
      const std::size_t notedBefore = noted;
      auto cellOf = [&](int i) -> const MapCell& {
        return kSideBySide ? first[i] : columns[static_cast<std::size_t>(i)][down];
      };
      // The entry's index is worked out from where it lies, for the few
      // enemies only: a count kept along the row costs every entry a step.
      auto noteEnemy = [&](const int32_t& v, const MapCell& c) {
        if (c.topType != PieceType::None && c.topOwner != owner && (c.visible & seen) != 0)
          window.enemies[static_cast<std::size_t>(enemies++)] = static_cast<uint16_t>(&v - scores);
      };
      auto score = [&](int i) {
        const int at = ValueMap::Index(i, j);
        int32_t& v = map.entry[static_cast<std::size_t>(at)];
        v = 0;
        const MapCell& c = cellOf(i);
        if constexpr (kNotes) {
          if (f(i, j, c, v)) pending[noted++] = static_cast<uint16_t>(at);
        } else {
          f(i, j, c, v);
        }
        noteEnemy(v, c);
      };
      if constexpr (kBounded) {
        // Outside the block only the enemies are looked for.
        auto avoid = [&](int i) {
          int32_t& v = scores[ValueMap::Index(i, j)];
          v = kAvoid;
          noteEnemy(v, cellOf(i));
        };
        if (j < block.jLo || j > block.jHi) {
          for (int i = 0; i <= last; ++i) avoid(i);
          continue;
        }
        for (int i = 0; i < block.iLo; ++i) avoid(i);
        for (int i = block.iLo; i <= block.iHi; ++i) score(i);
        for (int i = block.iHi + 1; i <= last; ++i) avoid(i);
      } else {
        for (int i = 0; i <= last; ++i) score(i);
      }
      // The row's notes run along i: its first and last bound the columns.
      if (noted > notedBefore) {
        iLo = std::min(iLo, pending[notedBefore] / kValueMapStride);
        iHi = std::max(iHi, pending[noted - 1] / kValueMapStride);
      }
    }
    pendingCount = noted;
    pendingILo = iLo;
    pendingIHi = iHi;
    window.enemyCount = enemies;
  }
  // f(i, j, cell, entry) for the entries of the 3 x 3 block around the piece.
  template <typename F>
  void ForEachNeighbourEntry(F&& f) {
    for (int i = R() - 1; i <= R() + 1; ++i)
      for (int j = R() - 1; j <= R() + 1; ++j) f(i, j, Entry(i, j), map.At(i, j));
  }
  // f(cell) for the square of radius r around entry [i][j], x outer, y inner.
  template <typename F>
  void ForEachAround(int i, int j, int r, F&& f) const {
    for (int di = -r; di <= r; ++di)
      for (int dj = -r; dj <= r; ++dj) f(Entry(i + di, j + dj));
  }
  bool ForeignArmyAround(int i, int j) const {
    bool found = false;
    ForEachAround(i, j, 1, [&](const MapCell& m) { found = found || ForeignTypeOn(m, PieceType::Army); });
    return found;
  }
  void PaintDangerFrom(std::span<const DangerSource> sources) {
    assert(window.scored);
    for (int k = 0; k < window.enemyCount; ++k) {
      const int i = window.EnemyI(k), j = window.EnemyJ(k);
      const int type = Entry(i, j).topType;
      for (const DangerSource& d : sources)
        if (type == d.enemy) PaintDanger(map, i, j, d.marginMovesOf == kFixed ? d.fixedMargin : Moves(d.marginMovesOf));
    }
  }
};

int Chebyshev(int a, int b) { return std::abs(a) > std::abs(b) ? std::abs(a) : std::abs(b); }

// --- Armies ---------------------------------------------------------------

// Aboard a transport: land only where there is something to take.
bool ArmyAboardRule(RuleContext& r) {
  r.SetRadius(1);
  r.ForEachEntry([&](int, int, const MapCell& c, int32_t& v) {
    v = kAvoid;
    if (c.terrain == Terrain::Land) {
      int status = r.Status(c);
      if (status == LandMassStatus::Contested || status == LandMassStatus::Open) {
        if (r.OwnCityOn(c))
          v = kLandOnOwnCity;
        else if (c.topType == PieceType::None)
          v = kLandOnEmptyLand;
      }
    }
    if (c.terrain == Terrain::City) v = kLandOnNeutralCity;
  });
  r.map.At(1, 1) = 0;
  return true;
}

bool IsFirstArmyInCity(const RuleContext& r) {
  // The pieces in the city, from the cell's list rather than the whole table.
  bool first = true;
  r.g.occupancy.ForEachAt(r.g.pieces, r.piece.x, r.piece.y, [&](int i, const PieceRecord& o) {
    if (i < r.index && o.type == PieceType::Army && o.owner == r.player) first = false;
  });
  return first;
}

// On a land mass with nothing left to take: guard the city, else look for a
// transport or the last unexplored corners.
bool SecureArmyRule(RuleContext& r) {
  if (r.here.topType == PieceType::City && IsFirstArmyInCity(r)) {
    r.piece.destX = r.piece.x;
    r.piece.destY = r.piece.y;
    r.piece.movesLeft = 0;
    return false;
  }
  r.SetRadius(4);
  // Copies: the compiler would read the fields afresh for every entry.
  const int player = r.player, seen = r.bit, mass = r.here.landMass;
  const bool weak = r.piece.strength < 90;
  r.ForEachEntry([&](int, int, const MapCell& c, int32_t& v) {
    if (c.topType == PieceType::Transport && c.topOwner == player) {
      v = 200;
    } else if (c.terrain == Terrain::Land && (c.explored & seen) != 0 && c.landMass == mass) {
      if (c.topType == PieceType::City && weak) v = 400;
      return true;
    } else {
      v = kAvoid;
    }
    return false;
  });
  r.AddExploration<1, 1>(1);
  r.PaintDangerFrom(kArmyDanger);
  return true;
}

// Where something is left to take: explore, take the nearest neutral city,
// attack enemy cities, defend against armies next door.
bool AdvancingArmyRule(RuleContext& r) {
  r.SetRadius(7);
  // Copies: the compiler would read the fields afresh for every entry.
  const int player = r.player, seen = r.bit, mass = r.here.landMass;
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    if (c.landMass != mass || (c.explored & seen) == 0) {  // most cells lie off the mass (sea among them)
      v = kAvoid;
      return false;
    }
    if (c.terrain == Terrain::City && IsNearestArmy(r.g, r.index, r.Cells().X(i), r.Cells().Y(j)))
      v = 2000;
    else if (c.topType == PieceType::City && c.topOwner != player)
      v = 1000;
    else if (c.terrain != Terrain::Land)
      v = kAvoid;
    return true;
  });
  r.AddExploration<5, 1>(1);
  if (r.here.topType == PieceType::City) {
    r.ForEachNeighbourEntry([&](int, int, const MapCell& c, int32_t& v) {
      if (r.ForeignTypeOn(c, PieceType::Army)) v = 3000;
    });
  } else {
    r.ForEachNeighbourEntry([&](int i, int j, const MapCell& c, int32_t& v) {
      if (c.topType == PieceType::City && r.ForeignArmyAround(i, j)) v = 3000;
    });
  }
  return true;
}

bool ArmyRule(RuleContext& r) {
  if (r.here.terrain == Terrain::Sea) return ArmyAboardRule(r);
  if (r.Status(r.here) == LandMassStatus::Secure) return SecureArmyRule(r);
  return AdvancingArmyRule(r);
}

// --- Aircraft -------------------------------------------------------------

// Scout within the fuel that still brings the fighter home.
bool FighterRule(RuleContext& r) {
  int radius = r.g.settings.fuel[PieceType::Fighter] - r.Moves(PieceType::Carrier) / 2;
  r.SetRadius(radius < 1 ? 1 : radius);
  // The fuel left on arrival, fuel - Distance(i, j), is the smaller of what
  // the column alone and the row alone leave: worked out once per column and
  // row rather than for every entry.
  const int fuel = r.piece.fuel, R = r.R(), last = r.Last();
  std::array<int, kValueMapSide> columnSpare, rowSpare;
  // An entry whose column or row leaves no fuel to spare is out of reach
  // whatever its cell: only the block between the first and last column and
  // row with fuel to spare needs looking at.
  for (int k = 0; k <= last; ++k) {
    columnSpare[static_cast<std::size_t>(k)] = fuel - r.Cells().Distance(k, R);
    rowSpare[static_cast<std::size_t>(k)] = fuel - r.Cells().Distance(R, k);
  }
  // The block always holds the centre; from either end the first column or
  // row with fuel to spare bounds it, found without looking at the rest.
  auto firstWithSpare = [R](const std::array<int, kValueMapSide>& spare) {
    int k = 0;
    while (k < R && spare[static_cast<std::size_t>(k)] < 0) ++k;
    return k;
  };
  auto lastWithSpare = [R, last](const std::array<int, kValueMapSide>& spare) {
    int k = last;
    while (k > R && spare[static_cast<std::size_t>(k)] < 0) --k;
    return k;
  };
  const RuleContext::Block reach{firstWithSpare(columnSpare), lastWithSpare(columnSpare), firstWithSpare(rowSpare),
                                 lastWithSpare(rowSpare)};
  r.ForEachEntryWithin(reach, [&](int i, int j, const MapCell& c, int32_t& v) {
    const int across = columnSpare[static_cast<std::size_t>(i)], down = rowSpare[static_cast<std::size_t>(j)];
    const int spare = across < down ? across : down;
    if (c.fighterRange <= spare) return true;
    v = kAvoid;
    return false;
  });
  r.AddExploration<3, 1>(3);
  r.PaintDangerFrom(kFighterDanger);
  if (r.here.topType == PieceType::City) {
    r.ForEachNeighbourEntry([&](int, int, const MapCell& c, int32_t& v) {
      if (r.ForeignTypeOn(c, PieceType::Army)) v += 500;
    });
  }
  return true;
}

// The worth of a bomber's blast on the 5 x 5 square around entry [i][j].
int32_t BlastWorth(const RuleContext& r, int i, int j) {
  int32_t worth = 0;
  r.ForEachAround(i, j, 2, [&](const MapCell& n) {
    if (n.topType == PieceType::None) return;
    int days = n.topType == PieceType::City ? 0 : r.g.settings.days[n.topType];
    if (n.topOwner != r.player)
      worth += n.topType == PieceType::City ? 200 : 3 * days;
    else if (n.topType == PieceType::City)
      worth = -2000;
    else
      worth += -10 * days;
  });
  return worth;
}

bool BomberRule(RuleContext& r) {
  r.SetRadius(2 * r.Moves(PieceType::Bomber));
  const int R = r.R();
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    bool target = r.Explored(c) && r.Status(c) != LandMassStatus::Secure && r.ForeignPieceOn(c);
    if (!target) {
      v = r.OwnCityOn(c) ? (std::abs(i - R) + std::abs(j - R)) / 5 : 0;
      return;
    }
    v = BlastWorth(r, i, j);
    if (Chebyshev(i - R, j - R) <= r.piece.movesLeft) v *= 4;
  });
  r.map.At(R, R) = -100;
  return true;
}

// Drop onto empty land near neutral and enemy cities.
bool ParaRule(RuleContext& r) {
  r.SetRadius(2 * r.Moves(PieceType::Para));
  const int R = r.R();
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    bool dropZone = r.Explored(c) && c.terrain == Terrain::Land && c.topType == PieceType::None &&
                    r.Status(c) != LandMassStatus::Secure;
    if (!dropZone) {
      v = r.OwnCityOn(c) ? std::abs((i - R) + (j - R)) / 2 : 0;
      return;
    }
    int status = r.Status(c);
    r.ForEachAround(i, j, 1, [&](const MapCell& m) {
      if (m.terrain == Terrain::City) {
        if (status == LandMassStatus::Open) v += 320;
        if (status == LandMassStatus::Contested) v += 160;
      }
      if (r.ForeignTypeOn(m, PieceType::City)) v += 80;
      if (m.terrain == Terrain::Land && status == LandMassStatus::Open) v += 40;
    });
  });
  r.PaintDangerFrom(kParaDanger);
  r.map.At(R, R) = -100;
  return true;
}

// --- Ships ----------------------------------------------------------------

// kCoastalTargets is the ship's coastalTargets, fixed at compile time so that
// the scoring pass of the others carries no test for it.
template <bool kCoastalTargets>
bool PatrolRule(RuleContext& r, const PatrolShip& ship) {
  assert(ship.coastalTargets == kCoastalTargets);
  r.SetRadius(ship.radiusMoves * r.Moves(r.piece.type));
  // Copies: the compiler would read the fields afresh for every entry.
  const int homeRangeBelow = ship.homeRangeBelow, farSea = ship.farSea;
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    if (c.terrain == Terrain::Sea) {
      if (c.fighterRange < homeRangeBelow) return true;
      v = farSea;
    } else if (kCoastalTargets && r.ForeignPieceOn(c) && r.Cells().Coastal(r.g.world, i, j)) {
      v = 0;
    } else {
      v = kAvoid;
    }
    return false;
  });
  r.AddExploration<1, 2>(2);
  r.PaintDangerFrom(ship.danger);
  return true;
}

bool DestroyerRule(RuleContext& r) { return PatrolRule<kDestroyerPatrol.coastalTargets>(r, kDestroyerPatrol); }
bool BattleshipRule(RuleContext& r) { return PatrolRule<kBattleshipPatrol.coastalTargets>(r, kBattleshipPatrol); }
bool SubmarineRule(RuleContext& r) { return PatrolRule<kSubmarinePatrol.coastalTargets>(r, kSubmarinePatrol); }

// Stay where the bombers' bases are near and watch the unseen sea.
bool CarrierRule(RuleContext& r) {
  r.SetRadius(2 * r.Moves(PieceType::Carrier));
  r.CountSquares(2);
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    if (c.terrain != Terrain::Sea) {
      v = kAvoid;
      return;
    }
    v = r.counts->Unseen(i, j);
    if (c.bomberRange <= 12) v += 5 * c.bomberRange;
  });
  r.PaintDangerFrom(kCarrierDanger);
  return true;
}

int ArmiesAboard(const RuleContext& r) {
  int n = 0;
  r.g.occupancy.ForEachAt(r.g.pieces, r.piece.x, r.piece.y, [&](int, const PieceRecord& o) {
    if (o.type == PieceType::Army) ++n;
  });
  return n;
}

// How a land mass's coast counts for a loaded transport.
enum Landing : uint8_t { kNoLanding, kContestedLanding, kOpenLanding };

// Open land masses count, and contested ones with two or more armies aboard.
Landing LandingOf(int status, int aboard) {
  if (status == LandMassStatus::Contested && aboard > 1) return kContestedLanding;
  return status == LandMassStatus::Open ? kOpenLanding : kNoLanding;
}

// Sums of a per-cell share over the 3 x 3 square around every entry of a
// window, made by adding each cell with a share to the entries around it.
// Along the coasts few cells have a share (most are sea or count for
// nothing), so this costs far less than running sums over every cell.
class CoastSums {
 public:
  // share(const MapCell&) gives a cell's share, 0 for most. Returns every
  // share ORed.
  template <typename F>
  int32_t Fill(const Game& g, const WindowCells& cells, int radius, F&& share) {
    const int last = 2 * radius;
    // The squares of the edge entries reach one cell past the window, and
    // the cells there add to slots one past it too, which are never read.
    // Column by column, a whole stride each: a fixed size the compiler
    // writes with a few vector stores.
    for (int a = 0; a <= last + 2 * kPast; ++a)
      std::memset(sums_.data() + a * kValueMapStride, 0, kValueMapStride * sizeof(int32_t));
    // The columns in stretches whose cells lie side by side in a world row:
    // one, or two where the window wraps around the world's edge (more only
    // on a world narrower than the window). Most cells are sea, passed over
    // by a pointer along the stretch rather than a lookup of their column.
    const int columns = last + 3;
    const uint8_t* xs = cells.Xs(-1);  // xs[k] is X(k - 1)
    std::array<uint8_t, kValueMapSide + 4> starts;
    int stretches = 0;
    for (int k = 0; k < columns; ++k)
      if (k == 0 || xs[k] != xs[k - 1] + 1) starts[static_cast<std::size_t>(stretches++)] = static_cast<uint8_t>(k);
    starts[static_cast<std::size_t>(stretches)] = static_cast<uint8_t>(columns);
    int32_t all = 0;
    for (int j = -1; j <= last + 1; ++j) {
      const MapCell* row = cells.Row(g.world, j);
      for (int t = 0; t < stretches; ++t) {
        const int from = starts[static_cast<std::size_t>(t)], to = starts[static_cast<std::size_t>(t + 1)];
        const MapCell* cell = row + xs[from];
        auto add = [&](int k) {
          const int32_t s = share(cell[k - from]);
          if (s == 0) return;
          all |= s;
          int32_t* left = Slot(ValueMap::Index(k - 2, j - 1));  // entry [k - 2][j - 1], the square's first
          for (int d = 0; d < 3; ++d, left += kValueMapStride) {
            left[0] += s;
            left[1] += s;
            left[2] += s;
          }
        };
        int k = from;
        // Open sea four cells at a time: sea is 0, so the four terrains ORed
        // are sea only when each is.
        static_assert(Terrain::Sea == 0);
        for (; k + 4 <= to; k += 4) {
          const MapCell* c = cell + (k - from);
          if ((c[0].terrain | c[1].terrain | c[2].terrain | c[3].terrain) == Terrain::Sea) continue;
          add(k);
          add(k + 1);
          add(k + 2);
          add(k + 3);
        }
        for (; k < to; ++k) add(k);
      }
    }
    return all;
  }
  // The sum around the entry at ValueMap::Index(i, j).
  int32_t At(int index) const { return *Slot(index); }

 private:
  // Entries one past the window on every side get a slot, and the index of
  // entry [-1][-1] must not be negative.
  static constexpr int kPast = 2;
  static constexpr int kOrigin = kPast * kValueMapStride + kPast;
  int32_t* Slot(int index) { return sums_.data() + kOrigin + index; }
  const int32_t* Slot(int index) const { return sums_.data() + kOrigin + index; }
  std::array<int32_t, (kValueMapSide + 2 * kPast) * kValueMapStride> sums_;
};

// What an explored coast cell adds to the sea beside it, plus 1 << 16 when
// it counts at all, by [Landing of its mass][terrain][nothing but a city on
// it]: only land and cities count, and only on masses that count.
using LandingShares = std::array<std::array<std::array<int32_t, 2>, 4>, 3>;
constexpr LandingShares kLandingShare = [] {
  LandingShares t{};
  for (const int terrain : {Terrain::Land, Terrain::City})
    for (int free = 0; free < 2; ++free) {
      t[kContestedLanding][terrain][free] = (1 << 16) + (free ? 5 : 0) + (terrain == Terrain::City ? 100 : 0);
      t[kOpenLanding][terrain][free] = (1 << 16) + (terrain == Terrain::Land ? 50 : 1000);
    }
  return t;
}();

// A loaded transport: explore early, then seek the coasts of open land masses
// (and of contested ones with two or more armies aboard). True when some
// entry got a score this way.
bool ScoreLoadedTransport(RuleContext& r, int aboard) {
  const bool explore = aboard > 1 || r.g.state.day < 30;
  // How the coast of each land mass counts. Sea and each mass lie in long
  // stretches, which a test passes over cheaply, but the cells of a mass that
  // counts vary unpredictably: their shares are read from tables.
  // No cell lies on a mass above the count (the load check sees to it): the
  // slots past it stay kNoLanding and are not worked out.
  std::array<uint8_t, kLandMassSlots> landing{};
  bool anyMass = false;
  const int masses = r.g.settings.landMassCount;  // a copy: a byte written might be the count
  for (int m = 0; m <= masses; ++m) {
    landing[m] = LandingOf(r.g.landMasses[m].status, aboard);
    anyMass = anyMass || landing[m] != kNoLanding;
  }
  if (!explore && !anyMass) return false;  // no entry can score: the window need not even be opened
  r.SetRadius(4 * r.Moves(PieceType::Transport));
  if (explore) r.CountSquares(1);
  const int seen = r.bit;
  // The worth of the coast around each entry (at most 9 x 1000) in the low 16
  // bits, the number of coast cells that count (at most 9) above them.
  // Without a mass that counts, every coast is worth nothing and the table is not filled.
  CoastSums coasts;
  int32_t shares = 0;  // every share ORed: bit 16 tells whether any cell counts
  if (anyMass) {
    shares = coasts.Fill(r.g, r.Cells(), r.R(), [&](const MapCell& m) -> int32_t {
      if (m.terrain == Terrain::Sea) return 0;  // most cells: nothing more to read
      const int counts = landing[m.landMass];
      if (counts == kNoLanding) return 0;  // most of the rest
      const bool known = ((m.explored & seen) != 0) & (m.terrain <= Terrain::Mountain);
      const bool free = (m.topType == PieceType::None) | (m.topType == PieceType::City);
      const int32_t share = kLandingShare[counts][m.terrain & 3][free ? 1 : 0];
      return known ? share : 0;
    });
  }
  const bool anyQualifies = shares >= 1 << 16;
  if (!explore && !anyQualifies) return false;  // no entry can score this way
  // The counts read through a copy of their view: a score written might be
  // any int, so the compiler would read the table's shape afresh otherwise.
  const WindowSquareSums::View around = explore ? r.counts->Reader() : WindowSquareSums::View{};
  auto exploration = [&](int at, const MapCell& c) {
    // Unexplored in the low 8 bits, unseen above: times 3 x 256 + 1, bits 8
    // to 15 hold 3 x unexplored + unseen, which stays below 256 over 3 x 3 cells.
    const auto both = static_cast<unsigned>(around.At(at));
    return static_cast<int32_t>((both * (3 * 256 + 1) >> 8) & 0xFF) + c.bomberRange;
  };
  if (!anyQualifies) {  // then exploring: every entry scores that way alone
    r.ForEachEntry(
        [&](int i, int j, const MapCell& c, int32_t& v) { v = exploration(WindowSquareSums::Index(i, j), c); });
    return true;
  }
  // Sea and land alternate unpredictably along the coasts: the coast's worth
  // is read for every entry and kept for the sea only, without a branch.
  auto coastOf = [&](int at, const MapCell& c) {
    return coasts.At(at) & -static_cast<int32_t>(c.terrain == Terrain::Sea);
  };
  if (explore) {  // a pass of its own, so that the other carries no exploration
    r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
      const int at = WindowSquareSums::Index(i, j);
      v = exploration(at, c) + (coastOf(at, c) & 0xFFFF);
    });
    return true;
  }
  int32_t seaCoasts = 0;  // every sea entry's coast ORed: bit 16 and up tell whether any counts
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    const int32_t coast = coastOf(WindowSquareSums::Index(i, j), c);
    v = coast & 0xFFFF;
    seaCoasts |= coast;
  });
  return seaCoasts >= 1 << 16;
}

// Marks a neighbour that sets a returning transport's score afresh; above
// what all the other neighbours can add together.
constexpr int kFreshStart = 1 << 16;

// An empty (or idle) transport heads back toward the safe cities, above all
// to coasts where armies wait.
void ScoreReturningTransport(RuleContext& r) {
  r.SetRadius(2 * r.Moves(PieceType::Transport));
  // What a cell beside the sea gives it: a bonus on a secure land mass, a
  // fresh start at 5 on one being taken (which cancels what came before it).
  // Most cells are sea, passed over at once; along the coasts a land cell's
  // share is read from tables by its mass's status and taken or not without
  // a branch.
  enum Shore : uint8_t { kNoShare, kSecureShare, kFreshShare };
  std::array<uint8_t, kLandMassSlots> shoreOf{};  // kNoShare past the count
  const int masses = r.g.settings.landMassCount;  // no cell lies on a mass above it
  for (int m = 0; m <= masses; ++m) {
    const int status = r.g.landMasses[m].status;
    shoreOf[m] = status == LandMassStatus::Secure       ? kSecureShare
                 : status == LandMassStatus::BeingTaken ? kFreshShare
                                                        : kNoShare;
  }
  // By [Shore][an army on the cell].
  static constexpr int32_t kShare[3][2] = {{0, 0}, {10, 200}, {kFreshStart, kFreshStart}};
  const int player = r.player;  // a copy: the sums written might be any int
  auto share = [&](const MapCell& m) -> int32_t {
    if (m.terrain == Terrain::Sea) return 0;
    const int32_t worth = kShare[shoreOf[m.landMass]][m.topType == PieceType::Army ? 1 : 0];
    return worth & -static_cast<int32_t>(m.topOwner == player);
  };
  // The bonuses (at most 9 x 200) and the fresh starts around every entry at
  // once: without a fresh start, the order of the neighbours does not matter.
  WindowSquareSums shore(1);
  shore.Fill(r.g, r.Cells(), r.R(), share);
  r.ForEachEntry([&](int i, int j, const MapCell& c, int32_t& v) {
    if (c.terrain != Terrain::Sea) {
      v = kAvoid;
      return;
    }
    v = -c.safeCityRange;
    const int32_t around = shore.At(i, j);
    if (around < kFreshStart) {
      v += around;
      return;
    }
    r.ForEachAround(i, j, 1, [&](const MapCell& m) {
      const int add = share(m);
      if (add == kFreshStart)
        v = 5;
      else
        v += add;
    });
  });
}

bool TransportRule(RuleContext& r) {
  int aboard = ArmiesAboard(r);
  if (aboard == 0 || !ScoreLoadedTransport(r, aboard)) ScoreReturningTransport(r);
  r.PaintDangerFrom(kTransportDanger);
  return true;
}

using PieceRule = bool (*)(RuleContext&);
constexpr PieceRule kPieceRules[kTypeCount] = {
    nullptr,        ArmyRule,    DestroyerRule, FighterRule,   BomberRule,
    BattleshipRule, CarrierRule, SubmarineRule, TransportRule, ParaRule,
};

}  // namespace

bool ApplyPieceRule(Game& g, int piece, DecisionWindow& window) {
  RuleContext r(g, piece, window);  // no braces: the counts' storage stays unzeroed
  const int type = g.pieces[piece].type;
  PieceRule rule = type < kTypeCount ? kPieceRules[type] : nullptr;
  if (rule == nullptr) {  // nothing to decide: every entry stays 0, the piece stays
    r.SetRadius(1);
    r.ForEachEntry([](int, int, const MapCell&, int32_t&) {});
    return true;
  }
  return rule(r);
}

void PaintDanger(ValueMap& map, int a, int b, int k) {
  const int R = map.radius, last = 2 * map.radius;
  auto range = [&](int centre, int& from, int& to) {
    from = 0;
    to = last;
    if (centre < R) to = centre + k;
    if (centre > R) from = centre - k;
    if (from < 0) from = 0;
    if (to > last) to = last;
  };
  int i0, i1, j0, j1;
  range(a, i0, i1);
  range(b, j0, j1);
  // Spans of eight, or of four, which the compiler writes with vector
  // stores; the last span overlaps those before it rather than leave a rest
  // to write entry by entry.
  const int span = j1 - j0 + 1;
  for (int i = i0; i <= i1; ++i) {
    int32_t* row = &map.At(i, j0);
    if (span >= 8) {
      for (int j = 0; j + 8 <= span; j += 8)
        for (int k = 0; k < 8; ++k) row[j + k] = kThreatened;
      for (int k = 0; k < 8; ++k) row[span - 8 + k] = kThreatened;
    } else if (span >= 4) {
      for (int k = 0; k < 4; ++k) row[k] = kThreatened;
      for (int k = 0; k < 4; ++k) row[span - 4 + k] = kThreatened;
    } else {
      for (int j = 0; j < span; ++j) row[j] = kThreatened;
    }
  }
}

ExplorationCounts::ExplorationCounts(const Game& g, const WindowCells& cells, int iLo, int iHi, int jLo, int jHi, int r,
                                     int player)
    : sums_(r) {
  const auto bit = static_cast<unsigned>(g.state.playerBit[player]);
  assert(std::has_single_bit(bit) && bit <= 0x80);  // 1 << player: the load check refuses any other
  // Both flags of the player, inverted, from the two bytes side by side, shifted to bits 0 and 8.
  const int shift = std::countr_zero(bit);
  sums_.Fill(g, cells, iLo, iHi, jLo, jHi, [shift](const MapCell& c) {
    const unsigned flags = static_cast<unsigned>(c.explored) | static_cast<unsigned>(c.visible) << 8;
    return static_cast<int32_t>((~flags >> shift) & 0x0101u);
  });
}

template <typename Test>
static int CountInSquare(const Game& g, int x, int y, int r, Test test) {
  int n = 0;
  for (int dx = -r; dx <= r; ++dx) {
    int cx = WrapX(g.settings, x + dx);
    for (int dy = -r; dy <= r; ++dy)
      if (test(g.world.At(cx, WrapY(g.settings, y + dy)))) ++n;
  }
  return n;
}

int CountUnexplored(const Game& g, int player, int x, int y, int r) {
  const int bit = g.state.playerBit[player];
  return CountInSquare(g, x, y, r, [bit](const MapCell& c) { return (c.explored & bit) == 0; });
}

int CountUnseen(const Game& g, int player, int x, int y, int r) {
  const int bit = g.state.playerBit[player];
  return CountInSquare(g, x, y, r, [bit](const MapCell& c) { return (c.visible & bit) == 0; });
}

bool IsNearestArmy(const Game& g, int army, int x, int y) {
  const PieceRecord& a = g.pieces[army];
  const int landMass = g.world.At(a.Pos()).landMass;
  const int distance = WrapDistance(g.settings, a.x, a.y, x, y);
  for (int i = 0; i < kPieceSlots; ++i) {
    const PieceRecord& o = g.pieces[i];
    if (i == army || o.type != PieceType::Army || o.owner != a.owner) continue;
    const MapCell& under = g.world.At(o.Pos());
    if (under.terrain == Terrain::Sea || under.landMass != landMass) continue;
    if (WrapDistance(g.settings, o.x, o.y, x, y) < distance) return false;
  }
  return true;
}

namespace {

// A city always shows on top of its cell.
bool OwnCityOn(const MapCell& c, int owner) { return c.topType == PieceType::City && c.topOwner == owner; }

// Bit i of a word for every entry [i][j] of row j next to an own city.
using PortRows = std::array<uint64_t, kValueMapSide>;

// Marks the entries next to the owner's cities, found from their records
// rather than over the window's cells: a city always shows on top of its
// cell, and the table is shorter than the window with its margin is wide. A
// city lies at column k of the window with its margin (entry column k - 1)
// and row j, and at each copy of those where the window wraps onto itself on
// a small world.
void MarkPorts(const Game& g, const WindowCells& cells, int last, int owner, PortRows& nearPort) {
  const uint64_t inWindow = (uint64_t{2} << last) - 1;
  const int left = cells.X(-1), top = cells.Y(-1), width = g.Width(), height = g.Height();
  for (const PieceRecord& city : g.pieces.slots) {
    if (city.type != PieceType::City || city.owner != owner) continue;
    for (int k = Wrap(city.x - left, width); k <= last + 2; k += width) {
      const uint64_t columns = ((uint64_t{7} << k) >> 2) & inWindow;  // entries k - 2 .. k
      for (int j = Wrap(city.y - top, height) - 1; j <= last + 1; j += height)
        for (int e = std::max(j - 1, 0); e <= std::min(j + 1, last); ++e)
          nearPort[static_cast<std::size_t>(e)] |= columns;
    }
  }
}

// Adds 2000 to every sea entry with a city of the owner on it or next to it.
// Own cities are few: one scan finds them and each marks the entries around
// it, which costs less than sums over every entry.
void AddPortBonus(const Game& g, const WindowCells& cells, ValueMap& map, int owner) {
  const int last = 2 * map.radius;  // at most 40: an entry row fits in a word
  PortRows nearPort{};
  MarkPorts(g, cells, last, owner, nearPort);
  for (int j = 0; j <= last; ++j) {
    const MapCell* row = cells.Row(g.world, j);
    for (uint64_t bits = nearPort[static_cast<std::size_t>(j)]; bits != 0; bits &= bits - 1) {
      const int i = std::countr_zero(bits);
      if (row[cells.X(i)].terrain == Terrain::Sea) map.At(i, j) += 2000;
    }
  }
}

}  // namespace

void ShipRepairBias(const Game& g, int ship, DecisionWindow& window) {
  const PieceRecord& s = g.pieces[ship];
  if (s.strength >= 85) return;
  ValueMap& map = window.map;
  const int R = map.radius;
  const WindowCells& cells = *window.cells;
  auto entry = [&](int i, int j) -> const MapCell& { return cells.Cell(g.world, i, j); };
  // In port: an own city on the ship's cell or next to it, as the window's
  // cells show it (wrapped as the window is), rather than from the whole table.
  bool inPort = false;
  for (int i = R - 1; i <= R + 1; ++i)
    for (int j = R - 1; j <= R + 1; ++j) inPort = inPort || OwnCityOn(entry(i, j), s.owner);
  if (inPort) {
    for (int i = R - 1; i <= R + 1; ++i)
      for (int j = R - 1; j <= R + 1; ++j) {
        const MapCell& c = entry(i, j);
        if (c.topType != PieceType::None && c.topType != PieceType::City && c.topOwner != s.owner) map.At(i, j) += 1000;
      }
    map.At(R, R) += 500;
  } else if (s.strength < 60) {
    AddPortBonus(g, cells, map, s.owner);
  }
}

}  // namespace vortan
