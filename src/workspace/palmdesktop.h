#pragma once
// The handheld desktop software's folders. On Windows the two values come
// from the registry; elsewhere from vekla.ini, section PalmDesktop, keys Path
// and LastUserName; when neither is set and a J-Pilot folder exists, its
// backup folder is used. A backup folder the teacher chose herself (key
// Zaloha of the same section, on every platform) comes before all of them.
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "workspace/state.h"

namespace vekla {

class IniFile;

// The two values of the desktop software; nullopt when the key is missing.
struct PalmDesktopValues {
  std::optional<QString> path;          // install folder ("Path" of ...\Core)
  std::optional<QString> lastUserName;  // "LastUserName" of ...\Preferences
  std::optional<QString> backup;        // the backup folder chosen in the program (Zaloha)
};

// The keys of vekla.ini, section PalmDesktop.
inline constexpr const char* kPalmDesktopSection = "PalmDesktop";
inline constexpr const char* kBackupKey = "Zaloha";

PalmDesktopValues ReadPalmDesktopValues(const IniFile& settings);
QString PalmUserName(const PalmDesktopValues& v);
// Path + sep + first 6 characters of the user name + sep + "Backup" + sep, as
// the rules compose it ("\" on Windows, "/" elsewhere).
QString PalmBackupFolder(const PalmDesktopValues& v);
// The J-Pilot folder ($JPILOT_HOME/.jpilot or $HOME/.jpilot) when it exists.
std::optional<QString> JPilotFolder();
// The backup folder to use: the one chosen in the program, else the desktop
// software's, else J-Pilot's backup/; empty when none is known.
QString EffectiveBackupFolder(const IniFile& settings);
QString EffectiveBackupFolder(const PalmDesktopValues& v);
// Whether the handheld's folder is known at all: a folder chosen in the
// program, either value of the desktop software, or a J-Pilot folder. When
// it is not, the commands that need it say so instead of opening whatever
// folder an empty path leads to.
bool HandheldFolderKnown(const IniFile& settings);

// The databases of the four kinds found in a folder (not in its subfolders):
// a .PDB file of any letter case counts for the kind whose creator and type
// it has, else for the kind its name's prefix stands for. The grade books'
// shared preferences database counts apart.
struct FoundDatabases {
  std::array<int, kKindCount> perKind{};  // by DbKind
  bool preferences = false;               // Znamky-db_pref.PDB
  int total() const {
    int n = 0;
    for (int k : perKind) n += k;
    return n;
  }
};
FoundDatabases FindDatabases(const QString& folder);
// Hands a .PDB/.PRC file to the synchronisation: queues it in
// .jpilot/jpilot.install when J-Pilot is used (returns true); otherwise false
// and the caller uses the shell's "open".
bool QueueForJPilot(const IniFile& settings, const QString& file);

}  // namespace vekla
