#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/testlocale.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (!vekla::test::InRequestedLocale(argc, argv)) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
