#pragma once
// Pieces the codecs of the database kinds share.
#include <QString>
#include <string>

#include "pdb/pdbfile.h"
#include "workspace/state.h"

namespace vekla {

// The header into the database panel (name, dates, times, type, creator).
void FillPanelFromHeader(VeklaState& s, const PdbHeader& h);

// The database name from the chosen file: the prefix, then the file name's
// characters after the prefix's length less the last four (the extension).
// Empty becomes the prefix; longer than 31 characters is cut (a NUL must end
// it inside the 32-byte field). The name is put into EditN.
std::string DatabaseNameFromFile(VeklaState& s, const QString& chosenPath);

// The header from the panel: dates through DateTimeToPalmTime (may write the
// fields back), type and creator with the kind's defaults, cut to 4 and
// written back, name from EditN.
PdbHeaderOut HeaderFromPanel(VeklaState& s);

// The header for the chosen file: the database name from the file name into
// EditN (DatabaseNameFromFile), then the header from the panel.
PdbHeaderOut HeaderForFile(VeklaState& s, const QString& chosenPath);

// "Soubor ... nelze načíst: poškozená databáze (...)" for a malformed file.
[[noreturn]] void ThrowMalformed(const QString& path, const std::string& cpDetail);

// How many fields of a record of `fields` go into a grid row of `columns`
// data columns. Fields beyond them are never shown nor written: `cut` is set,
// and LogCutFields says so once for the whole file.
int FieldsShown(std::size_t fields, int columns, bool& cut);
void LogCutFields(VeklaState& t, int columns);

// The percentage label "N %" (rounded).
std::string PercentText(double share);

}  // namespace vekla
