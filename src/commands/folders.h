#pragma once
// The folders the window works with: where the handheld's backups are (set
// in the folders dialog or found at the first start), where the exports go,
// and the files shipped with the program (the user guide, the sample class).
#include <QString>

#include "commands/outcome.h"
#include "workspace/foldersettings.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// A portable install: the program's folder is writable and already holds
// vekla.ini or the marker file vekla-portable.
bool IsPortableInstall(const QString& applicationDir);

// Where the HTML pages and the workbooks go, with a trailing "/": the
// folder "Vekla" in the user's documents, where the teacher finds them;
// empty (ProgramDir, as before) when VEKLA_HOME is set or the install is
// portable, so that everything stays in the one folder chosen for it.
QString ResolveExportDir(const QString& applicationDir);
// The folder that holds html/ and excel/ for the state.
QString ExportFolder(const VeklaState& s);

// A file shipped with the program, `relative` to its documentation folder:
// share/doc/vekla/ beside the installed program's bin/, or the same folder
// in the build folder (the build copies the guide and the samples there).
// Empty when it is in neither.
QString FindShippedFile(const QString& applicationDir, const QString& relative);

// The folders dialog ("Nastavení" → "Složky…").
FolderSettings CurrentFolderSettings(const VeklaState& s);
// Stores what the dialog changed in vekla.ini (an emptied value removes its
// key) and in the state.
void ApplyFolderSettings(VeklaState& s, const FolderSettings& f);
Outcome SlozkyClick(VeklaState& s, Prompter& p);

// For a command that needs the handheld's folder: true when it is known;
// otherwise says so (`why`, code page 1250), offers the folders dialog, and
// is true only when a folder was set there.
bool NeedHandheldFolder(VeklaState& s, Prompter& p, const std::string& why);

}  // namespace vekla
