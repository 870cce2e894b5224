#include "convert/html.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "convert/exportview.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/kindparams.h"
#include "workspace/tablegeometry.h"

namespace vekla {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNbsp = "&nbsp;";

// ------------------------------------------------------------ fixed texts

// The lines of a file, each ended by CR LF.
std::string JoinLines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view l : lines) {
    out.append(cp(l));
    out.append(kCrLf);
  }
  return out;
}

// The shared style sheets of the grade book, the topic plan and the
// timetable, each rewritten by every export of its kind.
constexpr std::string_view kGradeSheetName = "znamky.css", kTopicSheetName = "rozpisy.css",
                           kTimetableSheetName = "rozvrh.css";
constexpr std::string_view kSharedSheets[] = {kGradeSheetName, kTopicSheetName, kTimetableSheetName};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The first lines of every page; "##" marks where the page puts its own
// text. One table per page: the grade book's, the topic plan's and the
// timetable's, in the order of Page.
constexpr int kHeadLines = 12;
using HeadTable = std::array<std::string, kHeadLines>;
enum class Page { Grades, Topics, Timetable };

const HeadTable& HeadLinesOf(Page page) {
  static const std::array<HeadTable, 3> tables = [] {
    const std::string docType =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">";
    const std::string charset = "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1250\">";
    const std::string table = "<table border=\"0\" cellpadding=\"4\" cellspacing=\"0\"  class=\"tabulka\">";
    const std::string colours = "<link href=\"##\" rel=\"stylesheet\" type=\"text/css\">";
    auto shared = [](std::string_view sheet) {
      return "<link href=\"" + std::string(sheet) + "\" rel=\"stylesheet\" type=\"text/css\">";
    };
    std::array<HeadTable, 3> t;
    t[0] = {docType,
            "<html>",
            "<head>",
            "<title>##</title>",
            charset,
            shared(kGradeSheetName),
            colours,
            "</head>",
            "<body>",
            "<span class=\"nadpis\">Známky: ## - ",
            "##</span><br><br>",
            table};
    t[1] = {docType,
            "<html>",
            "<head>",
            "<title>##</title>",
            charset,
            shared(kTopicSheetName),
            "</head>",
            "<body>",
            "<span class=\"nadpis\">Rozpisy učiva:</span>",
            "<span class=\"nadpis\">##</span><br><br>",
            "<table class=\"tabulka\">",
            ""};
    t[2] = {docType,
            "<html>",
            "<head>",
            "<title>##</title>",
            charset,
            shared(kTimetableSheetName),
            colours,
            "</head>",
            "<body>",
            "<span class=\"nadpis\">Rozvrh hodin:</span>",
            "<span class=\"rozvrh\">##</span><br>",
            table};
    for (HeadTable& kind : t)
      for (std::string& line : kind) line = cp(line);
    return t;
  }();
  return tables[static_cast<std::size_t>(page)];
}

// Head line n (from 1) of a page; a number outside the table gives "".
std::string_view HeadLine(Page page, int n) {
  if (n < 1 || n > kHeadLines) return {};
  return HeadLinesOf(page)[static_cast<std::size_t>(n - 1)];
}

// Foot line n (from 1); outside the table "".
std::string_view FootLine(int n) {
  static constexpr std::string_view lines[] = {"</table>", "</body>", "</html>"};
  return n >= 1 && n <= 3 ? lines[n - 1] : std::string_view{};
}

const std::string& TimetableSheet() {
  static const std::string sheet = JoinLines({".nadpis {",
                                              "font-family: \"Arial CE\", Arial, sans-serif;",
                                              "font-size: x-large;",
                                              "text-align: left;",
                                              "}",
                                              ".rozvrh {",
                                              "font-family: \"Arial CE\", Arial, sans-serif;",
                                              "font-size: x-large;",
                                              "text-align: left;",
                                              "font: italic bold;",
                                              "}",
                                              ".tabulka {",
                                              "border: 1px solid #000000;",
                                              "font-family: \"Arial CE\", Arial, sans-serif;",
                                              "}",
                                              ".radek {",
                                              "border: 1px solid #000000;",
                                              "font-weight: bold;",
                                              "}",
                                              ".vlevo {",
                                              "text-align: left;",
                                              "}",
                                              ".vpravo {",
                                              "text-align: right;",
                                              "}",
                                              ".stred {",
                                              "text-align: center;",
                                              "}"});
  return sheet;
}

const std::string& GradeSheet() {
  static const std::string sheet = JoinLines({
      ".bunka { background: #DCDCDC; border: 1px solid #000000; color: Black;}",
      ".bunkabila { background: White; border: 1px solid #000000; color: Black;}",
      ".bunkalicha { background: White; border: 1px solid #000000; color: Black; text-align: center; }",
      ".bunkasuda { background: #EFFFFF; border: 1px solid #000000; color: Black; text-align: center; }",
      ".cislastred { font-family: \"Arial CE\", Arial, sans-serif; font-size: xx-small; text-align: center; }",
      ".cislavlevo { font-family: \"Arial CE\", Arial, sans-serif; font-size: x-small; text-align: left; }",
      ".nadpis { font-family: \"Arial CE\", Arial, sans-serif; font-size: x-large; text-align: left; }",
      ".radek { border: 1px solid #000000; font-weight: bold; }",
      ".stred { text-align: center; }",
      ".vlevo { text-align: left; }",
      ".tabulka { border: 1px solid #000000; font-family: \"Arial CE\", Arial, sans-serif; }",
      ".znamky { font: \"Arial CE\", Arial, sans-serif, x-large, italic bold; text-align: left; }",
  });
  return sheet;
}

const std::string& TopicSheet() {
  static const std::string sheet = JoinLines({".datum {",
                                              "text-align: right;",
                                              "border-bottom: medium solid Black 1px;",
                                              "}",
                                              ".nadpis {",
                                              "font: bold x-large \"Verdana, Geneva, Arial, Helvetica, sans-serif\";",
                                              "padding-left: 15px;",
                                              "}",
                                              ".nazev {",
                                              "border-bottom: medium solid Black 1px;",
                                              "}",
                                              ".pocet {",
                                              "text-align: right;",
                                              "border-bottom: medium solid Black 1px;",
                                              "}",
                                              ".poradi {",
                                              "text-align: center;",
                                              "border-bottom: medium solid Black 1px;",
                                              "}",
                                              ".poznamka {",
                                              "border-bottom: medium solid Black 1px;",
                                              "}",
                                              ".radek0 {",
                                              "font-style: italic;",
                                              "vertical-align: top;",
                                              "}",
                                              ".radek1 {",
                                              "font-weight: bold;",
                                              "vertical-align: top;",
                                              "}",
                                              ".radek2 {",
                                              "font-weight: normal;",
                                              "vertical-align: top;",
                                              "}",
                                              ".tabulka {",
                                              "font: medium \"Verdana Geneva Arial Helvetica sans-serif\";",
                                              "}"});
  return sheet;
}

// ------------------------------------------------------------ writing

// Appends a text for the page: the characters HTML gives a meaning to are
// written as entities, so a cell holding "<b" or "R&D" shows as typed and
// cannot break the page. With `spaces`, every space becomes a hard one.
void AppendEscaped(std::string& out, std::string_view text, bool spaces = false) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      case ' ':
        if (!spaces) continue;
        entity = kNbsp;
        break;
      default: continue;
    }
    out.append(text.substr(from, i - from));
    out.append(entity);
    from = i + 1;
  }
  out.append(text.substr(from));
}

std::string Escaped(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

// A cell's text, or a hard space for an empty cell so the table keeps the
// cell's height.
void AppendCell(std::string& out, std::string_view text, bool spaces = false) {
  if (text.empty()) out.append(kNbsp);
  else AppendEscaped(out, text, spaces);
}

// Concatenates pieces into the page.
template <class... Pieces>
void Put(std::string& out, const Pieces&... pieces) {
  (out.append(std::string_view(pieces)), ...);
}

void PutLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kCrLf);
}

void PutHead(std::string& out, Page page, int n) { PutLine(out, HeadLine(page, n)); }
// Head line n with its "##" (the first one only) replaced by `text`, which
// is escaped; the line end follows unless the next line continues it.
void PutHead(std::string& out, Page page, int n, std::string_view text, bool lineEnd = true) {
  out.append(ReplaceFirst(HeadLine(page, n), "##", Escaped(text)));
  if (lineEnd) out.append(kCrLf);
}

void PutFoot(std::string& out, int from) {
  for (int n = from; n <= 3; ++n) PutLine(out, FootLine(n));
}

// The colour codes of the cells, formatted once for a run of equal colours.
class ColorCodes {
 public:
  const std::string& operator()(Color c) {
    if (!valid_ || c != last_) {
      last_ = c;
      code_ = ColorCode(c);
      valid_ = true;
    }
    return code_;
  }

 private:
  bool valid_ = false;
  Color last_ = 0;
  std::string code_;
};

// A background rule of a colour style sheet: the class prefix with the
// colour code, the colour as background and its contrast as text colour.
void PutBackgroundRule(std::string& out, std::string_view prefix, Color c) {
  const std::string code = ColorCode(c);
  const std::string text = ContrastColorText(code);
  Put(out, prefix, code, " {\r\n");
  PutLine(out, "border: 1px solid #000000;");
  Put(out, "background: #", code, ";\r\n");
  Put(out, "color: #", text, ";\r\n");
  PutLine(out, "}");
  PutLine(out, "");
}

void PutFontRule(std::string& out, Color c) {
  const std::string code = ColorCode(c);
  Put(out, ".bunkaF", code, " {\r\n");
  Put(out, "color: #", code, ";\r\n");
  PutLine(out, "}");
  PutLine(out, "");
}

// The database name less the kind's default name at its start ("Znamky-7.A"
// gives "7.A"), counted in characters whatever they are.
std::string NameAfterPrefix(const VeklaState& s) {
  const std::string name = ExportDatabaseName(s);
  const std::size_t cut = KindPrefix(s.kind).size();
  return cut < name.size() ? name.substr(cut) : std::string();
}

// The name of a page's own colour style sheet: the stem and ".css", or,
// when that is the name of a shared sheet in any case (a timetable named
// "Rozvrh"), the stem and ".barvy.css". No stem holds a ".", so the name
// is no other page's either.
std::string ColourSheetName(const std::string& stem) {
  std::string name = stem + ".css";
  for (std::string_view shared : kSharedSheets)
    if (std::equal(name.begin(), name.end(), shared.begin(), shared.end(),
                   [](char a, char b) { return AsciiLower(a) == b; }))
      return stem + ".barvy.css";
  return name;
}

// A page with its shared and colour style sheets, in the order the command
// writes and opens them.
ExportFiles Files(const std::string& stem, std::string page, std::string_view sharedName, const std::string& shared,
                  std::string colours, bool hasColours) {
  ExportFiles files;
  files.push_back({toQt(stem) + ".html", std::move(page)});
  files.push_back({toQt(std::string(sharedName)), shared});
  if (hasColours) files.push_back({toQt(ColourSheetName(stem)), std::move(colours)});
  return files;
}

// ------------------------------------------------------------ timetable

std::string TimetableColours(const CellGrid& g, const TimetableGeometry& geo) {
  using T = TimetableGeometry;
  // Blocks never coloured hold the system window colour, which paints as
  // white: colours are told apart as they paint, so white gets one rule.
  std::vector<Color> found;
  for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c)
    for (int d = 0; d < T::kDays; ++d) {
      const Color colour = resolveColor(g.brush(c, T::dayRow(d)));
      if (std::find(found.begin(), found.end(), colour) == found.end()) found.push_back(colour);
    }
  std::string out;
  out.reserve(256 + 96 * found.size());
  PutLine(out, ".bunka {");
  PutLine(out, "border: 1px solid #000000;");
  PutLine(out, "background: Silver;");
  PutLine(out, "color: Black;");
  // Every column as wide as the grid has rows: 24 rows give 4 %.
  const long width = g.rowCount() > 0 ? std::lround(100.0 / g.rowCount()) : 100;
  Put(out, "width: ", std::to_string(width), "%;\r\n");
  PutLine(out, "}");
  for (Color colour : found) PutBackgroundRule(out, ".bunka", colour);
  return out;
}

std::string TimetablePage(const VeklaState& s, const std::string& stem) {
  using T = TimetableGeometry;
  const CellGrid& g = s.grid;
  const TimetableGeometry geo(g);
  const std::string& title = g.text(T::kCaptionCol, T::kLessonRow);
  std::string out;
  out.reserve(2048 + static_cast<std::size_t>(g.colCount()) * (T::kDays + 1) * 160);
  for (int n = 1; n <= kHeadLines; ++n) {
    switch (n) {
      case 4: PutHead(out, Page::Timetable, n, title + " - rozvrh hodin"); break;
      case 7: PutHead(out, Page::Timetable, n, ColourSheetName(stem)); break;
      case 11: PutHead(out, Page::Timetable, n, title); break;
      default: PutHead(out, Page::Timetable, n);
    }
  }

  // The lesson header: the class name and the captions of the times, then
  // each lesson's number, start and end.
  PutLine(out, "<tr class=\"radek\">");
  Put(out, "<td class=\"bunka\">");
  AppendEscaped(out, g.text(T::kCaptionCol, T::kLessonRow));
  Put(out, "<br>");
  AppendEscaped(out, g.text(T::kCaptionCol, T::kStartRow));
  Put(out, "<br>");
  AppendCell(out, g.text(T::kCaptionCol, T::kEndRow));
  PutLine(out, "</td>");
  for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c) {
    Put(out, "<td class=\"bunka\"><div class=\"stred\">");
    AppendCell(out, g.text(c, T::kLessonRow));
    Put(out, "</div><div class=\"vlevo\">");
    AppendCell(out, g.text(c, T::kStartRow));
    Put(out, "</div><div class=\"vpravo\">");
    AppendCell(out, g.text(c, T::kEndRow));
    PutLine(out, "</div></td>");
  }
  PutLine(out, "</tr>");

  // The days: subject, class and room of each lesson in the block's colour;
  // the block's name (its fourth row) is not shown.
  ColorCodes codes;
  for (int d = 0; d < T::kDays; ++d) {
    const int f = T::dayRow(d);
    PutLine(out, "<tr class=\"radek\">");
    for (int c = T::kCaptionCol; c <= geo.lastLessonCol(); ++c) {
      Put(out, "<td class=\"bunka");
      if (c >= T::kFirstLessonCol) out.append(codes(g.brush(c, f)));
      Put(out, "\">");
      AppendEscaped(out, g.text(c, f + T::kSubject));
      Put(out, "<br>");
      AppendEscaped(out, g.text(c, f + T::kClass));
      Put(out, "<br>");
      AppendCell(out, g.text(c, f + T::kRoom));
      PutLine(out, "</td>");
    }
    PutLine(out, "</tr>");
  }
  PutFoot(out, 1);
  return out;
}

// ------------------------------------------------------------ grade book

std::string GradeColours(const VeklaState& s) {
  // The five average bands of the band grid, after three fixed colours.
  constexpr int kBands = 5;
  std::vector<Color> backgrounds = {kBlack, rgbHex(0xEFFFFF), kWhite};
  for (int k = 0; k < kBands; ++k) backgrounds.push_back(s.znamky2.brush(k, 0));
  std::vector<Color> fonts = {kBlack};
  for (const WeightEdit& w : s.weights) fonts.push_back(w.color);
  std::string out;
  out.reserve(128 * (backgrounds.size() + fonts.size()));
  // A colour listed twice gives two equal rules, which do no harm.
  for (Color c : backgrounds) PutBackgroundRule(out, ".bunkaP", c);
  for (Color c : fonts) PutFontRule(out, c);
  return out;
}

// Head lines 1 to `last`: the database name in the title, the colour style
// sheet, and the heading "Známky: 7.A - " continued by the semester.
void PutGradeHead(std::string& out, const VeklaState& s, const std::string& stem, int last) {
  const std::string name = ExportDatabaseName(s);
  for (int n = 1; n <= last; ++n) {
    switch (n) {
      case 4: PutHead(out, Page::Grades, n, name); break;
      case 7: PutHead(out, Page::Grades, n, ColourSheetName(stem)); break;
      case 10: PutHead(out, Page::Grades, n, NameAfterPrefix(s), false); break;
      case 11: PutHead(out, Page::Grades, n, s.semesterText); break;
      default: PutHead(out, Page::Grades, n);
    }
  }
}

std::size_t GradePageSize(const GradeGeometry& geo) {
  return 4096 + static_cast<std::size_t>(geo.students() + 3) * static_cast<std::size_t>(geo.gradeColumns() + 8) * 72;
}

// The titles of the grade table: each grade column's number, and without
// packing its date and times under it. `last` is the last grade column shown.
void PutGradeTitles(std::string& out, const GradeView& v, std::string_view head, int last) {
  using G = GradeGeometry;
  const CellGrid& g = v.grid();
  const bool packed = v.options().zhustit;
  PutLine(out, "<tr class=\"radek\">");
  Put(out, "<td class=\"", head, "\">&nbsp;</td>");
  Put(out, "<td class=\"", head, "\">", cp("Jméno"), "</td>");
  for (int c = G::kFirstGradeCol; c <= last; ++c) {
    const std::string k = std::to_string(c - G::kFirstGradeCol + 1);
    if (packed) {
      Put(out, "<td class=\"", head, "\">", k, "</td>");
      continue;
    }
    Put(out, "<td class=\"", head, "\"><div class=\"cislastred\">", k, "</div><div class=\"cislastred\">");
    AppendEscaped(out, g.text(c, G::kDateRow));
    Put(out, "</div><div class=\"cislastred\">");
    AppendEscaped(out, g.text(c, G::kStartRow));
    Put(out, "</div><div class=\"cislastred\">");
    AppendEscaped(out, g.text(c, G::kEndRow));
    Put(out, "</div></td>");
  }
  static const std::string average = cp("<div class=\"stred\">Prů-</div><div class=\"stred\">měr</div>");
  static const std::string deviation = cp("<div class=\"stred\">Směr.</div><div class=\"stred\">odch.</div>");
  Put(out, "<td class=\"", head, "\">", average, "</td>");
  Put(out, "<td class=\"", head, "\">", deviation, "</td>");
  PutLine(out, "</tr>");
}

// One row per student, striped under Barevne; packed rows are padded to
// the same number of cells.
void PutGradeStudents(std::string& out, const GradeView& v, int last) {
  using G = GradeGeometry;
  const CellGrid& g = v.grid();
  const GradeGeometry& geo = v.geometry();
  const GradeDisplayOptions& o = v.options();
  ColorCodes codes;
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    const int n = r - G::kFirstStudentRow + 1;
    const std::string_view row = o.barevne && n % 2 == 0 ? "bunkasuda" : "bunkalicha";
    const std::string p = ColorCode(v.background(G::kOrderCol, r));
    Put(out, "<tr class=\"", row, "\">\r\n");
    Put(out, "<td class=\"bunkaP", p, "\">", std::to_string(n), ".&nbsp;</td>\r\n");
    Put(out, "<td class=\"", row, "\"><div class=\"vlevo\">");
    AppendCell(out, g.text(G::kNameCol, r), true);
    PutLine(out, "</div></td>");
    auto grade = [&](int c) {
      Put(out, "<td class=\"", row, "\"><span class=\"bunkaF", codes(v.gradeColor(c, r)), "\">");
      AppendCell(out, g.text(c, r));
      PutLine(out, "</span></td>");
    };
    if (o.zhustit) {
      int written = 0;
      for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
        if (g.text(c, r).empty()) continue;
        grade(c);
        ++written;
      }
      for (; written < last - G::kFirstGradeCol + 1; ++written)
        Put(out, "<td class=\"", row, "\"><span class=\"bunkaF000000\">&nbsp;</span></td>\r\n");
    } else {
      for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) grade(c);
    }
    for (int c : {geo.averageCol(), geo.deviationCol()}) {
      Put(out, "<td class=\"bunkaP", p, "\">");
      AppendCell(out, g.text(c, r));
      PutLine(out, "</td>");
    }
    PutLine(out, "</tr>");
  }
}

// The averages and deviations of the grade columns, and the class average
// under the students' statistics across both rows.
void PutGradeColumnStatistics(std::string& out, const GradeView& v, std::string_view head) {
  using G = GradeGeometry;
  const CellGrid& g = v.grid();
  const GradeGeometry& geo = v.geometry();
  ColorCodes codes;
  for (int r : {geo.averageRow(), geo.deviationRow()}) {
    static const std::string averageLabel = cp("Průměr"), deviationLabel = cp("Směr. odch.");
    PutLine(out, "<tr class=\"radek\">");
    Put(out, "<td colspan=\"2\" class=\"", head, "\">", r == geo.averageRow() ? averageLabel : deviationLabel,
        ":</td>\r\n");
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      Put(out, "<td class=\"bunkaP", codes(v.background(c, r)), "\">");
      AppendCell(out, g.text(c, r));
      PutLine(out, "</td>");
    }
    if (r == geo.averageRow()) {
      Put(out, "<td rowspan=\"2\" colspan=\"2\" class=\"bunkaP", codes(v.background(geo.averageCol(), r)),
          "\"><span class=\"stred\">&nbsp;&nbsp;&nbsp;&nbsp;");
      AppendCell(out, g.text(geo.averageCol(), r));
      PutLine(out, "</span></td>");
    }
    PutLine(out, "</tr>");
  }
}

std::string GradeTablePage(const VeklaState& s, const GradeView& v, const std::string& stem) {
  using G = GradeGeometry;
  const GradeGeometry& geo = v.geometry();
  const GradeDisplayOptions& o = v.options();
  const int last = o.zhustit ? G::kFirstGradeCol - 1 + v.mostGrades() : geo.lastGradeCol();
  std::string out;
  out.reserve(GradePageSize(geo));
  PutGradeHead(out, s, stem, kHeadLines);
  const std::string_view head = o.barevne ? "bunka" : "bunkabila";
  PutGradeTitles(out, v, head, last);
  PutGradeStudents(out, v, last);
  if (!o.zhustit) PutGradeColumnStatistics(out, v, head);
  PutFoot(out, 1);
  return out;
}

std::string GradeStudentsPage(const VeklaState& s, const GradeView& v, const std::string& stem) {
  using G = GradeGeometry;
  const CellGrid& g = v.grid();
  const GradeGeometry& geo = v.geometry();
  std::string out;
  out.reserve(GradePageSize(geo));
  PutGradeHead(out, s, stem, kHeadLines - 1);
  const std::string_view table = HeadLine(Page::Grades, kHeadLines);
  ColorCodes codes;
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    const int n = r - G::kFirstStudentRow + 1;
    const std::string p = ColorCode(v.background(G::kOrderCol, r));
    PutLine(out, table);
    PutLine(out, "<tr class=\"bunkalicha\">");
    Put(out, "<td class=\"bunkaP", p, "\">", std::to_string(n), ".&nbsp;</td>\r\n");
    Put(out, "<td class=\"bunkalicha\"><div class=\"vlevo\">");
    AppendCell(out, g.text(G::kNameCol, r), true);
    PutLine(out, "</div></td>");
    // Only the grades the student has, each under its date.
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      const std::string& grade = g.text(c, r);
      if (grade.empty()) continue;
      Put(out, "<td class=\"bunkalicha\"><div class=\"cislastred\">");
      AppendEscaped(out, g.text(c, G::kDateRow));
      Put(out, "</div><span class=\"bunkaF", codes(v.gradeColor(c, r)), "\">");
      AppendEscaped(out, grade);
      PutLine(out, "</span></td>");
    }
    for (int c : {geo.averageCol(), geo.deviationCol()}) {
      Put(out, "<td class=\"bunkaP", p, "\"><div class=\"cislastred\">");
      AppendEscaped(out, g.text(c, 0));
      Put(out, "</div>");
      AppendCell(out, g.text(c, r));
      PutLine(out, "</td>");
    }
    PutLine(out, "</tr>");
    PutLine(out, "</table>");
  }
  // Each student's table is closed already.
  PutFoot(out, 2);
  return out;
}

// ------------------------------------------------------------ topic plan

std::string TopicPage(const VeklaState& s) {
  using T = TopicColumns;
  const CellGrid& g = s.grid;
  const std::string name = ExportDatabaseName(s);
  std::string out;
  out.reserve(2048 + static_cast<std::size_t>(g.rowCount()) * 256);
  for (int n = 1; n <= kHeadLines; ++n) {
    switch (n) {
      case 4: PutHead(out, Page::Topics, n, name); break;
      case 10: PutHead(out, Page::Topics, n, NameAfterPrefix(s)); break;
      default: PutHead(out, Page::Topics, n);
    }
  }
  static const std::string titles =
      cp("<td class=\"poradi\">číslo</td><td class=\"nazev\">téma</td><td class=\"datum\">datum</td>"
         "<td class=\"pocet\">hodiny</td><td class=\"poznamka\">poznámka</td></tr>");
  PutLine(out, "<tr class=\"radek0\">");
  PutLine(out, titles);
  // Topics that start with a capital or a digit are headings, shown bold.
  // The hours shown are the ones done, not the ones planned.
  for (int r = 1; r < g.rowCount(); ++r) {
    Put(out, "<tr class=\"", IsHeadingTopic(g.text(T::kTopic, r)) ? "radek1" : "radek2", "\">\r\n");
    Put(out, "<td class=\"poradi\">");
    AppendCell(out, g.text(T::kOrder, r));
    Put(out, "</td><td class=\"nazev\">");
    AppendCell(out, g.text(T::kTopic, r));
    Put(out, "</td><td class=\"datum\">");
    AppendCell(out, g.text(T::kDate, r));
    Put(out, "</td><td class=\"pocet\">");
    AppendCell(out, g.text(T::kDone, r));
    Put(out, "</td><td class=\"poznamka\">");
    AppendCell(out, g.text(T::kNote, r));
    PutLine(out, "</td></tr>");
  }
  PutFoot(out, 1);
  return out;
}

}  // namespace

ExportFiles HtmlTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  const std::string stem = ExportPageStem(s, o);
  const TimetableGeometry geo(s.grid);
  return Files(stem, TimetablePage(s, stem), kTimetableSheetName, TimetableSheet(), TimetableColours(s.grid, geo),
               true);
}

ExportFiles HtmlGradeFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  const std::string stem = ExportPageStem(s, o);
  const GradeView v(s, o);
  std::string page = o.zvlast ? GradeStudentsPage(s, v, stem) : GradeTablePage(s, v, stem);
  return Files(stem, std::move(page), kGradeSheetName, GradeSheet(), GradeColours(s), true);
}

ExportFiles HtmlTopicFiles(const VeklaState& s, const GradeDisplayOptions& o) {
  const std::string stem = ExportPageStem(s, o);
  return Files(stem, TopicPage(s), kTopicSheetName, TopicSheet(), {}, false);
}

}  // namespace vekla
