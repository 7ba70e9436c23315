// Whole games played through the turn loop by two human players whose only
// orders are go-to clicks, as the map view gives them. After every step the
// invariants of the records must hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

#include "rules/invariants.h"
#include "rules/production.h"
#include "rules/turn_loop.h"
#include "support/world_picture.h"

namespace vortan {
namespace {

const std::vector<std::string> kArchipelago = {
    "..............................",
    "..++*++++.........+++++.......",
    "..+++++++.........+*+++.......",
    "..++*++++........++++*+.......",
    "..+++^+++........+++++++......",
    "...++++*.........++*+++.......",
    "..............................",
    "..........+++*+...............",
    "..........++++^...............",
    "..............................",
    "....++*+..........++++*+......",
    "....++++..........+++++.......",
    "..............................",
    "..............................",
};

struct Player {
  int x, y;
};
constexpr Player kStarts[] = {{3, 2}, {20, 3}};

// The human side: a click on a cell near the piece, often a city or an enemy;
// in the City dialog, a production drawn from a list weighted toward armies
// and transports (the start city builds armies).
class ClickingPlayers : public PresentationHooks {
 public:
  explicit ClickingPlayers(Game& g, uint32_t seed) : g_(g), rng_(seed) {}

  void ShowCityDialog(int city) override {
    static constexpr uint8_t kChoices[] = {PieceType::Army,      PieceType::Army,      PieceType::Transport,
                                           PieceType::Transport, PieceType::Fighter,   PieceType::Destroyer,
                                           PieceType::Bomber,    PieceType::Para,      PieceType::Battleship,
                                           PieceType::Carrier,   PieceType::Submarine, PieceType::Army};
    const bool firstCity = g_.state.day == 1;  // the first city makes the armies that take the others
    g_.pieces[city].production = firstCity ? PieceType::Army : kChoices[Draw(static_cast<int>(std::size(kChoices)))];
    ResetBuildTime(g_, city);
  }

  void Act() {
    Game& g = g_;
    const int i = g.state.currentPiece;
    PieceRecord& p = g.pieces[i];
    if (!CanMove(g, i) || p.state != PieceState::AwaitingOrders) return;
    if (i != lastPiece_ || g.state.day != lastDay_) orders_ = 0;
    lastPiece_ = i;
    lastDay_ = g.state.day;
    if (++orders_ > kOrdersPerPiece) {  // Finished
      p.movesLeft = 0;
      p.state = PieceState::Ready;
      p.destX = p.x;
      p.destY = p.y;
      return;
    }
    const MapPos dest = PickTarget(g, p);
    p.destX = dest.x;
    p.destY = dest.y;
    p.state = PieceState::Ready;
  }

 private:
  static constexpr int kOrdersPerPiece = 3;

  MapPos PickTarget(const Game& g, const PieceRecord& p) {
    if (Draw(2) == 0) {
      std::vector<MapPos> targets;
      for (int dx = -8; dx <= 8; ++dx)
        for (int dy = -8; dy <= 8; ++dy) {
          const MapPos c = WrapPos(g.settings, p.x + dx, p.y + dy);
          const MapCell& cell = g.world.At(c);
          if (cell.terrain == Terrain::City || (cell.topType != PieceType::None && cell.topOwner != p.owner))
            targets.push_back(c);
        }
      if (!targets.empty()) return targets[Draw(static_cast<int>(targets.size()))];
    }
    return WrapPos(g.settings, p.x + Draw(11) - 5, p.y + Draw(11) - 5);
  }
  int Draw(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  Game& g_;
  std::mt19937 rng_;
  int lastPiece_ = -1;
  int lastDay_ = -1;
  int orders_ = 0;
};

struct Outcome {
  int steps = 0;
  int day = 0;
  int cities = 0;
  bool won = false;
  std::vector<uint8_t> records;
};

Outcome Play(uint32_t seed, int days) {
  Game g;
  test::BuildWorld(g, kArchipelago);
  g.settings.kind[1] = PlayerKind::Human;
  g.state.moveMemory[1] = 0;
  g.app.fileFolder = std::filesystem::temp_directory_path().string();  // where the weekly saves go  // one player keeps its orders, the other clicks afresh each turn
  for (int p = 0; p < 2; ++p) {
    test::AddCity(g, p, kStarts[p].x, kStarts[p].y);
    ForEachInBlock3(g.settings, kStarts[p].x, kStarts[p].y, [&](int x, int y) {
      g.world.At(x, y).explored |= static_cast<uint8_t>(1 << p);
      g.world.At(x, y).visible |= static_cast<uint8_t>(1 << p);
    });
    g.state.homeX[p] = g.state.savedViewX[p] = static_cast<int16_t>(kStarts[p].x);
    g.state.homeY[p] = g.state.savedViewY[p] = static_cast<int16_t>(kStarts[p].y);
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

TEST(RulesGame, GoToOrdersPlayManyTurnsWithTheRecordsIntact) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const Outcome out = Play(seed, 150);
    EXPECT_TRUE(out.day > 150 || out.won) << "seed " << seed << " stopped on day " << out.day;
    EXPECT_GT(out.cities, 2) << "seed " << seed << ": no city was ever taken";
  }
}

TEST(RulesGame, TheSameClicksPlayTheSameGame) {
  const Outcome a = Play(7, 30);
  const Outcome b = Play(7, 30);
  EXPECT_EQ(a.steps, b.steps);
  EXPECT_TRUE(a.records == b.records);
}

}  // namespace
}  // namespace vortan
