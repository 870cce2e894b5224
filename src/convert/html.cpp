#include "convert/html.h"

#include "pdb/error.h"

namespace vekla {

ExportFiles HtmlTimetableFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: HtmlTimetableFiles"); }
ExportFiles HtmlGradeFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: HtmlGradeFiles"); }
ExportFiles HtmlTopicFiles(VeklaState&, const GradeDisplayOptions&) { throw VeklaError("not built yet: HtmlTopicFiles"); }

}  // namespace vekla
