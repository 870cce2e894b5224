#pragma once
// The window of the benchmarks as the program starts it: a private home (no
// settings, no J-Pilot folder), dialogs and questions to a scripted
// prompter, activated and settled before anything is timed.
#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/mainwindow.h"
#include "support/scriptedprompter.h"

namespace vekla::bench {

// Every event handled, deferred deletes included.
inline void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

inline std::unique_ptr<MainWindow> StartWindow(const QTemporaryDir& home, test::ScriptedPrompter& p) {
  qputenv("VEKLA_HOME", home.path().toUtf8());
  qputenv("JPILOT_HOME", home.path().toUtf8());
  auto w = std::make_unique<MainWindow>(&p);
  w->show();
  QApplication::setActiveWindow(w.get());
  while (!w->activated()) QCoreApplication::processEvents();
  Settle();
  return w;
}

}  // namespace vekla::bench
