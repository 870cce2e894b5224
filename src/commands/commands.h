#pragma once
// The commands of the main window: the window's events, the menu items and
// the tool buttons. Each is a function of the state and a Prompter, so the
// window, the converter and the tests run the same code. Commands that can
// end without doing their work say so in their Outcome.
#include <QString>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "commands/kindtable.h"
#include "commands/outcome.h"
#include "workspace/cellgrid.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// ProgramDir: VEKLA_HOME when set, else the program's folder for a portable
// install (it holds vekla.ini or the marker file vekla-portable), else the
// per-user data folder; with a trailing "/".
QString ResolveProgramDir(const QString& applicationDir);

// Window events.
void FormCreate(VeklaState& s, const QString& programDir);  // settings, Adresar1, user name, tab index
void FormActivate(VeklaState& s, Prompter& p);              // first activation: setup and load
void FormClose(VeklaState& s, Prompter& p);
void TabSet1Change(VeklaState& s, Prompter& p, int newIndex);
int FormResizeWidth(int width);  // never narrower than 690

// File menu.
// "Nový" and the open commands ask "Zahodit neuložené změny?" first when
// the tab holds edits not yet saved to a database.
bool MayDiscardEdits(VeklaState& s, Prompter& p);
// The same for tab `k` when another tab is shown: the question names it.
bool MayDiscardEditsOf(VeklaState& s, Prompter& p, DbKind k);
Outcome NovyClick(VeklaState& s, Prompter& p);
Outcome OtevriClick1(VeklaState& s, Prompter& p);  // "Import z 1. adresáře"
Outcome OtevriClick2(VeklaState& s, Prompter& p);  // "Import z adresáře BackUp"
// The open flow after the dialog: clear the log, read by kind, save the working files.
Outcome OpenDatabase(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
Outcome UlozClick(VeklaState& s, Prompter& p);

// Utility menu and tool bar.
Outcome HotSync(VeklaState& s, Prompter& p);
void MenuTestClick(VeklaState& s, Prompter& p);
void SBchybyClick(VeklaState& s);
void SBnastavitsloupceClick(VeklaState& s);
Outcome SpeedButton1Click(VeklaState& s, Prompter& p);  // highlight colour

// Main grid events.
void StringAlignGridSelectCell(VeklaState& s, CellPos at);
// An edited cell is checked; a grade typed into a grade cell takes the
// weight whose button is down.
void StringAlignGridAfterEdit(VeklaState& s, CellPos at);
// A click of the mouse on a cell of the main grid, as the window saw it.
struct GridClick {
  CellPos at;
  bool shift = false;    // Shift held: the click extends the selection
  bool control = false;  // Ctrl held: the click adds a cell to the selection
  bool dragged = false;  // the mouse went over other cells before it was released
};
// Whether a click gives the grade under it the weight whose button is down:
// a plain click only. A click that selects (Shift, Ctrl, a drag) never
// changes a grade.
bool ClickGivesWeight(const GridClick& click);
// A plain click on a grade gives it the weight whose button is down (moving
// onto it with the keyboard does not), says so in the status line and is
// remembered, so that a paste starting there can take it back. Done when the
// weight changed.
Outcome GradeCellClicked(VeklaState& s, const GridClick& click);
// The name of the history step of such a click.
std::string WeightClickStep();
// Delete: the cells emptied, each through its check; the titles and the
// grade book's statistics are never emptied. More than one cell to change
// only after the question "Vymazat N buněk?".
Outcome ClearCells(VeklaState& s, Prompter& p, const std::vector<CellPos>& cells);
// The same for the cells just copied by a cut, with the same question.
Outcome CutCells(VeklaState& s, Prompter& p, const std::vector<CellPos>& cells);
// The text the check of cell `at` gives `text`, without its log lines and
// the row label it writes: what a command would change, before it asks.
std::string PreviewCheck(VeklaState& s, const std::string& text, CellPos at);
// Titles and the grade book's averages and deviations, which the
// statistics compute: no paste, cut or Delete writes them.
bool ProtectedCell(const VeklaState& s, CellPos at);
// A count of cells in Czech: "1 buňka", "3 buňky", "5 buněk"; with
// `accusative` "1 buňku".
std::string CellCount(std::size_t n, bool accusative = false);
// The word of three that goes with count n in Czech: `one` for 1, `few`
// for 2 to 4, `many` for the rest (UTF-8 in, code page 1250 out).
std::string CzechPlural(std::size_t n, const char* one, const char* few, const char* many);
// The selected cell kept inside the grid, never on a title row or column,
// and the grid tool buttons set by their rules for it. Every command that
// moves the current cell or changes the grid's shape ends with it.
void SelectCurrentCell(VeklaState& s);
// The top-left cell of the grid selected, as after an open.
void SelectFirstCell(VeklaState& s);
// A click on a column title: sorts the grade book and the topic plans by
// that column; the first row becomes current. Nothing on the other tabs.
Outcome ColumnTitleClick(VeklaState& s, int col);
// The semester box: the shown semester stored, the chosen one shown.
void ChooseSemester(VeklaState& s, int index);
// The time and date dialogs fill the selected cell.
Outcome SpeedItemHodinyClick(VeklaState& s, Prompter& p);
Outcome SpeedItemDatumClick(VeklaState& s, Prompter& p);

// Rows and columns of the main grid.
void SBInsertClick(VeklaState& s);
Outcome SBDeleteClick(VeklaState& s, Prompter& p);
void SpeedItemPridatSloupecClick(VeklaState& s);
Outcome SpeedItemOdebratSloupecClick(VeklaState& s, Prompter& p);

// Timetable panel.
void EditRozvrhPolozkaChange(VeklaState& s);
void EditRozvrhLSChange(VeklaState& s);
Outcome SpeedButtonRozvrhClick(VeklaState& s, Prompter& p);

// Runs a command: a VeklaError ends it with the error box (Failed);
// GradesIni is written once at the end if it changed; the progress label is
// cleared. A command that returns nothing counts as Done.
Outcome RunCommand(VeklaState& s, Prompter& p, const std::function<Outcome()>& command);
template <class F>
requires(!std::is_same_v<std::decay_t<F>, std::function<Outcome()>>) Outcome
    RunCommand(VeklaState& s, Prompter& p, F&& command) {
  if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
    return RunCommand(s, p, std::function<Outcome()>([&command] {
                        command();
                        return Outcome::Done;
                      }));
  } else {
    return RunCommand(s, p, std::function<Outcome()>(std::forward<F>(command)));
  }
}

}  // namespace vekla
