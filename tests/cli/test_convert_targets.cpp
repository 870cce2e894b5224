// Where vekla-convert writes: links and pipes in the place of an output,
// the HTML export's style sheets in a folder others may write, a file-size
// limit, and what killed runs left in the temporary folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QDir>
#include <QTemporaryDir>
#include <ctime>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/entries.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class TargetsTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeEntries(dir_.path(), {{"Rozpisy-F.PDB", "=" + plan}}); }
  QString path(const QString& name) const { return dir_.filePath(name); }
  Result run(const QStringList& args, rlim_t fileSizeLimit = 0, const QProcessEnvironment& env = {}) const {
    return RunIn(dir_.path(), QStringLiteral(VEKLA_CONVERT_BIN), args, {}, fileSizeLimit, env);
  }

  const std::string plan = pdbBytes("Rozpisy-F", "data", "TqbR", 0, 0,
                                    {body({"-1", "2", "ff0000", "0", "0", "0", "0", "0"}),
                                     body({"0", "2", "0", "0", "0", "0", "0", "0"}), body({"1", "Zlomky"})});
  QTemporaryDir dir_;
};

// Every output that is no plain file, or a link to the preferences or to
// the input, or in the HTML folder a link out of it: exit 1 with the
// reason, nothing written, and no wait on a pipe. A link in the HTML folder
// to a file inside it is followed and stays.
TEST_F(TargetsTest, OutputsThatAreNoPlainFileOrLeadElsewhereAreRefused) {
  MakeEntries(dir_.path(), {{"Znamky-db_pref.PDB", "=prefs"},
                            {"Rozpisy-odkaz.PDB", "->Znamky-db_pref.PDB"},
                            {"r.pdb", "|"},
                            {"r.xlsx", "|"},
                            {"Rozpisy-r.PDB", "->r.pdb"},
                            {"Rozpisy-G.PDB", "->nikde/Rozpisy-G.PDB"},
                            {"jina/Rozpisy-G.PDB", "=another class"},
                            {"web/rozpisy.css", "->../jina/Rozpisy-G.PDB"},
                            {"web2/rozpisy.css", "->Rozpisy-F.PDB"},
                            {"web2/Rozpisy-F.PDB", "=" + plan},
                            {"web3/rozpisy.css", "->s/r.css"},
                            {"web3/s/r.css", "=old"}});
  const std::pair<QStringList, const char*> cases[] = {
      {{"Rozpisy-F.PDB", "Rozpisy-odkaz.PDB"}, "Do databáze \"Znamky-db_pref.PDB\" nelze uložit"},
      {{"Rozpisy-F.PDB", "r.pdb"}, "r.pdb\" nelze zapsat: je to roura, ne soubor."},
      {{"Rozpisy-F.PDB", "Rozpisy-r.PDB"}, "Rozpisy-r.PDB\" nelze zapsat: je to roura, ne soubor."},
      {{"Rozpisy-F.PDB", "r.xlsx"}, "r.xlsx\" nelze zapsat: je to roura, ne soubor."},
      {{"Rozpisy-F.PDB", "Rozpisy-G.PDB"}, "nelze zapsat: je to odkaz na soubor, který neexistuje."},
      {{"Rozpisy-F.PDB", "web/"}, "rozpisy.css\" nelze zapsat: je to odkaz na soubor mimo cílovou složku."},
      {{"web2/Rozpisy-F.PDB", "web2/"}, "rozpisy.css\" nelze zapsat: je to vstupní soubor."},
  };
  const std::string before = Entries(dir_.path());
  for (const auto& [args, cause] : cases) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const Result r = run(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(cause))) << r.err.toStdString();
    EXPECT_EQ(Entries(dir_.path()), before);
  }
  ASSERT_EQ(run({"Rozpisy-F.PDB", "web3/"}).exitCode, 0);
  const std::string web = Entries(path("web3"));
  EXPECT_NE(web.find("\nrozpisy.css->s/r.css\ns/\ns/r.css="), std::string::npos) << web;
  EXPECT_EQ(web.find("s/r.css=old"), std::string::npos) << web;
}

// A write past the file-size limit fails with its message and exit status
// 1: the signal the system sends for it does not end the converter.
TEST_F(TargetsTest, AFileSizeLimitIsAMessageNotASignal) {
  for (const char* output : {"r.csv", "r.xlsx", "web/"}) {
    const Result r = run({"Rozpisy-F.PDB", output}, 8);
    EXPECT_EQ(r.exitCode, 1) << output;
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("vekla-convert: "))) << r.err.toStdString();
    EXPECT_EQ(Entries(path(output)), "");
  }
  EXPECT_EQ(run({"Rozpisy-F.PDB", "Rozpisy-G.PDB"}, 8).err,
            QString::fromUtf8("vekla-convert: Soubor \"") + path("Rozpisy-G.PDB") +
                QString::fromUtf8("\" nelze zapsat: soubor by byl větší, než systém dovoluje.\n"));
}

// A converter killed on the way leaves its private folder in the temporary
// folder; the next run removes it, but not the folder of one still running.
TEST_F(TargetsTest, AKilledRunsFolderIsRemovedByTheNext) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const QString left = "vekla-convert-" + QString::number(ended) + "-aB3dE9";
  const QString running = "vekla-convert-" + QString::number(getpid()) + "-aB3dE9";
  for (const QString& name : {left, running}) {
    MakeEntries(path("tmp/") + name, {{"data/Znamky.ini", "=x"}});
    const timespec hoursAgo{std::time(nullptr) - 7200, 0}, times[2] = {hoursAgo, hoursAgo};
    utimensat(AT_FDCWD, QFile::encodeName(path("tmp/") + name).constData(), times, 0);
  }
  QProcessEnvironment env;
  env.insert("TMPDIR", path("tmp"));
  ASSERT_EQ(run({"Rozpisy-F.PDB", "r.csv"}, 0, env).exitCode, 0);
  // The converter's own folder is gone as well.
  EXPECT_EQ(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{running});
}

}  // namespace
