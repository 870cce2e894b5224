#pragma once
// Separated lines at the level of bytes: ";" between the fields of CSV
// files, a tab between those of the clipboard's text. Texts are code page
// 1250 and pass through unchanged; only the separator, CR, LF and the
// double quote mean anything here.
//
// Reading: a line ends at CR LF, at LF or at a lone CR (which takes nothing
// after it); a last line without a line end is a line too. A field that
// starts with a double quote and closes with one right before the
// separator, a line end or the end of the bytes is a quoted field: a
// doubled quote inside it is one quote, and the separator, CR and LF inside
// it are text. A field that starts with a quote but does not close that way
// is read as plain text, quote included, so a title such as "Babička" od
// Němcové keeps its quotes.
//
// Writing: the separator between fields, the line end (CR LF unless told
// otherwise) after every line; a field is quoted only when it holds the
// separator, CR or LF or starts with a double quote, so a text without such
// fields is the plain bytes of its texts and separators.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vekla {

class CsvReader {
 public:
  static constexpr std::size_t kAllFields = static_cast<std::size_t>(-1);

  explicit CsvReader(std::string_view bytes, char separator = ';') : bytes_(bytes), separator_(separator) {}
  // The first `most` fields of the next line into `fields`; returns how many
  // fields the line has in all (at least one), 0 when no line is left. The
  // fields beyond `most` are read past and counted, not kept, so a line of
  // millions of fields costs no more than its bytes.
  std::size_t next(std::vector<std::string>& fields, std::size_t most = kAllFields);

 private:
  // Each reads one field from the current position into `field`, or past
  // it when `field` is null.
  bool readQuoted(std::string* field);
  void readPlain(std::string* field);
  bool endsField(char c) const { return c == separator_ || c == '\r' || c == '\n'; }

  std::string_view bytes_;
  char separator_;
  std::size_t pos_ = 0;
};

class CsvWriter {
 public:
  explicit CsvWriter(char separator = ';', std::string_view lineEnd = "\r\n")
      : separator_(separator), lineEnd_(lineEnd) {}
  // Appends one field of the current line.
  void field(std::string_view text);
  // Ends the current line with the line end.
  void endLine();
  std::string take() { return std::move(out_); }

 private:
  char separator_;
  std::string lineEnd_;
  std::string out_;
  bool inLine_ = false;
};

// Every line of the bytes, and the bytes of whole lines.
std::vector<std::vector<std::string>> SplitCsv(std::string_view bytes, char separator = ';');
std::string JoinCsv(const std::vector<std::vector<std::string>>& lines);

}  // namespace vekla
