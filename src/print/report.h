#pragma once
// "Výpis pro rodiče": one page for each student of the grade book (or for
// the chosen ones): the name, class and semester, every grade with its
// date, weight and column, the average in its band, the note, and a small
// chart of the student's grades over the semester's dates beside the
// class average of each grade column. A page names its student only.
#include <vector>

#include "print/document.h"
#include "workspace/classfigures.h"

namespace vekla {

class StudentReport : public PrintDocument {
 public:
  // `rows`: the grid rows of the students to report, in this order; empty
  // for every student. Rows that hold no student are left out.
  StudentReport(const VeklaState& s, const std::vector<int>& rows = {});

  void layout(const Ink& ink) override;
  QPageLayout::Orientation orientation() const override { return QPageLayout::Portrait; }
  int pageCount() const override { return static_cast<int>(students_.size()); }
  void paintPage(const Ink& ink, int page, const QRectF& area) const override;

 private:
  struct Line {
    QString date, time, column, symbol, weight;
    QColor color;
    int mark = 0;
    double value = 0;
    int index = 0;  // the grade column, from 0
  };
  struct Student {
    QString name, order, note, average, deviation, band;
    QColor background, color;
    std::vector<Line> grades;
  };
  void paintGrades(const Ink& ink, const Student& st, const QRectF& box) const;
  void paintChart(const Ink& ink, const Student& st, const QRectF& box) const;

  QString className_, semester_, classAverage_;
  std::vector<Student> students_;
  std::vector<QString> dates_;     // of every grade column
  std::vector<double> averages_;   // the class average of every grade column
  std::vector<bool> averaged_;     // whether the column has one
  std::vector<QColor> weightColours_;
  // The layout of the grade list, chosen for the student with most grades.
  double fontSize_ = 8, rowHeight_ = 12;
  std::vector<double> widths_;
  int perBlock_ = 1;
};

}  // namespace vekla
