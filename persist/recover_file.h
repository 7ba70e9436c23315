// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic save of an unnamed game. Each running program has a recovery
// file of its own, so one program's normal exit never deletes the file that
// protects another's game: the first takes "RECOVER.TMP", a second one started
// in the same folder "RECOVER2.TMP", and so on.
#pragma once

#include <string>

namespace vortan {

// The recovery file name of the n-th program (1 for the first).
std::string RecoverFileName(int instance);

// Holds the lowest recovery file name no other running program of this user
// holds for the folder, for as long as it lives (an advisory lock, released
// by the system if the program dies).
class RecoverFileClaim {
 public:
  explicit RecoverFileClaim(const std::string& folder);
  ~RecoverFileClaim();
  RecoverFileClaim(const RecoverFileClaim&) = delete;
  RecoverFileClaim& operator=(const RecoverFileClaim&) = delete;
  // The name claimed (a bare file name, without the folder).
  const std::string& FileName() const { return name_; }

 private:
  int lockFd_ = -1;
  std::string name_;
};

}  // namespace vortan
