// SPDX-License-Identifier: GPL-3.0-or-later
// The German translation end to end: started with LANG=de_DE.UTF-8 (set for
// this test by CMake), the program picks vortan_de from its resources, the
// menu bar reads German, and every message-box text has its German form.
#include <QMenuBar>

#include "ui/messages.h"
#include "ui/shell.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

class GermanTest : public WindowFixture {
 protected:
  static void SetUpTestSuite() { InstallTranslations(*qApp); }
};

QStringList MenuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  return titles;
}

TEST_F(GermanTest, TheLocaleChoosesTheGermanMenu) {
  ASSERT_EQ(QLocale().language(), QLocale::German) << "LANG did not reach the program";
  EXPECT_EQ(MenuTitles(window->menuBar()), (QStringList{"&Datei", "&Züge", "&Ansicht", "&Optionen"}));
  auto* helpBar = qobject_cast<QMenuBar*>(window->menuBar()->cornerWidget(Qt::TopRightCorner));
  ASSERT_NE(helpBar, nullptr);
  EXPECT_EQ(MenuTitles(helpBar), QStringList{"&Hilfe"});
  EXPECT_EQ(window->menuBar()->actions().value(0)->menu()->actions().value(0)->text(), "&Neu...");
}

TEST_F(GermanTest, EveryMessageHasItsGermanTextAndAFileProblemKeepsItsDetails) {
  for (const char* english : MessageTable()) {
    if (std::string_view(english) == "Vortan") continue;  // the name stays
    EXPECT_NE(TranslateMessage(english), QString(english)) << "no German for: " << english;
  }
  EXPECT_EQ(TranslateMessage("File Save Error\n\n/games/RECOVER.TMP: Permission denied"),
            "Fehler beim Speichern der Datei\n\n/games/RECOVER.TMP: Permission denied");
  EXPECT_EQ(TranslateMessage("Save current game?"), "Aktuelles Spiel speichern?");
}

}  // namespace
}  // namespace vortan::test
