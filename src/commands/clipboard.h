#pragma once
// Copy and paste of blocks of cells as spreadsheets exchange them on the
// clipboard: lines of tab-separated texts, a text holding a tab, a line
// break or a leading double quote between double quotes. The text is read
// and written by the rules of CSV files (convert/csvlines.h) with a tab for
// the separator, so a quote that does not close right before a tab or a
// line end is text, as in a title pasted from a plain text.
#include <string>
#include <string_view>
#include <vector>

#include "commands/outcome.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// The clipboard format of our own that goes beside the text: the weight of
// each copied grade.
inline constexpr const char* kCellsMimeType = "application/x-vekla-cells";

// The texts of the smallest block holding the cells, row by row.
std::string CopyCells(const VeklaState& s, const std::vector<CellPos>& cells);
// The weights of the same block in the same shape: a grade's weight number
// (1 to 4), nothing for any other cell.
std::string CopyWeights(const VeklaState& s, const std::vector<CellPos>& cells);
// The lines and fields of a clipboard text: a CSV reading with a tab for
// the separator.
std::vector<std::vector<std::string>> SplitClipboardText(std::string_view text);
// Pastes a block with its top-left field at `at`. Every text goes through
// the cell check of its cell, with its repairs and log lines. A grade keeps
// its weight from `weights` (copied in Vekla: CopyWeights of the same
// block); without them, or when they do not fit the block, it takes the
// weight whose button is down, as if typed. Titles and the grade book's
// statistics are never pasted over, and what lies beyond the grid is left
// out; each with one log line counting what was not pasted. Overwriting
// more than one filled cell asks "Přepsat N buněk?" first.
Outcome PasteCells(VeklaState& s, Prompter& p, CellPos at, std::string_view text, std::string_view weights = {});

}  // namespace vekla
