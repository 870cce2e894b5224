#pragma once
// The databases opened or saved last, newest first, at most eight, kept in
// vekla.ini (section "Posledni", keys "Soubor1" to "Soubor8", each path as
// percent-encoded UTF-8: a path may hold characters the settings file's
// code page cannot).
#include <QString>
#include <vector>

#include "workspace/state.h"

namespace vekla {

inline constexpr int kRecentFiles = 8;
std::vector<QString> RecentFiles(const VeklaState& s);
void RememberRecentFile(VeklaState& s, const QString& path);
void ForgetRecentFile(VeklaState& s, const QString& path);

}  // namespace vekla
