#pragma once
// The grade book's panel: the weight buttons and edits, the grade scale and
// the average bands, the semester box and "Průměry".
#include "workspace/state.h"

namespace vekla {

void SBHodnotaClick(VeklaState& s, int n);  // weight button n (1..4) pressed
void EHodnotaExit(VeklaState& s, int n);    // weight edit n left
void StringAGZnamkyAfterEdit(VeklaState& s, int col, int row);
void StringAGZnamky2AfterEdit(VeklaState& s, int col, int row);
void StringAGZnamky2SelectCell(VeklaState& s, int col, int row);
void CBZnamkyPololetiDropDown(VeklaState& s);
// The semester box: the shown semester goes to the store, the chosen one
// (0-based in the box) is shown.
void CBZnamkyPololetiChange(VeklaState& s, int newItemIndex);
void Button1Click(VeklaState& s);  // "Průměry"

}  // namespace vekla
