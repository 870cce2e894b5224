#pragma once
// The lock of a folder of working files ("vekla.lock" in it): the window
// holds it while it runs and the converter while it writes there, so that
// two programs never write the same working files over each other. A lock
// left by a program that was killed is taken over: the file names its
// owner's process, and a process that is gone holds nothing.
#include <QLockFile>
#include <QString>
#include <optional>

namespace vekla {

class FolderLock {
 public:
  // `folder` with or without a trailing "/"; it must exist for take().
  explicit FolderLock(const QString& folder);

  enum class Take {
    Taken,       // this program holds the folder now
    Held,        // a running program holds it
    Unavailable  // the lock file cannot be made here (no rights, no folder)
  };
  Take take();
  // Waits up to `ms` milliseconds for the holder to let go.
  bool waitAndTake(int ms);

  // The running program that holds the folder, as its lock file names it.
  struct Holder {
    qint64 pid = 0;
    QString host;     // empty: this computer
    QString program;  // the file name of its executable ("vekla")
  };
  std::optional<Holder> holder() const;

  QString lockFile() const { return path_; }

 private:
  QString path_;
  QLockFile lock_;
};

// The file name of this program's executable, as a lock file names it.
QString OwnProgramName();

}  // namespace vekla
