#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace vekla {

// The one way Vekla writes a file: into a temporary file beside the target,
// renamed over it only when complete. A failure leaves the old file intact and
// throws VeklaError with a Czech message naming the file and the reason.
void WriteFileAtomic(const QString& path, std::string_view bytes);

// Reads a whole file; throws VeklaError naming the file when it cannot.
std::string ReadWholeFile(const QString& path);
// Reads the first `count` bytes of a file (fewer when it is shorter) and
// gives its size; the same errors as ReadWholeFile.
std::string ReadFileStart(const QString& path, std::int64_t count, std::int64_t& fileSize);

}  // namespace vekla
