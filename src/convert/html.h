#pragma once
// HTML pages with their style sheets: the timetable as a week grid, the
// grade book as one class table or one table per student, the topic plan
// as a list of lessons. Each codec gives the page first (the file to open),
// then the shared style sheet, then the colour style sheet where the kind
// has one. Code page 1250, CR LF; cell texts are escaped.
#include "convert/exportfile.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

ExportFiles HtmlTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o);
// The class table, or one table per student under Zvlast.
ExportFiles HtmlGradeFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles HtmlTopicFiles(const VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
