// Undo and redo of every editing command, copy and paste of blocks: what a
// step undoes is the grid, its colours and statistics, the panels and the
// semester store as they were, byte for byte in the working files.
#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "commands/clipboard.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/undocommands.h"
#include "support/kindsfixture.h"
#include "workspace/datafolder.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/semesters.h"
#include "workspace/workfiles.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class Undo : public KindTest {
 protected:
  Undo() : KindTest(DbKind::Znamky) {}

  void SetUp() override {
    KindTest::SetUp();
    // A class of three with two grade columns, opened from a CSV file.
    const std::string csv =
        cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9\r\n;;08:00;09:00\r\n;;08:45;09:45\r\n"
           "1;Adámková Eva;1 ;2 ;;;pochvala;0\r\n2;Bílý Jan;3 ;;;;;1\r\n3;Zeman Petr;5 ;4 ;;;;0\r\n");
    ASSERT_EQ(Import(csv), Outcome::Done);
    // Saved: the shown semester is in the store too.
    StoreSemester(s);
    MarkSaved(s);
    StartHistory(s, h);
  }

  Outcome Import(const std::string& bytes) {
    WriteBytes(path("Znamky-7A.csv"), bytes);
    p.openAnswers = {path("Znamky-7A.csv")};
    return ConvertClick(s, p, Conversion::ImportCsv);
  }

  // The state as the working files hold it, and as the window shows it.
  std::string Files() {
    SaveKind(s);
    std::string out;
    for (const char* name : {"Znamky-.txt", "Znamky-plus.txt", "Znamky-.ini"})
      out += ReadBytes(DataDir(s) + name) + "\n--\n";
    VeklaState shown = s;
    shown.Memo1.clear();
    shown.gradesIniDirty = false;
    return out + Snapshot(shown);
  }

  void Select(int col, int row) { StringAlignGridSelectCell(s, {col, row}); }

  Histories h;
};

TEST_F(Undo, EveryEditIsUndoneAndRedoneInOneStep) {
  const std::string other =
      cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;3.9\r\n;;08:00\r\n;;08:45\r\n1;Novák Ota;2 ;;;;0\r\n");
  const struct {
    const char* label;
    std::function<void()> command;
  } edits[] = {
      {"typed grade",
       [&] {
         s.grid.setText(4, 5, "1-");
         StringAlignGridAfterEdit(s, {4, 5});
       }},
      {"two cells emptied",
       [&] {
         p.questionAnswers = {true};
         ClearCells(s, p, {{3, 4}, {3, 5}});
       }},
      {"weight by a click",
       [&] {
         s.weightDown = 3;
         GradeCellClicked(s, {3, 6});
       }},
      {"row inserted",
       [&] {
         Select(2, 5);
         SBInsertClick(s);
       }},
      {"row removed",
       [&] {
         Select(2, 5);
         p.questionAnswers = {true};
         SBDeleteClick(s, p);
       }},
      {"column added",
       [&] {
         Select(3, 4);
         SpeedItemPridatSloupecClick(s);
       }},
      {"column removed",
       [&] {
         Select(4, 4);
         p.questionAnswers = {true};
         SpeedItemOdebratSloupecClick(s, p);
       }},
      {"sorted", [&] { ColumnTitleClick(s, 2); }},
      {"time",
       [&] {
         Select(3, 2);
         p.timeAnswers = {TimeOfDay{10, 5}};
         SpeedItemHodinyClick(s, p);
       }},
      {"date",
       [&] {
         Select(4, 1);
         p.dateAnswers = {DayMonth{5, 10}};
         SpeedItemDatumClick(s, p);
       }},
      {"block pasted",
       [&] {
         p.questionAnswers = {true};  // three filled cells overwritten
         PasteCells(s, p, {3, 4}, "3\t1*\n2-\n");
       }},
      {"another class imported, its semesters dropped",
       [&] {
         p.questionAnswers = {true, false};  // discard the edits; do not keep the semesters
         Import(other);
       }},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.label);
    const std::string before = Files();
    const bool saved = !HasUnsavedEdits(s);
    e.command();
    ASSERT_TRUE(RecordEdit(s, h, e.label));
    const std::string after = Files();
    ASSERT_NE(after, before);
    EXPECT_EQ(UndoCaption(s, h), cp("Zpět: ") + e.label);
    EXPECT_EQ(UndoClick(s, h), Outcome::Done);
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(HasUnsavedEdits(s), !saved);
    EXPECT_EQ(RedoCaption(s, h), std::string("Znovu: ") + e.label);
    EXPECT_EQ(RedoClick(s, h), Outcome::Done);
    EXPECT_EQ(Files(), after);
  }
  // Back to the start, step by step: the state the history began with,
  // whose unsaved mark is clear again.
  while (UndoClick(s, h) == Outcome::Done) {
  }
  EXPECT_FALSE(HasUnsavedEdits(s));
  EXPECT_EQ(s.grid.text(2, 6), "Zeman Petr");
  EXPECT_EQ(UndoCaption(s, h), cp("Zpět"));
}

TEST_F(Undo, NothingChangedIsNoStepAndANewStepDropsRedo) {
  Select(3, 4);
  EXPECT_FALSE(RecordEdit(s, h, "select"));
  s.grid.setText(4, 5, "1 ");
  StringAlignGridAfterEdit(s, {4, 5});
  ASSERT_TRUE(RecordEdit(s, h, "a"));
  UndoClick(s, h);
  s.grid.setText(4, 6, "2 ");
  StringAlignGridAfterEdit(s, {4, 6});
  ASSERT_TRUE(RecordEdit(s, h, "b"));
  EXPECT_EQ(RedoClick(s, h), Outcome::Refused);
  // The undone step took the cursor back to where the edit was.
  UndoClick(s, h);
  EXPECT_EQ(s.selCol, 3);
  EXPECT_EQ(s.selRow, 4);
  // A save makes the state the saved one; undoing past it marks the tab.
  RedoClick(s, h);
  NoteSaved(s, h);
  MarkSaved(s);
  UndoClick(s, h);
  EXPECT_TRUE(HasUnsavedEdits(s));
  RedoClick(s, h);
  EXPECT_FALSE(HasUnsavedEdits(s));
}

TEST_F(Undo, PastedBlocksGoThroughTheChecksAndStayInside) {
  EXPECT_EQ(SplitClipboardText("a\tb\r\n\"x\ty\"\t\"say \"\"hi\"\"\"\n\n"),
            (std::vector<std::vector<std::string>>{{"a", "b"}, {"x\ty", "say \"hi\""}, {""}}));
  // Copied cells are what spreadsheets paste back.
  EXPECT_EQ(CopyCells(s, {{2, 4}, {3, 5}}), cp("Adámková Eva\t1 \nBílý Jan\t3 \n"));
  // A text holding a tab or starting with a quote is quoted and comes back
  // whole; a quote inside a text is no quoting.
  VeklaState quotes = s;
  quotes.grid.setText({2, 4}, "a\tb");
  quotes.grid.setText({3, 4}, "\"x");
  quotes.grid.setText({2, 5}, cp("Kniha \"Babička\""));
  const std::string copied = CopyCells(quotes, {{2, 4}, {3, 5}});
  EXPECT_EQ(copied, cp("\"a\tb\"\t\"\"\"x\"\nKniha \"Babička\"\t3 \n"));
  EXPECT_EQ(SplitClipboardText(copied),
            (std::vector<std::vector<std::string>>{{"a\tb", "\"x"}, {cp("Kniha \"Babička\""), "3 "}}));

  // A block from the name of the last student reaching past the grid: a
  // name, a grade that is no grade, then the statistics rows and columns
  // and the edge of the grid are left alone.
  const GradeGeometry g(s.grid);
  s.Memo1.clear();
  p.questionAnswers = {true};  // the name and a grade overwritten
  PasteCells(s, p, {2, 6}, cp("Zelený Petr\t9\t2\t7\t7\t7\t7\t7\nx\ty\n"));
  EXPECT_EQ(s.grid.text(2, 6), cp("Zelený Petr"));
  EXPECT_EQ(s.grid.text(4, 6), "2 ");
  EXPECT_EQ(s.grid.fontColor(4, 6), s.weights[static_cast<std::size_t>(s.weightDown - 1)].color);
  EXPECT_NE(s.grid.text(g.averageCol(), 6), "7");
  EXPECT_EQ(s.grid.text(g.noteCol(), 6), "7");
  EXPECT_NE(s.grid.text(2, 7), "x");
  ASSERT_GE(s.Memo1.size(), 3u);
  EXPECT_EQ(s.Memo1[s.Memo1.size() - 2], cp("Vkládaný blok přesahuje tabulku: 1 buňka vynechána."));
  EXPECT_EQ(s.Memo1.back(), cp("Záhlaví a statistiky se nepřepisují: 4 buňky vynechány."));
  EXPECT_TRUE(HasUnsavedEdits(s));
}

}  // namespace
