#pragma once
// The open and save commands of each database kind: the dialogs, questions,
// messages and progress around the kind's codec.
#include <QString>
#include <optional>

#include "commands/outcome.h"
#include "pdb/pdbfile.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// `firstDialog`: the file was chosen through the first import command, so
// its folder becomes Adresar1.
Outcome ReadGrades(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
// Reads "Znamky-db_pref.PDB" at `path` into the grade panel; a damaged one
// changes nothing and throws VeklaError.
void ReadGradePreferences(VeklaState& s, Prompter& p, const QString& path);
Outcome WriteGrades(VeklaState& s, Prompter& p);

Outcome ReadTimetable(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
Outcome WriteTimetable(VeklaState& s, Prompter& p);

Outcome ReadTopicPlans(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
Outcome ReadCalendar(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
// Topic plans and calendar.
Outcome WriteRowRecords(VeklaState& s, Prompter& p);

// If EditN is empty it becomes the prefix; then the save dialog is offered
// with EditN + ".PDB" in Adresar1. nullopt when cancelled.
std::optional<QString> AskSaveFile(VeklaState& s, Prompter& p);

// Warns "Databáze se takto nemůže jmenovat: " + path when the file name does
// not begin with the prefix (case-sensitive).
void WarnWrongPrefix(VeklaState& s, Prompter& p, const QString& chosenPath);

// The save dialog (AskSaveFile), then the prefix warning for the chosen file.
std::optional<QString> ChooseSaveFile(VeklaState& s, Prompter& p);

}  // namespace vekla
