// SPDX-License-Identifier: GPL-3.0-or-later
// The load check of a game file: everything the rules, the computer player and
// the map code take for granted about the four blocks, tested before a byte of
// the file reaches the live game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vortan {
// Checks a whole file image; empty string when it may be loaded, else the first
// value that is wrong, in words.
std::string CheckSavedGameBytes(const uint8_t* data, size_t size);
}  // namespace vortan
