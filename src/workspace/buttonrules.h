#pragma once
// The rules of the grid tool buttons: which of them the selected cell of
// the main grid enables, for the kinds that have rules.
#include "workspace/state.h"

namespace vekla {

// The grade book: the time and date buttons in a grade column's time and
// date rows; a row inserted or removed at a student (at least one student
// stays, at most kMaxStudents); a column inserted at a grade column (at most
// kMaxGradeColumns), removed when another stays.
void UpdateGradeButtons(VeklaState& s, CellPos at);
// The timetable: the time button in a lesson's start and end; a lesson
// column removed when one stays beside the day names, added up to 26 columns.
void UpdateTimetableButtons(VeklaState& s, CellPos at);

}  // namespace vekla
