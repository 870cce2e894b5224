#include "commands/commands.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <exception>

#include "commands/folders.h"
#include "commands/gradepanel.h"
#include "commands/kindtable.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/kindops.h"
#include "workspace/palmdesktop.h"
#include "workspace/progress.h"
#include "workspace/recentfiles.h"
#include "workspace/semesters.h"
#include "workspace/settingsdialogs.h"
#include "workspace/setup.h"
#include "workspace/sorting.h"

namespace vekla {

namespace {

QString withSlash(QString dir) {
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString settingsPath(const VeklaState& s) { return s.programDir + "vekla.ini"; }

// The settings key of the file tab `i` was saved to last.
std::string SavedFileKey(std::size_t i) { return "UlozenoDo" + std::to_string(i); }

}  // namespace

QString ResolveProgramDir(const QString& applicationDir) {
  const QString home = qEnvironmentVariable("VEKLA_HOME");
  if (!home.isEmpty()) {
    QDir().mkpath(home);
    return withSlash(QDir(home).absolutePath());
  }
  // A portable install keeps its data beside the program: a folder that
  // already holds the settings file (data kept there before stays in use) or
  // the marker file. Any other folder, a build folder or a system install,
  // never holds a teacher's files.
  if (IsPortableInstall(applicationDir)) return withSlash(QFileInfo(applicationDir).absoluteFilePath());
  QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (data.isEmpty()) data = QDir::homePath() + "/.vekla";
  QDir().mkpath(data);
  return withSlash(data);
}

// ---------------------------------------------------------------- window events

void FormCreate(VeklaState& s, const QString& programDir) {
  if (s.controls.empty()) InitControls(s);
  s.reload = true;
  s.selCol = 1;
  s.selRow = 1;
  s.selValueCol = 1;
  s.selValueRow = 0;
  s.prefix.clear();
  s.dialogResult = "00:00";
  s.openFromFirst = true;
  s.programDir = withSlash(programDir);
  try {
    s.settings.load(settingsPath(s));
  } catch (const VeklaError&) {
    s.settings.clear();  // an unreadable settings file counts as a missing one
  }
  s.adresar1 = toQt(s.settings.get("Nastaveni", "Adresar1"));
  s.userName = fromQt(PalmUserName(ReadPalmDesktopValues(s.settings)));
  bool ok = false;
  const int tab = QString::fromStdString(s.settings.get("Nastaveni", "TabIndex", "0")).toInt(&ok);
  s.kind = static_cast<DbKind>(ok && tab >= 0 && tab < kKindCount ? tab : 0);
  // Which tabs hold edits not yet saved to a database, one "0" or "1" each.
  const std::string unsaved = s.settings.get("Nastaveni", "Neulozeno");
  for (std::size_t i = 0; i < s.unsaved.size(); ++i) s.unsaved[i] = i < unsaved.size() && unsaved[i] == '1';
  for (std::size_t i = 0; i < s.savedFile.size(); ++i)
    s.savedFile[i] = toQt(s.settings.get("Nastaveni", SavedFileKey(i)));
}

void FormActivate(VeklaState& s, Prompter& p) {
  (void)p;
  if (s.reload) {
    SetupTab(s, s.kind);
    LoadKind(s);
    // The setup greyed the grid buttons; they follow the current cell.
    SelectCurrentCell(s);
  }
  s.reload = true;
}

void TabSet1Change(VeklaState& s, Prompter& p, int newIndex) {
  (void)p;
  if (newIndex < 0 || newIndex >= kKindCount) return;
  if (s.prefix.empty()) {
    s.kind = static_cast<DbKind>(newIndex);
    return;
  }
  SaveKind(s);
  SetupTab(s, static_cast<DbKind>(newIndex));
  LoadKind(s);
  // The setup greyed the grid buttons; they follow the current cell.
  SelectCurrentCell(s);
}

void FormClose(VeklaState& s, Prompter& p) {
  (void)p;
  // The window closes whatever happens: a step that fails must not keep the
  // later ones from saving the grid and the settings. The first failure is
  // reported at the end.
  std::exception_ptr failure;
  auto step = [&](const std::function<void()>& f) {
    try {
      f();
    } catch (const VeklaError&) {
      if (!failure) failure = std::current_exception();
    }
  };
  if (!s.prefix.empty()) {
    if (Params(s.kind).semesterStore)
      step([&] {
        s.currentSemester = s.semesterItemIndex + 1;
        StoreSemester(s);
      });
    step([&] { SaveKind(s); });
  }
  step([&] {
    s.settings.set("Nastaveni", "Adresar1", fromQt(s.adresar1));
    s.settings.set("Nastaveni", "TabIndex", std::to_string(static_cast<int>(s.kind)));
    std::string unsaved;
    for (bool u : s.unsaved) unsaved += u ? '1' : '0';
    s.settings.set("Nastaveni", "Neulozeno", unsaved);
    for (std::size_t i = 0; i < s.savedFile.size(); ++i) {
      if (s.savedFile[i].isEmpty()) s.settings.removeKey("Nastaveni", SavedFileKey(i));
      else s.settings.set("Nastaveni", SavedFileKey(i), fromQt(s.savedFile[i]));
    }
    s.settings.save(settingsPath(s));
  });
  if (failure) std::rethrow_exception(failure);
}

int FormResizeWidth(int width) { return std::max(width, 690); }

// ---------------------------------------------------------------- file menu

bool MayDiscardEdits(VeklaState& s, Prompter& p) {
  return !HasUnsavedEdits(s) || p.questionDefaultNo(cp("Zahodit neuložené změny?"));
}

bool MayDiscardEditsOf(VeklaState& s, Prompter& p, DbKind k) {
  if (k == s.kind) return MayDiscardEdits(s, p);
  return !s.unsaved[static_cast<std::size_t>(k)] ||
         p.questionDefaultNo(cp("Zahodit neuložené změny na kartě ") + KindTabCaption(k) + "?");
}

Outcome NovyClick(VeklaState& s, Prompter& p) {
  if (!MayDiscardEdits(s, p)) return Outcome::Cancelled;
  s.savedFile[static_cast<std::size_t>(s.kind)].clear();
  SetupTab(s, s.kind);
  ClearSortMarks(s.grid);
  SelectFirstCell(s);
  if (Params(s.kind).semesterStore) DeleteGradesIni(s);
  MarkSaved(s);
  SaveKind(s);
  return Outcome::Done;
}

namespace {

Outcome openWith(VeklaState& s, Prompter& p, bool first) {
  // Without a backup folder the dialog would open wherever an empty path leads.
  if (!first && !NeedHandheldFolder(s, p, cp("Složka zálohy z handheldu není nastavena.")))
    return Outcome::Cancelled;
  if (!MayDiscardEdits(s, p)) return Outcome::Cancelled;
  s.openFromFirst = first;
  FileDialogRequest request;
  request.filter = s.dialogFilter;
  request.initialDir = first ? s.adresar1 : EffectiveBackupFolder(s.settings);
  request.defaultExt = "PDB";
  const auto path = p.openFile(request);
  if (!path) return Outcome::Cancelled;
  return OpenDatabase(s, p, *path, first);
}

}  // namespace

Outcome OtevriClick1(VeklaState& s, Prompter& p) { return openWith(s, p, true); }
Outcome OtevriClick2(VeklaState& s, Prompter& p) { return openWith(s, p, false); }

namespace {

// A database whose creator and type are another kind's belongs on that
// kind's tab: read here it would fill the grid with nonsense. Databases of
// no known kind are read as the tab's own.
bool RefuseOtherKind(const VeklaState& s, Prompter& p, const QString& path) {
  const PdbHeader h = PdbFile::loadHeader(path);
  const std::optional<DbKind> kind = KindFromCreatorType(h.creator, h.type);
  if (!kind || *kind == s.kind) return false;
  p.message(cp("Soubor ") + fromQt(QFileInfo(path).fileName()) + cp(" je ") + cp(Params(*kind).noun) + cp(", ne ") +
            cp(Params(s.kind).noun) + ".");
  return true;
}

}  // namespace

Outcome OpenDatabase(VeklaState& s, Prompter& p, const QString& path, bool firstDialog) {
  if (RefuseOtherKind(s, p, path)) return Outcome::Refused;
  // The log starts afresh for the file being read; a file that cannot be
  // read changes nothing, so the previous lines come back then.
  std::vector<std::string> previousLog;
  previousLog.swap(s.Memo1);
  s.openFromFirst = firstDialog;
  Outcome outcome;
  try {
    outcome = KindTable(s.kind).open(s, p, path, firstDialog);
  } catch (...) {
    s.Memo1 = std::move(previousLog);
    throw;
  }
  if (outcome != Outcome::Done) {
    s.Memo1 = std::move(previousLog);
    return outcome;
  }
  MarkSaved(s);
  RememberRecentFile(s, path);
  // The next save proposes the database just opened, where the open put it.
  s.savedFile[static_cast<std::size_t>(s.kind)].clear();
  ClearSortMarks(s.grid);
  // The grid shows the new database from its top-left cell.
  SelectFirstCell(s);
  SaveKind(s);
  return outcome;
}

Outcome UlozClick(VeklaState& s, Prompter& p) {
  const Outcome outcome = KindTable(s.kind).save(s, p);
  if (outcome == Outcome::Done) MarkSaved(s);
  return outcome;
}

// ---------------------------------------------------------------- utility

Outcome HotSync(VeklaState& s, Prompter& p) {
  // Without the handheld's folder or J-Pilot there is nothing to hand the file to.
  if (!NeedHandheldFolder(s, p, cp("Složka handheldu není nastavena a J-Pilot nebyl nalezen.")))
    return Outcome::Cancelled;
  // The handheld gets the file as it is on disk, not what the grid shows.
  if (HasUnsavedEdits(s) &&
      !p.questionDefaultNo(cp("Karta obsahuje neuložené změny. Předat soubor tak, jak je uložen?")))
    return Outcome::Cancelled;
  FileDialogRequest request;
  request.title = "Instalovat";
  request.filter = "soubory PDB a PRC|*.PDB;*.PRC";
  request.initialDir = s.adresar1;
  const auto path = p.openFile(request);
  if (!path) return Outcome::Cancelled;
  if (QueueForJPilot(s.settings, *path)) {
    p.message(cp("Soubor ") + fromQt(QFileInfo(*path).fileName()) + cp(" bude nainstalován při příští synchronizaci."));
    return Outcome::Done;
  }
  if (!p.shellOpen(*path)) {
    p.message(cp("Soubor ") + fromQt(QFileInfo(*path).fileName()) +
              cp(" se nepodařilo předat k instalaci: pro soubory PDB není nastaven žádný program a J-Pilot "
                 "nebyl nalezen."));
    return Outcome::Failed;
  }
  return Outcome::Done;
}

void MenuTestClick(VeklaState& s, Prompter& p) { CheckAllCells(s, p); }

void SBchybyClick(VeklaState& s) { s.Memo1.clear(); }

void SBnastavitsloupceClick(VeklaState& s) { s.grid.autoSizeColumns(); }

Outcome SpeedButton1Click(VeklaState& s, Prompter& p) {
  const auto c = p.chooseColor(s.shape1);
  if (!c) return Outcome::Cancelled;
  s.shape1 = *c;
  s.shape2 = ContrastColor(*c);
  MarkEdited(s);
  Ops(s.kind).highlight(s);
  return Outcome::Done;
}

// ---------------------------------------------------------------- main grid events

void StringAlignGridSelectCell(VeklaState& s, CellPos at) {
  s.selCol = at.col;
  s.selRow = at.row;
  s.grid.currentCol = at.col;
  s.grid.currentRow = at.row;
  if (const auto rules = Ops(s.kind).buttons) rules(s, at);
}

void StringAlignGridAfterEdit(VeklaState& s, CellPos at) {
  s.grid.setText(at, CheckCell(s, s.grid.text(at), at));
  MarkEdited(s);
  if (const auto edited = Ops(s.kind).afterEdit) edited(s, at);
  s.grid.autoSizeColumns();
}

bool ClickGivesWeight(const GridClick& click) { return !click.shift && !click.control && !click.dragged; }

std::string WeightClickStep() { return cp("váha známky"); }

namespace {

// "váha 2 (1,50)", or what a colour of no weight is.
std::string WeightName(const VeklaState& s, Color c, bool accusative) {
  const int n = WeightNumber(s, c);
  if (n < 1) return cp("barva bez váhy");
  return cp(accusative ? "váhu " : "váha ") + std::to_string(n) + " (" +
         s.weights[static_cast<std::size_t>(n - 1)].text + ")";
}

std::string Trimmed(std::string t) {
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

// The status line of a grade that changed its weight: whose grade, in which
// column, and the weight before and after.
std::string WeightChangeLine(const VeklaState& s, CellPos at, Color before, Color after) {
  std::string who = s.grid.text(GradeGeometry::kNameCol, at.row);
  if (who.empty()) who = s.grid.text(0, at.row);
  std::string column = cp("sloupec ") + s.grid.text(at.col, 0);
  if (const std::string& date = s.grid.text(at.col, GradeGeometry::kDateRow); !date.empty())
    column += " (" + date + ")";
  return who + ", " + column + cp(", známka ") + Trimmed(s.grid.text(at)) + ": " + WeightName(s, before, false) +
         cp(" změněna na ") + WeightName(s, after, true) + ".";
}

}  // namespace

Outcome GradeCellClicked(VeklaState& s, const GridClick& click) {
  const CellPos at = click.at;
  if (!ClickGivesWeight(click) || !HoldsGrade(s, at)) return Outcome::Cancelled;
  // An empty cell has no grade to weigh: a typed grade takes the weight then.
  if (s.grid.text(at).empty()) return Outcome::Cancelled;
  const Color before = s.grid.fontColor(at.col, at.row);
  if (!GiveCurrentWeight(s, at)) return Outcome::Cancelled;
  MarkEdited(s);
  // A grade that changes its weight changes the averages.
  ComputeStatistics(s);
  const Color after = s.grid.fontColor(at.col, at.row);
  s.statusLine = WeightChangeLine(s, at, before, after);
  s.weightClick = {true, at, before, after, s.grid.mark()};
  return Outcome::Done;
}

std::string CzechPlural(std::size_t n, const char* one, const char* few, const char* many) {
  return cp(n == 1 ? one : n >= 2 && n <= 4 ? few : many);
}

std::string CellCount(std::size_t n, bool accusative) {
  return std::to_string(n) + " " + CzechPlural(n, accusative ? "buňku" : "buňka", "buňky", "buněk");
}

std::string PreviewCheck(VeklaState& s, const std::string& text, CellPos at) {
  const std::size_t logged = s.Memo1.size();
  const std::string label = s.grid.text(0, at.row);
  std::string checked = CheckCell(s, text, at);
  s.Memo1.resize(logged);
  if (s.grid.text(0, at.row) != label) s.grid.setText(0, at.row, label);
  return checked;
}

bool ProtectedCell(const VeklaState& s, CellPos at) {
  if (at.col < s.grid.fixedCols() || at.row < s.grid.fixedRows()) return true;
  return ComputedCell(s, at);
}

namespace {

// The cells that emptying would change (a check may give an empty cell its
// default, or a number back). Titles and statistics are left out; so are
// cells that are empty already.
std::vector<CellPos> CellsToEmpty(VeklaState& s, const std::vector<CellPos>& cells) {
  std::vector<CellPos> out;
  for (const CellPos at : cells) {
    if (at.col < 1 || at.row < 1 || at.col >= s.grid.colCount() || at.row >= s.grid.rowCount()) continue;
    if (ProtectedCell(s, at)) continue;
    if (PreviewCheck(s, std::string(), at) != s.grid.text(at)) out.push_back(at);
  }
  return out;
}

Outcome EmptyCells(VeklaState& s, Prompter& p, const std::vector<CellPos>& cells) {
  const std::vector<CellPos> change = CellsToEmpty(s, cells);
  if (change.empty()) return Outcome::Cancelled;
  if (change.size() > 1 && !p.questionDefaultNo(cp("Vymazat ") + CellCount(change.size(), true) + "?"))
    return Outcome::Cancelled;
  bool grades = false;
  for (const CellPos at : change) {
    s.grid.setText(at, CheckCell(s, std::string(), at));
    grades = grades || HoldsGrade(s, at);
  }
  MarkEdited(s);
  if (grades) ComputeStatistics(s);
  s.grid.autoSizeColumns();
  return Outcome::Done;
}

}  // namespace

Outcome ClearCells(VeklaState& s, Prompter& p, const std::vector<CellPos>& cells) { return EmptyCells(s, p, cells); }

Outcome CutCells(VeklaState& s, Prompter& p, const std::vector<CellPos>& cells) { return EmptyCells(s, p, cells); }

namespace {

Outcome FillSelectedCell(VeklaState& s, std::string text) {
  s.grid.setText({s.selCol, s.selRow}, std::move(text));
  MarkEdited(s);
  s.grid.autoSizeColumns();
  return Outcome::Done;
}

}  // namespace

Outcome SpeedItemHodinyClick(VeklaState& s, Prompter& p) {
  // Lessons of the timetable start on five-minute marks.
  const auto t = p.chooseTime(TimePresetFromCell(s.grid.text(s.selCol, s.selRow)), Params(s.kind).timeStep);
  if (!t) return Outcome::Cancelled;
  KeepTime(s.settings, *t);
  return FillSelectedCell(s, TimeResultText(*t));
}

Outcome SpeedItemDatumClick(VeklaState& s, Prompter& p) {
  const auto d = p.chooseDate(DatePresetFromCell(s.grid.text(s.selCol, s.selRow), LastDate(s.settings)));
  if (!d) return Outcome::Cancelled;
  KeepDate(s.settings, *d);
  return FillSelectedCell(s, DateResultText(*d));
}

// ---------------------------------------------------------------- rows and columns

void SelectCurrentCell(VeklaState& s) {
  // Never a title row or column: the window cannot select them either.
  s.selRow = std::clamp(s.selRow, 1, std::max(1, s.grid.rowCount() - 1));
  s.selCol = std::clamp(s.selCol, 1, std::max(1, s.grid.colCount() - 1));
  StringAlignGridSelectCell(s, {s.selCol, s.selRow});
}

void SelectFirstCell(VeklaState& s) {
  s.selCol = 1;
  s.selRow = 1;
  SelectCurrentCell(s);
}

Outcome ColumnTitleClick(VeklaState& s, int col) {
  if (!Ops(s.kind).sort) return Outcome::Cancelled;
  StringAlignGridFixedColClick(s, col);
  // The rows moved under the current cell: the first row is current now.
  s.selRow = 1;
  SelectCurrentCell(s);
  return Outcome::Done;
}

void ChooseSemester(VeklaState& s, int index) {
  CBZnamkyPololetiChange(s, index);
  // The semester may have fewer grade columns than the one left.
  SelectCurrentCell(s);
}

namespace {

// The row a removal would take, as the question names it: the row's label
// as the grid shows it (of a student's label "7. Ančerlová" the number
// before the dot), then the row's text: a student's name, a topic, a
// day's holiday.
std::string RowInQuestion(const VeklaState& s, int row) {
  auto [number, text] = Ops(s.kind).rowName(s.grid, row);
  if (number.empty()) number = std::to_string(row);
  return text.empty() ? number : number + " (" + text + ")";
}

}  // namespace

void SBInsertClick(VeklaState& s) {
  SelectCurrentCell(s);
  if (!s.control(Ctl::SpeedItemPridatRadek).enabled) return;
  MarkEdited(s);
  const int at = s.selRow + 1;
  s.grid.insertRow(at);
  Ops(s.kind).rowInserted(s, at);
  SelectCurrentCell(s);
}

Outcome SBDeleteClick(VeklaState& s, Prompter& p) {
  SelectCurrentCell(s);
  // The rules of the buttons: never a title row, never the last student.
  if (!s.control(Ctl::SpeedItemOdstranitRadek).enabled || s.selRow >= s.grid.rowCount()) return Outcome::Refused;
  if (!p.questionDefaultNo(cp("Odstranit řádek ") + RowInQuestion(s, s.selRow) + "?")) return Outcome::Cancelled;
  if (const auto remove = Ops(s.kind).removeRow) {
    MarkEdited(s);
    remove(s, s.selRow);
  }
  SelectCurrentCell(s);
  return Outcome::Done;
}

void SpeedItemPridatSloupecClick(VeklaState& s) {
  SelectCurrentCell(s);
  if (!s.control(Ctl::SpeedItemPridatSloupec).enabled) return;
  if (const auto inserted = Ops(s.kind).columnInserted) {
    const int at = s.selCol + 1;
    MarkEdited(s);
    s.grid.insertCol(at);
    for (int r = 1; r < s.grid.rowCount(); ++r) s.grid.setColors(at, r, kWhite, kBlack);
    inserted(s, at);
  }
  SelectCurrentCell(s);
}

Outcome SpeedItemOdebratSloupecClick(VeklaState& s, Prompter& p) {
  SelectCurrentCell(s);
  // The rules of the buttons: never a title column, never the last grade or lesson.
  if (!s.control(Ctl::SpeedItemOdebratSloupec).enabled) return Outcome::Refused;
  const KindOps& ops = Ops(s.kind);
  const std::string column = ops.columnName ? ops.columnName(s.grid, s.selCol) : s.grid.text(s.selCol, 0);
  if (!p.questionDefaultNo(cp("Odstranit sloupec ") + column + "?")) return Outcome::Cancelled;
  if (ops.removeColumn) {
    MarkEdited(s);
    ops.removeColumn(s, s.selCol);
  }
  SelectCurrentCell(s);
  return Outcome::Done;
}

// ---------------------------------------------------------------- timetable panel

void EditRozvrhPolozkaChange(VeklaState& s) {
  s.EditRozvrhPolozka = CutLabelledText(s, s.EditRozvrhPolozka, cp("Položka (třída, učitel ... ):"), 8);
}

void EditRozvrhLSChange(VeklaState& s) { s.EditRozvrhLS = CutLabelledText(s, s.EditRozvrhLS, cp("1. buňka:"), 8); }

Outcome SpeedButtonRozvrhClick(VeklaState& s, Prompter& p) {
  const auto c = p.chooseColor(s.shapeRozvrh);
  if (!c) return Outcome::Cancelled;
  s.shapeRozvrh = *c;
  MarkEdited(s);
  return Outcome::Done;
}

// ---------------------------------------------------------------- running commands

Outcome RunCommand(VeklaState& s, Prompter& p, const std::function<Outcome()>& command) {
  Outcome outcome = Outcome::Failed;
  bool reported = false;
  try {
    outcome = command();
  } catch (const VeklaError& e) {
    p.error(e.text());
    reported = true;
  } catch (const std::exception& e) {
    p.error(cp("Neočekávaná chyba: ") + e.what());
    reported = true;
  }
  try {
    FlushGradesIni(s);
  } catch (const VeklaError& e) {
    // One failure, one message: when the command failed already (the disk
    // is full, say), the store failing too is the same cause. It stays
    // unwritten and the next command writes it.
    if (!reported) p.error(e.text());
    outcome = Outcome::Failed;
  }
  if (!s.Lpohyb.empty()) {
    s.Lpohyb.clear();
    p.progress(s.Lpohyb);
  }
  return outcome;
}

}  // namespace vekla
