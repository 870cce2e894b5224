#pragma once
// The keys of the menu items and tool buttons, and what the status bar says
// while a long command runs. Keys are written as the toolkit's portable
// key texts ("Ctrl+N"); the window binds them and names them in the tool
// buttons' tooltips.
#include <string>
#include <vector>

#include "workspace/controls.h"

namespace vekla {

// The keys bound to a control's own action: the menu items', and those of
// the tool buttons that have no menu item doing the same. A key belongs to
// one action only (two actions on one key would both stay silent).
std::vector<std::string> KeysOf(Ctl c);
// The menu item that does what a tool button does; the button itself when
// there is none.
Ctl MenuTwinOf(Ctl button);
// The key a tool button's tooltip names: its own, else its menu item's.
std::string ToolButtonKey(Ctl button);
// The hint followed by the key in parentheses: "Nový PDB (Ctrl+N)". Code
// page 1250, as the hint.
std::string ToolTipWithKey(const std::string& hint, const std::string& key);
// What the status bar says while the command of a control runs ("Ukládám
// PDB…"), code page 1250; empty for commands too quick to need it.
std::string StatusTextOf(Ctl c);

}  // namespace vekla
