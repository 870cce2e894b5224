#pragma once
// A table on paper: cells with their colours, column widths, title rows
// repeated on every page and leading columns repeated on every page a wide
// table is split into. Pages go across first: the columns that did not fit
// come on the next page, beside the same rows, then the next rows.
#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

#include "print/ink.h"

namespace vekla {

struct PrintCell {
  QString text;
  QColor background = Qt::white;
  QColor color = Qt::black;
  bool bold = false;
  Qt::Alignment align = Qt::AlignLeft;
};

// One page of a table: its body rows [firstRow, endRow) below the title
// rows, and its columns [firstCol, endCol) beside the repeated ones.
struct TablePage {
  int firstRow = 0, endRow = 0;
  int firstCol = 0, endCol = 0;
};

class PrintTable {
 public:
  std::vector<std::vector<PrintCell>> rows;  // every row as many cells as widths
  std::vector<double> widths;                // points
  int titleRows = 0;                         // repeated on every page
  int repeatedCols = 0;                      // repeated on every part of a split row
  double fontSize = 8;
  double rowHeight = 12;
  double padding = 2.5;  // points left and right of a text

  int cols() const { return static_cast<int>(widths.size()); }
  double width() const;
  // A column as wide as its widest text, at least `least`, at most `most`.
  void fitWidth(const Ink& ink, int col, double least, double most);
  // Cuts the table into pages of `area` size.
  std::vector<TablePage> paginate(QSizeF area) const;
  // Where cell (col, row) lies on a page, from the page's area corner; an
  // empty rectangle when the page does not show it.
  QRectF cellRect(const TablePage& p, int col, int row) const;
  void paint(const Ink& ink, const TablePage& p, QPointF at) const;

 private:
  // The columns a page shows, left to right.
  std::vector<int> shownCols(const TablePage& p) const;
  std::vector<int> shownRows(const TablePage& p) const;
};

}  // namespace vekla
