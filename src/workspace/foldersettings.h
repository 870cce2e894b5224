#pragma once
// What the folders dialog shows and changes: where the handheld's backups
// are, the first import folder, and, to be looked at only, the folders the
// program itself uses.
#include <QString>
#include <optional>

namespace vekla {

struct FolderSettings {
  // Changed by the dialog. An empty text means "not set".
  QString backupFolder;  // the backup folder chosen directly (PalmDesktop/Zaloha)
  QString desktopPath;   // the desktop software's folder (PalmDesktop/Path)
  QString userName;      // the handheld user under it (PalmDesktop/LastUserName)
  QString adresar1;      // the first import folder (Nastaveni/Adresar1)
  // Shown only.
  bool desktopValuesEditable = true;  // false where the registry holds them
  QString dataFolder;                 // ProgramDir: vekla.ini and data/
  QString exportFolder;               // where the HTML pages and workbooks go
  std::optional<QString> jpilotFolder;
};

}  // namespace vekla
