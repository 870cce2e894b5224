#pragma once
// CSV import and export of the main grid, per kind: pure functions between
// the bytes of a semicolon-separated file (csvlines.h) and the state. They
// never ask and never touch a file; the commands around them show the
// dialogs, read and write the files and save the working files.
//
// Topic plans, timetable and calendar are plain tables: one line per grid
// row from row 1, one field per column from column 1. The grade book is
// written as shown from its title row down to the last student, and once
// more as a values file in which a grade cell is its weight number, a space
// and its grade code ("2 3"), or empty.
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "convert/exportfile.h"
#include "workspace/gradeoptions.h"
#include "workspace/state.h"

namespace vekla {

// The filter and default extension of the CSV file dialogs.
inline constexpr const char* kCsvFilterUtf8 = "CSV (oddělený středníkem)|*.csv";
inline constexpr const char* kCsvExtension = "csv";
std::string CsvFilter();  // kCsvFilterUtf8 in code page 1250

// The values file beside the grade book's file `firstPath`: that path less
// its last four characters, then "hodnoty.csv".
QString ValuesCsvPath(const QString& firstPath);

// Progress of the check pass over the whole grid: "N %" each time the
// percentage changes, then "" when it is done.
using CsvProgress = std::function<void(const std::string& label)>;

// The imports fill `s` (a copy the command keeps when they return) from the
// whole file `bytes`; `path` is the chosen file, whose name becomes EditN
// and which the messages name. Every imported text goes through the cell
// checks, each repair one line in the error log. A file that is empty, or
// larger than the kind can hold, throws VeklaError before `s` changes.
//
// Topic plans and calendar: the grid gets one row per line below its header
// row; fields beyond the last column are dropped.
void ImportCsvTable(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress& progress = {});
// Timetable: the columns follow the widest line, the rows stay; lines below
// the last row are dropped. Every cell is checked once more at the end.
void ImportCsvTimetable(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress& progress = {});
// Grade book: the first line is the title row; each grade takes the colour
// of the weight whose button is down. From a values file the grade cells
// are read as "w g" instead. EditN is the file name cut before "hodnoty"
// (any case), so 7Ahodnoty.csv gives 7A.
void ImportCsvGrades(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress& progress = {});
void ImportCsvGradeValues(VeklaState& s, std::string_view bytes, const QString& path, const CsvProgress& progress = {});

// Topic plans, timetable, calendar: rows 1 to the last, columns 1 to the last.
std::string ExportCsvTable(const VeklaState& s);
// Grade book: rows 0 to R-3, columns 1 to the last. Titles are written
// without their sort mark ("+ " or "- "), which stays in the grid.
std::string ExportCsvGrades(const VeklaState& s);
// The grade book's values file: the same lines and titles, each
// grade cell as "w g" or an empty field.
std::string ExportCsvGradeValues(const VeklaState& s);

// The files of an export: EditN (the kind's prefix when empty) + ".csv";
// the grade book's values file beside it, EditN + "hodnoty.csv".
ExportFiles CsvTableFiles(const VeklaState& s, const GradeDisplayOptions& o);
ExportFiles CsvGradeFiles(const VeklaState& s, const GradeDisplayOptions& o);

}  // namespace vekla
