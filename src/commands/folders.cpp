#include "commands/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "pdb/text.h"
#include "workspace/inifile.h"
#include "workspace/palmdesktop.h"

namespace vekla {

namespace {

QString withSlash(QString dir) {
  if (!dir.isEmpty() && !dir.endsWith('/')) dir += '/';
  return dir;
}

void setOrRemove(IniFile& ini, const char* section, const char* key, const QString& value) {
  if (value.trimmed().isEmpty()) ini.removeKey(section, key);
  else ini.set(section, key, fromQt(value.trimmed()));
}

}  // namespace

bool IsPortableInstall(const QString& applicationDir) {
  const QFileInfo app(applicationDir);
  const QDir appDir(app.absoluteFilePath());
  const bool marked = QFileInfo::exists(appDir.filePath(QStringLiteral("vekla.ini"))) ||
                      QFileInfo::exists(appDir.filePath(QStringLiteral("vekla-portable")));
  return marked && app.isDir() && app.isWritable();
}

QString ResolveExportDir(const QString& applicationDir) {
  if (!qEnvironmentVariable("VEKLA_HOME").isEmpty() || IsPortableInstall(applicationDir)) return {};
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) return {};
  return withSlash(QDir(documents).filePath(QStringLiteral("Vekla")));
}

QString ExportFolder(const VeklaState& s) { return s.exportDir.isEmpty() ? s.programDir : withSlash(s.exportDir); }

QString FindShippedFile(const QString& applicationDir, const QString& relative) {
  const QDir app(applicationDir);
  for (const QString& doc : {QStringLiteral("../share/doc/vekla"), QStringLiteral("share/doc/vekla")}) {
    const QString path = QDir::cleanPath(app.absoluteFilePath(doc + '/' + relative));
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

FolderSettings CurrentFolderSettings(const VeklaState& s) {
  const PalmDesktopValues v = ReadPalmDesktopValues(s.settings);
  FolderSettings f;
  f.backupFolder = v.backup.value_or(QString());
  f.desktopPath = v.path.value_or(QString());
  f.userName = v.lastUserName.value_or(QString());
  f.adresar1 = s.adresar1;
#ifdef Q_OS_WIN
  f.desktopValuesEditable = false;  // the registry's, written by the desktop software
#endif
  f.dataFolder = s.programDir;
  f.exportFolder = ExportFolder(s);
  f.jpilotFolder = JPilotFolder();
  return f;
}

void ApplyFolderSettings(VeklaState& s, const FolderSettings& f) {
  setOrRemove(s.settings, kPalmDesktopSection, kBackupKey, f.backupFolder);
  if (f.desktopValuesEditable) {
    setOrRemove(s.settings, kPalmDesktopSection, "Path", f.desktopPath);
    setOrRemove(s.settings, kPalmDesktopSection, "LastUserName", f.userName);
  }
  s.userName = fromQt(PalmUserName(ReadPalmDesktopValues(s.settings)));
  // The first import folder is kept as the open command keeps it, with a
  // trailing "/".
  s.adresar1 = withSlash(f.adresar1.trimmed());
  s.settings.set("Nastaveni", "Adresar1", fromQt(s.adresar1));
  s.settings.save(s.programDir + "vekla.ini");
}

Outcome SlozkyClick(VeklaState& s, Prompter& p) {
  FolderSettings f = CurrentFolderSettings(s);
  if (!p.editFolders(f)) return Outcome::Cancelled;
  ApplyFolderSettings(s, f);
  return Outcome::Done;
}

bool NeedHandheldFolder(VeklaState& s, Prompter& p, const std::string& why) {
  if (HandheldFolderKnown(s.settings)) return true;
  if (!p.question(why + cp(" Nastavit složky nyní?"))) return false;
  SlozkyClick(s, p);
  return HandheldFolderKnown(s.settings);
}

}  // namespace vekla
