#include "commands/csvcommands.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "commands/commands.h"
#include "convert/csv.h"
#include "convert/csvinput.h"
#include "pdb/savefile.h"
#include "workspace/ordernumbers.h"
#include "workspace/progress.h"
#include "workspace/setup.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

FileDialogRequest CsvDialog(const VeklaState& s) {
  FileDialogRequest request;
  request.filter = CsvFilter();
  request.defaultExt = kCsvExtension;
  request.initialDir = s.adresar1;
  return request;
}

std::optional<QString> AskCsvSave(VeklaState& s, Prompter& p, const QString& proposed) {
  FileDialogRequest request = CsvDialog(s);
  request.fileName = proposed;
  request.overwritePrompt = true;
  return p.saveFile(request);
}

}  // namespace

namespace {

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

}  // namespace

Outcome ImportCSVClick(VeklaState& s, Prompter& p, bool twoValues) {
  if (!MayDiscardEdits(s, p)) return Outcome::Cancelled;
  // The log starts afresh for the file; an import that fails changes
  // nothing, so the previous lines come back then.
  std::vector<std::string> previousLog;
  previousLog.swap(s.Memo1);
  const std::optional<QString> path = p.openFile(CsvDialog(s));
  if (path) {
    try {
      std::vector<std::string> decoding;
      const std::string bytes = CsvTextToCp1250(ReadCsvFile(*path), decoding);
      VeklaState t = s;
      // What reading the file's text found comes first in the log.
      for (std::string& line : decoding) Log(t, std::move(line));
      bool keepSemesters = true;
      switch (s.kind) {
        case DbKind::Znamky:
          ImportCsvGrades(t, bytes, *path, twoValues);
          keepSemesters = KeepStoredSemesters(t, p);
          break;
        case DbKind::Rozvrh:
          ImportCsvTimetable(t, bytes, *path, [&](const std::string& text) { ShowProgress(s, p, text); });
          break;
        case DbKind::Rozpisy:
        case DbKind::Kalendar: ImportCsvTable(t, bytes, *path); break;
      }
      t.Lpohyb = s.Lpohyb;
      s = std::move(t);
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

Outcome ExportCSVClick(VeklaState& s, Prompter& p) {
  const QString proposed = ProposedCsvPath(s);
  const std::optional<QString> first = AskCsvSave(s, p, proposed);
  if (s.kind != DbKind::Znamky) {
    if (!first) return Outcome::Cancelled;
    WriteFileAtomic(*first, ExportCsvTable(s));
    return Outcome::Done;
  }
  std::vector<FileToWrite> files;
  if (first) files.push_back({*first, ExportCsvGrades(s)});
  // The values file is offered whatever became of the first one.
  const std::optional<QString> second = AskCsvSave(s, p, ValuesCsvPath(first.value_or(proposed)));
  if (second) files.push_back({*second, ExportCsvGradeValues(s)});
  // Both files complete before either replaces the one it is chosen for.
  WriteFilesAtomic(files);
  return first || second ? Outcome::Done : Outcome::Cancelled;
}

}  // namespace vekla
