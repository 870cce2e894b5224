#include "workspace/kindops.h"

#include <algorithm>
#include <array>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "workspace/buttonrules.h"
#include "workspace/checks.h"
#include "workspace/datafolder.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"
#include "workspace/ordernumbers.h"
#include "workspace/semesters.h"
#include "workspace/setup.h"
#include "workspace/sorting.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

// ---------------------------------------------------------------- the grade book

bool GradeCell(const CellGrid& g, CellPos at) { return GradeGeometry(g).isGradeCell(at); }

bool StatisticsCell(const CellGrid& grid, CellPos at) {
  const GradeGeometry g(grid);
  return at.row >= g.averageRow() || at.col == g.averageCol() || at.col == g.deviationCol();
}

void LoadGrades(VeklaState& s) {
  LayoutGrades(s);
  LoadGradeExtras(s);
  SelectBandCell(s, 0, 0);
}

void GradeBookEdited(VeklaState& s, CellPos at) {
  if (!GradeGeometry(s.grid).isGradeCell(at)) return;
  // A grade typed into a cell takes the weight whose button is down.
  GiveCurrentWeight(s, at);
  ComputeStatistics(s);
}

void StudentInserted(VeklaState& s, int row) {
  // A number no other student has, nor one whose grades the store keeps.
  const std::string n = std::to_string(NextStudentNumber(s, GradesIni(s)));
  s.grid.setText(GradeGeometry::kOrderCol, row, n);
  s.grid.setText(GradeGeometry::kNameCol, row, cp("Nový záznam"));
  s.grid.setText(0, row, n + cp(". Nový"));
  LayoutGrades(s);
  ComputeStatistics(s);
}

void RemoveStudent(VeklaState& s, int row) {
  s.grid.removeRow(row);
  LayoutGrades(s);
  ComputeStatistics(s);
  // The last student removed: the student above is current, not the row of
  // averages that took the place.
  s.selRow = std::min(s.selRow, GradeGeometry(s.grid).lastStudentRow());
}

void GradeColumnInserted(VeklaState& s, int col) {
  s.grid.setText(col, GradeGeometry::kDateRow, TodayDayMonth());
  s.grid.setText(col, GradeGeometry::kStartRow, NowHourMinute());
  s.grid.setText(col, GradeGeometry::kEndRow, NowHourMinute());
  LayoutGrades(s);
  NumberGradeColumns(s);
  ComputeStatistics(s);
}

void RemoveGradeColumn(VeklaState& s, int col) {
  s.grid.removeCol(col);
  NumberGradeColumns(s);
  ComputeStatistics(s);
}

// A student's label "7. Ančerlová" is named by the number before the dot.
RowName StudentName(const CellGrid& g, int row) {
  std::string number = g.text(0, row);
  if (const std::size_t dot = number.find('.'); dot != std::string::npos && dot > 0) number.resize(dot);
  return {number, g.text(GradeGeometry::kNameCol, row)};
}

// A grade column by its number and its date.
std::string GradeColumnName(const CellGrid& g, int col) {
  std::string column = g.text(col, 0);
  if (const std::string& date = g.text(col, GradeGeometry::kDateRow); !date.empty()) column += " (" + date + ")";
  return column;
}

// ---------------------------------------------------------------- the timetable

void LoadTimetable(VeklaState& s) {
  LoadTimetableExtras(s);
  LayoutTimetable(s);
}

// A lesson's block of four rows takes the highlight colour.
void ColourLesson(VeklaState& s) {
  if (s.selRow >= 4 && s.selCol >= 2) {
    const int first = s.selRow - s.selRow % 4;
    for (int r = first; r <= first + 3; ++r) s.grid.setColors(s.selCol, r, s.shape1, s.shape2);
  }
}

void LessonColumnInserted(VeklaState& s, int) { NumberLessonColumns(s); }

void RemoveLessonColumn(VeklaState& s, int col) {
  s.grid.removeCol(col);
  NumberLessonColumns(s);
}

// ---------------------------------------------------------------- every kind

// A row named by its label and the text of one column.
template <int kTextCol>
RowName LabelAndText(const CellGrid& g, int row) {
  return {g.text(0, row), g.colCount() > kTextCol ? g.text(kTextCol, row) : std::string()};
}

template <void (*kLayout)(VeklaState&)>
void LayOutAgain(VeklaState& s, int) {
  kLayout(s);
}

template <void (*kLayout)(VeklaState&)>
void RemoveAndLayOut(VeklaState& s, int row) {
  s.grid.removeRow(row);
  kLayout(s);
}

std::string CheckTopicCell(VeklaState& s, const std::string& text, CellPos at) {
  return CheckByColumnType(s, text, at);
}

// The calendar's holidays are kept as typed.
std::string KeepText(VeklaState&, const std::string& text, CellPos) { return text; }

// The grade book.
constexpr KindOps kGradeBook = {.kind = DbKind::Znamky,
                                .setup = SetupGrades,
                                .layout = LayoutGrades,
                                .saveExtras = SaveGradeExtras,
                                .loadAfterCommon = LoadGrades,
                                .checkCell = CheckGradeBookCell,
                                .checkAllCells = CheckAllGradeBookCells,
                                .afterEdit = GradeBookEdited,
                                .gradeCell = GradeCell,
                                .computedCell = StatisticsCell,
                                .highlight = LayoutGrades,
                                .buttons = UpdateGradeButtons,
                                .sort = SortGrades,
                                .rowInserted = StudentInserted,
                                .removeRow = RemoveStudent,
                                .columnInserted = GradeColumnInserted,
                                .removeColumn = RemoveGradeColumn,
                                .rowName = StudentName,
                                .columnName = GradeColumnName};

// The topic plan.
constexpr KindOps kTopicPlan = {.kind = DbKind::Rozpisy,
                                .setup = SetupTopicPlans,
                                .layout = LayoutTopicPlans,
                                .saveExtras = nullptr,
                                .loadAfterCommon = LayoutTopicPlans,
                                .checkCell = CheckTopicCell,
                                .checkAllCells = nullptr,
                                .afterEdit = nullptr,
                                .gradeCell = nullptr,
                                .computedCell = nullptr,
                                .highlight = LayoutTopicPlans,
                                .buttons = nullptr,
                                .sort = SortTopicPlans,
                                .rowInserted = LayOutAgain<LayoutTopicPlans>,
                                .removeRow = RemoveAndLayOut<LayoutTopicPlans>,
                                .columnInserted = nullptr,
                                .removeColumn = nullptr,
                                .rowName = LabelAndText<2>,
                                .columnName = nullptr};

// The timetable.
constexpr KindOps kTimetable = {.kind = DbKind::Rozvrh,
                                .setup = SetupTimetable,
                                .layout = LayoutTimetable,
                                .saveExtras = SaveTimetableExtras,
                                .loadAfterCommon = LoadTimetable,
                                .checkCell = CheckTimetableCell,
                                .checkAllCells = nullptr,
                                .afterEdit = nullptr,
                                .gradeCell = nullptr,
                                .computedCell = nullptr,
                                .highlight = ColourLesson,
                                .buttons = UpdateTimetableButtons,
                                .sort = nullptr,
                                .rowInserted = LayOutAgain<LayoutTimetable>,
                                // The timetable always keeps its 24 rows.
                                .removeRow = nullptr,
                                .columnInserted = LessonColumnInserted,
                                .removeColumn = RemoveLessonColumn,
                                .rowName = LabelAndText<1>,
                                .columnName = nullptr};

// The calendar.
constexpr KindOps kCalendar = {.kind = DbKind::Kalendar,
                               .setup = SetupCalendar,
                               .layout = LayoutCalendar,
                               .saveExtras = nullptr,
                               .loadAfterCommon = LayoutCalendar,
                               .checkCell = KeepText,
                               .checkAllCells = nullptr,
                               .afterEdit = nullptr,
                               .gradeCell = nullptr,
                               .computedCell = nullptr,
                               .highlight = LayoutCalendar,
                               .buttons = nullptr,
                               .sort = nullptr,
                               .rowInserted = LayOutAgain<LayoutCalendar>,
                               .removeRow = RemoveAndLayOut<LayoutCalendar>,
                               .columnInserted = nullptr,
                               .removeColumn = nullptr,
                               .rowName = LabelAndText<1>,
                               .columnName = nullptr};

// The rows in the order of DbKind.
constexpr std::array<KindOps, kKindCount> kRows = {kGradeBook, kTopicPlan, kTimetable, kCalendar};

}  // namespace

const KindOps& Ops(DbKind k) { return kRows[KindIndex(k)]; }

// ---------------------------------------------------------------- through the row

void SetupTab(VeklaState& s, DbKind kind) {
  const KindOps& ops = Ops(kind);
  BeginSetup(s, kind);
  ops.setup(s);
  EndSetup(s);
}

void LayoutCurrent(VeklaState& s) { Ops(s.kind).layout(s); }

std::string CheckCell(VeklaState& s, const std::string& text, CellPos at) { return Ops(s.kind).checkCell(s, text, at); }

void CheckAllCells(VeklaState& s, const Progress& progress) {
  const KindOps& ops = Ops(s.kind);
  if (ops.checkAllCells) return ops.checkAllCells(s, progress);
  CheckEveryCell(
      s, [&](const std::string& text, CellPos at) { return ops.checkCell(s, text, at); }, progress);
}

bool HoldsGrade(const VeklaState& s, CellPos at) {
  const auto grade = Ops(s.kind).gradeCell;
  return grade && grade(s.grid, at);
}

bool ComputedCell(const VeklaState& s, CellPos at) {
  const auto computed = Ops(s.kind).computedCell;
  return computed && computed(s.grid, at);
}

void LoadCommon(VeklaState& s) {
  if (!LoadCommonFile(s)) SetupTab(s, s.kind);
}

void SaveKind(VeklaState& s) {
  if (s.workFilesInMemory) return;
  const KindOps& ops = Ops(s.kind);
  WorkFileBatch batch;
  SaveCommon(s, batch);
  if (ops.saveExtras) ops.saveExtras(s, batch);
  // The semester store goes with the grid it belongs to.
  const std::size_t grids = batch.size();
  FlushGradesIni(s, batch);
  const bool storeToWrite = batch.size() > grids;
  try {
    batch.write();
  } catch (...) {
    // The store is not on the disk as it is: the next flush writes it.
    if (storeToWrite) {
      s.gradesIniWritten = 0;
      s.gradesIniDirty = true;
    }
    throw;
  }
}

void LoadKind(VeklaState& s) {
  const KindOps& ops = Ops(s.kind);
  LoadCommon(s);
  ops.loadAfterCommon(s);
  s.grid.autoSizeColumns();
}

void StringAlignGridFixedColClick(VeklaState& s, int col) {
  if (col < 1 || col >= s.grid.colCount()) return;
  if (const auto sort = Ops(s.kind).sort) {
    sort(s, col);
    MarkEdited(s);
  }
}

}  // namespace vekla
