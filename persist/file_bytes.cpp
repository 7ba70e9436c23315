// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and replacements on POSIX. A read opens without blocking
// and takes regular files only (a FIFO or a device named like a game file
// would otherwise stall the program). A replacement writes a temporary file of
// a name no other writer uses, flushes it to disk and renames it over the
// target, all under an advisory lock on the target's folder, so that two
// programs updating one file take turns and a crash at any moment leaves
// either the old file or the new one.
#include "persist/file_bytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace vortan {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTempMark = ".saving.";  // NAME.saving.PID.N
constexpr mode_t kNewFileMode = 0666;               // less the umask, like any new file

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The file a write really replaces: the end of a chain of symbolic links, so
// that a link keeps pointing at the game or the settings it named.
fs::path FinalTarget(const fs::path& path) {
  fs::path target = path;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++hops) {
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

fs::path FolderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// Holds an exclusive advisory lock on a folder while it lives.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_.ok())
      while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  int Descriptor() const { return fd_.get(); }

 private:
  FileDescriptor fd_;
};

bool WriteAll(int fd, const uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ProcessIsGone(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

// Temporaries of this target left by a writer that was killed before its
// rename; only names of our own pattern whose process no longer runs.
void RemoveStrayTemporaries(const fs::path& target) {
  const std::string prefix = target.filename().string() + std::string(kTempMark);
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(FolderOf(target), ec)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
    if (end != nullptr && *end == '.' && ProcessIsGone(pid)) fs::remove(e.path(), ec);
  }
}

fs::path UniqueTemporary(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(target) / (target.filename().string() + std::string(kTempMark) + std::to_string(::getpid()) + "." +
                             std::to_string(counter++));
}

// An existing target must be a regular file we may write: replacing a
// read-only file behind its owner's back would not be a save.
bool TargetIsWritable(const fs::path& target, struct stat& st, bool& exists) {
  exists = ::stat(target.c_str(), &st) == 0;
  if (!exists) return errno == ENOENT;
  return S_ISREG(st.st_mode) && ::access(target.c_str(), W_OK) == 0;
}

// Writes the temporary with the target's permissions and puts it in place.
bool WriteAndRename(const fs::path& target, const uint8_t* data, std::size_t size, const struct stat* old,
                    int folderFd) {
  const fs::path temp = UniqueTemporary(target);
  FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
  if (!fd.ok()) return false;
  bool done = WriteAll(fd.get(), data, size);
  if (done && old != nullptr) done = ::fchmod(fd.get(), old->st_mode & 07777) == 0;
  done = done && ::fsync(fd.get()) == 0;
  done = fd.Close() && done;
  done = done && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!done) {
    ::unlink(temp.c_str());
    return false;
  }
  if (folderFd >= 0) ::fsync(folderFd);  // the rename itself reaches the disk
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st {};
  if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  while (bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
    const ssize_t got = ::read(fd.get(), chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

namespace {

// The common path of both kinds of write: lock, check, clean up, then write
// what `bytes` makes of the old contents (read only when wanted). On failure
// `why`, when given, receives the system's reason.
bool LockedReplace(const std::string& path, bool readOld, const FileUpdate& bytesFor, std::string* why) {
  const auto fail = [why](const char* otherwise) {
    if (why) *why = errno ? std::strerror(errno) : otherwise;
    return false;
  };
  if (path.empty()) return fail("no file name");
  const fs::path target = FinalTarget(path);
  FolderLock lock(FolderOf(target));
  struct stat st {};
  bool exists = false;
  errno = 0;
  if (!TargetIsWritable(target, st, exists)) return fail("not a file that can be written");
  RemoveStrayTemporaries(target);
  std::optional<std::vector<uint8_t>> old;
  if (exists && readOld) {
    old = ReadFileBytes(target.string(), static_cast<std::size_t>(-1));
    if (!old) return fail("the file could not be read");
  }
  const std::vector<uint8_t> bytes = bytesFor(old);
  errno = 0;
  if (!WriteAndRename(target, bytes.data(), bytes.size(), exists ? &st : nullptr, lock.Descriptor()))
    return fail("the bytes could not be written");
  return true;
}

}  // namespace

bool UpdateFileBytes(const std::string& path, const FileUpdate& update) {
  return LockedReplace(path, true, update, nullptr);
}

bool ReplaceFileBytes(const std::string& path, const uint8_t* data, std::size_t size, std::string* why) {
  return LockedReplace(
      path, false, [&](const auto&) { return std::vector<uint8_t>(data, data + size); }, why);
}

}  // namespace vortan
