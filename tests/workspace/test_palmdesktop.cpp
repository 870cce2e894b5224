#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "workspace/palmdesktop.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
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
    const PalmDesktopValues v{c.path, c.user, std::nullopt};
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

// Which folder the backups are looked for in, and whether one is known at
// all: a folder chosen in the program first, then the desktop software's
// values, then J-Pilot's backup.
TEST(PalmDesktop, ChosenFolderComesFirstAndAnyFolderCountsAsKnown) {
  QTemporaryDir home;
  EnvGuard homeGuard("HOME"), jpilotGuard("JPILOT_HOME");
  qputenv("HOME", QFile::encodeName(home.path()));
  qunsetenv("JPILOT_HOME");
  const QString jp = home.path() + "/.jpilot";
  const struct {
    const char* ini;
    bool jpilot;
    QString backup;  // the folder used; empty: none known
    bool queued;     // HotSync goes to J-Pilot
  } cases[] = {
      {"[PalmDesktop]\r\nZaloha=\r\n", false, "", false},
      {"[PalmDesktop]\r\nZaloha=/z/zaloha\r\n", false, "/z/zaloha/", false},
      {"[PalmDesktop]\r\nZaloha=/z\r\nPath=/p\r\nLastUserName=Jana\r\n", true, "/z/", false},
      {"[PalmDesktop]\r\nZaloha=/z/\r\n", true, "/z/", true},
      {"[PalmDesktop]\r\nLastUserName=Jana\r\n", false, "Jana/Backup/", false},
      {"", true, jp + "/backup/", true},
  };
  for (const auto& c : cases) {
    if (c.jpilot) {
      ASSERT_TRUE(QDir().mkpath(jp));
    }
    const IniFile ini = iniOf(c.ini);
    EXPECT_EQ(EffectiveBackupFolder(ini), c.backup) << c.ini << c.jpilot;
    EXPECT_EQ(HandheldFolderKnown(ini), !c.backup.isEmpty()) << c.ini << c.jpilot;
    EXPECT_EQ(QueueForJPilot(ini, home.filePath("Znamky-7A.PDB")), c.queued) << c.ini << c.jpilot;
  }
}

// A folder's databases counted by creator and type, else by name; the
// preferences database apart; other files and subfolders not at all.
TEST(PalmDesktop, FindsTheDatabasesOfEachKind) {
  QTemporaryDir dir;
  using test::pdbBytes;
  const std::pair<const char*, std::string> files[] = {
      {"Znamky-7A.PDB", pdbBytes("Znamky-7A", "data", "TqbZ", 0, 0, {})},
      {"trida.pdb", pdbBytes("Znamky-7B", "data", "TqbZ", 0, 0, {})},
      {"Vekla-Novakova.pdb", pdbBytes("x", "DATA", "none", 0, 0, {})},
      {"vekla-datum.PDB", pdbBytes("vekla-datum", "datu", "TqbK", 0, 0, {})},
      {"Znamky-db_pref.PDB", pdbBytes("Znamky-db_pref", "pref", "TqbZ", 0, 0, {})},
      {"AddressDB.PDB", pdbBytes("AddressDB", "DATA", "addr", 0, 0, {})},
      {"Znamky-kratky.PDB", "Znamky"},
      {"podslozka/Rozpisy-D.PDB", pdbBytes("x", "data", "TqbR", 0, 0, {})},
  };
  ASSERT_TRUE(QDir(dir.path()).mkpath("podslozka"));
  for (const auto& [name, bytes] : files) WriteFileAtomic(dir.filePath(name), bytes);
  const FoundDatabases found = FindDatabases(dir.path());
  EXPECT_EQ(found.perKind, (std::array<int, 4>{2, 0, 1, 1}));
  EXPECT_TRUE(found.preferences);
  EXPECT_EQ(FindDatabases(dir.filePath("podslozka")).total(), 1);
}
#endif
