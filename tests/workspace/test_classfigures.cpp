// The figures of a class the overview and the report show: the grades that
// count (as they count for the averages), the students by average, the
// band of a shown average, one student's grades.
#include <gtest/gtest.h>

#include "pdb/text.h"
#include "support/gradebook.h"
#include "workspace/classfigures.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr Color kNoWeight = rgbHex(0x123456);

struct Grade {
  const char* text;
  Color colour;
};

// A grade book of one row of grades a student (columns 3 on), statistics
// computed. Weights: 1, 2, 0,5, 3.
VeklaState Book(const std::vector<std::vector<Grade>>& students) {
  VeklaState s;
  DefaultGradeScale(s);
  const char* values[4] = {"1,00", "2,00", "0,50", "3,00"};
  for (std::size_t n = 0; n < 4; ++n) s.weights[n].text = values[n];
  std::size_t columns = 1;
  for (const auto& row : students) columns = std::max(columns, row.size());
  GradeBookGrid(s, static_cast<int>(students.size()), static_cast<int>(columns));
  for (std::size_t i = 0; i < students.size(); ++i) {
    const int r = GradeGeometry::studentRow(static_cast<int>(i) + 1);
    s.grid.setText(1, r, std::to_string(i + 1));
    s.grid.setText(2, r, "S" + std::to_string(i + 1));
    for (std::size_t c = 0; c < students[i].size(); ++c) {
      s.grid.setText(static_cast<int>(c) + 3, r, cp(students[i][c].text));
      s.grid.setFontColor(static_cast<int>(c) + 3, r, students[i][c].colour);
    }
  }
  ComputeStatistics(s);
  return s;
}

const Color w1 = kWeightColours[0], w2 = kWeightColours[1], w3 = kWeightColours[2], w4 = kWeightColours[3];

// Only a symbol of the scale in a weight's colour counts, in the whole
// class and in its column.
TEST(ClassFigures, TalliesCountWhatTheAveragesCount) {
  const VeklaState s = Book({{{"1 ", w1}, {"1 ", w2}, {"1-", w4}},
                             {{"1", w1}, {"2 ", kNoWeight}, {"1·", w3}},
                             {{"5*", w1}, {"", w1}, {"1 ", w1}}});
  const GradeTally all = TallyClass(s);
  EXPECT_EQ(all.total, 6);
  struct Count {
    int code, weight, n;
  };
  for (const Count& c : {Count{1, 1, 2}, Count{1, 2, 1}, Count{6, 4, 1}, Count{16, 3, 1}, Count{15, 1, 1},
                         Count{2, 1, 0}, Count{2, 2, 0}})
    EXPECT_EQ(all.counts[static_cast<std::size_t>(c.code)][static_cast<std::size_t>(c.weight - 1)], c.n)
        << c.code << "/" << c.weight;
  EXPECT_EQ(all.of(1), 3);
  EXPECT_EQ(TallyColumn(s, 4).total, 1);
  EXPECT_EQ(TallyColumn(s, 5).of(1), 1);
  // Not a grade column: nothing.
  EXPECT_EQ(TallyColumn(s, 2).total, 0);
  EXPECT_EQ(TallyColumn(s, GradeGeometry(s.grid).averageCol()).total, 0);
}

// Best average first, then in the grid's order on equal averages, students
// without one last; every average is the cell's text and colours.
TEST(ClassFigures, StudentsByAverage) {
  const VeklaState s = Book({{{"3 ", w1}},
                             {{"x", w1}},
                             {{"1 ", w1}, {"2 ", w2}},
                             {{"2 ", w1}, {"1 ", w2}},
                             {{"3 ", w2}},
                             {}});
  std::vector<std::string> names, averages;
  for (const StudentFigure& st : StudentsByAverage(s)) {
    names.push_back(st.name);
    averages.push_back(st.average.text);
    EXPECT_EQ(st.average.text, s.grid.text(GradeGeometry(s.grid).averageCol(), st.row));
    EXPECT_EQ(st.average.background, resolveColor(s.grid.brush(GradeGeometry(s.grid).averageCol(), st.row)));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"S4", "S3", "S1", "S5", "S2", "S6"}));
  EXPECT_EQ(averages, (std::vector<std::string>{"1,333", "1,667", "3,000", "3,000", "", ""}));
}

// A band by the colours the statistics gave the cell; two bands of one
// colour told apart by their bounds; above the last band, black.
TEST(ClassFigures, BandOfAShownAverage) {
  VeklaState s = Book({{{"1 ", w1}}});
  s.znamky2.setColors(3, 0, s.znamky2.brush(2, 0), s.znamky2.fontColor(2, 0));
  struct Case {
    const char* text;
    Color background, color;
    int band;
  };
  const Case cases[] = {
      {"1,300", s.znamky2.brush(0, 0), s.znamky2.fontColor(0, 0), 0},
      {"1,301", s.znamky2.brush(1, 0), s.znamky2.fontColor(1, 0), 1},
      {"1,800", s.znamky2.brush(2, 0), s.znamky2.fontColor(2, 0), 2},
      {"2,500", s.znamky2.brush(2, 0), s.znamky2.fontColor(2, 0), 3},
      {"3,600", kBlack, kWhite, 5},
      {"", kWhite, kBlack, -1},
      {"2,000", rgbHex(0x00FF00), kBlack, -1},
  };
  for (const Case& c : cases) {
    ShownAverage a;
    a.text = c.text;
    a.value = ParseGradeNumber(c.text);
    a.background = resolveColor(c.background);
    a.color = resolveColor(c.color);
    EXPECT_EQ(BandOf(s, a), c.band) << c.text;
  }
  EXPECT_EQ(BandCaption(s, 2), "do 2,0");
  EXPECT_EQ(BandCaption(s, 5), "nad 3,5");
  EXPECT_EQ(WeightCaption(s, 3), cp("váha 3 (0,50)"));
}

// A student's grades: the counting ones, with column, weight and value.
TEST(ClassFigures, GradesOfAStudent) {
  const VeklaState s = Book({{{"1-", w2}, {"2 ", kNoWeight}, {"", w1}, {"4*", w4}, {"?", w1}}});
  const std::vector<StudentGrade> g = GradesOfStudent(s, GradeGeometry::studentRow(1));
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].col, 3);
  EXPECT_EQ(g[0].code, 6);
  EXPECT_EQ(g[0].weight, 2);
  EXPECT_DOUBLE_EQ(static_cast<double>(g[0].value), 1.5);
  EXPECT_EQ(g[1].col, 6);
  EXPECT_EQ(g[1].weight, 4);
  EXPECT_DOUBLE_EQ(static_cast<double>(g[1].value), 3.75);
  EXPECT_TRUE(GradesOfStudent(s, 2).empty());
}

}  // namespace
