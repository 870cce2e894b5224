#pragma once
// A CSV file as the import reads it: bounded in size, and turned into code
// page 1250 text with no control bytes before any line of it is split.
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace vekla {

// The bytes of the file at `path`. A file larger than a database may be
// (kMaxFileSize) throws VeklaError before a byte of it is read; a file that
// does not tell its size is read at most one byte past the limit.
std::string ReadCsvFile(const QString& path);

// The text of a CSV file in code page 1250.
//
// A file that starts with a byte-order mark of UTF-8 (EF BB BF), UTF-16 LE
// (FF FE) or UTF-16 BE (FE FF), or that is strictly valid UTF-8 and holds a
// byte above 127 (what spreadsheets save on Linux), is read in that encoding
// without its mark and converted; a character code page 1250 cannot hold
// becomes "?", with one line in `log` for each line of the file where that
// happened. Any other file is code page 1250 already and stays byte for
// byte.
//
// Then every control byte other than tab, CR and LF is dropped, so none
// reaches a cell, with one line in `log` saying how many there were.
std::string CsvTextToCp1250(std::string_view raw, std::vector<std::string>& log);
// The same for bytes the caller hands over: a file in code page 1250 keeps
// its buffer, so a file of 16 MB is not held twice.
std::string CsvTextToCp1250(std::string&& raw, std::vector<std::string>& log);

}  // namespace vekla
