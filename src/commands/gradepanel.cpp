#include "commands/gradepanel.h"

#include "workspace/checks.h"
#include "workspace/gradestats.h"
#include "workspace/semesters.h"

namespace vekla {

void SBHodnotaClick(VeklaState& s, int n) {
  if (n < 1 || n > 4) return;
  s.weightDown = n;
  const Color c = s.weights[static_cast<std::size_t>(n - 1)].color;
  for (int col = 1; col <= 20; ++col) s.znamky.setFontColor(col, 0, c);
}

void EHodnotaExit(VeklaState& s, int n) {
  if (n < 1 || n > 4) return;
  WeightEdit& e = s.weights[static_cast<std::size_t>(n - 1)];
  e.text = resolveColor(e.color) == kWhite ? std::string("0,00") : CheckValue(s, e.text);
}

void StringAGZnamkyAfterEdit(VeklaState& s, int col, int row) {
  s.znamky.setText(col, row, CheckValue(s, s.znamky.text(col, row)));
  s.znamky.autoSizeColumns();
}

void StringAGZnamky2AfterEdit(VeklaState& s, int col, int row) {
  s.znamky2.setText(col, row, CheckValue(s, s.znamky2.text(col, row)));
}

void StringAGZnamky2SelectCell(VeklaState& s, int col, int row) { SelectBandCell(s, col, row); }

void CBZnamkyPololetiDropDown(VeklaState& s) { s.currentSemester = s.semesterItemIndex + 1; }

void Button1Click(VeklaState& s) { ComputeStatistics(s); }

void CBZnamkyPololetiChange(VeklaState& s, int newItemIndex) {
  if (newItemIndex < 0 || newItemIndex >= static_cast<int>(s.semesterItems.size())) return;
  s.semesterItemIndex = newItemIndex;
  s.semesterText = s.semesterItems[static_cast<std::size_t>(newItemIndex)];
  const int n = newItemIndex + 1;
  // The semester being left goes to the store first; picking the one that
  // is shown stores nothing and just reloads it.
  if (n != s.currentSemester) StoreSemester(s);
  s.currentSemester = n;
  LoadSemester(s, n);
}

}  // namespace vekla
