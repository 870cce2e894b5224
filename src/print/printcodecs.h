#pragma once
// The printed pages as export codecs: each makes the PDF file of a tab from
// the state, which it only reads, as every export codec does. The window
// prints and previews the same documents (PagesOf, ReportOf).
#include <memory>
#include <vector>

#include "convert/exportfile.h"
#include "print/document.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

// The pages of the tab shown: the grade book, the topic plan, the timetable
// or the calendar.
std::unique_ptr<PrintDocument> PagesOf(const VeklaState& s);
// The per-student report of the grade book; `rows` as StudentReport takes them.
std::unique_ptr<PrintDocument> ReportOf(const VeklaState& s, const std::vector<int>& rows = {});

// One PDF file named by the page stem (ExportPageStem): "znamky-7a_0110.pdf",
// the digits saying what the sheet shows (every colour, no packing).
ExportFiles PdfGradeFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles PdfTopicFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles PdfTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles PdfCalendarFiles(const VeklaState& s, const GradeDisplayOptions& o);
// The report of the students the state names (reportStudents: the window's
// selection; empty, as in the converter: every student), named as the
// per-student page is ("znamky-7a_1111.pdf").
ExportFiles PdfReportFiles(const VeklaState& s, const GradeDisplayOptions& o);
// The report of the students in `rows`.
ExportFiles ReportFiles(const VeklaState& s, const std::vector<int>& rows);

// Puts the PDF codecs into the table of kinds: the pages of every kind
// (Conversion::ExportPdf) and the grade book's report (ExportReport). The
// window and the converter that writes PDF files call it at start.
void InstallPrinting();

}  // namespace vekla
