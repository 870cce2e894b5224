#pragma once
// MySQL and MariaDB scripts: one table per database, dropped when it exists,
// created and filled with one INSERT per grid row. Each codec gives one
// file, named after the table, in code page 1250 with CR LF. Every script
// loads, and loads again, into a server in its default strict mode and
// under any other sql_mode, reading back the grid's texts: a cell a column
// cannot take is written as a value it can, and a repeated key gets a
// number of its own (sql.cpp).
#include "convert/exportfile.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

ExportFiles SqlGradeFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlTopicFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles SqlCalendarFiles(const VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
