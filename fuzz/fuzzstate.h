#pragma once
// What every fuzz target shares: a tab of a kind as the program starts it,
// in a private folder, its working files kept in memory, and a prompter
// that answers every dialog with "cancel" and every question with No.
#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "workspace/kindops.h"
#include "workspace/setup.h"
#include "workspace/state.h"

namespace vekla::fuzz {

// The private folder of the whole run.
inline const QString& Folder() {
  static QTemporaryDir dir;
  static const QString path = dir.path() + "/";
  return path;
}

inline VeklaState FreshTab(DbKind kind) {
  VeklaState s;
  s.programDir = Folder();
  s.adresar1 = Folder();
  s.workFilesInMemory = true;
  s.gradesIniLoaded = true;
  InitControls(s);
  s.kind = kind;
  SetupTab(s, kind);
  return s;
}

inline DbKind KindOf(std::uint8_t b) { return static_cast<DbKind>(b % 4); }

// The grid as one text, to tell whether a failed command changed it.
inline std::string Fingerprint(const VeklaState& s) {
  std::string out = std::to_string(s.grid.colCount()) + "x" + std::to_string(s.grid.rowCount()) + s.EditN;
  for (int r = 0; r < s.grid.rowCount(); ++r)
    for (int c = 0; c < s.grid.colCount(); ++c) out += s.grid.text(c, r) + '\t';
  return out;
}

}  // namespace vekla::fuzz
