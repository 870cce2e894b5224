#pragma once
// The tab working files in DataDir: the grid with its panels, and each
// kind's extras. Text files are code page 1250 with CR LF; every write is
// atomic, and a save writes the tab's files and the semester store as a set.
#include "workspace/datafolder.h"
#include "workspace/state.h"

namespace vekla {

// The common grid file and each kind's extras, each added to the batch of
// files written together. SaveKind and LoadKind (workspace/kindops.h) write
// and read the current kind's set.
void SaveCommon(VeklaState& s, WorkFileBatch& batch);
// False, changing nothing, when the file is missing (LoadCommon then sets
// the tab up afresh).
bool LoadCommonFile(VeklaState& s);
void SaveTimetableExtras(VeklaState& s, WorkFileBatch& batch);
void LoadTimetableExtras(VeklaState& s);
void SaveGradeExtras(VeklaState& s, WorkFileBatch& batch);
void LoadGradeExtras(VeklaState& s);

}  // namespace vekla
