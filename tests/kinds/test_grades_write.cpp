// Writing grade books: every file checked byte for byte against records
// worked out by hand, and a class read back and saved again unchanged.
#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "commands/gradepanel.h"
#include "kinds/gradesfixtures.h"
#include "pdb/error.h"
#include "workspace/gradestats.h"
#include "workspace/semesters.h"

using namespace vekla;
using namespace vekla::test;

namespace {

std::string Times(const std::string& pair, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += pair;
  return out;
}

std::vector<std::string> NewStudents(int from, int to, int pairs) {
  std::vector<std::string> bodies;
  for (int n = from; n <= to; ++n) {
    std::vector<std::string> f{std::to_string(n), cp("Nový záznam"), "0"};
    for (int i = 0; i < 2 * pairs; ++i) f.push_back("");
    bodies.push_back(Fields(f));
  }
  return bodies;
}

class GradesWriteTest : public GradesTest {
 protected:
  void ThreeSemesters() {
    s.semesterItems = {"1. pol. 2004/2005", "2. pol. 2004/2005", "1. pol. 2005/2006"};
    s.semesterItemIndex = 2;
    s.currentSemester = 3;
  }
};

// A new class as the setup makes it: five students, one grade column dated
// today (07.03.2005, 12:00), one semester.
TEST_F(GradesWriteTest, NewClassIsWrittenByteForByteWithoutQuestions) {
  const QString file = path("Znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);

  EXPECT_TRUE(p.questions.empty());
  ASSERT_EQ(p.saveRequests.size(), 1u);
  EXPECT_EQ(p.saveRequests[0].fileName, "Znamky-.PDB");
  // Noon is stored with the minute 00 as 60, never as a zero byte.
  const std::vector<std::string> special{
      Fields({"-2", "3", "ffffff", B({7, 3}), ""}),
      Fields({"-1", "3", "1", B({12, 60}), "20042"}),
      Fields({"0", "20042", "", B({12, 60}), "0"}),
  };
  EXPECT_EQ(ReadBytes(file), pdbBytes("Znamky-7a", "data", "TqbZ", kMarch7Noon, kMarch7Noon,
                                      Join(special, NewStudents(1, 5, 1))));
  EXPECT_EQ(s.EditN, "Znamky-7a");
  EXPECT_TRUE(p.messages.empty());
  EXPECT_TRUE(s.Memo1.empty());
  // The share of students written, then the label cleared.
  ASSERT_GE(p.progressTexts.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(p.progressTexts.end() - 6, p.progressTexts.end()),
            (std::vector<std::string>{"20 %", "40 %", "60 %", "80 %", "100 %", ""}));
  EXPECT_EQ(s.Lpohyb, "");

  // No students: the three special records, the first body right after the list.
  s.grid.setRowCount(6);
  LayoutGrades(s);
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(Be32At(bytes, 78), 110u);
  EXPECT_EQ(bytes, pdbBytes("Znamky-7a", "data", "TqbZ", kMarch7Noon, kMarch7Noon, special));
}

TEST_F(GradesWriteTest, DecliningTheSecondOfThreeSemestersWritesTheOthersAsPairsOneAndTwo) {
  ThreeSemesters();
  IniFile& ini = GradesIni(s);
  ini.set("Casy1", "Pololeti1", "20041");
  ini.set("Casy1", "Pololeti2", "20042");
  ini.set("Datumy", "Dny1", "59");
  ini.set("Datumy", "Poznamka1", cp("první"));
  ini.set("Datumy", "Dny2", "73");
  ini.set("Datumy", "Poznamka2", cp("druhé"));
  ini.set("Casy1", "Casy1", "8l");
  ini.set("Casy1", "Casy2", "9l");
  ini.set("Casy2", "Casy1", "8]");
  ini.set("Casy2", "Casy2", "9]");
  ini.set("Z1", "Z1", "11");
  ini.set("Z1", "P1", "a");
  ini.set("Z1", "Z2", "22");
  ini.set("Z1", "P2", "b");
  s.memoPoznamka = {cp("třetí"), " konec"};
  p.questionAnswers = {true, false};
  const QString file = path("Znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);

  EXPECT_EQ(p.questions, (std::vector<std::string>{cp("Uložit také pololetí 1. pol. 2004/2005?"),
                                                   cp("Uložit také pololetí 2. pol. 2004/2005?")}));
  std::vector<std::string> bodies{
      Fields({"-2", "3", "ffffff", B({5, 9}), cp("první"), B({7, 3}), cp("třetí konec")}),
      Fields({"-1", "3", "1", B({8, 60}), "20041", B({12, 60}), "20051"}),
      Fields({"0", "20041", "", B({8, 45}), "0", B({12, 60}), "0"}),
      Fields({"1", cp("Nový záznam"), "0", B({1, 1}), "a", "", ""}),
  };
  EXPECT_EQ(ReadBytes(file), pdbBytes("Znamky-7a", "data", "TqbZ", kMarch7Noon, kMarch7Noon,
                                      Join(bodies, NewStudents(2, 5, 2))));
  EXPECT_TRUE(p.messages.empty());
}

TEST_F(GradesWriteTest, EmptyGradeSlotsAtTheEndAreDroppedAndMissingKeysGetDefaults) {
  s.semesterItems = {"1. pol. 2004/2005", "2. pol. 2004/2005"};
  s.semesterItemIndex = 1;
  s.currentSemester = 2;
  CellGrid& g = s.grid;
  g.insertCol(3);
  NumberGradeColumns(s);
  LayoutGrades(s);
  g.setText(3, 1, "6.3");
  g.setText(3, 2, "10:00");
  g.setText(3, 3, "10:45");
  g.setText(3, 4, "1 ");
  g.setFontColor(3, 4, s.weights[0].color);
  g.setText(4, 6, "2-");
  g.setFontColor(4, 6, s.weights[1].color);
  g.setText(3, 7, "1 ");
  g.setFontColor(3, 7, kBlack);  // not a weight colour: no grade
  g.setText(0, 8, "x");          // a row without a number has no section of its own
  IniFile& ini = GradesIni(s);
  ini.set("Z1", "Z1", "PPPP");
  ini.set("Z2", "Z1", "PP");
  ini.set("Z3", "Z1", "11PP11PP");
  p.questionAnswers = {true};
  const QString file = path("Znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);

  // Semester 1 has no label in the store: record 3 says so.
  EXPECT_EQ(p.messages, std::vector<std::string>{"Chyba pololeti 3/3"});
  const std::vector<std::string> bodies{
      Fields({"-2", "3", "ffffff", "", "", B({6, 3, 7, 3}), ""}),
      Fields({"-1", "3", "1", "", "", B({10, 60, 12, 60}), "20042"}),
      Fields({"0", "", "", "", "0", B({10, 45, 12, 60}), "0"}),
      Fields({"1", cp("Nový záznam"), "0", "", "", B({1, 1}), ""}),
      Fields({"2", cp("Nový záznam"), "0", "", "", "", ""}),
      Fields({"3", cp("Nový záznam"), "0", B({1, 1, 32, 32, 1, 1}), "", B({32, 32, 2, 7}), ""}),
      Fields({"4", cp("Nový záznam"), "0", "", "", "", ""}),
      Fields({"1", "Zaznam", "0", "", "", "", ""}),
  };
  EXPECT_EQ(ReadBytes(file), pdbBytes("Znamky-7a", "data", "TqbZ", kMarch7Noon, kMarch7Noon, bodies));
}

// Rows are sorted or relabelled: a row whose label has no number is not
// written with the data of the student whose number is its position.
TEST_F(GradesWriteTest, RowWithoutNumberNeverTakesAnotherStudentsSection) {
  CellGrid& g = s.grid;
  g.setText(0, 4, "2. Bob");  // the second student, sorted to the top
  g.setText(1, 4, "2");
  g.setText(2, 4, "Bob");
  g.setText(3, 4, "1 ");
  g.setFontColor(3, 4, s.weights[0].color);
  g.setText(0, 5, "Xaver");   // no number: no section of its own
  g.setText(2, 5, "Xaver");
  const QString file = path("Znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);

  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(RecordBody(bytes, 4), Fields({"2", "Bob", "0", B({1, 1}), ""}));
  EXPECT_EQ(RecordBody(bytes, 5), Fields({"1", "Zaznam", "0", "", ""}));
}

TEST_F(GradesWriteTest, FileNameWithLowerCasePrefixIsWarnedAndNamedProperly) {
  const QString file = path("znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Databáze se takto nemůže jmenovat: ") +
                                                 fromQt(QDir::toNativeSeparators(file))});
  const std::string bytes = ReadBytes(file);
  ASSERT_GE(bytes.size(), 78u);
  EXPECT_EQ(bytes.substr(0, 32), "Znamky-7a" + zeros(23));
  EXPECT_EQ(s.EditN, "Znamky-7a");
}

TEST_F(GradesWriteTest, LongByteListsAreCutTo254WithOneWarningPerSemester) {
  ThreeSemesters();
  IniFile& ini = GradesIni(s);
  ini.set("Casy1", "Pololeti1", "20041");
  ini.set("Casy1", "Pololeti2", "20042");
  ini.set("Datumy", "Dny1", Times("73", 150));
  ini.set("Datumy", "Dny2", Times("73", 150));
  ini.set("Casy1", "Casy1", Times("8l", 150));  // cut without a word
  p.questionAnswers = {true, true};
  const QString file = path("Znamky-7a.PDB");
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);

  const std::string warning = cp("Počet známek může být maximálně 127!");
  EXPECT_EQ(p.messages, (std::vector<std::string>{warning, warning}));
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(RecordBody(bytes, 1), Fields({"-2", "3", "ffffff", Times(B({7, 3}), 127), "", Times(B({7, 3}), 127),
                                          "", B({7, 3}), ""}));
  EXPECT_EQ(RecordBody(bytes, 2),
            Fields({"-1", "3", "1", Times(B({8, 60}), 127), "20041", "", "20042", B({12, 60}), "20051"}));
}

// The preferences database beside the classes is never saved over, in any
// letter case: the save says why and writes nothing, without the prefix
// warning the lower-case name would get.
TEST_F(GradesWriteTest, SaveOverThePreferencesDatabaseIsRefused) {
  const std::string prefs = pdbBytes("Znamky-db_pref", "data", "TqbZ", 0, 0, {Fields({"x"})});
  for (const char* name : {"Znamky-db_pref.PDB", "znamky-DB_PREF.pdb"}) {
    SCOPED_TRACE(name);
    WriteBytes(path(name), prefs);
    ScriptedPrompter q;
    q.saveAnswers.push_back(path(name));
    EXPECT_EQ(WriteGrades(s, q), Outcome::Refused);
    EXPECT_EQ(q.messages,
              std::vector<std::string>{cp("Do databáze \"Znamky-db_pref.PDB\" nelze uložit: drží "
                                          "nastavení známek a vah všech tříd ve složce. Zvolte jiný soubor.")});
    EXPECT_EQ(ReadBytes(path(name)), prefs);
  }
}

// Every label the reader accepts goes back into the file as it was read,
// for the semester shown when saving and for the others alike, and the file
// reads again with the same semester box.
TEST_F(GradesWriteTest, EverySemesterLabelTheReaderAcceptsIsWrittenBackAsRead) {
  const QString file = path("Znamky-7a.PDB"), saved = path("Znamky-7b.PDB");
  // A new class whose store holds a label that does not show as its item:
  // the label of the item is written.
  GradesIni(s).set("Casy1", "Pololeti1", "20032");
  p.saveAnswers.push_back(saved);
  WriteGrades(s, p);
  EXPECT_EQ(RecordBody(ReadBytes(saved), 2), Fields({"-1", "3", "1", B({12, 60}), "20042"}));

  for (const std::string label : {"20041", "20042", "2004", "2005", "205", "0", "20041abc", "2004a", "2004 ", "0999"}) {
    SCOPED_TRACE(label);
    const Semester sem{label, B({1, 9}), "", B({8, 60}), B({8, 45})};
    WriteBytes(file, GradesDb("Znamky-7a", "3366cc", {sem, sem}, {}));
    ReadGrades(s, p, file, true);
    const std::vector<std::string> items = s.semesterItems;
    for (int shown : {2, 1}) {
      CBZnamkyPololetiChange(s, shown - 1);
      p.questionAnswers = {true};
      p.saveAnswers.push_back(saved);
      ASSERT_EQ(WriteGrades(s, p), Outcome::Done);
      const std::string bytes = ReadBytes(saved);
      EXPECT_EQ(RecordBody(bytes, 2), Fields({"-1", "3", "1", B({8, 60}), label, B({8, 60}), label})) << shown;
      EXPECT_EQ(RecordBody(bytes, 3), Fields({"0", label, "", B({8, 45}), "0", B({8, 45}), "0"})) << shown;
      VeklaState t = s;
      ASSERT_NO_THROW(ReadGrades(t, p, saved, true)) << shown;
      EXPECT_EQ(t.semesterItems, items) << shown;
    }
  }
}

TEST_F(GradesWriteTest, CancelledOrFailedSaveWritesNothing) {
  WriteGrades(s, p);  // the save dialog is cancelled
  EXPECT_TRUE(QDir(dir.path()).entryList({"*.PDB"}, QDir::Files).isEmpty());
  // The shown semester went to the store all the same.
  EXPECT_EQ(GradesIni(s).get("Casy1", "Pololeti1"), "20042");

  p.saveAnswers.push_back(path("chybi/Znamky-7a.PDB"));
  EXPECT_THROW(WriteGrades(s, p), VeklaError);
  EXPECT_FALSE(QFileInfo::exists(path("chybi/Znamky-7a.PDB")));
  EXPECT_EQ(s.Lpohyb, "");
  ASSERT_FALSE(p.progressTexts.empty());
  EXPECT_EQ(p.progressTexts.back(), "");
}

// A class of 30 students with three semesters, in the form the program
// writes it, is read and saved again under the same name byte for byte.
TEST_F(GradesWriteTest, ClassReadAndSavedAgainIsByteIdentical) {
  const std::vector<Semester> sems{
      {"20041", B({2, 9, 15, 9, 1, 10, 20, 12}), cp("Začátek školního roku, žluťoučký kůň"),
       B({8, 60, 9, 50, 24, 60, 13, 5}), B({8, 45, 10, 35, 24, 45, 13, 50})},
      {"20042", B({5, 2, 29, 2, 30, 6}), cp("Druhé pololetí: přijímačky"), B({7, 55, 10, 60, 11, 40}),
       B({8, 40, 11, 45, 12, 25})},
      {"20051", B({1, 9, 8, 9, 15, 10, 31, 10, 30, 11}), cp("Třetí: ěščřžýáíé ĚŠČŘŽÝÁÍÉ ůú"),
       B({8, 60, 9, 50, 10, 50, 24, 60, 12, 30}), B({8, 45, 10, 35, 11, 35, 24, 45, 13, 15})},
  };
  const std::vector<std::string> surnames{cp("Novák"), cp("Dvořáková"), cp("Černý"), cp("Šťastná"),
                                          cp("Žižka"), cp("Řezníček"), "Kolar", cp("Úlehla")};
  const std::vector<std::string> firstNames{"Jan", "Eva", cp("Jiří"), cp("Božena"), cp("Ondřej")};
  std::vector<Student> students;
  for (int n = 1; n <= 30; ++n) {
    Student st;
    st.order = std::to_string(n);
    st.name = surnames[static_cast<std::size_t>(n % 8)] + " " + firstNames[static_cast<std::size_t>(n % 5)];
    if (n == 7) st.name = cp("Jednojmenný");
    st.examined = std::to_string(n % 4);
    for (int j = 1; j <= 3; ++j) {
      const int columns = static_cast<int>(sems[static_cast<std::size_t>(j - 1)].days.size() / 2);
      const int given = (n + j) % (columns + 1);
      std::string grades;
      for (int c = 1; c <= given; ++c) {
        if (c < given && (n * c + j) % 4 == 0) grades += B({32, 32});  // an empty slot, never the last
        else grades += B({1 + (n + c) % 4, 1 + (3 * n + 7 * c + j) % 20});
      }
      const std::string note = n % 3 == 0 ? cp("Poznámka č. ") + std::to_string(j) + cp(": snaživý, ěščř") : "";
      st.pairs.push_back({grades, note});
    }
    students.push_back(st);
  }
  const std::string original =
      GradesDb("Znamky-4b", "3366cc", sems, students, kMarch7Noon, kMarch7Noon + 5 * 86400 + 3723);
  const QString file = path("Znamky-4b.PDB");
  WriteBytes(file, original);

  ReadGrades(s, p, file, true);
  EXPECT_TRUE(s.Memo1.empty());
  ASSERT_EQ(s.grid.rowCount(), 36);
  p.questionAnswers = {true, true};
  p.saveAnswers.push_back(file);
  WriteGrades(s, p);
  EXPECT_TRUE(s.Memo1.empty());
  const std::string saved = ReadBytes(file);
  EXPECT_EQ(saved.size(), original.size());
  EXPECT_TRUE(saved == original);
  for (int r = 1; r <= 33 && saved != original; ++r)
    EXPECT_EQ(RecordBody(saved, r), RecordBody(original, r)) << "record " << r;
}

}  // namespace
