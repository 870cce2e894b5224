#include <QApplication>

#include "app/mainwindow.h"
#include "app/widgets.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The application title. No display name: the toolkit would append it to
  // the window caption, which shows the semester label and the database.
  QApplication::setApplicationName("Vekla");
  QApplication::setApplicationVersion(VEKLA_VERSION);
  vekla::UseCzech();
  vekla::MainWindow w;
  w.show();
  return app.exec();
}
