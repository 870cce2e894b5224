#pragma once
// Files for the window from outside: named on the command line, or handed
// over by a later start of the program on the same data folder. They are
// opened as a dropped file is, once no dialog or menu of the program is
// open, so that a file is never opened in the middle of another command.
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace vekla {

class MainWindow;

class HandedFiles : public QObject {
  Q_OBJECT
 public:
  explicit HandedFiles(MainWindow& window);
  // Absolute paths. `toFront`: the window comes to the front first.
  void take(const QStringList& files, bool toFront);

 private:
  void openWhenIdle();
  MainWindow& window_;
  QStringList pending_;
  QTimer idle_;
};

}  // namespace vekla
