// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/recover_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

RecoverFileClaim::RecoverFileClaim(std::initializer_list<std::string> folders) : name_(kRecoverFileName) {
  for (int instance = 1; instance <= kMostInstances; ++instance) {
    std::vector<std::string> locks;  // one per folder; the same folder twice is locked once
    for (const std::string& folder : folders)
      if (std::string lock = LockPath(folder, instance); !lock.empty() && std::ranges::count(locks, lock) == 0)
        locks.push_back(std::move(lock));
    bool free = true;
    for (const std::string& lock : locks) {
      const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
      if (fd < 0) continue;  // nowhere to lock: the name is used unguarded, as without locks
      lockFds_.push_back(fd);
      if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        free = false;
        break;
      }
    }
    if (free) {
      name_ = RecoverFileName(instance);
      return;
    }
    for (const int fd : lockFds_) ::close(fd);
    lockFds_.clear();
  }
}

RecoverFileClaim::~RecoverFileClaim() {
  for (const int fd : lockFds_) ::close(fd);
}

}  // namespace vortan
