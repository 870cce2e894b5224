#pragma once
// Cell checks: every text that enters a cell is checked against the rule of
// its kind, row and column, repaired when it breaks it, and each repair is
// reported as one line in the error log. No check ever refuses or throws.
#include <string>

#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// Log lines name the cell by R = text of (0, row) and H = text of (col, 0) of the main grid.
std::string CutText(VeklaState& s, std::string text, int row, int col, int maxLen);
std::string CutLabelledText(VeklaState& s, std::string text, const std::string& label, int maxLen);
std::string CheckTextColumn(VeklaState& s, std::string text, int row, int col);
std::string CheckFlagColumn(VeklaState& s, std::string text, int row, int col);
std::string CheckWholeColumn(VeklaState& s, std::string text, int row, int col);
std::string CheckBoundedNumber(VeklaState& s, std::string text, int row, int col, int maxV, int minV);
std::string CheckTime(VeklaState& s, std::string text, int row, int col, bool fiveMinutes);
std::string CheckDayMonth(VeklaState& s, std::string text, int row, int col);
std::string CheckDateColumn(VeklaState& s, std::string text, int row, int col);
std::string CheckValue(VeklaState& s, std::string text);
// Grade cell (col, row); with `colour` the cell takes the current weight's colour.
std::string CheckGrade(VeklaState& s, std::string text, int col, int row, bool colour);
void UpdateStudentLabel(VeklaState& s, const std::string& name, int row);

// The check of one main-grid cell by the current kind, row and column.
std::string CheckCell(VeklaState& s, const std::string& text, int row, int col);
// Every cell of rows 1..R-1, columns 1..C-1, with progress in Lpohyb.
void CheckAllCells(VeklaState& s, Prompter& p);

// Sets Lpohyb and repaints it through the prompter (only when it changes).
void ShowProgress(VeklaState& s, Prompter& p, const std::string& text);

}  // namespace vekla
