// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and writes for the game files and the settings file. A write
// goes to a temporary file of its own beside the target and replaces the target
// only once every byte is on disk, so a failed or killed write never destroys
// the previous file. Writes to one folder take turns under an advisory lock;
// a symbolic link is followed and the target keeps its permissions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vortan {

// The file's bytes, at most maxBytes of them; std::nullopt when it cannot be
// opened or is not a regular file (a FIFO or a device is never waited on).
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);
// Replaces the file's contents (creating it when missing). False, with the old
// file untouched, when the target cannot be written or any byte fails; then
// `why`, when given, receives the system's reason.
bool ReplaceFileBytes(const std::string& path, const uint8_t* data, std::size_t size, std::string* why = nullptr);
// Read, change and write back as one step no other writer can come between:
// `update` gets the whole current contents (nothing when there is no file).
using FileUpdate = std::function<std::vector<uint8_t>(const std::optional<std::vector<uint8_t>>&)>;
// False, with the file untouched, when it could not be written.
bool UpdateFileBytes(const std::string& path, const FileUpdate& update);

}  // namespace vortan
