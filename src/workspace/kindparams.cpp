#include "workspace/kindparams.h"

#include <QFileInfo>
#include <algorithm>

#include "pdb/text.h"

namespace vekla {

namespace {

const std::array<KindParams, 4>& table() {
  static const std::array<KindParams, 4> rows = {{
      {DbKind::Znamky, "Znamky-", "Známky", "Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB", "znamky", "databáze známek",
       11, 8, 2, 180, 3, "TqbZ", "data"},
      {DbKind::Rozpisy, "Rozpisy-", "Rozpisy", "Rozpisy PDB|Rozpisy-*.PDB|databáze PDB|*.PDB", "rozpisy", "rozpis", 11,
       9, 1, 54, 2, "TqbR", "data"},
      {DbKind::Rozvrh, "Vekla-", "Rozvrh", "Vekla PDB|Vekla-*.PDB|databáze PDB|*.PDB", "rozvrh", "rozvrh", 24, 9, 1,
       120, 1, "TqbK", "data"},
      {DbKind::Kalendar, "vekla-datum", "Kalendář", "Kalendář PDB|vekla-datum.PDB|databáze PDB|*.PDB", "kalendar",
       "kalendář", 367, 2, 1, 54, 0, "TqbK", "datu"},
  }};
  return rows;
}

}  // namespace

const KindParams& Params(DbKind k) {
  const int i = static_cast<int>(k);
  return table()[static_cast<std::size_t>(i >= 0 && i < 4 ? i : 0)];
}

std::string KindPrefix(DbKind k) { return Params(k).prefix; }
std::string KindFilter(DbKind k) { return cp(Params(k).filter); }
std::string KindTabCaption(DbKind k) { return cp(Params(k).caption); }

std::optional<DbKind> KindFromCreatorType(const std::string& creator, const std::string& type) {
  // Both must match: a damaged type field must not turn a calendar into a
  // timetable (the two kinds share their creator).
  for (const KindParams& k : table())
    if (creator == k.creator && type == k.type) return k.kind;
  return std::nullopt;
}

std::optional<DbKind> KindFromFileName(const QString& path) {
  const QString name = QFileInfo(path).fileName().toLower();
  // The longest prefix first: the calendar's name begins like a timetable's.
  std::optional<DbKind> found;
  int longest = 0;
  for (const KindParams& k : table()) {
    const QString prefix = QString::fromLatin1(k.prefix).toLower();
    if (name.startsWith(prefix) && prefix.size() > longest) {
      found = k.kind;
      longest = static_cast<int>(prefix.size());
    }
  }
  return found;
}

std::optional<DbKind> KindFromOptionName(const QString& text) {
  const QString t = text.trimmed().toLower();
  for (const KindParams& k : table())
    if (t == QLatin1String(k.optionName)) return k.kind;
  return std::nullopt;
}

}  // namespace vekla
