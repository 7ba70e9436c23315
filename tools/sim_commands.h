// The commands of vortan-sim. Each takes the arguments after the command name
// and returns the process exit code (2 for a usage error, with a one-line message).
#pragma once

#include <string>
#include <vector>

namespace vortan::sim {
using Args = std::vector<std::string>;
int RunNew(const Args& args);
int RunInfo(const Args& args);
int RunCheck(const Args& args);
int RunAttributes(const Args& args);
int RunDemo(const Args& args);
int RunPlay(const Args& args);
}  // namespace vortan::sim
