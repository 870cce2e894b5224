// Records of far more fields than their kind has a use for: the fields the
// kind shows are read, the rest counted and cut as before, with one log line
// for the file (topic plans, calendar) or quietly (the timetable beyond its
// widest grid, the preferences beyond their items). A grade book's record
// beyond 100 semesters is refused (the grade-book tests).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "commands/filecommands.h"
#include "support/kindsfixture.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class SurplusFieldsTest : public KindTest {
 protected:
  SurplusFieldsTest() : KindTest(DbKind::Znamky) {}
};

// `count` fields of the text `text`.
std::string Many(std::size_t count, const std::string& text = "") {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += text + '\0';
  return out;
}

TEST_F(SurplusFieldsTest, FieldsBeyondWhatTheKindShowsAreCountedAndCut) {
  const std::string cut = cp("Záznamy databáze mají víc polí, než má tabulka sloupců (%); nadbytečná pole nebyla načtena.");
  const auto cutLine = [&](const char* n) { return cut.substr(0, cut.find('%')) + n + cut.substr(cut.find('%') + 1); };
  std::vector<std::string> week(39, Fields({"."}));
  week[0] = Fields({"0", "3", "1", "0", "ff0000"}) + Many(200000);
  week[11] = Fields({".", cp("Čj"), "M", "D"}) + Many(100000, "x");
  std::vector<std::string> scale;
  for (int i = 1; i <= 20; ++i) scale.insert(scale.end(), {"g" + std::to_string(i), std::to_string(i) + ".5"});
  const std::vector<std::string> prefs = {
      Fields({"x"}), Fields({"y"}), Fields(scale) + Many(300000, "z"),
      Fields({"ff0000", "2.5", "00ff00", "1", "0000ff", "1", "ffffff", "1"}) + Many(300000, "00zz00"),
      Fields({"00ff00", "1.3"})};
  struct Case {
    DbKind kind;
    std::string file;
    std::vector<std::tuple<int, int, std::string>> cells;  // column, row, text; of the grade scale on Znamky
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {DbKind::Rozpisy,
       pdbBytes("Rozpisy-M", "data", "TqbR", 0, 0,
                {Fields({"-1", "2", "ff0000"}) + Many(200000), Fields({"0", "2"}) + Many(200000),
                 Fields({"1", cp("Zlomky"), "", "", "1", "2", "3", "1"}) + Many(200000, "navíc")}),
       {{1, 1, "1"}, {2, 1, cp("Zlomky")}, {8, 1, "1"}, {9, 1, ""}},
       {cutLine("8")}},
      {DbKind::Kalendar,
       pdbBytes("vekla-datum", "datu", "TqbK", 0, 0, {Fields({cp("Nový rok")}) + Many(300000), Fields({"Karina"})}),
       {{1, 1, cp("Nový rok")}, {2, 1, ""}, {1, 2, "Karina"}},
       {cutLine("1")}},
      // Lesson fields are kept up to the widest grid (255 lessons).
      {DbKind::Rozvrh, pdbBytes("Vekla-7A", "data", "TqbK", 0, 0, week),
       {{2, 4, cp("Čj")}, {4, 4, "D"}, {5, 4, "x"}, {256, 4, "x"}, {257, 4, ""}}, {}},
      {DbKind::Znamky, pdbBytes("Znamky-db_pref", "data", "TqbZ", 0, 0, prefs),
       {{20, 0, "g20"}, {20, 1, "20,5"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    SetupTab(s, c.kind);
    const QString file = path("f.PDB");
    WriteBytes(file, c.file);
    switch (c.kind) {
      case DbKind::Rozpisy: ReadTopicPlans(s, p, file, false); break;
      case DbKind::Kalendar: ReadCalendar(s, p, file, false); break;
      case DbKind::Rozvrh: ReadTimetable(s, p, file, false); break;
      case DbKind::Znamky: ReadGradePreferences(s, p, file); break;
    }
    const CellGrid& g = c.kind == DbKind::Znamky ? s.znamky : s.grid;
    for (const auto& [col, row, text] : c.cells) EXPECT_EQ(g.text(col, row), text) << col << "," << row;
    EXPECT_EQ(s.Memo1, c.log);
  }
  EXPECT_EQ(s.weights[3].text, "1");
  EXPECT_EQ(s.znamky2.text(0, 0), "1,3");
  EXPECT_TRUE(p.messages.empty());
}

}  // namespace
