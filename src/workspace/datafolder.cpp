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

}  // namespace vekla
