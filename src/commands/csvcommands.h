#pragma once
// "Import CSV ..." and "Export CSV": the file dialogs, the working files and
// the messages around the CSV codecs.
#include "commands/outcome.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// Imports a CSV file into the current tab; `twoValues` reads a grade book's
// values file. The working files are saved afterwards, also when the dialog
// was cancelled; a file that cannot be imported changes nothing.
Outcome ImportCSVClick(VeklaState& s, Prompter& p, bool twoValues);
// Exports the current tab; the grade book as two files, the second dialog
// shown even when the first was cancelled.
Outcome ExportCSVClick(VeklaState& s, Prompter& p);

}  // namespace vekla
