#pragma once
// The table of strings behind every grid of the program. Positions are given
// as (column, row), as everywhere in Vekla. Cells may be written and read
// beyond the current column and row counts: they are kept and show when the
// counts grow to include them.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pdb/color.h"

namespace vekla {

enum class Align : unsigned char { Default, Left, Right, Center };

// A cell of a grid: column first, then row, as everywhere in Vekla.
struct CellPos {
  int col = 0;
  int row = 0;
  friend bool operator==(CellPos a, CellPos b) { return a.col == b.col && a.row == b.row; }
};

struct Cell {
  std::string text;
  Color font = kSysWindowText;
  Color brush = kSysWindow;
  bool bold = false;
  std::int16_t size = 8;  // points; small, so a cell takes 48 bytes
  Align align = Align::Default;
  friend bool operator==(const Cell&, const Cell&) = default;
};

class CellGrid {
 public:
  CellGrid(int cols = 0, int rows = 0, int fixedCols = 1, int fixedRows = 1);

  int colCount() const { return cols_; }
  int rowCount() const { return rows_; }
  void setColCount(int n);
  void setRowCount(int n);
  int fixedCols() const { return fixedCols_; }
  int fixedRows() const { return fixedRows_; }

  // Read access never grows the store; beyond it a default cell is returned.
  // Inline: the checks and statistics read every cell of the largest grids.
  const Cell& cell(int col, int row) const {
    if (static_cast<std::size_t>(row) < cells_.size()) {
      const std::vector<Cell>& r = cells_[static_cast<std::size_t>(row)];
      if (static_cast<std::size_t>(col) < r.size()) return r[static_cast<std::size_t>(col)];
    }
    return defaultCell();
  }
  // Write access grows the store to hold (col, row). Inline for the cells
  // the store holds already, which is nearly every write.
  Cell& at(int col, int row) {
    if (static_cast<std::size_t>(row) < cells_.size()) {
      std::vector<Cell>& r = cells_[static_cast<std::size_t>(row)];
      if (static_cast<std::size_t>(col) < r.size()) {
        noteWrite(col, row);
        return r[static_cast<std::size_t>(col)];
      }
    }
    return grow(col, row);
  }

  const std::string& text(int col, int row) const { return cell(col, row).text; }
  const Cell& cell(CellPos p) const { return cell(p.col, p.row); }
  const std::string& text(CellPos p) const { return cell(p).text; }
  void setText(CellPos p, std::string t) { at(p.col, p.row).text = std::move(t); }
  void setText(int col, int row, std::string t) { at(col, row).text = std::move(t); }
  Color fontColor(int col, int row) const { return cell(col, row).font; }
  void setFontColor(int col, int row, Color c) { at(col, row).font = c; }
  Color brush(int col, int row) const { return cell(col, row).brush; }
  void setBrush(int col, int row, Color c) { at(col, row).brush = c; }
  bool bold(int col, int row) const { return cell(col, row).bold; }
  void setBold(int col, int row, bool b) { at(col, row).bold = b; }
  int fontSize(int col, int row) const { return cell(col, row).size; }
  void setFontSize(int col, int row, int s) { at(col, row).size = static_cast<std::int16_t>(s); }
  Align align(int col, int row) const { return cell(col, row).align; }
  void setAlign(int col, int row, Align a) { at(col, row).align = a; }
  // Background and text colour together.
  void setColors(int col, int row, Color background, Color text) {
    Cell& c = at(col, row);
    c.brush = background;
    c.font = text;
  }

  // Insert an empty row/column at `index` (an index inside the fixed rows or
  // columns inserts just after them); later ones move on, with their cells.
  void insertRow(int index);
  void insertCol(int index);
  // Remove the row/column at `index`; a fixed one, or the last non-fixed one,
  // is not removed.
  void removeRow(int index);
  void removeCol(int index);
  // The same for `count` columns at once, in one pass over the cells (one
  // column at a time would move every later cell once per column).
  void insertCols(int index, int count);
  void removeCols(int index, int count);
  // Moves the stored cells of a row out, leaving the row empty (default
  // cells), and puts a row of cells in place of a row's stored cells.
  // Together they reorder rows without copying their cells.
  std::vector<Cell> takeRow(int row);
  void putRow(int row, std::vector<Cell> cells);

  // Size every column to its widest text (last column first). Only the
  // columns written to since the last sizing are measured again; the others
  // keep the widest text found then.
  void autoSizeColumns();
  // Size one column to its widest text.
  void autoSizeColumn(int col);
  int colWidth(int col) const;
  void setColWidth(int col, int width);
  // How the width of a cell text is measured; the window installs one that
  // uses real font metrics while it lives, the default (also after an empty
  // measure is installed) estimates from the character count. Installing
  // another measure makes every grid measure all columns again.
  static const std::function<int(const Cell&)>& textWidthMeasure();
  static void setTextWidthMeasure(std::function<int(const Cell&)> measure);

  // Current cell and the colours of the selected cell.
  int currentCol = 1;
  int currentRow = 1;
  Color selectedCellColor = kSysWindowText;
  Color selectedFontColor = kSysWindow;
  int lineWidth = 1;

  // Which cells were written to since an earlier mark, each at least once,
  // in the order of writing. Unknown (nullopt) after rows or columns were
  // inserted, removed or counted anew, when the grid was copied or another
  // one assigned to it since, and after more writes than the grid keeps a
  // list of. A grid moved into another takes its marks along.
  struct Mark {
    std::uint64_t log = 0;    // which list of writes
    std::uint64_t count = 0;  // writes in it so far
    bool operator==(const Mark&) const = default;
  };
  Mark mark() const { return {writes_.id, writes_.count}; }
  std::optional<std::span<const CellPos>> writtenSince(Mark m) const;

  // Cells are stored row by row; each stored row holds as many cells as were
  // ever written into it.
  const std::vector<std::vector<Cell>>& store() const { return cells_; }
  // Drops every stored cell (texts, colours) and all widths.
  void clearStore();

 private:
  int cols_ = 0;
  int rows_ = 0;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  // The cells written to, a list of the latest writes. A copy starts a list
  // of its own, so a mark taken on the original never describes the copy; a
  // move hands the list over with the cells.
  struct WriteLog {
    static constexpr std::size_t kListed = 1024;
    std::uint64_t id = newId();
    std::uint64_t count = 0;       // writes so far
    std::uint64_t listedFrom = 0;  // the number of the first write in `cells`
    std::vector<CellPos> cells;

    WriteLog() = default;
    WriteLog(const WriteLog&) {}
    WriteLog(WriteLog&& o) noexcept { *this = std::move(o); }
    WriteLog& operator=(const WriteLog&) {
      *this = WriteLog();
      return *this;
    }
    WriteLog& operator=(WriteLog&& o) noexcept {
      if (this == &o) return *this;
      id = o.id;
      count = o.count;
      listedFrom = o.listedFrom;
      cells = std::move(o.cells);
      o.id = newId();
      o.count = o.listedFrom = 0;
      o.cells.clear();
      return *this;
    }
    void note(CellPos p) {
      if (cells.size() == kListed) {
        cells.clear();
        listedFrom = count;
      }
      cells.push_back(p);
      ++count;
    }
    // Forgets the writes so far.
    void restart() {
      listedFrom = ++count;
      cells.clear();
    }
    static std::uint64_t newId();
  };

  // The rows or columns moved: every column is measured again and the cells
  // written since any mark are unknown.
  void reshaped() {
    measured_.clear();
    writes_.restart();
  }

  static const Cell& defaultCell();
  static constexpr int kUnmeasured = -1;
  void noteWrite(int col, int row) {
    if (static_cast<std::size_t>(col) < measured_.size()) measured_[static_cast<std::size_t>(col)] = kUnmeasured;
    writes_.note({col, row});
  }
  Cell& grow(int col, int row);
  std::vector<std::vector<Cell>> cells_;  // [row][col]
  std::vector<int> widths_;
  // The widest text of each column at the last sizing, or -1 for a column
  // written to since; columns beyond the end are measured too.
  std::vector<int> measured_;
  std::uint64_t measuredWith_ = 0;  // the measure those widths came from
  WriteLog writes_;
};

}  // namespace vekla
