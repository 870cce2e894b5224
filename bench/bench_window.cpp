// The window on the largest grade book the handheld keeps (999 students,
// 127 grade columns, 10 semesters with notes: about 2.9 MB), driven the way
// a teacher's clicks and keys drive it: open, type a grade and press Enter,
// switch the semester, save, close; and the resident memory after 1 and 5
// opens. Each action runs once per repetition and the medians are reported.
//
//   vekla_bench_window                            every action
//   vekla_bench_window --benchmark_filter=Memory  the memory figures alone
//   vekla_bench_window --write-gradebook DIR      only writes the databases
//
// Under bench/profile.sh perf samples the timed actions only.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/gridmodel.h"
#include "app/mainwindow.h"
#include "pdb/clock.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "windowstart.h"

using namespace vekla;
using namespace vekla::bench;

namespace {

constexpr int kStudents = 999;
constexpr int kColumns = 127;
constexpr int kSemesters = 10;
const QString kFileName = QStringLiteral("Znamky-velka.PDB");

// ---------------------------------------------------------------- the databases

PalmTime Stamp(std::uint32_t t) {
  return {static_cast<std::uint8_t>(t >> 24), static_cast<std::uint8_t>(t >> 16), static_cast<std::uint8_t>(t >> 8),
          static_cast<std::uint8_t>(t)};
}

// Two bytes of a byte list (weight and grade, day and month, hour and minute).
void Pair(std::string& list, int a, int b) {
  list.push_back(static_cast<char>(a));
  list.push_back(static_cast<char>(b));
}

// The grade book in the form the program writes it, so that opening checks
// nothing into a repair and a save writes the same bytes back.
std::vector<PdbRecord> GradeBookRecords() {
  PdbRecord classRecord{"-2", "3", "3366cc"}, starts{"-1", "3", "1"}, ends{"0", "20201", ""};
  for (int k = 1; k <= kSemesters; ++k) {
    std::string days, from, to;
    for (int c = 0; c < kColumns; ++c) {
      Pair(days, 1 + (c + k) % 28, 1 + (c / 11 + k) % 12);
      Pair(from, 8 + c % 6, 5 + 5 * (c % 11));
      Pair(to, 8 + c % 6, 50);
    }
    classRecord.push_back(days);
    classRecord.push_back(cp("Pololetí ") + std::to_string(k) + cp(": písemky každý týden, jedna opravná"));
    starts.push_back(from);
    starts.push_back(std::to_string(2020 + (k - 1) / 2) + std::to_string(1 + (k - 1) % 2));
    ends.push_back(to);
    ends.push_back("0");
  }
  std::vector<PdbRecord> records{classRecord, starts, ends};

  const char* const surnames[8] = {"Novák",     "Dvořáková", "Šťastný", "Černá",
                                   "Procházka", "Kučerová",  "Veselý",  "Horáková"};
  const char* const names[8] = {"Jan", "Eva", "Řehoř", "Žofie", "Petr", "Jana", "Tomáš", "Lucie"};
  for (int n = 1; n <= kStudents; ++n) {
    PdbRecord student{std::to_string(n), cp(surnames[n % 8]) + " " + cp(names[n / 8 % 8]), std::to_string(n % 4)};
    for (int k = 1; k <= kSemesters; ++k) {
      std::string grades;
      for (int c = 0; c < kColumns; ++c) Pair(grades, 1 + (n + c) % 4, 1 + (7 * n + 3 * c + k) % 20);
      student.push_back(grades);
      student.push_back(cp("Zapomněl úkol ") + std::to_string(k) + cp("x, písemka opravena"));
    }
    records.push_back(student);
  }
  return records;
}

// The shared preferences: the default grade scale, weights and bands.
std::vector<PdbRecord> PreferenceRecords() {
  const char* const symbols[20] = {"1 ", "2 ", "3 ", "4 ", "5 ", "1-", "2-", "3-", "4-", "5-",
                                   "1*", "2*", "3*", "4*", "5*", "1·", "2·", "3·", "4·", "5·"};
  const char* const values[20] = {"1.00", "2.00", "3.00", "4.00", "5.00", "1.50", "2.50", "3.50", "4.50", "5.50",
                                  "0.75", "1.75", "2.75", "3.75", "4.75", "1.25", "2.25", "3.25", "4.25", "5.25"};
  PdbRecord scale;
  for (int i = 0; i < 20; ++i) {
    scale.push_back(cp(symbols[i]));
    scale.push_back(values[i]);
  }
  return {{"x"},
          {"y"},
          scale,
          {"ff0000", "1", "0000ff", "2", "aaaaaa", "0.5", "00cc33", "3"},
          {"0000ff", "1.3", "99ccff", "1.5", "eeeeee", "2.0", "ff9999", "3.0", "ff0000", "3.5"}};
}

void WriteDatabases(const QString& dir) {
  const PalmTime created = Stamp(3'900'000'000u), modified = Stamp(3'950'000'000u);
  WritePdb(dir + "/" + kFileName, {"Znamky-velka", created, modified, "data", "TqbZ"}, GradeBookRecords());
  WritePdb(dir + "/Znamky-db_pref.PDB", {"Znamky-db_pref", created, modified, "data", "TqbZ"}, PreferenceRecords());
}

// The folder with the databases, written once per process.
const QString& Folder() {
  static QTemporaryDir dir;
  static const QString path = [] {
    WriteDatabases(dir.path());
    return dir.path();
  }();
  return path;
}

// ---------------------------------------------------------------- the window

// Posted work done: layouts, repaints, editors closed.
// A window as the teacher starts it, in a program folder of its own (no
// working files yet); dialogs and questions go to a scripted prompter.
struct Session {
  QTemporaryDir home;
  test::ScriptedPrompter p;
  std::unique_ptr<MainWindow> w;

  Session() : w(StartWindow(home, p)) {
    // The preferences are found in the first import folder.
    w->state().adresar1 = Folder() + "/";
  }
  ~Session() { w.reset(); }

  // "Import z 1. adresáře" with the grade book chosen in the dialog.
  void open() {
    p.openAnswers.push_back(Folder() + "/" + kFileName);
    w->trigger(Ctl::SpeedItemOtevri1);
    Settle();
  }
  GridView* grid() const { return w->findChild<GridView*>("StringAlignGrid"); }
};

// The window most actions run on: started and opened once, closed by main.
std::unique_ptr<Session> shared;
Session& Shared() {
  if (!shared) {
    shared = std::make_unique<Session>();
    shared->open();
  }
  return *shared;
}

bool Failed(benchmark::State& state, const Session& s) {
  if (s.p.errors.empty()) return false;
  state.SkipWithError(toUtf8(s.p.errors.front()).c_str());
  return true;
}

double ResidentMb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
  return 0;
}

// perf, started by bench/profile.sh with its events off, samples only while
// one of these lives. Each switch waits for perf's acknowledgement.
class Profiled {
 public:
  Profiled() { send("enable\n"); }
  ~Profiled() { send("disable\n"); }

 private:
  static void send(const char* command) {
    static const int ctl = qEnvironmentVariableIntValue("VEKLA_PERF_CTL_FD");
    static const int ack = qEnvironmentVariableIntValue("VEKLA_PERF_ACK_FD");
    if (ctl <= 2 || ack <= 2) return;
    char reply[8];
    if (::write(ctl, command, std::strlen(command)) > 0) (void)!::read(ack, reply, sizeof reply);
  }
};

// ---------------------------------------------------------------- the actions

void BM_ResidentMemory(benchmark::State& state) {
  for (auto _ : state) {
    Session s;
    state.counters["before_MB"] = ResidentMb();
    s.open();
    state.counters["after_1_open_MB"] = ResidentMb();
    for (int i = 0; i < 4; ++i) s.open();
    state.counters["after_5_opens_MB"] = ResidentMb();
    if (Failed(state, s)) return;
  }
}
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first open into a window just started (empty grade book shown).
void BM_OpenFirst(benchmark::State& state) {
  Session s;
  for (auto _ : state) {
    Profiled profiled;
    s.open();
  }
  if (Failed(state, s)) return;
  if (s.w->state().grid.rowCount() != kStudents + 6) state.SkipWithError("the grade book was not opened");
}

// The same grade book opened again over itself.
void BM_OpenAgain(benchmark::State& state) {
  Session& s = Shared();
  for (auto _ : state) {
    Profiled profiled;
    s.open();
  }
  Failed(state, s);
}

// One grade typed into a cell and Enter: the check, the statistics, the
// repaint, and the move to the next cell. Each repetition takes the next
// cell of the row, as a teacher types a row of grades.
void BM_EditGrade(benchmark::State& state) {
  Session& s = Shared();
  static int edits = 0;
  const int col = 3 + edits % 100, row = 4 + (edits / 100 * 37 + 500) % kStudents;
  const char grade = "12345"[edits % 5];
  ++edits;
  GridView* grid = s.grid();
  grid->setFocus();
  grid->setCurrentIndex(grid->gridModel()->indexOf(col, row));  // a click or an arrow key, not timed
  Settle();
  for (auto _ : state) {
    Profiled profiled;
    QTest::keyClick(grid, grade);
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    if (!editor) break;
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  if (Failed(state, s)) return;
  if (s.w->state().grid.text(col, row) != std::string{grade, ' '}) state.SkipWithError("the grade was not entered");
}

// The semester box moved one up or down with the keyboard.
void BM_SwitchSemester(benchmark::State& state) {
  Session& s = Shared();
  auto* box = s.w->findChild<QComboBox*>("CBZnamkyPololeti");
  const int before = s.w->state().currentSemester;
  box->setFocus();
  for (auto _ : state) {
    Profiled profiled;
    QTest::keyClick(box, before == kSemesters ? Qt::Key_Up : Qt::Key_Down);
    Settle();
  }
  if (Failed(state, s)) return;
  if (s.w->state().currentSemester == before) state.SkipWithError("the semester did not change");
}

// "Uložit PDB": every other semester taken, the file chosen in the dialog.
void BM_Save(benchmark::State& state) {
  Session& s = Shared();
  const QString out = s.home.path() + "/" + kFileName;
  for (int i = 1; i < kSemesters; ++i) s.p.questionAnswers.push_back(true);
  s.p.saveAnswers.push_back(out);
  for (auto _ : state) {
    Profiled profiled;
    s.w->trigger(Ctl::SpeedItemUlozPDB);
    Settle();
  }
  if (Failed(state, s)) return;
  if (!s.p.questionAnswers.empty() || QFileInfo(out).size() < 2'000'000) state.SkipWithError("nothing was saved");
}

// The window closed with the grade book open: the shown semester into the
// store, the working files and the settings written. The teardown of the
// window follows untimed and shows as a counter.
void BM_Close(benchmark::State& state) {
  Session s;
  s.open();
  for (auto _ : state) {
    Profiled profiled;
    s.w->close();
    Settle();
  }
  if (Failed(state, s)) return;
  QElapsedTimer teardown;
  teardown.start();
  s.w.reset();
  state.counters["teardown_ms"] = static_cast<double>(teardown.elapsed());
}

void Repeated(benchmark::internal::Benchmark* b, int repetitions) {
  b->Iterations(1)->Repetitions(repetitions)->DisplayAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_OpenFirst)->Apply([](auto* b) { Repeated(b, 5); });
BENCHMARK(BM_OpenAgain)->Apply([](auto* b) { Repeated(b, 9); });
BENCHMARK(BM_EditGrade)->Apply([](auto* b) { Repeated(b, 15); });
BENCHMARK(BM_SwitchSemester)->Apply([](auto* b) { Repeated(b, 10); });
BENCHMARK(BM_Save)->Apply([](auto* b) { Repeated(b, 7); });
BENCHMARK(BM_Close)->Apply([](auto* b) { Repeated(b, 5); });

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Dates typed by the commands are reproducible.
  SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0)));
  if (argc == 3 && std::strcmp(argv[1], "--write-gradebook") == 0) {
    WriteDatabases(QString::fromLocal8Bit(argv[2]));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shared.reset();
  return 0;
}
