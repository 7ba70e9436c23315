#include "ui/help_window.h"

// The rules are compiled into the static user-interface library, whose
// resources each program linking it must register once.
static void RegisterRulesDocument() { Q_INIT_RESOURCE(rules); }

namespace vortan {

HelpWindow::HelpWindow(QWidget* owner) : QTextBrowser(owner) {
  RegisterRulesDocument();
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("rulesWindow");
  setWindowTitle("Vortan Rules");
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
  open->raise();
  open->activateWindow();
  return open;
}

}  // namespace vortan
