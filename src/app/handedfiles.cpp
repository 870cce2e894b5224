#include "app/handedfiles.h"

#include <QApplication>
#include <utility>

#include "app/mainwindow.h"

namespace vekla {

HandedFiles::HandedFiles(MainWindow& window) : QObject(&window), window_(window) {
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, &HandedFiles::openWhenIdle);
}

void HandedFiles::take(const QStringList& files, bool toFront) {
  if (toFront) {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
  }
  pending_ += files;
  if (!pending_.isEmpty()) idle_.start(0);
}

void HandedFiles::openWhenIdle() {
  // A dialog or menu runs its own event loop inside a command: wait for it.
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
    idle_.start(200);
    return;
  }
  // The stored tab is loaded first, so that the files are opened over it.
  window_.activate();
  const QStringList files = std::exchange(pending_, {});
  for (const QString& f : files) window_.openGivenFile(f);
}

}  // namespace vekla
