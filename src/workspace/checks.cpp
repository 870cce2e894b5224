#include "workspace/checks.h"

#include <cstdint>
#include <optional>

#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/ordernumbers.h"

namespace vekla {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool columnDescribed(int col) { return col >= 1 && col <= 26; }

// Small non-negative decimal number of at most 9 digits (callers check).
int smallNumber(const std::string& digits) {
  int v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

bool dayFitsMonth(int d, int m) {
  if (d < 1 || d > 31 || m < 1 || m > 12) return false;
  if ((m == 4 || m == 6 || m == 9 || m == 11) && d > 30) return false;
  if (m == 2 && d > 29) return false;
  return true;
}

// 100 * k / n rounded, halves to the even neighbour.
long long roundedPercent(long long k, long long n) {
  const long long num = 100 * k;
  long long q = num / n;
  const long long twice = 2 * (num % n);
  if (twice > n || (twice == n && (q % 2) != 0)) ++q;
  return q;
}

}  // namespace

std::string CutText(VeklaState& s, std::string text, CellPos at, int maxLen) {
  const std::size_t m = static_cast<std::size_t>(maxLen < 0 ? 0 : maxLen);
  if (text.size() <= m) return text;
  Log(s, CellName(s, at) + cp(" zkrácení položky ") + std::string(LogPart(text)));
  text.resize(m);
  return text;
}

std::string CutLabelledText(VeklaState& s, std::string text, const std::string& label, int maxLen) {
  const std::size_t m = static_cast<std::size_t>(maxLen < 0 ? 0 : maxLen);
  if (text.size() <= m) return text;
  Log(s, label + ": " + std::string(LogPart(text)) + cp(" zkrácení položky"));
  text.resize(m);
  return text;
}

std::string CheckTextColumn(VeklaState& s, std::string text, CellPos at) {
  if (!columnDescribed(at.col)) return text;
  return CutText(s, std::move(text), at, s.Sloupce.Delka[static_cast<std::size_t>(at.col)]);
}

std::string CheckFlagColumn(VeklaState& s, std::string text, CellPos at) {
  if (!columnDescribed(at.col)) return text;
  const auto i = static_cast<std::size_t>(at.col);
  if (static_cast<long long>(text.size()) > s.Sloupce.Delka[i]) {
    Log(s, CellName(s, at) + cp(" příliš velká položka ") + text);
    return s.Sloupce.Vychozi[i];
  }
  for (char c : text) {
    if (c != '0' && c != '1') {
      Log(s, CellName(s, at) + text + cp(" není 0 nebo 1"));
      return s.Sloupce.Vychozi[i];
    }
  }
  return text;
}

std::string CheckWholeColumn(VeklaState& s, std::string text, CellPos at) {
  if (!columnDescribed(at.col)) return text;
  const auto i = static_cast<std::size_t>(at.col);
  if (static_cast<long long>(text.size()) > s.Sloupce.Delka[i]) {
    Log(s, CellName(s, at) + cp(" příliš velká položka ") + text);
    return s.Sloupce.Vychozi[i];
  }
  if (!AllDigits(text)) {
    Log(s, CellName(s, at) + cp(" změna hodnocení ") + text);
    return s.Sloupce.Vychozi[i];
  }
  return text;
}

std::string CheckBoundedNumber(VeklaState& s, std::string text, CellPos at, int maxV, int minV) {
  bool repaired = false;
  std::string digits = text;
  for (char& c : digits) {
    if (!isDigit(c)) {
      c = '0';
      repaired = true;
    }
  }
  // Leading zeros carry no value; what is left decides the size of the number.
  const std::size_t first = digits.find_first_not_of('0');
  const std::string significant = first == std::string::npos ? std::string() : digits.substr(first);

  long long v = 0;
  if (significant.size() > 10) {
    // Far beyond any limit (and beyond 32 bits): it is above the maximum,
    // and the remainder by 1000 is its last three digits.
    v = smallNumber(significant.substr(significant.size() - 3));
    repaired = true;
  } else {
    for (char c : significant) v = v * 10 + (c - '0');
    if (v < minV) {
      v = minV;
      repaired = true;
    } else if (v > maxV) {
      v %= 1000;
      repaired = true;
    }
  }
  // The remainder of a number above the maximum can fall below the minimum
  // (1000 gives 0, not a valid order number): the minimum holds after it too.
  if (v < minV) v = minV;
  if (repaired) Log(s, CellName(s, at) + cp(" změna položky ") + text);
  return std::to_string(v);
}

std::string CheckTime(VeklaState& s, std::string text, CellPos at, bool fiveMinutes) {
  if (text.empty()) {
    std::string now = NowHourMinute();
    Log(s, CellName(s, at) + cp(" změna položky ") + now);
    return now;
  }
  const std::string original = text;
  bool repaired = false;

  std::string t = text.substr(0, 5);
  for (char& c : t) {
    if (!isDigit(c) && c != ':') {
      c = '0';
      repaired = true;
    }
  }
  const std::size_t colon = t.find(':');
  const int p = colon == std::string::npos ? 0 : static_cast<int>(colon) + 1;
  while (t.size() < 5) t += '0';

  std::string n;
  switch (p) {
    case 3: n = t.substr(0, 2) + ":" + t.substr(3, 2); break;
    case 2: n = std::string("0") + t[0] + ":" + t.substr(2, 2); break;
    case 1: n = std::string("00:") + t.substr(1, 2); break;
    case 4: n = t.substr(0, 2) + ":" + t[2] + t[4]; break;
    default: n = t.substr(0, 2) + ":" + t.substr(2, 2); break;
  }
  if (p != 2 && p != 3) repaired = true;

  for (int i : {0, 1, 3, 4}) {
    if (!isDigit(n[static_cast<std::size_t>(i)])) {
      n[static_cast<std::size_t>(i)] = '0';
      repaired = true;
    }
  }
  if (n[0] > '2') {
    n[0] = '0';
    repaired = true;
  }
  if (n[0] == '2' && n[1] > '3') {
    n[1] = '0';
    repaired = true;
  }
  if (fiveMinutes && n[4] != '0' && n[4] != '5') {
    n[4] = n[4] < '5' ? '0' : '5';
    repaired = true;
  }
  if (n[3] >= '6') {
    n[3] = '5';
    repaired = true;
  }
  if (repaired) Log(s, CellName(s, at) + cp(" změna ") + original + " za " + n);
  return n;
}

std::string CheckDayMonth(VeklaState& s, std::string text, CellPos at) {
  bool wrong = true;
  std::string shaped;
  const std::size_t dot = text.find('.');
  if (!text.empty() && dot != std::string::npos) {
    const std::string d = text.substr(0, dot);
    const std::string m = RomanToArabic(text.substr(dot + 1)).substr(0, 2);
    shaped = d + "." + m;
    if (!d.empty() && d.size() <= 2 && !m.empty() && AllDigits(d) && AllDigits(m))
      wrong = !dayFitsMonth(smallNumber(d), smallNumber(m));
  }
  if (!wrong) return shaped;
  std::string today = TodayDayMonth();
  Log(s, CellName(s, at) + cp(" změna ") + text + " za " + today);
  return today;
}

std::string CheckDateColumn(VeklaState& s, std::string text, CellPos at) {
  if (text.empty()) return text;
  bool wrong = true;
  const std::size_t dot1 = text.find('.');
  if (dot1 != std::string::npos) {
    const std::size_t dot2 = text.find('.', dot1 + 1);
    if (dot2 != std::string::npos) {
      const std::string d = text.substr(0, dot1);
      const std::string m = text.substr(dot1 + 1, dot2 - dot1 - 1);
      const std::string y = text.substr(dot2 + 1);
      if (!d.empty() && d.size() <= 2 && !m.empty() && m.size() <= 2 && !y.empty() && y.size() <= 4 && AllDigits(d) &&
          AllDigits(m) && AllDigits(y))
        wrong = smallNumber(y) < 1 || !dayFitsMonth(smallNumber(d), smallNumber(m));
    }
  }
  if (!wrong) return text;
  Log(s, CellName(s, at) + " " + text + cp(" není datum"));
  return columnDescribed(at.col) ? s.Sloupce.Vychozi[static_cast<std::size_t>(at.col)] : std::string();
}

std::string CheckValue(VeklaState& s, std::string text) {
  const std::string original = text;
  bool repaired = false;
  if (text.empty()) text.push_back('0');
  if (text.size() > 6) {
    text.resize(6);
    repaired = true;
  }
  bool seenComma = false;
  for (char& c : text) {
    if (c == '.') c = ',';
    if (c == ',') {
      if (seenComma) {
        c = '0';
        repaired = true;
      }
      seenComma = true;
    } else if (!isDigit(c)) {
      c = '0';
      repaired = true;
    }
  }

  std::string result;
  if (text == ",") {
    // Nothing to read as a number: the value becomes zero.
    result = "0,00";
    repaired = true;
  } else {
    // Value x 100, worked out on the decimal digits so that a half is a
    // true half and goes to the even neighbour (12,345 gives 1234).
    const std::size_t comma = text.find(',');
    const std::string whole = text.substr(0, comma);
    const std::string frac = comma == std::string::npos ? std::string() : text.substr(comma + 1);
    std::uint64_t x = 0;
    for (char c : whole) x = x * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 2; ++i) x = x * 10 + (i < frac.size() ? static_cast<std::uint64_t>(frac[i] - '0') : 0);
    if (frac.size() > 2) {
      const char next = frac[2];
      const bool restNonZero = frac.find_first_not_of('0', 3) != std::string::npos;
      if (next > '5' || (next == '5' && (restNonZero || x % 2 == 1))) ++x;
    }
    std::string digits = std::to_string(x);
    if (digits.size() > 5) {
      digits.resize(5);
      repaired = true;
    }
    // Two decimals: "0,0d", "0,dd" or the whole part, ",", two digits.
    if (digits.size() < 3) digits.insert(digits.begin(), 3 - digits.size(), '0');
    result.append(digits, 0, digits.size() - 2);
    result += ',';
    result.append(digits, digits.size() - 2, 2);
  }
  if (repaired) Log(s, cp("Špatná hodnota ") + original);
  return result;
}

namespace {

// The grade symbols as a table, each of one character with its trailing
// space as a cell holds it (the symbol grid itself is left as it is). A
// check of every cell asks for it once a cell: it is made again only when
// the symbol grid was written to since (its mark tells).
const GradeCodes& Symbols(const VeklaState& s) {
  thread_local std::optional<CellGrid::Mark> madeFor;
  thread_local std::optional<GradeCodes> codes;
  if (madeFor && *madeFor == s.znamky.mark()) return *codes;
  CellGrid padded = s.znamky;
  PadGradeSymbols(padded);
  codes.emplace(padded);
  madeFor = s.znamky.mark();
  return *codes;
}

}  // namespace

std::string CheckGrade(VeklaState& s, std::string text, CellPos at, bool colour) {
  if (!text.empty()) {
    const std::string original = text;
    if (text.size() == 1) text += ' ';
    if (text.size() > 2) {
      text.resize(2);
      Log(s, CellName(s, at) + " " + original + cp(" zkráceno na ") + text);
    }
    // The symbols are compared as the cells hold them.
    const GradeCodes& symbols = Symbols(s);
    auto listed = [&symbols](const std::string& t) { return symbols(t) != 0; };
    if (!listed(text)) {
      bool found = false;
      if (text[1] == '.') {
        text[1] = cp("·")[0];
        found = listed(text);
      }
      if (!found) {
        text.clear();
        Log(s, CellName(s, at) + cp(" špatná známka ") + original);
      }
    }
  }
  if (colour) GiveCurrentWeight(s, at);
  return text;
}

std::string CellName(const VeklaState& s, CellPos at) {
  // An imported grade book's captions and titles come from the file and may
  // be long; every line that names the cell shows at most LogPart of them.
  return std::string(LogPart(s.grid.text(0, at.row))) + "/" + std::string(LogPart(s.grid.text(at.col, 0)));
}

std::string StudentLabel(std::string_view number, std::string_view name) {
  const std::size_t space = name.find(' ');
  return std::string(number) + ". " + std::string(space == std::string_view::npos ? name : name.substr(0, space + 1));
}

void UpdateStudentLabel(VeklaState& s, const std::string& name, int row) {
  if (!GradeGeometry(s.grid).isStudentRow(row)) return;
  const std::string& label = s.grid.text(0, row);
  const std::size_t dot = label.find('.');
  // A label without a number keeps none: only the name follows the space.
  s.grid.setText(
      0, row, dot == std::string::npos ? StudentLabel("", name).substr(1) : StudentLabel(label.substr(0, dot), name));
}

std::string CheckByColumnType(VeklaState& s, std::string text, CellPos at) {
  if (!columnDescribed(at.col)) return text;
  switch (s.Sloupce.Typ[static_cast<std::size_t>(at.col)]) {
    case 'i': return CheckWholeColumn(s, std::move(text), at);
    case 's': return CheckTextColumn(s, std::move(text), at);
    case 'b': return CheckFlagColumn(s, std::move(text), at);
    case 'd': return CheckDateColumn(s, std::move(text), at);
    default: return text;
  }
}

namespace {

// A student's order number: a number from 1 to 999 that no other student
// has; a repeated one becomes the next free number.
std::string CheckOrderNumber(VeklaState& s, const std::string& text, CellPos at, const OrderTexts* texts = nullptr) {
  return UniqueOrderNumber(s, CheckBoundedNumber(s, text, at, kMaxOrderNumber, 1), at.row, texts);
}

}  // namespace

std::string CheckGradeBookCell(VeklaState& s, const std::string& text, CellPos at) {
  using G = GradeGeometry;
  const G g(s.grid);
  const bool studentRow = g.isStudentRow(at.row);
  const bool gradeCol = g.isGradeCol(at.col);
  if (at.col == G::kOrderCol && studentRow) return CheckOrderNumber(s, text, at);
  if (at.col == g.examinedCol() && studentRow) return CheckBoundedNumber(s, text, at, 999, 0);
  if (at.col == G::kNameCol) {
    std::string name = CutLabelledText(s, text, "Student", 60);
    UpdateStudentLabel(s, name, at.row);
    return name;
  }
  if (at.col == g.noteCol()) return CutLabelledText(s, text, cp("Poznámka"), 250);
  if (gradeCol && studentRow) {
    if (!text.empty()) PadGradeSymbols(s.znamky);
    return CheckGrade(s, text, at, false);
  }
  if (gradeCol && (at.row == G::kStartRow || at.row == G::kEndRow)) return CheckTime(s, text, at, false);
  if (gradeCol && at.row == G::kDateRow) return CheckDayMonth(s, text, at);
  return text;
}

std::string CheckTimetableCell(VeklaState& s, const std::string& text, CellPos at) {
  if (at.col >= 2) {
    if (at.row == 1) return CheckBoundedNumber(s, text, at, 24, 0);
    if (at.row == 2 || at.row == 3) return CheckTime(s, text, at, true);
    if (at.row >= 4) return CutText(s, text, at, at.row % 4 == 3 ? 20 : 30);
    return text;
  }
  if (at.col == 1 && at.row == 1) return CutText(s, text, at, 10);
  if (at.col == 1 && at.row == 2) return CutText(s, text, at, 6);
  return text;
}

void CheckEveryCell(VeklaState& s, const std::function<std::string(const std::string&, CellPos)>& check,
                    const std::function<void(const std::string&)>& progress) {
  const int R = s.grid.rowCount();
  const int C = s.grid.colCount();
  if (R >= 2 && C >= 2) {
    const long long total = static_cast<long long>(R - 1) * (C - 1);
    long long told = -1;
    for (int r = 1; r < R; ++r) {
      for (int c = 1; c < C; ++c) {
        // A copy: a check may write into the grid (the row label).
        const std::string before = s.grid.text(c, r);
        std::string after = check(before, {c, r});
        if (after != before) s.grid.setText(c, r, std::move(after));
        const long long done = static_cast<long long>(r - 1) * (C - 1) + c;
        if (const long long percent = roundedPercent(done, total); percent != told) {
          told = percent;
          progress(std::to_string(percent) + " %");
        }
      }
    }
  }
  progress("");
}

void CheckAllGradeBookCells(VeklaState& s, const std::function<void(const std::string&)>& progress) {
  // Repeated order numbers first, so that the first student with a number
  // keeps it and a later one gets the next free number.
  // The order numbers held are then counted once, not searched for again
  // for every student.
  GiveUniqueOrderNumbers(s);
  OrderTexts orderTexts(s);
  const GradeGeometry geo(s.grid);
  CheckEveryCell(
      s,
      [&](const std::string& before, CellPos at) {
        if (at.col != GradeGeometry::kOrderCol || !geo.isStudentRow(at.row)) return CheckGradeBookCell(s, before, at);
        std::string after = CheckOrderNumber(s, before, at, &orderTexts);
        if (after != before) orderTexts.replaced(before, after);
        return after;
      },
      progress);
}

}  // namespace vekla
