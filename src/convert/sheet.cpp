#include "convert/sheet.h"

#include <algorithm>
#include <charconv>

#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// The most rows and columns of a sheet the exports make; a call beyond them
// is a fault of the export, not a reason to allocate without bound.
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxCols = 16384;
// The widest column a fit makes, in characters: 255 with the column's
// margins (5 pixels, a character being 7), the most a spreadsheet keeps.
constexpr double kMaxFittedWidth = 255 - 5.0 / 7;
// The width of a column not fitted, in characters, and the height of a row
// of the standard font, in points.
constexpr double kStandardColumnWidth = 8.43;
constexpr double kStandardRowHeight = 15;

void CheckCell(int row, int col) {
  if (row < 1 || col < 1 || row > kMaxRows || col > kMaxCols)
    throw VeklaError("Buňka listu mimo rozsah: " + std::to_string(row) + ", " + std::to_string(col) + ".");
}

SheetArea Normalised(SheetArea a) {
  if (a.row1 > a.row2) std::swap(a.row1, a.row2);
  if (a.col1 > a.col2) std::swap(a.col1, a.col2);
  CheckCell(a.row1, a.col1);
  CheckCell(a.row2, a.col2);
  return a;
}

bool Overlap(const SheetArea& a, const SheetArea& b) {
  return a.row1 <= b.row2 && b.row1 <= a.row2 && a.col1 <= b.col2 && b.col1 <= a.col2;
}

// How many characters a cell shows, for the width of its column: a number
// under the three-decimals format with its three decimals, the same in
// every locale.
std::size_t ShownLength(const SheetCell& c) {
  if (c.format == NumberFormat::ThreeDigits && !c.value.empty()) {
    const char* end = c.value.data() + c.value.size();
    double v = 0;
    const auto [ptr, ec] = std::from_chars(c.value.data(), end, v);
    if (ec == std::errc() && ptr == end) {
      char buf[400];
      const auto shown = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
      if (shown.ec == std::errc()) return static_cast<std::size_t>(shown.ptr - buf);
    }
  }
  return c.value.size();
}

const SheetCell kEmpty{};

}  // namespace

NumberFormat NumberFormatFromCode(std::string_view code) {
  if (code == "General") return NumberFormat::General;
  if (code == "@") return NumberFormat::Text;
  if (code == "0,000") return NumberFormat::ThreeDigits;
  if (code == "d/m;@") return NumberFormat::DayMonth;
  throw VeklaError("Neznámý formát čísla: " + std::string(code) + ".");
}

// ---------------------------------------------------------------- ranges

template <class F>
SheetRange& SheetRange::each(F&& f) {
  for (int r = area_.row1; r <= area_.row2; ++r)
    for (int c = area_.col1; c <= area_.col2; ++c) f(sheet_->at(r, c));
  return *this;
}

SheetRange& SheetRange::Value(std::string text) {
  return each([&](SheetCell& c) { c.value = text; });
}
SheetRange& SheetRange::NumberFormat(std::string_view code) {
  const vekla::NumberFormat f = NumberFormatFromCode(code);
  return each([&](SheetCell& c) { c.format = f; });
}
SheetRange& SheetRange::InteriorColor(Color color) {
  return each([&](SheetCell& c) {
    c.hasInterior = true;
    c.interior = resolveColor(color);
  });
}
SheetRange& SheetRange::FontColor(Color color) {
  return each([&](SheetCell& c) { c.fontColor = resolveColor(color); });
}
SheetRange& SheetRange::FontBold(bool bold) {
  return each([&](SheetCell& c) { c.bold = bold; });
}
SheetRange& SheetRange::FontSize(int points) {
  const auto size = static_cast<std::uint8_t>(std::clamp(points, 1, 255));
  return each([&](SheetCell& c) { c.fontSize = size; });
}
SheetRange& SheetRange::HorizontalAlignment(int code) {
  const auto a = static_cast<std::uint8_t>(std::clamp(code, 1, 4));
  return each([&](SheetCell& c) { c.horizontal = a; });
}
SheetRange& SheetRange::VerticalAlignment(int code) {
  const auto a = static_cast<std::uint8_t>(std::clamp(code, 1, 3));
  return each([&](SheetCell& c) { c.vertical = a; });
}

SheetRange& SheetRange::Borders(int index, int lineStyle, int weight, int colorIndex) {
  SheetBorder b;
  b.lineStyle = static_cast<std::uint8_t>(std::clamp(lineStyle, 0, 3));
  b.weight = static_cast<std::uint8_t>(std::clamp(weight, 0, 7));
  b.colorIndex = static_cast<std::uint8_t>(std::clamp(colorIndex, 0, 7));
  return each([&](SheetCell& c) {
    switch (index) {
      case 1: c.left = b; break;
      case 2: c.right = b; break;
      case 3: c.top = b; break;
      case 4: c.bottom = b; break;
      default: break;
    }
  });
}

SheetRange& SheetRange::MergeCells() {
  if (area_.rows() == 1 && area_.cols() == 1) return *this;
  // The merged cell shows the first value and, when that value came from
  // another cell, that cell's letters, so that a white number written on a
  // dark background stays readable.
  const SheetCell* from = nullptr;
  for (int r = area_.row1; r <= area_.row2 && !from; ++r)
    for (int c = area_.col1; c <= area_.col2 && !from; ++c)
      if (!sheet_->cell(r, c).value.empty()) from = &sheet_->cell(r, c);
  std::string kept = from ? from->value : std::string();
  const SheetCell letters = from ? *from : sheet_->cell(area_.row1, area_.col1);
  each([](SheetCell& c) { c.value.clear(); });
  SheetCell& first = sheet_->at(area_.row1, area_.col1);
  first.value = std::move(kept);
  first.fontColor = letters.fontColor;
  first.bold = letters.bold;
  // A merge over older ones replaces them.
  auto& merges = sheet_->merges_;
  merges.erase(std::remove_if(merges.begin(), merges.end(), [&](const SheetArea& m) { return Overlap(m, area_); }),
               merges.end());
  merges.push_back(area_);
  return *this;
}

SheetRange& SheetRange::Select() {
  sheet_->selection_ = area_;
  sheet_->selectionRows_ = wholeRows_;
  return *this;
}

void SheetRange::Delete(SheetShift shift) {
  if (shift == SheetShift::Either) shift = area_.rows() >= area_.cols() ? SheetShift::ToLeft : SheetShift::Up;
  if (wholeRows_) sheet_->deleteRows(area_.row1, area_.row2);
  else if (shift == SheetShift::ToLeft) sheet_->deleteShiftLeft(area_);
  else sheet_->deleteShiftUp(area_);
}

void SheetRange::AutoFitColumns() { sheet_->fit(area_); }

// ---------------------------------------------------------------- sheet

SheetRange Sheet::Range(int row1, int col1, int row2, int col2) {
  return SheetRange(*this, Normalised({row1, col1, row2, col2}));
}

SheetRange Sheet::Range(std::string_view a, std::string_view b) {
  const SheetArea from = Address(a), to = Address(b);
  return Range(from.row1, from.col1, to.row1, to.col1);
}

SheetRange Sheet::Rows(std::string_view span) {
  const std::size_t colon = span.find(':');
  auto number = [](std::string_view t) {
    if (t.empty() || t.size() > 7 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
      throw VeklaError("Neplatné řádky listu: " + std::string(t) + ".");
    int n = 0;
    std::from_chars(t.data(), t.data() + t.size(), n);
    return n;
  };
  const int first = number(span.substr(0, colon));
  const int last = colon == std::string_view::npos ? first : number(span.substr(colon + 1));
  SheetArea a = Normalised({first, 1, last, 1});
  a.col2 = std::max(cols_, 1);
  return SheetRange(*this, a, true);
}

SheetArea Sheet::Address(std::string_view a) {
  int col = 0, row = 0;
  std::size_t i = 0;
  for (; i < a.size() && col <= kMaxCols; ++i) {
    char ch = a[i];
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch < 'A' || ch > 'Z') break;
    col = col * 26 + (ch - 'A' + 1);
  }
  for (; i < a.size() && row <= kMaxRows; ++i) {
    if (a[i] < '0' || a[i] > '9') throw VeklaError("Neplatná adresa buňky: " + std::string(a) + ".");
    row = row * 10 + (a[i] - '0');
  }
  CheckCell(row, col);
  return {row, col, row, col};
}

const SheetCell& Sheet::cell(int row, int col) const {
  if (row < 1 || row > rowCount()) return kEmpty;
  const auto& cells = rows_[static_cast<std::size_t>(row - 1)];
  if (col < 1 || col > static_cast<int>(cells.size())) return kEmpty;
  return cells[static_cast<std::size_t>(col - 1)];
}

SheetCell& Sheet::at(int row, int col) {
  CheckCell(row, col);
  if (row > rowCount()) rows_.resize(static_cast<std::size_t>(row));
  auto& cells = rows_[static_cast<std::size_t>(row - 1)];
  if (col > static_cast<int>(cells.size())) cells.resize(static_cast<std::size_t>(col));
  cols_ = std::max(cols_, col);
  return cells[static_cast<std::size_t>(col - 1)];
}

void Sheet::releaseRow(int row) {
  if (row >= 1 && row <= rowCount()) std::vector<SheetCell>().swap(rows_[static_cast<std::size_t>(row - 1)]);
}

double Sheet::columnWidth(int col) const {
  return col >= 1 && col <= static_cast<int>(widths_.size()) ? widths_[static_cast<std::size_t>(col - 1)] : 0;
}

double Sheet::rowHeight(int row) const {
  int largest = 11;
  if (row >= 1 && row <= rowCount())
    for (const SheetCell& c : rows_[static_cast<std::size_t>(row - 1)]) largest = std::max<int>(largest, c.fontSize);
  return largest > 11 ? largest * 1.35 : kStandardRowHeight;
}

double Sheet::printedWidth() const {
  // A character of the standard font is 7 pixels, and a column has 5 more
  // for its margins; a pixel is three quarters of a point.
  double pixels = 0;
  for (int c = 1; c <= colCount(); ++c) {
    const double w = columnWidth(c) > 0 ? columnWidth(c) : kStandardColumnWidth;
    pixels += w * 7 + 5;
  }
  return pixels * 0.75;
}

double Sheet::printedHeight() const {
  double points = 0;
  for (int r = 1; r <= rowCount(); ++r) points += rowHeight(r);
  return points;
}

void Sheet::deleteRows(int row1, int row2) {
  const int count = row2 - row1 + 1;
  if (row1 <= rowCount()) rows_.erase(rows_.begin() + (row1 - 1), rows_.begin() + std::min(row2, rowCount()));
  std::vector<SheetArea> kept;
  for (SheetArea m : merges_) {
    if (m.row2 < row1) kept.push_back(m);
    else if (m.row1 > row2) kept.push_back({m.row1 - count, m.col1, m.row2 - count, m.col2});
  }
  merges_ = std::move(kept);
}

void Sheet::deleteShiftLeft(const SheetArea& a) {
  const int count = a.cols();
  for (int r = a.row1; r <= std::min(a.row2, rowCount()); ++r) {
    auto& cells = rows_[static_cast<std::size_t>(r - 1)];
    const int size = static_cast<int>(cells.size());
    if (a.col1 > size) continue;
    cells.erase(cells.begin() + (a.col1 - 1), cells.begin() + std::min(a.col2, size));
  }
  std::vector<SheetArea> kept;
  for (SheetArea m : merges_) {
    const bool sameRows = m.row1 >= a.row1 && m.row2 <= a.row2;
    if (!Overlap(m, a) && !(sameRows && m.col1 > a.col2)) kept.push_back(m);
    else if (sameRows && m.col1 > a.col2) kept.push_back({m.row1, m.col1 - count, m.row2, m.col2 - count});
  }
  merges_ = std::move(kept);
}

void Sheet::deleteShiftUp(const SheetArea& a) {
  const int count = a.rows();
  const int last = rowCount();
  for (int r = a.row1; r <= last; ++r) {
    for (int c = a.col1; c <= a.col2; ++c) {
      const int from = r + count;
      SheetCell moved = from <= last ? cell(from, c) : SheetCell{};
      if (moved == kEmpty && c > static_cast<int>(rows_[static_cast<std::size_t>(r - 1)].size())) continue;
      at(r, c) = std::move(moved);
    }
  }
  std::vector<SheetArea> kept;
  for (SheetArea m : merges_) {
    const bool sameCols = m.col1 >= a.col1 && m.col2 <= a.col2;
    if (!Overlap(m, a) && !(sameCols && m.row1 > a.row2)) kept.push_back(m);
    else if (sameCols && m.row1 > a.row2) kept.push_back({m.row1 - count, m.col1, m.row2 - count, m.col2});
  }
  merges_ = std::move(kept);
}

void Sheet::fit(const SheetArea& a) {
  std::vector<std::uint8_t> merged;  // cells of merges inside the block, by position in it
  merged.assign(static_cast<std::size_t>(a.rows()) * static_cast<std::size_t>(a.cols()), 0);
  for (const SheetArea& m : merges_) {
    // A block merged down one column holds its text within the column's
    // width, so its text counts; a wider merge does not.
    if (!Overlap(m, a) || m.cols() == 1) continue;
    for (int r = std::max(m.row1, a.row1); r <= std::min(m.row2, a.row2); ++r)
      for (int c = std::max(m.col1, a.col1); c <= std::min(m.col2, a.col2); ++c)
        merged[static_cast<std::size_t>(r - a.row1) * static_cast<std::size_t>(a.cols()) +
               static_cast<std::size_t>(c - a.col1)] = 1;
  }
  if (static_cast<int>(widths_.size()) < a.col2) widths_.resize(static_cast<std::size_t>(a.col2), 0);
  for (int c = a.col1; c <= a.col2; ++c) {
    double widest = 0;
    for (int r = a.row1; r <= std::min(a.row2, rowCount()); ++r) {
      if (merged[static_cast<std::size_t>(r - a.row1) * static_cast<std::size_t>(a.cols()) +
                 static_cast<std::size_t>(c - a.col1)])
        continue;
      const SheetCell& sc = cell(r, c);
      if (sc.value.empty()) continue;
      // Characters of the standard 11-point font; larger and bold letters
      // take more room.
      double w = static_cast<double>(ShownLength(sc)) * sc.fontSize / 11.0;
      if (sc.bold) w *= 1.1;
      widest = std::max(widest, w);
    }
    // A column without text keeps the standard width; no column is fitted
    // wider than a spreadsheet keeps.
    widths_[static_cast<std::size_t>(c - 1)] = widest > 0 ? std::min(widest + 1.0, kMaxFittedWidth) : 0;
  }
}

}  // namespace vekla
