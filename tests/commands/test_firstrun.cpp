// The first start: the welcome and its ways on, the handheld's folders
// (chosen, set in the folders dialog, asked for when a command needs them),
// where exports go and what their message says, and "O programu".
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>

#include "commands/about.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/firstrun.h"
#include "commands/folders.h"
#include "commands/kindtable.h"
#include "support/kindsfixture.h"
#include "workspace/datafolder.h"
#include "workspace/inifile.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class FirstRun : public KindTest {
 protected:
  FirstRun() : KindTest(DbKind::Rozvrh) {}
  void SetUp() override {
    KindTest::SetUp();
    qputenv("JPILOT_HOME", QFile::encodeName(dir.path()));  // no .jpilot unless a test makes one
  }
  void TearDown() override {
    qunsetenv("JPILOT_HOME");
    KindTest::TearDown();
  }
  // A database of the kind in `folder`, saved by the program itself.
  QString Database(DbKind kind, const QString& folder, const char* name) {
    VeklaState t = s;
    SetupTab(t, kind);
    t.EditN = name;
    ScriptedPrompter q;
    q.saveAnswers = {folder + "/" + name + ".PDB"};
    QDir().mkpath(folder);
    EXPECT_EQ(KindTable(kind).save(t, q), Outcome::Done);
    return folder + "/" + name + ".PDB";
  }
  std::string OnDisk(const char* section, const char* key) const {
    IniFile ini;
    ini.load(s.programDir + "vekla.ini");
    return ini.has(section, key) ? ini.get(section, key) : "(none)";
  }
  Histories h;
};

TEST_F(FirstRun, WelcomeOnlyWhileNoFolderIsKnownAndNotTurnedOff) {
  const struct {
    const char* ini;
    bool jpilot, welcome;
  } cases[] = {
      {"[PalmDesktop]\r\nZaloha=\r\n", false, true},  {"[PalmDesktop]\r\nZaloha=/z\r\n", false, false},
      {"[PalmDesktop]\r\nPath=/p\r\n", false, false}, {"[Nastaveni]\r\nUvitani=0\r\n", false, false},
      {"", true, false},
  };
  for (const auto& c : cases) {
    if (c.jpilot) {
      ASSERT_TRUE(QDir(dir.path()).mkpath(".jpilot"));
    }
    s.settings.loadFromBytes(c.ini);
    EXPECT_EQ(ShouldWelcome(s), c.welcome) << c.ini << c.jpilot;
  }
}

// A folder dialog cancelled or finding none of our databases comes back to
// the welcome; a folder with some is stored, and "Import z adresáře BackUp"
// opens there from then on.
TEST_F(FirstRun, ChosenBackupFolderIsCheckedStoredAndUsed) {
  const QString backup = path("palm/Novotn/Backup");
  const QString grades = Database(DbKind::Znamky, backup, "Znamky-7A");
  Database(DbKind::Rozpisy, backup, "Rozpisy-Dejepis");
  Database(DbKind::Rozpisy, backup, "Rozpisy-Zemepis");
  ASSERT_TRUE(QDir().mkpath(path("prazdna")));
  p.welcomeAnswers.assign(3, {WelcomeChoice::FindFolder, true});
  p.folderAnswers = {std::nullopt, path("prazdna"), backup};
  EXPECT_EQ(WelcomeClick(s, p, h, QString()), Outcome::Cancelled);
  EXPECT_EQ(p.welcomes, 3);
  EXPECT_EQ(p.folderRequests.at(0).second, QDir::homePath());
  ASSERT_EQ(p.messages.size(), 2u);
  EXPECT_EQ(p.messages[0], cp("Ve složce ") + NativePath(path("prazdna")) +
                               cp(" není žádná databáze Vekly (Znamky-…, Rozpisy-…, Vekla-…, vekla-datum). Zvolte "
                                  "složku, do které synchronizace ukládá zálohu z handheldu."));
  EXPECT_EQ(p.messages[1], cp("Ve složce ") + NativePath(backup) +
                               cp(" jsou databáze: známky 1, rozpisy 2.\nSložka je uložena jako složka zálohy z "
                                  "handheldu; databáze z ní otevře „Import z adresáře BackUp“.\nChybí v ní databáze "
                                  "Znamky-db_pref.PDB s nastavením známek; při otevření známek na to Vekla upozorní."));
  EXPECT_EQ(toQt(OnDisk("PalmDesktop", "Zaloha")), backup);

  SetupTab(s, DbKind::Znamky);
  p.openAnswers = {grades};
  EXPECT_EQ(OtevriClick2(s, p), Outcome::Done);
  EXPECT_EQ(p.openRequests.at(0).initialDir, backup + "/");
  EXPECT_EQ(s.EditN, "Znamky-7A");
}

// The sample: copied into the data folder, read from there on the grade
// book's tab under its own name, with nothing to save and an empty log.
TEST_F(FirstRun, SampleClassIsACopyOpenedOnTheGradeBookTab) {
  const QString shipped = path("share/doc/vekla/examples/Znamky-7A.csv");
  WriteBytes(shipped, ReadBytes(QStringLiteral(VEKLA_SOURCE_DIR "/examples/Znamky-7A.csv")));
  const std::string original = ReadBytes(shipped);
  // Not there: said so, and back to the welcome.
  p.welcomeAnswers = {{WelcomeChoice::Sample, true}, {WelcomeChoice::EmptyBook, true}};
  EXPECT_EQ(WelcomeClick(s, p, h, path("chybi.csv")), Outcome::Cancelled);
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Ukázková třída nebyla nalezena mezi soubory programu.")});

  p.welcomeAnswers = {{WelcomeChoice::Sample, false}};
  EXPECT_EQ(WelcomeClick(s, p, h, shipped), Outcome::Done);
  EXPECT_EQ(s.kind, DbKind::Znamky);
  EXPECT_EQ(s.EditN, "Znamky-7A");
  EXPECT_EQ(s.grid.text(2, 15), cp("Žák Filip"));
  EXPECT_FALSE(HasUnsavedEdits(s));
  EXPECT_TRUE(s.Memo1.empty());
  EXPECT_EQ(ReadBytes(DataDir(s) + "ukazka/Znamky-7A.csv"), original);
  EXPECT_EQ(OnDisk("Nastaveni", "Uvitani"), "0");  // "Zobrazovat tuto nabídku …" unticked
}

// "Import z adresáře BackUp" and "HotSync ..." without a handheld folder say
// so and offer the folders dialog; they go on only once a folder is set there.
TEST_F(FirstRun, CommandsThatNeedTheHandheldFolderOfferTheSettings) {
  SetupTab(s, DbKind::Znamky);
  s.adresar1 = path("import") + "/";
  const QString backup = path("zaloha");
  const struct {
    std::function<Outcome(VeklaState&, Prompter&)> command;
    const char* question;
    QString initialDir;  // of its open dialog once a folder is set
  } commands[] = {
      {OtevriClick2, "Složka zálohy z handheldu není nastavena. Nastavit složky nyní?", backup + "/"},
      {HotSync, "Složka handheldu není nastavena a J-Pilot nebyl nalezen. Nastavit složky nyní?", s.adresar1},
  };
  for (const auto& c : commands) {
    s.settings.clear();
    p = ScriptedPrompter();
    // No; Yes with the dialog cancelled; Yes with a folder set.
    p.questionAnswers = {false, true, true};
    p.folderEdits = {nullptr, [&](FolderSettings& f) { f.backupFolder = backup; }};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.command(s, p), Outcome::Cancelled);
    EXPECT_EQ(p.questions, std::vector<std::string>(3, cp(c.question)));
    ASSERT_EQ(p.openRequests.size(), 1u) << c.question;
    EXPECT_EQ(p.openRequests[0].initialDir, c.initialDir);
  }
}

// The folders dialog is shown what is set; what it changes is stored (an
// emptied value removes its key, the first import folder ends in "/").
TEST_F(FirstRun, FoldersDialogShowsAndStoresTheFolders) {
  s.settings.loadFromBytes("[PalmDesktop]\r\nPath=/home/t/palm\r\nLastUserName=Jana\r\n");
  s.exportDir = path("Dokumenty/Vekla") + "/";
  p.folderEdits = {[](FolderSettings& f) {
    f.backupFolder = " /z/zaloha ";
    f.desktopPath.clear();
    f.userName = QString::fromUtf8("Petr Novák");
    f.adresar1 = "/b";
  }};
  EXPECT_EQ(SlozkyClick(s, p), Outcome::Done);
  const FolderSettings& shown = p.foldersShown.at(0);
  EXPECT_EQ(shown.desktopPath + "|" + shown.userName + "|" + shown.exportFolder + "|" + shown.dataFolder,
            "/home/t/palm|Jana|" + s.exportDir + "|" + s.programDir);
  EXPECT_EQ(OnDisk("PalmDesktop", "Zaloha"), "/z/zaloha");
  EXPECT_EQ(OnDisk("PalmDesktop", "Path"), "(none)");
  EXPECT_EQ(OnDisk("PalmDesktop", "LastUserName"), cp("Petr Novák"));
  EXPECT_EQ(OnDisk("Nastaveni", "Adresar1"), "/b/");
  EXPECT_EQ(s.adresar1, "/b/");
}

// Pages and workbooks go to the export folder; the message names the folder
// and the files, and offers to open the folder. A CSV export, whose files
// the teacher placed herself, gets no such message.
TEST_F(FirstRun, ExportsSayWhereTheFilesAreAndOpenTheFolder) {
  SetupTab(s, DbKind::Znamky);
  s.EditN = "Znamky-7A";
  s.exportDir = path("Dokumenty/Vekla") + "/";
  const QString folder = s.exportDir + "html";
  p.shellOpens = false;
  p.openFolderAnswers = {true};
  EXPECT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ExportHtml); }), Outcome::Done);
  ASSERT_EQ(p.folderMessages.size(), 1u);
  EXPECT_EQ(p.folderMessages[0].first, cp("Uloženo do složky ") + NativePath(folder) +
                                           cp(":\nznamky-7a_0110.html, znamky.css, znamky-7a_0110.css.\nŽádný "
                                              "program ale soubor neotevřel."));
  EXPECT_EQ(p.opened, (std::vector<QString>{folder + "/znamky-7a_0110.html", folder}));
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Složku ") + NativePath(folder) + cp(" se nepodařilo otevřít.")});

  p = ScriptedPrompter();
  p.saveAnswers = {path("7A.csv"), path("7Ahodnoty.csv")};
  EXPECT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ExportCsv); }), Outcome::Done);
  EXPECT_TRUE(p.folderMessages.empty() && p.messages.empty());
}

TEST(ShippedFiles, FoundBesideTheInstalledProgramOrInTheBuildFolder) {
  QTemporaryDir root;
  const QString r = root.path();
  for (const char* f : {"/usr/share/doc/vekla/manual/index.html", "/build/share/doc/vekla/manual/index.html"})
    WriteBytes(r + f, "<html>");
  for (const char* app : {"/usr/bin", "/usb/bin"}) ASSERT_TRUE(QDir().mkpath(r + app));
  EXPECT_EQ(FindShippedFile(r + "/usr/bin", "manual/index.html"), r + "/usr/share/doc/vekla/manual/index.html");
  EXPECT_EQ(FindShippedFile(r + "/build", "manual/index.html"), r + "/build/share/doc/vekla/manual/index.html");
  EXPECT_EQ(FindShippedFile(r + "/usb/bin", "manual/index.html"), "");
}

TEST(About, NamesEveryLibraryWithTheVersionItRunsWith) {
  std::string names;
  for (const LibraryVersion& l : UsedLibraries()) {
    names += l.name + " ";
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+").match(QString::fromStdString(l.version)).hasMatch()) << l.name;
  }
  EXPECT_EQ(names, "Qt ICU SimpleIni libxlsxwriter zlib ");
  EXPECT_EQ(UsedLibraries()[0].version, qVersion());
}

}  // namespace
