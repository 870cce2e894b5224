#pragma once
// The codecs of the four database kinds: a Palm database into the grid and
// panels of a state, and a state into the records of a database. A codec
// never asks: the command around it passes a copy of the state and keeps it
// only when the whole file was read (the grade book: only when the file was
// checked), so a malformed file (VeklaError, one clear Czech message naming
// the file) changes nothing. Messages for the user and progress go through
// the CodecReport.
#include <functional>
#include <string>
#include <vector>

#include "pdb/pdbfile.h"
#include "workspace/codecreport.h"
#include "workspace/inifile.h"
#include "workspace/state.h"

namespace vekla {

// The grade scale, weights and average bands of "Znamky-db_pref.PDB".
void ReadGradePreferences(VeklaState& t, const PdbFile& pdb, const CodecReport& report);
// A grade book is read in two steps. The check meets every way the file can
// be malformed (VeklaError naming the file), reads the class records and
// tells the user what it cut; filling a state from a checked file cannot
// fail, so the command may fill the state's own grid instead of a copy.
struct GradesDbCheck {
  struct Key {
    std::string section, key, value;
  };
  int students = 0;
  std::vector<Key> classKeys;  // records 1 to 3 for the semester store, in file order
  std::vector<std::string> semesterItems;
  std::string classColour;  // the colour field of record 1, checked when it has six characters
};
GradesDbCheck CheckGradesDb(const PdbFile& pdb, const CodecReport& report);
// The grid, the semester box and a fresh semester store; the preferences are
// read into `t` before.
void FillGradesDb(VeklaState& t, const PdbFile& pdb, const GradesDbCheck& check);
// The records of a grade book: the chosen semesters (1-based, in order) of
// every student, taken from the semester store.
std::vector<PdbRecord> BuildGradesDb(const VeklaState& s, const IniFile& store, const std::vector<int>& semesters,
                                     const CodecReport& report);
// The same records one at a time, for a writer that holds no more than one
// of them (a source for WritePdbFrom).
void GradesDbRecords(const VeklaState& s, const IniFile& store, const std::vector<int>& semesters,
                     const CodecReport& report, const std::function<void(const PdbRecord&)>& add);

void ReadTimetableDb(VeklaState& t, const PdbFile& pdb);
std::vector<PdbRecord> BuildTimetableDb(const VeklaState& s, const CodecReport& report);

void ReadTopicPlansDb(VeklaState& t, const PdbFile& pdb);
void ReadCalendarDb(VeklaState& t, const PdbFile& pdb);
// Topic plans and calendar: the kind's special records, then one per grid row.
std::vector<PdbRecord> BuildRowRecordsDb(const VeklaState& s, const CodecReport& report);
// The same records one at a time (a source for WritePdbFrom).
void RowRecordsDb(const VeklaState& s, const CodecReport& report, const std::function<void(const PdbRecord&)>& add);

}  // namespace vekla
