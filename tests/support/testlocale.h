#pragma once
// CTest runs every test program under C and under cs_CZ.UTF-8 (LC_ALL). The
// toolkit quietly stays in C when the system lacks the locale asked for,
// which would make the second run a copy of the first: a test program fails
// instead (listing its tests at build time needs no locale).
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vekla::test {

inline bool InRequestedLocale(int argc, char** argv) {
  const char* wanted = std::getenv("LC_ALL");
  if (!wanted || !*wanted || std::setlocale(LC_ALL, wanted)) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  std::fprintf(stderr, "The locale %s is not installed (scripts/setup --test generates it).\n", wanted);
  return false;
}

}  // namespace vekla::test
