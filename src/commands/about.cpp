#include "commands/about.h"

#include <unicode/uversion.h>
#include <xlsxwriter.h>
#include <zlib.h>

#include <QtGlobal>

namespace vekla {

std::vector<LibraryVersion> UsedLibraries() {
  UVersionInfo icu;
  u_getVersion(icu);
  char icuText[U_MAX_VERSION_STRING_LENGTH] = {};
  u_versionToString(icu, icuText);
  return {
      {"Qt", qVersion()},
      {"ICU", icuText},
      // SimpleIni has no version of its own in its header: the one the build
      // found (pkg-config) is named instead.
#ifdef VEKLA_SIMPLEINI_VERSION
      {"SimpleIni", VEKLA_SIMPLEINI_VERSION},
#else
      {"SimpleIni", ""},
#endif
      {"libxlsxwriter", lxw_version()},
      {"zlib", zlibVersion()},
  };
}

}  // namespace vekla
