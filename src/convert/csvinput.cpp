#include "convert/csvinput.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

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

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool startsWith(std::string_view s, std::string_view mark) { return s.substr(0, mark.size()) == mark; }

// Whether `s` is UTF-8 by the strict rules (shortest forms only, no
// surrogates, nothing above U+10FFFF) and holds a byte above 127. Code page
// 1250 text with letters outside ASCII almost never passes: its letters
// would have to come in exactly the lead and continuation pattern.
bool isUtf8WithLetters(std::string_view s) {
  bool above127 = false;
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto inRange = [&](std::size_t at, unsigned lo, unsigned hi) {
    return at < n && byteAt(s, at) >= lo && byteAt(s, at) <= hi;
  };
  while (i < n) {
    const unsigned b = byteAt(s, i);
    if (b < 0x80) {
      ++i;
      continue;
    }
    above127 = true;
    // The range the second byte must be in, and how many bytes follow.
    unsigned lo = 0x80, hi = 0xBF;
    std::size_t follow = 0;
    if (b >= 0xC2 && b <= 0xDF) follow = 1;
    else if (b == 0xE0) lo = 0xA0, follow = 2;  // no overlong form
    else if (b == 0xED) hi = 0x9F, follow = 2;  // no surrogate
    else if (b >= 0xE1 && b <= 0xEF) follow = 2;
    else if (b == 0xF0) lo = 0x90, follow = 3;  // no overlong form
    else if (b == 0xF4) hi = 0x8F, follow = 3;  // up to U+10FFFF
    else if (b >= 0xF1 && b <= 0xF3) follow = 3;
    else return false;
    if (!inRange(i + 1, lo, hi)) return false;
    for (std::size_t k = 2; k <= follow; ++k)
      if (!inRange(i + k, 0x80, 0xBF)) return false;
    i += follow + 1;
  }
  return above127;
}

// UTF-16 bytes (without their mark) as a QString. A surrogate without its
// partner and an odd last byte become U+FFFD, so that each is one "?" later
// and takes nothing beside it.
QString fromUtf16(std::string_view s, bool bigEndian) {
  QString out;
  out.reserve(static_cast<qsizetype>(s.size() / 2 + 1));
  const std::size_t units = s.size() / 2;
  auto unit = [&](std::size_t k) -> char16_t {
    const unsigned a = byteAt(s, 2 * k), b = byteAt(s, 2 * k + 1);
    return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char16_t u = unit(k);
    if (QChar::isHighSurrogate(u) && k + 1 < units && QChar::isLowSurrogate(unit(k + 1))) {
      out.append(QChar(u));
      out.append(QChar(unit(++k)));
    } else if (QChar::isSurrogate(u)) {
      out.append(QChar(QChar::ReplacementCharacter));
    } else {
      out.append(QChar(u));
    }
  }
  if (s.size() % 2) out.append(QChar(QChar::ReplacementCharacter));
  return out;
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

}  // namespace

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF", kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF";

// Whether the bytes are code page 1250 already: no mark, not UTF-8.
bool isCp1250(std::string_view raw) {
  return !startsWith(raw, kUtf8Mark) && !startsWith(raw, kUtf16LeMark) && !startsWith(raw, kUtf16BeMark) &&
         !isUtf8WithLetters(raw);
}

}  // namespace

std::string CsvTextToCp1250(std::string&& raw, std::vector<std::string>& log) {
  if (!isCp1250(raw)) return CsvTextToCp1250(std::string_view(raw), log);
  std::string out = std::move(raw);
  if (const std::size_t controls = dropControls(out); controls > 0) log.push_back(controlsLine(controls));
  return out;
}

std::string CsvTextToCp1250(std::string_view raw, std::vector<std::string>& log) {
  std::string out;
  std::size_t controls = 0;
  if (startsWith(raw, kUtf8Mark) || isUtf8WithLetters(raw)) {
    const std::string_view body = startsWith(raw, kUtf8Mark) ? raw.substr(kUtf8Mark.size()) : raw;
    // After a mark the bytes may still break the rules; each broken
    // sequence becomes U+FFFD and so one "?".
    out = toCp1250(QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size())), log, controls);
  } else if (startsWith(raw, kUtf16LeMark) || startsWith(raw, kUtf16BeMark)) {
    out = toCp1250(fromUtf16(raw.substr(2), startsWith(raw, kUtf16BeMark)), log, controls);
  } else {
    out.assign(raw);
    controls = dropControls(out);
  }
  if (controls > 0) log.push_back(controlsLine(controls));
  return out;
}

}  // namespace vekla
