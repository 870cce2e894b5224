#pragma once
// Where things are in the grade book's grid. Row 0 holds the titles, rows 1
// to 3 the date, start and end time of each grade column, then one row per
// student, then the rows of averages and deviations. Column 1 holds the
// order number, column 2 the name, then one column per grade, then the
// average, deviation, note and "examined" columns.
#include "workspace/cellgrid.h"

namespace vekla {

class GradeGeometry {
 public:
  static constexpr int kDateRow = 1;
  static constexpr int kStartRow = 2;
  static constexpr int kEndRow = 3;
  static constexpr int kFirstStudentRow = 4;
  static constexpr int kOrderCol = 1;
  static constexpr int kNameCol = 2;
  static constexpr int kFirstGradeCol = 3;
  // Columns and rows that are not grades or students: 7 columns, 6 rows.
  static constexpr int kOtherCols = 7;
  static constexpr int kOtherRows = 6;

  explicit GradeGeometry(const CellGrid& g) : cols_(g.colCount()), rows_(g.rowCount()) {}
  GradeGeometry(int cols, int rows) : cols_(cols), rows_(rows) {}

  int lastGradeCol() const { return cols_ - 5; }
  int averageCol() const { return cols_ - 4; }
  int deviationCol() const { return cols_ - 3; }
  int noteCol() const { return cols_ - 2; }
  int examinedCol() const { return cols_ - 1; }
  int lastStudentRow() const { return rows_ - 3; }
  int averageRow() const { return rows_ - 2; }
  int deviationRow() const { return rows_ - 1; }

  int gradeColumns() const { return cols_ - kOtherCols; }
  int students() const { return rows_ - kOtherRows; }
  bool isGradeCol(int c) const { return c >= kFirstGradeCol && c <= lastGradeCol(); }
  bool isStudentRow(int r) const { return r >= kFirstStudentRow && r <= lastStudentRow(); }
  bool isGradeCell(CellPos p) const { return isGradeCol(p.col) && isStudentRow(p.row); }
  // The grid row of student n (from 1), and back.
  static int studentRow(int n) { return kFirstStudentRow - 1 + n; }

 private:
  int cols_;
  int rows_;
};

}  // namespace vekla
