#pragma once
// Excel workbooks: the grid of each kind laid out on a sheet of our own
// (sheet.h) with its colours, merges, borders and column widths, the calls
// made in the order a spreadsheet user would make them, then written as
// one .xlsx file named by the page stem (xlsx.h).
#include "convert/exportfile.h"
#include "convert/sheet.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

// The sheets. The calendar: day labels as days and months in column A, the
// texts in column B. The topic plan: a grey title row, headings bold, lines
// between the rows. The timetable: a title over A1:I1, the lesson header
// and three sheet rows per day (subject, class, room) with the block
// colours and lines around each day. The grade book: the table layout
// (every option of GradeDisplayOptions but Zvlast), or two rows per student
// under Zvlast.
Sheet ExportCalendar(const VeklaState& s);
Sheet ExportTopicPlans(const VeklaState& s);
Sheet ExportTimetable(const VeklaState& s);
Sheet ExportGradesTable(const VeklaState& s, const GradeDisplayOptions& o);
Sheet ExportGradesSeparate(const VeklaState& s, const GradeDisplayOptions& o);

// The workbook files: the page stem + ".xlsx".
ExportFiles XlsxGradeFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxTopicFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles XlsxCalendarFiles(const VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
