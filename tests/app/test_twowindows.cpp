// The window program started as a program: its command line without a
// display, and two starts on one data folder, where the later one hands its
// files to the window that runs and the converter keeps off the folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "app/handedfiles.h"
#include "app/mainwindow.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/process.h"
#include "support/scriptedprompter.h"

using namespace vekla;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class TwoWindows : public ::testing::Test {
 protected:
  // A timetable and a topic plan made from the samples; neither asks
  // anything when it is opened.
  // The teacher has seen the welcome once and turned it off, so a start
  // without files opens no dialog that would hold handed files back.
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(home()));
    WriteFileAtomic(home() + "/vekla.ini", "[Nastaveni]\r\nUvitani=0\r\n");
    for (const auto& [csv, pdb] : {std::pair{"Vekla-Novakova.csv", "Vekla-N.PDB"}, {"Rozpisy-Dejepis-7A.csv", "R.PDB"}})
      ASSERT_EQ(end(start(VEKLA_CONVERT_BIN, {QStringLiteral(VEKLA_SOURCE_DIR "/examples/") + csv, pdb})).first, 0);
  }
  void TearDown() override {
    for (const auto& p : started_) {
      if (p->state() == QProcess::NotRunning) continue;
      ::kill(static_cast<pid_t>(p->processId()), SIGCONT);
      p->kill();
      p->waitForFinished(5000);
    }
  }

  QString home() const { return dir_.path() + "/vh"; }
  std::string data(const char* name) const {
    QFile f(home() + "/data/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  }
  QProcess* start(const char* program, const QStringList& args, bool display = true) {
    QProcessEnvironment env = test::TestEnvironment(dir_.path());
    env.insert(QStringLiteral("VEKLA_HOME"), home());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!display)
      for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QString::fromLatin1(name));
    started_.push_back(std::make_unique<QProcess>());
    QProcess* p = started_.back().get();
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(dir_.path());
    p->start(QString::fromUtf8(program), args);
    return p;
  }
  // Its exit status (-1: it did not end in time) and its stderr.
  static std::pair<int, QString> end(QProcess* p) {
    if (!p->waitForFinished(20000) || p->exitStatus() != QProcess::NormalExit) return {-1, QString()};
    return {p->exitCode(), QString::fromUtf8(p->readAllStandardError())};
  }
  static bool waitUntil(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 20000); }

  QTemporaryDir dir_;
  std::vector<std::unique_ptr<QProcess>> started_;
};

// A wrong option, help and version need no display.
TEST_F(TwoWindows, CommandLineWithoutADisplay) {
  const struct {
    QStringList args;
    int status;
    const char *out, *err;
  } cases[] = {
      {{"--bogus"}, 2, "", "vekla: neznámá volba --bogus\nPoužití: vekla [SOUBOR...]\n"},
      {{"-h"}, 0, "Použití: vekla [SOUBOR...]\n", ""},
      {{"-platform", "xcb", "--version"}, 0, "Vekla " VEKLA_VERSION "\n", ""},
  };
  for (const auto& c : cases) {
    QProcess* p = start(VEKLA_BIN, c.args, false);
    ASSERT_TRUE(p->waitForFinished(20000));
    EXPECT_EQ(p->exitCode(), c.status);
    const QString out = QString::fromUtf8(p->readAllStandardOutput()), err = QString::fromUtf8(p->readAllStandardError());
    EXPECT_EQ(out.left(u(c.out).size()), u(c.out)) << out.toStdString();
    EXPECT_EQ(err.left(u(c.err).size()), u(c.err)) << err.toStdString();
  }
}

// The second start hands its file to the first window and ends with 0; the
// window opens it on its tab and keeps what the other tab holds. While the
// window runs, the converter keeps off its working files; a window that
// does not answer refuses a second start; a window killed with its lock
// left behind does not keep the next one out.
TEST_F(TwoWindows, SecondStartHandsItsFilesToTheFirst) {
  QProcess* first = start(VEKLA_BIN, {"Vekla-N.PDB"});
  const QString pid = QString::number(first->processId());
  ASSERT_TRUE(waitUntil([&] { return data("Vekla-.txt").find(cp("tělocvična")) != std::string::npos; }));
  const std::string timetable = data("Vekla-.txt");

  EXPECT_EQ(end(start(VEKLA_BIN, {"R.PDB"})).first, 0);
  EXPECT_TRUE(waitUntil([&] { return data("Rozpisy-.txt").find(cp("Pravěk: doba kamenná")) != std::string::npos; }));
  EXPECT_EQ(data("Vekla-.txt"), timetable);
  const std::string plan = data("Rozpisy-.txt");

  const QStringList convert{"--data", home() + "/data", "R.PDB", "out.csv"};
  const auto [refused, refusal] = end(start(VEKLA_CONVERT_BIN, convert));
  EXPECT_EQ(refused, 1);
  EXPECT_TRUE(refusal.startsWith(u("vekla-convert: Složku pracovních souborů \"") + home() +
                                 u("/data/\" používá otevřené okno programu Vekla (proces ") + pid + ")"))
      << refusal.toStdString();
  EXPECT_FALSE(QFile::exists(dir_.filePath("out.csv")));
  EXPECT_EQ(data("Rozpisy-.txt"), plan);

  ASSERT_EQ(::kill(static_cast<pid_t>(first->processId()), SIGSTOP), 0);
  const auto [silent, silence] = end(start(VEKLA_BIN, {"Vekla-N.PDB"}));
  EXPECT_EQ(silent, 1);
  EXPECT_TRUE(silence.contains(u("vekla: Vekla už běží se složkou dat \"") + home() + u("/\" (proces ") + pid +
                               u("), ale do 5 s neodpověděla.")))
      << silence.toStdString();

  first->kill();
  ASSERT_TRUE(first->waitForFinished(5000) && QFile::exists(home() + "/data/vekla.lock"));
  QProcess* next = start(VEKLA_BIN, {});
  ASSERT_TRUE(waitUntil([&] { return data("vekla.lock").rfind(std::to_string(next->processId()) + "\n", 0) == 0; }));
  ASSERT_TRUE(QFile::remove(home() + "/data/Rozpisy-.txt"));
  EXPECT_EQ(end(start(VEKLA_BIN, {dir_.filePath("R.PDB")})).first, 0);
  EXPECT_TRUE(waitUntil([&] { return data("Rozpisy-.txt") == plan; }));

  next->kill();
  ASSERT_TRUE(next->waitForFinished(5000));
  EXPECT_EQ(end(start(VEKLA_CONVERT_BIN, convert)).first, 0);
  EXPECT_TRUE(QFile::exists(dir_.filePath("out.csv")));
}

// Handed files wait while a dialog of the window is open (a command runs
// under it), then open as a dropped file does, with its questions: unsaved
// edits on the file's tab are kept unless the teacher lets them go.
TEST_F(TwoWindows, HandedFilesWaitForADialogAndAskAsADropDoes) {
  qputenv("VEKLA_HOME", home().toUtf8());
  test::ScriptedPrompter p;
  MainWindow w(&p);
  w.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.activated(); }, 5000));
  auto* handed = new HandedFiles(w);
  const QString plan = dir_.filePath("R.PDB");
  const std::string topic = cp("Pravěk: doba kamenná");

  QDialog dialog(&w);
  dialog.setModal(true);
  dialog.show();
  handed->take({plan}, true);
  QTest::qWait(600);
  EXPECT_NE(w.state().kind, DbKind::Rozpisy);
  dialog.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.state().kind == DbKind::Rozpisy; }, 5000));
  EXPECT_EQ(w.state().grid.text(2, 1), topic);

  for (const bool discard : {false, true}) {
    w.run([&] {
      w.state().grid.setText(2, 1, "upraveno");
      MarkEdited(w.state());
    });
    p.questions.clear();
    p.questionAnswers = {discard};
    handed->take({plan}, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.questions.empty(); }, 5000));
    EXPECT_EQ(p.questions, std::vector<std::string>{cp("Zahodit neuložené změny?")});
    EXPECT_EQ(w.state().grid.text(2, 1), discard ? topic : "upraveno");
  }
  qunsetenv("VEKLA_HOME");
}

}  // namespace
