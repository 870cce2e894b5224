#pragma once
// What the time, date and grade-display dialogs read and write: the presets
// taken from the selected cell, the texts they put into it, the values they
// keep between runs (section "Nastaveni2" of vekla.ini) and the four grade
// display options (section "Znamky", gradeoptions.h).
#include <string>

#include "workspace/gradeoptions.h"
#include "workspace/inifile.h"
#include "workspace/prompter.h"

namespace vekla {

// "07:50" gives 7 and 50; every character that is not a digit counts as 0,
// a short text is filled with zeros, so an empty cell gives 0 and 0. Values
// beyond the dialog's ranges are brought into them.
TimeOfDay TimePresetFromCell(std::string_view text);
// "hh:mm", two digits each.
std::string TimeResultText(TimeOfDay t);

// The day before the first "." and the month in the (at most) two
// characters after it; a part that is missing, not a number or out of range
// keeps the value of `last`.
DayMonth DatePresetFromCell(std::string_view text, DayMonth last);
// The day cut to the month's length (29 in February), then "d.m" without
// leading zeros.
std::string DateResultText(DayMonth d);

// The dialogs' last values, kept in section "Nastaveni2".
TimeOfDay LastTime(const IniFile& settings);
DayMonth LastDate(const IniFile& settings);
void KeepTime(IniFile& settings, TimeOfDay t);
void KeepDate(IniFile& settings, DayMonth d);

}  // namespace vekla
