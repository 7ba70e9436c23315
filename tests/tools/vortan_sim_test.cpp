// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim as a program: whole games checked against the golden files in
// tests/golden/ (see the README there), identical replays, the step trace, and
// the piece attributes it reports, and its command line: help, version and
// one-line errors. The only test that starts vortan-sim.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "vortan/version.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

using test::ReadText;

struct SimResult {
  int exitCode = -1;
  std::string output, err;  // output: stdout, with stderr too unless kept apart in err
};

// Runs a shell command in `folder`, its standard error with its output or apart.
SimResult RunShell(const std::string& command, const fs::path& folder, bool apart) {
  const std::string streams = apart ? " >stdout.txt 2>stderr.txt" : " >stdout.txt 2>&1";
  const int status = std::system(("cd '" + folder.string() + "' && " + command + streams).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(folder / "stdout.txt"),
          apart ? ReadText(folder / "stderr.txt") : ""};
}

SimResult RunSim(const std::string& arguments, const fs::path& folder, bool apart = false) {
  return RunShell("'" VORTAN_SIM_PATH "' " + arguments, folder, apart);
}

std::vector<std::string> ReadLines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A fresh folder per test, kept when the test fails.
struct SimFolder : ::testing::Test {
  test::ScratchFolder scratch;
  const fs::path dir = scratch.path;
  void TearDown() override { scratch.keep = HasFailure(); }
};

// --- Whole games against the golden files ---

// The first 16 hex digits of the SHA-256, as `sha256sum | cut -c1-16` prints them.
std::string ShortHash(const std::string& bytes, const fs::path& dir) {
  std::ofstream(dir / "hashed.bin", std::ios::binary) << bytes;
  return RunShell("sha256sum hashed.bin | cut -c1-16", dir, true).output.substr(0, 16);
}

// The value following `option` in a command line, or "" without it.
std::string OptionValue(const std::string& arguments, const std::string& option) {
  std::smatch m;
  return std::regex_search(arguments, m, std::regex(option + " (\\S+)")) ? m[1].str() : "";
}

// One golden line for one vortan-sim run: what it printed and wrote, hashed.
// demo and play: exit code, saved file, trace and the printout without its
// time figure; new: the file only; info: its printout.
std::string GoldenLine(const std::string& label, const std::string& arguments, const fs::path& dir) {
  const SimResult r = RunSim(arguments, dir);
  std::string line = label + " rc=" + std::to_string(r.exitCode);
  const std::string command = arguments.substr(0, arguments.find(' '));
  if (command == "info") return line + " " + ShortHash(r.output, dir);
  line += " out=" + ShortHash(ReadText(dir / OptionValue(arguments, "--out")), dir);
  if (command == "new") return line;
  const std::string printout = std::regex_replace(r.output, std::regex(" time[^\n]*"), "");
  return line + " trace=" + ShortHash(ReadText(dir / OptionValue(arguments, "--trace")), dir) +
         " stdout=" + ShortHash(printout, dir);
}

struct GoldenRun {
  const char* label;
  const char* arguments;
};

// Runs that share a folder, in order (a play continues the set-up `new` wrote).
struct GoldenGame {
  const char* name;  // the golden file is tests/golden/<name>.txt
  std::vector<GoldenRun> runs;
};

void PrintTo(const GoldenGame& game, std::ostream* os) { *os << game.name; }

// Short, finished or day-limited games, chosen so that all of them take a few
// seconds. The labels and arguments are those of the reference run list, so
// the lines can be compared with it directly.
const std::vector<GoldenGame> kGoldenGames = {
    {"demo3", {{"demo3", "demo --seed 3 --days 400 --trace t.txt --out o.gam"}}},
    {"demo4", {{"demo4", "demo --seed 4 --days 400 --trace t.txt --out o.gam"}}},
    {"demo4242", {{"demo4242", "demo --seed 4242 --days 400 --trace t.txt --out o.gam"}}},
    {"setup3",
     {{"new3", "new --seed 3 --size 30 --land 1 --difficulty 0 --players HHOOOO --out n3.gam"},
      {"info3", "info n3.gam"},
      {"play3", "play --in n3.gam --seed 39 --days 120 --trace pt.txt --out p3.gam"}}},
    {"setup4",
     {{"new4", "new --seed 11 --size 40 --land 1 --difficulty 2 --players CHCHCH --out n4.gam"},
      {"info4", "info n4.gam"},
      {"play4", "play --in n4.gam --seed 52 --days 120 --trace pt.txt --out p4.gam"}}},
    {"setup5",
     {{"new5", "new --seed 5 --size 45 --land 3 --difficulty 1 --players HCOOOO --out n5.gam"},
      {"info5", "info n5.gam"},
      {"play5", "play --in n5.gam --seed 65 --days 120 --trace pt.txt --out p5.gam"}}},
    // Worlds at the edges of the set-up choices: the largest seed, no land
    // option, the human in the middle of the player list.
    {"new_edges",
     {{"new_seed_max", "new --seed 4294967295 --size 70 --land 4 --difficulty 3 --players CHCHCH --out a.gam"},
      {"new_land0", "new --seed 77 --size 40 --land 0 --difficulty 0 --players OOHOOC --out b.gam"},
      {"new_small", "new --seed 1 --size 50 --land 2 --difficulty 1 --players HCOOOO --out c.gam"}}},
};

const char* const kFieldMeaning[][2] = {{"rc", "the exit code"},
                                        {"out", "the saved game file"},
                                        {"trace", "the step trace"},
                                        {"stdout", "the printed summary"}};

// Words for what differs between a golden line and the one produced.
std::string Differences(const std::string& expected, const std::string& actual) {
  const auto fields = [](const std::string& line) {
    std::map<std::string, std::string> f;
    std::istringstream words(line);
    std::string word;
    for (words >> word; words >> word;) {
      const auto eq = word.find('=');
      f[eq == std::string::npos ? "stdout" : word.substr(0, eq)] = word.substr(eq + 1);
    }
    return f;
  };
  const auto want = fields(expected), got = fields(actual);
  std::vector<std::string> differing;
  for (const auto& [key, meaning] : kFieldMeaning)
    if (want.count(key) != got.count(key) || (want.count(key) && want.at(key) != got.at(key)))
      differing.push_back(meaning);
  if (differing.empty()) return "the line differs";
  std::string text = differing[0];
  for (size_t i = 1; i < differing.size(); ++i) text += (i + 1 == differing.size() ? " and " : ", ") + differing[i];
  return text + (differing.size() == 1 ? " differs" : " differ");
}

bool UpdatingGoldenFiles() {
  const char* update = std::getenv("VORTAN_UPDATE_GOLDEN");
  return update && std::string(update) == "1";
}

class WholeGame : public SimFolder, public ::testing::WithParamInterface<GoldenGame> {};

TEST_P(WholeGame, PlaysOutExactlyAsTheGoldenFileRecords) {
  const fs::path golden = fs::path(VORTAN_GOLDEN_DIR) / (std::string(GetParam().name) + ".txt");
  std::vector<std::string> produced;
  for (const GoldenRun& run : GetParam().runs) produced.push_back(GoldenLine(run.label, run.arguments, dir));

  if (UpdatingGoldenFiles()) {
    std::ofstream out(golden);
    for (const std::string& line : produced) out << line << '\n';
    ASSERT_TRUE(out.good()) << "could not write " << golden;
    return;
  }
  ASSERT_TRUE(fs::exists(golden)) << "no golden file " << golden
                                  << "; run this test with VORTAN_UPDATE_GOLDEN=1 to write it";
  const std::vector<std::string> expected = ReadLines(golden);
  ASSERT_EQ(expected.size(), produced.size()) << golden << " has a different number of runs than the test";
  for (size_t i = 0; i < produced.size(); ++i)
    EXPECT_EQ(produced[i], expected[i]) << GetParam().runs[i].label << ": " << Differences(expected[i], produced[i])
                                        << " for `vortan-sim " << GetParam().runs[i].arguments
                                        << "`; the outputs are kept in " << dir
                                        << ". If the change is intended, rerun with VORTAN_UPDATE_GOLDEN=1 and commit "
                                        << golden;
}

INSTANTIATE_TEST_SUITE_P(Golden, WholeGame, ::testing::ValuesIn(kGoldenGames),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The trace ---

// The trace has one line a step, ending on the summary's day; --max-steps
// stops a run; the seed matters. (That one seed plays the same game every
// time is what the golden games check, on every run.)
TEST_F(SimFolder, TheTraceHasALineAStepAndMaxStepsEndsARun) {
  const SimResult run = RunSim("demo --seed 11 --days 40 --trace a.txt --out a.gam", dir);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(ReadText(dir / "a.gam").size(), 66964u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.output, m,
                               std::regex(R"(steps (\d+) day (\d+) winner \w+ time [0-9.]+ s wall [0-9.]+ s\n)")))
      << run.output;
  const std::vector<std::string> lines = ReadLines(dir / "a.txt");
  ASSERT_EQ(std::to_string(lines.size()), m[1].str()) << "one trace line a step";
  const std::string day = m[2];
  const std::regex kLine(R"((\d+) (\d+) [0-5] \d+ (\d|10) \d+ \d+ [0-3] -?\d+ [0-9a-f]{8})");
  ASSERT_TRUE(std::regex_match(lines.back(), m, kLine)) << lines.back();
  EXPECT_EQ(m[1].str() + " " + m[2].str(), std::to_string(lines.size()) + " " + day);

  ASSERT_EQ(RunSim("demo --seed 12 --days 40 --max-steps 2000 --trace c.txt --out c.gam", dir).exitCode, 0);
  const std::vector<std::string> other = ReadLines(dir / "c.txt");
  ASSERT_TRUE(other.size() == 2000u && lines.size() > 2000u) << other.size() << " " << lines.size();
  EXPECT_FALSE(std::equal(other.begin(), other.end(), lines.begin())) << "the seed must matter";
}

// --- Checking a file ---

// check and info name the first wrong value of a damaged file; check also
// loads a good one and tests the game's consistency rules on it.
TEST_F(SimFolder, CheckAndInfoNameTheFirstWrongValue) {
  ASSERT_EQ(RunSim("new --seed 42 --size 50 --land 2 --difficulty 1 --players HCCOOO --out good.gam", dir).exitCode, 0);
  std::string bytes = ReadText(dir / "good.gam");
  bytes[35 + 2] = 0;  // the settings block: moves of Destroyer
  std::ofstream(dir / "bad.gam", std::ios::binary) << bytes;
  const struct {
    const char* command;
    int exitCode;
    const char* output;
  } kRuns[] = {
      {"check good.gam", 0, "good.gam: ok\n"},
      {"check bad.gam", 4, "bad.gam: refused: moves of destroyer is 0, not 1 to 32\n"},
      {"info bad.gam", 4, "bad.gam: refused: moves of destroyer is 0, not 1 to 32\n"},
      {"check missing.gam", 4, "missing.gam: refused: cannot be read\n"},
  };
  for (const auto& run : kRuns) {
    const SimResult r = RunSim(run.command, dir);
    EXPECT_EQ(r.exitCode, run.exitCode) << run.command;
    EXPECT_EQ(r.output, run.output) << run.command;
  }
}

// --- Piece attributes ---

// Piece attributes are cut to their low byte, then bounded; ships read no fuel key.
TEST_F(SimFolder, PrintsThePieceAttributesAndOptionsStartUpWouldLoad) {
  std::ofstream(dir / "VORTAN.INI", std::ios::binary)
      << "[Days]\narmy=0\ndestroyer=50\nfighter=300\nbomber=256\n[Moves]\ntransport=-1\n"
         "[Fuel]\nbomber=3\nfighter=20\ndestroyer=20\n[Pieces]\ncarrier=2\nsubmarine=0\nbattleship= 1 \n"
         "[Setup]\nSounds=9\nColour=0\n";
  const SimResult r = RunSim("attributes --ini VORTAN.INI", dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.output,
            "army in-use 1 days 1 moves 1 fuel 8\n"
            "destroyer in-use 1 days 32 moves 6 fuel 8\n"
            "fighter in-use 1 days 32 moves 14 fuel 20\n"  // 300 -> 44 -> 32
            "bomber in-use 1 days 1 moves 7 fuel 8\n"      // 256 -> 0 -> 1
            "battleship in-use 1 days 12 moves 4 fuel 8\n"
            "carrier in-use 0 days 10 moves 4 fuel 8\n"
            "submarine in-use 0 days 6 moves 4 fuel 8\n"
            "transport in-use 1 days 2 moves 32 fuel 8\n"  // -1 -> 255 -> 32
            "para in-use 1 days 8 moves 7 fuel 28\n"
            "sounds none\n"
            "colour 0\n");
}

// --- The command line ---

TEST_F(SimFolder, HelpAndVersionPrintAndExitZero) {
  const SimResult help = RunSim("--help", dir, true);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  for (const char* command : {"new", "info", "attributes", "demo", "play"}) {
    EXPECT_NE(help.output.find(std::string("\n  ") + command + " "), std::string::npos)
        << command << " missing from --help";
    const SimResult own = RunSim(std::string(command) + " --help", dir, true);
    EXPECT_EQ(own.exitCode, 0) << command << " --help";
    EXPECT_EQ(own.output.rfind(std::string("Usage: vortan-sim ") + command, 0), 0u) << command << " --help printed:\n"
                                                                                    << own.output;
  }
  EXPECT_NE(RunSim("demo --help", dir, true).output.find("--max-steps M"), std::string::npos)
      << "demo --help lists no --max-steps";
  const SimResult version = RunSim("--version", dir, true);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, std::string("vortan-sim ") + vortan::kVersion + "\n");
}

TEST_F(SimFolder, EveryMistakeIsOneLineAndExitTwo) {
  struct Case {
    const char* arguments;
    const char* says;
  };
  const Case cases[] = {
      {"", "missing command"},
      {"fly", "unknown command 'fly'"},
      {"--fly", "unknown option '--fly'"},
      {"attributes --colour 1", "unknown option '--colour'"},
      {"demo --seed 1 --days 5 --out a.gam --days 6", "--days given twice"},
      {"demo --seed 1 --days 5", "missing --out"},
      {"demo --seed 1 --days 5 --out", "--out needs a value"},
      {"demo --seed -1 --days 5 --out a.gam", "--seed must be a number from 0 to 4294967295, not '-1'"},
      {"demo --seed 4294967296 --days 5 --out a.gam", "--seed must be"},
      {"new --seed 1 --size 71 --land 2 --difficulty 1 --players HCOOOO --out a.gam",
       "--size must be a number from 1 to 70"},
      {"new --seed 1 --size 40 --land 2 --difficulty 1 --players HHHHHX --out a.gam", "--players must be six letters"},
      {"info", "needs exactly 1 FILE.gam"},
      {"info a.gam b.gam", "needs exactly 1 FILE.gam"},
  };
  for (const Case& c : cases) {
    const SimResult r = RunSim(c.arguments, dir, true);
    EXPECT_EQ(r.exitCode, 2) << "vortan-sim " << c.arguments;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << "vortan-sim " << c.arguments << " said: " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "vortan-sim " << c.arguments << " said: " << r.err;
    EXPECT_FALSE(fs::exists(dir / "a.gam")) << "vortan-sim " << c.arguments << " wrote a game";
  }
}

// Numbers read the same wherever they appear, in decimal or hexadecimal.
TEST_F(SimFolder, HexadecimalSeedMakesTheSameWorldAsDecimal) {
  const std::string rest = " --size 30 --land 2 --difficulty 1 --players HCOOOO --out ";
  ASSERT_EQ(RunSim("new --seed 42" + rest + "d.gam", dir, true).exitCode, 0);
  ASSERT_EQ(RunSim("new --seed 0x2A" + rest + "h.gam", dir, true).exitCode, 0);
  EXPECT_EQ(ReadText(dir / "d.gam"), ReadText(dir / "h.gam"));
  EXPECT_EQ(RunSim("new --seed 0x2G" + rest + "x.gam", dir, true).exitCode, 2);
}

}  // namespace
}  // namespace vortan
