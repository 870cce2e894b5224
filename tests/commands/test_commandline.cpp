// The window program's command line: its files, help and version, the
// toolkit's own options left for the toolkit, and a wrong option named in
// Czech as it was typed.
#include <gtest/gtest.h>

#include "commands/commandline.h"

using namespace vekla;

TEST(WindowCommandLine, FilesOptionsAndErrors) {
  const struct {
    QStringList args;  // after the program
    bool help, version;
    QStringList files;
    const char* error;
  } cases[] = {
      {{}, false, false, {}, ""},
      {{"Znamky-7A.PDB", "-", "--", "-x.PDB", "--help"}, false, false, {"Znamky-7A.PDB", "-", "-x.PDB", "--help"}, ""},
      {{"-platform", "offscreen", "-style=fusion", "--reverse", "-stylesheet", "a.qss", "b.csv"},
       false,
       false,
       {"b.csv"},
       ""},
      {{"-h"}, true, false, {}, ""},
      {{"a.PDB", "--help"}, true, false, {"a.PDB"}, ""},
      {{"-V"}, false, true, {}, ""},
      {{"--version"}, false, true, {}, ""},
      {{"--bogus"}, false, false, {}, "neznámá volba --bogus"},
      {{"a.PDB", "-bogus", "-x"}, false, false, {}, "neznámá volba -bogus"},
      {{"--help=1"}, false, false, {}, "volba --help nemá hodnotu"},
      {{"-reverse=yes"}, false, false, {}, "volba -reverse nemá hodnotu"},
      {{"a.PDB", "-style"}, false, false, {}, "volbě -style chybí hodnota"},
  };
  for (const auto& c : cases) {
    const QStringList args = QStringList{"vekla"} + c.args;
    SCOPED_TRACE(args.join(' ').toStdString());
    const WindowOptions o = ParseWindowOptions(args);
    EXPECT_EQ(o.error, QString::fromUtf8(c.error));
    if (!o.error.isEmpty()) continue;
    EXPECT_EQ(o.help, c.help);
    EXPECT_EQ(o.version, c.version);
    EXPECT_EQ(o.files, c.files);
  }
}
