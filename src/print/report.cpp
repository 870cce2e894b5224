#include "print/report.h"

#include <algorithm>
#include <cmath>

#include "pdb/text.h"
#include "workspace/gradegeometry.h"

namespace vekla {

namespace {

const QColor kTitleBackground(0xE4, 0xE4, 0xE4);
const QColor kLines(0x99, 0x99, 0x99);
const QColor kClassLine(0x70, 0x70, 0x70);

// Where the parts of a page lie, from the top of its area (points).
constexpr double kInfoTop = 26, kAverageTop = 46, kGradesTop = 76;
constexpr double kChartHeight = 190, kNoteHeight = 52;

QString Symbol(const std::string& text) {
  std::string t = text;
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return toQt(t);
}

PageFrame ReportFrame(const VeklaState& s) {
  PageFrame f = FrameOf(s);
  const QString name = toQt(ClassName(s));
  f.title = QStringLiteral("Výpis pro rodiče") + (name.isEmpty() ? QString() : QStringLiteral(": ") + name);
  return f;
}

}  // namespace

StudentReport::StudentReport(const VeklaState& s, const std::vector<int>& rows) : PrintDocument(ReportFrame(s)) {
  const GradeGeometry geo(s.grid);
  className_ = toQt(ClassName(s));
  semester_ = frame().semester;
  // The class: the date and average of every grade column.
  const std::vector<ColumnFigure> columns = ColumnFigures(s);
  for (const ColumnFigure& c : columns) {
    dates_.push_back(toQt(c.date));
    averages_.push_back(static_cast<double>(c.average.value));
    averaged_.push_back(c.average.shown());
  }
  classAverage_ = toQt(AverageCell(s, geo.averageCol(), geo.averageRow()).text);
  for (const WeightEdit& w : s.weights) weightColours_.push_back(PaperColor(w.color));

  std::vector<int> chosen = rows;
  if (chosen.empty())
    for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) chosen.push_back(r);
  const std::vector<StudentFigure> all = Students(s);
  for (int r : chosen) {
    if (!geo.isStudentRow(r)) continue;
    const StudentFigure& fig = all[static_cast<std::size_t>(r - GradeGeometry::kFirstStudentRow)];
    Student st;
    st.name = toQt(fig.name);
    st.order = toQt(fig.order);
    st.note = toQt(fig.note);
    st.average = toQt(fig.average.text);
    st.deviation = toQt(s.grid.text(geo.deviationCol(), r));
    st.background = PaperColor(fig.average.background);
    st.color = PaperColor(fig.average.color);
    st.band = toQt(BandCaption(s, BandOf(s, fig.average)));
    for (const StudentGrade& g : GradesOfStudent(s, r)) {
      const ColumnFigure& c = columns[static_cast<std::size_t>(g.col - GradeGeometry::kFirstGradeCol)];
      Line line;
      line.date = toQt(c.date);
      if (!c.from.empty() || !c.to.empty()) line.time = toQt(c.from) + QStringLiteral("–") + toQt(c.to);
      line.column = toQt(PlainTitle(c.title));
      line.symbol = Symbol(g.symbol) + Ink::WeightMark(g.weight);
      line.weight = toQt(WeightCaption(s, g.weight));
      line.color = weightColours_[static_cast<std::size_t>(g.weight - 1)];
      line.mark = g.weight;
      line.value = static_cast<double>(g.value);
      line.index = g.col - GradeGeometry::kFirstGradeCol;
      st.grades.push_back(std::move(line));
    }
    students_.push_back(std::move(st));
  }
}

void StudentReport::layout(const Ink& ink) {
  std::size_t most = 1;
  for (const Student& st : students_) most = std::max(most, st.grades.size());
  const QSizeF area = contentSize(QPageLayout::Portrait);
  const double room = area.height() - kGradesTop - kNoteHeight - kChartHeight;
  const QString heads[5] = {QStringLiteral("Datum"), QStringLiteral("Čas"), QStringLiteral("Sloupec"),
                            QStringLiteral("Známka"), QStringLiteral("Váha")};
  // The largest letters with which the student with most grades fits the
  // page, in as many blocks side by side as the page is wide for.
  for (const double size : {8.0, 7.0, 6.0, 5.0}) {
    fontSize_ = size;
    rowHeight_ = 1.5 * size;
    const QFont f = ink.font(size), b = ink.font(size, true);
    widths_.assign(5, 0);
    for (int c = 0; c < 5; ++c) widths_[static_cast<std::size_t>(c)] = ink.width(b, heads[c]);
    for (const Student& st : students_)
      for (const Line& l : st.grades) {
        const double w[5] = {ink.width(f, l.date), ink.width(f, l.time), ink.width(f, l.column),
                             ink.width(b, l.symbol), ink.width(f, l.weight) + size + 2};
        for (std::size_t c = 0; c < 5; ++c) widths_[c] = std::max(widths_[c], w[c]);
      }
    for (double& w : widths_) w += 6;
    double block = 10;
    for (double w : widths_) block += w;
    const int blocks = std::max(1, static_cast<int>((area.width() + 10) / block));
    perBlock_ = std::max(1, static_cast<int>((room - 16 - rowHeight_) / rowHeight_));
    if (static_cast<std::size_t>(blocks * perBlock_) >= most) break;
  }
}

void StudentReport::paintGrades(const Ink& ink, const Student& st, const QRectF& box) const {
  const QFont f = ink.font(fontSize_), b = ink.font(fontSize_, true);
  ink.text(QPointF(box.left(), box.top() + 10), QStringLiteral("Známky"), ink.font(10, true), Qt::black);
  if (st.grades.empty()) {
    ink.text(QPointF(box.left(), box.top() + 26), QStringLiteral("V tomto pololetí bez známek."), ink.font(9),
             Qt::black);
    return;
  }
  const QString heads[5] = {QStringLiteral("Datum"), QStringLiteral("Čas"), QStringLiteral("Sloupec"),
                            QStringLiteral("Známka"), QStringLiteral("Váha")};
  double blockWidth = 10;
  for (double w : widths_) blockWidth += w;
  const double top = box.top() + 16;
  for (std::size_t first = 0, block = 0; first < st.grades.size(); first += static_cast<std::size_t>(perBlock_), ++block) {
    const std::size_t end = std::min(st.grades.size(), first + static_cast<std::size_t>(perBlock_));
    const double left = box.left() + static_cast<double>(block) * blockWidth;
    const double width = blockWidth - 10;
    ink.fill(QRectF(left, top, width, rowHeight_), kTitleBackground);
    double x = left;
    for (int c = 0; c < 5; ++c) {
      ink.text(QRectF(x + 3, top, widths_[static_cast<std::size_t>(c)] - 3, rowHeight_), Qt::AlignLeft, heads[c], b,
               Qt::black);
      x += widths_[static_cast<std::size_t>(c)];
    }
    for (std::size_t i = first; i < end; ++i) {
      const Line& l = st.grades[i];
      const double y = top + static_cast<double>(i - first + 1) * rowHeight_;
      const double baseline = y + rowHeight_ / 2 + 0.36 * fontSize_;
      x = left;
      const QString texts[3] = {l.date, l.time, l.column};
      for (int c = 0; c < 3; ++c) {
        ink.text(QRectF(x + 3, y, widths_[static_cast<std::size_t>(c)] - 3, rowHeight_), Qt::AlignLeft, texts[c], f,
                 Qt::black);
        x += widths_[static_cast<std::size_t>(c)];
      }
      ink.text(QPointF(x + 3, baseline), l.symbol, b, l.color);
      x += widths_[3];
      ink.fill(QRectF(x + 3, y + rowHeight_ / 2 - fontSize_ / 2, fontSize_, fontSize_), l.color);
      ink.text(QPointF(x + 5 + fontSize_, baseline), l.weight, f, Qt::black);
      ink.line(QPointF(left, y + rowHeight_), QPointF(left + width, y + rowHeight_), 0.25, kLines);
    }
    const double bottom = top + static_cast<double>(end - first + 1) * rowHeight_;
    ink.frame(QRectF(left, top, width, bottom - top), 0.6, kLines);
  }
}

void StudentReport::paintChart(const Ink& ink, const Student& st, const QRectF& box) const {
  ink.text(QPointF(box.left(), box.top() + 10), QStringLiteral("Známky v pololetí a průměr třídy"),
           ink.font(10, true), Qt::black);
  const std::size_t n = dates_.size();
  if (n == 0) return;
  const QRectF plot = box.adjusted(22, 18, -6, -34);
  // The scale from the best value (on top) to the worst, whole numbers.
  double lo = 1, hi = 5;
  for (const Line& l : st.grades) lo = std::min(lo, l.value), hi = std::max(hi, l.value);
  for (std::size_t i = 0; i < n; ++i)
    if (averaged_[i]) lo = std::min(lo, averages_[i]), hi = std::max(hi, averages_[i]);
  lo = std::floor(lo);
  hi = std::ceil(hi);
  if (hi <= lo) hi = lo + 1;
  // The scale's ends a little inside the frame, so that a dot on the best
  // or the worst grade shows whole.
  const QRectF scale = plot.adjusted(0, 5, 0, -5);
  auto y = [&](double v) { return scale.top() + (v - lo) / (hi - lo) * scale.height(); };
  auto x = [&](std::size_t i) { return plot.left() + (static_cast<double>(i) + 0.5) * plot.width() / static_cast<double>(n); };

  const QFont small = ink.font(6.5);
  for (double v = lo; v <= hi + 0.001; v += 1) {
    ink.line(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)), 0.25, kLines);
    ink.text(QRectF(box.left(), y(v) - 5, 18, 10), Qt::AlignRight, QString::number(v, 'f', 0), small, Qt::black);
  }
  // The dates below, as many as fit without touching.
  double widest = 1;
  for (const QString& d : dates_) widest = std::max(widest, ink.width(small, d));
  const std::size_t step =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil((widest + 4) * static_cast<double>(n) / plot.width())));
  for (std::size_t i = 0; i < n; i += step)
    ink.text(QRectF(x(i) - 20, plot.bottom() + 1, 40, 9), Qt::AlignHCenter, dates_[i], small, Qt::black);
  ink.frame(plot, 0.6, kLines);

  // The class average of each grade column: a line through the columns
  // that have one.
  std::vector<QPointF> line;
  for (std::size_t i = 0; i < n; ++i)
    if (averaged_[i]) line.emplace_back(x(i), y(averages_[i]));
  ink.polyline(line, 1, kClassLine);
  for (const QPointF& p : line) ink.fill(QRectF(p.x() - 1.3, p.y() - 1.3, 2.6, 2.6), kClassLine);
  // The student's grades: a dot in the weight's colour with its mark.
  for (const Line& l : st.grades) {
    const QPointF p(x(static_cast<std::size_t>(l.index)), y(l.value));
    ink.dot(p, 2.6, l.color);
    ink.text(QPointF(p.x() + 2.8, p.y() + 1), Ink::WeightMark(l.mark), small, l.color);
  }

  // The legend.
  const double ly = plot.bottom() + 20;
  double lx = plot.left();
  ink.line(QPointF(lx, ly - 2.5), QPointF(lx + 16, ly - 2.5), 1, kClassLine);
  lx += 20;
  const QString cls = QStringLiteral("průměr třídy ve sloupci");
  ink.text(QPointF(lx, ly), cls, small, Qt::black);
  lx += ink.width(small, cls) + 14;
  for (std::size_t w = 0; w < weightColours_.size(); ++w) {
    ink.dot(QPointF(lx + 3, ly - 2.5), 2.6, weightColours_[w]);
    const QString mark = Ink::WeightMark(static_cast<int>(w) + 1);
    ink.text(QPointF(lx + 6, ly), mark, small, weightColours_[w]);
    lx += 10 + ink.width(small, mark);
  }
  ink.text(QPointF(lx + 2, ly), QStringLiteral("známka žáka (barva a číslo značí váhu)"), small, Qt::black);
}

void StudentReport::paintPage(const Ink& ink, int page, const QRectF& area) const {
  const Student& st = students_[static_cast<std::size_t>(page)];
  const double top = area.top(), left = area.left();
  ink.text(QRectF(left, top, area.width(), 22), Qt::AlignLeft, st.name, ink.font(16, true), Qt::black);
  QString info = QStringLiteral("Pořadí: %1").arg(st.order);
  if (!className_.isEmpty()) info += QStringLiteral("     Třída: %1").arg(className_);
  info += QStringLiteral("     Pololetí: %1").arg(semester_);
  ink.text(QRectF(left, top + kInfoTop, area.width(), 14), Qt::AlignLeft, info, ink.font(9), Qt::black);

  // The average in its band's colours.
  const QFont label = ink.font(10, true), value = ink.font(11, true), plain = ink.font(9);
  const double ay = top + kAverageTop, h = 18;
  double x = left;
  ink.text(QRectF(x, ay, 60, h), Qt::AlignLeft, QStringLiteral("Průměr:"), label, Qt::black);
  x += ink.width(label, QStringLiteral("Průměr:")) + 6;
  if (st.average.isEmpty()) {
    ink.text(QRectF(x, ay, 200, h), Qt::AlignLeft, QStringLiteral("bez známek"), plain, Qt::black);
  } else {
    const double w = ink.width(value, st.average) + 12;
    ink.fill(QRectF(x, ay, w, h), st.background);
    ink.frame(QRectF(x, ay, w, h), 0.4, kLines);
    ink.text(QRectF(x, ay, w, h), Qt::AlignHCenter, st.average, value, st.color);
    x += w + 6;
    QString rest;
    if (!st.band.isEmpty()) rest += QStringLiteral("pásmo %1").arg(st.band);
    if (!st.deviation.isEmpty()) rest += QStringLiteral("     směrodatná odchylka %1").arg(st.deviation);
    ink.text(QRectF(x, ay, area.right() - x, h), Qt::AlignLeft, rest, plain, Qt::black);
  }
  if (!classAverage_.isEmpty()) {
    const QString cls = QStringLiteral("Průměr třídy: %1").arg(classAverage_);
    ink.text(QRectF(left, ay, area.width(), h), Qt::AlignRight, cls, plain, Qt::black);
  }

  // The grades, the note and the chart one below the other; the layout
  // made the longest list of grades leave room for the other two.
  const double gradesTop = top + kGradesTop;
  const std::size_t lines = std::min(st.grades.size(), static_cast<std::size_t>(perBlock_));
  double y = gradesTop + 16 + (st.grades.empty() ? 14 : rowHeight_ * static_cast<double>(lines + 1));
  paintGrades(ink, st, QRectF(left, gradesTop, area.width(), y - gradesTop));
  if (!st.note.isEmpty()) {
    y += 14;
    ink.text(QPointF(left, y + 10), QStringLiteral("Poznámka"), ink.font(10, true), Qt::black);
    y += 14 + ink.wrapped(QRectF(left, y + 14, area.width(), kNoteHeight - 20), st.note, plain, Qt::black);
  }
  paintChart(ink, st, QRectF(left, std::min(y + 16, area.bottom() - kChartHeight), area.width(), kChartHeight));
}

}  // namespace vekla
