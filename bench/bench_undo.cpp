// Undo on the largest grade book (999 students by 127 grade columns): the
// memory a history holds after 200 typed grades, and the time to record
// one typed grade and to undo it.
#include <benchmark/benchmark.h>

#include "commands/commands.h"
#include "commands/undocommands.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

using namespace vekla;

namespace {

VeklaState LargestGradeBook() {
  VeklaState s;
  InitControls(s);
  test::GradeBookGrid(s, 999, 127);
  test::DefaultGradeScale(s);
  s.gradesIniLoaded = true;  // no store on disk
  const GradeGeometry geo(s.grid);
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      s.grid.setText(c, r, cp(test::kGradeSymbols[(r + c) % 20]));
      s.grid.setFontColor(c, r, test::kWeightColours[(r * c) % 4]);
    }
  ComputeStatistics(s);
  return s;
}

// One typed grade, as the window types it.
void TypeGrade(VeklaState& s, int i) {
  const CellPos at{GradeGeometry::kFirstGradeCol + i % 127, GradeGeometry::kFirstStudentRow + (i * 7) % 999};
  s.grid.setText(at, cp(test::kGradeSymbols[i % 20]));
  StringAlignGridAfterEdit(s, at);
}

void BM_HistoryOf200Edits(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    VeklaState s = LargestGradeBook();
    Histories h;
    StartHistory(s, h);
    state.ResumeTiming();
    for (int i = 0; i < 200; ++i) {
      TypeGrade(s, i);
      RecordEdit(s, h, "edit");
    }
    state.counters["history_MB"] = static_cast<double>(h.of(s.kind).memory()) / (1 << 20);
  }
}

void BM_UndoOneEdit(benchmark::State& state) {
  VeklaState s = LargestGradeBook();
  Histories h;
  StartHistory(s, h);
  for (int i = 0; i < 200; ++i) {
    TypeGrade(s, i);
    RecordEdit(s, h, "edit");
  }
  for (auto _ : state) {
    UndoClick(s, h);
    state.PauseTiming();
    RedoClick(s, h);
    state.ResumeTiming();
  }
}

BENCHMARK(BM_HistoryOf200Edits)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UndoOneEdit)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);

}  // namespace
