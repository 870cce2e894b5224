#pragma once
// What "O programu" says besides the version: the licence and the libraries
// the program is built on, each with the version it runs with.
#include <string>
#include <vector>

namespace vekla {

inline constexpr const char* kLicence = "GPL-3.0-or-later";

struct LibraryVersion {
  std::string name;
  std::string version;  // empty when the library does not tell it
};

// Qt, ICU, SimpleIni, libxlsxwriter and zlib, in that order.
std::vector<LibraryVersion> UsedLibraries();

}  // namespace vekla
