#pragma once
// The semester store GradesIni: every semester of the grade book, the shown
// one included once it is stored. It is held in memory
// (VeklaState::gradesIni) and written once per command by FlushGradesIni,
// with the same content key-by-key writing would leave.
#include <string>
#include <string_view>

#include "workspace/datafolder.h"
#include "workspace/inifile.h"
#include "workspace/state.h"

namespace vekla {

// The class note as the store and the database keep it: on one line, each
// line break one space between the words it parted (none at either end,
// none beside a space already there).
std::string NoteOnOneLine(std::string_view text);

// GradesIni: loaded from disk on first use.
IniFile& GradesIni(VeklaState& s);
// The shown semester (VeklaState::currentSemester) into the store.
void StoreSemester(VeklaState& s);
// The semester-store section of the student in grid row `row` ("Z" + the
// number of its row label); empty for a row whose label has no number.
std::string StudentSection(const VeklaState& s, int row);
// Semester `n` (1-based) from the store into the grid and the note, with
// its statistics.
void LoadSemester(VeklaState& s, int n);
// Writes the store when it changed: at once, or as one file of a batch
// (which the caller writes, and on failure marks the store dirty again).
void FlushGradesIni(VeklaState& s);
void FlushGradesIni(VeklaState& s, WorkFileBatch& batch);
void DeleteGradesIni(VeklaState& s);  // empties it and removes the file

// How many of the grid's students have a name other than the one the store
// keeps for their number, out of how many students.
struct StoredNames {
  int differing = 0;
  int students = 0;
};
StoredNames CompareWithStoredNames(const VeklaState& s, const IniFile& store);

}  // namespace vekla
