// The calendar database "vekla-datum.PDB": one record per day of a leap
// year, each with the day's text as its one field.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/pdbfile.h"
#include "workspace/checks.h"
#include "workspace/setup.h"

namespace vekla {

void ReadCalendarDb(VeklaState& t, const PdbFile& pdb) {
  FillPanelFromHeader(t, pdb.header());
  const int n = pdb.header().recordCount;
  // One row per day; an empty file still gets one (empty) day row.
  t.grid.setRowCount(std::max(n + 1, 2));
  // That row is empty: no record fills it, and the previous calendar's first
  // day must not show as if it came from this file.
  for (int row = n + 1; row < t.grid.rowCount(); ++row)
    for (int k = 1; k < t.grid.colCount(); ++k) t.grid.setText(k, row, "");
  const int descriptors = static_cast<int>(t.Sloupce.Typ.size());
  bool cut = false;
  const int columns = t.grid.colCount() - 1;
  std::vector<std::string_view> fields;
  for (int r = 1; r <= n; ++r) {
    // One field per column is kept; the rest of a record is counted.
    const std::size_t count = pdb.recordFieldViews(r, static_cast<std::size_t>(std::max(columns, 0)), fields);
    // The log lines name the day by its label, which the layout would only
    // write afterwards.
    t.grid.setText(0, r, DayOfYearToDayMonth(r));
    const int shown = FieldsShown(count, columns, cut);
    for (int k = 1; k <= shown; ++k) {
      std::string text(fields[static_cast<std::size_t>(k - 1)]);
      // Only a described column has a length to keep; the calendar
      // describes one.
      if (k < descriptors && t.Sloupce.Typ[static_cast<std::size_t>(k)] != 0)
        text = CheckTextColumn(t, std::move(text), {k, r});
      t.grid.setText(k, r, std::move(text));
    }
  }
  LayoutCalendar(t);
  if (cut) LogCutFields(t, columns);
  t.grid.autoSizeColumns();
}

}  // namespace vekla
