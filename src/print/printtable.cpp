#include "print/printtable.h"

#include <algorithm>
#include <cmath>

namespace vekla {

namespace {

const QColor kLines(0x99, 0x99, 0x99);
// Rounding of sums of widths must not push a column that fits to the next page.
constexpr double kSlack = 0.01;

}  // namespace

double PrintTable::width() const {
  double w = 0;
  for (double x : widths) w += x;
  return w;
}

void PrintTable::fitWidth(const Ink& ink, int col, double least, double most) {
  const QFont regular = ink.font(fontSize), bold = ink.font(fontSize, true);
  double w = least;
  for (const std::vector<PrintCell>& row : rows) {
    const PrintCell& cell = row[static_cast<std::size_t>(col)];
    if (cell.text.isEmpty()) continue;
    double t = ink.width(cell.bold ? bold : regular, cell.text) + 2 * padding;
    w = std::max(w, t);
  }
  widths[static_cast<std::size_t>(col)] = std::min(w, most);
}

std::vector<TablePage> PrintTable::paginate(QSizeF area) const {
  // The columns beside the repeated ones, cut into parts that fit across.
  double repeated = 0;
  for (int c = 0; c < repeatedCols && c < cols(); ++c) repeated += widths[static_cast<std::size_t>(c)];
  const double across = area.width() - repeated + kSlack;
  std::vector<std::pair<int, int>> parts;
  for (int c = std::min(repeatedCols, cols()); c < cols();) {
    int end = c;
    double w = 0;
    while (end < cols() && (end == c || w + widths[static_cast<std::size_t>(end)] <= across))
      w += widths[static_cast<std::size_t>(end++)];
    parts.emplace_back(c, end);
    c = end;
  }
  if (parts.empty()) parts.emplace_back(cols(), cols());

  const int body = std::max(0, static_cast<int>(rows.size()) - titleRows);
  const int perPage =
      std::max(1, static_cast<int>(std::floor((area.height() - titleRows * rowHeight + kSlack) / rowHeight)));
  std::vector<TablePage> pages;
  for (int first = 0; first < std::max(body, 1); first += perPage)
    for (const auto& [from, to] : parts)
      pages.push_back({titleRows + first, titleRows + std::min(body, first + perPage), from, to});
  return pages;
}

std::vector<int> PrintTable::shownCols(const TablePage& p) const {
  std::vector<int> out;
  for (int c = 0; c < std::min(repeatedCols, cols()); ++c) out.push_back(c);
  for (int c = p.firstCol; c < p.endCol; ++c) out.push_back(c);
  return out;
}

std::vector<int> PrintTable::shownRows(const TablePage& p) const {
  std::vector<int> out;
  for (int r = 0; r < std::min(titleRows, static_cast<int>(rows.size())); ++r) out.push_back(r);
  for (int r = p.firstRow; r < p.endRow; ++r) out.push_back(r);
  return out;
}

QRectF PrintTable::cellRect(const TablePage& p, int col, int row) const {
  const std::vector<int> cs = shownCols(p), rs = shownRows(p);
  const auto ci = std::find(cs.begin(), cs.end(), col);
  const auto ri = std::find(rs.begin(), rs.end(), row);
  if (ci == cs.end() || ri == rs.end()) return {};
  double x = 0;
  for (auto it = cs.begin(); it != ci; ++it) x += widths[static_cast<std::size_t>(*it)];
  return {x, (ri - rs.begin()) * rowHeight, widths[static_cast<std::size_t>(col)], rowHeight};
}

void PrintTable::paint(const Ink& ink, const TablePage& p, QPointF at) const {
  const std::vector<int> cs = shownCols(p), rs = shownRows(p);
  std::vector<double> xs{at.x()};
  for (int c : cs) xs.push_back(xs.back() + widths[static_cast<std::size_t>(c)]);
  const QFont regular = ink.font(fontSize), bold = ink.font(fontSize, true);

  for (std::size_t i = 0; i < rs.size(); ++i) {
    const std::vector<PrintCell>& row = rows[static_cast<std::size_t>(rs[i])];
    const double y = at.y() + static_cast<double>(i) * rowHeight;
    // Backgrounds: neighbours of one colour as one rectangle.
    for (std::size_t j = 0; j < cs.size();) {
      const QColor bg = row[static_cast<std::size_t>(cs[j])].background;
      std::size_t k = j + 1;
      while (k < cs.size() && row[static_cast<std::size_t>(cs[k])].background == bg) ++k;
      if (bg.isValid() && bg != Qt::white) ink.fill(QRectF(xs[j], y, xs[k] - xs[j], rowHeight), bg);
      j = k;
    }
    for (std::size_t j = 0; j < cs.size(); ++j) {
      const PrintCell& cell = row[static_cast<std::size_t>(cs[j])];
      if (cell.text.isEmpty()) continue;
      const QFont& f = cell.bold ? bold : regular;
      ink.text(QRectF(xs[j] + padding, y, xs[j + 1] - xs[j] - 2 * padding, rowHeight), cell.align, cell.text, f,
               cell.color);
    }
  }
  const double top = at.y(), bottom = at.y() + static_cast<double>(rs.size()) * rowHeight;
  for (std::size_t i = 0; i <= rs.size(); ++i) {
    const double y = at.y() + static_cast<double>(i) * rowHeight;
    ink.line(QPointF(xs.front(), y), QPointF(xs.back(), y), i == 0 || i == rs.size() ? 0.6 : 0.25, kLines);
  }
  for (std::size_t j = 0; j < xs.size(); ++j)
    ink.line(QPointF(xs[j], top), QPointF(xs[j], bottom), j == 0 || j + 1 == xs.size() ? 0.6 : 0.25, kLines);
}

}  // namespace vekla
