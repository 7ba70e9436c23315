// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/file_commands.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTimer>

#include "model/game.h"

namespace vortan {

namespace {
// The list shows the filter by its name; the pattern behind it takes both
// spellings of the extension, since names on this system are case-sensitive.
QString GameFilter() { return QCoreApplication::translate("FileCommands", "Game Files(*.GAM)") + " (*.gam *.GAM)"; }
QString GameOrRecoveryFilter() {
  return QCoreApplication::translate("FileCommands", "Game Files(*.GAM)") + " (*.gam *.GAM RECOVER.TMP)";
}

// Eats mouse-button events until the events already queued have been handled.
class ClickEater : public QObject {
 public:
  explicit ClickEater(int count) : QObject(qApp), left_(count) {
    qApp->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { deleteLater(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    const QEvent::Type t = e->type();
    if (left_ > 0 && watched->isWidgetType() &&
        (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick)) {
      --left_;
      return true;
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  int left_;
};
}  // namespace

std::string RecoveryFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(folder);
  return folder.toStdString();
}

// Under this program's own recovery name: the file of a copy that ended
// without deleting it (another running copy keeps a name of its own).
QString LeftoverRecoveryFile(const Game& g) {
  const QString name = QString::fromStdString(g.recoverFileName);
  for (const std::string& folder : {g.app.fileFolder, g.app.recoverFallbackFolder}) {
    const QFileInfo file(QDir(folder.empty() ? QDir::currentPath() : QString::fromStdString(folder)), name);
    if (file.isFile()) return file.absoluteFilePath();
  }
  return {};
}

void SetUpGameFileDialog(QFileDialog& dialog, FileDialogKind kind, const Game& g, const QString& recoverFile) {
  dialog.setNameFilter(GameFilter());
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setDefaultSuffix("gam");  // lower case, as files are named on this system
  if (!g.app.fileFolder.empty()) dialog.setDirectory(QString::fromStdString(g.app.fileFolder));
  if (kind == FileDialogKind::Open) {
    dialog.setWindowTitle(QCoreApplication::translate("FileCommands", "Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!recoverFile.isEmpty() && QFileInfo(recoverFile).isFile()) {
      dialog.setNameFilter(GameOrRecoveryFilter());
      dialog.setDirectory(QFileInfo(recoverFile).absolutePath());
      dialog.selectFile(QFileInfo(recoverFile).fileName());
    }
  } else {
    dialog.setWindowTitle(QCoreApplication::translate("FileCommands", "Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  }
}

std::optional<std::string> ChooseGameFile(QWidget* owner, FileDialogKind kind, const Game& g,
                                          const QString& recoverFile) {
  QFileDialog dialog(owner);
  SetUpGameFileDialog(dialog, kind, g, recoverFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

void DiscardPendingClicks() { new ClickEater(2); }

}  // namespace vortan
