#include "workspace/datafolder.h"

#include <QDir>

#include "pdb/error.h"
#include "pdb/text.h"
#include "workspace/kindparams.h"

namespace vekla {

QString DataDir(const VeklaState& s) {
  QString dir = s.dataDirOverride.isEmpty() ? s.programDir + "data/" : s.dataDirOverride;
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString GradesIniPath(const VeklaState& s) { return DataDir(s) + toQt(KindPrefix(DbKind::Znamky)) + ".ini"; }

void EnsureDataDir(const VeklaState& s) {
  const QString dir = DataDir(s);
  if (QDir(dir).exists()) return;
  if (!QDir().mkpath(dir))
    throw VeklaError(cp("Složku pracovních souborů \"") + NativePath(dir) + cp("\" nelze vytvořit."));
}

namespace {
WorkFileBatch* openBatch = nullptr;
}  // namespace

WorkFileBatch::WorkFileBatch() : outer_(openBatch) { openBatch = this; }
WorkFileBatch::~WorkFileBatch() { openBatch = outer_; }

void WorkFileBatch::write() {
  // Files written from here on go to the disk (or an outer batch) at once.
  openBatch = outer_;
  WriteFilesAtomic(files_);
}

void WriteWorkFile(const QString& path, std::string bytes) {
  if (openBatch) openBatch->files_.push_back({path, std::move(bytes)});
  else WriteFileAtomic(path, bytes);
}

}  // namespace vekla
