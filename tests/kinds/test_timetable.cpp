// The timetable database: the writer checked byte for byte against records
// worked out by hand, the reader on files built byte by byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kinds/kinds.h"
#include "pdb/error.h"
#include "support/kindsfixture.h"
#include "workspace/kindops.h"

using namespace vekla;
using namespace vekla::test;

namespace {

std::vector<std::string> Repeat(const std::string& text, int n) { return std::vector<std::string>(n, text); }

class TimetableTest : public KindTest {
 protected:
  TimetableTest() : KindTest(DbKind::Rozvrh) {}
};

const Color kRed = rgbHex(0xFF0000);
const Color kYellow = rgbHex(0xFFFF99);

TEST_F(TimetableTest, SevenLessonsAreWrittenByteForByteReadBackAndSavedAgainUnchanged) {
  s.EditRozvrhPolozka = "4.A";
  s.EditRozvrhLS = cp("Třída");
  s.lichyTyden = true;
  s.rozlisovatTydny = true;
  s.shapeRozvrh = rgbHex(0x3366CC);
  s.grid.setText(2, 4, "Matematika");
  s.grid.setText(2, 5, "4.A");
  s.grid.setText(2, 6, cp("Učebna 1"));
  s.grid.setText(2, 7, cp("Novák"));
  s.grid.setText(8, 20, cp("Tělocvik"));
  for (int row = 4; row <= 7; ++row) s.grid.setColors(2, row, kRed, kWhite);
  for (int row = 8; row <= 11; ++row) s.grid.setColors(4, row, kYellow, kBlack);
  const QString file = path("Vekla-Čtvrtá.PDB");
  p.saveAnswers.push_back(file);

  WriteTimetable(s, p);

  const auto empties = [](int n) { return Repeat("", n); };
  std::vector<std::string> bodies;
  bodies.push_back(Fields(Join({"0", "7", "1", "1", "3366cc"}, empties(20))));
  bodies.push_back(Fields(Join({"4.A", "0750", "0840", "0940", "1040", "1135", "1230", "1320"}, Repeat("2000", 17))));
  bodies.push_back(
      Fields(Join({cp("Název"), "0835", "0925", "1025", "1125", "1220", "1315", "1405"}, Repeat("2045", 17))));
  std::vector<std::string> labels{cp("Třída")};
  for (int f = 2; f <= 25; ++f) labels.push_back(std::to_string(f - 1));  // lessons, then the padding 8..24
  bodies.push_back(Fields(labels));
  bodies.push_back(Fields(Join(Join({"Pon", "ff0000"}, Repeat("ffffff", 6)), empties(17))));
  bodies.push_back(
      Fields(Join({cp("Úte"), "ffffff", "ffffff", "ffff99", "ffffff", "ffffff", "ffffff", "ffffff"}, empties(17))));
  for (const char* day : {"Stř", "Čtv", "Pát"})
    bodies.push_back(Fields(Join(Join({cp(day)}, Repeat("ffffff", 7)), empties(17))));
  bodies.push_back(Fields(Join({"Sob"}, empties(24))));
  bodies.push_back(Fields(Join({cp("Neď")}, empties(24))));
  const std::string emptyDot = Fields(Join({"."}, empties(24)));
  const auto monday = [&](const std::string& text) { return Fields(Join({".", text}, empties(23))); };
  // Subjects: Monday, Tuesday to Thursday empty, Friday lesson 7, two empty weekend days.
  bodies.push_back(monday("Matematika"));
  for (int i = 0; i < 3; ++i) bodies.push_back(emptyDot);
  bodies.push_back(Fields(Join(Join({"."}, empties(6)), Join({cp("Tělocvik")}, empties(17)))));
  bodies.push_back(emptyDot);
  bodies.push_back(emptyDot);
  for (const std::string& first : {std::string("4.A"), cp("Učebna 1"), cp("Novák")}) {
    bodies.push_back(monday(first));
    for (int i = 0; i < 6; ++i) bodies.push_back(emptyDot);
  }
  ASSERT_EQ(bodies.size(), 39u);
  const std::string expected = pdbBytes(cp("Vekla-Čtvrtá"), "data", "TqbK", kMarch7Noon, kMarch7Noon, bodies);
  const std::string written = ReadBytes(file);
  EXPECT_EQ(Be32At(written, 78), 398u);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(s.EditN, cp("Vekla-Čtvrtá"));
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(s.Lpohyb, "");
  EXPECT_NE(std::find(p.progressTexts.begin(), p.progressTexts.end(), "50 %"), p.progressTexts.end());
  EXPECT_NE(std::find(p.progressTexts.begin(), p.progressTexts.end(), "100 %"), p.progressTexts.end());

  // Read back into a state that looks different.
  VeklaState t;
  t.programDir = s.programDir;
  InitControls(t);
  SetupTab(t, DbKind::Rozvrh);
  t.grid.setColCount(12);
  t.shape1 = kRed;
  t.lichyTyden = false;
  ReadTimetable(t, p, file, true);
  EXPECT_EQ(t.grid.colCount(), 9);
  EXPECT_EQ(t.grid.rowCount(), 24);
  EXPECT_EQ(t.shape1, kWhite);
  EXPECT_EQ(t.adresar1, dir.path() + "/");
  EXPECT_EQ(t.EditN, cp("Vekla-Čtvrtá"));
  EXPECT_EQ(t.EditDV, "07.03.2005");
  EXPECT_EQ(t.EditCV, "12:00:00");
  EXPECT_EQ(t.EditC, "TqbK");
  EXPECT_EQ(t.EditTD, "data");
  EXPECT_EQ(t.EditRozvrhPolozka, "4.A");
  EXPECT_EQ(t.EditRozvrhLS, cp("Třída"));
  EXPECT_TRUE(t.lichyTyden);
  EXPECT_TRUE(t.rozlisovatTydny);
  EXPECT_EQ(t.shapeRozvrh, rgbHex(0x3366CC));
  EXPECT_EQ(t.grid.text(1, 1), cp("Název"));
  EXPECT_EQ(t.grid.text(2, 2), "07:50");
  EXPECT_EQ(t.grid.text(8, 3), "14:05");
  EXPECT_EQ(t.grid.text(8, 1), "7");
  EXPECT_EQ(t.grid.text(2, 4), "Matematika");
  EXPECT_EQ(t.grid.text(2, 5), "4.A");
  EXPECT_EQ(t.grid.text(2, 6), cp("Učebna 1"));
  EXPECT_EQ(t.grid.text(2, 7), cp("Novák"));
  EXPECT_EQ(t.grid.text(8, 20), cp("Tělocvik"));
  // The padding lands in the cells beyond the last column.
  EXPECT_EQ(t.grid.text(9, 2), "20:00");
  EXPECT_EQ(t.grid.text(9, 3), "20:45");
  EXPECT_EQ(t.grid.text(9, 1), "8");
  EXPECT_EQ(t.grid.text(25, 1), "24");
  for (int row = 4; row <= 7; ++row) {
    EXPECT_EQ(t.grid.brush(2, row), kRed);
    EXPECT_EQ(t.grid.fontColor(2, row), kWhite);
  }
  for (int row = 8; row <= 11; ++row) {
    EXPECT_EQ(t.grid.brush(4, row), kYellow);
    EXPECT_EQ(t.grid.fontColor(4, row), kBlack);
  }
  EXPECT_EQ(t.grid.brush(3, 4), kWhite);
  EXPECT_EQ(t.grid.fontColor(3, 4), kBlack);
  // Day names are not read back: the setup's names stay.
  EXPECT_EQ(t.grid.text(1, 4), cp("Pondělí"));
  EXPECT_TRUE(t.Memo1.empty());

  // Saved again under the same name: the same bytes.
  p.saveAnswers.push_back(file);
  WriteTimetable(t, p);
  EXPECT_EQ(ReadBytes(file), expected);
}

TEST_F(TimetableTest, FewLessonsKeepWeekAndColourSettingsAndWarnAboutNameAndRows) {
  s.grid.setColCount(5);
  LayoutTimetable(s);
  NumberLessonColumns(s);
  s.lichyTyden = false;
  s.rozlisovatTydny = false;
  s.shapeRozvrh = kRed;
  s.grid.setRowCount(25);
  const QString file = path("tri.PDB");
  p.saveAnswers.push_back(file);

  WriteTimetable(s, p);

  ASSERT_EQ(p.messages.size(), 2u);
  EXPECT_EQ(p.messages[0], cp("Databáze se takto nemůže jmenovat: ") + fromQt(QDir::toNativeSeparators(file)));
  EXPECT_EQ(p.messages[1], cp("Databáze \"Vekla-.PDB\" musí mít 24 záznamů!"));
  EXPECT_EQ(s.EditN, "Vekla-");
  const std::string written = ReadBytes(file);
  ASSERT_GE(written.size(), 398u);
  EXPECT_EQ(written.substr(0, 7), "Vekla-" + std::string(1, '\0'));
  EXPECT_EQ(Be32At(written, 78), 398u);
  // The colour lies in a padding field with three lessons and is written all the same.
  EXPECT_EQ(RecordBody(written, 1), Fields(Join({"0", "3", "2", "0", "ff0000"}, Repeat("", 20))));
  EXPECT_EQ(RecordBody(written, 2), Fields(Join({"", "0750", "0840", "0940"}, Repeat("2000", 21))));
  EXPECT_EQ(RecordBody(written, 5), Fields(Join({"Pon", "ffffff", "ffffff", "ffffff"}, Repeat("", 21))));

  s.lichyTyden = true;
  s.rozlisovatTydny = true;
  s.shapeRozvrh = kWhite;
  ReadTimetable(s, p, file, false);
  EXPECT_EQ(s.grid.colCount(), 5);
  EXPECT_EQ(s.grid.rowCount(), 24);
  EXPECT_EQ(s.shapeRozvrh, kRed);
  EXPECT_FALSE(s.lichyTyden);
  EXPECT_FALSE(s.rozlisovatTydny);
  EXPECT_EQ(s.grid.text(4, 0), "3");

  // One lesson, the fewest the column commands leave: week, week flag and
  // colour all lie in padding fields and survive saving and reading.
  s.grid.setColCount(3);
  s.lichyTyden = true;
  s.rozlisovatTydny = true;
  s.shapeRozvrh = kYellow;
  const QString one = path("Vekla-jedna.PDB");
  p.saveAnswers.push_back(one);
  WriteTimetable(s, p);
  const std::string oneBytes = ReadBytes(one);
  ASSERT_GE(oneBytes.size(), 398u);
  EXPECT_EQ(RecordBody(oneBytes, 1), Fields(Join({"0", "1", "1", "1", "ffff99"}, Repeat("", 20))));
  EXPECT_EQ(RecordBody(oneBytes, 4), Fields(Join({"", "1"}, {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
                                                              "13", "14", "15", "16", "17", "18", "19", "20", "21",
                                                              "22", "23", "24"})));
  s.lichyTyden = false;
  s.rozlisovatTydny = false;
  s.shapeRozvrh = kWhite;
  ReadTimetable(s, p, one, false);
  EXPECT_EQ(s.grid.colCount(), 3);
  EXPECT_TRUE(s.lichyTyden);
  EXPECT_TRUE(s.rozlisovatTydny);
  EXPECT_EQ(s.shapeRozvrh, kYellow);
}

TEST_F(TimetableTest, PanelTextsLongerThanEightCharactersAreCutOnReadingWithTheirLogLines) {
  const QString file = path("Vekla-dlouhe.PDB");
  const std::string item = cp("Kvinta A.1");      // 10 characters
  const std::string first = cp("Třídnická");     // 9 characters
  const std::vector<std::string> bodies{
      Fields({"0", "2", "1", "0", "ffffff"}), Fields({item, "0750", "0840"}), Fields({"X", "0835", "0925"}),
      Fields({first, "1", "2"}),
  };
  WriteBytes(file, pdbBytes("Vekla-dlouhe", "data", "TqbK", kMarch7Noon, kMarch7Noon, bodies));
  s.Memo1.push_back("older line");

  ReadTimetable(s, p, file, false);

  EXPECT_EQ(s.EditRozvrhPolozka, cp("Kvinta A"));
  EXPECT_EQ(s.EditRozvrhLS, cp("Třídnick"));
  // The label keeps its own colon, and ": " follows it.
  const std::vector<std::string> lines{"older line",
                                       cp("Položka (třída, učitel ... ):: Kvinta A.1 zkrácení položky"),
                                       cp("1. buňka:: Třídnická zkrácení položky")};
  EXPECT_EQ(s.Memo1, lines);
  // Eight characters or fewer stay as they are, without a line.
  const QString exact = path("Vekla-presne.PDB");
  WriteBytes(exact, pdbBytes("Vekla-presne", "data", "TqbK", kMarch7Noon, kMarch7Noon,
                             {bodies[0], Fields({"Kvinta A", "0750"}), bodies[2], Fields({"", "1"})}));
  s.Memo1.clear();
  ReadTimetable(s, p, exact, false);
  EXPECT_EQ(s.EditRozvrhPolozka, "Kvinta A");
  EXPECT_EQ(s.EditRozvrhLS, "");
  EXPECT_TRUE(s.Memo1.empty());
}

TEST_F(TimetableTest, BlockColoursOtherThanSixCharactersAreWhiteWithBlackText) {
  const QString file = path("Vekla-barvy.PDB");
  std::vector<std::string> bodies{
      Fields({"0", "3", "1", "0", "ffff99"}), Fields({""}), Fields({""}), Fields({""}),
      Fields({"Pon", "0000ff", "ffcc9", "ffcc99a"}),
  };
  WriteBytes(file, pdbBytes("Vekla-barvy", "data", "TqbK", kMarch7Noon, kMarch7Noon, bodies));
  for (int row = 4; row <= 7; ++row) s.grid.setColors(3, row, kRed, kWhite);
  s.grid.setText(2, 4, cp("Zeměpis"));
  ReadTimetable(s, p, file, false);
  EXPECT_EQ(s.shapeRozvrh, kYellow);
  EXPECT_EQ(s.grid.brush(2, 4), rgbHex(0x0000FF));
  EXPECT_EQ(s.grid.fontColor(2, 7), kWhite);
  for (int col : {3, 4}) {
    EXPECT_EQ(s.grid.brush(col, 5), kWhite);
    EXPECT_EQ(s.grid.fontColor(col, 5), kBlack);
  }
  // Fields and records the file does not have leave their cells alone.
  EXPECT_EQ(s.grid.text(1, 1), "");
  EXPECT_EQ(s.grid.text(2, 2), "07:50");
  EXPECT_EQ(s.grid.text(2, 4), cp("Zeměpis"));
}

TEST_F(TimetableTest, MalformedFilesChangeNothing) {
  const std::vector<std::string> good{
      Fields({"0", "3", "1", "0", "ffffff"}), Fields({"A", "0750"}), Fields({"B", "0835"}), Fields({"C", "1"}),
      Fields({"Pon", "ff0000"}), Fields({"Ute", "00ff00"}),
  };
  const auto file = [&](std::vector<std::string> bodies) {
    return pdbBytes("Vekla-x", "data", "TqbK", kMarch7Noon, kMarch7Noon, bodies);
  };
  const auto replaced = [&](int record, const std::string& body) {
    std::vector<std::string> b = good;
    b[static_cast<std::size_t>(record - 1)] = body;
    return file(b);
  };
  std::string offsetOutside = file(good);
  offsetOutside.replace(78 + 8 * 2, 4, be32(100000));
  std::string backwards = file(good);
  backwards.replace(78 + 8 * 3, 4, be32(90));
  std::string manyRecords = file(good);
  manyRecords.replace(76, 2, be16(60000));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"truncated header", file(good).substr(0, 50)},
      {"record offset outside the file", offsetOutside},
      {"record offsets going backwards", backwards},
      {"record count larger than the file", manyRecords},
      {"lesson count not a number", replaced(1, Fields({"0", "abc"}))},
      {"lesson count empty", replaced(1, Fields({"0", ""}))},
      {"absurd lesson count", replaced(1, Fields({"0", "999999"}))},
      {"timetable colour not hexadecimal", replaced(1, Fields({"0", "3", "1", "0", "zzzzzz"}))},
      {"block colour not hexadecimal", replaced(6, Fields({"Ute", "00ff00", "12345g"}))},
  };
  s.grid.setText(2, 4, "Zeměpis");
  s.EditRozvrhPolozka = "1.B";
  s.shape1 = kRed;
  s.Memo1.push_back("older line");
  const QString name = path("Vekla-poškozený.PDB");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(name, c.bytes);
    const std::string before = Snapshot(s);
    try {
      ReadTimetable(s, p, name, true);
      ADD_FAILURE() << "no error";
    } catch (const VeklaError& e) {
      EXPECT_NE(toQt(e.text()).indexOf(QString::fromUtf8("Vekla-poškozený.PDB")), -1) << toUtf8(e.text());
    }
    EXPECT_EQ(Snapshot(s), before);
  }
}

}  // namespace

namespace {

// A lesson count of 0 is a timetable without lesson columns, not damage.
TEST_F(TimetableTest, NoLessonsIsAGridWithoutLessonColumns) {
  const QString name = path("Vekla-prazdny.PDB");
  WriteBytes(name, pdbBytes("Vekla-prazdny", "data", "TqbK", kMarch7Noon, kMarch7Noon,
                            {Fields({"0", "0", "1", "0", "ffffff"}), Fields({"A"})}));
  ReadTimetable(s, p, name, true);
  EXPECT_EQ(s.grid.colCount(), 2);
  EXPECT_EQ(s.EditRozvrhPolozka, "A");
}

}  // namespace
