#pragma once

#include <QMainWindow>

namespace vortan {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace vortan
