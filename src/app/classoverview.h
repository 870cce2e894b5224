#pragma once
// "Přehled třídy": a window beside the grid that pictures the grade book
// shown: how often each grade was given in the class and in the grade
// column of the current cell (a bar for each symbol, its parts in the
// weights' colours), the class average of each grade column over the
// semester's dates, and the students ordered by average in their bands'
// colours. It follows every command the window runs. Its numbers are
// those of workspace/classfigures.h: the averages are the grid's own.
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>

#include "workspace/classfigures.h"
#include "workspace/state.h"

class QLabel;
class QTableWidget;
class QStackedWidget;

QT_BEGIN_NAMESPACE
class QBarSet;
class QBarCategoryAxis;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace vekla {

// Where a window of size `wanted` goes beside the main window's frame
// `main` on the screen's free area `screen`: to its right, else to its
// left, else against the screen's right edge over a part of it; never
// larger than the screen and never off it.
QRect PlaceBeside(const QRect& main, QSize wanted, const QRect& screen);

class ClassOverview : public QWidget {
  Q_OBJECT
 public:
  // Shows `s`, which outlives the window.
  ClassOverview(const VeklaState& s, QWidget* parent = nullptr);

  // Shows the state as it is now; a hidden window catches up when shown.
  void refresh();
  // Refreshes once control returns to the event loop: the commands of one
  // keystroke (an edit, then the move to the next cell) cost one refresh.
  void refreshSoon();

  QChart* classChart() const { return classChart_; }
  QChart* columnChart() const { return columnChart_; }
  QChart* averageChart() const { return averageChart_; }
  QTableWidget* students() const { return students_; }
  QLabel* summary() const { return summary_; }
  // Whether it shows a grade book (on the other tabs it says there is none).
  bool showsGrades() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Bars {
    QChart* chart = nullptr;
    std::array<QBarSet*, 4> sets{};
    QBarCategoryAxis* symbols = nullptr;
    QValueAxis* counts = nullptr;
  };
  Bars makeBars(const QString& name, QChart*& chart);
  void showTally(Bars& bars, const GradeTally& tally);
  void showAverages();
  void showStudents();

  // What the figures shown were made from; a refresh with nothing changed
  // since draws nothing.
  struct Basis {
    CellGrid::Mark grid, symbols, bands;
    std::array<WeightEdit, 4> weights;
    int col = -1;
    DbKind kind = DbKind::Znamky;
    bool operator==(const Basis&) const = default;
  };
  Basis basis() const;

  const VeklaState& s_;
  bool stale_ = true;
  bool placed_ = false;
  bool soon_ = false;
  std::optional<Basis> shown_;
  QStackedWidget* pages_ = nullptr;
  QChart* classChart_ = nullptr;
  QChart* columnChart_ = nullptr;
  QChart* averageChart_ = nullptr;
  Bars class_, column_;
  QLineSeries* line_ = nullptr;
  QScatterSeries* points_ = nullptr;
  QCategoryAxis* dates_ = nullptr;
  QValueAxis* values_ = nullptr;
  QTableWidget* students_ = nullptr;
  QLabel* summary_ = nullptr;
  QStringList shownSymbols_;
};

}  // namespace vekla
