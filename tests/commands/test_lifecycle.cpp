// The window's lifecycle through its own events: first activation, tab
// switches, close and a new start keep every tab's data.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "commands/commands.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "workspace/datafolder.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"
#include "workspace/workfiles.h"

using namespace vekla;

namespace {

struct Lifecycle : ::testing::Test {
  QTemporaryDir dir;
  test::ScriptedPrompter p;
  void SetUp() override { SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0))); }
  void TearDown() override { SetNow(QDateTime()); }

  VeklaState start() {
    VeklaState s;
    InitControls(s);
    FormCreate(s, dir.path());
    RunCommand(s, p, [&] { FormActivate(s, p); });
    return s;
  }
};

}  // namespace

TEST_F(Lifecycle, FirstStartShowsFreshGradeBook) {
  VeklaState s = start();
  EXPECT_EQ(s.kind, DbKind::Znamky);
  EXPECT_EQ(s.grid.rowCount(), 11);
  EXPECT_EQ(s.grid.colCount(), 8);
  for (int r = 4; r <= 8; ++r) EXPECT_EQ(s.grid.text(2, r), cp("Nový záznam"));
  EXPECT_EQ(s.grid.text(3, 1), "9.3");
  EXPECT_EQ(s.caption, cp("2. pol. 2025/2026"));
  EXPECT_TRUE(p.errors.empty());
}

TEST_F(Lifecycle, TabSwitchesAndRestartKeepEverything) {
  {
    VeklaState s = start();
    // A grade in the first weight's colour, a renamed student, a note, a
    // changed weight, band and highlight colour.
    StringAlignGridSelectCell(s, {3, 4});
    s.grid.setText(3, 4, "1");
    StringAlignGridAfterEdit(s, {3, 4});
    s.grid.setText(2, 5, cp("Dvořák Petr"));
    StringAlignGridAfterEdit(s, {2, 5});
    s.grid.setText(6, 6, cp("pozdní příchody"));
    s.memoPoznamka = {cp("první řádek"), cp("druhý řádek")};
    s.weights[1].text = "2,50";
    s.znamky2.setText(2, 0, "2,2");
    s.shape1 = rgbHex(0x336699);
    LayoutGrades(s);
    const std::string avg = s.grid.text(4, 4);
    EXPECT_EQ(avg, "1,000");

    RunCommand(s, p, [&] { TabSet1Change(s, p, 3); });
    EXPECT_EQ(s.kind, DbKind::Kalendar);
    EXPECT_EQ(s.grid.rowCount(), 367);
    s.grid.setText(1, 60, cp("Přestupný den"));
    RunCommand(s, p, [&] { TabSet1Change(s, p, 0); });
    ASSERT_EQ(s.kind, DbKind::Znamky);

    auto checkGrades = [&](VeklaState& g) {
      EXPECT_EQ(g.grid.text(3, 4), "1 ");
      EXPECT_EQ(g.grid.fontColor(3, 4), rgbHex(0xFF0000));
      EXPECT_EQ(g.grid.text(2, 5), cp("Dvořák Petr"));
      EXPECT_EQ(g.grid.text(0, 5), cp("2. Dvořák "));
      EXPECT_EQ(g.grid.text(6, 6), cp("pozdní příchody"));
      EXPECT_EQ(g.memoPoznamka, (std::vector<std::string>{cp("první řádek"), cp("druhý řádek")}));
      EXPECT_EQ(g.weights[1].text, "2,50");
      EXPECT_EQ(g.znamky2.text(2, 0), "2,2");
      EXPECT_EQ(g.shape1, rgbHex(0x336699));
      EXPECT_EQ(g.grid.brush(2, 5), rgbHex(0x336699));
      EXPECT_EQ(g.semesterItems, std::vector<std::string>{cp("2. pol. 2025/2026")});
      EXPECT_EQ(g.grid.text(4, 4), "1,000");
    };
    checkGrades(s);
    RunCommand(s, p, [&] { FormClose(s, p); });
    ASSERT_TRUE(p.errors.empty()) << p.errors.front();
  }
  VeklaState again = start();
  ASSERT_EQ(again.kind, DbKind::Znamky);
  EXPECT_EQ(again.grid.text(3, 4), "1 ");
  EXPECT_EQ(again.grid.text(2, 5), cp("Dvořák Petr"));
  EXPECT_EQ(again.memoPoznamka.size(), 2u);
  EXPECT_EQ(again.weights[1].text, "2,50");
  EXPECT_EQ(again.shape1, rgbHex(0x336699));
  RunCommand(again, p, [&] { TabSet1Change(again, p, 3); });
  EXPECT_EQ(again.grid.text(1, 60), cp("Přestupný den"));
  EXPECT_EQ(again.grid.text(0, 60), "29.2.");
  EXPECT_TRUE(p.errors.empty());
}

TEST_F(Lifecycle, CloseRemembersTabAndFirstFolder) {
  {
    VeklaState s = start();
    RunCommand(s, p, [&] { TabSet1Change(s, p, 2); });
    s.adresar1 = dir.path() + "/palm";
    RunCommand(s, p, [&] { FormClose(s, p); });
  }
  VeklaState s = start();
  EXPECT_EQ(s.kind, DbKind::Rozvrh);
  EXPECT_EQ(s.adresar1, dir.path() + "/palm");
  EXPECT_EQ(s.grid.rowCount(), 24);
  EXPECT_EQ(s.grid.text(2, 2), "07:50");
}

TEST_F(Lifecycle, GridButtonsFollowTheSelectedCell) {
  VeklaState s = start();
  StringAlignGridSelectCell(s, {2, 5});  // a name
  EXPECT_FALSE(s.control(Ctl::SpeedItemPridatSloupec).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemDatum).enabled);
  StringAlignGridSelectCell(s, {3, 5});  // a grade, but only one grade column
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatSloupec).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemOdebratSloupec).enabled);
  SpeedItemPridatSloupecClick(s);
  EXPECT_EQ(s.grid.colCount(), 9);
  EXPECT_EQ(s.grid.text(4, 0), "2");
  EXPECT_EQ(s.grid.text(4, 1), "9.3");
  StringAlignGridSelectCell(s, {4, 5});
  EXPECT_TRUE(s.control(Ctl::SpeedItemOdebratSloupec).enabled);

  // Inserting after two removals numbers the new student from the highest number given.
  p.questionAnswers = {true, true};
  StringAlignGridSelectCell(s, {2, 8});
  SBDeleteClick(s, p);
  StringAlignGridSelectCell(s, {2, 7});
  SBDeleteClick(s, p);
  EXPECT_EQ(s.grid.rowCount(), 9);
  StringAlignGridSelectCell(s, {2, 5});
  SBInsertClick(s);
  EXPECT_EQ(s.grid.text(1, 6), "6");
  EXPECT_EQ(s.grid.text(0, 6), cp("6. Nový"));

  // The timetable never loses a row: its button is off and asks nothing.
  RunCommand(s, p, [&] { TabSet1Change(s, p, 2); });
  p.questionAnswers = {true};
  StringAlignGridSelectCell(s, {3, 5});
  EXPECT_EQ(SBDeleteClick(s, p), Outcome::Refused);
  EXPECT_EQ(s.grid.rowCount(), 24);
  EXPECT_EQ(p.questions.size(), 2u);
}

// A semester that cannot be stored is reported, but the grid and the
// settings are still saved when the window closes.
TEST_F(Lifecycle, CloseSavesTheGridWhenTheSemesterCannotBeStored) {
  {
    VeklaState s = start();
    s.grid.setText(2, 5, cp("Dvořák Petr"));
    s.semesterItems.clear();
    s.semesterItemIndex = -1;
    s.adresar1 = dir.path() + "/palm";
    RunCommand(s, p, [&] { FormClose(s, p); });
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_NE(toUtf8(p.errors[0]).find("Pololetí č. 0"), std::string::npos) << toUtf8(p.errors[0]);
  }
  p.errors.clear();
  VeklaState again = start();
  EXPECT_EQ(again.grid.text(2, 5), cp("Dvořák Petr"));
  EXPECT_EQ(again.adresar1, dir.path() + "/palm");
}

TEST_F(Lifecycle, NewStartsWithoutThePreviousNoteAndTimetablePanel) {
  VeklaState s = start();
  s.memoPoznamka = {cp("třída jede na výlet")};
  RunCommand(s, p, [&] { NovyClick(s, p); });
  EXPECT_TRUE(s.memoPoznamka.empty());

  RunCommand(s, p, [&] { TabSet1Change(s, p, 2); });
  s.EditRozvrhPolozka = "7.A";
  s.EditRozvrhLS = "Rozvrh";
  s.shapeRozvrh = rgbHex(0x00FF00);
  s.lichyTyden = false;
  s.rozlisovatTydny = true;
  // A tab switch keeps the panel through the extras file ...
  RunCommand(s, p, [&] { TabSet1Change(s, p, 3); });
  RunCommand(s, p, [&] { TabSet1Change(s, p, 2); });
  EXPECT_EQ(s.EditRozvrhPolozka, "7.A");
  EXPECT_EQ(s.shapeRozvrh, rgbHex(0x00FF00));
  EXPECT_FALSE(s.lichyTyden);
  EXPECT_TRUE(s.rozlisovatTydny);
  // ... and "Nový" empties it.
  RunCommand(s, p, [&] { NovyClick(s, p); });
  EXPECT_EQ(s.EditRozvrhPolozka, "");
  EXPECT_EQ(s.EditRozvrhLS, "");
  EXPECT_EQ(s.shapeRozvrh, kWhite);
  EXPECT_TRUE(s.lichyTyden);
  EXPECT_FALSE(s.rozlisovatTydny);
  EXPECT_TRUE(p.errors.empty());
}

TEST_F(Lifecycle, DamagedContainerThroughTheOpenCommandChangesNothing) {
  VeklaState s = start();
  s.grid.setText(2, 4, cp("Jana Veselá"));
  RunCommand(s, p, [&] { SaveKind(s); });
  s.Memo1 = {cp("dřívější řádek")};
  const QString common = DataDir(s) + "Znamky-.txt";
  QFile before(common);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray savedBefore = before.readAll();
  before.close();

  // A header that promises records the file does not have.
  const QString bad = dir.path() + "/Znamky-7a.PDB";
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  QByteArray header(78, '\0');
  header.replace(0, 9, "Znamky-7a");
  header[77] = 5;
  f.write(header);
  f.close();

  p.openAnswers = {bad};
  RunCommand(s, p, [&] { OtevriClick1(s, p); });
  ASSERT_EQ(p.errors.size(), 1u);
  EXPECT_NE(toUtf8(p.errors[0]).find("Znamky-7a.PDB"), std::string::npos);
  EXPECT_EQ(s.grid.text(2, 4), cp("Jana Veselá"));
  EXPECT_EQ(s.Memo1, std::vector<std::string>{cp("dřívější řádek")});
  EXPECT_TRUE(s.adresar1.isEmpty());
  QFile after(common);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), savedBefore);

  // A cancelled dialog changes nothing either.
  RunCommand(s, p, [&] { OtevriClick2(s, p); });
  EXPECT_EQ(s.Memo1.size(), 1u);

  // A database of another kind is refused by name; one of no kind is read.
  header[60] = 'd', header[61] = 'a', header[62] = 't', header[63] = 'a';
  const struct {
    const char* creator;
    const char* message;  // nullptr: read as a grade book
  } kinds[] = {{"TqbK", "Soubor Znamky-7a.PDB je rozvrh, ne databáze známek."},
               {"TqbR", "Soubor Znamky-7a.PDB je rozpis, ne databáze známek."},
               {"abcd", nullptr}};
  for (const auto& k : kinds) {
    header.replace(64, 4, k.creator);
    header[77] = 0;
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(header);
    f.close();
    p.messages.clear();
    p.openAnswers = {bad};
    const Outcome outcome = RunCommand(s, p, [&] { return OtevriClick1(s, p); });
    if (k.message) {
      EXPECT_EQ(outcome, Outcome::Refused);
      EXPECT_EQ(p.messages, std::vector<std::string>{cp(k.message)});
      EXPECT_EQ(s.grid.text(2, 4), cp("Jana Veselá"));
    } else {
      EXPECT_EQ(outcome, Outcome::Done);
      EXPECT_EQ(s.grid.rowCount(), 6);
    }
  }
}
