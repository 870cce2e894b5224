#pragma once
// The table of kinds: for each kind the commands that open and save its
// database and the conversions it has, with the fixed parameters of
// workspace/kindparams.h. The window's handlers, the disabled controls and
// the converter's formats all read it: a new conversion is one entry in a
// kind's row and the command that wraps its codec.
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "commands/outcome.h"
#include "workspace/controls.h"
#include "workspace/kindparams.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

enum class Conversion { ImportCsv, ImportCsvTwoValues, ExportCsv, ExportHtml, ExportSql, ExportXlsx };

using KindCommand = Outcome (*)(VeklaState&, Prompter&);
using OpenCommand = Outcome (*)(VeklaState&, Prompter&, const QString& path, bool firstDialog);

struct KindEntry {
  DbKind kind;
  OpenCommand open;
  KindCommand save;
  std::vector<std::pair<Conversion, KindCommand>> conversions;

  const KindParams& params() const { return Params(kind); }
  // The command of a conversion; nullptr when the kind has none.
  KindCommand conversion(Conversion c) const;
};

const KindEntry& KindTable(DbKind k);

// The conversion a menu item or tool button runs; nullopt for other controls.
std::optional<Conversion> ConversionOf(Ctl c);

// Whether the command behind a control exists for the kind; controls of
// commands that do not are shown disabled.
bool IsImplemented(DbKind kind, Ctl c);

}  // namespace vekla
