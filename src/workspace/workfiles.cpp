#include "workspace/workfiles.h"

#include <QDir>
#include <QFile>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/datafolder.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

// Builds a working file line by line, CR LF after each.
class LineWriter {
 public:
  void text(std::string_view t) {
    if (!HasLineBreak(t)) out_ += t;
    else out_ += OneLine(t);
    out_ += "\r\n";
  }
  void number(std::int64_t n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out_.append(digits, end);
    out_ += "\r\n";
  }
  void flag(bool on) { text(on ? "1" : "0"); }
  void reserve(std::size_t bytes) { out_.reserve(bytes); }
  const std::string& bytes() const { return out_; }

 private:
  std::string out_;
};

// Reads a working file line by line. A missing line or a number line that is
// not a number ends the load with a message naming the file and the line.
class LineReader {
 public:
  explicit LineReader(const QString& path) : path_(path), data_(ReadWholeFile(path)) {}

  bool atEnd() const { return pos_ >= data_.size(); }

  std::string text() {
    if (atEnd())
      throw VeklaError(cp("Pracovní soubor \"") + NativePath(path_) + cp("\" je neúplný: chybí řádek ") +
                       std::to_string(line_ + 1) + ".");
    size_t end = data_.find('\n', pos_);
    if (end == std::string::npos) end = data_.size();
    std::string t = data_.substr(pos_, end - pos_);
    if (!t.empty() && t.back() == '\r') t.pop_back();
    pos_ = end + 1;
    ++line_;
    return t;
  }

  // A number line; a number outside [minV, maxV] makes the file damaged, so
  // no later arithmetic on it can overflow or ask for absurd sizes.
  std::int32_t number(std::int32_t minV = INT32_MIN, std::int32_t maxV = INT32_MAX) {
    const std::string t = text();
    std::string_view v(t);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    std::int32_t n = 0;
    const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (v.empty() || ec != std::errc() || p != v.data() + v.size())
      throw VeklaError(cp("Pracovní soubor \"") + NativePath(path_) + cp("\" je poškozený: řádek ") +
                       std::to_string(line_) + " (\"" + t + cp("\") není číslo."));
    if (n < minV || n > maxV)
      throw VeklaError(cp("Pracovní soubor \"") + NativePath(path_) + cp("\" je poškozený: řádek ") +
                       std::to_string(line_) + cp(" obsahuje ") + std::to_string(n) + cp(", čekáno číslo od ") +
                       std::to_string(minV) + " do " + std::to_string(maxV) + ".");
    return n;
  }

  // A count: a number from 0 to `maxV`.
  int count(std::int32_t maxV = INT32_MAX) { return number(0, maxV); }

  // Fails unless at least `n` more lines follow.
  void require(std::int64_t n) {
    std::int64_t found = 0;
    for (size_t p = pos_; p < data_.size() && found < n; ++found) {
      const size_t end = data_.find('\n', p);
      p = end == std::string::npos ? data_.size() : end + 1;
    }
    if (found < n)
      throw VeklaError(cp("Pracovní soubor \"") + NativePath(path_) + cp("\" je neúplný: chybí řádek ") +
                       std::to_string(line_ + found + 1) + ".");
  }

 private:
  QString path_;
  std::string data_;
  size_t pos_ = 0;
  int line_ = 0;
};

// The largest grids a working file may describe: far beyond what any kind
// shows (a grade book has at most 134 columns, a topic plan 65 534 rows),
// small enough that a damaged number cannot ask for gigabytes.
constexpr int kMaxWorkColumns = 1024;
constexpr int kMaxWorkRows = 70000;
constexpr std::int64_t kMaxWorkCells = 1000000;
// The student count only rises as rows are inserted; a million leaves room
// for any amount of editing and none for an overflow.
constexpr int kMaxStudentCount = 1000000;

QString fileOf(const VeklaState& s, const char* suffix) {
  return DataDir(s) + toQt(s.prefix) + QString::fromLatin1(suffix);
}

}  // namespace

// ---------------------------------------------------------------- common grid file

void SaveCommon(VeklaState& s, WorkFileBatch& batch) {
  EnsureDataDir(s);
  const CellGrid& g = s.grid;
  LineWriter w;
  for (const std::string* t : {&s.EditN, &s.EditC, &s.EditTD, &s.EditDV, &s.EditCV, &s.EditDZ, &s.EditCZ}) w.text(*t);
  w.reserve(static_cast<std::size_t>(g.colCount()) * static_cast<std::size_t>(g.rowCount()) * 8 + 4096);
  w.number(s.shape1);
  w.number(g.colCount());
  w.number(g.rowCount());
  for (int r = 0; r < g.rowCount(); ++r)
    for (int c = 0; c < g.colCount(); ++c) w.text(g.text(c, r));
  batch.add(fileOf(s, ".txt"), w.bytes());
}

bool LoadCommonFile(VeklaState& s) {
  const QString path = fileOf(s, ".txt");
  if (!QFile::exists(path)) return false;
  LineReader in(path);
  for (std::string* t : {&s.EditN, &s.EditC, &s.EditTD, &s.EditDV, &s.EditCV, &s.EditDZ, &s.EditCZ}) *t = in.text();
  s.shape1 = in.number();
  s.shape2 = ContrastColor(resolveColor(s.shape1));
  const int cols = in.count(kMaxWorkColumns);
  const int rows = in.count(kMaxWorkRows);
  if (cols < 2 || rows < 2)
    throw VeklaError(cp("Pracovní soubor \"") + NativePath(path) + cp("\" je poškozený: tabulka ") +
                     std::to_string(cols) + " x " + std::to_string(rows) + cp(" nemá žádnou buňku s daty."));
  if (static_cast<std::int64_t>(cols) * rows > kMaxWorkCells)
    throw VeklaError(cp("Pracovní soubor \"") + NativePath(path) + cp("\" je poškozený: tabulka ") +
                     std::to_string(cols) + " x " + std::to_string(rows) + cp(" je větší, než Vekla zobrazí."));
  // Every cell line must be there before the grid changes shape, so a cut
  // file cannot leave a grid of absurd size behind.
  in.require(static_cast<std::int64_t>(cols) * rows);
  CellGrid& g = s.grid;
  g.setColCount(cols);
  g.setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) g.setText(c, r, in.text());
  return true;
}

// ---------------------------------------------------------------- timetable extras

void SaveTimetableExtras(VeklaState& s, WorkFileBatch& batch) {
  EnsureDataDir(s);
  const CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  LineWriter w;
  w.text(s.EditRozvrhPolozka);
  w.text(s.EditRozvrhLS);
  w.flag(s.rozlisovatTydny);
  w.flag(s.lichyTyden);
  w.number(s.shapeRozvrh);
  for (int c = 1; c < C; ++c) w.number(g.brush(c, 1));
  for (int c = 1; c < C; ++c)
    for (int r = 4; r < R - 1; r += 4) w.number(g.brush(c, r));
  batch.add(fileOf(s, "plus.txt"), w.bytes());
}

void LoadTimetableExtras(VeklaState& s) {
  const QString path = fileOf(s, "plus.txt");
  if (!QFile::exists(path)) return;
  LineReader in(path);
  s.EditRozvrhPolozka = in.text();
  s.EditRozvrhLS = in.text();
  s.rozlisovatTydny = in.text() == "1";
  s.lichyTyden = in.text() == "1";
  s.shapeRozvrh = in.number();
  CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  for (int c = 1; c < C; ++c) {
    const Color col = in.number();
    for (int r = 1; r <= 3; ++r) g.setBrush(c, r, col);
  }
  for (int c = 1; c < C; ++c)
    for (int r = 4; r < R - 1; r += 4) {
      // A block never coloured holds the system window colour: its text
      // colour is the contrast of what the window paints.
      const Color col = in.number();
      const Color text = ContrastColor(resolveColor(col));
      for (int i = 0; i < 4; ++i) g.setColors(c, r + i, col, text);
    }
}

// ---------------------------------------------------------------- grade extras

void SaveGradeExtras(VeklaState& s, WorkFileBatch& batch) {
  EnsureDataDir(s);
  LineWriter w;
  // Two colour numbers of up to ten digits for every cell.
  w.reserve(static_cast<std::size_t>(s.grid.colCount()) * static_cast<std::size_t>(s.grid.rowCount()) * 24 + 4096);
  const CellGrid& z = s.znamky;
  for (int r = 0; r < z.rowCount(); ++r)
    for (int c = 1; c < z.colCount(); ++c) w.text(z.text(c, r));
  for (const auto& e : s.weights) w.text(e.text);
  for (const auto& e : s.weights) w.number(e.color);
  w.number(s.weightDown);
  const CellGrid& z2 = s.znamky2;
  for (int c = 0; c <= z2.colCount(); ++c) {
    w.text(z2.text(c, 0));
    w.number(z2.brush(c, 0));
    w.number(z2.fontColor(c, 0));
  }
  w.text(s.semesterText);
  w.number(static_cast<std::int64_t>(s.semesterItems.size()));
  for (const auto& item : s.semesterItems) w.text(item);
  w.number(s.semesterItemIndex);
  const CellGrid& g = s.grid;
  for (int c = 1; c < g.colCount(); ++c)
    for (int r = 1; r < g.rowCount(); ++r) {
      w.number(g.fontColor(c, r));
      w.number(g.brush(c, r));
    }
  w.number(s.studentCount);
  w.number(static_cast<std::int64_t>(s.memoPoznamka.size()));
  for (const auto& line : s.memoPoznamka) w.text(line);
  batch.add(fileOf(s, "plus.txt"), w.bytes());
}

void LoadGradeExtras(VeklaState& s) {
  const QString path = fileOf(s, "plus.txt");
  if (!QFile::exists(path)) return;
  LineReader in(path);
  CellGrid& z = s.znamky;
  for (int r = 0; r < z.rowCount(); ++r)
    for (int c = 1; c < z.colCount(); ++c) z.setText(c, r, in.text());
  for (auto& e : s.weights) e.text = in.text();
  for (auto& e : s.weights) e.color = in.number();
  const int down = in.number(1, 4);
  s.weightDown = down;
  for (int c = 1; c <= 20; ++c) z.setFontColor(c, 0, s.weights[static_cast<size_t>(down - 1)].color);
  CellGrid& z2 = s.znamky2;
  for (int c = 0; c <= z2.colCount(); ++c) {
    z2.setText(c, 0, in.text());
    z2.setBrush(c, 0, in.number());
    z2.setFontColor(c, 0, in.number());
  }
  s.semesterText = in.text();
  const int items = in.count(kMaxSemesters);
  in.require(items);
  s.semesterItems.clear();
  for (int i = 0; i < items; ++i) s.semesterItems.push_back(in.text());
  s.semesterItemIndex = in.number(-1, items - 1);
  s.currentSemester = s.semesterItemIndex + 1;
  CellGrid& g = s.grid;
  for (int c = 1; c < g.colCount(); ++c)
    for (int r = 1; r < g.rowCount(); ++r) {
      g.setFontColor(c, r, in.number());
      g.setBrush(c, r, in.number());
    }
  s.studentCount = in.number(0, kMaxStudentCount);
  const int lines = in.count();
  in.require(lines);
  s.memoPoznamka.clear();
  for (int i = 0; i < lines; ++i) s.memoPoznamka.push_back(in.text());
}

}  // namespace vekla
