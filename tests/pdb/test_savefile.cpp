// Saving onto a full disk or over a read-only file: the old file stays as it
// was, no temporary file is left behind, and the message names the cause.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

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
      fileSizeLimit, unprivileged);
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

}  // namespace
