// CSV of the largest files: a topic plan of 10,000 rows each way, and both
// files of the largest grade book (999 students by 127 grade columns).
#include <benchmark/benchmark.h>

#include <QString>

#include "convert/csv.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradegeometry.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"

using namespace vekla;

namespace {

constexpr int kTopics = 10000;

VeklaState TopicPlan() {
  VeklaState s;
  InitControls(s);
  SetupTab(s, DbKind::Rozpisy);
  s.grid.setRowCount(kTopics + 1);
  for (int r = 1; r <= kTopics; ++r) {
    s.grid.setText(1, r, std::to_string(r % 1000));
    s.grid.setText(2, r, cp("Téma hodiny číslo ") + std::to_string(r));
    s.grid.setText(3, r, "1.9.2025");
    s.grid.setText(4, r, cp("poznámka; s uvozovkami \"x\""));
    for (int c = 5; c <= 8; ++c) s.grid.setText(c, r, c == 8 ? "1" : "12");
  }
  return s;
}

void BM_ExportTopicPlan(benchmark::State& state) {
  const VeklaState s = TopicPlan();
  for (auto _ : state) benchmark::DoNotOptimize(ExportCsvTable(s));
}

void BM_ImportTopicPlan(benchmark::State& state) {
  const VeklaState plan = TopicPlan();
  const std::string bytes = ExportCsvTable(plan);
  for (auto _ : state) {
    state.PauseTiming();
    VeklaState s = plan;
    state.ResumeTiming();
    ImportCsvTable(s, bytes, QStringLiteral("/tmp/Rozpisy-velky.csv"));
    benchmark::DoNotOptimize(s.grid.store().data());
  }
}

void BM_ExportLargestGradeBook(benchmark::State& state) {
  VeklaState s;
  test::GradeBookGrid(s, 999, 127);
  test::DefaultGradeScale(s);
  const GradeGeometry geo(s.grid);
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      s.grid.setText(c, r, cp(test::kGradeSymbols[(r + c) % 20]));
      s.grid.setFontColor(c, r, test::kWeightColours[(r * c) % 4]);
    }
  for (auto _ : state) {
    benchmark::DoNotOptimize(ExportCsvGrades(s));
    benchmark::DoNotOptimize(ExportCsvGradeValues(s));
  }
}

BENCHMARK(BM_ExportTopicPlan)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_ImportTopicPlan)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_ExportLargestGradeBook)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);

}  // namespace
