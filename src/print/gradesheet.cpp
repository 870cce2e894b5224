#include "print/gradesheet.h"

#include "convert/exportview.h"
#include "pdb/text.h"
#include "workspace/classfigures.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

const QColor kTitleBackground(0xE4, 0xE4, 0xE4);

// A grade's symbol without the space the plain symbols end in.
QString Symbol(const std::string& text) {
  std::string t = text;
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return toQt(t);
}

}  // namespace

GradeSheet::GradeSheet(const VeklaState& s) : PrintDocument(FrameOf(s)) {
  using G = GradeGeometry;
  // Every colour the grid shows, grades in their weight colours, no packing.
  const GradeView v(s, GradeDisplayOptions{});
  const CellGrid& g = v.grid();
  const G& geo = v.geometry();
  gradeCols_ = std::max(0, geo.gradeColumns());
  students_ = std::max(0, geo.students());
  const GradeCodes codes(s);

  const int cols = gradeCols_ + 5;
  table_.widths.assign(static_cast<std::size_t>(cols), 0);
  table_.titleRows = 2;
  table_.repeatedCols = 2;

  // The grid's columns in the table's order, and the grid's rows.
  std::vector<int> gridCols{G::kOrderCol, G::kNameCol};
  for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) gridCols.push_back(c);
  for (int c : {geo.averageCol(), geo.deviationCol(), geo.noteCol()}) gridCols.push_back(c);
  std::vector<int> gridRows{0, G::kDateRow};
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) gridRows.push_back(r);
  gridRows.push_back(geo.averageRow());
  gridRows.push_back(geo.deviationRow());

  for (int r : gridRows) {
    std::vector<PrintCell> row;
    row.reserve(static_cast<std::size_t>(cols));
    for (int c : gridCols) {
      const bool statistic = geo.isGradeCol(c) || c == geo.averageCol() || c == geo.deviationCol();
      PrintCell cell;
      cell.align = statistic ? Qt::AlignHCenter : Qt::AlignLeft;
      if (r == 0) {
        cell.text = c == G::kOrderCol ? QStringLiteral("Poř.") : toQt(PlainTitle(g.text(c, 0)));
        cell.background = kTitleBackground;
        cell.bold = true;
      } else {
        cell.background = PaperColor(v.background(c, r));
        cell.color = PaperColor(v.textColor(c, r));
        // The name column names the rows that are not students.
        cell.text = c == G::kNameCol && !geo.isStudentRow(r) ? toQt(g.text(0, r)) : toQt(g.text(c, r));
        cell.bold = statistic && r != G::kDateRow;
        if (geo.isGradeCol(c) && geo.isStudentRow(r)) {
          // A grade carries its weight's mark; a text that is no grade of the
          // scale, or in no weight's colour, counts for nothing and has none.
          cell.text = Symbol(g.text(c, r));
          cell.color = PaperColor(v.gradeColor(c, r));
          if (codes(g.text(c, r)) > 0) cell.text += Ink::WeightMark(WeightNumber(s, g.fontColor(c, r)));
        }
      }
      row.push_back(std::move(cell));
    }
    table_.rows.push_back(std::move(row));
  }

  for (int n = 1; n <= 4; ++n) {
    const QColor c = PaperColor(s.weights[static_cast<std::size_t>(n - 1)].color);
    weights_.push_back({c, c, Ink::WeightMark(n) + ' ' + toQt(WeightCaption(s, n))});
  }
  for (int k = 0; k <= 5; ++k) {
    const QColor bg = k < 5 ? PaperColor(s.znamky2.brush(k, 0)) : QColor(Qt::black);
    const QColor fg = k < 5 ? PaperColor(s.znamky2.fontColor(k, 0)) : QColor(Qt::white);
    bands_.push_back({bg, fg, toQt(BandCaption(s, k))});
  }
}

int GradeSheet::tableCol(int gridCol) const {
  if (gridCol == GradeGeometry::kOrderCol) return 0;
  if (gridCol == GradeGeometry::kNameCol) return 1;
  if (gridCol >= GradeGeometry::kFirstGradeCol && gridCol < GradeGeometry::kFirstGradeCol + gradeCols_ + 3)
    return gridCol - GradeGeometry::kFirstGradeCol + 2;
  return -1;
}

int GradeSheet::tableRow(int gridRow) const {
  if (gridRow == 0) return 0;
  if (gridRow == GradeGeometry::kDateRow) return 1;
  // The students, then the averages and the deviations.
  const int r = gridRow - GradeGeometry::kFirstStudentRow;
  if (r >= 0 && r < students_ + 2) return 2 + r;
  return -1;
}

void GradeSheet::layout(const Ink& ink) {
  const int cols = table_.cols();
  table_.fitWidth(ink, 0, 14, 40);
  table_.fitWidth(ink, 1, 40, 150);
  for (int c = 2; c < 2 + gradeCols_; ++c) table_.fitWidth(ink, c, 16, 60);
  for (int c = 2 + gradeCols_; c < cols - 1; ++c) table_.fitWidth(ink, c, 26, 60);
  table_.fitWidth(ink, cols - 1, 40, 160);
  // Upright when the whole sheet fits across an upright page: it takes more
  // students a page; otherwise across the page.
  orientation_ =
      table_.width() <= contentSize(QPageLayout::Portrait).width() ? QPageLayout::Portrait : QPageLayout::Landscape;
  pages_ = table_.paginate(contentSize(orientation_));
}

void GradeSheet::paintPage(const Ink& ink, int page, const QRectF& area) const {
  table_.paint(ink, pages_[static_cast<std::size_t>(page)], area.topLeft());
}

void GradeSheet::paintLegend(const Ink& ink, const QRectF& area) const {
  // The weights, then the bands, in letters as large as fit the width; the
  // bands go when even the smallest letters leave no room for them.
  auto draw = [&](double size, bool bands, bool paint) {
    const QFont f = ink.font(size), b = ink.font(size, true);
    const double y = area.top() + 4, h = size + 2, baseline = y + size;
    double x = area.left();
    auto label = [&](const QString& t) {
      if (paint) ink.text(QPointF(x, baseline), t, b, Qt::black);
      x += ink.width(b, t) + 4;
    };
    label(QStringLiteral("Váhy:"));
    for (const LegendEntry& e : weights_) {
      if (paint) {
        ink.fill(QRectF(x, y, h, h), e.background);
        ink.text(QPointF(x + h + 2, baseline), e.caption, f, Qt::black);
      }
      x += h + 2 + ink.width(f, e.caption) + 8;
    }
    if (!bands) return x;
    x += 6;
    label(QStringLiteral("Průměry:"));
    for (const LegendEntry& e : bands_) {
      const double w = ink.width(f, e.caption) + 6;
      if (paint) {
        ink.fill(QRectF(x, y - 0.5, w, h + 1), e.background);
        ink.text(QRectF(x, y - 0.5, w, h + 1), Qt::AlignHCenter, e.caption, f, e.color);
      }
      x += w + 2;
    }
    return x;
  };
  for (const double size : {7.0, 6.0})
    if (draw(size, true, false) <= area.right()) {
      draw(size, true, true);
      return;
    }
  draw(6, false, true);
}

std::vector<GradeSheet::Place> GradeSheet::placesOf(int gridCol, int gridRow) const {
  std::vector<Place> out;
  const int c = tableCol(gridCol), r = tableRow(gridRow);
  if (c < 0 || r < 0) return out;
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    const QRectF rect = table_.cellRect(pages_[p], c, r);
    if (!rect.isEmpty()) out.push_back({static_cast<int>(p), rect.translated(0, kHeaderHeight)});
  }
  return out;
}

}  // namespace vekla
