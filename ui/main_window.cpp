#include "ui/main_window.h"

namespace vortan {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) { setWindowTitle("Vortan"); }

}  // namespace vortan
