#include "commands/kindtable.h"

#include <array>

#include "commands/filecommands.h"
#include "convert/csv.h"
#include "convert/excel.h"
#include "convert/html.h"
#include "convert/sql.h"

namespace vekla {

namespace {

std::array<KindEntry, 4>& Rows() {
  static std::array<KindEntry, 4> rows = {{
      {DbKind::Znamky,
       ReadGrades,
       WriteGrades,
       {{Conversion::ImportCsv, ImportCsvGrades}, {Conversion::ImportCsvTwoValues, ImportCsvGradeValues}},
       {{Conversion::ExportCsv, CsvGradeFiles},
        {Conversion::ExportHtml, HtmlGradeFiles},
        {Conversion::ExportSql, SqlGradeFiles},
        {Conversion::ExportXlsx, XlsxGradeFiles}},
       true},
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

const std::array<KindEntry, 4>& table() { return Rows(); }

template <class Codec>
Codec find(const std::vector<std::pair<Conversion, Codec>>& list, Conversion c) {
  for (const auto& [conv, codec] : list)
    if (conv == c) return codec;
  return nullptr;
}

}  // namespace

ImportCodec KindEntry::importer(Conversion c) const { return find(imports, c); }
ExportCodec KindEntry::exporter(Conversion c) const { return find(exports, c); }

const KindEntry& KindTable(DbKind k) {
  const int i = static_cast<int>(k);
  return table()[static_cast<std::size_t>(i >= 0 && i < 4 ? i : 0)];
}

void AddExport(DbKind k, Conversion c, ExportCodec codec) {
  const int i = static_cast<int>(k);
  if (i < 0 || i >= 4) return;
  auto& exports = Rows()[static_cast<std::size_t>(i)].exports;
  for (auto& [conv, existing] : exports)
    if (conv == c) {
      existing = codec;
      return;
    }
  exports.emplace_back(c, codec);
}

std::optional<Conversion> ConversionOf(Ctl c) {
  switch (c) {
    case Ctl::MenuImportCSV:
    case Ctl::SpeedItemImport: return Conversion::ImportCsv;
    case Ctl::SpeedItemImport2: return Conversion::ImportCsvTwoValues;
    case Ctl::ExportCSV1:
    case Ctl::SpeedItemUlozCSV: return Conversion::ExportCsv;
    case Ctl::MenuHtml:
    case Ctl::SpeedItemHTML: return Conversion::ExportHtml;
    case Ctl::SpeedItemPHP: return Conversion::ExportSql;
    case Ctl::MenuExcel:
    case Ctl::SpeedItemExcel: return Conversion::ExportXlsx;
    default: return std::nullopt;
  }
}

bool IsImplemented(DbKind kind, Ctl c) {
  if (const auto conv = ConversionOf(c)) return KindTable(kind).has(*conv);
  return true;
}

}  // namespace vekla
