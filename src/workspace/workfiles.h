#pragma once
// The tab working files in DataDir: the grid with its panels, and each
// kind's extras. Text files are code page 1250 with CR LF; every write is
// atomic, and a save writes the tab's files and the semester store as a set.
#include "workspace/state.h"

namespace vekla {

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

}  // namespace vekla
