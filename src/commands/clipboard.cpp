#include "commands/clipboard.h"

#include <algorithm>
#include <climits>

#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

bool NeedsQuotes(const std::string& t) {
  return t.find_first_of("\t\r\n") != std::string::npos || (!t.empty() && t[0] == '"');
}

std::string Quoted(const std::string& t) {
  std::string out = "\"";
  for (char c : t) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// Cells no paste writes: the titles, and the averages and deviations of
// the grade book, which the statistics compute.
bool Guarded(const VeklaState& s, CellPos p) {
  if (p.col < s.grid.fixedCols() || p.row < s.grid.fixedRows()) return true;
  if (s.kind != DbKind::Znamky) return false;
  const GradeGeometry g(s.grid);
  return p.row >= g.averageRow() || p.col == g.averageCol() || p.col == g.deviationCol();
}

}  // namespace

std::string CopyCells(const VeklaState& s, const std::vector<CellPos>& cells) {
  if (cells.empty()) return {};
  int c1 = INT_MAX, r1 = INT_MAX, c2 = INT_MIN, r2 = INT_MIN;
  for (const CellPos p : cells) {
    c1 = std::min(c1, p.col), r1 = std::min(r1, p.row);
    c2 = std::max(c2, p.col), r2 = std::max(r2, p.row);
  }
  std::string out;
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      const std::string& t = s.grid.text(c, r);
      out += NeedsQuotes(t) ? Quoted(t) : t;
      if (c < c2) out += '\t';
    }
    out += '\n';
  }
  return out;
}

std::vector<std::vector<std::string>> SplitClipboardText(std::string_view text) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> line;
  std::string field;
  std::size_t i = 0;
  bool pending = false;  // a field or line has begun
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' && field.empty()) {
      // A quoted field runs to the quote not doubled; a quote that never
      // closes was no quoting but the text itself.
      std::string quoted;
      std::size_t j = i + 1;
      bool closed = false;
      for (; j < text.size(); ++j) {
        if (text[j] != '"') {
          quoted += text[j];
        } else if (j + 1 < text.size() && text[j + 1] == '"') {
          quoted += '"';
          ++j;
        } else {
          closed = true;
          break;
        }
      }
      if (closed) {
        field = std::move(quoted);
        i = j + 1;
        pending = true;
        continue;
      }
    }
    if (c == '\t') {
      line.push_back(std::move(field));
      field.clear();
      pending = true;
    } else if (c == '\n' || c == '\r') {
      line.push_back(std::move(field));
      field.clear();
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      field += c;
      pending = true;
    }
    ++i;
  }
  if (pending) {
    line.push_back(std::move(field));
    lines.push_back(std::move(line));
  }
  return lines;
}

Outcome PasteCells(VeklaState& s, CellPos at, std::string_view text) {
  const auto lines = SplitClipboardText(text);
  if (lines.empty()) return Outcome::Cancelled;
  int outside = 0, guarded = 0;
  bool changed = false, grades = false;
  const GradeGeometry geometry(s.grid);
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t j = 0; j < lines[i].size(); ++j) {
      const CellPos p{at.col + static_cast<int>(j), at.row + static_cast<int>(i)};
      if (p.col >= s.grid.colCount() || p.row >= s.grid.rowCount()) {
        ++outside;
        continue;
      }
      if (Guarded(s, p)) {
        ++guarded;
        continue;
      }
      std::string checked = CheckCell(s, lines[i][j], p);
      const bool grade = s.kind == DbKind::Znamky && geometry.isGradeCell(p);
      const bool newText = checked != s.grid.text(p);
      if (newText) s.grid.setText(p, std::move(checked));
      // A pasted grade takes the weight whose button is down, as a typed one.
      const bool newWeight = grade && !s.grid.text(p).empty() && GiveCurrentWeight(s, p);
      if (!newText && !newWeight) continue;
      changed = true;
      grades = grades || grade;
    }
  if (outside > 0) Log(s, cp("Vkládaný blok přesahuje tabulku: ") + std::to_string(outside) + cp(" buněk vynecháno."));
  if (guarded > 0)
    Log(s, cp("Záhlaví a statistiky se nepřepisují: ") + std::to_string(guarded) + cp(" buněk vynecháno."));
  if (!changed) return Outcome::Done;
  MarkEdited(s);
  if (grades) ComputeStatistics(s);
  s.grid.autoSizeColumns();
  return Outcome::Done;
}

}  // namespace vekla
