#pragma once
// Undo and redo in the window: each tab keeps its own history of edits
// (workspace/history.h); these commands record a command's changes as one
// step, start a history afresh, and undo or redo a step with everything
// that follows from it (the current cell and its buttons, the unsaved mark).
#include <functional>
#include <string>
#include <type_traits>

#include "commands/outcome.h"
#include "workspace/history.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// A new history for the current tab: after an open, "Nový" or a semester
// switch, what came before belongs to another database or semester.
void StartHistory(VeklaState& s, Histories& h);
// After a tab switch: the tab's history goes on when the tab shows what it
// left, else it starts afresh.
void ResumeHistory(VeklaState& s, Histories& h);
// What the last command changed becomes one step named `label`
// ("smazání 10 buněk"); true when it changed anything.
// With `merge`, a panel field typed letter by letter is one step.
bool RecordEdit(VeklaState& s, Histories& h, const std::string& label, bool merge = false);
// The tab's state is now the database's (after a save).
void NoteSaved(VeklaState& s, Histories& h);

// How a command joins the tab's history.
enum class Track {
  Edit,    // what it changed is one step, named by its label
  Merge,   // the same; a panel field typed letter by letter stays one step
  Start,   // done: a new history (an open, "Nový"); otherwise as Edit
  Save,    // done: the tab's state is the saved one; otherwise as Edit
  Resume,  // the tab's history taken up again (a tab switch)
  None,    // not recorded (undo and redo, dialogs that change no data)
};
// What a command did and whether it changed anything the history keeps
// (a step recorded, a database opened or saved).
struct StepResult {
  Outcome outcome = Outcome::Done;
  bool changed = false;
};
// The one way the window runs a command: through RunCommand (errors in the
// error box, the semester store written), then recorded as `track` says
// under `label` ("úprava" when empty).
StepResult RunStep(VeklaState& s, Prompter& p, Histories& h, const std::function<Outcome()>& command,
                   const std::string& label, Track track);
// The same for a command that returns nothing (it is done when it returns)
// or its Outcome.
template <class F>
StepResult RunAnyStep(VeklaState& s, Prompter& p, Histories& h, F&& command, const std::string& label, Track track) {
  return RunStep(
      s, p, h,
      [&] {
        if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
          command();
          return Outcome::Done;
        } else {
          return command();
        }
      },
      label, track);
}

// A paste that starts on the grade a plain click has just given the pressed
// weight: the click chose where the block goes, so its weight is taken back
// and its step leaves the history. True when it was.
bool TakeBackWeightClick(VeklaState& s, Histories& h, CellPos at);

Outcome UndoClick(VeklaState& s, Histories& h);
Outcome RedoClick(VeklaState& s, Histories& h);

// The menu captions: "Zpět: smazání 10 buněk", or "Zpět" with nothing to
// undo; the same with "Znovu".
std::string UndoCaption(const VeklaState& s, const Histories& h);
std::string RedoCaption(const VeklaState& s, const Histories& h);

}  // namespace vekla
