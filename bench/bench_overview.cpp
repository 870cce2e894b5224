// The class overview ("Přehled třídy") following the grade book on a class
// of 30 students with 12 grade columns: one grade typed and Enter with the
// overview open (the edit, the window's refresh, the overview's figures and
// charts, every repaint), the same with the overview closed, and the
// overview's own refresh and repaint after a changed grade.
//
//   vekla_bench_overview
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/classoverview.h"
#include "app/gridmodel.h"
#include "app/mainwindow.h"
#include "app/printactions.h"
#include "pdb/clock.h"
#include "support/scriptedprompter.h"
#include "windowstart.h"
#include "workspace/gradestats.h"

using namespace vekla;
using namespace vekla::bench;

namespace {

constexpr int kStudents = 30;
constexpr int kColumns = 12;

// The class as a CSV file of the grade book: weights by colour are given by
// the import (the first weight), grades from the whole scale.
QString WriteClass(const QString& dir) {
  const char* const symbols[15] = {"1", "2", "3", "4", "5", "1-", "2-", "3-", "4-", "5-", "1*", "2*", "3*", "4*", "5*"};
  QByteArray csv = "Po\xF8\x61\x64\xED;Jm\xE9no";
  for (int c = 1; c <= kColumns; ++c) csv += ";" + QByteArray::number(c);
  csv += ";Pr\xF9m\xECr;Sm. odch.;Pozn\xE1mka;Zkou\x9A\x65n\r\n;";
  for (int c = 1; c <= kColumns; ++c) csv += ";" + QByteArray::number(c + 2) + ".9";
  for (const char* time : {"08:00", "08:45"}) {
    csv += "\r\n;";
    for (int c = 1; c <= kColumns; ++c) csv += QByteArray(";") + time;
  }
  csv += "\r\n";
  for (int n = 1; n <= kStudents; ++n) {
    csv += QByteArray::number(n) + ";Student " + QByteArray::number(n);
    for (int c = 1; c <= kColumns; ++c) csv += QByteArray(";") + symbols[(7 * n + 3 * c) % 15];
    csv += ";;;;0\r\n";
  }
  const QString path = dir + "/Znamky-7B.csv";
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(csv);
  return path;
}

struct Session {
  QTemporaryDir home;
  test::ScriptedPrompter p;
  std::unique_ptr<MainWindow> w;
  ClassOverview* overview = nullptr;

  Session() : w(StartWindow(home, p)) {
    w->openGivenFile(WriteClass(home.path()));
    PrintActions* actions = w->findChild<PrintActions*>();
    actions->showOverview();
    overview = actions->overview();
    Settle();
  }
  GridView* grid() const { return w->findChild<GridView*>("StringAlignGrid"); }
};

std::unique_ptr<Session> shared;
Session& Shared() {
  if (!shared) shared = std::make_unique<Session>();
  return *shared;
}

// One grade typed into the next cell of a row and Enter, until repainted.
void Edit(benchmark::State& state, bool overviewShown) {
  Session& s = Shared();
  s.overview->setVisible(overviewShown);
  Settle();
  static int edits = 0;
  GridView* grid = s.grid();
  for (auto _ : state) {
    state.PauseTiming();
    const int col = 3 + edits % kColumns, row = 4 + (edits / kColumns) % kStudents;
    const char grade = "12345"[edits % 5];
    ++edits;
    grid->setFocus();
    grid->setCurrentIndex(grid->gridModel()->indexOf(col, row));
    Settle();
    state.ResumeTiming();
    QTest::keyClick(grid, grade);
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    if (!editor) break;
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  if (!s.p.errors.empty()) state.SkipWithError("an error box was shown");
}

void BM_EditWithOverview(benchmark::State& state) { Edit(state, true); }
void BM_EditWithoutOverview(benchmark::State& state) { Edit(state, false); }

// The overview's part of an edit: a grade changed in the state and its
// statistics computed (not timed), then the overview's figures, charts and
// list, repainted.
void BM_OverviewRefresh(benchmark::State& state) {
  Session& s = Shared();
  s.overview->show();
  Settle();
  VeklaState& st = s.w->state();
  int edits = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const int col = 3 + edits % kColumns, row = 4 + (edits / kColumns) % kStudents;
    st.grid.setText(col, row, std::string{"12345"[edits % 5], ' '});
    st.selCol = col;
    ComputeStatistics(st);
    ++edits;
    state.ResumeTiming();
    s.overview->refresh();
    // The charts lay out and paint from posted events.
    Settle();
    s.overview->repaint();
  }
}

BENCHMARK(BM_EditWithOverview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(60)->Repetitions(3);
BENCHMARK(BM_EditWithoutOverview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(60)->Repetitions(3);
BENCHMARK(BM_OverviewRefresh)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(60)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetNow(QDateTime(QDate(2025, 11, 3), QTime(10, 0, 0)));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shared.reset();
  return 0;
}
