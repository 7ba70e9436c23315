// SPDX-License-Identifier: GPL-3.0-or-later
// main() of every window test: a QApplication on a 1920 x 1200 offscreen
// screen; with VORTAN_TEST_ON_DISPLAY set, on the display the environment
// names (e.g. under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (std::getenv("VORTAN_TEST_ON_DISPLAY")) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
  }
  // One file per process: tests run in parallel, and a screen file another
  // process is rewriting at that moment would abort this one.
  const auto config = std::filesystem::temp_directory_path() /
                      ("vortan-ui-test-screen-" + std::to_string(QCoreApplication::applicationPid()) + ".json");
  std::ofstream(config) << R"({"screens":[{"name":"test","x":0,"y":0,"width":1920,"height":1200,)"
                        << R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  std::string platform = "offscreen:configfile=" + config.string();
  std::vector<char*> args(argv, argv + argc);
  args.push_back(const_cast<char*>("-platform"));
  args.push_back(platform.data());
  int qtArgc = static_cast<int>(args.size());
  args.push_back(nullptr);
  QApplication app(qtArgc, args.data());
  std::filesystem::remove(config);  // the platform has read it
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
