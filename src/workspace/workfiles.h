#pragma once
// The tab working files in DataDir and the grades semester store GradesIni.
// Text files are code page 1250 with CR LF; every write is atomic. GradesIni
// is held in memory (VeklaState::gradesIni) and written once per command by
// FlushGradesIni, with the same content key-by-key writing would leave.
#include <QString>
#include <string>

#include "workspace/state.h"

namespace vekla {

QString DataDir(const VeklaState& s);        // ProgramDir + "data/"
QString GradesIniPath(const VeklaState& s);  // DataDir + "Znamky-.ini"
void EnsureDataDir(const VeklaState& s);     // throws VeklaError when it cannot be created

void SaveCommon(VeklaState& s);
void LoadCommon(VeklaState& s);  // runs SetupTab when the file is missing
void SaveTimetableExtras(VeklaState& s);
void LoadTimetableExtras(VeklaState& s);
void SaveGradeExtras(VeklaState& s);
void LoadGradeExtras(VeklaState& s);

// Save the current kind's working files (common first, then extras).
void SaveKind(VeklaState& s);
// Load as on activation: SetupTab is not run here; the common file, the
// kind's layout and extras in the order each kind needs, then auto column width.
void LoadKind(VeklaState& s);

// GradesIni: loaded from disk on first use.
IniFile& GradesIni(VeklaState& s);
void StoreSemester(VeklaState& s);
// The semester-store section of the student in grid row `row` ("Z" + the
// number of its row label); empty for a row whose label has no number.
std::string StudentSection(const VeklaState& s, int row);
void LoadSemester(VeklaState& s, int n);
// The semester box: the shown semester goes to the store, the chosen one
// (0-based in the box) is shown.
void CBZnamkyPololetiChange(VeklaState& s, int newItemIndex);
void FlushGradesIni(VeklaState& s);   // writes when changed
void DeleteGradesIni(VeklaState& s);  // empties it and removes the file

}  // namespace vekla
