// vortan-sim: the headless tool. New worlds, save-file checks, computer-only
// games with traces, all without a window.
#include <cstdio>
#include <cstring>

#include "tools/sim_commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const vortan::sim::Args&);
};

constexpr Command kCommands[] = {
    {"new", vortan::sim::RunNew},   {"info", vortan::sim::RunInfo}, {"check", vortan::sim::RunCheck}, {"attributes", vortan::sim::RunAttributes},
    {"demo", vortan::sim::RunDemo}, {"play", vortan::sim::RunPlay},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "vortan-sim: missing command (new, info, check, attributes, demo or play)\n");
    return 2;
  }
  vortan::sim::Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
  std::fprintf(stderr, "vortan-sim: unknown command '%s'\n", argv[1]);
  return 2;
}
