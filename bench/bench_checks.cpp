// Whole-grid check and grade statistics over the largest grade book the
// handheld keeps: 999 students by 127 grade columns.
#include <benchmark/benchmark.h>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/checks.h"
#include "workspace/gradestats.h"
#include "workspace/kindops.h"
#include "workspace/progress.h"

using namespace vekla;

namespace {

// Answers nothing; counts the repaints of the progress label.
class QuietPrompter : public Prompter {
 public:
  int repaints = 0;
  std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  void message(const std::string&) override {}
  void error(const std::string&) override {}
  bool question(const std::string&) override { return false; }
  std::optional<Color> chooseColor(Color) override { return std::nullopt; }
  void progress(const std::string&) override { ++repaints; }
  bool shellOpen(const QString&) override { return false; }
};

constexpr int kStudents = 999;
constexpr int kGradeColumns = 127;

// A full grade book with well-formed cells: every grade column dated, every
// grade cell holds one of the 20 symbols in one of the four weight colours.
VeklaState BigGradeBook() {
  VeklaState s;
  test::GradeBookGrid(s, kStudents, kGradeColumns);  // 134 x 1005
  test::DefaultGradeScale(s);
  const int C = s.grid.colCount();
  for (int c = 3; c <= C - 5; ++c) {
    s.grid.setText(c, 1, std::to_string(1 + c % 28) + "." + std::to_string(1 + c % 12));
    s.grid.setText(c, 2, "08:00");
    s.grid.setText(c, 3, "08:45");
  }
  for (int n = 1; n <= kStudents; ++n) {
    const int r = n + 3;
    s.grid.setText(0, r, std::to_string(n) + ". Student" + std::to_string(n) + " ");
    s.grid.setText(1, r, std::to_string(n));
    s.grid.setText(2, r, "Student" + std::to_string(n) + " Jan");
    s.grid.setText(C - 2, r, cp("poznámka"));
    s.grid.setText(C - 1, r, "3");
    for (int c = 3; c <= C - 5; ++c) {
      s.grid.setText(c, r, cp(test::kGradeSymbols[(r * 7 + c) % 20]));
      s.grid.setFontColor(c, r, test::kWeightColours[(r + c) % 4]);
    }
  }
  return s;
}

void BM_CheckAllCells(benchmark::State& state) {
  VeklaState s = BigGradeBook();
  QuietPrompter p;
  for (auto _ : state) {
    CheckAllCells(s, p);
    benchmark::DoNotOptimize(s.grid.store().data());
  }
  state.counters["cells"] = static_cast<double>((s.grid.rowCount() - 1) * (s.grid.colCount() - 1));
  state.counters["repaints/pass"] = static_cast<double>(p.repaints) / static_cast<double>(state.iterations());
  if (!s.Memo1.empty()) state.SkipWithError("the grade book should need no repair");
}
BENCHMARK(BM_CheckAllCells)->Unit(benchmark::kMillisecond);

// Every student, column and the class, as after opening or a semester switch.
void BM_ComputeStatistics(benchmark::State& state) {
  VeklaState s = BigGradeBook();
  for (auto _ : state) {
    s.statisticsBasis.valid = false;
    ComputeStatistics(s);
    benchmark::DoNotOptimize(s.grid.store().data());
  }
}
BENCHMARK(BM_ComputeStatistics)->Unit(benchmark::kMillisecond);

// After one grade was typed: its student, its column and the class.
void BM_ComputeStatisticsAfterOneGrade(benchmark::State& state) {
  VeklaState s = BigGradeBook();
  ComputeStatistics(s);
  int n = 0;
  for (auto _ : state) {
    s.grid.setText(3 + n % 127, 4 + n * 37 % kStudents, cp(test::kGradeSymbols[n % 20]));
    ++n;
    ComputeStatistics(s);
    benchmark::DoNotOptimize(s.grid.store().data());
  }
}
BENCHMARK(BM_ComputeStatisticsAfterOneGrade)->Unit(benchmark::kMicrosecond);

}  // namespace
