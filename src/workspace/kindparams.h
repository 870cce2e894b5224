#pragma once
// The fixed parameters of each database kind: its file-name prefix, its
// default creator and type, its file filter, the shape of its grid and
// panel, the number of special records before its data, and how the
// converter and a file name name it.
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "workspace/state.h"

namespace vekla {

struct KindParams {
  DbKind kind;
  const char* prefix;      // "Znamky-"
  const char* caption;     // tab caption, UTF-8
  const char* filter;      // open and save dialogs, UTF-8
  const char* optionName;  // vekla-convert --kind
  const char* noun;        // what a database of the kind is, UTF-8 ("rozvrh")
  int rows, cols;          // the grid a new database starts with
  int lineWidth;           // grid line width
  int panelHeight;         // height of the panel above the grid
  int leadingRecords;      // special records before the data
  const char* creator;     // default creator and type
  const char* type;
};

inline constexpr std::array<DbKind, 4> kAllKinds = {DbKind::Znamky, DbKind::Rozpisy, DbKind::Rozvrh, DbKind::Kalendar};

const KindParams& Params(DbKind k);

std::string KindPrefix(DbKind k);      // "Znamky-", "Rozpisy-", "Vekla-", "vekla-datum"
std::string KindFilter(DbKind k);      // "Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB", ...
std::string KindTabCaption(DbKind k);  // "Známky", ...

// The kind whose default creator and type a database has (both must match).
std::optional<DbKind> KindFromCreatorType(const std::string& creator, const std::string& type);
// The kind a file name's prefix stands for (any case).
std::optional<DbKind> KindFromFileName(const QString& path);
// The kind a --kind value names (any case).
std::optional<DbKind> KindFromOptionName(const QString& text);

}  // namespace vekla
