#pragma once
// The program's own entries in the system's temporary folder: the
// converter's private working folder and the Excel export's workbook before
// it is copied to its place. A run killed on the way leaves them behind;
// the next start of either program removes the ones no running program can
// still be using.
#include <QDir>
#include <QString>

namespace vekla {

// The template of the converter's private folder, for QTemporaryDir: the
// name carries the number of the process that made it,
// "vekla-convert-<process>-XXXXXX".
QString PrivateTempFolderTemplate();

// Removes from `folder` what a killed run of ours left: only entries of the
// user running it, named as we name them, never through a link:
// - "vekla-convert-<process>-XXXXXX" folders whose process has ended and
//   which nothing has changed for an hour (the hour keeps the folder of a
//   converter whose process number this system cannot see, as in a
//   container sharing the folder);
// - "vekla-convert-XXXXXX" folders (older converters named no process) and
//   "vekla-XXXXXX.xlsx" files which nothing has changed for a day: a
//   conversion or an export takes seconds.
// Returns how many entries it removed.
int RemoveStaleTemporaries(const QString& folder = QDir::tempPath());

}  // namespace vekla
