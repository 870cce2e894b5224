#pragma once
// Everything that asks the user or the desktop goes through a Prompter: the
// window implements it with Qt dialogs, the converter with its options, the
// tests with scripted answers. Texts are code page 1250.
#include <QString>
#include <optional>
#include <string>

#include "pdb/color.h"
#include "pdb/text.h"
#include "workspace/foldersettings.h"

namespace vekla {

struct FileDialogRequest {
  std::string title;   // empty: the toolkit's default title
  std::string filter;  // "caption|pattern|caption|pattern", as the rules write it
  QString initialDir;
  QString fileName;        // proposed file name (save dialogs)
  std::string defaultExt;  // "PDB"
  bool overwritePrompt = false;
};

// The values of the time dialog "Hodiny" and the date dialog "Datum".
struct TimeOfDay {
  int hours = 0;
  int minutes = 0;
};
struct DayMonth {
  int day = 1;
  int month = 1;
};

// The three ways on from the welcome shown at the first start.
enum class WelcomeChoice {
  FindFolder,  // "Najít složku zálohy z handheldu…"
  Sample,      // "Otevřít ukázkovou třídu"
  EmptyBook,   // "Začít s prázdnou knihou", and closing the welcome
};
struct WelcomeAnswer {
  WelcomeChoice choice = WelcomeChoice::EmptyBook;
  bool showAgain = true;  // unticked "Zobrazit při dalším spuštění"
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A file chosen in an open or save dialog; nullopt when cancelled.
  virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
  // An OK message box (warning or information).
  virtual void message(const std::string& text) = 0;
  // A failure that ended the command (the error box).
  virtual void error(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool question(const std::string& text) = 0;
  // A Yes/No question whose Yes throws work away or removes something: No
  // is the default answer, so a hasty Enter keeps the teacher's data.
  virtual bool questionDefaultNo(const std::string& text) { return question(text); }
  // Whether a grade-book save takes semester `index` (1-based, in the order
  // of the semester box) besides the shown one; the window asks it as a
  // question, the converter answers from its options.
  virtual bool includeSemester(int index, const std::string& label) {
    (void)index;
    return question(cp("Uložit také pololetí ") + label + "?");
  }
  // Whether a save may replace the file `path`, which exists. The window
  // asks; the converter writes its output as told.
  virtual bool confirmOverwrite(const QString& path) {
    return questionDefaultNo(cp("Soubor ") + NativePath(path) + cp(" už existuje. Přepsat ho?"));
  }
  // The colour dialog starting on `initial`; nullopt when cancelled.
  virtual std::optional<Color> chooseColor(Color initial) = 0;
  // The time dialog preset to `preset`, its minutes stepping by `minuteStep`;
  // the date dialog preset to `preset`. nullopt when cancelled (and where
  // there is no one to ask).
  virtual std::optional<TimeOfDay> chooseTime(TimeOfDay preset, int minuteStep) {
    (void)preset, (void)minuteStep;
    return std::nullopt;
  }
  virtual std::optional<DayMonth> chooseDate(DayMonth preset) {
    (void)preset;
    return std::nullopt;
  }
  // The progress label `Lpohyb` changed and must be repainted now.
  virtual void progress(const std::string& text) = 0;
  // Where an export without a save dialog puts its files: `proposed` is a
  // folder (ending in "/") or one file in ProgramDir. The window keeps it;
  // the converter answers with its output.
  virtual QString exportTarget(const QString& proposed) { return proposed; }
  // The shell's "open" verb on a file; false when no program took it.
  virtual bool shellOpen(const QString& path) = 0;

  // An OK message about files just written, with a button "Otevřít složku"
  // for `folder`; true when the teacher chose that button (the command then
  // opens the folder). Where there is no one to ask, the message alone.
  virtual bool messageOfferingFolder(const std::string& text, const QString& folder) {
    (void)folder;
    message(text);
    return false;
  }
  // The welcome of the first start; where there is no one to ask, an empty book.
  virtual WelcomeAnswer welcome() { return {}; }
  // A folder dialog; nullopt when cancelled.
  virtual std::optional<QString> chooseFolder(const std::string& title, const QString& initialDir) {
    (void)title, (void)initialDir;
    return std::nullopt;
  }
  // The folders dialog on `folders`; true with the changed values on OK.
  virtual bool editFolders(FolderSettings& folders) {
    (void)folders;
    return false;
  }
};

}  // namespace vekla
