#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace vekla {

// The one way Vekla writes a file: into a temporary file beside the target,
// renamed over it only when complete. A failure leaves the old file intact and
// throws VeklaError with a Czech message naming the file and the reason.
void WriteFileAtomic(const QString& path, std::string_view bytes);

// Reads a whole file; throws VeklaError naming the file when it cannot.
std::string ReadWholeFile(const QString& path);

}  // namespace vekla
