#include "workspace/recentfiles.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <string>

namespace vekla {

namespace {

constexpr const char* kRecentSection = "Posledni";

std::string RecentKey(int i) { return "Soubor" + std::to_string(i + 1); }

void StoreRecent(VeklaState& s, const std::vector<QString>& files) {
  for (int i = 0; i < kRecentFiles; ++i) {
    const std::size_t n = static_cast<std::size_t>(i);
    // Percent-encoded UTF-8: a path holds any character, the settings file
    // only code page 1250.
    if (n < files.size()) s.settings.set(kRecentSection, RecentKey(i), QUrl::toPercentEncoding(files[n]).toStdString());
    else s.settings.removeKey(kRecentSection, RecentKey(i));
  }
}

}  // namespace

std::vector<QString> RecentFiles(const VeklaState& s) {
  std::vector<QString> files;
  for (int i = 0; i < kRecentFiles; ++i) {
    const std::string v = s.settings.get(kRecentSection, RecentKey(i));
    if (!v.empty()) files.push_back(QUrl::fromPercentEncoding(QByteArray::fromStdString(v)));
  }
  return files;
}

void RememberRecentFile(VeklaState& s, const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  std::vector<QString> files = RecentFiles(s);
  files.erase(std::remove(files.begin(), files.end(), file), files.end());
  files.insert(files.begin(), file);
  if (files.size() > static_cast<std::size_t>(kRecentFiles)) files.resize(kRecentFiles);
  StoreRecent(s, files);
}

void ForgetRecentFile(VeklaState& s, const QString& path) {
  std::vector<QString> files = RecentFiles(s);
  files.erase(std::remove(files.begin(), files.end(), QFileInfo(path).absoluteFilePath()), files.end());
  StoreRecent(s, files);
}

}  // namespace vekla
