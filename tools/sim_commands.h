// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of vortan-sim, each described by its option table (see
// command_line.h). A command returns the process exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/command_line.h"

namespace vortan::sim {
extern const Command kNewCommand;
extern const Command kInfoCommand;
extern const Command kCheckCommand;
extern const Command kAttributesCommand;
extern const Command kDemoCommand;
extern const Command kPlayCommand;

// The exit code of a command given a file the program's Open would refuse.
inline constexpr int kExitRefused = 4;

// The bytes of a saved game that passes the load check; otherwise prints
// "PATH: refused: WHY" and gives nothing.
std::optional<std::vector<uint8_t>> ReadAcceptedGameFile(const std::string& path);
}  // namespace vortan::sim
