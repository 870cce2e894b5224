// A header click on the largest grade book the handheld keeps, 999 students
// by 127 grade columns: sorting by a grade column and by name, each with the
// layout and the statistics that follow. Every click turns the direction,
// so the rows really move each time.
#include <benchmark/benchmark.h>

#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradegeometry.h"
#include "workspace/kindops.h"
#include "workspace/sorting.h"

using namespace vekla;

namespace {

constexpr int kStudents = 999;
constexpr int kGradeColumns = 127;

// Students in a mixed order with Czech surnames, every grade cell one of the
// 20 symbols in one of the four weight colours.
VeklaState ShuffledGradeBook() {
  static const char* const surnames[8] = {"Čermák", "Novák", "Adámek", "Šťastný", "Chalupa", "Hora", "Žák", "Zeman"};
  VeklaState s;
  test::GradeBookGrid(s, kStudents, kGradeColumns);
  test::DefaultGradeScale(s);
  const GradeGeometry geo(s.grid);
  for (int n = 1; n <= kStudents; ++n) {
    const int r = GradeGeometry::studentRow(n);
    const int mixed = (n * 379) % 1000;
    s.grid.setText(GradeGeometry::kOrderCol, r, std::to_string(n));
    s.grid.setText(GradeGeometry::kNameCol, r, cp(surnames[mixed % 8]) + " " + std::to_string(mixed));
    s.grid.setText(geo.examinedCol(), r, "3");
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      s.grid.setText(c, r, cp(test::kGradeSymbols[(mixed * 7 + c) % 20]));
      s.grid.setFontColor(c, r, test::kWeightColours[(mixed + c) % 4]);
    }
  }
  return s;
}

void SortBy(benchmark::State& state, int col) {
  VeklaState s = ShuffledGradeBook();
  for (auto _ : state) {
    StringAlignGridFixedColClick(s, col);
    benchmark::DoNotOptimize(s.grid.store().data());
  }
}

void BM_SortGradeBookByGrade(benchmark::State& state) { SortBy(state, GradeGeometry::kFirstGradeCol + 1); }
void BM_SortGradeBookByName(benchmark::State& state) { SortBy(state, GradeGeometry::kNameCol); }
BENCHMARK(BM_SortGradeBookByGrade)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);
BENCHMARK(BM_SortGradeBookByName)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);

}  // namespace
