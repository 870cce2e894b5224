#include <gtest/gtest.h>

#include <QApplication>

#include "app/widgets.h"
#include "support/testlocale.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  vekla::UseCzech();
  if (!vekla::test::InRequestedLocale(argc, argv)) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
