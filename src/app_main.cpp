#include <QApplication>

#include "app/mainwindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The application title. No display name: the toolkit would append it to
  // the window caption, which shows the semester label alone.
  QApplication::setApplicationName("Vekla");
  vekla::MainWindow w;
  w.show();
  return app.exec();
}
