#pragma once
// What the window does with each kind, one row per kind: how a tab is set up
// and laid out, how a cell is checked, what the working files hold besides
// the grid, how the rows sort, which tool buttons a cell enables, and what
// an edit, an inserted or removed row or column does. The operations below
// the row (SetupTab, CheckCell, SaveKind, ...) look the current kind's row
// up; nothing else asks which kind a tab shows. A kind's fixed parameters
// are in workspace/kindparams.h, its codecs in commands/kindtable.h.
#include <functional>
#include <string>

#include "workspace/cellgrid.h"
#include "workspace/state.h"

namespace vekla {

class WorkFileBatch;

// What a question about removing a row calls it: its number as the grid
// shows it and its text (a student's name, a topic, a day's holiday).
struct RowName {
  std::string number, text;
};

using Progress = std::function<void(const std::string&)>;

struct KindOps {
  DbKind kind;

  // --- the tab
  // The kind's part of SetupTab: its own controls, its column types, the
  // cells a new database starts with, and its layout.
  void (*setup)(VeklaState&);
  // Colours, labels and fonts of the grid, after its rows or columns changed.
  void (*layout)(VeklaState&);
  // The working files besides the common grid file: written with it,
  // nullptr when the kind has none; and read after it in the kind's order,
  // with the layout.
  void (*saveExtras)(VeklaState&, WorkFileBatch&);
  void (*loadAfterCommon)(VeklaState&);

  // --- cells
  // The check of one cell of the main grid by its row and column.
  std::string (*checkCell)(VeklaState&, const std::string& text, CellPos at);
  // Every cell checked, when the kind does more than checking each cell
  // alone (the grade book settles repeated order numbers first); nullptr:
  // each cell by checkCell.
  void (*checkAllCells)(VeklaState&, const Progress&);
  // After a typed cell was checked (the grade book: a grade takes the
  // pressed weight, the averages follow); nullptr: nothing more.
  void (*afterEdit)(VeklaState&, CellPos at);
  // Cells holding a grade, whose text colour is its weight and whose change
  // changes the statistics; nullptr: the kind has none.
  bool (*gradeCell)(const CellGrid&, CellPos at);
  // Cells the statistics compute, which no paste, cut or Delete writes;
  // nullptr: none.
  bool (*computedCell)(const CellGrid&, CellPos at);
  // The highlight colour was chosen: the timetable colours the selected
  // lesson's block, the others lay the grid out in it.
  void (*highlight)(VeklaState&);

  // --- rows and columns
  // The rules of the grid tool buttons for the selected cell; nullptr: the
  // buttons stay as the setup left them.
  void (*buttons)(VeklaState&, CellPos at);
  // Sorting the rows by a click on column `col`'s title; nullptr: the
  // titles do not sort.
  void (*sort)(VeklaState&, int col);
  // A row was inserted at `row`: what it starts with, and the layout.
  void (*rowInserted)(VeklaState&, int row);
  // Removes row `row`; nullptr: the kind keeps its rows.
  void (*removeRow)(VeklaState&, int row);
  // A column was inserted at `col` (empty, white); nullptr: the kind keeps
  // its columns.
  void (*columnInserted)(VeklaState&, int col);
  // Removes column `col`; nullptr: the kind keeps its columns.
  void (*removeColumn)(VeklaState&, int col);
  // What the question about removing a row or a column calls it; for a
  // column nullptr: its title.
  RowName (*rowName)(const CellGrid&, int row);
  std::string (*columnName)(const CellGrid&, int col);
};

// The row of a kind; a value of DbKind that names no kind throws
// std::logic_error (see KindIndex).
const KindOps& Ops(DbKind k);

// ---------------------------------------------------------------- through the row

// The tab of `kind` set up afresh: the controls common to every kind, the
// previous kind's cells emptied, the kind's shape, captions and own part,
// an empty error log, the panel's dates and name.
void SetupTab(VeklaState& s, DbKind kind);
// The layout of the current kind.
void LayoutCurrent(VeklaState& s);

// The check of one main-grid cell by the current kind, row and column.
std::string CheckCell(VeklaState& s, const std::string& text, CellPos at);
// Every cell of rows 1..R-1, columns 1..C-1. `progress` gets the share done
// as "N %" after the cell that changes it, then "" at the end.
void CheckAllCells(VeklaState& s, const Progress& progress);
// Whether cell `at` of the main grid holds a grade of the current kind, and
// whether its statistics compute it.
bool HoldsGrade(const VeklaState& s, CellPos at);
bool ComputedCell(const VeklaState& s, CellPos at);

// The common working file read, or the tab set up afresh when there is none.
void LoadCommon(VeklaState& s);
// Save the current kind's working files (common first, then extras) and the
// semester store as a set.
void SaveKind(VeklaState& s);
// Load as on activation: SetupTab is not run here; the common file, the
// kind's layout and extras in the order each kind needs, then auto column width.
void LoadKind(VeklaState& s);

// The header click on column `col` of the main grid: the kinds that sort
// sort by it (workspace/sorting.h) and the tab holds unsaved edits; the
// others and the label column 0 ignore it.
void StringAlignGridFixedColClick(VeklaState& s, int col);

}  // namespace vekla
