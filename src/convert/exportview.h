#pragma once
// What the HTML pages and the Excel workbooks show alike: the name their
// files take, which topics are headings, colour codes, decimal points, and
// the grade book as the display options show it.
#include <string>
#include <string_view>
#include <vector>

#include "pdb/color.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

// The database name the exports use: the kind's default name when the
// database has none. The state keeps its own (empty) name: an export
// changes nothing in the tab.
std::string ExportDatabaseName(const VeklaState& s);
// The file stem of a page or workbook made from the database name: its
// folder part dropped, leading spaces removed, Czech letters folded, A to Z
// in lower case and the characters " ", ".", "?", "*", "|" and "%" removed
// ("Rozpisy-Čeština 2.A" gives "rozpisy-cestina2a"). What a browser or a
// file system would read otherwise ("#", "<", ">", the double quote and
// control characters) becomes "_", and a name Windows keeps for a device
// ("con", "lpt1", ...) gets a "_" after it. The grade book adds "_" and four
// digits, 1 or 0: Zhustit, Barevne, ZnamkyBarevne, Zvlast, of which the
// per-student layout always sets the first and the last.
std::string ExportPageStem(const VeklaState& s, const GradeDisplayOptions& o);
// The same without the display options' digits ("znamky-7a").
std::string ExportNameStem(const VeklaState& s);

// Whether a topic is a heading: its first character after leading spaces
// ("a" for an empty topic), folded, is a digit or a capital letter.
bool IsHeadingTopic(std::string_view topic);
// A colour as six upper-case hexadecimal digits, red first ("FF0000").
std::string ColorCode(Color c);
// A statistic as a number to other programs: the decimal comma as a point.
std::string DecimalPoint(std::string_view text);

// The grade book as the exports show it under the display options.
class GradeView {
 public:
  GradeView(const VeklaState& s, const GradeDisplayOptions& o);

  const CellGrid& grid() const { return g_; }
  const GradeGeometry& geometry() const { return geo_; }
  const GradeDisplayOptions& options() const { return o_; }
  // The most grades of one student, at least 1.
  int mostGrades() const { return most_; }
  // The grade columns of the student in `row` that hold a grade, in order.
  std::vector<int> gradesOf(int row) const;
  // A cell's background under Barevne (white without it), the colour of a
  // grade under ZnamkyBarevne and the colour of another text under Barevne
  // (black without them). System colours are resolved.
  Color background(int col, int row) const;
  Color gradeColor(int col, int row) const;
  Color textColor(int col, int row) const;

 private:
  const CellGrid& g_;
  GradeGeometry geo_;
  GradeDisplayOptions o_;
  int most_ = 1;
};

}  // namespace vekla
