#include "commands/clipboard.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "commands/commands.h"
#include "convert/csvlines.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

constexpr char kSeparator = '\t';

// The smallest block holding the cells: its first and last column and row.
struct Block {
  int c1 = INT_MAX, r1 = INT_MAX, c2 = INT_MIN, r2 = INT_MIN;
  explicit Block(const std::vector<CellPos>& cells) {
    for (const CellPos p : cells) {
      c1 = std::min(c1, p.col), r1 = std::min(r1, p.row);
      c2 = std::max(c2, p.col), r2 = std::max(r2, p.row);
    }
  }
};

// Lines of tab-separated fields, one field per cell of the block, each line
// ended by LF alone.
template <class Field>
std::string BlockText(const std::vector<CellPos>& cells, Field field) {
  if (cells.empty()) return {};
  const Block b(cells);
  CsvWriter out(kSeparator, "\n");
  for (int r = b.r1; r <= b.r2; ++r) {
    for (int c = b.c1; c <= b.c2; ++c) out.field(field(CellPos{c, r}));
    out.endLine();
  }
  return out.take();
}

}  // namespace

std::string CopyCells(const VeklaState& s, const std::vector<CellPos>& cells) {
  return BlockText(cells, [&](CellPos p) { return s.grid.text(p); });
}

std::string CopyWeights(const VeklaState& s, const std::vector<CellPos>& cells) {
  return BlockText(cells, [&](CellPos p) {
    if (!HoldsGrade(s, p) || s.grid.text(p).empty()) return std::string();
    const int n = WeightNumber(s, s.grid.fontColor(p.col, p.row));
    return n >= 1 ? std::to_string(n) : std::string();
  });
}

std::vector<std::vector<std::string>> SplitClipboardText(std::string_view text) {
  return SplitCsv(text, kSeparator);
}

namespace {

// The weight of each field of the block when the weights fit it line by
// line and field by field; none otherwise (a text from another program).
std::vector<std::vector<int>> WeightsOf(const std::vector<std::vector<std::string>>& lines, std::string_view weights) {
  if (weights.empty()) return {};
  const auto fields = SplitClipboardText(weights);
  if (fields.size() != lines.size()) return {};
  std::vector<std::vector<int>> out(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (fields[i].size() != lines[i].size()) return {};
    for (const std::string& f : fields[i])
      out[i].push_back(f.size() == 1 && f[0] >= '1' && f[0] <= '4' ? f[0] - '0' : 0);
  }
  return out;
}

std::string LeftOut(const char* what, std::size_t n) {
  return cp(what) + CellCount(n) + " " + CzechPlural(n, "vynechána.", "vynechány.", "vynecháno.");
}

}  // namespace

Outcome PasteCells(VeklaState& s, Prompter& p, CellPos at, std::string_view text, std::string_view weights) {
  const auto lines = SplitClipboardText(text);
  if (lines.empty()) return Outcome::Cancelled;
  const auto copied = WeightsOf(lines, weights);
  const bool hasPressed = s.weightDown >= 1 && s.weightDown <= 4;
  const Color pressed = hasPressed ? s.weights[static_cast<std::size_t>(s.weightDown - 1)].color : 0;

  // What the paste would change, before anything is changed: the fields
  // left out count only when they would have changed a cell, and filled
  // cells that would change are asked about.
  struct Write {
    CellPos at;
    const std::string* field;
    std::optional<Color> weight;
  };
  std::vector<Write> writes;
  std::size_t outside = 0, guarded = 0, overwritten = 0;
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t j = 0; j < lines[i].size(); ++j) {
      const std::string& field = lines[i][j];
      const CellPos c{at.col + static_cast<int>(j), at.row + static_cast<int>(i)};
      if (c.col >= s.grid.colCount() || c.row >= s.grid.rowCount()) {
        if (!field.empty()) ++outside;
        continue;
      }
      if (ProtectedCell(s, c)) {
        if (field != s.grid.text(c)) ++guarded;
        continue;
      }
      const std::string checked = PreviewCheck(s, field, c);
      std::optional<Color> weight;
      if (HoldsGrade(s, c) && !checked.empty()) {
        // A grade copied in Vekla keeps its weight; any other takes the
        // pressed one, as a typed grade does.
        const int n = copied.empty() ? 0 : copied[i][j];
        if (n >= 1) weight = s.weights[static_cast<std::size_t>(n - 1)].color;
        else if (hasPressed) weight = pressed;
      }
      const bool newText = checked != s.grid.text(c);
      const bool newWeight = weight && *weight != s.grid.fontColor(c.col, c.row);
      if (!newText && !newWeight) continue;
      if (!s.grid.text(c).empty()) ++overwritten;
      writes.push_back({c, &field, weight});
    }
  if (overwritten > 1 && !p.questionDefaultNo(cp("Přepsat ") + CellCount(overwritten, true) + "?"))
    return Outcome::Cancelled;

  bool grades = false;
  for (const Write& w : writes) {
    s.grid.setText(w.at, CheckCell(s, *w.field, w.at));
    if (w.weight && !s.grid.text(w.at).empty()) s.grid.setFontColor(w.at.col, w.at.row, *w.weight);
    grades = grades || HoldsGrade(s, w.at);
  }
  if (outside > 0) Log(s, LeftOut("Vkládaný blok přesahuje tabulku: ", outside));
  if (guarded > 0) Log(s, LeftOut("Záhlaví a statistiky se nepřepisují: ", guarded));
  if (writes.empty()) return Outcome::Done;
  MarkEdited(s);
  if (grades) ComputeStatistics(s);
  s.grid.autoSizeColumns();
  return Outcome::Done;
}

}  // namespace vekla
