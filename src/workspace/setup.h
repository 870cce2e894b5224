#pragma once
// The per-kind setup of the main grid and the window, and the layout helpers
// that every command calls after it changes rows or columns.
#include <QDate>
#include <string>
#include <vector>

#include "workspace/kindparams.h"
#include "workspace/state.h"

namespace vekla {

// Every control enabled and visible; the menu items keep no caption of
// their own until a tab sets one (the table of actions has the default).
void InitControls(VeklaState& s);

// The steps of SetupTab (workspace/kindops.h) every kind shares: before
// the kind's own part the controls common to every kind, the previous
// kind's cells emptied, the kind's shape, captions, creator and type; after
// it the error log emptied, the panel's dates and name.
void BeginSetup(VeklaState& s, DbKind kind);
void EndSetup(VeklaState& s);
// The kind's own part of SetupTab: its controls, column types, the cells a
// new database starts with, its layout.
void SetupGrades(VeklaState& s);
void SetupTopicPlans(VeklaState& s);
void SetupTimetable(VeklaState& s);
void SetupCalendar(VeklaState& s);
void ClearGridCells(VeklaState& s);
// The layout of each kind (LayoutCurrent: the current kind's).
void LayoutGrades(VeklaState& s);
void LayoutTopicPlans(VeklaState& s);
void LayoutTimetable(VeklaState& s);
void LayoutCalendar(VeklaState& s);
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
