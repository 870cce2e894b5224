// The first start: the welcome and its three ways on, the handheld's folders
// (chosen, set in the folders dialog, asked for when a command needs them),
// where the exports go and what their message says, and "O programu".
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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
    // No J-Pilot unless a test makes one.
    hadJPilot_ = qEnvironmentVariableIsSet("JPILOT_HOME");
    oldJPilot_ = qgetenv("JPILOT_HOME");
    qputenv("JPILOT_HOME", QFile::encodeName(dir.path()));
  }
  void TearDown() override {
    if (hadJPilot_) qputenv("JPILOT_HOME", oldJPilot_);
    else qunsetenv("JPILOT_HOME");
    KindTest::TearDown();
  }

  // A database of the kind in `folder`, saved by the program itself.
  QString Database(DbKind kind, const QString& folder, const char* name) {
    VeklaState t = s;
    SetupTab(t, kind);
    t.EditN = name;
    QDir().mkpath(folder);
    const QString file = folder + "/" + name + ".PDB";
    ScriptedPrompter q;
    q.saveAnswers = {file};
    EXPECT_EQ(KindTable(kind).save(t, q), Outcome::Done);
    return file;
  }
  // vekla.ini as it is on disk.
  IniFile SettingsOnDisk() const {
    IniFile ini;
    ini.load(s.programDir + "vekla.ini");
    return ini;
  }
  static WelcomeAnswer Answer(WelcomeChoice c, bool showAgain = true) { return {c, showAgain}; }

  Histories h;

 private:
  bool hadJPilot_ = false;
  QByteArray oldJPilot_;
};

TEST_F(FirstRun, WelcomeOnlyWhileNoFolderIsKnownAndNotTurnedOff) {
  const struct {
    const char* ini;
    bool jpilot;
    bool welcome;
  } cases[] = {
      {"", false, true},
      {"[Nastaveni]\r\nUvitani=1\r\n[PalmDesktop]\r\nZaloha=\r\n", false, true},
      {"[PalmDesktop]\r\nZaloha=/z\r\n", false, false},
      {"[PalmDesktop]\r\nPath=C:\\Palm\r\n", false, false},
      {"[PalmDesktop]\r\nLastUserName=Jana\r\n", false, false},
      {"", true, false},
      {"[Nastaveni]\r\nUvitani=0\r\n", false, false},
  };
  for (const auto& c : cases) {
    if (c.jpilot) ASSERT_TRUE(QDir(dir.path()).mkpath(".jpilot"));
    else ASSERT_TRUE(QDir(dir.filePath(".jpilot")).removeRecursively());
    s.settings.loadFromBytes(c.ini);
    EXPECT_EQ(ShouldWelcome(s), c.welcome) << c.ini << c.jpilot;
  }
}

// A folder dialog that was cancelled or chose a folder with none of our
// databases comes back to the welcome; a folder with some is stored, and
// "Import z adresáře BackUp" opens there from then on.
TEST_F(FirstRun, ChosenBackupFolderIsCheckedStoredAndUsed) {
  const QString backup = path("palm/Novotn/Backup");
  const QString grades = Database(DbKind::Znamky, backup, "Znamky-7A");
  Database(DbKind::Rozpisy, backup, "Rozpisy-Dejepis");
  Database(DbKind::Rozpisy, backup, "Rozpisy-Zemepis");
  WriteBytes(backup + "/AddressDB.PDB", pdbBytes("AddressDB", "DATA", "addr", 0, 0, {}));
  ASSERT_TRUE(QDir().mkpath(path("prazdna")));

  p.welcomeAnswers = {Answer(WelcomeChoice::FindFolder), Answer(WelcomeChoice::FindFolder),
                      Answer(WelcomeChoice::FindFolder)};
  p.folderAnswers = {std::nullopt, path("prazdna"), backup};
  EXPECT_EQ(WelcomeClick(s, p, h, QString()), Outcome::Cancelled);
  EXPECT_EQ(p.welcomes, 3);
  ASSERT_EQ(p.folderRequests.size(), 3u);
  EXPECT_EQ(p.folderRequests[0].second, QDir::homePath());
  ASSERT_EQ(p.messages.size(), 2u);
  EXPECT_EQ(p.messages[0], cp("Ve složce ") + NativePath(path("prazdna")) +
                               cp(" není žádná databáze Vekly (Znamky-…, Rozpisy-…, Vekla-…, vekla-datum). Zvolte "
                                  "složku, do které synchronizace ukládá zálohu z handheldu."));
  EXPECT_EQ(p.messages[1], cp("Ve složce ") + NativePath(backup) +
                               cp(" jsou databáze: známky 1, rozpisy 2.\nSložka je uložena jako složka zálohy z "
                                  "handheldu; databáze z ní otevře „Import z adresáře BackUp“."));
  EXPECT_EQ(toQt(SettingsOnDisk().get("PalmDesktop", "Zaloha")), backup);
  EXPECT_FALSE(ShouldWelcome(s));

  SetupTab(s, DbKind::Znamky);
  p.openAnswers = {grades};
  EXPECT_EQ(OtevriClick2(s, p), Outcome::Done);
  ASSERT_EQ(p.openRequests.size(), 1u);
  EXPECT_EQ(p.openRequests[0].initialDir, backup + "/");
  EXPECT_EQ(s.EditN, "Znamky-7A");
  EXPECT_TRUE(p.questions.empty());
}

// The sample class: copied into the data folder and read from there on
// the grade book's tab, under its own name, with nothing to save.
TEST_F(FirstRun, SampleClassIsACopyOpenedOnTheGradeBookTab) {
  const QString shipped = path("share/doc/vekla/examples/Znamky-7A.csv");
  WriteBytes(shipped, ReadBytes(QStringLiteral(VEKLA_SOURCE_DIR "/examples/Znamky-7A.csv")));
  const std::string original = ReadBytes(shipped);
  ASSERT_FALSE(original.empty());

  // A sample that is not there: said so, and back to the welcome.
  p.welcomeAnswers = {Answer(WelcomeChoice::Sample), Answer(WelcomeChoice::EmptyBook)};
  EXPECT_EQ(WelcomeClick(s, p, h, path("chybi.csv")), Outcome::Cancelled);
  EXPECT_EQ(p.welcomes, 2);
  EXPECT_EQ(p.messages, std::vector<std::string>{cp("Ukázková třída nebyla nalezena mezi soubory programu.")});
  EXPECT_EQ(s.kind, DbKind::Rozvrh);

  p.welcomeAnswers = {Answer(WelcomeChoice::Sample, false)};
  EXPECT_EQ(WelcomeClick(s, p, h, shipped), Outcome::Done);
  EXPECT_EQ(s.kind, DbKind::Znamky);
  EXPECT_EQ(s.EditN, "Znamky-7A");
  EXPECT_EQ(s.grid.text(2, 4), cp("Adámková Eva"));
  EXPECT_EQ(s.grid.text(2, 15), cp("Žák Filip"));
  EXPECT_FALSE(HasUnsavedEdits(s));
  EXPECT_TRUE(s.Memo1.empty());
  EXPECT_FALSE(h.of(DbKind::Znamky).canUndo());
  EXPECT_EQ(ReadBytes(DataDir(s) + "ukazka/Znamky-7A.csv"), original);
  EXPECT_EQ(ReadBytes(shipped), original);
  // "Zobrazit tuto nabídku při příštím spuštění" unticked.
  EXPECT_EQ(SettingsOnDisk().get("Nastaveni", "Uvitani"), "0");
  EXPECT_FALSE(ShouldWelcome(s));
}

// "Import z adresáře BackUp" and "HotSync ..." without any handheld folder
// say so and offer the folders dialog; they go on only when a folder was
// set there.
TEST_F(FirstRun, CommandsThatNeedTheHandheldFolderOfferTheSettings) {
  SetupTab(s, DbKind::Znamky);
  s.adresar1 = path("import") + "/";
  const QString backup = path("zaloha");
  const struct {
    const char* name;
    std::function<Outcome(VeklaState&, Prompter&)> command;
    const char* question;
    QString initialDir;  // of the open dialog once a folder is set
  } commands[] = {
      {"BackUp", OtevriClick2, "Složka zálohy z handheldu není nastavena. Nastavit složky nyní?", backup + "/"},
      {"HotSync", HotSync, "Složka handheldu není nastavena a J-Pilot nebyl nalezen. Nastavit složky nyní?",
       path("import") + "/"},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    s.settings.clear();
    p = ScriptedPrompter();
    // No, then Yes with the dialog cancelled, then Yes with a folder set.
    p.questionAnswers = {false, true, true};
    p.folderEdits = {nullptr, [&](FolderSettings& f) { f.backupFolder = backup; }};
    EXPECT_EQ(c.command(s, p), Outcome::Cancelled);
    EXPECT_EQ(c.command(s, p), Outcome::Cancelled);
    EXPECT_TRUE(p.openRequests.empty());
    EXPECT_EQ(p.foldersShown.size(), 1u);
    EXPECT_EQ(c.command(s, p), Outcome::Cancelled);  // the open dialog cancelled
    EXPECT_EQ(p.questions, std::vector<std::string>(3, cp(c.question)));
    ASSERT_EQ(p.openRequests.size(), 1u);
    EXPECT_EQ(p.openRequests[0].initialDir, c.initialDir);
    EXPECT_EQ(toQt(SettingsOnDisk().get("PalmDesktop", "Zaloha")), backup);
  }
}

// The folders dialog is shown what is set, and what it changes is stored:
// an emptied value removes its key, the first import folder ends in "/".
TEST_F(FirstRun, FoldersDialogShowsAndStoresTheFolders) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(".jpilot"));
  s.settings.loadFromBytes("[PalmDesktop]\r\nPath=/home/t/palm\r\nLastUserName=Jana\r\n");
  s.adresar1 = "/a/";
  s.exportDir = path("Dokumenty/Vekla") + "/";
  p.folderEdits = {[](FolderSettings& f) {
    f.backupFolder = " /z/zaloha ";
    f.desktopPath.clear();
    f.userName = QString::fromUtf8("Petr Novák");
    f.adresar1 = "/b";
  }};
  EXPECT_EQ(SlozkyClick(s, p), Outcome::Done);
  ASSERT_EQ(p.foldersShown.size(), 1u);
  const FolderSettings& shown = p.foldersShown[0];
  EXPECT_EQ(shown.backupFolder, "");
  EXPECT_EQ(shown.desktopPath, "/home/t/palm");
  EXPECT_EQ(shown.userName, "Jana");
  EXPECT_EQ(shown.adresar1, "/a/");
  EXPECT_EQ(shown.dataFolder, s.programDir);
  EXPECT_EQ(shown.exportFolder, s.exportDir);
  EXPECT_EQ(shown.jpilotFolder, dir.filePath(".jpilot"));

  const IniFile ini = SettingsOnDisk();
  EXPECT_EQ(ini.get("PalmDesktop", "Zaloha"), "/z/zaloha");
  EXPECT_FALSE(ini.has("PalmDesktop", "Path"));
  EXPECT_EQ(ini.get("PalmDesktop", "LastUserName"), cp("Petr Novák"));
  EXPECT_EQ(s.userName, cp("Petr Novák"));
  EXPECT_EQ(ini.get("Nastaveni", "Adresar1"), "/b/");
  EXPECT_EQ(s.adresar1, "/b/");
  EXPECT_EQ(EffectiveBackupFolder(s.settings), "/z/zaloha/");

  // Storno changes nothing.
  EXPECT_EQ(SlozkyClick(s, p), Outcome::Cancelled);
  EXPECT_EQ(SettingsOnDisk().toBytes(), ini.toBytes());
}

// Pages and workbooks go to the export folder; the message names the folder
// and the files and offers to open the folder. Files the teacher placed in
// a save dialog get no such message.
TEST_F(FirstRun, ExportsSayWhereTheFilesAreAndOpenTheFolder) {
  SetupTab(s, DbKind::Znamky);
  s.EditN = "Znamky-7A";
  const QString documents = path("Dokumenty/Vekla") + "/";
  const struct {
    Conversion conversion;
    QString exportDir;
    bool programOpens;
    bool openFolder;
    QString folder;
    std::string files;
  } cases[] = {
      {Conversion::ExportHtml, documents, true, true, documents + "html", "znamky-7a_0110.html, znamky.css, znamky-7a_0110.css"},
      {Conversion::ExportXlsx, documents, false, false, documents + "excel", "znamky-7a_0110.xlsx"},
      {Conversion::ExportHtml, QString(), true, false, s.programDir + "html", "znamky-7a_0110.html, znamky.css, znamky-7a_0110.css"},
  };
  for (const auto& c : cases) {
    p = ScriptedPrompter();
    p.shellOpens = c.programOpens;
    p.openFolderAnswers = {c.openFolder};
    s.exportDir = c.exportDir;
    EXPECT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, c.conversion); }), Outcome::Done);
    ASSERT_EQ(p.folderMessages.size(), 1u);
    EXPECT_EQ(p.folderMessages[0].second, c.folder);
    EXPECT_EQ(p.folderMessages[0].first, cp("Uloženo do složky ") + NativePath(c.folder) + ":\n" + c.files + "." +
                                             (c.programOpens ? "" : cp("\nŽádný program ale soubor neotevřel.")));
    ASSERT_FALSE(p.opened.empty());
    EXPECT_TRUE(QFileInfo(p.opened[0]).isFile());
    EXPECT_EQ(QFileInfo(p.opened[0]).absolutePath(), c.folder);
    ASSERT_EQ(p.opened.size(), c.openFolder ? 2u : 1u);
    if (c.openFolder) {
      EXPECT_EQ(p.opened[1], c.folder);
    }
  }
  // A CSV export goes where its save dialog says; no folder message.
  p = ScriptedPrompter();
  p.saveAnswers = {path("7A.csv"), path("7Ahodnoty.csv")};
  EXPECT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ExportCsv); }), Outcome::Done);
  EXPECT_TRUE(p.folderMessages.empty());
  EXPECT_TRUE(p.messages.empty());
}

TEST(ShippedFiles, FoundBesideTheInstalledProgramOrInTheBuildFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString r = root.path();
  WriteBytes(r + "/usr/share/doc/vekla/manual/index.html", "<html>");
  WriteBytes(r + "/build/share/doc/vekla/manual/index.html", "<html>");
  ASSERT_TRUE(QDir().mkpath(r + "/usr/bin"));
  ASSERT_TRUE(QDir().mkpath(r + "/usb/bin"));
  const struct {
    const char* appDir;
    QString expected;
  } cases[] = {
      {"/usr/bin", r + "/usr/share/doc/vekla/manual/index.html"},
      {"/build", r + "/build/share/doc/vekla/manual/index.html"},
      {"/usb/bin", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindShippedFile(r + c.appDir, "manual/index.html"), c.expected) << c.appDir;
}

TEST(About, NamesEveryLibraryWithTheVersionItRunsWith) {
  std::vector<std::string> names;
  for (const LibraryVersion& l : UsedLibraries()) {
    names.push_back(l.name);
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+(\\.\\d+)?$").match(QString::fromStdString(l.version)).hasMatch())
        << l.name << " " << l.version;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Qt", "ICU", "SimpleIni", "libxlsxwriter", "zlib"}));
  EXPECT_EQ(UsedLibraries()[0].version, qVersion());
  EXPECT_STREQ(kLicence, "GPL-3.0-or-later");
}

}  // namespace
