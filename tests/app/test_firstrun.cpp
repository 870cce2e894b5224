// The first hour of a new teacher, headless: the welcome on a first start and
// the folder it finds used by the backup import, the guide on F1, the keys
// and the status bar, and the welcome and export message themselves.
// Screenshots go to $VEKLA_SCREENSHOTS when it is set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/qtprompter.h"
#include "app/welcomedialog.h"
#include "commands/actions.h"
#include "commands/folders.h"
#include "commands/kindtable.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "support/windowfixture.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// A first start: an empty data folder, a home without J-Pilot.
struct NewTeacher : ::testing::Test {
  QTemporaryDir root;
  ScriptedPrompter p;
  const QByteArray home = qgetenv("HOME");
  void SetUp() override {
    QDir(root.path()).mkpath("home");
    qputenv("VEKLA_HOME", QFile::encodeName(root.filePath("data")));
    qputenv("HOME", QFile::encodeName(root.filePath("home")));
    qputenv("JPILOT_HOME", QFile::encodeName(root.filePath("home")));
  }
  void TearDown() override {
    qunsetenv("VEKLA_HOME");
    qunsetenv("JPILOT_HOME");
    qputenv("HOME", home);
  }
  std::unique_ptr<MainWindow> start(ScriptedPrompter& prompter) {
    auto w = std::make_unique<MainWindow>(&prompter);
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->activated(); }, 5000));
    QTest::qWait(20);  // the welcome comes once the window is up
    return w;
  }
};

TEST_F(NewTeacher, WelcomeFindsTheBackupFolderAndTheBackupImportOpensThere) {
  const QString backup = root.filePath("home/Palm/Novakova/Backup");
  QDir().mkpath(backup);
  VeklaState t;
  InitControls(t);
  SetupTab(t, DbKind::Znamky);
  ScriptedPrompter q;
  q.saveAnswers = {backup + "/Znamky-7A.PDB"};
  ASSERT_EQ(KindTable(DbKind::Znamky).save(t, q), Outcome::Done);

  p.welcomeAnswers = {{WelcomeChoice::FindFolder, true}};
  p.folderAnswers = {backup};
  {
    auto w = start(p);
    ASSERT_EQ(p.welcomes, 1);
    EXPECT_NE(p.messages.at(0).find(cp("jsou databáze: známky 1.")), std::string::npos);
    p.openAnswers = {backup + "/Znamky-7A.PDB"};
    w->trigger(Ctl::Otevt1);
    EXPECT_EQ(p.openRequests.at(0).initialDir, backup + "/");
    EXPECT_TRUE(w->windowTitle().contains("Znamky-7A")) << w->windowTitle().toStdString();
    w->close();
  }
  ScriptedPrompter again;
  auto w = start(again);
  EXPECT_EQ(again.welcomes, 0);
}

// F1 shows the guide, every picture it names is there, and it names the key
// of every tool button, so it keeps up with the program.
TEST_F(NewTeacher, F1OpensTheGuide) {
  auto w = start(p);
  QTest::keyClick(w.get(), Qt::Key_F1);
  HelpWindow* help = w->helpWindow();
  ASSERT_TRUE(help && help->isVisible());
  EXPECT_EQ(help->windowTitle(), QString::fromUtf8("Vekla – příručka pro učitele"));
  SaveScreenshot(*help, "help-window.png");

  const QString index = FindShippedFile(QCoreApplication::applicationDirPath(), "manual/index.html");
  QFile f(index);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(f.readAll());
  int pictures = 0;
  for (const auto& m : QRegularExpression(R"re(<img[^>]*src="([^"]+)")re").globalMatch(html)) {
    ++pictures;
    EXPECT_TRUE(QFileInfo(QFileInfo(index).dir().filePath(m.captured(1))).isFile()) << m.captured(1).toStdString();
  }
  EXPECT_GE(pictures, 8);
  for (const ActionDef& b : Actions()) {
    if (!b.menu.empty()) continue;
    EXPECT_TRUE(html.contains("<kbd>" + QString::fromStdString(ToolButtonKey(b.name)) + "</kbd>")) << CtlName(b.name);
  }
}

// A long command says in the status bar what it is doing while it runs; a
// key named in a tooltip does what the button does.
TEST_F(NewTeacher, StatusBarAndKeys) {
  auto w = start(p);
  QStringList during;
  p.onProgress = [&](const std::string&) { during << w->statusBar()->currentMessage(); };
  w->trigger(Ctl::MenuTest);
  EXPECT_EQ(during.value(0), QString::fromUtf8("Kontroluji tabulku…"));
  EXPECT_EQ(w->statusBar()->currentMessage(), "");

  w->findChild<QTabBar*>("TabSet1")->setCurrentIndex(1);
  const int rows = w->state().grid.rowCount();
  QTest::keyClick(w.get(), Qt::Key_Insert, Qt::AltModifier);
  EXPECT_EQ(w->state().grid.rowCount(), rows + 1);
  QTest::keyClick(w.get(), Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(p.questions,
            std::vector<std::string>{cp("Složka zálohy z handheldu není nastavena. Nastavit složky nyní?")});
}

TEST(FirstStartDialogs, WelcomeAnswersWithTheButtonClicked) {
  WelcomeDialog d;
  d.show();
  SaveScreenshot(d, "welcome.png");
  d.findChild<QCheckBox*>("WelcomeShowAgain")->setChecked(false);
  d.findChild<QCommandLinkButton*>("WelcomeSample")->click();
  EXPECT_EQ(d.answer().choice, WelcomeChoice::Sample);
  EXPECT_FALSE(d.answer().showAgain);
  WelcomeDialog closed;
  closed.reject();
  EXPECT_EQ(closed.answer().choice, WelcomeChoice::EmptyBook);
  EXPECT_TRUE(closed.answer().showAgain);
}

// The message after an export: "Otevřít složku" answers true, OK false.
TEST(FirstStartDialogs, MessageOfferingTheFolder) {
  QLabel label;
  QtPrompter prompter(nullptr, &label);
  for (const bool open : {true, false}) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      SaveScreenshot(*box, "export-message.png");
      for (QAbstractButton* b : box->buttons())
        if ((b->text() == QString::fromUtf8("&Otevřít složku")) == open) b->click();
    });
    EXPECT_EQ(prompter.messageOfferingFolder(cp("Uloženo do složky /tmp/Vekla/html:\nznamky-7a_0110.html."),
                                             "/tmp/Vekla/html"),
              open);
  }
}

}  // namespace
