#include "workspace/classfigures.h"

#include <algorithm>

#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

// Counts the grades of the given cells that count for the averages.
template <class EachCell>
GradeTally Tally(const VeklaState& s, const EachCell& each) {
  const GradeCodes codes(s);
  GradeTally t;
  each([&](const Cell& cell) {
    const int code = codes(cell.text);
    if (code < 1) return;
    const int weight = WeightNumber(s, cell.font);
    if (weight < 1) return;
    ++t.counts[static_cast<std::size_t>(code)][static_cast<std::size_t>(weight - 1)];
    ++t.total;
  });
  return t;
}

}  // namespace

int GradeTally::of(int code) const {
  if (code < 1 || code > 20) return 0;
  int n = 0;
  for (int c : counts[static_cast<std::size_t>(code)]) n += c;
  return n;
}

GradeTally TallyClass(const VeklaState& s) {
  const GradeGeometry geo(s.grid);
  return Tally(s, [&](const auto& f) {
    for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
      for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) f(s.grid.cell(c, r));
  });
}

GradeTally TallyColumn(const VeklaState& s, int col) {
  const GradeGeometry geo(s.grid);
  if (!geo.isGradeCol(col)) return {};
  return Tally(s, [&](const auto& f) {
    for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) f(s.grid.cell(col, r));
  });
}

ShownAverage AverageCell(const VeklaState& s, int col, int row) {
  const Cell& cell = s.grid.cell(col, row);
  ShownAverage a;
  a.text = cell.text;
  a.value = a.text.empty() ? 0 : ParseGradeNumber(a.text);
  a.background = resolveColor(cell.brush);
  a.color = resolveColor(cell.font);
  return a;
}

std::vector<ColumnFigure> ColumnFigures(const VeklaState& s) {
  const CellGrid& g = s.grid;
  const GradeGeometry geo(g);
  std::vector<ColumnFigure> out;
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
    out.push_back({c, g.text(c, 0), g.text(c, GradeGeometry::kDateRow), g.text(c, GradeGeometry::kStartRow),
                   g.text(c, GradeGeometry::kEndRow), AverageCell(s, c, geo.averageRow())});
  return out;
}

std::vector<StudentFigure> Students(const VeklaState& s) {
  const CellGrid& g = s.grid;
  const GradeGeometry geo(g);
  std::vector<StudentFigure> out;
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    out.push_back({r, g.text(GradeGeometry::kOrderCol, r), g.text(GradeGeometry::kNameCol, r),
                   g.text(geo.noteCol(), r), AverageCell(s, geo.averageCol(), r)});
  return out;
}

std::vector<StudentFigure> StudentsByAverage(const VeklaState& s) {
  std::vector<StudentFigure> out = Students(s);
  std::stable_sort(out.begin(), out.end(), [](const StudentFigure& a, const StudentFigure& b) {
    if (a.average.shown() != b.average.shown()) return a.average.shown();
    return a.average.shown() && a.average.value < b.average.value;
  });
  return out;
}

std::vector<StudentGrade> GradesOfStudent(const VeklaState& s, int row) {
  const GradeGeometry geo(s.grid);
  const GradeCodes codes(s);
  std::vector<StudentGrade> out;
  if (!geo.isStudentRow(row)) return out;
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
    const Cell& cell = s.grid.cell(c, row);
    const int code = codes(cell.text);
    const int weight = code > 0 ? WeightNumber(s, cell.font) : 0;
    if (weight < 1) continue;
    out.push_back({c, cell.text, code, weight, ParseGradeNumber(s.znamky.text(code, 1))});
  }
  return out;
}

int BandOf(const VeklaState& s, const ShownAverage& a) {
  if (!a.shown()) return -1;
  // Bands of one colour are told apart by their bounds.
  int first = -1;
  for (int k = 0; k < 5; ++k) {
    if (resolveColor(s.znamky2.brush(k, 0)) != a.background || resolveColor(s.znamky2.fontColor(k, 0)) != a.color)
      continue;
    if (first < 0) first = k;
    if (ParseGradeNumber(s.znamky2.text(k, 0)) >= a.value) return k;
  }
  if (first >= 0) return first;
  return a.background == kBlack && a.color == kWhite ? 5 : -1;
}

std::string BandCaption(const VeklaState& s, int band) {
  if (band >= 0 && band <= 4) return "do " + s.znamky2.text(band, 0);
  if (band == 5) return "nad " + s.znamky2.text(4, 0);
  return {};
}

std::string WeightCaption(const VeklaState& s, int weight) {
  if (weight < 1 || weight > 4) return {};
  return cp("váha ") + std::to_string(weight) + " (" + s.weights[static_cast<std::size_t>(weight - 1)].text + ")";
}

}  // namespace vekla
