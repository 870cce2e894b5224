// The topic-plan database: files built byte by byte are read, then written
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

// 07.03.2005 12:00:00 and 10.03.2005 12:02:05 as Palm timestamps.
constexpr std::uint32_t kCreated = kMarch7Noon;
constexpr std::uint32_t kModified = kCreated + 3u * 86400u + 125u;

const std::string kColourRecord = Fields({"-1", "2", "ff0000", "0", "0", "0", "0", "0"});
const std::string kZeroRecord = Fields({"0", "2", "0", "0", "0", "0", "0", "0"});

class TopicPlansTest : public KindTest {
 protected:
  TopicPlansTest() : KindTest(DbKind::Rozpisy) {}
};

TEST_F(TopicPlansTest, TenTopicsAreReadAndWrittenBackByteForByte) {
  std::vector<std::string> bodies{kColourRecord, kZeroRecord};
  for (int i = 1; i <= 9; ++i)
    bodies.push_back(Fields({std::to_string(i), cp("Téma ") + std::to_string(i), std::to_string(i) + ".9.2005",
                             i == 3 ? cp("Písemka") : "", std::to_string(2 * i - 1), std::to_string(2 * i), "2",
                             i < 5 ? "1" : "0"}));
  bodies.push_back(Fields({"10", cp("Husitství"), "15.12.2005", cp("Opakování"), "19", "20", "2", "0"}));
  const std::string file = pdbBytes(cp("Rozpisy-Dějepis"), "data", "TqbR", kCreated, kModified, bodies);
  ASSERT_EQ(Be32At(file, 78), 182u);
  const QString name = path("Rozpisy-Dějepis.PDB");
  WriteBytes(name, file);
  s.grid.setRowCount(4);

  ReadTopicPlans(s, p, name, true);

  EXPECT_EQ(s.grid.rowCount(), 11);
  EXPECT_EQ(s.grid.colCount(), 9);
  EXPECT_EQ(s.grid.text(0, 10), "10");
  EXPECT_EQ(s.grid.text(2, 10), cp("Husitství"));
  EXPECT_EQ(s.grid.text(4, 10), cp("Opakování"));
  EXPECT_EQ(s.grid.text(3, 1), "1.9.2005");
  EXPECT_EQ(s.grid.text(4, 3), cp("Písemka"));
  EXPECT_EQ(s.grid.text(8, 4), "1");
  EXPECT_EQ(s.EditN, cp("Rozpisy-Dějepis"));
  EXPECT_EQ(s.EditDV, "07.03.2005");
  EXPECT_EQ(s.EditDZ, "10.03.2005");
  EXPECT_EQ(s.EditCZ, "12:02:05");
  EXPECT_EQ(s.EditC, "TqbR");
  EXPECT_EQ(s.adresar1, dir.path() + "/");
  // Red highlight with white text on the odd rows.
  EXPECT_EQ(s.shape1, rgbHex(0xFF0000));
  EXPECT_EQ(s.shape2, kWhite);
  EXPECT_EQ(s.grid.brush(2, 1), rgbHex(0xFF0000));
  EXPECT_EQ(s.grid.fontColor(2, 1), kWhite);
  EXPECT_EQ(s.grid.brush(2, 2), kWhite);
  EXPECT_TRUE(s.Memo1.empty());

  p.saveAnswers.push_back(name);
  WriteRowRecords(s, p);
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(ReadBytes(name), file);
  EXPECT_EQ(s.Lpohyb, "");
}

TEST_F(TopicPlansTest, OneTopicIsRepairedOnReadingAndTheFileNameGivesTheDatabaseName) {
  const std::string file = pdbBytes(
      cp("Rozpisy-Zeměpis"), "data", "TqbR", kCreated, kModified,
      {Fields({"-1", "2", "ff00f", "0", "0", "0", "0", "0"}), kZeroRecord,
       Fields({"1", cp("Řeky"), "31.4.2005", "", "1", "2", "3", "2", cp("navíc")})});
  const QString name = path("Rozpisy-Zeměpis.PDB");
  WriteBytes(name, file);
  s.shape1 = rgbHex(0x99CCFF);
  s.shape2 = kBlack;
  s.Memo1.push_back("older line");

  ReadTopicPlans(s, p, name, false);

  EXPECT_EQ(s.grid.rowCount(), 2);
  EXPECT_EQ(s.grid.text(2, 1), cp("Řeky"));
  EXPECT_EQ(s.grid.text(3, 1), "");
  EXPECT_EQ(s.grid.text(8, 1), "0");
  // A field beyond the last column is dropped, with one log line for the file.
  EXPECT_EQ(s.grid.text(9, 1), "");
  const std::vector<std::string> lines{
      "older line", cp("1/Datum 31.4.2005 není datum"), cp("1/Hotovo2 není 0 nebo 1"),
      cp("Záznamy databáze mají víc polí, než má tabulka sloupců (8); nadbytečná pole nebyla načtena.")};
  EXPECT_EQ(s.Memo1, lines);
  // Five characters are no colour: the highlight stays, its text turns white.
  EXPECT_EQ(s.shape1, rgbHex(0x99CCFF));
  EXPECT_EQ(s.shape2, kWhite);
  EXPECT_TRUE(s.adresar1.isEmpty());

  const QString plan = path("plan.PDB");
  p.saveAnswers.push_back(plan);
  WriteRowRecords(s, p);
  ASSERT_EQ(p.messages.size(), 1u);
  EXPECT_EQ(p.messages[0], cp("Databáze se takto nemůže jmenovat: ") + fromQt(QDir::toNativeSeparators(plan)));
  EXPECT_EQ(s.EditN, "Rozpisy-");
  const std::string expected =
      pdbBytes("Rozpisy-", "data", "TqbR", kCreated, kModified,
               {Fields({"-1", "2", "99ccff", "0", "0", "0", "0", "0"}), kZeroRecord,
                Fields({"1", cp("Řeky"), "", "", "1", "2", "3", "0"})});
  EXPECT_EQ(ReadBytes(plan), expected);
}

TEST_F(TopicPlansTest, PlanWithoutTopicsShowsOneEmptyRowNotThePreviousPlan) {
  s.grid.setText(1, 1, "5");
  s.grid.setText(2, 1, cp("Středověk"));
  s.grid.setText(8, 1, "1");
  s.grid.setText(2, 2, cp("Novověk"));
  for (const int records : {2, 1, 0}) {
    SCOPED_TRACE(records);
    const std::vector<std::string> all{kColourRecord, kZeroRecord};
    const std::vector<std::string> bodies(all.begin(), all.begin() + records);
    const QString name = path("Rozpisy-prázdný.PDB");
    WriteBytes(name, pdbBytes("Rozpisy-x", "data", "TqbR", kCreated, kModified, bodies));

    ReadTopicPlans(s, p, name, false);

    EXPECT_EQ(s.grid.rowCount(), 2);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(s.grid.text(k, 1), "") << k;
    EXPECT_EQ(s.grid.text(0, 1), "1");
    EXPECT_TRUE(s.Memo1.empty());
  }
}

TEST_F(TopicPlansTest, CancelledSaveWritesNothing) {
  s.EditN = "";
  WriteRowRecords(s, p);
  ASSERT_EQ(p.saveRequests.size(), 1u);
  EXPECT_EQ(p.saveRequests[0].fileName, "Rozpisy-.PDB");
  EXPECT_EQ(s.EditN, "Rozpisy-");
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(TopicPlansTest, MalformedFilesChangeNothing) {
  const std::vector<std::string> good{kColourRecord, kZeroRecord, Fields({"1", "A", "", "", "0", "0", "0", "0"}),
                                      Fields({"2", "B", "", "", "0", "0", "0", "0"})};
  const auto file = [](const std::vector<std::string>& bodies) {
    return pdbBytes("Rozpisy-x", "data", "TqbR", kCreated, kModified, bodies);
  };
  std::string offsetOutside = file(good);
  offsetOutside.replace(78 + 8 * 3, 4, be32(70000));
  std::string backwards = file(good);
  backwards.replace(78 + 8 * 2, 4, be32(100));
  std::vector<std::string> badColour = good;
  badColour[0] = Fields({"-1", "2", "gggggg", "0", "0", "0", "0", "0"});
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty file", ""},
      {"truncated header", file(good).substr(0, 77)},
      {"record offset outside the file", offsetOutside},
      {"record offsets going backwards", backwards},
      {"highlight colour not hexadecimal", file(badColour)},
  };
  s.grid.setText(2, 1, cp("Středověk"));
  s.shape1 = rgbHex(0x3366CC);
  s.Memo1.push_back("older line");
  const QString name = path("Rozpisy-poškozený.PDB");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(name, c.bytes);
    const std::string before = Snapshot(s);
    try {
      ReadTopicPlans(s, p, name, true);
      ADD_FAILURE() << "no error";
    } catch (const VeklaError& e) {
      EXPECT_NE(toQt(e.text()).indexOf(QString::fromUtf8("Rozpisy-poškozený.PDB")), -1) << toUtf8(e.text());
    }
    EXPECT_EQ(Snapshot(s), before);
  }
  // A missing file is an error too, and changes nothing.
  const std::string before = Snapshot(s);
  EXPECT_THROW(ReadTopicPlans(s, p, path("Rozpisy-chybí.PDB"), true), VeklaError);
  EXPECT_EQ(Snapshot(s), before);
}

}  // namespace
