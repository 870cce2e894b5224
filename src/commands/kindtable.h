#pragma once
// The table of kinds: for each kind the commands that open and save its
// database and the codecs of its conversions, with the fixed parameters of
// workspace/kindparams.h and the row of what the window does with it
// (workspace/kindops.h). The window's actions (commands/actions.h), the
// disabled controls and the converter's formats all read it: a new format
// is one codec in src/convert/, one generic command per format
// (convertcommands.cpp) and one entry in the row of each kind that has it.
#include <QString>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "commands/outcome.h"
#include "convert/csv.h"
#include "convert/exportfile.h"
#include "workspace/controls.h"
#include "workspace/gradeoptions.h"
#include "workspace/kindops.h"
#include "workspace/kindparams.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// ExportPdf: the printed pages of a tab; ExportReport: the grade book's
// per-student report ("Výpis pro rodiče").
enum class Conversion { ImportCsv, ImportCsvTwoValues, ExportCsv, ExportHtml, ExportSql, ExportXlsx, ExportPdf, ExportReport };
inline constexpr Conversion kAllConversions[] = {
    Conversion::ImportCsv, Conversion::ImportCsvTwoValues, Conversion::ExportCsv, Conversion::ExportHtml,
    Conversion::ExportSql, Conversion::ExportXlsx,         Conversion::ExportPdf, Conversion::ExportReport};

using KindCommand = Outcome (*)(VeklaState&, Prompter&);
using OpenCommand = Outcome (*)(VeklaState&, Prompter&, const QString& path, bool firstDialog);
// An import fills a copy of the state from the whole file `bytes` read from
// `path`; an export gives the files of the state under the display options.
using ImportCodec = void (*)(VeklaState&, std::string_view bytes, const QString& path, const CsvProgress&);
using ExportCodec = ExportFiles (*)(const VeklaState&, const GradeDisplayOptions&);

struct KindEntry {
  DbKind kind;
  OpenCommand open;
  KindCommand save;
  std::vector<std::pair<Conversion, ImportCodec>> imports;
  std::vector<std::pair<Conversion, ExportCodec>> exports;

  const KindParams& params() const { return Params(kind); }
  const KindOps& ops() const { return Ops(kind); }
  // The codec of a conversion; nullptr when the kind has none.
  ImportCodec importer(Conversion c) const;
  ExportCodec exporter(Conversion c) const;
  bool has(Conversion c) const { return importer(c) || exporter(c); }
};

const KindEntry& KindTable(DbKind k);

// Adds the codec of an export to a kind's row, or replaces the one it has.
// The printed pages register themselves so from src/print/ (InstallPrinting):
// they need Qt's GUI module, which the converter loads only to write a PDF,
// so a program without that library has no PDF conversion. Nothing else
// changes the table.
void AddExport(DbKind k, Conversion c, ExportCodec codec);

}  // namespace vekla
