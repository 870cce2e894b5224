// The grid tool buttons, the row and column commands, the highlight colour
// and the hand-off to the handheld's synchronisation.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pdb/clock.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "commands/commands.h"
#include "workspace/setup.h"

using namespace vekla;

namespace {

struct Commands : ::testing::Test {
  VeklaState s;
  test::ScriptedPrompter p;
  void SetUp() override {
    SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0)));
    InitControls(s);
  }
  void TearDown() override { SetNow(QDateTime()); }
  bool on(Ctl name) { return s.control(name).enabled; }
};

TEST_F(Commands, GradeButtonsFollowTheSelectedCell) {
  SetupTab(s, DbKind::Znamky);
  struct Case {
    int C, R, col, row;
    bool hodiny, datum, odstranitRadek, pridatRadek, odebratSloupec, pridatSloupec;
  } cases[] = {
      {8, 11, 2, 5, false, false, true, true, false, false},    // a name
      {8, 11, 3, 1, false, true, false, false, false, true},    // the date of the only grade column
      {9, 11, 4, 2, true, false, false, false, true, true},     // a start time
      {9, 11, 3, 3, true, false, false, false, true, true},     // an end time
      {9, 11, 5, 2, false, false, false, false, false, false},  // the average column
      {8, 11, 3, 8, false, false, true, true, false, true},     // the last student
      {8, 11, 3, 9, false, false, false, false, false, true},   // the averages row
      {8, 7, 3, 4, false, false, false, true, false, true},     // one student left
      {8, 8, 3, 4, false, false, true, true, false, true},      // two students
      {134, 11, 3, 4, false, false, true, true, true, true},
      {135, 11, 3, 4, false, false, true, true, true, false},   // at most 135 columns
  };
  for (const auto& c : cases) {
    s.grid.setColCount(c.C);
    s.grid.setRowCount(c.R);
    StringAlignGridSelectCell(s, {c.col, c.row});
    SCOPED_TRACE(testing::Message() << c.C << "x" << c.R << " at " << c.col << "," << c.row);
    EXPECT_EQ(on(Ctl::SpeedItemHodiny), c.hodiny);
    EXPECT_EQ(on(Ctl::SpeedItemDatum), c.datum);
    EXPECT_EQ(on(Ctl::SpeedItemOdstranitRadek), c.odstranitRadek);
    EXPECT_EQ(on(Ctl::SpeedItemPridatRadek), c.pridatRadek);
    EXPECT_EQ(on(Ctl::SpeedItemOdebratSloupec), c.odebratSloupec);
    EXPECT_EQ(on(Ctl::SpeedItemPridatSloupec), c.pridatSloupec);
  }
}

TEST_F(Commands, TimetableButtonsFollowTheSelectedCell) {
  SetupTab(s, DbKind::Rozvrh);
  struct Case {
    int C, col, row;
    bool hodiny, pridatSloupec, odebratSloupec;
  } cases[] = {
      {9, 1, 5, false, true, false},  // a day name
      {9, 2, 2, true, true, true},    {9, 8, 3, true, true, true}, {9, 2, 1, false, true, true},
      {9, 2, 4, false, true, true},   {3, 2, 4, false, true, false},  // at least 3 columns
      {4, 2, 4, false, true, true},   {25, 2, 4, false, true, true},
      {26, 2, 4, false, false, true},  // at most 26 columns
  };
  for (const auto& c : cases) {
    s.grid.setColCount(c.C);
    StringAlignGridSelectCell(s, {c.col, c.row});
    SCOPED_TRACE(testing::Message() << c.C << " at " << c.col << "," << c.row);
    EXPECT_EQ(on(Ctl::SpeedItemHodiny), c.hodiny);
    EXPECT_EQ(on(Ctl::SpeedItemPridatSloupec), c.pridatSloupec);
    EXPECT_EQ(on(Ctl::SpeedItemOdebratSloupec), c.odebratSloupec);
  }
}

TEST_F(Commands, SelectingAGradeCellGivesItTheCurrentWeight) {
  SetupTab(s, DbKind::Znamky);
  s.weightDown = 2;
  s.grid.setText(3, 5, "1 ");
  s.grid.setFontColor(3, 5, rgbHex(0xFF0000));
  StringAlignGridSelectCell(s, {3, 5});
  // The selected cell shows inverted: the colours it had before the weight.
  EXPECT_EQ(s.grid.selectedCellColor, rgbHex(0xFF0000));
  EXPECT_EQ(s.grid.selectedFontColor, rgbHex(0xEFFFFF));
  EXPECT_EQ(s.grid.fontColor(3, 5), rgbHex(0x0000FF));
  // Names, dates and averages keep their colours.
  for (auto [col, row] : {std::pair{2, 5}, {3, 1}, {4, 5}, {3, 9}}) {
    const Color before = s.grid.fontColor(col, row);
    StringAlignGridSelectCell(s, {col, row});
    EXPECT_EQ(s.grid.fontColor(col, row), before) << col << "," << row;
  }
}

TEST_F(Commands, TimetableColumnsAndLessonColour) {
  SetupTab(s, DbKind::Rozvrh);
  CellGrid& g = s.grid;
  g.setText(4, 9, cp("Čeština"));
  StringAlignGridSelectCell(s, {3, 9});
  SpeedItemPridatSloupecClick(s);
  ASSERT_EQ(g.colCount(), 10);
  EXPECT_EQ(g.text(4, 0), "3");
  EXPECT_EQ(g.text(9, 0), "8");
  EXPECT_EQ(g.text(4, 9), "");
  EXPECT_EQ(g.text(5, 9), cp("Čeština"));
  for (int r = 1; r < 24; ++r) EXPECT_EQ(g.brush(4, r), kWhite) << r;

  // No keeps the column; Yes removes the selected one.
  StringAlignGridSelectCell(s, {5, 9});
  SpeedItemOdebratSloupecClick(s, p);
  EXPECT_EQ(p.questions.back(), cp("Odstranit sloupec?"));
  EXPECT_EQ(g.colCount(), 10);
  p.questionAnswers = {true};
  SpeedItemOdebratSloupecClick(s, p);
  ASSERT_EQ(g.colCount(), 9);
  EXPECT_EQ(g.text(5, 9), "");
  EXPECT_EQ(g.text(8, 0), "7");

  // The highlight colour paints the selected lesson's four rows.
  p.colorAnswers = {rgbHex(0x102030)};
  StringAlignGridSelectCell(s, {6, 14});
  SpeedButton1Click(s, p);
  EXPECT_EQ(s.shape1, rgbHex(0x102030));
  EXPECT_EQ(s.shape2, kWhite);
  for (int r = 11; r <= 16; ++r) {
    const bool lesson = r >= 12 && r <= 15;
    EXPECT_EQ(resolveColor(g.brush(6, r)), lesson ? rgbHex(0x102030) : kWhite) << r;
    EXPECT_EQ(resolveColor(g.fontColor(6, r)), lesson ? kWhite : kBlack) << r;
  }
  // A cancelled dialog and a cell above the lessons change nothing.
  SpeedButton1Click(s, p);
  EXPECT_EQ(s.shape1, rgbHex(0x102030));
  p.colorAnswers = {rgbHex(0xFFFF00)};
  StringAlignGridSelectCell(s, {6, 2});
  SpeedButton1Click(s, p);
  EXPECT_EQ(g.brush(6, 2), rgbHex(0xCCCCCC));
  EXPECT_EQ(g.brush(6, 4), kWhite);
}

TEST_F(Commands, TopicPlanRows) {
  SetupTab(s, DbKind::Rozpisy);
  CellGrid& g = s.grid;
  g.setText(2, 3, "Tema 3");
  StringAlignGridSelectCell(s, {2, 2});
  SBInsertClick(s);
  ASSERT_EQ(g.rowCount(), 12);
  EXPECT_EQ(g.text(2, 3), "");
  EXPECT_EQ(g.text(2, 4), "Tema 3");
  EXPECT_EQ(g.text(0, 11), "11");
  EXPECT_EQ(g.brush(1, 11), s.shape1);

  StringAlignGridSelectCell(s, {2, 3});
  SBDeleteClick(s, p);  // No
  EXPECT_EQ(g.rowCount(), 12);
  p.questionAnswers = {true};
  SBDeleteClick(s, p);
  ASSERT_EQ(g.rowCount(), 11);
  EXPECT_EQ(g.text(2, 3), "Tema 3");
  EXPECT_EQ(g.text(0, 10), "10");
  EXPECT_EQ(p.questions, (std::vector<std::string>{cp("Odstranit řádek?"), cp("Odstranit řádek?")}));
}

TEST_F(Commands, HotSyncHandsTheFileOver) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QByteArray oldHome = qgetenv("JPILOT_HOME");
  qputenv("JPILOT_HOME", home.path().toLocal8Bit());
  s.adresar1 = home.path() + "/palm";
  const QString file = home.path() + "/palm/Znamky-7A.PDB";

  // Without J-Pilot the file goes to the shell's "open".
  p.openAnswers = {std::nullopt, file};
  HotSync(s, p);
  EXPECT_TRUE(p.opened.empty());
  HotSync(s, p);
  ASSERT_EQ(p.openRequests.size(), 2u);
  EXPECT_EQ(p.openRequests[0].title, "Instalovat");
  EXPECT_EQ(p.openRequests[0].filter, "soubory PDB a PRC|*.PDB;*.PRC");
  EXPECT_EQ(p.openRequests[0].initialDir, s.adresar1);
  EXPECT_EQ(p.opened, std::vector<QString>{file});

  // With J-Pilot it is queued for the next synchronisation.
  ASSERT_TRUE(QDir(home.path()).mkpath(".jpilot"));
  WriteFileAtomic(home.path() + "/.jpilot/jpilot.install", "/old.pdb");
  p.openAnswers = {file};
  HotSync(s, p);
  EXPECT_EQ(p.opened.size(), 1u);
  EXPECT_EQ(ReadWholeFile(home.path() + "/.jpilot/jpilot.install"),
            "/old.pdb\n" + QFile::encodeName(file).toStdString() + "\n");
  ASSERT_EQ(p.messages.size(), 1u);
  EXPECT_NE(p.messages[0].find("Znamky-7A.PDB"), std::string::npos);

  if (oldHome.isNull()) qunsetenv("JPILOT_HOME");
  else qputenv("JPILOT_HOME", oldHome);
}

}  // namespace
