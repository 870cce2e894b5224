#pragma once
// The folder of the working files and the semester store, and how files
// that belong together are written: collected in a WorkFileBatch, then
// written as a set.
#include <QString>
#include <string>
#include <vector>

#include "pdb/savefile.h"
#include "workspace/state.h"

namespace vekla {

QString DataDir(const VeklaState& s);        // ProgramDir + "data/"
QString GradesIniPath(const VeklaState& s);  // DataDir + "Znamky-.ini"
void EnsureDataDir(const VeklaState& s);     // throws VeklaError when it cannot be created

// Working files that belong together (a tab's grid, its extras and the
// semester store): each writer adds its file, and write() writes them as a
// set, so a full disk leaves every one of them as it was. A batch that is
// not written writes nothing.
class WorkFileBatch {
 public:
  void add(const QString& path, std::string bytes) { files_.push_back({path, std::move(bytes)}); }
  std::size_t size() const { return files_.size(); }
  void write() const { WriteFilesAtomic(files_); }

 private:
  std::vector<FileToWrite> files_;
};

}  // namespace vekla
