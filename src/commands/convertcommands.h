#pragma once
// The commands around the conversion codecs, one per direction: an import
// reads the file chosen in the open dialog through the kind's codec; an
// export takes the files the kind's codec gives and puts them where its
// format puts files (save dialogs for CSV, SQL and PDF, the folders "html"
// and "excel" in the export folder for pages and workbooks), writes them as a set and
// opens what is meant to be opened.
#include <QString>
#include <optional>

#include "commands/kindtable.h"
#include "commands/outcome.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// A conversion of the current kind (CSV, HTML, SQL, Excel) through its
// codec in the table of kinds; Refused, with a message, when the kind has
// none.
Outcome ConvertClick(VeklaState& s, Prompter& p, Conversion c);
// Imports a file into the current tab. The working files are saved
// afterwards, also when the dialog was cancelled; a file that cannot be
// imported changes nothing.
// `given`: the file, without the open dialog (a file dropped on the window).
Outcome ImportClick(VeklaState& s, Prompter& p, ImportCodec codec, const std::optional<QString>& given = {});
// Exports the current tab in the format of `c`.
Outcome ExportClick(VeklaState& s, Prompter& p, Conversion c, ExportCodec codec);
// Puts files made for the current tab where the format of `c` puts its
// files, as ExportClick does with its codec's (the per-student report of
// the students the window has selected).
Outcome ExportFilesClick(VeklaState& s, Prompter& p, Conversion c, ExportFiles files);

}  // namespace vekla
