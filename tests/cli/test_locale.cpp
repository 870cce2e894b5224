// The converter in the teacher's locale, cs_CZ.UTF-8, whose decimal
// separator is a comma: every file it writes is the same, byte for byte, as
// under the C locale, and the workbooks it writes open in an independent
// reader (openpyxl) with their numbers as numbers.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

namespace {

constexpr const char* kLocales[] = {"C", "cs_CZ.UTF-8"};

// One input of each kind, as a teacher's CSV file: averages with three
// decimals, Czech letters, dates and times.
struct Input {
  const char* file;
  const char* kind;
  const char* csv;  // UTF-8, lines without their ends
};
const Input kInputs[] = {
    {"Znamky-7A.csv", "znamky",
     "Pořadí;Jméno;1;2;3;Průměr;Sm. odch.;Poznámka;Zkoušen\n"
     ";;3.9;17.9;8.10\n;;08:00;08:00;09:40\n;;08:45;08:45;10:25\n"
     "1;Adámková Eva;1 ;2 ;1-;;;;0\n2;Chalupa Jan;3 ;2-;;;;omluven 17.9.;1\n"
     "3;Žák Petr;5 ;4 ;5 ;;;;2\n4;Hrubá Zora;;;;;;;0"},
    {"Rozpisy-Dejepis.csv", "rozpisy",
     "1;Pravěk: doba kamenná;03.09.2026;učebnice s. 6-11;1;1;1;1\n"
     "2;starověký Egypt;17.09.2026;referát;3;4;2;0"},
    {"Vekla-Novakova.csv", "rozvrh",
     "Název;1;2\n;07:50;08:40\n;08:35;09:25\nPondělí;D;Čj\n;7.A;6.B\n;21;12\n;Dějepis;Čeština"},
    {"vekla-datum.csv", "kalendar", nullptr},  // every day of a leap year
};

// The calendar's CSV: a line "d.m.;text" for each of the 366 days.
std::string CalendarCsv() {
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::string csv;
  for (int m = 1; m <= 12; ++m)
    for (int d = 1; d <= kDays[m - 1]; ++d)
      csv += std::to_string(d) + "." + std::to_string(m) + ".;" + (d == 29 && m == 2 ? cp("Horymír") : "") + "\r\n";
  return csv;
}

Result RunUnder(const QString& home, const char* locale, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = TestEnvironment(home);
  env.insert("LC_ALL", locale);
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(home);
  p.start(QStringLiteral(VEKLA_CONVERT_BIN), args);
  Result r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// Every file under `root`, by its path relative to it.
std::map<QString, std::string> FilesUnder(const QString& root) {
  std::map<QString, std::string> files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    files[QDir(root).relativeFilePath(path)] = ReadWholeFile(path);
  }
  return files;
}

// What openpyxl reads from a workbook: the number of cells under the
// three-decimals format that hold a number and of those that hold a text,
// and of the cells that hold a day.
std::string ReadBackNumbers(const QString& file) {
  const QString script = QStringLiteral(R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
numbers = texts = days = 0
for row in ws.iter_rows():
    for c in row:
        if hasattr(c.value, "month"): days += 1
        elif c.number_format == "0.000" and isinstance(c.value, float): numbers += 1
        elif c.number_format == "0.000" and isinstance(c.value, str): texts += 1
print("%d numbers, %d texts, %d days" % (numbers, texts, days))
)");
  QProcess py;
  py.start("/usr/bin/python3", {"-c", script, file});
  if (!py.waitForFinished(60000) || py.exitCode() != 0)
    return "openpyxl failed: " + py.readAllStandardError().toStdString();
  return py.readAllStandardOutput().trimmed().toStdString();
}

}  // namespace

TEST(ConverterLocale, EveryFileIsTheSameUnderTheCzechLocaleAndWorkbooksHoldNumbers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Input& in : kInputs) {
    std::string csv = in.csv ? cp(in.csv) + "\n" : CalendarCsv();
    for (std::size_t at = 0; in.csv && (at = csv.find('\n', at)) != std::string::npos; at += 2)
      csv.replace(at, 1, "\r\n");
    WriteFileAtomic(dir.filePath(in.file), csv);
  }
  WriteFileAtomic(dir.filePath("zvlast.ini"), "[Znamky]\r\nZvlast=1\r\n");

  for (const char* locale : kLocales) {
    const QString out = dir.filePath(locale) + "/";
    ASSERT_TRUE(QDir().mkpath(out));
    for (const Input& in : kInputs) {
      const QString stem = QFileInfo(in.file).completeBaseName();
      const QString db = out + stem + ".PDB";
      // The working files of each kind in a folder of their own.
      const QStringList common = {"--now", "2025-11-03 10:00:00", "--data", out + "data-" + in.kind};
      std::vector<QStringList> runs = {{"--kind", in.kind, dir.filePath(in.file), db},
                                       {db, out + stem + ".csv"},
                                       {db, out + stem + ".sql"},
                                       {db, out + stem + ".xlsx"}};
      if (std::string_view(in.kind) != "kalendar") runs.push_back({db, out + stem + "-html/"});
      if (std::string_view(in.kind) == "znamky")
        runs.push_back({"--settings", dir.filePath("zvlast.ini"), db, out + stem + "-zvlast.xlsx"});
      for (const QStringList& args : runs) {
        const Result r = RunUnder(dir.path(), locale, common + args);
        ASSERT_EQ(r.exitCode, 0) << locale << " " << args.join(' ').toStdString() << "\n" << r.err.toStdString();
      }
    }
  }

  const auto c = FilesUnder(dir.filePath("C")), czech = FilesUnder(dir.filePath("cs_CZ.UTF-8"));
  ASSERT_GT(c.size(), 24u);
  ASSERT_EQ(czech.size(), c.size());
  for (const auto& [name, bytes] : c) {
    const auto other = czech.find(name);
    ASSERT_NE(other, czech.end()) << name.toStdString();
    EXPECT_TRUE(other->second == bytes) << name.toStdString() << " differs under cs_CZ.UTF-8";
  }

  // The average and deviation of the three students with grades (the table
  // also has those of the three grade columns), and the calendar's days.
  const std::pair<const char*, const char*> workbooks[] = {
      {"Znamky-7A.xlsx", "12 numbers, 0 texts, 0 days"},
      {"Znamky-7A-zvlast.xlsx", "6 numbers, 0 texts, 0 days"},
      {"vekla-datum.xlsx", "0 numbers, 0 texts, 366 days"},
  };
  for (const auto& [file, want] : workbooks)
    for (const char* locale : kLocales)
      EXPECT_EQ(ReadBackNumbers(dir.filePath(QString(locale) + "/" + file)), want) << locale << " " << file;
}
