// CSV input: the size limit before anything is read, and the text of every
// encoding a spreadsheet saves turned into code page 1250 without control
// bytes, while code page 1250 files stay byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "convert/csvinput.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"

using namespace vekla;
using namespace std::string_literals;

namespace {

const std::string kMarkUtf8 = "\xEF\xBB\xBF";

// UTF-8 text as UTF-16 bytes behind their byte-order mark.
std::string utf16(const std::string& utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const QChar c : QString::fromStdString(utf8)) {
    const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

std::string lossyLine(const std::string& cpLine) {
  return cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\": ") + cpLine;
}

struct TextCase {
  const char* name;
  std::string raw;
  std::string expected;  // code page 1250
  std::vector<std::string> log;
};

TEST(CsvInput, TextOfEveryEncodingBecomesCp1250) {
  const std::string czech = "Dušek;Žák\r\nŘíha;Šťastný\r\n";  // UTF-8 source
  const std::string czechCp = cp(czech);
  const TextCase cases[] = {
      // Š, Ž and ť are the bytes 0x8A, 0x8E and 0x9D: letters, not controls.
      {"cp1250 stays", czechCp, czechCp, {}},
      {"utf-8", czech, czechCp, {}},
      {"utf-8 with mark", kMarkUtf8 + czech, czechCp, {}},
      {"utf-8 mark, ascii only", kMarkUtf8 + "a;b\n", "a;b\n", {}},
      // Behind a mark even broken UTF-8 is UTF-8: the broken byte becomes "?".
      {"utf-8 mark, broken sequence", kMarkUtf8 + "Žák;\xC0", cp("Žák;?"), {lossyLine(cp("Žák;?"))}},
      {"utf-16 le", utf16(czech, false), czechCp, {}},
      {"utf-16 be", utf16(czech, true), czechCp, {}},
      {"lone CR and LF kept", "Žák\rŠ\nx", cp("Žák\rŠ\nx"), {}},
      // Not the shortest form, a surrogate, beyond U+10FFFF: no UTF-8, so
      // code page 1250.
      {"overlong is cp1250", "\xC0\xAF;a", "\xC0\xAF;a", {}},
      {"surrogate is cp1250", "\xED\xA0\x80", "\xED\xA0\x80", {}},
      {"above U+10FFFF is cp1250", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80", {}},
      {"characters outside cp1250",
       "Jan;Novák\r\nLi;漢字\r\nSøren;x\r\n",
       cp("Jan;Novák\r\nLi;??\r\nS?ren;x\r\n"),
       {lossyLine("Li;??"), lossyLine("S?ren;x")}},
      {"utf-16 pair is one ?", utf16("a😀b", false), "a?b", {lossyLine("a?b")}},
      {"utf-16 lone surrogate keeps its neighbour",
       "\xFF\xFE\x00\xD8"
       "a\x00"s,
       "?a",
       {lossyLine("?a")}},
      {"utf-16 odd last byte",
       "\xFF\xFE"
       "a\x00"
       "b"s,
       "a?",
       {lossyLine("a?")}},
      {"controls dropped, tab CR LF kept",
       "a\0b\x01;c\x7F\td\r\ne\x1F"s,
       "ab;c\td\r\ne",
       {cp("Soubor obsahoval 4 řídicí znaky (např. NUL), byly vynechány.")}},
      {"controls of a utf-8 file",
       "Žák\0\x0B\x0C\x0E\x08"s,
       cp("Žák"),
       {cp("Soubor obsahoval 5 řídicích znaků (např. NUL), byly vynechány.")}},
      {"control of a utf-16 file",
       utf16("Ž\x1B", true),
       cp("Ž"),
       {cp("Soubor obsahoval 1 řídicí znak (např. NUL), byl vynechán.")}},
      {"lossy line logged without its controls",
       "漢\0"s,
       "?",
       {lossyLine("?"), cp("Soubor obsahoval 1 řídicí znak (např. NUL), byl vynechán.")}},
      {"empty", "", "", {}},
      {"mark alone", kMarkUtf8, "", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    EXPECT_EQ(CsvTextToCp1250(c.raw, log), c.expected) << c.name;
    EXPECT_EQ(log, c.log) << c.name;
  }
}

// A code page 1250 file whose letters look like the start of UTF-8
// sequences stays code page 1250: only a file whose every sequence is whole
// and strict is UTF-8. Each text below and each letter at the end of a file
// or before its line end is read in code page 1250, in UTF-8 with and
// without its mark and in UTF-16 of both byte orders.
TEST(CsvInput, CzechTextReadsTheSameInEveryEncoding) {
  const std::string letters = "ÁáČčĎďÉéĚěÍíŇňÓóŘřŠšŤťÚúŮůÝýŽž";
  std::vector<std::string> texts = {
      "1;Těš",  // the letters are a three-byte lead and one continuation
      "1;Těš\r\n",
      "1;ňšť",  // a four-byte lead and two continuations
      letters,
      "Příliš žluťoučký kůň úpěl ďábelské ódy;číšník\r\nŠťáva;ŽÁČEK\r\n",
  };
  const QString all = QString::fromStdString(letters);
  for (const QChar c : all) {
    texts.push_back("1;T" + QString(c).toStdString());
    texts.push_back("1;T" + QString(c).toStdString() + "\r\n");
  }
  for (const std::string& text : texts) {
    const std::string expected = cp(text);
    const std::pair<const char*, std::string> encodings[] = {
        {"cp1250", expected},
        {"utf-8", text},
        {"utf-8 with mark", kMarkUtf8 + text},
        {"utf-16 le", utf16(text, false)},
        {"utf-16 be", utf16(text, true)},
    };
    for (const auto& [encoding, raw] : encodings) {
      std::vector<std::string> log;
      EXPECT_EQ(CsvTextToCp1250(raw, log), expected) << encoding << ": " << text;
      EXPECT_EQ(CsvTextToCp1250(std::string(raw), log), expected) << encoding << ": " << text;
      EXPECT_TRUE(log.empty()) << encoding << ": " << text;
    }
  }
}

// Without a mark, a file is UTF-8 only when every sequence in it is whole,
// in its shortest form, no surrogate and at most U+10FFFF; behind a mark the
// encoding is the mark's and what breaks its rules becomes "?".
TEST(CsvInput, OnlyWholeStrictSequencesMakeAFileUtf8) {
  const std::string zak = "Žák;";  // UTF-8, so that only the bytes after it decide
  const std::string zakCp = cp(zak);
  const std::string as(65535, 'a');  // the next byte is the first of a new piece
  const TextCase cases[] = {
      {"truncated two-byte at the end", zak + "\xC5", zak + "\xC5", {}},
      {"truncated three-byte at the end", zak + "\xE2\x9C", zak + "\xE2\x9C", {}},
      {"truncated four-byte at the end", zak + "\xF0\x9F\x98", zak + "\xF0\x9F\x98", {}},
      {"lead before a plain byte", zak + "\xC5x", zak + "\xC5x", {}},
      {"lead before a line end", zak + "\xE2\x9C\r\n", zak + "\xE2\x9C\r\n", {}},
      {"continuation alone", zak + "\x80", zak + "\x80", {}},
      {"overlong two-byte", zak + "\xC1\xA0", zak + "\xC1\xA0", {}},
      {"overlong three-byte", zak + "\xE0\x80\xAF", zak + "\xE0\x80\xAF", {}},
      {"overlong four-byte", zak + "\xF0\x80\x80\xAF", zak + "\xF0\x80\x80\xAF", {}},
      {"high surrogate", zak + "\xED\xA0\x80", zak + "\xED\xA0\x80", {}},
      {"low surrogate", zak + "\xED\xBF\xBF", zak + "\xED\xBF\xBF", {}},
      {"surrogate pair in six bytes", zak + "\xED\xA0\xBD\xED\xB8\x80", zak + "\xED\xA0\xBD\xED\xB8\x80", {}},
      {"lead F5", zak + "\xF5\x80\x80\x80", zak + "\xF5\x80\x80\x80", {}},
      {"byte FF", zak + "\xFF", zak + "\xFF", {}},
      // The shortest forms at each edge are UTF-8.
      {"U+00A0", zak + "\xC2\xA0", zakCp + "\xA0", {}},
      {"U+0800", zak + "\xE0\xA0\x80", zakCp + "?", {lossyLine(zakCp + "?")}},
      {"U+D7FF", zak + "\xED\x9F\xBF", zakCp + "?", {lossyLine(zakCp + "?")}},
      {"U+E000", zak + "\xEE\x80\x80", zakCp + "?", {lossyLine(zakCp + "?")}},
      {"U+10FFFF is one ?", zak + "\xF4\x8F\xBF\xBF", zakCp + "?", {lossyLine(zakCp + "?")}},
      // Behind a mark, each byte of a sequence cut off at the end is a "?".
      {"mark, truncated at the end", kMarkUtf8 + zak + "\xE2\x9C", zakCp + "??", {lossyLine(zakCp + "??")}},
      {"mark, surrogate", kMarkUtf8 + "\xED\xA0\x80x", "???x", {lossyLine("???x")}},
      // A doubled UTF-8 mark is dropped whole; a doubled UTF-16 mark leaves
      // one character that code page 1250 lacks.
      {"utf-8 mark twice", kMarkUtf8 + kMarkUtf8 + "a", "a", {}},
      {"utf-16 le mark twice", "\xFF\xFE\xFF\xFE" "a\x00"s, "?a", {lossyLine("?a")}},
      {"utf-16 be mark twice", "\xFE\xFF\xFE\xFF\x00" "a"s, "?a", {lossyLine("?a")}},
      {"utf-16 le mark alone", "\xFF\xFE", "", {}},
      {"utf-16 be mark alone", "\xFE\xFF", "", {}},
      // FF FE 00 00 is UTF-16 and a NUL, not UTF-32.
      {"utf-16 le NUL", "\xFF\xFE\x00\x00"s, "", {cp("Soubor obsahoval 1 řídicí znak (např. NUL), byl vynechán.")}},
      {"utf-16 le, high surrogate last", "\xFF\xFE" "a\x00\x00\xD8"s, "a?", {lossyLine("a?")}},
      {"utf-16 le, low surrogate first", "\xFF\xFE\x00\xDC" "b\x00"s, "?b", {lossyLine("?b")}},
      {"utf-16 le, high before a pair", "\xFF\xFE\x00\xD8\x3D\xD8\x00\xDE" "c\x00"s, "??c", {lossyLine("??c")}},
      {"utf-16 be, lone high", "\xFE\xFF\xD8\x00\x00" "a"s, "?a", {lossyLine("?a")}},
      {"utf-16 be, odd length", "\xFE\xFF\x00" "a" "\x01"s, "a?", {lossyLine("a?")}},
      // Sequences across the pieces the check reads.
      {"sequence across pieces", as + "\xC5\xA1", as + "\x9A", {}},
      {"truncated after a piece", as + "\xC5", as + "\xC5", {}},
      {"cp1250 letter after a piece", std::string(70000, 'a') + cp("Těš"), std::string(70000, 'a') + cp("Těš"), {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> log;
    EXPECT_EQ(CsvTextToCp1250(c.raw, log), c.expected) << c.name;
    EXPECT_EQ(log, c.log) << c.name;
  }
}

// No table holds more lines than a database has records: a file whose lines
// lose characters beyond that many logs the first kMaxRecords and counts the
// rest in one line.
TEST(CsvInput, LossyLinesBeyondTheLargestTableAreCounted) {
  const std::string more = cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\", ještě na ");
  const std::pair<std::size_t, std::string> cases[] = {
      {kMaxRecords, lossyLine("a?")},
      {kMaxRecords + 1, more + cp("1 dalším řádku.")},
      {kMaxRecords + 300000, more + cp("300000 dalších řádcích.")},
  };
  for (const auto& [lines, last] : cases) {
    std::string raw;
    for (std::size_t i = 0; i < lines; ++i) raw += "a\xE2\x9C\x93\n";  // "a✓"
    std::vector<std::string> log;
    EXPECT_EQ(CsvTextToCp1250(raw, log).size(), 3 * lines);
    EXPECT_EQ(log.size(), std::min<std::size_t>(lines, kMaxRecords + 1));
    EXPECT_EQ(log.back(), last) << lines;
  }
}

class CsvFileTest : public ::testing::Test {
 protected:
  // A file of `size` NUL bytes that takes no room on the disk.
  QString sparse(const char* name, qint64 size) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_TRUE(f.resize(size));
    return path;
  }
  std::string refusal(const QString& path) {
    try {
      ReadCsvFile(path);
    } catch (const VeklaError& e) {
      return e.text();
    }
    return "<read>";
  }
  QTemporaryDir dir;
};

TEST_F(CsvFileTest, ALargerFileIsRefusedAsADatabaseIs) {
  const QString big = sparse("big.csv", kMaxFileSize + 1);
  const std::string message = refusal(big);
  EXPECT_NE(message.find(cp("nelze načíst: má 16 777 217 bajtů, načíst lze nejvýše 16 777 216 bajtů (16 MB).")),
            std::string::npos)
      << toUtf8(message);
  // The database reader says the very same.
  try {
    PdbFile::load(big);
    ADD_FAILURE();
  } catch (const VeklaError& e) {
    EXPECT_EQ(e.text(), message);
  }
  EXPECT_EQ(ReadCsvFile(sparse("limit.csv", kMaxFileSize)).size(), static_cast<size_t>(kMaxFileSize));
}

TEST_F(CsvFileTest, AStreamIsReadNoFurtherThanTheLimit) {
  const QString fifo = dir.filePath("pipe.csv");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  std::signal(SIGPIPE, SIG_IGN);
  // The writer would go on far past the limit; it stops when the reader has
  // closed the pipe.
  std::thread writer([&] {
    QFile out(fifo);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 64; ++i)
      if (out.write(chunk.data(), static_cast<qint64>(chunk.size())) <= 0) break;
  });
  const std::string message = refusal(fifo);
  writer.join();
  EXPECT_NE(message.find(cp("nelze načíst: má víc než 16 777 216 bajtů (16 MB), víc načíst nelze.")), std::string::npos)
      << toUtf8(message);
}

}  // namespace
