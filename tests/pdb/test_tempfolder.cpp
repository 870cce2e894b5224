// What a killed run left in the temporary folder is removed at the next
// start, and nothing another running program may still use.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <ctime>

#include "pdb/savefile.h"
#include "pdb/tempfolder.h"

using namespace vekla;

namespace {

// The number of a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

void SetAge(const QString& path, long seconds) {
  const timespec when{std::time(nullptr) - seconds, 0};
  const timespec times[2] = {when, when};
  ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

TEST(TempFolderTest, OnlyWhatNoRunningProgramUsesIsRemoved) {
  constexpr long kMinutes = 60, kHours = 3600, kDays = 86400;
  const QString ended = QString::number(EndedProcess());
  const QString running = QString::number(getpid());
  struct Case {
    QString name;
    char kind;  // 'd' folder (with a file in it), 'f' file, 'l' link to a folder elsewhere
    long age;
    bool removed;
    bool otherUser = false;  // the administrator only
  };
  const Case cases[] = {
      {"vekla-convert-" + ended + "-a1B2c3", 'd', 2 * kHours, true},
      {"vekla-convert-" + ended + "-a1B2c4", 'd', 10 * kMinutes, false},
      {"vekla-convert-" + running + "-a1B2c5", 'd', 3 * kDays, false},
      {"vekla-convert-" + ended + "-a1B2c6", 'l', 2 * kDays, false},
      {"vekla-convert-" + ended + "-a1B2c7", 'f', 2 * kDays, false},
      {"vekla-convert-" + ended + "-a1B2c8", 'd', 2 * kDays, false, true},
      {"vekla-convert-Ab3dE9", 'd', 2 * kDays, true},
      {"vekla-convert-Ab3dE8", 'd', 20 * kHours, false},
      {"vekla-Ab3dE9.xlsx", 'f', 2 * kDays, true},
      {"vekla-Ab3dE8.xlsx", 'f', 20 * kHours, false},
      {"vekla-Ab3dE7.xlsx", 'd', 2 * kDays, false},
      {"vekla-Ab3dE6.xlsx", 'l', 2 * kDays, false},
      {"vekla-Ab3dE5.xlsx", 'f', 2 * kDays, false, true},
      {"vekla-notes.txt", 'f', 2 * kDays, false},
      {"vekla-convert-x", 'd', 2 * kDays, false},
      {"other-Ab3dE9.xlsx", 'f', 2 * kDays, false},
  };
  QTemporaryDir dir;
  // A folder elsewhere that looks stale itself: a link to it is no entry
  // of ours, and nothing in it is removed.
  QTemporaryDir elsewhere;
  WriteFileAtomic(elsewhere.filePath("keep.txt"), "keep");
  SetAge(elsewhere.path(), 3 * kDays);
  int expected = 0;
  for (const Case& c : cases) {
    if (c.otherUser && geteuid() != 0) continue;
    const QString path = dir.filePath(c.name);
    const QByteArray native = QFile::encodeName(path);
    if (c.kind == 'd') {
      ASSERT_TRUE(QDir().mkpath(path + "/data"));
      WriteFileAtomic(path + "/data/Znamky.txt", "x");
    } else if (c.kind == 'f') {
      WriteFileAtomic(path, "x");
    } else {
      ASSERT_EQ(symlink(QFile::encodeName(elsewhere.path()).constData(), native.constData()), 0);
    }
    if (c.otherUser) {
      ASSERT_EQ(lchown(native.constData(), 65534, 65534), 0);
    }
    SetAge(path, c.age);
    expected += c.removed;
  }
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), expected);
  for (const Case& c : cases) {
    if (c.otherUser && geteuid() != 0) continue;
    struct stat st {};
    EXPECT_EQ(lstat(QFile::encodeName(dir.filePath(c.name)).constData(), &st) != 0, c.removed) << c.name.toStdString();
  }
  EXPECT_TRUE(QFile::exists(elsewhere.filePath("keep.txt")));
}

// The converter's folder, made from the template as the converter makes
// it, stays while its process runs and goes once the process was killed.
TEST(TempFolderTest, TheConvertersFolderGoesWithItsProcess) {
  QTemporaryDir tmp;
  const QByteArray previous = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(tmp.path()));
  QTemporaryDir own(PrivateTempFolderTemplate());
  const pid_t killed = fork();
  if (killed == 0) {
    QTemporaryDir left(PrivateTempFolderTemplate());
    left.setAutoRemove(false);
    _exit(left.isValid() ? 0 : 1);
  }
  int status = 0;
  waitpid(killed, &status, 0);
  if (previous.isNull()) qunsetenv("TMPDIR");
  else qputenv("TMPDIR", previous);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(own.isValid());
  QStringList names = QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(names.size(), 2);
  for (const QString& name : names) SetAge(tmp.filePath(name), 7200);
  EXPECT_EQ(RemoveStaleTemporaries(tmp.path()), 1);
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QFileInfo(own.path()).fileName()});
}

}  // namespace
