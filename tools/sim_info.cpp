#include "tools/sim_commands.h"
namespace vortan::sim {
int RunInfo(const Args&) { return 2; }        // not written yet
int RunAttributes(const Args&) { return 2; }  // not written yet
}
