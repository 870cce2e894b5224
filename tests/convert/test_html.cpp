// HTML pages and their style sheets, each file compared whole with bytes
// worked out by hand.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "convert/exportview.h"
#include "convert/html.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "workspace/kindops.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// A file written as the UTF-8 lines of a raw literal (its first line break
// dropped): code page 1250 with CR LF line ends.
std::string File(std::string_view utf8) {
  if (!utf8.empty() && utf8.front() == '\n') utf8.remove_prefix(1);
  std::string out;
  for (char c : cp(utf8)) c == '\n' ? out += "\r\n" : out += c;
  return out;
}
std::string Replaced(const std::string& text, const char* pattern, const char* with) {
  return std::regex_replace(text, std::regex(pattern), with);
}

const char* const kHead = R"~(
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN" "http://www.w3.org/TR/html4/loose.dtd">
<html>
<head>
<title>TITLE</title>
<meta http-equiv="content-type" content="text/html; charset=windows-1250">
)~";
const char* const kTable = R"~(<table border="0" cellpadding="4" cellspacing="0"  class="tabulka">
)~";
std::string BackgroundRule(const std::string& prefix, const std::string& code, const std::string& text) {
  return File(prefix + code + " {\nborder: 1px solid #000000;\nbackground: #" + code + ";\ncolor: #" + text +
              ";\n}\n\n");
}

std::vector<std::string> Names(const ExportFiles& files) {
  std::vector<std::string> names;
  for (const ExportFile& f : files) names.push_back(f.name.toStdString());
  return names;
}

using Cells = std::vector<std::tuple<int, int, std::string>>;  // column, row, UTF-8 text

class HtmlTest : public KindTest {
 protected:
  HtmlTest() : KindTest(DbKind::Znamky) {}
  void Fill(const Cells& cells) {
    for (const auto& [c, r, t] : cells) s.grid.setText(c, r, cp(t));
  }
};

// Whether every line of a text ends in CR LF.
bool CrLfOnly(const std::string& t) {
  for (std::size_t i = t.find('\n'); i != std::string::npos; i = t.find('\n', i + 1))
    if (i == 0 || t[i - 1] != '\r') return false;
  return !t.empty() && t.back() == '\n';
}

TEST_F(HtmlTest, Timetable) {
  SetupTab(s, DbKind::Rozvrh);
  ClearGridCells(s);
  s.grid.setColCount(4);
  s.EditN = "Vekla-7.A";
  // clang-format off
  Fill({{1, 1, "7.A>"}, {1, 2, "Od"}, {2, 1, "1"}, {2, 2, "08:00"}, {2, 3, "08:45"}, {3, 1, "2"}, {3, 2, "08:55"},
        {1, 4, "Pondělí"}, {2, 4, "Čj"}, {2, 5, "7.A"}, {3, 4, "M<"}, {3, 5, "\"7.B\"&"}, {3, 6, "12"}, {2, 7, "x"}});
  // clang-format on
  // Two blocks of one colour give one rule; the day column has no class.
  for (int d = 0; d < 5; ++d)
    for (int c = 2; c <= 3; ++c) s.grid.setBrush(c, 4 + 4 * d, rgbHex(c == 2 && d == 1 ? 0x0000FF : 0xFF0000));
  s.grid.setBrush(1, 4, rgbHex(0x00FF00));

  const ExportFiles files = HtmlTimetableFiles(s, {});
  ASSERT_EQ(Names(files), (std::vector<std::string>{"vekla-7a.html", "rozvrh.css", "vekla-7a.css"}));
  const std::string day = File(R"~(
<tr class="radek">
<td class="bunka"><br><br>&nbsp;</td>
<td class="bunkaFF0000"><br><br>&nbsp;</td>
<td class="bunkaFF0000"><br><br>&nbsp;</td>
</tr>
)~");
  EXPECT_EQ(files[0].bytes, File(Replaced(kHead, "TITLE", "7.A&gt; - rozvrh hodin") +
                                 R"~(<link href="rozvrh.css" rel="stylesheet" type="text/css">
<link href="vekla-7a.css" rel="stylesheet" type="text/css">
</head>
<body>
<span class="nadpis">Rozvrh hodin:</span>
<span class="rozvrh">7.A&gt;</span><br>
)~" + kTable + R"~(<tr class="radek">
<td class="bunka">7.A&gt;<br>Od<br>&nbsp;</td>
<td class="bunka"><div class="stred">1</div><div class="vlevo">08:00</div><div class="vpravo">08:45</div></td>
<td class="bunka"><div class="stred">2</div><div class="vlevo">08:55</div><div class="vpravo">&nbsp;</div></td>
</tr>
<tr class="radek">
<td class="bunka">Pondělí<br><br>&nbsp;</td>
<td class="bunkaFF0000">Čj<br>7.A<br>&nbsp;</td>
<td class="bunkaFF0000">M&lt;<br>&quot;7.B&quot;&amp;<br>12</td>
</tr>
<tr class="radek">
<td class="bunka"><br><br>&nbsp;</td>
<td class="bunka0000FF"><br><br>&nbsp;</td>
<td class="bunkaFF0000"><br><br>&nbsp;</td>
</tr>
)~") + day + day + day + File("</table>\n</body>\n</html>\n"));
  EXPECT_EQ(files[2].bytes, File(".bunka {\nborder: 1px solid #000000;\nbackground: Silver;\ncolor: Black;\n"
                                 "width: 4%;\n}\n") +
                                BackgroundRule(".bunka", "FF0000", "FFFFFF") +
                                BackgroundRule(".bunka", "0000FF", "FFFFFF"));
  // The shared style sheet is the program's fixed text; its lines end in CR LF.
  EXPECT_TRUE(CrLfOnly(files[1].bytes));
}

// Page stems: the database name folded and cut as the handheld's desktop
// did, then made a name that links and file systems take.
TEST_F(HtmlTest, PageStems) {
  using namespace std::string_literals;
  const struct {
    DbKind kind;
    std::string name;
    const char* stem;
  } cases[] = {
      {DbKind::Rozpisy, cp("Rozpisy-Čeština 2.A"), "rozpisy-cestina2a"},
      {DbKind::Rozpisy, "C:\\data\\Rozpisy-F", "rozpisy-f"},
      {DbKind::Rozpisy, "../../etc/x", "x"},
      {DbKind::Rozpisy, "a?b*c|d%e", "abcde"},
      {DbKind::Rozvrh, "Vekla-a#b", "vekla-a_b"},
      {DbKind::Rozvrh, "<x>\"y\"", "_x__y_"},
      {DbKind::Rozvrh, "tab\there\x01\x7F"s, "tab_here__"},
      {DbKind::Rozvrh, "...", "vekla-"},
      {DbKind::Rozvrh, "", "vekla-"},
      {DbKind::Rozvrh, "CON", "con_"},
      {DbKind::Rozvrh, "Lpt1.", "lpt1_"},
      {DbKind::Rozvrh, "com10", "com10"},
      {DbKind::Rozvrh, "console", "console"},
      {DbKind::Znamky, "Znamky-7#A", "znamky-7_a_0110"},
      {DbKind::Znamky, "nul", "nul_0110"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetupTab(s, c.kind);
    s.EditN = c.name;
    EXPECT_EQ(ExportPageStem(s, {false, true, true, false}), c.stem);
    EXPECT_EQ(s.EditN, c.name);
  }
}

// A timetable's colour style sheet never takes the name of a shared one,
// which every export of its kind rewrites: "Rozvrh" would lose its colours
// to the next timetable, and every other page its layout to "Rozvrh".
TEST_F(HtmlTest, ColourSheetsKeepClearOfTheSharedOnes) {
  const struct {
    const char* name;
    std::vector<std::string> files;
  } cases[] = {
      {"Rozvrh", {"rozvrh.html", "rozvrh.css", "rozvrh.barvy.css"}},
      {"R.O.Z.V.R.H", {"rozvrh.html", "rozvrh.css", "rozvrh.barvy.css"}},
      {"ZNAMKY", {"znamky.html", "rozvrh.css", "znamky.barvy.css"}},
      {"Rozpisy", {"rozpisy.html", "rozvrh.css", "rozpisy.barvy.css"}},
      {"Rozvrh2", {"rozvrh2.html", "rozvrh.css", "rozvrh2.css"}},
  };
  SetupTab(s, DbKind::Rozvrh);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.EditN = c.name;
    const ExportFiles files = HtmlTimetableFiles(s, {});
    ASSERT_EQ(Names(files), c.files);
    EXPECT_NE(
        files[0].bytes.find("\r\n<link href=\"rozvrh.css\" rel=\"stylesheet\" type=\"text/css\">\r\n<link href=\"" +
                            c.files[2] + "\" rel=\"stylesheet\" type=\"text/css\">\r\n"),
        std::string::npos);
  }
}

// Two students, the second without grades; three grade columns.
class HtmlGradesTest : public HtmlTest {
 protected:
  void SetUp() override {
    HtmlTest::SetUp();
    GradeBookGrid(s, 2, 3);
    DefaultGradeScale(s);
    s.EditN = "Znamky-7.A";
    s.semesterText = "1. pol. 2024/2025";
    // clang-format off
    Fill({{3, 1, "1.9"}, {3, 2, "08:00"}, {3, 3, "08:45"}, {4, 1, "8.9"}, {5, 1, "15.9"}, {2, 4, "Novák Jan"},
          {3, 4, "1 "}, {5, 4, "2-"}, {6, 4, "1,750"}, {7, 4, "0,354"}, {2, 5, "Bílá \"Eva\""}, {3, 6, "1,000"},
          {5, 6, "2,500"}, {6, 6, "1,750"}, {3, 7, "0,000"}, {5, 7, "0,000"}});
    // clang-format on
    s.grid.setFontColor(3, 4, rgbHex(0xFF0000));
    s.grid.setFontColor(5, 4, rgbHex(0x0000FF));
    for (auto [c, r, colour] : std::vector<std::tuple<int, int, std::uint32_t>>{
             {1, 4, 0x99CCFF}, {3, 6, 0x0000FF}, {5, 6, 0xFF9999}, {6, 6, 0xEEEEEE}})
      s.grid.setBrush(c, r, rgbHex(colour));
  }
  // Head lines 1 to 11 with the stem given.
  static std::string Head(const char* stem) {
    return File(
        Replaced(Replaced(kHead, "TITLE", "Znamky-7.A") + R"~(<link href="znamky.css" rel="stylesheet" type="text/css">
<link href="STEM.css" rel="stylesheet" type="text/css">
</head>
<body>
<span class="nadpis">Známky: 7.A - 1. pol. 2024/2025</span><br><br>
)~",
                 "STEM", stem));
  }
  ExportFiles Export(bool zhustit, bool barevne, bool znamkyBarevne, bool zvlast) {
    return HtmlGradeFiles(s, {zhustit, barevne, znamkyBarevne, zvlast});
  }
};

TEST_F(HtmlGradesTest, ClassTable) {
  const std::string page = Head("znamky-7a_0110") + File(kTable + std::string(R"~(<tr class="radek">
<td class="bunka">&nbsp;</td><td class="bunka">Jméno</td><td class="bunka"><div class="cislastred">1</div><div class="cislastred">1.9</div><div class="cislastred">08:00</div><div class="cislastred">08:45</div></td><td class="bunka"><div class="cislastred">2</div><div class="cislastred">8.9</div><div class="cislastred"></div><div class="cislastred"></div></td><td class="bunka"><div class="cislastred">3</div><div class="cislastred">15.9</div><div class="cislastred"></div><div class="cislastred"></div></td><td class="bunka"><div class="stred">Prů-</div><div class="stred">měr</div></td><td class="bunka"><div class="stred">Směr.</div><div class="stred">odch.</div></td></tr>
<tr class="bunkalicha">
<td class="bunkaP99CCFF">1.&nbsp;</td>
<td class="bunkalicha"><div class="vlevo">Novák&nbsp;Jan</div></td>
<td class="bunkalicha"><span class="bunkaFFF0000">1 </span></td>
<td class="bunkalicha"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkalicha"><span class="bunkaF0000FF">2-</span></td>
<td class="bunkaP99CCFF">1,750</td>
<td class="bunkaP99CCFF">0,354</td>
</tr>
<tr class="bunkasuda">
<td class="bunkaPFFFFFF">2.&nbsp;</td>
<td class="bunkasuda"><div class="vlevo">Bílá&nbsp;&quot;Eva&quot;</div></td>
<td class="bunkasuda"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkasuda"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkasuda"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkaPFFFFFF">&nbsp;</td>
<td class="bunkaPFFFFFF">&nbsp;</td>
</tr>
<tr class="radek">
<td colspan="2" class="bunka">Průměr:</td>
<td class="bunkaP0000FF">1,000</td>
<td class="bunkaPFFFFFF">&nbsp;</td>
<td class="bunkaPFF9999">2,500</td>
<td rowspan="2" colspan="2" class="bunkaPEEEEEE"><span class="stred">&nbsp;&nbsp;&nbsp;&nbsp;1,750</span></td>
</tr>
<tr class="radek">
<td colspan="2" class="bunka">Směr. odch.:</td>
<td class="bunkaPFFFFFF">0,000</td>
<td class="bunkaPFFFFFF">&nbsp;</td>
<td class="bunkaPFFFFFF">0,000</td>
</tr>
</table>
</body>
</html>
)~"));
  ExportFiles files = Export(false, true, true, false);
  ASSERT_EQ(Names(files), (std::vector<std::string>{"znamky-7a_0110.html", "znamky.css", "znamky-7a_0110.css"}));
  EXPECT_EQ(files[0].bytes, page);
  std::string colours;
  // Each background with its contrasting text colour.
  // clang-format off
  const std::vector<std::pair<const char*, const char*>> backgrounds = {
      {"000000", "FFFFFF"}, {"EFFFFF", "000000"}, {"FFFFFF", "000000"}, {"0000FF", "FFFFFF"},
      {"99CCFF", "000000"}, {"EEEEEE", "000000"}, {"FF9999", "000000"}, {"FF0000", "FFFFFF"}};
  // clang-format on
  for (auto [code, text] : backgrounds) colours += BackgroundRule(".bunkaP", code, text);
  for (const char* code : {"000000", "FF0000", "0000FF", "AAAAAA", "00CC33"})
    colours += File(std::string(".bunkaF") + code + " {\ncolor: #" + code + ";\n}\n\n");
  EXPECT_EQ(files[2].bytes, colours);
  // The shared style sheet is the program's fixed text; its lines end in CR LF.
  EXPECT_TRUE(CrLfOnly(files[1].bytes));

  // Without Barevne: white backgrounds, no stripes, plain titles.
  files = Export(false, false, true, false);
  EXPECT_EQ(files[0].name, "znamky-7a_0010.html");
  EXPECT_EQ(files[0].bytes,
            Replaced(Replaced(Replaced(Replaced(page, "bunkaP[0-9A-F]{6}", "bunkaPFFFFFF"), "bunkasuda", "bunkalicha"),
                              "\"bunka\"", "\"bunkabila\""),
                     "_0110", "_0010"));
  // Without ZnamkyBarevne every grade is black.
  EXPECT_EQ(Export(false, true, false, false)[0].bytes,
            Replaced(Replaced(page, "bunkaF[0-9A-F]{6}", "bunkaF000000"), "_0110", "_0100"));
}

TEST_F(HtmlGradesTest, PackedClassTable) {
  // Two grades at most: two grade cells a row, filled from the left; no
  // date or statistics rows.
  EXPECT_EQ(Export(true, true, true, false)[0].bytes,
            Head("znamky-7a_1110") + File(kTable + std::string(R"~(<tr class="radek">
<td class="bunka">&nbsp;</td><td class="bunka">Jméno</td><td class="bunka">1</td><td class="bunka">2</td><td class="bunka"><div class="stred">Prů-</div><div class="stred">měr</div></td><td class="bunka"><div class="stred">Směr.</div><div class="stred">odch.</div></td></tr>
<tr class="bunkalicha">
<td class="bunkaP99CCFF">1.&nbsp;</td>
<td class="bunkalicha"><div class="vlevo">Novák&nbsp;Jan</div></td>
<td class="bunkalicha"><span class="bunkaFFF0000">1 </span></td>
<td class="bunkalicha"><span class="bunkaF0000FF">2-</span></td>
<td class="bunkaP99CCFF">1,750</td>
<td class="bunkaP99CCFF">0,354</td>
</tr>
<tr class="bunkasuda">
<td class="bunkaPFFFFFF">2.&nbsp;</td>
<td class="bunkasuda"><div class="vlevo">Bílá&nbsp;&quot;Eva&quot;</div></td>
<td class="bunkasuda"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkasuda"><span class="bunkaF000000">&nbsp;</span></td>
<td class="bunkaPFFFFFF">&nbsp;</td>
<td class="bunkaPFFFFFF">&nbsp;</td>
</tr>
</table>
</body>
</html>
)~")));
}

TEST_F(HtmlGradesTest, OneTablePerStudent) {
  // Zvlast sets the first digit whatever Zhustit says.
  const ExportFiles files = Export(false, true, true, true);
  ASSERT_EQ(Names(files), (std::vector<std::string>{"znamky-7a_1111.html", "znamky.css", "znamky-7a_1111.css"}));
  EXPECT_EQ(files[0].bytes, Head("znamky-7a_1111") + File(kTable + std::string(R"~(<tr class="bunkalicha">
<td class="bunkaP99CCFF">1.&nbsp;</td>
<td class="bunkalicha"><div class="vlevo">Novák&nbsp;Jan</div></td>
<td class="bunkalicha"><div class="cislastred">1.9</div><span class="bunkaFFF0000">1 </span></td>
<td class="bunkalicha"><div class="cislastred">15.9</div><span class="bunkaF0000FF">2-</span></td>
<td class="bunkaP99CCFF"><div class="cislastred">Průměr</div>1,750</td>
<td class="bunkaP99CCFF"><div class="cislastred">Sm. odch.</div>0,354</td>
</tr>
</table>
)~") + kTable + R"~(<tr class="bunkalicha">
<td class="bunkaPFFFFFF">2.&nbsp;</td>
<td class="bunkalicha"><div class="vlevo">Bílá&nbsp;&quot;Eva&quot;</div></td>
<td class="bunkaPFFFFFF"><div class="cislastred">Průměr</div>&nbsp;</td>
<td class="bunkaPFFFFFF"><div class="cislastred">Sm. odch.</div>&nbsp;</td>
</tr>
</table>
</body>
</html>
)~"));
}

TEST_F(HtmlTest, TopicPlan) {
  SetupTab(s, DbKind::Rozpisy);
  ClearGridCells(s);
  s.grid.setRowCount(5);
  s.EditN = cp("Rozpisy-Čeština 2.A");
  // clang-format off
  Fill({{1, 1, "1"}, {2, 1, "Úvod"}, {3, 1, "1.9.2025"}, {4, 1, "<b>"}, {7, 1, "9"}, {8, 1, "2"}, {2, 2, "úvod"},
        {2, 4, "12 & 13"}});
  // clang-format on
  const ExportFiles files = HtmlTopicFiles(s, {});
  ASSERT_EQ(Names(files), (std::vector<std::string>{"rozpisy-cestina2a.html", "rozpisy.css"}));
  EXPECT_EQ(files[0].bytes, File(Replaced(kHead, "TITLE", "Rozpisy-Čeština 2.A") +
                                 R"~(<link href="rozpisy.css" rel="stylesheet" type="text/css">
</head>
<body>
<span class="nadpis">Rozpisy učiva:</span>
<span class="nadpis">Čeština 2.A</span><br><br>
<table class="tabulka">

<tr class="radek0">
<td class="poradi">číslo</td><td class="nazev">téma</td><td class="datum">datum</td><td class="pocet">hodiny</td><td class="poznamka">poznámka</td></tr>
<tr class="radek1">
<td class="poradi">1</td><td class="nazev">Úvod</td><td class="datum">1.9.2025</td><td class="pocet">2</td><td class="poznamka">&lt;b&gt;</td></tr>
<tr class="radek2">
<td class="poradi">&nbsp;</td><td class="nazev">úvod</td><td class="datum">&nbsp;</td><td class="pocet">&nbsp;</td><td class="poznamka">&nbsp;</td></tr>
<tr class="radek2">
<td class="poradi">&nbsp;</td><td class="nazev">&nbsp;</td><td class="datum">&nbsp;</td><td class="pocet">&nbsp;</td><td class="poznamka">&nbsp;</td></tr>
<tr class="radek1">
<td class="poradi">&nbsp;</td><td class="nazev">12 &amp; 13</td><td class="datum">&nbsp;</td><td class="pocet">&nbsp;</td><td class="poznamka">&nbsp;</td></tr>
</table>
</body>
</html>
)~"));
  // The shared style sheet is the program's fixed text; its lines end in CR LF.
  EXPECT_TRUE(CrLfOnly(files[1].bytes));
}

}  // namespace
