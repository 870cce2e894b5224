#pragma once
// The topic plan, the timetable and the calendar on paper.
#include <vector>

#include "print/document.h"
#include "print/printtable.h"

namespace vekla {

// The topic plan as a table: its column titles over every page, headings
// bold as the exports show them (and every cell the grid shows bold).
class TopicPlanPages : public PrintDocument {
 public:
  explicit TopicPlanPages(const VeklaState& s);
  void layout(const Ink& ink) override;
  QPageLayout::Orientation orientation() const override { return orientation_; }
  int pageCount() const override { return static_cast<int>(pages_.size()); }
  void paintPage(const Ink& ink, int page, const QRectF& area) const override;

 private:
  PrintTable table_;
  std::vector<TablePage> pages_;
  QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
};

// The timetable as the grid shows it, on one page across, made smaller
// when it would not fit and larger when it would leave the page empty.
class TimetablePage : public PrintDocument {
 public:
  explicit TimetablePage(const VeklaState& s);
  void layout(const Ink& ink) override;
  QPageLayout::Orientation orientation() const override { return QPageLayout::Landscape; }
  int pageCount() const override { return 1; }
  void paintPage(const Ink& ink, int page, const QRectF& area) const override;
  double scale() const { return scale_; }

 private:
  PrintTable table_;
  double scale_ = 1;
};

// The calendar's year, one month a column: January to June on the first
// page, July to December on the second, each day one line.
class CalendarPages : public PrintDocument {
 public:
  explicit CalendarPages(const VeklaState& s);
  void layout(const Ink&) override {}
  QPageLayout::Orientation orientation() const override { return QPageLayout::Landscape; }
  int pageCount() const override { return 2; }
  void paintPage(const Ink& ink, int page, const QRectF& area) const override;

 private:
  struct Day {
    int day = 0;
    QString text;
    QColor background, color;
  };
  std::vector<std::vector<Day>> months_;  // 12, each its days in order
};

}  // namespace vekla
