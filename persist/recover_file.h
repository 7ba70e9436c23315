// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic save of an unnamed game. Each running program has a recovery
// file of its own, so one program's normal exit never deletes the file that
// protects another's game: the first takes "RECOVER.TMP", a second one started
// in the same folder "RECOVER2.TMP", and so on. The per-user folder that takes
// the recovery file when the working folder cannot be written is shared by all
// of the user's programs, so a name is claimed there as well.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace vortan {

// The recovery file name of the n-th program (1 for the first).
std::string RecoverFileName(int instance);

// Holds the lowest recovery file name no other running program of this user
// holds for any of the folders, for as long as it lives (advisory locks,
// released by the system if the program dies). A folder that does not exist
// claims nothing.
class RecoverFileClaim {
 public:
  explicit RecoverFileClaim(std::initializer_list<std::string> folders);
  ~RecoverFileClaim();
  RecoverFileClaim(const RecoverFileClaim&) = delete;
  RecoverFileClaim& operator=(const RecoverFileClaim&) = delete;
  // The name claimed (a bare file name, without the folder).
  const std::string& FileName() const { return name_; }

 private:
  std::vector<int> lockFds_;
  std::string name_;
};

}  // namespace vortan
