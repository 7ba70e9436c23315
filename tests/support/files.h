// SPDX-License-Identifier: GPL-3.0-or-later
// Files for the tests: a scratch folder of the test's own, and files read or
// written whole.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace vortan::test {

// An empty folder of its own under the temporary folder, removed afterwards
// unless `keep` is set (to leave a failed test's files for a look).
struct ScratchFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("vortan_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  bool keep = false;
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() {
    if (!keep) std::filesystem::remove_all(path);
  }
};

// The whole file, "" when it cannot be read.
inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
  const std::string text = ReadText(p);
  return {text.begin(), text.end()};
}

inline void WriteText(const std::filesystem::path& p, std::string_view text) {
  std::ofstream(p, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& b) {
  WriteText(p, {reinterpret_cast<const char*>(b.data()), b.size()});
}

}  // namespace vortan::test
