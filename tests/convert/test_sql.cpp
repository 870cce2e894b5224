// SQL scripts of every kind against bytes worked out by hand.
#include <gtest/gtest.h>

#include <functional>

#include "convert/sql.h"
#include "pdb/codecs.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/kindops.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// The settings at the top of every script: the character set, and the
// session's sql_mode without the two modes that change what the texts mean.
const char* const kSettings =
    "SET NAMES cp1250;\n"
    "SET SESSION sql_mode = TRIM(BOTH ',' FROM REPLACE(REPLACE(CONCAT(',', @@SESSION.sql_mode, ','), "
    "',NO_BACKSLASH_ESCAPES,', ','), ',EMPTY_STRING_IS_NULL,', ','));\n";

// A whole script from UTF-8 lines ended by LF: the frame around a kind's
// column definitions and its data lines, CR LF line ends.
std::string Script(const char* table, const char* columns, const char* data) {
  return cp(ReplaceAll(std::string("#Tvorba tabulky\n\n") + kSettings + "DROP TABLE IF EXISTS `" + table +
                           "`;\nCREATE TABLE `" + table + "` (\n" + columns +
                           ") ENGINE=MyISAM DEFAULT CHARSET=cp1250;\n\n#Data pro tabulku\n" + data,
                       "\n", "\r\n"));
}

const char* const kGradeColumns = R"(`Poradi` smallint(6) NOT NULL default '0',
`Jmeno` varchar(60) NOT NULL default '',
`Znamky` varchar(254) NOT NULL default '',
`Prumer` float NOT NULL default '0',
`Odchylka` float NOT NULL default '0',
`Poznamka` varchar(250) NOT NULL default '',
`Zkousen` smallint(5) unsigned NOT NULL default '0',
PRIMARY KEY (`Poradi`,`Jmeno`)
)";

void Cells(VeklaState& t, int row, std::initializer_list<const char*> texts, int col = 1) {
  for (const char* x : texts) t.grid.setText(col++, row, cp(x));
}

struct Case {
  const char* what;
  DbKind kind;
  std::function<void(VeklaState&)> fill;
  const char* file;
  std::string script;
};

const Case kCases[] = {
    {"two students, five assessments", DbKind::Znamky,
     [](VeklaState& t) {
       GradeBookGrid(t, 2, 5);
       DefaultGradeScale(t);
       t.EditN = "Znamky-7A";
       t.semesterItems = {"1. pol. 2004/2005"};
       t.semesterItemIndex = 0;
       Cells(t, 1, {"5.9", "15.10"}, 3);
       Cells(t, 2, {"08:00", "10:45"}, 3);
       Cells(t, 3, {"08:45", "11:30"}, 3);
       Cells(t, 4, {"1", "Novák Jan", "2 ", "", "1 ", "", "", "2,35", "0,5", "O'Brien \\ pozn", "2"});
       Cells(t, 5, {"2", "Dvořák", "1 ", "3 "});
       for (int r : {6, 7}) t.grid.setText(8, r, "9,99");  // statistics rows: not exported
       for (auto [c, r, w] : {std::tuple{3, 4, 0}, {5, 4, 2}, {3, 5, 1}}) t.grid.setFontColor(c, r, kWeightColours[w]);
       t.grid.setFontColor(4, 5, kBlack);  // no weight's colour
     },
     "Znamky-7A20041.sql",
     Script("Znamky-7A20041", kGradeColumns,
            R"(INSERT INTO `Znamky-7A20041` VALUES (-6, 'Dny', '0515000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (-5, 'Mesice', '0910000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (-4, 'Hodiny1', '0810000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (-3, 'Minuty1', '0045000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (-2, 'Hodiny2', '0811000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (-1, 'Minuty2', '4530000000', '0', '0', '', 0);
INSERT INTO `Znamky-7A20041` VALUES (1, 'Novák Jan', '1B  3A', '2.35', '0.5', 'O''Brien \\ pozn', 2);
INSERT INTO `Znamky-7A20041` VALUES (2, 'Dvořák', '2A', '0', '0', '', 0);
)")},
    {"topic plan", DbKind::Rozpisy,
     [](VeklaState& t) {
       t.EditN = "Rozpisy-F";
       t.grid.setRowCount(5);
       Cells(t, 1, {"0", "Úvod", "15.10.2004", "it's", "", "2", "3", "1"});
       Cells(t, 2, {"", "úvod ", "5.9", "C:\\temp", "", "", "", ""});  // to the server the key of row 1
       Cells(t, 3, {"5", "Ř", "5.9.2004", "", "1", "1", "1", "0"});
       Cells(t, 4, {"007", "x", "29.2.2005", "a\r\nb", "abc", "70000", "-3", ""});
     },
     "Rozpisy-F.sql",
     Script("Rozpisy-F", R"(`Poradi` smallint(6) NOT NULL default '0',
`Tema` varchar(255) NOT NULL default '',
`Datum` date NULL default NULL,
`Poznamka` varchar(255) NOT NULL default '',
`Od` smallint(6) default NULL,
`Do` smallint(6) default NULL,
`Celkem` smallint(6) default NULL,
`Hotovo` tinyint(1) default NULL,
PRIMARY KEY (`Poradi`,`Tema`)
)",
            R"(INSERT INTO `Rozpisy-F` VALUES (1, 'Úvod', '2004-10-15', 'it''s', NULL, 2, 3, 1);
INSERT INTO `Rozpisy-F` VALUES (8, 'úvod ', NULL, 'C:\\temp', NULL, NULL, NULL, NULL);
INSERT INTO `Rozpisy-F` VALUES (5, 'Ř', '2004-9-5', '', 1, 1, 1, 0);
INSERT INTO `Rozpisy-F` VALUES (007, 'x', NULL, 'a\r\nb', NULL, 32767, -3, NULL);
)")},
    {"timetable", DbKind::Rozvrh,
     [](VeklaState& t) {
       t.EditN = "Vekla-A";
       t.grid.setColCount(3);
       Cells(t, 3, {""}, 2);  // no end time
       Cells(t, 4, {"Čj"}, 2);
       Cells(t, 7, {"O'Neil"}, 2);
       Cells(t, 22, {"\\"}, 2);
     },
     "Vekla-A.sql",
     Script("Vekla-A", R"(`Den` tinyint(4) NOT NULL default '0',
`Hodina` tinyint(4) NOT NULL default '0',
`Od` time NOT NULL default '00:00:00',
`Do` time NOT NULL default '00:00:00',
`Predmet` varchar(30) NOT NULL default '',
`Trida` varchar(30) NOT NULL default '',
`Ucebna` varchar(30) NOT NULL default '',
`Propojeni` varchar(20) NOT NULL default '',
PRIMARY KEY (`Den`,`Hodina`)
)",
            R"(
INSERT INTO `Vekla-A` VALUES (1, 1, '07:50:00', '00:00:00', 'Čj', '', '', 'O''Neil');
INSERT INTO `Vekla-A` VALUES (2, 1, '07:50:00', '00:00:00', '', '', '', '');
INSERT INTO `Vekla-A` VALUES (3, 1, '07:50:00', '00:00:00', '', '', '', '');
INSERT INTO `Vekla-A` VALUES (4, 1, '07:50:00', '00:00:00', '', '', '', '');
INSERT INTO `Vekla-A` VALUES (5, 1, '07:50:00', '00:00:00', '', '', '\\', '');
)")},
    {"calendar", DbKind::Kalendar,
     [](VeklaState& t) {
       t.grid.setRowCount(3);
       Cells(t, 2, {"x'\\"});
     },
     "vekla-datum.sql",
     Script("vekla-datum", R"(`mesic` tinyint(3) unsigned NOT NULL default '0',
`den` tinyint(3) unsigned NOT NULL default '0',
`jmeno` varchar(21) NOT NULL default '',
PRIMARY KEY (`mesic`,`den`)
)",
            R"(INSERT INTO `vekla-datum` VALUES (1, 1, '');
INSERT INTO `vekla-datum` VALUES (1, 2, 'x''\\');
)")},
};

class SqlTest : public KindTest {
 protected:
  SqlTest() : KindTest(DbKind::Znamky) {}
  ExportFiles Export(DbKind kind) {
    using Codec = ExportFiles (*)(const VeklaState&, const GradeDisplayOptions&);
    constexpr Codec kCodecs[] = {SqlGradeFiles, SqlTopicFiles, SqlTimetableFiles, SqlCalendarFiles};
    return kCodecs[static_cast<int>(kind)](s, {});
  }
  // The data lines of the kind's script.
  std::vector<std::string> Inserts(DbKind kind) {
    const std::string script = Export(kind)[0].bytes;
    std::vector<std::string> lines;
    for (std::size_t at = script.find("INSERT"); at != std::string::npos; at = script.find("INSERT", at + 1))
      lines.push_back(script.substr(at, script.find('\r', at) - at));
    return lines;
  }
};

TEST_F(SqlTest, ScriptsOfEveryKind) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    SetupTab(s, c.kind);
    c.fill(s);
    const ExportFiles files = Export(c.kind);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, QString::fromUtf8(c.file));
    EXPECT_EQ(files[0].bytes, c.script);
  }
}

// Texts and names that would end a string or an identifier, a statement or
// a line, or start a comment: each stays inside its quotes, its quote
// doubled, so that it means the same whatever the server's sql_mode.
TEST_F(SqlTest, HostileTextsAndNamesStayInTheirQuotes) {
  using namespace std::string_literals;
  const struct {
    std::string name, text;
    const char *table, *value;
  } cases[] = {
      {"a'b", "'", "a'b", "''''"},
      {"a\\b", "\\", "a\\b", "'\\\\'"},
      {"a`b", "`;--/*#", "a``b", "'`;--/*#'"},
      {"a\0b\r\nc"s, "a\0b\r\nc\x1a"s, "a_b__c", "'a\\0b\\r\\nc\\Z'"},
      {"x', 0); DROP DATABASE victim; #", "x'); DROP DATABASE victim; #", "x', 0); DROP DATABASE victim; #",
       "'x''); DROP DATABASE vi'"},
      // A quote as the last of the column's 21 characters is doubled inside
      // the literal; one after them is cut with the rest.
      {"", "12345678901234567890''", "vekla-datum", "'12345678901234567890'''"},
  };
  SetupTab(s, DbKind::Kalendar);
  s.grid.setRowCount(2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    s.EditN = c.name;
    s.grid.setText(1, 1, c.text);
    const std::string script = Export(DbKind::Kalendar)[0].bytes;
    const std::string table = std::string("`") + c.table + "`";
    EXPECT_NE(script.find("\r\nDROP TABLE IF EXISTS " + table + ";\r\nCREATE TABLE " + table + " (\r\n"),
              std::string::npos);
    EXPECT_EQ(Inserts(DbKind::Kalendar)[0], "INSERT INTO " + table + " VALUES (1, 1, " + c.value + ");");
  }
}

TEST_F(SqlTest, WithoutASemesterTheTableIsTheDatabaseName) {
  GradeBookGrid(s, 0, 1);
  s.EditN = "7`A' ";
  s.semesterItemIndex = -1;
  const ExportFiles files = Export(DbKind::Znamky);
  EXPECT_EQ(files[0].name, "7`A' .sql");
  EXPECT_NE(files[0].bytes.find("\r\nDROP TABLE IF EXISTS `7``A'`;\r\nCREATE TABLE `7``A'` (\r\n"), std::string::npos);
  EXPECT_EQ(Inserts(DbKind::Znamky)[0], "INSERT INTO `7``A'` VALUES (-6, 'Dny', '00', '0', '0', '', 0);");
}

TEST_F(SqlTest, NineLessonsGiveFortyFiveLinesAndTheCalendarEndsAtItsLastDay) {
  SetupTab(s, DbKind::Rozvrh);
  s.grid.setColCount(11);
  s.grid.setText(3, 1, "1");  // the first lesson's number again: the next free one
  const std::vector<std::string> lessons = Inserts(DbKind::Rozvrh);
  ASSERT_EQ(lessons.size(), 45u);
  EXPECT_EQ(lessons[1], "INSERT INTO `Vekla-` VALUES (1, 9, '08:40:00', '09:25:00', '', '', '', '');");

  SetupTab(s, DbKind::Kalendar);
  s.grid.setRowCount(370);
  for (int r : {60, 366, 369}) s.grid.setText(1, r, "den " + std::to_string(r));
  const std::vector<std::string> days = Inserts(DbKind::Kalendar);
  ASSERT_EQ(days.size(), 366u);
  EXPECT_EQ(days[59], "INSERT INTO `vekla-datum` VALUES (2, 29, 'den 60');");
  EXPECT_EQ(days[365], "INSERT INTO `vekla-datum` VALUES (12, 31, 'den 366');");
  // The rows after it are not days: a line for the log, none in the state.
  EXPECT_EQ(Export(DbKind::Kalendar).log.size(), 1u);
  EXPECT_TRUE(s.Memo1.empty());
}

}  // namespace
