// Workbooks through the converter: a timetable whose texts are far longer
// than a cell holds, and the program's own symbols.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "pdb/savefile.h"
#include "support/bytes.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

// A timetable database whose title holds 430,173 characters, and whose
// Monday's first subject holds 40,000, exports: the reader cuts the title as
// its cell check does, the workbook cuts the subject to the 32,767
// characters a cell holds, each with its log line, and openpyxl reads both.
TEST(ConverterWorkbooks, ATimetableWithHugeTextsExports) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string title = "Kvinta" + std::string(430167, 'x');
  std::vector<std::string> records = {body({"0", "1", "1", "0", "ffffff"}), body({"", "0750"}), body({title, "0835"}),
                                      body({"", "1"})};
  records.resize(11, body({""}));
  records.push_back(body({"", std::string(40000, 'M')}));  // record 12: the subjects of Monday
  WriteFileAtomic(dir.filePath("Vekla-dlouhy.PDB"), pdbBytes("Vekla-dlouhy", "data", "TqbK", 0, 0, records));
  const Result r = RunIn(dir.path(), VEKLA_CONVERT_BIN, {"Vekla-dlouhy.PDB", "rozvrh.xlsx"});
  ASSERT_EQ(r.exitCode, 0) << r.err.left(300).toStdString();
  const QStringList log = r.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(log.size(), 2) << r.err.left(300).toStdString();
  EXPECT_TRUE(log[0].startsWith(QString::fromUtf8("log: Hodina /Den zkrácení položky Kvintaxxxx")))
      << log[0].left(100).toStdString();
  EXPECT_EQ(log[1], QString::fromUtf8("log: Sešit Excel: texty delší než 32 767 znaků zkráceny (buněk: 1, první B5)."));

  QProcess py;
  py.start("/usr/bin/python3", {"-c",
                                "import sys, openpyxl; ws = openpyxl.load_workbook(sys.argv[1]).active; "
                                "print(ws['A1'].value, len(ws['B5'].value))",
                                dir.filePath("rozvrh.xlsx")});
  ASSERT_TRUE(py.waitForFinished(60000));
  EXPECT_EQ(py.readAllStandardOutput().trimmed().toStdString(), "Rozvrh hodin: Kvintaxxxx 32767")
      << py.readAllStandardError().toStdString();
}

// The converter defines no function of the compression library: every
// compression in the process runs as that library makes it.
TEST(ConverterWorkbooks, TheConverterOverridesNoCompressionFunction) {
  QProcess nm;
  nm.start("nm", {"-D", "--defined-only", VEKLA_CONVERT_BIN});
  ASSERT_TRUE(nm.waitForFinished(60000));
  ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
  const QString symbols = QString::fromUtf8(nm.readAllStandardOutput());
  EXPECT_GT(symbols.size(), 0);
  for (const char* name : {"deflateInit2_", "deflateInit_", "deflate", "inflateInit2_", "compress2"})
    EXPECT_FALSE(symbols.contains(QRegularExpression(QString(" %1$").arg(name), QRegularExpression::MultilineOption)))
        << name;
}
