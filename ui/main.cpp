// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdio>

#include "ui/command_line.h"
#include "ui/shell.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const vortan::CommandLineOutcome outcome = vortan::ReadCommandLine(arguments);
  if (!outcome.output.isEmpty())
    std::fputs(outcome.output.toLocal8Bit().constData(), outcome.toStandardError ? stderr : stdout);
  if (!outcome.start) return outcome.exitCode;
  QApplication app(argc, argv);
  return vortan::RunVortan(app, *outcome.start);
}
