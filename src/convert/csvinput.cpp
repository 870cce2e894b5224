#include "convert/csvinput.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"

namespace vekla {

std::string ReadCsvFile(const QString& path) {
  CheckFileSize(path, kMaxFileSize);
  // A pipe or a device says nothing of its size beforehand: one byte past
  // the limit shows that it is too large.
  std::int64_t size = 0;
  std::string bytes = ReadFileStart(path, kMaxFileSize + 1, size);
  if (static_cast<std::int64_t>(bytes.size()) > kMaxFileSize)
    throw VeklaError(FileTooLargeMessage(path, size > kMaxFileSize ? size : -1, kMaxFileSize));
  return bytes;
}

namespace {

bool startsWith(std::string_view s, std::string_view mark) { return s.substr(0, mark.size()) == mark; }

QByteArrayView view(std::string_view s) { return QByteArrayView(s.data(), static_cast<qsizetype>(s.size())); }

// The text of `s` when it is UTF-8 by the strict rules (shortest forms
// only, no surrogates, nothing above U+10FFFF: Qt's decoder reports anything
// else as an error) and holds a byte above 127; nothing otherwise. Code page
// 1250 text with letters outside ASCII almost never passes: its letters
// would have to come in exactly the lead and continuation pattern.
//
// The text is decoded a piece at a time, so a code page 1250 file stops at
// its first letter and is not held a second time as Unicode.
std::optional<QString> utf8WithLetters(std::string_view s) {
  if (std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) > 127; })) return {};
  constexpr std::size_t kPiece = 64 * 1024;
  QStringDecoder decoder(QStringConverter::Utf8);
  QString text;
  for (std::size_t at = 0; at < s.size() && !decoder.hasError(); at += kPiece) text += decoder(view(s.substr(at, kPiece)));
  // The decoder keeps a sequence that the last piece left unfinished for the
  // next piece; one more plain byte shows it as the error it is.
  const QString end = decoder(QByteArrayView("\n", 1));
  if (decoder.hasError()) return {};
  return text;
}

// The text behind a mark: what breaks the encoding's rules becomes U+FFFD
// and so "?", without taking a character beside it along.
//
// The UTF-8 decoder drops one more mark at the start of `body` (a file with
// a doubled mark loses both); the UTF-16 decoder is handed the mark itself,
// so that a second one stays a character.
QString decode(std::string_view body, QStringConverter::Encoding encoding) {
  QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
  QString text = decoder(view(body));
  // Qt's UTF-16 decoder passes a surrogate without its partner on; it would
  // take the character after it along into its "?".
  if (!text.isValidUtf16()) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
      else if (text[i].isSurrogate()) text[i] = QChar::ReplacementCharacter;
    }
  }
  return text;
}

bool isDroppedControl(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F;
}

// Drops the control bytes from `text`; gives how many there were.
std::size_t dropControls(std::string& text) {
  const auto end = std::remove_if(text.begin(), text.end(), isDroppedControl);
  const auto dropped = static_cast<std::size_t>(text.end() - end);
  text.erase(end, text.end());
  return dropped;
}

// Unicode text as code page 1250, line by line: a line that lost a
// character gets its log line, in the words the window uses for a typed one.
// No table holds more lines than a database has records: the lines after
// that many are counted in one more line.
std::string toCp1250(const QString& text, std::vector<std::string>& log, std::size_t& controls) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  const qsizetype n = text.size();
  qsizetype start = 0;
  std::size_t lossyLines = 0;
  while (start < n) {
    qsizetype end = start;
    while (end < n && text[end] != u'\n' && text[end] != u'\r') ++end;
    bool lossy = false;
    std::string line = fromQt(text.sliced(start, end - start), &lossy);
    controls += dropControls(line);
    if (lossy && ++lossyLines <= kMaxRecords)
      log.push_back(cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\": ") + line);
    out += line;
    if (end == n) break;
    // The line end as it stands: CR LF, LF or a lone CR.
    const bool crLf = text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n';
    out += crLf ? "\r\n" : (text[end] == u'\r' ? "\r" : "\n");
    start = end + (crLf ? 2 : 1);
  }
  if (const std::size_t more = lossyLines > kMaxRecords ? lossyLines - kMaxRecords : 0; more > 0)
    log.push_back(cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\", ještě na ") +
                  std::to_string(more) + cp(more == 1 ? " dalším řádku." : " dalších řádcích."));
  return out;
}

// "Soubor obsahoval 3 řídicí znaky (např. NUL), byly vynechány." with the
// number's own form of the words.
std::string controlsLine(std::size_t count) {
  const std::string n = std::to_string(count);
  if (count == 1) return cp("Soubor obsahoval 1 řídicí znak (např. NUL), byl vynechán.");
  if (count <= 4) return cp("Soubor obsahoval ") + n + cp(" řídicí znaky (např. NUL), byly vynechány.");
  return cp("Soubor obsahoval ") + n + cp(" řídicích znaků (např. NUL), byly vynechány.");
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF", kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF";

// The text of a file with a mark or in UTF-8; nothing for code page 1250.
std::optional<QString> unicodeText(std::string_view raw) {
  // After a mark the bytes may still break the rules.
  if (startsWith(raw, kUtf8Mark)) return decode(raw.substr(kUtf8Mark.size()), QStringConverter::Utf8);
  if (startsWith(raw, kUtf16LeMark)) return decode(raw, QStringConverter::Utf16LE);
  if (startsWith(raw, kUtf16BeMark)) return decode(raw, QStringConverter::Utf16BE);
  return utf8WithLetters(raw);
}

// `owned`, when given, holds the bytes `raw` shows; a file in code page 1250
// takes its buffer.
std::string convert(std::string_view raw, std::string* owned, std::vector<std::string>& log) {
  std::string out;
  std::size_t controls = 0;
  if (const auto text = unicodeText(raw)) {
    out = toCp1250(*text, log, controls);
  } else {
    out = owned ? std::move(*owned) : std::string(raw);
    controls = dropControls(out);
  }
  if (controls > 0) log.push_back(controlsLine(controls));
  return out;
}

}  // namespace

std::string CsvTextToCp1250(std::string&& raw, std::vector<std::string>& log) { return convert(raw, &raw, log); }

std::string CsvTextToCp1250(std::string_view raw, std::vector<std::string>& log) { return convert(raw, nullptr, log); }

}  // namespace vekla
