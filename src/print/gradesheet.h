#pragma once
// The grade book on paper, as the grid shows it: order number, name, every
// grade in its weight colour with its weight's number raised after it
// ("2-²"), the averages in their
// band colours, deviations and notes; the column titles and dates over
// every page, the order number and name beside every part of a sheet too
// wide for one page, and a legend of the weights and bands at the foot.
#include <vector>

#include "print/document.h"
#include "print/printtable.h"

namespace vekla {

class GradeSheet : public PrintDocument {
 public:
  explicit GradeSheet(const VeklaState& s);

  void layout(const Ink& ink) override;
  QPageLayout::Orientation orientation() const override { return orientation_; }
  int pageCount() const override { return static_cast<int>(pages_.size()); }
  void paintPage(const Ink& ink, int page, const QRectF& area) const override;
  double legendHeight() const override { return 16; }
  void paintLegend(const Ink& ink, const QRectF& area) const override;

  // Where a cell of the grid is printed, once laid out: each page (from 0)
  // that shows it, and its rectangle there in points from the page's
  // printable corner.
  struct Place {
    int page = 0;
    QRectF rect;
  };
  std::vector<Place> placesOf(int gridCol, int gridRow) const;

 private:
  int tableCol(int gridCol) const;
  int tableRow(int gridRow) const;

  struct LegendEntry {
    QColor background, color;
    QString caption;
  };
  int gradeCols_ = 0, students_ = 0;
  PrintTable table_;
  std::vector<TablePage> pages_;
  QPageLayout::Orientation orientation_ = QPageLayout::Landscape;
  std::vector<LegendEntry> weights_, bands_;
};

}  // namespace vekla
