#pragma once
// The command lines of both programs, read with the toolkit's parser
// before anything needs a display. The window program's options are here;
// the converter's are in src/cli/options.h.
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace vekla {

// What went wrong in a parse, in Czech, naming the option as it was typed:
// "neznámá volba --x", "volbě --kind chybí hodnota", "volba --help nemá
// hodnotu". `args` is what was parsed, the program first.
QString CommandLineError(const QCommandLineParser& parser, const QStringList& args);

struct WindowOptions {
  bool help = false;
  bool version = false;
  QStringList files;  // as given
  QString error;      // a wrong command line, in Czech; empty when it is right
};

// `args` is the whole command line, the program first. The toolkit's own
// options (-platform, -style, -reverse, ...) are known and left for it.
WindowOptions ParseWindowOptions(const QStringList& args);

// The window program's usage text, UTF-8: shown by --help and after a
// wrong command line.
const char* WindowUsageText();

}  // namespace vekla
