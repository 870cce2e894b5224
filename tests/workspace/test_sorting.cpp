// Sorting by a click on a column header: direction marks, the keys of the
// topic plans and the grade book, Czech order, and the tabs that ignore it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"
#include "workspace/sorting.h"

using namespace vekla;
using namespace vekla::test;

namespace {

using Strings = std::vector<std::string>;

// Column `col` of rows `from` to `to` as UTF-8 texts.
Strings Column(const VeklaState& s, int col, int from, int to) {
  Strings out;
  for (int r = from; r <= to; ++r) out.push_back(toUtf8(s.grid.text(col, r)));
  return out;
}

void Click(VeklaState& s, int col, int times) {
  for (int i = 0; i < times; ++i) StringAlignGridFixedColClick(s, col);
}

// Every text, colour and width of the main grid, and its current cell.
std::string Dump(const CellGrid& g) {
  std::string out = std::to_string(g.currentCol) + "," + std::to_string(g.currentRow) + "|";
  for (int c = 0; c < g.colCount(); ++c) out += std::to_string(g.colWidth(c)) + "|";
  for (int r = 0; r < g.rowCount(); ++r)
    for (int c = 0; c < g.colCount(); ++c)
      out += g.text(c, r) + "/" + std::to_string(g.brush(c, r)) + "/" + std::to_string(g.fontColor(c, r)) + "|";
  return out;
}

// A topic plan of one row per text in column `col`. Column "Poznámka" (or
// "Pořadí" when that one is sorted) tells the rows apart: "r1", "r2", ...
VeklaState TopicPlan(int col, const Strings& texts, int& idCol) {
  VeklaState s;
  SetupTab(s, DbKind::Rozpisy);
  idCol = col == 4 ? 1 : 4;
  s.grid.setRowCount(static_cast<int>(texts.size()) + 1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    s.grid.setText(col, static_cast<int>(i) + 1, cp(texts[i]));
    s.grid.setText(idCol, static_cast<int>(i) + 1, "r" + std::to_string(i + 1));
  }
  return s;
}

}  // namespace

TEST(Sorting, TopicPlanKeysInBothDirections) {
  struct Case {
    int col;
    Strings texts;
    int clicks;
    const char* header;
    Strings sorted;
    Strings rows;
  };
  const Case cases[] = {
      // A to Z, then Z to A, then A to Z again; empty topics last every time.
      {2, {"b", "", "a", "c"}, 1, "+ Téma", {"a", "b", "c", ""}, {"r3", "r1", "r4", "r2"}},
      {2, {"b", "", "a", "c"}, 2, "- Téma", {"c", "b", "a", ""}, {"r4", "r1", "r3", "r2"}},
      {2, {"b", "", "a", "c"}, 3, "+ Téma", {"a", "b", "c", ""}, {"r3", "r1", "r4", "r2"}},
      // Czech order without regard to case: č after c, ch after h, Ž after Z.
      {2,
       {"ch", "i", "Žák", "č", "H", "Zeman", "c", "Ahoj", "bez"},
       1,
       "+ Téma",
       {"Ahoj", "bez", "c", "č", "H", "ch", "i", "Zeman", "Žák"},
       {"r8", "r9", "r7", "r4", "r5", "r1", "r2", "r6", "r3"}},
      // Equal keys keep their order going up and swap going down.
      {4, {"x", "x", "a"}, 1, "+ Poznámka", {"a", "x", "x"}, {"r3", "r1", "r2"}},
      {4, {"x", "x", "a"}, 2, "- Poznámka", {"x", "x", "a"}, {"r2", "r1", "r3"}},
      // Dates by year, month, day; a day of three characters counts by its first two.
      {3,
       {"15.1.2025", "", "1.2.2024", "123.1.2024", "13.1.2024", "11.1.2024"},
       1,
       "+ Datum",
       {"11.1.2024", "123.1.2024", "13.1.2024", "1.2.2024", "15.1.2025", ""},
       {"r6", "r4", "r5", "r3", "r1", "r2"}},
      {3, {"15.1.2025", "", "1.2.2024"}, 2, "- Datum", {"15.1.2025", "1.2.2024", ""}, {"r1", "r3", "r2"}},
      // Numbers by value; an empty one is a zero.
      {1, {"10", "9", "", "100"}, 1, "+ Pořadí", {"", "9", "10", "100"}, {"r3", "r2", "r1", "r4"}},
      {8, {"1", "0", "1"}, 2, "- Hotovo", {"1", "1", "0"}, {"r3", "r1", "r2"}},
  };
  for (const Case& c : cases) {
    int id = 0;
    VeklaState s = TopicPlan(c.col, c.texts, id);
    const int last = static_cast<int>(c.texts.size());
    Click(s, c.col, c.clicks);
    SCOPED_TRACE(std::string(c.header) + " after " + std::to_string(c.clicks) + " clicks");
    EXPECT_EQ(toUtf8(s.grid.text(c.col, 0)), c.header);
    EXPECT_EQ(Column(s, c.col, 1, last), c.sorted);
    EXPECT_EQ(Column(s, id, 1, last), c.rows);
    EXPECT_EQ(Column(s, 0, 1, 2), (Strings{"1", "2"}));  // the row labels stay
  }
}

TEST(Sorting, MoreThan9999TopicsKeepEveryRow) {
  const int n = 10001;
  int id = 0;
  VeklaState s = TopicPlan(2, Strings(n, "x"), id);
  Click(s, 2, 1);
  EXPECT_EQ(Column(s, id, 9999, n), (Strings{"r9999", "r10000", "r10001"}));
  Click(s, 2, 1);
  EXPECT_EQ(Column(s, id, 1, 3), (Strings{"r10001", "r10000", "r9999"}));
  EXPECT_EQ(toUtf8(s.grid.text(id, n)), "r1");
}

TEST(Sorting, TimetableCalendarAndLabelColumnIgnoreTheClick) {
  const std::pair<DbKind, int> cases[] = {
      {DbKind::Rozvrh, 2}, {DbKind::Kalendar, 1}, {DbKind::Rozpisy, 0}, {DbKind::Rozpisy, 9}, {DbKind::Znamky, 0}};
  for (const auto& [kind, col] : cases) {
    VeklaState s;
    SetupTab(s, kind);
    s.grid.setText(1, 2, "b");
    s.grid.setText(1, 3, "a");
    s.grid.currentRow = 3;
    const std::string before = Dump(s.grid);
    StringAlignGridFixedColClick(s, col);
    EXPECT_EQ(Dump(s.grid), before) << "kind " << static_cast<int>(kind) << ", column " << col;
  }
}

namespace {

// Four students (rows 4 to 7) and two grade columns (3, 4): C = 9, R = 10.
// Novák and Černý have the same average 2,000, Adam 1,000, the fourth none.
VeklaState FourStudents() {
  VeklaState s;
  GradeBookGrid(s, 4, 2);
  DefaultGradeScale(s);
  const char* names[4] = {"Novák", "Adam", "Černý", ""};
  for (int n = 1; n <= 4; ++n) {
    s.grid.setText(1, n + 3, std::to_string(n));
    s.grid.setText(2, n + 3, cp(names[n - 1]));
  }
  auto grade = [&](int col, int row, const char* symbol, int weight) {
    s.grid.setText(col, row, cp(symbol));
    s.grid.setFontColor(col, row, kWeightColours[weight - 1]);
  };
  grade(3, 4, "1 ", 1);
  grade(4, 4, "3 ", 2);
  grade(3, 5, "1 ", 4);
  grade(3, 6, "2 ", 3);
  ComputeStatistics(s);
  return s;
}

}  // namespace

TEST(Sorting, GradeBookKeysInBothDirections) {
  struct Case {
    int col;
    int clicks;
    const char* header;
    Strings names;
  };
  const Case cases[] = {
      {2, 1, "+ Jméno", {"Adam", "Černý", "Novák", ""}},
      {2, 2, "- Jméno", {"Novák", "Černý", "Adam", ""}},
      // Equal averages keep their order going up and swap going down; no average is last.
      {5, 1, "+ Průměr", {"Adam", "Novák", "Černý", ""}},
      {5, 2, "- Průměr", {"Černý", "Novák", "Adam", ""}},
      // By grade value; a cell without a grade is last both ways.
      {3, 1, "+ 1", {"Novák", "Adam", "Černý", ""}},
      {3, 2, "- 1", {"Černý", "Adam", "Novák", ""}},
      {1, 2, "- Pořadí", {"", "Černý", "Adam", "Novák"}},
  };
  for (const Case& c : cases) {
    VeklaState s = FourStudents();
    Click(s, c.col, c.clicks);
    SCOPED_TRACE(c.header);
    EXPECT_EQ(toUtf8(s.grid.text(c.col, 0)), c.header);
    EXPECT_EQ(Column(s, 2, 4, 7), c.names);
  }
}

TEST(Sorting, GradesKeepTheirColoursAndStatisticsFollow) {
  VeklaState s = FourStudents();
  s.grid.setText(3, 8, "stale");  // the column average, recomputed after the sort
  s.grid.currentRow = 5;
  Click(s, 2, 1);  // Adam, Černý, Novák, nobody

  EXPECT_EQ(Column(s, 0, 4, 7), (Strings{"2. Nový", "3. Nový", "1. Nový", "4. Nový"}));
  EXPECT_EQ(Column(s, 3, 4, 7), (Strings{"1 ", "2 ", "1 ", ""}));
  EXPECT_EQ(s.grid.fontColor(3, 4), kWeightColours[3]);
  EXPECT_EQ(s.grid.fontColor(3, 5), kWeightColours[2]);
  EXPECT_EQ(s.grid.fontColor(3, 6), kWeightColours[0]);
  EXPECT_EQ(s.grid.fontColor(4, 6), kWeightColours[1]);
  EXPECT_EQ(Column(s, 5, 4, 7), (Strings{"1,000", "2,000", "2,000", ""}));
  EXPECT_EQ(s.grid.text(3, 8), "1,333");
  // Adam's average is in the first band, and so are his order number and deviation.
  for (int c : {1, 5, 6}) {
    EXPECT_EQ(s.grid.brush(c, 4), kBandBg[0]) << c;
    EXPECT_EQ(s.grid.fontColor(c, 4), kBandFg[0]) << c;
  }
  EXPECT_EQ(s.grid.currentRow, 1);
}
