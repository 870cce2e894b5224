#pragma once
// The folder of the working files and the semester store, and the one way
// they are written: atomically, and while a WorkFileBatch is open, together.
#include <QString>
#include <string>
#include <vector>

#include "pdb/savefile.h"
#include "workspace/state.h"

namespace vekla {

QString DataDir(const VeklaState& s);        // ProgramDir + "data/"
QString GradesIniPath(const VeklaState& s);  // DataDir + "Znamky-.ini"
void EnsureDataDir(const VeklaState& s);     // throws VeklaError when it cannot be created

// Writes one working file atomically, or hands it to the open batch.
void WriteWorkFile(const QString& path, std::string bytes);

// While a batch is open, WriteWorkFile collects the files; write() then
// writes them as a set, so a full disk leaves every one of them as it was.
// A batch that is not written writes nothing.
class WorkFileBatch {
 public:
  WorkFileBatch();
  ~WorkFileBatch();
  WorkFileBatch(const WorkFileBatch&) = delete;
  WorkFileBatch& operator=(const WorkFileBatch&) = delete;

  std::size_t size() const { return files_.size(); }
  void write();

 private:
  friend void WriteWorkFile(const QString& path, std::string bytes);
  std::vector<FileToWrite> files_;
  WorkFileBatch* outer_;
};

}  // namespace vekla
