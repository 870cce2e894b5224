#pragma once
// The welcome of the first start: what the program does, and three ways
// on: find the handheld's backup folder, open the sample class, or start
// with an empty grade book.
#include <QString>
#include <string>

#include "commands/outcome.h"
#include "workspace/history.h"
#include "workspace/palmdesktop.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// Whether the window shows the welcome when it starts: no handheld folder
// is known and the teacher has not turned the welcome off.
bool ShouldWelcome(const VeklaState& s);

// "známky 3, rozpisy 1, kalendář 1": the kinds found, in tab order.
std::string DescribeFound(const FoundDatabases& found);

// "Najít složku zálohy z handheldu…": the folder dialog; a folder that holds
// at least one of the four kinds' databases becomes the backup folder
// (vekla.ini, PalmDesktop/Zaloha) and the message says what it holds. True
// when a folder was stored.
bool ChooseBackupFolder(VeklaState& s, Prompter& p);

// "Otevřít ukázkovou třídu": the shipped sample (`shipped`, a grade book as
// CSV) is copied into the data folder and imported on the grade book's tab
// from there, so the shipped file is never touched. Done when the sample
// was opened; its tab's history starts afresh then.
Outcome OpenSample(VeklaState& s, Prompter& p, Histories& h, const QString& shipped);

// The welcome, until the teacher takes one of its ways: a folder dialog that
// was cancelled or found nothing comes back to it. Done when the sample was
// opened (the grid changed), otherwise Cancelled.
Outcome WelcomeClick(VeklaState& s, Prompter& p, Histories& h, const QString& shippedSample);

}  // namespace vekla
