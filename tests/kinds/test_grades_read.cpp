// Reading grade books and the preferences database, on files built byte by
// byte: the grid, the semester store, the semester box, the panels and the
// error log; damaged files change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kinds/gradesfixtures.h"
#include "pdb/error.h"

using namespace vekla;
using namespace vekla::test;

namespace {

std::vector<Semester> TwoSemesters() {
  return {
      {"20041", B({5, 9, 12, 10}), cp("První pololetí"), B({8, 60, 24, 30}), B({8, 45, 24, 60})},
      {"20042", B({7, 3, 14, 3, 21, 3}), cp("Třída šla na výlet"), B({8, 5, 9, 50, 24, 60}),
       B({8, 50, 10, 35, 24, 45})},
  };
}

std::vector<Student> ThreeStudents() {
  return {
      {"1", cp("Novák Jan"), "2", {{B({1, 1, 2, 6}), cp("Pozor")}, {B({1, 1, 32, 32, 3, 17}), cp("Omluven")}}},
      {"2", cp("Dvořáková Eva"), "0", {{B({4, 12}), ""}, {B({2, 2}), ""}}},
      // Fewer pairs than there are semesters.
      {"3", "Xaver", "1", {{B({1, 5}), ""}}},
  };
}

std::string PrefsDb(const std::vector<std::vector<std::string>>& records) {
  std::vector<std::string> bodies;
  for (const auto& r : records) bodies.push_back(Fields(r));
  return pdbBytes("Znamky-db_pref", "data", "TqbZ", kMarch7Noon, kMarch7Noon, bodies);
}

const std::vector<std::vector<std::string>> kFullPrefs = {
    {"x"},
    {"y"},
    {"1", "1.0", "1-", "1.5", "A", "0.5"},
    {"cc0000", "2.5", "0000ff", "1", "aaaaaa", "0.5", "00cc33", "3"},
    {"0000ff", "1.2", "99ccff", "1.6", "eeeeee", "2.1", "ff9999", "3.1", "ff0000", "4.5"},
};

class GradesReadTest : public GradesTest {};

// A note written on the handheld over several lines keeps its words apart:
// each line break becomes one space in the store.
TEST_F(GradesReadTest, ANoteOverSeveralLinesKeepsItsWordsApart) {
  std::vector<Semester> semesters = TwoSemesters();
  semesters[0].note = cp("Třída jede\nna výlet");
  semesters[1].note = cp("Výlet\r\ndo Prahy");
  const QString file = path("Znamky-7a.PDB");
  WriteBytes(file, GradesDb("Znamky-7a", "3366cc", semesters, ThreeStudents()));
  ReadGrades(s, p, file, true);
  EXPECT_EQ(s.gradesIni.get("Datumy", "Poznamka1"), cp("Třída jede na výlet"));
  EXPECT_EQ(s.memoPoznamka, std::vector<std::string>{cp("Výlet do Prahy")});
}

TEST_F(GradesReadTest, ClassFillsGridStoreSemesterBoxAndPanels) {
  const QString file = path("class/Znamky-7a.PDB");
  WriteBytes(file,
             GradesDb("Znamky-7a", "3366cc", TwoSemesters(), ThreeStudents(), kMarch7Noon, kMarch7Noon + 86400 + 61));
  ReadGrades(s, p, file, true);

  const CellGrid& g = s.grid;
  ASSERT_EQ(g.rowCount(), 9);
  ASSERT_EQ(g.colCount(), 10);  // the last semester has three grade columns
  const std::vector<std::string> header{"",           cp("Pořadí"),    cp("Jméno"),    "1",          "2", "3",
                                        cp("Průměr"), cp("Sm. odch."), cp("Poznámka"), cp("Zkoušen")};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(g.text(c, 0), header[static_cast<std::size_t>(c)]) << c;
  const std::vector<std::string> labels{"",           "Datum",         cp("Čas od"),
                                        cp("Čas do"), cp("1. Novák "), cp("2. Dvořáková "),
                                        "3. Xaver",   cp("Průměr"),    cp("Sm. odch.")};
  for (int r = 0; r < 9; ++r) EXPECT_EQ(g.text(0, r), labels[static_cast<std::size_t>(r)]) << r;

  // The last semester is shown: dates, times (hour 24 and minute 60 as 00), grades.
  const std::vector<std::vector<std::string>> special{
      {"7.3", "14.3", "21.3"}, {"08:05", "09:50", "00:00"}, {"08:50", "10:35", "00:45"}};
  for (int r = 1; r <= 3; ++r)
    for (int c = 3; c <= 5; ++c)
      EXPECT_EQ(g.text(c, r), special[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 3)]);
  EXPECT_EQ(g.text(1, 4), "1");
  EXPECT_EQ(g.text(2, 4), cp("Novák Jan"));
  EXPECT_EQ(g.text(3, 4), "1 ");
  EXPECT_EQ(g.fontColor(3, 4), s.weights[0].color);
  EXPECT_EQ(g.text(4, 4), "");
  EXPECT_EQ(g.text(5, 4), cp("2·"));
  EXPECT_EQ(g.fontColor(5, 4), s.weights[2].color);
  EXPECT_EQ(g.text(8, 4), cp("Omluven"));
  EXPECT_EQ(g.text(9, 4), "2");
  EXPECT_EQ(g.text(6, 4), "1,625");  // statistics were computed
  EXPECT_EQ(g.text(3, 5), "2 ");
  EXPECT_EQ(g.fontColor(3, 5), s.weights[1].color);
  EXPECT_EQ(g.text(9, 5), "0");
  EXPECT_EQ(g.text(1, 6), "3");
  EXPECT_EQ(g.text(3, 6), "");
  EXPECT_EQ(g.text(8, 6), "");
  EXPECT_EQ(g.text(9, 6), "1");

  EXPECT_EQ(s.semesterItems, (std::vector<std::string>{"1. pol. 2004/2005", "2. pol. 2004/2005"}));
  EXPECT_EQ(s.semesterItemIndex, 1);
  EXPECT_EQ(s.currentSemester, 2);
  EXPECT_EQ(s.semesterText, "2. pol. 2004/2005");
  EXPECT_EQ(s.memoPoznamka, std::vector<std::string>{cp("Třída šla na výlet")});
  EXPECT_EQ(s.studentCount, 3);

  EXPECT_EQ(s.shape1, rgbHex(0x3366CC));
  EXPECT_EQ(s.shape2, kWhite);
  EXPECT_EQ(g.brush(1, 1), rgbHex(0x3366CC));
  EXPECT_EQ(g.fontColor(2, 4), kBlack);        // even student rows are plain
  EXPECT_EQ(g.brush(2, 5), rgbHex(0x3366CC));  // odd ones take the class colours
  EXPECT_EQ(g.fontColor(2, 5), kWhite);

  EXPECT_EQ(s.EditN, "Znamky-7a");
  EXPECT_EQ(s.EditDV, "07.03.2005");
  EXPECT_EQ(s.EditCV, "12:00:00");
  EXPECT_EQ(s.EditDZ, "08.03.2005");
  EXPECT_EQ(s.EditCZ, "12:01:01");
  EXPECT_EQ(s.EditTD, "data");
  EXPECT_EQ(s.EditC, "TqbZ");
  EXPECT_EQ(s.adresar1, dir.path() + "/class/");
  EXPECT_TRUE(s.Memo1.empty());

  // Every semester is in the store, byte lists as text (byte b is character b + 48).
  const IniFile& ini = s.gradesIni;
  EXPECT_TRUE(s.gradesIniDirty);
  EXPECT_EQ(ini.get("Datumy", "Dny1"), "59<:");
  EXPECT_EQ(ini.get("Datumy", "Poznamka1"), cp("První pololetí"));
  EXPECT_EQ(ini.get("Datumy", "Dny2"), "73>3E3");
  EXPECT_EQ(ini.get("Casy1", "Casy1"), "8lHN");
  EXPECT_EQ(ini.get("Casy1", "Pololeti1"), "20041");
  EXPECT_EQ(ini.get("Casy1", "Pololeti2"), "20042");
  EXPECT_EQ(ini.get("Casy2", "Casy2"), "8b:SH]");
  EXPECT_EQ(ini.get("Z1", "Jmeno"), cp("Novák Jan"));
  EXPECT_EQ(ini.get("Z1", "Z1"), "1126");
  EXPECT_EQ(ini.get("Z1", "P1"), cp("Pozor"));
  EXPECT_EQ(ini.get("Z1", "Z2"), "11PP3A");
  EXPECT_EQ(ini.get("Z1", "P2"), cp("Omluven"));
  EXPECT_EQ(ini.get("Z3", "Z1"), "15");
  EXPECT_FALSE(ini.has("Z3", "Z2"));
  EXPECT_FALSE(ini.has("Z3", "P2"));
  EXPECT_EQ(ini.get("db", "Pocet"), "9");
  // Showing the last semester stored nothing over what was read.
  EXPECT_FALSE(ini.has("Z1", "Poradi"));

  // Opened through the second dialog, the first folder stays.
  VeklaState other = s;
  other.adresar1 = "/elsewhere/";
  ReadGrades(other, p, file, false);
  EXPECT_EQ(other.adresar1, "/elsewhere/");
}

TEST_F(GradesReadTest, ChecksRepairStudentFieldsAndLogThem) {
  const std::string name = cp("Nováková ") + std::string(56, 'a');  // 65 characters
  const std::string note(260, 'b');
  const QString file = path("Znamky-7a.PDB");
  WriteBytes(file,
             GradesDb("Znamky-7a", "ffcc99", {{"20042", B({7, 3}), "", B({8, 60}), B({8, 45})}},
                      {{"0", name, "abc", {{B({1, 1}), note}}}, {"1234", "Eva", "007", {}}, {"1", "Petr", "0", {}}}));
  ReadGrades(s, p, file, true);

  const CellGrid& g = s.grid;
  const int C = g.colCount();
  ASSERT_EQ(C, 8);
  const std::string label = cp("1. Nováková ");
  EXPECT_EQ(g.text(0, 4), label);
  EXPECT_EQ(g.text(1, 4), "1");
  EXPECT_EQ(g.text(2, 4), name.substr(0, 60));
  EXPECT_EQ(g.text(C - 1, 4), "0");
  EXPECT_EQ(g.text(C - 2, 4), note.substr(0, 250));
  EXPECT_EQ(g.text(1, 5), "234");
  EXPECT_EQ(g.text(C - 1, 5), "7");  // leading zeros go without a line
  EXPECT_EQ(g.text(1, 6), "2");      // 1 is the first student's
  EXPECT_EQ(s.gradesIni.get("Z1", "Jmeno"), name.substr(0, 60));
  EXPECT_EQ(s.gradesIni.get("Z1", "P1"), note.substr(0, 250));
  EXPECT_EQ(s.Memo1, (std::vector<std::string>{
                         label + "/" + cp("Pořadí") + cp(" změna položky ") + "0",
                         label + "/" + cp("Jméno") + cp(" zkrácení položky ") + name,
                         label + "/" + cp("Zkoušen") + cp(" změna položky ") + "abc",
                         label + "/" + cp("Poznámka") + cp(" zkrácení položky ") + note,
                         "2. Eva/" + cp("Pořadí") + cp(" změna položky ") + "1234",
                         cp("Žák Petr: pořadí 1 už má jiný žák, dostal pořadí 2"),
                     }));
  EXPECT_EQ(s.shape1, rgbHex(0xFFCC99));
  EXPECT_EQ(s.shape2, kBlack);
}

TEST_F(GradesReadTest, UnusualButReadableFiles) {
  // A label of only the year reads as far as it goes.
  {
    VeklaState t = s;
    const QString file = path("Znamky-rok.PDB");
    WriteBytes(file, GradesDb("Znamky-rok", "3366cc", {{"2004", B({1, 9}), "", B({8, 60}), B({8, 45})}}, {}));
    ReadGrades(t, p, file, true);
    EXPECT_EQ(t.semesterItems, std::vector<std::string>{". pol. 2004/2005"});
  }
  // A hundred semesters, the most a grade book may have: every one is read,
  // the last one's grades shown.
  {
    VeklaState t = s;
    const QString file = path("Znamky-sto.PDB");
    std::vector<Semester> sems(100, TwoSemesters()[0]);
    sems.back().label = "20992";
    WriteBytes(file, GradesDb("Znamky-sto", "3366cc", sems,
                              {{"1", "Ema", "0", std::vector<StudentPair>(100, {B({1, 1}), "x"})}}));
    ReadGrades(t, p, file, true);
    ASSERT_EQ(t.semesterItems.size(), 100u);
    EXPECT_EQ(t.semesterItems.back(), "2. pol. 2099/2100");
    EXPECT_EQ(t.gradesIni.get("Z1", "P100"), "x");
  }
  // Only the three special records: six rows, no students.
  {
    VeklaState t = s;
    const QString file = path("Znamky-prazdna.PDB");
    WriteBytes(file, GradesDb("Znamky-prazdna", "3366cc", {{"20051", B({1, 9}), "", B({8, 60}), B({8, 45})}}, {}));
    ReadGrades(t, p, file, true);
    EXPECT_EQ(t.grid.rowCount(), 6);
    EXPECT_EQ(t.studentCount, 0);
    EXPECT_EQ(t.gradesIni.get("db", "Pocet"), "6");
    EXPECT_EQ(t.semesterItems, std::vector<std::string>{"1. pol. 2005/2006"});
    EXPECT_EQ(t.grid.text(0, 4), cp("Průměr"));
  }
  // A student with only three fields. A grade pair holding a byte the store
  // cannot keep (0xDA and 0xDD would become CR and LF) is an empty slot with
  // a log line; the grades after it keep their columns.
  {
    VeklaState t = s;
    const QString file = path("Znamky-kratka.PDB");
    std::vector<std::string> bodies =
        GradeBodies("3366cc", TwoSemesters(), {{"1", "Ema", "3", {{B({1, 1, 0xDA, 0xDD, 2, 3, 209, 207}), "x"}}}});
    bodies.push_back(Fields({"2", cp("Ota Šťastný"), "4"}));
    WriteBytes(file, pdbBytes("Znamky-kratka", "data", "TqbZ", kMarch7Noon, kMarch7Noon, bodies));
    ReadGrades(t, p, file, true);
    const int C = t.grid.colCount();
    EXPECT_EQ(t.gradesIni.get("Z1", "Z1"), "11PP23PP");
    EXPECT_EQ(t.grid.text(0, 5), "2. Ota ");
    EXPECT_EQ(t.grid.text(1, 5), "2");
    EXPECT_EQ(t.grid.text(2, 5), cp("Ota Šťastný"));
    EXPECT_EQ(t.grid.text(C - 1, 5), "4");
    EXPECT_EQ(t.grid.text(C - 2, 5), "");
    EXPECT_EQ(t.gradesIni.get("Z2", "Jmeno"), cp("Ota Šťastný"));
    for (const char* key : {"Z1", "P1", "Z2", "P2"}) EXPECT_FALSE(t.gradesIni.has("Z2", key)) << key;
    EXPECT_EQ(t.Memo1, (std::vector<std::string>{cp("1. Ema: pololetí 1, známka 2 je poškozená, vynechána"),
                                                 cp("1. Ema: pololetí 1, známka 4 je poškozená, vynechána")}));
  }
  // Empty and one-byte bodies hold no student: the others follow without a
  // gap and are numbered by their rows. A class colour that is not six
  // characters keeps the highlight, with its contrast as text colour.
  {
    VeklaState t = s;
    t.shape1 = rgbHex(0x000080);
    t.shape2 = kBlack;
    const QString file = path("Znamky-mezery.PDB");
    std::vector<std::string> bodies = GradeBodies(
        "abc", TwoSemesters(), {{"1", "Ada", "0", {}}, {"5", "Bob", "0", {{B({1, 1}), ""}, {B({1, 2}), ""}}}});
    bodies.insert(bodies.begin() + 4, "");
    bodies.insert(bodies.begin() + 5, B({0}));
    WriteBytes(file, pdbBytes("Znamky-mezery", "data", "TqbZ", kMarch7Noon, kMarch7Noon, bodies));
    ReadGrades(t, p, file, true);
    EXPECT_EQ(t.grid.rowCount(), 8);
    EXPECT_EQ(t.studentCount, 2);
    EXPECT_EQ(t.gradesIni.get("db", "Pocet"), "8");
    EXPECT_EQ(t.grid.text(0, 4), "1. Ada");
    EXPECT_EQ(t.grid.text(0, 5), "2. Bob");
    EXPECT_EQ(t.grid.text(1, 5), "5");
    EXPECT_EQ(t.grid.text(3, 5), "2 ");  // Bob's grade of the shown semester
    EXPECT_EQ(t.gradesIni.get("Z2", "Jmeno"), "Bob");
    EXPECT_EQ(t.grid.text(0, 6), cp("Průměr"));
    EXPECT_EQ(t.shape1, rgbHex(0x000080));
    EXPECT_EQ(t.shape2, kWhite);
  }
  // No semester at all: the box shows the current one, as a new class does.
  {
    VeklaState t = s;
    const QString file = path("Znamky-bez.PDB");
    WriteBytes(file, GradesDb("Znamky-bez", "3366cc", {}, {{"1", "Ada", "0", {}}}));
    ReadGrades(t, p, file, true);
    EXPECT_EQ(t.semesterItems, std::vector<std::string>{"2. pol. 2004/2005"});
    EXPECT_EQ(t.semesterItemIndex, 0);
    EXPECT_EQ(t.grid.rowCount(), 7);
  }
}

// Fewer records than the three special ones: still the six rows of a class
// without students, never a negative student count.
TEST_F(GradesReadTest, FewerThanThreeRecordsGiveAnEmptyClass) {
  const std::vector<std::string> special = GradeBodies("3366cc", TwoSemesters(), {});
  for (int records = 0; records <= 2; ++records) {
    VeklaState t = s;
    ScriptedPrompter q;
    const QString file = path("Znamky-malo.PDB");
    WriteBytes(file, pdbBytes("Znamky-malo", "data", "TqbZ", kMarch7Noon, kMarch7Noon,
                              std::vector<std::string>(special.begin(), special.begin() + records)));
    ReadGrades(t, q, file, true);
    EXPECT_EQ(t.grid.rowCount(), 6) << records;
    EXPECT_EQ(t.studentCount, 0) << records;
    EXPECT_EQ(t.gradesIni.get("db", "Pocet"), "6") << records;
    EXPECT_EQ(t.grid.text(0, 4), cp("Průměr")) << records;
    // Record 2 holds the semesters; without it the current one is shown.
    const std::vector<std::string> items = records == 2
                                               ? std::vector<std::string>{"1. pol. 2004/2005", "2. pol. 2004/2005"}
                                               : std::vector<std::string>{"2. pol. 2004/2005"};
    EXPECT_EQ(t.semesterItems, items) << records;
  }
}

// A semester of more dates than any save keeps (127 grade columns) shows
// 127 columns and says so; the other lists stay as the file has them.
TEST_F(GradesReadTest, SemesterWithMoreThan127ColumnsIsCutWithTheWarning) {
  std::string days, times, grades;
  for (int i = 0; i < 4000; ++i) {
    days += B({1 + i % 28, 1 + i % 12});
    times += B({8, 1 + i % 59});
    grades += B({1, 1 + i % 20});
  }
  const QString file = path("Znamky-siroka.PDB");
  WriteBytes(file, GradesDb("Znamky-siroka", "3366cc", {{"20041", days, "", times, times}},
                            {{"1", "Ada", "0", {{grades, ""}}}}));
  ReadGrades(s, p, file, true);

  // No preferences in this folder, then the one warning of the semester.
  ASSERT_EQ(p.messages.size(), 2u);
  EXPECT_EQ(p.messages[1], cp("Počet známek může být maximálně 127!"));
  EXPECT_EQ(s.grid.colCount(), 127 + 7);
  EXPECT_EQ(s.gradesIni.get("Datumy", "Dny1").size(), 254u);
  EXPECT_EQ(s.gradesIni.get("Z1", "Z1").size(), grades.size());
  EXPECT_EQ(s.grid.text(129, 1), "15.7");  // column 127: day 1 + 126 % 28, month 1 + 126 % 12
  EXPECT_EQ(s.grid.text(129, 0), "127");
  EXPECT_EQ(s.grid.text(130, 0), cp("Průměr"));
}

TEST_F(GradesReadTest, PreferencesDatabaseChosenAsAClassChangesNothing) {
  const std::string before = Snapshot(s);
  ReadGrades(s, p, path("ZNAMKY-db_pref.pdb"), true);
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Zvolte jiný soubor.")});
  EXPECT_EQ(Snapshot(s), before);
}

TEST_F(GradesReadTest, DamagedFileLeavesClassSemestersAndStoreAsTheyWere) {
  const QString good = path("Znamky-7a.PDB");
  const std::string bytes = GradesDb("Znamky-7a", "3366cc", TwoSemesters(), ThreeStudents());
  WriteBytes(good, bytes);
  ReadGrades(s, p, good, true);
  s.Memo1.push_back(cp("dřívější řádek"));
  const std::string before = Snapshot(s);

  auto withLabel = [](const std::string& label) {
    std::vector<Semester> sems = TwoSemesters();
    sems[1].label = label;
    return GradesDb("Znamky-7b", "3366cc", sems, ThreeStudents());
  };
  auto withDays = [](const std::string& days) {
    std::vector<Semester> sems = TwoSemesters();
    sems[0].days = days;
    return GradesDb("Znamky-7b", "3366cc", sems, ThreeStudents());
  };
  std::string farOffset = bytes;
  farOffset.replace(78 + 8 + 1, 1, 1, '\x7F');  // record 2 starts far beyond the end
  std::string longList = bytes;
  longList[76] = '\x01';  // 256 + records, more than the file holds
  const std::vector<std::pair<const char*, std::string>> cases{
      {"Znamky-kratky.PDB", bytes.substr(0, 50)},
      {"Znamky-rok.PDB", withLabel("abcd1")},
      {"Znamky-pulrok.PDB", withLabel("")},
      {"Znamky-odkaz.PDB", farOffset},
      {"Znamky-seznam.PDB", longList},
      {"Znamky-barva.PDB", GradesDb("Znamky-7b", "zz00zz", TwoSemesters(), ThreeStudents())},
      {"Znamky-datum.PDB", withDays(B({1, 9, 0xDD, 10}))},
      {"Znamky-pololeti.PDB", GradesDb("Znamky-7b", "3366cc", std::vector<Semester>(101, TwoSemesters()[0]), {})},
      {"Znamky-zaci.PDB",
       GradesDb("Znamky-7b", "3366cc", TwoSemesters(), std::vector<Student>(1000, {"1", "A", "0", {}}))},
      // The last student lists more semesters than a grade book may have.
      {"Znamky-posledni.PDB",
       GradesDb("Znamky-7b", "3366cc", TwoSemesters(),
                {ThreeStudents()[0], {"2", "B", "0", std::vector<StudentPair>(101, {B({1, 1}), ""})}})},
      // A million empty fields are a million counted, not the 100 semesters
      // read of them.
      {"Znamky-pole.PDB", [] {
         std::vector<std::string> bodies = GradeBodies("3366cc", TwoSemesters(), ThreeStudents());
         bodies[4] += std::string(1000000, '\0');
         return pdbBytes("Znamky-7b", "data", "TqbZ", 0, 0, bodies);
       }()},
  };
  for (const auto& [name, content] : cases) {
    const QString file = path(name);
    WriteBytes(file, content);
    try {
      ReadGrades(s, p, file, true);
      ADD_FAILURE() << name << " was read";
    } catch (const VeklaError& e) {
      EXPECT_NE(e.text().find(name), std::string::npos) << toUtf8(e.text());
    }
    EXPECT_EQ(Snapshot(s), before) << name;
  }
}

TEST_F(GradesReadTest, PreferencesFillScaleWeightsAndBands) {
  WriteBytes(backupFolder() + "Znamky-db_pref.PDB", PrefsDb(kFullPrefs));
  const QString file = path("Znamky-7a.PDB");
  WriteBytes(file,
             GradesDb("Znamky-7a", "3366cc", {{"20042", B({7, 3, 8, 3}), "", B({8, 60, 9, 60}), B({8, 45, 9, 45})}},
                      {{"1", "Ada", "0", {{B({1, 3, 1, 4}), ""}}}}));
  ReadGrades(s, p, file, true);
  EXPECT_TRUE(p.messages.empty());

  const CellGrid& z = s.znamky;
  EXPECT_EQ(z.text(1, 0), "1");
  EXPECT_EQ(z.text(1, 1), "1,0");
  EXPECT_EQ(z.text(2, 0), "1-");
  EXPECT_EQ(z.text(2, 1), "1,5");
  EXPECT_EQ(z.text(3, 0), "A");
  EXPECT_EQ(z.text(3, 1), "0,5");
  EXPECT_EQ(z.text(4, 0), "4 ");  // items the file does not have stay
  EXPECT_EQ(z.text(4, 1), "4,00");
  EXPECT_EQ(z.fontColor(1, 0), rgbHex(0xCC0000));  // the weight that is down

  const std::vector<std::pair<std::string, Color>> weights{
      {"2,5", rgbHex(0xCC0000)}, {"1", rgbHex(0x0000FF)}, {"0,5", rgbHex(0xAAAAAA)}, {"3", rgbHex(0x00CC33)}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(s.weights[i].text, weights[i].first) << i;
    EXPECT_EQ(s.weights[i].color, weights[i].second) << i;
  }
  const std::vector<std::tuple<std::string, Color, Color>> bands{{"1,2", rgbHex(0x0000FF), kWhite},
                                                                 {"1,6", rgbHex(0x99CCFF), kBlack},
                                                                 {"2,1", rgbHex(0xEEEEEE), kBlack},
                                                                 {"3,1", rgbHex(0xFF9999), kBlack},
                                                                 {"4,5", rgbHex(0xFF0000), kWhite}};
  for (int c = 0; c < 5; ++c) {
    const auto& [text, background, font] = bands[static_cast<std::size_t>(c)];
    EXPECT_EQ(s.znamky2.text(c, 0), text) << c;
    EXPECT_EQ(s.znamky2.brush(c, 0), background) << c;
    EXPECT_EQ(s.znamky2.fontColor(c, 0), font) << c;
  }
  // The class is shown with the new scale and weight colours.
  EXPECT_EQ(s.grid.text(3, 4), "A");
  EXPECT_EQ(s.grid.fontColor(3, 4), rgbHex(0xCC0000));
  EXPECT_EQ(s.grid.text(4, 4), "4 ");
}

TEST_F(GradesReadTest, PreferencesAreLookedForInTheBackupFolderThenTheFirstFolder) {
  const QString file = path("class/Znamky-7a.PDB");
  WriteBytes(file, GradesDb("Znamky-7a", "3366cc", TwoSemesters(), ThreeStudents()));
  s.adresar1 = dir.path() + "/first/";

  // None: the warning names the three folders looked in, and reading goes on.
  {
    VeklaState t = s;
    ScriptedPrompter q;
    ReadGrades(t, q, file, true);
    auto native = [](const QString& f) { return fromQt(QDir::toNativeSeparators(f)); };
    EXPECT_EQ(q.messages, std::vector<std::string>{cp("Databáze \"Znamky-db_pref.PDB\"\rnebyla nalezena na adrese \r") +
                                                   native(dir.path() + "/palm/Novotn/Backup") + "\r ani na adrese\r" +
                                                   native(dir.path() + "/first") + "\r ani na adrese\r" +
                                                   native(dir.path() + "/class") + "."});
    EXPECT_EQ(t.EditN, "Znamky-7a");
    EXPECT_EQ(t.znamky.text(3, 0), "3 ");
  }
  // Beside the chosen grade book, on the first import of all.
  WriteBytes(dir.path() + "/class/Znamky-db_pref.PDB", PrefsDb(kFullPrefs));
  {
    VeklaState t = s;
    t.adresar1.clear();
    ScriptedPrompter q;
    ReadGrades(t, q, file, true);
    EXPECT_TRUE(q.messages.empty());
    EXPECT_EQ(t.znamky.text(3, 0), "A");
  }
  QFile::remove(dir.path() + "/class/Znamky-db_pref.PDB");
  // In the first folder (the one before this open moves it).
  WriteBytes(dir.path() + "/first/Znamky-db_pref.PDB", PrefsDb(kFullPrefs));
  {
    VeklaState t = s;
    ScriptedPrompter q;
    ReadGrades(t, q, file, true);
    EXPECT_TRUE(q.messages.empty());
    EXPECT_EQ(t.znamky.text(3, 0), "A");
    EXPECT_EQ(t.adresar1, dir.path() + "/class/");
  }
  // The backup folder comes first.
  std::vector<std::vector<std::string>> other = kFullPrefs;
  other[2] = {"1", "1.0", "1-", "1.5", "B", "0.5"};
  WriteBytes(backupFolder() + "Znamky-db_pref.PDB", PrefsDb(other));
  {
    VeklaState t = s;
    ScriptedPrompter q;
    ReadGrades(t, q, file, true);
    EXPECT_EQ(t.znamky.text(3, 0), "B");
  }
}

TEST_F(GradesReadTest, OldShortOrDamagedPreferences) {
  const std::string before = Snapshot(s);
  const QString prefs = path("Znamky-db_pref.PDB");

  WriteBytes(prefs, PrefsDb({{"x"}, {"y"}}));
  ReadGradePreferences(s, p, prefs);
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Databáze \"Znamky-db_pref.PDB\"\rje stará nebo poškozená")});
  EXPECT_EQ(Snapshot(s), before);

  // Three records: the grade scale only; weights and bands stay.
  WriteBytes(prefs, PrefsDb({kFullPrefs[0], kFullPrefs[1], kFullPrefs[2]}));
  VeklaState t = s;
  ReadGradePreferences(t, p, prefs);
  EXPECT_EQ(t.znamky.text(3, 0), "A");
  EXPECT_EQ(t.weights[0].text, "1,00");
  EXPECT_EQ(t.weights[0].color, rgbHex(0xFF0000));
  EXPECT_EQ(t.znamky2.text(0, 0), "1,3");
  // Four records: scale and weights; bands stay.
  WriteBytes(prefs, PrefsDb({kFullPrefs[0], kFullPrefs[1], kFullPrefs[2], kFullPrefs[3]}));
  t = s;
  ReadGradePreferences(t, p, prefs);
  EXPECT_EQ(t.weights[0].text, "2,5");
  EXPECT_EQ(t.znamky2.text(0, 0), "1,3");

  // A short colour is white, a weight the handheld switched off; the rest
  // of the preferences is read.
  std::vector<std::vector<std::string>> shortColour = kFullPrefs;
  shortColour[3][2] = "";
  shortColour[4][0] = "ff";
  WriteBytes(prefs, PrefsDb(shortColour));
  t = s;
  ReadGradePreferences(t, p, prefs);
  EXPECT_EQ(t.weights[1].color, kWhite);
  EXPECT_EQ(t.weights[1].text, "1");
  EXPECT_EQ(t.znamky2.brush(0, 0), kWhite);
  EXPECT_EQ(t.znamky2.fontColor(0, 0), kBlack);
  EXPECT_EQ(t.znamky.text(3, 0), "A");

  // A weight colour that is not a colour: nothing changes; opening a class
  // says so and reads the class with the scale it had.
  std::vector<std::vector<std::string>> bad = kFullPrefs;
  bad[3][2] = "00x0ff";
  WriteBytes(prefs, PrefsDb(bad));
  EXPECT_THROW(ReadGradePreferences(s, p, prefs), VeklaError);
  EXPECT_EQ(Snapshot(s), before);

  WriteBytes(backupFolder() + "Znamky-db_pref.PDB", PrefsDb(bad));
  const QString file = path("Znamky-7a.PDB");
  WriteBytes(file, GradesDb("Znamky-7a", "3366cc", TwoSemesters(), ThreeStudents()));
  ScriptedPrompter q;
  ReadGrades(s, q, file, true);
  ASSERT_EQ(q.messages.size(), 1u);
  EXPECT_NE(q.messages[0].find("Znamky-db_pref.PDB"), std::string::npos);
  EXPECT_EQ(s.EditN, "Znamky-7a");
  EXPECT_EQ(s.znamky.text(3, 0), "3 ");
}

}  // namespace
