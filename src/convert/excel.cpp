#include "convert/excel.h"

#include "convert/exportview.h"
#include "convert/xlsx.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/tablegeometry.h"

namespace vekla {

namespace {

constexpr Color kGrey = rgbHex(0xC0C0C0);
constexpr Color kLightYellow = rgbHex(0xFFFFCC);

// The thin black line of the borders: line style 1, weight 2, colour index 1.
void Line(SheetRange range, int index) { range.Borders(index, 1, 2, 1); }

// Every column of the block fitted to its texts, then the cursor home.
void FitAndGoHome(Sheet& sheet, int rows, int cols) {
  sheet.Range(1, 1, rows, cols).Select();
  sheet.Selection().AutoFitColumns();
  sheet.Range("A1", "A1").Select();
}

// The sheet printed: across when its table is wider than tall, scaled to
// one page wide, the first `titleRows` rows at the top of every page.
void SetUpPage(Sheet& sheet, int titleRows) {
  SheetPageSetup& page = sheet.PageSetup();
  page.landscape = sheet.printedWidth() > sheet.printedHeight();
  page.fitToPagesWide = 1;
  page.titleRowFirst = titleRows > 0 ? 1 : 0;
  page.titleRowLast = titleRows;
}

ExportFiles Workbook(const VeklaState& s, const GradeDisplayOptions& o, Sheet sheet) {
  ExportFiles files{{toQt(ExportPageStem(s, o)) + ".xlsx", {}}};
  files.front().bytes = WriteXlsx(std::move(sheet), &files.log);
  return files;
}

}  // namespace

Sheet ExportCalendar(const VeklaState& s) {
  const CellGrid& g = s.grid;
  Sheet sheet;
  for (int r = 1; r < g.rowCount(); ++r) {
    sheet.Cells(r, 1).Value(g.text(CalendarColumns::kLabel, r)).NumberFormat("d/m;@");
    sheet.Cells(r, 2).Value(g.text(CalendarColumns::kText, r));
  }
  SetUpPage(sheet, 0);
  return sheet;
}

Sheet ExportTopicPlans(const VeklaState& s) {
  const CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  Sheet sheet;
  for (int c = 1; c < C; ++c) sheet.Cells(1, c).Value(g.text(c, 0)).InteriorColor(kGrey);
  for (int r = 1; r < R; ++r) {
    for (int c = 1; c < C; ++c) {
      const std::string& t = g.text(c, r);
      if (c == TopicColumns::kTopic && IsHeadingTopic(t))
        sheet.Range(r + 1, 1, r + 1, TopicColumns::kDone).FontBold(true);
      sheet.Cells(r + 1, c).Value(t);
    }
  }
  sheet.Range(1, 1, R, C - 1).Select();
  Line(sheet.Selection(), 3);
  FitAndGoHome(sheet, R, C - 1);
  SetUpPage(sheet, 1);
  return sheet;
}

Sheet ExportTimetable(const VeklaState& s) {
  using T = TimetableGeometry;
  const CellGrid& g = s.grid;
  const T geo(g);
  const int C = g.colCount();
  Sheet sheet;
  // Three sheet rows a day from row 5: subject, class and room; the name of
  // a block is not shown.
  auto sheetRow = [](int day, int k) { return 3 * (day + 1) + 2 + k; };

  sheet.Cells(1, 1).Value(cp("Rozvrh hodin: ") + g.text(T::kCaptionCol, T::kLessonRow));
  sheet.Range("A1", "I1").Select();
  sheet.Selection().HorizontalAlignment(1).FontBold(true).FontSize(18).MergeCells();

  auto caption = [&](int row, int gridRow) {
    sheet.Cells(row, 1).NumberFormat("@").InteriorColor(kGrey).FontBold(true).Value(g.text(T::kCaptionCol, gridRow));
  };
  for (int k = 0; k < 3; ++k) caption(2 + k, T::kLessonRow + k);
  for (int d = 0; d < T::kDays; ++d)
    for (int k = T::kSubject; k <= T::kRoom; ++k) caption(sheetRow(d, k), T::dayRow(d) + k);

  for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c) {
    sheet.Cells(2, c).Value(g.text(c, T::kLessonRow)).HorizontalAlignment(3);
    sheet.Cells(3, c).Value(g.text(c, T::kStartRow)).HorizontalAlignment(2);
    sheet.Cells(4, c).Value(g.text(c, T::kEndRow)).HorizontalAlignment(1);
    sheet.Range(2, c, 4, c).InteriorColor(kGrey).FontBold(true);
  }
  for (int d = 0; d < T::kDays; ++d)
    for (int k = T::kSubject; k <= T::kRoom; ++k)
      for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c) {
        const Cell& cell = g.cell(c, T::dayRow(d) + k);
        sheet.Cells(sheetRow(d, k), c).Value(cell.text).InteriorColor(cell.brush).FontColor(cell.font);
      }

  const int lastRow = sheetRow(T::kDays - 1, T::kRoom);
  for (int row = 2; row <= lastRow; ++row) {
    Line(sheet.Range(row, 1, row, C - 1), 1);
    // The first row of the lesson header and of each day has a line above.
    if ((row - 2) % 3 == 0) Line(sheet.Range(row, 1, row, C - 1), 3);
  }
  Line(sheet.Range(2, C, lastRow, C), 1);
  Line(sheet.Range(lastRow + 1, 1, lastRow + 1, C - 1), 3);
  FitAndGoHome(sheet, g.rowCount(), C);
  // The title and the lesson header over every page.
  SetUpPage(sheet, 4);
  return sheet;
}

namespace {

// Grid cell (c, r) of the grade book is sheet cell (r + 1, c + 1).
SheetRange GridCell(Sheet& sheet, int c, int r) { return sheet.Cells(r + 1, c + 1); }

// The rows' captions up to grid row `last` (a student's only with its order
// number, "7.") and the column titles, on the titles' colour.
void PutGradeTitles(Sheet& sheet, const GradeView& view, int last, Color titles) {
  const CellGrid& g = view.grid();
  for (int r = 0; r <= last; ++r) {
    std::string label = g.text(0, r);
    SheetRange cell = GridCell(sheet, 0, r);
    if (view.geometry().isStudentRow(r)) {
      const std::size_t dot = label.find('.');
      if (dot != std::string::npos) label.resize(dot + 1);
      cell.HorizontalAlignment(3);
    }
    cell.Value(std::move(label)).FontColor(kBlack).InteriorColor(titles).NumberFormat("@");
  }
  for (int c = 1; c < g.colCount(); ++c)
    GridCell(sheet, c, 0)
        .Value(g.text(c, 0))
        .FontColor(kBlack)
        .InteriorColor(titles)
        .NumberFormat("@")
        .HorizontalAlignment(3);
}

// The rows' backgrounds: students striped under Barevne, their order
// numbers and statistics and the columns' statistics in their colours.
void ColourGradeRows(Sheet& sheet, const GradeView& view, int last) {
  using G = GradeGeometry;
  const G& geo = view.geometry();
  const int C = view.grid().colCount();
  for (int r = 1; r <= last; ++r) {
    const bool yellow = view.options().barevne && geo.isStudentRow(r) && r % 2 == 0;
    sheet.Range(r + 1, 2, r + 1, C).InteriorColor(yellow ? kLightYellow : kWhite);
    if (geo.isStudentRow(r)) {
      for (int c : {int(G::kOrderCol), geo.averageCol(), geo.deviationCol()})
        GridCell(sheet, c, r).InteriorColor(view.background(c, r));
    } else if (r >= geo.averageRow()) {
      for (int c = G::kFirstGradeCol; c <= geo.deviationCol(); ++c)
        GridCell(sheet, c, r).InteriorColor(view.background(c, r));
    }
  }
}

// The grades in their colours (packed to the left under Zhustit), the
// statistics as numbers, the rest as text.
void PutGradeValues(Sheet& sheet, const GradeView& view, int last) {
  using G = GradeGeometry;
  const CellGrid& g = view.grid();
  const G& geo = view.geometry();
  const bool packed = view.options().zhustit;
  auto at = [&](int c, int r) { return GridCell(sheet, c, r); };
  for (int r = 1; r <= last; ++r) {
    const bool student = geo.isStudentRow(r);
    const bool statistics = r >= geo.averageRow();
    if (student && packed) {
      int k = G::kFirstGradeCol;
      for (int c : view.gradesOf(r)) at(k++, r).Value(g.text(c, r)).NumberFormat("@").FontColor(view.gradeColor(c, r));
    }
    for (int c = 1; c < g.colCount(); ++c) {
      const std::string& t = g.text(c, r);
      if (geo.isGradeCol(c)) {
        if (student) {
          if (!packed) at(c, r).Value(t).NumberFormat("@").FontColor(view.gradeColor(c, r));
        } else if (statistics) {
          at(c, r).NumberFormat("0,000").Value(DecimalPoint(t)).FontColor(view.textColor(c, r));
        } else if (!packed) {
          at(c, r).NumberFormat("@").Value(t).FontColor(kBlack);
        }
        at(c, r).FontBold(true).HorizontalAlignment(3);
      } else if (c == geo.averageCol() || c == geo.deviationCol()) {
        at(c, r)
            .NumberFormat("0,000")
            .Value(DecimalPoint(t))
            .FontBold(true)
            .HorizontalAlignment(3)
            .FontColor(view.textColor(c, r));
      } else {
        at(c, r).Value(t).FontColor(c == G::kNameCol ? kBlack : view.textColor(c, r));
      }
    }
  }
}

}  // namespace

Sheet ExportGradesTable(const VeklaState& s, const GradeDisplayOptions& o) {
  const GradeView view(s, o);
  const GradeGeometry& geo = view.geometry();
  const int C = view.grid().colCount();
  // The last grid row shown: the statistics rows go when grades are packed.
  const int L = o.zhustit ? geo.lastStudentRow() : geo.deviationRow();
  const int M = view.mostGrades();
  Sheet sheet;
  PutGradeTitles(sheet, view, L, o.barevne ? kGrey : kWhite);
  ColourGradeRows(sheet, view, L);
  PutGradeValues(sheet, view, L);

  sheet.Range(1, 1, L + 1, C).Select();
  Line(sheet.Selection(), 3);
  if (o.zhustit) {
    // The date and time rows go, then the grade columns the packing left
    // empty: the columns to their right move left, however wide the block.
    sheet.Rows("2:4").Select();
    sheet.Selection().Delete();
    if (M + 4 <= C - 4) {
      sheet.Range(1, M + 4, L + 1, C - 4).Select();
      sheet.Selection().Delete(SheetShift::ToLeft);
    }
  }
  FitAndGoHome(sheet, L + 1, C);
  // The column titles, with the date and time rows when they are shown.
  SetUpPage(sheet, o.zhustit ? 1 : 4);
  return sheet;
}

Sheet ExportGradesSeparate(const VeklaState& s, const GradeDisplayOptions& o) {
  using G = GradeGeometry;
  const GradeView view(s, o);
  const CellGrid& g = view.grid();
  const G& geo = view.geometry();
  const int C = g.colCount();
  const int S = geo.students();
  const int M = view.mostGrades();
  Sheet sheet;

  for (int n = 1; n <= S; ++n) {
    const int r = G::studentRow(n);
    const int top = 2 * n - 1, bottom = 2 * n;
    sheet.Range(top, 1, bottom, C - 1).InteriorColor(kWhite);
    const Color number = view.background(G::kOrderCol, r);
    for (auto [row, col] : {std::pair{top, 1}, std::pair{top, 2}, std::pair{bottom, 1}})
      sheet.Cells(row, col).InteriorColor(number);
    for (int c : {geo.averageCol(), geo.deviationCol()})
      sheet.Range(top, c, bottom, c).InteriorColor(view.background(c, r));

    int k = G::kFirstGradeCol;
    for (int c : view.gradesOf(r)) {
      sheet.Cells(top, k).NumberFormat("@").Value(g.text(c, G::kDateRow)).FontColor(kBlack);
      sheet.Cells(bottom, k).Value(g.text(c, r)).NumberFormat("@").FontColor(view.gradeColor(c, r));
      ++k;
    }
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
      sheet.Cells(bottom, c).FontBold(true).HorizontalAlignment(3);

    // The labels stand on the band colour of their column, so they take
    // its letters, as the value below them does.
    sheet.Cells(top, geo.averageCol()).Value(cp("Průměr")).FontColor(view.textColor(geo.averageCol(), r));
    sheet.Cells(top, geo.deviationCol()).Value(cp("Sm. odch.")).FontColor(view.textColor(geo.deviationCol(), r));
    for (int c : {geo.averageCol(), geo.deviationCol()})
      sheet.Cells(bottom, c)
          .NumberFormat("0,000")
          .Value(DecimalPoint(g.text(c, r)))
          .FontBold(true)
          .HorizontalAlignment(3)
          .FontColor(view.textColor(c, r));
    sheet.Cells(top, geo.noteCol()).Value(cp("Poznámka"));
    sheet.Cells(top, geo.examinedCol()).Value(cp("Zkoušen"));
    for (int c : {int(G::kOrderCol), geo.noteCol(), geo.examinedCol()})
      sheet.Cells(bottom, c).Value(g.text(c, r)).FontColor(view.textColor(c, r));
    // The name is merged over both rows on the number's background, so it
    // takes the number's letters (black would vanish on a dark band). It is
    // written in the lower row, whose letters the merged cell keeps.
    const Color nameLetters = view.textColor(G::kOrderCol, r);
    sheet.Cells(top, G::kNameCol).FontColor(nameLetters);
    sheet.Cells(bottom, G::kNameCol).Value(g.text(G::kNameCol, r)).FontColor(nameLetters);
  }

  // A line above every student but the first, and one under the last.
  for (int n = 2; n <= S + 1; ++n) Line(sheet.Range(2 * n - 1, 1, 2 * n - 1, C - 1), 3);
  for (int n = 1; n <= S + 1; ++n) {
    sheet.Range(2 * n - 1, 1, 2 * n, 1).MergeCells().FontSize(14).HorizontalAlignment(3).VerticalAlignment(3);
    sheet.Range(2 * n - 1, 2, 2 * n, 2).MergeCells().FontSize(14).VerticalAlignment(3);
  }
  // The grade columns the packing left empty; the columns to their right
  // move left.
  if (M + 3 <= C - 5) {
    sheet.Range(1, M + 3, 2 * S + 1, C - 5).Select();
    sheet.Selection().Delete(SheetShift::ToLeft);
  }
  // Every student's rows count for the widths.
  FitAndGoHome(sheet, 2 * S + 2, C);
  // Every student has titles of their own: no rows repeated.
  SetUpPage(sheet, 0);
  return sheet;
}

ExportFiles XlsxGradeFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  return Workbook(s, o, o.zvlast ? ExportGradesSeparate(s, o) : ExportGradesTable(s, o));
}
ExportFiles XlsxTopicFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  return Workbook(s, o, ExportTopicPlans(s));
}
ExportFiles XlsxTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  return Workbook(s, o, ExportTimetable(s));
}
ExportFiles XlsxCalendarFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  return Workbook(s, o, ExportCalendar(s));
}

}  // namespace vekla
