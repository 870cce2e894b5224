#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"

using namespace vekla;
using namespace vekla::test;

namespace {

PdbHeaderOut headerOut(std::string name, std::string type, std::string creator) {
  PdbHeaderOut h;
  h.name = std::move(name);
  h.created = {0x42, 0x2C, 0x57, 0x67};
  h.modified = {0x00, 0x00, 0x00, 0x01};
  h.type = std::move(type);
  h.creator = std::move(creator);
  return h;
}

// The fixed part of a written header after the name.
std::string headerTail(const std::string& type4, const std::string& creator4, std::uint16_t count) {
  return be16(8) + be16(0) + be32(0x422C5767) + be32(1) + be32(1) + zeros(12) + type4 + creator4 + zeros(8) +
         be16(count);
}

std::vector<std::string> fieldsOf(const PdbFile& f, int index) { return f.recordFields(index); }

std::string errorText(const std::string& bytes, const QString& name = QStringLiteral("x.PDB")) {
  try {
    PdbFile::fromBytes(bytes, name);
  } catch (const VeklaError& e) {
    return e.text();
  }
  return {};
}

}  // namespace

TEST(PdbWrite, NoRecordsPutsTheFirstBodyAt86) {
  const std::string bytes = BuildPdb(headerOut("vekla-datum", "datu", "TqbK"), {});
  const std::string expected = "vekla-datum" + zeros(21) + headerTail("datu", "TqbK", 0) + zeros(8);
  EXPECT_EQ(bytes.size(), 86u);
  EXPECT_EQ(bytes, expected);
}

TEST(PdbWrite, EntriesGapAndBodiesByteForByte) {
  const std::vector<PdbRecord> records = {{"a", "bc"}, {""}, {cp("Čj"), "", "x"}};
  const std::string bytes = BuildPdb(headerOut("Rozpisy-M", "data", "TqbR"), records);
  // First body at 78 + 8 * 4 = 110; bodies of 5, 1 and 6 bytes.
  const std::string expected = "Rozpisy-M" + zeros(23) + headerTail("data", "TqbR", 3) +  //
                               be32(110) + zeros(4) + be32(115) + zeros(4) + be32(116) + zeros(4) + zeros(8) +
                               std::string("a\0bc\0", 5) + std::string(1, '\0') + cp("Čj") + std::string("\0\0x\0", 4);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(bytes, pdbBytes("Rozpisy-M", "data", "TqbR", 0x422C5767, 1,
                            {body({"a", "bc"}), body({""}), body({cp("Čj"), "", "x"})}));
}

TEST(PdbWrite, NameTypeAndCreatorWidths) {
  // A name never fills the 32-byte field: the NUL always ends it inside.
  const std::string name40(40, 'N');
  const std::string bytes = BuildPdb(headerOut(name40, "ab", "TqbZxyz"), {});
  EXPECT_EQ(bytes.substr(0, 32), std::string(31, 'N') + zeros(1));
  EXPECT_EQ(bytes.substr(60, 4), std::string("ab\0\0", 4));
  EXPECT_EQ(bytes.substr(64, 4), "TqbZ");
  const PdbFile back = PdbFile::fromBytes(bytes);
  EXPECT_EQ(back.header().name, std::string(31, 'N'));
  EXPECT_EQ(back.header().type, "ab");
  EXPECT_EQ(back.header().creator, "TqbZ");
}

TEST(PdbRead, HeaderFields) {
  // A name of 32 characters with no NUL reads as 32 characters.
  const std::string name32 = std::string(25, 'Z') + "abcdefg";
  const std::string bytes = pdbBytes(name32, "da", "TqbK", 0, 0x422C5767, {body({"1"}), body({"2"})});
  const PdbFile f = PdbFile::fromBytes(bytes);
  EXPECT_EQ(f.header().name, name32);
  EXPECT_EQ(f.header().type, "da");
  EXPECT_EQ(f.header().creator, "TqbK");
  EXPECT_EQ(f.header().created, (PalmTime{0, 0, 0, 0}));
  EXPECT_EQ(f.header().modified, (PalmTime{0x42, 0x2C, 0x57, 0x67}));
  EXPECT_EQ(f.header().recordCount, 2);
  EXPECT_EQ(f.size(), static_cast<std::int64_t>(bytes.size()));
}

TEST(PdbRead, RoundTripOfTheWriter) {
  const std::vector<PdbRecord> records = {{"-2", "3", "ff0000"}, {}, {"", ""}, {cp("Žák Jan"), "x"}};
  const PdbFile f = PdbFile::fromBytes(BuildPdb(headerOut(cp("Znamky-7.A"), "data", "TqbZ"), records));
  EXPECT_EQ(f.header().name, cp("Znamky-7.A"));
  ASSERT_EQ(f.header().recordCount, 4);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(fieldsOf(f, i), records[static_cast<std::size_t>(i - 1)]) << i;
}

TEST(PdbRead, BodyRangesAndFields) {
  // Entry offsets as the handheld writes them: two bytes of gap after the list.
  std::string bytes = pdbBytes("T", "data", "TqbR", 0, 0, {});
  bytes.resize(76);
  bytes += be16(3) + be32(104) + zeros(4) + be32(109) + zeros(4) + be32(109) + zeros(4) + zeros(2);
  bytes += std::string("ab\0c\0", 5);  // record 1: 104..108
  bytes += std::string("x\0yz", 4);    // record 3: 109..112, trailing bytes without NUL
  const PdbFile f = PdbFile::fromBytes(bytes);
  EXPECT_EQ(f.ReadRecordEntry(1), 104);
  EXPECT_EQ(f.RecordBodyRange(1, 3), std::make_pair(std::int64_t{104}, std::int64_t{108}));
  const auto empty = f.RecordBodyRange(2, 3);
  EXPECT_LT(empty.second, empty.first);
  EXPECT_EQ(f.RecordBodyRange(3, 3), std::make_pair(std::int64_t{109}, std::int64_t{112}));
  EXPECT_EQ(fieldsOf(f, 1), (std::vector<std::string>{"ab", "c"}));
  EXPECT_TRUE(fieldsOf(f, 2).empty());
  EXPECT_EQ(fieldsOf(f, 3), (std::vector<std::string>{"x"}));  // "yz" has no NUL: not a field

  // Field numbers from 1; a range running past the end of the file ends there.
  std::vector<std::pair<int, std::string>> seen;
  f.ReadRecordFields(104, 100000, [&](int n, std::string_view t) { seen.emplace_back(n, std::string(t)); });
  const std::vector<std::pair<int, std::string>> expected = {{1, "ab"}, {2, "c"}, {3, "x"}};
  EXPECT_EQ(seen, expected);
}

// A reader keeps as many fields as its kind has a use for and counts the
// rest. Text after the last NUL is no field, kept or counted.
TEST(PdbRead, FieldsBeyondTheMostAreCountedNotKept) {
  const std::string abc("a\0\0bc\0d", 7);
  const std::vector<std::tuple<std::string, std::size_t, std::vector<std::string>, std::size_t>> cases = {
      {abc, 1, {"a"}, 3},          {abc, 0, {}, 3},
      {abc, 10, {"a", "", "bc"}, 3}, {std::string(100000, '\0'), 2, {"", ""}, 100000},
      {"no field at all", 5, {}, 0},
  };
  for (const auto& [bytes, most, kept, count] : cases) {
    const PdbFile f = PdbFile::fromBytes(pdbBytes("T", "data", "TqbR", 0, 0, {body({"first"}), bytes}));
    std::vector<std::string_view> views{"left over"};
    EXPECT_EQ(f.recordFieldViews(2, most, views), count) << bytes.size() << "/" << most;
    EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), kept) << bytes.size() << "/" << most;
    EXPECT_EQ(f.recordFields(2).size(), count);
  }
}

TEST(PdbRead, LastBodyMayBeEmptyAtTheEndOfTheFile) {
  std::string bytes = pdbBytes("T", "data", "TqbR", 0, 0, {body({"a"})});
  // A second, empty record whose offset is the file size.
  bytes[77] = 2;
  const std::string list = be32(102) + zeros(4) + be32(104) + zeros(4) + zeros(8);
  bytes = bytes.substr(0, 78) + list + "a" + zeros(1);
  const PdbFile f = PdbFile::fromBytes(bytes);
  EXPECT_EQ(fieldsOf(f, 1), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(fieldsOf(f, 2).empty());
}

TEST(PdbRead, MalformedFilesAreErrorsNamingTheFile) {
  const std::string good =
      pdbBytes("T", "data", "TqbR", 0, 0, {body({"a"}), body({"b"})});  // offsets 102, 104; 106 bytes
  auto withEntry = [&](int index, std::uint32_t offset) {
    std::string b = good;
    b.replace(78 + 8 * static_cast<std::size_t>(index - 1), 4, be32(offset));
    return b;
  };
  auto withCount = [&](std::uint16_t n) {
    std::string b = good;
    b.replace(76, 2, be16(n));
    return b;
  };
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"shorter than the header", good.substr(0, 77)},
      {"record list past the end", good.substr(0, 90)},
      {"huge record count", withCount(65535)},
      {"count larger than the list", withCount(5)},
      {"offset outside the file", withEntry(2, 107)},
      {"offset far outside", withEntry(1, 0xFFFFFFFFu)},
      {"offset going backwards", withEntry(2, 101)},
      {"offset inside the header", withEntry(1, 10)},
      {"offset inside the record list", withEntry(1, 90)},
  };
  for (const Case& c : cases) {
    const std::string text = errorText(c.bytes);
    EXPECT_EQ(text.rfind(cp("Soubor \"x.PDB\" nelze načíst: poškozená databáze ("), 0), 0u) << c.what << ": " << text;
  }
  EXPECT_EQ(errorText(good), "");
  EXPECT_EQ(errorText(withEntry(2, 106)), "");  // an empty last body at the end of the file
  // Without a file name the message still reads as a sentence.
  EXPECT_EQ(errorText("", QString()).rfind(cp("Databázi nelze načíst: poškozená databáze ("), 0), 0u);
}

// The header read alone says what reading the whole file says.
TEST(PdbFiles, HeaderAloneLikeTheWholeFile) {
  QTemporaryDir dir;
  const std::string good = pdbBytes("T", "data", "TqbR", 0, 0, {body({"a"}), body({"b"})});
  auto with = [&](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  const std::string files[] = {good,
                               "",
                               good.substr(0, 77),
                               good.substr(0, 90),
                               with(76, be16(65535)),
                               with(86, be32(107)),
                               with(78, be32(90)),
                               with(86, be32(101)),
                               with(86, be32(106))};
  auto outcome = [](auto read) -> std::string {
    try {
      const PdbHeader h = read();
      return h.name + "/" + h.type + "/" + h.creator + "/" + std::to_string(h.recordCount);
    } catch (const VeklaError& e) {
      return e.text();
    }
  };
  for (const std::string& bytes : files) {
    const QString path = dir.filePath(QStringLiteral("x.PDB"));
    WriteFileAtomic(path, bytes);
    const std::string whole = outcome([&] { return PdbFile::load(path).header(); });
    EXPECT_EQ(outcome([&] { return PdbFile::loadHeader(path); }), whole);
  }
  const QString missing = dir.filePath(QStringLiteral("chybi.PDB"));
  EXPECT_EQ(outcome([&] { return PdbFile::loadHeader(missing); }),
            outcome([&] { return PdbFile::load(missing).header(); }));
}

TEST(PdbFiles, LoadAndWrite) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("Vekla-Rozvrh.PDB"));
  const std::vector<PdbRecord> records = {{"1", "2"}};
  WritePdb(path, headerOut("Vekla-Rozvrh", "data", "TqbK"), records);
  EXPECT_EQ(ReadWholeFile(path), BuildPdb(headerOut("Vekla-Rozvrh", "data", "TqbK"), records));
  const PdbFile f = PdbFile::load(path);
  EXPECT_EQ(f.header().name, "Vekla-Rozvrh");
  EXPECT_EQ(f.recordFields(1), records[0]);

  // A missing file and a malformed one name the file; a failed write leaves nothing.
  const QString missing = dir.filePath(QStringLiteral("chybi.PDB"));
  try {
    PdbFile::load(missing);
    FAIL();
  } catch (const VeklaError& e) {
    EXPECT_NE(e.text().find(fromQt(QDir::toNativeSeparators(missing))), std::string::npos);
    EXPECT_NE(e.text().find(cp("nelze otevřít: soubor neexistuje")), std::string::npos) << toUtf8(e.text());
  }
  const QString broken = dir.filePath(QStringLiteral("broken.PDB"));
  WriteFileAtomic(broken, "short");
  try {
    PdbFile::load(broken);
    FAIL();
  } catch (const VeklaError& e) {
    EXPECT_NE(e.text().find(fromQt(QDir::toNativeSeparators(broken))), std::string::npos);
  }
  // Messages say what was expected and what was found; a file larger than
  // any database of the handheld is not read at all.
  const QString big = dir.filePath(QStringLiteral("big.PDB"));
  WriteFileAtomic(big, std::string(kMaxFileSize + 1, '\0'));
  const std::pair<QString, const char*> messages[] = {
      {broken, "poškozená databáze (soubor má 5 bajtů, samotná hlavička databáze jich má 78)"},
      {big, "nelze načíst: má 16 777 217 bajtů, načíst lze nejvýše 16 777 216 bajtů (16 MB)."},
  };
  for (const auto& [file, text] : messages) {
    try {
      PdbFile::load(file);
      ADD_FAILURE() << text;
    } catch (const VeklaError& e) {
      EXPECT_NE(e.text().find(cp(text)), std::string::npos) << toUtf8(e.text());
    }
  }
  const QString inMissingFolder = dir.filePath(QStringLiteral("nic/x.PDB"));
  try {
    WritePdb(inMissingFolder, headerOut("x", "data", "TqbK"), records);
    FAIL();
  } catch (const VeklaError& e) {
    EXPECT_NE(e.text().find(cp("nelze zapsat: složka neexistuje")), std::string::npos) << toUtf8(e.text());
  }
  EXPECT_FALSE(QFile::exists(inMissingFolder));
}
