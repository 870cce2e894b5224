// The calendar database: files built byte by byte are read, then written
// back and compared byte for byte with what the rules give.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "kinds/kinds.h"
#include "pdb/clock.h"
#include "pdb/error.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/scriptedprompter.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr std::uint32_t kCreated = 12849u * 86400u + 43200u - 3600u;  // 07.03.2005 12:00:00
constexpr std::uint32_t kModified = kCreated + 59u;

std::string ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::uint32_t Be32At(const std::string& b, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

std::string Snapshot(const VeklaState& s) {
  std::string out = std::to_string(s.grid.colCount()) + "x" + std::to_string(s.grid.rowCount()) + "|";
  for (int r = 0; r <= s.grid.rowCount() + 1; ++r)
    for (int c = 0; c <= s.grid.colCount() + 1; ++c)
      out += s.grid.text(c, r) + "/" + std::to_string(s.grid.brush(c, r)) + "|";
  for (const auto* f : {&s.EditN, &s.EditC, &s.EditTD, &s.EditDV, &s.EditCV, &s.EditDZ, &s.EditCZ}) out += *f + "|";
  out += s.adresar1.toStdString() + "|";
  for (const auto& line : s.Memo1) out += line + "|";
  return out;
}

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

class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetNow(QDateTime(QDate(2005, 3, 7), QTime(12, 0, 0)));
    s.programDir = dir.path() + "/";
    InitControls(s);
    SetupTab(s, DbKind::Kalendar);
    ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("b"));
  }
  void TearDown() override { SetNow(QDateTime()); }

  QString path(const char* utf8Name) const { return dir.path() + "/" + QString::fromUtf8(utf8Name); }

  QTemporaryDir dir;
  VeklaState s;
  ScriptedPrompter p;
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
