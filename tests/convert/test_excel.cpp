// Workbooks: the sheet's own operations, each kind's sheet against what a
// spreadsheet user would see, and the written .xlsx read back by an
// independent reader (openpyxl).
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <sstream>

#include "convert/excel.h"
#include "convert/sheet.h"
#include "convert/xlsx.h"
#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/savefile.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// The values of a block row by row, "|" between cells and "/" between rows.
std::string Values(const Sheet& sheet, int rows, int cols) {
  std::string out;
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= cols; ++c) out += sheet.cell(r, c).value + (c < cols ? "|" : "");
    out += r < rows ? "/" : "";
  }
  return out;
}

// A 3 x 4 block of values "r,c" in a fresh sheet.
Sheet Numbered() {
  Sheet s;
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 4; ++c) s.Cells(r, c).Value(std::to_string(r) + std::to_string(c));
  return s;
}

TEST(Sheet, DeleteMergeAndFit) {
  struct Case {
    const char* what;
    void (*act)(Sheet&);
    std::string values;
  } cases[] = {
      {"rows 2 to 3 go, the rows below move up", [](Sheet& s) { s.Rows("2:3").Delete(); }, "11|12|13|14/|||/|||"},
      {"a tall block moves the cells on its right left", [](Sheet& s) { s.Range(1, 2, 2, 2).Delete(); },
       "11|13|14|/21|23|24|/31|32|33|34"},
      {"a wide block moves the cells below it up", [](Sheet& s) { s.Range("B1", "C1").Delete(); },
       "11|22|23|14/21|32|33|24/31|||34"},
      {"a wide block asked to move the cells on its right left does so",
       [](Sheet& s) { s.Range("B1", "C1").Delete(SheetShift::ToLeft); }, "11|14||/21|22|23|24/31|32|33|34"},
      {"a tall block asked to move the cells below it up does so",
       [](Sheet& s) { s.Range(1, 2, 2, 2).Delete(SheetShift::Up); }, "11|32|13|14/21||23|24/31||33|34"},
      {"a merge keeps the first value found",
       [](Sheet& s) {
         s.Cells(1, 1).Value("");
         s.Range(1, 1, 2, 2).MergeCells();
       },
       "12||13|14/||23|24/31|32|33|34"},
  };
  for (const Case& c : cases) {
    Sheet s = Numbered();
    c.act(s);
    EXPECT_EQ(Values(s, 3, 4), c.values) << c.what;
  }
  // Widths follow the longest text of the fitted rows; merged cells, and
  // rows outside the block, do not count; bold and large letters widen.
  Sheet s;
  s.Cells(1, 1).Value("a long title over two columns");
  s.Range("A1", "B1").MergeCells();
  s.Cells(2, 1).Value("abcd");
  s.Cells(2, 2).Value("ab").FontBold(true).FontSize(22);
  s.Cells(3, 2).Value(std::string(50, 'x'));
  s.Range("A1", "B2").AutoFitColumns();
  EXPECT_DOUBLE_EQ(s.columnWidth(1), 5.0);
  EXPECT_DOUBLE_EQ(s.columnWidth(2), 2 * 2 * 1.1 + 1);
  // A number under the three-decimals format shows three decimals ("1.500"),
  // in every locale; no column is fitted wider than 255 characters with its
  // margins (5 pixels, a character being 7).
  s.Cells(4, 3).Value("1.5").NumberFormat("0,000");
  s.Cells(4, 4).Value(std::string(300, 'x'));
  s.Cells(4, 5).Value(std::string(233, 'x')).FontBold(true);
  s.Range("C1", "E4").AutoFitColumns();
  EXPECT_DOUBLE_EQ(s.columnWidth(3), 6.0);
  EXPECT_DOUBLE_EQ(s.columnWidth(4), 255 - 5.0 / 7);
  EXPECT_DOUBLE_EQ(s.columnWidth(5), 255 - 5.0 / 7);
  EXPECT_EQ(Sheet::Address("AB12"), (SheetArea{12, 28, 12, 28}));
  // A value moved into the merged cell brings its letters along.
  Sheet m;
  m.Cells(2, 1).Value("7").FontColor(kWhite).FontBold(true);
  m.Range(1, 1, 2, 1).MergeCells();
  EXPECT_EQ(m.cell(1, 1).value, "7");
  EXPECT_EQ(m.cell(1, 1).fontColor, kWhite);
  EXPECT_TRUE(m.cell(1, 1).bold);
  m.Range(1, 1, 2, 1).AutoFitColumns();
  EXPECT_DOUBLE_EQ(m.columnWidth(1), 1 * 1.1 + 1);  // a merge down one column counts
}

class ExcelTest : public KindTest {
 protected:
  ExcelTest() : KindTest(DbKind::Znamky) {}
};

TEST_F(ExcelTest, CalendarAndTopics) {
  SetupTab(s, DbKind::Kalendar);
  s.grid.setText(1, 60, cp("Horymír"));
  Sheet cal = ExportCalendar(s);
  EXPECT_EQ(cal.rowCount(), 366);
  EXPECT_EQ(cal.cell(60, 1).value, "29.2.");
  EXPECT_EQ(cal.cell(60, 1).format, NumberFormat::DayMonth);
  EXPECT_EQ(cal.cell(60, 2).value, cp("Horymír"));
  EXPECT_EQ(cal.cell(366, 1).value, "31.12.");

  SetupTab(s, DbKind::Rozpisy);
  s.grid.setRowCount(5);
  s.grid.setText(2, 1, cp("  Úvod"));
  s.grid.setText(2, 2, cp("éra"));
  s.grid.setText(2, 3, "3. kapitola");
  s.grid.setText(1, 4, "4");
  Sheet plan = ExportTopicPlans(s);
  EXPECT_EQ(plan.cell(1, 2).value, cp("Téma"));
  EXPECT_EQ(plan.cell(1, 8).interior, rgbHex(0xC0C0C0));
  for (auto [row, bold] : {std::pair{2, true}, {3, false}, {4, true}, {5, false}})
    for (int c = 1; c <= 8; ++c) EXPECT_EQ(plan.cell(row, c).bold, bold) << row << "," << c;
  // A line above every cell of the plan, none below it.
  EXPECT_EQ(plan.cell(5, 8).top.lineStyle, 1);
  EXPECT_EQ(plan.cell(6, 1).top.lineStyle, 0);
  EXPECT_EQ(plan.selection(), (SheetArea{1, 1, 1, 1}));
}

TEST_F(ExcelTest, TimetableOfSevenLessons) {
  SetupTab(s, DbKind::Rozvrh);
  s.grid.setColCount(9);  // lessons in columns 2 to 8
  s.grid.setText(1, 1, "7A");
  for (int c = 2; c <= 8; ++c) s.grid.setText(c, 1, std::to_string(c - 1));
  s.grid.setText(1, 8, cp("Úterý"));
  s.grid.setText(8, 9, "7B");      // Tuesday, last lesson, class
  s.grid.setText(8, 11, "jméno");  // the block's name
  s.grid.setColors(8, 9, rgbHex(0x00FF00), kWhite);
  Sheet t = ExportTimetable(s);
  EXPECT_EQ(t.cell(1, 1).value, "Rozvrh hodin: 7A");
  EXPECT_EQ(t.merges(), (std::vector<SheetArea>{{1, 1, 1, 9}}));
  EXPECT_EQ(Values(t, 2, 9).substr(Values(t, 1, 9).size() + 1), "7A|1|2|3|4|5|6|7|");
  EXPECT_EQ(t.cell(8, 1).value, cp("Úterý"));
  EXPECT_EQ(t.cell(9, 8).value, "7B");
  EXPECT_EQ(t.cell(9, 8).interior, rgbHex(0x00FF00));
  EXPECT_EQ(t.cell(9, 8).fontColor, kWhite);
  for (int r = 1; r <= 20; ++r)
    for (int c = 1; c <= 9; ++c) EXPECT_NE(t.cell(r, c).value, cp("jméno")) << r << "," << c;
  // Lines: the left of every cell of rows 2 to 19 up to column I, a top line
  // on the first row of each block and under the last.
  EXPECT_EQ(t.cell(19, 9).left.lineStyle, 1);
  EXPECT_EQ(t.cell(20, 9).left.lineStyle, 0);
  for (int r : {2, 5, 8, 11, 14, 17, 20}) EXPECT_EQ(t.cell(r, 4).top.lineStyle, 1) << r;
  EXPECT_EQ(t.cell(6, 4).top.lineStyle, 0);
}

class ExcelGrades : public ExcelTest {
 protected:
  // Three students; the second has grades in grade columns 1, 4 and 6, the
  // others fewer. Six grade columns.
  void SetUp() override {
    ExcelTest::SetUp();
    DefaultGradeScale(s);
    GradeBookGrid(s, 3, 6);
    for (int c = 3; c <= 8; ++c) s.grid.setText(c, 1, std::to_string(c) + ".9");
    s.grid.setText(3, 5, "1-");
    s.grid.setText(6, 5, "2 ");
    s.grid.setText(8, 5, "3 ");
    s.grid.setFontColor(6, 5, kWeightColours[1]);
    s.grid.setText(4, 4, "5 ");
    s.grid.setText(9, 4, "1,25");
    s.grid.setText(3, 7, "2,333");  // the first column's average
    for (int n = 1; n <= 3; ++n) {
      s.grid.setText(1, n + 3, std::to_string(n));
      s.grid.setText(2, n + 3, "Student " + std::to_string(n));
    }
  }
};

TEST_F(ExcelGrades, TableAndSeparateLayouts) {
  GradeDisplayOptions packed;
  packed.zhustit = true;
  Sheet t = ExportGradesTable(s, packed);
  // Titles, then the students; the date and time rows are gone and the
  // grade columns left empty by the packing too: D to F keep the grades.
  EXPECT_EQ(Values(t, 4, 9), cp("|Pořadí|Jméno|1|2|3|Průměr|Sm. odch.|Poznámka/1.|1|Student 1|5 |||1.25||/") +
                                 "2.|2|Student 2|1-|2 |3 |||/3.|3|Student 3||||||");
  EXPECT_EQ(t.cell(3, 6).format, NumberFormat::Text);
  EXPECT_EQ(t.cell(3, 5).fontColor, kWeightColours[1]);
  EXPECT_EQ(t.cell(2, 7).format, NumberFormat::ThreeDigits);
  EXPECT_EQ(t.cell(3, 1).horizontal, 3);
  EXPECT_EQ(t.cell(2, 3).interior, rgbHex(0xFFFFCC));  // grid row 4 is even
  EXPECT_EQ(t.cell(3, 3).interior, kWhite);

  // Without packing: the dates and statistics stay; a statistic is a number
  // with three decimals, sent with a decimal point.
  Sheet full = ExportGradesTable(s, {});
  EXPECT_EQ(full.cell(2, 4).value, "3.9");
  EXPECT_EQ(full.cell(8, 4).value, "2.333");
  EXPECT_EQ(full.cell(8, 4).format, NumberFormat::ThreeDigits);
  EXPECT_EQ(full.cell(5, 10).value, "1.25");

  // Two rows per student: dates above the packed grades, the number and
  // name merged over both rows (the name written in the lower one stays).
  GradeDisplayOptions separate;
  separate.zvlast = true;
  separate.barevne = false;
  Sheet p = ExportGradesSeparate(s, separate);
  EXPECT_EQ(Values(p, 4, 8), cp("1|Student 1|4.9|||Průměr|Sm. odch.|Poznámka/||5 |||1.25||/") +
                                 cp("2|Student 2|3.9|6.9|8.9|Průměr|Sm. odch.|Poznámka/||1-|2 |3 |||"));
  EXPECT_EQ(p.cell(3, 2).value, "Student 2");
  EXPECT_EQ(p.cell(3, 1).value, "2");
  EXPECT_EQ(p.cell(3, 2).fontSize, 14);
  EXPECT_EQ(p.cell(2, 5).interior, kWhite);
  EXPECT_EQ(p.cell(3, 1).top.lineStyle, 1);
}

// A text on a band's fill takes the band's letters: the number, the name
// merged beside it and the labels of a student past the last band (white on
// black) in the per-student layout, the number in the table.
TEST_F(ExcelGrades, TextsOnABandFillTakeTheBandsLetters) {
  for (int c : {1, 9, 10}) s.grid.setColors(c, 5, kBlack, kWhite);  // student 2: number, average, deviation
  GradeDisplayOptions separate;
  separate.zvlast = true;
  const Sheet p = ExportGradesSeparate(s, separate), t = ExportGradesTable(s, {});
  // Sheet, row, column (the packing moved the average to F), value.
  const std::tuple<const Sheet&, int, int, const char*> cases[] = {
      {p, 3, 1, "2"}, {p, 3, 2, "Student 2"}, {p, 3, 6, "Průměr"}, {p, 3, 7, "Sm. odch."}, {t, 6, 2, "2"}};
  for (const auto& [sheet, row, col, value] : cases) {
    EXPECT_EQ(sheet.cell(row, col).value, cp(value));
    EXPECT_EQ(sheet.cell(row, col).fontColor, kWhite) << value;
    EXPECT_EQ(sheet.cell(row, col).interior, kBlack) << value;
  }
  EXPECT_EQ(p.cell(1, 2).fontColor, kBlack);  // a student without a band
}

// Packing the grades leaves no empty grade column, however much wider than
// tall the emptied block is: the average follows the last packed grade in
// both layouts, as on the packed HTML page.
TEST_F(ExcelTest, PackedGradesLeaveNoEmptyColumn) {
  GradeBookGrid(s, 2, 30);
  for (auto [c, r, t] : {std::tuple{7, 4, "1 "}, {22, 4, "2 "}, {12, 5, "3 "}, {1, 4, "1"}, {1, 5, "2"}})
    s.grid.setText(c, r, t);
  for (int c = 3; c <= 32; ++c) s.grid.setText(c, 1, std::to_string(c - 2) + ".9");
  GradeDisplayOptions packed;
  packed.zhustit = true;
  EXPECT_EQ(Values(ExportGradesTable(s, packed), 3, 6), cp("|Pořadí|Jméno|1|2|Průměr/1.|1||1 |2 |/2.|2||3 ||"));
  packed.zvlast = true;
  EXPECT_EQ(Values(ExportGradesSeparate(s, packed), 4, 5), "1||5.9|20.9|" + cp("Průměr/||1 |2 |/2||10.9||Průměr/||3 ||"));
}

// The workbooks as openpyxl reads them: made at the time of the program's
// clock; across the paper when the table is wider than tall, one page wide,
// the rows that title the columns on every page; no column wider than 255
// characters; a text longer than a cell holds cut to 32,767 characters with
// one log line for all of them, so that the workbook is always written.
TEST_F(ExcelGrades, WorkbooksKeepToTheFormatsLimitsAndPrintAsLaidOut) {
  Sheet longTexts;
  for (auto [c, n] : {std::pair{1, 40000}, {2, 32767}, {3, 32768}}) longTexts.Cells(1, c).Value(std::string(n, 'x'));
  longTexts.Range(1, 1, 1, 3).AutoFitColumns();
  s.grid.setText(2, 4, std::string(300, 'x'));  // a name wider than the widest column
  GradeDisplayOptions packed, separate;
  packed.zhustit = true;
  separate.zvlast = true;
  VeklaState timetable, calendar;
  SetupTab(timetable, DbKind::Rozvrh);
  SetupTab(calendar, DbKind::Kalendar);
  const std::pair<Sheet, const char*> cases[] = {
      {longTexts, "portrait, widest 255, fit 0 x 0, titles None, longest 32767"},
      {ExportGradesTable(s, {}), "landscape, widest 255, fit 1 x 0, titles $1:$4, longest 300"},
      {ExportGradesTable(s, packed), "landscape, widest 255, fit 1 x 0, titles $1:$1, longest 300"},
      {ExportGradesSeparate(s, separate), "landscape, widest 255, fit 1 x 0, titles None, longest 300"},
      {ExportTimetable(timetable), "landscape, widest 9.42578, fit 1 x 0, titles $1:$4, longest 19"},
      {ExportCalendar(calendar), "portrait, widest 0, fit 1 x 0, titles None, longest 19"},
  };
  QStringList files;
  std::vector<std::string> log;
  for (const auto& [sheet, read] : cases) {
    files << dir.filePath(QString::number(files.size()) + ".xlsx");
    WriteFileAtomic(files.back(), WriteXlsx(sheet, &log));
  }
  EXPECT_EQ(log, std::vector<std::string>{cp("Sešit Excel: texty delší než 32 767 znaků zkráceny (buněk: 2, první A1).")});
  QProcess py;
  py.start("/usr/bin/python3", QStringList{"-c", R"(
import sys, openpyxl
for f in sys.argv[1:]:
    wb = openpyxl.load_workbook(f)
    ws, p, fit = wb.active, wb.active.page_setup, wb.active.sheet_properties.pageSetUpPr
    print(wb.properties.created.isoformat())
    print("%s, widest %g, fit %s x %s, titles %s, longest %d" % (p.orientation or "portrait",
        max([d.width for d in ws.column_dimensions.values() if d.customWidth] or [0]),
        (p.fitToWidth or 1) if fit and fit.fitToPage else 0, p.fitToHeight or 0, ws.print_title_rows,
        max(len(str(c.value or "")) for row in ws.iter_rows() for c in row)))
)"} + files);
  ASSERT_TRUE(py.waitForFinished(60000));
  const QStringList lines = QString(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2 * files.size()) << py.readAllStandardError().toStdString();
  for (qsizetype i = 0; i < files.size(); ++i) {
    EXPECT_EQ(lines[2 * i], Now().toUTC().toString("yyyy-MM-ddThh:mm:ss"));
    EXPECT_EQ(lines[2 * i + 1].toStdString(), cases[i].second);
  }
}

// The workbook read back by openpyxl: for every cell of each kind's sheet,
// the value, number format, fill, font colour, bold and borders the sheet
// holds, and its merges.
TEST_F(ExcelGrades, WorkbooksReadBackByAnIndependentReader) {
  for (int c : {1, 9, 10}) s.grid.setColors(c, 5, kBlack, kWhite);  // student 2 past the last band
  std::vector<std::pair<std::string, Sheet>> sheets;
  sheets.emplace_back("grades", ExportGradesTable(s, {}));
  GradeDisplayOptions packed;
  packed.zhustit = true;
  sheets.emplace_back("packed", ExportGradesTable(s, packed));
  GradeDisplayOptions separate;
  separate.zvlast = true;
  sheets.emplace_back("separate", ExportGradesSeparate(s, separate));
  SetupTab(s, DbKind::Rozvrh);
  s.grid.setText(2, 4, cp("Čeština"));
  s.grid.setColors(2, 4, rgbHex(0x3366CC), kWhite);
  sheets.emplace_back("timetable", ExportTimetable(s));
  SetupTab(s, DbKind::Kalendar);
  sheets.emplace_back("calendar", ExportCalendar(s));

  const QString script = QStringLiteral(R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
for row in ws.iter_rows():
    for c in row:
        v = c.value
        if v is None: v = ""
        elif hasattr(v, "month"): v = "%d.%d." % (v.day, v.month)
        elif isinstance(v, float) and c.number_format == "0.000": v = "%g" % v
        rgb = lambda color: color.rgb[-6:] if color is not None and isinstance(color.rgb, str) else "000000"
        fill = rgb(c.fill.fgColor) if c.fill.fill_type == "solid" else "-"
        b = "".join("1" if getattr(c.border, s).style else "0" for s in ("left", "right", "top", "bottom"))
        print("%d,%d|%s|%s|%s|%s|%d|%s" % (c.row, c.column, v, c.number_format, fill, rgb(c.font.color),
                                            bool(c.font.b), b))
for m in ws.merged_cells.ranges: print("merge " + str(m))
)");
  auto rgb = [](Color c) {
    char b[8];
    std::snprintf(b, sizeof b, "%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
    return std::string(b);
  };
  const char* formats[] = {"General", "@", "0.000", "d/m;@"};
  for (const auto& [name, sheet] : sheets) {
    const QString file = dir.filePath(QString::fromStdString(name) + ".xlsx");
    WriteFileAtomic(file, WriteXlsx(sheet));
    QProcess py;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYTHONIOENCODING", "utf-8");
    py.setProcessEnvironment(env);
    py.start("/usr/bin/python3", {"-c", script, file});
    ASSERT_TRUE(py.waitForFinished(60000)) << name;
    ASSERT_EQ(py.exitCode(), 0) << name << py.readAllStandardError().toStdString();
    std::map<std::string, std::string> read;
    std::vector<std::string> merges;
    std::istringstream lines(py.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("merge ", 0) == 0) merges.push_back(line.substr(6));
      else read[line.substr(0, line.find('|'))] = line.substr(line.find('|') + 1);
    }
    for (int r = 1; r <= sheet.rowCount(); ++r)
      for (int c = 1; c <= sheet.colCount(); ++c) {
        const SheetCell& cell = sheet.cell(r, c);
        if (cell == SheetCell{}) continue;
        const std::string key = std::to_string(r) + "," + std::to_string(c);
        std::string value = toUtf8(cell.value);
        // A cell covered by a merge shows nothing of its own.
        bool covered = false;
        for (const SheetArea& m : sheet.merges())
          covered |= r >= m.row1 && r <= m.row2 && c >= m.col1 && c <= m.col2 && (r != m.row1 || c != m.col1);
        if (covered) {
          EXPECT_EQ(read[key].substr(0, 1), "|") << name << " " << key;
          continue;
        }
        auto b = [](const SheetBorder& x) { return x.lineStyle ? "1" : "0"; };
        const std::string want = value + "|" + formats[static_cast<int>(cell.format)] + "|" +
                                 (cell.hasInterior ? rgb(cell.interior) : "-") + "|" + rgb(cell.fontColor) + "|" +
                                 (cell.bold ? "1" : "0") + "|" + b(cell.left) + b(cell.right) + b(cell.top) +
                                 b(cell.bottom);
        EXPECT_EQ(read[key], want) << name << " " << key;
      }
    std::vector<std::string> want;
    for (const SheetArea& m : sheet.merges()) {
      auto address = [](int row, int col) {
        std::string letters;
        for (; col > 0; col = (col - 1) / 26) letters.insert(letters.begin(), char('A' + (col - 1) % 26));
        return letters + std::to_string(row);
      };
      want.push_back(address(m.row1, m.col1) + ":" + address(m.row2, m.col2));
    }
    std::sort(want.begin(), want.end());
    std::sort(merges.begin(), merges.end());
    EXPECT_EQ(merges, want) << name;
  }
}

}  // namespace
