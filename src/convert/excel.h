#pragma once
// Excel workbooks: the grid of each kind laid out on a sheet with its
// colours, merges, borders and column widths, written as one .xlsx file
// named by the page stem.
#include "convert/exportfile.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

// The table layout, or two rows per student under Zvlast.
ExportFiles XlsxGradeFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxTopicFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxTimetableFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxCalendarFiles(VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
