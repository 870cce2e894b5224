#pragma once
// MySQL and MariaDB scripts: one table per database, created and filled
// with one INSERT per grid row. Each codec gives one file, named after the
// table, in code page 1250 with CR LF.
#include "convert/exportfile.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

ExportFiles SqlGradeFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlTopicFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlTimetableFiles(VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlCalendarFiles(VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
