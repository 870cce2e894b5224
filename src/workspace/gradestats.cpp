#include "workspace/gradestats.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "workspace/gradegeometry.h"

namespace vekla {

namespace {

constexpr Color kOddRowBackground = rgbHex(0xEFFFFF);

// A decimal-comma number as the grade panel holds it ("1,50", "2", "-0,5";
// a decimal point is accepted too). Anything else reads as 0, so a stray
// text in a value, weight or band never stops the computation.
long double ParseNumber(const std::string& text) {
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // All digits into one whole number, divided once by the power of ten of
  // the decimals: "1,3" is then exactly the nearest number to 1.3.
  long double mantissa = 0, scale = 1;
  bool digits = false, sep = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      mantissa = mantissa * 10 + (c - '0');
      if (sep) scale *= 10;
    } else if ((c == ',' || c == '.') && !sep) {
      sep = true;
    } else {
      return 0;
    }
  }
  if (!digits) return 0;
  const long double v = mantissa / scale;
  return negative ? -v : v;
}

// What one main-grid cell contributes to the sums: its value and weight,
// or nothing.
struct Counted {
  long double v = 0;
  long double w = 0;
  bool counts = false;
};

struct Sums {
  long double w = 0;
  long double s = 0;
};

// The symbols, values and weights of one computation, looked up by a cell's
// text and colour.
class Scale {
 public:
  explicit Scale(const VeklaState& s) : codes_(s) {
    for (int code = 1; code <= 20; ++code)
      values_[static_cast<std::size_t>(code)] = ParseNumber(s.znamky.text(code, 1));
    for (int n = 1; n <= 4; ++n)
      weights_[static_cast<std::size_t>(n)] = ParseNumber(s.weights[static_cast<std::size_t>(n - 1)].text);
    for (int n = 1; n <= 4; ++n)
      colours_[static_cast<std::size_t>(n)] = resolveColor(s.weights[static_cast<std::size_t>(n - 1)].color);
  }

  // A cell as its grade code and weight number, 0 when it counts for nothing.
  struct Grade {
    std::uint8_t code = 0, weight = 0;
  };
  Grade grade(const Cell& cell) const {
    const int code = codes_(cell.text);
    if (code < 1) return {};
    const int n = weightNumber(cell.font);
    if (n < 1) return {};
    return {static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(n)};
  }
  Counted count(Grade g) const {
    if (g.weight == 0) return {};
    return {values_[g.code], weights_[g.weight], true};
  }
  Counted count(const Cell& cell) const { return count(grade(cell)); }

 private:
  int weightNumber(Color c) const {
    const Color wanted = resolveColor(c);
    for (int n = 1; n <= 4; ++n)
      if (colours_[static_cast<std::size_t>(n)] == wanted) return n;
    return 0;
  }

  GradeCodes codes_;
  std::array<long double, 21> values_{};
  std::array<long double, 5> weights_{};
  std::array<Color, 5> colours_{};
};

// Weighted average and weighted population deviation of a run of cells,
// summed in the order `each` gives them.
struct RunStatistics {
  bool averaged = false;
  long double average = 0;
  bool deviated = false;
  long double deviation = 0;
};

template <class Each>
RunStatistics Summarise(const Each& each) {
  Sums sum;
  each([&](const Counted& x) {
    sum.w += x.w;
    sum.s += x.w * x.v;
  });
  RunStatistics r;
  r.averaged = sum.w > 0;
  r.average = r.averaged ? sum.s / sum.w : 0.0L;
  long double q = 0, w = 0;
  each([&](const Counted& x) {
    w += x.w;
    q += x.w * (x.v - r.average) * (x.v - r.average);
  });
  r.deviated = w > 0;
  r.deviation = r.deviated ? std::sqrt(q / w) : 0.0L;
  return r;
}

void ShowStudent(VeklaState& s, const GradeGeometry& geo, int row, const RunStatistics& r) {
  s.grid.setText(geo.averageCol(), row, r.averaged ? FormatStat(r.average) : std::string());
  ColourResult(s, row, geo.averageCol(), 1, r.average);
  s.grid.setText(geo.deviationCol(), row, r.deviated ? FormatStat(r.deviation) : std::string());
}

void ShowColumn(VeklaState& s, const GradeGeometry& geo, int col, const RunStatistics& r) {
  s.grid.setText(col, geo.averageRow(), r.averaged ? FormatStat(r.average) : std::string());
  ColourResult(s, geo.averageRow(), col, 2, r.average);
  s.grid.setText(col, geo.deviationRow(), r.deviated ? FormatStat(r.deviation) : std::string());
}

// The class average is the plain mean of the students' averages as shown.
void ShowClass(VeklaState& s, const GradeGeometry& geo) {
  CellGrid& g = s.grid;
  long double total = 0;
  int count = 0;
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    const std::string& t = g.text(geo.averageCol(), r);
    if (t.empty()) continue;
    total += ParseNumber(t);
    ++count;
  }
  const long double classAverage = count > 0 ? total / count : 0.0L;
  g.setText(geo.averageCol(), geo.averageRow(), count > 0 ? FormatStat(classAverage) : std::string());
  ColourResult(s, geo.averageRow(), geo.averageCol(), 3, classAverage);
}

// Every student, every column, the class.
void ComputeAll(VeklaState& s, const Scale& scale) {
  const CellGrid& g = s.grid;
  const GradeGeometry geo(g);
  const int firstRow = GradeGeometry::kFirstStudentRow, lastRow = geo.lastStudentRow();
  const int firstCol = GradeGeometry::kFirstGradeCol, lastCol = geo.lastGradeCol();

  // Every grade cell is read once: the statistics cells written below lie
  // outside the grade block, so the sums see the same cells either way.
  const int rows = lastRow >= firstRow ? lastRow - firstRow + 1 : 0;
  const int cols = lastCol >= firstCol ? lastCol - firstCol + 1 : 0;
  std::vector<Scale::Grade> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  auto at = [&](int c, int r) -> Scale::Grade& {
    return cells[static_cast<std::size_t>(r - firstRow) * static_cast<std::size_t>(cols) +
                 static_cast<std::size_t>(c - firstCol)];
  };
  for (int r = firstRow; r <= lastRow; ++r)
    for (int c = firstCol; c <= lastCol; ++c) at(c, r) = scale.grade(g.cell(c, r));

  for (int r = firstRow; r <= lastRow; ++r)
    ShowStudent(s, geo, r, Summarise([&](const auto& f) {
                  for (int c = firstCol; c <= lastCol; ++c)
                    if (const Counted x = scale.count(at(c, r)); x.counts) f(x);
                }));
  for (int c = firstCol; c <= lastCol; ++c)
    ShowColumn(s, geo, c, Summarise([&](const auto& f) {
                 for (int r = firstRow; r <= lastRow; ++r)
                   if (const Counted x = scale.count(at(c, r)); x.counts) f(x);
               }));
  ShowClass(s, geo);
}

// The statistics the cells written since the last computation can change:
// a grade (or a student's result cell) changes its student's row, a grade
// (or a column's result cell) its column, and the class average is always
// computed again. Each is computed as ComputeAll computes it, and ComputeAll
// writes no cell that another of its steps reads or writes, so the outcome is
// the same. False, with nothing written, when the cells written since are not
// known or are too many to be worth it.
bool ComputeChanged(VeklaState& s, const Scale& scale) {
  const VeklaState::StatisticsBasis& basis = s.statisticsBasis;
  if (!basis.valid || basis.symbols != s.znamky.mark() || basis.bands != s.znamky2.mark() || basis.weights != s.weights)
    return false;
  const CellGrid& g = s.grid;
  const std::optional<std::span<const CellPos>> written = g.writtenSince(basis.grid);
  if (!written) return false;
  const GradeGeometry geo(g);
  std::vector<int> rows, cols;
  for (const CellPos p : *written) {
    const bool student = geo.isStudentRow(p.row), grade = geo.isGradeCol(p.col);
    if (student &&
        (grade || p.col == geo.averageCol() || p.col == geo.deviationCol() || p.col == GradeGeometry::kOrderCol))
      rows.push_back(p.row);
    if (grade && (student || p.row == geo.averageRow() || p.row == geo.deviationRow())) cols.push_back(p.col);
  }
  for (auto* v : {&rows, &cols}) {
    std::sort(v->begin(), v->end());
    v->erase(std::unique(v->begin(), v->end()), v->end());
  }
  constexpr std::size_t kWorthIt = 32;
  if (rows.size() + cols.size() > kWorthIt) return false;

  const int firstRow = GradeGeometry::kFirstStudentRow, lastRow = geo.lastStudentRow();
  const int firstCol = GradeGeometry::kFirstGradeCol, lastCol = geo.lastGradeCol();
  for (int r : rows)
    ShowStudent(s, geo, r, Summarise([&](const auto& f) {
                  for (int c = firstCol; c <= lastCol; ++c)
                    if (const Counted x = scale.count(g.cell(c, r)); x.counts) f(x);
                }));
  for (int c : cols) {
    std::vector<Counted> column;
    column.reserve(static_cast<std::size_t>(std::max(0, lastRow - firstRow + 1)));
    for (int r = firstRow; r <= lastRow; ++r)
      if (const Counted x = scale.count(g.cell(c, r)); x.counts) column.push_back(x);
    ShowColumn(s, geo, c, Summarise([&](const auto& f) {
                 for (const Counted& x : column) f(x);
               }));
  }
  ShowClass(s, geo);
  return true;
}

}  // namespace

long double ParseGradeNumber(const std::string& text) { return ParseNumber(text); }

std::string FormatStat(long double v) {
  // Fixed notation, three decimals, rounded first to five significant digits
  // (so 123,4567 shows as 123,460), halves away from zero.
  const bool negative = v < 0;
  long double a = negative ? -v : v;
  if (!std::isfinite(a)) a = 0;
  int intDigits = 1;
  for (long double t = 10; t <= a; t *= 10) ++intDigits;
  // Decimals kept after rounding; negative for a number of more than five
  // whole digits, whose last whole digits then show as zeros.
  const int kept = intDigits > 2 ? 5 - intDigits : 3;
  long double scaled = a;
  for (int i = 0; i < kept; ++i) scaled *= 10;
  for (int i = kept; i < 0; ++i) scaled /= 10;
  // At most six digits here, so the whole number always fits.
  const std::uint64_t rounded = static_cast<std::uint64_t>(std::floor(scaled + 0.5L));
  std::string digits = std::to_string(rounded);
  digits.append(static_cast<std::size_t>(3 - kept), '0');
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  std::string out = negative && rounded != 0 ? "-" : "";
  out.append(digits, 0, digits.size() - 3);
  out += ',';
  out.append(digits, digits.size() - 3, 3);
  return out;
}

int GradeCode(const VeklaState& s, const std::string& text) {
  if (text.empty()) return 0;
  for (int c = 1; c <= 20; ++c)
    if (s.znamky.text(c, 0) == text) return c;
  return 0;
}

std::uint64_t GradeCodes::key(std::string_view text) {
  std::uint64_t k = static_cast<std::uint64_t>(text.size()) << 56;
  for (std::size_t i = 0; i < text.size(); ++i) k |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  return k;
}

void PadGradeSymbols(CellGrid& znamky) {
  for (int c = 1; c <= 20; ++c)
    if (const std::string& t = znamky.text(c, 0); t.size() == 1) znamky.setText(c, 0, t + ' ');
}

GradeCodes::GradeCodes(const CellGrid& znamky) {
  // Searched from 1 to 20: the first of two equal symbols is found.
  for (int c = 1; c <= 20; ++c) {
    const std::string& t = znamky.text(c, 0);
    if (t.empty()) continue;
    if (t.size() >= 8) {
      longer_.emplace_back(t, c);
      continue;
    }
    const std::uint64_t k = key(t);
    std::size_t i = slot(k);
    while (keys_[i] != 0 && keys_[i] != k) i = (i + 1) % keys_.size();
    if (keys_[i] == k) continue;
    keys_[i] = k;
    codes_[i] = static_cast<std::uint8_t>(c);
  }
}

int GradeCodes::operator()(const std::string& text) const {
  if (text.empty()) return 0;
  if (text.size() < 8) {
    const std::uint64_t k = key(text);
    for (std::size_t i = slot(k);; i = (i + 1) % keys_.size()) {
      if (keys_[i] == k) return codes_[i];
      if (keys_[i] == 0) return 0;
    }
  }
  for (const auto& [symbol, code] : longer_)
    if (symbol == text) return code;
  return 0;
}

int WeightNumber(const VeklaState& s, Color c) {
  const Color wanted = resolveColor(c);
  for (int n = 1; n <= 4; ++n)
    if (resolveColor(s.weights[static_cast<std::size_t>(n - 1)].color) == wanted) return n;
  return 0;
}

bool GiveCurrentWeight(VeklaState& s, CellPos at) {
  if (s.weightDown < 1 || s.weightDown > 4) return false;
  const Color weight = s.weights[static_cast<std::size_t>(s.weightDown - 1)].color;
  if (s.grid.fontColor(at.col, at.row) == weight) return false;
  s.grid.setFontColor(at.col, at.row, weight);
  return true;
}

void ColourResult(VeklaState& s, int row, int col, int mode, long double value) {
  CellGrid& g = s.grid;
  Color background, text;
  if (value > s.bands[4]) {
    background = kBlack;
    text = kWhite;
  } else if (value == 0) {
    background = row % 2 != 0 ? kOddRowBackground : kWhite;
    text = kBlack;
  } else {
    int k = 0;
    while (k < 4 && !(s.bands[static_cast<std::size_t>(k)] >= value)) ++k;
    background = s.znamky2.brush(k, 0);
    text = s.znamky2.fontColor(k, 0);
  }
  g.setColors(col, row, background, text);
  switch (mode) {
    case 1:
      g.setColors(col + 1, row, background, text);
      g.setColors(1, row, background, text);
      break;
    case 2: g.setColors(col, row + 1, background, text); break;
    case 3:
      for (auto [c, r] : {std::pair{col, row + 1}, std::pair{col + 1, row + 1}, std::pair{col + 1, row}}) {
        g.setColors(c, r, background, text);
        g.setText(c, r, std::string());
      }
      break;
    default: break;
  }
}

void ComputeStatistics(VeklaState& s) {
  for (int k = 0; k < 5; ++k) s.bands[static_cast<std::size_t>(k)] = ParseNumber(s.znamky2.text(k, 0));
  const Scale scale(s);
  if (!ComputeChanged(s, scale)) ComputeAll(s, scale);
  s.statisticsBasis = {true, s.grid.mark(), s.znamky.mark(), s.znamky2.mark(), s.weights};
  s.grid.autoSizeColumns();
}

void SelectBandCell(VeklaState& s, int col, int row) {
  s.selValueCol = col;
  s.selValueRow = row;
  s.znamky2.selectedCellColor = s.znamky2.brush(col, row);
  s.znamky2.selectedFontColor = s.znamky2.fontColor(col, row);
}

}  // namespace vekla
