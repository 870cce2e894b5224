#include "kinds/common.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "pdb/error.h"
#include "pdb/text.h"
#include "workspace/checks.h"

namespace vekla {

void FillPanelFromHeader(VeklaState& s, const PdbHeader& h) {
  s.EditN = h.name;
  s.EditDV = PalmTimeToDateText(h.created);
  s.EditCV = PalmTimeToTimeText(h.created);
  s.EditDZ = PalmTimeToDateText(h.modified);
  s.EditCZ = PalmTimeToTimeText(h.modified);
  s.EditTD = h.type;
  s.EditC = h.creator;
}

VeklaState ReadingCopy(const VeklaState& s, const PdbFile& pdb, const QString& path, bool firstDialog) {
  VeklaState t = s;
  if (firstDialog) t.adresar1 = QFileInfo(path).absolutePath() + "/";
  FillPanelFromHeader(t, pdb.header());
  return t;
}

std::optional<QString> AskSaveFile(VeklaState& s, Prompter& p) {
  if (s.EditN.empty()) s.EditN = s.prefix;
  FileDialogRequest request;
  request.filter = s.dialogFilter;
  request.initialDir = s.adresar1;
  request.fileName = toQt(s.EditN + ".PDB");
  request.defaultExt = "PDB";
  request.overwritePrompt = true;
  return p.saveFile(request);
}

void WarnWrongPrefix(VeklaState& s, Prompter& p, const QString& chosenPath) {
  const std::string f = fromQt(QFileInfo(chosenPath).fileName());
  if (f.compare(0, s.prefix.size(), s.prefix) != 0 || f.size() < s.prefix.size())
    p.message(cp("Databáze se takto nemůže jmenovat: ") + NativePath(chosenPath));
}

std::string DatabaseNameFromFile(VeklaState& s, const QString& chosenPath) {
  const std::string f = fromQt(QFileInfo(chosenPath).fileName());
  const std::size_t plen = s.prefix.size();
  std::string rest;
  if (f.size() > plen + 4) rest = f.substr(plen, f.size() - 4 - plen);
  std::string name = s.prefix + rest;
  if (name.empty()) name = s.prefix;
  if (name.size() > 31) name.resize(31);
  s.EditN = name;
  return name;
}

PdbHeaderOut HeaderFromPanel(VeklaState& s) {
  PdbHeaderOut h;
  if (s.EditN.size() > 31) s.EditN.resize(31);
  h.name = s.EditN;
  h.created = DateTimeToPalmTime(s.EditDV, s.EditCV);
  h.modified = DateTimeToPalmTime(s.EditDZ, s.EditCZ);
  if (s.EditTD.empty()) s.EditTD = s.type;
  if (s.EditTD.size() > 4) s.EditTD.resize(4);
  if (s.EditC.empty()) s.EditC = s.creator;
  if (s.EditC.size() > 4) s.EditC.resize(4);
  h.type = s.EditTD;
  h.creator = s.EditC;
  return h;
}

std::optional<QString> ChooseSaveFile(VeklaState& s, Prompter& p) {
  std::optional<QString> chosen = AskSaveFile(s, p);
  if (chosen) WarnWrongPrefix(s, p, *chosen);
  return chosen;
}

PdbHeaderOut HeaderForFile(VeklaState& s, const QString& chosenPath) {
  DatabaseNameFromFile(s, chosenPath);
  return HeaderFromPanel(s);
}

std::optional<SaveTarget> ChooseSaveTargetCheckingCells(VeklaState& s, Prompter& p) {
  const std::optional<QString> chosen = ChooseSaveFile(s, p);
  if (!chosen) {
    ShowProgress(s, p, "");
    return std::nullopt;
  }
  CheckAllCells(s, p);
  return SaveTarget{*chosen, HeaderForFile(s, *chosen)};
}

void WritePdbAndClearProgress(VeklaState& s, Prompter& p, const QString& path, const PdbHeaderOut& header,
                              const std::vector<PdbRecord>& records) {
  try {
    WritePdb(path, header, records);
  } catch (...) {
    ShowProgress(s, p, "");
    throw;
  }
  ShowProgress(s, p, "");
}

void ThrowMalformed(const QString& path, const std::string& cpDetail) {
  throw VeklaError(cp("Soubor \"") + NativePath(path) +
                   cp("\" nelze načíst: poškozená databáze (") + cpDetail + ").");
}

std::string PercentText(double share) {
  return std::to_string(static_cast<long long>(std::nearbyint(share))) + " %";
}

}  // namespace vekla
