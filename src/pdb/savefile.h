#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vekla {

// The one way Vekla writes a file: into a temporary file beside the target,
// renamed over it only when complete and on the disk, the folder synced
// after. A failure leaves the old file intact and throws VeklaError with a
// Czech message naming the file and the reason.
//
// A symbolic link is followed as editors do: the regular file it names is
// replaced and the link stays. Only a regular file is ever replaced: a
// folder, a pipe, a device or a socket is refused (and never opened), as is
// a link that leads nowhere, a file without write permission ("jen pro
// čtení", also for the administrator) and a file kept from writing
// (ProtectedFromWriting). The replaced file keeps its permission bits, and
// its owner and group as far as the writer may set them.
void WriteFileAtomic(const QString& path, std::string_view bytes);
// Files that belong together, written the same way: every one is complete in
// its temporary file before any target is replaced, so a failure leaves
// every old file intact.
struct FileToWrite {
  QString path;
  std::string bytes;
  // A name the program picks itself in a folder others may write (the HTML
  // export's page and style sheets): a link there is followed only to a
  // file inside the same folder, so a planted link cannot make the export
  // replace a file elsewhere.
  bool linkStaysInFolder = false;
};
void WriteFilesAtomic(const std::vector<FileToWrite>& files);

// The entry a write to `path` replaces or a read of it reads: the end of
// the chain of links at `path`, or `path` itself when it is no link (or the
// chain cannot be followed).
QString FileBehindLinks(const QString& path);

// While an object lives, no write replaces the file that was at `path` when
// it was made, by whatever name or link the write reaches it: the
// converter's input.
class ProtectedFromWriting {
 public:
  explicit ProtectedFromWriting(const QString& path);
  ~ProtectedFromWriting();
  ProtectedFromWriting(const ProtectedFromWriting&) = delete;
  ProtectedFromWriting& operator=(const ProtectedFromWriting&) = delete;

 private:
  int index_ = -1;
};

// A write past the process's file-size limit would kill the program with a
// signal and no word; ignored, the write fails and says so. Both programs
// call it at start (a library writes the Excel workbook before any
// WriteFileAtomic), and the writers call it too.
void IgnoreFileSizeSignal();

// Reads a whole file; throws VeklaError naming the file when it cannot.
std::string ReadWholeFile(const QString& path);
// Reads the first `count` bytes of a file (fewer when it is shorter) and
// gives its size; the same errors as ReadWholeFile.
std::string ReadFileStart(const QString& path, std::int64_t count, std::int64_t& fileSize);

// The message for a file too large to be read: its size and the limit in
// bytes, the limit also in whole MB (rounded up). A negative `size` stands
// for a file that does not tell its size and was found longer than the
// limit while it was read.
std::string FileTooLargeMessage(const QString& path, std::int64_t size, std::int64_t limit);
// The message for a file a writer refuses to write because its reader would
// refuse it: `size` bytes against the same limit.
std::string TooLargeToWriteMessage(const QString& path, std::int64_t size, std::int64_t limit);
// Throws VeklaError with that message when `path` is a plain file of more
// than `limit` bytes; reads nothing of it.
void CheckFileSize(const QString& path, std::int64_t limit);

// What was known when reading or writing a file failed: the system's error
// number taken right after the failing call (0 when there was none) and what
// the file system says about the file and its folder.
struct FileFailure {
  int err = 0;
  bool writing = false;
  bool folderExists = true;
  bool folderWritable = true;
  bool exists = true;
  bool isDir = false;
  bool readable = true;
  bool writable = true;
  bool permissionsError = false;  // Qt reported the failure as one of permissions
};
// The cause in Czech. The error number wins when it names a cause, since
// the file system's state can only suggest one (a read-only disk makes the
// folder look closed as well); the file system then refines it (a file the
// user may not write is "jen pro čtení") or stands in when the number says
// nothing.
std::string FileErrorCause(const FileFailure& f);

}  // namespace vekla
