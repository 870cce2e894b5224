// Screenshots of the real window for the user guide, made headless:
//   vekla-manual-shots OUTPUT_FOLDER EXAMPLES_FOLDER
// scripts/manual-screenshots runs it with a fresh data folder, so the
// pictures show the program as a new teacher sees it, with the sample files
// of examples/ opened on their tabs.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <cstdio>

#include "app/aboutdialog.h"
#include "app/foldersdialog.h"
#include "app/mainwindow.h"
#include "app/settingsdialogs.h"
#include "app/welcomedialog.h"
#include "app/widgets.h"
#include "pdb/clock.h"
#include "support/scriptedprompter.h"
#include "workspace/gradeoptions.h"

using namespace vekla;

namespace {

QString output;
int failures = 0;

// The widget, or only the part its visible children cover (a tool bar
// as wide as the window, whose buttons fill its left part).
void save(QWidget& w, const char* name, bool childrenOnly = false) {
  QCoreApplication::processEvents();
  const QString file = QDir(output).filePath(QString::fromLatin1(name));
  const QRect part = childrenOnly ? w.childrenRect().adjusted(-2, -2, 2, 2) & w.rect() : w.rect();
  if (w.grab(part).save(file)) {
    std::printf("%s\n", qPrintable(file));
  } else {
    std::fprintf(stderr, "vekla-manual-shots: cannot write %s\n", qPrintable(file));
    ++failures;
  }
}

// A dialog as it shows, without waiting for an answer.
void saveDialog(QWidget& dialog, const char* name) {
  dialog.show();
  QCoreApplication::processEvents();
  dialog.adjustSize();
  save(dialog, name);
  dialog.close();
}

void switchTab(MainWindow& w, int index) {
  w.findChild<QTabBar*>("TabSet1")->setCurrentIndex(index);
  QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: vekla-manual-shots OUTPUT_FOLDER EXAMPLES_FOLDER\n");
    return 2;
  }
  output = QString::fromLocal8Bit(argv[1]);
  const QDir examples(QString::fromLocal8Bit(argv[2]));
  QDir().mkpath(output);
  UseCzech();
  // The same day in every picture.
  SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0)));

  test::ScriptedPrompter prompter;
  // The welcome of the first start opens the sample class.
  prompter.welcomeAnswers = {{WelcomeChoice::Sample, true}};
  MainWindow w(&prompter);
  w.resize(1100, 760);
  w.show();
  if (!QTest::qWaitFor([&] { return w.activated() && prompter.welcomes > 0; }, 5000)) ++failures;
  QCoreApplication::processEvents();
  save(w, "okno-znamky.png");
  if (auto* bar = w.findChild<QToolBar*>("SpeedBar1")) save(*bar, "nastroje.png", true);
  if (auto* grades = w.findChild<QGroupBox*>("GroupBoxZnamky")) save(*grades, "panel-znamky.png");

  switchTab(w, 1);
  w.openGivenFile(examples.filePath("Rozpisy-Dejepis-7A.csv"));
  save(w, "okno-rozpisy.png");
  switchTab(w, 2);
  w.openGivenFile(examples.filePath("Vekla-Novakova.csv"));
  save(w, "okno-rozvrh.png");
  switchTab(w, 3);
  save(w, "okno-kalendar.png");
  switchTab(w, 0);

  WelcomeDialog welcome;
  saveDialog(welcome, "uvitani.png");

  FolderSettings folders;
  folders.backupFolder = QStringLiteral("/home/jana/Palm/Novakova/Backup");
  folders.adresar1 = QString::fromUtf8("/home/jana/Dokumenty/Třídy/");
  folders.dataFolder = QStringLiteral("/home/jana/.local/share/Vekla/");
  folders.exportFolder = QStringLiteral("/home/jana/Dokumenty/Vekla/");
  FoldersDialog foldersDialog(folders);
  saveDialog(foldersDialog, "slozky.png");

  GradeOptionsDialog options(nullptr);
  options.setOptions(GradeDisplayOptions{});
  saveDialog(options, "nastaveni-znamky.png");

  AboutDialog about;
  saveDialog(about, "o-programu.png");

  // Nothing of this run is kept: the window does not ask before closing.
  w.state().unsaved.fill(false);
  w.close();
  return failures == 0 ? 0 : 1;
}
