#pragma once
// Undo and redo of a tab's edits. A history keeps the state of the tab as
// the last command left it (the grid, the panels and the semester store);
// after each command it keeps only what the command changed, as the values
// they had before, so that a step costs what it touched: a typed grade and
// its statistics a few cells, a sort or an inserted row the grid it
// replaced. Undoing and redoing a step swap the kept values with the
// state's, so both directions are one swap.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "workspace/cellgrid.h"
#include "workspace/inifile.h"
#include "workspace/state.h"

namespace vekla {

// The fields of the state besides the grid that a command can change and
// undo gives back: the panels, the grade symbols and bands, the semester box
// and the counts that go with them. One list: the history saves, restores
// and compares exactly these, so a field added here is undone everywhere. A
// new field of VeklaState belongs here or in the test's list of the fields
// undo leaves alone (tests/workspace/test_history.cpp counts them). The
// grids come last: they cost most to compare.
inline constexpr auto kPanelFields = std::make_tuple(
    &VeklaState::EditN, &VeklaState::EditC, &VeklaState::EditTD, &VeklaState::EditDV, &VeklaState::EditCV,
    &VeklaState::EditDZ, &VeklaState::EditCZ, &VeklaState::shape1, &VeklaState::shape2, &VeklaState::EditRozvrhPolozka,
    &VeklaState::EditRozvrhLS, &VeklaState::shapeRozvrh, &VeklaState::lichyTyden, &VeklaState::rozlisovatTydny,
    &VeklaState::weights, &VeklaState::weightDown, &VeklaState::semesterItems, &VeklaState::semesterItemIndex,
    &VeklaState::semesterText, &VeklaState::memoPoznamka, &VeklaState::studentCount, &VeklaState::currentSemester,
    &VeklaState::znamky, &VeklaState::znamky2);

// The values of the listed fields, saved from a state and given back whole.
class PanelFields {
 public:
  static PanelFields of(const VeklaState& s);
  void applyTo(VeklaState& s) const;
  bool operator==(const PanelFields& o) const;
  // Bytes the values hold besides their own size.
  std::size_t heapBytes() const;

 private:
  template <class Fields>
  struct ValuesOf;
  template <class... T>
  struct ValuesOf<std::tuple<T VeklaState::*...>> {
    using type = std::tuple<T...>;
  };
  using Values = ValuesOf<std::remove_const_t<decltype(kPanelFields)>>::type;
  Values values_;
};

class EditHistory {
 public:
  // Starts afresh from the state as it is (after an open, "Nový", a
  // semester switch): nothing to undo or redo.
  void reset(const VeklaState& s);
  bool started() const { return started_; }
  // Goes on from the state when it is the one the history last saw (a tab
  // shown again from its working files); false, changing nothing, when not.
  bool resume(const VeklaState& s);
  // What changed since the last step or reset becomes one step named
  // `label`; false when nothing changed. Redo steps are dropped by a new one.
  // With `merge`, a change of the panels alone joins the last step when that
  // step has the same label and changed the panels alone (a field typed
  // letter by letter is one step).
  bool record(const VeklaState& s, std::string label, bool merge = false);
  // The state now is the one a database holds (a save): what the save
  // changed (repairs of its checks, the semester store) joins the state the
  // last step left, and that state is the saved one.
  void markSaved(const VeklaState& s);
  // Whether the state is the one last saved (or opened).
  bool atSaved() const { return saved_ && *saved_ == done_; }

  bool canUndo() const { return done_ > 0; }
  bool canRedo() const { return done_ < steps_.size(); }
  const std::string& undoLabel() const;
  const std::string& redoLabel() const;
  void undo(VeklaState& s);
  void redo(VeklaState& s);

  // Bytes the history holds, its copy of the grid included.
  std::size_t memory() const;

 private:
  struct Step {
    std::string label;
    std::vector<std::pair<CellPos, Cell>> cells;  // the other value of each cell
    std::optional<CellGrid> grid;                 // the other grid, when the shape changed
    std::optional<PanelFields> panels;
    std::optional<IniFile> store;
    CellPos before, after;  // the current cell before and after the command
    std::size_t bytes = 0;  // what it took when it was made
    std::size_t size() const;
  };
  void apply(VeklaState& s, Step& step, bool undoing);
  // Takes the state as it is without a step.
  void absorb(const VeklaState& s);
  void trim();

  bool started_ = false;
  std::vector<Step> steps_;
  std::size_t done_ = 0;
  std::optional<std::size_t> saved_;
  CellGrid grid_;
  CellGrid::Mark mark_;
  PanelFields panels_;
  IniFile store_;
  std::uint64_t storeRevision_ = 0;
  bool storeLoaded_ = false;
  CellPos current_;
  std::size_t gridBytes_ = 0, stepBytes_ = 0;
};

// The history of each tab, in tab order.
class Histories {
 public:
  EditHistory& of(DbKind k) { return h_[static_cast<std::size_t>(k)]; }
  const EditHistory& of(DbKind k) const { return h_[static_cast<std::size_t>(k)]; }

 private:
  std::array<EditHistory, kKindCount> h_;
};

}  // namespace vekla
