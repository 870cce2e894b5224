#include "commands/kindtable.h"

#include <array>

#include "commands/csvcommands.h"
#include "commands/filecommands.h"

namespace vekla {

namespace {

Outcome ImportCsv(VeklaState& s, Prompter& p) { return ImportCSVClick(s, p, false); }
Outcome ImportCsvTwoValues(VeklaState& s, Prompter& p) { return ImportCSVClick(s, p, true); }

const std::array<KindEntry, 4>& table() {
  static const std::array<KindEntry, 4> rows = {{
      {DbKind::Znamky,
       ReadGrades,
       WriteGrades,
       {{Conversion::ImportCsv, ImportCsv},
        {Conversion::ImportCsvTwoValues, ImportCsvTwoValues},
        {Conversion::ExportCsv, ExportCSVClick}}},
      {DbKind::Rozpisy,
       ReadTopicPlans,
       WriteRowRecords,
       {{Conversion::ImportCsv, ImportCsv}, {Conversion::ExportCsv, ExportCSVClick}}},
      {DbKind::Rozvrh,
       ReadTimetable,
       WriteTimetable,
       {{Conversion::ImportCsv, ImportCsv}, {Conversion::ExportCsv, ExportCSVClick}}},
      {DbKind::Kalendar,
       ReadCalendar,
       WriteRowRecords,
       {{Conversion::ImportCsv, ImportCsv}, {Conversion::ExportCsv, ExportCSVClick}}},
  }};
  return rows;
}

}  // namespace

KindCommand KindEntry::conversion(Conversion c) const {
  for (const auto& [conv, command] : conversions)
    if (conv == c) return command;
  return nullptr;
}

const KindEntry& KindTable(DbKind k) {
  const int i = static_cast<int>(k);
  return table()[static_cast<std::size_t>(i >= 0 && i < 4 ? i : 0)];
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
  if (const auto conv = ConversionOf(c)) return KindTable(kind).conversion(*conv) != nullptr;
  return true;
}

}  // namespace vekla
