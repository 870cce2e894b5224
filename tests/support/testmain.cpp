#include <gtest/gtest.h>

#include <QCoreApplication>
#ifdef VEKLA_GUI_TESTS
#include <QGuiApplication>
#endif

#include "support/testlocale.h"

int main(int argc, char** argv) {
#ifdef VEKLA_GUI_TESTS
  // Fonts and painting, no window: offscreen unless a platform is asked for.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
#else
  QCoreApplication app(argc, argv);
#endif
  if (!vekla::test::InRequestedLocale(argc, argv)) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
