// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messages.h"

#include <QCoreApplication>
#include <QStringList>

namespace vortan {
namespace {

constexpr const char* kContext = "Messages";

constexpr const char* kMessages[] = {
    // captions
    QT_TRANSLATE_NOOP("Messages", "Oops!"),
    QT_TRANSLATE_NOOP("Messages", "Error!"),
    QT_TRANSLATE_NOOP("Messages", "Error"),
    QT_TRANSLATE_NOOP("Messages", "Warning!"),
    QT_TRANSLATE_NOOP("Messages", "Sorry!"),
    QT_TRANSLATE_NOOP("Messages", "Illegal Move"),
    QT_TRANSLATE_NOOP("Messages", "Coward!"),
    QT_TRANSLATE_NOOP("Messages", "End turn..."),
    QT_TRANSLATE_NOOP("Messages", "Vortan"),
    // files
    QT_TRANSLATE_NOOP("Messages", "This is an out of date or corrupted game file"),
    QT_TRANSLATE_NOOP("Messages", "File Save Error"),
    QT_TRANSLATE_NOOP("Messages", "Save current game?"),
    // new games
    QT_TRANSLATE_NOOP("Messages", "There must be a human player"),
    QT_TRANSLATE_NOOP("Messages", "There must be more than 1 player"),
    QT_TRANSLATE_NOOP("Messages", "Failed to make a suitable map\nTry again or change the New Game settings"),
    QT_TRANSLATE_NOOP("Messages", "You must have either Armies or Paras in the\ngame or you couldn't capture cities!"),
    QT_TRANSLATE_NOOP("Messages",
                      "You must have either Transports or Paras in the\ngame or you couldn't get to other islands!"),
    // orders
    QT_TRANSLATE_NOOP("Messages", "Are you sure you wish to surrender?"),
    QT_TRANSLATE_NOOP("Messages", "Are you sure you wish to end your turn?"),
    QT_TRANSLATE_NOOP("Messages", "Only paras can be dropped"),
    QT_TRANSLATE_NOOP("Messages", "Paras must be dropped on open land"),
    QT_TRANSLATE_NOOP("Messages", "It's not a city"),
    // internal errors the player should never see, but may
    QT_TRANSLATE_NOOP("Messages", "Problem with FindNewPiece"),
    QT_TRANSLATE_NOOP("Messages", "Attempting to see with an unused piece"),
    QT_TRANSLATE_NOOP("Messages", "Asked to draw illegal piece"),
    QT_TRANSLATE_NOOP("Messages", "Draw piece out of range"),
    QT_TRANSLATE_NOOP("Messages", "No memory"),
};

}  // namespace

QString TranslateMessage(std::string_view text) {
  const QString english = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QString whole = QCoreApplication::translate(kContext, english.toUtf8().constData());
  if (whole != english || !english.contains("\n\n")) return whole;
  QStringList paragraphs = english.split("\n\n");
  for (QString& p : paragraphs) p = QCoreApplication::translate(kContext, p.toUtf8().constData());
  return paragraphs.join("\n\n");
}

std::span<const char* const> MessageTable() { return kMessages; }

}  // namespace vortan
