// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games played through the turn loop by two human players whose only
// orders are go-to clicks, as the map view gives them. After every step the
// invariants of the records must hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

#include "game/turn_loop.h"
#include "rules/invariants.h"
#include "rules/production.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

const std::vector<std::string> kArchipelago = {
    "..............................", "..++*++++.........+++++.......", "..+++++++.........+*+++.......",
    "..++*++++........++++*+.......", "..+++^+++........+++++++......", "...++++*.........++*+++.......",
    "..............................", "..........+++*+...............", "..........++++^...............",
    "..............................", "....++*+..........++++*+......", "....++++..........+++++.......",
    "..............................", "..............................",
};
constexpr MapPos kStarts[] = {{3, 2}, {20, 3}};

// The human side: a click on a cell near the piece, often a city or an enemy;
// in the City dialog, a production drawn from a list weighted toward armies
// and transports (the first city builds the armies that take the others).
class ClickingPlayers : public PresentationHooks {
 public:
  ClickingPlayers(Game& g, uint32_t seed) : g_(g), rng_(seed) {}

  void ShowCityDialog(int city) override {
    static constexpr uint8_t kChoices[] = {PieceType::Army,      PieceType::Army,      PieceType::Transport,
                                           PieceType::Transport, PieceType::Fighter,   PieceType::Destroyer,
                                           PieceType::Bomber,    PieceType::Para,      PieceType::Battleship,
                                           PieceType::Carrier,   PieceType::Submarine, PieceType::Army};
    g_.pieces[city].production = g_.state.day == 1 ? uint8_t{PieceType::Army} : kChoices[Draw(std::size(kChoices))];
    ResetBuildTime(g_, city);
  }

  // A few orders per piece and day, then Finished.
  void Act() {
    const int i = g_.state.currentPiece;
    PieceRecord& p = g_.pieces[i];
    if (!CanMove(g_, i) || p.state != PieceState::AwaitingOrders) return;
    if (i != lastPiece_ || g_.state.day != lastDay_) orders_ = 0;
    lastPiece_ = i;
    lastDay_ = g_.state.day;
    const MapPos dest = ++orders_ > 3 ? p.Pos() : PickTarget(p);
    if (dest == p.Pos()) p.movesLeft = 0;
    p.destX = dest.x;
    p.destY = dest.y;
    p.state = PieceState::Ready;
  }

 private:
  MapPos PickTarget(const PieceRecord& p) {
    if (Draw(2) == 0) {
      std::vector<MapPos> targets;
      for (int dx = -8; dx <= 8; ++dx)
        for (int dy = -8; dy <= 8; ++dy) {
          const MapPos c = WrapPos(g_.settings, p.x + dx, p.y + dy);
          const MapCell& cell = g_.world.At(c);
          if (cell.terrain == Terrain::City || (cell.topType != PieceType::None && cell.topOwner != p.owner))
            targets.push_back(c);
        }
      if (!targets.empty()) return targets[Draw(targets.size())];
    }
    return WrapPos(g_.settings, p.x + Draw(11) - 5, p.y + Draw(11) - 5);
  }
  int Draw(std::size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng_); }

  Game& g_;
  std::mt19937 rng_;
  int lastPiece_ = -1, lastDay_ = -1, orders_ = 0;
};

struct Outcome {
  int steps = 0, day = 0, cities = 0;
  bool won = false;
  std::vector<uint8_t> records;
};

Outcome Play(uint32_t seed, int days) {
  Game g;
  test::BuildWorld(g, kArchipelago);
  g.settings.kind[1] = PlayerKind::Human;
  g.state.moveMemory[1] = 0;  // one player keeps its orders, the other clicks afresh each turn
  g.app.fileFolder = std::filesystem::temp_directory_path().string();  // where the weekly saves go
  for (int p = 0; p < 2; ++p) {
    const MapPos s = kStarts[p];
    test::AddCity(g, p, s.x, s.y);
    ForEachInBlock3(g.settings, s.x, s.y, [&](int x, int y) {
      g.world.At(x, y).explored |= static_cast<uint8_t>(1 << p);
      g.world.At(x, y).visible |= static_cast<uint8_t>(1 << p);
    });
    g.state.homeX[p] = g.state.savedViewX[p] = s.x;
    g.state.homeY[p] = g.state.savedViewY[p] = s.y;
  }
  EXPECT_EQ(CheckInvariants(g), "");
  ClickingPlayers players(g, seed);
  g.hooks = &players;
  Outcome out;
  constexpr int kStepLimit = 400000;
  while (g.state.gameActive == 1 && g.state.day <= days && out.steps < kStepLimit) {
    AdvanceGame(g);
    ++out.steps;
    const std::string broken = CheckInvariants(g);
    if (!broken.empty()) {
      ADD_FAILURE() << "seed " << seed << ", step " << out.steps << ", day " << g.state.day << ": " << broken;
      break;
    }
    players.Act();
  }
  EXPECT_LT(out.steps, kStepLimit) << "the game stopped advancing";
  out.day = g.state.day;
  out.won = g.state.gameActive == 0;
  for (const PieceRecord& r : g.pieces.slots) out.cities += r.type == PieceType::City;
  out.records.resize(kPieceTableBytes + kWorldBytes + kStateBytes);
  EncodePieces(g.pieces, out.records.data());
  EncodeWorld(g.world, out.records.data() + kPieceTableBytes);
  EncodeState(g.state, out.records.data() + kPieceTableBytes + kWorldBytes);
  return out;
}

TEST(RulesGame, GoToOrdersPlayManyTurnsWithTheRecordsIntactAndTheSameClicksPlayTheSameGame) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const Outcome out = Play(seed, 150);
    EXPECT_TRUE(out.day > 150 || out.won) << "seed " << seed << " stopped on day " << out.day;
    EXPECT_GT(out.cities, 2) << "seed " << seed << ": no city was ever taken";
  }
  const Outcome a = Play(7, 30), b = Play(7, 30);
  EXPECT_EQ(a.steps, b.steps);
  EXPECT_TRUE(a.records == b.records);
}

}  // namespace
}  // namespace vortan
