// The program from start to end: start-up in its fixed order, the event loop
// with the idle game step, and shutdown.
#pragma once

#include <QString>

class QApplication;

namespace vortan {

struct Game;

// The settings file's full path in the user's configuration folder (created).
QString SettingsFilePath();
// A 32-bit millisecond tick count for seeding the random generator.
uint32_t MillisecondTicks();
int RunVortan(QApplication& app);

}  // namespace vortan
