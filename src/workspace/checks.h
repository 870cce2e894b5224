#pragma once
// Cell checks: every text that enters a cell is checked against the rule of
// its kind, row and column, repaired when it breaks it, and each repair is
// reported as one line in the error log. No check ever refuses or throws.
#include <functional>
#include <string>
#include <string_view>

#include "workspace/state.h"

namespace vekla {

// Log lines name the cell by R = text of (0, row) and H = text of (col, 0) of the main grid.
std::string CellName(const VeklaState& s, CellPos at);  // "R/H"
// A student's row label: the number, ". " and the name up to and including
// its first space (all of it when it has none): "3. Novák ".
std::string StudentLabel(std::string_view number, std::string_view name);
std::string CutText(VeklaState& s, std::string text, CellPos at, int maxLen);
std::string CutLabelledText(VeklaState& s, std::string text, const std::string& label, int maxLen);
std::string CheckTextColumn(VeklaState& s, std::string text, CellPos at);
std::string CheckFlagColumn(VeklaState& s, std::string text, CellPos at);
std::string CheckWholeColumn(VeklaState& s, std::string text, CellPos at);
std::string CheckBoundedNumber(VeklaState& s, std::string text, CellPos at, int maxV, int minV);
std::string CheckTime(VeklaState& s, std::string text, CellPos at, bool fiveMinutes);
std::string CheckDayMonth(VeklaState& s, std::string text, CellPos at);
std::string CheckDateColumn(VeklaState& s, std::string text, CellPos at);
std::string CheckValue(VeklaState& s, std::string text);
// A grade cell; with `colour` the cell takes the current weight's colour.
std::string CheckGrade(VeklaState& s, std::string text, CellPos at, bool colour);
void UpdateStudentLabel(VeklaState& s, const std::string& name, int row);

// A topic or calendar cell checked by its column's type letter; a column
// without one keeps the text as it is.
std::string CheckByColumnType(VeklaState& s, std::string text, CellPos at);
// A cell of the grade book and of the timetable by its row and column
// (CheckCell in workspace/kindops.h checks by the current kind).
std::string CheckGradeBookCell(VeklaState& s, const std::string& text, CellPos at);
std::string CheckTimetableCell(VeklaState& s, const std::string& text, CellPos at);
// Every cell of rows 1..R-1, columns 1..C-1 through `check`, which gives
// the cell's new text. `progress` gets the share done as "N %" after the
// cell that changes it, then "" at the end.
void CheckEveryCell(VeklaState& s, const std::function<std::string(const std::string&, CellPos)>& check,
                    const std::function<void(const std::string&)>& progress);
// Every cell of the grade book: repeated order numbers are settled first,
// so the first student with a number keeps it.
void CheckAllGradeBookCells(VeklaState& s, const std::function<void(const std::string&)>& progress);

}  // namespace vekla
