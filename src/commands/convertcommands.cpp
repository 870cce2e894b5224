#include "commands/convertcommands.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <utility>

#include "commands/commands.h"
#include "commands/folders.h"
#include "convert/csv.h"
#include "convert/csvinput.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "workspace/gradeoptions.h"
#include "workspace/ordernumbers.h"
#include "workspace/progress.h"
#include "workspace/semesters.h"
#include "workspace/setup.h"
#include "workspace/sorting.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

// Where the files of a format go.
enum class Target {
  Dialogs,  // each file through a save dialog, proposed in Adresar1
  Folder,   // every file into a folder of the export folder
  File,     // the one file into a folder of the export folder
};

struct Format {
  Conversion conversion;
  Target target;
  const char* folder;      // in the export folder, for Folder and File
  const char* filter;      // save dialogs, UTF-8
  const char* defaultExt;  // save dialogs
  bool open;               // the first file opened with the desktop's program
  // Save dialogs proposed in the export folder (documents to hand on)
  // instead of Adresar1 (files for other programs).
  bool inExportFolder = false;
};

constexpr Format kFormats[] = {
    {Conversion::ExportCsv, Target::Dialogs, "", kCsvFilterUtf8, kCsvExtension, false},
    {Conversion::ExportSql, Target::Dialogs, "", "SQL skript|*.sql", "sql", false},
    {Conversion::ExportHtml, Target::Folder, "html", "", "", true},
    {Conversion::ExportXlsx, Target::File, "excel", "", "", true},
    {Conversion::ExportPdf, Target::Dialogs, "", "Dokument PDF|*.pdf", "pdf", false, true},
    {Conversion::ExportReport, Target::Dialogs, "", "Dokument PDF|*.pdf", "pdf", false, true},
};

const Format* FormatOf(Conversion c) {
  for (const Format& f : kFormats)
    if (f.conversion == c) return &f;
  return nullptr;
}

FileDialogRequest OpenDialog(const VeklaState& s) {
  FileDialogRequest request;
  request.filter = CsvFilter();
  request.defaultExt = kCsvExtension;
  request.initialDir = s.adresar1;
  return request;
}

// Whether the semesters stored for the grade book fit the students just
// imported. The store knows a student by number: when the names at those
// numbers differ, the file is most likely another class, whose students
// would show the grades and notes of the class before them. The teacher
// decides; No (the default) starts the semesters afresh.
bool KeepStoredSemesters(VeklaState& t, Prompter& p) {
  const StoredNames names = CompareWithStoredNames(t, GradesIni(t));
  if (names.differing == 0) return true;
  return p.questionDefaultNo(std::to_string(names.differing) + " z " + std::to_string(names.students) +
                             cp(" jmen se liší od uložených pololetí. Ponechat známky ostatních pololetí?"));
}

// The other semesters, the class note and the semester labels dropped, as
// a new grade book has them.
void DropStoredSemesters(VeklaState& s) {
  DeleteGradesIni(s);
  StartSemestersAfresh(s);
  s.memoPoznamka.clear();
  Log(s, cp("Importovaná třída se liší od uložené: známky ostatních pololetí, poznámka a označení pololetí byly "
            "zahozeny."));
}

// The save dialogs: the first file proposed in Adresar1 under its own name,
// each later one beside the first file as chosen (or as proposed when that
// dialog was cancelled), its name made from the first one's stem: the
// grade book's values file Adresar1/7Ahodnoty.csv beside Adresar1/7A.csv.
// The first dialog cancelled cancels the export: no later dialog is shown.
std::vector<FileToWrite> AskForFiles(const VeklaState& s, Prompter& p, const Format& f, ExportFiles files) {
  std::vector<FileToWrite> chosen;
  if (files.empty()) return chosen;
  // The export folder is made when it is proposed: a dialog opened on a
  // folder that is not there would show another one, and its proposed name
  // could not be written.
  const QString proposedIn = f.inExportFolder && QDir().mkpath(ExportFolder(s)) ? ExportFolder(s) : s.adresar1;
  const QString& firstName = files.front().name;
  const QString firstStem = QFileInfo(firstName).completeBaseName();
  const qsizetype extension = firstName.size() - firstStem.size();
  std::optional<QString> first;
  for (std::size_t i = 0; i < files.size(); ++i) {
    FileDialogRequest request;
    request.title = files[i].caption;
    request.filter = cp(f.filter);
    request.defaultExt = f.defaultExt;
    request.initialDir = proposedIn;
    request.overwritePrompt = true;
    if (i == 0) {
      request.fileName = proposedIn + firstName;
    } else {
      const QString beside = first.value_or(proposedIn + firstName);
      QString name = files[i].name;
      if (name.startsWith(firstStem)) name = name.mid(firstStem.size());
      request.fileName = beside.left(std::max<qsizetype>(beside.size() - extension, 0)) + name;
    }
    const std::optional<QString> path = p.saveFile(request);
    if (i == 0 && !path) break;
    if (i == 0) first = path;
    if (path) chosen.push_back({*path, std::move(files[i].bytes)});
  }
  return chosen;
}

void MakeFolder(const QString& folder) {
  if (!QDir().mkpath(folder)) throw VeklaError(cp("Složku ") + NativePath(folder) + cp(" nelze vytvořit."));
}

}  // namespace

Outcome ConvertClick(VeklaState& s, Prompter& p, Conversion c) {
  const KindEntry& entry = KindTable(s.kind);
  if (const ImportCodec codec = entry.importer(c)) return ImportClick(s, p, codec);
  if (const ExportCodec codec = entry.exporter(c)) return ExportClick(s, p, c, codec);
  // The controls of a conversion the kind does not have are disabled.
  p.message("Neni hotovo.");
  return Outcome::Refused;
}

Outcome ImportClick(VeklaState& s, Prompter& p, ImportCodec codec, const std::optional<QString>& given) {
  if (!MayDiscardEdits(s, p)) return Outcome::Cancelled;
  // The log starts afresh for the file; an import that fails changes
  // nothing, so the previous lines come back then.
  std::vector<std::string> previousLog;
  previousLog.swap(s.Memo1);
  const std::optional<QString> path = given ? given : p.openFile(OpenDialog(s));
  if (path) {
    try {
      std::vector<std::string> decoding;
      const std::string bytes = CsvTextToCp1250(ReadCsvFile(*path), decoding);
      VeklaState t = s;
      // What reading the file's text found comes first in the log.
      for (std::string& line : decoding) Log(t, std::move(line));
      codec(t, bytes, *path, [&](const std::string& text) { ShowProgress(s, p, text); });
      const bool keepSemesters = !Params(s.kind).semesterStore || KeepStoredSemesters(t, p);
      t.Lpohyb = s.Lpohyb;
      s = std::move(t);
      // The rows are the file's, in its order: no column is sorted.
      ClearSortMarks(s.grid);
      // The grid holds what no database has yet.
      MarkEdited(s);
      if (!keepSemesters) DropStoredSemesters(s);
    } catch (...) {
      s.Memo1 = std::move(previousLog);
      throw;
    }
    // A grid of another shape: the buttons follow its top-left cell.
    SelectFirstCell(s);
  }
  SaveKind(s);
  return path ? Outcome::Done : Outcome::Cancelled;
}

Outcome ExportClick(VeklaState& s, Prompter& p, Conversion c, ExportCodec codec) {
  if (!FormatOf(c)) return Outcome::Refused;
  // The codec reads the tab and changes nothing in it: an export is no
  // edit, and a database without a name keeps none.
  return ExportFilesClick(s, p, c, codec(std::as_const(s), ReadGradeDisplayOptions(s.settings)));
}

Outcome ExportFilesClick(VeklaState& s, Prompter& p, Conversion c, ExportFiles files) {
  const Format* f = FormatOf(c);
  if (!f) return Outcome::Refused;
  if (files.empty()) return Outcome::Refused;
  std::vector<std::string> log = std::move(files.log);
  std::vector<FileToWrite> targets;
  switch (f->target) {
    case Target::Dialogs:
      targets = AskForFiles(s, p, *f, std::move(files));
      if (targets.empty()) return Outcome::Cancelled;
      break;
    case Target::Folder: {
      QString folder = p.exportTarget(ExportFolder(s) + f->folder + "/");
      if (!folder.endsWith('/')) folder += '/';
      MakeFolder(folder);
      // Names the program picks in a folder others may write: a link among
      // them is followed only inside the folder.
      for (ExportFile& file : files) targets.push_back({folder + file.name, std::move(file.bytes), true});
      break;
    }
    case Target::File: {
      const QString path = p.exportTarget(ExportFolder(s) + f->folder + "/" + files.front().name);
      MakeFolder(QFileInfo(path).absolutePath());
      targets.push_back({path, std::move(files.front().bytes)});
      break;
    }
  }
  // Every file complete before any of them replaces an older one.
  WriteFilesAtomic(targets);
  for (std::string& line : log) Log(s, std::move(line));
  const bool opened = !f->open || p.shellOpen(targets.front().path);
  if (f->target == Target::Dialogs) {
    if (!opened)
      p.message(cp("Soubor ") + NativePath(targets.front().path) + cp(" byl uložen, žádný program ho ale neotevřel."));
    return Outcome::Done;
  }
  // The teacher chose no folder for these files: the message says where
  // they are and offers to open that folder.
  const QString folder = QFileInfo(targets.front().path).absolutePath();
  std::string text = cp("Uloženo do složky ") + NativePath(folder) + ":\n";
  for (std::size_t i = 0; i < targets.size(); ++i)
    text += (i > 0 ? ", " : "") + fromQt(QFileInfo(targets[i].path).fileName());
  text += ".";
  if (!opened) text += cp("\nŽádný program ale soubor neotevřel.");
  if (p.messageOfferingFolder(text, folder) && !p.shellOpen(folder))
    p.message(cp("Složku ") + NativePath(folder) + cp(" se nepodařilo otevřít."));
  return Outcome::Done;
}

}  // namespace vekla
