// Where the window keeps its settings, working files and exports.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "commands/commands.h"

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
