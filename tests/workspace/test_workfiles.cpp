// The tab working files and the grades semester store.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/datafolder.h"
#include "workspace/gradestats.h"
#include "workspace/kindops.h"
#include "workspace/semesters.h"
#include "workspace/setup.h"
#include "workspace/workfiles.h"

using namespace vekla;

namespace {

constexpr Color kSysWindowValue = -2147483643;      // a background never set
constexpr Color kSysWindowTextValue = -2147483640;  // a text colour never set

class WorkFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetNow(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)));
    init(s);
  }
  void TearDown() override { SetNow(QDateTime()); }

  void init(VeklaState& st) {
    st.programDir = dir.path() + "/";
    InitControls(st);
  }
  QString data(const char* name) const { return dir.path() + "/data/" + name; }
  std::string read(const char* name) const { return ReadWholeFile(data(name)); }
  void write(const char* name, const std::string& bytes) {
    QDir().mkpath(dir.path() + "/data");
    WriteFileAtomic(data(name), bytes);
  }
  // One working file of the state written on its own.
  void writeAlone(void (*save)(VeklaState&, WorkFileBatch&)) {
    WorkFileBatch batch;
    save(s, batch);
    batch.write();
  }

  // A new state that loads the working files of `kind` as on activation.
  VeklaState reloaded(DbKind kind) {
    VeklaState t;
    init(t);
    SetupTab(t, kind);
    LoadKind(t);
    return t;
  }

  static void expectSameCells(const CellGrid& a, const CellGrid& b, bool resolved = false) {
    ASSERT_EQ(a.colCount(), b.colCount());
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (int r = 0; r < a.rowCount(); ++r)
      for (int c = 0; c < a.colCount(); ++c) {
        EXPECT_EQ(a.text(c, r), b.text(c, r)) << c << "," << r;
        if (r == 0 || c == 0) continue;
        auto col = [&](Color x) { return resolved ? resolveColor(x) : x; };
        EXPECT_EQ(col(a.brush(c, r)), col(b.brush(c, r))) << c << "," << r;
        EXPECT_EQ(col(a.fontColor(c, r)), col(b.fontColor(c, r))) << c << "," << r;
      }
  }

  QTemporaryDir dir;
  VeklaState s;
};

TEST_F(WorkFilesTest, CommonFileBytesAndMissingDataFolder) {
  s.kind = DbKind::Rozpisy;
  s.prefix = "Rozpisy-";
  s.EditN = "Rozpisy-x";
  s.EditC = "TqbR";
  s.EditTD = "data";
  s.EditDV = "01.02.2026";
  s.EditCV = "10:11:12";
  s.EditDZ = "03.04.2026";
  s.EditCZ = "13:14:15";
  s.shape1 = rgbHex(0x0000FF);
  s.grid = CellGrid(2, 2, 1, 1);
  s.grid.setText(1, 0, cp("Téma"));
  s.grid.setText(0, 1, "1");
  s.grid.setText(1, 1, "a\r\nb\nc\rd");  // line breaks in a cell stay on one line
  ASSERT_FALSE(QDir(dir.path() + "/data").exists());

  writeAlone(SaveCommon);
  EXPECT_TRUE(QDir(dir.path() + "/data").exists());
  EXPECT_EQ(read("Rozpisy-.txt"),
            "Rozpisy-x\r\nTqbR\r\ndata\r\n01.02.2026\r\n10:11:12\r\n03.04.2026\r\n13:14:15\r\n16711680\r\n2\r\n2\r\n"
            "\r\nT\xE9ma\r\n1\r\na bc d\r\n");

  VeklaState t;
  init(t);
  t.kind = DbKind::Rozpisy;
  t.prefix = "Rozpisy-";
  LoadCommon(t);
  EXPECT_EQ(t.EditN, "Rozpisy-x");
  EXPECT_EQ(t.EditCZ, "13:14:15");
  EXPECT_EQ(t.shape1, rgbHex(0x0000FF));
  EXPECT_EQ(t.shape2, ContrastColor(rgbHex(0x0000FF)));
  EXPECT_EQ(t.grid.colCount(), 2);
  EXPECT_EQ(t.grid.text(1, 1), "a bc d");

  // The converter's own data folder.
  s.dataDirOverride = dir.path() + "/elsewhere";
  writeAlone(SaveCommon);
  EXPECT_TRUE(QFile::exists(dir.path() + "/elsewhere/Rozpisy-.txt"));
}

TEST_F(WorkFilesTest, TimetableExtrasBytes) {
  s.kind = DbKind::Rozvrh;
  s.prefix = "Vekla-";
  s.grid = CellGrid(3, 10, 1, 1);
  s.EditRozvrhPolozka = "7.A";
  s.EditRozvrhLS = "Po";
  s.rozlisovatTydny = true;
  s.lichyTyden = false;
  s.shapeRozvrh = rgbHex(0x123456);
  s.grid.setBrush(1, 1, kWhite);
  s.grid.setBrush(1, 4, rgbHex(0xFF0000));
  s.grid.setBrush(1, 8, kBlack);
  s.grid.setBrush(2, 4, rgbHex(0x00FF00));
  writeAlone(SaveTimetableExtras);
  EXPECT_EQ(read("Vekla-plus.txt"),
            "7.A\r\nPo\r\n1\r\n0\r\n5649426\r\n16777215\r\n-2147483643\r\n255\r\n0\r\n65280\r\n-2147483643\r\n");

  VeklaState t;
  init(t);
  t.prefix = "Vekla-";
  t.grid = CellGrid(3, 10, 1, 1);
  LoadTimetableExtras(t);
  EXPECT_EQ(t.EditRozvrhPolozka, "7.A");
  EXPECT_TRUE(t.rozlisovatTydny);
  EXPECT_FALSE(t.lichyTyden);
  EXPECT_EQ(t.shapeRozvrh, rgbHex(0x123456));
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(t.grid.brush(1, r), kWhite);
    EXPECT_EQ(t.grid.brush(2, r), kSysWindowValue);
  }
  for (int r = 4; r <= 7; ++r) {
    EXPECT_EQ(t.grid.brush(1, r), rgbHex(0xFF0000));
    EXPECT_EQ(t.grid.fontColor(1, r), kWhite);
    EXPECT_EQ(t.grid.brush(2, r), rgbHex(0x00FF00));
    EXPECT_EQ(t.grid.fontColor(2, r), kBlack);
  }
  // A block never coloured keeps a readable text colour.
  EXPECT_EQ(t.grid.brush(2, 8), kSysWindowValue);
  EXPECT_EQ(resolveColor(t.grid.fontColor(2, 8)), kBlack);
}

TEST_F(WorkFilesTest, GradeExtrasBytes) {
  s.prefix = "Znamky-";
  s.znamky = CellGrid(3, 2, 1, 1);
  s.znamky.setText(1, 0, "1 ");
  s.znamky.setText(2, 0, cp("2·"));
  s.znamky.setText(1, 1, "1,00");
  s.znamky.setText(2, 1, "1,50");
  const char* texts[4] = {"1,00", "2,00", "0,50", "1,00"};
  const Color colors[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA), rgbHex(0x00CC33)};
  for (int i = 0; i < 4; ++i) s.weights[static_cast<size_t>(i)] = {texts[i], colors[i]};
  s.weightDown = 2;
  s.znamky2 = CellGrid(1, 1, 0, 0);
  s.znamky2.setText(0, 0, "1,3");
  s.znamky2.setColors(0, 0, rgbHex(0x0000FF), kWhite);
  s.semesterText = "2. pol. 2025/2026";
  s.semesterItems = {"1. pol. 2025/2026", "2. pol. 2025/2026"};
  s.semesterItemIndex = 1;
  s.grid = CellGrid(2, 2, 1, 1);
  s.grid.setColors(1, 1, kWhite, kBlack);
  s.studentCount = 7;
  s.memoPoznamka = {cp("první"), "x\ry"};
  writeAlone(SaveGradeExtras);
  EXPECT_EQ(read("Znamky-plus.txt"),
            "1 \r\n2\xB7\r\n1,00\r\n1,50\r\n"                                    // symbols and values
            "1,00\r\n2,00\r\n0,50\r\n1,00\r\n"                                   // weight texts
            "255\r\n16711680\r\n11184810\r\n3394560\r\n"                         // weight colours
            "2\r\n"                                                              // the button down
            "1,3\r\n16711680\r\n16777215\r\n\r\n-2147483643\r\n-2147483640\r\n"  // bands, one beyond
            "2. pol. 2025/2026\r\n2\r\n1. pol. 2025/2026\r\n2. pol. 2025/2026\r\n1\r\n"
            "0\r\n16777215\r\n"  // text colour, background of cell (1, 1)
            "7\r\n2\r\nprvn\xED\r\nx y\r\n");

  VeklaState t;
  init(t);
  t.prefix = "Znamky-";
  t.znamky = CellGrid(3, 2, 1, 1);
  t.znamky2 = CellGrid(1, 1, 0, 0);
  t.grid = CellGrid(2, 2, 1, 1);
  LoadGradeExtras(t);
  EXPECT_EQ(t.znamky.text(2, 0), cp("2·"));
  EXPECT_EQ(t.znamky.fontColor(1, 0), rgbHex(0x0000FF));  // the pressed weight's colour
  EXPECT_EQ(t.weights[2].text, "0,50");
  EXPECT_EQ(t.weights[3].color, rgbHex(0x00CC33));
  EXPECT_EQ(t.weightDown, 2);
  EXPECT_EQ(t.znamky2.brush(0, 0), rgbHex(0x0000FF));
  EXPECT_EQ(t.znamky2.fontColor(1, 0), kSysWindowTextValue);
  EXPECT_EQ(t.semesterItems, s.semesterItems);
  EXPECT_EQ(t.semesterItemIndex, 1);
  EXPECT_EQ(t.currentSemester, 2);
  EXPECT_EQ(t.grid.brush(1, 1), kWhite);
  EXPECT_EQ(t.studentCount, 7);
  EXPECT_EQ(t.memoPoznamka, (std::vector<std::string>{cp("první"), "x y"}));
}

TEST_F(WorkFilesTest, GradesRoundTrip) {
  SetupTab(s, DbKind::Znamky);
  s.grid.insertCol(4);
  NumberGradeColumns(s);
  LayoutGrades(s);
  s.grid.setText(4, 1, "1.10");
  s.grid.setText(3, 4, "1 ");
  s.grid.setFontColor(3, 4, rgbHex(0xFF0000));
  s.grid.setText(4, 5, cp("2·"));
  s.grid.setFontColor(4, 5, rgbHex(0x0000FF));
  s.grid.setText(2, 6, cp("Žluťoučký kůň"));
  s.grid.setText(7, 6, cp("řádek 1\r\nřádek 2"));
  s.shape1 = rgbHex(0x99CCFF);
  s.shape2 = ContrastColor(s.shape1);
  LayoutGrades(s);
  s.weights[1].text = "2,50";
  s.weights[3].color = rgbHex(0x804000);
  s.weightDown = 4;
  s.znamky.setText(3, 1, "3,25");
  s.znamky2.setText(2, 0, "2,2");
  s.znamky2.setColors(4, 0, rgbHex(0x111111), kWhite);
  s.semesterItems = {"1. pol. 2025/2026", "2. pol. 2025/2026"};
  s.semesterItemIndex = 1;
  s.semesterText = s.semesterItems[1];
  s.memoPoznamka = {"a", "", cp("č")};
  s.studentCount = 9;
  SaveKind(s);
  ASSERT_TRUE(QFile::exists(data("Znamky-.txt")));
  ASSERT_TRUE(QFile::exists(data("Znamky-plus.txt")));

  VeklaState t = reloaded(DbKind::Znamky);
  s.grid.setText(7, 6, cp("řádek 1 řádek 2"));  // saved on one line
  expectSameCells(s.grid, t.grid);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.weights[static_cast<size_t>(i)].text, s.weights[static_cast<size_t>(i)].text);
    EXPECT_EQ(t.weights[static_cast<size_t>(i)].color, s.weights[static_cast<size_t>(i)].color);
  }
  EXPECT_EQ(t.weightDown, 4);
  EXPECT_EQ(t.znamky.fontColor(5, 0), rgbHex(0x804000));
  for (int c = 0; c <= 20; ++c)
    for (int r = 0; r <= 1; ++r) EXPECT_EQ(t.znamky.text(c, r), s.znamky.text(c, r));
  for (int c = 0; c <= 5; ++c) {
    EXPECT_EQ(t.znamky2.text(c, 0), s.znamky2.text(c, 0));
    EXPECT_EQ(t.znamky2.brush(c, 0), s.znamky2.brush(c, 0));
    EXPECT_EQ(t.znamky2.fontColor(c, 0), s.znamky2.fontColor(c, 0));
  }
  // The first band is the selected value cell, in its own colours.
  EXPECT_EQ(t.selValueCol, 0);
  EXPECT_EQ(t.selValueRow, 0);
  EXPECT_EQ(t.znamky2.selectedCellColor, rgbHex(0x0000FF));
  EXPECT_EQ(t.semesterItems, s.semesterItems);
  EXPECT_EQ(t.semesterText, s.semesterText);
  EXPECT_EQ(t.currentSemester, 2);
  EXPECT_EQ(t.memoPoznamka, s.memoPoznamka);
  EXPECT_EQ(t.studentCount, 9);
  EXPECT_EQ(t.shape1, s.shape1);
  EXPECT_EQ(t.EditN, "Znamky-");
}

TEST_F(WorkFilesTest, OtherKindsRoundTrip) {
  // Topic plans.
  SetupTab(s, DbKind::Rozpisy);
  s.grid.setText(2, 1, cp("Úvod do řešení"));
  s.grid.setText(3, 1, "1.9.2025");
  s.grid.setText(4, 2, "a\r\nb");
  s.grid.setRowCount(13);
  s.shape1 = rgbHex(0x00FF00);
  s.shape2 = ContrastColor(s.shape1);
  LayoutTopicPlans(s);
  SaveKind(s);
  VeklaState t = reloaded(DbKind::Rozpisy);
  s.grid.setText(4, 2, "a b");
  expectSameCells(s.grid, t.grid);
  EXPECT_FALSE(QFile::exists(data("Rozpisy-plus.txt")));

  // Timetable: panel, lesson columns and lesson colours.
  SetupTab(s, DbKind::Rozvrh);
  s.grid.setColCount(10);
  NumberLessonColumns(s);
  s.grid.setText(3, 5, cp("Čeština"));
  s.EditRozvrhPolozka = "8.B";
  s.lichyTyden = false;
  s.shapeRozvrh = rgbHex(0xABCDEF);
  for (int r = 8; r < 12; ++r) s.grid.setColors(4, r, rgbHex(0x2040A0), kWhite);
  LayoutTimetable(s);
  SaveKind(s);
  t = reloaded(DbKind::Rozvrh);
  expectSameCells(s.grid, t.grid, true);
  EXPECT_EQ(t.grid.brush(4, 9), rgbHex(0x2040A0));
  EXPECT_EQ(t.EditRozvrhPolozka, "8.B");
  EXPECT_FALSE(t.lichyTyden);
  EXPECT_EQ(t.shapeRozvrh, rgbHex(0xABCDEF));

  // Calendar.
  SetupTab(s, DbKind::Kalendar);
  s.grid.setText(1, 1, cp("Nový rok"));
  s.grid.setText(1, 366, "Silvestr");
  SaveKind(s);
  t = reloaded(DbKind::Kalendar);
  expectSameCells(s.grid, t.grid);
  EXPECT_EQ(t.grid.text(0, 60), "29.2.");
}

TEST_F(WorkFilesTest, MissingAndDamagedFiles) {
  // No common file: the kind's fresh setup.
  s.kind = DbKind::Rozpisy;
  s.prefix = "Rozpisy-";
  s.grid.setText(2, 2, "stale");
  LoadCommon(s);
  EXPECT_EQ(s.grid.colCount(), 9);
  EXPECT_EQ(toUtf8(s.grid.text(2, 0)), "Téma");
  EXPECT_EQ(s.grid.text(2, 2), "");
  LoadTimetableExtras(s);  // missing extras: nothing happens

  auto expectError = [&](const std::string& content, const char* needle) {
    write("Rozpisy-.txt", content);
    try {
      LoadCommon(s);
      ADD_FAILURE() << "no error for " << content;
    } catch (const VeklaError& e) {
      EXPECT_NE(e.text().find("Rozpisy-.txt"), std::string::npos) << toUtf8(e.text());
      EXPECT_NE(toUtf8(e.text()).find(needle), std::string::npos) << toUtf8(e.text());
    }
  };
  const std::string head = "N\r\nC\r\nT\r\nd\r\nc\r\nd\r\nc\r\n";
  expectError(head + "bílá\r\n2\r\n2\r\n", "není číslo");
  EXPECT_EQ(s.EditN, "N");  // what was read stays
  expectError(head + "0\r\n2\r\n99999999999\r\n", "není číslo");
  expectError(head + "0\r\n2\r\n", "neúplný");
  // Cell lines missing: the grid keeps its shape and texts.
  s.grid.setText(1, 1, "keep");
  expectError(head + "0\r\n3\r\n1000\r\na\r\nb\r\n", "neúplný");
  EXPECT_EQ(s.grid.rowCount(), 11);
  EXPECT_EQ(s.grid.text(1, 1), "keep");

  // A grade extras file naming a weight button that does not exist.
  s.prefix = "Znamky-";
  std::string extras;
  for (int i = 0; i < 40 + 4; ++i) extras += "x\r\n";
  for (int i = 0; i < 4; ++i) extras += "0\r\n";
  const std::string scale = extras;
  extras += "7\r\n";
  write("Znamky-plus.txt", extras);
  EXPECT_THROW(LoadGradeExtras(s), VeklaError);

  // Numbers outside their range make the file damaged before any arithmetic
  // on them: a shown semester past the list (its number + 1 would overflow),
  // more semesters than a grade book may have, a grid no kind has.
  std::string bands;
  for (int i = 0; i < 6; ++i) bands += "1,0\r\n0\r\n0\r\n";
  const std::pair<std::string, const char*> ranged[] = {
      {scale + "1\r\n" + bands + "sem\r\n1\r\nsem\r\n2147483647\r\n", "od -1 do 0"},
      {scale + "1\r\n" + bands + "sem\r\n101\r\n", "od 0 do 100"},
  };
  for (const auto& [content, needle] : ranged) {
    write("Znamky-plus.txt", content);
    try {
      LoadGradeExtras(s);
      ADD_FAILURE() << needle;
    } catch (const VeklaError& e) {
      EXPECT_NE(toUtf8(e.text()).find(needle), std::string::npos) << toUtf8(e.text());
    }
  }
  s.prefix = "Rozpisy-";
  expectError(head + "0\r\n2000\r\n2\r\n", "od 0 do 1024");
  expectError(head + "0\r\n1000\r\n60000\r\n", "větší");
}

// Two semesters through the store: byte lists, "PP" for grades without a
// known weight, 00 stored as 24 and 60, and keys that must survive a store.
TEST_F(WorkFilesTest, SemesterStore) {
  SetupTab(s, DbKind::Znamky);
  CellGrid& g = s.grid;
  s.semesterItems = {"1. pol. 2025/2026", "2. pol. 2025/2026"};
  s.semesterItemIndex = 0;
  s.currentSemester = 1;
  g.insertCol(4);
  NumberGradeColumns(s);
  LayoutGrades(s);  // C = 9, grade columns 3 and 4; students 1 to 5 in rows 4 to 8
  g.setText(3, 1, "11.9");
  g.setText(4, 1, "1.10");
  g.setText(3, 2, "00:00");
  g.setText(4, 2, "08:00");
  g.setText(3, 3, "10:05");
  g.setText(4, 3, "12:45");
  g.setText(3, 4, "1 ");
  g.setFontColor(3, 4, rgbHex(0xFF0000));  // weight 1, grade code 1
  g.setText(4, 4, "3*");
  g.setFontColor(4, 4, rgbHex(0x0000FF));  // weight 2, grade code 13
  g.setText(7, 4, "pozn");
  g.setText(3, 5, "4 ");
  g.setFontColor(3, 5, rgbHex(0xFF0000));
  g.setText(3, 6, "2 ");
  g.setFontColor(3, 6, rgbHex(0x123456));  // no weight has this colour
  s.memoPoznamka = {"a", "b"};
  StoreSemester(s);
  EXPECT_TRUE(s.gradesIniDirty);

  IniFile& ini = GradesIni(s);
  EXPECT_EQ(ini.get("Casy1", "Pololeti1"), "20251");
  EXPECT_EQ(ini.get("Datumy", "Poznamka1"), "a b");  // a line break keeps the words apart
  EXPECT_EQ(ini.get("Datumy", "Dny1"), ";91:");  // 11.9 and 1.10
  EXPECT_EQ(ini.get("Casy1", "Casy1"), "Hl8l");  // 00:00 as 24:60, 08:00 as 8:60
  EXPECT_EQ(ini.get("Casy2", "Casy1"), ":5<]");  // 10:05, 12:45
  EXPECT_EQ(ini.get("Z1", "Z1"), "112=");
  EXPECT_EQ(toUtf8(ini.get("Z1", "Jmeno")), "Nový záznam");
  EXPECT_EQ(ini.get("Z1", "P1"), "pozn");
  EXPECT_EQ(ini.get("Z1", "Poradi"), "1");
  EXPECT_EQ(ini.get("Z1", "Zkousen"), "0");
  EXPECT_EQ(ini.get("Z2", "Z1"), "14PP");
  EXPECT_EQ(ini.get("Z3", "Z1"), "PPPP");
  EXPECT_EQ(ini.get("Z5", "Z1"), "PPPP");
  EXPECT_EQ(ini.keys("Z1"), (std::vector<std::string>{"Z1", "Jmeno", "P1", "Poradi", "Zkousen"}));

  // Semester 2 starts empty: one grade column, no note.
  s.semesterItemIndex = 1;
  s.currentSemester = 2;
  LoadSemester(s, 2);
  ASSERT_EQ(g.colCount(), 8);
  EXPECT_EQ(g.text(3, 0), "1");
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(g.text(3, r), "") << r;
  EXPECT_TRUE(s.memoPoznamka.empty());
  EXPECT_EQ(toUtf8(g.text(0, 10)), "Sm. odch.");

  // Student 2 leaves; semester 2 gets a grade and an empty start time.
  g.removeRow(5);
  LayoutGrades(s);
  g.setText(3, 1, "2.2");
  g.setText(3, 3, "08:15");
  g.setText(3, 4, "5 ");
  g.setFontColor(3, 4, rgbHex(0x00CC33));
  StoreSemester(s);
  EXPECT_EQ(g.text(3, 2), "09:07");  // the empty time became the current one
  EXPECT_EQ(ini.get("Casy1", "Casy2"), "97");
  EXPECT_EQ(ini.get("Datumy", "Dny2"), "22");
  EXPECT_EQ(ini.get("Casy1", "Pololeti2"), "20252");
  EXPECT_EQ(ini.get("Z1", "Z2"), "45");
  // Keys of semester 1 and the section of the student who left remain.
  EXPECT_EQ(ini.get("Z1", "Z1"), "112=");
  EXPECT_EQ(ini.get("Z2", "Z1"), "14PP");
  EXPECT_FALSE(ini.has("Z2", "Z2"));
  EXPECT_EQ(ini.get("Z3", "Z2"), "PP");
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Casy1", "Datumy", "Casy2", "Z1", "Z2", "Z3", "Z4", "Z5"}));
  EXPECT_EQ(ini.keys("Casy1"), (std::vector<std::string>{"Pololeti1", "Casy1", "Pololeti2", "Casy2"}));
  // No byte list holds a "0", which would be a zero byte in the database.
  for (const auto& [sec, key] : std::vector<std::pair<const char*, const char*>>{
           {"Datumy", "Dny1"}, {"Datumy", "Dny2"}, {"Casy1", "Casy1"}, {"Casy1", "Casy2"}, {"Casy2", "Casy1"},
           {"Casy2", "Casy2"}, {"Z1", "Z1"}, {"Z1", "Z2"}})
    EXPECT_EQ(ini.get(sec, key).find('0'), std::string::npos) << sec << "/" << key;

  // Written once, then read by a new state.
  FlushGradesIni(s);
  EXPECT_FALSE(s.gradesIniDirty);
  ASSERT_TRUE(QFile::exists(GradesIniPath(s)));
  VeklaState t;
  init(t);
  EXPECT_EQ(GradesIni(t).get("Z1", "Z1"), "112=");
  EXPECT_EQ(GradesIni(t).get("Casy1", "Casy1"), "Hl8l");
  EXPECT_EQ(GradesIni(t).get("Datumy", "Dny1"), ";91:");  // a value that starts like a comment
  // The same semester stored again changes nothing, and nothing is written
  // (a mark left in the file stays); a missing file is written again.
  QFile mark(GradesIniPath(s));
  ASSERT_TRUE(mark.open(QIODevice::Append));
  mark.write(";mark\r\n");
  mark.close();
  StoreSemester(s);
  FlushGradesIni(s);
  EXPECT_TRUE(ReadWholeFile(GradesIniPath(s)).ends_with(";mark\r\n"));
  QFile::remove(GradesIniPath(s));
  StoreSemester(s);
  FlushGradesIni(s);
  EXPECT_EQ(ReadWholeFile(GradesIniPath(s)), s.gradesIni.toBytes());

  // Back to semester 1 on the grid without student 2.
  s.currentSemester = 1;
  LoadSemester(s, 1);
  ASSERT_EQ(g.colCount(), 9);
  EXPECT_EQ(g.text(3, 0), "1");
  EXPECT_EQ(g.text(4, 0), "2");
  EXPECT_EQ(g.text(3, 1), "11.9");
  EXPECT_EQ(g.text(4, 1), "1.10");
  EXPECT_EQ(g.text(3, 2), "00:00");  // 24 shows as 00
  EXPECT_EQ(g.text(4, 2), "08:00");
  EXPECT_EQ(g.text(3, 3), "10:05");
  EXPECT_EQ(g.text(4, 3), "12:45");
  EXPECT_EQ(s.memoPoznamka, (std::vector<std::string>{"a b"}));
  EXPECT_EQ(g.text(3, 4), "1 ");
  EXPECT_EQ(g.fontColor(3, 4), rgbHex(0xFF0000));
  EXPECT_EQ(g.text(4, 4), "3*");
  EXPECT_EQ(g.fontColor(4, 4), rgbHex(0x0000FF));
  EXPECT_EQ(g.text(7, 4), "pozn");
  ASSERT_EQ(toUtf8(g.text(0, 5)), "3. Nový");
  EXPECT_EQ(g.text(3, 5), "");  // stored as "PP": no grade
  EXPECT_EQ(g.text(4, 5), "");
  EXPECT_FALSE(g.text(5, 4).empty());  // statistics recomputed

  LoadSemester(s, 2);
  ASSERT_EQ(g.colCount(), 8);
  EXPECT_EQ(g.text(3, 1), "2.2");
  EXPECT_EQ(g.text(3, 4), "5 ");
  EXPECT_EQ(g.fontColor(3, 4), rgbHex(0x00CC33));

  // Deleting empties the store and removes the file.
  DeleteGradesIni(s);
  EXPECT_FALSE(QFile::exists(GradesIniPath(s)));
  EXPECT_TRUE(s.gradesIni.empty());
  EXPECT_TRUE(s.gradesIniLoaded);
  EXPECT_FALSE(s.gradesIniDirty);
  FlushGradesIni(s);
  EXPECT_FALSE(QFile::exists(GradesIniPath(s)));
}

// A semester with unusual bytes: a grade whose weight byte is unknown shows
// its symbol but counts for nothing (not even in the column that held a
// weighted grade of the semester left), an unknown grade byte is an empty
// cell, and a very long semester is rebuilt in one pass. A damaged store
// listing more dates than a semester can have is cut at 127 columns.
TEST_F(WorkFilesTest, SemesterWithUnknownBytesAndManyColumns) {
  SetupTab(s, DbKind::Znamky);
  s.grid.setText(3, 4, "1 ");
  s.grid.setFontColor(3, 4, rgbHex(0xFF0000));  // weight 1 in the only grade column
  const int k = kMaxGradeColumns;
  std::string days, grades;
  for (int i = 0; i < k; ++i) days += "11";
  days.replace(days.size() - 2, 2, "23");  // the last column dated 2.3
  grades = "75" "1Z" "11";                 // weight 7, grade 42, then "1 " of weight 1
  for (int i = 3; i < k - 1; ++i) grades += "PP";
  grades += "75";
  IniFile& ini = GradesIni(s);
  ini.set("Datumy", "Dny1", days);
  ini.set("Z1", "Z1", grades);
  ini.set("Datumy", "Dny3", days + std::string(2 * 3000, '1'));

  LoadSemester(s, 3);
  EXPECT_EQ(s.grid.colCount(), k + 7);
  EXPECT_EQ(s.Memo1.back(), cp("Pololetí 3 má 3127 sloupců známek, zobrazeno prvních 127"));

  LoadSemester(s, 1);
  CellGrid& g = s.grid;
  ASSERT_EQ(g.colCount(), k + 7);
  const int last = k + 2;
  EXPECT_EQ(g.text(last, 0), std::to_string(k));
  EXPECT_EQ(g.text(last, 1), "2.3");
  EXPECT_EQ(g.text(last + 1, 0), cp("Průměr"));
  EXPECT_EQ(g.text(3, 4), "5 ");
  EXPECT_EQ(WeightNumber(s, g.fontColor(3, 4)), 0);
  EXPECT_EQ(g.text(4, 4), "");
  EXPECT_EQ(g.text(5, 4), "1 ");
  EXPECT_EQ(g.fontColor(5, 4), rgbHex(0xFF0000));
  EXPECT_EQ(g.text(last, 4), "5 ");
  EXPECT_EQ(WeightNumber(s, g.fontColor(last, 4)), 0);
  EXPECT_EQ(g.text(k + 3, 4), "1,000");  // only the weighted "1 " counts

  // Back to a short semester in one pass as well.
  ini.set("Datumy", "Dny2", "23");
  LoadSemester(s, 2);
  EXPECT_EQ(g.colCount(), 8);
  EXPECT_EQ(g.text(3, 1), "2.3");
  EXPECT_EQ(g.text(4, 0), cp("Průměr"));
}

}  // namespace
