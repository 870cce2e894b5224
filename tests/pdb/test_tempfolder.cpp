// What a killed run left in the temporary folder is removed at the next
// start, and nothing another running program may still use.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <ctime>

#include "pdb/tempfolder.h"
#include "support/entries.h"

using namespace vekla;
using namespace vekla::test;

namespace {

pid_t EndedProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

void SetAge(const QString& path, long seconds) {
  const timespec when{std::time(nullptr) - seconds, 0};
  const timespec times[2] = {when, when};
  utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
}

TEST(TempFolderTest, OnlyWhatNoRunningProgramUsesIsRemoved) {
  constexpr long kHour = 3600, kDay = 86400;
  const std::string ended = "vekla-convert-" + std::to_string(EndedProcess()) + "-a1B2c";
  const std::string running = "vekla-convert-" + std::to_string(getpid()) + "-a1B2c";
  QTemporaryDir dir, elsewhere;
  // What a link leads to looks stale itself, and is never touched.
  MakeEntries(elsewhere.path(), {{"keep", "=x"}});
  SetAge(elsewhere.path(), 3 * kDay);
  const std::string link = "->" + elsewhere.path().toStdString();
  const struct {
    std::string name, what;
    long age;
    bool removed;
    bool otherUser = false;  // the administrator only
  } cases[] = {
      {ended + "1", "/", 2 * kHour, true},
      {ended + "2", "/", kHour / 6, false},
      {running + "3", "/", 3 * kDay, false},
      {ended + "4", link, 2 * kDay, false},
      {ended + "5", "=x", 2 * kDay, false},
      {ended + "6", "/", 2 * kDay, false, true},
      {"vekla-convert-Ab3dE9", "/", 2 * kDay, true},
      {"vekla-convert-Ab3dE8", "/", 20 * kHour, false},
      {"vekla-Ab3dE9.xlsx", "=x", 2 * kDay, true},
      {"vekla-Ab3dE8.xlsx", "=x", 20 * kHour, false},
      {"vekla-Ab3dE7.xlsx", "/", 2 * kDay, false},
      {"vekla-Ab3dE6.xlsx", link, 2 * kDay, false},
      {"vekla-Ab3dE5.xlsx", "=x", 2 * kDay, false, true},
      {"vekla-notes.txt", "=x", 2 * kDay, false},
  };
  int removed = 0;
  for (const auto& c : cases) {
    if (c.otherUser && geteuid() != 0) continue;
    const QString path = dir.filePath(QString::fromStdString(c.name));
    MakeEntries(dir.path(), {{c.name, c.what}});
    if (c.what == "/") MakeEntries(path, {{"data/Znamky.ini", "=x"}});
    if (c.otherUser) {
      ASSERT_EQ(lchown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }
    SetAge(path, c.age);
    removed += c.removed;
  }
  const std::string kept = Entries(elsewhere.path());
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), removed);
  for (const auto& c : cases) {
    if (c.otherUser && geteuid() != 0) continue;
    struct stat st {};
    const QByteArray path = QFile::encodeName(dir.filePath(QString::fromStdString(c.name)));
    EXPECT_EQ(lstat(path.constData(), &st) != 0, c.removed) << c.name;
  }
  EXPECT_EQ(Entries(elsewhere.path()), kept);
}

// The converter's folder, made from the template as the converter makes
// it, stays while its process runs and goes once the process was killed.
TEST(TempFolderTest, TheConvertersFolderGoesWithItsProcess) {
  QTemporaryDir tmp;
  const QByteArray previous = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(tmp.path()));
  QTemporaryDir own(PrivateTempFolderTemplate());
  if (fork() == 0) {
    QTemporaryDir(PrivateTempFolderTemplate()).setAutoRemove(false);
    _exit(0);
  }
  wait(nullptr);
  qputenv("TMPDIR", previous);
  const QStringList both = QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(both.size(), 2);
  for (const QString& name : both) SetAge(tmp.filePath(name), 7200);
  EXPECT_EQ(RemoveStaleTemporaries(tmp.path()), 1);
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList{QFileInfo(own.path()).fileName()});
}

}  // namespace
