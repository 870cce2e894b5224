#include "pdb/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "pdb/error.h"
#include "pdb/text.h"

namespace vekla {

namespace {

// Why a file could not be read or written, in Czech: the likely cause found
// from the file system, with the system's own wording after it.
std::string reason(const QFileDevice& f, const QString& path, bool writing) {
  const QFileInfo info(path);
  const QFileInfo folder(info.absolutePath());
  std::string why;
  if (!folder.exists()) why = cp("složka neexistuje");
  else if (writing && info.exists() && info.isDir()) why = cp("je to složka");
  else if (!writing && !info.exists()) why = cp("soubor neexistuje");
  else if (!writing && info.isDir()) why = cp("je to složka");
  else if (f.error() == QFileDevice::PermissionsError || (writing && !folder.isWritable()) ||
           (!writing && !info.isReadable()))
    why = cp("přístup odepřen");
  else if (writing && f.error() == QFileDevice::WriteError) why = cp("zápis selhal (plný disk?)");
  else if (!writing && f.error() == QFileDevice::ReadError) why = cp("čtení selhalo");
  else why = writing ? cp("zápis selhal") : cp("čtení selhalo");
  const QString system = f.errorString();
  if (!system.isEmpty()) why += " (" + fromQt(system) + ")";
  return why;
}

}  // namespace

void WriteFileAtomic(const QString& path, std::string_view bytes) {
  QSaveFile f(path);
  auto fail = [&]() {
    const std::string why = reason(f, path, true);
    f.cancelWriting();
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: ") + why + ".");
  };
  if (!f.open(QIODevice::WriteOnly)) fail();
  if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) fail();
  if (!f.commit()) fail();
}

std::string ReadWholeFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze otevřít: ") + reason(f, path, false) + ".");
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze přečíst: ") + reason(f, path, false) + ".");
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace vekla
