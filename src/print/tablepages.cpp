#include "print/tablepages.h"

#include <algorithm>

#include "convert/exportview.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/tablegeometry.h"

namespace vekla {

namespace {

const QColor kTitleBackground(0xE4, 0xE4, 0xE4);

// The grid's cells (col, row) of the given rows and columns, with the grid's
// colours and bold cells.
PrintTable TableOf(const CellGrid& g, const std::vector<int>& cols, int firstRow, int endRow) {
  PrintTable t;
  t.widths.assign(cols.size(), 0);
  for (int r = firstRow; r < endRow; ++r) {
    std::vector<PrintCell> row;
    for (int c : cols) {
      const Cell& cell = g.cell(c, r);
      PrintCell p;
      p.text = toQt(r == 0 ? PlainTitle(cell.text) : cell.text);
      p.background = r == 0 || c == 0 ? kTitleBackground : PaperColor(cell.brush);
      p.color = r == 0 || c == 0 ? QColor(Qt::black) : PaperColor(cell.font);
      p.bold = r == 0 || cell.bold;
      row.push_back(std::move(p));
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

}  // namespace

// ---------------------------------------------------------------- topic plan

TopicPlanPages::TopicPlanPages(const VeklaState& s) : PrintDocument(FrameOf(s)) {
  const CellGrid& g = s.grid;
  std::vector<int> cols;
  for (int c = 1; c < g.colCount(); ++c) cols.push_back(c);
  table_ = TableOf(g, cols, 0, g.rowCount());
  table_.titleRows = 1;
  table_.repeatedCols = 2;
  table_.fontSize = 9;
  table_.rowHeight = 13;
  for (int r = 1; r < g.rowCount(); ++r)
    if (IsHeadingTopic(g.text(TopicColumns::kTopic, r)))
      for (PrintCell& cell : table_.rows[static_cast<std::size_t>(r)]) cell.bold = true;
}

void TopicPlanPages::layout(const Ink& ink) {
  for (int c = 0; c < table_.cols(); ++c) {
    const int gridCol = c + 1;
    const double most = gridCol == TopicColumns::kTopic ? 260 : gridCol == TopicColumns::kNote ? 180 : 70;
    table_.fitWidth(ink, c, 20, most);
  }
  orientation_ =
      table_.width() <= contentSize(QPageLayout::Portrait).width() ? QPageLayout::Portrait : QPageLayout::Landscape;
  pages_ = table_.paginate(contentSize(orientation_));
}

void TopicPlanPages::paintPage(const Ink& ink, int page, const QRectF& area) const {
  table_.paint(ink, pages_[static_cast<std::size_t>(page)], area.topLeft());
}

// ---------------------------------------------------------------- timetable

TimetablePage::TimetablePage(const VeklaState& s) : PrintDocument(FrameOf(s)) {
  const CellGrid& g = s.grid;
  std::vector<int> cols;
  for (int c = 0; c < g.colCount(); ++c) cols.push_back(c);
  table_ = TableOf(g, cols, 0, g.rowCount());
  table_.fontSize = 9;
  table_.rowHeight = 14;
  for (std::vector<PrintCell>& row : table_.rows)
    for (std::size_t c = 2; c < row.size(); ++c) row[c].align = Qt::AlignHCenter;
}

void TimetablePage::layout(const Ink& ink) {
  for (int c = 0; c < table_.cols(); ++c) table_.fitWidth(ink, c, 24, 200);
  // The whole grid on one page: the font, rows and columns made smaller
  // together when it is larger, larger up to half as much again when it
  // leaves most of the page empty.
  const QSizeF area = contentSize(QPageLayout::Landscape);
  const double height = table_.rowHeight * static_cast<double>(table_.rows.size());
  scale_ = std::min({1.5, area.width() / table_.width(), area.height() / height});
  table_.fontSize *= scale_;
  table_.rowHeight *= scale_;
  table_.padding *= scale_;
  for (double& w : table_.widths) w *= scale_;
}

void TimetablePage::paintPage(const Ink& ink, int, const QRectF& area) const {
  const TablePage whole{table_.titleRows, static_cast<int>(table_.rows.size()), 0, table_.cols()};
  table_.paint(ink, whole, area.topLeft());
}

// ---------------------------------------------------------------- calendar

CalendarPages::CalendarPages(const VeklaState& s) : PrintDocument(FrameOf(s)) {
  const CellGrid& g = s.grid;
  months_.resize(12);
  // A row for each day of a leap year; the days of a shorter grid are empty.
  for (int r = 1; r <= 366; ++r) {
    const std::string label = DayOfYearToDayMonth(r);
    const std::size_t dot = label.find('.');
    if (dot == std::string::npos) continue;
    const int day = std::atoi(label.substr(0, dot).c_str()), month = std::atoi(label.substr(dot + 1).c_str());
    if (month < 1 || month > 12) continue;
    const bool shown = r < g.rowCount();
    const Cell& cell = g.cell(CalendarColumns::kText, r);
    months_[static_cast<std::size_t>(month - 1)].push_back({day, shown ? toQt(cell.text) : QString(),
                                                            shown ? PaperColor(cell.brush) : QColor(Qt::white),
                                                            shown ? PaperColor(cell.font) : QColor(Qt::black)});
  }
}

void CalendarPages::paintPage(const Ink& ink, int page, const QRectF& area) const {
  static const char* const names[12] = {"Leden", "Únor",  "Březen", "Duben",    "Květen",   "Červen",
                                        "Červenec", "Srpen", "Září",  "Říjen", "Listopad", "Prosinec"};
  constexpr int kMonthsAPage = 6;
  const double w = area.width() / kMonthsAPage, gap = 4;
  const double rowHeight = area.height() / 32;
  const QFont title = ink.font(9, true), day = ink.font(7, true), text = ink.font(7), small = ink.font(6);
  const QColor lines(0x99, 0x99, 0x99);
  for (int i = 0; i < kMonthsAPage; ++i) {
    const int m = page * kMonthsAPage + i;
    const double x = area.left() + i * w, inner = w - gap;
    ink.fill(QRectF(x, area.top(), inner, rowHeight), kTitleBackground);
    ink.text(QRectF(x + 3, area.top(), inner - 6, rowHeight), Qt::AlignLeft, QString::fromUtf8(names[m]), title,
             Qt::black);
    const std::vector<Day>& days = months_[static_cast<std::size_t>(m)];
    for (std::size_t d = 0; d < days.size(); ++d) {
      const QRectF row(x, area.top() + static_cast<double>(d + 1) * rowHeight, inner, rowHeight);
      if (days[d].background != Qt::white) ink.fill(row, days[d].background);
      ink.text(QRectF(row.left() + 2, row.top(), 14, rowHeight), Qt::AlignRight, QString::number(days[d].day) + '.',
               day, Qt::black);
      const QRectF box(row.left() + 19, row.top(), inner - 21, rowHeight);
      // A long text takes two smaller lines of the day's row.
      if (ink.width(text, days[d].text) <= box.width() || days[d].text.isEmpty()) {
        ink.text(box, Qt::AlignLeft, days[d].text, text, days[d].color);
      } else {
        ink.wrapped(box.adjusted(0, 0.5, 0, 0), days[d].text, small, days[d].color);
      }
      ink.line(row.bottomLeft(), row.bottomRight(), 0.25, lines);
    }
    ink.frame(QRectF(x, area.top(), inner, rowHeight * static_cast<double>(days.size() + 1)), 0.6, lines);
  }
}

}  // namespace vekla
