#pragma once
// A grade book laid out as the grades tab shows it, with the default grade
// scale, for the tests and benchmarks of checks and statistics.
#include <cstddef>
#include <string>

#include "pdb/color.h"
#include "pdb/text.h"
#include "workspace/cellgrid.h"
#include "workspace/state.h"

namespace vekla::test {

// The default grade symbols and their values, in the order of the symbol grid.
inline const char* const kGradeSymbols[20] = {"1 ", "2 ", "3 ", "4 ", "5 ", "1-", "2-", "3-", "4-", "5-",
                                              "1*", "2*", "3*", "4*", "5*", "1·", "2·", "3·", "4·", "5·"};
inline const char* const kGradeValues[20] = {"1,00", "2,00", "3,00", "4,00", "5,00", "1,50", "2,50",
                                             "3,50", "4,50", "5,50", "0,75", "1,75", "2,75", "3,75",
                                             "4,75", "1,25", "2,25", "3,25", "4,25", "5,25"};
// The default weight colours (weights 1 to 4) and the five average bands:
// their upper bounds and colours.
inline const Color kWeightColours[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA), rgbHex(0x00CC33)};
inline const char* const kBandBounds[5] = {"1,3", "1,5", "2,0", "3,0", "3,5"};
inline const Color kBandBg[5] = {rgbHex(0x0000FF), rgbHex(0x99CCFF), rgbHex(0xEEEEEE), rgbHex(0xFF9999),
                                 rgbHex(0xFF0000)};
inline const Color kBandFg[5] = {kWhite, kBlack, kBlack, kBlack, kWhite};

// The grid of a grade book of `students` rows and `gradeCols` grade columns
// (C = gradeCols + 7, R = students + 6), headed and labelled as the grades
// tab shows it: student rows are labelled "n. Nový", every other cell is
// empty.
inline void GradeBookGrid(VeklaState& s, int students, int gradeCols) {
  s.kind = DbKind::Znamky;
  const int C = gradeCols + 7, R = students + 6;
  s.grid = CellGrid(C, R, 1, 1);
  s.grid.setText(1, 0, cp("Pořadí"));
  s.grid.setText(2, 0, cp("Jméno"));
  for (int c = 3; c <= C - 5; ++c) s.grid.setText(c, 0, std::to_string(c - 2));
  s.grid.setText(C - 4, 0, cp("Průměr"));
  s.grid.setText(C - 3, 0, "Sm. odch.");
  s.grid.setText(C - 2, 0, cp("Poznámka"));
  s.grid.setText(C - 1, 0, cp("Zkoušen"));
  s.grid.setText(0, 1, "Datum");
  s.grid.setText(0, 2, cp("Čas od"));
  s.grid.setText(0, 3, cp("Čas do"));
  for (int n = 1; n <= students; ++n) s.grid.setText(0, n + 3, std::to_string(n) + cp(". Nový"));
  s.grid.setText(0, R - 2, cp("Průměr"));
  s.grid.setText(0, R - 1, "Sm. odch.");
}

// The symbol grid with the default symbols and values.
inline void DefaultGradeSymbols(VeklaState& s) {
  s.znamky = CellGrid(21, 2, 1, 1);
  s.znamky.setText(0, 0, cp("Známky "));
  s.znamky.setText(0, 1, "Hodnoty ");
  for (int c = 1; c <= 20; ++c) {
    s.znamky.setText(c, 0, cp(kGradeSymbols[c - 1]));
    s.znamky.setText(c, 1, kGradeValues[c - 1]);
  }
}

// The whole default scale: symbols and values, the five bands in their
// colours, four weights of "1,00" in the default weight colours.
inline void DefaultGradeScale(VeklaState& s) {
  DefaultGradeSymbols(s);
  s.znamky2 = CellGrid(5, 1, 0, 0);
  for (int k = 0; k < 5; ++k) {
    s.znamky2.setText(k, 0, kBandBounds[k]);
    s.znamky2.setColors(k, 0, kBandBg[k], kBandFg[k]);
  }
  for (std::size_t n = 0; n < 4; ++n) s.weights[n] = WeightEdit{"1,00", kWeightColours[n]};
}

}  // namespace vekla::test
