// Sorting by a click on a column header: direction marks, the keys of the
// topic plans and the grade book, Czech order, and the tabs that ignore it.
#include <gtest/gtest.h>

#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradestats.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"
#include "workspace/sorting.h"

using namespace vekla;
using namespace vekla::test;
using Strings = std::vector<std::string>;

namespace {

Strings Column(const VeklaState& s, int col, int from, int to) {
  Strings out;
  for (int r = from; r <= to; ++r) out.push_back(toUtf8(s.grid.text(col, r)));
  return out;
}

void Click(VeklaState& s, int col, int times) {
  for (int i = 0; i < times; ++i) StringAlignGridFixedColClick(s, col);
}

// A topic plan with one row per text in column `col`, repeated in column
// "Do" to show that whole rows move.
VeklaState TopicPlan(int col, const Strings& texts) {
  VeklaState s;
  SetupTab(s, DbKind::Rozpisy);
  s.grid.setRowCount(static_cast<int>(texts.size()) + 1);
  for (std::size_t i = 0; i < texts.size(); ++i)
    for (int c : {col, 6}) s.grid.setText(c, static_cast<int>(i) + 1, cp(texts[i]));
  return s;
}

}  // namespace

TEST(Sorting, TopicPlanKeys) {
  struct Case {
    int col, clicks;
    const char* header;
    Strings texts, sorted;
  };
  const Case cases[] = {
      {2, 1, "+ Téma", {"b", "", "a", "c"}, {"a", "b", "c", ""}},
      {2, 2, "- Téma", {"b", "", "a", "c"}, {"c", "b", "a", ""}},
      {2, 1, "+ Téma", {"ch", "i", "Žák", "č", "H", "Zeman", "c"}, {"c", "č", "H", "ch", "i", "Zeman", "Žák"}},
      // A day of three characters counts by its first two.
      {3, 1, "+ Datum", {"15.1.2025", "", "1.2.2024", "123.1.2024"}, {"123.1.2024", "1.2.2024", "15.1.2025", ""}},
      {3, 2, "- Datum", {"15.1.2025", "", "1.2.2024"}, {"15.1.2025", "1.2.2024", ""}},
      {1, 1, "+ Pořadí", {"10", "9", "100"}, {"9", "10", "100"}},
  };
  for (const Case& c : cases) {
    VeklaState s = TopicPlan(c.col, c.texts);
    Click(s, c.col, c.clicks);
    const int last = static_cast<int>(c.texts.size());
    EXPECT_EQ(toUtf8(s.grid.text(c.col, 0)), c.header);
    EXPECT_EQ(Column(s, c.col, 1, last), c.sorted) << c.header;
    EXPECT_EQ(Column(s, 6, 1, last), c.sorted) << c.header;
  }
}

// The row's position in the key takes more than four digits when needed, so
// no row is lost or misplaced in a long topic plan.
TEST(Sorting, LongTopicPlanKeepsItsOrderOnEqualKeys) {
  VeklaState s = TopicPlan(2, Strings(10001, "x"));
  for (int r = 1; r <= 10001; ++r) s.grid.setText(4, r, std::to_string(r));
  Click(s, 2, 2);
  EXPECT_EQ(Column(s, 4, 1, 3), (Strings{"10001", "10000", "9999"}));
  EXPECT_EQ(Column(s, 4, 10001, 10001), Strings{"1"});
}

TEST(Sorting, OtherTabsAndTheLabelColumnIgnoreTheClick) {
  const std::pair<DbKind, int> cases[] = {
      {DbKind::Rozvrh, 2}, {DbKind::Kalendar, 1}, {DbKind::Rozpisy, 0}, {DbKind::Znamky, 0}};
  for (const auto& [kind, col] : cases) {
    VeklaState s;
    SetupTab(s, kind);
    s.grid.setText(col, 2, "b");
    auto dump = [&] {
      std::string out;
      for (const auto& row : s.grid.store())
        for (const Cell& c : row) out += c.text + std::to_string(c.brush) + std::to_string(c.font) + "|";
      return out + std::to_string(s.grid.colWidth(col));
    };
    const std::string before = dump();
    StringAlignGridFixedColClick(s, col);
    EXPECT_EQ(dump(), before) << static_cast<int>(kind);
  }
}

namespace {

// Students Novák, Adam, Černý and one without a name or grades, in rows 4
// to 7; two grade columns 3 and 4, the average in column 5.
VeklaState FourStudents() {
  VeklaState s;
  GradeBookGrid(s, 4, 2);
  DefaultGradeScale(s);
  const char* names[4] = {"Novák", "Adam", "Černý", ""};
  for (int n = 0; n < 4; ++n) s.grid.setText(2, n + 4, cp(names[n]));
  const std::tuple<int, int, const char*, int> grades[] = {
      {3, 4, "1 ", 0}, {4, 4, "3 ", 1}, {3, 5, "1 ", 3}, {3, 6, "2 ", 2}};
  for (const auto& [col, row, symbol, weight] : grades) {
    s.grid.setText(col, row, symbol);
    s.grid.setFontColor(col, row, kWeightColours[weight]);
  }
  ComputeStatistics(s);  // Novák and Černý 2,000, Adam 1,000
  return s;
}

}  // namespace

TEST(Sorting, GradeBookKeys) {
  const std::tuple<int, int, Strings> cases[] = {
      {2, 1, {"Adam", "Černý", "Novák", ""}}, {2, 2, {"Novák", "Černý", "Adam", ""}},
      {5, 1, {"Adam", "Novák", "Černý", ""}}, {5, 2, {"Černý", "Novák", "Adam", ""}},
      {3, 1, {"Novák", "Adam", "Černý", ""}}, {3, 2, {"Černý", "Adam", "Novák", ""}},
  };
  for (const auto& [col, clicks, names] : cases) {
    VeklaState s = FourStudents();
    Click(s, col, clicks);
    EXPECT_EQ(Column(s, 2, 4, 7), names) << col << " " << clicks;
  }
}

TEST(Sorting, GradesKeepTheirColoursAndStatisticsFollow) {
  VeklaState s = FourStudents();
  s.grid.setText(3, 8, "stale");
  Click(s, 2, 1);  // Adam, Černý, Novák, nobody
  EXPECT_EQ(Column(s, 0, 4, 7), (Strings{"2. Nový", "3. Nový", "1. Nový", "4. Nový"}));
  EXPECT_EQ(Column(s, 3, 4, 6), (Strings{"1 ", "2 ", "1 "}));
  for (const auto& [col, row, weight] : {std::tuple{3, 4, 3}, {3, 5, 2}, {3, 6, 0}, {4, 6, 1}})
    EXPECT_EQ(s.grid.fontColor(col, row), kWeightColours[weight]) << col << "," << row;
  EXPECT_EQ(s.grid.text(3, 8), "1,333");
  EXPECT_EQ(s.grid.brush(1, 4), kBandBg[0]);  // Adam's order number in his average's band
  EXPECT_EQ(s.grid.currentRow, 1);
}
