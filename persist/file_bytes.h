// Whole-file reads and writes for the game files and the settings file. A write
// goes to a temporary file beside the target and replaces the target only once
// every byte is on disk, so a failed write never destroys the previous file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vortan {

// The file's bytes, at most maxBytes of them; std::nullopt when it cannot be opened.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);
// Replaces the file's contents (creating it when missing). False, with the old
// file untouched, when the target cannot be written or any byte fails; then
// `why`, when given, receives the system's reason.
bool ReplaceFileBytes(const std::string& path, const uint8_t* data, std::size_t size, std::string* why = nullptr);

}  // namespace vortan
