#pragma once
// What an export codec gives: the files of one export, each a name and its
// complete bytes, the one to open first. The command around the codec
// decides where they go and writes them as a set, so no target is replaced
// before every file of the set is complete.
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
  // What making the file had to change in what it shows, one error-log
  // line each.
  std::vector<std::string> log = {};
};
using ExportFiles = std::vector<ExportFile>;

}  // namespace vekla
