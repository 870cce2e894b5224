// What the commands around the codecs must keep: a file that cannot be
// opened or imported leaves the grid, the panels, the log, the semester
// store, the semester box and the buttons exactly as they were, although the
// codec got far into it.
#include <gtest/gtest.h>

#include <functional>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "support/kindsfixture.h"
#include "workspace/semesters.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class Glue : public KindTest {
 protected:
  Glue() : KindTest(DbKind::Znamky) {}

  Outcome Import(const std::string& bytes) {
    WriteBytes(path("Znamky-7A.csv"), bytes);
    p.openAnswers = {path("Znamky-7A.csv")};
    return RunCommand(s, p, [&] { return ConvertClick(s, p, Conversion::ImportCsv); });
  }

  // Everything a failed command must leave as it was, the buttons included.
  std::string Picture() {
    std::string out = Snapshot(s) + "|" + std::to_string(s.selCol) + "," + std::to_string(s.selRow) + "|";
    for (std::size_t i = 0; i < kControlCount; ++i) out += s.controls[i].enabled ? '1' : '0';
    return out;
  }
};

TEST_F(Glue, AFileThatFailsLateChangesNothing) {
  // A class of two with a stored semester, a line in the log, a grade cell
  // selected.
  ASSERT_EQ(Import(cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9\r\n;;08:00\r\n;;08:45\r\n"
                      "1;Adámková Eva;1 ;;;pochvala;0\r\n2;Bílý Jan;3 ;;;;1\r\n")),
            Outcome::Done);
  StoreSemester(s);
  MarkSaved(s);
  // A database of the class, whose class colour is then damaged: the
  // container is sound, so the grade-book reader itself refuses it.
  s.shape1 = kWhite;
  p.saveAnswers = {path("Znamky-7A.PDB")};
  ASSERT_EQ(RunCommand(s, p, [&] { return UlozClick(s, p); }), Outcome::Done);
  std::string bytes = ReadBytes(path("Znamky-7A.PDB"));
  ASSERT_NE(bytes.find("ffffff"), std::string::npos);
  bytes.replace(bytes.find("ffffff"), 6, "zz00zz");
  WriteBytes(path("Znamky-8B.PDB"), bytes);
  s.Memo1 = {cp("dřívější řádek")};
  StringAlignGridSelectCell(s, {3, 5});
  const std::string before = Picture();

  const struct {
    const char* what;
    std::function<Outcome()> command;
  } cases[] = {
      {"a grade book with a damaged class colour",
       [&] {
         p.openAnswers = {path("Znamky-8B.PDB")};
         return RunCommand(s, p, [&] { return OtevriClick1(s, p); });
       }},
      {"an empty CSV file", [&] { return Import(""); }},
      {"a topic plan's CSV on the grades tab", [&] { return Import(cp("1;Úvod;1.9.2025;;1;1;1;0\r\n")); }},
      {"a grade book's CSV with more grade columns than a semester holds",
       [&] { return Import(cp("Pořadí;Jméno") + std::string(128 * 2, ';') + "\r\n;;1.9\r\n;;1\r\n;;1\r\n1;A;1\r\n"); }},
  };
  for (int i = 0; i < 4; ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(c.what);
    p.errors.clear();
    p.messages.clear();
    EXPECT_NE(c.command(), Outcome::Done);
    // Said once (a grade book also says when its preferences are missing).
    EXPECT_EQ(p.errors.size() + p.messages.size(), std::size_t{i == 0 ? 2u : 1u});
    EXPECT_EQ(Picture(), before);
  }
}

}  // namespace
