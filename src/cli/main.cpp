// vekla-convert: runs the window program's open and save commands without a
// window, for batch work and for tests.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "cli/cliprompter.h"
#include "cli/options.h"
#include "pdb/clock.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/commands.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::cli;

namespace {

enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

enum class Format { Pdb, Csv, Sql, Xlsx, Html, Unknown };

Format formatOf(const QString& path, bool output) {
  if (output && (path.endsWith('/') || QFileInfo(path).isDir())) return Format::Html;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("pdb")) return Format::Pdb;
  if (suffix == QLatin1String("csv")) return Format::Csv;
  if (output && suffix == QLatin1String("sql")) return Format::Sql;
  if (output && suffix == QLatin1String("xlsx")) return Format::Xlsx;
  return Format::Unknown;
}

int usageError(const std::string& utf8) {
  PrintMessageUtf8(utf8);
  std::fputs(ShortUsageText(), stderr);
  return kUsage;
}

// A conversion this version does not build yet: said clearly, nothing touched.
int notAvailable(const char* what) {
  PrintMessageUtf8(std::string(what) + " zatím není k dispozici");
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

// Runs one command as the window would and prints the error-log lines it added.
void run(VeklaState& s, CliPrompter& p, const std::function<void()>& command) {
  const std::vector<std::string> before = s.Memo1;
  RunCommand(s, p, command);
  std::size_t from = 0;
  // A command may clear the log first (opening does); then every line is new.
  if (s.Memo1.size() >= before.size() && std::equal(before.begin(), before.end(), s.Memo1.begin()))
    from = before.size();
  for (std::size_t i = from; i < s.Memo1.size(); ++i) PrintLogLine(s.Memo1[i]);
}

int convert(const ConvertOptions& o) {
  if (o.positional.size() != 2)
    return usageError(o.positional.size() < 2 ? "chybí vstupní nebo výstupní soubor" : "příliš mnoho souborů");
  const QString input = QFileInfo(o.positional[0]).absoluteFilePath();
  const QString output = QFileInfo(o.positional[1]).absoluteFilePath();

  const Format in = formatOf(o.positional[0], false);
  const Format out = formatOf(o.positional[1], true);
  if (in == Format::Unknown) return usageError("vstup musí být databáze .pdb nebo soubor .csv");
  if (out == Format::Unknown) return usageError("výstup musí končit .pdb, .csv, .sql, .xlsx nebo být složka");
  if (in == Format::Csv) return notAvailable("import z CSV");
  switch (out) {
    case Format::Csv: return notAvailable("export do CSV");
    case Format::Sql: return notAvailable("export do SQL");
    case Format::Xlsx: return notAvailable("export do Excelu");
    case Format::Html: return notAvailable("export do HTML");
    default: break;
  }
  if (!o.settingsFile.isEmpty() && !QFileInfo(o.settingsFile).isFile())
    return usageError("soubor nastavení \"" + o.settingsFile.toStdString() + "\" neexistuje");

  // The kind: the option, else the database's creator and type, else the file name.
  std::optional<DbKind> kind = o.kind;
  if (!kind) {
    try {
      const PdbHeader h = PdbFile::load(input).header();
      kind = KindFromCreatorType(h.creator, h.type);
    } catch (const VeklaError& e) {
      PrintMessage(e.text());
      return kFailed;
    }
  }
  if (!kind) kind = KindFromFileName(input);
  if (!kind) return usageError("druh databáze nelze určit, zadejte --kind");

  if (o.now.isValid()) SetNow(o.now);
  QTemporaryDir programDir;
  if (!programDir.isValid()) {
    PrintMessageUtf8("nelze vytvořit dočasnou složku: " + programDir.errorString().toStdString());
    return kFailed;
  }

  VeklaState s;
  s.programDir = programDir.path() + "/";
  s.dataDirOverride = o.dataDir;
  if (!o.settingsFile.isEmpty()) {
    try {
      s.settings.load(o.settingsFile);
    } catch (const VeklaError& e) {
      PrintMessage(e.text());
      return kFailed;
    }
  }
  InitControls(s);
  s.kind = *kind;
  SetupTab(s, *kind);

  CliPrompter p(o);
  // The open command sets Adresar1 to the file's folder with a trailing "/"
  // only when it takes the file. A reader that refuses it (the grade book's
  // reader refuses the preferences database) leaves Adresar1 as set here,
  // and then there is nothing to convert: saving would write an empty setup.
  const QString folderBeforeOpen = QFileInfo(input).absolutePath();
  s.adresar1 = folderBeforeOpen;
  run(s, p, [&] { OpenDatabase(s, p, input, true); });
  if (p.errorCount() > 0) return kFailed;
  if (s.adresar1 == folderBeforeOpen) {
    PrintMessageUtf8("vstup \"" + input.toStdString() + "\" nebyl načten, výstup nebyl zapsán");
    return kFailed;
  }

  if (o.semester && s.kind == DbKind::Znamky) {
    const int n = *o.semester;
    if (n > static_cast<int>(s.semesterItems.size())) {
      return usageError("pololetí " + std::to_string(n) + " v databázi není (má jich " +
                        std::to_string(s.semesterItems.size()) + ")");
    }
    run(s, p, [&] { CBZnamkyPololetiChange(s, n - 1); });
    if (p.errorCount() > 0) return kFailed;
  }

  p.setSaveTarget(output);
  run(s, p, [&] { UlozClick(s, p); });
  if (p.errorCount() > 0) return kFailed;
  if (!p.saveAsked()) {
    PrintMessageUtf8("výstup \"" + output.toStdString() + "\" nebyl zapsán");
    return kFailed;
  }
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ConvertOptions o;
  try {
    o = ParseOptions(QCoreApplication::arguments().mid(1));
  } catch (const UsageError& e) {
    return usageError(e.what());
  }
  if (o.help) {
    std::fputs(UsageText(), stdout);
    return kDone;
  }
  if (!o.infoFile.isEmpty()) {
    if (!o.positional.isEmpty()) return usageError("--info se nekombinuje se vstupem a výstupem");
    return printInfo(o.infoFile);
  }
  return convert(o);
}
