#pragma once
// Grade symbols, weights, average bands and statistics.
#include <string>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "workspace/state.h"

namespace vekla {

// A checked grade cell holds two characters: a grade symbol of one
// character gets its trailing space, as the checked cells spell it. The
// grade book's cell checks pad the symbols so before a grade is checked
// (CheckGrade itself only reads them).
void PadGradeSymbols(CellGrid& znamky);
int GradeCode(const VeklaState& s, const std::string& text);  // 1..20, 0 none
// The same for many cells: the symbols looked up in a table made once.
class GradeCodes {
 public:
  explicit GradeCodes(const VeklaState& s) : GradeCodes(s.znamky) {}
  explicit GradeCodes(const CellGrid& znamky);
  int operator()(const std::string& text) const;  // 1..20, 0 none

 private:
  // A symbol of up to 7 bytes as one number (its bytes and its length), in
  // a small open table: a cell is looked up without a string compare.
  static std::uint64_t key(std::string_view text);
  static std::size_t slot(std::uint64_t key) { return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 58); }
  std::array<std::uint64_t, 64> keys_{};  // 0: a free slot (no symbol is empty)
  std::array<std::uint8_t, 64> codes_{};
  std::vector<std::pair<std::string, int>> longer_;  // symbols of 8 bytes or more
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
// A decimal-comma number as the grade panel and the statistics cells hold
// it ("1,50", "1,667"; a decimal point is accepted too); anything else
// reads as 0, as the statistics read it.
long double ParseGradeNumber(const std::string& text);

// The band cell chosen in the average panel, whose colours a click on a
// result cell takes.
void SelectBandCell(VeklaState& s, int col, int row);

}  // namespace vekla
