#include "persist/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace vortan {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// An existing target must be a file we may write: replacing a read-only file
// behind its owner's back would not be a save but an overwrite by other means.
bool TargetIsWritable(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (ec || status.type() != std::filesystem::file_type::regular) return false;
  return FilePtr(std::fopen(path.c_str(), "r+b")) != nullptr;
}

// Writes a fresh file; one that was created but not completely written is removed.
bool WriteAll(const std::string& path, const uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
  const bool flushed = std::fflush(f) == 0;
  const bool closed = std::fclose(f) == 0;
  if (written && flushed && closed) return true;
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return false;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  while (bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
    const std::size_t got = std::fread(chunk, 1, want, f.get());
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < want) {
      if (std::ferror(f.get())) return std::nullopt;
      break;
    }
  }
  return bytes;
}

bool ReplaceFileBytes(const std::string& path, const uint8_t* data, std::size_t size, std::string* why) {
  const auto fail = [why](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  if (path.empty()) return fail("no file name");
  errno = 0;
  if (!TargetIsWritable(path)) return fail(errno ? std::strerror(errno) : "not a file that can be written");
  const std::string temp = path + ".saving";
  errno = 0;
  if (!WriteAll(temp, data, size)) return fail(errno ? std::strerror(errno) : "the bytes could not be written");
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    const std::string reason = ec.message();
    std::filesystem::remove(temp, ec);
    return fail(reason);
  }
  return true;
}

}  // namespace vortan
