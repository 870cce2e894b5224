// The topic-plan database "Rozpisy-*.PDB": two leading records (the second
// one unused by this program, the first one holding the highlight colour),
// then one record per topic with one field per grid column.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/setup.h"

namespace vekla {

void ReadTopicPlansDb(VeklaState& t, const PdbFile& pdb) {
  const QString& path = pdb.path();
  FillPanelFromHeader(t, pdb.header());
  const int n = pdb.header().recordCount;
  // The header row plus one row per topic record; a file without topics
  // still gets one (empty) topic row, as the row commands expect.
  t.grid.setRowCount(std::max(n - 1, 2));
  // That row is empty: no record fills it, and the previous plan's first
  // topic must not show as if it came from this file.
  for (int row = std::max(n - 1, 1); row < t.grid.rowCount(); ++row)
    for (int k = 1; k < t.grid.colCount(); ++k) t.grid.setText(k, row, "");
  bool cut = false;
  const int columns = t.grid.colCount() - 1;
  std::vector<std::string_view> fields;
  for (int r = 1; r <= n; ++r) {
    // Only the colour of record 1 and one field per column of a topic are
    // kept; the rest of a record is counted.
    const std::size_t count = pdb.recordFieldViews(r, r == 1 ? 3 : r == 2 ? 0 : std::max(columns, 0), fields);
    if (r == 1) {
      const std::string colour = fields.size() >= 3 ? std::string(fields[2]) : std::string();
      if (colour.size() == 6) {
        if (!IsHexColorText(colour))
          ThrowMalformed(path, cp("barva \"") + colour + cp("\" v záznamu 1 není šestnáctkové číslo"));
        t.shape1 = ColorFromPalmText(colour);
        t.shape2 = ContrastColor(t.shape1);
      } else {
        t.shape2 = kWhite;
      }
      continue;
    }
    if (r == 2) continue;
    const int row = r - 2;
    // The log lines name the row by its label, which the layout would only
    // write afterwards.
    t.grid.setText(0, row, std::to_string(row));
    const int shown = FieldsShown(count, columns, cut);
    for (int k = 1; k <= shown; ++k)
      t.grid.setText(k, row, CheckByColumnType(t, std::string(fields[static_cast<std::size_t>(k - 1)]), {k, row}));
  }
  LayoutTopicPlans(t);
  if (cut) LogCutFields(t, columns);
  t.grid.autoSizeColumns();
}

}  // namespace vekla
