#pragma once
// Sorting the rows of the main grid by one column, from a click on its
// header (StringAlignGridFixedColClick in workspace/kindops.h): on the
// topic-plan tab every row moves, on the grades tab the student rows. The
// header shows the direction as "+ " (ascending) or "- " (descending) before
// its title; each click on it turns the direction round.
#include "workspace/state.h"

namespace vekla {

// The rows sorted by column `col` (1..C-1). Rows are compared as one text
// key each, in Czech order without regard to letter case; rows with equal
// column texts keep their order ascending and come out reversed descending.
// Empty texts and cells that hold no grade go last in both directions.
// Grade texts keep their weight colours; the layout and, in the grade book,
// the statistics follow.
void SortTopicPlans(VeklaState& s, int col);
void SortGrades(VeklaState& s, int col);
// The direction mark ("+ ", "- ") taken off a column title, or off all of
// them: after an open, an import or "Nový" no column is sorted.
void ClearSortMark(CellGrid& g, int col);
void ClearSortMarks(CellGrid& g);

}  // namespace vekla
