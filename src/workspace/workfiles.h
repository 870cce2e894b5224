#pragma once
// The tab working files in DataDir: the grid with its panels, and each
// kind's extras. Text files are code page 1250 with CR LF; every write is
// atomic, and a save writes the tab's files and the semester store as a set.
#include "workspace/state.h"

namespace vekla {

// The common grid file and each kind's extras. SaveKind and LoadKind
// (workspace/kindops.h) write and read the current kind's set.
void SaveCommon(VeklaState& s);
// False, changing nothing, when the file is missing (LoadCommon then sets
// the tab up afresh).
bool LoadCommonFile(VeklaState& s);
void SaveTimetableExtras(VeklaState& s);
void LoadTimetableExtras(VeklaState& s);
void SaveGradeExtras(VeklaState& s);
void LoadGradeExtras(VeklaState& s);

}  // namespace vekla
