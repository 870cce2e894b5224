#include "commands/filecommands.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <functional>
#include <utility>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/palmdesktop.h"
#include "workspace/progress.h"
#include "workspace/recentfiles.h"
#include "workspace/semesters.h"

namespace vekla {

namespace {

constexpr const char* kPreferencesName = "Znamky-db_pref.PDB";

// The shared preferences database of every class in its folder, named in any
// letter case, by the name itself or by a link to it: opened as a class it
// is refused, and nothing is saved over it.
bool IsPreferencesDb(const QString& path) {
  const auto named = [](const QString& p) {
    return lowerCp(fromQt(QFileInfo(p).fileName())) == lowerCp(kPreferencesName);
  };
  return named(path) || named(FileBehindLinks(path));
}

// Finds and reads the preferences database: in the backup folder of the
// handheld's desktop software, then in the first import folder, then beside
// the chosen grade book.
void ReadPreferencesFor(VeklaState& t, Prompter& p, const QString& chosen) {
  QStringList folders;
  for (const QString& f : {EffectiveBackupFolder(t.settings), t.adresar1, QFileInfo(chosen).absolutePath()}) {
    // An empty folder would point into the working directory or the root of
    // the disk; neither is where the handheld's files are. A clean path has
    // no trailing separator.
    if (!f.isEmpty() && !folders.contains(QDir::cleanPath(f))) folders << QDir::cleanPath(f);
  }
  for (const QString& folder : folders) {
    const QString found = folder + "/" + kPreferencesName;
    if (!QFileInfo(found).isFile()) continue;
    // A damaged preferences database must not keep the class from opening:
    // say so and go on with the grade scale, weights and bands as they are.
    try {
      ReadGradePreferences(t, p, found);
    } catch (const VeklaError& e) {
      p.message(e.text());
    }
    return;
  }
  std::string text = cp("Databáze \"Znamky-db_pref.PDB\"\rnebyla nalezena na adrese \r");
  for (int i = 0; i < folders.size(); ++i)
    text += (i > 0 ? std::string("\r ani na adrese\r") : std::string()) + NativePath(folders[i]);
  p.message(text + ".");
}

// A copy of the state for a reader to fill, with an empty semester store in
// place of the state's (the grade-book reader makes a new store, the other
// readers leave it alone) and, when asked, an empty grid.
VeklaState CopyWithoutStore(VeklaState& s, bool withGrid = true) {
  IniFile store = std::move(s.gradesIni);
  CellGrid grid;
  if (!withGrid) grid = std::move(s.grid);
  struct PutBack {
    VeklaState& s;
    IniFile& store;
    CellGrid& grid;
    bool withGrid;
    ~PutBack() {
      s.gradesIni = std::move(store);
      if (!withGrid) s.grid = std::move(grid);
    }
  } putBack{s, store, grid, withGrid};
  return s;
}

// The state a reader builds in: a copy of the current one whose Adresar1 is
// the file's folder (with a trailing "/") when the first import dialog chose it.
VeklaState ReadingCopy(VeklaState& s, const QString& path, bool firstDialog) {
  VeklaState t = CopyWithoutStore(s);
  if (firstDialog) t.adresar1 = QFileInfo(path).absolutePath() + "/";
  return t;
}

// A reader of the kinds without a preferences database: the whole file into
// a copy, which replaces the state only when complete; the semester store
// moves over unchanged.
Outcome ReadInto(VeklaState& s, const QString& path, bool firstDialog, void (*codec)(VeklaState&, const PdbFile&)) {
  const PdbFile pdb = PdbFile::load(path);
  VeklaState t = ReadingCopy(s, path, firstDialog);
  codec(t, pdb);
  t.gradesIni = std::move(s.gradesIni);
  s = std::move(t);
  return Outcome::Done;
}

// The save dialog, then the chosen file's checks. A save over the
// preferences database would leave every class in its folder with the
// default weights and grade scale: it is refused before anything is written
// (`notChosen` then says so). Any other name gets the prefix warning.
std::optional<QString> ChooseSaveTarget(VeklaState& s, Prompter& p, Outcome& notChosen) {
  std::optional<QString> chosen = AskSaveFile(s, p);
  notChosen = Outcome::Cancelled;
  if (chosen && IsPreferencesDb(*chosen)) {
    p.message(
        cp("Do databáze \"Znamky-db_pref.PDB\" nelze uložit: drží nastavení známek a vah všech tříd "
           "ve složce. Zvolte jiný soubor."));
    notChosen = Outcome::Refused;
    return std::nullopt;
  }
  if (chosen) WarnWrongPrefix(s, p, *chosen);
  return chosen;
}

// Writes the database atomically, then clears the progress label, also when
// the write fails (the failure is passed on).
void WritePdbAndClearProgress(VeklaState& s, Prompter& p, const QString& path, const PdbHeaderOut& header,
                              const PdbRecordSource& records) {
  try {
    WritePdbFrom(path, header, records);
  } catch (...) {
    ShowProgress(s, p, "");
    throw;
  }
  ShowProgress(s, p, "");
  RememberRecentFile(s, path);
  s.savedFile[static_cast<std::size_t>(s.kind)] = path;
}

// A writer of one kind: its records for the state, one at a time.
using RecordMaker =
    std::function<void(const VeklaState&, const CodecReport&, const std::function<void(const PdbRecord&)>&)>;

// The records made as they are written: twice (for their sizes, then for the
// file), never all at once beside the grid or the semester store they come
// from. The warnings and the progress come with the first time.
PdbRecordSource RecordsAsWritten(VeklaState& s, Prompter& p, RecordMaker make) {
  return [&s, report = ReportTo(s, p), make = std::move(make), made = 0](const auto& add) mutable {
    make(s, made++ == 0 ? report : CodecReport{}, add);
  };
}

// The save of the kinds that check the cells after the file is chosen
// (timetable, topic plans, calendar).
Outcome WriteCheckingCells(VeklaState& s, Prompter& p, const RecordMaker& records) {
  Outcome notChosen;
  const std::optional<QString> chosen = ChooseSaveTarget(s, p, notChosen);
  if (!chosen) {
    ShowProgress(s, p, "");
    return notChosen;
  }
  CheckAllCells(s, p);
  const PdbHeaderOut header = HeaderForFile(s, *chosen);
  WritePdbAndClearProgress(s, p, *chosen, header, RecordsAsWritten(s, p, records));
  return Outcome::Done;
}

}  // namespace

std::optional<QString> AskSaveFile(VeklaState& s, Prompter& p) {
  if (s.EditN.empty()) s.EditN = s.prefix;
  FileDialogRequest request;
  request.filter = s.dialogFilter;
  request.initialDir = s.adresar1;
  request.fileName = toQt(s.EditN + ".PDB");
  // After a save the file saved is proposed again, in its folder; under the
  // database's name when that changed since.
  if (const QString& saved = s.savedFile[static_cast<std::size_t>(s.kind)]; !saved.isEmpty()) {
    const QFileInfo info(saved);
    request.initialDir = info.absolutePath() + "/";
    if (info.completeBaseName() == toQt(s.EditN)) request.fileName = info.fileName();
  }
  request.defaultExt = "PDB";
  // The question comes from here, whatever the dialog does with a name
  // typed without its ending: writing over a file always asks first, and
  // No offers the dialog again.
  request.overwritePrompt = false;
  for (;;) {
    std::optional<QString> chosen = p.saveFile(request);
    if (!chosen || !QFileInfo::exists(*chosen) || p.confirmOverwrite(*chosen)) return chosen;
    const QFileInfo info(*chosen);
    request.initialDir = info.absolutePath() + "/";
    request.fileName = info.fileName();
  }
}

void WarnWrongPrefix(VeklaState& s, Prompter& p, const QString& chosenPath) {
  const std::string f = fromQt(QFileInfo(chosenPath).fileName());
  if (f.compare(0, s.prefix.size(), s.prefix) != 0 || f.size() < s.prefix.size())
    p.message(cp("Databáze se takto nemůže jmenovat: ") + NativePath(chosenPath));
}

std::optional<QString> ChooseSaveFile(VeklaState& s, Prompter& p) {
  Outcome notChosen;
  return ChooseSaveTarget(s, p, notChosen);
}

void ReadGradePreferences(VeklaState& s, Prompter& p, const QString& path) {
  ReadGradePreferences(s, PdbFile::load(path), ReportTo(s, p));
}

Outcome ReadGrades(VeklaState& s, Prompter& p, const QString& path, bool firstDialog) {
  if (IsPreferencesDb(path)) {
    p.message(cp("Zvolte jiný soubor."));
    return Outcome::Refused;
  }
  // The file is read (and its header and record list checked) before
  // anything else, so an unreadable file gives its one message only.
  const PdbFile pdb = PdbFile::load(path);
  VeklaState t = CopyWithoutStore(s, false);
  ReadPreferencesFor(t, p, path);
  if (firstDialog) t.adresar1 = QFileInfo(path).absolutePath() + "/";
  const GradesDbCheck checked = CheckGradesDb(pdb, ReportTo(t, p));
  // The file is sound and filling cannot fail: the new grade book is built
  // in the grid of the one it replaces, whose store goes first, so the two
  // are never in memory together.
  t.grid = std::move(s.grid);
  s.gradesIni = IniFile();
  FillGradesDb(t, pdb, checked);
  s = std::move(t);
  return Outcome::Done;
}

Outcome WriteGrades(VeklaState& s, Prompter& p) {
  const int items = static_cast<int>(s.semesterItems.size());
  if (s.semesterItemIndex >= 0 && s.semesterItemIndex < items) s.currentSemester = s.semesterItemIndex + 1;
  const int shown = s.currentSemester;

  // Which semesters go into the file: the shown one always, the others on Yes.
  std::vector<int> selection;
  if (items >= 2) {
    for (int i = 1; i <= items; ++i)
      if (i == shown || p.includeSemester(i, s.semesterItems[static_cast<std::size_t>(i - 1)])) selection.push_back(i);
  } else {
    selection.push_back(1);
  }

  CheckAllCells(s, p);
  StoreSemester(s);

  Outcome notChosen;
  const std::optional<QString> chosen = ChooseSaveTarget(s, p, notChosen);
  if (!chosen) return notChosen;
  const PdbHeaderOut header = HeaderForFile(s, *chosen);
  const IniFile& store = GradesIni(s);
  WritePdbAndClearProgress(s, p, *chosen, header,
                           RecordsAsWritten(s, p, [&](const VeklaState& t, const CodecReport& r, const auto& add) {
                             GradesDbRecords(t, store, selection, r, add);
                           }));
  return Outcome::Done;
}

Outcome ReadTimetable(VeklaState& s, Prompter&, const QString& path, bool firstDialog) {
  return ReadInto(s, path, firstDialog, ReadTimetableDb);
}

Outcome WriteTimetable(VeklaState& s, Prompter& p) {
  return WriteCheckingCells(s, p, [](const VeklaState& t, const CodecReport& r, const auto& add) {
    for (const PdbRecord& record : BuildTimetableDb(t, r)) add(record);
  });
}

Outcome ReadTopicPlans(VeklaState& s, Prompter&, const QString& path, bool firstDialog) {
  return ReadInto(s, path, firstDialog, ReadTopicPlansDb);
}

Outcome ReadCalendar(VeklaState& s, Prompter&, const QString& path, bool firstDialog) {
  return ReadInto(s, path, firstDialog, ReadCalendarDb);
}

Outcome WriteRowRecords(VeklaState& s, Prompter& p) { return WriteCheckingCells(s, p, RowRecordsDb); }

}  // namespace vekla
