#include "workspace/semesters.h"

#include <QFile>
#include <charconv>
#include <optional>
#include <string_view>

#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/datafolder.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

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

IniFile& GradesIni(VeklaState& s) {
  if (!s.gradesIniLoaded) {
    if (!s.workFilesInMemory) s.gradesIni.load(GradesIniPath(s));
    s.gradesIniLoaded = true;
    s.gradesIniDirty = false;
  }
  return s.gradesIni;
}

namespace {

// The store handed to `write` (path, bytes) when it changed since it was
// last written; then it counts as written.
template <class Write>
void FlushGradesIniTo(VeklaState& s, Write write) {
  if (!s.gradesIniLoaded || !s.gradesIniDirty || s.workFilesInMemory) return;
  // A store that did not change since this command or an earlier one wrote
  // it is on the disk as it is.
  const QString path = GradesIniPath(s);
  if (s.gradesIni.revision() != s.gradesIniWritten || path != s.gradesIniWrittenTo || !QFile::exists(path)) {
    EnsureDataDir(s);
    write(path, s.gradesIni.toBytes());
    s.gradesIniWritten = s.gradesIni.revision();
    s.gradesIniWrittenTo = path;
  }
  s.gradesIniDirty = false;
}

}  // namespace

void FlushGradesIni(VeklaState& s) {
  FlushGradesIniTo(s, [](const QString& path, const std::string& bytes) { WriteFileAtomic(path, bytes); });
}

void FlushGradesIni(VeklaState& s, WorkFileBatch& batch) {
  FlushGradesIniTo(s, [&](const QString& path, std::string bytes) { batch.add(path, std::move(bytes)); });
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

std::string NoteOnOneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool lineBreak = false;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      lineBreak = true;
      continue;
    }
    if (lineBreak && !out.empty() && out.back() != ' ' && c != ' ') out += ' ';
    lineBreak = false;
    out += c;
  }
  return out;
}

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
  // The note's lines are one line in the store and the database: each line
  // break keeps its words apart by a space.
  std::string note;
  for (const auto& line : s.memoPoznamka) note += line + '\n';
  ini.set("Datumy", "Poznamka" + sn, NoteOnOneLine(note));

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

StoredNames CompareWithStoredNames(const VeklaState& s, const IniFile& store) {
  StoredNames result;
  const GradeGeometry geo(s.grid);
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    ++result.students;
    const std::string section = StudentSection(s, r);
    if (section.empty() || !store.has(section, "Jmeno")) continue;
    if (store.get(section, "Jmeno") != s.grid.text(GradeGeometry::kNameCol, r)) ++result.differing;
  }
  return result;
}

}  // namespace vekla
