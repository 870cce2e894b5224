#include "convert/csv.h"

#include <QFileInfo>
#include <algorithm>
#include <cstddef>
#include <vector>

#include "convert/csvlines.h"
#include "convert/exportview.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/kindops.h"
#include "workspace/kindparams.h"
#include "workspace/ordernumbers.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

// At least one grade column, as a fresh grade book has.
constexpr int kMinGradeColumns = 8;
constexpr int kMinGradeRows = 7;

// How many lines a file has and how many fields its widest line.
struct CsvShape {
  long long lines = 0;
  long long widest = 0;
};

CsvShape Measure(std::string_view bytes) {
  CsvShape shape;
  CsvReader in(bytes);
  // The fields are counted, none is kept.
  std::vector<std::string> none;
  while (const std::size_t fields = in.next(none, 0)) {
    ++shape.lines;
    shape.widest = std::max(shape.widest, static_cast<long long>(fields));
  }
  return shape;
}

void RefuseEmpty(std::string_view bytes, const QString& path) {
  if (bytes.empty())
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" je prázdný, tabulka zůstala beze změny."));
}

[[noreturn]] void RefuseTooLarge(const QString& path, long long count, const char* what, long long most) {
  throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze načíst: má ") + std::to_string(count) + " " +
                   cp(what) + cp(", nejvýše jich může být ") + std::to_string(most) + ".");
}

// The chosen file's name without its folder and its last four characters
// (the extension ".csv").
std::string NameFromFile(const QString& path) {
  std::string name = fromQt(QFileInfo(path).fileName());
  name.resize(name.size() > 4 ? name.size() - 4 : 0);
  return name;
}

// The first steps of every import: the kind's codes and the file's name in
// the database panel.
void ShowFileInPanel(VeklaState& s, std::string name) {
  s.EditC = s.creator;
  s.EditTD = s.type;
  s.EditN = std::move(name);
}

// Empties the grid before it takes a file: the cells it has now and, once
// its counts are the file's, every cell of the new extent as well, so
// nothing an earlier, larger grid left in the cell store shows through.
void ClearForImport(VeklaState& s, int cols, int rows) {
  ClearGridCells(s);
  s.grid.setColCount(cols);
  s.grid.setRowCount(rows);
  ClearGridCells(s);
}

// Every cell of rows 1 to R-1 and columns 1 to C-1 through its check once
// more, as the table test does, telling the progress only when the shown
// percentage changes.
void CheckEveryCell(VeklaState& s, const CsvProgress& progress) {
  std::optional<std::string> shown;
  CheckAllCells(s, [&](const std::string& label) {
    if (shown == label) return;
    shown = label;
    if (progress) progress(label);
  });
}

// A grade cell of a values file: "w g", the weight number 1 to 4 and the
// grade code 1 to 20. A wrong weight takes the pressed one; a code outside
// 1 to 20 leaves the cell empty, silently when it is a number.
void ReadGradeValues(VeklaState& s, int col, int row) {
  const std::string field = s.grid.text(col, row);
  std::string grade;
  if (field.find(' ') == 1) {
    const char w = field[0];
    if (w >= '1' && w <= '4') {
      s.grid.setFontColor(col, row, s.weights[static_cast<std::size_t>(w - '1')].color);
    } else {
      GiveCurrentWeight(s, {col, row});
      Log(s, CellName(s, {col, row}) + cp(" špatná hodnota barvy") + field);
    }
    const std::string code = field.substr(2, 2);
    if (code.empty() || !AllDigits(code)) {
      Log(s, CellName(s, {col, row}) + cp(" špatná hodnota známky") + field);
    } else {
      const int n = std::stoi(code);
      if (n >= 1 && n <= 20) grade = s.znamky.text(n, 0);
    }
  } else if (!field.empty()) {
    Log(s, CellName(s, {col, row}) + cp(" špatná hodnota") + field);
  }
  s.grid.setText(col, row, std::move(grade));
}

// A grade cell of a file as shown: it takes the pressed weight's colour.
void ReadGradeShown(VeklaState& s, int col, int row) {
  GiveCurrentWeight(s, {col, row});
  const std::string& field = s.grid.text(col, row);
  if (!field.empty()) Log(s, CellName(s, {col, row}) + cp(" nastavena barva automaticky pro ") + field);
}

// A student row's caption: the order number, ". ", and the name up to and
// including its first space (all of it when it has none). Before the checks
// cut them, the number and the name are the file's: the caption takes what a
// log line naming the row can show of them.
void CaptionStudent(VeklaState& s, int row) {
  s.grid.setText(0, row,
                 StudentLabel(LogPart(s.grid.text(GradeGeometry::kOrderCol, row)),
                              LogPart(s.grid.text(GradeGeometry::kNameCol, row))));
}

// The imported grade book's cells through their checks: dates, times,
// grades, order numbers and examined counts, names and notes.
void CheckGradeBook(VeklaState& s, int lastStudent, bool twoValues) {
  using G = GradeGeometry;
  CellGrid& g = s.grid;
  const G geo(g);
  auto check = [&g](int col, int row, auto how) { g.setText(col, row, how(g.text(col, row))); };
  for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
    check(c, G::kDateRow, [&](std::string t) { return CheckDayMonth(s, t, {c, G::kDateRow}); });
    for (int r : {G::kStartRow, G::kEndRow}) check(c, r, [&](std::string t) { return CheckTime(s, t, {c, r}, false); });
  }
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r)
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
      check(c, r, [&](std::string t) {
        if (!t.empty()) PadGradeSymbols(s.znamky);
        return CheckGrade(s, t, {c, r}, !twoValues);
      });
  // A student without an order number gets a free one below, not the
  // smallest number the check would make of nothing.
  std::vector<int> unnumbered;
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r) {
    const int last = geo.examinedCol();
    if (g.text(G::kOrderCol, r).empty()) unnumbered.push_back(r);
    else check(G::kOrderCol, r, [&](std::string t) { return CheckBoundedNumber(s, t, {G::kOrderCol, r}, 999, 1); });
    check(last, r, [&](std::string t) { return CheckBoundedNumber(s, t, {last, r}, 999, 0); });
  }
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r) {
    check(G::kNameCol, r, [&](std::string t) { return CutLabelledText(s, t, "Student", 60); });
    check(geo.noteCol(), r, [&](std::string t) { return CutLabelledText(s, t, cp("Poznámka"), 250); });
  }
  // The semester store and the database records know a student by number:
  // no two students may share one.
  GiveUniqueOrderNumbers(s, unnumbered);
}

// A grade book's file starts with its title line, "Pořadí;Jméno;1;...", the
// titles perhaps with the sort mark of a sorted column ("+ " or "- ").
bool IsGradeTitleLine(const std::vector<std::string>& fields) {
  auto title = [&](std::size_t i) {
    std::string_view t = fields[i];
    if (t.size() >= 2 && (t[0] == '+' || t[0] == '-') && t[1] == ' ') t.remove_prefix(2);
    return t;
  };
  return fields.size() >= 2 && title(0) == cp("Pořadí") && title(1) == cp("Jméno");
}

// The first line of a file: its first two fields and how many it has.
struct FirstLine {
  std::vector<std::string> fields;
  std::size_t count = 0;
};

FirstLine ReadFirstLine(std::string_view bytes) {
  FirstLine line;
  line.count = CsvReader(bytes).next(line.fields, 2);
  return line;
}

// "1 pole", "3 pole", "9 polí"; "1 sloupec", "3 sloupce", "8 sloupců".
std::string Counted(std::size_t n, const char* one, const char* few, const char* many) {
  return std::to_string(n) + " " + cp(n == 1 ? one : n >= 2 && n <= 4 ? few : many);
}

// A file of another kind read into this one would give nonsense in every
// cell: it is refused, the table as it was.
[[noreturn]] void RefuseAnotherKind(const VeklaState& s, const QString& path, const std::string& why) {
  throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" není ") + cp(Params(s.kind).noun) +
                   cp(": jeho první řádek ") + why + cp(". Tabulka zůstala beze změny."));
}

// A table without a title line (topic plans, timetable, calendar) refuses a
// grade book's file, which starts with its title line.
void RefuseGradeBook(const VeklaState& s, const FirstLine& first, const QString& path) {
  if (IsGradeTitleLine(first.fields)) RefuseAnotherKind(s, path, cp("je řádek titulků tabulky známek"));
}

// A plain table of `columns` columns takes a first line of as many fields or
// fewer; a line of one field only fits a table of one column (the
// calendar), which takes no more.
void RefuseOtherWidth(const VeklaState& s, const FirstLine& first, int columns, const QString& path) {
  const std::size_t most = static_cast<std::size_t>(std::max(columns, 1));
  const std::size_t least = most == 1 ? 1 : 2;
  if (first.count < least || first.count > most)
    RefuseAnotherKind(s, path,
                      cp("má ") + Counted(first.count, "pole", "pole", "polí") + ", " + cp(Params(s.kind).noun) +
                          cp(" má ") + Counted(most, "sloupec", "sloupce", "sloupců"));
}

// How many fields of a line go into a grid of `cols` columns: one per
// column after the fixed first one.
std::size_t FieldsKept(int cols) { return static_cast<std::size_t>(std::max(cols - 1, 0)); }

}  // namespace

std::string CsvFilter() { return cp(kCsvFilterUtf8); }

QString ValuesCsvPath(const QString& firstPath) {
  return firstPath.left(std::max<qsizetype>(firstPath.size() - 4, 0)) + "hodnoty.csv";
}

void ImportCsvTable(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress&) {
  RefuseEmpty(bytes, path);
  const FirstLine first = ReadFirstLine(bytes);
  RefuseGradeBook(s, first, path);
  RefuseOtherWidth(s, first, s.grid.colCount() - 1, path);
  const CsvShape shape = Measure(bytes);
  const long long most = kMaxRecords - s.leadingRecords;
  if (shape.lines > most) RefuseTooLarge(path, shape.lines, "řádků", most);

  ShowFileInPanel(s, NameFromFile(path));
  CellGrid& g = s.grid;
  ClearForImport(s, g.colCount(), static_cast<int>(shape.lines) + 1);
  // The row labels first, so that the log lines name the rows.
  LayoutCurrent(s);
  const int C = g.colCount();
  CsvReader in(bytes);
  std::vector<std::string> fields;
  // Fields beyond the last column are dropped unread.
  for (int row = 1; in.next(fields, FieldsKept(C)); ++row) {
    const int n = static_cast<int>(fields.size());
    for (int k = 1; k <= n; ++k)
      g.setText(k, row, CheckByColumnType(s, std::move(fields[static_cast<std::size_t>(k - 1)]), {k, row}));
  }
  g.autoSizeColumns();
}

void ImportCsvTimetable(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress& progress) {
  RefuseEmpty(bytes, path);
  // Its first line is the lesson labels, any number of them, so only a grade
  // book's title line tells that it is another kind's file.
  RefuseGradeBook(s, ReadFirstLine(bytes), path);
  const CsvShape shape = Measure(bytes);
  // The day column, then one column per lesson.
  if (shape.widest - 1 > kMaxLessons) RefuseTooLarge(path, shape.widest - 1, "sloupců hodin", kMaxLessons);

  ShowFileInPanel(s, NameFromFile(path));
  CellGrid& g = s.grid;
  // At least one lesson: a timetable without one cannot be saved and read back.
  g.setColCount(std::max(static_cast<int>(shape.widest) + 1, 3));
  // Headers and labels first, so that the log lines name the cells.
  LayoutTimetable(s);
  NumberLessonColumns(s);
  const int R = g.rowCount(), C = g.colCount();
  CsvReader in(bytes);
  std::vector<std::string> fields;
  for (int row = 1; row < R && in.next(fields, FieldsKept(C)); ++row) {
    const int n = static_cast<int>(fields.size());
    for (int k = 1; k <= n; ++k) g.setText(k, row, CheckCell(s, fields[static_cast<std::size_t>(k - 1)], {k, row}));
  }
  CheckEveryCell(s, progress);
  g.autoSizeColumns();
}

namespace {

void ImportGradeBook(VeklaState& s, std::string_view bytes, const QString& path, bool twoValues) {
  RefuseEmpty(bytes, path);
  {
    // Another kind's table read as a grade book would give nonsense in every cell.
    if (!IsGradeTitleLine(ReadFirstLine(bytes).fields))
      throw VeklaError(cp("Soubor \"") + NativePath(path) +
                       cp("\" není tabulka známek: jeho první řádek nezačíná titulky \"Pořadí;Jméno\". Tabulka "
                          "zůstala beze změny."));
  }
  const CsvShape shape = Measure(bytes);
  // Four lines of titles, dates and times come before the students; the
  // columns are the order number, the name, the grades and four more.
  if (shape.lines - 4 > kMaxStudents) RefuseTooLarge(path, shape.lines - 4, "studentů", kMaxStudents);
  if (shape.widest - 6 > kMaxGradeColumns) RefuseTooLarge(path, shape.widest - 6, "sloupců známek", kMaxGradeColumns);

  std::string name = NameFromFile(path);
  const std::size_t values = lowerCp(name).find("hodnoty");
  if (values != std::string::npos) name.resize(values);
  ShowFileInPanel(s, std::move(name));

  CellGrid& g = s.grid;
  // Line n fills row n-1; the two rows after the last line take the statistics.
  const int C = std::max(static_cast<int>(shape.widest) + 1, kMinGradeColumns);
  const int R = static_cast<int>(shape.lines) + 2;
  ClearForImport(s, C, std::max(R, kMinGradeRows));
  g.setRowCount(R);
  // The file's title line fills row 0; titles it does not reach are empty.
  for (int c = 1; c < C; ++c) g.setText(c, 0, "");
  const int lastStudent = R - 3;

  CsvReader in(bytes);
  std::vector<std::string> fields;
  for (int row = 0; in.next(fields, FieldsKept(C)); ++row) {
    const int n = static_cast<int>(fields.size());
    for (int k = 1; k <= n; ++k) g.setText(k, row, std::move(fields[static_cast<std::size_t>(k - 1)]));
    if (row < 4 || row > lastStudent) continue;
    // The caption of this line's student, so that the log lines name them.
    CaptionStudent(s, row);
    for (int k = 3; k <= std::min(n, C - 5); ++k) {
      if (twoValues) ReadGradeValues(s, k, row);
      else ReadGradeShown(s, k, row);
    }
  }

  TitleGradeColumns(s);
  CheckGradeBook(s, lastStudent, twoValues);
  // The captions from the checked order numbers and names.
  for (int r = 4; r <= lastStudent; ++r) CaptionStudent(s, r);
  if (R < kMinGradeRows) {
    // No line of the file reached row 4: it is an empty student row.
    g.setRowCount(kMinGradeRows);
    g.setText(0, 4, "");
  }
  // The next inserted student gets a number of their own.
  s.studentCount = g.rowCount() - 6;
  for (int r = 4; r <= lastStudent; ++r) s.studentCount = std::max(s.studentCount, std::stoi(g.text(1, r)));
  ComputeStatistics(s);
  LayoutGrades(s);
  g.autoSizeColumns();
}

}  // namespace

void ImportCsvGrades(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress&) {
  ImportGradeBook(s, bytes, path, false);
}

void ImportCsvGradeValues(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress&) {
  ImportGradeBook(s, bytes, path, true);
}

std::string ExportCsvTable(const VeklaState& s) {
  const CellGrid& g = s.grid;
  CsvWriter out;
  if (g.colCount() < 2) return {};
  for (int r = 1; r < g.rowCount(); ++r) {
    for (int c = 1; c < g.colCount(); ++c) out.field(g.text(c, r));
    out.endLine();
  }
  return out.take();
}

namespace {

// A cell of the grade book's files: a title without its sort mark.
std::string_view GradeFileCell(const CellGrid& g, int col, int row) {
  std::string_view t = g.text(col, row);
  if (row == 0 && !t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(std::min<std::size_t>(2, t.size()));
  return t;
}

}  // namespace

std::string ExportCsvGrades(const VeklaState& s) {
  const CellGrid& g = s.grid;
  CsvWriter out;
  if (g.colCount() < 2) return {};
  for (int r = 0; r <= g.rowCount() - 3; ++r) {
    for (int c = 1; c < g.colCount(); ++c) out.field(GradeFileCell(g, c, r));
    out.endLine();
  }
  return out.take();
}

std::string ExportCsvGradeValues(const VeklaState& s) {
  const CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  CsvWriter out;
  if (C < 2) return {};
  for (int r = 0; r <= R - 3; ++r) {
    for (int c = 1; c < C; ++c) {
      if (r < 4 || c < 3 || c > C - 5) {
        out.field(GradeFileCell(g, c, r));
        continue;
      }
      const Cell& cell = g.cell(c, r);
      const int weight = WeightNumber(s, cell.font);
      const int code = GradeCode(s, cell.text);
      out.field(weight >= 1 && code >= 1 ? std::to_string(weight) + " " + std::to_string(code) : std::string());
    }
    out.endLine();
  }
  return out.take();
}

ExportFiles CsvTableFiles(const VeklaState& s, const GradeDisplayOptions&) {
  const QString name = toQt(ExportDatabaseName(s));
  return {{name + ".csv", ExportCsvTable(s)}};
}

ExportFiles CsvGradeFiles(const VeklaState& s, const GradeDisplayOptions&) {
  const QString name = toQt(ExportDatabaseName(s));
  // Both files have the titles without their sort marks.
  return {{name + ".csv", ExportCsvGrades(s), cp("Uložit známky jako")},
          {name + "hodnoty.csv", ExportCsvGradeValues(s), cp("Uložit hodnoty známek jako")}};
}

}  // namespace vekla
