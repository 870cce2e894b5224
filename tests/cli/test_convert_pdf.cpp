// vekla-convert writing PDF files: the converter a user runs hands such a
// command line to the one built with the printing library, which draws
// without a display; every other conversion runs without Qt's GUI module.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/poppler.h"
#include "support/process.h"
#include "support/realparts.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class ConvertPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // A grade book of two semesters and one student: "1" in the first,
    // "3" in the second.
    const auto bytes = [](std::initializer_list<int> b) {
      std::string s;
      for (int v : b) s.push_back(static_cast<char>(v));
      return s;
    };
    WriteFileAtomic(path("Znamky-7A.PDB"),
                    pdbBytes("Znamky-7A", "data", "TqbZ", 1110202215, 1110202215,
                             {body({"-2", "3", "ff0000", bytes({1, 9}), "pozn1", bytes({2, 9}), "pozn2"}),
                              body({"-1", "3", "1", bytes({8, 30}), "20241", bytes({9, 30}), "20242"}),
                              body({"0", "20241", "", bytes({8, 60}), "0", bytes({9, 60}), "0"}),
                              body({"1", cp("Novák Jan"), "2", bytes({1, 1}), "p1", bytes({2, 3}), "p2"})}));
    WriteFileAtomic(path("Vekla-A.csv"), cp("Název;Rozvrh A\r\n"));
  }

  QString path(const QString& name) const { return dir_.filePath(name); }

  // Runs the converter users run, with no display and no platform asked for.
  Result run(const QStringList& args, const QString& program = QStringLiteral(VEKLA_CONVERT_BIN),
             const QProcessEnvironment& extra = {}) const {
    return RunIn(dir_.path(), program, args, {}, 0, extra, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  }

  QTemporaryDir dir_;
};

// The sheet of the semester asked for, dated by --now, with the messages
// any conversion of the file gives; the report of the class.
TEST_F(ConvertPdf, SheetOfTheSemesterAndTheReport) {
  VEKLA_REQUIRE_REAL_PART(PopplerPresent(), "poppler-utils (pdfinfo, pdftotext)");
  const QStringList now{QStringLiteral("--now"), QStringLiteral("2025-11-03 10:00:00")};
  const Result sql = run(now + QStringList{"Znamky-7A.PDB", "7A.sql"});
  ASSERT_EQ(sql.exitCode, 0) << sql.err.toStdString();
  struct Case {
    const char* semester;
    const char* label;
    const char* grade;
  };
  for (const Case& c : {Case{"1", "1. pol. 2024/2025", "1 "}, Case{"2", "2. pol. 2024/2025", "3 "}}) {
    SCOPED_TRACE(c.semester);
    const Result r = run(now + QStringList{"--semester", c.semester, "Znamky-7A.PDB", "7A.PDF"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, sql.err);
    ASSERT_EQ(PdfPages(path("7A.PDF")), 1);
    const QString text = PdfText(path("7A.PDF"), 1);
    for (const char* t : {"Známky: 7A", c.label, "Vytištěno 03.11.2025", "Novák Jan", c.grade})
      EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << text.toStdString();
  }
  const Result r = run(now + QStringList{"--report", "Znamky-7A.PDB", "vypis.pdf"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  ASSERT_EQ(PdfPages(path("vypis.pdf")), 1);
  const QString text = PdfText(path("vypis.pdf"), 1);
  for (const char* t : {"Výpis pro rodiče: 7A", "Novák Jan", "2. pol. 2024/2025", "Průměr"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t;
}

// The report is a PDF of a grade book only; nothing is written otherwise.
TEST_F(ConvertPdf, WrongUsesOfTheReport) {
  struct Case {
    QStringList args;
    const char* message;
    const char* output;
  };
  for (const Case& c : {Case{{"--report", "Znamky-7A.PDB", "7A.csv"}, "--report zapisuje jen soubor .pdf", "7A.csv"},
                        Case{{"--report", "Vekla-A.csv", "A.pdf"}, "rozvrh nemá výpis pro rodiče", "A.pdf"}}) {
    const Result r = run(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.message;
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("vekla-convert: ") + QString::fromUtf8(c.message)))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(QString::fromLatin1(c.output))));
  }
}

// Only a PDF conversion loads Qt's GUI library; the others start without it.
TEST_F(ConvertPdf, OnlyAPdfLoadsTheGuiLibrary) {
  QProcessEnvironment debug;
  debug.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
  for (const char* out : {"7A.sql", "7A.csv", "7A.PDB", "7A.xlsx"}) {
    const Result r = run({"Znamky-7A.PDB", QString::fromLatin1(out)}, QStringLiteral(VEKLA_CONVERT_BIN), debug);
    EXPECT_EQ(r.exitCode, 0) << out;
    EXPECT_FALSE(r.err.contains(QStringLiteral("libQt6Gui"))) << out;
  }
  const Result pdf = run({"Znamky-7A.PDB", "7A.pdf"}, QStringLiteral(VEKLA_CONVERT_BIN), debug);
  EXPECT_EQ(pdf.exitCode, 0);
  EXPECT_TRUE(pdf.err.contains(QStringLiteral("libQt6Gui")));
}

// A converter whose printing twin is not where it belongs says so and
// writes nothing.
TEST_F(ConvertPdf, WithoutThePrintingConverterNothingIsWritten) {
  QDir().mkpath(path("bin"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(VEKLA_CONVERT_BIN), path("bin/vekla-convert")));
  const Result r = run({"Znamky-7A.PDB", "7A.pdf"}, path("bin/vekla-convert"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.startsWith(QStringLiteral("vekla-convert: PDF nelze vytvořit: program \"") +
                               QDir::cleanPath(path("libexec/vekla/vekla-convert"))))
      << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(path("7A.pdf")));
  // Other conversions work as ever.
  EXPECT_EQ(run({"Znamky-7A.PDB", "7A.sql"}, path("bin/vekla-convert")).exitCode, 0);
}

}  // namespace
