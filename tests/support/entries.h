#pragma once
// The entries of a folder, links, pipes and sockets included: made from a
// list, and listed back, for tests of what a write may replace.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vekla::test {

// One line per entry under `root`, in name order: "name=bytes" a file,
// "name->target" a link (as written in it), "name|" a pipe, "name=socket",
// "name/" a folder.
inline std::string Entries(const QString& root) {
  std::map<QString, std::string> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    lstat(native.constData(), &st);
    char target[4096];
    std::string& e = entries[QDir(root).relativeFilePath(path)];
    if (S_ISLNK(st.st_mode))
      e = "->" +
          std::string(target, static_cast<size_t>(std::max<ssize_t>(readlink(native.constData(), target, 4096), 0)));
    else if (S_ISFIFO(st.st_mode)) e = "|";
    else if (S_ISSOCK(st.st_mode)) e = "=socket";
    else if (S_ISDIR(st.st_mode)) e = "/";
    else if (QFile f(path); f.open(QIODevice::ReadOnly)) e = "=" + f.readAll().toStdString();
  }
  std::string out;
  for (const auto& [name, what] : entries) out += name.toStdString() + what + "\n";
  return out;
}

// Makes (name, what) entries under `root` as Entries lists them, and
// "=>other" for a second name of the file `other` beside it.
inline void MakeEntries(const QString& root, const std::vector<std::pair<std::string, std::string>>& entries) {
  for (const auto& [name, what] : entries) {
    const QString path = root + "/" + QString::fromStdString(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray native = QFile::encodeName(path);
    const QByteArray rest = QByteArray::fromStdString(what.size() > 2 ? what.substr(2) : std::string());
    // A link that cannot be made leaves the entry missing, which the test
    // that asked for it then sees.
    if (what.rfind("->", 0) == 0) (void)!symlink(rest.constData(), native.constData());
    else if (what.rfind("=>", 0) == 0)
      (void)!link((QFile::encodeName(QFileInfo(path).absolutePath()) + "/" + rest).constData(), native.constData());
    else if (what == "|" || what == "=socket") mknod(native.constData(), (what == "|" ? S_IFIFO : S_IFSOCK) | 0644, 0);
    else if (what == "/") QDir().mkpath(path);
    else if (QFile f(path); f.open(QIODevice::WriteOnly))
      f.write(what.substr(1).data(), static_cast<qint64>(what.size() - 1));
  }
}

}  // namespace vekla::test
