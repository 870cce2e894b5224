#pragma once
// The handheld desktop software's folders. On Windows the two values come
// from the registry; elsewhere from vekla.ini, section PalmDesktop, keys Path
// and LastUserName; when neither is set and a J-Pilot folder exists, its
// backup folder is used.
#include <QString>
#include <optional>
#include <string>

namespace vekla {

class IniFile;

// The two values of the desktop software; nullopt when the key is missing.
struct PalmDesktopValues {
  std::optional<QString> path;          // install folder ("Path" of ...\Core)
  std::optional<QString> lastUserName;  // "LastUserName" of ...\Preferences
};

PalmDesktopValues ReadPalmDesktopValues(const IniFile& settings);
QString PalmUserName(const PalmDesktopValues& v);
// Path + sep + first 6 characters of the user name + sep + "Backup" + sep, as
// the rules compose it ("\" on Windows, "/" elsewhere).
QString PalmBackupFolder(const PalmDesktopValues& v);
// The J-Pilot folder ($JPILOT_HOME/.jpilot or $HOME/.jpilot) when it exists.
std::optional<QString> JPilotFolder();
// The backup folder to use: the desktop software's, else J-Pilot's backup/.
QString EffectiveBackupFolder(const IniFile& settings);
// Hands a .PDB/.PRC file to the synchronisation: queues it in
// .jpilot/jpilot.install when J-Pilot is used (returns true); otherwise false
// and the caller uses the shell's "open".
bool QueueForJPilot(const IniFile& settings, const QString& file);

}  // namespace vekla
