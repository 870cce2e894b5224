#include "workspace/palmdesktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/inifile.h"
#include "workspace/kindparams.h"

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace vekla {
namespace {

#ifdef Q_OS_WIN
const QString kSep = QStringLiteral("\\");

std::optional<QString> registryValue(const QString& key, const QString& name) {
  QSettings reg(QStringLiteral("HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\") + key,
                QSettings::NativeFormat);
  if (!reg.contains(name)) return std::nullopt;
  const QString v = reg.value(name).toString();
  if (v.isEmpty()) return std::nullopt;
  return v;
}
#else
const QString kSep = QStringLiteral("/");
#endif

std::optional<QString> iniValue(const IniFile& settings, const char* key) {
  if (!settings.has(kPalmDesktopSection, key)) return std::nullopt;
  const QString v = toQt(settings.get(kPalmDesktopSection, key));
  // An empty value would put the backup folder at the root: treat it as unset.
  if (v.isEmpty()) return std::nullopt;
  return v;
}

bool desktopValuesSet(const PalmDesktopValues& v) { return v.path.has_value() || v.lastUserName.has_value(); }

}  // namespace

PalmDesktopValues ReadPalmDesktopValues(const IniFile& settings) {
  PalmDesktopValues v;
#ifdef Q_OS_WIN
  v.path = registryValue(QStringLiteral("Core"), QStringLiteral("Path"));
  v.lastUserName = registryValue(QStringLiteral("Preferences"), QStringLiteral("LastUserName"));
#else
  v.path = iniValue(settings, "Path");
  v.lastUserName = iniValue(settings, "LastUserName");
#endif
  v.backup = iniValue(settings, kBackupKey);
  return v;
}

QString PalmUserName(const PalmDesktopValues& v) { return v.lastUserName.value_or(QString()); }

QString PalmBackupFolder(const PalmDesktopValues& v) {
  QString folder;
  if (v.path) {
    folder = *v.path;
    if (!folder.endsWith(kSep)) folder += kSep;
  }
  if (v.lastUserName) folder += v.lastUserName->left(6) + kSep + QStringLiteral("Backup") + kSep;
  return folder;
}

std::optional<QString> JPilotFolder() {
  QString home = qEnvironmentVariable("JPILOT_HOME");
  if (home.isEmpty()) home = qEnvironmentVariable("HOME");
  if (home.isEmpty()) home = QDir::homePath();
  const QString dir = QDir(home).filePath(QStringLiteral(".jpilot"));
  if (!QFileInfo(dir).isDir()) return std::nullopt;
  return dir;
}

QString EffectiveBackupFolder(const PalmDesktopValues& v) {
  if (v.backup) return v.backup->endsWith(kSep) || v.backup->endsWith('/') ? *v.backup : *v.backup + kSep;
  if (!desktopValuesSet(v)) {
    // J-Pilot keeps a link "backup" to the newest backup of the handheld.
    if (const auto jp = JPilotFolder()) return *jp + QStringLiteral("/backup/");
  }
  return PalmBackupFolder(v);
}

QString EffectiveBackupFolder(const IniFile& settings) { return EffectiveBackupFolder(ReadPalmDesktopValues(settings)); }

bool HandheldFolderKnown(const IniFile& settings) {
  const PalmDesktopValues v = ReadPalmDesktopValues(settings);
  return v.backup || desktopValuesSet(v) || JPilotFolder();
}

FoundDatabases FindDatabases(const QString& folder) {
  FoundDatabases found;
  if (folder.isEmpty()) return found;
  const QDir dir(folder);
  for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Readable)) {
    if (file.suffix().compare(QLatin1String("pdb"), Qt::CaseInsensitive) != 0) continue;
    if (file.fileName().compare(QLatin1String("Znamky-db_pref.PDB"), Qt::CaseInsensitive) == 0) {
      found.preferences = true;
      continue;
    }
    std::optional<DbKind> kind;
    try {
      const PdbHeader h = PdbFile::loadHeader(file.filePath());
      kind = KindFromCreatorType(h.creator, h.type);
    } catch (const VeklaError&) {
      // A file too short for a header is none of ours, whatever its name.
      continue;
    }
    if (!kind) kind = KindFromFileName(file.fileName());
    if (kind) ++found.perKind[static_cast<std::size_t>(*kind)];
  }
  return found;
}

bool QueueForJPilot(const IniFile& settings, const QString& file) {
  if (desktopValuesSet(ReadPalmDesktopValues(settings))) return false;
  const auto jp = JPilotFolder();
  if (!jp) return false;
  // J-Pilot installs every file named in jpilot.install, one path per line.
  const QString list = *jp + QStringLiteral("/jpilot.install");
  std::string content;
  if (QFileInfo::exists(list)) content = ReadWholeFile(list);
  if (!content.empty() && content.back() != '\n') content.push_back('\n');
  const QByteArray line = QFile::encodeName(QFileInfo(file).absoluteFilePath());
  content.append(line.constData(), static_cast<std::size_t>(line.size()));
  content.push_back('\n');
  WriteFileAtomic(list, content);
  return true;
}

}  // namespace vekla
