#include "workspace/folderlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace vekla {

FolderLock::FolderLock(const QString& folder)
    : path_(QDir(folder).filePath(QStringLiteral("vekla.lock"))), lock_(path_) {
  // A lock is never old enough to be taken from a running program: only the
  // death of its owner frees it (a window runs for days). Where the file
  // system has file locks, the toolkit's own lock on the file already keeps
  // a running owner's lock; this covers the ones without.
  lock_.setStaleLockTime(0);
}

FolderLock::Take FolderLock::take() {
  // tryLock removes a lock whose owner on this computer is gone.
  if (lock_.tryLock(0)) return Take::Taken;
  return lock_.error() == QLockFile::LockFailedError ? Take::Held : Take::Unavailable;
}

bool FolderLock::waitAndTake(int ms) { return lock_.tryLock(ms); }

std::optional<FolderLock::Holder> FolderLock::holder() const {
  Holder h;
  if (!lock_.getLockInfo(&h.pid, &h.host, &h.program)) return std::nullopt;
  if (h.host == QSysInfo::machineHostName()) h.host.clear();
  return h;
}

QString OwnProgramName() {
  // As the lock file names its owner: the executable's own file name.
  QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  if (exe.endsWith(QLatin1String(" (deleted)"))) exe.chop(10);
  if (exe.isEmpty() && QCoreApplication::instance()) exe = QCoreApplication::applicationFilePath();
  return QFileInfo(exe).fileName();
}

}  // namespace vekla
