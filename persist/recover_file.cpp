// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/recover_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "model/game.h"

namespace vortan {
namespace {

constexpr int kMostInstances = 99;

// Lock files live in the user's runtime folder, not beside the games: one per
// folder and number, named after the folder's device and inode.
std::string LockPath(const std::string& folder, int instance) {
  struct stat st {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return {};
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string base = runtime && *runtime ? runtime : "/tmp";
  return base + "/vortan-" + std::to_string(::getuid()) + "-" + std::to_string(st.st_dev) + "-" +
         std::to_string(st.st_ino) + "-" + std::to_string(instance) + ".lock";
}

}  // namespace

std::string RecoverFileName(int instance) {
  if (instance <= 1) return kRecoverFileName;
  return "RECOVER" + std::to_string(instance) + ".TMP";
}

RecoverFileClaim::RecoverFileClaim(const std::string& folder) : name_(kRecoverFileName) {
  for (int instance = 1; instance <= kMostInstances; ++instance) {
    const std::string lock = LockPath(folder, instance);
    if (lock.empty()) return;  // no folder to claim in: keep the plain name
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      lockFd_ = fd;
      name_ = RecoverFileName(instance);
      return;
    }
    ::close(fd);
  }
}

RecoverFileClaim::~RecoverFileClaim() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

}  // namespace vortan
