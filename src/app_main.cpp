#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/mainwindow.h"
#include "app/widgets.h"

namespace {

const char kUsage[] =
    "Použití: vekla [SOUBOR...]\n"
    "Otevře okno programu Vekla. Databáze .pdb zadaná jako SOUBOR se otevře na své\n"
    "záložce, soubor .csv se načte do zobrazené záložky, jako po přetažení na okno.\n"
    "Volby:\n"
    "  -V, --version  verze programu\n"
    "  -h, --help     tato nápověda\n"
    "Nastavení (vekla.ini), pracovní soubory (data/) a exporty (html/, excel/) jsou\n"
    "ve složce VEKLA_HOME, je-li nastavena; jinak ve složce programu, obsahuje-li\n"
    "soubor vekla.ini nebo vekla-portable (přenosná instalace); jinak ve složce\n"
    "~/.local/share/Vekla.\n"
    "Převod souborů bez okna: vekla-convert --help\n";

// --help and --version answer before the toolkit starts, so they work without
// a display. Returns the exit status, or -1 to go on.
int answerInfoOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--") == 0) break;
    if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(a, "-V") == 0 || std::strcmp(a, "--version") == 0) {
      // The same version the about box shows.
      std::printf("Vekla %s\n", VEKLA_VERSION);
      return 0;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = answerInfoOptions(argc, argv); status >= 0) return status;
  QApplication app(argc, argv);
  // The toolkit switched the C library to the user's locale: C numbers, so no file has "0,7" for 0.7.
  std::setlocale(LC_NUMERIC, "C");
  // The application title. No display name: the toolkit would append it to
  // the window caption, which shows the semester label and the database.
  QApplication::setApplicationName("Vekla");
  QApplication::setApplicationVersion(VEKLA_VERSION);
  // The installed desktop entry and icon (data/), so that the desktop shows
  // the window under its menu item; a build folder has neither and goes
  // without.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vekla.Vekla"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.vekla.Vekla")));
  // The toolkit has taken its own options (-platform, -style, ...) out.
  QStringList files;
  bool optionsEnd = false;
  for (const QString& a : QApplication::arguments().mid(1)) {
    if (!optionsEnd && a == QLatin1String("--")) {
      optionsEnd = true;
    } else if (!optionsEnd && a.startsWith('-') && a != QLatin1String("-")) {
      std::fprintf(stderr, "vekla: neznámá volba %s\nNápověda: vekla --help\n", a.toUtf8().constData());
      return 2;
    } else {
      files << a;
    }
  }
  vekla::UseCzech();
  vekla::MainWindow w;
  w.show();
  if (!files.isEmpty()) {
    // The stored tab is loaded first, so that the files are opened over it.
    QTimer::singleShot(0, &w, [&w, files] {
      w.activate();
      for (const QString& f : files) w.openGivenFile(QFileInfo(f).absoluteFilePath());
    });
  }
  return app.exec();
}
