// SPDX-License-Identifier: GPL-3.0-or-later
// vortan-sim: the headless tool. New worlds, save-file checks, computer-only
// games with traces, all without a window.
#include "tools/sim_commands.h"

namespace {

// A new command is one line here and its table in its own file.
constexpr const vortan::sim::Command* kCommands[] = {
    &vortan::sim::kNewCommand,        &vortan::sim::kInfoCommand, &vortan::sim::kCheckCommand,
    &vortan::sim::kAttributesCommand, &vortan::sim::kDemoCommand, &vortan::sim::kPlayCommand,
};

}  // namespace

int main(int argc, char** argv) { return vortan::sim::RunCommandLine(kCommands, argc, argv); }
