#pragma once
// The window's events besides its menu items and tool buttons: the grids,
// the panels, the tabs, a file given to the window, its activation and
// close. Each runs its command through RunStep and names the step it
// records, so the window only connects its widgets to them.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "commands/actions.h"
#include "commands/commands.h"
#include "workspace/gradeoptions.h"

namespace vekla {

// The main grid.
StepResult CellEdited(ActionContext& c, CellPos at);
StepResult CellSelected(ActionContext& c, CellPos at);
StepResult CellClicked(ActionContext& c, const GridClick& click);
StepResult ColumnTitleClicked(ActionContext& c, int col);
StepResult CellsCleared(ActionContext& c, const std::vector<CellPos>& cells);
// Another tab shown (0-based): its history goes on where it was left.
StepResult TabChosen(ActionContext& c, int index);

// Text typed into the window, in code page 1250; a character the code page
// cannot hold becomes "?" with a line in the error log.
std::string TypedText(VeklaState& s, const QString& text);

// The panels. A panel field typed into (the window has stored the text):
// the tab holds edits not yet saved, and the typing is one step however
// many letters it takes. True when a step was recorded or grew.
bool PanelFieldTyped(VeklaState& s, Histories& h);
// The class note typed into: the same, as a step of its own.
bool NoteTyped(VeklaState& s, Histories& h, std::vector<std::string> lines);
// The timetable's item or first cell typed into (the window has stored the
// text): what follows from it, one step while the typing goes on.
StepResult TimetableItemTyped(ActionContext& c);
StepResult TimetableFirstCellTyped(ActionContext& c);
StepResult TimetableColourClicked(ActionContext& c);
StepResult GradeSymbolEdited(ActionContext& c, int col, int row);
StepResult WeightChosen(ActionContext& c, int n);  // 1..4
StepResult WeightLeft(ActionContext& c, int n);    // 1..4, the typed value checked
// The semester box (0-based); picking the semester shown changes nothing,
// so no edit made since is lost by reloading it.
StepResult SemesterChosen(ActionContext& c, int index);
StepResult AveragesClicked(ActionContext& c);
StepResult BandEdited(ActionContext& c, int col, int row);
StepResult BandSelected(ActionContext& c, int col, int row);
StepResult GradeOptionsConfirmed(ActionContext& c, const GradeDisplayOptions& options);
// The grade display options closed, confirmed or not: coming back from
// them does not reload the grid.
void GradeOptionsClosed(VeklaState& s);
// Of the grade scale, the values row (1) is typed into; the symbols are fixed.
bool GradeScaleEditable(int col, int row);

// The window's size and place as the settings keep them: only numbers a
// screen can hold (a damaged file must not ask for a window of a billion
// pixels), the width at least `minWidth`. The window moves to the place
// only when it lies on a screen, as a monitor may have gone.
struct Placement {
  std::optional<QSize> size;
  std::optional<QPoint> place;
};
Placement StoredPlacement(const IniFile& settings, int minWidth);
void StorePlacement(IniFile& settings, const QRect& normal);
// Of the files dropped on the window, the first database or CSV file (by
// its ending); empty when there is none.
QString FileToOpen(const std::vector<QString>& dropped);

// The window. Its first activation sets up and loads the stored tab.
StepResult WindowActivated(ActionContext& c);
// A database or CSV file dropped on the window, chosen from the recent
// files or named on the command line.
StepResult FileGiven(ActionContext& c, const QString& path);
// The close with edits no database has asks first; a No keeps the window
// open (the working files saved) and gives the save's step, nullopt lets
// it close.
std::optional<StepResult> KeepOpenToSave(ActionContext& c);
StepResult WindowClosing(ActionContext& c);

}  // namespace vekla
