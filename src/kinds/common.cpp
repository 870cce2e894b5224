#include "kinds/common.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "pdb/error.h"
#include "pdb/text.h"

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

PdbHeaderOut HeaderForFile(VeklaState& s, const QString& chosenPath) {
  DatabaseNameFromFile(s, chosenPath);
  return HeaderFromPanel(s);
}

void ThrowMalformed(const QString& path, const std::string& cpDetail) {
  throw VeklaError(cp("Soubor \"") + NativePath(path) + cp("\" nelze načíst: poškozená databáze (") + cpDetail + ").");
}

int FieldsShown(std::size_t fields, int columns, bool& cut) {
  columns = std::max(columns, 0);
  if (fields <= static_cast<std::size_t>(columns)) return static_cast<int>(fields);
  cut = true;
  return columns;
}

void LogCutFields(VeklaState& t, int columns) {
  Log(t, cp("Záznamy databáze mají víc polí, než má tabulka sloupců (") + std::to_string(columns) +
             cp("); nadbytečná pole nebyla načtena."));
}

std::string PercentText(double share) { return std::to_string(static_cast<long long>(std::nearbyint(share))) + " %"; }

}  // namespace vekla
