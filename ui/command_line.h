// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line, read before any window exists, so --help and
// --version work without a display.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vortan {

struct StartUpArguments {
  QString gameFile;  // a saved game to open at start-up (what a file manager passes); empty: none
};

struct CommandLineOutcome {
  std::optional<StartUpArguments> start;  // set: go on and start the game
  int exitCode = 0;                       // otherwise: exit with this code
  QString output;                         // what to print first (help, version or the error line)
  bool toStandardError = false;
};

// Reads the arguments (the program name first). Qt's own options (-platform,
// -style and the like) pass through for QApplication to take.
CommandLineOutcome ReadCommandLine(const QStringList& arguments);

}  // namespace vortan
