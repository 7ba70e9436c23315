// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWindow>

// The rules are compiled into the static user-interface library, whose
// resources each program linking it must register once.
static void RegisterRulesDocument() { Q_INIT_RESOURCE(rules); }

namespace vortan {

HelpWindow::HelpWindow(QWidget* owner) : QTextBrowser(owner) {
  RegisterRulesDocument();
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("rulesWindow");
  setWindowTitle(QCoreApplication::translate("HelpWindow", "Vortan Rules"));
  setOpenExternalLinks(false);
  setSource(QUrl("qrc:/rules/rules.html"));
  resize(620, 640);
}

HelpWindow* ShowRules(QWidget* owner) {
  HelpWindow* open = owner->findChild<HelpWindow*>("rulesWindow", Qt::FindDirectChildrenOnly);
  if (!open) open = new HelpWindow(owner);
  open->setSource(QUrl("qrc:/rules/rules.html"));
  open->scrollToAnchor("contents");
  open->show();
  // Asked for from a modal dialog (the About box), the rules must still be
  // readable while it stays open: a window that belongs to the modal one is
  // not blocked by it.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != open && open->windowHandle() && modal->windowHandle())
    open->windowHandle()->setTransientParent(modal->windowHandle());
  open->raise();
  open->activateWindow();
  return open;
}

}  // namespace vortan
