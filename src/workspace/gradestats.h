#pragma once
// Grade symbols, weights, average bands, statistics and the semester box.
#include <string>
#include <unordered_map>

#include "workspace/state.h"

namespace vekla {

int GradeCode(const VeklaState& s, const std::string& text);  // 1..20, 0 none
// The same for many cells: the symbols looked up in a table made once.
class GradeCodes {
 public:
  explicit GradeCodes(const VeklaState& s);
  int operator()(const std::string& text) const;  // 1..20, 0 none

 private:
  std::unordered_map<std::string, int> codes_;
};

int WeightNumber(const VeklaState& s, Color c);  // 1..4, 0 none
// Gives a cell the colour of the weight whose button is down; true when its
// colour changed.
bool GiveCurrentWeight(VeklaState& s, CellPos at);
// Averages and deviations of the students, the columns and the class, with
// their band colours, then the column widths.
void ComputeStatistics(VeklaState& s);
void ColourResult(VeklaState& s, int row, int col, int mode, long double value);
// Decimal-comma formatting of statistics: fixed, 3 decimals ("1,667").
std::string FormatStat(long double v);

// Grade panel events.
void SBHodnotaClick(VeklaState& s, int n);  // weight button n (1..4) pressed
void EHodnotaExit(VeklaState& s, int n);    // weight edit n left
void StringAGZnamkyAfterEdit(VeklaState& s, int col, int row);
void StringAGZnamky2AfterEdit(VeklaState& s, int col, int row);
void StringAGZnamky2SelectCell(VeklaState& s, int col, int row);
void CBZnamkyPololetiDropDown(VeklaState& s);
void Button1Click(VeklaState& s);  // "Průměry"

}  // namespace vekla
