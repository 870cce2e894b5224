#pragma once
// The command line of vekla-convert.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "workspace/state.h"

namespace vekla::cli {

// A command line that cannot be run; the text is UTF-8 for the terminal.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ConvertOptions {
  std::optional<DbKind> kind;   // --kind
  bool allSemesters = true;     // --semesters all (the default)
  std::set<int> semesters;      // --semesters N[,N...], 1-based
  std::optional<int> semester;  // --semester N, 1-based
  bool twoValues = false;       // --two-values
  bool report = false;          // --report: the per-student report as the PDF
  QString settingsFile;         // --settings
  QString dataDir;              // --data, with a trailing "/"
  QDateTime now;                // --now; invalid when not given
  QString infoFile;             // --info
  bool help = false;
  bool version = false;    // --version
  QStringList positional;  // INPUT OUTPUT
};

// `args` without the program's name. Throws UsageError for an unknown
// option, a missing or malformed value.
ConvertOptions ParseOptions(const QStringList& args);

// The settings file to read: --settings when given; else, when VEKLA_HOME
// is set, the window's own $VEKLA_HOME/vekla.ini if it exists (its grade
// display options and the handheld's backup folder); else none (empty).
QString SettingsFile(const ConvertOptions& o);

// The usage text, UTF-8: shown by --help and after a usage error.
const char* UsageText();

}  // namespace vekla::cli
