#include "tools/sim_commands.h"
namespace vortan::sim {
int RunNew(const Args&) { return 2; }  // not written yet
}
