#include "pdb/tempfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace vekla {

namespace {

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;

// Whether process `pid` has ended; a process of another user, which may not
// be signalled, still runs.
bool processGone(qint64 pid) {
#ifndef Q_OS_WIN
  if (pid <= 0 || pid != static_cast<pid_t>(pid)) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
  Q_UNUSED(pid);
  return false;
#endif
}

struct Seen {
  bool ours = false;  // the user's own, and no link
  bool isDir = false;
  qint64 age = 0;  // seconds since it last changed
};

Seen look(const QString& path) {
  Seen seen;
#ifndef Q_OS_WIN
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return seen;
  if (st.st_uid != ::geteuid() || !(S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))) return seen;
  seen.ours = true;
  seen.isDir = S_ISDIR(st.st_mode);
  seen.age = QDateTime::currentSecsSinceEpoch() - static_cast<qint64>(st.st_mtime);
#else
  const QFileInfo info(path);
  if (info.isSymLink() || !info.exists()) return seen;
  seen.ours = true;
  seen.isDir = info.isDir();
  seen.age = info.lastModified().secsTo(QDateTime::currentDateTime());
#endif
  return seen;
}

}  // namespace

QString PrivateTempFolderTemplate() {
  return QDir::tempPath() + "/vekla-convert-" + QString::number(QCoreApplication::applicationPid()) + "-XXXXXX";
}

int RemoveStaleTemporaries(const QString& folder) {
  static const QRegularExpression withProcess(QStringLiteral("^vekla-convert-(\\d{1,10})-[A-Za-z0-9]{6}$"));
  static const QRegularExpression oldFolder(QStringLiteral("^vekla-convert-[A-Za-z0-9]{6}$"));
  static const QRegularExpression workbook(QStringLiteral("^vekla-[A-Za-z0-9]{6}\\.xlsx$"));
  int removed = 0;
  const QDir dir(folder);
  const QStringList names =
      dir.entryList({QStringLiteral("vekla-*")}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : names) {
    const QString path = dir.filePath(name);
    const Seen seen = look(path);
    if (!seen.ours) continue;
    bool stale = false;
    if (const QRegularExpressionMatch m = withProcess.match(name); m.hasMatch())
      stale = seen.isDir && seen.age >= kHour && processGone(m.captured(1).toLongLong());
    else if (oldFolder.match(name).hasMatch()) stale = seen.isDir && seen.age >= kDay;
    else if (workbook.match(name).hasMatch()) stale = !seen.isDir && seen.age >= kDay;
    if (!stale) continue;
    if (seen.isDir ? QDir(path).removeRecursively() : QFile::remove(path)) ++removed;
  }
  return removed;
}

}  // namespace vekla
