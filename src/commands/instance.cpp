#include "commands/instance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QtEndian>
#include <memory>

namespace vekla {

namespace {

constexpr quint32 kTag = 0x564b4c31;  // "VKL1"
constexpr qsizetype kMaxMessage = 1 << 20;
const QByteArray kAnswer = QByteArrayLiteral("ok\n");

// A socket path the system takes: well under the 108 bytes of sun_path.
constexpr qsizetype kMaxSocketPath = 100;

}  // namespace

QString InstanceName(const QString& folder) {
  QString path = QFileInfo(folder).canonicalFilePath();
  if (path.isEmpty()) path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  const QString name = QStringLiteral("vekla-") +
                       QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
  // The runtime folder is the user's own: nobody else can put a socket of
  // that name there first. Without one the toolkit uses the temporary folder.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
    const QString inRuntime = QDir(runtime).filePath(name);
    if (inRuntime.toLocal8Bit().size() <= kMaxSocketPath) return inRuntime;
  }
  return name;
}

QByteArray EncodeHandOver(const QStringList& files) {
  QByteArray payload;
  QDataStream out(&payload, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kTag << files;
  QByteArray message(4, '\0');
  qToBigEndian<quint32>(static_cast<quint32>(payload.size()), message.data());
  return message + payload;
}

Decoded DecodeHandOver(QByteArray& buffer, QStringList& files) {
  if (buffer.size() < 4) return Decoded::Incomplete;
  const quint32 length = qFromBigEndian<quint32>(buffer.constData());
  if (length > kMaxMessage) return Decoded::Malformed;
  if (buffer.size() < 4 + qsizetype(length)) return Decoded::Incomplete;
  const QByteArray payload = buffer.mid(4, length);
  buffer.remove(0, 4 + length);
  QDataStream in(payload);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 tag = 0;
  QStringList read;
  in >> tag;
  if (tag != kTag) return Decoded::Malformed;
  in >> read;
  if (in.status() != QDataStream::Ok || !in.atEnd()) return Decoded::Malformed;
  files = read;
  return Decoded::Done;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  // Only this user may hand files to the window.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) serve(socket);
  });
}

bool InstanceServer::listen(const QString& name) {
  QLocalServer::removeServer(name);
  return server_->listen(name);
}

void InstanceServer::close() { server_->close(); }

void InstanceServer::serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  auto buffer = std::make_shared<QByteArray>();
  auto read = [this, socket, buffer] {
    buffer->append(socket->readAll());
    QStringList files;
    switch (DecodeHandOver(*buffer, files)) {
      case Decoded::Incomplete: return;
      case Decoded::Malformed:
        socket->abort();
        socket->deleteLater();
        return;
      case Decoded::Done:
        // The window has the files (it opens them when it is free): the
        // other start may end now.
        emit filesHanded(files);
        socket->write(kAnswer);
        socket->flush();
        socket->disconnectFromServer();
        return;
    }
  };
  connect(socket, &QLocalSocket::readyRead, this, read);
  if (socket->bytesAvailable() > 0) read();
}

namespace {

int remaining(const QDeadlineTimer& deadline) { return static_cast<int>(std::max<qint64>(0, deadline.remainingTime())); }

// Whether the window listening on `name` took the files. A window that has
// not started listening yet, or one that is closing, takes nothing.
bool sendFiles(const QString& name, const QStringList& files, const QDeadlineTimer& deadline) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(remaining(deadline))) return false;
  socket.write(EncodeHandOver(files));
  QByteArray answer;
  while (answer.size() < kAnswer.size()) {
    if (socket.bytesToWrite() > 0) socket.waitForBytesWritten(remaining(deadline));
    if (!socket.waitForReadyRead(remaining(deadline))) return false;
    answer += socket.readAll();
  }
  return answer.startsWith(kAnswer);
}

QString refusal(const FolderLock& lock, const QString& folder, int waitMs) {
  const QString shown = QDir::toNativeSeparators(folder);
  const std::optional<FolderLock::Holder> h = lock.holder();
  if (!h) {
    return QStringLiteral(
               "Složka dat \"%1\" je zamčena souborem \"%2\", který nelze přečíst. Okno se nespustí. Neběží-li "
               "jiná Vekla, smažte ten soubor a spusťte Veklu znovu.")
        .arg(shown, QDir::toNativeSeparators(lock.lockFile()));
  }
  if (h->host.isEmpty() && h->program == OwnProgramName()) {
    return QStringLiteral(
               "Vekla už běží se složkou dat \"%1\" (proces %2), ale do %3 s neodpověděla. Druhé okno se "
               "nespustí, aby okna nepřepsala pracovní soubory jedno druhému. Přepněte se do běžícího okna, "
               "nebo ho zavřete a spusťte Veklu znovu.")
        .arg(shown, QString::number(h->pid), QString::number(waitMs / 1000));
  }
  const QString where = h->host.isEmpty() ? QString() : QStringLiteral(" na počítači %1").arg(h->host);
  return QStringLiteral(
             "Složku dat \"%1\" používá program %2 (proces %3%4). Okno se nespustí, aby programy nepřepsaly "
             "pracovní soubory jeden druhému; spusťte Veklu znovu, až %2 skončí.")
      .arg(shown, h->program.isEmpty() ? QStringLiteral("?") : h->program, QString::number(h->pid), where);
}

}  // namespace

Claim ClaimFolder(FolderLock& lock, const QString& dataFolder, const QString& shownFolder, const QStringList& files,
                  int waitMs) {
  const QString name = InstanceName(dataFolder);
  const QDeadlineTimer deadline(waitMs);
  for (;;) {
    switch (lock.take()) {
      case FolderLock::Take::Taken: return {Claim::First, {}};
      case FolderLock::Take::Unavailable: return {Claim::Unlocked, {}};
      case FolderLock::Take::Held: break;
    }
    // The holder may be a window that has not started listening yet, or one
    // that is closing and about to let go: both are tried again.
    if (sendFiles(name, files, deadline)) return {Claim::HandedOver, {}};
    if (deadline.hasExpired()) break;
    QThread::msleep(50);
  }
  return {Claim::Refused, refusal(lock, shownFolder, waitMs)};
}

}  // namespace vekla
