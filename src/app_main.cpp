#include <QApplication>

#include "app/mainwindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vekla");
  QApplication::setApplicationDisplayName("Vekla");
  vekla::MainWindow w;
  w.show();
  return app.exec();
}
