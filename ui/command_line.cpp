// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "vortan/version.h"

namespace vortan {
namespace {

constexpr int kExitUsage = 2;

// QApplication's own options: accepted here and left for it to act on.
constexpr const char* kToolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",       "style",   "stylesheet",
    "session",  "qwindowgeometry",    "qwindowicon",   "qwindowtitle", "display", "geometry"};
constexpr const char* kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString Tr(const char* text) { return QCoreApplication::translate("CommandLine", text); }

QString HelpText() {
  return Tr(
      "Usage: vortan [OPTIONS] [FILE.gam]\n"
      "\n"
      "A turn-based strategy war game for two to six players, human or computer,\n"
      "over a random world that wraps round at every edge.\n"
      "\n"
      "Arguments:\n"
      "  FILE.gam       a saved game to open at start-up\n"
      "\n"
      "Options:\n"
      "  -h, --help     show this help and exit\n"
      "  -v, --version  show the version and exit\n"
      "\n"
      "The toolkit's own options (-platform NAME, -style NAME, ...) work as well.\n");
}

}  // namespace

CommandLineOutcome ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{"h", "help"});
  const QCommandLineOption version(QStringList{"v", "version"});
  parser.addOption(help);
  parser.addOption(version);
  for (const char* name : kToolkitOptionsWithValue) parser.addOption(QCommandLineOption(name, QString(), "value"));
  for (const char* name : kToolkitFlags) parser.addOption(QCommandLineOption(name));
  parser.addPositionalArgument("file", QString());

  CommandLineOutcome outcome;
  if (!parser.parse(arguments)) {
    outcome = {std::nullopt, kExitUsage, "vortan: " + parser.errorText() + " " + Tr("(see 'vortan --help')") + "\n",
               true};
  } else if (parser.isSet(help)) {
    outcome.output = HelpText();
  } else if (parser.isSet(version)) {
    outcome.output = QString("vortan %1\n").arg(kVersion);
  } else if (parser.positionalArguments().size() > 1) {
    outcome = {std::nullopt, kExitUsage,
               "vortan: " + Tr("one saved game at a time") + " " + Tr("(see 'vortan --help')") + "\n", true};
  } else {
    outcome.start = StartUpArguments{parser.positionalArguments().value(0)};
  }
  return outcome;
}

}  // namespace vortan
