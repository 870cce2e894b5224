// The table of actions and the window's events, run headless through the
// dispatcher the window uses: the step each one leaves in the tab's history
// and its name, the rules that keep an action from running, keys bound
// once, the captions with their mnemonics and the tooltips.
#include <gtest/gtest.h>

#include <QDir>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "commands/actions.h"
#include "commands/windowevents.h"
#include "support/kindsfixture.h"
#include "workspace/gradegeometry.h"
#include "workspace/palmdesktop.h"
#include "workspace/semesters.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// The window as the commands see it: what they asked of it.
class FakeWindow : public WindowHost {
 public:
  std::vector<CellPos> selection;
  ClipboardContent board;
  std::vector<std::string> calls;

  std::vector<CellPos> selectedCells() const override { return selection; }
  void setClipboard(const ClipboardContent& c) override { board = c; }
  ClipboardContent clipboard() override { return board; }
  void showGradeOptions() override { calls.push_back("grade options"); }
  void showAbout() override { calls.push_back("about"); }
  bool showGuide(const QString& path) override {
    calls.push_back("guide " + QFileInfo(path).fileName().toStdString());
    return true;
  }
  void closeWindow() override { calls.push_back("close"); }
  void printPages() override { calls.push_back("print"); }
  void previewPages() override { calls.push_back("preview"); }
  void previewReport(const std::vector<int>& rows) override { calls.push_back("report" + Numbers(rows)); }
  void showClassOverview() override { calls.push_back("overview"); }

  static std::string Numbers(const std::vector<int>& rows) {
    std::string out;
    for (const int r : rows) out += " " + std::to_string(r);
    return out;
  }
};

// The printing library's PDF codecs, as the window puts them into the table
// of kinds, by fakes whose files say what they were made of: the pages of
// every kind and the report of the grade book (or of every kind), which
// names the students the state chose for it. Taken out again at the end.
class FakePrinting {
 public:
  enum Report { OfTheGradeBook, OfEveryKind };
  explicit FakePrinting(Report report = OfTheGradeBook) {
    for (const DbKind k : kAllKinds) {
      add(k, Conversion::ExportPdf, Pages);
      if (k == DbKind::Znamky || report == OfEveryKind) add(k, Conversion::ExportReport, Students);
    }
  }
  ~FakePrinting() {
    for (const auto& [k, c] : added_) AddExport(k, c, nullptr);
  }

 private:
  static ExportFiles Pages(const VeklaState&, const GradeDisplayOptions&) { return {{"tisk.pdf", "%PDF pages"}}; }
  static ExportFiles Students(const VeklaState& s, const GradeDisplayOptions&) {
    return {{"vypis.pdf", "%PDF report" + FakeWindow::Numbers(s.reportStudents)}};
  }
  void add(DbKind k, Conversion c, ExportCodec codec) {
    ASSERT_FALSE(KindTable(k).has(c)) << "the core library has no PDF codecs";
    AddExport(k, c, codec);
    added_.emplace_back(k, c);
  }
  std::vector<std::pair<DbKind, Conversion>> added_;
};

class ActionTable : public KindTest {
 protected:
  ActionTable() : KindTest(DbKind::Znamky) {}

  void SetUp() override {
    KindTest::SetUp();
    // The program's shipped files beside it, as an install has them.
    appDir = dir.path() + "/bin";
    QDir().mkpath(dir.path() + "/share/doc/vekla/manual");
    WriteBytes(dir.path() + "/share/doc/vekla/manual/index.html", "<html></html>");
    // A saved class of three with two grade columns.
    WriteBytes(path("7A.csv"),
               cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9\r\n;;08:00;09:00\r\n;;08:45;"
                  "09:45\r\n1;Adámková Eva;1 ;2 ;;;;0\r\n2;Bílý Jan;3 ;;;;;1\r\n3;Zeman Petr;5 ;4 ;;;;0\r\n"));
    p.openAnswers = {path("7A.csv")};
    ASSERT_EQ(Run(Ctl::MenuImportCSV).outcome, Outcome::Done);
    StoreSemester(s);
    MarkSaved(s);
    StartHistory(s, h);
    p = ScriptedPrompter();
  }

  StepResult Run(Ctl name) {
    ActionContext c{s, p, h, window, appDir, {}};
    return RunAction(c, name);
  }
  template <class Event>
  StepResult Raise(Event&& event) {
    ActionContext c{s, p, h, window, appDir, {}};
    return event(c);
  }
  const EditHistory& history() const { return h.of(s.kind); }
  std::string lastStep() const { return history().canUndo() ? toUtf8(history().undoLabel()) : "(none)"; }
  // How many steps the history can undo.
  int steps() const {
    VeklaState t = s;
    Histories g = h;
    int n = 0;
    for (; g.of(t.kind).canUndo(); ++n) g.of(t.kind).undo(t);
    return n;
  }
  void Select(int col, int row) { StringAlignGridSelectCell(s, {col, row}); }

  Histories h;
  FakeWindow window;
  QString appDir;
};

using G = GradeGeometry;

// Every row of the table runs its command through RunAction: a command
// that changes the tab leaves one step under its row's name, an open or
// "Nový" starts the history afresh, a save marks it saved, and commands
// that change nothing (exports, dialogs of the program) leave none.
TEST_F(ActionTable, EveryActionLeavesItsStep) {
  const FakePrinting printing;
  const int student = G::studentRow(1), grade = G::kFirstGradeCol;
  const QString pdb = path("Znamky-7A.PDB");
  // "Import z adresáře BackUp" opens in the backup folder.
  auto openBackup = [&](const QString& file) {
    s.settings.set(kPalmDesktopSection, kBackupKey, fromQt(dir.path()));
    p.openAnswers = {file};
  };
  struct Case {
    Ctl name;
    std::function<void()> arrange;
    Outcome outcome;
    const char* step;  // the step it left; "(none)" when it left none
    const char* call = "";
    std::function<void()> check = [] {};
  };
  const Case cases[] = {
      {Ctl::MenuNovy, [] {}, Outcome::Done, "(none)"},
      {Ctl::MenuOtevri, [&] { p.openAnswers = {pdb}; }, Outcome::Done, "(none)"},
      {Ctl::Otevt1, [&] { openBackup(pdb); }, Outcome::Done, "(none)"},
      {Ctl::MenuImportCSV, [&] { p.openAnswers = {path("7A.csv")}; }, Outcome::Done, "import CSV"},
      {Ctl::SpeedItemImport2, [&] { p.openAnswers = {path("7A.csv")}; }, Outcome::Done, "import CSV"},
      {Ctl::ExportCSV1,
       [&] {
         p.saveAnswers = {path("out.csv"), path("out-plus.csv")};
       },
       Outcome::Done, "(none)"},
      {Ctl::SpeedItemPHP, [&] { p.saveAnswers = {path("out.sql")}; }, Outcome::Done, "(none)"},
      // A change not yet a step becomes the saved state, no step.
      {Ctl::MenuUloz,
       [&] {
         s.EditN = "Znamky-7B";
         MarkEdited(s);
         p.saveAnswers = {path("saved.PDB")};
       },
       Outcome::Done, "(none)", "", [&] { EXPECT_TRUE(history().atSaved()); }},
      {Ctl::MenuZpet,
       [&] {
         Select(grade, student);
         Run(Ctl::SpeedItemPridatSloupec);
       },
       Outcome::Done, "(none)"},
      {Ctl::MenuZnovu,
       [&] {
         Select(grade, student);
         Run(Ctl::SpeedItemPridatSloupec);
         Run(Ctl::MenuZpet);
       },
       Outcome::Done, "přidání sloupce"},
      {Ctl::MenuVyjmout,
       [&] {
         window.selection = {{grade, student}, {grade, student + 1}};
         p.questionAnswers = {true};
       },
       Outcome::Done, "vyjmutí 2 buněk", "",
       // What was cut is on the clipboard, with its weights.
       [&] {
         EXPECT_EQ(window.board.text, "1 \n3 \n");
         EXPECT_EQ(window.board.weights, "1\n1\n");
       }},
      {Ctl::MenuKopirovat,
       [&] {
         window.selection = {{grade, student}, {grade + 1, student}};
       },
       Outcome::Done, "(none)", "", [&] { EXPECT_EQ(window.board.text, "1 \t2 \n"); }},
      {Ctl::MenuVlozit,
       [&] {
         window.selection = {{grade + 1, student + 1}, {grade, student + 2}};
         window.board = {"1\t2\r\n3\t4", ""};
         p.questionAnswers = {true};
       },
       Outcome::Done, "vložení 4 buněk", "",
       // The block starts at the top-left of the selection.
       [&] {
         EXPECT_EQ(s.grid.text(grade, student + 1), "1 ");
         EXPECT_EQ(s.grid.text(grade + 1, student + 2), "4 ");
       }},
      {Ctl::MenuTest, [&] { s.grid.setText(grade, student, "x"); }, Outcome::Done, "test tabulky"},
      {Ctl::MenuNastavZnamky, [] {}, Outcome::Done, "(none)", "grade options"},
      {Ctl::MenuSlozky, [] {}, Outcome::Cancelled, "(none)"},
      {Ctl::HotSync1, [] {}, Outcome::Cancelled, "(none)"},
      {Ctl::MenuPrirucka, [] {}, Outcome::Done, "(none)", "guide index.html"},
      {Ctl::MenuUvod, [] {}, Outcome::Cancelled, "(none)"},
      {Ctl::Oprogramu1, [] {}, Outcome::Done, "(none)", "about"},
      {Ctl::Konec1, [] {}, Outcome::Done, "(none)", "close"},
      // Printing changes nothing in the tab; the window prints and shows.
      {Ctl::MenuTisk, [] {}, Outcome::Done, "(none)", "print"},
      {Ctl::MenuNahledTisku, [] {}, Outcome::Done, "(none)", "preview"},
      {Ctl::MenuExportPdf, [&] { p.saveAnswers = {path("7A.pdf")}; }, Outcome::Done, "(none)", "",
       [&] { EXPECT_EQ(ReadBytes(path("7A.pdf")), "%PDF pages"); }},
      {Ctl::MenuVypisRodice, [] {}, Outcome::Done, "(none)", "report"},
      {Ctl::MenuVypisRodicePdf, [&] { p.saveAnswers = {path("vypis.pdf")}; }, Outcome::Done, "(none)", "",
       [&] { EXPECT_EQ(ReadBytes(path("vypis.pdf")), "%PDF report"); }},
      {Ctl::MenuPrehledTridy, [] {}, Outcome::Done, "(none)", "overview"},
      {Ctl::SpeedItemHodiny,
       [&] {
         Select(grade, G::kStartRow);
         p.timeAnswers = {TimeOfDay{7, 55}};
       },
       Outcome::Done, "čas"},
      {Ctl::SpeedItemDatum,
       [&] {
         Select(grade, G::kDateRow);
         p.dateAnswers = {DayMonth{3, 10}};
       },
       Outcome::Done, "datum"},
      {Ctl::SpeedItemBarva, [&] { p.colorAnswers = {rgbHex(0x99CCFF)}; }, Outcome::Done, "barva zvýraznění"},
      // Column widths are no step of the history.
      {Ctl::SpeedItem8, [&] { s.grid.setColWidth(grade, 300); }, Outcome::Done, "(none)"},
      {Ctl::SpeedItem9, [&] { Log(s, "x"); }, Outcome::Done, "(none)"},
      {Ctl::SpeedItemPridatRadek, [&] { Select(grade, student); }, Outcome::Done, "přidání řádku"},
      {Ctl::SpeedItemOdstranitRadek,
       [&] {
         Select(grade, student);
         p.questionAnswers = {true};
       },
       Outcome::Done, "odstranění řádku"},
      {Ctl::SpeedItemPridatSloupec, [&] { Select(grade, student); }, Outcome::Done, "přidání sloupce"},
      {Ctl::SpeedItemOdebratSloupec,
       [&] {
         Select(grade, student);
         p.questionAnswers = {true};
       },
       Outcome::Done, "odebrání sloupce"},
      // Tool buttons with a menu item do what it does.
      {Ctl::SpeedItemNovy, [] {}, Outcome::Done, "(none)"},
      {Ctl::SpeedItemOtevri1, [&] { p.openAnswers = {pdb}; }, Outcome::Done, "(none)"},
      {Ctl::SpeedItemOtevri2, [&] { openBackup(pdb); }, Outcome::Done, "(none)"},
      {Ctl::SpeedItemImport, [&] { p.openAnswers = {path("7A.csv")}; }, Outcome::Done, "import CSV"},
      // A change not yet a step becomes the saved state, no step.
      {Ctl::SpeedItemUlozPDB,
       [&] {
         s.EditN = "Znamky-7B";
         MarkEdited(s);
         p.saveAnswers = {path("saved.PDB")};
       },
       Outcome::Done, "(none)", "", [&] { EXPECT_TRUE(history().atSaved()); }},
      {Ctl::SpeedItemUlozCSV,
       [&] {
         p.saveAnswers = {path("out.csv"), path("out-plus.csv")};
       },
       Outcome::Done, "(none)"},
      {Ctl::SpeedItem3, [] {}, Outcome::Cancelled, "(none)"},
      {Ctl::SpeedItem12, [] {}, Outcome::Done, "(none)", "about"},
      {Ctl::SpeedItem13, [] {}, Outcome::Done, "(none)", "close"},
  };
  // The pages and workbooks go to a folder of their own, and open there.
  const std::set<Ctl> opening = {Ctl::MenuHtml, Ctl::SpeedItemHTML, Ctl::MenuExcel, Ctl::SpeedItemExcel};

  // A database to open, saved from the class.
  p.saveAnswers = {pdb};
  ASSERT_EQ(Run(Ctl::MenuUloz).outcome, Outcome::Done);
  const VeklaState start = s;
  const Histories startHistory = h;
  std::set<Ctl> covered = opening;
  for (const Case& c : cases) {
    SCOPED_TRACE(CtlName(c.name));
    covered.insert(c.name);
    s = start;
    h = startHistory;
    p = ScriptedPrompter();
    window = FakeWindow();
    c.arrange();
    const StepResult r = Run(c.name);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(lastStep(), c.step);
    EXPECT_EQ(steps(), std::string(c.step) == "(none)" ? 0 : 1);
    EXPECT_EQ(window.calls, c.call[0] ? std::vector<std::string>{c.call} : std::vector<std::string>{});
    EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    c.check();
  }
  std::set<Ctl> all;
  for (const ActionDef& a : Actions()) all.insert(a.name);
  EXPECT_EQ(covered, all) << "an action of the table has no case here";
}

// The pages and workbooks: no step, the files where the format puts them.
TEST_F(ActionTable, ExportsLeaveNoStep) {
  s.exportDir = dir.path() + "/export/";
  for (Ctl name : {Ctl::MenuHtml, Ctl::SpeedItemHTML, Ctl::MenuExcel, Ctl::SpeedItemExcel}) {
    SCOPED_TRACE(CtlName(name));
    const StepResult r = Run(name);
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_FALSE(history().canUndo());
  }
  EXPECT_TRUE(QFileInfo(dir.path() + "/export/html").isDir());
  EXPECT_TRUE(QFileInfo(dir.path() + "/export/excel").isDir());
}

// An action whose rule says no runs nothing: no dialog, no step, no change.
TEST_F(ActionTable, ARuleThatSaysNoRunsNothing) {
  struct Case {
    const char* what;
    DbKind kind;
    std::function<void()> arrange;
    Ctl name;
  } cases[] = {
      {"control disabled", DbKind::Znamky, [&] { Select(G::kNameCol, G::kDateRow); }, Ctl::SpeedItemPridatRadek},
      {"control disabled, through its twin's rule", DbKind::Znamky,
       [&] { s.control(Ctl::SpeedItemNovy).enabled = false; }, Ctl::SpeedItemNovy},
      {"control hidden", DbKind::Rozpisy, [] {}, Ctl::SpeedItemImport2},
      // The control's flag left on: the table of kinds says no by itself.
      {"no codec for the kind", DbKind::Kalendar, [&] { s.control(Ctl::MenuHtml).enabled = true; }, Ctl::MenuHtml},
      {"no codec for the kind, tool button", DbKind::Kalendar, [&] { s.control(Ctl::SpeedItemHTML).enabled = true; },
       Ctl::SpeedItemHTML},
      {"nothing to undo", DbKind::Znamky, [] {}, Ctl::MenuZpet},
      {"nothing to redo", DbKind::Znamky, [] {}, Ctl::MenuZnovu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.kind != s.kind) SetupTab(s, c.kind);
    StartHistory(s, h);
    c.arrange();
    const std::string before = Snapshot(s);
    p = ScriptedPrompter();
    const ActionView view = ViewOf(s, h, c.name);
    EXPECT_FALSE(view.enabled && view.visible);
    EXPECT_EQ(Run(c.name).outcome, Outcome::Refused);
    EXPECT_TRUE(p.openRequests.empty() && p.saveRequests.empty() && p.questions.empty() && p.messages.empty());
    EXPECT_EQ(Snapshot(s), before);
    EXPECT_FALSE(history().canUndo());
  }
}

// The pages can be printed where the kind's row of the table of kinds has
// their PDF codec, the report where it has the report's, so a program
// without the printing library prints nothing; the overview wants grades.
// What is disabled runs nothing: no dialog, no window.
TEST_F(ActionTable, PrintingFollowsTheKindsCodecs) {
  enum Printing { Without, AsInstalled, ReportEverywhere };
  const Ctl printing[] = {Ctl::MenuTisk,        Ctl::MenuNahledTisku,    Ctl::MenuExportPdf,
                          Ctl::MenuVypisRodice, Ctl::MenuVypisRodicePdf, Ctl::MenuPrehledTridy};
  const struct {
    Printing codecs;
    DbKind kind;
    const char* enabled;  // of the controls above, in order
  } cases[] = {
      {AsInstalled, DbKind::Znamky, "111111"},       {AsInstalled, DbKind::Rozpisy, "111000"},
      {AsInstalled, DbKind::Rozvrh, "111000"},       {AsInstalled, DbKind::Kalendar, "111000"},
      {Without, DbKind::Znamky, "000001"},           {Without, DbKind::Kalendar, "000000"},
      {ReportEverywhere, DbKind::Rozpisy, "111110"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(KindPrefix(c.kind) + " printing " + std::to_string(c.codecs));
    std::optional<FakePrinting> installed;
    if (c.codecs != Without)
      installed.emplace(c.codecs == ReportEverywhere ? FakePrinting::OfEveryKind : FakePrinting::OfTheGradeBook);
    SetupTab(s, c.kind);
    StartHistory(s, h);
    for (std::size_t i = 0; i < std::size(printing); ++i) {
      SCOPED_TRACE(CtlName(printing[i]));
      const bool enabled = c.enabled[i] == '1';
      EXPECT_EQ(ViewOf(s, h, printing[i]).enabled, enabled);
      p = ScriptedPrompter();
      window = FakeWindow();
      const Outcome outcome = Run(printing[i]).outcome;
      // A PDF export asks where to save, which is cancelled here.
      EXPECT_EQ(outcome != Outcome::Refused, enabled);
      EXPECT_EQ(!window.calls.empty() || !p.saveRequests.empty(), enabled);
      EXPECT_FALSE(history().canUndo());
    }
  }
}

// The report is for the students selected, each once and in the grid's
// order, when more than one cell is selected; else for every student. The
// preview gets them from the window, the PDF file through the export
// command, and the state forgets them afterwards.
TEST_F(ActionTable, TheReportIsForTheSelectedStudents) {
  const FakePrinting printing;
  const int grade = G::kFirstGradeCol;
  const int first = G::studentRow(1), second = G::studentRow(2), third = G::studentRow(3);
  const struct {
    const char* what;
    std::vector<CellPos> selection;
    std::vector<int> students;
  } cases[] = {
      {"nothing selected", {}, {}},
      {"one cell", {{grade, second}}, {}},
      {"one student's grades", {{grade, second}, {grade + 1, second}}, {second}},
      {"two students, the later first", {{grade + 1, third}, {grade, first}, {grade, third}}, {first, third}},
      {"a student and a title row", {{grade, G::kDateRow}, {grade, second}}, {second}},
      {"no student among the cells", {{grade, G::kDateRow}, {grade, G::kStartRow}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window = FakeWindow();
    window.selection = c.selection;
    EXPECT_EQ(Run(Ctl::MenuVypisRodice).outcome, Outcome::Done);
    EXPECT_EQ(window.calls, std::vector<std::string>{"report" + FakeWindow::Numbers(c.students)});
    p.saveAnswers = {path("vypis.pdf")};
    EXPECT_EQ(Run(Ctl::MenuVypisRodicePdf).outcome, Outcome::Done);
    EXPECT_EQ(ReadBytes(path("vypis.pdf")), "%PDF report" + FakeWindow::Numbers(c.students));
    EXPECT_TRUE(s.reportStudents.empty());
  }
}

// A key belongs to one action (two on one key would both stay silent), and
// every tool button names one that reaches it, its own or its menu item's.
TEST(Actions, EveryToolButtonHasAKeyAndNoKeyIsBoundTwice) {
  std::map<std::string, std::string> owner;
  for (const ActionDef& a : Actions()) {
    for (const std::string& k : KeysOf(a.name)) {
      const auto [it, fresh] = owner.emplace(k, CtlName(a.name));
      EXPECT_TRUE(fresh) << k << " is bound to " << it->second << " and " << CtlName(a.name);
    }
    if (!a.menu.empty()) continue;
    EXPECT_FALSE(ToolButtonKey(a.name).empty()) << CtlName(a.name);
    // A button with a menu item leaves its key to the menu item, and takes its command.
    EXPECT_EQ(a.keys.empty(), a.twin != a.name) << CtlName(a.name);
    if (a.twin != a.name) {
      ASSERT_NE(FindAction(a.twin), nullptr) << CtlName(a.name);
      EXPECT_FALSE(FindAction(a.twin)->menu.empty()) << CtlName(a.name);
    }
    EXPECT_TRUE(CommandRowOf(a.name).run || CommandRowOf(a.name).conversion) << CtlName(a.name);
  }
}

TEST(Actions, MnemonicsTooltipsAndStatusTexts) {
  const struct {
    const char* caption;
    char letter;
    const char* shown;
  } mnemonics[] = {
      {"Nový", 'N', "&Nový"},
      {"Znovu", 'n', "Z&novu"},
      {"Import z adresáře BackUp", 'B', "Import z adresáře &BackUp"},
      {"Úvodní nabídka…", 'v', "Ú&vodní nabídka…"},
      {"Zpět: A & B", 'b', "Zpět: A && &B"},
      {"A & B", 'q', "A && B"},
      {"A & B", 0, "A & B"},
  };
  for (const auto& m : mnemonics) EXPECT_EQ(toUtf8(WithMnemonic(cp(m.caption), m.letter)), m.shown) << m.caption;
  EXPECT_EQ(toUtf8(MenuTitle(cp("Nápověda"))), "Nápo&věda");
  EXPECT_EQ(toUtf8(MenuTitle(cp("Úpravy"))), "&Úpravy");

  const struct {
    Ctl name;
    const char* tip;
    const char* status;
  } buttons[] = {
      {Ctl::SpeedItemNovy, "Nový PDB (Ctrl+N)", ""},
      {Ctl::SpeedItem3, "Přidat k HotSync (Ctrl+Shift+H)", "Předávám soubor k synchronizaci…"},
      {Ctl::SpeedItemOtevri2, "Import PDB z adresáře BackUp (Ctrl+B)", "Otevírám databázi…"},
      {Ctl::SpeedItemImport2, "Import CSV známky jako dvě hodnoty (Ctrl+Shift+I)", "Importuji CSV…"},
      {Ctl::SpeedItemPHP, "PHP do mySQL (Ctrl+Shift+M)", "Vytvářím skript SQL…"},
      {Ctl::SpeedItem12, "Info (Ctrl+F1)", ""},
  };
  for (const auto& b : buttons) {
    EXPECT_EQ(toUtf8(ToolTipOf(b.name)), b.tip);
    EXPECT_EQ(toUtf8(StatusTextOf(b.name)), b.status);
  }
}

// The captions as the menus show them: a tab's own, the undo step's name,
// else the table's.
TEST_F(ActionTable, CaptionsFollowTheTabAndTheHistory) {
  EXPECT_EQ(toUtf8(ViewOf(s, h, Ctl::MenuOtevri).caption), "Otevři Známky ...");
  EXPECT_EQ(toUtf8(ViewOf(s, h, Ctl::MenuNovy).caption), "Nový");
  EXPECT_EQ(toUtf8(ViewOf(s, h, Ctl::MenuZpet).caption), "Zpět");
  Select(G::kFirstGradeCol, G::studentRow(1));
  Run(Ctl::SpeedItemPridatRadek);
  EXPECT_EQ(toUtf8(ViewOf(s, h, Ctl::MenuZpet).caption), "Zpět: přidání řádku");
  EXPECT_TRUE(ViewOf(s, h, Ctl::MenuZpet).enabled);
  Run(Ctl::MenuZpet);
  EXPECT_EQ(toUtf8(ViewOf(s, h, Ctl::MenuZnovu).caption), "Znovu: přidání řádku");
  EXPECT_FALSE(ViewOf(s, h, Ctl::MenuZpet).enabled);
}

// The window's events name their steps; typing into one field is one step.
TEST_F(ActionTable, EventsNameTheirSteps) {
  const int student = G::studentRow(1), grade = G::kFirstGradeCol;
  struct Case {
    const char* step;
    std::function<StepResult(ActionContext&)> event;
    int repeat = 1;
  } cases[] = {
      {"úprava buňky",
       [&](ActionContext& c) {
         s.grid.setText(grade, student, "2-");
         return CellEdited(c, {grade, student});
       }},
      {"řazení", [&](ActionContext& c) { return ColumnTitleClicked(c, G::kNameCol); }},
      {"smazání 2 buněk",
       [&](ActionContext& c) {
         p.questionAnswers = {true};
         return CellsCleared(c, {{grade, student}, {grade, student + 1}});
       }},
      {"smazání buňky",
       [&](ActionContext& c) {
         return CellsCleared(c, {{grade, student}});
       }},
      {"volba váhy", [&](ActionContext& c) { return WeightChosen(c, 3); }},
      {"úprava váhy",
       [&](ActionContext& c) {
         s.weights[1].text = "2,5";
         return WeightLeft(c, 2);
       }},
      {"průměry",
       [&](ActionContext& c) {
         // A grade written without its check: the averages catch up.
         s.grid.setText(grade, student, "5 ");
         return AveragesClicked(c);
       }},
      {"úprava stupnice",
       [&](ActionContext& c) {
         s.znamky.setText(2, 1, "2,25");
         return GradeSymbolEdited(c, 2, 1);
       }},
      {"úprava pásma průměrů",
       [&](ActionContext& c) {
         s.znamky2.setText(1, 0, "1,6");
         return BandEdited(c, 1, 0);
       }},
      {"import CSV",
       [&](ActionContext& c) {
         WriteBytes(path("7B.csv"),
                    cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;3.9\r\n;;08:00\r\n;;08:45\r\n"
                       "1;Novák Ota;2 ;;;;0\r\n"));
         return FileGiven(c, path("7B.csv"));
       }},
      {"úprava poznámky",
       [&](ActionContext&) {
         const bool grew = NoteTyped(s, h, {s.memoPoznamka.empty() ? "a" : s.memoPoznamka[0] + "a"});
         return StepResult{Outcome::Done, grew};
       },
       3},
      {"úprava pole",
       [&](ActionContext&) {
         s.EditN += "x";
         return StepResult{Outcome::Done, PanelFieldTyped(s, h)};
       },
       3},
  };
  const VeklaState start = s;
  const Histories startHistory = h;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    s = start;
    h = startHistory;
    for (int i = 0; i < c.repeat; ++i) EXPECT_TRUE(Raise(c.event).changed);
    EXPECT_EQ(lastStep(), c.step);
    Raise([](ActionContext& a) { return RunAction(a, Ctl::MenuZpet); });
    EXPECT_FALSE(history().canUndo()) << "more than one step";
  }
}

// A tab switch is no step: each tab's steps are there when it comes back.
TEST_F(ActionTable, ATabKeepsItsStepsAcrossASwitch) {
  Select(G::kFirstGradeCol, G::studentRow(1));
  Run(Ctl::SpeedItemPridatRadek);
  EXPECT_FALSE(Raise([](ActionContext& c) { return TabChosen(c, 1); }).changed);
  EXPECT_EQ(s.kind, DbKind::Rozpisy);
  EXPECT_EQ(lastStep(), "(none)");
  Raise([](ActionContext& c) { return TabChosen(c, 0); });
  EXPECT_EQ(lastStep(), "přidání řádku");
  EXPECT_EQ(steps(), 1);
}

TEST_F(ActionTable, ChoosingTheSemesterShownChangesNothing) {
  const std::string before = Snapshot(s);
  EXPECT_EQ(Raise([&](ActionContext& c) { return SemesterChosen(c, s.semesterItemIndex); }).outcome, Outcome::Refused);
  EXPECT_EQ(Snapshot(s), before);
}

// The close asks about edits no database has: No keeps the window open
// (the working files saved), Yes or no edits let it close.
TEST_F(ActionTable, CloseAsksAboutUnsavedEdits) {
  ActionContext c{s, p, h, window, appDir, {}};
  EXPECT_FALSE(KeepOpenToSave(c));
  EXPECT_TRUE(p.questions.empty());
  MarkEdited(s);
  p.questionAnswers = {false};
  EXPECT_TRUE(KeepOpenToSave(c));
  ASSERT_EQ(p.defaultNoQuestions.size(), 1u);
  p.questionAnswers = {true};
  EXPECT_FALSE(KeepOpenToSave(c));
}

}  // namespace

namespace {

// The stored size and place are read only when a screen can hold them; a
// size never below the narrowest window.
TEST(WindowPlacement, OnlyNumbersAScreenCanHold) {
  const struct {
    const char* left;
    const char* top;
    const char* width;
    const char* height;
    std::optional<QSize> size;
    std::optional<QPoint> place;
  } cases[] = {
      {"10", "20", "800", "600", QSize(800, 600), QPoint(10, 20)},
      {"-30000", "30000", "500", "600", QSize(690, 600), QPoint(-30000, 30000)},
      {"10", "x", "800", "0", std::nullopt, std::nullopt},
      {"30001", "20", "1000000000", "600", std::nullopt, std::nullopt},
      {"", "20", "-800", "600", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " " + c.top + " " + c.width + " " + c.height);
    IniFile ini;
    ini.set("Nastaveni", "Left", c.left);
    ini.set("Nastaveni", "Top", c.top);
    ini.set("Nastaveni", "Width", c.width);
    ini.set("Nastaveni", "Height", c.height);
    const Placement p = StoredPlacement(ini, 690);
    EXPECT_EQ(p.size, c.size);
    EXPECT_EQ(p.place, c.place);
  }
  IniFile ini;
  StorePlacement(ini, QRect(-5, 7, 1024, 720));
  const Placement back = StoredPlacement(ini, 690);
  EXPECT_EQ(back.size, QSize(1024, 720));
  EXPECT_EQ(back.place, QPoint(-5, 7));
}

TEST(DroppedFiles, TheFirstDatabaseOrCsvFileIsOpened) {
  EXPECT_EQ(FileToOpen({"/a/notes.txt", "/a/Znamky-7A.PDB", "/a/b.csv"}), "/a/Znamky-7A.PDB");
  EXPECT_EQ(FileToOpen({"", "/a/trida.CSV"}), "/a/trida.CSV");
  EXPECT_EQ(FileToOpen({"/a/pdb", "/a/x.pdb.txt"}), "");
}

}  // namespace
