#pragma once
// The per-kind setup of the main grid and the window, and the layout helpers
// that every command calls after it changes rows or columns.
#include <QDate>
#include <string>
#include <vector>

#include "workspace/kindparams.h"
#include "workspace/state.h"

namespace vekla {

// The menu bar: menu caption, component name and default caption of each
// item, in order.
struct MenuItemDef {
  std::string menu;     // "Soubor", "Utility", "Nastavení", "Konec"
  Ctl name;             // MenuNovy, ...
  std::string caption;  // "Nový", ... (code page 1250, like every text of the state)
};
const std::vector<MenuItemDef>& MenuItems();
// The 22 tool buttons left to right: component name and hint.
struct ToolButtonDef {
  Ctl name;          // SpeedItemNovy, ...
  std::string hint;  // "Nový PDB", ...
};
const std::vector<ToolButtonDef>& ToolButtons();
// Fills VeklaState::controls with every menu item and tool button, enabled,
// visible, with its default caption (called once when the window is created).
void InitControls(VeklaState& s);

void SetupTab(VeklaState& s, DbKind kind);
void ClearGridCells(VeklaState& s);
void LayoutGrades(VeklaState& s);
void LayoutTopicPlans(VeklaState& s);
void LayoutTimetable(VeklaState& s);
void LayoutCalendar(VeklaState& s);
void LayoutCurrent(VeklaState& s);  // the layout of the current kind
void NumberGradeColumns(VeklaState& s);
// The grade book's title row: "Pořadí", "Jméno", the grade numbers and the
// four columns after them.
void TitleGradeColumns(VeklaState& s);
void NumberLessonColumns(VeklaState& s);

// The label of the current semester ("2. pol. 2025/2026"); sets the caption.
std::string SemesterLabel(VeklaState& s);
// The label of the semester a day lies in.
std::string SemesterLabelOf(const QDate& d);
// The semester box of a new grade book: the current semester alone, shown.
void StartSemestersAfresh(VeklaState& s);

}  // namespace vekla
