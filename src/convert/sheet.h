#pragma once
// A spreadsheet of our own, in memory: the few operations a workbook export
// needs, with the effect a spreadsheet program gives them. Rows and columns
// count from 1 and a cell is addressed (row, column), as spreadsheets do.
// The exports lay a grid out through these calls in the order a user of a
// spreadsheet would make them; xlsx.h then writes the sheet as a workbook.
//
//   sheet.Cells(1, 1).Value("Rozvrh hodin: 7A");
//   sheet.Range("A1", "I1").Select();
//   sheet.Selection().HorizontalAlignment(1).FontBold(true).FontSize(18).MergeCells();
//
// Texts are code page 1250, colours 0x00BBGGRR.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pdb/color.h"

namespace vekla {

// How a cell shows its value. A value is always sent as a text; under a
// numeric format a text that is a number ("1.25") is that number, under
// the day-and-month format a text "d.m" is that day.
enum class NumberFormat : std::uint8_t {
  General,      // as typed
  Text,         // "@"
  ThreeDigits,  // "0,000": three decimals
  DayMonth,     // "d/m;@"
};
NumberFormat NumberFormatFromCode(std::string_view code);  // throws VeklaError for another code

// One border line of a cell.
// One byte: a sheet of the largest grade book has a quarter of a million
// cells with four borders each.
struct SheetBorder {
  std::uint8_t lineStyle : 2 = 0;   // 0 none, 1 continuous
  std::uint8_t weight : 3 = 2;      // 1 hairline, 2 thin, 3 medium, 4 thick
  std::uint8_t colorIndex : 3 = 1;  // 1 black, up to 7 of the standard palette
  friend bool operator==(const SheetBorder&, const SheetBorder&) = default;
};

struct SheetCell {
  std::string value;
  NumberFormat format = NumberFormat::General;
  bool hasInterior = false;
  Color interior = kWhite;
  Color fontColor = kBlack;
  bool bold = false;
  std::uint8_t fontSize = 11;
  // Alignment codes: horizontal 1 general, 2 left, 3 centre, 4 right;
  // vertical 1 top, 2 centre, 3 bottom (0: not set, bottom).
  std::uint8_t horizontal = 1;
  std::uint8_t vertical = 0;
  // Borders(1) is the left line of each cell, Borders(2) the right one,
  // Borders(3) the top one and Borders(4) the bottom one.
  SheetBorder left, right, top, bottom;
  friend bool operator==(const SheetCell&, const SheetCell&) = default;
};

// Where the cells next to a deleted block go.
enum class SheetShift : std::uint8_t { Either, ToLeft, Up };

// A block of cells, first and last row and column (inclusive).
struct SheetArea {
  int row1 = 1, col1 = 1, row2 = 1, col2 = 1;
  int rows() const { return row2 - row1 + 1; }
  int cols() const { return col2 - col1 + 1; }
  friend bool operator==(const SheetArea&, const SheetArea&) = default;
};

// How the sheet prints, as a spreadsheet's page setup holds it.
struct SheetPageSetup {
  bool landscape = false;
  // Scaled to fit this many pages across (0: not scaled); as many pages
  // down as it takes.
  int fitToPagesWide = 0;
  // Sheet rows printed at the top of every page (0: none).
  int titleRowFirst = 0, titleRowLast = 0;
  friend bool operator==(const SheetPageSetup&, const SheetPageSetup&) = default;
};

class Sheet;

// A block of a sheet and the calls that act on every cell of it. The calls
// return the block, so several can be made on one line.
class SheetRange {
 public:
  SheetRange(Sheet& sheet, SheetArea area, bool wholeRows = false)
      : sheet_(&sheet), area_(area), wholeRows_(wholeRows) {}

  const SheetArea& area() const { return area_; }

  SheetRange& Value(std::string text);
  SheetRange& NumberFormat(std::string_view code);
  SheetRange& InteriorColor(Color c);
  SheetRange& FontColor(Color c);
  SheetRange& FontBold(bool bold);
  SheetRange& FontSize(int points);
  SheetRange& HorizontalAlignment(int code);
  SheetRange& VerticalAlignment(int code);
  // Borders(index) with its line style, weight and colour index.
  SheetRange& Borders(int index, int lineStyle, int weight, int colorIndex);
  // One merged cell. The merged cell keeps the first value found reading
  // the block row by row, with that cell's font colour and weight, so no
  // text is lost to an empty first cell.
  SheetRange& MergeCells();
  // Makes the block the selection.
  SheetRange& Select();
  // Deletes the block: whole rows move the rows below up; otherwise the
  // cells to its right move left or the cells below it up, as asked. Asked
  // for neither, a block at least as tall as it is wide moves the cells to
  // its right left, a wider one the cells below it up (a spreadsheet
  // program's own choice).
  void Delete(SheetShift shift = SheetShift::Either);
  // Fits the width of each of the block's columns to the longest text of
  // the column inside the block (cells merged across columns do not count),
  // at most 255 characters with the column's margins.
  void AutoFitColumns();

 private:
  template <class F>
  SheetRange& each(F&& f);

  Sheet* sheet_;
  SheetArea area_;
  bool wholeRows_;
};

class Sheet {
 public:
  // The automation calls that name cells and blocks.
  SheetRange Cells(int row, int col) { return SheetRange(*this, {row, col, row, col}); }
  SheetRange Range(int row1, int col1, int row2, int col2);
  // Two addresses such as "A1" and "I1".
  SheetRange Range(std::string_view a, std::string_view b);
  // "2:4": whole rows.
  SheetRange Rows(std::string_view span);
  SheetRange Selection() { return SheetRange(*this, selection_, selectionRows_); }

  // What was laid out: the cells in use, row by row (rows grow as written).
  int rowCount() const { return static_cast<int>(rows_.size()); }
  int colCount() const { return cols_; }
  const SheetCell& cell(int row, int col) const;
  const std::vector<SheetArea>& merges() const { return merges_; }
  // Column widths in characters of the standard font; 0: not set.
  double columnWidth(int col) const;
  // A row's height in points: the standard 15, or taller for the largest
  // letters in it, as a spreadsheet program makes a row when they are typed.
  double rowHeight(int row) const;
  // The size of the table on paper, in points: the columns and rows in use.
  double printedWidth() const;
  double printedHeight() const;
  SheetPageSetup& PageSetup() { return page_; }
  const SheetPageSetup& pageSetup() const { return page_; }
  const SheetArea& selection() const { return selection_; }

  // Gives up the cells of a row and their memory (a writer done with them).
  void releaseRow(int row);

  // An address as spreadsheets write it: column letters and row ("B7").
  static SheetArea Address(std::string_view a);

 private:
  friend class SheetRange;
  SheetCell& at(int row, int col);
  void deleteRows(int row1, int row2);
  void deleteShiftLeft(const SheetArea& a);
  void deleteShiftUp(const SheetArea& a);
  void fit(const SheetArea& a);

  std::vector<std::vector<SheetCell>> rows_;
  int cols_ = 0;
  std::vector<SheetArea> merges_;
  std::vector<double> widths_;
  SheetArea selection_;
  bool selectionRows_ = false;
  SheetPageSetup page_;
};

}  // namespace vekla
