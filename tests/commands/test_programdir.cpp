// Where the window keeps its settings, working files and exports.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "commands/commands.h"
#include "commands/folders.h"

using namespace vekla;

// VEKLA_HOME first; then the program's folder only when it holds the
// settings file or the marker; else the per-user data folder, never the real
// home (XDG_DATA_HOME points into the temporary folder).
TEST(ProgramDir, PortableOnlyWithSettingsOrMarker) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString r = root.path() + "/";
  const QString appName = QCoreApplication::applicationName();
  const bool hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  const QByteArray xdg = qgetenv("XDG_DATA_HOME");
  QCoreApplication::setApplicationName(QStringLiteral("Vekla"));
  qputenv("XDG_DATA_HOME", (r + "xdg").toUtf8());
  const struct {
    const char* folder;
    const char* file;  // put into the folder first; nullptr: nothing
    const char* home;  // VEKLA_HOME; nullptr: unset
    QString expected;
  } cases[] = {
      {"ini", "vekla.ini", nullptr, r + "ini/"},
      {"marker", "vekla-portable", nullptr, r + "marker/"},
      {"plain", nullptr, nullptr, r + "xdg/Vekla/"},
      {"ini-home", "vekla.ini", "own/home", r + "own/home/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    ASSERT_TRUE(QDir(r).mkpath(c.folder));
    if (c.file) {
      ASSERT_TRUE(QFile(r + c.folder + "/" + c.file).open(QIODevice::WriteOnly));
    }
    if (c.home) qputenv("VEKLA_HOME", (r + c.home).toUtf8());
    else qunsetenv("VEKLA_HOME");
    EXPECT_EQ(ResolveProgramDir(r + c.folder).toStdString(), c.expected.toStdString());
    EXPECT_TRUE(QDir(c.expected).exists());
  }
  qunsetenv("VEKLA_HOME");
  if (hadXdg) qputenv("XDG_DATA_HOME", xdg);
  else qunsetenv("XDG_DATA_HOME");
  QCoreApplication::setApplicationName(appName);
}

// Pages and workbooks go to the folder Vekla in the user's documents (as
// the desktop names it), except where everything is kept in one chosen
// folder: VEKLA_HOME or a portable install.
TEST(ProgramDir, ExportsGoToTheDocumentsUnlessPortableOrVeklaHome) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString r = root.path() + "/";
  const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
  const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("HOME", (r + "home").toUtf8());
  qputenv("XDG_CONFIG_HOME", (r + "config").toUtf8());
  ASSERT_TRUE(QDir(r).mkpath("config"));
  ASSERT_TRUE(QDir(r).mkpath("home"));
  const struct {
    const char* folder;
    const char* file;       // put into the program's folder first; nullptr: nothing
    const char* veklaHome;  // nullptr: unset
    const char* userDirs;   // the desktop's user-dirs.dirs; nullptr: none
    QString expected;
  } cases[] = {
      {"plain", nullptr, nullptr, nullptr, r + "home/Documents/Vekla/"},
      {"czech", nullptr, nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n", r + "home/Dokumenty/Vekla/"},
      {"portable", "vekla-portable", nullptr, nullptr, ""},
      {"home", nullptr, "own", nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    ASSERT_TRUE(QDir(r).mkpath(c.folder));
    if (c.file) {
      ASSERT_TRUE(QFile(r + c.folder + "/" + c.file).open(QIODevice::WriteOnly));
    }
    QFile dirs(r + "config/user-dirs.dirs");
    if (c.userDirs) {
      ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
      dirs.write(c.userDirs);
      dirs.close();
    } else {
      dirs.remove();
    }
    if (c.veklaHome) qputenv("VEKLA_HOME", (r + c.veklaHome).toUtf8());
    else qunsetenv("VEKLA_HOME");
    EXPECT_EQ(ResolveExportDir(r + c.folder).toStdString(), c.expected.toStdString());
    VeklaState s;
    s.programDir = r + "prog/";
    s.exportDir = ResolveExportDir(r + c.folder);
    EXPECT_EQ(ExportFolder(s), c.expected.isEmpty() ? s.programDir : c.expected);
  }
  qunsetenv("VEKLA_HOME");
  qputenv("HOME", home);
  if (hadConfig) qputenv("XDG_CONFIG_HOME", config);
  else qunsetenv("XDG_CONFIG_HOME");
}
