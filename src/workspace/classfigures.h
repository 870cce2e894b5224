#pragma once
// The figures of a class that the overview window and the per-student report
// show: how often each grade was given (in the whole class and in one grade
// column, by weight), the class average of each grade column with its date,
// the students ordered by average, and one student's grades. A grade counts
// here exactly when it counts for the averages (a symbol of the scale in a
// weight colour). Every average is read back from the cell the grid's
// statistics wrote, with that cell's colours, so a picture of the class
// never shows another number than the grid.
#include <array>
#include <string>
#include <vector>

#include "pdb/color.h"
#include "workspace/state.h"

namespace vekla {

// How many grades of each code (1 to 20) were given in each weight (1 to 4).
struct GradeTally {
  std::array<std::array<int, 4>, 21> counts{};  // [code][weight - 1]; code 0 unused
  int total = 0;
  int of(int code) const;  // all weights together
};

// Every counting grade of the class.
GradeTally TallyClass(const VeklaState& s);
// Every counting grade of one grade column; an empty tally for another column.
GradeTally TallyColumn(const VeklaState& s, int col);

// A statistics cell as the grid shows it: its text, the number it holds and
// its colours (the band's, after ComputeStatistics).
struct ShownAverage {
  std::string text;  // "1,667"; empty when there is no average
  long double value = 0;
  Color background = kWhite, color = kBlack;
  bool shown() const { return !text.empty(); }
};
ShownAverage AverageCell(const VeklaState& s, int col, int row);

// A grade column: its title, date and times, and its class average.
struct ColumnFigure {
  int col = 0;
  std::string title, date, from, to;
  ShownAverage average;
};
std::vector<ColumnFigure> ColumnFigures(const VeklaState& s);

// A student: the row, order number, name, note and average.
struct StudentFigure {
  int row = 0;
  std::string order, name, note;
  ShownAverage average;
};
// Every student in the grid's order.
std::vector<StudentFigure> Students(const VeklaState& s);
// Every student, the best average first; students without an average last,
// each group in the grid's order.
std::vector<StudentFigure> StudentsByAverage(const VeklaState& s);

// One grade of a student, with its column and weight.
struct StudentGrade {
  int col = 0;
  std::string symbol;
  int code = 0;    // 1 to 20
  int weight = 0;  // 1 to 4
  long double value = 0;
};
// The counting grades of the student in `row`, column by column.
std::vector<StudentGrade> GradesOfStudent(const VeklaState& s, int row);

// The band a shown average lies in: the band cell (0 to 4) whose colours
// the statistics gave the cell, 5 above the last band (black), -1 none.
int BandOf(const VeklaState& s, const ShownAverage& a);
// What a band means, for a legend: "do 2,0", or "nad 3,5" for 5.
std::string BandCaption(const VeklaState& s, int band);
// A weight's name as the print and the overview show it: "váha 2 (2,00)".
std::string WeightCaption(const VeklaState& s, int weight);

}  // namespace vekla
