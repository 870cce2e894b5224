// The timetable database "Vekla-*.PDB": a fixed set of 39 records, each one
// row (or one attribute of one day) across all lesson columns. Field k >= 2 of
// a record belongs to grid column k, that is to lesson k - 1.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"

namespace vekla {

namespace {

constexpr int kRecordCount = 39;
constexpr int kTimetableRows = 24;
// Room for 24 lessons: a shorter grid is padded up to field 25.
constexpr int kPaddedFields = 25;
// Fields beyond the largest grid the reader can make are of no use and are
// skipped, so a record of millions of empty fields cannot blow up the grid.
constexpr int kMaxFieldColumn = kMaxLessons + 1;

// A plain decimal integer (optional sign, at most nine digits).
std::optional<long long> ParseDecimal(const std::string& t) {
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size() || t.size() - i > 9) return std::nullopt;
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    v = v * 10 + (t[i] - '0');
  }
  return negative ? -v : v;
}

// Characters `from` (1-based) to `from + count - 1` of `t`, as far as it reaches.
std::string Chars(const std::string& t, std::size_t from, std::size_t count) {
  if (from - 1 >= t.size()) return {};
  return t.substr(from - 1, count);
}

// A colour field of six characters: it must be hexadecimal.
Color ColourField(const QString& path, const std::string& t, int record) {
  if (!IsHexColorText(t))
    ThrowMalformed(path,
                   cp("barva \"") + t + cp("\" v záznamu ") + std::to_string(record) + cp(" není šestnáctkové číslo"));
  return ColorFromPalmText(t);
}

void ReadRecordField(VeklaState& t, const QString& path, int r, int k, const std::string& text) {
  CellGrid& g = t.grid;
  if (r == 1) {
    if (k == 2) {
      const auto n = ParseDecimal(text);
      if (!n || *n < 0 || *n > kMaxLessons)
        ThrowMalformed(path, cp("počet hodin \"") + text + cp("\" v záznamu 1 není celé číslo od 0 do ") +
                                 std::to_string(kMaxLessons));
      g.setColCount(static_cast<int>(*n) + 2);
      LayoutTimetable(t);
      NumberLessonColumns(t);
    } else if (k == 3) {
      t.lichyTyden = text == "1";
    } else if (k == 4) {
      t.rozlisovatTydny = text == "1";
    } else if (k == 5) {
      // Only six characters make a colour; a shorter (padding) field is white.
      t.shapeRozvrh = text.size() == 6 ? ColourField(path, text, r) : kWhite;
    }
    return;
  }
  if (r == 2) {
    // The panel edits hold at most eight characters, whatever fills them.
    if (k == 1) t.EditRozvrhPolozka = CutLabelledText(t, text, cp("Položka (třída, učitel ... ):"), 8);
    else g.setText(k, 2, CompactTimeText(text));
    return;
  }
  if (r == 3) {
    // The title is cut as its cell check cuts it (any other cell is taken
    // as stored and checked before a save).
    if (k == 1) g.setText(1, 1, CheckCell(t, text, {1, 1}));
    else g.setText(k, 3, CompactTimeText(text));
    return;
  }
  if (r == 4) {
    if (k == 1) t.EditRozvrhLS = CutLabelledText(t, text, cp("1. buňka:"), 8);
    else g.setText(k, 1, text);
    return;
  }
  if (k < 2) return;
  if (r >= 5 && r <= 9) {
    const int d = r - 4;
    Color background = kWhite, font = kBlack;
    if (text.size() == 6) {
      background = ColourField(path, text, r);
      font = ContrastColor(background);
    }
    for (int row = 4 * d; row <= 4 * d + 3; ++row) g.setColors(k, row, background, font);
  } else if (r >= 12 && r <= 16) {
    g.setText(k, 4 * (r - 11), text);
  } else if (r >= 19 && r <= 23) {
    g.setText(k, 4 * (r - 18) + 1, text);
  } else if (r >= 26 && r <= 30) {
    g.setText(k, 4 * (r - 25) + 2, text);
  } else if (r >= 33 && r <= 37) {
    g.setText(k, 4 * (r - 32) + 3, text);
  }
}

}  // namespace

void ReadTimetableDb(VeklaState& t, const PdbFile& pdb) {
  const QString& path = pdb.path();
  FillPanelFromHeader(t, pdb.header());
  t.shape1 = kWhite;
  const int n = pdb.header().recordCount;
  t.grid.setRowCount(kTimetableRows);
  std::vector<std::string_view> fields;
  for (int r = 1; r <= n; ++r) {
    // Every record is read, also those the grid ignores, so that a damaged
    // record list is noticed before anything changes.
    pdb.recordFieldViews(r, kMaxFieldColumn, fields);
    for (std::size_t k = 1; k <= fields.size(); ++k)
      ReadRecordField(t, path, r, static_cast<int>(k), std::string(fields[k - 1]));
  }
  t.grid.autoSizeColumns();
}

std::vector<PdbRecord> BuildTimetableDb(const VeklaState& s, const CodecReport& report) {
  const CellGrid& g = s.grid;
  if (g.rowCount() != kTimetableRows) report.warn(cp("Databáze \"") + s.EditN + cp(".PDB\" musí mít 24 záznamů!"));

  const int c = g.colCount();
  const int fieldCount = std::max(c - 1, kPaddedFields);
  // One record: field 1, then field k for k = 2..C-1 from `lesson`, then
  // padding fields C..25 from `padding`.
  auto record = [&](std::string first, const auto& lesson, const auto& padding) {
    PdbRecord rec;
    rec.reserve(static_cast<std::size_t>(fieldCount));
    rec.push_back(std::move(first));
    for (int k = 2; k <= fieldCount; ++k) rec.push_back(k <= c - 1 ? lesson(k) : padding(k));
    return rec;
  };
  const auto empty = [](int) { return std::string(); };
  const auto time = [&](int row) {
    return [&g, row](int k) {
      const std::string& hhmm = g.text(k, row);
      return Chars(hhmm, 1, 2) + Chars(hhmm, 4, 2);
    };
  };
  const auto cellsOfRow = [&](int row) { return [&g, row](int k) { return g.text(k, row); }; };

  std::vector<PdbRecord> records;
  records.reserve(kRecordCount);
  // Record 1 holds the lesson count, the week, the week flag and the
  // timetable colour in fields 2 to 5 whatever the number of lessons: a
  // timetable of fewer than four lessons would otherwise write them as
  // empty padding and lose them. Its padding is empty from field 6 on.
  const auto settings = [&](int k) -> std::string {
    switch (k) {
      case 2: return std::to_string(c - 2);
      case 3: return s.lichyTyden ? "1" : "2";
      case 4: return s.rozlisovatTydny ? "1" : "0";
      case 5: return ColorToPalmText(resolveColor(s.shapeRozvrh));
      default: return {};
    }
  };
  records.push_back(record("0", settings, settings));
  // Before each further record the label shows the share written.
  auto progress = [&](int r) { report.progress(PercentText(100.0 * (r - 1) / (kRecordCount - 1))); };
  progress(2);
  records.push_back(record(s.EditRozvrhPolozka, time(2), [](int) { return std::string("2000"); }));
  progress(3);
  records.push_back(record(g.text(1, 1), time(3), [](int) { return std::string("2045"); }));
  progress(4);
  records.push_back(record(s.EditRozvrhLS, cellsOfRow(1), [](int f) { return std::to_string(f - 1); }));
  for (int d = 1; d <= 5; ++d) {
    progress(4 + d);
    records.push_back(record(
        Chars(g.text(1, 4 * d), 1, 3), [&g, d](int k) { return ColorToPalmText(resolveColor(g.brush(k, 4 * d))); },
        empty));
  }
  progress(10);
  records.push_back(record("Sob", empty, empty));
  progress(11);
  records.push_back(record(cp("Neď"), empty, empty));
  // Subject, class, room and name, each over seven days (Saturday and Sunday empty).
  for (int attribute = 0; attribute < 4; ++attribute) {
    for (int day = 1; day <= 7; ++day) {
      progress(static_cast<int>(records.size()) + 1);
      if (day <= 5) records.push_back(record(".", cellsOfRow(4 * day + attribute), empty));
      else records.push_back(record(".", empty, empty));
    }
  }
  return records;
}

}  // namespace vekla
