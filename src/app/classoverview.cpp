#include "app/classoverview.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScreen>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "app/qtcolor.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/kindops.h"

namespace vekla {

namespace {

QString Trimmed(const std::string& symbol) {
  std::string t = symbol;
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return toQt(t);
}

QChartView* ViewOf(QChart* chart, const char* name, QWidget* parent) {
  auto* view = new QChartView(chart, parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(320, 220);
  return view;
}

}  // namespace

ClassOverview::ClassOverview(const VeklaState& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
  setObjectName(QStringLiteral("PrehledTridy"));
  setWindowTitle(QStringLiteral("Přehled třídy"));
  resize(1000, 720);
  auto* layout = new QVBoxLayout(this);
  pages_ = new QStackedWidget(this);
  layout->addWidget(pages_);

  auto* other = new QLabel(QStringLiteral("Přehled ukazuje známky: přepněte na kartu Známky."), pages_);
  other->setAlignment(Qt::AlignCenter);
  auto* page = new QWidget(pages_);
  pages_->addWidget(page);
  pages_->addWidget(other);

  auto* columns = new QHBoxLayout(page);
  columns->setContentsMargins(0, 0, 0, 0);
  auto* charts = new QSplitter(Qt::Vertical, page);
  class_ = makeBars(QStringLiteral("Známky celé třídy"), classChart_);
  column_ = makeBars(QString(), columnChart_);
  charts->addWidget(ViewOf(classChart_, "GrafTridy", charts));
  charts->addWidget(ViewOf(columnChart_, "GrafSloupce", charts));

  averageChart_ = new QChart;
  averageChart_->setTitle(QStringLiteral("Průměr třídy ve sloupcích známek"));
  averageChart_->legend()->hide();
  line_ = new QLineSeries(averageChart_);
  line_->setName(QStringLiteral("průměr sloupce"));
  line_->setColor(QColor(0x44, 0x44, 0x44));
  points_ = new QScatterSeries(averageChart_);
  points_->setMarkerSize(7);
  points_->setColor(QColor(0x44, 0x44, 0x44));
  averageChart_->addSeries(line_);
  averageChart_->addSeries(points_);
  dates_ = new QCategoryAxis(averageChart_);
  dates_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  dates_->setLabelsAngle(-60);
  values_ = new QValueAxis(averageChart_);
  // The best grade on top, as the teacher reads the scale.
  values_->setReverse(true);
  values_->setLabelFormat(QStringLiteral("%d"));
  averageChart_->addAxis(dates_, Qt::AlignBottom);
  averageChart_->addAxis(values_, Qt::AlignLeft);
  for (auto* series : std::initializer_list<QXYSeries*>{line_, points_}) {
    series->attachAxis(dates_);
    series->attachAxis(values_);
  }
  charts->addWidget(ViewOf(averageChart_, "GrafPrumeru", charts));
  columns->addWidget(charts, 3);

  auto* side = new QVBoxLayout;
  summary_ = new QLabel(page);
  summary_->setObjectName(QStringLiteral("PrehledSouhrn"));
  summary_->setWordWrap(true);
  side->addWidget(summary_);
  students_ = new QTableWidget(page);
  students_->setObjectName(QStringLiteral("PrehledStudenti"));
  students_->setColumnCount(4);
  students_->setHorizontalHeaderLabels(
      {QStringLiteral("Poř."), QStringLiteral("Jméno"), QStringLiteral("Průměr"), QStringLiteral("Pásmo")});
  students_->verticalHeader()->hide();
  students_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  students_->setSelectionMode(QAbstractItemView::NoSelection);
  // The name takes what the number, the average and the band leave (they
  // are sized to their texts after each refresh), on one line.
  students_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  students_->setWordWrap(false);
  side->addWidget(students_, 1);
  columns->addLayout(side, 2);
}

ClassOverview::Bars ClassOverview::makeBars(const QString& title, QChart*& chart) {
  Bars b;
  chart = new QChart;
  chart->setTitle(title);
  b.chart = chart;
  auto* series = new QStackedBarSeries(chart);
  for (std::size_t w = 0; w < 4; ++w) {
    b.sets[w] = new QBarSet(QString(), series);
    series->append(b.sets[w]);
  }
  chart->addSeries(series);
  b.symbols = new QBarCategoryAxis(chart);
  b.counts = new QValueAxis(chart);
  b.counts->setLabelFormat(QStringLiteral("%d"));
  chart->addAxis(b.symbols, Qt::AlignBottom);
  chart->addAxis(b.counts, Qt::AlignLeft);
  series->attachAxis(b.symbols);
  series->attachAxis(b.counts);
  // A symbol is two characters: shown whole, never cut to "…".
  b.symbols->setTruncateLabels(false);
  // The weights' names as a smaller line, whole where it fits; what is cut
  // shows whole under the mouse.
  QFont small = chart->legend()->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  chart->legend()->setFont(small);
  chart->legend()->setShowToolTips(true);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return b;
}

bool ClassOverview::showsGrades() const { return pages_->currentIndex() == 0; }

QRect PlaceBeside(const QRect& main, QSize wanted, const QRect& screen) {
  wanted = wanted.boundedTo(screen.size());
  const int y = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - wanted.height());
  int x = main.right() + 1;
  if (x + wanted.width() > screen.right() + 1) x = main.left() - wanted.width();
  if (x < screen.left()) x = screen.right() + 1 - wanted.width();
  return {QPoint(x, y), wanted};
}

void ClassOverview::showEvent(QShowEvent* event) {
  // The first time beside the window it pictures, so that the grid stays
  // in sight while grades are typed; later where the teacher put it.
  if (!placed_ && parentWidget()) {
    placed_ = true;
    if (const QScreen* screen = parentWidget()->screen()) {
      const QRect frame = PlaceBeside(parentWidget()->frameGeometry(), frameGeometry().size(), screen->availableGeometry());
      // The frame's size less the window's own decorations.
      resize(frame.size() - (frameGeometry().size() - size()));
      move(frame.topLeft());
    }
  }
  QWidget::showEvent(event);
  if (stale_) refresh();
}

ClassOverview::Basis ClassOverview::basis() const {
  return {s_.grid.mark(), s_.znamky.mark(), s_.znamky2.mark(), s_.weights, s_.selCol, s_.kind};
}

void ClassOverview::refreshSoon() {
  if (soon_) return;
  soon_ = true;
  QTimer::singleShot(0, this, [this] {
    soon_ = false;
    refresh();
  });
}

void ClassOverview::refresh() {
  stale_ = true;
  if (!isVisible()) return;
  stale_ = false;
  // Marks tell what was written, not whether a write changed anything; an
  // unknown basis (a copied grid) is a new one.
  const Basis now = basis();
  if (shown_ == now) return;
  shown_ = now;
  // Only a kind with grade cells has figures to show.
  const bool grades = Ops(s_.kind).gradeCell != nullptr;
  pages_->setCurrentIndex(grades ? 0 : 1);
  if (!grades) return;

  // The symbols of the scale, in its order; an empty one has no bar.
  QStringList symbols;
  for (int code = 1; code <= 20; ++code) symbols << Trimmed(s_.znamky.text(code, 0));
  if (symbols != shownSymbols_) {
    shownSymbols_ = symbols;
    for (Bars* b : {&class_, &column_}) {
      QStringList shown;
      for (const QString& t : symbols)
        if (!t.isEmpty() && !shown.contains(t)) shown << t;
      b->symbols->setCategories(shown);
    }
  }
  showTally(class_, TallyClass(s_));
  const GradeGeometry geo(s_.grid);
  if (geo.isGradeCol(s_.selCol)) {
    const std::string date = s_.grid.text(s_.selCol, GradeGeometry::kDateRow);
    column_.chart->setTitle(QStringLiteral("Známky ve sloupci %1").arg(toQt(s_.grid.text(s_.selCol, 0))) +
                            (date.empty() ? QString() : QStringLiteral(" (%1)").arg(toQt(date))));
    showTally(column_, TallyColumn(s_, s_.selCol));
  } else {
    column_.chart->setTitle(QStringLiteral("Známky ve sloupci: vyberte buňku ve sloupci známek"));
    showTally(column_, GradeTally{});
  }
  showAverages();
  showStudents();
}

void ClassOverview::showTally(Bars& bars, const GradeTally& tally) {
  // One value for each category: the first code whose symbol it is.
  const QStringList categories = bars.symbols->categories();
  int most = 0;
  for (std::size_t w = 0; w < 4; ++w) {
    QBarSet* set = bars.sets[w];
    set->setLabel(toQt(WeightCaption(s_, static_cast<int>(w) + 1)));
    set->setColor(qColor(s_.weights[w].color));
    QList<qreal> values;
    for (const QString& symbol : categories) {
      int n = 0;
      for (int code = 1; code <= 20; ++code)
        if (shownSymbols_[code - 1] == symbol) n += tally.counts[static_cast<std::size_t>(code)][w];
      values << n;
    }
    if (set->count() != values.size()) {
      set->remove(0, set->count());
      set->append(values);
    } else {
      for (int i = 0; i < values.size(); ++i)
        if (set->at(i) != values[i]) set->replace(i, values[i]);
    }
  }
  for (int i = 0; i < categories.size(); ++i) {
    int n = 0;
    for (QBarSet* set : bars.sets) n += static_cast<int>(set->at(i));
    most = std::max(most, n);
  }
  // Whole numbers on the count axis: a tick for each grade up to ten,
  // else five steps of a whole number of grades.
  const int step = most <= 10 ? 1 : (most + 4) / 5;
  const int top = most <= 10 ? std::max(most, 1) : 5 * step;
  bars.counts->setRange(0, top);
  bars.counts->setTickCount(top / step + 1);
}

void ClassOverview::showAverages() {
  const std::vector<ColumnFigure> columns = ColumnFigures(s_);
  QList<QPointF> points;
  double lo = 1, hi = 5;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!columns[i].average.shown()) continue;
    const double v = static_cast<double>(columns[i].average.value);
    points << QPointF(static_cast<double>(i + 1), v);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  line_->replace(points);
  points_->replace(points);
  // A label for each column: its title and date (labels must differ).
  const QStringList old = dates_->categoriesLabels();
  QStringList labels;
  for (const ColumnFigure& c : columns)
    labels << toQt(c.title) + (c.date.empty() ? QString() : QStringLiteral(": ") + toQt(c.date));
  if (labels != old) {
    for (const QString& l : old) dates_->remove(l);
    dates_->setStartValue(0.5);
    for (int i = 0; i < labels.size(); ++i) dates_->append(labels[i], i + 1);
  }
  dates_->setRange(0.5, std::max<double>(1, static_cast<double>(columns.size())) + 0.5);
  values_->setRange(std::floor(lo), std::ceil(hi));
  values_->setTickCount(static_cast<int>(std::ceil(hi) - std::floor(lo)) + 1);
}

void ClassOverview::showStudents() {
  const std::vector<StudentFigure> students = StudentsByAverage(s_);
  students_->setRowCount(static_cast<int>(students.size()));
  auto put = [this](int row, int col, const QString& text, const QColor& bg, const QColor& fg) {
    QTableWidgetItem* item = students_->item(row, col);
    if (!item) {
      item = new QTableWidgetItem;
      students_->setItem(row, col, item);
    }
    if (item->text() != text) item->setText(text);
    item->setBackground(bg);
    item->setForeground(fg);
  };
  for (std::size_t i = 0; i < students.size(); ++i) {
    const StudentFigure& st = students[i];
    const int row = static_cast<int>(i);
    const QColor bg = st.average.shown() ? qColor(st.average.background) : QColor(Qt::white);
    const QColor fg = st.average.shown() ? qColor(st.average.color) : QColor(Qt::black);
    put(row, 0, toQt(st.order), Qt::white, Qt::black);
    put(row, 1, toQt(st.name), Qt::white, Qt::black);
    put(row, 2, toQt(st.average.text), bg, fg);
    put(row, 3, toQt(BandCaption(s_, BandOf(s_, st.average))), bg, fg);
  }
  for (int col : {0, 2, 3}) students_->resizeColumnToContents(col);
  const GradeGeometry geo(s_.grid);
  const std::string classAverage = s_.grid.text(geo.averageCol(), geo.averageRow());
  const GradeTally all = TallyClass(s_);
  summary_->setText(QStringLiteral("Průměr třídy: %1\nZnámek: %2, studentů: %3")
                        .arg(classAverage.empty() ? QStringLiteral("–") : toQt(classAverage))
                        .arg(all.total)
                        .arg(students.size()));
}

}  // namespace vekla
