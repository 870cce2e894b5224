#pragma once
// The fixed parameters of each database kind: its file-name prefix, its
// default creator and type, its file filter, the shape of its grid and
// panel, the number of special records before its data, how the converter
// and a file name name it, and the facts about it that commands and codecs
// ask instead of asking which kind it is. What the window does with a kind
// is its row in workspace/kindops.h; its codecs are in commands/kindtable.h.
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
  // The kind keeps semesters besides the one shown (the grade book): the
  // semester store, its question on an import, the semester in the window
  // title and the converter's --semester.
  bool semesterStore;
  // The tab caption is a plural ("Známky", "Rozpisy"), which the questions
  // naming tabs agree with.
  bool pluralCaption;
  // The handheld reads the database only with exactly the rows a new one
  // starts with (the calendar: a title row and 366 days).
  bool fixedRows;
  // The grade display options change its exports, so their digits end the
  // page stem.
  bool displayOptions;
  int timeStep;  // minutes the time dialog steps by in a cell of the kind
};

inline constexpr std::array<DbKind, kKindCount> kAllKinds = {DbKind::Znamky, DbKind::Rozpisy, DbKind::Rozvrh,
                                                             DbKind::Kalendar};

// The place of a kind in the tables of kinds (its tab). A value of DbKind
// that names no kind is a fault of the program: it throws std::logic_error
// and never stands for another kind.
std::size_t KindIndex(DbKind k);
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
