#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vekla {

// The one way Vekla writes a file: into a temporary file beside the target,
// renamed over it only when complete. A failure leaves the old file intact and
// throws VeklaError with a Czech message naming the file and the reason.
void WriteFileAtomic(const QString& path, std::string_view bytes);
// Files that belong together, written the same way: every one is complete in
// its temporary file before any target is replaced, so a failure leaves
// every old file intact.
struct FileToWrite {
  QString path;
  std::string bytes;
};
void WriteFilesAtomic(const std::vector<FileToWrite>& files);

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
