#pragma once
// The codecs of the four database kinds: a Palm database into the grid and
// panels of a state, and a state into the records of a database. A codec
// never asks: the command around it passes a copy of the state and keeps it
// only when the whole file was read, so a malformed file (VeklaError, one
// clear Czech message naming the file) changes nothing. Messages for the
// user and progress go through the CodecReport.
#include <vector>

#include "pdb/pdbfile.h"
#include "workspace/codecreport.h"
#include "workspace/inifile.h"
#include "workspace/state.h"

namespace vekla {

// The grade scale, weights and average bands of "Znamky-db_pref.PDB".
void ReadGradePreferences(VeklaState& t, const PdbFile& pdb, const CodecReport& report);
// A grade book into the grid, the semester box and a fresh semester store;
// the preferences are read into `t` before.
void ReadGradesDb(VeklaState& t, const PdbFile& pdb, const CodecReport& report);
// The records of a grade book: the chosen semesters (1-based, in order) of
// every student, taken from the semester store.
std::vector<PdbRecord> BuildGradesDb(const VeklaState& s, const IniFile& store, const std::vector<int>& semesters,
                                     const CodecReport& report);

void ReadTimetableDb(VeklaState& t, const PdbFile& pdb);
std::vector<PdbRecord> BuildTimetableDb(const VeklaState& s, const CodecReport& report);

void ReadTopicPlansDb(VeklaState& t, const PdbFile& pdb);
void ReadCalendarDb(VeklaState& t, const PdbFile& pdb);
// Topic plans and calendar: the kind's special records, then one per grid row.
std::vector<PdbRecord> BuildRowRecordsDb(const VeklaState& s, const CodecReport& report);

}  // namespace vekla
