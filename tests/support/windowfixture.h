#pragma once
// The home of a test of the window: a private VEKLA_HOME (and JPILOT_HOME,
// so that no handheld folder of the machine is seen), the clock fixed at
// `now`, and the window started with the scripted prompter as the program
// starts it, activated and with its stored tab loaded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/mainwindow.h"
#include "pdb/clock.h"
#include "support/scriptedprompter.h"

namespace vekla::test {

// A picture of `w` into $VEKLA_SCREENSHOTS, when that is set, to look at.
inline void SaveScreenshot(QWidget& w, const QString& name) {
  const QString dir = qEnvironmentVariable("VEKLA_SCREENSHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name)));
}

struct WindowFixture : ::testing::Test {
  QTemporaryDir home;
  ScriptedPrompter p;
  QDateTime now{QDate(2026, 3, 9), QTime(10, 15, 0)};

  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    qputenv("VEKLA_HOME", home.path().toUtf8());
    qputenv("JPILOT_HOME", home.path().toUtf8());  // no .jpilot there unless a test makes one
    SetNow(now);
  }
  void TearDown() override {
    SetNow(QDateTime());
    qunsetenv("VEKLA_HOME");
    qunsetenv("JPILOT_HOME");
  }

  std::unique_ptr<MainWindow> startWindow() {
    auto w = std::make_unique<MainWindow>(&p);
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->activated(); }, 5000));
    QCoreApplication::processEvents();
    return w;
  }

  static void screenshot(QWidget& w, const QString& name) { SaveScreenshot(w, name); }
};

}  // namespace vekla::test
