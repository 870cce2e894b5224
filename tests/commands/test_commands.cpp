// The grid tool buttons, the row and column commands, the highlight colour
// and the hand-off to the handheld's synchronisation.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "commands/commands.h"
#include "pdb/clock.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "workspace/gradestats.h"
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
      {133, 11, 3, 4, false, false, true, true, true, true},
      {134, 11, 3, 4, false, false, true, true, true, false},  // at most 127 grade columns, as the database keeps
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
      {9, 2, 2, true, true, true},    {9, 8, 3, true, true, true},
      {9, 2, 1, false, true, true},   {9, 2, 4, false, true, true},
      {3, 2, 4, false, true, false},  // at least 3 columns
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

// The weight whose button is down goes to a grade cell that is clicked or
// typed into, never to one the cursor merely moves onto; the averages follow.
TEST_F(Commands, AGradeTakesTheCurrentWeightByClickOrTypingOnly) {
  SetupTab(s, DbKind::Znamky);
  s.weights[1].text = "3,00";
  s.weightDown = 2;
  const Color red = rgbHex(0xFF0000), blue = rgbHex(0x0000FF);
  const struct {
    const char* what;
    void (*act)(VeklaState&, CellPos);
    CellPos at;
    Color colour;  // afterwards
  } cases[] = {
      {"moving onto a grade", [](VeklaState& v, CellPos a) { StringAlignGridSelectCell(v, a); }, {3, 5}, red},
      {"clicking a grade", [](VeklaState& v, CellPos a) { GradeCellClicked(v, GridClick{a}); }, {3, 5}, blue},
      {"typing a grade", [](VeklaState& v, CellPos a) { StringAlignGridAfterEdit(v, a); }, {3, 5}, blue},
      {"clicking a name", [](VeklaState& v, CellPos a) { GradeCellClicked(v, GridClick{a}); }, {2, 5}, kBlack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (int r : {4, 5}) {
      s.grid.setText(3, r, "1 ");
      s.grid.setFontColor(3, r, red);
    }
    s.grid.setText(3, 6, "5 ");
    s.grid.setFontColor(3, 6, red);
    ComputeStatistics(s);
    s.unsaved = {};
    c.act(s, c.at);
    EXPECT_EQ(s.grid.fontColor(c.at.col, c.at.row), c.colour);
    const bool changed = c.colour == blue;
    // Grades 1, 1 and 5; the second 1 at weight 1,00 or, given weight 2, at 3,00.
    EXPECT_EQ(s.grid.text(3, s.grid.rowCount() - 2), changed ? "1,800" : "2,333");
    EXPECT_EQ(HasUnsavedEdits(s), changed || std::string(c.what) == "typing a grade");
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
  EXPECT_EQ(p.questions.back(), cp("Odstranit sloupec 4?"));
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
  EXPECT_EQ(p.questions, (std::vector<std::string>{cp("Odstranit řádek 3?"), cp("Odstranit řádek 3?")}));
}

TEST_F(Commands, HotSyncHandsTheFileOver) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QByteArray oldHome = qgetenv("JPILOT_HOME");
  qputenv("JPILOT_HOME", home.path().toLocal8Bit());
  s.adresar1 = home.path() + "/palm";
  const QString file = home.path() + "/palm/Znamky-7A.PDB";

  // Without J-Pilot, with the desktop software's folder set, the file goes
  // to the shell's "open".
  s.settings.set("PalmDesktop", "Path", fromQt(home.path() + "/palm"));
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
  s.settings.removeKey("PalmDesktop", "Path");
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

namespace {

// "Hodiny" and "Datum" preset their fields from the selected cell and write
// their result into it; the date is cut to the month's length.
TEST_F(Commands, TimeAndDateDialogsFillTheSelectedCell) {
  const struct {
    DbKind kind;
    CellPos at;
    const char* before;
    bool time;
    std::optional<TimeOfDay> timeAnswer;
    std::optional<DayMonth> dateAnswer;
    int presetA, presetB, step;  // what the dialog was shown with
    const char* after;
  } cases[] = {
      {DbKind::Znamky, {3, 2}, "", true, TimeOfDay{8, 5}, {}, 0, 0, 1, "08:05"},
      {DbKind::Znamky, {3, 2}, "07:50", true, TimeOfDay{13, 0}, {}, 7, 50, 1, "13:00"},
      {DbKind::Rozvrh, {2, 2}, "07:50", true, TimeOfDay{7, 55}, {}, 7, 50, 5, "07:55"},
      {DbKind::Znamky, {3, 2}, "07:50", true, std::nullopt, {}, 7, 50, 1, "07:50"},  // Storno
      {DbKind::Znamky, {3, 1}, "5.9", false, {}, DayMonth{31, 2}, 5, 9, 0, "29.2"},
      {DbKind::Znamky, {3, 1}, "", false, {}, DayMonth{31, 11}, 31, 2, 0, "30.11"},  // the last values
      {DbKind::Znamky, {3, 1}, "1.x", false, {}, DayMonth{31, 12}, 1, 11, 0, "31.12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    if (s.kind != c.kind || s.prefix.empty()) SetupTab(s, c.kind);
    s.grid.setText(c.at, c.before);
    StringAlignGridSelectCell(s, c.at);
    if (c.time) {
      p.timeAnswers = {c.timeAnswer};
      SpeedItemHodinyClick(s, p);
      ASSERT_FALSE(p.timePresets.empty());
      EXPECT_EQ(p.timePresets.back().first.hours, c.presetA);
      EXPECT_EQ(p.timePresets.back().first.minutes, c.presetB);
      EXPECT_EQ(p.timePresets.back().second, c.step);
    } else {
      p.dateAnswers = {c.dateAnswer};
      SpeedItemDatumClick(s, p);
      ASSERT_FALSE(p.datePresets.empty());
      EXPECT_EQ(p.datePresets.back().day, c.presetA);
      EXPECT_EQ(p.datePresets.back().month, c.presetB);
    }
    EXPECT_EQ(s.grid.text(c.at), c.after);
  }
}

// "Nový" and opening ask before they throw away edits not yet saved to a
// database; after a save they do not ask.
TEST_F(Commands, UnsavedEditsAreAskedAboutBeforeNew) {
  QTemporaryDir dir;
  s.programDir = dir.path() + "/";
  SetupTab(s, DbKind::Rozpisy);
  NovyClick(s, p);
  EXPECT_TRUE(p.questions.empty());

  s.grid.setText(2, 1, "Zlomky");
  StringAlignGridAfterEdit(s, {2, 1});
  EXPECT_EQ(NovyClick(s, p), Outcome::Cancelled);  // No
  EXPECT_EQ(p.questions, std::vector<std::string>{cp("Zahodit neuložené změny?")});
  EXPECT_EQ(s.grid.text(2, 1), "Zlomky");
  EXPECT_EQ(OtevriClick1(s, p), Outcome::Cancelled);
  EXPECT_EQ(p.questions.size(), 2u);
  EXPECT_TRUE(p.openRequests.empty());

  p.saveAnswers = {dir.path() + "/Rozpisy-a.PDB"};
  EXPECT_EQ(UlozClick(s, p), Outcome::Done);
  EXPECT_EQ(NovyClick(s, p), Outcome::Done);
  EXPECT_EQ(p.questions.size(), 2u);
  EXPECT_EQ(s.grid.text(2, 1), "");
}

}  // namespace
