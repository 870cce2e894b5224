// The window program started as a program: its command line without a
// display, and two starts on one data folder, where the later one hands its
// files to the window that runs and the converter keeps off the folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "app/handedfiles.h"
#include "app/mainwindow.h"
#include "pdb/text.h"
#include "support/process.h"
#include "support/scriptedprompter.h"

using namespace vekla;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class TwoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // A timetable and a topic plan, made from the samples by the converter;
    // neither asks anything when it is opened.
    for (const auto& [csv, pdb] : {std::pair{"Vekla-Novakova.csv", "Vekla-N.PDB"}, {"Rozpisy-Dejepis-7A.csv", "R.PDB"}}) {
      const test::Result r = test::RunIn(dir_.path(), QStringLiteral(VEKLA_CONVERT_BIN),
                                         {QStringLiteral(VEKLA_SOURCE_DIR "/examples/") + csv, pdb});
      ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
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
  QString dataFile(const char* name) const { return home() + "/data/" + name; }
  std::string data(const char* name) const {
    QFile f(dataFile(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  }

  QProcess* start(const QString& program, const QStringList& args, bool display = true) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = test::TestEnvironment(dir_.path());
    env.insert(QStringLiteral("VEKLA_HOME"), home());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!display) {
      for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QString::fromLatin1(name));
    }
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(dir_.path());
    p->start(program, args);
    EXPECT_TRUE(p->waitForStarted(10000));
    started_.push_back(std::move(p));
    return started_.back().get();
  }
  QProcess* window(const QStringList& args) { return start(QStringLiteral(VEKLA_BIN), args); }
  // A start that ends by itself: its exit status (-1: it did not end in
  // time or crashed) and what it said on stderr.
  std::pair<int, QString> ended(QProcess* p, int ms = 20000) {
    if (!p->waitForFinished(ms)) return {-1, QString()};
    const int status = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    return {status, QString::fromUtf8(p->readAllStandardError())};
  }
  static bool waitUntil(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 20000); }

  QTemporaryDir dir_;
  std::vector<std::unique_ptr<QProcess>> started_;
};

// A wrong option, help and version need no display; a wrong option prints
// the usage and ends with 2.
TEST_F(TwoWindows, CommandLineWithoutADisplay) {
  const struct {
    QStringList args;
    int status;
    const char *out, *err;  // what each stream must contain
  } cases[] = {
      {{"--bogus"}, 2, "", "vekla: neznámá volba --bogus\nPoužití: vekla [SOUBOR...]\n"},
      {{"Znamky-7A.PDB", "-x"}, 2, "", "vekla: neznámá volba -x\nPoužití: vekla"},
      {{"--version=2"}, 2, "", "vekla: volba --version nemá hodnotu\nPoužití: vekla"},
      {{"-platform"}, 2, "", "vekla: volbě -platform chybí hodnota\nPoužití: vekla"},
      {{"-h"}, 0, "Použití: vekla [SOUBOR...]\n", ""},
      {{"-platform", "xcb", "--version"}, 0, "Vekla " VEKLA_VERSION "\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QProcess* p = start(QStringLiteral(VEKLA_BIN), c.args, false);
    ASSERT_TRUE(p->waitForFinished(20000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), c.status);
    const QString out = QString::fromUtf8(p->readAllStandardOutput());
    const QString err = QString::fromUtf8(p->readAllStandardError());
    EXPECT_TRUE(out.contains(u(c.out))) << out.toStdString();
    EXPECT_TRUE(err.contains(u(c.err))) << err.toStdString();
    if (*c.out == '\0') {
      EXPECT_EQ(out, QString());
    }
  }
  EXPECT_FALSE(QFileInfo::exists(home()));
}

// The second start hands its file to the first window and ends with 0; the
// window opens it on its tab and keeps what the other tab holds. While the
// window runs, the converter keeps off its working files; a window that
// does not answer refuses a second start; a window killed with its lock
// left behind does not keep the next one out.
TEST_F(TwoWindows, SecondStartHandsItsFilesToTheFirst) {
  QProcess* first = window({QStringLiteral("Vekla-N.PDB")});
  ASSERT_TRUE(waitUntil([&] { return data("Vekla-.txt").find(cp("tělocvična")) != std::string::npos; }))
      << first->readAllStandardError().toStdString();
  const std::string timetable = data("Vekla-.txt");
  ASSERT_TRUE(QFileInfo::exists(dataFile("vekla.lock")));

  QElapsedTimer clock;
  clock.start();
  const auto [status, err] = ended(window({QStringLiteral("R.PDB")}));
  EXPECT_EQ(status, 0) << err.toStdString();
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_TRUE(waitUntil([&] { return data("Rozpisy-.txt").find(cp("Pravěk: doba kamenná")) != std::string::npos; }));
  EXPECT_EQ(data("Vekla-.txt"), timetable);
  EXPECT_EQ(first->state(), QProcess::Running);

  // The converter on the window's working files: refused, nothing written.
  const std::string plan = data("Rozpisy-.txt");
  const auto [convertStatus, convertErr] = ended(start(
      QStringLiteral(VEKLA_CONVERT_BIN), {QStringLiteral("--data"), home() + "/data", QStringLiteral("R.PDB"), QStringLiteral("out.csv")}));
  EXPECT_EQ(convertStatus, 1);
  EXPECT_TRUE(convertErr.startsWith(u("vekla-convert: Složku pracovních souborů \"") + home() + u("/data/\" používá otevřené "
                                                                                                   "okno programu Vekla (proces ") +
                                    QString::number(first->processId()) + ")"))
      << convertErr.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("out.csv")));
  EXPECT_EQ(data("Rozpisy-.txt"), plan);

  // A window that does not answer: the start says so and runs nothing.
  ASSERT_EQ(::kill(static_cast<pid_t>(first->processId()), SIGSTOP), 0);
  const auto [stoppedStatus, stoppedErr] = ended(window({QStringLiteral("Vekla-N.PDB")}));
  ::kill(static_cast<pid_t>(first->processId()), SIGCONT);
  EXPECT_EQ(stoppedStatus, 1);
  EXPECT_TRUE(stoppedErr.contains(u("vekla: Vekla už běží se složkou dat \"") + home() + u("/\" (proces ") +
                                  QString::number(first->processId()) + u("), ale do 5 s neodpověděla.")))
      << stoppedErr.toStdString();

  // Killed: its lock stays behind, and the next start runs the window.
  first->kill();
  ASSERT_TRUE(first->waitForFinished(5000));
  ASSERT_TRUE(QFileInfo::exists(dataFile("vekla.lock")));
  QProcess* next = window({});
  ASSERT_TRUE(waitUntil([&] { return data("vekla.lock").rfind(std::to_string(next->processId()) + "\n", 0) == 0; }));
  ASSERT_TRUE(QFile::remove(dataFile("Rozpisy-.txt")));
  const auto [handedStatus, handedErr] = ended(window({dir_.filePath("R.PDB")}));
  EXPECT_EQ(handedStatus, 0) << handedErr.toStdString();
  EXPECT_TRUE(waitUntil([&] { return data("Rozpisy-.txt") == plan; }));
  EXPECT_EQ(next->state(), QProcess::Running);

  // And a converter after a killed window runs as well.
  next->kill();
  ASSERT_TRUE(next->waitForFinished(5000));
  const auto [afterStatus, afterErr] = ended(start(
      QStringLiteral(VEKLA_CONVERT_BIN), {QStringLiteral("--data"), home() + "/data", QStringLiteral("R.PDB"), QStringLiteral("out.csv")}));
  EXPECT_EQ(afterStatus, 0) << afterErr.toStdString();
  EXPECT_TRUE(QFileInfo::exists(dir_.filePath("out.csv")));
  EXPECT_FALSE(QFileInfo::exists(dataFile("vekla.lock")));
}

// Handed files wait while a dialog of the window is open (a command is
// running under it), then open as a dropped file does, with its questions:
// unsaved edits on the file's tab are kept unless the teacher lets them go.
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
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
  handed->take({plan}, true);
  QTest::qWait(600);
  EXPECT_NE(w.state().kind, DbKind::Rozpisy);
  dialog.close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.state().kind == DbKind::Rozpisy; }, 5000));
  EXPECT_EQ(w.state().grid.text(2, 1), topic);
  EXPECT_TRUE(p.questions.empty());

  const struct {
    bool discard;
    std::string shown;
  } cases[] = {{false, "upraveno"}, {true, topic}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.discard);
    w.run([&] {
      w.state().grid.setText(2, 1, "upraveno");
      MarkEdited(w.state());
    });
    p.questions.clear();
    p.questionAnswers = {c.discard};
    handed->take({plan}, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.questions.empty(); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(p.questions, std::vector<std::string>{cp("Zahodit neuložené změny?")});
    EXPECT_EQ(w.state().grid.text(2, 1), c.shown);
  }
  qunsetenv("VEKLA_HOME");
}

}  // namespace
