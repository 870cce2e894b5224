// The converter's files as a teacher gets them: under her locale,
// cs_CZ.UTF-8 (decimal comma), every file is the same byte for byte as under
// C and the workbooks hold numbers as numbers; texts longer than a workbook
// cell holds export; no compression function is replaced.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "pdb/savefile.h"
#include "support/bytes.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

namespace {

Result Convert(const QString& home, const char* locale, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = TestEnvironment(home);
  env.insert("LC_ALL", locale);
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(home);
  p.start(VEKLA_CONVERT_BIN, args);
  Result r;
  if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) r.exitCode = p.exitCode();
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// What a Python script with openpyxl prints about the files.
QString Python(const char* script, const QStringList& files) {
  QProcess py;
  py.start("/usr/bin/python3", QStringList{"-c", script} + files);
  py.waitForFinished(60000);
  return QString::fromUtf8(py.readAllStandardOutput() + py.readAllStandardError()).trimmed();
}

}  // namespace

TEST(ConverterLocale, EveryFileIsTheSameUnderTheCzechLocaleAndWorkbooksHoldNumbers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // One CSV file of each kind (with its --kind), Czech letters, dates and
  // times, and grades whose averages have three decimals.
  const std::pair<const char*, const char*> inputs[] = {
      {"znamky", "Pořadí;Jméno;1;2;3;Průměr;Sm. odch.;Poznámka;Zkoušen\n;;3.9;17.9;8.10\n;;08:00;08:00;09:40\n"
                 ";;08:45;08:45;10:25\n1;Adámková Eva;1 ;2 ;1-;;;;0\n2;Chalupa Jan;3 ;2-;;;;omluven;1\n"
                 "3;Žák Petr;5 ;4 ;5 ;;;;2\n4;Hrubá Zora;;;;;;;0\n"},
      {"rozpisy", "1;Pravěk: doba kamenná;03.09.2026;učebnice;1;1;1;1\n2;starověký Egypt;17.09.2026;;3;4;2;0\n"},
      {"rozvrh", "Název;1;2\n;07:50;08:40\n;08:35;09:25\nPondělí;D;Čj\n;7.A;6.B\n;21;12\n;Dějepis;Čeština\n"},
      {"kalendar", "Nový rok\n\nHorymír\nŠtěpán\n"}};
  for (const auto& [kind, csv] : inputs)
    WriteFileAtomic(dir.filePath(QString(kind) + ".csv"), cp(QString(csv).replace("\n", "\r\n").toStdString()));
  WriteFileAtomic(dir.filePath("zvlast.ini"), "[Znamky]\r\nZvlast=1\r\n");

  for (const char* locale : {"C", "cs_CZ.UTF-8"}) {
    for (const auto& [kind, csv] : inputs) {
      // The working files of each kind in a folder of their own.
      const QString out = dir.filePath(locale) + "/" + kind, db = out + ".PDB";
      const QStringList common = {"--now", "2025-11-03 10:00:00", "--data", out + "-data"};
      QList<QStringList> runs = {{"--kind", kind, dir.filePath(QString(kind) + ".csv"), db},
                                 {db, out + ".csv"},
                                 {db, out + ".sql"},
                                 {db, out + ".xlsx"},
                                 {"--settings", dir.filePath("zvlast.ini"), db, out + "-zvlast.xlsx"}};
      if (QString(kind) != "kalendar") runs << QStringList{db, out + "-html/"};
      for (const QStringList& args : runs) {
        const Result r = Convert(dir.path(), locale, common + args);
        ASSERT_EQ(r.exitCode, 0) << locale << " " << args.join(' ').toStdString() << "\n" << r.err.toStdString();
      }
    }
  }
  std::map<QString, std::string> files[2];
  for (int i = 0; i < 2; ++i) {
    const QDir root(dir.filePath(i ? "cs_CZ.UTF-8" : "C"));
    for (QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      const QString path = it.next();
      files[i][root.relativeFilePath(path)] = ReadWholeFile(path);
    }
  }
  EXPECT_GT(files[0].size(), 30u);
  EXPECT_EQ(files[0].size(), files[1].size());
  for (const auto& [name, bytes] : files[0]) EXPECT_TRUE(files[1][name] == bytes) << name.toStdString();

  // Statistics: the average and deviation of the three students with grades
  // (the table also those of the three grade columns); the calendar's days.
  EXPECT_EQ(Python(R"(
import sys, openpyxl
for f in sys.argv[1:]:
    cells = [c for row in openpyxl.load_workbook(f).active.iter_rows() for c in row]
    print(sum(c.number_format == "0.000" and type(c.value) == float for c in cells),
          sum(c.number_format == "0.000" and type(c.value) == str for c in cells),
          sum(hasattr(c.value, "month") for c in cells))
)",
                   {dir.filePath("cs_CZ.UTF-8/znamky.xlsx"), dir.filePath("cs_CZ.UTF-8/znamky-zvlast.xlsx"),
                    dir.filePath("cs_CZ.UTF-8/kalendar.xlsx")}),
            "12 0 0\n6 0 0\n0 0 4");
}

// A timetable database whose title holds 430,173 characters, and whose
// Monday's first subject holds 40,000, exports: the reader cuts the title as
// its cell check does, the workbook cuts the subject to the 32,767
// characters a cell holds, each with its log line.
TEST(ConverterWorkbooks, ATimetableWithHugeTextsExports) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::vector<std::string> records = {body({"0", "1", "1", "0", "ffffff"}), body({"", "0750"}),
                                      body({"Kvinta" + std::string(430167, 'x'), "0835"}), body({"", "1"})};
  records.resize(11, body({""}));
  records.push_back(body({"", std::string(40000, 'M')}));  // record 12: the subjects of Monday
  WriteFileAtomic(dir.filePath("Vekla-dlouhy.PDB"), pdbBytes("Vekla-dlouhy", "data", "TqbK", 0, 0, records));
  const Result r = Convert(dir.path(), "C", {"Vekla-dlouhy.PDB", "rozvrh.xlsx"});
  ASSERT_EQ(r.exitCode, 0) << r.err.left(300).toStdString();
  const QStringList log = r.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(log.size(), 2) << r.err.left(300).toStdString();
  EXPECT_TRUE(log[0].startsWith(QString::fromUtf8("log: Hodina /Den zkrácení položky Kvintaxxxx")));
  EXPECT_EQ(log[1], QString::fromUtf8("log: Sešit Excel: texty delší než 32 767 znaků zkráceny (buněk: 1, první B5)."));
  EXPECT_EQ(Python("import sys, openpyxl; ws = openpyxl.load_workbook(sys.argv[1]).active; "
                   "print(ws['A1'].value, len(ws['B5'].value))",
                   {dir.filePath("rozvrh.xlsx")}),
            "Rozvrh hodin: Kvintaxxxx 32767");
}

// The converter defines no function of the compression library, so every
// compression in the process runs as that library makes it.
TEST(ConverterWorkbooks, TheConverterOverridesNoCompressionFunction) {
  QProcess nm;
  nm.start("nm", {"-D", "--defined-only", VEKLA_CONVERT_BIN});
  ASSERT_TRUE(nm.waitForFinished(60000));
  const QString symbols = QString::fromUtf8(nm.readAllStandardOutput());
  ASSERT_FALSE(symbols.isEmpty());
  EXPECT_FALSE(symbols.contains(QRegularExpression(" (deflate|inflate|compress)\\w*$", QRegularExpression::MultilineOption)));
}
