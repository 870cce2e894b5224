#include "commands/firstrun.h"

#include <QDir>
#include <QFileInfo>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/kindtable.h"
#include "commands/undocommands.h"
#include "pdb/error.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "workspace/datafolder.h"
#include "workspace/inifile.h"
#include "workspace/kindparams.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

// vekla.ini, section Nastaveni: "0" when the teacher turned the welcome off.
constexpr const char* kWelcomeKey = "Uvitani";

void saveSettings(VeklaState& s) { s.settings.save(s.programDir + "vekla.ini"); }

}  // namespace

bool ShouldWelcome(const VeklaState& s) {
  return s.settings.get("Nastaveni", kWelcomeKey, "1") != "0" && !HandheldFolderKnown(s.settings);
}

std::string DescribeFound(const FoundDatabases& found) {
  std::string text;
  for (DbKind k : kAllKinds) {
    const int n = found.perKind[static_cast<std::size_t>(k)];
    if (n == 0) continue;
    if (!text.empty()) text += ", ";
    text += lowerCp(KindTabCaption(k)) + " " + std::to_string(n);
  }
  return text;
}

bool ChooseBackupFolder(VeklaState& s, Prompter& p) {
  const std::optional<QString> folder = p.chooseFolder(cp("Složka zálohy z handheldu"), QDir::homePath());
  if (!folder) return false;
  const FoundDatabases found = FindDatabases(*folder);
  if (found.total() == 0) {
    p.message(cp("Ve složce ") + NativePath(*folder) +
              cp(" není žádná databáze Vekly (Znamky-…, Rozpisy-…, Vekla-…, vekla-datum). Zvolte složku, do které "
                 "synchronizace ukládá zálohu z handheldu."));
    return false;
  }
  s.settings.set(kPalmDesktopSection, kBackupKey, fromQt(QDir::cleanPath(*folder)));
  saveSettings(s);
  // Grade books without the shared preferences open with a message each
  // time: said here once, so that it does not come as a surprise.
  const bool noPreferences = found.perKind[static_cast<std::size_t>(DbKind::Znamky)] > 0 && !found.preferences;
  p.message(cp("Ve složce ") + NativePath(*folder) + cp(" jsou databáze: ") + DescribeFound(found) +
            cp(".\nSložka je uložena jako složka zálohy z handheldu; databáze z ní otevře „Import z adresáře "
               "BackUp“.") +
            (noPreferences ? cp("\nChybí v ní databáze Znamky-db_pref.PDB s nastavením známek; při otevření "
                                "známek na to Vekla upozorní.")
                           : std::string()));
  return true;
}

Outcome OpenSample(VeklaState& s, Prompter& p, Histories& h, const QString& shipped) {
  if (shipped.isEmpty() || !QFileInfo(shipped).isFile()) {
    p.message(cp("Ukázková třída nebyla nalezena mezi soubory programu."));
    return Outcome::Refused;
  }
  // A copy in the data folder: the shipped file stays as it came.
  EnsureDataDir(s);
  const QString copy = DataDir(s) + "ukazka/" + QFileInfo(shipped).fileName();
  if (!QDir().mkpath(QFileInfo(copy).absolutePath()))
    throw VeklaError(cp("Složku ") + NativePath(QFileInfo(copy).absolutePath()) + cp(" nelze vytvořit."));
  WriteFileAtomic(copy, ReadWholeFile(shipped));

  // The sample is a grade book, whatever tab is shown: it opens on its own.
  if (s.kind != DbKind::Znamky) {
    TabSet1Change(s, p, static_cast<int>(DbKind::Znamky));
    ResumeHistory(s, h);
  }
  const Outcome outcome = ImportClick(s, p, KindTable(DbKind::Znamky).importer(Conversion::ImportCsv), copy);
  if (outcome != Outcome::Done) return outcome;
  // The class under its own name, as a database of it would be; a sample
  // holds no work of the teacher's, so it counts as saved. What the import
  // of a CSV file reports (every grade given the first weight) is about the
  // sample, not about anything she did: the log starts empty.
  s.EditN = fromQt(QFileInfo(copy).completeBaseName());
  s.Memo1.clear();
  MarkSaved(s);
  SaveKind(s);
  StartHistory(s, h);
  return Outcome::Done;
}

Outcome WelcomeClick(VeklaState& s, Prompter& p, Histories& h, const QString& shippedSample) {
  for (;;) {
    const WelcomeAnswer answer = p.welcome();
    const std::string shown = answer.showAgain ? "1" : "0";
    if (s.settings.get("Nastaveni", kWelcomeKey, "1") != shown) {
      s.settings.set("Nastaveni", kWelcomeKey, shown);
      saveSettings(s);
    }
    switch (answer.choice) {
      case WelcomeChoice::FindFolder:
        if (ChooseBackupFolder(s, p)) return Outcome::Cancelled;
        break;  // back to the welcome
      case WelcomeChoice::Sample: {
        const Outcome outcome = OpenSample(s, p, h, shippedSample);
        if (outcome == Outcome::Done) return outcome;
        if (outcome == Outcome::Cancelled) return Outcome::Cancelled;
        break;
      }
      case WelcomeChoice::EmptyBook: return Outcome::Cancelled;
    }
  }
}

}  // namespace vekla
