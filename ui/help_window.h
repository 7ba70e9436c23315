// SPDX-License-Identifier: GPL-3.0-or-later
// The rules for players, shown in a window of their own from Help > Rules.
#pragma once

#include <QTextBrowser>

namespace vortan {

class HelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* owner);
};

// Opens the rules at their contents, or brings the open window to the front.
HelpWindow* ShowRules(QWidget* owner);

}  // namespace vortan
