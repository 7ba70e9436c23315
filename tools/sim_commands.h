// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of vortan-sim, each described by its option table (see
// command_line.h). A command returns the process exit code.
#pragma once

#include "tools/command_line.h"

namespace vortan::sim {
extern const Command kNewCommand;
extern const Command kInfoCommand;
extern const Command kCheckCommand;
extern const Command kAttributesCommand;
extern const Command kDemoCommand;
extern const Command kPlayCommand;
}  // namespace vortan::sim
