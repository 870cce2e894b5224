#pragma once
// The per-kind setup of the main grid and the window, and the layout helpers
// that every command calls after it changes rows or columns.
#include <string>
#include <vector>

#include "workspace/kindparams.h"
#include "workspace/state.h"

namespace vekla {

// Every control enabled and visible; the menu items keep no caption of
// their own until a tab sets one (the table of actions has the default).
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
// The semester box of a new grade book: the current semester alone, shown.
void StartSemestersAfresh(VeklaState& s);

}  // namespace vekla
