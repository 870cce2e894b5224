#include "pdb/text.h"

#include <unicode/ucnv.h>

#include <QDir>

#include <array>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace vekla {
namespace {

// The 256 code points of code page 1250, taken once from ICU's converter.
struct Cp1250Table {
  std::array<char16_t, 256> toUnicode{};
  std::unordered_map<char16_t, unsigned char> fromUnicode;

  Cp1250Table() {
    UErrorCode err = U_ZERO_ERROR;
    UConverter* conv = ucnv_open("windows-1250", &err);
    if (U_FAILURE(err)) conv = nullptr;
    for (int b = 0; b < 256; ++b) {
      char16_t out = static_cast<char16_t>(b);
      if (conv) {
        char in = static_cast<char>(b);
        UChar buf[4];
        UErrorCode e = U_ZERO_ERROR;
        int32_t n = ucnv_toUChars(conv, buf, 4, &in, 1, &e);
        if (U_SUCCESS(e) && n == 1) out = buf[0];
      }
      toUnicode[b] = out;
      fromUnicode.emplace(out, static_cast<unsigned char>(b));
    }
    if (conv) ucnv_close(conv);
  }
};

const Cp1250Table& table() {
  static const Cp1250Table t;
  return t;
}

}  // namespace

QString toQt(std::string_view s) {
  const auto& t = table();
  QString out;
  out.resize(static_cast<qsizetype>(s.size()));
  for (size_t i = 0; i < s.size(); ++i)
    out[static_cast<qsizetype>(i)] = QChar(t.toUnicode[static_cast<unsigned char>(s[i])]);
  return out;
}

std::string fromQt(const QString& text, bool* lossy) {
  const auto& t = table();
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  if (lossy) *lossy = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char16_t u = text[i].unicode();
    auto it = t.fromUnicode.find(u);
    if (it != t.fromUnicode.end()) {
      out.push_back(static_cast<char>(it->second));
    } else {
      if (text[i].isHighSurrogate() && i + 1 < text.size()) ++i;
      out.push_back('?');
      if (lossy) *lossy = true;
    }
  }
  return out;
}

std::string cp(std::string_view utf8) {
  return fromQt(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string toUtf8(std::string_view cp1250) { return toQt(cp1250).toStdString(); }

std::string lowerCp(std::string_view s) { return fromQt(toQt(s).toLower()); }

std::string NativePath(const QString& path) { return fromQt(QDir::toNativeSeparators(path)); }

bool HasLineBreak(std::string_view text) {
  return std::memchr(text.data(), '\n', text.size()) || std::memchr(text.data(), '\r', text.size());
}

std::string OneLine(std::string_view text) {
  // Most texts hold no line break at all.
  if (!HasLineBreak(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') continue;
    out.push_back(c == '\r' ? ' ' : c);
  }
  return out;
}

}  // namespace vekla
