// CSV files of every kind: lines split and joined byte by byte, each kind's
// export against bytes worked out by hand, its import from bytes built
// here, and export followed by import giving the same texts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "commands/kindtable.h"
#include "convert/csv.h"
#include "convert/csvlines.h"
#include "pdb/error.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"

using namespace vekla;
using namespace vekla::test;

namespace {

using Lines = std::vector<std::vector<std::string>>;
using Cells = std::vector<std::tuple<int, int, std::string>>;  // column, row, text

constexpr Color kRed = rgbHex(0xFF0000), kBlue = rgbHex(0x0000FF);

class CsvTest : public KindTest {
 protected:
  CsvTest() : KindTest(DbKind::Znamky) {}
  void Tab(DbKind kind) { SetupTab(s, kind); }
  // Through the kind's codec in the table of kinds.
  void Import(DbKind kind, const std::string& bytes, const char* name = "f.csv", bool twoValues = false) {
    const KindEntry& entry = KindTable(kind);
    const ImportCodec codec = entry.importer(twoValues && entry.has(Conversion::ImportCsvTwoValues)
                                                 ? Conversion::ImportCsvTwoValues
                                                 : Conversion::ImportCsv);
    codec(s, bytes, path(name), [&](const std::string& l) { labels.push_back(l); });
  }
  std::vector<std::string> labels;
};

TEST(CsvLines, SplitAndJoin) {
  const std::vector<std::pair<std::string, Lines>> reads = {
      {"a;b\r\nc\r\n", {{"a", "b"}, {"c"}}},
      {"a;b\nc\n", {{"a", "b"}, {"c"}}},
      {"ab\rcd\r", {{"ab"}, {"cd"}}},
      {"a\r\nb;c", {{"a"}, {"b", "c"}}},
      {"a\r\r\nb;", {{"a"}, {""}, {"b", ""}}},
      {"\"x;y\";\"say \"\"hi\"\"\"\r\n", {{"x;y", "say \"hi\""}}},
      {"\"1\r\n2\";z\n;\"\"", {{"1\r\n2", "z"}, {"", ""}}},
      {cp("\"Babička\" od;x\r\n"), {{cp("\"Babička\" od"), "x"}}},
      {"\"abc;d\r\ne", {{"\"abc", "d"}, {"e"}}},
  };
  for (const auto& [bytes, lines] : reads) EXPECT_EQ(SplitCsv(bytes), lines) << bytes;
  const std::vector<std::pair<Lines, std::string>> writes = {
      {{{"a", "b"}, {"c"}, {""}}, "a;b\r\nc\r\n\r\n"},
      {{{"x;y", "q\"r", "\"s", "1\r\n2", "3\r", ""}}, "\"x;y\";q\"r;\"\"\"s\";\"1\r\n2\";\"3\r\";\r\n"},
  };
  for (const auto& [lines, bytes] : writes) {
    EXPECT_EQ(JoinCsv(lines), bytes);
    EXPECT_EQ(SplitCsv(bytes), lines);
  }
}

// With a tab for the separator, as the clipboard's text is read: the same
// rules, the tab taking the place of ";", which is then plain text.
TEST(CsvLines, TabSeparated) {
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } reads[] = {
      {"quoted tab", "\"a\tb\"\tc\n", {{"a\tb", "c"}}},
      {"quoted line breaks", "\"1\r\n2\"\t\"3\n4\r5\"", {{"1\r\n2", "3\n4\r5"}}},
      {"doubled quote", "\"say \"\"hi\"\"\"\t\"\"\"\"\n", {{"say \"hi\"", "\""}}},
      {"quote that does not close", "\"open\tx\ny", {{"\"open", "x"}, {"y"}}},
      {"quote closing before text", cp("\"Babička\" od\tx"), {{cp("\"Babička\" od"), "x"}}},
      {"quote in the middle", "a\"b\tc\"d\"\n", {{"a\"b", "c\"d\""}}},
      {"CR LF, LF, lone CR", "a\r\nb\nc\rd\r\r\n", {{"a"}, {"b"}, {"c"}, {"d"}, {""}}},
      {"trailing empty fields", "a\t\n\t", {{"a", ""}, {"", ""}}},
      {"semicolons are text", "a;b\t\"x\";y\t\"p;q\"\n", {{"a;b", "\"x\";y", "p;q"}}},
  };
  for (const auto& c : reads) EXPECT_EQ(SplitCsv(c.bytes, '\t'), c.lines) << c.name;

  const Lines written = {{"a\tb", "q\"r", "\"s", "1\r\n2", "x;y", ""}, {""}};
  CsvWriter out('\t', "\n");
  for (const auto& line : written) {
    for (const auto& f : line) out.field(f);
    out.endLine();
  }
  const std::string bytes = out.take();
  EXPECT_EQ(bytes, "\"a\tb\"\tq\"r\t\"\"\"s\"\t\"1\r\n2\"\tx;y\t\n\n");
  EXPECT_EQ(SplitCsv(bytes, '\t'), written);
}

// A reader keeps the first fields of a line and counts the rest, reading
// quoted fields among them whole: their ";" and line ends are text.
TEST(CsvLines, SurplusFieldsAreCountedNotKept) {
  using Line = std::pair<std::size_t, std::vector<std::string>>;  // fields in all, fields kept
  const std::vector<std::tuple<std::string, std::size_t, std::vector<Line>>> cases = {
      {"a;b;c;d\r\ne", 2, {{4, {"a", "b"}}, {1, {"e"}}}},
      {"a;\"x;\r\ny\";\"\"\"\";d\nz", 1, {{4, {"a"}}, {1, {"z"}}}},
      {"a;\"x;\r\ny\";\"\"\"\";d\nz", CsvReader::kAllFields, {{4, {"a", "x;\r\ny", "\"", "d"}}, {1, {"z"}}}},
      {"\"open;x\ny", 1, {{2, {"\"open"}}, {1, {"y"}}}},
      {std::string(100000, ';') + "\r\n\n", 3, {{100001, {"", "", ""}}, {1, {""}}}},
  };
  for (const auto& [bytes, most, lines] : cases) {
    CsvReader in(bytes);
    std::vector<std::string> fields{"left over"};
    for (const auto& [count, kept] : lines) {
      EXPECT_EQ(in.next(fields, most), count) << bytes.substr(0, 20);
      EXPECT_EQ(fields, kept) << bytes.substr(0, 20);
    }
    EXPECT_EQ(in.next(fields, most), 0u);
  }
}

TEST_F(CsvTest, PlainTablesExport) {
  struct Case { DbKind kind; int cols, rows; Cells cells; std::string bytes; };
  const std::vector<Case> cases = {
      {DbKind::Rozpisy, 9, 3,
       {{1, 1, "1"}, {2, 1, cp("Úvod")}, {3, 1, "1.9.2005"}, {8, 1, "0"}, {2, 2, cp("Téma; druhé")},
        {4, 2, "\"pozor\""}},
       cp("1;Úvod;1.9.2005;;;;;0\r\n;\"Téma; druhé\";;\"\"\"pozor\"\"\";;;;\r\n")},
      {DbKind::Kalendar, 2, 4, {{1, 1, cp("Nový rok")}, {1, 3, "Karina"}}, cp("Nový rok\r\n\r\nKarina\r\n")},
      {DbKind::Rozvrh, 3, 3, {{1, 1, cp("Název")}, {2, 1, "1"}, {2, 2, "07:50"}}, cp("Název;1\r\n;07:50\r\n")},
      {DbKind::Rozpisy, 1, 3, {{1, 1, "1"}}, ""},
  };
  for (const Case& c : cases) {
    Tab(c.kind);
    ClearGridCells(s);
    s.grid.setColCount(c.cols);
    s.grid.setRowCount(c.rows);
    for (const auto& [col, row, text] : c.cells) s.grid.setText(col, row, text);
    EXPECT_EQ(ExportCsvTable(s), c.bytes);
  }
}

TEST_F(CsvTest, TablesImport) {
  struct Case { DbKind kind; std::string bytes; int cols, rows; Cells cells; std::vector<std::string> log; };
  const std::vector<Case> cases = {
      {DbKind::Rozpisy, cp("1;Úvod;1.9.2005;;1;2;2;0\r\n2;\"a;b\";;;;;;0;navíc\r\n3;x\r\n"), 9, 4,
       {{2, 1, cp("Úvod")}, {8, 1, "0"}, {2, 2, "a;b"}, {3, 2, ""}, {8, 2, "0"}, {9, 2, ""}, {1, 3, "3"}, {2, 3, "x"}},
       {}},
      {DbKind::Rozpisy, "1;a\n2;b\r3;c", 9, 4, {{1, 2, "2"}, {1, 3, "3"}, {2, 3, "c"}}, {}},
      {DbKind::Rozpisy, "x;a;31.2.2005\r\n", 9, 2, {{1, 1, "0"}, {3, 1, ""}},
       {cp("1/Pořadí změna hodnocení x"), "1/Datum 31.2.2005 " + cp("není datum")}},
      {DbKind::Kalendar, cp("Nový rok\r\nKarina;navíc\r\n0123456789012345678901\r\n"), 2, 4,
       {{1, 1, cp("Nový rok")}, {1, 2, "Karina"}, {1, 3, "012345678901234567890"}},
       {cp("3.1./Svátek zkrácení položky 0123456789012345678901")}},
      {DbKind::Rozvrh, cp("Název;1;2\r\nx;07:52;08:4\r\n"), 4, 24,
       {{1, 1, cp("Název")}, {2, 2, "07:50"}, {3, 2, "08:40"}, {2, 3, "08:35"}}, {cp("Od/1 změna 07:52 za 07:50")}},
      {DbKind::Rozvrh, "a\rb", 3, 24, {{1, 1, "a"}, {1, 2, "b"}, {2, 0, "1"}, {1, 0, "Den"}}, {}},
      {DbKind::Rozvrh, std::string(40, '\n') + "x;y;z;w", 5, 24, {{1, 1, ""}, {2, 1, "1"}}, {}},
  };
  for (const Case& c : cases) {
    Tab(c.kind);
    labels.clear();
    Import(c.kind, c.bytes, "Rozpisy-Dějepis.csv");
    EXPECT_EQ(s.grid.colCount(), c.cols);
    EXPECT_EQ(s.grid.rowCount(), c.rows) << c.bytes;
    for (const auto& [col, row, text] : c.cells) EXPECT_EQ(s.grid.text(col, row), text) << c.bytes;
    EXPECT_EQ(s.Memo1, c.log);
    EXPECT_EQ(s.EditN, cp("Rozpisy-Dějepis"));
    // The timetable's second check pass tells its progress up to 100 %, then clears it.
    if (c.kind == DbKind::Rozvrh) {
      EXPECT_EQ(labels.at(labels.size() - 2) + labels.back(), "100 %");
    }
  }
}

TEST_F(CsvTest, GradeBookExport) {
  GradeBookGrid(s, 2, 2);
  DefaultGradeScale(s);
  const Cells cells = {{3, 0, "+ 1"}, {4, 0, "- 2"}, {3, 1, "1.9"}, {4, 1, "2.9"}, {3, 2, "08:00"}, {3, 3, "08:45"},
                       {1, 4, "1"}, {2, 4, cp("Novák Jan")}, {3, 4, "1 "}, {4, 4, "3 "}, {7, 4, "a;b"}, {8, 4, "2"},
                       {1, 5, "2"}, {2, 5, cp("Dvořák")}, {3, 5, "2-"}, {4, 5, "7"}, {8, 5, "0"}, {5, 6, "9"}};
  for (const auto& [col, row, text] : cells) s.grid.setText(col, row, text);
  s.grid.setFontColor(3, 4, kRed);
  s.grid.setFontColor(4, 4, kBlue);
  s.grid.setFontColor(4, 5, kBlue);
  const std::string head = cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9;;;;\r\n") +
                           ";;08:00;;;;;\r\n;;08:45;;;;;\r\n";
  EXPECT_EQ(ExportCsvGrades(s), head + cp("1;Novák Jan;1 ;3 ;;;\"a;b\";2\r\n2;Dvořák;2-;7;;;;0\r\n"));
  EXPECT_EQ(s.grid.text(3, 0), "+ 1");  // the grid keeps its mark
  EXPECT_EQ(ExportCsvGradeValues(s), head + cp("1;Novák Jan;1 1;2 3;;;\"a;b\";2\r\n2;Dvořák;;;;;;0\r\n"));
}

TEST_F(CsvTest, GradeBookImport) {
  struct Case { bool twoValues; const char* name; std::string bytes; int cols, rows; std::string editN;
                std::vector<std::tuple<int, int, std::string, Color>> cells; std::vector<std::string> log; };
  const std::string times = ";;08:00;08:00;08:00;08:00;08:00\r\n";
  const std::vector<Case> cases = {
      {false, "tridaA.csv",
       cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\n;;1.9\n;;08:00\n;;08:45\n3;Novák Jan;2 ;;;;1\n"), 8, 7,
       "tridaA", {{3, 4, "2 ", kRed}, {0, 4, cp("3. Novák "), 0}, {4, 4, "2,000", 0}, {2, 0, cp("Jméno"), 0}},
       {cp("3. Novák /1 nastavena barva automaticky pro 2 ")}},
      {true, "7Ahodnoty.csv",
       cp("Pořadí;Jméno;1;2;3;4;5;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9;3.9;4.9;5.9\r\n") + times + times +
           cp("1;Nová Eva;2 3;5 3;2 x;2 25;23;;;;0\r\n"),
       12, 7, "7A",
       {{3, 4, "3 ", kBlue}, {4, 4, "3 ", kRed}, {5, 4, "", kBlue}, {6, 4, "", kBlue}, {7, 4, "", 0}, {7, 0, "5", 0}},
       {cp("1. Nová /2 špatná hodnota barvy5 3"), cp("1. Nová /3 špatná hodnota známky2 x"),
        cp("1. Nová /5 špatná hodnota23")}},
      {false, "X.csv", cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9\r\n"), 8, 7, "X",
       {{0, 4, "", 0}, {2, 4, "", 0}, {3, 2, "12:00", 0}, {0, 5, cp("Průměr"), 0}},
       {cp("Čas od/1 změna položky 12:00"), cp("Čas do/1 změna položky 12:00")}},
  };
  for (const Case& c : cases) {
    Tab(DbKind::Znamky);
    Import(DbKind::Znamky, c.bytes, c.name, c.twoValues);
    EXPECT_EQ(s.grid.colCount(), c.cols);
    EXPECT_EQ(s.grid.rowCount(), c.rows);
    EXPECT_EQ(s.EditN, c.editN);
    for (const auto& [col, row, text, colour] : c.cells) {
      EXPECT_EQ(s.grid.text(col, row), text) << c.name << " " << col << "," << row;
      if (colour) {
        EXPECT_EQ(s.grid.fontColor(col, row), colour) << c.name << " " << col << "," << row;
      }
    }
    EXPECT_EQ(s.Memo1, c.log);
  }
}

TEST_F(CsvTest, EmptyOrOversizedFilesChangeNothing) {
  const std::vector<std::pair<DbKind, std::string>> cases = {
      {DbKind::Znamky, ""}, {DbKind::Rozpisy, ""}, {DbKind::Rozvrh, ""}, {DbKind::Kalendar, ""},
      {DbKind::Rozvrh, std::string(256, ';')}, {DbKind::Znamky, std::string(1004, '\n')},
      {DbKind::Rozpisy, "1;a\n" + std::string(65533, '\n')}};
  for (const auto& [kind, bytes] : cases) {
    Tab(kind);
    const std::string before = Snapshot(s);
    try {
      Import(kind, bytes);
      ADD_FAILURE() << bytes.size();
    } catch (const VeklaError& e) {
      EXPECT_NE(e.text().find(NativePath(path("f.csv"))), std::string::npos) << e.text();
    }
    EXPECT_EQ(Snapshot(s), before);
  }
}

// Every kind's file on every tab: a file of another kind is refused with one
// message naming it, the tab as it was; the kind's own files are read.
TEST_F(CsvTest, AnotherKindsFileIsRefused) {
  const std::string grades = cp("Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9;2.9;;;;\r\n");
  const std::string values = cp("+ Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n");
  const std::string plan = cp("1;Úvod;1.9.2025;;1;1;1;0\r\n");
  const std::string days = cp("Nový rok\r\nKarina\r\n");
  const std::string week = cp("Název;1;2;3\r\n;07:50;08:40;09:40\r\n");
  const std::string titles = cp("je řádek titulků tabulky známek");
  struct Case { DbKind kind; std::string bytes; std::string why; };  // why: "" when read
  const std::vector<Case> cases = {
      {DbKind::Znamky, grades, ""}, {DbKind::Znamky, plan, cp("není tabulka známek")},
      {DbKind::Rozpisy, plan, ""}, {DbKind::Rozpisy, "1;a\r\n", ""}, {DbKind::Rozpisy, grades, titles},
      {DbKind::Rozpisy, values, titles}, {DbKind::Rozpisy, days, cp("má 1 pole, rozpis má 8 sloupců")},
      {DbKind::Rozpisy, "N;1;2;3;4;5;6;7;8;9\r\n", cp("má 10 polí, rozpis má 8 sloupců")},
      {DbKind::Kalendar, days, ""}, {DbKind::Kalendar, grades, titles},
      {DbKind::Kalendar, plan, cp("má 8 polí, kalendář má 1 sloupec")},
      {DbKind::Kalendar, week, cp("má 4 pole, kalendář má 1 sloupec")},
      {DbKind::Rozvrh, week, ""}, {DbKind::Rozvrh, values, titles},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 30));
    Tab(c.kind);
    const std::string before = Snapshot(s);
    try {
      Import(c.kind, c.bytes, "jiny.csv");
      EXPECT_EQ(c.why, "");
    } catch (const VeklaError& e) {
      EXPECT_EQ(e.text().substr(0, e.text().find(cp(" není "))), cp("Soubor \"") + NativePath(path("jiny.csv")) + "\"");
      EXPECT_NE(c.why, "");
      EXPECT_NE(e.text().find(c.why + (c.kind == DbKind::Znamky ? "" : cp(". Tabulka zůstala beze změny."))),
                std::string::npos) << toUtf8(e.text());
      EXPECT_EQ(Snapshot(s), before);
    }
  }
}

// A damaged file may quote megabytes in a log line: a repaired text, a
// student's name, a column title named by every grade below it. A line
// shows its first kMaxLogLine bytes and "…"; shorter lines stay whole.
TEST_F(CsvTest, LogLinesShowTheStartOfLongTexts) {
  const std::string x(10000, 'x'), t(300, 't');
  const std::string dates = ";;1.9\r\n;;08:00\r\n;;08:45\r\n";
  const std::string head = cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n") + dates;
  const std::string shown = cp(" nastavena barva automaticky pro 1 ");
  const std::vector<std::tuple<DbKind, std::string, std::vector<std::string>>> cases = {
      {DbKind::Rozpisy, "1;" + x + ";1.9.2025;;1;1;1;0\r\n2;" + t + "\r\n",
       {cp("1/Téma zkrácení položky ") + x, cp("2/Téma zkrácení položky ") + t}},
      {DbKind::Znamky, head + "1;" + x + ";1 ;;;;0\r\n",
       {"1. " + x + "/1" + shown, "Student: " + x + cp(" zkrácení položky")}},
      {DbKind::Znamky, cp("Pořadí;Jméno;") + x + "\r\n" + dates + "1;Eva;1 \r\n", {"1. Eva/" + x + shown}},
  };
  for (const auto& [kind, bytes, log] : cases) {
    Tab(kind);
    Import(kind, bytes);
    std::vector<std::string> expected;
    for (const std::string& l : log) expected.push_back(l.size() > kMaxLogLine ? l.substr(0, kMaxLogLine) + "\x85" : l);
    EXPECT_EQ(s.Memo1, expected);
  }
}

// Texts of rows `from` to `to`, columns 1 to the last, as one comparable text.
std::string Texts(const VeklaState& s, int from, int to) {
  std::string out = std::to_string(s.grid.colCount()) + "x" + std::to_string(s.grid.rowCount());
  for (int r = from; r <= to; ++r)
    for (int c = 1; c < s.grid.colCount(); ++c) out += "|" + s.grid.text(c, r);
  return out;
}

TEST_F(CsvTest, ExportThenImportGivesTheSameTexts) {
  for (DbKind kind : {DbKind::Rozpisy, DbKind::Rozvrh, DbKind::Kalendar, DbKind::Znamky}) {
    Tab(kind);
    // A text with every special byte, and one that is only quoted.
    const int col = kind == DbKind::Rozpisy ? 4 : kind == DbKind::Rozvrh ? 2 : kind == DbKind::Kalendar ? 1 : 6;
    s.grid.setText(col, 5, "a;\"b\"\r\nc");
    s.grid.setText(col, 4, "\"x\"");
    const bool grades = kind == DbKind::Znamky;
    if (grades) {
      s.grid.setText(3, 5, "2-");
      s.grid.setFontColor(3, 5, s.weights[2].color);
      ComputeStatistics(s);
    }
    const int from = grades ? 0 : 1, to = s.grid.rowCount() - (grades ? 3 : 1);
    const std::string before = Texts(s, from, to);
    const std::string bytes = grades ? ExportCsvGradeValues(s) : ExportCsvTable(s);
    Tab(kind);
    Import(kind, bytes, "f.csv", true);
    EXPECT_EQ(Texts(s, from, to), before);
    if (grades) {
      EXPECT_EQ(s.grid.fontColor(3, 5), s.weights[2].color);
    }
    EXPECT_EQ(s.Memo1, std::vector<std::string>{});
  }
}

TEST_F(CsvTest, ProposedNames) {
  s.adresar1 = "/home/u/";
  s.EditN.clear();
  const ExportFiles files = CsvGradeFiles(s, {});
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "Znamky-.csv");
  EXPECT_EQ(files[1].name, "Znamky-hodnoty.csv");
  EXPECT_EQ(s.EditN, "");  // the database keeps no name
  EXPECT_EQ(ValuesCsvPath("/home/u/trida.csv"), "/home/u/tridahodnoty.csv");
}

}  // namespace
