#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <memory>
#include <mutex>
#include <optional>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    case ELOOP: return cp("odkazy vedou v kruhu");
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

// What is known of `path` and its folder right after a call failed with
// errno `err`.
FileFailure failureAt(const QString& path, bool writing, int err) {
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
  return failure;
}

// Why a file could not be read or written, in Czech. `err` is errno as it
// was right after the failing call.
std::string reason(const QFileDevice& f, const QString& path, bool writing, int err) {
  FileFailure failure = failureAt(path, writing, err);
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

namespace {

// "16 777 216 bajtů (16 MB)": the limit in bytes, and in whole MB rounded up.
std::string limitText(std::int64_t limit) {
  constexpr std::int64_t kMB = 1024 * 1024;
  return grouped(limit) + cp(" bajtů (") + std::to_string((limit + kMB - 1) / kMB) + " MB)";
}

}  // namespace

std::string FileTooLargeMessage(const QString& path, std::int64_t size, std::int64_t limit) {
  const std::string head = cp("Soubor \"") + NativePath(path) + cp("\" nelze načíst: má ");
  if (size < 0) return head + cp("víc než ") + limitText(limit) + cp(", víc načíst nelze.");
  return head + grouped(size) + cp(" bajtů, načíst lze nejvýše ") + limitText(limit) + ".";
}

std::string TooLargeToWriteMessage(const QString& path, std::int64_t size, std::int64_t limit) {
  return cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: měl by ") + grouped(size) +
         cp(" bajtů, načíst lze nejvýše ") + limitText(limit) + ".";
}

void CheckFileSize(const QString& path, std::int64_t limit) {
  const QFileInfo info(path);
  if (info.isFile() && info.size() > limit) throw VeklaError(FileTooLargeMessage(path, info.size(), limit));
}

namespace {

[[noreturn]] void refuseWrite(const QString& path, const std::string& why) {
  throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: ") + why + ".");
}

// Why `target` (the file a write replaces) could not be written, as seen
// right after the failing call that set `err`.
std::string whyWriting(const QString& target, int err) { return FileErrorCause(failureAt(target, true, err)); }

// What files no write may replace, for ProtectedFromWriting: the device and
// file number on POSIX systems (every name and link of the file has them),
// the resolved path elsewhere.
struct FileId {
  std::uint64_t device = 0, number = 0;
  QString canonical;
  bool operator==(const FileId& o) const {
    return device == o.device && number == o.number && canonical == o.canonical;
  }
};

std::mutex& protectedLock() {
  static std::mutex lock;
  return lock;
}
std::vector<std::optional<FileId>>& protectedFiles() {
  static std::vector<std::optional<FileId>> files;
  return files;
}

bool isProtected(const FileId& id) {
  const std::lock_guard<std::mutex> hold(protectedLock());
  const auto& files = protectedFiles();
  return std::find(files.begin(), files.end(), std::optional<FileId>(id)) != files.end();
}

}  // namespace

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#ifndef Q_OS_WIN

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

QByteArray folderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return ".";
  return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The end of the chain of links that starts at `path`, looked at without
// opening anything (a pipe would block an open). `err` is 0 when there is
// an entry at the end, else why not (ENOENT: nothing there).
struct ChainEnd {
  QByteArray path;
  int links = 0;
  int err = 0;
  struct stat st {};
};

ChainEnd followLinks(const QString& path) {
  ChainEnd end;
  end.path = QFile::encodeName(path);
  for (;;) {
    if (::lstat(end.path.constData(), &end.st) != 0) {
      end.err = errno;
      return end;
    }
    if (!S_ISLNK(end.st.st_mode)) return end;
    if (end.links == kMaxLinks) {
      end.err = ELOOP;
      return end;
    }
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(end.path.constData(), target.data(), static_cast<std::size_t>(target.size()));
    if (n < 0 || n >= target.size()) {
      end.err = n < 0 ? errno : ENAMETOOLONG;
      return end;
    }
    target.truncate(n);
    end.path = target.startsWith('/') ? target : folderOf(end.path) + "/" + target;
    ++end.links;
  }
}

FileId idOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), {}};
}

QByteArray canonicalFolder(const QByteArray& path) {
  char resolved[PATH_MAX];
  return ::realpath(folderOf(path).constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

// Whether the file a link led to lies in the folder of the link, or below it.
bool staysInFolder(const QByteArray& file, const QString& link) {
  const QByteArray inside = canonicalFolder(file), folder = canonicalFolder(QFile::encodeName(link));
  if (inside.isEmpty() || folder.isEmpty()) return false;
  return inside == folder || inside.startsWith(folder.endsWith('/') ? folder : folder + "/");
}

// The cause for an entry that is no regular file and no folder.
std::string notAFile(mode_t mode) {
  if (S_ISFIFO(mode)) return cp("je to roura, ne soubor");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return cp("je to zařízení, ne soubor");
  if (S_ISSOCK(mode)) return cp("je to soket, ne soubor");
  return cp("není to obyčejný soubor");
}

// "." + stem + "." + six random characters.
constexpr qsizetype kTempNameExtra = 8;

QByteArray randomSuffix() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QByteArray out(6, '\0');
  for (char& c : out) c = kChars[QRandomGenerator::global()->bounded(62)];
  return out;
}

// The longest name the folder's file system takes (255 bytes on the usual
// ones).
qsizetype nameLimit(const QByteArray& folder) {
  const long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
  return limit >= 14 ? static_cast<qsizetype>(std::min<long>(limit, 4096)) : 255;
}

// The name of a file made beside `target`: hidden, and within the folder's
// name limit however long the target's name is.
QByteArray tempStem(const QByteArray& target) {
  QByteArray stem = nameOf(target);
  const qsizetype room = nameLimit(folderOf(target)) - kTempNameExtra;
  if (stem.size() > room) stem.truncate(std::max<qsizetype>(room, 0));
  return folderOf(target) + "/." + stem + ".";
}

// A target whose bytes are complete and on the disk in a temporary file
// beside it: the rename is all that is left.
struct Pending {
  QString path;       // as asked, for messages
  QByteArray target;  // the entry the rename replaces
  QByteArray temp;
};

// Checks the target (see WriteFileAtomic), writes the bytes into a new
// temporary file beside the file it replaces, gives it the old file's owner,
// group and permissions, and syncs it.
Pending prepare(const QString& path, std::string_view bytes, bool linkStaysInFolder) {
  IgnoreFileSizeSignal();
  const ChainEnd end = followLinks(path);
  const bool exists = end.err == 0;
  const QString target = QFile::decodeName(end.path);
  if (!exists) {
    if (end.err == ENOENT && end.links > 0) refuseWrite(path, cp("je to odkaz na soubor, který neexistuje"));
    if (end.err != ENOENT) refuseWrite(path, whyWriting(target, end.err));
  } else {
    if (S_ISDIR(end.st.st_mode)) refuseWrite(path, cp("je to složka"));
    if (!S_ISREG(end.st.st_mode)) refuseWrite(path, notAFile(end.st.st_mode));
    if (linkStaysInFolder && end.links > 0 && !staysInFolder(end.path, path))
      refuseWrite(path, cp("je to odkaz na soubor mimo cílovou složku"));
    if (isProtected(idOf(end.st))) refuseWrite(path, cp("je to vstupní soubor"));
    // Without any write permission the file was marked read-only: the
    // administrator, whom the system would let write, does not replace it
    // either. The rename would replace it regardless of its own mode.
    if ((end.st.st_mode & 0222) == 0) refuseWrite(path, cp("soubor je jen pro čtení"));
    if (::access(end.path.constData(), W_OK) != 0) {
      const int err = errno;
      refuseWrite(path, err == EACCES || err == EPERM ? cp("soubor je jen pro čtení") : whyWriting(target, err));
    }
  }

  const QByteArray stem = tempStem(end.path);
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = stem + randomSuffix();
    // A new name, never a planted link or file; only the owner may read the
    // copy of a file whose permissions come later.
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 99)) {
      const int err = errno;
      refuseWrite(path, whyWriting(target, err));
    }
  }
  auto fail = [&](int err) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.constData());
    refuseWrite(path, whyWriting(target, err));
  };
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(n < 0 ? errno : 0);
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  if (exists) {
    // The owner can be given back by the administrator only, the group by
    // a member of it; a file system without owners refuses both. The bits
    // go last: a change of owner clears some of them.
    struct stat made {};
    if (::fstat(fd, &made) == 0 && (made.st_uid != end.st.st_uid || made.st_gid != end.st.st_gid) &&
        ::fchown(fd, end.st.st_uid, end.st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), end.st.st_gid) != 0) {
      // The group is the writer's, as for any new file.
    }
    (void)::fchmod(fd, end.st.st_mode & 0777);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) fail(errno);
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0 && errno != EINTR) fail(errno);
  return {path, end.path, temp};
}

void discard(const std::vector<Pending>& pending, std::size_t from) {
  for (std::size_t i = from; i < pending.size(); ++i) ::unlink(pending[i].temp.constData());
}

// Renames every temporary file over its target, then syncs each folder so
// that the new names survive a power cut. A folder that cannot be synced
// (some network disks) does not undo a complete save.
void commit(const std::vector<Pending>& pending) {
  std::vector<QByteArray> folders;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const Pending& p = pending[i];
    if (::rename(p.temp.constData(), p.target.constData()) != 0) {
      const int err = errno;
      discard(pending, i);
      refuseWrite(p.path, whyWriting(QFile::decodeName(p.target), err));
    }
    const QByteArray folder = folderOf(p.target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  for (const QByteArray& folder : folders) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    (void)::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

QString FileBehindLinks(const QString& path) {
  const ChainEnd end = followLinks(path);
  return end.links > 0 ? QFile::decodeName(end.path) : path;
}

ProtectedFromWriting::ProtectedFromWriting(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return;
  const std::lock_guard<std::mutex> hold(protectedLock());
  auto& files = protectedFiles();
  index_ = static_cast<int>(files.size());
  files.emplace_back(idOf(st));
}

void WriteFileAtomic(const QString& path, std::string_view bytes) { commit({prepare(path, bytes, false)}); }

void WriteFilesAtomic(const std::vector<FileToWrite>& files) {
  // Every file complete in its temporary file first; a failure drops them
  // all and no target has been touched.
  std::vector<Pending> pending;
  try {
    for (const FileToWrite& file : files) pending.push_back(prepare(file.path, file.bytes, file.linkStaysInFolder));
  } catch (...) {
    discard(pending, 0);
    throw;
  }
  commit(pending);
}

#else  // Q_OS_WIN: QSaveFile, which follows links and keeps the file's attributes itself.

namespace {

void commitSaveFile(QSaveFile& f) {
  errno = 0;
  if (f.commit()) return;
  const int err = errno;
  refuseWrite(f.fileName(), whyWriting(f.fileName(), err));
}

void writeSaveFile(QSaveFile& f, std::string_view bytes, bool commit) {
  const QString path = f.fileName();
  if (QFileInfo(path).isDir()) refuseWrite(path, cp("je to složka"));
  if (isProtected({0, 0, QFileInfo(path).canonicalFilePath()})) refuseWrite(path, cp("je to vstupní soubor"));
  int err = 0;
  auto fail = [&]() {
    f.cancelWriting();
    refuseWrite(path, whyWriting(path, err));
  };
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
  if (commit) commitSaveFile(f);
}

}  // namespace

QString FileBehindLinks(const QString& path) {
  const QFileInfo info(path);
  return info.isSymLink() ? info.symLinkTarget() : path;
}

ProtectedFromWriting::ProtectedFromWriting(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  if (canonical.isEmpty()) return;
  const std::lock_guard<std::mutex> hold(protectedLock());
  auto& files = protectedFiles();
  index_ = static_cast<int>(files.size());
  files.emplace_back(FileId{0, 0, canonical});
}

void WriteFileAtomic(const QString& path, std::string_view bytes) {
  QSaveFile f(path);
  writeSaveFile(f, bytes, true);
}

void WriteFilesAtomic(const std::vector<FileToWrite>& files) {
  std::vector<std::unique_ptr<QSaveFile>> written;
  for (const FileToWrite& file : files) {
    written.push_back(std::make_unique<QSaveFile>(file.path));
    writeSaveFile(*written.back(), file.bytes, false);
  }
  for (auto& f : written) commitSaveFile(*f);
}

#endif

ProtectedFromWriting::~ProtectedFromWriting() {
  if (index_ < 0) return;
  const std::lock_guard<std::mutex> hold(protectedLock());
  protectedFiles()[static_cast<std::size_t>(index_)].reset();
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
