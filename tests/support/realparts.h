#pragma once
// The tests that start real programs (the database server, the browser)
// skip with the reason where such a program is not installed, so that a
// developer's machine runs the rest. Under CI (VEKLA_REQUIRE_REAL_PARTS=1,
// which scripts/setup --test sets) a missing program fails the test.
#include <gtest/gtest.h>

#include <QtGlobal>

namespace vekla::test {

inline bool RealPartsRequired() { return qEnvironmentVariable("VEKLA_REQUIRE_REAL_PARTS") == QLatin1String("1"); }

}  // namespace vekla::test

// In a test's body or SetUp: when `present` is false, fails under CI and
// skips elsewhere, naming the program `what`.
#define VEKLA_REQUIRE_REAL_PART(present, what)                                                                   \
  do {                                                                                                           \
    if (!(present)) {                                                                                            \
      if (::vekla::test::RealPartsRequired()) FAIL() << what << " is missing: scripts/setup --test installs it"; \
      GTEST_SKIP() << what << " is missing: scripts/setup --test installs it";                                   \
    }                                                                                                            \
  } while (0)
