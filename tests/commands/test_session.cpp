// The window's title, the question before closing with unsaved tabs, the
// recent files, and files dropped on the window.
#include <gtest/gtest.h>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/kindtable.h"
#include "commands/sessioncommands.h"
#include "support/kindsfixture.h"
#include "workspace/recentfiles.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class Session : public KindTest {
 protected:
  Session() : KindTest(DbKind::Rozvrh) {}

  // A database of the kind, saved by the program itself.
  QString Database(DbKind kind, const char* name) {
    VeklaState t = s;
    SetupTab(t, kind);
    t.EditN = name;
    p.saveAnswers = {path(name) + ".PDB"};
    EXPECT_EQ(KindTable(kind).save(t, p), Outcome::Done);
    return path(name) + ".PDB";
  }
  Histories h;
};

TEST_F(Session, TitleAndCloseQuestion) {
  // Started on the timetable, the grade book still shows its own semester.
  s.EditN = "Vekla-A";
  EXPECT_EQ(WindowTitle(s), cp("Rozvrh – Vekla-A"));
  SetupTab(s, DbKind::Znamky);
  s.EditN = "Znamky-7a";
  s.semesterText = "1. pol. 2004/2005";
  EXPECT_EQ(WindowTitle(s), cp("1. pol. 2004/2005 – Znamky-7a"));

  const struct {
    std::array<bool, 4> unsaved;
    const char* question;
  } cases[] = {
      {{false, false, false, false}, ""},
      {{false, false, true, false}, "Rozvrh není uložen do PDB. Přesto zavřít?"},
      {{false, true, false, false}, "Rozpisy nejsou uloženy do PDB. Přesto zavřít?"},
      {{true, true, true, false}, "Známky, Rozpisy a Rozvrh nejsou uloženy do PDB. Přesto zavřít?"},
  };
  for (const auto& c : cases) {
    s.unsaved = c.unsaved;
    EXPECT_EQ(CloseQuestion(s), cp(c.question));
  }
}

TEST_F(Session, DroppedAndRecentFilesOpenOnTheirTab) {
  const QString plan = Database(DbKind::Rozpisy, "Rozpisy-F");
  const QString grades = Database(DbKind::Znamky, "Znamky-7a");
  // Both saves are remembered, the newest first.
  EXPECT_EQ(RecentFiles(s), std::vector<QString>{});  // the copies remembered them, not `s`
  RememberRecentFile(s, plan);
  RememberRecentFile(s, grades);
  RememberRecentFile(s, plan);
  EXPECT_EQ(RecentFiles(s), (std::vector<QString>{plan, grades}));
  for (int i = 0; i < 10; ++i) RememberRecentFile(s, path("x") + QString::number(i) + ".PDB");
  EXPECT_EQ(RecentFiles(s).size(), 8u);

  // Each kind's database dropped on another tab opens on its own tab.
  const QString timetable = Database(DbKind::Rozvrh, "Vekla-A");
  const QString calendar = Database(DbKind::Kalendar, "vekla-datum");
  const struct {
    QString file;
    DbKind from, to;
    const char* name;
  } drops[] = {{plan, DbKind::Rozvrh, DbKind::Rozpisy, "Rozpisy-F"},
               {grades, DbKind::Kalendar, DbKind::Znamky, "Znamky-7a"},
               {timetable, DbKind::Znamky, DbKind::Rozvrh, "Vekla-A"},
               {calendar, DbKind::Rozpisy, DbKind::Kalendar, "vekla-datum"}};
  for (const auto& d : drops) {
    SetupTab(s, d.from);
    EXPECT_EQ(OpenGivenFile(s, p, h, d.file), Outcome::Done) << d.name;
    EXPECT_EQ(s.kind, d.to) << d.name;
    EXPECT_EQ(s.EditN, d.name);
    EXPECT_EQ(RecentFiles(s).front(), d.file);
  }
  // The tab's own unsaved edits are asked about first.
  MarkEdited(s);
  EXPECT_EQ(OpenGivenFile(s, p, h, calendar), Outcome::Cancelled);
  EXPECT_EQ(p.defaultNoQuestions.back(), cp("Zahodit neuložené změny?"));
  SetupTab(s, DbKind::Rozpisy);
  EXPECT_EQ(OpenGivenFile(s, p, h, plan), Outcome::Done);
  // A file gone since leaves the list with a message.
  QFile::remove(grades);
  RememberRecentFile(s, grades);
  EXPECT_EQ(OpenGivenFile(s, p, h, grades), Outcome::Refused);
  EXPECT_EQ(RecentFiles(s).front(), plan);
  ASSERT_FALSE(p.messages.empty());
  EXPECT_NE(p.messages.back().find(cp("už neexistuje")), std::string::npos);
  // A CSV file is imported into the tab shown.
  WriteBytes(path("f.csv"), cp("1;Úvod;1.9.2025;;1;1;1;0\r\n"));
  EXPECT_EQ(OpenGivenFile(s, p, h, path("f.csv")), Outcome::Done);
  EXPECT_EQ(s.grid.text(2, 1), cp("Úvod"));
}

// A database dropped for another tab whose edits are not saved asks about
// that tab, naming it, before the window leaves the tab shown; No leaves
// everything as it was.
TEST_F(Session, ADroppedDatabaseAsksAboutTheTabItReplaces) {
  const QString plan = Database(DbKind::Rozpisy, "Rozpisy-F");
  s.unsaved[static_cast<std::size_t>(DbKind::Rozpisy)] = true;
  p.questionAnswers = {false, true};
  EXPECT_EQ(OpenGivenFile(s, p, h, plan), Outcome::Cancelled);
  EXPECT_EQ(p.defaultNoQuestions, std::vector<std::string>{cp("Zahodit neuložené změny na kartě Rozpisy?")});
  EXPECT_EQ(s.kind, DbKind::Rozvrh);
  EXPECT_EQ(OpenGivenFile(s, p, h, plan), Outcome::Done);
  EXPECT_EQ(p.defaultNoQuestions.size(), 2u);
  EXPECT_EQ(s.kind, DbKind::Rozpisy);
  EXPECT_EQ(s.EditN, "Rozpisy-F");
}

// The grade book's CSV export asks for two files; cancelling the first
// dialog cancels the export.
TEST_F(Session, CancellingTheFirstCsvDialogEndsTheExport) {
  SetupTab(s, DbKind::Znamky);
  p.saveAnswers = {std::nullopt};
  EXPECT_EQ(ConvertClick(s, p, Conversion::ExportCsv), Outcome::Cancelled);
  EXPECT_EQ(p.saveRequests.size(), 1u);
}

// Only the column sorted last carries a mark, and an import leaves none;
// the grade book's two CSV dialogs say what each saves.
TEST_F(Session, SortMarksAndTheValuesDialog) {
  SetupTab(s, DbKind::Rozpisy);
  ColumnTitleClick(s, 2);
  ColumnTitleClick(s, 3);
  EXPECT_EQ(s.grid.text(2, 0), cp("Téma"));
  EXPECT_EQ(s.grid.text(3, 0), "+ Datum");
  WriteBytes(path("f.csv"), "1;A;;;;;;0\r\n");
  p.questionAnswers = {true};  // the sorted rows are an edit
  EXPECT_EQ(OpenGivenFile(s, p, h, path("f.csv")), Outcome::Done);
  EXPECT_EQ(s.grid.text(3, 0), "Datum");

  SetupTab(s, DbKind::Znamky);
  p.saveAnswers = {path("7A.csv"), std::nullopt};
  ConvertClick(s, p, Conversion::ExportCsv);
  ASSERT_EQ(p.saveRequests.size(), 2u);
  EXPECT_EQ(p.saveRequests[1].title, cp("Uložit hodnoty známek jako"));
  EXPECT_NE(p.saveRequests[0].title, p.saveRequests[1].title);
}

}  // namespace
