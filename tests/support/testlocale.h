#pragma once
// CTest runs every test program twice: under the C locale and under the
// teacher's, cs_CZ.UTF-8 (CMakeLists.txt). The toolkit switches the C library
// to the locale the environment names when the application object is made,
// and quietly stays in C when the system lacks it, which would turn the
// second run into a copy of the first. A test program asked for a locale it
// cannot have says so and fails instead.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vekla::test {

// True when the locale LC_ALL names (if any) is the one in force, or when
// the program only lists its tests (at build time).
inline bool InRequestedLocale(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  const char* wanted = std::getenv("LC_ALL");
  if (!wanted || !*wanted || std::setlocale(LC_ALL, wanted)) return true;
  std::fprintf(stderr,
               "The locale %s is not installed, so the tests cannot run in it. "
               "scripts/setup --test generates it.\n",
               wanted);
  return false;
}

}  // namespace vekla::test
