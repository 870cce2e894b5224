#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {

void WriteFileAtomic(const QString& path, std::string_view bytes) {
  QSaveFile f(path);
  auto fail = [&](const QString& reason) {
    f.cancelWriting();
    throw VeklaError(cp("Soubor \"") + fromQt(QDir::toNativeSeparators(path)) +
                     cp("\" nelze zapsat: ") + fromQt(reason));
  };
  if (!f.open(QIODevice::WriteOnly)) fail(f.errorString());
  if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
    fail(f.errorString());
  if (!f.commit()) fail(f.errorString());
}

std::string ReadWholeFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw VeklaError(cp("Soubor \"") + fromQt(QDir::toNativeSeparators(path)) +
                     cp("\" nelze otevřít: ") + fromQt(f.errorString()));
  QByteArray data = f.readAll();
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace vekla
