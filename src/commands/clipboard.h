#pragma once
// Copy and paste of blocks of cells as spreadsheets exchange them on the
// clipboard: lines of tab-separated texts, a text holding a tab, a line
// break or a leading double quote between double quotes.
#include <string>
#include <string_view>
#include <vector>

#include "commands/outcome.h"
#include "workspace/state.h"

namespace vekla {

// The texts of the smallest block holding the cells, row by row.
std::string CopyCells(const VeklaState& s, const std::vector<CellPos>& cells);
// The lines and fields of a clipboard text.
std::vector<std::vector<std::string>> SplitClipboardText(std::string_view text);
// Pastes a block with its top-left field at `at`. Every text goes through
// the cell check of its cell, with its repairs and log lines, and a grade
// takes the weight whose button is down, as if typed. Titles and the grade
// book's statistics are never pasted over, and what lies beyond the grid
// is left out; each with one log line.
Outcome PasteCells(VeklaState& s, CellPos at, std::string_view text);

}  // namespace vekla
