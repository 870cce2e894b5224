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

// Pages and workbooks go to "Vekla" in the documents folder the desktop
// names, except where everything is kept in one folder: VEKLA_HOME or a
// portable install.
TEST(ProgramDir, ExportsGoToTheDocumentsUnlessPortableOrVeklaHome) {
  QTemporaryDir root;
  const QString r = root.path() + "/";
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", (r + "home").toUtf8());
  qputenv("XDG_CONFIG_HOME", (r + "config").toUtf8());
  QDir(r).mkpath("config");
  QDir(r).mkpath("portable");
  ASSERT_TRUE(QFile(r + "portable/vekla-portable").open(QIODevice::WriteOnly));
  const struct {
    const char* app;
    const char* veklaHome;  // nullptr: unset
    const char* userDirs;   // the desktop's user-dirs.dirs
    QString expected;
  } cases[] = {
      {"plain", nullptr, "", r + "home/Documents/Vekla/"},
      {"plain", nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n", r + "home/Dokumenty/Vekla/"},
      {"portable", nullptr, "", ""},
      {"plain", "own", "", ""},
  };
  for (const auto& c : cases) {
    QFile dirs(r + "config/user-dirs.dirs");
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write(c.userDirs);
    dirs.close();
    if (c.veklaHome) qputenv("VEKLA_HOME", (r + c.veklaHome).toUtf8());
    else qunsetenv("VEKLA_HOME");
    EXPECT_EQ(ResolveExportDir(r + c.app), c.expected) << c.app << c.userDirs;
  }
  qunsetenv("VEKLA_HOME");
  qunsetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home);
}
