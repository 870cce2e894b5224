#include "workspace/commands.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <exception>
#include <set>

#include "kinds/kinds.h"
#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/palmdesktop.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

QString withSlash(QString dir) {
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString settingsPath(const VeklaState& s) { return s.programDir + "vekla.ini"; }

void setEnabled(VeklaState& s, const char* name, bool on) { s.control(name).enabled = on; }

}  // namespace

QString ResolveProgramDir(const QString& applicationDir) {
  const QString home = qEnvironmentVariable("VEKLA_HOME");
  if (!home.isEmpty()) {
    QDir().mkpath(home);
    return withSlash(QDir(home).absolutePath());
  }
  QFileInfo app(applicationDir);
  if (app.isDir() && app.isWritable()) return withSlash(app.absoluteFilePath());
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
  s.kind = static_cast<DbKind>(ok && tab >= 0 && tab <= 3 ? tab : 0);
}

void FormActivate(VeklaState& s, Prompter& p) {
  (void)p;
  if (s.reload) {
    SetupTab(s, s.kind);
    LoadKind(s);
  }
  s.reload = true;
}

void TabSet1Change(VeklaState& s, Prompter& p, int newIndex) {
  (void)p;
  if (newIndex < 0 || newIndex > 3) return;
  if (s.prefix.empty()) {
    s.kind = static_cast<DbKind>(newIndex);
    return;
  }
  SaveKind(s);
  SetupTab(s, static_cast<DbKind>(newIndex));
  LoadKind(s);
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
    if (s.kind == DbKind::Znamky)
      step([&] {
        s.currentSemester = s.semesterItemIndex + 1;
        StoreSemester(s);
      });
    step([&] { SaveKind(s); });
  }
  step([&] {
    s.settings.set("Nastaveni", "Adresar1", fromQt(s.adresar1));
    s.settings.set("Nastaveni", "TabIndex", std::to_string(static_cast<int>(s.kind)));
    s.settings.save(settingsPath(s));
  });
  if (failure) std::rethrow_exception(failure);
}

int FormResizeWidth(int width) { return std::max(width, 690); }

// ---------------------------------------------------------------- file menu

void NovyClick(VeklaState& s, Prompter& p) {
  (void)p;
  SetupTab(s, s.kind);
  if (s.kind == DbKind::Znamky) DeleteGradesIni(s);
  SaveKind(s);
}

namespace {

void openWith(VeklaState& s, Prompter& p, bool first) {
  s.openFromFirst = first;
  FileDialogRequest request;
  request.filter = s.dialogFilter;
  request.initialDir = first ? s.adresar1 : EffectiveBackupFolder(s.settings);
  request.defaultExt = "PDB";
  const auto path = p.openFile(request);
  if (!path) return;
  OpenDatabase(s, p, *path, first);
}

}  // namespace

void OtevriClick1(VeklaState& s, Prompter& p) { openWith(s, p, true); }
void OtevriClick2(VeklaState& s, Prompter& p) { openWith(s, p, false); }

void OpenDatabase(VeklaState& s, Prompter& p, const QString& path, bool firstDialog) {
  // The log starts afresh for the file being read; a file that cannot be
  // read changes nothing, so the previous lines come back then.
  std::vector<std::string> previousLog;
  previousLog.swap(s.Memo1);
  s.openFromFirst = firstDialog;
  try {
    switch (s.kind) {
      case DbKind::Znamky: ReadGrades(s, p, path, firstDialog); break;
      case DbKind::Rozpisy: ReadTopicPlans(s, p, path, firstDialog); break;
      case DbKind::Rozvrh: ReadTimetable(s, p, path, firstDialog); break;
      case DbKind::Kalendar: ReadCalendar(s, p, path, firstDialog); break;
    }
  } catch (...) {
    s.Memo1 = std::move(previousLog);
    throw;
  }
  SaveKind(s);
}

void UlozClick(VeklaState& s, Prompter& p) {
  switch (s.kind) {
    case DbKind::Znamky: WriteGrades(s, p); break;
    case DbKind::Rozpisy:
    case DbKind::Kalendar: WriteRowRecords(s, p); break;
    case DbKind::Rozvrh: WriteTimetable(s, p); break;
  }
}

// ---------------------------------------------------------------- utility

void HotSync(VeklaState& s, Prompter& p) {
  FileDialogRequest request;
  request.title = "Instalovat";
  request.filter = "soubory PDB a PRC|*.PDB;*.PRC";
  request.initialDir = s.adresar1;
  const auto path = p.openFile(request);
  if (!path) return;
  if (QueueForJPilot(s.settings, *path)) {
    p.message(cp("Soubor ") + fromQt(QFileInfo(*path).fileName()) +
              cp(" bude nainstalován při příští synchronizaci."));
    return;
  }
  p.shellOpen(*path);
}

void MenuTestClick(VeklaState& s, Prompter& p) { CheckAllCells(s, p); }

void SBchybyClick(VeklaState& s) { s.Memo1.clear(); }

void SBnastavitsloupceClick(VeklaState& s) { s.grid.autoSizeColumns(); }

void SpeedButton1Click(VeklaState& s, Prompter& p) {
  const auto c = p.chooseColor(s.shape1);
  if (!c) return;
  s.shape1 = *c;
  s.shape2 = ContrastColor(*c);
  switch (s.kind) {
    case DbKind::Znamky: LayoutGrades(s); break;
    case DbKind::Rozpisy: LayoutTopicPlans(s); break;
    case DbKind::Kalendar: LayoutCalendar(s); break;
    case DbKind::Rozvrh:
      if (s.selRow >= 4 && s.selCol >= 2) {
        const int first = s.selRow - s.selRow % 4;
        for (int r = first; r <= first + 3; ++r) s.grid.setColors(s.selCol, r, s.shape1, s.shape2);
      }
      break;
  }
}

// ---------------------------------------------------------------- main grid events

void UpdateGradeButtons(VeklaState& s, int col, int row) {
  const int C = s.grid.colCount(), R = s.grid.rowCount();
  const bool gradeCol = 2 < col && col < C - 4;
  setEnabled(s, "SpeedItemHodiny", 2 <= row && row <= 3 && gradeCol);
  setEnabled(s, "SpeedItemDatum", row == 1 && gradeCol);
  const bool studentRow = 3 < row && row < R - 2;
  setEnabled(s, "SpeedItemOdstranitRadek", studentRow && R >= 8);
  setEnabled(s, "SpeedItemPridatRadek", studentRow);
  setEnabled(s, "SpeedItemOdebratSloupec", gradeCol && C >= 9);
  setEnabled(s, "SpeedItemPridatSloupec", gradeCol && C < 135);
}

void UpdateTimetableButtons(VeklaState& s, int col, int row) {
  const int C = s.grid.colCount();
  setEnabled(s, "SpeedItemHodiny", 2 <= row && row <= 3 && col >= 2);
  setEnabled(s, "SpeedItemOdebratSloupec", col != 1 && C >= 4);
  setEnabled(s, "SpeedItemPridatSloupec", C < 26);
}

void StringAlignGridSelectCell(VeklaState& s, int col, int row) {
  s.selCol = col;
  s.selRow = row;
  s.grid.currentCol = col;
  s.grid.currentRow = row;
  if (s.kind == DbKind::Rozvrh) {
    UpdateTimetableButtons(s, col, row);
  } else if (s.kind == DbKind::Znamky) {
    s.grid.selectedCellColor = s.grid.fontColor(col, row);
    s.grid.selectedFontColor = s.grid.brush(col, row);
    const int C = s.grid.colCount(), R = s.grid.rowCount();
    if (2 < col && col < C - 4 && 3 < row && row < R - 2)
      s.grid.setFontColor(col, row, s.weights[static_cast<size_t>(s.weightDown - 1)].color);
    UpdateGradeButtons(s, col, row);
  }
}

void StringAlignGridAfterEdit(VeklaState& s, int col, int row) {
  s.grid.setText(col, row, CheckCell(s, s.grid.text(col, row), row, col));
  const int C = s.grid.colCount(), R = s.grid.rowCount();
  if (s.kind == DbKind::Znamky && 3 <= col && col < C - 4 && 4 <= row && row < R - 2) ComputeStatistics(s);
  s.grid.autoSizeColumns();
}

// ---------------------------------------------------------------- rows and columns

namespace {
void reselect(VeklaState& s) {
  s.selRow = std::clamp(s.selRow, 0, std::max(0, s.grid.rowCount() - 1));
  s.selCol = std::clamp(s.selCol, 0, std::max(0, s.grid.colCount() - 1));
  StringAlignGridSelectCell(s, s.selCol, s.selRow);
}
}  // namespace

void SBInsertClick(VeklaState& s) {
  const int at = s.selRow + 1;
  s.grid.insertRow(at);
  if (s.kind == DbKind::Znamky) {
    ++s.studentCount;
    const std::string n = std::to_string(s.studentCount);
    s.grid.setText(1, at, n);
    s.grid.setText(2, at, cp("Nový záznam"));
    s.grid.setText(0, at, n + cp(". Nový"));
    LayoutGrades(s);
    ComputeStatistics(s);
  } else {
    LayoutCurrent(s);
  }
  reselect(s);
}

void SBDeleteClick(VeklaState& s, Prompter& p) {
  if (!p.question(cp("Odstranit řádek?"))) return;
  switch (s.kind) {
    case DbKind::Znamky:
      s.grid.removeRow(s.selRow);
      LayoutGrades(s);
      ComputeStatistics(s);
      break;
    case DbKind::Rozpisy:
      s.grid.removeRow(s.selRow);
      LayoutTopicPlans(s);
      break;
    case DbKind::Kalendar:
      s.grid.removeRow(s.selRow);
      LayoutCalendar(s);
      break;
    case DbKind::Rozvrh: break;  // the timetable always keeps its 24 rows
  }
  reselect(s);
}

void SpeedItemPridatSloupecClick(VeklaState& s) {
  const int at = s.selCol + 1;
  if (s.kind == DbKind::Znamky || s.kind == DbKind::Rozvrh) {
    s.grid.insertCol(at);
    for (int r = 1; r < s.grid.rowCount(); ++r) s.grid.setColors(at, r, kWhite, kBlack);
  }
  if (s.kind == DbKind::Znamky) {
    s.grid.setText(at, 1, TodayDayMonth());
    s.grid.setText(at, 2, NowHourMinute());
    s.grid.setText(at, 3, NowHourMinute());
    LayoutGrades(s);
    NumberGradeColumns(s);
    UpdateGradeButtons(s, s.selCol, s.selRow);
    ComputeStatistics(s);
  } else if (s.kind == DbKind::Rozvrh) {
    NumberLessonColumns(s);
    UpdateTimetableButtons(s, s.selCol, s.selRow);
  }
  reselect(s);
}

void SpeedItemOdebratSloupecClick(VeklaState& s, Prompter& p) {
  if (!p.question(cp("Odstranit sloupec?"))) return;
  if (s.kind == DbKind::Znamky) {
    s.grid.removeCol(s.selCol);
    NumberGradeColumns(s);
    UpdateGradeButtons(s, s.selCol, s.selRow);
    ComputeStatistics(s);
  } else if (s.kind == DbKind::Rozvrh) {
    s.grid.removeCol(s.selCol);
    NumberLessonColumns(s);
    UpdateTimetableButtons(s, s.selCol, s.selRow);
  }
  reselect(s);
}

// ---------------------------------------------------------------- timetable panel

void EditRozvrhPolozkaChange(VeklaState& s) {
  s.EditRozvrhPolozka = CutLabelledText(s, s.EditRozvrhPolozka, cp("Položka (třída, učitel ... ):"), 8);
}

void EditRozvrhLSChange(VeklaState& s) {
  s.EditRozvrhLS = CutLabelledText(s, s.EditRozvrhLS, cp("1. buňka:"), 8);
}

void SpeedButtonRozvrhClick(VeklaState& s, Prompter& p) {
  if (const auto c = p.chooseColor(s.shapeRozvrh)) s.shapeRozvrh = *c;
}

// ---------------------------------------------------------------- running commands

bool IsImplemented(const std::string& controlName) {
  // Commands that this version does not have yet; their controls stay disabled.
  static const std::set<std::string> notYet = {
      "MenuImportCSV", "MenuHtml",        "MenuExcel",     "ExportCSV1",      "MenuNastavZnamky",
      "SpeedItemImport", "SpeedItemImport2", "SpeedItemUlozCSV", "SpeedItemHTML", "SpeedItemExcel",
      "SpeedItemPHP",  "SpeedItemHodiny", "SpeedItemDatum"};
  return notYet.count(controlName) == 0;
}

void RunCommand(VeklaState& s, Prompter& p, const std::function<void()>& command) {
  try {
    command();
  } catch (const VeklaError& e) {
    p.error(e.text());
  } catch (const std::exception& e) {
    p.error(cp("Neočekávaná chyba: ") + e.what());
  }
  try {
    FlushGradesIni(s);
  } catch (const VeklaError& e) {
    p.error(e.text());
  }
  if (!s.Lpohyb.empty()) {
    s.Lpohyb.clear();
    p.progress(s.Lpohyb);
  }
}

}  // namespace vekla
