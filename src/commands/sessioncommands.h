#pragma once
// What the window needs of the program as a whole: its title, the question
// before it closes with edits no database has, the recently used
// databases, and a file given by dropping it or choosing it from that list.
#include <QString>
#include <string>
#include <vector>

#include "commands/outcome.h"
#include "workspace/history.h"
#include "workspace/prompter.h"
#include "workspace/recentfiles.h"
#include "workspace/state.h"

namespace vekla {

// "2. pol. 2004/2005 – Znamky-7a" on the grade book (the semester shown in
// the semester box), "Rozvrh – Vekla-A" on the other tabs.
std::string WindowTitle(const VeklaState& s);

// The question before closing when tabs hold edits not saved to a
// database ("Rozvrh a Rozpisy nejsou uloženy do PDB. Přesto zavřít?"); empty
// when none does.
std::string CloseQuestion(const VeklaState& s);

// A file dropped on the window or chosen from the recent files: a database
// opens on the tab of its kind (its creator and type, else its name, else
// the current tab), asking first about unsaved edits as an open does; a CSV
// file is imported into the current tab. A file that is gone leaves the
// recent files with a message. Opening starts the tab's history afresh.
Outcome OpenGivenFile(VeklaState& s, Prompter& p, Histories& h, const QString& path);

}  // namespace vekla
