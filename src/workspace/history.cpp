#include "workspace/history.h"

#include <algorithm>

#include "workspace/kindparams.h"

namespace vekla {

namespace {

// The most a history keeps: steps beyond either bound are forgotten, the
// oldest first.
constexpr std::size_t kMaxSteps = 500;
constexpr std::size_t kMaxBytes = 64u << 20;

// Whether two grids hold the same shape and the same cells inside it
// (cells kept beyond the counts, which a grid read back from its working
// file does not have, do not count).
bool SameGrid(const CellGrid& a, const CellGrid& b) {
  if (a.colCount() != b.colCount() || a.rowCount() != b.rowCount() || a.fixedCols() != b.fixedCols() ||
      a.fixedRows() != b.fixedRows())
    return false;
  for (int r = 0; r < a.rowCount(); ++r)
    for (int c = 0; c < a.colCount(); ++c)
      if (!(a.cell(c, r) == b.cell(c, r))) return false;
  return true;
}

std::size_t TextBytes(const std::string& t) { return t.capacity() > 15 ? t.capacity() + 1 : 0; }

std::size_t GridBytes(const CellGrid& g) {
  std::size_t n = sizeof(CellGrid);
  for (const auto& row : g.store()) {
    n += row.capacity() * sizeof(Cell);
    for (const Cell& c : row) n += TextBytes(c.text);
  }
  return n;
}

CellPos CurrentOf(const CellGrid& g) { return {g.currentCol, g.currentRow}; }

// Values compared as the history compares them: grids by what they show.
template <class T>
bool SameValue(const T& a, const T& b) {
  return a == b;
}
bool SameValue(const CellGrid& a, const CellGrid& b) { return SameGrid(a, b); }

template <class T>
std::size_t HeapBytes(const T&) {
  return 0;
}
std::size_t HeapBytes(const CellGrid& g) { return GridBytes(g); }

}  // namespace

PanelFields PanelFields::of(const VeklaState& s) {
  PanelFields p;
  std::apply([&](auto... field) { p.values_ = std::tie(s.*field...); }, kPanelFields);
  return p;
}

void PanelFields::applyTo(VeklaState& s) const {
  std::apply([&](auto... field) { std::tie(s.*field...) = values_; }, kPanelFields);
}

bool PanelFields::operator==(const PanelFields& o) const {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return (SameValue(std::get<I>(values_), std::get<I>(o.values_)) && ...);
  }
  (std::make_index_sequence<std::tuple_size_v<Values>>());
}

std::size_t PanelFields::heapBytes() const {
  return std::apply([](const auto&... value) { return (HeapBytes(value) + ...); }, values_);
}

void EditHistory::reset(const VeklaState& s) {
  started_ = true;
  steps_.clear();
  done_ = 0;
  saved_ = HasUnsavedEdits(s) ? std::nullopt : std::optional<std::size_t>(0);
  stepBytes_ = 0;
  grid_ = s.grid;
  gridBytes_ = GridBytes(grid_);
  mark_ = s.grid.mark();
  panels_ = PanelFields::of(s);
  // Only a kind with semesters keeps a semester store.
  storeLoaded_ = Params(s.kind).semesterStore;
  store_ = storeLoaded_ ? s.gradesIni : IniFile();
  storeRevision_ = s.gradesIni.revision();
  current_ = CurrentOf(s.grid);
}

bool EditHistory::resume(const VeklaState& s) {
  if (!started_ || !SameGrid(grid_, s.grid) || !(panels_ == PanelFields::of(s))) return false;
  absorb(s);
  return true;
}

void EditHistory::absorb(const VeklaState& s) {
  if (!SameGrid(grid_, s.grid)) {
    grid_ = s.grid;
    gridBytes_ = GridBytes(grid_);
  }
  mark_ = s.grid.mark();
  panels_ = PanelFields::of(s);
  if (storeLoaded_ && s.gradesIni.revision() != storeRevision_) {
    store_ = s.gradesIni;
    storeRevision_ = s.gradesIni.revision();
  }
  current_ = CurrentOf(s.grid);
}

bool EditHistory::record(const VeklaState& s, std::string label, bool merge) {
  if (!started_) {
    reset(s);
    return false;
  }
  Step step;
  step.label = std::move(label);
  step.before = current_;
  step.after = current_ = CurrentOf(s.grid);

  const CellGrid& g = s.grid;
  const bool sameShape = g.colCount() == grid_.colCount() && g.rowCount() == grid_.rowCount() &&
                         g.fixedCols() == grid_.fixedCols() && g.fixedRows() == grid_.fixedRows();
  const auto keep = [&](int c, int r) {
    const Cell& now = g.cell(c, r);
    Cell& was = grid_.at(c, r);
    if (now == was) return;
    step.cells.emplace_back(CellPos{c, r}, was);
    was = now;
  };
  if (const auto written = g.writtenSince(mark_); sameShape && written) {
    // A cell written twice is kept once: the copy holds its new value then.
    for (const CellPos p : *written) keep(p.col, p.row);
  } else if (sameShape) {
    const std::size_t rows = std::max(g.store().size(), grid_.store().size());
    for (std::size_t r = 0; r < rows; ++r) {
      const std::size_t cols = std::max(r < g.store().size() ? g.store()[r].size() : 0,
                                        r < grid_.store().size() ? grid_.store()[r].size() : 0);
      for (std::size_t c = 0; c < cols; ++c) keep(static_cast<int>(c), static_cast<int>(r));
    }
  } else {
    step.grid = std::move(grid_);
    grid_ = g;
    gridBytes_ = GridBytes(grid_);
  }
  mark_ = g.mark();

  PanelFields panels = PanelFields::of(s);
  if (!(panels == panels_)) {
    step.panels = std::move(panels_);
    panels_ = std::move(panels);
  }
  if (storeLoaded_ && s.gradesIni.revision() != storeRevision_) {
    step.store = std::move(store_);
    store_ = s.gradesIni;
    storeRevision_ = s.gradesIni.revision();
  }
  if (step.cells.empty() && !step.grid && !step.panels && !step.store) return false;
  const auto panelsOnly = [](const Step& x) { return x.cells.empty() && !x.grid && !x.store && x.panels; };
  if (merge && done_ > 0 && done_ == steps_.size() && !(saved_ && *saved_ == done_) &&
      steps_.back().label == step.label && panelsOnly(steps_.back()) && panelsOnly(step)) {
    // The last step keeps the panels from before its first change.
    steps_.back().after = step.after;
    return true;
  }

  // A new step drops what could be redone, and with it a save made there.
  for (std::size_t i = done_; i < steps_.size(); ++i) stepBytes_ -= std::min(stepBytes_, steps_[i].bytes);
  steps_.resize(done_);
  if (saved_ && *saved_ > done_) saved_.reset();
  step.bytes = step.size();
  stepBytes_ += step.bytes;
  steps_.push_back(std::move(step));
  ++done_;
  trim();
  return true;
}

void EditHistory::markSaved(const VeklaState& s) {
  if (!started_) reset(s);
  absorb(s);
  saved_ = done_;
}

const std::string& EditHistory::undoLabel() const {
  static const std::string none;
  return canUndo() ? steps_[done_ - 1].label : none;
}

const std::string& EditHistory::redoLabel() const {
  static const std::string none;
  return canRedo() ? steps_[done_].label : none;
}

void EditHistory::undo(VeklaState& s) {
  if (!canUndo()) return;
  --done_;
  apply(s, steps_[done_], true);
}

void EditHistory::redo(VeklaState& s) {
  if (!canRedo()) return;
  apply(s, steps_[done_], false);
  ++done_;
}

void EditHistory::apply(VeklaState& s, Step& step, bool undoing) {
  for (auto& [p, cell] : step.cells) {
    Cell& live = s.grid.at(p.col, p.row);
    std::swap(live, cell);
    grid_.at(p.col, p.row) = live;
  }
  if (step.grid) {
    std::swap(s.grid, *step.grid);
    grid_ = s.grid;
    gridBytes_ = GridBytes(grid_);
  }
  if (step.panels) {
    PanelFields now = PanelFields::of(s);
    step.panels->applyTo(s);
    step.panels = std::move(now);
    panels_ = PanelFields::of(s);
  }
  if (step.store) {
    std::swap(s.gradesIni, *step.store);
    s.gradesIniLoaded = true;
    s.gradesIniDirty = true;
    store_ = s.gradesIni;
    storeRevision_ = s.gradesIni.revision();
  }
  current_ = undoing ? step.before : step.after;
  s.grid.currentCol = current_.col;
  s.grid.currentRow = current_.row;
  s.selCol = current_.col;
  s.selRow = current_.row;
  mark_ = s.grid.mark();
  // The statistics shown are the step's own; the next edit recomputes fully.
  s.statisticsBasis.valid = false;
}

std::size_t EditHistory::Step::size() const {
  std::size_t n = sizeof(Step) + label.capacity() + cells.capacity() * sizeof(cells[0]);
  for (const auto& [p, cell] : cells) n += TextBytes(cell.text);
  if (grid) n += GridBytes(*grid);
  if (panels) n += sizeof(PanelFields) + panels->heapBytes();
  // The store in memory takes about twice its text.
  if (store) n += store->toBytes().size() * 2;
  return n;
}

std::size_t EditHistory::memory() const { return sizeof(*this) + gridBytes_ + panels_.heapBytes() + stepBytes_; }

void EditHistory::trim() {
  while (steps_.size() > 1 && (steps_.size() > kMaxSteps || gridBytes_ + stepBytes_ > kMaxBytes)) {
    stepBytes_ -= std::min(stepBytes_, steps_.front().bytes);
    steps_.erase(steps_.begin());
    --done_;
    if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
  }
}

}  // namespace vekla
