// SPDX-License-Identifier: GPL-3.0-or-later
// A tool window of the column beside the map (or the World Map). It tells
// the main window when it closes, so the View item loses its check mark.
#pragma once

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

namespace vortan {

class InfoWindow : public QWidget {
  Q_OBJECT
 public:
  InfoWindow(const QString& title, QWidget* owner) : QWidget(owner, Qt::Tool) {
    setWindowTitle(QCoreApplication::translate("InfoWindow", title.toUtf8().constData()));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
  }

 Q_SIGNALS:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override {
    Q_EMIT closed();
    QWidget::closeEvent(e);
  }
};

}  // namespace vortan
