#include <QApplication>

#include "ui/shell.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return vortan::RunVortan(app);
}
