#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <memory>

#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// The cause a system error number names, in Czech; empty when it names none
// the user could act on.
std::string causeOfError(const FileFailure& f) {
  switch (f.err) {
    case EROFS: return cp("disk je jen pro čtení");
    case ENOSPC: return cp("na disku není místo");
#ifdef EDQUOT
    case EDQUOT: return cp("překročena kvóta disku");
#endif
    case EFBIG:
    case EOVERFLOW:
      return f.writing ? cp("soubor by byl větší, než systém dovoluje") : cp("soubor je větší, než systém dovoluje");
    case EACCES:
    case EPERM:
      // Refused for the file itself, not for its folder.
      if (f.writing && f.exists && !f.isDir && !f.writable) return cp("soubor je jen pro čtení");
      return cp("přístup odepřen");
    case ENOENT:
      // A file being written is created, so only a folder can be missing.
      if (f.writing || !f.folderExists) return cp("složka neexistuje");
      return cp("soubor neexistuje");
    case ENOTDIR: return cp("složka neexistuje");
    case EISDIR: return cp("je to složka");
    case ENAMETOOLONG: return cp("název je příliš dlouhý");
    case EIO: return cp("chyba vstupu a výstupu");
    default: return {};
  }
}

// The cause the file system suggests when the error number names none.
std::string causeOfState(const FileFailure& f) {
  if (!f.folderExists) return cp("složka neexistuje");
  if (f.exists && f.isDir) return cp("je to složka");
  if (!f.writing && !f.exists) return cp("soubor neexistuje");
  if (f.writing && f.exists && !f.writable) return cp("soubor je jen pro čtení");
  if (f.permissionsError || (f.writing && !f.folderWritable) || (!f.writing && !f.readable))
    return cp("přístup odepřen");
  return f.writing ? cp("zápis selhal") : cp("čtení selhalo");
}

// Why a file could not be read or written, in Czech. `err` is errno as it
// was right after the failing call.
std::string reason(const QFileDevice& f, const QString& path, bool writing, int err) {
  const QFileInfo info(path);
  const QFileInfo folder(info.absolutePath());
  FileFailure failure;
  failure.err = err;
  failure.writing = writing;
  failure.folderExists = folder.exists();
  failure.folderWritable = folder.isWritable();
  failure.exists = info.exists();
  failure.isDir = info.isDir();
  failure.readable = info.isReadable();
  failure.writable = info.isWritable();
  failure.permissionsError = f.error() == QFileDevice::PermissionsError;
  return FileErrorCause(failure);
}

// 16777217 -> "16 777 217".
std::string grouped(std::int64_t v) {
  std::string digits = std::to_string(v);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(' ');
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace

std::string FileErrorCause(const FileFailure& f) {
  std::string why = causeOfError(f);
  return why.empty() ? causeOfState(f) : why;
}

std::string FileTooLargeMessage(const QString& path, std::int64_t size, std::int64_t limit) {
  constexpr std::int64_t kMB = 1024 * 1024;
  const std::string limitText = grouped(limit) + cp(" bajtů (") + std::to_string((limit + kMB - 1) / kMB) + " MB)";
  const std::string head = cp("Soubor \"") + NativePath(path) + cp("\" nelze načíst: má ");
  if (size < 0) return head + cp("víc než ") + limitText + cp(", víc načíst nelze.");
  return head + grouped(size) + cp(" bajtů, načíst lze nejvýše ") + limitText + ".";
}

void CheckFileSize(const QString& path, std::int64_t limit) {
  const QFileInfo info(path);
  if (info.isFile() && info.size() > limit) throw VeklaError(FileTooLargeMessage(path, info.size(), limit));
}

namespace {

// Renames the complete temporary file over the target.
void commitSaveFile(QSaveFile& f) {
  errno = 0;
  if (f.commit()) return;
  const int err = errno;
  const QString path = f.fileName();
  throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: ") + reason(f, path, true, err) + ".");
}

// Writes the bytes into the save file's temporary file, and commits it when
// asked: the rename over the target. A failure drops the temporary file and
// throws the message naming the target and the cause.
void writeSaveFile(QSaveFile& f, std::string_view bytes, bool commit) {
  const QString path = f.fileName();
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
  errno = 0;
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    err = errno;
    fail();
  }
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
  if (commit) commitSaveFile(f);
}

}  // namespace

void WriteFileAtomic(const QString& path, std::string_view bytes) {
  QSaveFile f(path);
  writeSaveFile(f, bytes, true);
}

void WriteFilesAtomic(const std::vector<FileToWrite>& files) {
  // Every file complete in its temporary file first; a failure drops them
  // all (an uncommitted save file removes its temporary file) and no target
  // has been touched.
  std::vector<std::unique_ptr<QSaveFile>> written;
  for (const FileToWrite& file : files) {
    written.push_back(std::make_unique<QSaveFile>(file.path));
    writeSaveFile(*written.back(), file.bytes, false);
  }
  for (auto& f : written) commitSaveFile(*f);
}

namespace {

// Reads up to `count` bytes (all of them for a negative count) straight into
// the string that keeps them.
std::string readFile(const QString& path, std::int64_t count, std::int64_t* fileSize) {
  QFile f(path);
  errno = 0;
  if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    const int err = errno;
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze otevřít: ") + reason(f, path, false, err) + ".");
  }
  const std::int64_t size = f.size();
  if (fileSize) *fileSize = size;
  const std::int64_t wanted = count < 0 ? size : std::min(count, size);
  std::string out(static_cast<size_t>(std::max<std::int64_t>(wanted, 0)), '\0');
  std::int64_t got = 0;
  int err = 0;
  // One read of at most `max` bytes at `to`; remembers the error number of
  // a failed one.
  auto readSome = [&](char* to, qint64 max) {
    errno = 0;
    const qint64 n = f.read(to, max);
    if (n < 0) err = errno;
    return n;
  };
  for (;;) {
    if (got < static_cast<std::int64_t>(out.size())) {
      const qint64 n = readSome(out.data() + got, static_cast<qint64>(out.size()) - got);
      if (n <= 0) break;
      got += n;
      continue;
    }
    // A file that is not a plain one may not know its size, and a file may
    // grow while it is read: read on until it ends.
    if (count >= 0 && got >= count) break;
    char more[4096];
    const qint64 n = readSome(more, count >= 0 ? std::min<qint64>(sizeof more, count - got) : qint64{sizeof more});
    if (n <= 0) break;
    out.append(more, static_cast<size_t>(n));
    got += n;
  }
  out.resize(static_cast<size_t>(got));
  if (f.error() != QFileDevice::NoError)
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze přečíst: ") + reason(f, path, false, err) + ".");
  return out;
}

}  // namespace

std::string ReadWholeFile(const QString& path) { return readFile(path, -1, nullptr); }

std::string ReadFileStart(const QString& path, std::int64_t count, std::int64_t& fileSize) {
  return readFile(path, count, &fileSize);
}

}  // namespace vekla
