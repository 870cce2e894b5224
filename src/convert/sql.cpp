#include "convert/sql.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "convert/exportview.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"
#include "workspace/tablegeometry.h"

// Every script loads into a current MariaDB (or MySQL) server in its default
// strict mode, which refuses a statement instead of storing a changed value.
// So a cell the column cannot take as it stands is written as the value the
// table can hold (the nearest limit of a number, the default of a column, a
// text cut to the column's width), and keys the table holds already are
// given a number of their own. Cells the columns take are written as they
// stand.

namespace vekla {

namespace {

// The range of an integer column.
struct Range {
  long long lo, hi;
};
constexpr Range kTinyInt{-128, 127};
constexpr Range kSmallInt{-32768, 32767};
constexpr Range kSmallUnsigned{0, 65535};

// Text columns hold this many characters, one byte each in code page 1250.
constexpr std::size_t kNameWidth = 60;
constexpr std::size_t kGradesWidth = 254;
constexpr std::size_t kGradeNoteWidth = 250;
constexpr std::size_t kTopicWidth = 255;
constexpr std::size_t kLessonWidth = 30;
constexpr std::size_t kBlockNameWidth = 20;
constexpr std::size_t kDayNameWidth = 21;

// Grade symbols and schedule pieces look at the first 11 characters of a cell.
constexpr std::size_t kCellCut = 11;
constexpr int kDaysOfLeapYear = 366;

// A whole number: an optional minus and at least one digit. Values far
// beyond every column's range stop growing, so no digit string overflows.
std::optional<long long> WholeNumber(std::string_view t) {
  const bool minus = !t.empty() && t.front() == '-';
  if (minus) t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  long long v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = std::min(v * 10 + (c - '0'), 1LL << 40);
  }
  return minus ? -v : v;
}

// The value of a whole-number cell in a column of range `r`: beyond the
// range it is the nearer limit (strict mode refuses it, the server outside
// strict mode stores just that); nothing for a cell that is no whole number.
std::optional<long long> ColumnNumber(std::string_view cell, Range r) {
  const std::optional<long long> v = WholeNumber(cell);
  if (!v) return std::nullopt;
  return std::clamp(*v, r.lo, r.hi);
}

// A decimal number the server reads into a float column: digits with an
// optional minus and decimal point, the whole part below 10^38 (the float's
// limit is 3.4 * 10^38).
bool IsFloatText(std::string_view t) {
  if (!t.empty() && t.front() == '-') t.remove_prefix(1);
  const std::size_t point = t.find('.');
  std::string_view whole = t.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : t.substr(point + 1);
  if (whole.empty() && fraction.empty()) return false;
  if (!AllDigits(whole) || !AllDigits(fraction)) return false;
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  return whole.size() <= 38;
}

bool IsLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

// Whether the digits d, m and y written as "y-m-d" make a date the server
// stores as this day: it reads a year of two digits as 1970 to 2069 and
// others as they stand, and refuses days a month does not have.
bool IsDate(std::string_view d, std::string_view m, std::string_view y) {
  if (d.empty() || d.size() > 2 || m.empty() || m.size() > 2 || y.empty() || y.size() > 4) return false;
  if (!AllDigits(d) || !AllDigits(m) || !AllDigits(y)) return false;
  auto value = [](std::string_view t) {
    int v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
  };
  const int day = value(d), month = value(m);
  int year = value(y);
  if (y.size() == 2) year += year < 70 ? 2000 : 1900;
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year));
}

// A lesson time "h:mm" the server reads as that time once ":00" follows it:
// one or two digits of hours, one or two of minutes below 60.
bool IsLessonTime(std::string_view t) {
  const std::size_t colon = t.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view h = t.substr(0, colon), m = t.substr(colon + 1);
  if (h.empty() || h.size() > 2 || m.empty() || m.size() > 2 || !AllDigits(h) || !AllDigits(m)) return false;
  return m.size() == 1 || m[0] < '6';
}

// The table's name as the server takes it between backquotes. It refuses a
// name that ends in white space, is longer than 64 characters, holds a NUL
// or a byte code page 1250 leaves undefined, or starts like the names it
// keeps for tables of old versions, and it cannot create the table's files
// when their names pass the file system's 255 bytes (a character other than
// a letter, digit or "_" takes up to five bytes there). So control
// characters and undefined bytes become "_", the name is cut and its
// trailing spaces dropped; an empty name is the kind's default one. A
// backquote inside is doubled.
std::string TableIdentifier(std::string_view name, DbKind kind) {
  constexpr std::size_t kMostCharacters = 64, kMostFileBytes = 250;
  std::string id;
  std::size_t fileBytes = 0;
  for (char ch : name) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98) ch = '_';
    const bool plain = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
    fileBytes += plain ? 1 : 5;
    if (id.size() == kMostCharacters || fileBytes > kMostFileBytes) break;
    id += ch;
  }
  while (!id.empty() && id.back() == ' ') id.pop_back();
  if (id.empty()) id = KindPrefix(kind);
  if (id.starts_with("#mysql50#")) id[0] = '_';
  return ReplaceAll(id, "`", "``");
}

// Rows of a table whose primary key is a number and a text (empty where the
// key is numbers only). The server compares the texts under the collation it
// gives a table of code page 1250 (cp1250_general_ci): byte by byte through
// the weights below, so case and most accents do not count ("úvod" is
// "Úvod", "Ř" is "R"), and trailing spaces (and no-break spaces) neither. A
// key it holds already stops the script, so a repeated key takes a number
// no row has: the next above the highest, then upwards from the bottom of
// the column's range.
class UniqueKeys {
 public:
  explicit UniqueKeys(Range r) : r_(r), used_(static_cast<std::size_t>(r.hi - r.lo + 1)), top_(r.lo) {}

  // A number some row has; no repeated key is given it.
  void claim(long long n) {
    used_[static_cast<std::size_t>(n - r_.lo)] = true;
    top_ = std::max(top_, n);
  }
  // The number the row's key is written with: `n`, or a free one when the
  // table holds the key (n, text) already.
  long long unique(long long n, std::string_view text) {
    if (!keys_.insert(key(n, text)).second) {
      n = fresh();
      keys_.insert(key(n, text));
    }
    return n;
  }

 private:
  static constexpr std::array<unsigned char, 256> kWeights = {
      0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,  //
      0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,  //
      0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,  //
      0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,  //
      0x40, 0x41, 0x42, 0x43, 0x46, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x52, 0x53, 0x55,  //
      0x56, 0x57, 0x58, 0x59, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x63, 0x64, 0x65, 0x66, 0x67,  //
      0x68, 0x41, 0x42, 0x43, 0x46, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x52, 0x53, 0x55,  //
      0x56, 0x57, 0x58, 0x59, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,  //
      0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x5A, 0x8B, 0x5A, 0x5B, 0x62, 0x62,  //
      0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x5A, 0x9B, 0x5A, 0x5B, 0x62, 0x62,  //
      0x20, 0xA1, 0xA2, 0x50, 0xA4, 0x41, 0xA6, 0x59, 0xA8, 0xA9, 0x59, 0xAB, 0xAC, 0xAD, 0xAE, 0x62,  //
      0xB0, 0xB1, 0xB2, 0x50, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0x41, 0x59, 0xBB, 0x50, 0xBD, 0x50, 0x62,  //
      0x58, 0x41, 0x41, 0x41, 0x41, 0x50, 0x45, 0x43, 0x44, 0x49, 0x49, 0x49, 0x49, 0x4D, 0x4D, 0x46,  //
      0x47, 0x53, 0x53, 0x55, 0x55, 0x55, 0x55, 0xD7, 0x58, 0x5C, 0x5C, 0x5C, 0x5C, 0x60, 0x5B, 0x59,  //
      0x58, 0x41, 0x41, 0x41, 0x41, 0x50, 0x45, 0x43, 0x44, 0x49, 0x49, 0x49, 0x49, 0x4D, 0x4D, 0x46,  //
      0x47, 0x53, 0x53, 0x55, 0x55, 0x55, 0x55, 0xF7, 0x58, 0x5C, 0x5C, 0x5C, 0x5C, 0x60, 0x5B, 0xFF,  //
  };
  static constexpr unsigned char kSpaceWeight = 0x20;

  std::string key(long long n, std::string_view text) const {
    const auto i = static_cast<unsigned>(n - r_.lo);
    std::string k{static_cast<char>(i >> 8), static_cast<char>(i & 0xFF)};
    for (char c : text) k += static_cast<char>(kWeights[static_cast<unsigned char>(c)]);
    while (k.size() > 2 && static_cast<unsigned char>(k.back()) == kSpaceWeight) k.pop_back();
    return k;
  }

  long long fresh() {
    if (!next_) next_ = top_ < r_.hi ? top_ + 1 : r_.lo;
    for (std::size_t tries = used_.size(); tries > 0; --tries) {
      const long long n = *next_;
      next_ = n < r_.hi ? n + 1 : r_.lo;
      if (!used_[static_cast<std::size_t>(n - r_.lo)]) {
        used_[static_cast<std::size_t>(n - r_.lo)] = true;
        return n;
      }
    }
    // More rows than the key has numbers: no grid the program holds.
    return r_.lo;
  }

  Range r_;
  std::vector<bool> used_;
  long long top_;
  std::optional<long long> next_;
  std::unordered_set<std::string> keys_;
};

// The script of one table, built into one string: the frame, then one
// INSERT per row, lines ending in CR LF.
// The line that takes NO_BACKSLASH_ESCAPES and EMPTY_STRING_IS_NULL out of
// the session's sql_mode, keeping every other mode the session has.
constexpr std::string_view kSessionMode =
    "SET SESSION sql_mode = TRIM(BOTH ',' FROM REPLACE(REPLACE(CONCAT(',', @@SESSION.sql_mode, ','), "
    "',NO_BACKSLASH_ESCAPES,', ','), ',EMPTY_STRING_IS_NULL,', ','));";

class Script {
 public:
  Script(std::string_view name, DbKind kind) : id_(TableIdentifier(name, kind)) {}

  // Room for the whole script at once: the frame, `rows` data lines around
  // their values, and `bytes` of values.
  void reserve(std::size_t rows, std::size_t bytes) {
    constexpr std::size_t kFrameBytes = 900, kLineBytes = 80;
    out_.reserve(kFrameBytes + 2 * id_.size() + bytes + rows * (kLineBytes + id_.size()));
  }

  void line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  // The frame up to the first data line. After the character set, the
  // session's sql_mode loses NO_BACKSLASH_ESCAPES, so that the escapes of
  // the texts mean the same on every server, and EMPTY_STRING_IS_NULL,
  // under which an empty text would be no text; the server's other modes
  // stay (the script loads under any of them). An older table of the name
  // goes first, so that the script loads again after a new export.
  void head(std::initializer_list<std::string_view> columns, std::string_view key) {
    line("#Tvorba tabulky");
    line("");
    line("SET NAMES cp1250;");
    line(kSessionMode);
    out_ += "DROP TABLE IF EXISTS `";
    out_ += id_;
    line("`;");
    out_ += "CREATE TABLE `";
    out_ += id_;
    line("` (");
    for (std::string_view c : columns) line(c);
    line(key);
    line(") ENGINE=MyISAM DEFAULT CHARSET=cp1250;");
    line("");
    line("#Data pro tabulku");
  }
  Script& insert() {
    out_ += "INSERT INTO `";
    out_ += id_;
    out_ += "` VALUES (";
    return *this;
  }
  void end() { out_ += ");\r\n"; }
  Script& next() {
    out_ += ", ";
    return *this;
  }
  Script& raw(std::string_view t) {
    out_ += t;
    return *this;
  }
  Script& number(long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, r.ptr);
    return *this;
  }
  // A bare whole number of value v: the cell as it stands when it is that
  // number, else the number.
  Script& number(std::string_view cell, long long v) {
    if (WholeNumber(cell) == v) return raw(cell);
    return number(v);
  }
  // A bare whole number of a column of range `r`; `none` (the column's
  // default) for an empty cell or one that holds no whole number.
  Script& whole(std::string_view cell, Range r, std::string_view none) {
    if (const std::optional<long long> v = ColumnNumber(cell, r)) return number(cell, *v);
    return raw(none);
  }
  // A text between single quotes, cut to the column's width (strict mode
  // refuses a longer one). A quote is doubled, which every sql_mode reads
  // as one; a backslash is escaped, and so are the bytes that would end the
  // line (CR, LF), that the client refuses (NUL) or that ends a file on
  // Windows (Ctrl-Z): the server reads back the text.
  Script& text(std::string_view t, std::size_t width) {
    static constexpr std::string_view kSpecial("'\\\0\n\r\x1a", 6);
    t = t.substr(0, width);
    out_ += '\'';
    for (std::size_t at = 0;;) {
      const std::size_t hit = t.find_first_of(kSpecial, at);
      out_.append(t.substr(at, hit - at));
      if (hit == std::string_view::npos) break;
      out_ += t[hit] == '\'' ? '\'' : '\\';
      switch (t[hit]) {
        case '\0': out_ += '0'; break;
        case '\n': out_ += 'n'; break;
        case '\r': out_ += 'r'; break;
        case '\x1a': out_ += 'Z'; break;
        default: out_ += t[hit];
      }
      at = hit + 1;
    }
    out_ += '\'';
    return *this;
  }
  // A statistic between single quotes with a decimal point; an empty cell,
  // or one that holds no number the float column takes, is '0'.
  Script& decimal(std::string_view cell) {
    const std::string t = DecimalPoint(cell);
    if (!IsFloatText(t)) return raw("'0'");
    return text(t, t.size());
  }

  std::string take() { return std::move(out_); }

 private:
  std::string id_;
  std::string out_;
};

// The bytes the texts of a row bring, to reserve the script's size once.
std::size_t TextBytes(const CellGrid& g, int row, std::initializer_list<int> cols) {
  std::size_t n = 0;
  for (int c : cols) n += g.text(c, row).size();
  return n;
}

ExportFiles OneFile(const std::string& name, Script& script) { return {{toQt(name) + ".sql", script.take()}}; }

// --- grade book

// The grade book's table: the database name, then the first year and the
// number of the shown semester ("Znamky-7A" and "1. pol. 2004/2005" give
// "Znamky-7A20041"); the database name alone when no semester is shown.
std::string GradeTableName(const VeklaState& s) {
  std::string name = ExportDatabaseName(s);
  const int i = s.semesterItemIndex;
  if (i < 0 || i >= static_cast<int>(s.semesterItems.size())) return name;
  const std::string& item = s.semesterItems[static_cast<std::size_t>(i)];
  if (item.size() > 8) name.append(item, 8, 4);
  if (!item.empty()) name += item[0];
  return name;
}

// One schedule row: for each grade column, the part of the header cell
// before its first `mark`, or the up to two characters after it (the first
// two of the cell when it has none), zero-padded to two characters.
struct ScheduleRow {
  int order;
  const char* name;
  int row;
  char mark;
  bool after;
};
constexpr ScheduleRow kScheduleRows[6] = {
    {-6, "Dny", GradeGeometry::kDateRow, '.', false},      {-5, "Mesice", GradeGeometry::kDateRow, '.', true},
    {-4, "Hodiny1", GradeGeometry::kStartRow, ':', false}, {-3, "Minuty1", GradeGeometry::kStartRow, ':', true},
    {-2, "Hodiny2", GradeGeometry::kEndRow, ':', false},   {-1, "Minuty2", GradeGeometry::kEndRow, ':', true},
};

void ScheduleText(std::string& into, const CellGrid& g, const GradeGeometry& geo, const ScheduleRow& how) {
  into.clear();
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
    const std::string_view cell = std::string_view(g.text(c, how.row)).substr(0, kCellCut);
    const std::size_t at = cell.find(how.mark);
    std::string_view piece;
    if (how.after) piece = at == std::string_view::npos ? cell.substr(0, 2) : cell.substr(at + 1, 2);
    else piece = at == std::string_view::npos ? std::string_view() : cell.substr(0, at);
    if (piece.size() < 2) into.append(2 - piece.size(), '0');
    into += piece;
  }
}

// A student's grades, two characters per grade column: the weight number
// and the letter of the grade code ("1B" for the second symbol in the
// colour of weight 1), two spaces for a cell without either, and no spaces
// after the last grade.
void GradeText(std::string& into, const VeklaState& s, const GradeCodes& codes, const GradeGeometry& geo, int row) {
  into.clear();
  std::string cut;
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
    const Cell& cell = s.grid.cell(c, row);
    const int weight = cell.text.empty() ? 0 : WeightNumber(s, cell.font);
    int code = 0;
    if (weight != 0) code = cell.text.size() <= kCellCut ? codes(cell.text) : codes(cut.assign(cell.text, 0, kCellCut));
    if (weight != 0 && code != 0) {
      into += static_cast<char>('0' + weight);
      into += static_cast<char>(64 + code);
    } else {
      into += "  ";
    }
  }
  into.erase(into.find_last_not_of(' ') + 1);
}

// --- timetable

// A lesson's start or end time: the cell and ":00" when the server reads it
// as a time; the column's default for an empty cell or one that is no time.
void LessonTime(Script& out, const std::string& cell) {
  if (!IsLessonTime(cell)) {
    out.raw("'00:00:00'");
    return;
  }
  out.raw("'").raw(cell).raw(":00'");
}

// --- topic plan

// A topic's date "d.m.y" as "y-m-d", its parts as they stand; NULL for any
// other text, which the date column cannot take. (A short date such as
// "1.1.5" turns round too: as it stands, the server would read it as year
// 1, month 1, day 5.)
void TopicDate(Script& out, std::string_view cell) {
  const std::size_t dot1 = cell.find('.');
  const std::size_t dot2 = dot1 == std::string_view::npos ? dot1 : cell.find('.', dot1 + 1);
  if (dot2 == std::string_view::npos) {
    out.raw("NULL");
    return;
  }
  const std::string_view d = cell.substr(0, dot1), m = cell.substr(dot1 + 1, dot2 - dot1 - 1),
                         y = cell.substr(dot2 + 1);
  if (!IsDate(d, m, y)) {
    out.raw("NULL");
    return;
  }
  out.raw("'").raw(y).raw("-").raw(m).raw("-").raw(d).raw("'");
}

// A topic's order number: an empty cell, "0" or one that is no number is 1.
long long TopicOrder(std::string_view cell) {
  if (cell.empty() || cell == "0") return 1;
  return ColumnNumber(cell, kSmallInt).value_or(1);
}

}  // namespace

ExportFiles SqlGradeFiles(const VeklaState& s, const GradeDisplayOptions&) {
  using G = GradeGeometry;
  const std::string name = GradeTableName(s);
  const CellGrid& g = s.grid;
  const G geo(g);
  const std::size_t gradeBytes = 2 * static_cast<std::size_t>(std::max(geo.gradeColumns(), 0));
  const int lastStudent = geo.lastStudentRow();

  std::size_t size = 0;
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r)
    size += gradeBytes + TextBytes(g, r,
                                   {G::kOrderCol, G::kNameCol, geo.averageCol(), geo.deviationCol(), geo.noteCol(),
                                    geo.examinedCol()});
  const std::size_t rows = 6 + static_cast<std::size_t>(std::max(lastStudent - G::kFirstStudentRow + 1, 0));
  Script out(name, s.kind);
  out.reserve(rows, size + 6 * gradeBytes);
  out.head({"`Poradi` smallint(6) NOT NULL default '0',", "`Jmeno` varchar(60) NOT NULL default '',",
            "`Znamky` varchar(254) NOT NULL default '',", "`Prumer` float NOT NULL default '0',",
            "`Odchylka` float NOT NULL default '0',", "`Poznamka` varchar(250) NOT NULL default '',",
            "`Zkousen` smallint(5) unsigned NOT NULL default '0',"},
           "PRIMARY KEY (`Poradi`,`Jmeno`)");

  // Order numbers are unique in a grade book; the keys still must be, for
  // the script to load whatever the grid holds.
  UniqueKeys keys(kSmallInt);
  std::vector<long long> order;
  for (const ScheduleRow& how : kScheduleRows) keys.claim(how.order);
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r) {
    order.push_back(ColumnNumber(g.text(G::kOrderCol, r), kSmallInt).value_or(0));
    keys.claim(order.back());
  }

  std::string buffer;
  buffer.reserve(gradeBytes);
  for (const ScheduleRow& how : kScheduleRows) {
    ScheduleText(buffer, g, geo, how);
    out.insert().number(keys.unique(how.order, how.name)).next().text(how.name, kNameWidth).next();
    out.text(buffer, kGradesWidth).raw(", '0', '0', '', 0").end();
  }
  const GradeCodes codes(s);
  for (int r = G::kFirstStudentRow; r <= lastStudent; ++r) {
    const std::string& student = g.text(G::kNameCol, r);
    const long long n = keys.unique(order[static_cast<std::size_t>(r - G::kFirstStudentRow)],
                                    std::string_view(student).substr(0, kNameWidth));
    GradeText(buffer, s, codes, geo, r);
    out.insert().number(g.text(G::kOrderCol, r), n).next().text(student, kNameWidth).next();
    out.text(buffer, kGradesWidth).next().decimal(g.text(geo.averageCol(), r)).next();
    out.decimal(g.text(geo.deviationCol(), r)).next().text(g.text(geo.noteCol(), r), kGradeNoteWidth).next();
    out.whole(g.text(geo.examinedCol(), r), kSmallUnsigned, "0").end();
  }
  return OneFile(name, out);
}

ExportFiles SqlTopicFiles(const VeklaState& s, const GradeDisplayOptions&) {
  using T = TopicColumns;
  const std::string name = ExportDatabaseName(s);
  const CellGrid& g = s.grid;
  const int lastRow = g.rowCount() - 1;

  std::size_t size = 0;
  UniqueKeys keys(kSmallInt);
  std::vector<long long> order;
  for (int r = 1; r <= lastRow; ++r) {
    size += TextBytes(g, r, {T::kOrder, T::kTopic, T::kDate, T::kNote, T::kFrom, T::kTo, T::kTotal, T::kDone});
    order.push_back(TopicOrder(g.text(T::kOrder, r)));
    keys.claim(order.back());
  }
  Script out(name, s.kind);
  out.reserve(order.size(), size);
  out.head({"`Poradi` smallint(6) NOT NULL default '0',", "`Tema` varchar(255) NOT NULL default '',",
            "`Datum` date NULL default NULL,", "`Poznamka` varchar(255) NOT NULL default '',",
            "`Od` smallint(6) default NULL,", "`Do` smallint(6) default NULL,", "`Celkem` smallint(6) default NULL,",
            "`Hotovo` tinyint(1) default NULL,"},
           "PRIMARY KEY (`Poradi`,`Tema`)");
  for (int r = 1; r <= lastRow; ++r) {
    const std::string& topic = g.text(T::kTopic, r);
    const long long n =
        keys.unique(order[static_cast<std::size_t>(r - 1)], std::string_view(topic).substr(0, kTopicWidth));
    out.insert().number(g.text(T::kOrder, r), n).next().text(topic, kTopicWidth).next();
    TopicDate(out, g.text(T::kDate, r));
    out.next().text(g.text(T::kNote, r), kTopicWidth);
    for (int c : {T::kFrom, T::kTo, T::kTotal}) out.next().whole(g.text(c, r), kSmallInt, "NULL");
    out.next().whole(g.text(T::kDone, r), kTinyInt, "NULL").end();
  }
  return OneFile(name, out);
}

ExportFiles SqlTimetableFiles(const VeklaState& s, const GradeDisplayOptions&) {
  using T = TimetableGeometry;
  const std::string name = ExportDatabaseName(s);
  const CellGrid& g = s.grid;
  const T geo(g);

  // Lesson numbers repeated in two columns would give two rows one key.
  std::size_t size = 0;
  UniqueKeys keys(kTinyInt);
  std::vector<long long> lesson;
  for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c) {
    lesson.push_back(ColumnNumber(g.text(c, T::kLessonRow), kTinyInt).value_or(0));
    keys.claim(lesson.back());
    for (int r = T::kLessonRow; r < T::dayRow(T::kDays); ++r)
      size += g.text(c, r).size() * (r < T::kFirstDayRow ? T::kDays : 1);
  }
  for (long long& n : lesson) n = keys.unique(n, {});
  Script out(name, s.kind);
  out.reserve(T::kDays * lesson.size(), size);
  out.head({"`Den` tinyint(4) NOT NULL default '0',", "`Hodina` tinyint(4) NOT NULL default '0',",
            "`Od` time NOT NULL default '00:00:00',", "`Do` time NOT NULL default '00:00:00',",
            "`Predmet` varchar(30) NOT NULL default '',", "`Trida` varchar(30) NOT NULL default '',",
            "`Ucebna` varchar(30) NOT NULL default '',", "`Propojeni` varchar(20) NOT NULL default '',"},
           "PRIMARY KEY (`Den`,`Hodina`)");
  out.line("");
  for (int d = 0; d < T::kDays; ++d) {
    const int f = T::dayRow(d);
    for (int c = T::kFirstLessonCol; c <= geo.lastLessonCol(); ++c) {
      out.insert().number(d + 1).next();
      out.number(g.text(c, T::kLessonRow), lesson[static_cast<std::size_t>(c - T::kFirstLessonCol)]).next();
      LessonTime(out, g.text(c, T::kStartRow));
      LessonTime(out.next(), g.text(c, T::kEndRow));
      for (int k : {T::kSubject, T::kClass, T::kRoom}) out.next().text(g.text(c, f + k), kLessonWidth);
      out.next().text(g.text(c, f + T::kName), kBlockNameWidth).end();
    }
  }
  return OneFile(name, out);
}

ExportFiles SqlCalendarFiles(const VeklaState& s, const GradeDisplayOptions&) {
  const std::string name = ExportDatabaseName(s);
  const CellGrid& g = s.grid;
  // Rows after the last day of a leap year are no day: as month 0, day 0
  // each, all of them one key, the server would stop at the second.
  const int lastRow = std::min(g.rowCount() - 1, kDaysOfLeapYear);

  std::size_t size = 0;
  for (int r = 1; r <= lastRow; ++r) size += TextBytes(g, r, {CalendarColumns::kText});
  Script out(name, s.kind);
  out.reserve(static_cast<std::size_t>(std::max(lastRow, 0)), size);
  out.head({"`mesic` tinyint(3) unsigned NOT NULL default '0',", "`den` tinyint(3) unsigned NOT NULL default '0',",
            "`jmeno` varchar(21) NOT NULL default '',"},
           "PRIMARY KEY (`mesic`,`den`)");
  for (int r = 1; r <= lastRow; ++r) {
    out.insert().raw(DayOfYearToMonth(r)).next().raw(DayOfYearToDay(r)).next();
    out.text(g.text(CalendarColumns::kText, r), kDayNameWidth).end();
  }
  ExportFiles files = OneFile(name, out);
  if (g.rowCount() - 1 > kDaysOfLeapYear)
    files.log.push_back(cp("Řádky kalendáře za 366. dnem nejsou dny roku: do skriptu SQL nebyly zapsány."));
  return files;
}

}  // namespace vekla
