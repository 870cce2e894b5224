#include "commands/sessioncommands.h"

#include <QFileInfo>
#include <algorithm>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/undocommands.h"
#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/text.h"
#include "workspace/kindparams.h"

namespace vekla {

namespace {

// What the title and the close question call a tab, and whether the word
// is plural ("Známky", "Rozpisy") or not ("Rozvrh", "Kalendář").
bool PluralCaption(DbKind k) { return Params(k).pluralCaption; }

}  // namespace

std::string WindowTitle(const VeklaState& s) {
  const std::string what =
      Params(s.kind).semesterStore && !s.semesterText.empty() ? s.semesterText : KindTabCaption(s.kind);
  return what + cp(" – ") + s.EditN;
}

std::string CloseQuestion(const VeklaState& s) {
  std::vector<DbKind> kinds;
  for (DbKind k : kAllKinds)
    if (s.unsaved[static_cast<std::size_t>(k)]) kinds.push_back(k);
  if (kinds.empty()) return {};
  std::string names;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (i > 0) names += i + 1 == kinds.size() ? " a " : ", ";
    names += KindTabCaption(kinds[i]);
  }
  const bool plural = kinds.size() > 1 || PluralCaption(kinds.front());
  return names + (plural ? cp(" nejsou uloženy do PDB.") : cp(" není uložen do PDB.")) + cp(" Přesto zavřít?");
}

Outcome OpenGivenFile(VeklaState& s, Prompter& p, Histories& h, const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile()) {
    ForgetRecentFile(s, path);
    p.message(cp("Soubor ") + NativePath(path) + cp(" už neexistuje, ze seznamu posledních souborů byl odebrán."));
    return Outcome::Refused;
  }
  const QString suffix = info.suffix().toLower();
  if (suffix == QLatin1String("csv")) {
    const ImportCodec codec = KindTable(s.kind).importer(Conversion::ImportCsv);
    return codec ? ImportClick(s, p, codec, path) : Outcome::Refused;
  }
  if (suffix != QLatin1String("pdb")) {
    p.message(cp("Soubor ") + NativePath(path) + cp(" není databáze PDB ani soubor CSV."));
    return Outcome::Refused;
  }
  std::optional<DbKind> kind;
  try {
    const PdbHeader header = PdbFile::loadHeader(path);
    kind = KindFromCreatorType(header.creator, header.type);
  } catch (const VeklaError&) {
    // A damaged header is reported by the open itself.
  }
  if (!kind) kind = KindFromFileName(path);
  // The edits the file would replace are asked about before the window
  // leaves the tab shown, naming the tab they are on.
  if (!MayDiscardEditsOf(s, p, kind.value_or(s.kind))) return Outcome::Cancelled;
  if (kind && *kind != s.kind) {
    TabSet1Change(s, p, static_cast<int>(*kind));
    ResumeHistory(s, h);
  }
  const Outcome outcome = OpenDatabase(s, p, path, true);
  if (outcome == Outcome::Done) StartHistory(s, h);
  return outcome;
}

}  // namespace vekla
