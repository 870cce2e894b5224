// What a click, a key or a paste may change in the grade book, and what the
// teacher is told: only a plain click gives a grade the pressed weight and
// says so, copied grades keep their weights, questions count the cells they
// would really change, and the buttons, the row label in the removal
// question and the current cell follow what the grid shows.
#include <gtest/gtest.h>

#include <functional>

#include "commands/clipboard.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/undocommands.h"
#include "support/kindsfixture.h"
#include "workspace/gradegeometry.h"
#include "workspace/semesters.h"

using namespace vekla;
using namespace vekla::test;

namespace {

const Color kRed = rgbHex(0xFF0000), kBlue = rgbHex(0x0000FF), kGrey = rgbHex(0xAAAAAA);

class Clicks : public KindTest {
 protected:
  Clicks() : KindTest(DbKind::Znamky) {}

  void SetUp() override {
    KindTest::SetUp();
    // A class of three with two grade columns, every grade of weight 1.
    const std::string csv =
        cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9\r\n;;08:00;09:00\r\n;;08:45;09:45\r\n"
           "1;Adámková Eva;1 ;2 ;;;;0\r\n2;Bílý Jan;3 ;;;;;1\r\n3;Zeman Petr;5 ;4 ;;;;0\r\n");
    WriteBytes(path("Znamky-7A.csv"), csv);
    p.openAnswers = {path("Znamky-7A.csv")};
    ASSERT_EQ(ConvertClick(s, p, Conversion::ImportCsv), Outcome::Done);
    StoreSemester(s);
    MarkSaved(s);
    s.weights[1].text = "2,00";
    StartHistory(s, h);
    p.questions.clear();
  }

  Histories h;
};

// A plain click gives the grade the pressed weight, tells the status line
// whose grade it was and is one step of the history; Shift, Ctrl or a drag
// select and change nothing.
TEST_F(Clicks, OnlyAPlainClickGivesAGradeThePressedWeight) {
  const struct {
    const char* name;
    GridClick click;
    Color after;
    const char* status;
  } cases[] = {
      {"plain", {{4, 4}}, kBlue, "Adámková Eva, sloupec 2 (2.9), známka 2: váha 1 (1,00) změněna na váhu 2 (2,00)."},
      {"shift", {{4, 4}, true, false, false}, kRed, ""},
      {"ctrl", {{4, 4}, false, true, false}, kRed, ""},
      {"drag", {{4, 4}, false, false, true}, kRed, ""},
      {"name", {{2, 4}}, s.grid.fontColor(2, 4), ""},
      {"empty grade", {{4, 5}}, s.grid.fontColor(4, 5), ""},
  };
  const VeklaState start = s;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s = start;
    s.weightDown = 2;
    StartHistory(s, h);
    const Color before = s.grid.fontColor(c.click.at.col, c.click.at.row);
    const std::string average = s.grid.text(GradeGeometry(s.grid).averageCol(), 4);
    EXPECT_EQ(GradeCellClicked(s, c.click), *c.status ? Outcome::Done : Outcome::Cancelled);
    EXPECT_EQ(s.grid.fontColor(c.click.at.col, c.click.at.row), *c.status ? c.after : before);
    EXPECT_EQ(s.statusLine, cp(c.status));
    EXPECT_EQ(HasUnsavedEdits(s), *c.status != 0);
    EXPECT_EQ(RecordEdit(s, h, WeightClickStep()), *c.status != 0);
    if (!*c.status) continue;
    // 1 of weight 1 and 2 of weight 2: the average follows the new weight.
    EXPECT_EQ(s.grid.text(GradeGeometry(s.grid).averageCol(), 4), "1,667");
    EXPECT_EQ(UndoCaption(s, h), cp("Zpět: váha známky"));
    UndoClick(s, h);
    EXPECT_EQ(s.grid.fontColor(4, 4), kRed);
    EXPECT_EQ(s.grid.text(GradeGeometry(s.grid).averageCol(), 4), average);
  }
}

// Grades copied in Vekla keep their weights wherever they are pasted; a
// text from another program, or weights that do not fit the text, take the
// pressed weight as typed grades do.
TEST_F(Clicks, PastedGradesKeepTheirCopiedWeights) {
  s.grid.setFontColor(4, 4, kBlue);  // "2 " of weight 2
  s.grid.setFontColor(3, 6, kGrey);  // "5 " of weight 3
  const std::vector<CellPos> block = {{3, 4}, {4, 4}, {3, 5}, {4, 5}, {3, 6}, {4, 6}};
  const std::string text = CopyCells(s, block);
  const std::string weights = CopyWeights(s, block);
  EXPECT_EQ(weights, "1\t2\n1\t\n3\t1\n");
  const struct {
    const char* name;
    std::string weights;
    std::array<Color, 3> pasted;  // the weights of "1 ", "2 " and "5 " where they land
  } cases[] = {
      {"from Vekla", weights, {kRed, kBlue, kGrey}},
      {"from another program", "", {kGrey, kGrey, kGrey}},
      {"weights of another block", "1\t2\n", {kGrey, kGrey, kGrey}},
  };
  const VeklaState start = s;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s = start;
    s.weightDown = 3;
    // Into a grade book of three grade columns, one column to the right.
    s.grid.insertCol(5);
    p.questionAnswers = {true};
    ASSERT_EQ(PasteCells(s, p, {4, 4}, text, c.weights), Outcome::Done);
    EXPECT_EQ(s.grid.text(4, 4), "1 ");
    EXPECT_EQ(s.grid.fontColor(4, 4), c.pasted[0]);
    EXPECT_EQ(s.grid.text(5, 4), "2 ");
    EXPECT_EQ(s.grid.fontColor(5, 4), c.pasted[1]);
    EXPECT_EQ(s.grid.text(4, 6), "5 ");
    EXPECT_EQ(s.grid.fontColor(4, 6), c.pasted[2]);
  }
}

// Delete, Ctrl+X and a paste ask before they change more than one filled
// cell, and count only the cells they would change: never the statistics
// they leave alone, nor cells that stay as they are. The log counts in
// Czech.
TEST_F(Clicks, QuestionsAndLogLinesCountTheCellsThatWouldChange) {
  const GradeGeometry g(s.grid);
  std::vector<CellPos> wholeGrid;
  for (int r = 1; r < s.grid.rowCount(); ++r)
    for (int c = 1; c < s.grid.colCount(); ++c) wholeGrid.push_back({c, r});
  const std::vector<CellPos> firstRow = {{3, 4}, {4, 4}, {g.averageCol(), 4}, {g.deviationCol(), 4}, {g.noteCol(), 4}};
  const struct {
    const char* name;
    std::function<Outcome()> command;
    const char* question;  // "" when none is asked
    std::vector<std::string> log;
  } cases[] = {
      // Two grades; the average and deviation are computed, the note is empty.
      {"Delete on a row", [&] { return ClearCells(s, p, firstRow); }, "Vymazat 2 buňky?", {}},
      {"Ctrl+X on a row", [&] { return CutCells(s, p, firstRow); }, "Vymazat 2 buňky?", {}},
      {"Ctrl+X on one grade",
       [&] {
         return CutCells(s, p, {{3, 4}});
       },
       "",
       {}},
      // 6 dates and times, 3 names, 5 grades and the one examined count
      // that is not "0": order numbers and empty counts come back as they are.
      {"Delete on everything", [&] { return ClearCells(s, p, wholeGrid); }, "Vymazat 15 buněk?", {}},
      {"paste over two grades",
       [&] {
         return PasteCells(s, p, {3, 4}, "2\t1\n");
       },
       "Přepsat 2 buňky?",
       {}},
      {"paste into empty cells",
       [&] {
         return PasteCells(s, p, {g.noteCol(), 4}, "a\nb\n");
       },
       "",
       {}},
      {"paste over a grade and its own average",
       [&] {
         return PasteCells(s, p, {4, 4}, "1\t" + s.grid.text(g.averageCol(), 4) + "\t9\n");
       },
       "",
       {cp("Záhlaví a statistiky se nepřepisují: 1 buňka vynechána.")}},
      {"paste reaching out of the grid",
       [&] {
         return PasteCells(s, p, {g.examinedCol(), 5}, "1\t\tx\ty\tz\n");
       },
       "",
       {cp("Vkládaný blok přesahuje tabulku: 3 buňky vynechány.")}},
      {"paste over six statistics",
       [&] {
         return PasteCells(s, p, {g.averageCol(), 4}, "a\tb\nc\td\ne\tf\n");
       },
       "",
       {cp("Záhlaví a statistiky se nepřepisují: 6 buněk vynecháno.")}},
  };
  VeklaState start = s;
  start.Memo1.clear();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s = start;
    p.questions.clear();
    p.questionAnswers = {false};
    const Outcome outcome = c.command();
    if (*c.question) {
      EXPECT_EQ(p.questions, std::vector<std::string>{cp(c.question)});
      EXPECT_EQ(p.defaultNoQuestions.back(), cp(c.question));
      // No changes nothing, not even the log.
      EXPECT_EQ(outcome, Outcome::Cancelled);
      EXPECT_EQ(Snapshot(s), Snapshot(start));
    } else {
      EXPECT_TRUE(p.questions.empty());
      EXPECT_EQ(s.Memo1, c.log);
    }
  }
}

// The row buttons follow the current cell after a tab switch, the removal
// question names the row as its label shows it, and removing the last
// student leaves the student above current, not the row of averages.
TEST_F(Clicks, RowsAsTheGridShowsThem) {
  StringAlignGridSelectCell(s, {3, 5});
  TabSet1Change(s, p, 1);
  TabSet1Change(s, p, 0);
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatRadek).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemOdstranitRadek).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatSloupec).enabled);

  // The label keeps the student's first number; the order number changed since.
  s.grid.setText(0, 6, cp("7. Zeman"));
  s.grid.setText(GradeGeometry::kOrderCol, 6, "8");
  StringAlignGridSelectCell(s, {3, 6});
  p.questionAnswers = {false, true, true};
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Cancelled);
  EXPECT_EQ(p.questions.back(), cp("Odstranit řádek 7 (Zeman Petr)?"));
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Done);
  const GradeGeometry after(s.grid);
  EXPECT_EQ(s.selRow, after.lastStudentRow());
  EXPECT_EQ(s.grid.text(GradeGeometry::kNameCol, s.selRow), cp("Bílý Jan"));
  EXPECT_TRUE(s.control(Ctl::SpeedItemOdstranitRadek).enabled);
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Done);
  // One student left: the row stays current and can no longer be removed.
  EXPECT_EQ(s.selRow, GradeGeometry::kFirstStudentRow);
  EXPECT_FALSE(s.control(Ctl::SpeedItemOdstranitRadek).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatRadek).enabled);
}

// A line break in the class note keeps its words apart in the store and in
// the database: one space where the line ended.
TEST_F(Clicks, TheNoteNeverJoinsTwoWords) {
  const struct {
    const char* text;
    const char* line;
  } notes[] = {
      {"Výlet\ndo Prahy", "Výlet do Prahy"}, {"Třída jede\r\nna výlet", "Třída jede na výlet"},
      {"konec \n\nřádku", "konec řádku"},    {"\r\nstarý\rMac\n", "starý Mac"},
      {"bez zalomení", "bez zalomení"},
  };
  for (const auto& n : notes) EXPECT_EQ(NoteOnOneLine(cp(n.text)), cp(n.line)) << n.text;

  s.memoPoznamka = {cp("Výlet"), cp("do Prahy")};
  s.semesterItems.push_back(cp("1. pol. 2005/2006"));
  ChooseSemester(s, 1);
  ChooseSemester(s, 0);
  EXPECT_EQ(s.memoPoznamka, std::vector<std::string>{cp("Výlet do Prahy")});
}

// "Uložit PDB" after a save into another folder proposes the file saved
// there, and replacing a file always asks; No shows the dialog again.
TEST_F(Clicks, SaveProposesTheFileSavedLastAndAsksBeforeReplacing) {
  s.adresar1 = dir.path() + "/opened/";
  s.EditN = "Znamky-7A";
  const QString x = dir.path() + "/X/";
  QDir().mkpath(x);
  p.saveAnswers = {x + "Znamky-7A.PDB"};
  ASSERT_EQ(UlozClick(s, p), Outcome::Done);
  EXPECT_TRUE(p.overwriteQuestions.empty());

  p.saveAnswers = {x + "Znamky-7A.PDB", x + "Znamky-7A.PDB"};
  p.overwriteAnswers = {false, true};
  ASSERT_EQ(UlozClick(s, p), Outcome::Done);
  ASSERT_EQ(p.saveRequests.size(), 3u);
  EXPECT_EQ(p.saveRequests[1].initialDir, x);
  EXPECT_EQ(p.saveRequests[1].fileName, "Znamky-7A.PDB");
  EXPECT_EQ(p.overwriteQuestions, (std::vector<QString>{x + "Znamky-7A.PDB", x + "Znamky-7A.PDB"}));

  // The next start proposes it too.
  FormClose(s, p);
  VeklaState next;
  FormCreate(next, s.programDir);
  EXPECT_EQ(next.savedFile[static_cast<std::size_t>(DbKind::Znamky)], x + "Znamky-7A.PDB");

  // A new name of the database is proposed in the same folder; an open
  // proposes the folder the database came from again.
  s.EditN = "Znamky-8B";
  p.saveAnswers = {std::nullopt};
  EXPECT_EQ(UlozClick(s, p), Outcome::Cancelled);
  EXPECT_EQ(p.saveRequests.back().initialDir, x);
  EXPECT_EQ(p.saveRequests.back().fileName, "Znamky-8B.PDB");
  MarkSaved(s);
  p.openAnswers = {x + "Znamky-7A.PDB"};
  ASSERT_EQ(OtevriClick1(s, p), Outcome::Done);
  p.saveAnswers = {std::nullopt};
  UlozClick(s, p);
  EXPECT_EQ(p.saveRequests.back().initialDir, s.adresar1);
}

}  // namespace
