// Saving onto a full disk or over a read-only file: the old file stays as it
// was, no temporary file is left behind, and the message names the cause.
// What a write replaces: links, pipes, sockets, folders, the file's mode,
// owner and group, names at the file system's limit.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/child.h"
#include "workspace/inifile.h"

using namespace vekla;

namespace {

// Runs `write` in a child process and returns the message of the VeklaError
// it threw ("" when it succeeded), under a file-size limit or as "nobody".
// The signal a write past the limit sends is left at its default, which
// ends the process: the writer must ignore it itself.
std::string inChild(const std::function<void()>& write, rlim_t fileSizeLimit, bool unprivileged = false) {
  return test::InChild(
      [&] {
        try {
          write();
        } catch (const VeklaError& e) {
          return e.text();
        }
        return std::string();
      },
      fileSizeLimit, unprivileged, false);
}

std::string readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  return f.readAll().toStdString();
}

TEST(SaveFileTest, AFullDiskKeepsTheOldFileAndSaysWhy) {
  QTemporaryDir dir;
  const QString target = dir.filePath("Rozpisy-F.PDB");
  const std::string old = "the teacher's previous file";
  WriteFileAtomic(target, old);

  // Sizes below, at and above the buffer a buffered write would keep back
  // until its last flush; every writer goes through the same function.
  const std::function<void()> writers[] = {
      [&] { WriteFileAtomic(target, std::string(613, 'x')); },
      [&] { WriteFileAtomic(target, std::string(5840, 'x')); },
      [&] { WriteFileAtomic(target, std::string(32768, 'x')); },
      [&] {
        WritePdb(target, PdbHeaderOut{"Rozpisy-F", {}, {}, "data", "TqbR"}, {{std::string(700, 'a')}});
      },
      [&] {
        IniFile ini;
        ini.set("Nastaveni", "Adresar1", std::string(900, 'a'));
        ini.save(target);
      },
  };
  for (const auto& write : writers) {
    const std::string message = inChild(write, 100);
    EXPECT_NE(message.find(cp("nelze zapsat: soubor by byl větší, než systém dovoluje")), std::string::npos)
        << toUtf8(message);
    EXPECT_EQ(readAll(target), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Rozpisy-F.PDB"});
  }
  // Without the limit the same write goes through.
  EXPECT_EQ(inChild([&] { WriteFileAtomic(target, std::string(613, 'x')); }, 0), "");
  EXPECT_EQ(readAll(target), std::string(613, 'x'));
}

TEST(SaveFileTest, AReadOnlyFileIsNamedAsSuch) {
  QTemporaryDir dir;
  // The folder is open to everybody, the file is read-only.
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
  const QString target = dir.filePath("Znamky-7A.PDB");
  WriteFileAtomic(target, "old");
  QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadOther);

  const std::string message = inChild([&] { WriteFileAtomic(target, "new"); }, 0, true);
  EXPECT_NE(message.find(cp("nelze zapsat: soubor je jen pro čtení")), std::string::npos) << toUtf8(message);
  EXPECT_EQ(message.find(cp("plný disk")), std::string::npos);
  EXPECT_EQ(readAll(target), "old");
}

// The system's error number names the cause whenever it names one: a
// read-only disk also makes the folder look closed, and must not be told as
// "přístup odepřen". The file system refines a refusal and stands in when the
// number says nothing.
TEST(SaveFileTest, TheErrorNumberWinsOverTheFileSystemsGuess) {
  struct Case {
    int err;
    bool writing;
    std::function<void(FileFailure&)> state;
    const char* cause;
  };
  const auto closedFolder = [](FileFailure& f) {
    f.folderWritable = false;
    f.exists = false;
  };
  const auto readOnlyFile = [](FileFailure& f) { f.writable = false; };
  const auto missing = [](FileFailure& f) { f.exists = false; };
  const auto none = [](FileFailure&) {};
  const Case cases[] = {
      {EROFS, true, closedFolder, "disk je jen pro čtení"},
      {EROFS, true, readOnlyFile, "disk je jen pro čtení"},
      {ENOSPC, true, closedFolder, "na disku není místo"},
      {EFBIG, true, none, "soubor by byl větší, než systém dovoluje"},
      {EACCES, true, readOnlyFile, "soubor je jen pro čtení"},
      {EACCES, true, closedFolder, "přístup odepřen"},
      {EPERM, false, none, "přístup odepřen"},
      {ENOENT, false, missing, "soubor neexistuje"},
      {ENOENT, true, missing, "složka neexistuje"},
      {EISDIR, true, none, "je to složka"},
      {EIO, false, none, "chyba vstupu a výstupu"},
      // No number, or one that names nothing: the file system's guess.
      {0, true, closedFolder, "přístup odepřen"},
      {0, true, readOnlyFile, "soubor je jen pro čtení"},
      {0, false, missing, "soubor neexistuje"},
      {EINTR, true, none, "zápis selhal"},
      {EINTR, false, none, "čtení selhalo"},
  };
  for (const auto& c : cases) {
    FileFailure f;
    f.err = c.err;
    f.writing = c.writing;
    c.state(f);
    EXPECT_EQ(FileErrorCause(f), cp(c.cause)) << c.err << " " << c.cause;
  }
}

// Real failures: the Czech cause alone, never the system's English words.
TEST(SaveFileTest, MessagesNameTheCauseInCzechOnly) {
  QTemporaryDir dir;
  const QString folder = dir.filePath("slozka");
  QDir().mkpath(folder);
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[&] { ReadWholeFile(dir.filePath("nic.csv")); }, "nelze otevřít: soubor neexistuje."},
      {[&] { ReadWholeFile(dir.filePath("nic/x.csv")); }, "nelze otevřít: složka neexistuje."},
      {[&] { ReadWholeFile(folder); }, "nelze otevřít: je to složka."},
      {[&] { WriteFileAtomic(folder, "x"); }, "nelze zapsat: je to složka."},
      {[&] { WriteFileAtomic(dir.filePath("nic/x.csv"), "x"); }, "nelze zapsat: složka neexistuje."},
  };
  for (const auto& [fail, cause] : failures) {
    try {
      fail();
      ADD_FAILURE() << cause;
    } catch (const VeklaError& e) {
      EXPECT_NE(e.text().find(cp(cause)), std::string::npos) << toUtf8(e.text());
      EXPECT_EQ(e.text().find('('), std::string::npos) << toUtf8(e.text());
    }
  }
}

// Every entry under `root`, in name order, one per line: "name=bytes" for
// a file, "name->target" for a link (as it is written in the link),
// "name|" for a pipe, "name=socket" for a socket, "name/" for a folder.
std::string Describe(const QString& root) {
  std::map<QString, std::string> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    lstat(native.constData(), &st);
    std::string& e = entries[QDir(root).relativeFilePath(path)];
    if (S_ISLNK(st.st_mode)) {
      char target[4096];
      const ssize_t n = readlink(native.constData(), target, sizeof target);
      e = "->" + std::string(target, static_cast<size_t>(std::max<ssize_t>(n, 0)));
    } else if (S_ISFIFO(st.st_mode)) {
      e = "|";
    } else if (S_ISSOCK(st.st_mode)) {
      e = "=socket";
    } else if (S_ISDIR(st.st_mode)) {
      e = "/";
    } else {
      e = "=" + readAll(path);
    }
  }
  std::string out;
  for (const auto& [name, what] : entries) out += name.toStdString() + what + "\n";
  return out;
}

// Makes the entries a case lists under `root`: "->target" a link, "=>name"
// a second name of the file `name`, "|" a pipe, "=socket" a socket, "/" a
// folder, anything else a file of those bytes.
void Make(const QString& root, const std::vector<std::pair<std::string, std::string>>& entries) {
  for (const auto& [name, what] : entries) {
    const QString path = root + "/" + QString::fromStdString(name);
    const QByteArray native = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (what.rfind("->", 0) == 0) {
      ASSERT_EQ(symlink(what.substr(2).c_str(), native.constData()), 0) << name;
    } else if (what.rfind("=>", 0) == 0) {
      const QByteArray first = QFile::encodeName(QFileInfo(path).absolutePath() + "/" + QString::fromStdString(what.substr(2)));
      ASSERT_EQ(link(first.constData(), native.constData()), 0) << name;
    } else if (what == "|") {
      ASSERT_EQ(mkfifo(native.constData(), 0644), 0) << name;
    } else if (what == "=socket") {
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      ASSERT_LT(native.size(), static_cast<qsizetype>(sizeof address.sun_path));
      std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
      ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << name;
      close(fd);
    } else if (what == "/") {
      QDir().mkpath(path);
    } else {
      WriteFileAtomic(path, what);
    }
  }
}

// What a write replaces. A link is followed to the regular file it names,
// which is replaced while the link stays, unless the name is one the
// program picks itself and the link leaves its folder; only a regular file
// is replaced; the converter's input is never replaced by any name. A
// refused write changes nothing, creates nothing, and never waits on a pipe.
TEST(SaveFileTest, WhatAWriteReplaces) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    const char* name;
    Entries entries;
    const char* target;
    bool linkStaysInFolder;
    const char* protect;  // the converter's input, or ""
    const char* cause;    // "" when written
    const char* after;    // the entries after a write, when written
  };
  const Case cases[] = {
      {"a new file", {}, "in/a.PDB", false, "", "", "in/\nin/a.PDB=new\n"},
      {"a link to a file beside it",
       {{"in/b.PDB", "old"}, {"in/a.PDB", "->b.PDB"}},
       "in/a.PDB",
       false,
       "",
       "",
       "in/\nin/a.PDB->b.PDB\nin/b.PDB=new\n"},
      {"a chain of links",
       {{"in/b.PDB", "old"}, {"in/c.PDB", "->b.PDB"}, {"in/a.PDB", "->c.PDB"}},
       "in/a.PDB",
       false,
       "",
       "",
       "in/\nin/a.PDB->c.PDB\nin/b.PDB=new\nin/c.PDB->b.PDB\n"},
      {"a chosen link out of the folder",
       {{"out/c.PDB", "old"}, {"in/a.PDB", "->../out/c.PDB"}},
       "in/a.PDB",
       false,
       "",
       "",
       "in/\nin/a.PDB->../out/c.PDB\nout/\nout/c.PDB=new\n"},
      {"a picked name linked out of the folder",
       {{"out/c.PDB", "old"}, {"in/znamky.css", "->../out/c.PDB"}},
       "in/znamky.css",
       true,
       "",
       "je to odkaz na soubor mimo cílovou složku",
       ""},
      {"a picked name linked into a folder below",
       {{"in/sub/z.css", "old"}, {"in/znamky.css", "->sub/z.css"}},
       "in/znamky.css",
       true,
       "",
       "",
       "in/\nin/sub/\nin/sub/z.css=new\nin/znamky.css->sub/z.css\n"},
      {"a picked name linked out and back",
       {{"in/z.css", "old"}, {"out/hop.css", "->../in/z.css"}, {"in/znamky.css", "->../out/hop.css"}},
       "in/znamky.css",
       true,
       "",
       "",
       "in/\nin/z.css=new\nin/znamky.css->../out/hop.css\nout/\nout/hop.css->../in/z.css\n"},
      {"a link that leads nowhere",
       {{"in/a.PDB", "->nowhere.PDB"}},
       "in/a.PDB",
       false,
       "",
       "je to odkaz na soubor, který neexistuje",
       ""},
      {"links in a circle",
       {{"in/a.PDB", "->b.PDB"}, {"in/b.PDB", "->a.PDB"}},
       "in/a.PDB",
       false,
       "",
       "odkazy vedou v kruhu",
       ""},
      {"a pipe", {{"in/a.PDB", "|"}}, "in/a.PDB", false, "", "je to roura, ne soubor", ""},
      {"a link to a pipe",
       {{"in/p", "|"}, {"in/a.PDB", "->p"}},
       "in/a.PDB",
       false,
       "",
       "je to roura, ne soubor",
       ""},
      {"a socket", {{"in/a.PDB", "=socket"}}, "in/a.PDB", false, "", "je to soket, ne soubor", ""},
      {"a folder", {{"in/a.PDB", "/"}}, "in/a.PDB", false, "", "je to složka", ""},
      {"a link to a folder", {{"in/d", "/"}, {"in/a.PDB", "->d"}}, "in/a.PDB", false, "", "je to složka", ""},
      {"the input by a link",
       {{"in/b.PDB", "old"}, {"in/a.css", "->b.PDB"}},
       "in/a.css",
       true,
       "in/b.PDB",
       "je to vstupní soubor",
       ""},
      {"the input by a second name",
       {{"in/b.PDB", "old"}, {"in/a.css", "=>b.PDB"}},
       "in/a.css",
       false,
       "in/b.PDB",
       "je to vstupní soubor",
       ""},
      {"the input by its own name", {{"in/b.PDB", "old"}}, "in/b.PDB", false, "in/b.PDB", "je to vstupní soubor", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir().mkpath(root + "/in");
    Make(root, c.entries);
    const std::string before = Describe(root);
    std::optional<ProtectedFromWriting> input;
    if (*c.protect) input.emplace(root + "/" + c.protect);
    const QString target = root + "/" + c.target;
    const std::string message = inChild(
        [&] { WriteFilesAtomic({FileToWrite{target, "new", c.linkStaysInFolder}}); }, 0);
    if (!*c.cause) {
      EXPECT_EQ(message, "");
      EXPECT_EQ(Describe(root), c.after);
    } else {
      EXPECT_EQ(message, cp("Soubor \"") + NativePath(target) + cp("\" nelze zapsat: ") + cp(c.cause) + ".");
      EXPECT_EQ(Describe(root), before);
    }
  }
}

// A group the file can be given that differs from the writer's own: as the
// administrator any group ("users"), otherwise one the user belongs to
// besides the own one; the own group when there is none.
gid_t OtherGroup() {
  if (geteuid() == 0) {
    const group* g = getgrnam("users");
    return g ? g->gr_gid : 100;
  }
  gid_t groups[64];
  const int n = getgroups(64, groups);
  for (int i = 0; i < n; ++i)
    if (groups[i] != getegid()) return groups[i];
  return getegid();
}

// A replaced file keeps its permission bits, its group where the writer may
// set it, and its owner where the writer is the administrator (a file saved
// with sudo stays the teacher's). A new file gets what the user's mask
// leaves of read and write for all.
TEST(SaveFileTest, AReplacedFileKeepsItsModeGroupAndOwner) {
  struct Case {
    mode_t mode;
    bool otherGroup;
    bool otherOwner;  // the administrator only
  };
  const Case cases[] = {{0664, true, false}, {0640, true, false}, {0600, false, false},
                        {0755, false, false}, {0604, true, true}, {0620, false, true}};
  const gid_t group = OtherGroup();
  for (const Case& c : cases) {
    if (c.otherOwner && geteuid() != 0) continue;
    SCOPED_TRACE(std::to_string(c.mode) + (c.otherGroup ? " group" : "") + (c.otherOwner ? " owner" : ""));
    QTemporaryDir dir;
    const QString path = dir.filePath("Znamky-7A.PDB");
    const QByteArray native = QFile::encodeName(path);
    WriteFileAtomic(path, "old");
    const uid_t owner = c.otherOwner ? 65534 : geteuid();
    const gid_t gid = c.otherGroup ? group : getegid();
    ASSERT_EQ(chown(native.constData(), owner, gid), 0);
    ASSERT_EQ(chmod(native.constData(), c.mode), 0);
    WriteFileAtomic(path, "new");
    struct stat st {};
    ASSERT_EQ(lstat(native.constData(), &st), 0);
    EXPECT_EQ(readAll(path), "new");
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    EXPECT_EQ(st.st_gid, gid);
    EXPECT_EQ(st.st_uid, owner);
  }
  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    QTemporaryDir dir;
    const mode_t previous = umask(mask);
    WriteFileAtomic(dir.filePath("new.csv"), "x");
    umask(previous);
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(dir.filePath("new.csv")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask) << mask;
  }
}

// A file without write permission is refused with the writer's own rights,
// which here are the administrator's: the system would let the rename
// replace it.
TEST(SaveFileTest, AFileMarkedReadOnlyIsNeverReplaced) {
  for (const mode_t mode : {mode_t{0444}, mode_t{0400}, mode_t{0555}}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Znamky-7A.PDB");
    WriteFileAtomic(path, "old");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
    try {
      WriteFilesAtomic({{dir.filePath("other.csv"), "x"}, {path, "new"}});
      ADD_FAILURE() << mode;
    } catch (const VeklaError& e) {
      EXPECT_EQ(e.text(), cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: soubor je jen pro čtení."));
    }
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Znamky-7A.PDB"});
  }
}

// A name up to the file system's limit of 255 bytes is created and replaced;
// the temporary file's name is cut to fit.
TEST(SaveFileTest, NamesUpToTheLimitAreCreatedAndReplaced) {
  const QString czech = QString::fromUtf8("ž").repeated(125);  // 250 bytes
  const QString names[] = {QString(245, 'a') + ".PDB", QString(246, 'a') + ".PDB", QString(250, 'a') + ".PDB",
                           QString(251, 'a') + ".PDB", czech + "a.PDB", czech + ".PDB"};
  for (const QString& name : names) {
    SCOPED_TRACE(name.toUtf8().size());
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    WriteFileAtomic(path, "first");
    WriteFileAtomic(path, "second");
    EXPECT_EQ(readAll(path), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
  }
}

// A database larger than the reader reads is not written: the reader's
// limit is the writer's.
TEST(SaveFileTest, ADatabaseTheReaderWouldRefuseIsNotWritten) {
  // 78 bytes of header, two entries of 8, one field and its NUL.
  const std::int64_t overhead = 78 + 16 + 1;
  for (const std::int64_t size : {kMaxFileSize, kMaxFileSize + 1, kMaxFileSize + 200000}) {
    SCOPED_TRACE(size);
    QTemporaryDir dir;
    const QString path = dir.filePath("Rozpisy-F.PDB");
    WriteFileAtomic(path, "old");
    const std::vector<PdbRecord> records = {{std::string(static_cast<size_t>(size - overhead), 'a')}};
    try {
      WritePdb(path, PdbHeaderOut{"Rozpisy-F", {}, {}, "data", "TqbR"}, records);
      EXPECT_EQ(size, kMaxFileSize);
      EXPECT_EQ(PdbFile::load(path).size(), size);
    } catch (const VeklaError& e) {
      EXPECT_GT(size, kMaxFileSize);
      const std::string sizeText = size == kMaxFileSize + 1 ? "16 777 217" : "16 977 216";
      EXPECT_EQ(e.text(), cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: měl by ") + sizeText +
                              cp(" bajtů, načíst lze nejvýše 16 777 216 bajtů (16 MB)."));
      EXPECT_EQ(readAll(path), "old");
    }
  }
}

}  // namespace
