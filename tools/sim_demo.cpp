// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim demo and play: computer-only games without a window. The game
// runs through AdvanceGame exactly as the idle loop of the application drives
// it, with hooks that do nothing, so a seed always gives the same game.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "game/game_start.h"
#include "game/turn_loop.h"
#include "model/game.h"
#include "model/piece_types.h"
#include "persist/saved_game.h"
#include "tools/sim_commands.h"
#include "worldgen/new_game.h"

namespace vortan::sim {
namespace {

constexpr uint64_t kDefaultMaxSteps = 20'000'000;
constexpr int kExitFailed = 1;
// Saves during a played game go nowhere: the rules still do everything a save
// does to the records, but no file beside the input (or anywhere) is written.
constexpr const char* kNoSaveFile = "/dev/null";

constexpr Option kDemoOptions[] = {
    {"--seed", "S", "state of the random generator", true, true, 0, 4294967295LL},
    {"--days", "D", "stop at the start of this day", true, true, 0, 2147483647},
    {"--max-steps", "M", "stop after this many steps (default 20000000)", false, true, 0, 9223372036854775807LL},
    {"--trace", "FILE", "write one line per step"},
    {"--out", "FILE.gam", "the final game", true},
};
constexpr Option kPlayOptions[] = {
    {"--in", "FILE.gam", "the saved game to play on", true},
    {"--seed", "S", "state of the random generator", true, true, 0, 4294967295LL},
    {"--days", "D", "stop at the start of this day", true, true, 0, 2147483647},
    {"--max-steps", "M", "stop after this many steps (default 20000000)", false, true, 0, 9223372036854775807LL},
    {"--trace", "FILE", "write one line per step"},
    {"--out", "FILE2.gam", "the final game", true},
};

struct RunOptions {
  std::string in, out, trace;
  uint32_t seed = 0;
  int days = 0;
  uint64_t maxSteps = kDefaultMaxSteps;
};

RunOptions ReadOptions(const ParsedArgs& args) {
  RunOptions o;
  o.in = args.Text("--in");
  o.out = args.Text("--out");
  o.trace = args.Text("--trace");
  o.seed = static_cast<uint32_t>(args.Number("--seed"));
  o.days = static_cast<int>(args.Number("--days"));
  o.maxSteps = static_cast<uint64_t>(args.Number("--max-steps", kDefaultMaxSteps));
  return o;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using TraceFile = std::unique_ptr<std::FILE, FileCloser>;

void WriteTraceLine(std::FILE* f, uint64_t step, const Game& g) {
  const int current = g.state.currentPiece;
  const PieceRecord& p = g.pieces[current >= 0 && current < kPieceSlots ? current : 0];
  std::fprintf(f, "%llu %d %d %d %d %d %d %d %d %08x\n", static_cast<unsigned long long>(step), g.state.day,
               g.state.currentPlayer, current, p.type, p.x, p.y, p.state, p.movesLeft, g.rng.State());
}

// The one player left, or -1 while the game goes on or when nobody is left.
int Winner(const Game& g) {
  if (g.state.gameActive == 1) return -1;
  int winner = -1, left = 0;
  for (int p = 0; p < kPlayerCount; ++p)
    if (g.settings.kind[p] != PlayerKind::Out && g.state.eliminated[p] == 0) {
      winner = p;
      ++left;
    }
  return left == 1 ? winner : -1;
}

// Calls AdvanceGame until the game ends, the day limit is reached or the
// step budget is spent, then writes the four records as they stand.
int RunGame(Game& g, const RunOptions& o) {
  TraceFile trace;
  if (!o.trace.empty()) {
    trace.reset(std::fopen(o.trace.c_str(), "w"));
    if (!trace) {
      std::fprintf(stderr, "vortan-sim: cannot write the trace file '%s'\n", o.trace.c_str());
      return kExitFailed;
    }
  }
  // Process CPU time is the figure that means something on a busy machine;
  // wall-clock time follows it for comparison.
  const std::clock_t cpuStart = std::clock();
  const auto start = std::chrono::steady_clock::now();
  uint64_t steps = 0;
  do {
    AdvanceGame(g);
    ++steps;
    if (trace) WriteTraceLine(trace.get(), steps, g);
  } while (g.state.gameActive == 1 && g.state.day < o.days && steps < o.maxSteps);
  const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  trace.reset();

  if (!WriteGameToPath(g, o.out)) {
    std::fprintf(stderr, "vortan-sim: cannot write '%s'\n", o.out.c_str());
    return kExitFailed;
  }
  const int winner = Winner(g);
  std::printf("steps %llu day %d winner %s time %.3f s wall %.3f s\n", static_cast<unsigned long long>(steps),
              g.state.day, winner < 0 ? "none" : kPlayerNames[winner], cpuSeconds, wallSeconds);
  return 0;
}

// A program as it starts, with the default piece attributes, no sound and no
// Next Player prompt: every hook does nothing.
std::unique_ptr<Game> FreshSilentProgram() {
  auto g = std::make_unique<Game>();
  ResetToProgramStart(*g);
  ApplyDefaultPieceAttributes(g->settings);
  g->app.soundMode = SoundMode::None;
  g->app.promptOnNewHuman = false;
  return g;
}

int RunDemo(const ParsedArgs& args) {
  const RunOptions o = ReadOptions(args);
  std::unique_ptr<Game> g = FreshSilentProgram();
  g->rng.SetState(o.seed);
  DemoCommand(*g);
  return RunGame(*g, o);
}

int RunPlay(const ParsedArgs& args) {
  const RunOptions o = ReadOptions(args);
  std::unique_ptr<Game> g = FreshSilentProgram();
  if (!LoadGameFromPath(*g, o.in)) {
    std::fprintf(stderr, "vortan-sim: '%s' is not a game file that can be loaded\n", o.in.c_str());
    return kExitRefused;
  }
  RecountCities(*g);
  g->app.fileName = kNoSaveFile;
  g->app.fileFolder.clear();
  for (int p = 0; p < kPlayerCount; ++p)
    if (IsHumanPlayer(*g, p)) g->state.autoPlay[p] = 1;
  g->rng.SetState(o.seed);
  SetUpGameView(*g);
  g->app.promptOnNewHuman = false;  // with several humans the view set-up would check it
  return RunGame(*g, o);
}

}  // namespace

const Command kDemoCommand{"demo", "play a demonstration game of six computers on 40 x 40", "", 0, kDemoOptions,
                           RunDemo};
const Command kPlayCommand{"play", "load a game and play it on, human players on auto play", "", 0, kPlayOptions,
                           RunPlay};

}  // namespace vortan::sim
