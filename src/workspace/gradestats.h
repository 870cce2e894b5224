#pragma once
// Grade symbols, weights, average bands and statistics.
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

// The band cell chosen in the average panel, whose colours a click on a
// result cell takes.
void SelectBandCell(VeklaState& s, int col, int row);

}  // namespace vekla
