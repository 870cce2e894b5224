#pragma once
// Pieces every reader and writer of the database kinds shares.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "pdb/pdbfile.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// The header into the database panel (name, dates, times, type, creator).
void FillPanelFromHeader(VeklaState& s, const PdbHeader& h);

// The copy of the state a reader builds in: the database panel filled from
// the file's header and, when the file came through the first import
// dialog, the file's folder (with a trailing "/") as Adresar1.
VeklaState ReadingCopy(const VeklaState& s, const PdbFile& pdb, const QString& path, bool firstDialog);

// If EditN is empty it becomes the prefix; then the save dialog is offered
// with EditN + ".PDB" in Adresar1. nullopt when cancelled.
std::optional<QString> AskSaveFile(VeklaState& s, Prompter& p);

// Warns "Databáze se takto nemůže jmenovat: " + path when the file name does
// not begin with the prefix (case-sensitive).
void WarnWrongPrefix(VeklaState& s, Prompter& p, const QString& chosenPath);

// The database name from the chosen file: the prefix, then the file name's
// characters after the prefix's length less the last four (the extension).
// Empty becomes the prefix; longer than 31 characters is cut (a NUL must end
// it inside the 32-byte field). The name is put into EditN.
std::string DatabaseNameFromFile(VeklaState& s, const QString& chosenPath);

// The header from the panel: dates through DateTimeToPalmTime (may write the
// fields back), type and creator with the kind's defaults, cut to 4 and
// written back, name from EditN.
PdbHeaderOut HeaderFromPanel(VeklaState& s);

// The writers' first steps: the save dialog (AskSaveFile), then the prefix
// warning for the chosen file (WarnWrongPrefix). nullopt when cancelled.
std::optional<QString> ChooseSaveFile(VeklaState& s, Prompter& p);

// The header for the chosen file: the database name from the file name into
// EditN (DatabaseNameFromFile), then the header from the panel
// (HeaderFromPanel).
PdbHeaderOut HeaderForFile(VeklaState& s, const QString& chosenPath);

// Where a writer saves and the header it writes there.
struct SaveTarget {
  QString path;
  PdbHeaderOut header;
};

// The first steps of the writers that check the cells after the file is
// chosen (timetable, topic plans, calendar): ChooseSaveFile, then
// CheckAllCells, then HeaderForFile. When the dialog is cancelled the
// progress label is cleared and nullopt returned.
std::optional<SaveTarget> ChooseSaveTargetCheckingCells(VeklaState& s, Prompter& p);

// Writes the database atomically, then clears the progress label, also when
// the write fails (the failure is passed on).
void WritePdbAndClearProgress(VeklaState& s, Prompter& p, const QString& path, const PdbHeaderOut& header,
                              const std::vector<PdbRecord>& records);

// "Soubor ... nelze načíst: poškozená databáze (...)" for a malformed file.
[[noreturn]] void ThrowMalformed(const QString& path, const std::string& cpDetail);

// The percentage label "N %" (rounded).
std::string PercentText(double share);

}  // namespace vekla
