// The writer of the kinds whose database is one record per grid row (topic
// plans and the calendar), after the kind's leading special records.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kinds/common.h"
#include "kinds/kinds.h"
#include "pdb/codecs.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/checks.h"
#include "workspace/kindparams.h"

namespace vekla {

namespace {

// Special record `index` (from 1) with one field per grid column 1..C-1:
// the first one carries the highlight colour, the others are constant.
PdbRecord SpecialRecord(const VeklaState& s, int index, int columns) {
  PdbRecord rec;
  for (int j = 1; j <= columns; ++j) {
    if (j == 1) rec.push_back(index == 1 ? "-1" : "0");
    else if (j == 2) rec.push_back("2");
    else if (j == 3 && index == 1) rec.push_back(ColorToPalmText(resolveColor(s.shape1)));
    else rec.push_back("0");
  }
  return rec;
}

}  // namespace

void RowRecordsDb(const VeklaState& s, const CodecReport& report, const std::function<void(const PdbRecord&)>& add) {
  const CellGrid& g = s.grid;
  const int rows = g.rowCount();
  const int columns = g.colCount() - 1;
  const int leading = s.leadingRecords;
  const long long count = static_cast<long long>(leading) + rows - 1;
  if (count > kMaxRecords)
    throw VeklaError(cp("Databázi \"") + s.EditN + cp(".PDB\" nelze uložit: může mít nejvýše ") +
                     std::to_string(kMaxRecords) + cp(" záznamů, tabulka jich dává ") + std::to_string(count) + ".");
  if (const KindParams& k = Params(s.kind); k.fixedRows && rows != k.rows)
    report.warn(cp("Databáze \"") + k.prefix + cp(".PDB\" musí mít ") + std::to_string(k.rows - 1) +
                cp(" záznamů, jinak nebude program správně fungovat!"));

  for (int i = 1; i <= leading; ++i) add(SpecialRecord(s, i, columns));
  PdbRecord rec;
  for (int i = 1; i <= rows - 1; ++i) {
    report.progress(PercentText(100.0 * i / rows));
    rec.clear();
    for (int k = 1; k <= columns; ++k) rec.push_back(g.text(k, i));
    add(rec);
  }
}

std::vector<PdbRecord> BuildRowRecordsDb(const VeklaState& s, const CodecReport& report) {
  std::vector<PdbRecord> records;
  RowRecordsDb(s, report, [&](const PdbRecord& r) { records.push_back(r); });
  return records;
}

}  // namespace vekla
