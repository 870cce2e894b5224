// What keeps a teacher's data where it belongs: the tool buttons always
// follow the cell that is really current, questions that throw work away
// default to No and name what they remove, students keep their own numbers
// and semesters, and a CSV pair is written whole or not at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "pdb/savefile.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/checks.h"
#include "workspace/datafolder.h"
#include "workspace/gradestats.h"
#include "workspace/semesters.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr Ctl kGridButtons[] = {Ctl::SpeedItemHodiny,        Ctl::SpeedItemDatum,
                                Ctl::SpeedItemPridatRadek,   Ctl::SpeedItemOdstranitRadek,
                                Ctl::SpeedItemPridatSloupec, Ctl::SpeedItemOdebratSloupec};

class Protection : public KindTest {
 protected:
  Protection() : KindTest(DbKind::Znamky) {}

  // A grade-book CSV: the title line, dates and times for `grades` columns,
  // then one line per student ("number;name;grade").
  static std::string GradeCsv(const std::vector<std::pair<std::string, std::string>>& students, int grades = 1) {
    std::string titles = cp("Pořadí;Jméno"), dates = ";", times = ";";
    for (int c = 1; c <= grades; ++c) {
      titles += ";" + std::to_string(c);
      dates += ";" + std::to_string(c) + ".9";
      times += ";08:00";
    }
    std::string out =
        titles + cp(";Průměr;Sm. odch.;Poznámka;Zkoušen\r\n") + dates + "\r\n" + times + "\r\n" + times + "\r\n";
    for (const auto& [number, name] : students) out += number + ";" + cp(name.c_str()) + ";1 ;;;;0\r\n";
    return out;
  }

  Outcome ImportFile(const std::string& bytes, const char* name = "Znamky-7A.csv") {
    WriteBytes(path(name), bytes);
    p.openAnswers = {path(name)};
    return RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ImportCsv); });
  }

  // The grid tool buttons are what their rules give for the selected cell,
  // and that cell is no title.
  void ExpectButtonsFollowTheCurrentCell(const char* after) {
    SCOPED_TRACE(after);
    EXPECT_GE(s.selCol, 1);
    EXPECT_GE(s.selRow, 1);
    EXPECT_LT(s.selCol, s.grid.colCount());
    EXPECT_LT(s.selRow, s.grid.rowCount());
    VeklaState fresh = s;
    StringAlignGridSelectCell(fresh, {s.selCol, s.selRow});
    for (Ctl b : kGridButtons) EXPECT_EQ(s.control(b).enabled, fresh.control(b).enabled) << CtlName(b);
  }

  // A grade book whose last-clicked cell is the grade of its last student,
  // with every grid button enabled.
  void StaleSelection() {
    s.grid.setColCount(12);
    s.grid.setRowCount(11);
    LayoutGrades(s);
    StringAlignGridSelectCell(s, {5, 8});
    ASSERT_TRUE(s.control(Ctl::SpeedItemOdstranitRadek).enabled);
    ASSERT_TRUE(s.control(Ctl::SpeedItemOdebratSloupec).enabled);
  }
};

// After every command that moves the current cell or changes the grid's
// shape the button rules hold for the cell that is current: no command can
// then remove a title row or column, the last student or the last grade.
TEST_F(Protection, ButtonsFollowTheCurrentCellAfterEveryCommand) {
  const std::string small = GradeCsv({{"1", "Adámková Eva"}});
  const struct {
    const char* name;
    std::function<void()> command;
  } commands[] = {
      {"new", [&] { NovyClick(s, p); }},         {"CSV import that shrinks the grid", [&] { ImportFile(small); }},
      {"sort", [&] { ColumnTitleClick(s, 2); }}, {"semester switch", [&] { ChooseSemester(s, 0); }},
      {"insert row", [&] { SBInsertClick(s); }}, {"add column", [&] { SpeedItemPridatSloupecClick(s); }},
  };
  for (const auto& c : commands) {
    StaleSelection();
    c.command();
    ExpectButtonsFollowTheCurrentCell(c.name);
  }

  // The imported book of one student: removing its row is refused and asks
  // nothing, whatever the cell clicked before the import.
  StaleSelection();
  MarkSaved(s);
  ImportFile(small);
  p.questions.clear();
  s.selCol = 9;
  s.selRow = 5;  // where "Sm. odch." was
  p.questionAnswers = {true};
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Refused);
  EXPECT_EQ(s.grid.rowCount(), 7);
  EXPECT_EQ(SpeedItemOdebratSloupecClick(s, p), Outcome::Refused);
  EXPECT_EQ(s.grid.colCount(), 8);
  EXPECT_TRUE(p.questions.empty());

  // On the timetable the day names stay.
  SetupTab(s, DbKind::Rozvrh);
  s.selCol = 0;
  s.selRow = 5;
  EXPECT_EQ(SpeedItemOdebratSloupecClick(s, p), Outcome::Refused);
  EXPECT_EQ(s.grid.text(1, 0), "Den");
}

// Questions whose Yes throws work away default to No and name what goes.
TEST_F(Protection, DestructiveQuestionsDefaultToNoAndNameTheRow) {
  ImportFile(GradeCsv({{"3", "Adámková Eva"}, {"7", "Zeman Petr"}}, 2));
  s.selCol = 2;
  s.selRow = 5;
  p.questionAnswers = {false, false, false, false};
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Cancelled);
  s.selCol = 4;
  EXPECT_EQ(SpeedItemOdebratSloupecClick(s, p), Outcome::Cancelled);
  EXPECT_EQ(ClearCells(s, p, {{2, 4}, {2, 5}}), Outcome::Cancelled);
  EXPECT_EQ(NovyClick(s, p), Outcome::Cancelled);
  const std::vector<std::string> asked = {cp("Odstranit řádek 7 (Zeman Petr)?"), cp("Odstranit sloupec 2 (2.9)?"),
                                          cp("Vymazat 2 buňky?"), cp("Zahodit neuložené změny?")};
  EXPECT_EQ(p.questions, asked);
  EXPECT_EQ(p.defaultNoQuestions, asked);
  EXPECT_EQ(s.grid.text(2, 5), cp("Zeman Petr"));
  EXPECT_EQ(s.grid.colCount(), 9);

  // One cell is emptied without a question.
  EXPECT_EQ(ClearCells(s, p, {{2, 4}}), Outcome::Done);
  EXPECT_EQ(p.questions.size(), 4u);

  SetupTab(s, DbKind::Rozpisy);
  s.grid.setRowCount(3);
  s.grid.setText(1, 2, "12");
  s.grid.setText(2, 2, "Zlomky");
  s.selRow = 2;
  p.questionAnswers = {true};
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Done);
  // The row as its label shows it, not the topic's own number.
  EXPECT_EQ(p.questions.back(), cp("Odstranit řádek 2 (Zlomky)?"));
}

// A click on an empty grade cell changes nothing: no weight, no edit mark.
TEST_F(Protection, ClickOnAnEmptyGradeCellIsNoEdit) {
  DefaultGradeScale(s);
  s.weightDown = 2;
  const Color before = s.grid.fontColor(3, 4);
  GradeCellClicked(s, {3, 4});
  EXPECT_FALSE(HasUnsavedEdits(s));
  EXPECT_EQ(s.grid.fontColor(3, 4), before);
}

// Students without a number or with another's number get free ones, and
// every student keeps their own grades and note through a semester switch;
// an inserted student never takes a number whose grades the store keeps.
TEST_F(Protection, EveryStudentKeepsTheirOwnNumberAndGrades) {
  const struct {
    std::vector<std::string> numbers, expected;
  } cases[] = {
      {{"", "", "", ""}, {"1", "2", "3", "4"}},          {{"1", "5", "5", "7"}, {"1", "5", "6", "7"}},
      {{"", "3", "", "1"}, {"2", "3", "4", "1"}},        {{"6", "6", "7", "6"}, {"6", "8", "7", "9"}},
      {{"999", "999", "x", ""}, {"999", "2", "1", "3"}},
  };
  const char* names[] = {"Dušek Ivo", "Adámková Eva", "Zeman Petr", "Bílá Jana"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numbers[1] + "," + c.numbers[2]);
    SetupTab(s, DbKind::Znamky);
    DeleteGradesIni(s);
    MarkSaved(s);
    std::vector<std::pair<std::string, std::string>> students;
    for (int i = 0; i < 4; ++i) students.push_back({c.numbers[i], names[i]});
    ASSERT_EQ(ImportFile(GradeCsv(students)), Outcome::Done);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(s.grid.text(1, 4 + i), c.expected[i]);
      EXPECT_EQ(s.grid.text(0, 4 + i).substr(0, c.expected[i].size() + 2), c.expected[i] + ". ");
      s.grid.setText(6, 4 + i, std::string("note ") + char('a' + i));
    }
    // Away to a second semester and back: each student's note comes back to them.
    s.semesterItems.push_back(cp("1. pol. 2026/2027"));
    ChooseSemester(s, 1);
    ChooseSemester(s, 0);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(s.grid.text(2, 4 + i), cp(names[i]));
      EXPECT_EQ(s.grid.text(6, 4 + i), std::string("note ") + char('a' + i));
    }
  }

  // A typed number that another student has is repaired to the next free one.
  s.grid.setText(1, 4, "1");
  StringAlignGridAfterEdit(s, {1, 4});
  EXPECT_EQ(s.grid.text(1, 4), "4");
  EXPECT_EQ(s.Memo1.back(), cp("Žák Dušek Ivo: pořadí 1 už má jiný žák, dostal pořadí 4"));

  // Student 9 of an earlier class is kept in the store: a new student is 10.
  GradesIni(s).set("Z9", "Jmeno", cp("Starý Karel"));
  s.studentCount = 8;
  StringAlignGridSelectCell(s, {2, 7});
  SBInsertClick(s);
  EXPECT_EQ(s.grid.text(1, 8), "10");
  EXPECT_EQ(s.grid.text(0, 8), cp("10. Nový"));
}

// Another class's file over an open grade book: the teacher is asked once
// whether the stored semesters stay; No starts them afresh. The same class
// again, in another order, asks nothing and keeps them.
TEST_F(Protection, AnotherClassDoesNotInheritTheStoredSemesters) {
  const std::string class7A = GradeCsv({{"1", "Adámková Eva"}, {"2", "Bílá Jana"}, {"3", "Cibulka Jan"}});
  ImportFile(class7A);
  s.grid.setText(6, 4, "pochvala");
  s.memoPoznamka = {"7A"};
  s.semesterItems.push_back(cp("1. pol. 2026/2027"));
  ChooseSemester(s, 1);
  MarkSaved(s);

  // The same class, reordered: nothing asked, semesters kept.
  ImportFile(GradeCsv({{"3", "Cibulka Jan"}, {"1", "Adámková Eva"}, {"2", "Bílá Jana"}}));
  EXPECT_TRUE(p.questions.empty());
  EXPECT_EQ(s.semesterItems.size(), 2u);
  MarkSaved(s);

  for (bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    const IniFile stored = GradesIni(s);
    const auto items = s.semesterItems;
    p.questionAnswers = {keep};
    ImportFile(GradeCsv({{"1", "Zeman Petr"}, {"2", "Bílá Jana"}, {"3", "Cibulka Jan"}}), "Znamky-8B.csv");
    ASSERT_EQ(p.questions.size(), 1u);
    EXPECT_EQ(p.questions[0], cp("1 z 3 jmen se liší od uložených pololetí. Ponechat známky ostatních pololetí?"));
    EXPECT_EQ(p.defaultNoQuestions, p.questions);
    if (keep) {
      EXPECT_EQ(s.semesterItems, items);
      EXPECT_EQ(GradesIni(s).get("Z1", "Jmeno"), cp("Adámková Eva"));
    } else {
      // Semester 1 of 7A no longer shows under Zeman Petr's name.
      EXPECT_EQ(s.semesterItems.size(), 1u);
      EXPECT_TRUE(s.memoPoznamka.empty());
      EXPECT_FALSE(GradesIni(s).has("Z1", "Jmeno"));
      EXPECT_FALSE(QFile::exists(GradesIniPath(s)));
      ChooseSemester(s, 0);
      EXPECT_EQ(s.grid.text(6, 4), "");
    }
    p.questions.clear();
    p.defaultNoQuestions.clear();
    MarkSaved(s);
  }
}

// A file that is not a grade book's is refused on the grades tab, and the
// grade book stays as it was.
TEST_F(Protection, AnotherKindsCsvIsRefusedOnTheGradesTab) {
  const std::string before = Snapshot(s);
  EXPECT_EQ(ImportFile("1;Zlomky;1.9;;45;45;45;0\r\n2;Procenta;2.9;;45;45;45;0\r\n", "Rozpisy-M.csv"), Outcome::Failed);
  ASSERT_EQ(p.errors.size(), 1u);
  EXPECT_NE(p.errors[0].find(cp("není tabulka známek")), std::string::npos);
  EXPECT_EQ(Snapshot(s), before);
}

// The grade book's two CSV files are written as a pair: when the values
// file cannot be written, the main file keeps its old bytes too.
TEST_F(Protection, TheCsvPairIsWrittenWholeOrNotAtAll) {
  WriteBytes(path("7A.csv"), "old main");
  ASSERT_TRUE(QDir(dir.path()).mkpath("7Ahodnoty.csv/in the way"));
  p.saveAnswers = {path("7A.csv"), path("7Ahodnoty.csv")};
  EXPECT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ExportCsv); }), Outcome::Failed);
  EXPECT_EQ(p.errors.size(), 1u);
  EXPECT_EQ(ReadBytes(path("7A.csv")), "old main");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"7A.csv"});
}

// "HotSync ..." says so when no program takes the file, and asks first when
// the tab holds edits the file on disk does not have.
TEST_F(Protection, HandOffReportsFailureAndAsksAboutUnsavedEdits) {
  qputenv("JPILOT_HOME", dir.path().toLocal8Bit());
  s.settings.set("PalmDesktop", "Path", fromQt(dir.path()));  // no J-Pilot: the shell's "open"
  const QString file = path("Znamky-7A.PDB");
  p.shellOpens = false;
  p.openAnswers = {file};
  EXPECT_EQ(HotSync(s, p), Outcome::Failed);
  ASSERT_EQ(p.messages.size(), 1u);
  EXPECT_NE(p.messages[0].find("Znamky-7A.PDB"), std::string::npos);

  MarkEdited(s);
  p.openAnswers = {file};
  EXPECT_EQ(HotSync(s, p), Outcome::Cancelled);
  EXPECT_EQ(p.defaultNoQuestions,
            std::vector<std::string>{cp("Karta obsahuje neuložené změny. Předat soubor tak, jak je uložen?")});
  EXPECT_EQ(p.openRequests.size(), 1u);
  qunsetenv("JPILOT_HOME");
}

}  // namespace
