// Whole-grid check and grade statistics over the largest grade book the
// handheld keeps: 999 students by 127 grade columns.
#include <benchmark/benchmark.h>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradestats.h"

using namespace vekla;

namespace {

// Answers nothing; counts the repaints of the progress label.
class QuietPrompter : public Prompter {
 public:
  int repaints = 0;
  std::optional<QString> openFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> saveFile(const FileDialogSpec&) override { return std::nullopt; }
  void message(const std::string&) override {}
  void error(const std::string&) override {}
  bool question(const std::string&) override { return false; }
  std::optional<Color> chooseColor(Color) override { return std::nullopt; }
  void progress(const std::string&) override { ++repaints; }
  void shellOpen(const QString&) override {}
};

constexpr int kStudents = 999;
constexpr int kGradeColumns = 127;

// A full grade book with well-formed cells: every grade cell holds one of
// the 20 symbols in one of the four weight colours.
VeklaState BigGradeBook() {
  VeklaState s;
  s.kind = DbKind::Znamky;
  const int C = kGradeColumns + 7, R = kStudents + 6;  // 134 x 1005
  s.grid = CellGrid(C, R, 1, 1);
  const char* symbols[20] = {"1 ", "2 ", "3 ", "4 ", "5 ", "1-", "2-", "3-", "4-", "5-",
                             "1*", "2*", "3*", "4*", "5*", "1·", "2·", "3·", "4·", "5·"};
  const char* values[20] = {"1,00", "2,00", "3,00", "4,00", "5,00", "1,50", "2,50", "3,50", "4,50", "5,50",
                            "0,75", "1,75", "2,75", "3,75", "4,75", "1,25", "2,25", "3,25", "4,25", "5,25"};
  for (int c = 1; c <= 20; ++c) {
    s.znamky.setText(c, 0, cp(symbols[c - 1]));
    s.znamky.setText(c, 1, values[c - 1]);
  }
  const char* bounds[5] = {"1,3", "1,5", "2,0", "3,0", "3,5"};
  for (int k = 0; k < 5; ++k) s.znamky2.setText(k, 0, bounds[k]);
  const Color colours[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA), rgbHex(0x00CC33)};
  for (int n = 0; n < 4; ++n) s.weights[static_cast<std::size_t>(n)] = WeightEdit{"1,00", colours[n]};

  s.grid.setText(1, 0, cp("Pořadí"));
  s.grid.setText(2, 0, cp("Jméno"));
  for (int c = 3; c <= C - 5; ++c) {
    s.grid.setText(c, 0, std::to_string(c - 2));
    s.grid.setText(c, 1, std::to_string(1 + c % 28) + "." + std::to_string(1 + c % 12));
    s.grid.setText(c, 2, "08:00");
    s.grid.setText(c, 3, "08:45");
  }
  s.grid.setText(C - 4, 0, cp("Průměr"));
  s.grid.setText(C - 3, 0, "Sm. odch.");
  s.grid.setText(C - 2, 0, cp("Poznámka"));
  s.grid.setText(C - 1, 0, cp("Zkoušen"));
  s.grid.setText(0, 1, "Datum");
  s.grid.setText(0, 2, cp("Čas od"));
  s.grid.setText(0, 3, cp("Čas do"));
  for (int n = 1; n <= kStudents; ++n) {
    const int r = n + 3;
    s.grid.setText(0, r, std::to_string(n) + ". Student" + std::to_string(n) + " ");
    s.grid.setText(1, r, std::to_string(n));
    s.grid.setText(2, r, "Student" + std::to_string(n) + " Jan");
    s.grid.setText(C - 2, r, cp("poznámka"));
    s.grid.setText(C - 1, r, "3");
    for (int c = 3; c <= C - 5; ++c) {
      s.grid.setText(c, r, cp(symbols[(r * 7 + c) % 20]));
      s.grid.setFontColor(c, r, colours[(r + c) % 4]);
    }
  }
  s.grid.setText(0, R - 2, cp("Průměr"));
  s.grid.setText(0, R - 1, "Sm. odch.");
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

void BM_ComputeStatistics(benchmark::State& state) {
  VeklaState s = BigGradeBook();
  for (auto _ : state) {
    ComputeStatistics(s);
    benchmark::DoNotOptimize(s.grid.store().data());
  }
}
BENCHMARK(BM_ComputeStatistics)->Unit(benchmark::kMillisecond);

}  // namespace
