#include "workspace/buttonrules.h"

#include "workspace/gradegeometry.h"

namespace vekla {

namespace {

void setEnabled(VeklaState& s, Ctl c, bool on) { s.control(c).enabled = on; }

}  // namespace

void UpdateGradeButtons(VeklaState& s, CellPos at) {
  const GradeGeometry g(s.grid);
  const int C = s.grid.colCount(), R = s.grid.rowCount();
  const bool gradeCol = g.isGradeCol(at.col);
  const bool timeRow = at.row == GradeGeometry::kStartRow || at.row == GradeGeometry::kEndRow;
  setEnabled(s, Ctl::SpeedItemHodiny, timeRow && gradeCol);
  setEnabled(s, Ctl::SpeedItemDatum, at.row == GradeGeometry::kDateRow && gradeCol);
  const bool studentRow = g.isStudentRow(at.row);
  // At least two students to remove one, at most 999 to insert one; at most
  // 127 grade columns.
  setEnabled(s, Ctl::SpeedItemOdstranitRadek, studentRow && R >= 8);
  setEnabled(s, Ctl::SpeedItemPridatRadek, studentRow && g.students() < kMaxStudents);
  setEnabled(s, Ctl::SpeedItemOdebratSloupec, gradeCol && C >= 9);
  setEnabled(s, Ctl::SpeedItemPridatSloupec, gradeCol && g.gradeColumns() < kMaxGradeColumns);
}

void UpdateTimetableButtons(VeklaState& s, CellPos at) {
  const int C = s.grid.colCount();
  setEnabled(s, Ctl::SpeedItemHodiny, 2 <= at.row && at.row <= 3 && at.col >= 2);
  setEnabled(s, Ctl::SpeedItemOdebratSloupec, at.col != 1 && C >= 4);
  setEnabled(s, Ctl::SpeedItemPridatSloupec, C < 26);
}

}  // namespace vekla
