#include "workspace/cellgrid.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace vekla {

const Cell& CellGrid::defaultCell() {
  static const Cell c;
  return c;
}

namespace {
constexpr int kDefaultWidth = 64;

// The estimate from the character count, where no fonts are at hand.
int EstimatedWidth(const Cell& c) { return static_cast<int>(c.text.size()) * (c.size + (c.bold ? 1 : 0)) * 3 / 4 + 8; }
std::function<int(const Cell&)>& widthMeasure() {
  static std::function<int(const Cell&)> m = EstimatedWidth;
  return m;
}
// Counts the measures installed, so a grid knows whether its widths came
// from the current one.
std::uint64_t& measureGeneration() {
  static std::uint64_t n = 1;
  return n;
}
}  // namespace

CellGrid::CellGrid(int cols, int rows, int fixedCols, int fixedRows)
    : cols_(cols), rows_(rows), fixedCols_(fixedCols), fixedRows_(fixedRows) {}

void CellGrid::setColCount(int n) {
  if (std::max(0, n) != cols_) reshaped();
  cols_ = std::max(0, n);
}
void CellGrid::setRowCount(int n) {
  if (std::max(0, n) != rows_) reshaped();
  rows_ = std::max(0, n);
}

Cell& CellGrid::grow(int col, int row) {
  col = std::max(col, 0);
  row = std::max(row, 0);
  noteWrite(col, row);
  if (row >= static_cast<int>(cells_.size())) cells_.resize(static_cast<size_t>(row) + 1);
  auto& r = cells_[static_cast<size_t>(row)];
  if (col >= static_cast<int>(r.size())) {
    // A row takes the grid's width at once instead of doubling cell by cell:
    // nine cells would take room for sixteen, in every row of a long table.
    if (r.capacity() < static_cast<size_t>(cols_)) r.reserve(static_cast<size_t>(cols_));
    r.resize(static_cast<size_t>(col) + 1);
  }
  return r[static_cast<size_t>(col)];
}

void CellGrid::insertRow(int index) {
  index = std::max(index, fixedRows_);
  if (index < static_cast<int>(cells_.size())) cells_.insert(cells_.begin() + index, std::vector<Cell>{});
  ++rows_;
  reshaped();
}

void CellGrid::insertCol(int index) { insertCols(index, 1); }

void CellGrid::insertCols(int index, int count) {
  if (count <= 0) return;
  index = std::max(index, fixedCols_);
  const auto n = static_cast<size_t>(count);
  for (auto& r : cells_)
    if (index < static_cast<int>(r.size())) r.insert(r.begin() + index, n, Cell{});
  if (index < static_cast<int>(widths_.size())) widths_.insert(widths_.begin() + index, n, kDefaultWidth);
  cols_ += count;
  reshaped();
}

void CellGrid::removeRow(int index) {
  if (index < fixedRows_ || index >= rows_ || rows_ - fixedRows_ <= 1) return;
  if (index < static_cast<int>(cells_.size())) cells_.erase(cells_.begin() + index);
  --rows_;
  reshaped();
}

void CellGrid::removeCol(int index) { removeCols(index, 1); }

void CellGrid::removeCols(int index, int count) {
  if (index < fixedCols_ || index >= cols_) return;
  // Never beyond the last column, and one non-fixed column always stays.
  count = std::min({count, cols_ - index, cols_ - fixedCols_ - 1});
  if (count <= 0) return;
  auto eraseFrom = [&](auto& v) {
    const int size = static_cast<int>(v.size());
    if (index < size) v.erase(v.begin() + index, v.begin() + std::min(size, index + count));
  };
  for (auto& r : cells_) eraseFrom(r);
  eraseFrom(widths_);
  cols_ -= count;
  reshaped();
}

const std::function<int(const Cell&)>& CellGrid::textWidthMeasure() { return widthMeasure(); }

void CellGrid::setTextWidthMeasure(std::function<int(const Cell&)> measure) {
  widthMeasure() = measure ? std::move(measure) : EstimatedWidth;
  ++measureGeneration();
}

void CellGrid::autoSizeColumns() {
  if (static_cast<int>(widths_.size()) < cols_) widths_.resize(static_cast<size_t>(cols_), kDefaultWidth);
  if (measuredWith_ != measureGeneration()) {
    measured_.clear();
    measuredWith_ = measureGeneration();
  }
  measured_.resize(static_cast<size_t>(cols_), kUnmeasured);
  std::vector<size_t> stale;
  for (size_t c = 0; c < measured_.size(); ++c)
    if (measured_[c] == kUnmeasured) {
      stale.push_back(c);
      measured_[c] = 0;
    }
  if (!stale.empty()) {
    const auto& measure = textWidthMeasure();
    const size_t rows = std::min(static_cast<size_t>(rows_), cells_.size());
    for (size_t r = 0; r < rows; ++r) {
      const auto& row = cells_[r];
      for (size_t c : stale)
        if (c < row.size() && !row[c].text.empty()) measured_[c] = std::max(measured_[c], measure(row[c]));
    }
  }
  for (int c = cols_ - 1; c >= 0; --c)
    widths_[static_cast<size_t>(c)] = std::max(measured_[static_cast<size_t>(c)], 16);
}

std::optional<std::span<const CellPos>> CellGrid::writtenSince(Mark m) const {
  if (m.log != writes_.id || m.count < writes_.listedFrom || m.count > writes_.count) return std::nullopt;
  return std::span<const CellPos>(writes_.cells).subspan(static_cast<size_t>(m.count - writes_.listedFrom));
}

std::uint64_t CellGrid::WriteLog::newId() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

void CellGrid::autoSizeColumn(int col) {
  if (col < 0 || col >= cols_) return;
  const auto& measure = textWidthMeasure();
  int w = 0;
  const int rows = std::min(rows_, static_cast<int>(cells_.size()));
  for (int r = 0; r < rows; ++r) {
    const auto& row = cells_[static_cast<size_t>(r)];
    if (col < static_cast<int>(row.size()) && !row[static_cast<size_t>(col)].text.empty())
      w = std::max(w, measure(row[static_cast<size_t>(col)]));
  }
  if (measuredWith_ == measureGeneration() && col < static_cast<int>(measured_.size()))
    measured_[static_cast<size_t>(col)] = w;
  setColWidth(col, std::max(w, 16));
}

std::vector<Cell> CellGrid::takeRow(int row) {
  if (row < 0 || row >= static_cast<int>(cells_.size())) return {};
  reshaped();
  return std::exchange(cells_[static_cast<size_t>(row)], {});
}

void CellGrid::putRow(int row, std::vector<Cell> cells) {
  if (row < 0) return;
  reshaped();
  if (row >= static_cast<int>(cells_.size())) cells_.resize(static_cast<size_t>(row) + 1);
  cells_[static_cast<size_t>(row)] = std::move(cells);
}

int CellGrid::colWidth(int col) const {
  return col >= 0 && col < static_cast<int>(widths_.size()) ? widths_[static_cast<size_t>(col)] : kDefaultWidth;
}

void CellGrid::setColWidth(int col, int width) {
  if (col < 0) return;
  if (col >= static_cast<int>(widths_.size())) widths_.resize(static_cast<size_t>(col) + 1, kDefaultWidth);
  widths_[static_cast<size_t>(col)] = width;
}

void CellGrid::clearStore() {
  cells_.clear();
  widths_.clear();
  reshaped();
}

}  // namespace vekla
