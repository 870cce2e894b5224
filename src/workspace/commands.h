#pragma once
// The commands of the main window: the window's events, the menu items and
// the tool buttons. Each is a function of the state and a Prompter, so the
// window, the converter and the tests run the same code.
#include <QString>
#include <functional>
#include <string>

#include "workspace/prompter.h"
#include "workspace/state.h"

namespace vekla {

// ProgramDir: VEKLA_HOME when set, else the program's folder when writable,
// else the per-user data folder; with a trailing "/".
QString ResolveProgramDir(const QString& applicationDir);

// Window events.
void FormCreate(VeklaState& s, const QString& programDir);  // settings, Adresar1, user name, tab index
void FormActivate(VeklaState& s, Prompter& p);               // first activation: setup and load
void FormClose(VeklaState& s, Prompter& p);
void TabSet1Change(VeklaState& s, Prompter& p, int newIndex);
int FormResizeWidth(int width);                              // never narrower than 690

// File menu.
void NovyClick(VeklaState& s, Prompter& p);
void OtevriClick1(VeklaState& s, Prompter& p);  // "Import z 1. adresáře"
void OtevriClick2(VeklaState& s, Prompter& p);  // "Import z adesáře BackUp"
// The open flow after the dialog: clear the log, read by kind, save the working files.
void OpenDatabase(VeklaState& s, Prompter& p, const QString& path, bool firstDialog);
void UlozClick(VeklaState& s, Prompter& p);

// Utility menu and tool bar.
void HotSync(VeklaState& s, Prompter& p);
void MenuTestClick(VeklaState& s, Prompter& p);
void SBchybyClick(VeklaState& s);
void SBnastavitsloupceClick(VeklaState& s);
void SpeedButton1Click(VeklaState& s, Prompter& p);  // highlight colour

// Main grid events.
void StringAlignGridSelectCell(VeklaState& s, int col, int row);
void StringAlignGridAfterEdit(VeklaState& s, int col, int row);
// The grid tool buttons follow the selected cell.
void UpdateGradeButtons(VeklaState& s, int col, int row);
void UpdateTimetableButtons(VeklaState& s, int col, int row);

// Rows and columns of the main grid.
void SBInsertClick(VeklaState& s);
void SBDeleteClick(VeklaState& s, Prompter& p);
void SpeedItemPridatSloupecClick(VeklaState& s);
void SpeedItemOdebratSloupecClick(VeklaState& s, Prompter& p);

// Timetable panel.
void EditRozvrhPolozkaChange(VeklaState& s);
void EditRozvrhLSChange(VeklaState& s);
void SpeedButtonRozvrhClick(VeklaState& s, Prompter& p);

// Whether the command behind a control is built in this version; controls of
// commands that are not are shown disabled.
bool IsImplemented(const std::string& controlName);

// Runs a command: a VeklaError ends it with the error box; GradesIni is
// written once at the end if it changed; the progress label is cleared.
void RunCommand(VeklaState& s, Prompter& p, const std::function<void()>& command);

}  // namespace vekla
