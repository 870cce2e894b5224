#pragma once
// One window per data folder. The window that holds the folder's lock
// listens on a local socket named after the folder; a later start on the
// same folder hands its files over that socket and ends, so two windows
// never write the same working files over each other.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include "workspace/folderlock.h"

class QLocalServer;
class QLocalSocket;

namespace vekla {

// The socket name of the window on `folder`: a hash of its canonical path
// (socket names are short), in the user's own runtime folder when the
// desktop gives one.
QString InstanceName(const QString& folder);

// A hand-over on the wire: a length, a tag and the absolute paths of the
// files (none: the window only comes to the front).
QByteArray EncodeHandOver(const QStringList& files);
enum class Decoded { Incomplete, Done, Malformed };
// Takes one message off the front of `buffer` into `files`.
Decoded DecodeHandOver(QByteArray& buffer, QStringList& files);

// The window's end of the socket: every complete hand-over is answered at
// once and reported by filesHanded; what the window does with the files
// is its own business.
class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(QObject* parent = nullptr);
  // Takes over a socket left by a killed window: call only while holding
  // the folder's lock.
  bool listen(const QString& name);
  void close();

 signals:
  void filesHanded(const QStringList& files);

 private:
  void serve(QLocalSocket* socket);
  QLocalServer* server_;
};

// How a start on a folder ends: it runs the window (holding the lock), it
// handed its files to the window that runs, or it may not run at all.
struct Claim {
  enum What { First, HandedOver, Refused, Unlocked } what = Refused;
  QString refusal;  // Refused: why, in Czech, for the message box and stderr
};

// Takes the lock of `dataFolder` or hands `files` to its holder, retrying
// for `waitMs` milliseconds while the holder starts or ends. Unlocked: the
// lock file cannot be made there, so the window runs without one.
// `shownFolder` names the folder in the refusal.
Claim ClaimFolder(FolderLock& lock, const QString& dataFolder, const QString& shownFolder, const QStringList& files,
                  int waitMs);

}  // namespace vekla
