// SPDX-License-Identifier: GPL-3.0-or-later
// The program from start to end: start-up in its fixed order, the event loop
// with the idle game step, and shutdown.
#pragma once

#include <QString>
#include <cstdint>

class QApplication;

namespace vortan {

struct Game;
class MainWindow;
struct StartUpArguments;

// The settings file's full path in the user's configuration folder (created).
QString SettingsFilePath();
// A 32-bit millisecond tick count for seeding the random generator.
uint32_t MillisecondTicks();
int RunVortan(QApplication& app, const StartUpArguments& arguments);
// The game's texts in the user's language (from the locale: LANG and the
// like), with Qt's own for the standard buttons, when there is a translation.
void InstallTranslations(QApplication& app);
// The menu's start-up state, then the display and sound options from the
// settings file (which check their menu items).
void ApplyStartUpOptions(Game& g, MainWindow& window);
// The window's own options, kept in the settings file beside the game's
// ([Display] DimRemembered); a file that never had one gets none written
// while the option stays off.
void LoadDisplayOptions(const Game& g, MainWindow& window);
void SaveDisplayOptions(const Game& g, const MainWindow& window);
// After the event loop: the options go back to the settings file, and the
// recovery file goes when the game never got a name.
void ShutDown(Game& g);

}  // namespace vortan
