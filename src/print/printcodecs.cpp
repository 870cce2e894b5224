#include "print/printcodecs.h"

#include "commands/kindtable.h"
#include "convert/exportview.h"
#include "pdb/text.h"
#include "print/gradesheet.h"
#include "print/report.h"
#include "print/tablepages.h"
#include "workspace/kindparams.h"

namespace vekla {

namespace {

template <class Document>
std::unique_ptr<PrintDocument> Make(const VeklaState& s) {
  return std::make_unique<Document>(s);
}

// The pages of each kind, in tab order.
using PagesMaker = std::unique_ptr<PrintDocument> (*)(const VeklaState&);
constexpr PagesMaker kPages[] = {Make<GradeSheet>, Make<TopicPlanPages>, Make<TimetablePage>, Make<CalendarPages>};

ExportFiles Pdf(const VeklaState& s, const GradeDisplayOptions& named, PrintDocument& doc) {
  return ExportFiles{{toQt(ExportPageStem(s, named)) + ".pdf", PdfBytes(doc)}};
}

template <class Document>
ExportFiles PdfOf(const VeklaState& s, const GradeDisplayOptions&) {
  Document doc(s);
  return Pdf(s, GradeDisplayOptions{}, doc);
}

}  // namespace

std::unique_ptr<PrintDocument> PagesOf(const VeklaState& s) { return kPages[KindIndex(s.kind)](s); }

std::unique_ptr<PrintDocument> ReportOf(const VeklaState& s, const std::vector<int>& rows) {
  return std::make_unique<StudentReport>(s, rows);
}

ExportFiles PdfGradeFiles(const VeklaState& s, const GradeDisplayOptions& o) { return PdfOf<GradeSheet>(s, o); }
ExportFiles PdfTopicFiles(const VeklaState& s, const GradeDisplayOptions& o) { return PdfOf<TopicPlanPages>(s, o); }
ExportFiles PdfTimetableFiles(const VeklaState& s, const GradeDisplayOptions& o) { return PdfOf<TimetablePage>(s, o); }
ExportFiles PdfCalendarFiles(const VeklaState& s, const GradeDisplayOptions& o) { return PdfOf<CalendarPages>(s, o); }

ExportFiles ReportFiles(const VeklaState& s, const std::vector<int>& rows) {
  StudentReport doc(s, rows);
  // Named apart from the class sheet's file, which is the stem itself.
  return ExportFiles{{toQt(ExportNameStem(s)) + "-vypis.pdf", PdfBytes(doc)}};
}

ExportFiles PdfReportFiles(const VeklaState& s, const GradeDisplayOptions&) { return ReportFiles(s, s.reportStudents); }

void InstallPrinting() {
  AddExport(DbKind::Znamky, Conversion::ExportPdf, PdfGradeFiles);
  AddExport(DbKind::Rozpisy, Conversion::ExportPdf, PdfTopicFiles);
  AddExport(DbKind::Rozvrh, Conversion::ExportPdf, PdfTimetableFiles);
  AddExport(DbKind::Kalendar, Conversion::ExportPdf, PdfCalendarFiles);
  AddExport(DbKind::Znamky, Conversion::ExportReport, PdfReportFiles);
}

}  // namespace vekla
