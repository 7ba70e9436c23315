// vortan-sim's command line as a user meets it: help and version on standard
// output with exit 0, and every mistake as one line on standard error with exit 2.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "vortan/version.h"

namespace {

namespace fs = std::filesystem;

struct SimRun {
  int exitCode = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SimCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vortan-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  SimRun Sim(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" VORTAN_SIM_PATH "' " + arguments + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir_ / "out.txt"), Slurp(dir_ / "err.txt")};
  }
  fs::path dir_;
};

TEST_F(SimCommandLine, HelpAndVersionPrintAndExitZero) {
  const SimRun help = Sim("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  for (const char* command : {"new", "info", "attributes", "demo", "play"}) {
    EXPECT_NE(help.out.find(std::string("\n  ") + command + " "), std::string::npos) << command << " missing from --help";
    const SimRun own = Sim(std::string(command) + " --help");
    EXPECT_EQ(own.exitCode, 0) << command << " --help";
    EXPECT_EQ(own.out.rfind(std::string("Usage: vortan-sim ") + command, 0), 0u) << command << " --help printed:\n" << own.out;
  }
  EXPECT_NE(Sim("demo --help").out.find("--max-steps M"), std::string::npos) << "demo --help lists no --max-steps";
  const SimRun version = Sim("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("vortan-sim ") + vortan::kVersion + "\n");
}

TEST_F(SimCommandLine, EveryMistakeIsOneLineAndExitTwo) {
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
      {"new --seed 1 --size 71 --land 2 --difficulty 1 --players HCOOOO --out a.gam", "--size must be a number from 1 to 70"},
      {"new --seed 1 --size 40 --land 2 --difficulty 1 --players HHHHHX --out a.gam", "--players must be six letters"},
      {"info", "needs exactly 1 FILE.gam"},
      {"info a.gam b.gam", "needs exactly 1 FILE.gam"},
  };
  for (const Case& c : cases) {
    const SimRun r = Sim(c.arguments);
    EXPECT_EQ(r.exitCode, 2) << "vortan-sim " << c.arguments;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << "vortan-sim " << c.arguments << " said: " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "vortan-sim " << c.arguments << " said: " << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "a.gam")) << "vortan-sim " << c.arguments << " wrote a game";
  }
}

// Numbers read the same wherever they appear, in decimal or hexadecimal.
TEST_F(SimCommandLine, HexadecimalSeedMakesTheSameWorldAsDecimal) {
  const std::string rest = " --size 30 --land 2 --difficulty 1 --players HCOOOO --out ";
  ASSERT_EQ(Sim("new --seed 42" + rest + "d.gam").exitCode, 0);
  ASSERT_EQ(Sim("new --seed 0x2A" + rest + "h.gam").exitCode, 0);
  EXPECT_EQ(Slurp(dir_ / "d.gam"), Slurp(dir_ / "h.gam"));
  EXPECT_EQ(Sim("new --seed 0x2G" + rest + "x.gam").exitCode, 2);
}

}  // namespace
