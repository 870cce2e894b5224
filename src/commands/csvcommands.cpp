#include "commands/csvcommands.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "commands/commands.h"
#include "convert/csv.h"
#include "pdb/savefile.h"
#include "workspace/progress.h"
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

Outcome ImportCSVClick(VeklaState& s, Prompter& p, bool twoValues) {
  if (!MayDiscardEdits(s, p)) return Outcome::Cancelled;
  // The log starts afresh for the file; an import that fails changes
  // nothing, so the previous lines come back then.
  std::vector<std::string> previousLog;
  previousLog.swap(s.Memo1);
  const std::optional<QString> path = p.openFile(CsvDialog(s));
  if (path) {
    try {
      const std::string bytes = ReadWholeFile(*path);
      VeklaState t = s;
      switch (s.kind) {
        case DbKind::Znamky: ImportCsvGrades(t, bytes, *path, twoValues); break;
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
    } catch (...) {
      s.Memo1 = std::move(previousLog);
      throw;
    }
    // The selected cell stays inside a grid that shrank.
    s.selCol = std::clamp(s.selCol, 1, std::max(1, s.grid.colCount() - 1));
    s.selRow = std::clamp(s.selRow, 1, std::max(1, s.grid.rowCount() - 1));
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
  if (first) WriteFileAtomic(*first, ExportCsvGrades(s));
  // The values file is offered whatever became of the first one.
  const std::optional<QString> second = AskCsvSave(s, p, ValuesCsvPath(first.value_or(proposed)));
  if (second) WriteFileAtomic(*second, ExportCsvGradeValues(s));
  return first || second ? Outcome::Done : Outcome::Cancelled;
}

}  // namespace vekla
