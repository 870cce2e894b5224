// vekla-convert run as a program: its output, messages and exit status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "pdb/pdbfile.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/process.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QString path(const QString& name) const { return dir_.filePath(name); }

  void writeFile(const QString& name, const std::string& bytes) const { WriteFileAtomic(path(name), bytes); }

  // Runs the converter in the temporary folder (support/process.h).
  Result run(const QStringList& args) const { return RunIn(dir_.path(), QStringLiteral(VEKLA_CONVERT_BIN), args); }

  QTemporaryDir dir_;
};

// A grades database of two semesters and one student, whose order number 0
// is repaired on reading.
std::string gradesDatabase() {
  const auto bytes = [](std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
  };
  return pdbBytes("Znamky-7A", "data", "TqbZ", 1110202215, 1110202215,
                  {body({"-2", "3", "ff0000", bytes({1, 9}), "pozn1", bytes({2, 9}), "pozn2"}),
                   body({"-1", "3", "1", bytes({8, 30}), "20241", bytes({9, 30}), "20242"}),
                   body({"0", "20241", "", bytes({8, 60}), "0", bytes({9, 60}), "0"}),
                   body({"0", cp("Novák Jan"), "2", bytes({1, 1}), "p1", bytes({2, 3}), "p2"})});
}

}  // namespace

TEST_F(ConvertTest, InfoPrintsTheHeader) {
  writeFile("r.pdb", pdbBytes(cp("Rozpisy-Čeština"), "data", "TqbR", 0, 1110202215, {body({"1"}), body({"2"})}));
  const Result r = run({"--info", "r.pdb"});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QString::fromUtf8("name: Rozpisy-Čeština\n"
                                     "creator: TqbR\n"
                                     "type: data\n"
                                     "created: 01.01.1970 01:00:00\n"
                                     "modified: 07.03.2005 14:30:15\n"
                                     "records: 2\n"));
  EXPECT_EQ(r.err, "");
}

TEST_F(ConvertTest, InfoOfAnUnreadableOrMalformedFileFails) {
  std::string bad = pdbBytes("x", "data", "TqbR", 0, 0, {body({"1"})});
  bad.replace(78, 4, be32(5000));  // the body's offset lies outside the file
  writeFile("bad.pdb", bad);
  writeFile("short.pdb", "abc");
  for (const QString& f : {QStringLiteral("bad.pdb"), QStringLiteral("short.pdb"), QStringLiteral("missing.pdb")}) {
    const Result r = run({"--info", f});
    EXPECT_EQ(r.exitCode, 1) << f.toStdString();
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.startsWith(QString::fromUtf8("vekla-convert: Soubor \"") + f)) << r.err.toStdString();
  }
  EXPECT_TRUE(run({"--info", "bad.pdb"}).err.contains(QString::fromUtf8("poškozená databáze")));
}

TEST_F(ConvertTest, WrongUsageExitsWithTwo) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  writeFile("unknown.pdb", pdbBytes("x", "data", "abcd", 0, 0, {}));
  const QStringList cases[] = {
      {},
      {"Znamky-7A.PDB"},
      {"Znamky-7A.PDB", "a.PDB", "b.PDB"},
      {"--bogus", "Znamky-7A.PDB", "out.PDB"},
      {"--kind", "tabulka", "Znamky-7A.PDB", "out.PDB"},
      {"--kind"},
      {"--semesters", "1,x", "Znamky-7A.PDB", "out.PDB"},
      {"--semester", "0", "Znamky-7A.PDB", "out.PDB"},
      {"--now", "2025-09-01", "Znamky-7A.PDB", "out.PDB"},
      {"--help=yes"},
      {"--info", "Znamky-7A.PDB", "out.PDB"},
      {"Znamky-7A.PDB", "out.txt"},
      {"Znamky-7A.txt", "out.PDB"},
      {"unknown.pdb", "out.PDB"},  // neither creator nor file name tells the kind
      {"--settings", "missing.ini", "Znamky-7A.PDB", "out.PDB"},
      {"--semester", "3", "Znamky-7A.PDB", "out.PDB"},  // the database has two semesters
  };
  for (const QStringList& args : cases) {
    const Result r = run(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString() << "\n" << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Použití: vekla-convert"))) << args.join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(path("out.PDB")));
  }
  const Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("--semesters"));
  const Result version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, QString("Vekla %1\n").arg(VEKLA_VERSION));
}

// The calendar has no HTML page: refused as wrong usage, nothing written,
// not even the folder.
TEST_F(ConvertTest, CalendarHasNoHtmlPage) {
  writeFile("vekla-datum.PDB",
            pdbBytes("vekla-datum", "datu", "TqbK", 0, 0, std::vector<std::string>(366, body({""}))));
  const QStringList before = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  const Result r = run({"vekla-datum.PDB", "out/"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.startsWith(QString::fromUtf8("vekla-convert: kalendář nemá export do HTML")))
      << r.err.toStdString();
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

// An OUTPUT ending in "/" or naming a folder gets the page and its style
// sheets; the settings choose the layout, --semester the semester shown.
TEST_F(ConvertTest, HtmlGoesIntoTheOutputFolder) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  writeFile("vekla.ini", "[Znamky]\r\nZvlast=1\r\n");
  QDir(dir_.path()).mkdir("html");
  const struct {
    QStringList args;
    const char *folder, *stem, *semester;
  } cases[] = {
      {{"Znamky-7A.PDB", "web/"}, "web", "znamky-7a_0110", "2. pol. 2024/2025"},
      {{"--semester", "1", "--settings", "vekla.ini", "Znamky-7A.PDB", "html"},
       "html",
       "znamky-7a_1111",
       "1. pol. 2024/2025"},
  };
  for (const auto& c : cases) {
    const Result r = run(c.args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString stem = c.stem;
    EXPECT_EQ(QDir(path(c.folder)).entryList(QDir::Files), QStringList({stem + ".css", stem + ".html", "znamky.css"}));
    EXPECT_NE(ReadWholeFile(path(c.folder) + "/" + stem + ".html").find(cp("Známky: 7A - ") + c.semester + "</span>"),
              std::string::npos)
        << c.stem;
  }
}

TEST_F(ConvertTest, GradeBookSaveFollowsTheSemesterOptions) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  const QString now = "2025-09-01 08:00:00";

  // Semester 1 shown, semester 2 declined: only the first pair is written.
  Result r = run({"--now", now, "--semester", "1", "--semesters", "1", "Znamky-7A.PDB", "Znamky-7B.PDB"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("vekla-convert: Uložit také pololetí 2. pol. 2024/2025?\n")));
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("\nlog: "))) << r.err.toStdString();  // the repaired order number
  PdbFile out = PdbFile::load(path("Znamky-7B.PDB"));
  EXPECT_EQ(out.header().name, "Znamky-7B");
  ASSERT_EQ(out.header().recordCount, 4);
  EXPECT_EQ(out.recordFields(2), (std::vector<std::string>{"-1", "3", "1", std::string{8, 30}, "20241"}));
  EXPECT_EQ(out.recordFields(4)[1], cp("Novák Jan"));

  // By default every semester is taken.
  r = run({"--now", now, "Znamky-7A.PDB", "Znamky-7C.PDB"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  out = PdbFile::load(path("Znamky-7C.PDB"));
  EXPECT_EQ(out.recordFields(2).size(), 7u);
  EXPECT_EQ(out.recordFields(2)[6], "20242");
}

TEST_F(ConvertTest, ThePreferencesDatabaseIsRefusedAndNothingIsWritten) {
  // The grade book's reader refuses the preferences database with a message;
  // the converter must not go on and save the empty grade book of the setup.
  writeFile("Znamky-db_pref.PDB", gradesDatabase());
  for (const QStringList& args : {QStringList{"Znamky-db_pref.PDB", "Znamky-7A.PDB"},
                                  QStringList{"--kind", "znamky", "Znamky-db_pref.PDB", "Znamky-7A.PDB"}}) {
    const Result r = run(args);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QString::fromUtf8("vekla-convert: Zvolte jiný soubor.\n"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("nebyl načten"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("Znamky-7A.PDB")));
  }
}

// An output that is the input (by any path to it), a grade book's values
// file that is the input, and the preferences database are refused: exit 1
// with the reason, every file as it was, nothing new.
TEST_F(ConvertTest, OutputOverTheInputOrThePreferencesDatabaseWritesNothing) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  writeFile("Rozpisy-F.PDB", pdbBytes("Rozpisy-F", "data", "TqbR", 0, 0,
                                      {body({"-1", "2", "ff0000", "0", "0", "0", "0", "0"}),
                                       body({"0", "2", "0", "0", "0", "0", "0", "0"})}));
  writeFile("Znamky-db_pref.PDB", pdbBytes("Znamky-db_pref", "data", "TqbZ", 0, 0, {body({"x"})}));
  ASSERT_EQ(run({"Znamky-7A.PDB", "7A.csv"}).exitCode, 0);  // 7A.csv and 7Ahodnoty.csv
  QDir(dir_.path()).mkdir("sub");
  ASSERT_TRUE(QFile::link(path("Znamky-7A.PDB"), path("odkaz.PDB")));
  const QString same = QString::fromUtf8("\" je vstupní soubor, nic nebylo zapsáno\n");
  const QString prefs = QString::fromUtf8("vekla-convert: Do databáze \"Znamky-db_pref.PDB\" nelze uložit: ");
  const std::pair<QStringList, QString> cases[] = {
      {{"Znamky-7A.PDB", "Znamky-7A.PDB"}, "vekla-convert: výstup \"" + path("Znamky-7A.PDB") + same},
      {{"Znamky-7A.PDB", "sub/../Znamky-7A.PDB"}, same},
      {{"odkaz.PDB", "Znamky-7A.PDB"}, "vekla-convert: výstup \"" + path("Znamky-7A.PDB") + same},
      {{"--kind", "znamky", "--two-values", "7Ahodnoty.csv", "7A.csv"},
       "vekla-convert: soubor hodnot \"" + path("7Ahodnoty.csv") + same},
      {{"Znamky-7A.PDB", "Znamky-db_pref.PDB"}, prefs},
      {{"--kind", "znamky", "7A.csv", "nove/znamky-DB_PREF.pdb"}, prefs},
      {{"Rozpisy-F.PDB", "ZNAMKY-db_pref.pdb"}, prefs},
  };
  const QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
  std::vector<std::string> before;
  for (const QString& n : names) before.push_back(ReadWholeFile(path(n)));
  for (const auto& [args, line] : cases) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const Result r = run(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(line)) << r.err.toStdString();
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), names);
    for (int i = 0; i < names.size(); ++i)
      EXPECT_EQ(ReadWholeFile(path(names[i])), before[i]) << names[i].toStdString();
  }
  EXPECT_FALSE(QDir(path("nove")).exists());
}

TEST_F(ConvertTest, UnreadableInputOrUnwritableOutputExitsWithOne) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  std::string broken = gradesDatabase();
  broken.resize(100);  // the record list runs past the end of the file
  writeFile("Znamky-8A.PDB", broken);

  Result r = run({"--kind", "znamky", "Znamky-8A.PDB", "out.PDB"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("poškozená databáze"))) << r.err.toStdString();
  r = run({"Znamky-8A.PDB", "out.PDB"});
  EXPECT_EQ(r.exitCode, 1);
  r = run({"chybi.PDB", "out.PDB"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(QFile::exists(path("out.PDB")));

  r = run({"Znamky-7A.PDB", "nic/Znamky-7A.PDB"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("nelze zapsat"))) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(path("nic/Znamky-7A.PDB")));

  // An existing output stays as it was when the input cannot be read.
  writeFile("keep.PDB", "old");
  EXPECT_EQ(run({"Znamky-8A.PDB", "keep.PDB"}).exitCode, 1);
  EXPECT_EQ(ReadWholeFile(path("keep.PDB")), "old");
}

// The kind comes from creator and type only when both are a kind's own: a
// calendar whose type field is damaged is still saved as a calendar (by its
// file name), never as a timetable that would drop its days.
TEST_F(ConvertTest, KindNeedsBothCreatorAndType) {
  std::vector<std::string> days;
  for (int d = 1; d <= 366; ++d) days.push_back(body({"den " + std::to_string(d)}));
  writeFile("vekla-datum.PDB", pdbBytes("vekla-datum", "xxxx", "TqbK", 0, 0, days));
  QDir(dir_.path()).mkdir("out");
  const Result r = run({"--now", "2025-09-01 08:00:00", "vekla-datum.PDB", "out/vekla-datum.PDB"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const PdbFile out = PdbFile::load(path("out/vekla-datum.PDB"));
  ASSERT_EQ(out.header().recordCount, 366);
  EXPECT_EQ(out.recordFields(366), std::vector<std::string>{"den 366"});
}

// PDB to CSV to PDB gives back every record CSV carries: the topics, the
// days, the lessons. Not carried: the header dates, the topic plan's
// highlight colour (its first record), and the timetable's panel settings
// and block colours (records 1 and 5 to 9, the first fields of 2 and 4).
TEST_F(ConvertTest, CsvRoundTripKeepsTheRecords) {
  const QString now = "2025-09-01 08:00:00";
  const std::string quoted = cp("Téma; \"citace\"\r\nřádek 2");
  std::vector<std::string> topics{body({"-1", "2", "ff0000", "0", "0", "0", "0", "0"}),
                                  body({"0", "2", "0", "0", "0", "0", "0", "0"})};
  for (int i = 1; i <= 3; ++i)
    topics.push_back(body({std::to_string(i), i == 2 ? quoted : cp("Téma ") + std::to_string(i), "01.09.2025", "pozn",
                           "1", "2", "3", "1"}));
  writeFile("Rozpisy-F.PDB", pdbBytes("Rozpisy-F", "data", "TqbR", 0, 0, topics));
  std::vector<std::string> days;
  for (int d = 1; d <= 366; ++d) days.push_back(body({d % 7 ? "den " + std::to_string(d) : ""}));
  writeFile("vekla-datum.PDB", pdbBytes("vekla-datum", "datu", "TqbK", 0, 0, days));
  // The timetable starts as a CSV file and is saved as a database first.
  writeFile("Vekla-A.csv",
            cp("Název;7A;7A\r\n;08:00;08:55\r\n;08:45;09:40\r\nPondělí;Čj;M\r\n;7A;7B\r\n;12;13\r\n;Nová;Malá\r\n"));
  ASSERT_EQ(run({"--now", now, "Vekla-A.csv", "Vekla-A.PDB"}).exitCode, 0);

  struct Case {
    const char* db;
    const char* csv;
    const char* kind;
    std::set<int> notCarried;  // records CSV does not carry
  } cases[] = {
      {"Rozpisy-F.PDB", "Rozpisy-F.csv", "rozpisy", {1}},
      {"vekla-datum.PDB", "vekla-datum.csv", "kalendar", {}},
      {"Vekla-A.PDB", "Vekla-A2.csv", "rozvrh", {1, 5, 6, 7, 8, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.db);
    const QString back = QString("back-") + c.db;
    Result r = run({"--now", now, c.db, c.csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run({"--now", now, "--kind", c.kind, c.csv, back});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const PdbFile a = PdbFile::load(path(c.db)), b = PdbFile::load(path(back));
    ASSERT_EQ(a.header().recordCount, b.header().recordCount);
    for (int i = 1; i <= a.header().recordCount; ++i) {
      if (c.notCarried.count(i)) continue;
      std::vector<std::string> fa = a.recordFields(i), fb = b.recordFields(i);
      if (std::string(c.kind) == "rozvrh" && (i == 2 || i == 4)) fa[0] = fb[0] = "";
      EXPECT_EQ(fa, fb) << "record " << i;
    }
  }
  EXPECT_NE(ReadWholeFile(path("Rozpisy-F.csv")).find("\"" + cp("Téma; \"\"citace\"\"\r\nřádek 2") + "\""),
            std::string::npos);
}

// A grade book goes out as two files: the grid as shown and the values file
// beside it, named after the first.
TEST_F(ConvertTest, GradeBookCsvIsTwoFiles) {
  writeFile("Znamky-7A.PDB", gradesDatabase());
  const Result r = run({"--now", "2025-09-01 08:00:00", "--semester", "1", "Znamky-7A.PDB", "trida.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  // The message box's line breaks as single spaces on the terminal's one line.
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("vekla-convert: Databáze \"Znamky-db_pref.PDB\" nebyla nalezena na adrese /")))
      << r.err.toStdString();
  EXPECT_FALSE(r.err.contains(QStringLiteral("  "))) << r.err.toStdString();
  const std::string shown = ReadWholeFile(path("trida.csv"));
  const std::string values = ReadWholeFile(path("tridahodnoty.csv"));
  EXPECT_EQ(shown.substr(0, shown.find('\r')), cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen"));
  EXPECT_NE(shown.find(cp("\r\n1;Novák Jan;1 ;")), std::string::npos) << shown;
  EXPECT_NE(values.find(cp("\r\n1;Novák Jan;1 1;")), std::string::npos) << values;
}

namespace {

// Through the converter: imported CSV never merges two students or shifts
// a field, reads what spreadsheets save, and is bounded in size.
TEST_F(ConvertTest, CsvImportKeepsEveryStudentAndEveryField) {
  const QString now = "2025-09-01 08:00:00";
  // Order numbers left empty, repeated and with gaps: four students, each
  // with a grade of their own.
  const std::string head = cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9\r\n;;08:00\r\n;;08:45\r\n");
  writeFile("7A.csv", head + cp(";Dušek Ivo;1 ;;;;0\r\n5;Adámková Eva;2 ;;;;0\r\n5;Zeman Petr;3 ;;;;0\r\n") +
                          cp("9;Bílá Jana;4 ;;;;0\r\n"));
  Result r = run({"--now", now, "--kind", "znamky", "7A.csv", "Znamky-7A.PDB"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const PdbFile grades = PdbFile::load(path("Znamky-7A.PDB"));
  ASSERT_EQ(grades.header().recordCount, 7);
  const std::vector<std::pair<std::string, std::string>> students = {
      {"1", "Dušek Ivo"}, {"5", "Adámková Eva"}, {"6", "Zeman Petr"}, {"9", "Bílá Jana"}};
  for (int i = 0; i < 4; ++i) {
    const std::vector<std::string> f = grades.recordFields(4 + i);
    ASSERT_GE(f.size(), 4u);
    EXPECT_EQ(f[0], students[static_cast<std::size_t>(i)].first);
    EXPECT_EQ(f[1], cp(students[static_cast<std::size_t>(i)].second.c_str()));
    EXPECT_EQ(f[3], std::string({'\1', static_cast<char>(i + 1)}));  // weight 1, the student's own grade
  }

  // A NUL inside a topic is dropped: no later field moves.
  writeFile("Rozpisy-N.csv", std::string("1;Zlo\0mky;01.09.2025;pozn;1;2;3;1\r\n", 36));
  r = run({"--now", now, "Rozpisy-N.csv", "Rozpisy-N.PDB"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("řídicí znak"))) << r.err.toStdString();
  EXPECT_EQ(PdbFile::load(path("Rozpisy-N.PDB")).recordFields(3),
            (std::vector<std::string>{"1", "Zlomky", "01.09.2025", "pozn", "1", "2", "3", "1"}));

  // UTF-8 with and without a byte-order mark gives the database its code
  // page 1250 twin gives.
  const std::string utf8 = "1;Žluťoučký kůň;01.09.2025;;1;1;1;0\r\n";
  writeFile("Rozpisy-A.csv", cp(utf8.c_str()));
  writeFile("Rozpisy-B.csv", utf8);
  writeFile("Rozpisy-C.csv", "\xEF\xBB\xBF" + utf8);
  for (const char* name : {"Rozpisy-A", "Rozpisy-B", "Rozpisy-C"})
    ASSERT_EQ(run({"--now", now, QString(name) + ".csv", QString(name) + ".PDB"}).exitCode, 0) << name;
  const std::string twin = ReadWholeFile(path("Rozpisy-A.PDB"));
  // The databases differ only in their names (the header's first 32 bytes).
  for (const char* name : {"Rozpisy-B.PDB", "Rozpisy-C.PDB"})
    EXPECT_EQ(ReadWholeFile(path(name)).substr(32), twin.substr(32)) << name;

  // A file over 16 MB is refused before it is read.
  {
    QFile big(path("Rozpisy-V.csv"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(17 * 1024 * 1024));
  }
  r = run({"Rozpisy-V.csv", "Rozpisy-V.PDB"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QString::fromUtf8("17 825 792 bajtů"))) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(path("Rozpisy-V.PDB")));
}

}  // namespace

// A CSV file of another kind is refused whatever names the kind, --kind or
// the file's name: exit status 1, one message, no output.
TEST_F(ConvertTest, AnotherKindsCsvIsRefused) {
  writeFile("Rozpisy-Z.csv", cp("Pořadí;Jméno;1;Průměr;Sm. odch.;Poznámka;Zkoušen\r\n;;1.9\r\n"));
  writeFile("plan.csv", cp("1;Úvod;1.9.2025;;1;1;1;0\r\n"));
  const std::pair<QStringList, const char*> cases[] = {
      {{"Rozpisy-Z.csv"}, "není rozpis: jeho první řádek je řádek titulků tabulky známek."},
      {{"--kind", "rozvrh", "Rozpisy-Z.csv"}, "není rozvrh: jeho první řádek je řádek titulků tabulky známek."},
      {{"--kind", "kalendar", "plan.csv"}, "není kalendář: jeho první řádek má 8 polí, kalendář má 1 sloupec."},
  };
  for (const auto& [args, message] : cases) {
    const Result r = run(args + QStringList{"Rozpisy-out.PDB"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("vekla-convert: Soubor \"%1\" %2 Tabulka zůstala beze změny.\n").arg(path(args.last()), message));
    EXPECT_FALSE(QFile::exists(path("Rozpisy-out.PDB")));
  }
  EXPECT_EQ(run({"--kind", "rozpisy", "plan.csv", "Rozpisy-out.PDB"}).exitCode, 0);
}
