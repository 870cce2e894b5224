// The calendar database: files built byte by byte are read, then written
// back and compared byte for byte with what the rules give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kinds/kinds.h"
#include "pdb/error.h"
#include "support/kindsfixture.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr std::uint32_t kCreated = kMarch7Noon;  // 07.03.2005 12:00:00
constexpr std::uint32_t kModified = kCreated + 59u;

// The day texts of a calendar of `days` records: "Den n", with a few real ones.
std::vector<std::string> DayBodies(int days) {
  std::vector<std::string> bodies;
  for (int i = 1; i <= days; ++i) {
    std::string text = "Den " + std::to_string(i);
    if (i == 1) text = cp("Nový rok");
    if (i == 60) text = cp("Přestupný den");
    if (i == 100) text = "";
    if (i == 366) text = cp("Silvestr");
    bodies.push_back(body({text}));
  }
  return bodies;
}

// The calendar tab, with two folders "a" and "b" to read from and save to.
class CalendarTest : public KindTest {
 protected:
  CalendarTest() : KindTest(DbKind::Kalendar) {}
  void SetUp() override {
    KindTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("b"));
  }
};

TEST_F(CalendarTest, CompleteCalendarIsReadAndWrittenBackByteForByte) {
  const std::string file = pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, DayBodies(366));
  ASSERT_EQ(Be32At(file, 78), 3014u);
  const QString name = path("a/vekla-datum.PDB");
  WriteBytes(name, file);

  ReadCalendar(s, p, name, true);

  EXPECT_EQ(s.grid.rowCount(), 367);
  EXPECT_EQ(s.grid.text(0, 60), "29.2.");
  EXPECT_EQ(s.grid.text(1, 60), cp("Přestupný den"));
  EXPECT_EQ(s.grid.text(1, 1), cp("Nový rok"));
  EXPECT_EQ(s.grid.text(1, 100), "");
  EXPECT_EQ(s.grid.text(0, 366), "31.12.");
  EXPECT_EQ(s.grid.text(1, 366), cp("Silvestr"));
  EXPECT_EQ(s.EditN, "vekla-datum");
  EXPECT_EQ(s.EditTD, "datu");
  EXPECT_EQ(s.EditCZ, "12:00:59");
  EXPECT_EQ(s.adresar1, dir.path() + "/a/");
  EXPECT_TRUE(s.Memo1.empty());

  // Saved elsewhere under the same name: no warning, the same bytes.
  const QString copy = path("b/vekla-datum.PDB");
  p.saveAnswers.push_back(copy);
  WriteRowRecords(s, p);
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(ReadBytes(copy), file);
  EXPECT_EQ(s.Lpohyb, "");
}

TEST_F(CalendarTest, LongDayTextIsCutWithOneLogLine) {
  std::vector<std::string> bodies = DayBodies(366);
  const std::string thirty = cp("Den učitelů a Jana Ámose Komen");  // 30 characters
  ASSERT_EQ(thirty.size(), 30u);
  bodies[0] = body({thirty});
  const QString name = path("a/vekla-datum.PDB");
  WriteBytes(name, pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, bodies));

  ReadCalendar(s, p, name, false);

  EXPECT_EQ(s.grid.text(1, 1), thirty.substr(0, 21));
  const std::vector<std::string> lines{cp("1.1./Svátek zkrácení položky ") + thirty};
  EXPECT_EQ(s.Memo1, lines);
  EXPECT_TRUE(s.adresar1.isEmpty());
}

TEST_F(CalendarTest, ShortCalendarIsReadWholeAndSavedWithTheWarning) {
  const std::vector<std::string> bodies = DayBodies(365);
  const std::string file = pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, bodies);
  const QString name = path("a/vekla-datum.PDB");
  WriteBytes(name, file);

  ReadCalendar(s, p, name, false);

  EXPECT_EQ(s.grid.rowCount(), 366);
  EXPECT_EQ(s.grid.text(0, 365), "30.12.");
  EXPECT_EQ(s.grid.text(1, 365), "Den 365");

  const QString copy = path("b/vekla-datum.PDB");
  p.saveAnswers.push_back(copy);
  WriteRowRecords(s, p);
  ASSERT_EQ(p.messages.size(), 1u);
  EXPECT_EQ(p.messages[0],
            cp("Databáze \"vekla-datum.PDB\" musí mít 366 záznamů, jinak nebude program správně fungovat!"));
  const std::string written = ReadBytes(copy);
  EXPECT_EQ(written, file);
  EXPECT_EQ(Be32At(written, 78), 78u + 8u * 366u);
}

TEST_F(CalendarTest, LongerCalendarLabelsExtraRowsAndNamesTheDatabaseFromTheFile) {
  std::vector<std::string> bodies = DayBodies(367);
  const QString name = path("a/vekla-datum2026.PDB");
  WriteBytes(name, pdbBytes("vekla-datum2026", "datu", "TqbK", kCreated, kModified, bodies));

  ReadCalendar(s, p, name, true);

  EXPECT_EQ(s.grid.rowCount(), 368);
  EXPECT_EQ(s.grid.text(0, 367), "X.X.");
  EXPECT_EQ(s.grid.text(1, 367), "Den 367");

  const QString other = path("b/svatky.PDB");
  p.saveAnswers.push_back(other);
  WriteRowRecords(s, p);
  ASSERT_EQ(p.messages.size(), 2u);
  EXPECT_EQ(p.messages[0], cp("Databáze se takto nemůže jmenovat: ") + fromQt(QDir::toNativeSeparators(other)));
  EXPECT_EQ(s.EditN, "vekla-datum");
  const std::string written = ReadBytes(other);
  EXPECT_EQ(written, pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, bodies));
}

TEST_F(CalendarTest, CalendarWithoutRecordsShowsOneEmptyDayNotThePreviousOne) {
  s.grid.setText(1, 1, cp("Nový rok"));
  const QString name = path("a/vekla-datum.PDB");
  WriteBytes(name, pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, {}));

  ReadCalendar(s, p, name, false);

  EXPECT_EQ(s.grid.rowCount(), 2);
  EXPECT_EQ(s.grid.text(0, 1), "1.1.");
  EXPECT_EQ(s.grid.text(1, 1), "");
}

TEST_F(CalendarTest, MalformedFilesChangeNothing) {
  const std::string good = pdbBytes("vekla-datum", "datu", "TqbK", kCreated, kModified, DayBodies(3));
  std::string offsetOutside = good;
  offsetOutside.replace(78 + 8 * 1, 4, be32(0xFFFFFFF0u));
  std::string manyRecords = good;
  manyRecords.replace(76, 2, be16(65535));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"truncated header", good.substr(0, 60)},
      {"record offset outside the file", offsetOutside},
      {"record count larger than the file", manyRecords},
  };
  s.grid.setText(1, 5, cp("Ctirad"));
  const QString name = path("a/vekla-datum.PDB");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(name, c.bytes);
    const std::string before = Snapshot(s);
    EXPECT_THROW(ReadCalendar(s, p, name, true), VeklaError);
    EXPECT_EQ(Snapshot(s), before);
  }
}

}  // namespace
