#pragma once
// What an export codec gives: the files of one export, each a name and its
// complete bytes, the one to open first, and the lines the export has for
// the error log. The codec reads the state and changes nothing in it; the
// command around it decides where the files go, writes them as a set, so
// no target is replaced before every file of the set is complete, and
// writes the lines to the log.
#include <QString>
#include <string>
#include <vector>

namespace vekla {

struct ExportFile {
  QString name;  // a file name without a folder
  std::string bytes;
  // What the file holds, for the title of its save dialog ("Uložit hodnoty
  // známek jako"); empty for the usual title.
  std::string caption = {};
};
struct ExportFiles : std::vector<ExportFile> {
  using std::vector<ExportFile>::vector;
  // What the export left out or had to change in what it shows, and why,
  // one error-log line each.
  std::vector<std::string> log;
};

}  // namespace vekla
