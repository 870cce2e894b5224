#pragma once
// Readers and writers of the four database kinds. Every reader parses the
// whole file into a copy of the state and replaces the state only when the
// parse is complete, so a malformed file changes nothing (it throws
// VeklaError with one clear Czech message naming the file). Every writer
// shows its own save dialog and writes the file atomically.
#include <QString>

#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// `firstDialog`: the file was chosen through the first import command.
void ReadGrades(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
void ReadGradePreferences(VeklaState& s, Prompter& p, const QString& path);
void WriteGrades(VeklaState& s, Prompter& p);

void ReadTimetable(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
void WriteTimetable(VeklaState& s, Prompter& p);

void ReadTopicPlans(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
void ReadCalendar(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
// Topic plans and calendar: parameters from the current kind.
void WriteRowRecords(VeklaState& s, Prompter& p);

}  // namespace vekla
