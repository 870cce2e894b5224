#include "commands/undocommands.h"

#include <utility>

#include "commands/commands.h"
#include "pdb/text.h"
#include "workspace/kindparams.h"
#include "workspace/semesters.h"

namespace vekla {

namespace {

// The semester store belongs to the grade book's history from the start: an
// import may load and change it in one command.
void LoadStore(VeklaState& s) {
  if (Params(s.kind).semesterStore) GradesIni(s);
}

// After a step is undone or redone: the current cell's buttons, the widths
// of what changed, and the unsaved mark as the history knows it.
Outcome Finish(VeklaState& s, const EditHistory& history) {
  SelectCurrentCell(s);
  s.grid.autoSizeColumns();
  s.unsaved[static_cast<std::size_t>(s.kind)] = !history.atSaved();
  return Outcome::Done;
}

}  // namespace

void StartHistory(VeklaState& s, Histories& h) {
  LoadStore(s);
  h.of(s.kind).reset(s);
}

void ResumeHistory(VeklaState& s, Histories& h) {
  LoadStore(s);
  EditHistory& history = h.of(s.kind);
  if (!history.started() || !history.resume(s)) history.reset(s);
}

bool RecordEdit(VeklaState& s, Histories& h, const std::string& label, bool merge) {
  return h.of(s.kind).record(s, label, merge);
}

void NoteSaved(VeklaState& s, Histories& h) { h.of(s.kind).markSaved(s); }

StepResult RunStep(VeklaState& s, Prompter& p, Histories& h, const std::function<Outcome()>& command,
                   const std::string& label, Track track) {
  const Outcome outcome = RunCommand(s, p, command);
  const std::string name = label.empty() ? cp("úprava") : label;
  bool changed = outcome == Outcome::Done && track != Track::Resume;
  switch (track) {
    case Track::Edit: changed = RecordEdit(s, h, name); break;
    case Track::Merge: changed = RecordEdit(s, h, name, true); break;
    case Track::Start:
      if (outcome == Outcome::Done) StartHistory(s, h);
      else changed = RecordEdit(s, h, name);
      break;
    case Track::Save:
      if (outcome == Outcome::Done) NoteSaved(s, h);
      else changed = RecordEdit(s, h, name);
      break;
    case Track::Resume: ResumeHistory(s, h); break;
    case Track::None: break;
  }
  return {outcome, changed};
}

bool TakeBackWeightClick(VeklaState& s, Histories& h, CellPos at) {
  const VeklaState::WeightClick click = std::exchange(s.weightClick, {});
  // Only when nothing has changed the grid since the click and its step is
  // the last one done.
  if (!click.valid || !(click.at == at) || !(s.grid.mark() == click.mark) ||
      s.grid.fontColor(at.col, at.row) != click.after)
    return false;
  EditHistory& history = h.of(s.kind);
  if (!history.canUndo() || history.undoLabel() != WeightClickStep()) return false;
  history.undo(s);
  Finish(s, history);
  return true;
}

Outcome UndoClick(VeklaState& s, Histories& h) {
  EditHistory& history = h.of(s.kind);
  if (!history.canUndo()) return Outcome::Refused;
  history.undo(s);
  return Finish(s, history);
}

Outcome RedoClick(VeklaState& s, Histories& h) {
  EditHistory& history = h.of(s.kind);
  if (!history.canRedo()) return Outcome::Refused;
  history.redo(s);
  return Finish(s, history);
}

std::string UndoCaption(const VeklaState& s, const Histories& h) {
  const EditHistory& history = h.of(s.kind);
  return history.canUndo() ? cp("Zpět: ") + history.undoLabel() : cp("Zpět");
}

std::string RedoCaption(const VeklaState& s, const Histories& h) {
  const EditHistory& history = h.of(s.kind);
  return history.canRedo() ? "Znovu: " + history.redoLabel() : std::string("Znovu");
}

}  // namespace vekla
