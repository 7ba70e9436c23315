#include "tools/sim_commands.h"
namespace vortan::sim {
int RunDemo(const Args&) { return 2; }  // not written yet
int RunPlay(const Args&) { return 2; }  // not written yet
}
