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
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

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

std::string numText(int n) { return std::to_string(n); }

// Two characters of a byte list: each value v as the character of code v + 48.
void appendPair(std::string& out, int a, int b) {
  out.push_back(static_cast<char>(a + 48));
  out.push_back(static_cast<char>(b + 48));
}
int byteValue(char c) { return static_cast<unsigned char>(c) - 48; }

std::string twoDigits(int v) {
  std::string t = std::to_string(v);
  return t.size() < 2 ? "0" + t : t;
}

// A decimal number; nullopt for anything else.
std::optional<int> parseInt(std::string_view t) {
  int v = 0;
  const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size()) return std::nullopt;
  return v;
}

// The student id: the row label before its first ".", at most 3 characters.
std::string studentId(const std::string& label) {
  const size_t dot = label.find('.');
  if (dot == std::string::npos) return {};
  return label.substr(0, std::min<size_t>(dot, 3));
}

// The student's section in the semester store: "Z" and the id, a numeric id
// written in decimal (so storing and loading always agree on the name).
std::string studentSection(const std::string& id) {
  if (auto n = parseInt(id)) return "Z" + std::to_string(*n);
  return "Z" + id;
}

}  // namespace

QString DataDir(const VeklaState& s) {
  QString dir = s.dataDirOverride.isEmpty() ? s.programDir + "data/" : s.dataDirOverride;
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString GradesIniPath(const VeklaState& s) { return DataDir(s) + toQt(KindPrefix(DbKind::Znamky)) + ".ini"; }

void EnsureDataDir(const VeklaState& s) {
  const QString dir = DataDir(s);
  if (QDir(dir).exists()) return;
  if (!QDir().mkpath(dir))
    throw VeklaError(cp("Složku pracovních souborů \"") + NativePath(dir) + cp("\" nelze vytvořit."));
}

namespace {

// While SaveKind runs, the working files are collected here and written
// together: a full disk then leaves every one of them as it was.
std::vector<FileToWrite>* pendingFiles = nullptr;

void WriteWorkFile(const QString& path, std::string bytes) {
  if (pendingFiles) pendingFiles->push_back({path, std::move(bytes)});
  else WriteFileAtomic(path, bytes);
}

}  // namespace

// ---------------------------------------------------------------- common grid file

void SaveCommon(VeklaState& s) {
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
  WriteWorkFile(fileOf(s, ".txt"), w.bytes());
}

void LoadCommon(VeklaState& s) {
  const QString path = fileOf(s, ".txt");
  if (!QFile::exists(path)) {
    SetupTab(s, s.kind);
    return;
  }
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
}

// ---------------------------------------------------------------- timetable extras

void SaveTimetableExtras(VeklaState& s) {
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
  WriteWorkFile(fileOf(s, "plus.txt"), w.bytes());
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

void SaveGradeExtras(VeklaState& s) {
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
  WriteWorkFile(fileOf(s, "plus.txt"), w.bytes());
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

// ---------------------------------------------------------------- per kind

void SaveKind(VeklaState& s) {
  if (s.workFilesInMemory) return;
  std::vector<FileToWrite> files;
  pendingFiles = &files;
  bool storeToWrite = false;
  try {
    SaveCommon(s);
    if (s.kind == DbKind::Rozvrh) SaveTimetableExtras(s);
    if (s.kind == DbKind::Znamky) SaveGradeExtras(s);
    // The semester store goes with the grid it belongs to.
    const std::size_t grids = files.size();
    FlushGradesIni(s);
    storeToWrite = files.size() > grids;
  } catch (...) {
    pendingFiles = nullptr;
    throw;
  }
  pendingFiles = nullptr;
  try {
    WriteFilesAtomic(files);
  } catch (...) {
    // The store is not on the disk as it is: the next flush writes it.
    if (storeToWrite) {
      s.gradesIniWritten = 0;
      s.gradesIniDirty = true;
    }
    throw;
  }
}

void LoadKind(VeklaState& s) {
  switch (s.kind) {
    case DbKind::Znamky:
      LoadCommon(s);
      LayoutGrades(s);
      LoadGradeExtras(s);
      StringAGZnamky2SelectCell(s, 0, 0);
      break;
    case DbKind::Rozpisy:
      LoadCommon(s);
      LayoutTopicPlans(s);
      break;
    case DbKind::Rozvrh:
      LoadCommon(s);
      LoadTimetableExtras(s);
      LayoutTimetable(s);
      break;
    case DbKind::Kalendar:
      LoadCommon(s);
      LayoutCalendar(s);
      break;
  }
  s.grid.autoSizeColumns();
}

// ---------------------------------------------------------------- semester store

IniFile& GradesIni(VeklaState& s) {
  if (!s.gradesIniLoaded) {
    if (!s.workFilesInMemory) s.gradesIni.load(GradesIniPath(s));
    s.gradesIniLoaded = true;
    s.gradesIniDirty = false;
  }
  return s.gradesIni;
}

void FlushGradesIni(VeklaState& s) {
  if (!s.gradesIniLoaded || !s.gradesIniDirty || s.workFilesInMemory) return;
  // A store that did not change since this command or an earlier one wrote
  // it is on the disk as it is.
  const QString path = GradesIniPath(s);
  if (s.gradesIni.revision() != s.gradesIniWritten || path != s.gradesIniWrittenTo || !QFile::exists(path)) {
    EnsureDataDir(s);
    WriteWorkFile(path, s.gradesIni.toBytes());
    s.gradesIniWritten = s.gradesIni.revision();
    s.gradesIniWrittenTo = path;
  }
  s.gradesIniDirty = false;
}

void DeleteGradesIni(VeklaState& s) {
  s.gradesIni.clear();
  s.gradesIniLoaded = true;
  s.gradesIniDirty = false;
  if (s.workFilesInMemory) return;
  const QString path = GradesIniPath(s);
  if (QFile::exists(path) && !QFile::remove(path)) {
    // The old semesters must not come back on the next start: write the
    // empty store over them at the end of the command.
    s.gradesIniDirty = true;
    throw VeklaError(cp("Soubor pololetí \"") + NativePath(path) + cp("\" nelze smazat."));
  }
}

std::string StudentSection(const VeklaState& s, int row) {
  const std::string id = studentId(s.grid.text(0, row));
  return id.empty() ? std::string() : studentSection(id);
}

namespace {

// The label semester `sn` goes into the database with ("20041": the school
// year 2004/2005, semester 1), for its semester box item `item`.
//
// The reader shows a label as its fifth character, ". pol. ", its first four
// and the year after them ("1. pol. 2004/2005"), and ignores the rest. The
// label is rebuilt from the item (its year, then its first character) only
// when that label gives back exactly this item, which every item of a full
// year and semester does, such as the one a new class starts with. Otherwise
// (a label read without a full year or semester: "2005" shows as
// ". pol. 2005/2006" and would be rebuilt as "005/.", which no reader
// accepts) the label stays as it was read. A label read with more characters
// than the item shows ("20041a") stays whole too: a save writes back what
// was read.
std::string SemesterLabelToStore(const IniFile& ini, const std::string& sn, const std::string& item) {
  const std::string read = ini.get("Casy1", "Pololeti" + sn);
  const std::string rebuilt = (item.size() > 8 ? item.substr(8, 4) : std::string()) + item.substr(0, 1);
  const std::string year = rebuilt.substr(0, 4);
  const bool givesItemBack = rebuilt.size() == 5 && AllDigits(year) &&
                             item == rebuilt.substr(4) + ". pol. " + year + "/" + numText(std::stoi(year) + 1);
  if (!givesItemBack) return read.empty() ? rebuilt : read;
  // A label shows as this item exactly when it starts with the rebuilt one.
  return read.compare(0, rebuilt.size(), rebuilt) == 0 ? read : rebuilt;
}

}  // namespace

void StoreSemester(VeklaState& s) {
  EnsureDataDir(s);
  IniFile& ini = GradesIni(s);
  const int n = s.currentSemester;
  if (n < 1 || n > static_cast<int>(s.semesterItems.size()))
    throw VeklaError(cp("Pololetí č. ") + std::to_string(n) + cp(" není v seznamu pololetí; známky nelze uložit."));
  const std::string sn = numText(n);
  const std::string label = SemesterLabelToStore(ini, sn, s.semesterItems[static_cast<size_t>(n - 1)]);
  s.gradesIniDirty = true;

  ini.set("Casy1", "Pololeti" + sn, label);
  std::string note;
  for (const auto& line : s.memoPoznamka) note += line;
  ini.set("Datumy", "Poznamka" + sn, note);

  using G = GradeGeometry;
  CellGrid& g = s.grid;
  const G geo(g);
  std::string days;
  for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
    const std::string t = CheckDayMonth(s, g.text(c, G::kDateRow), {c, G::kDateRow});
    g.setText(c, G::kDateRow, t);
    const size_t dot = t.find('.');
    const std::string_view tv(t);
    appendPair(days, parseInt(tv.substr(0, dot)).value_or(0),
               dot == std::string::npos ? 0 : parseInt(tv.substr(dot + 1)).value_or(0));
  }
  ini.set("Datumy", "Dny" + sn, days);

  // An hour 00 is stored as 24 and a minute 00 as 60, as the handheld does:
  // a plain 0 would be a zero byte that ends the field in the database.
  for (int row : {G::kStartRow, G::kEndRow}) {
    std::string times;
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      const std::string t = CheckTime(s, g.text(c, row), {c, row}, false);
      g.setText(c, row, t);
      const size_t colon = t.find(':');
      const std::string_view tv(t);
      const int h = parseInt(tv.substr(0, colon)).value_or(0);
      const int m = colon == std::string::npos ? 0 : parseInt(tv.substr(colon + 1)).value_or(0);
      appendPair(times, h == 0 ? 24 : h, m == 0 ? 60 : m);
    }
    ini.set(row == G::kStartRow ? "Casy1" : "Casy2", "Casy" + sn, times);
  }

  const GradeCodes codes(s);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    const std::string id = studentId(g.text(0, r));
    if (id.empty()) continue;  // a row without a number has no section of its own
    const std::string section = studentSection(id);
    std::string grades;
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      const int code = codes(g.text(c, r));
      const int weight = WeightNumber(s, g.fontColor(c, r));
      if (code >= 1 && weight >= 1) appendPair(grades, weight, code);
      else grades += "PP";
    }
    ini.set(section, "Z" + sn, grades);
    ini.set(section, "Jmeno", g.text(G::kNameCol, r));
    ini.set(section, "P" + sn, g.text(geo.noteCol(), r));
    ini.set(section, "Poradi", g.text(G::kOrderCol, r));
    ini.set(section, "Zkousen", g.text(geo.examinedCol(), r));
  }
}

void LoadSemester(VeklaState& s, int n) {
  using G = GradeGeometry;
  IniFile& ini = GradesIni(s);
  const std::string sn = numText(n);
  CellGrid& g = s.grid;

  const std::string days = ini.get("Datumy", "Dny" + sn);
  int k = static_cast<int>(days.size() / 2);
  // The handheld keeps at most 127 grade columns a semester; a longer list
  // comes from a damaged store and is cut, as the database reader cuts it.
  if (k > kMaxGradeColumns) {
    Log(s, cp("Pololetí ") + sn + cp(" má ") + std::to_string(k) + cp(" sloupců známek, zobrazeno prvních ") +
               std::to_string(kMaxGradeColumns));
    k = kMaxGradeColumns;
  }

  // Back to one grade column, then as many as the semester has. The kept
  // column loses its grade colours too, like the inserted ones, so a grade
  // whose weight is unknown cannot take the weight of the semester left.
  constexpr int first = G::kFirstGradeCol;
  const int oneColumn = G::kOtherCols + 1;
  if (g.colCount() > oneColumn) g.removeCols(first, g.colCount() - oneColumn);
  g.setText(first, 0, "1");
  for (int r = 1; r < g.rowCount(); ++r) {
    g.setText(first, r, "");
    g.setFontColor(first, r, kSysWindowText);
  }
  g.insertCols(first, k - 1);
  NumberGradeColumns(s);
  LayoutGrades(s);

  for (int i = 0; i < k; ++i)
    g.setText(first + i, G::kDateRow, numText(byteValue(days[2 * i])) + "." + numText(byteValue(days[2 * i + 1])));

  const std::string note = ini.get("Datumy", "Poznamka" + sn);
  s.memoPoznamka.clear();
  if (!note.empty()) s.memoPoznamka.push_back(note);

  const std::string starts = ini.get("Casy1", "Casy" + sn);
  const std::string ends = ini.get("Casy2", "Casy" + sn);
  for (int row : {G::kStartRow, G::kEndRow}) {
    const std::string& t = row == G::kStartRow ? starts : ends;
    for (int i = 0; i < k && 2 * i + 1 < static_cast<int>(t.size()); ++i) {
      int h = byteValue(t[2 * i]);
      int m = byteValue(t[2 * i + 1]);
      if (h == 24) h = 0;
      if (m == 60) m = 0;
      g.setText(first + i, row, twoDigits(h) + ":" + twoDigits(m));
    }
  }

  const G geo(g);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    const std::string id = studentId(g.text(0, r));
    if (!parseInt(id)) continue;  // only numbered students have a section
    const std::string section = studentSection(id);
    g.setText(geo.noteCol(), r, ini.get(section, "P" + sn));
    const std::string grades = ini.get(section, "Z" + sn);
    for (int i = 0; i < k; ++i) {
      const int c = first + i;
      if (2 * i + 1 >= static_cast<int>(grades.size())) {
        g.setText(c, r, "");
        continue;
      }
      // A grade outside 1 to 20 ("PP" among them) leaves the cell empty; a
      // weight outside 1 to 4 leaves its colour as it is, so the grade shows
      // but counts for nothing until a weight is given to it.
      const int weight = byteValue(grades[2 * i]);
      const int code = byteValue(grades[2 * i + 1]);
      g.setText(c, r, code >= 1 && code <= 20 ? s.znamky.text(code, 0) : std::string());
      if (weight >= 1 && weight <= 4) g.setFontColor(c, r, s.weights[static_cast<size_t>(weight - 1)].color);
    }
  }

  ComputeStatistics(s);
}

void CBZnamkyPololetiChange(VeklaState& s, int newItemIndex) {
  if (newItemIndex < 0 || newItemIndex >= static_cast<int>(s.semesterItems.size())) return;
  s.semesterItemIndex = newItemIndex;
  s.semesterText = s.semesterItems[static_cast<std::size_t>(newItemIndex)];
  const int n = newItemIndex + 1;
  // The semester being left goes to the store first; picking the one that
  // is shown stores nothing and just reloads it.
  if (n != s.currentSemester) StoreSemester(s);
  s.currentSemester = n;
  LoadSemester(s, n);
}

}  // namespace vekla
