#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
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

namespace {

// Reads up to `count` bytes (all of them for a negative count) straight into
// the string that keeps them.
std::string readFile(const QString& path, std::int64_t count, std::int64_t* fileSize) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze otevřít: ") + reason(f, path, false) + ".");
  const std::int64_t size = f.size();
  if (fileSize) *fileSize = size;
  const std::int64_t wanted = count < 0 ? size : std::min(count, size);
  std::string out(static_cast<size_t>(std::max<std::int64_t>(wanted, 0)), '\0');
  std::int64_t got = 0;
  for (;;) {
    if (got < static_cast<std::int64_t>(out.size())) {
      const qint64 n = f.read(out.data() + got, static_cast<qint64>(out.size()) - got);
      if (n <= 0) break;
      got += n;
      continue;
    }
    // A file that is not a plain one may not know its size, and a file may
    // grow while it is read: read on until it ends.
    if (count >= 0 && got >= count) break;
    char more[4096];
    const qint64 n = f.read(more, count >= 0 ? std::min<qint64>(sizeof more, count - got) : qint64{sizeof more});
    if (n <= 0) break;
    out.append(more, static_cast<size_t>(n));
    got += n;
  }
  out.resize(static_cast<size_t>(got));
  if (f.error() != QFileDevice::NoError)
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze přečíst: ") + reason(f, path, false) + ".");
  return out;
}

}  // namespace

std::string ReadWholeFile(const QString& path) { return readFile(path, -1, nullptr); }

std::string ReadFileStart(const QString& path, std::int64_t count, std::int64_t& fileSize) {
  return readFile(path, count, &fileSize);
}

}  // namespace vekla
