#include "commands/kindtable.h"

#include <array>

#include "commands/filecommands.h"
#include "convert/csv.h"
#include "convert/excel.h"
#include "convert/html.h"
#include "convert/sql.h"

namespace vekla {

namespace {

std::array<KindEntry, kKindCount>& Rows() {
  static std::array<KindEntry, kKindCount> rows = {{
      {DbKind::Znamky,
       ReadGrades,
       WriteGrades,
       {{Conversion::ImportCsv, ImportCsvGrades}, {Conversion::ImportCsvTwoValues, ImportCsvGradeValues}},
       {{Conversion::ExportCsv, CsvGradeFiles},
        {Conversion::ExportHtml, HtmlGradeFiles},
        {Conversion::ExportSql, SqlGradeFiles},
        {Conversion::ExportXlsx, XlsxGradeFiles}}},
      {DbKind::Rozpisy,
       ReadTopicPlans,
       WriteRowRecords,
       {{Conversion::ImportCsv, ImportCsvTable}},
       {{Conversion::ExportCsv, CsvTableFiles},
        {Conversion::ExportHtml, HtmlTopicFiles},
        {Conversion::ExportSql, SqlTopicFiles},
        {Conversion::ExportXlsx, XlsxTopicFiles}}},
      {DbKind::Rozvrh,
       ReadTimetable,
       WriteTimetable,
       {{Conversion::ImportCsv, ImportCsvTimetable}},
       {{Conversion::ExportCsv, CsvTableFiles},
        {Conversion::ExportHtml, HtmlTimetableFiles},
        {Conversion::ExportSql, SqlTimetableFiles},
        {Conversion::ExportXlsx, XlsxTimetableFiles}}},
      {DbKind::Kalendar,
       ReadCalendar,
       WriteRowRecords,
       {{Conversion::ImportCsv, ImportCsvTable}},
       {{Conversion::ExportCsv, CsvTableFiles},
        {Conversion::ExportSql, SqlCalendarFiles},
        {Conversion::ExportXlsx, XlsxCalendarFiles}}},
  }};
  return rows;
}

template <class Codec>
Codec find(const std::vector<std::pair<Conversion, Codec>>& list, Conversion c) {
  for (const auto& [conv, codec] : list)
    if (conv == c) return codec;
  return nullptr;
}

}  // namespace

ImportCodec KindEntry::importer(Conversion c) const { return find(imports, c); }
ExportCodec KindEntry::exporter(Conversion c) const { return find(exports, c); }

const KindEntry& KindTable(DbKind k) { return Rows()[KindIndex(k)]; }

void AddExport(DbKind k, Conversion c, ExportCodec codec) {
  auto& exports = Rows()[KindIndex(k)].exports;
  for (auto& [conv, existing] : exports)
    if (conv == c) {
      existing = codec;
      return;
    }
  exports.emplace_back(c, codec);
}

}  // namespace vekla
