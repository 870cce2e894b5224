#include "workspace/kindparams.h"

#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

#include "pdb/text.h"

namespace vekla {

namespace {

// One row per kind, in the order of DbKind: prefix, caption, filter,
// option name, noun, rows, columns, line width, panel height, special
// records, creator, type, semester store, plural caption, fixed rows,
// display options, time step.
const std::array<KindParams, kKindCount>& table() {
  static const std::array<KindParams, kKindCount> rows = {{
      {DbKind::Znamky, "Znamky-", "Známky", "Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB", "znamky", "databáze známek",
       11, 8, 2, 180, 3, "TqbZ", "data", true, true, false, true, 1},
      {DbKind::Rozpisy, "Rozpisy-", "Rozpisy", "Rozpisy PDB|Rozpisy-*.PDB|databáze PDB|*.PDB", "rozpisy", "rozpis", 11,
       9, 1, 54, 2, "TqbR", "data", false, true, false, false, 1},
      {DbKind::Rozvrh, "Vekla-", "Rozvrh", "Vekla PDB|Vekla-*.PDB|databáze PDB|*.PDB", "rozvrh", "rozvrh", 24, 9, 1,
       120, 1, "TqbK", "data", false, false, false, false, 5},
      {DbKind::Kalendar, "vekla-datum", "Kalendář", "Kalendář PDB|vekla-datum.PDB|databáze PDB|*.PDB", "kalendar",
       "kalendář", 367, 2, 1, 54, 0, "TqbK", "datu", false, false, true, false, 1},
  }};
  return rows;
}

}  // namespace

std::size_t KindIndex(DbKind k) {
  const int i = static_cast<int>(k);
  if (i < 0 || i >= kKindCount) throw std::logic_error(cp("neznámý druh databáze ") + std::to_string(i));
  return static_cast<std::size_t>(i);
}

const KindParams& Params(DbKind k) { return table()[KindIndex(k)]; }

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
