// A grade book edited in the window before it is saved: students removed and
// inserted keep their own grades of every semester.
#include <gtest/gtest.h>

#include "gradesfixtures.h"
#include "commands/commands.h"

namespace vekla::test {
namespace {

class GradesEditTest : public GradesTest {};

TEST_F(GradesEditTest, RemovedAndInsertedStudentsKeepTheirOwnSemesters) {
  const std::vector<Semester> sems{{"20041", B({1, 9}), "", B({8, 10}), B({8, 55})},
                                   {"20042", B({3, 2}), "", B({9, 5}), B({9, 50})}};
  const std::vector<Student> students{
      {"1", cp("Anna Malá"), "0", {{B({1, 1}), "a1"}, {B({2, 3}), "a2"}}},
      {"2", cp("Bob Velký"), "1", {{B({1, 2}), "b1"}, {B({1, 4}), "b2"}}},
      {"3", cp("Cyril Horák"), "2", {{B({3, 5}), "c1"}, {B({4, 1}), "c2"}}}};
  WriteBytes(path("Znamky-7a.PDB"), GradesDb("Znamky-7a", "ffffff", sems, students));
  ReadGrades(s, p, path("Znamky-7a.PDB"), true);
  ASSERT_EQ(s.grid.rowCount(), 9);

  // Bob leaves the class; a new student comes after Cyril.
  p.questionAnswers = {true};
  StringAlignGridSelectCell(s, {2, 5});
  SBDeleteClick(s, p);
  StringAlignGridSelectCell(s, {2, 5});
  SBInsertClick(s);
  ASSERT_EQ(s.grid.text(2, 5), cp("Cyril Horák"));
  ASSERT_EQ(s.grid.text(0, 6), cp("4. Nový"));

  p.questionAnswers = {true};  // semester 1 as well
  p.saveAnswers = {path("Znamky-7a.PDB")};
  WriteGrades(s, p);
  ASSERT_TRUE(p.errors.empty());
  const std::string out = ReadBytes(path("Znamky-7a.PDB"));
  ASSERT_EQ(out[77], 6);  // three special records and three students
  EXPECT_EQ(RecordBody(out, 4), Fields({"1", cp("Anna Malá"), "0", B({1, 1}), "a1", B({2, 3}), "a2"}));
  EXPECT_EQ(RecordBody(out, 5), Fields({"3", cp("Cyril Horák"), "2", B({3, 5}), "c1", B({4, 1}), "c2"}));
  EXPECT_EQ(RecordBody(out, 6), Fields({"4", cp("Nový záznam"), "0", "", "", "", ""}));
}

}  // namespace
}  // namespace vekla::test
