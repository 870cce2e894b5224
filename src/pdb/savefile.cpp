#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// The cause of a failed write as the system reported it, in Czech; empty
// when the system's error number says nothing more specific.
std::string writeCause(int err) {
  switch (err) {
    case ENOSPC: return cp("na disku není místo");
#ifdef EDQUOT
    case EDQUOT: return cp("překročena kvóta disku");
#endif
    case EFBIG: return cp("soubor by byl větší, než systém dovoluje");
    case EROFS: return cp("disk je jen pro čtení");
    case EACCES:
    case EPERM: return cp("přístup odepřen");
    case EIO: return cp("chyba vstupu a výstupu");
    default: return {};
  }
}

// Why a file could not be read or written, in Czech: the likely cause found
// from the file system, with the system's own wording after it.
std::string reason(const QFileDevice& f, const QString& path, bool writing, int err = 0) {
  const QFileInfo info(path);
  const QFileInfo folder(info.absolutePath());
  std::string why;
  if (!folder.exists()) why = cp("složka neexistuje");
  else if (writing && info.exists() && info.isDir()) why = cp("je to složka");
  else if (!writing && !info.exists()) why = cp("soubor neexistuje");
  else if (!writing && info.isDir()) why = cp("je to složka");
  else if (writing && info.exists() && !info.isWritable()) why = cp("soubor je jen pro čtení");
  else if (f.error() == QFileDevice::PermissionsError || (writing && !folder.isWritable()) ||
           (!writing && !info.isReadable()))
    why = cp("přístup odepřen");
  else if (writing && !writeCause(err).empty()) why = writeCause(err);
  else why = writing ? cp("zápis selhal") : cp("čtení selhalo");
  const QString system = f.errorString();
  if (!system.isEmpty() && system != QLatin1String("Unknown error")) why += " (" + fromQt(system) + ")";
  return why;
}

}  // namespace

void WriteFileAtomic(const QString& path, std::string_view bytes) {
  QSaveFile f(path);
  int err = 0;
  auto fail = [&]() {
    const std::string why = reason(f, path, true, err);
    // Dropping the temporary file: the target was never touched.
    f.cancelWriting();
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: ") + why + ".");
  };
  // Unbuffered: every byte reaches the system inside write(), so a full disk
  // shows up there and never in a last flush whose failure the rename would
  // not notice.
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) fail();
  const char* data = bytes.data();
  qint64 left = static_cast<qint64>(bytes.size());
  while (left > 0) {
    errno = 0;
    const qint64 n = f.write(data, left);
    if (n <= 0) {
      err = errno;
      fail();
    }
    data += n;
    left -= n;
  }
  errno = 0;
  if (!f.flush() || f.error() != QFileDevice::NoError) {
    err = errno;
    fail();
  }
  if (!f.commit()) {
    err = errno;
    fail();
  }
}

std::string ReadWholeFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze otevřít: ") + reason(f, path, false) + ".");
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze přečíst: ") + reason(f, path, false) + ".");
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace vekla
