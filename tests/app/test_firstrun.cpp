// The first hour of a new teacher, headless: the welcome on a first start,
// the folder it finds used by the backup import, the guide on F1, the keys
// named in the tool buttons and doing their work, the status bar during a
// long command, and the dialogs of the first start themselves. Screenshots
// of the dialogs and the help window go to $VEKLA_SCREENSHOTS when it is set.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTabBar>
#include <QTimer>
#include <memory>

#include "app/aboutdialog.h"
#include "app/foldersdialog.h"
#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/qtprompter.h"
#include "app/welcomedialog.h"
#include "commands/about.h"
#include "commands/folders.h"
#include "commands/kindtable.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "workspace/inifile.h"
#include "workspace/setup.h"
#include "workspace/shortcuts.h"

using namespace vekla;
using namespace vekla::test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

void screenshot(QWidget& w, const char* name) {
  const QString dir = qEnvironmentVariable("VEKLA_SCREENSHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.grab().save(QDir(dir).filePath(QString::fromLatin1(name))));
}

// Sets an environment variable for the length of a test.
class EnvVar {
 public:
  EnvVar(const char* name, const QString& value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, QFile::encodeName(value));
  }
  ~EnvVar() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

// A first start: an empty data folder, a home without J-Pilot.
struct NewTeacher : ::testing::Test {
  QTemporaryDir root;
  std::unique_ptr<EnvVar> veklaHome, home, jpilot;
  ScriptedPrompter p;

  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath("home"));
    veklaHome = std::make_unique<EnvVar>("VEKLA_HOME", root.filePath("data"));
    home = std::make_unique<EnvVar>("HOME", root.filePath("home"));
    jpilot = std::make_unique<EnvVar>("JPILOT_HOME", root.filePath("home"));
    SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0)));
  }
  void TearDown() override { SetNow(QDateTime()); }

  std::unique_ptr<MainWindow> start(ScriptedPrompter& prompter) {
    auto w = std::make_unique<MainWindow>(&prompter);
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->activated(); }, 5000));
    // The welcome comes once the window is up.
    QTest::qWait(20);
    return w;
  }

  // A database of the kind in `folder`, saved by the program itself.
  static QString Database(DbKind kind, const QString& folder, const char* name) {
    VeklaState t;
    t.programDir = folder + "/";
    InitControls(t);
    SetupTab(t, kind);
    t.EditN = name;
    QDir().mkpath(folder);
    ScriptedPrompter q;
    q.saveAnswers = {folder + "/" + name + ".PDB"};
    EXPECT_EQ(KindTable(kind).save(t, q), Outcome::Done);
    return folder + "/" + name + ".PDB";
  }
};

TEST_F(NewTeacher, WelcomeFindsTheBackupFolderAndTheBackupImportOpensThere) {
  const QString backup = root.filePath("home/Palm/Novakova/Backup");
  const QString grades = Database(DbKind::Znamky, backup, "Znamky-7A");
  Database(DbKind::Rozvrh, backup, "Vekla-Novakova");

  p.welcomeAnswers = {{WelcomeChoice::FindFolder, true}};
  p.folderAnswers = {backup};
  {
    auto w = start(p);
    ASSERT_EQ(p.welcomes, 1);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].find(cp("známky 1, rozvrh 1")), std::string::npos) << toUtf8(p.messages[0]);
    IniFile ini;
    ini.load(root.filePath("data/vekla.ini"));
    EXPECT_EQ(toQt(ini.get("PalmDesktop", "Zaloha")), backup);

    // "Import z adresáře BackUp" lists the folder and opens the class from it.
    p.openAnswers = {grades};
    w->trigger(Ctl::Otevt1);
    ASSERT_EQ(p.openRequests.size(), 1u);
    EXPECT_EQ(p.openRequests[0].initialDir, backup + "/");
    EXPECT_TRUE(w->windowTitle().contains("Znamky-7A")) << w->windowTitle().toStdString();
    w->close();
  }
  // The next start shows no welcome.
  ScriptedPrompter again;
  auto w = start(again);
  EXPECT_EQ(again.welcomes, 0);
}

TEST_F(NewTeacher, WelcomeOpensTheSampleClassAndIsOfferedAgainFromTheHelpMenu) {
  p.welcomeAnswers = {{WelcomeChoice::Sample, true}};
  auto w = start(p);
  ASSERT_EQ(p.welcomes, 1);
  EXPECT_TRUE(w->windowTitle().contains("Znamky-7A")) << w->windowTitle().toStdString();
  EXPECT_EQ(w->state().grid.text(2, 4), cp("Adámková Eva"));
  EXPECT_FALSE(w->isWindowModified());
  // "Nápověda" → "Úvodní nabídka…" shows it again.
  w->findChild<QAction*>("MenuUvod")->trigger();
  EXPECT_EQ(p.welcomes, 2);
}

TEST_F(NewTeacher, F1OpensTheGuide) {
  auto w = start(p);
  QTest::keyClick(w.get(), Qt::Key_F1);
  HelpWindow* help = w->helpWindow();
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->browser()->documentTitle(), u("Vekla – příručka pro učitele"));
  EXPECT_EQ(help->windowTitle(), u("Vekla – příručka pro učitele"));
  EXPECT_TRUE(p.messages.empty());
  screenshot(*help, "help-window.png");
}

// The guide shipped with the program: every picture it shows is there, and
// it names the key of every tool button, so it keeps up with the program.
TEST_F(NewTeacher, GuideShowsItsPicturesAndNamesEveryKey) {
  const QString index = FindShippedFile(QCoreApplication::applicationDirPath(), "manual/index.html");
  ASSERT_FALSE(index.isEmpty());
  QFile f(index);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(f.readAll());
  int pictures = 0;
  for (const auto& m : QRegularExpression(R"re(<img[^>]*src="([^"]+)")re").globalMatch(html)) {
    ++pictures;
    EXPECT_TRUE(QFileInfo(QFileInfo(index).dir().filePath(m.captured(1))).isFile()) << m.captured(1).toStdString();
  }
  EXPECT_GE(pictures, 8);
  for (const ToolButtonDef& b : ToolButtons())
    EXPECT_TRUE(html.contains("<kbd>" + QString::fromStdString(ToolButtonKey(b.name)) + "</kbd>"))
        << CtlName(b.name) << " " << ToolButtonKey(b.name);
}

// A key named in a tooltip does what the button does; a long command says
// in the status bar what it is doing while it runs.
TEST_F(NewTeacher, KeysOfTheToolButtonsAndTheStatusBar) {
  auto w = start(p);
  QStatusBar* status = w->statusBar();
  QStringList during;
  p.onProgress = [&](const std::string&) { during << status->currentMessage(); };
  w->trigger(Ctl::MenuTest);
  ASSERT_FALSE(during.isEmpty());
  EXPECT_EQ(during.first(), u("Kontroluji tabulku…"));
  EXPECT_EQ(status->currentMessage(), "");

  // On the topic plans, Alt+Insert adds a row; Ctrl+B asks for the backup
  // folder, which is not set.
  w->findChild<QTabBar*>("TabSet1")->setCurrentIndex(1);
  QCoreApplication::processEvents();
  const int rows = w->state().grid.rowCount();
  QTest::keyClick(w.get(), Qt::Key_Insert, Qt::AltModifier);
  EXPECT_EQ(w->state().grid.rowCount(), rows + 1);
  QTest::keyClick(w.get(), Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(p.questions, std::vector<std::string>{cp("Složka zálohy z handheldu není nastavena. Nastavit složky nyní?")});
}

TEST(FirstStartDialogs, WelcomeAnswersWithTheButtonClicked) {
  const struct {
    const char* button;  // nullptr: closed
    bool untick;
    WelcomeChoice choice;
  } cases[] = {
      {"WelcomeFindFolder", false, WelcomeChoice::FindFolder},
      {"WelcomeSample", true, WelcomeChoice::Sample},
      {"WelcomeEmpty", false, WelcomeChoice::EmptyBook},
      {nullptr, false, WelcomeChoice::EmptyBook},
  };
  for (const auto& c : cases) {
    WelcomeDialog d;
    d.show();
    if (c.choice == WelcomeChoice::FindFolder) screenshot(d, "welcome.png");
    if (c.untick) d.findChild<QCheckBox*>("WelcomeShowAgain")->click();
    if (c.button) d.findChild<QCommandLinkButton*>(c.button)->click();
    else d.reject();
    EXPECT_EQ(d.answer().choice, c.choice) << (c.button ? c.button : "closed");
    EXPECT_EQ(d.answer().showAgain, !c.untick);
  }
}

TEST(FirstStartDialogs, FoldersDialogEditsAndShowsTheFolderUsed) {
  FolderSettings given;
  given.desktopPath = "/home/jana/palm";
  given.userName = "Novakova Jana";
  given.adresar1 = "/home/jana/tridy/";
  given.dataFolder = "/home/jana/.local/share/Vekla/";
  given.exportFolder = "/home/jana/Dokumenty/Vekla/";
  FoldersDialog d(given);
  QStringList opened;
  d.openFolder = [&](const QString& f) { opened << f; };
  d.pickFolder = [](const QString&, const QString&) { return QStringLiteral("/media/usb/zaloha"); };
  d.show();
  auto* used = d.findChild<QLabel*>("LabelZalohaPouzita");
  EXPECT_EQ(used->text(), "/home/jana/palm/Novako/Backup/");
  screenshot(d, "folders-dialog.png");

  d.findChild<QPushButton*>("EditZalohaVybrat")->click();
  EXPECT_EQ(used->text(), "/media/usb/zaloha/");
  d.findChild<QLineEdit*>("EditAdresar1")->setText("/home/jana/nove");
  d.findChild<QPushButton*>("LabelDataFolderOtevrit")->click();
  EXPECT_EQ(opened, QStringList{given.dataFolder});
  const FolderSettings f = d.folders();
  EXPECT_EQ(f.backupFolder, "/media/usb/zaloha");
  EXPECT_EQ(f.desktopPath, given.desktopPath);
  EXPECT_EQ(f.adresar1, "/home/jana/nove");
  EXPECT_EQ(f.dataFolder, given.dataFolder);

  // Everything emptied: no folder is used.
  for (const char* name : {"EditZaloha", "EditPalmPath", "EditPalmUser"}) d.findChild<QLineEdit*>(name)->clear();
  EXPECT_EQ(used->text(), u("není nastavena"));
}

TEST(FirstStartDialogs, AboutNamesVersionLicenceAndLibraries) {
  AboutDialog d;
  const QString text = d.plainText();
  EXPECT_TRUE(text.contains(u("Verze " VEKLA_VERSION))) << text.toStdString();
  EXPECT_TRUE(text.contains("GPL-3.0-or-later"));
  for (const LibraryVersion& l : UsedLibraries())
    EXPECT_TRUE(text.contains(QString::fromStdString(l.name + " " + l.version))) << l.name;
  d.show();
  screenshot(d, "about.png");
}

// The message after an export: "Otevřít složku" answers true, OK false.
TEST(FirstStartDialogs, MessageOfferingTheFolder) {
  QLabel label;
  QtPrompter prompter(nullptr, &label);
  for (const bool open : {true, false}) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = true;
      EXPECT_TRUE(box->text().startsWith(u("Uloženo do složky /tmp/Vekla/html")));
      QPushButton* folder = nullptr;
      for (QAbstractButton* b : box->buttons())
        if (b->text() == u("Otevřít složku")) folder = qobject_cast<QPushButton*>(b);
      ASSERT_NE(folder, nullptr);
      if (open) {
        screenshot(*box, "export-message.png");
        folder->click();
      } else {
        box->button(QMessageBox::Ok)->click();
      }
    });
    EXPECT_EQ(prompter.messageOfferingFolder(cp("Uloženo do složky /tmp/Vekla/html:\nznamky-7a_0110.html."),
                                             "/tmp/Vekla/html"),
              open);
    EXPECT_TRUE(seen);
  }
}

}  // namespace
