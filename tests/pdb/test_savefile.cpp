// Saving onto a full disk or over a read-only file: the old file stays as it
// was, no temporary file is left behind, and the message names the cause.
// What a write replaces: links, pipes, sockets, folders, the file's mode,
// owner and group, names at the file system's limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <tuple>

#include "pdb/error.h"
#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/child.h"
#include "support/entries.h"
#include "workspace/inifile.h"

using namespace vekla;
using namespace vekla::test;

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

// What a write replaces. A link is followed to the regular file it names,
// which is replaced while the link stays, unless the name is one the
// program picks itself and the link leaves its folder; only a regular file
// is replaced, the converter's input by no name. A refused write changes
// nothing, creates nothing, and never waits on a pipe.
TEST(SaveFileTest, WhatAWriteReplaces) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> entries;
    bool picked;             // a name the program picks (linkStaysInFolder)
    const char* cause;       // "" when written
    const char* after = "";  // then the entries after the write
  };
  const Case cases[] = {
      {{{"in/b", "=old"}, {"in/a", "->b"}}, false, "", "in/\nin/a->b\nin/b=new\n"},
      {{{"out/c", "=old"}, {"in/a", "->../out/c"}}, false, "", "in/\nin/a->../out/c\nout/\nout/c=new\n"},
      {{{"out/c", "=old"}, {"in/a", "->../out/c"}}, true, "je to odkaz na soubor mimo cílovou složku"},
      {{{"in/s/c", "=old"}, {"in/a", "->s/c"}}, true, "", "in/\nin/a->s/c\nin/s/\nin/s/c=new\n"},
      {{{"in/a", "->nikde"}}, false, "je to odkaz na soubor, který neexistuje"},
      {{{"in/a", "->b"}, {"in/b", "->a"}}, false, "odkazy vedou v kruhu"},
      {{{"in/a", "|"}}, false, "je to roura, ne soubor"},
      {{{"in/p", "|"}, {"in/a", "->p"}}, false, "je to roura, ne soubor"},
      {{{"in/a", "=socket"}}, false, "je to soket, ne soubor"},
      {{{"in/a", "/"}}, false, "je to složka"},
      {{{"in/input", "=old"}, {"in/a", "->input"}}, true, "je to vstupní soubor"},
      {{{"in/input", "=old"}, {"in/a", "=>input"}}, false, "je to vstupní soubor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries.back().first + c.entries.back().second);
    QTemporaryDir dir;
    MakeEntries(dir.path(), c.entries);
    const std::string before = Entries(dir.path());
    const ProtectedFromWriting input(dir.filePath("in/input"));
    const QString target = dir.filePath("in/a");
    const std::string message = inChild([&] { WriteFilesAtomic({{target, "new", c.picked}}); }, 0);
    EXPECT_EQ(message, *c.cause ? cp("Soubor \"") + NativePath(target) + cp("\" nelze zapsat: ") + cp(c.cause) + "."
                                : std::string());
    EXPECT_EQ(Entries(dir.path()), *c.cause ? before : c.after);
  }
}

// A replaced file keeps its permission bits, its group where the writer may
// set it (any group for the administrator, else one the user belongs to),
// and its owner where the writer is the administrator (a file saved with
// sudo stays the teacher's); one without write permission is refused, also
// for the administrator, whom the rename would let replace it. A new file
// gets what the user's mask leaves.
TEST(SaveFileTest, AReplacedFileKeepsItsModeGroupAndOwner) {
  gid_t groups[64];
  const int count = getgroups(64, groups);
  const gid_t other = geteuid() == 0 ? 100 : count > 0 ? groups[count - 1] : getegid();
  const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
  const struct {
    mode_t mode;
    uid_t uid;
    gid_t gid;
  } cases[] = {{0664, geteuid(), other},
               {0640, owner, other},
               {0755, geteuid(), getegid()},
               {0444, geteuid(), getegid()},
               {0555, owner, other}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    QTemporaryDir dir;
    const QString path = dir.filePath("Znamky-7A.PDB");
    const QByteArray native = QFile::encodeName(path);
    WriteFileAtomic(path, "old");
    ASSERT_EQ(chown(native.constData(), c.uid, c.gid) + chmod(native.constData(), c.mode), 0);
    const bool readOnly = (c.mode & 0222) == 0;
    try {
      WriteFileAtomic(path, "new");
      EXPECT_FALSE(readOnly);
    } catch (const VeklaError& e) {
      EXPECT_TRUE(readOnly);
      EXPECT_EQ(e.text(), cp("Soubor \"") + NativePath(path) + cp("\" nelze zapsat: soubor je jen pro čtení."));
    }
    struct stat st {};
    ASSERT_EQ(stat(native.constData(), &st), 0);
    EXPECT_EQ(readAll(path), readOnly ? "old" : "new");
    EXPECT_EQ(std::make_tuple(st.st_mode & 07777, st.st_uid, st.st_gid), std::make_tuple(c.mode, c.uid, c.gid));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Znamky-7A.PDB"});
  }
  QTemporaryDir dir;
  const mode_t previous = umask(027);
  WriteFileAtomic(dir.filePath("new.csv"), "x");
  umask(previous);
  EXPECT_EQ(QFileInfo(dir.filePath("new.csv")).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                  QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                                  QFileDevice::ReadGroup);
}

// Names up to the file system's limit of 255 bytes are created and
// replaced: the temporary file's name is cut to fit.
TEST(SaveFileTest, NamesUpToTheLimitAreCreatedAndReplaced) {
  for (const QString& name :
       {QString(245, 'a') + ".PDB", QString(251, 'a') + ".PDB", QString::fromUtf8("ž").repeated(125) + "a.PDB"}) {
    QTemporaryDir dir;
    WriteFileAtomic(dir.filePath(name), "first");
    WriteFileAtomic(dir.filePath(name), "second");
    EXPECT_EQ(readAll(dir.filePath(name)), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
  }
}

// A database larger than the reader reads is not written.
TEST(SaveFileTest, ADatabaseTheReaderWouldRefuseIsNotWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Rozpisy-F.PDB");
  for (const std::int64_t size : {kMaxFileSize, kMaxFileSize + 1}) {
    WriteFileAtomic(path, "old");
    // 78 bytes of header, two entries of 8, the field's NUL.
    const std::vector<PdbRecord> records = {{std::string(static_cast<size_t>(size - 95), 'a')}};
    try {
      WritePdb(path, PdbHeaderOut{"Rozpisy-F", {}, {}, "data", "TqbR"}, records);
      EXPECT_EQ(PdbFile::load(path).size(), kMaxFileSize);
    } catch (const VeklaError& e) {
      EXPECT_EQ(e.text(),
                cp("Soubor \"") + NativePath(path) +
                    cp("\" nelze zapsat: měl by 16 777 217 bajtů, načíst lze nejvýše 16 777 216 bajtů (16 MB)."));
      EXPECT_EQ(readAll(path), "old");
    }
  }
}

}  // namespace
