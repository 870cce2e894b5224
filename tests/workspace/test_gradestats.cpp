// Grade statistics: weighted averages and deviations, band colours, and the
// events of the grade panel.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "commands/gradepanel.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/checks.h"
#include "workspace/gradestats.h"

using namespace vekla;
using namespace vekla::test;

namespace {

const Color kRed = kWeightColours[0], kBlue = kWeightColours[1], kGrey = kWeightColours[2],
            kGreen = kWeightColours[3];
const Color kOdd = rgbHex(0xEFFFFF);

// A grade book with the default grade scale, weights and bands: `students`
// rows and `gradeCols` grade columns (C = gradeCols + 7, R = students + 6).
// Every student is new, and grade column 1 is dated 7.3, 08:00 to 08:45.
VeklaState GradeBook(int students, int gradeCols) {
  VeklaState s;
  GradeBookGrid(s, students, gradeCols);
  const int C = s.grid.colCount();
  for (int n = 1; n <= students; ++n) {
    s.grid.setText(1, n + 3, std::to_string(n));
    s.grid.setText(2, n + 3, cp("Nový záznam"));
    s.grid.setText(C - 1, n + 3, "0");
  }
  s.grid.setText(3, 1, "7.3");
  s.grid.setText(3, 2, "08:00");
  s.grid.setText(3, 3, "08:45");
  DefaultGradeScale(s);
  s.weightDown = 1;
  return s;
}

void Grade(VeklaState& s, int col, int row, const char* symbol, Color weightColour) {
  s.grid.setText(col, row, cp(symbol));
  s.grid.setFontColor(col, row, weightColour);
}

void ExpectColours(const VeklaState& s, int col, int row, Color background, Color text) {
  EXPECT_EQ(s.grid.brush(col, row), background) << "background of (" << col << ", " << row << ")";
  EXPECT_EQ(s.grid.fontColor(col, row), text) << "text colour of (" << col << ", " << row << ")";
}

}  // namespace

TEST(GradeStats, WeightedAverageDeviationAndClassAverage) {
  VeklaState s = GradeBook(2, 2);  // C = 9, R = 8: students in rows 4 and 5
  s.weights[0].text = "2,00";
  Grade(s, 3, 4, "1 ", kRed);   // 1 with weight 2
  Grade(s, 4, 4, "3 ", kBlue);  // 3 with weight 1
  s.grid.setText(6, 6, "stale");
  ComputeStatistics(s);

  // The student: (2*1 + 3) / 3 and sqrt((2*(1-a)^2 + (3-a)^2) / 3).
  EXPECT_EQ(s.grid.text(5, 4), "1,667");
  EXPECT_EQ(s.grid.text(6, 4), "0,943");
  for (int c : {5, 6, 1}) ExpectColours(s, c, 4, kBandBg[2], kBlack);

  // A student without grades: empty cells in the row's plain colours (row 5 is odd).
  EXPECT_EQ(s.grid.text(5, 5), "");
  EXPECT_EQ(s.grid.text(6, 5), "");
  for (int c : {5, 6, 1}) ExpectColours(s, c, 5, kOdd, kBlack);

  // Columns: 1 alone, and 3 alone, which equals the fourth bound.
  EXPECT_EQ(s.grid.text(3, 6), "1,000");
  EXPECT_EQ(s.grid.text(3, 7), "0,000");
  ExpectColours(s, 3, 6, kBandBg[0], kWhite);
  ExpectColours(s, 3, 7, kBandBg[0], kWhite);
  EXPECT_EQ(s.grid.text(4, 6), "3,000");
  EXPECT_EQ(s.grid.text(4, 7), "0,000");
  ExpectColours(s, 4, 6, kBandBg[3], kBlack);
  ExpectColours(s, 4, 7, kBandBg[3], kBlack);

  // The class average over the shown student averages; its three companion
  // cells take its colours and lose their texts.
  EXPECT_EQ(s.grid.text(5, 6), "1,667");
  for (auto [c, r] : {std::pair{5, 6}, std::pair{5, 7}, std::pair{6, 7}, std::pair{6, 6}})
    ExpectColours(s, c, r, kBandBg[2], kBlack);
  EXPECT_EQ(s.grid.text(6, 6), "");
  EXPECT_EQ(s.grid.text(5, 7), "");
  EXPECT_TRUE(s.Memo1.empty());
}

TEST(GradeStats, ClassAverageIsThePlainMeanOfShownAverages) {
  VeklaState s = GradeBook(3, 2);
  s.weights[1].text = "3,00";
  Grade(s, 3, 4, "1 ", kRed);
  Grade(s, 4, 4, "2 ", kBlue);  // (1 + 6) / 4 = 1,750
  Grade(s, 3, 5, "5 ", kGreen); // 5,000, above every band
  ComputeStatistics(s);
  EXPECT_EQ(s.grid.text(5, 4), "1,750");
  EXPECT_EQ(s.grid.text(5, 5), "5,000");
  EXPECT_EQ(s.grid.text(5, 6), "");
  // (1,75 + 5) / 2, not weighted by the students' weights.
  EXPECT_EQ(s.grid.text(5, 7), "3,375");
  ExpectColours(s, 5, 5, kBlack, kWhite);
  ExpectColours(s, 1, 5, kBlack, kWhite);
  ExpectColours(s, 5, 7, kBandBg[4], kWhite);
  // Column 3: (1 + 5) / 2 = 3 and a deviation of 2.
  EXPECT_EQ(s.grid.text(3, 7), "3,000");
  EXPECT_EQ(s.grid.text(3, 8), "2,000");
}

// Each value against the bands: a bound itself belongs to its band, and
// anything above the fifth bound is black with white text.
TEST(GradeStats, BandsAreInclusiveAndTopIsBlack) {
  struct B {
    const char* symbol;
    const char* shown;
    Color background, text;
  };
  const B cases[] = {
      {"1*", "0,750", kBandBg[0], kWhite}, {"1 ", "1,000", kBandBg[0], kWhite},
      {"1·", "1,250", kBandBg[0], kWhite}, {"1-", "1,500", kBandBg[1], kBlack},
      {"2 ", "2,000", kBandBg[2], kBlack}, {"2-", "2,500", kBandBg[3], kBlack},
      {"3-", "3,500", kBandBg[4], kWhite}, {"3·", "3,250", kBandBg[4], kWhite},
      {"4 ", "4,000", kBlack, kWhite},     {"5·", "5,250", kBlack, kWhite},
  };
  for (const B& b : cases) {
    SCOPED_TRACE(b.symbol);
    VeklaState s = GradeBook(1, 1);  // C = 8, R = 7
    Grade(s, 3, 4, b.symbol, kGrey);
    ComputeStatistics(s);
    EXPECT_EQ(s.grid.text(4, 4), b.shown);
    EXPECT_EQ(s.grid.text(5, 4), "0,000");
    for (int c : {4, 5, 1}) ExpectColours(s, c, 4, b.background, b.text);
    EXPECT_EQ(s.grid.text(3, 5), b.shown);
    ExpectColours(s, 3, 5, b.background, b.text);
    ExpectColours(s, 3, 6, b.background, b.text);
  }
  VeklaState s = GradeBook(1, 1);
  ComputeStatistics(s);
  ColourResult(s, 4, 3, 2, 1.3L);
  ExpectColours(s, 3, 4, kBandBg[0], kWhite);
  ColourResult(s, 4, 3, 2, 1.3001L);
  ExpectColours(s, 3, 4, kBandBg[1], kBlack);
  ColourResult(s, 4, 3, 2, 3.5001L);
  ExpectColours(s, 3, 5, kBlack, kWhite);
}

// Only a listed symbol in one of the four weight colours counts; the rest
// leaves the row empty in its plain colours.
TEST(GradeStats, GradesThatCountForNothing) {
  VeklaState s = GradeBook(4, 2);
  Grade(s, 3, 4, "1 ", kBlack);             // not a weight colour
  Grade(s, 3, 5, "1 ", kSysWindowText);     // the grid's default text colour
  Grade(s, 3, 6, "7x", kRed);               // not a symbol
  Grade(s, 3, 7, "1", kRed);                // not the stored symbol "1 "
  Grade(s, 4, 7, "2 ", rgbHex(0x123456));
  ComputeStatistics(s);
  for (int r = 4; r <= 7; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(s.grid.text(5, r), "");
    EXPECT_EQ(s.grid.text(6, r), "");
    const Color plain = r % 2 ? kOdd : kWhite;
    for (int c : {5, 6, 1}) ExpectColours(s, c, r, plain, kBlack);
  }
  // The empty column statistics sit in rows R-2 = 8 (even) and R-1 = 9.
  EXPECT_EQ(s.grid.text(3, 8), "");
  EXPECT_EQ(s.grid.text(3, 9), "");
  ExpectColours(s, 3, 8, kWhite, kBlack);
  ExpectColours(s, 3, 9, kWhite, kBlack);
  EXPECT_EQ(s.grid.text(5, 8), "");
  ExpectColours(s, 5, 8, kWhite, kBlack);

  // Once the weight colours change, grades in the old colour drop out.
  VeklaState t = GradeBook(1, 1);
  Grade(t, 3, 4, "2 ", kRed);
  ComputeStatistics(t);
  EXPECT_EQ(t.grid.text(4, 4), "2,000");
  t.weights[0].color = rgbHex(0x800000);
  ComputeStatistics(t);
  EXPECT_EQ(t.grid.text(4, 4), "");
  EXPECT_EQ(t.grid.text(5, 4), "");
}

// Zero weights, and texts that are not numbers, never stop the computation:
// such a value, weight or bound reads as 0.
TEST(GradeStats, ZeroWeightsAndUnreadableNumbers) {
  VeklaState s = GradeBook(3, 1);
  s.weights[1].text = "0,00";
  s.weights[2].text = "x";
  s.znamky.setText(4, 1, "abc");  // the value of "4 "
  Grade(s, 3, 4, "2 ", kBlue);    // weight 0
  Grade(s, 3, 5, "2 ", kGrey);    // weight not a number
  Grade(s, 3, 6, "4 ", kRed);     // value not a number
  ComputeStatistics(s);
  EXPECT_EQ(s.grid.text(4, 4), "");
  EXPECT_EQ(s.grid.text(4, 5), "");
  EXPECT_EQ(s.grid.text(4, 6), "0,000");
  EXPECT_EQ(s.grid.text(5, 6), "0,000");
  ExpectColours(s, 4, 6, kWhite, kBlack);

  VeklaState b = GradeBook(1, 1);
  b.znamky2.setText(4, 0, "?");
  Grade(b, 3, 4, "1 ", kRed);
  ComputeStatistics(b);
  EXPECT_EQ(b.bands[4], 0.0L);
  EXPECT_EQ(b.bands[0], 1.3L);
  ExpectColours(b, 4, 4, kBlack, kWhite);
}

TEST(GradeStats, GridsWithoutStudentsOrGradeColumns) {
  VeklaState s = GradeBook(0, 1);  // R = 6: no student row
  ComputeStatistics(s);
  EXPECT_EQ(s.grid.text(3, 4), "");
  EXPECT_EQ(s.grid.text(4, 4), "");
  VeklaState t = GradeBook(2, 0);  // C = 7: no grade column
  Grade(t, 3, 4, "1 ", kRed);      // column 3 is the average column here
  ComputeStatistics(t);
  EXPECT_EQ(t.grid.text(3, 4), "");
}

TEST(GradeStats, FormatStatIsFixedWithThreeDecimals) {
  EXPECT_EQ(FormatStat(1.5L), "1,500");
  EXPECT_EQ(FormatStat(5.0L / 3.0L), "1,667");
  EXPECT_EQ(FormatStat(0.0L), "0,000");
  EXPECT_EQ(FormatStat(0.9428090415820634L), "0,943");
  EXPECT_EQ(FormatStat(12.34567L), "12,346");
  EXPECT_EQ(FormatStat(999.99L), "999,990");
  // Five significant digits first, as the statistics always showed them.
  EXPECT_EQ(FormatStat(123.4567L), "123,460");
  EXPECT_EQ(FormatStat(99.99996L), "100,000");
  EXPECT_EQ(FormatStat(123456.7L), "123460,000");
  // Far beyond any grade value (a damaged scale): still five significant
  // digits, never a wrapped-around number.
  EXPECT_EQ(FormatStat(1e20L), "100000000000000000000,000");
  EXPECT_EQ(FormatStat(98765432109876543210.0L), "98765000000000000000,000");
}

// A grade value far too large for the usual scale shows in full in the
// average; the deviation of a single grade stays 0.
TEST(GradeStats, HugeValueShowsInFull) {
  VeklaState s = GradeBook(1, 1);
  s.znamky.setText(1, 1, "99999999999999999999");
  Grade(s, 3, 4, "1 ", kRed);
  ComputeStatistics(s);
  EXPECT_EQ(s.grid.text(4, 4), "100000000000000000000,000");
  EXPECT_EQ(s.grid.text(5, 4), "0,000");
  ExpectColours(s, 4, 4, kBlack, kWhite);
}

// After a few cells changed, the statistics are those of a computation from
// scratch, but only the rows, columns and class cells they change are written.
TEST(GradeStats, AfterAFewEditsLikeFromScratch) {
  VeklaState s = GradeBook(12, 9);
  const char* symbols[] = {"1 ", "2-", "3*", "5 ", "4 "};
  const Color colours[] = {kRed, kBlue, kGrey, kGreen, kBlack};
  for (int r = 4; r < 16; ++r)
    for (int c = 3; c < 12; c += 1 + r % 3) Grade(s, c, r, symbols[(r + c) % 5], colours[(r * c) % 5]);
  ComputeStatistics(s);
  auto expectAsFromScratch = [&](int mostWritten) {
    const CellGrid::Mark before = s.grid.mark();
    VeklaState fresh = s;  // a copy: its statistics are computed from scratch
    ComputeStatistics(fresh);
    ComputeStatistics(s);
    EXPECT_LE(static_cast<int>(s.grid.writtenSince(before)->size()), mostWritten);
    for (int r = 0; r < 18; ++r)
      for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(s.grid.text(c, r), fresh.grid.text(c, r)) << c << "," << r;
        ExpectColours(s, c, r, fresh.grid.brush(c, r), fresh.grid.fontColor(c, r));
      }
  };
  Grade(s, 5, 7, "1-", kGreen);
  expectAsFromScratch(30);
  s.grid.setFontColor(3, 4, kBlue);  // a selected cell takes the weight that is down
  s.grid.setText(12, 9, "9,999");    // a stale average
  Grade(s, 11, 15, "", kRed);
  expectAsFromScratch(60);
  s.weights[1].text = "3,00";
  expectAsFromScratch(1000);
}

TEST(GradeStats, GradeCodesAndWeightNumbers) {
  VeklaState s = GradeBook(1, 1);
  EXPECT_EQ(GradeCode(s, ""), 0);
  EXPECT_EQ(GradeCode(s, "1 "), 1);
  EXPECT_EQ(GradeCode(s, "1"), 0);
  EXPECT_EQ(GradeCode(s, "5-"), 10);
  EXPECT_EQ(GradeCode(s, cp("5·")), 20);
  s.znamky.setText(7, 0, "1 ");
  EXPECT_EQ(GradeCode(s, "1 "), 1);

  EXPECT_EQ(WeightNumber(s, kRed), 1);
  EXPECT_EQ(WeightNumber(s, kGreen), 4);
  EXPECT_EQ(WeightNumber(s, kBlack), 0);
  EXPECT_EQ(WeightNumber(s, kSysWindowText), 0);
  // Colours compare as painted: the default text colour is black.
  s.weights[2].color = kBlack;
  EXPECT_EQ(WeightNumber(s, kSysWindowText), 3);
  s.weights[0].color = kGreen;
  EXPECT_EQ(WeightNumber(s, kGreen), 1);
}

TEST(GradePanel, WeightButtonsAndEdits) {
  VeklaState s = GradeBook(1, 1);
  SBHodnotaClick(s, 3);
  EXPECT_EQ(s.weightDown, 3);
  for (int c = 1; c <= 20; ++c) EXPECT_EQ(s.znamky.fontColor(c, 0), kGrey);
  EXPECT_NE(s.znamky.fontColor(21, 0), kGrey);
  EXPECT_NE(s.znamky.fontColor(1, 1), kGrey);

  s.weights[1].text = "1.5";
  EHodnotaExit(s, 2);
  EXPECT_EQ(s.weights[1].text, "1,50");
  s.weights[1].text = "x2";
  EHodnotaExit(s, 2);
  EXPECT_EQ(s.weights[1].text, "2,00");
  ASSERT_EQ(s.Memo1.size(), 1u);
  EXPECT_EQ(toUtf8(s.Memo1[0]), "Špatná hodnota x2");
  // A switched-off weight (white text) always reads 0,00.
  s.weights[3].color = kWhite;
  s.weights[3].text = "2,50";
  EHodnotaExit(s, 4);
  EXPECT_EQ(s.weights[3].text, "0,00");
  EXPECT_EQ(s.Memo1.size(), 1u);
}

TEST(GradePanel, ValueAndBandEdits) {
  VeklaState s = GradeBook(1, 1);
  s.znamky.setText(2, 1, "2.5");
  StringAGZnamkyAfterEdit(s, 2, 1);
  EXPECT_EQ(s.znamky.text(2, 1), "2,50");
  s.znamky.setText(3, 1, "12345678");
  StringAGZnamkyAfterEdit(s, 3, 1);
  EXPECT_EQ(s.znamky.text(3, 1), "123,45");
  EXPECT_GT(s.znamky.colWidth(3), s.znamky.colWidth(2));
  s.znamky2.setText(1, 0, "1,6");
  StringAGZnamky2AfterEdit(s, 1, 0);
  EXPECT_EQ(s.znamky2.text(1, 0), "1,60");
  ASSERT_EQ(s.Memo1.size(), 1u);
  EXPECT_EQ(toUtf8(s.Memo1[0]), "Špatná hodnota 12345678");

  StringAGZnamky2SelectCell(s, 4, 0);
  EXPECT_EQ(s.selValueCol, 4);
  EXPECT_EQ(s.selValueRow, 0);
  EXPECT_EQ(s.znamky2.selectedCellColor, kBandBg[4]);
  EXPECT_EQ(s.znamky2.selectedFontColor, kWhite);
}

TEST(GradePanel, DropDownRemembersTheSemesterBeingLeft) {
  VeklaState s = GradeBook(1, 1);
  s.semesterItems = {cp("1. pol. 2024/2025"), cp("2. pol. 2024/2025")};
  s.semesterItemIndex = 1;
  s.currentSemester = 1;
  CBZnamkyPololetiDropDown(s);
  EXPECT_EQ(s.currentSemester, 2);
  // An index outside the items changes nothing.
  CBZnamkyPololetiChange(s, 5);
  EXPECT_EQ(s.semesterItemIndex, 1);
  EXPECT_EQ(s.currentSemester, 2);
}

// Switching semesters stores the one being left and loads the chosen one;
// switching back brings the grades back with their weights.
TEST(GradePanel, SemesterSwitchKeepsEachSemester) {
  SetNow(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 0)));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  VeklaState s = GradeBook(2, 1);
  s.programDir = dir.path() + "/";
  s.semesterItems = {cp("1. pol. 2024/2025"), cp("2. pol. 2024/2025")};
  s.semesterItemIndex = 0;
  s.semesterText = s.semesterItems[0];
  s.currentSemester = 1;
  Grade(s, 3, 4, "2 ", kBlue);
  ComputeStatistics(s);

  CBZnamkyPololetiDropDown(s);
  CBZnamkyPololetiChange(s, 1);
  EXPECT_EQ(s.currentSemester, 2);
  EXPECT_EQ(s.semesterItemIndex, 1);
  EXPECT_EQ(s.semesterText, s.semesterItems[1]);
  EXPECT_EQ(s.grid.text(3, 4), "");

  CBZnamkyPololetiDropDown(s);
  CBZnamkyPololetiChange(s, 0);
  EXPECT_EQ(s.currentSemester, 1);
  EXPECT_EQ(s.grid.text(3, 4), "2 ");
  EXPECT_EQ(resolveColor(s.grid.fontColor(3, 4)), kBlue);
  EXPECT_EQ(s.grid.text(s.grid.colCount() - 4, 4), "2,000");
  SetNow(QDateTime());
}

// A semester picked without opening the list (arrow keys on the closed box)
// has no drop-down before it: the semester being left is still the one
// shown, so nothing is stored over another semester.
TEST(GradePanel, SemesterSwitchWithoutDropDownStoresTheShownOne) {
  SetNow(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 0)));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  VeklaState s = GradeBook(1, 1);
  s.programDir = dir.path() + "/";
  s.semesterItems = {cp("1. pol. 2023/2024"), cp("2. pol. 2023/2024"), cp("1. pol. 2024/2025")};
  s.semesterItemIndex = 0;
  s.semesterText = s.semesterItems[0];
  s.currentSemester = 1;
  Grade(s, 3, 4, "2 ", kBlue);

  CBZnamkyPololetiChange(s, 1);
  EXPECT_EQ(s.grid.text(3, 4), "");
  Grade(s, 3, 4, "4 ", kRed);
  CBZnamkyPololetiChange(s, 2);
  EXPECT_EQ(s.currentSemester, 3);
  EXPECT_EQ(s.grid.text(3, 4), "");

  CBZnamkyPololetiChange(s, 0);
  EXPECT_EQ(s.grid.text(3, 4), "2 ");
  EXPECT_EQ(resolveColor(s.grid.fontColor(3, 4)), kBlue);
  CBZnamkyPololetiChange(s, 1);
  EXPECT_EQ(s.grid.text(3, 4), "4 ");
  EXPECT_EQ(resolveColor(s.grid.fontColor(3, 4)), kRed);
  SetNow(QDateTime());
}
