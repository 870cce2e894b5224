#include "convert/excel.h"

#include "pdb/error.h"

namespace vekla {

ExportFiles XlsxGradeFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: XlsxGradeFiles"); }
ExportFiles XlsxTopicFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: XlsxTopicFiles"); }
ExportFiles XlsxTimetableFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: XlsxTimetableFiles"); }
ExportFiles XlsxCalendarFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: XlsxCalendarFiles"); }

}  // namespace vekla
