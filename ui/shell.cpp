// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>
#include <chrono>
#include <cstdio>
#include <memory>

#include "model/game.h"
#include "persist/recover_file.h"
#include "persist/saved_game.h"
#include "persist/settings_file.h"
#include "ui/command_line.h"
#include "ui/cursor_store.h"
#include "ui/file_commands.h"
#include "ui/game_loop.h"
#include "ui/large_memory.h"
#include "ui/main_window.h"
#include "ui/new_game_dialog.h"
#include "ui/picture_store.h"
#include "ui/shell_hooks.h"
#include "ui/sound_player.h"
#include "vortan/version.h"

namespace vortan {

QString SettingsFilePath() {
  // Without a home the configuration folder would be made under the root of
  // the file system: the run goes without settings and says so once.
  if (qEnvironmentVariableIsEmpty("HOME")) {
    std::fprintf(stderr, "vortan: HOME is not set; the settings are neither read nor saved\n");
    return {};
  }
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(dir);
  return QDir(dir).filePath("VORTAN.INI");
}

uint32_t MillisecondTicks() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int RunVortan(QApplication& app, const StartUpArguments& arguments) {
  app.setApplicationName("vortan");
  app.setApplicationVersion(kVersion);
  InstallTranslations(app);
  // The desktop entry and the running windows are matched by this name.
  QGuiApplication::setDesktopFileName("vortan");
  RegisterPictureResources();
  app.setWindowIcon(QIcon(":/icons/ICON_2.png"));

  // The model: one game for the whole run, defaults and attack table applied.
  LargeObject<Game> game = MakeLarge<Game>();
  if (!game) {
    QMessageBox::critical(nullptr, QCoreApplication::translate("Messages", "Error!"),
                          QCoreApplication::translate("Messages", "No memory"));
    return 1;
  }
  Game& g = *game;
  ResetToProgramStart(g);
  g.settingsPath = SettingsFilePath().toStdString();

  CursorStore cursors;
  cursors.LoadCursors();
  PictureStore pictures;
  pictures.LoadBitmaps();
  // The pieces load last, the large PURPLE PARA at the very end: if that one
  // is missing from pictures that are otherwise there, say so (with an empty
  // box, all the platform's loader ever said) and go on with its stand-in.
  if (pictures.Sea(PictureSet::Large, 0).Loaded() &&
      !pictures.Piece(PictureSet::Large, kPlayerCount - 1, PieceType::Para).Loaded())
    QMessageBox(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok).exec();
  LoadPieceAttributes(g.settings, g.settingsPath);
  LoadNewGameChoices(g);

  MainWindow window(g, pictures, cursors);
  SoundPlayer sound;
  ShellHooks hooks(g, window, sound);
  g.hooks = &hooks;
  window.SizeMainWindowForWorld();

  g.rng.SetState(MillisecondTicks());
  g.app.fileName = kRecoverFileName;
  g.app.recoverFallbackFolder = RecoveryFolder();
  const RecoverFileClaim recoverClaim({".", g.app.recoverFallbackFolder});
  g.recoverFileName = recoverClaim.FileName();
  hooks.leftoverRecoverFile = LeftoverRecoveryFile(g);
  ApplyStartUpOptions(g, window);

  GameLoop loop(g);
  loop.afterSlice = [&window] { window.AfterGameSlice(); };
  window.SetGameLoop(&loop);

  window.show();
  window.View()->RepaintAll();
  window.PlaceInfoDialogs();
  // A game named on the command line (a double click in a file manager) opens
  // at once, refused with the usual message if it is no game; otherwise the
  // About box greets the player.
  if (!arguments.gameFile.isEmpty())
    window.OpenGameFile(arguments.gameFile.toStdString());
  else
    window.ExecuteCommand(Cmd::About);
  const int result = app.exec();

  SaveDisplayOptions(g, window);
  ShutDown(g);
  g.hooks = &g.nullHooks;
  return result;
}

void InstallTranslations(QApplication& app) {
  auto* toolkit = new QTranslator(&app);
  if (toolkit->load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(toolkit);
  auto* own = new QTranslator(&app);  // installed last, so asked first
  if (own->load(QLocale(), "vortan", "_", ":/i18n")) app.installTranslator(own);
}

void ApplyStartUpOptions(Game& g, MainWindow& window) {
  window.SetStartUpMenuState();
  LoadSetupOptions(g);
  LoadDisplayOptions(g, window);
}

void LoadDisplayOptions(const Game& g, MainWindow& window) {
  const bool dim = ReadProfileInt(g.settingsPath, "Display", "DimRemembered", 0) == 1;
  if (dim != window.IsChecked(kCmdDimRemembered)) window.ExecuteCommand(kCmdDimRemembered);
}

void SaveDisplayOptions(const Game& g, const MainWindow& window) {
  const bool dim = window.IsChecked(kCmdDimRemembered);
  if (!dim && ReadProfileInt(g.settingsPath, "Display", "DimRemembered", -1) == -1) return;
  WriteProfileString(g.settingsPath, "Display", "DimRemembered", dim ? "1" : "0");
}

void ShutDown(Game& g) {
  SaveSetupOptions(g);
  if (g.app.fileName == kRecoverFileName) DeleteRecoverFile(g);
}

}  // namespace vortan
