#pragma once
// The menu items and tool buttons of the window, one row each: where it
// stands, its caption, mnemonic and keys, what the status bar says while it
// runs, the rule that enables it, the command it runs and how that command
// joins the tab's history. The window only turns the rows into menus, tool
// buttons and connections and runs them through RunAction, which the tests
// run headless the same way.
//
// A new action is one name in VEKLA_CONTROLS (workspace/controls.h) and one
// row in actions.cpp: a menu item names its menu, a row without one is a
// tool button (with its picture in src/app/icons/, listed in
// src/app/resources.qrc); a tool button that does what a menu item does
// names it as its twin and takes its command, keys and status text.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "commands/kindtable.h"
#include "commands/outcome.h"
#include "commands/undocommands.h"
#include "workspace/controls.h"
#include "workspace/history.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// What the clipboard holds: the text (code page 1250) and the weights of a
// block copied in Vekla (empty from other programs).
struct ClipboardContent {
  std::string text;
  std::string weights;
};

// What only the window can do for a command: the selection of its grid,
// the clipboard, its own windows and the printer.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The grid's selected cells; the current one when none is selected.
  virtual std::vector<CellPos> selectedCells() const = 0;
  virtual void setClipboard(const ClipboardContent& content) = 0;
  virtual ClipboardContent clipboard() = 0;
  // The grade display options, shown without blocking the window.
  virtual void showGradeOptions() = 0;
  virtual void showAbout() = 0;
  // The user guide at `path` in the help window; false when it cannot be read.
  virtual bool showGuide(const QString& path) = 0;
  virtual void closeWindow() = 0;
  // The printed pages of the tab shown: onto the printer the print dialog
  // chooses, or in a preview.
  virtual void printPages() = 0;
  virtual void previewPages() = 0;
  // The per-student report in a preview, for the students in `rows` (grid
  // rows, as ReportStudents gives them; empty: every student).
  virtual void previewReport(const std::vector<int>& rows) = 0;
  // The class overview beside the window, following the grade book.
  virtual void showClassOverview() = 0;
};

// Everything a command of the window works with.
struct ActionContext {
  VeklaState& s;
  Prompter& p;
  Histories& h;
  WindowHost& host;
  QString applicationDir;  // where the shipped files are looked for
  // The name of the step the command records; a command that counts what
  // it changed names the step itself ("vložení 3 buněk").
  std::string step;
};

using ActionCommand = Outcome (*)(ActionContext&);
using ActionRule = bool (*)(const VeklaState&, const Histories&);
using ActionCaption = std::string (*)(const VeklaState&, const Histories&);

// One menu item or tool button. Texts are code page 1250.
struct ActionDef {
  Ctl name;
  std::string menu;               // the menu of a menu item ("Soubor"); empty for a tool button
  std::string caption;            // the menu item's caption or the tool button's hint
  char letter = 0;                // the menu item's mnemonic letter (Alt), case ignored
  std::vector<std::string> keys;  // portable key texts ("Ctrl+N"), bound to this action only
  Ctl twin;                       // the menu item a tool button does the same as; itself otherwise
  std::string status;             // shown while the command runs; empty for quick ones
  std::string statusTip;          // shown while the pointer is on the menu item
  bool separated = false;         // a menu item that starts a group: a line above it
  std::string icon;               // a tool button's picture: icons/<icon>.svg of the window's resources
  // The kind's codec of the table of kinds it runs (itself, or through `run`
  // when the row has one), and which kinds it is enabled for.
  std::optional<Conversion> conversion;
  Track track = Track::Edit;
  std::string step;  // the step's name ("přidání řádku"); "úprava" when empty
  ActionCommand run = nullptr;
  ActionRule enabled = nullptr;   // nullptr: the control's flag and the table of kinds
  ActionCaption shown = nullptr;  // nullptr: the control's caption, else the row's
};

// Every row: the menu items in menu order, then the tool buttons left to right.
const std::vector<ActionDef>& Actions();
// The row of a control; nullptr for a control that is no action (a panel).
const ActionDef* FindAction(Ctl name);
// The row whose command, keys and status text a control uses: a tool
// button's twin, else its own.
const ActionDef& CommandRowOf(Ctl name);

// The keys bound to a control's own action.
std::vector<std::string> KeysOf(Ctl name);
// The key a tool button's tooltip names: its own, else its twin's.
std::string ToolButtonKey(Ctl name);
// The hint followed by the key in parentheses: "Nový PDB (Ctrl+N)".
std::string ToolTipOf(Ctl name);
// What the status bar says while the command of a control runs.
std::string StatusTextOf(Ctl name);
// The name of a step that changed `n` cells: "vyjmutí buňky", "vyjmutí 5
// buněk" for the verb "vyjmutí" (UTF-8 in, code page 1250 out).
std::string CountedStep(const char* verb, std::size_t n);
// A caption with "&" before the mnemonic letter (a "&" of the caption
// doubled), as the toolkit marks it: "&Nový", "Z&novu".
std::string WithMnemonic(const std::string& caption, char letter);
// The menu's title in the menu bar: its first letter for Alt, except
// "Nápověda", whose Alt+N is "Nastavení"'s.
std::string MenuTitle(const std::string& menu);

// The conversion a control runs; nullopt for other controls.
std::optional<Conversion> ConversionOf(Ctl name);
// Whether the command behind a control exists for the kind; controls of
// commands that do not are shown disabled.
bool IsImplemented(DbKind kind, Ctl name);

// The students a report is for, by the grid's selection: the student rows
// among `selected` when more than one cell is selected, else none (every
// student).
std::vector<int> ReportStudents(const VeklaState& s, const std::vector<CellPos>& selected);

// What a control shows now.
struct ActionView {
  bool enabled = false;
  bool visible = false;
  std::string caption;
};
ActionView ViewOf(const VeklaState& s, const Histories& h, Ctl name);

// Runs the action of a control as a click does: nothing (Refused) when its
// rule disables or hides it; otherwise its command through RunStep, named
// and recorded as its row says.
StepResult RunAction(ActionContext& c, Ctl name);

}  // namespace vekla
