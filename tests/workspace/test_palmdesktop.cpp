#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "workspace/palmdesktop.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/inifile.h"

using namespace vekla;

namespace {

// Points HOME (and JPILOT_HOME) at a temporary folder for one test.
class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {}
  ~EnvGuard() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

IniFile iniOf(const std::string& bytes) {
  IniFile ini;
  ini.loadFromBytes(bytes);
  return ini;
}

}  // namespace

TEST(PalmDesktop, BackupFolderFromTheTwoValues) {
  struct Case {
    std::optional<QString> path, user;
    QString expected;
  };
#ifdef Q_OS_WIN
  const QString sep = "\\";
#else
  const QString sep = "/";
#endif
  const Case cases[] = {
      {"C:\\Palm", "Novotny Jan", "C:\\Palm" + sep + "Novotn" + sep + "Backup" + sep},
      {"C:\\Palm", "Jana", "C:\\Palm" + sep + "Jana" + sep + "Backup" + sep},  // shorter than 6: whole
      {"C:\\Palm", std::nullopt, "C:\\Palm" + sep},
      {std::nullopt, "Novotny Jan", "Novotn" + sep + "Backup" + sep},
      {std::nullopt, std::nullopt, ""},
      {"/home/u/palm" + sep, "Jana", "/home/u/palm" + sep + "Jana" + sep + "Backup" + sep},
  };
  for (const Case& c : cases) {
    const PalmDesktopValues v{c.path, c.user};
    EXPECT_EQ(PalmBackupFolder(v), c.expected) << c.expected.toStdString();
    EXPECT_EQ(PalmUserName(v), c.user.value_or(QString()));
  }
}

#ifndef Q_OS_WIN
TEST(PalmDesktop, ValuesFromTheSettingsFile) {
  const PalmDesktopValues both = ReadPalmDesktopValues(
      iniOf("[Nastaveni]\r\nPath=/wrong\r\n[PalmDesktop]\r\nPath=/home/t/palm\r\nLastUserName=Nov\xe1k Jan\r\n"));
  EXPECT_EQ(both.path, QString("/home/t/palm"));
  EXPECT_EQ(both.lastUserName, QString::fromUtf8("Novák Jan"));
  EXPECT_EQ(PalmBackupFolder(both), QString::fromUtf8("/home/t/palm/Novák /Backup/"));

  const PalmDesktopValues none = ReadPalmDesktopValues(iniOf("[Nastaveni]\r\nAdresar1=/x\r\n"));
  EXPECT_FALSE(none.path);
  EXPECT_FALSE(none.lastUserName);
  // An empty value counts as missing rather than putting the folder at the root.
  const PalmDesktopValues empty = ReadPalmDesktopValues(iniOf("[PalmDesktop]\r\nPath=\r\nLastUserName=Jana\r\n"));
  EXPECT_FALSE(empty.path);
  EXPECT_EQ(PalmBackupFolder(empty), "Jana/Backup/");
}

TEST(PalmDesktop, JPilotBackupAndInstallQueue) {
  QTemporaryDir home, other;
  ASSERT_TRUE(home.isValid() && other.isValid());
  EnvGuard homeGuard("HOME"), jpilotGuard("JPILOT_HOME");
  qputenv("HOME", QFile::encodeName(home.path()));
  qunsetenv("JPILOT_HOME");
  const IniFile noValues;
  const QString file = home.filePath(QStringLiteral("Znamky-7A.PDB"));

  // No J-Pilot folder: nothing queued, no backup folder.
  EXPECT_FALSE(JPilotFolder());
  EXPECT_EQ(EffectiveBackupFolder(noValues), "");
  EXPECT_FALSE(QueueForJPilot(noValues, file));

  ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral(".jpilot")));
  const QString jp = home.path() + "/.jpilot";
  EXPECT_EQ(JPilotFolder(), jp);
  EXPECT_EQ(EffectiveBackupFolder(noValues), jp + "/backup/");

  // Each queued file is one absolute path on its own line, appended.
  const QString install = jp + "/jpilot.install";
  WriteFileAtomic(install, "/old/file.prc");  // a list without a final line end
  EXPECT_TRUE(QueueForJPilot(noValues, file));
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(home.path());
  EXPECT_TRUE(QueueForJPilot(noValues, QStringLiteral("Vekla-R.PDB")));  // a relative name
  QDir::setCurrent(oldCwd);
  const std::string expected = "/old/file.prc\n" + QFile::encodeName(file).toStdString() + "\n" +
                               QFile::encodeName(home.filePath("Vekla-R.PDB")).toStdString() + "\n";
  EXPECT_EQ(ReadWholeFile(install), expected);

  // Desktop values set: they win, nothing is queued.
  const IniFile withValues = iniOf("[PalmDesktop]\r\nPath=/p\r\nLastUserName=Jana\r\n");
  EXPECT_EQ(EffectiveBackupFolder(withValues), "/p/Jana/Backup/");
  EXPECT_FALSE(QueueForJPilot(withValues, file));
  EXPECT_EQ(ReadWholeFile(install), expected);

  // JPILOT_HOME takes the place of HOME, also when its folder is missing.
  qputenv("JPILOT_HOME", QFile::encodeName(other.path()));
  EXPECT_FALSE(JPilotFolder());
  ASSERT_TRUE(QDir(other.path()).mkdir(QStringLiteral(".jpilot")));
  EXPECT_EQ(JPilotFolder(), other.path() + "/.jpilot");
  EXPECT_TRUE(QueueForJPilot(noValues, file));
  EXPECT_EQ(ReadWholeFile(other.path() + "/.jpilot/jpilot.install"), QFile::encodeName(file).toStdString() + "\n");
}
#endif
