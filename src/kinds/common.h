#pragma once
// Pieces every reader and writer of the database kinds shares.
#include <QString>
#include <optional>
#include <string>

#include "pdb/pdbfile.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// The header into the database panel (name, dates, times, type, creator).
void FillPanelFromHeader(VeklaState& s, const PdbHeader& h);

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

// "Soubor ... nelze načíst: poškozená databáze (...)" for a malformed file.
[[noreturn]] void ThrowMalformed(const QString& path, const std::string& cpDetail);

// The percentage label "N %" (rounded).
std::string PercentText(double share);

}  // namespace vekla
