#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <clocale>
#include <cstdio>

#include "app/handedfiles.h"
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "commands/commandline.h"
#include "commands/commands.h"
#include "commands/instance.h"
#include "workspace/folderlock.h"
#include "pdb/savefile.h"
#include "pdb/tempfolder.h"

namespace {

// How long a later start waits for the running window to take its files.
constexpr int kAnswerTime = 5000;

// A start that may not run: said on stderr, and in a message box where
// there is a screen to show it on.
int refuse(const QString& text) {
  std::fprintf(stderr, "vekla: %s\n", text.toUtf8().constData());
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
    QMessageBox::warning(nullptr, QStringLiteral("Vekla"), text);
  return 1;
}

// Whether the toolkit can find a screen: on Linux and other X11 or Wayland
// systems, a platform named on the command line or in QT_QPA_PLATFORM, or a
// display in the environment. Without one the toolkit would end the program
// with an English message and a core dump.
bool HasScreen(const QStringList& args) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (args.contains(QLatin1String("-platform")) || args.contains(QLatin1String("--platform"))) return true;
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (!qEnvironmentVariableIsEmpty(name)) return true;
  return false;
#else
  (void)args;
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // The command line is read before the toolkit starts, so that help,
  // version and a wrong option need no display.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const vekla::WindowOptions options = vekla::ParseWindowOptions(args);
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "vekla: %s\n", options.error.toUtf8().constData());
    std::fputs(vekla::WindowUsageText(), stderr);
    return 2;
  }
  if (options.help) {
    std::fputs(vekla::WindowUsageText(), stdout);
    return 0;
  }
  if (options.version) {
    // The same version the about box shows.
    std::printf("Vekla %s\n", VEKLA_VERSION);
    return 0;
  }

  if (!HasScreen(args)) {
    std::fputs("vekla: okno nelze otevřít, protože není k dispozici obrazovka (není nastavena\n"
               "proměnná DISPLAY ani WAYLAND_DISPLAY). Převod souborů bez okna: vekla-convert --help\n",
               stderr);
    return 1;
  }
  vekla::IgnoreFileSizeSignal();
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
  vekla::UseCzech();

  QStringList files;
  for (const QString& f : options.files) files << QFileInfo(f).absoluteFilePath();

  // One window per data folder: the window holds the lock of its working
  // files; a later start hands its files to it and ends.
  const QString programDir = vekla::ResolveProgramDir(QCoreApplication::applicationDirPath());
  const QString dataDir = programDir + "data/";
  QDir().mkpath(dataDir);
  vekla::FolderLock lock(dataDir);
  const vekla::Claim claim = vekla::ClaimFolder(lock, dataDir, programDir, files, kAnswerTime);
  if (claim.what == vekla::Claim::HandedOver) return 0;
  if (claim.what == vekla::Claim::Refused) return refuse(claim.refusal);
  vekla::InstanceServer server;
  if (claim.what == vekla::Claim::First && !server.listen(vekla::InstanceName(dataDir)))
    std::fprintf(stderr, "vekla: další spuštění nemohou předat soubory tomuto oknu (%s)\n",
                 vekla::InstanceName(dataDir).toUtf8().constData());

  vekla::RemoveStaleTemporaries();
  vekla::MainWindow w;
  w.show();
  auto* handed = new vekla::HandedFiles(w);
  QObject::connect(&server, &vekla::InstanceServer::filesHanded, handed,
                   [handed](const QStringList& f) { handed->take(f, true); });
  // Once the window is closed, files handed over would be lost: the next
  // start waits for this one to end and runs a window of its own.
  QObject::connect(&app, &QGuiApplication::lastWindowClosed, &server, &vekla::InstanceServer::close);
  handed->take(files, false);
  return app.exec();
}
