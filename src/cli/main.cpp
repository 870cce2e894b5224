// vekla-convert: runs the window program's open and save commands without a
// window, for batch work and for tests.
//
// The printed pages need Qt's GUI module, whose libraries take longer to load
// than a whole small conversion. So the converter is built twice: the one
// users run, without that module, and the same program with the PDF codecs
// (VEKLA_CONVERT_PRINTS) in libexec/vekla/, to which the first hands a
// command line whose output is a PDF file. Only a PDF conversion pays for
// the GUI module.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <variant>
#ifdef __GLIBC__
#include <malloc.h>
#include <sys/mman.h>
#endif
#ifdef VEKLA_CONVERT_PRINTS
#include <QGuiApplication>

#include "print/printcodecs.h"
#else
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "cli/cliprompter.h"
#include "cli/options.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/gradepanel.h"
#include "commands/kindtable.h"
#include "convert/csv.h"
#include "pdb/clock.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/tempfolder.h"
#include "pdb/text.h"
#include "workspace/folderlock.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::cli;

namespace {

enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

enum class Format { Pdb, Csv, Sql, Xlsx, Html, Pdf, Unknown };

Format formatOf(const QString& path, bool output) {
  if (output && (path.endsWith('/') || QFileInfo(path).isDir())) return Format::Html;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("pdb")) return Format::Pdb;
  if (suffix == QLatin1String("csv")) return Format::Csv;
  if (output && suffix == QLatin1String("sql")) return Format::Sql;
  if (output && suffix == QLatin1String("xlsx")) return Format::Xlsx;
  if (output && suffix == QLatin1String("pdf")) return Format::Pdf;
  return Format::Unknown;
}

int usageError(const std::string& utf8) {
  PrintMessageUtf8(utf8);
  std::fputs(UsageText(), stderr);
  return kUsage;
}

// The conversion that reads or writes a file of a format other than a database.
std::optional<Conversion> ImportOf(Format f, bool twoValues) {
  if (f == Format::Csv) return twoValues ? Conversion::ImportCsvTwoValues : Conversion::ImportCsv;
  return std::nullopt;
}
std::optional<Conversion> ExportOf(Format f, bool report) {
  switch (f) {
    case Format::Csv: return Conversion::ExportCsv;
    case Format::Sql: return Conversion::ExportSql;
    case Format::Xlsx: return Conversion::ExportXlsx;
    case Format::Html: return Conversion::ExportHtml;
    case Format::Pdf: return report ? Conversion::ExportReport : Conversion::ExportPdf;
    default: return std::nullopt;
  }
}
const char* ConversionName(Conversion c) {
  switch (c) {
    case Conversion::ImportCsv:
    case Conversion::ImportCsvTwoValues: return "import z CSV";
    case Conversion::ExportCsv: return "export do CSV";
    case Conversion::ExportSql: return "export do SQL";
    case Conversion::ExportXlsx: return "export do Excelu";
    case Conversion::ExportHtml: return "export do HTML";
    case Conversion::ExportPdf: return "tisk do PDF";
    case Conversion::ExportReport: return "výpis pro rodiče";
  }
  return "";
}

// A conversion the kind does not have (the calendar has no page): said
// clearly, nothing touched.
int notAvailable(DbKind kind, Conversion c) {
  PrintMessageUtf8(toUtf8(cp(Params(kind).noun)) + " nemá " + ConversionName(c));
  return kUsage;
}

int printInfo(const QString& file) {
  try {
    const PdbFile pdb = PdbFile::load(file);
    const PdbHeader& h = pdb.header();
    auto line = [](const char* key, const std::string& cpValue) {
      std::printf("%s: %s\n", key, toUtf8(cpValue).c_str());
    };
    line("name", h.name);
    line("creator", h.creator);
    line("type", h.type);
    line("created", PalmTimeToDateText(h.created) + " " + PalmTimeToTimeText(h.created));
    line("modified", PalmTimeToDateText(h.modified) + " " + PalmTimeToTimeText(h.modified));
    line("records", std::to_string(h.recordCount));
    std::fflush(stdout);
    return kDone;
  } catch (const VeklaError& e) {
    PrintMessage(e.text());
    return kFailed;
  }
}

// The file a path names, for telling whether two paths are one file: links,
// "." and ".." resolved. A file not made yet is named through its folder.
QString FileIdentity(const QString& path) {
  const QFileInfo info(path);
  if (info.exists()) return info.canonicalFilePath();
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : QDir(folder).filePath(info.fileName());
}

bool SameFile(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
  constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
  constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
  return FileIdentity(a).compare(FileIdentity(b), kCase) == 0;
}

// An output that is the input would replace the file being converted: the
// input would be lost whenever the conversion drops anything (a CSV file
// carries one semester of a grade book only). Refused before anything is
// read or written.
int overwritesInput(const std::string& what, const QString& file) {
  PrintMessageUtf8(what + " \"" + file.toStdString() + "\" je vstupní soubor, nic nebylo zapsáno");
  return kFailed;
}

// The working files of --data are the window's own when a window uses that
// folder: the conversion holds the folder's lock while it runs, and is
// refused while a window holds it. Another conversion on the folder ends
// soon and is waited for. A folder where no lock can be made is left to the
// run, whose writes there say what is wrong.
constexpr int kWaitForConversion = 60000;

int takeDataFolder(FolderLock& lock, const QString& dir) {
  QDir().mkpath(dir);
  if (lock.take() != FolderLock::Take::Held) return kDone;
  const std::optional<FolderLock::Holder> h = lock.holder();
  const bool conversion = h && h->host.isEmpty() && h->program == OwnProgramName();
  if (conversion && lock.waitAndTake(kWaitForConversion)) return kDone;
  const QString folder = QDir::toNativeSeparators(QDir(dir).absolutePath() + '/');
  const QString host = h && !h->host.isEmpty() ? QStringLiteral(" na počítači %1").arg(h->host) : QString();
  QString text;
  if (!h)
    text = QStringLiteral("Složka pracovních souborů \"%1\" je zamčena souborem \"%2\", který nelze přečíst.")
               .arg(folder, QDir::toNativeSeparators(lock.lockFile()));
  else if (conversion)
    text = QStringLiteral(
               "Složku pracovních souborů \"%1\" používá jiný převod vekla-convert (proces %2), který "
               "neskončil do %3 s; zadejte jinou složku --data.")
               .arg(folder, QString::number(h->pid), QString::number(kWaitForConversion / 1000));
  else
    text = QStringLiteral(
               "Složku pracovních souborů \"%1\" používá otevřené okno programu Vekla (proces %2%3); "
               "zavřete ho, nebo zadejte jinou složku --data.")
               .arg(folder, QString::number(h->pid), host);
  PrintMessageUtf8((text + QStringLiteral(" Nic nebylo zapsáno.")).toStdString());
  return kFailed;
}

// Runs one command as the window would and prints the error-log lines it added.
// The command starts on an empty log, so every line in it afterwards is new;
// the earlier lines are put back in front of them, moved rather than copied
// (a damaged file may have logged hundreds of thousands).
Outcome run(VeklaState& s, CliPrompter& p, const std::function<Outcome()>& command) {
  std::vector<std::string> before = std::move(s.Memo1);
  s.Memo1.clear();
  const Outcome outcome = RunCommand(s, p, command);
  PrintLogLines(s.Memo1);
  if (!before.empty()) {
    before.insert(before.end(), std::make_move_iterator(s.Memo1.begin()), std::make_move_iterator(s.Memo1.end()));
    s.Memo1 = std::move(before);
  }
  return outcome;
}

// What a conversion reads and writes, worked out from the command line
// before anything is read or written.
struct Plan {
  QString input, output;
  DbKind kind = DbKind::Znamky;
  std::optional<Conversion> importing, exporting;
};

// The plan of a command line, or the exit code of a run that has none (its
// message printed).
std::variant<Plan, int> planOf(const ConvertOptions& o) {
  if (o.positional.size() != 2)
    return usageError(o.positional.size() < 2 ? "chybí vstupní nebo výstupní soubor" : "příliš mnoho souborů");
  Plan plan;
  plan.input = QFileInfo(o.positional[0]).absoluteFilePath();
  plan.output = QFileInfo(o.positional[1]).absoluteFilePath();

  const Format in = formatOf(o.positional[0], false);
  const Format out = formatOf(o.positional[1], true);
  if (in == Format::Unknown) return usageError("vstup musí být databáze .pdb nebo soubor .csv");
  if (out == Format::Unknown) return usageError("výstup musí končit .pdb, .csv, .sql, .xlsx, .pdf nebo být složka");
  if (o.report && out != Format::Pdf) return usageError("--report zapisuje jen soubor .pdf");
  if (!o.settingsFile.isEmpty() && !QFileInfo(o.settingsFile).isFile())
    return usageError("soubor nastavení \"" + o.settingsFile.toStdString() + "\" neexistuje");
  if (SameFile(plan.input, plan.output)) return overwritesInput("výstup", plan.output);

  // The kind: the option, else the database's creator and type, else the file name.
  std::optional<DbKind> kind = o.kind;
  if (!kind && in == Format::Pdb) {
    try {
      const PdbHeader h = PdbFile::loadHeader(plan.input);
      kind = KindFromCreatorType(h.creator, h.type);
    } catch (const VeklaError& e) {
      PrintMessage(e.text());
      return kFailed;
    }
  }
  if (!kind) kind = KindFromFileName(plan.input);
  if (!kind) return usageError("druh databáze nelze určit, zadejte --kind");
  plan.kind = *kind;
  // A grade book's CSV export also writes the values file beside OUTPUT: the
  // one export that names a second file after OUTPUT, checked before
  // anything is read.
  if (plan.kind == DbKind::Znamky && out == Format::Csv && SameFile(plan.input, ValuesCsvPath(plan.output)))
    return overwritesInput("soubor hodnot", ValuesCsvPath(plan.output));

  // Both conversions must exist before anything is read or written.
  const KindEntry& entry = KindTable(plan.kind);
  plan.importing = ImportOf(in, o.twoValues);
  plan.exporting = ExportOf(out, o.report);
  if (plan.importing && !entry.has(*plan.importing)) return notAvailable(plan.kind, *plan.importing);
  if (plan.exporting && !entry.has(*plan.exporting)) return notAvailable(plan.kind, *plan.exporting);
  return plan;
}

// The state as the window starts it on the plan's tab, with the settings
// of the command line; false (the message printed) when they cannot be read.
bool startState(VeklaState& s, const ConvertOptions& o, const QString& programDir, DbKind kind) {
  s.programDir = programDir;
  s.dataDirOverride = o.dataDir;
  // Without --data the working files would go to a folder deleted at exit.
  s.workFilesInMemory = o.dataDir.isEmpty();
  if (const QString settings = SettingsFile(o); !settings.isEmpty()) {
    try {
      s.settings.load(settings);
    } catch (const VeklaError& e) {
      PrintMessage(e.text());
      return false;
    }
  }
  InitControls(s);
  s.kind = kind;
  SetupTab(s, kind);
  return true;
}

// The input read as the window opens or imports it, then the semester
// asked for shown.
int readInput(VeklaState& s, CliPrompter& p, const ConvertOptions& o, const Plan& plan) {
  Outcome opened;
  if (plan.importing) {
    p.setOpenAnswer(plan.input);
    s.adresar1 = QFileInfo(plan.input).absolutePath() + "/";
    opened = run(s, p, [&] { return ConvertClick(s, p, *plan.importing); });
  } else {
    opened = run(s, p, [&] { return OpenDatabase(s, p, plan.input, true); });
  }
  if (opened == Outcome::Failed || p.errorCount() > 0) return kFailed;
  if (opened != Outcome::Done) {
    PrintMessageUtf8("vstup \"" + plan.input.toStdString() + "\" nebyl načten, výstup nebyl zapsán");
    return kFailed;
  }
  if (!o.semester || !Params(s.kind).semesterStore) return kDone;
  const int n = *o.semester;
  if (n > static_cast<int>(s.semesterItems.size())) {
    return usageError("pololetí " + std::to_string(n) + " v databázi není (má jich " +
                      std::to_string(s.semesterItems.size()) + ")");
  }
  const Outcome shown = run(s, p, [&] {
    CBZnamkyPololetiChange(s, n - 1);
    return Outcome::Done;
  });
  return shown == Outcome::Failed || p.errorCount() > 0 ? kFailed : kDone;
}

// The output written as the window saves or exports it.
int writeOutput(VeklaState& s, CliPrompter& p, const Plan& plan) {
  p.setSaveTarget(plan.output);
  const Outcome saved =
      run(s, p, [&] { return plan.exporting ? ConvertClick(s, p, *plan.exporting) : UlozClick(s, p); });
  if (saved == Outcome::Failed || p.errorCount() > 0) return kFailed;
  if (saved != Outcome::Done) {
    PrintMessageUtf8("výstup \"" + plan.output.toStdString() + "\" nebyl zapsán");
    return kFailed;
  }
  return kDone;
}

int convert(const ConvertOptions& o) {
  const std::variant<Plan, int> planned = planOf(o);
  if (const int* code = std::get_if<int>(&planned)) return *code;
  const Plan& plan = std::get<Plan>(planned);

  std::optional<FolderLock> dataLock;
  if (!o.dataDir.isEmpty()) {
    dataLock.emplace(o.dataDir);
    if (const int refused = takeDataFolder(*dataLock, o.dataDir); refused != kDone) return refused;
  }

  // However the page, its style sheets or the values file are reached
  // (a link in the output folder), none replaces the input.
  const ProtectedFromWriting keepInput(plan.input);

  if (o.now.isValid()) SetNow(o.now);
  RemoveStaleTemporaries();
  QTemporaryDir programDir(PrivateTempFolderTemplate());
  if (!programDir.isValid()) {
    PrintMessageUtf8("nelze vytvořit dočasnou složku: " + programDir.errorString().toStdString());
    return kFailed;
  }

  VeklaState s;
  if (!startState(s, o, programDir.path() + "/", plan.kind)) return kFailed;
  CliPrompter p(o);
  if (const int read = readInput(s, p, o, plan); read != kDone) return read;
  return writeOutput(s, p, plan);
}

// One conversion is one short run over a file of a few megabytes, which
// touches 20 to 30 MB of heap once. Memory freed on the way is kept for the
// next allocation rather than handed back to the system, whose fresh pages
// would each be faulted in again; the heap grows in one step and asks for
// huge pages, so the largest grade book takes about a thousand page faults
// instead of five thousand. Where huge pages are off, the advice is ignored.
void PrepareHeap() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kPad = 64 * 1024 * 1024, kHuge = 2 * 1024 * 1024;
  mallopt(M_TOP_PAD, static_cast<int>(kPad));
  void* const first = std::malloc(1024 * 1024);  // grows the heap by the pad
  const auto at = reinterpret_cast<std::uintptr_t>(first);
  const auto brk = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uintptr_t begin = (at + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t end = brk & ~(kHuge - 1);
  // Only the heap just grown: an allocation from anywhere else is left alone.
  if (first && at < brk && begin < end && end - begin <= 2 * kPad)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  std::free(first);
#endif
#endif
}

#ifdef VEKLA_CONVERT_PRINTS
// The printing converter's toolkit runs offscreen, with or without a
// display, and its notes on the desktop it finds (no runtime folder, no
// session bus) are no messages of the conversion.
void QuietToolkit(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
#else
// Whether the command line writes a PDF file, which the printing converter does.
bool WritesPdf(const ConvertOptions& o) {
  return o.positional.size() == 2 && formatOf(o.positional[1], true) == Format::Pdf;
}

// Hands the whole command line to the printing converter: installed, it is
// VEKLA_PRINTING_CONVERTER from this program's folder; in the build folder,
// in libexec/vekla/ beside it. Returns only when it cannot be started.
int RunPrintingConverter(char** argv) {
  const QString dir = QCoreApplication::applicationDirPath() + "/";
  QString program = QDir::cleanPath(dir + QStringLiteral("libexec/vekla/vekla-convert"));
  if (!QFileInfo(program).isExecutable()) program = QDir::cleanPath(dir + QStringLiteral(VEKLA_PRINTING_CONVERTER));
  const QByteArray path = QFile::encodeName(program);
  execv(path.constData(), argv);
  PrintMessageUtf8("PDF nelze vytvořit: program \"" + program.toStdString() + "\" nelze spustit (" +
                   std::strerror(errno) + "), nic nebylo zapsáno");
  return kFailed;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();
  IgnoreFileSizeSignal();
#ifdef VEKLA_CONVERT_PRINTS
  // Fonts and the PDF writer need the GUI application; no window is shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietToolkit);
  QGuiApplication app(argc, argv);
  InstallPrinting();
#else
  QCoreApplication app(argc, argv);
#endif
  // The toolkit switched the C library to the user's locale: C numbers, so no file has "0,7" for 0.7.
  std::setlocale(LC_NUMERIC, "C");
  ConvertOptions o;
  try {
    o = ParseOptions(QCoreApplication::arguments().mid(1));
  } catch (const UsageError& e) {
    return usageError(e.what());
  }
  if (o.version) {
    // The same version the window's about box shows.
    std::printf("Vekla %s\n", VEKLA_VERSION);
    return kDone;
  }
  if (o.help) {
    std::fputs(UsageText(), stdout);
    return kDone;
  }
  if (!o.infoFile.isEmpty()) {
    if (!o.positional.isEmpty()) return usageError("--info se nekombinuje se vstupem a výstupem");
    return printInfo(o.infoFile);
  }
#ifndef VEKLA_CONVERT_PRINTS
  if (WritesPdf(o)) return RunPrintingConverter(argv);
#endif
  return convert(o);
}
