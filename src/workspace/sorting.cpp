#include "workspace/sorting.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

// The columns of the topic-plan grid.
enum TopicCol : int { kOrder = 1, kTopic, kDate, kNote, kFrom, kTo, kTotal, kDone };

// Turns the direction mark in front of a header title round and says
// whether the rows now go up. Only the mark character changes, so a title
// once marked keeps the form mark, space, title.
bool TurnMark(std::string& title) {
  if (!title.empty() && title[0] == '+') {
    title[0] = '-';
    return false;
  }
  if (!title.empty() && title[0] == '-') {
    title[0] = '+';
    return true;
  }
  title.insert(0, "+ ");
  return true;
}

std::string PadLeft(std::string t, std::size_t width) {
  if (t.size() < width) t.insert(0, width - t.size(), '0');
  return t;
}

// A decimal-comma number with its whole part padded to four digits, so that
// numbers below 10000 compare as texts in the order of their values.
std::string PadWhole(const std::string& t) {
  const std::size_t comma = t.find(',');
  if (comma == std::string::npos) return PadLeft(t, 4);
  return PadLeft(t.substr(0, comma), 4) + t.substr(comma);
}

// What an empty name or topic sorts as when ascending: after every word.
const std::string& AfterEveryWord() {
  static const std::string last = cp("ŽŽŽŽŽ");
  return last;
}

// A date "day.month.year" as year, month and day: each part padded with
// zeros and cut to four or two characters; a missing part counts as zeros.
std::string DateKey(const std::string& t) {
  const std::size_t dot1 = t.find('.');
  const std::size_t dot2 = dot1 == std::string::npos ? dot1 : t.find('.', dot1 + 1);
  const std::string day = t.substr(0, dot1);
  const std::string month = dot1 == std::string::npos ? "" : t.substr(dot1 + 1, dot2 - dot1 - 1);
  const std::string year = dot2 == std::string::npos ? "" : t.substr(dot2 + 1);
  auto part = [](const std::string& p, std::size_t width) { return PadLeft(p, width).substr(0, width); };
  return part(year, 4) + part(month, 2) + part(day, 2);
}

std::string TopicKey(const std::string& t, int col, bool ascending) {
  switch (col) {
    case kOrder:
    case kFrom:
    case kTo:
    case kTotal:
    case kDone: return PadLeft(t, 4);
    case kTopic:
    case kNote: return t.empty() && ascending ? AfterEveryWord() : t;
    case kDate:
      // An undated topic goes after every date ascending, and (with the
      // smallest key) to the bottom descending.
      if (t.empty()) return ascending ? DateKey("31.12.9999") : t;
      return DateKey(t);
    default: return t;
  }
}

std::string GradeKey(const VeklaState& s, const GradeGeometry& geo, const std::string& t, int col, bool ascending) {
  if (col == GradeGeometry::kOrderCol || col == geo.examinedCol()) return PadLeft(t, 4);
  if (col == GradeGeometry::kNameCol || col == geo.noteCol()) return t.empty() && ascending ? AfterEveryWord() : t;
  if (col == geo.averageCol() || col == geo.deviationCol()) return PadWhole(t.empty() && ascending ? "999,99" : t);
  if (geo.isGradeCol(col)) {
    // A cell without a grade goes to the bottom in both directions.
    const int code = GradeCode(s, t);
    if (code == 0) return ascending ? "9999,99" : "0000,00";
    return PadWhole(s.znamky.text(code, 1));
  }
  return t;
}

// Czech collation that ignores letter case: "ch" after "h", "Ž" after
// every other letter, accents weigh less than letters.
const icu::Collator* CzechCollator() {
  static const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("cs"), err));
    if (U_FAILURE(err)) return std::unique_ptr<icu::Collator>();
    c->setStrength(icu::Collator::SECONDARY);
    return c;
  }();
  return collator.get();
}

// Bytes that compare as the text does in Czech collation.
std::string CollationKey(const std::string& text) {
  const icu::Collator* collator = CzechCollator();
  if (!collator) return lowerCp(text);
  const QString q = toQt(text);
  const icu::UnicodeString u(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<int32_t>(q.size()));
  std::string key(64, '\0');
  for (;;) {
    const int32_t n = collator->getSortKey(u, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    const bool fits = n <= static_cast<int32_t>(key.size());
    key.resize(static_cast<std::size_t>(n));
    if (fits) return key;
  }
}

// The positions (from 0) of the column keys in ascending order. Each key is
// compared with the row's position appended, so equal column keys keep the
// rows' order. The position takes four digits, more for a longer list, so
// that it always sorts by number and the row it names is never mistaken.
std::vector<int> AscendingOrder(const std::vector<std::string>& columnKeys) {
  const std::size_t width = std::max<std::size_t>(4, std::to_string(columnKeys.size()).size());
  std::vector<std::pair<std::string, int>> keyed;
  keyed.reserve(columnKeys.size());
  for (std::size_t i = 0; i < columnKeys.size(); ++i)
    keyed.emplace_back(CollationKey(columnKeys[i] + " " + PadLeft(std::to_string(i + 1), width)), static_cast<int>(i));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int> order;
  order.reserve(keyed.size());
  for (const auto& k : keyed) order.push_back(k.second);
  return order;
}

// Puts the block of rows from `first` into `order` (ascending), or into the
// reverse of it from the bottom of the block. A moved row takes the texts
// of columns 0 to C-1 along, and its colours only where `keepsColours`
// says; every other cell property starts afresh for the layout to paint.
template <class KeepsColours>
void MoveRows(CellGrid& g, int first, const std::vector<int>& order, bool ascending, KeepsColours keepsColours) {
  const int n = static_cast<int>(order.size());
  const auto C = static_cast<std::size_t>(std::max(g.colCount(), 0));
  std::vector<std::vector<Cell>> old(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) old[static_cast<std::size_t>(i)] = g.takeRow(first + i);
  for (int i = 0; i < n; ++i) {
    std::vector<Cell>& from = old[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    std::vector<Cell> to(C);
    for (std::size_t c = 0; c < C && c < from.size(); ++c) {
      to[c].text = std::move(from[c].text);
      if (keepsColours(static_cast<int>(c))) {
        to[c].brush = from[c].brush;
        to[c].font = from[c].font;
      }
    }
    g.putRow(ascending ? first + i : first + n - 1 - i, std::move(to));
  }
}

// Turns the clicked header's mark and writes it back; true when ascending.
// Only the column sorted last carries a mark.
bool TurnHeader(CellGrid& g, int col) {
  for (int c = 1; c < g.colCount(); ++c)
    if (c != col) ClearSortMark(g, c);
  std::string title = g.text(col, 0);
  const bool ascending = TurnMark(title);
  g.setText(col, 0, std::move(title));
  return ascending;
}

}  // namespace

void SortTopicPlans(VeklaState& s, int col) {
  CellGrid& g = s.grid;
  const bool ascending = TurnHeader(g, col);
  std::vector<std::string> keys;
  for (int r = 1; r < g.rowCount(); ++r) keys.push_back(TopicKey(g.text(col, r), col, ascending));
  // Colours stay with the row positions: the layout stripes them again.
  MoveRows(g, 1, AscendingOrder(keys), ascending, [](int) { return false; });
  g.autoSizeColumn(col);
  LayoutTopicPlans(s);
}

void SortGrades(VeklaState& s, int col) {
  using G = GradeGeometry;
  CellGrid& g = s.grid;
  const G geo(g);
  const bool ascending = TurnHeader(g, col);
  std::vector<std::string> keys;
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    keys.push_back(GradeKey(s, geo, g.text(col, r), col, ascending));
  // A grade's text colour is its weight, so grade cells keep their colours.
  MoveRows(g, G::kFirstStudentRow, AscendingOrder(keys), ascending, [&](int c) { return geo.isGradeCol(c); });
  g.autoSizeColumn(col);
  LayoutGrades(s);
  ComputeStatistics(s);
  g.currentRow = 1;
}

void ClearSortMark(CellGrid& g, int col) {
  const std::string& t = g.text(col, 0);
  if (t.size() >= 2 && (t[0] == '+' || t[0] == '-') && t[1] == ' ') g.setText(col, 0, t.substr(2));
}

void ClearSortMarks(CellGrid& g) {
  for (int c = 1; c < g.colCount(); ++c) ClearSortMark(g, c);
}

}  // namespace vekla
