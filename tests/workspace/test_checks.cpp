// Cell checks: repairs, the exact wording of their error-log lines, and the
// whole-grid pass with its progress label.
#include <gtest/gtest.h>

#include <optional>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "support/scriptedprompter.h"
#include "workspace/checks.h"
#include "workspace/kindops.h"
#include "workspace/progress.h"

using namespace vekla;

namespace {

// A grade book of `students` rows and `gradeCols` grade columns, labelled
// and headed as the grades tab shows it, with the default grade symbols.
void MakeGradeBook(VeklaState& s, int students, int gradeCols) {
  test::GradeBookGrid(s, students, gradeCols);
  test::DefaultGradeSymbols(s);
}

void MakeTopicPlans(VeklaState& s) {
  s.kind = DbKind::Rozpisy;
  s.grid = CellGrid(9, 11, 1, 1);
  const char* heads[] = {"Pořadí", "Téma", "Datum", "Poznámka", "Od", "Do", "Celkem", "Hotovo"};
  const char types[] = {'i', 's', 'd', 's', 'i', 'i', 'i', 'b'};
  const int lengths[] = {3, 255, 10, 255, 3, 3, 3, 1};
  const char* defaults[] = {"0", "", "", "", "0", "0", "0", "0"};
  for (int c = 1; c <= 8; ++c) {
    s.grid.setText(c, 0, cp(heads[c - 1]));
    s.Sloupce.Typ[c] = types[c - 1];
    s.Sloupce.Delka[c] = lengths[c - 1];
    s.Sloupce.Vychozi[c] = defaults[c - 1];
  }
  for (int r = 1; r < 11; ++r) s.grid.setText(0, r, std::to_string(r));
}

void MakeTimetable(VeklaState& s) {
  s.kind = DbKind::Rozvrh;
  s.grid = CellGrid(9, 24, 1, 1);
  s.grid.setText(1, 0, "Den");
  for (int c = 2; c < 9; ++c) s.grid.setText(c, 0, std::to_string(c - 1));
  s.grid.setText(0, 1, "Hodina ");
  s.grid.setText(0, 2, "Od");
  s.grid.setText(0, 3, "Do");
  const char* byMod[] = {"Předmět ", "Třída", "Učebna", "Název"};
  for (int r = 4; r < 24; ++r) s.grid.setText(0, r, cp(byMod[r % 4]));
}

struct Case {
  DbKind kind;
  int row, col;
  const char* input;     // UTF-8
  const char* expected;  // UTF-8
  const char* line;      // UTF-8; nullptr: nothing logged
};

struct Checks : ::testing::Test {
  void SetUp() override { SetNow(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 41))); }
  void TearDown() override { SetNow(QDateTime()); }

  static void MakeKind(VeklaState& s, DbKind k) {
    switch (k) {
      case DbKind::Znamky: MakeGradeBook(s, 5, 1); break;
      case DbKind::Rozpisy: MakeTopicPlans(s); break;
      case DbKind::Rozvrh: MakeTimetable(s); break;
      case DbKind::Kalendar:
        s.kind = DbKind::Kalendar;
        s.grid = CellGrid(2, 367, 1, 1);
        break;
    }
  }

  static void Run(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      VeklaState s;
      MakeKind(s, c.kind);
      const std::string out = CheckCell(s, cp(c.input), {c.col, c.row});
      SCOPED_TRACE(std::string("input '") + c.input + "' at (" + std::to_string(c.col) + ", " + std::to_string(c.row) +
                   ")");
      EXPECT_EQ(toUtf8(out), c.expected);
      if (c.line) {
        ASSERT_EQ(s.Memo1.size(), 1u);
        EXPECT_EQ(toUtf8(s.Memo1[0]), c.line);
      } else {
        EXPECT_TRUE(s.Memo1.empty()) << toUtf8(s.Memo1.empty() ? "" : s.Memo1[0]);
      }
    }
  }
};

}  // namespace

// Every repair of a cell as the whole-grid pass and the edit handler see it.
TEST_F(Checks, RepairsAndTheirLogLines) {
  const auto Z = DbKind::Znamky, P = DbKind::Rozpisy, T = DbKind::Rozvrh;
  Run({
      // Topic plans: flag, date, whole number, text.
      {P, 3, 8, "2", "0", "3/Hotovo2 není 0 nebo 1"},
      {P, 3, 8, "10", "0", "3/Hotovo příliš velká položka 10"},
      {P, 3, 3, "31.4.2005", "", "3/Datum 31.4.2005 není datum"},
      {P, 2, 3, "30.2.2005", "", "2/Datum 30.2.2005 není datum"},
      {P, 2, 3, "1.1.", "", "2/Datum 1.1. není datum"},
      {P, 2, 3, "1.1.20055", "", "2/Datum 1.1.20055 není datum"},
      {P, 2, 3, "1.1.0", "", "2/Datum 1.1.0 není datum"},
      {P, 2, 3, "1-1-2005", "", "2/Datum 1-1-2005 není datum"},
      {P, 4, 1, "12a", "0", "4/Pořadí změna hodnocení 12a"},
      {P, 4, 5, "1234", "0", "4/Od příliš velká položka 1234"},
      {P, 5, 2, std::string(256, 'x').c_str(), std::string(255, 'x').c_str(),
       ("5/Téma zkrácení položky " + std::string(256, 'x')).c_str()},
      // Timetable: lesson labels, times with the five-minute rule, texts.
      {T, 2, 2, "7:52", "07:50", "Od/1 změna 7:52 za 07:50"},
      {T, 2, 2, "24:10", "20:10", "Od/1 změna 24:10 za 20:10"},
      {T, 3, 4, "7:58", "07:55", "Do/3 změna 7:58 za 07:55"},
      {T, 3, 4, "37:75", "07:55", "Do/3 změna 37:75 za 07:55"},
      {T, 3, 4, "1230", "12:30", "Do/3 změna 1230 za 12:30"},
      {T, 3, 4, ":45", "00:45", "Do/3 změna :45 za 00:45"},
      {T, 3, 4, "123:4", "12:30", "Do/3 změna 123:4 za 12:30"},
      {T, 3, 4, "1a:30", "10:30", "Do/3 změna 1a:30 za 10:30"},
      {T, 3, 4, "12:30:15", "12:30", nullptr},
      {T, 1, 2, "30", "30", "Hodina /1 změna položky 30"},
      {T, 1, 2, "ab", "0", "Hodina /1 změna položky ab"},
      {T, 1, 3, "1000", "0", "Hodina /2 změna položky 1000"},
      {T, 4, 2, std::string(31, 'm').c_str(), std::string(30, 'm').c_str(),
       ("Předmět /1 zkrácení položky " + std::string(31, 'm')).c_str()},
      {T, 7, 2, std::string(21, 'n').c_str(), std::string(20, 'n').c_str(),
       ("Název/1 zkrácení položky " + std::string(21, 'n')).c_str()},
      {T, 1, 1, "Rozvrh 2025", "Rozvrh 202", "Hodina /Den zkrácení položky Rozvrh 2025"},
      {T, 2, 1, "1234567", "123456", "Od/Den zkrácení položky 1234567"},
      // Grade book: order number, times examined, times, dates, grades.
      {Z, 4, 1, "0", "1", "1. Nový/Pořadí změna položky 0"},
      {Z, 4, 1, "", "1", "1. Nový/Pořadí změna položky "},
      {Z, 4, 1, "1234", "234", "1. Nový/Pořadí změna položky 1234"},
      {Z, 5, 1, "12345678901234", "234", "2. Nový/Pořadí změna položky 12345678901234"},
      {Z, 5, 1, "4294967297", "297", "2. Nový/Pořadí změna položky 4294967297"},
      {Z, 5, 1, "1x", "10", "2. Nový/Pořadí změna položky 1x"},
      {Z, 4, 7, "-3", "3", "1. Nový/Zkoušen změna položky -3"},
      {Z, 2, 3, "", "09:05", "Čas od/1 změna položky 09:05"},
      {Z, 3, 3, "8.52", "00:52", "Čas do/1 změna 8.52 za 00:52"},
      {Z, 1, 3, "31.4", "7.3", "Datum/1 změna 31.4 za 7.3"},
      {Z, 1, 3, "30.2", "7.3", "Datum/1 změna 30.2 za 7.3"},
      {Z, 1, 3, "", "7.3", "Datum/1 změna  za 7.3"},
      {Z, 1, 3, "5", "7.3", "Datum/1 změna 5 za 7.3"},
      {Z, 1, 3, "5.XIII", "7.3", "Datum/1 změna 5.XIII za 7.3"},
      {Z, 1, 3, "123.4", "7.3", "Datum/1 změna 123.4 za 7.3"},
      {Z, 4, 3, "7x", "", "1. Nový/1 špatná známka 7x"},
      {Z, 4, 3, "1.", "1·", nullptr},
      {Z, 4, 3, "6.", "", "1. Nový/1 špatná známka 6."},
      {Z, 4, 3, "2- ", "2-", "1. Nový/1 2-  zkráceno na 2-"},
      {Z, 6, 2, std::string(61, 'j').c_str(), std::string(61, 'j').substr(0, 60).c_str(),
       ("Student: " + std::string(61, 'j') + " zkrácení položky").c_str()},
      {Z, 6, 6, std::string(251, 'p').c_str(), std::string(250, 'p').c_str(),
       ("Poznámka: " + std::string(251, 'p') + " zkrácení položky").c_str()},
  });
}

// The literal edge cases named for the checks, and texts that are already
// right: a well-formed text is never changed and never logged.
TEST_F(Checks, WellFormedTextsStayAsTheyAre) {
  const auto Z = DbKind::Znamky, P = DbKind::Rozpisy, T = DbKind::Rozvrh, K = DbKind::Kalendar;
  Run({
      {P, 1, 1, "12", "12", nullptr},
      {P, 1, 1, "", "", nullptr},
      {P, 1, 2, "Sčítání zlomků", "Sčítání zlomků", nullptr},
      {P, 1, 3, "29.2.2005", "29.2.2005", nullptr},
      {P, 1, 3, "1.1.05", "1.1.05", nullptr},
      {P, 1, 3, "30.4.2005", "30.4.2005", nullptr},
      {P, 1, 3, "", "", nullptr},
      {P, 1, 8, "1", "1", nullptr},
      {P, 1, 8, "", "", nullptr},
      {T, 2, 2, "7:50", "07:50", nullptr},
      {T, 2, 2, "07:55", "07:55", nullptr},
      {T, 3, 8, "23:59", "23:55", "Do/7 změna 23:59 za 23:55"},
      {T, 1, 2, "24", "24", nullptr},
      {T, 1, 2, "007", "7", nullptr},
      {T, 1, 2, "", "0", nullptr},
      {T, 4, 2, "Matematika", "Matematika", nullptr},
      {Z, 2, 3, "08:52", "08:52", nullptr},
      {Z, 3, 3, "23:59", "23:59", nullptr},
      {Z, 1, 3, "5.IV", "5.4", nullptr},
      {Z, 1, 3, "05.04", "05.04", nullptr},
      {Z, 1, 3, "29.ii", "29.2", nullptr},
      {Z, 1, 3, "31.12", "31.12", nullptr},
      {Z, 4, 1, "007", "7", nullptr},
      {Z, 4, 1, "999", "999", nullptr},
      {Z, 4, 7, "", "0", nullptr},
      {Z, 4, 7, "0", "0", nullptr},
      {Z, 4, 3, "1", "1 ", nullptr},
      {Z, 4, 3, "2.", "2·", nullptr},
      {Z, 4, 3, "5·", "5·", nullptr},
      {Z, 4, 3, "3*", "3*", nullptr},
      {Z, 4, 3, "", "", nullptr},
      // Cells that no rule covers.
      {Z, 9, 3, "abc", "abc", nullptr},
      {Z, 10, 1, "x", "x", nullptr},
      {T, 3, 1, "xyz", "xyz", nullptr},
      {K, 40, 1, std::string(40, 'k').c_str(), std::string(40, 'k').c_str(), nullptr},
  });
}

TEST_F(Checks, ValuesGetTwoDecimals) {
  struct V {
    const char* in;
    const char* out;
    bool logged;
  };
  const V cases[] = {
      {"1.5", "1,50", false},      {"1,5", "1,50", false},     {"1,50", "1,50", false},    {"0,75", "0,75", false},
      {"", "0,00", false},         {"3", "3,00", false},       {",5", "0,50", false},      {"5,", "5,00", false},
      {"12,345", "12,34", false},  {"12,355", "12,36", false}, {"12,3451", "12,34", true}, {"1,235", "1,24", false},
      {"1,225", "1,22", false},    {"1,2251", "1,23", false},  {"0,005", "0,00", false},   {"0,015", "0,02", false},
      {"999,99", "999,99", false}, {"999999", "999,99", true}, {"abc", "0,00", true},      {",", "0,00", true},
      {".", "0,00", true},         {"1,2,3", "1,20", true},    {"1.2.3", "1,20", true},    {"-1,5", "1,50", true},
      {"1234567", "123,45", true},
  };
  for (const V& v : cases) {
    VeklaState s;
    SCOPED_TRACE(v.in);
    EXPECT_EQ(CheckValue(s, v.in), v.out);
    if (v.logged) {
      ASSERT_EQ(s.Memo1.size(), 1u);
      EXPECT_EQ(s.Memo1[0], cp("Špatná hodnota ") + v.in);
    } else {
      EXPECT_TRUE(s.Memo1.empty());
    }
  }
}

TEST_F(Checks, LabelledTextsOfThePanels) {
  VeklaState s;
  const std::string label = cp("Položka (třída, učitel ... ):");
  EXPECT_EQ(CutLabelledText(s, "12345678", label, 8), "12345678");
  EXPECT_TRUE(s.Memo1.empty());
  EXPECT_EQ(CutLabelledText(s, "123456789", label, 8), "12345678");
  ASSERT_EQ(s.Memo1.size(), 1u);
  EXPECT_EQ(toUtf8(s.Memo1[0]), "Položka (třída, učitel ... ):: 123456789 zkrácení položky");
  EXPECT_EQ(CutLabelledText(s, "abcdefghij", cp("1. buňka:"), 8), "abcdefgh");
  EXPECT_EQ(toUtf8(s.Memo1.back()), "1. buňka:: abcdefghij zkrácení položky");
}

// A bounded number above its maximum keeps the remainder by 1000, so a
// lesson label 25 to 999 stays and is still reported.
TEST_F(Checks, BoundedNumbersDirectly) {
  VeklaState s;
  MakeTimetable(s);
  EXPECT_EQ(CheckBoundedNumber(s, "999", {2, 1}, 24, 0), "999");
  EXPECT_EQ(CheckBoundedNumber(s, "2147483647", {2, 1}, 24, 0), "647");
  EXPECT_EQ(CheckBoundedNumber(s, "99999999999999999999999999", {2, 1}, 24, 0), "999");
  EXPECT_EQ(CheckBoundedNumber(s, "000000000000000000000000024", {2, 1}, 24, 0), "24");
  EXPECT_EQ(s.Memo1.size(), 3u);
  EXPECT_EQ(CheckBoundedNumber(s, "0", {2, 1}, 24, 5), "5");
  EXPECT_EQ(s.Memo1.size(), 4u);
  // An order number of 1000 leaves a remainder of 0, below the minimum of 1.
  EXPECT_EQ(CheckBoundedNumber(s, "1000", {2, 1}, 999, 1), "1");
  EXPECT_EQ(s.Memo1.size(), 5u);
}

TEST_F(Checks, TimeWithoutTheFiveMinuteRuleKeepsMinutes) {
  VeklaState s;
  MakeGradeBook(s, 5, 1);
  EXPECT_EQ(CheckTime(s, "8:52", {3, 2}, false), "08:52");
  EXPECT_EQ(CheckTime(s, "8:52", {3, 2}, true), "08:50");
  EXPECT_EQ(CheckTime(s, "19:67", {3, 2}, false), "19:57");
  ASSERT_EQ(s.Memo1.size(), 2u);
  EXPECT_EQ(toUtf8(s.Memo1[1]), "Čas od/1 změna 19:67 za 19:57");
}

TEST_F(Checks, GradesCompareWithTheSymbolsAsStored) {
  VeklaState s;
  MakeGradeBook(s, 5, 2);
  // A symbol of one character matches the cell with its trailing space. The
  // check leaves the symbols as they are; the grade book's cell check pads
  // them first, an empty cell does not.
  s.znamky.setText(1, 0, "1");
  s.znamky.setText(16, 0, "A");
  EXPECT_EQ(CheckGrade(s, "1", {3, 4}, false), "1 ");
  EXPECT_EQ(CheckGrade(s, "A", {3, 4}, false), "A ");
  EXPECT_EQ(s.znamky.text(1, 0), "1");
  EXPECT_EQ(CheckGradeBookCell(s, "", {3, 4}), "");
  EXPECT_EQ(s.znamky.text(1, 0), "1");
  EXPECT_EQ(CheckGradeBookCell(s, "A", {3, 4}), "A ");
  EXPECT_EQ(s.znamky.text(1, 0), "1 ");
  EXPECT_EQ(s.znamky.text(16, 0), "A ");
  // The middle dot is tried only after the plain text matched nothing.
  EXPECT_EQ(CheckGrade(s, "1.", {3, 4}, false), "");
  ASSERT_EQ(s.Memo1.size(), 1u);
  EXPECT_EQ(toUtf8(s.Memo1[0]), "1. Nový/1 špatná známka 1.");
  s.znamky.setText(6, 0, "1.");
  EXPECT_EQ(CheckGrade(s, "1.", {3, 4}, false), "1.");
  EXPECT_EQ(s.Memo1.size(), 1u);
  // A long text is cut first, and the cut text may still be unlisted.
  EXPECT_EQ(CheckGrade(s, "7xy", {4, 5}, false), "");
  ASSERT_EQ(s.Memo1.size(), 3u);
  EXPECT_EQ(toUtf8(s.Memo1[1]), "2. Nový/2 7xy zkráceno na 7x");
  EXPECT_EQ(toUtf8(s.Memo1[2]), "2. Nový/2 špatná známka 7xy");
}

TEST_F(Checks, GradeTakesThePressedWeightColourOnlyWithTheFlag) {
  VeklaState s;
  MakeGradeBook(s, 5, 2);
  s.weights[2].color = rgbHex(0xAAAAAA);
  s.weightDown = 3;
  s.grid.setFontColor(3, 4, rgbHex(0xFF0000));
  CheckGrade(s, "1", {3, 4}, false);
  EXPECT_EQ(s.grid.fontColor(3, 4), rgbHex(0xFF0000));
  CheckGrade(s, "1", {3, 4}, true);
  EXPECT_EQ(s.grid.fontColor(3, 4), rgbHex(0xAAAAAA));
  // An empty cell takes it as well.
  CheckGrade(s, "", {4, 4}, true);
  EXPECT_EQ(s.grid.fontColor(4, 4), rgbHex(0xAAAAAA));
  // CheckCell never colours.
  s.weightDown = 1;
  s.weights[0].color = rgbHex(0x00CC33);
  CheckCell(s, "2 ", {3, 4});
  EXPECT_EQ(s.grid.fontColor(3, 4), rgbHex(0xAAAAAA));
}

TEST_F(Checks, StudentNameUpdatesTheRowLabel) {
  VeklaState s;
  MakeGradeBook(s, 5, 1);
  s.grid.setText(0, 6, cp("3. Novák"));
  EXPECT_EQ(CheckCell(s, cp("Nováková Jana"), {2, 6}), cp("Nováková Jana"));
  EXPECT_EQ(s.grid.text(0, 6), cp("3. Nováková "));
  CheckCell(s, "Jan", {2, 6});
  EXPECT_EQ(s.grid.text(0, 6), "3. Jan");
  s.grid.setText(0, 7, "bez cisla");
  CheckCell(s, "Eva Malá", {2, 7});
  EXPECT_EQ(s.grid.text(0, 7), " Eva ");
  // Only student rows have a name label.
  CheckCell(s, "Nikdo", {2, 3});
  EXPECT_EQ(s.grid.text(0, 3), cp("Čas do"));
  CheckCell(s, "Nikdo", {2, 9});
  EXPECT_EQ(s.grid.text(0, 9), cp("Průměr"));
  EXPECT_TRUE(s.Memo1.empty());
}

TEST_F(Checks, AllCellsRepairsStoresAndShowsProgress) {
  VeklaState s;
  test::ScriptedPrompter p;
  MakeGradeBook(s, 5, 1);  // 11 rows, 8 columns: 70 cells
  for (int n = 1; n <= 5; ++n) {
    s.grid.setText(1, n + 3, std::to_string(n));
    s.grid.setText(2, n + 3, cp("Nový záznam"));
    s.grid.setText(7, n + 3, "0");
  }
  s.grid.setText(3, 1, "5.IV");
  s.grid.setText(3, 2, "08:00");
  s.grid.setText(3, 3, "08:45");
  s.grid.setText(3, 4, "1");
  s.grid.setText(3, 5, "7x");
  s.grid.setText(1, 6, "0");
  CheckAllCells(s, p);
  EXPECT_EQ(s.grid.text(3, 1), "5.4");
  EXPECT_EQ(s.grid.text(3, 4), "1 ");
  EXPECT_EQ(s.grid.text(3, 5), "");
  // Order number 0 becomes 1, which another student has: the next free one.
  EXPECT_EQ(s.grid.text(1, 6), "3");
  EXPECT_EQ(s.grid.text(0, 4), cp("1. Nový "));
  ASSERT_EQ(s.Memo1.size(), 3u);
  EXPECT_EQ(toUtf8(s.Memo1[0]), "2. Nový /1 špatná známka 7x");
  EXPECT_EQ(toUtf8(s.Memo1[1]), "3. Nový/Pořadí změna položky 0");
  EXPECT_EQ(toUtf8(s.Memo1[2]), "Žák Nový záznam: pořadí 1 už má jiný žák, dostal pořadí 3");

  // The label shows each new percentage once, ends at 100 % and is cleared.
  ASSERT_GE(p.progressTexts.size(), 3u);
  EXPECT_EQ(p.progressTexts.front(), "1 %");
  EXPECT_EQ(p.progressTexts[p.progressTexts.size() - 2], "100 %");
  EXPECT_EQ(p.progressTexts.back(), "");
  for (std::size_t i = 1; i < p.progressTexts.size(); ++i) EXPECT_NE(p.progressTexts[i], p.progressTexts[i - 1]);
  EXPECT_EQ(s.Lpohyb, "");

  // A second pass finds nothing more to repair.
  s.Memo1.clear();
  CheckAllCells(s, p);
  EXPECT_TRUE(s.Memo1.empty());
}

// Two numbers above 999 both repair to 6: the second student, checked after
// the first one took 6, gets the next free number.
TEST_F(Checks, AllCellsGivesTwoRepairedOrderNumbersTwoNumbers) {
  VeklaState s;
  test::ScriptedPrompter p;
  MakeGradeBook(s, 2, 1);
  s.grid.setText(1, 4, "1006");
  s.grid.setText(1, 5, "2006");
  CheckAllCells(s, p);
  EXPECT_EQ(s.grid.text(1, 4), "6");
  EXPECT_EQ(s.grid.text(1, 5), "7");
}

TEST_F(Checks, ProgressRoundsHalvesToEven) {
  VeklaState s;
  test::ScriptedPrompter p;
  s.kind = DbKind::Kalendar;
  s.grid = CellGrid(9, 2, 1, 1);  // 8 cells: 12.5 %, 25 %, 37.5 %, ...
  CheckAllCells(s, p);
  EXPECT_EQ(p.progressTexts,
            (std::vector<std::string>{"12 %", "25 %", "38 %", "50 %", "62 %", "75 %", "88 %", "100 %", ""}));
}

TEST_F(Checks, AllCellsLeavesTheCalendarAndTinyGridsAlone) {
  VeklaState s;
  test::ScriptedPrompter p;
  s.kind = DbKind::Kalendar;
  s.grid = CellGrid(2, 367, 1, 1);
  s.grid.setText(1, 10, std::string(40, 'x'));
  s.grid.setText(1, 20, "");
  CheckAllCells(s, p);
  EXPECT_EQ(s.grid.text(1, 10), std::string(40, 'x'));
  EXPECT_TRUE(s.Memo1.empty());

  // Fewer than two rows: only the label is cleared.
  MakeTopicPlans(s);
  s.grid.setRowCount(1);
  s.grid.setText(8, 1, "7");
  s.Lpohyb = "50 %";
  p.progressTexts.clear();
  CheckAllCells(s, p);
  EXPECT_EQ(p.progressTexts, std::vector<std::string>{""});
  EXPECT_EQ(s.grid.text(8, 1), "7");
  EXPECT_EQ(s.Lpohyb, "");
}
