// Workbooks of the largest grade book (999 students by 127 grade columns):
// the sheet laid out, and the sheet written as .xlsx, apart, for the table
// and the per-student layouts.
#include <benchmark/benchmark.h>

#include "convert/excel.h"
#include "convert/xlsx.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradegeometry.h"

using namespace vekla;

namespace {

VeklaState LargestGradeBook() {
  VeklaState s;
  test::GradeBookGrid(s, 999, 127);
  test::DefaultGradeScale(s);
  const GradeGeometry geo(s.grid);
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    s.grid.setText(GradeGeometry::kOrderCol, r, std::to_string(r - 3));
    s.grid.setText(GradeGeometry::kNameCol, r, cp("Žák číslo ") + std::to_string(r - 3));
    s.grid.setText(geo.averageCol(), r, "2,345");
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      s.grid.setText(c, r, cp(test::kGradeSymbols[(r + c) % 20]));
      s.grid.setFontColor(c, r, test::kWeightColours[(r * c) % 4]);
    }
  }
  return s;
}

GradeDisplayOptions Options(int zvlast) {
  GradeDisplayOptions o;
  o.zvlast = zvlast != 0;
  return o;
}

void BM_LayOutLargestGradeBook(benchmark::State& state) {
  const VeklaState s = LargestGradeBook();
  const GradeDisplayOptions o = Options(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Sheet sheet = o.zvlast ? ExportGradesSeparate(s, o) : ExportGradesTable(s, o);
    benchmark::DoNotOptimize(sheet.rowCount());
  }
}

void BM_WriteLargestGradeBookXlsx(benchmark::State& state) {
  const VeklaState s = LargestGradeBook();
  const GradeDisplayOptions o = Options(static_cast<int>(state.range(0)));
  const Sheet sheet = o.zvlast ? ExportGradesSeparate(s, o) : ExportGradesTable(s, o);
  for (auto _ : state) benchmark::DoNotOptimize(WriteXlsx(sheet));
}

BENCHMARK(BM_LayOutLargestGradeBook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_WriteLargestGradeBookXlsx)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);

}  // namespace
