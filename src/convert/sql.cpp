#include "convert/sql.h"

#include "pdb/error.h"

namespace vekla {

ExportFiles SqlGradeFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: SqlGradeFiles"); }
ExportFiles SqlTopicFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: SqlTopicFiles"); }
ExportFiles SqlTimetableFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: SqlTimetableFiles"); }
ExportFiles SqlCalendarFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: SqlCalendarFiles"); }

}  // namespace vekla
