// vekla-convert's command line read by the toolkit's parser: each wrong
// option named in Czech as it was typed, followed by the usage; and two
// conversions on one --data folder taking turns.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include "support/process.h"

using namespace vekla::test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

bool waitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 200; ++i, QThread::msleep(50))
    if (condition()) return true;
  return false;
}

const QString kSample = QStringLiteral(VEKLA_SOURCE_DIR "/examples/Rozpisy-Dejepis-7A.csv");

}  // namespace

TEST(ConvertOptions, WrongOptionsAreNamedAsTyped) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const struct {
    QStringList args;
    const char* message;
  } cases[] = {
      {{"--bogus", kSample, "out.PDB"}, "neznámá volba --bogus"},
      {{kSample, "out.PDB", "-x"}, "neznámá volba -x"},
      {{kSample, "out.PDB", "--kind"}, "volbě --kind chybí hodnota"},
      {{"--two-values=1", kSample, "out.PDB"}, "volba --two-values nemá hodnotu"},
      {{"--data=", kSample, "out.PDB"}, "volbě --data chybí složka"},
      {{"--info", ""}, "volbě --info chybí soubor"},
      {{"--kind", "tabulka", "--kind", "rozpisy", kSample, "out.PDB"},
       "neznámý druh \"tabulka\" (znamky, rozpisy, rozvrh, kalendar)"},
      {{"--semester", "2", "--semester=-1", kSample, "out.PDB"}, "--semester čeká kladné číslo, ne \"-1\""},
      {{"--now", "2025-09-01 8:00", kSample, "out.PDB"}, "--now čeká \"RRRR-MM-DD hh:mm:ss\", ne \"2025-09-01 8:00\""},
  };
  // The message, then the one usage text that --help prints.
  const QString usage = RunIn(dir.path(), QStringLiteral(VEKLA_CONVERT_BIN), {QStringLiteral("--help")}).out;
  for (const auto& c : cases) {
    const Result r = RunIn(dir.path(), QStringLiteral(VEKLA_CONVERT_BIN), c.args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, u("vekla-convert: ") + u(c.message) + "\n" + usage);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.PDB")));
  }
}

// A conversion waits while another one writes the same working files: the
// first reads its input from a pipe and holds the folder until the pipe
// gives the file; only then does the second run.
TEST(ConvertOptions, ConversionsOnOneDataFolderTakeTurns) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath("Rozpisy-roura.csv");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  auto start = [&](const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(TestEnvironment(dir.path()));
    p->setWorkingDirectory(dir.path());
    p->start(QStringLiteral(VEKLA_CONVERT_BIN), args);
    EXPECT_TRUE(p->waitForStarted(10000));
    return p;
  };
  auto first = start({"--data", "prace", pipe, "first.PDB"});
  ASSERT_TRUE(waitFor([&] { return QFile::exists(dir.filePath("prace/vekla.lock")); }));
  auto second = start({"--data", "prace/", kSample, "second.csv"});
  // A window's folder is refused at once; another conversion's is waited for.
  EXPECT_FALSE(second->waitForFinished(700));
  EXPECT_FALSE(QFile::exists(dir.filePath("second.csv")));

  QFile writer(pipe), sample(kSample);
  ASSERT_TRUE(writer.open(QIODevice::WriteOnly) && sample.open(QIODevice::ReadOnly));
  writer.write(sample.readAll());
  writer.close();
  for (QProcess* p : {first.get(), second.get()}) {
    ASSERT_TRUE(p->waitForFinished(20000));
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
  }
  EXPECT_TRUE(QFile::exists(dir.filePath("first.PDB")));
  EXPECT_TRUE(QFile::exists(dir.filePath("second.csv")));
  EXPECT_FALSE(QFile::exists(dir.filePath("prace/vekla.lock")));
}
