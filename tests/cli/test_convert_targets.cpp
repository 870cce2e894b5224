// Where vekla-convert writes: links, pipes and the preferences database as
// outputs, the HTML export's style sheets in a folder others may write, a
// file-size limit, and what killed runs left in the temporary folder.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <ctime>
#include <map>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class TargetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    WriteFileAtomic(path("Rozpisy-F.PDB"), topicPlan());
  }

  QString path(const QString& name) const { return dir_.filePath(name); }

  Result run(const QStringList& args, rlim_t fileSizeLimit = 0, const QProcessEnvironment& env = {}) const {
    return RunIn(dir_.path(), QStringLiteral(VEKLA_CONVERT_BIN), args, {}, fileSizeLimit, env);
  }

  static std::string topicPlan() {
    return pdbBytes("Rozpisy-F", "data", "TqbR", 0, 0,
                    {body({"-1", "2", "ff0000", "0", "0", "0", "0", "0"}), body({"0", "2", "0", "0", "0", "0", "0", "0"}),
                     body({"1", cp("Zlomky"), "01.09.2025", "", "1", "1", "1", "0"})});
  }

  // Every entry of the folder: a file with its bytes, a link with its
  // target, a pipe, a folder.
  std::map<QString, std::string> entries() const {
    std::map<QString, std::string> out;
    QDirIterator it(dir_.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString p = it.next();
      const QFileInfo info(p);
      struct stat st {};
      lstat(QFile::encodeName(p).constData(), &st);
      std::string& e = out[QDir(dir_.path()).relativeFilePath(p)];
      if (info.isSymLink()) e = "-> " + info.symLinkTarget().toStdString();
      else if (S_ISFIFO(st.st_mode)) e = "pipe";
      else if (info.isDir()) e = "folder";
      else e = ReadWholeFile(p);
    }
    return out;
  }

  QTemporaryDir dir_;
};

// A link or a pipe in the place of an output: the refusal applies to the
// file at the end of the link, nothing is written, and the converter does
// not wait on the pipe.
TEST_F(TargetsTest, OutputsThatAreNoPlainFileAreRefused) {
  WriteFileAtomic(path("Znamky-db_pref.PDB"), pdbBytes("Znamky-db_pref", "data", "TqbZ", 0, 0, {body({"x"})}));
  ASSERT_EQ(mkfifo(QFile::encodeName(path("roura.pdb")).constData(), 0644), 0);
  ASSERT_EQ(mkfifo(QFile::encodeName(path("roura.csv")).constData(), 0644), 0);
  ASSERT_EQ(mkfifo(QFile::encodeName(path("roura.xlsx")).constData(), 0644), 0);
  ASSERT_TRUE(QFile::link("Znamky-db_pref.PDB", path("Rozpisy-odkaz.PDB")));
  ASSERT_TRUE(QFile::link("roura.pdb", path("Rozpisy-roura.PDB")));
  ASSERT_TRUE(QFile::link("nikde/Rozpisy-G.PDB", path("Rozpisy-G.PDB")));
  const std::pair<const char*, const char*> cases[] = {
      {"Rozpisy-odkaz.PDB", "Do databáze \"Znamky-db_pref.PDB\" nelze uložit"},
      {"roura.pdb", "nelze zapsat: je to roura, ne soubor."},
      {"Rozpisy-roura.PDB", "nelze zapsat: je to roura, ne soubor."},
      {"roura.csv", "nelze zapsat: je to roura, ne soubor."},
      {"roura.xlsx", "nelze zapsat: je to roura, ne soubor."},
      {"Rozpisy-G.PDB", "nelze zapsat: je to odkaz na soubor, který neexistuje."},
  };
  const auto before = entries();
  for (const auto& [output, cause] : cases) {
    SCOPED_TRACE(output);
    const Result r = run({"Rozpisy-F.PDB", output});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(cause))) << r.err.toStdString();
    EXPECT_EQ(entries(), before);
  }
}

// The HTML export writes names it picks itself into a folder others may
// write: a link there is never followed out of the folder, nor to the input.
TEST_F(TargetsTest, TheHtmlExportFollowsNoLinkOutOfItsFolderNorToTheInput) {
  struct Case {
    const char* input;
    const char* link;    // in the output folder "web"
    const char* target;  // of the link, from the output folder
    const char* cause;   // "" when written
  };
  const Case cases[] = {
      {"Rozpisy-F.PDB", "rozpisy.css", "../jina/Rozpisy-G.PDB", "je to odkaz na soubor mimo cílovou složku"},
      {"Rozpisy-F.PDB", "rozpisy.css", "../Rozpisy-F.PDB", "je to odkaz na soubor mimo cílovou složku"},
      {"web/Rozpisy-F.PDB", "rozpisy.css", "Rozpisy-F.PDB", "je to vstupní soubor"},
      {"Rozpisy-F.PDB", "rozpisy.css", "styly/rozpisy.css", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " " + c.target);
    QDir(path("web")).removeRecursively();
    QDir(path("jina")).removeRecursively();
    QDir().mkpath(path("web/styly"));
    QDir().mkpath(path("jina"));
    WriteFileAtomic(path("jina/Rozpisy-G.PDB"), "another class");
    WriteFileAtomic(path("web/styly/rozpisy.css"), "old sheet");
    if (QString(c.input).startsWith("web/")) WriteFileAtomic(path(c.input), topicPlan());
    ASSERT_TRUE(QFile::link(c.target, path("web/") + c.link));
    const auto before = entries();
    const Result r = run({c.input, "web/"});
    if (*c.cause) {
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.cause))) << r.err.toStdString();
      EXPECT_EQ(entries(), before);
    } else {
      EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
      EXPECT_TRUE(QFileInfo(path("web/") + c.link).isSymLink());
      EXPECT_NE(ReadWholeFile(path("web/styly/rozpisy.css")), "old sheet");
      EXPECT_EQ(ReadWholeFile(path("jina/Rozpisy-G.PDB")), "another class");
    }
  }
}

// A write past the file-size limit fails with its message and exit status
// 1; the signal the system sends for it does not end the converter.
TEST_F(TargetsTest, AFileSizeLimitIsAMessageNotASignal) {
  for (const char* output : {"Rozpisy-G.PDB", "r.csv", "r.sql", "r.xlsx", "web/"}) {
    SCOPED_TRACE(output);
    const Result r = run({"Rozpisy-F.PDB", output}, 20);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("vekla-convert: "))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("nelze"))) << r.err.toStdString();
    // The export's folder is made before its files are written.
    EXPECT_TRUE(QFileInfo(path(output)).isDir() ? QDir(path(output)).isEmpty() : !QFileInfo::exists(path(output)));
  }
  EXPECT_EQ(run({"Rozpisy-F.PDB", "Rozpisy-G.PDB"}, 20).err,
            QString::fromUtf8("vekla-convert: Soubor \"") + path("Rozpisy-G.PDB") +
                QString::fromUtf8("\" nelze zapsat: soubor by byl větší, než systém dovoluje.\n"));
}

// A converter killed on the way leaves its private folder in the temporary
// folder; the next run removes it, but not the folder of one still running.
TEST_F(TargetsTest, AKilledRunsFolderIsRemovedByTheNext) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  QDir().mkpath(path("tmp"));
  const QString left = "vekla-convert-" + QString::number(ended) + "-aB3dE9";
  const QString running = "vekla-convert-" + QString::number(getpid()) + "-aB3dE9";
  for (const QString& name : {left, running}) {
    QDir().mkpath(path("tmp/") + name + "/data");
    WriteFileAtomic(path("tmp/") + name + "/data/Znamky.ini", "x");
    const timespec hoursAgo{std::time(nullptr) - 7200, 0};
    const timespec times[2] = {hoursAgo, hoursAgo};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path("tmp/") + name).constData(), times, 0), 0);
  }
  QProcessEnvironment env;
  env.insert("TMPDIR", path("tmp"));
  const Result r = run({"Rozpisy-F.PDB", "r.csv"}, 0, env);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  // The converter's own folder is gone as well.
  EXPECT_EQ(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{running});
}

}  // namespace
