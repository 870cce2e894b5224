// The SQL scripts loaded into a real MariaDB server of the test's own (a
// private data folder and socket, no network), each twice, under the
// server's default strict mode and under modes that read quotes and
// backslashes otherwise, every row read back and compared to the grid's
// texts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <iterator>
#include <memory>

#include "convert/sql.h"
#include "pdb/codecs.h"
#include "pdb/savefile.h"
#include "pdb/text.h"
#include "support/gradebook.h"
#include "support/process.h"
#include "support/realparts.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#include <unistd.h>
#include <csignal>

namespace {

using vekla::test::Result;

QString Program(const char* name) {
  const QString inPath = QStandardPaths::findExecutable(name);
  return inPath.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"}) : inPath;
}

class SqlServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const QString install = Program("mariadb-install-db"), server = Program("mariadbd");
    if (install.isEmpty() || server.isEmpty() || Program("mariadb").isEmpty()) {
      missing_ = true;
      return;
    }
    dir_ = std::make_unique<QTemporaryDir>();
    const QString data = "--datadir=" + dir_->filePath("data");
    // Temporary tables in a folder of its own: two suites starting at once
    // (the test under C and under cs_CZ) would meet in /tmp.
    QDir().mkpath(dir_->filePath("tmp"));
    const QString tmp = "--tmpdir=" + dir_->filePath("tmp");
    // The server refuses to run as root unless told to.
    const QStringList user = geteuid() == 0 ? QStringList{"--user=root"} : QStringList{};
    const Result made = Run(
        install,
        QStringList{"--no-defaults", data, tmp, "--auth-root-authentication-method=normal", "--skip-test-db"} + user);
    if (made.exitCode != 0) {
      why_ = "mariadb-install-db failed: " + made.err.toStdString();
      return;
    }
    server_ = std::make_unique<QProcess>();
#ifdef Q_OS_LINUX
    // The server goes with the test, however the test ends.
    server_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    server_->start(server, QStringList{"--no-defaults", data, tmp, "--socket=" + socket(), "--skip-networking",
                                       "--pid-file=" + dir_->filePath("pid"), "--log-error=" + dir_->filePath("log")} +
                               user);
    for (int i = 0; i < 300 && server_->state() != QProcess::NotRunning; ++i) {
      if (Client({"-e", "SELECT 1"}).exitCode == 0) return;
      QThread::msleep(100);
    }
    QFile log(dir_->filePath("log"));
    why_ = "the server did not start: " + (log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : "");
    TearDownTestSuite();
  }
  static void TearDownTestSuite() {
    if (server_ && server_->state() != QProcess::NotRunning) {
      server_->terminate();
      if (!server_->waitForFinished(20000)) server_->kill();
      server_->waitForFinished();
    }
    server_.reset();
    dir_.reset();
  }
  void SetUp() override {
    VEKLA_REQUIRE_REAL_PART(!missing_, "MariaDB");
    ASSERT_TRUE(why_.empty()) << why_;
  }

  static QString socket() { return dir_->filePath("s"); }
  static Result Run(const QString& program, const QStringList& args, const QString& input = {}) {
    return vekla::test::RunIn(dir_->path(), program, args, input);
  }
  static Result Client(const QStringList& args, const QString& input = {}) {
    return Run(Program("mariadb"), QStringList{"--no-defaults", "--socket=" + socket(), "-u", "root"} + args, input);
  }

  // Loads the script twice into a new database of the name, in a session
  // whose sql_mode is `mode` (the server's default for none): both loads
  // succeed without a word but the note that the first had no table to drop.
  static void LoadTwice(const QString& db, const QString& script, const char* mode) {
    ASSERT_EQ(Client({"-e", "CREATE DATABASE " + db}).exitCode, 0);
    const QStringList session =
        mode ? QStringList{QString("--init-command=SET SESSION sql_mode='%1'").arg(mode)} : QStringList{};
    if (mode) {
      ASSERT_TRUE(Client(session + QStringList{"-N", "-e", "SELECT @@sql_mode"}).out.startsWith(mode));
    }
    for (int i = 0; i < 2; ++i) {
      const Result loaded = Client(session + QStringList{"--show-warnings", db}, script);
      EXPECT_EQ(loaded.exitCode, 0) << loaded.err.toStdString();
      QString said = loaded.out + loaded.err;
      if (i == 0) said.remove(QRegularExpression("^Note \\(Code 1051\\): Unknown table '[^\\n]*'\\n"));
      EXPECT_EQ(said.toStdString(), "");
    }
  }
  static std::string Select(const QString& db, const QString& query) {
    const Result back = Client({"-N", "-B", "-r", "--default-character-set=utf8mb4", db, "-e", query});
    EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
    return back.out.toStdString();
  }

  static inline std::unique_ptr<QTemporaryDir> dir_;
  static inline std::unique_ptr<QProcess> server_;
  static inline std::string why_;
  static inline bool missing_ = false;
};

struct Case {
  const char* kind;
  const char* file;  // the input, in UTF-8
  std::string csv;   // UTF-8, one line each, CR LF added
  const char* select;
  const char* rows;  // what the server gives back, UTF-8
};

// The calendar: 366 lines, three of them with a name.
std::string Days() {
  std::string lines;
  for (int d = 1; d < 366; ++d) lines += std::string(d == 1 ? "Nový rok" : d == 60 ? "Horymír's \\" : "") + "\n";
  return lines + "Silvestr";
}

const Case kCases[] = {
    {"znamky", "7A.csv",
     "Pořadí;Jméno;1;2;Průměr;Sm. odch.;Poznámka;Zkoušen\n;;5.9;15.10;;;;\n;;08:00;10:45;;;;\n;;08:45;11:30;;;;\n"
     "1;O'Connor Jan;1;2;;;poznámka \\ s lomítkem;\n2;Dvořák Petr;;;;;;3",
     "SELECT * FROM `7A20251` ORDER BY Poradi",
     "-6\tDny\t0515\t0\t0\t\t0\n-5\tMesice\t0910\t0\t0\t\t0\n-4\tHodiny1\t0810\t0\t0\t\t0\n"
     "-3\tMinuty1\t0045\t0\t0\t\t0\n-2\tHodiny2\t0811\t0\t0\t\t0\n-1\tMinuty2\t4530\t0\t0\t\t0\n"
     "1\tO'Connor Jan\t1A1B\t1.5\t0.5\tpoznámka \\ s lomítkem\t0\n2\tDvořák Petr\t\t0\t0\t\t3\n"},
    {"rozpisy", "Rozpisy-Čj `A`.csv",
     "0;Úvod do 'SQL';15.10.2004;C:\\data\\;;2;3;1\n;úvod do 'sql';;;;;;\n3;Příklady;1.9.2025;;;;;0",
     "SELECT * FROM `Rozpisy-Čj ``A``` ORDER BY Poradi",
     "1\tÚvod do 'SQL'\t2004-10-15\tC:\\data\\\tNULL\t2\t3\t1\n3\tPříklady\t2025-09-01\t\tNULL\tNULL\tNULL\t0\n"
     "4\túvod do 'sql'\tNULL\t\tNULL\tNULL\tNULL\tNULL\n"},
    {"rozvrh", "Vekla-A.csv", "Název;1;1\n;08:00;08:55\n;08:45;09:40\nPondělí;Čj;M\n;7.A;7.B\n;12;13\n;O'Neil;Malá\\",
     "SELECT COUNT(*) FROM `Vekla-A`; SELECT * FROM `Vekla-A` WHERE Den IN (1, 5) ORDER BY Den, Hodina",
     "10\n1\t1\t08:00:00\t08:45:00\tČj\t7.A\t12\tO'Neil\n1\t2\t08:55:00\t09:40:00\tM\t7.B\t13\tMalá\\\n"
     "5\t1\t08:00:00\t08:45:00\t\t\t\t\n5\t2\t08:55:00\t09:40:00\t\t\t\t\n"},
    {"kalendar", "vekla-datum.csv", Days(),
     "SELECT COUNT(*) FROM `vekla-datum`; SELECT * FROM `vekla-datum` WHERE jmeno <> '' ORDER BY mesic, den",
     "366\n1\t1\tNový rok\n2\t29\tHorymír's \\\n12\t31\tSilvestr\n"},
};

// The server's default (strict) mode; one that reads a backslash in a
// text as itself, so that "\'" would end the text; one that reads double
// quotes as the quotes of names.
const char* const kModes[] = {nullptr, "NO_BACKSLASH_ESCAPES,STRICT_ALL_TABLES", "ANSI_QUOTES"};

TEST_F(SqlServerTest, EveryKindLoadsTwiceUnderEveryModeAndReadsBack) {
  ASSERT_TRUE(Client({"-N", "-e", "SELECT @@sql_mode"}).out.contains("STRICT_TRANS_TABLES"));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.kind);
    const QString input = dir_->filePath(QString::fromUtf8(c.file)), script = dir_->filePath("out.sql");
    vekla::WriteFileAtomic(input, vekla::cp(vekla::ReplaceAll(c.csv, "\n", "\r\n")));
    const Result made = Run(VEKLA_CONVERT_BIN, {"--now", "2025-09-01 08:00:00", "--kind", c.kind, input, script});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    for (std::size_t m = 0; m < std::size(kModes); ++m) {
      SCOPED_TRACE(kModes[m] ? kModes[m] : "default");
      const QString db = QString("%1%2").arg(c.kind).arg(m);
      LoadTwice(db, script, kModes[m]);
      EXPECT_EQ(Select(db, c.select), c.rows);
    }
  }
}

// Texts and names made to end a text, a name, a statement or a line, or to
// start a comment, among them a student whose name would drop a database
// on a server that reads backslashes as themselves. Each is read back as
// it was in every mode, and the database stays.
QString Hex(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex().toUpper();
}

TEST_F(SqlServerTest, HostileTextsAndNamesStayTexts) {
  using namespace vekla;
  using namespace std::string_literals;
  ASSERT_EQ(Client({"-e", "CREATE DATABASE victim"}).exitCode, 0);
  const std::string hostile = "a'b\\c`d;e--f/*g\r\nh\0\x1a"s;  // 20 characters
  const std::string name = "7A'`;--/*\\\r\n#"s;
  const std::string table = "7A'`;--/*\\__#";
  // Each injection ends its text where the script would have it end when a
  // backslash escaped the quote, and closes the row.
  const std::string student = "x', 0, 0, 0, 0, 0); DROP DATABASE victim; #";
  const std::string topic = "x', NULL, 0, 0, 0, 0, 0); DROP DATABASE victim; #";
  const std::string room = "x',0); DROP DATABASE victim;#";
  const struct {
    DbKind kind;
    std::function<void(VeklaState&)> fill;
    ExportFiles (*codec)(const VeklaState&, const GradeDisplayOptions&);
    std::string table;
    QString select;
    QString rows;
  } cases[] = {
      {DbKind::Znamky,
       [&](VeklaState& s) {
         test::GradeBookGrid(s, 2, 1);
         s.semesterItems = {"1. pol. 2025/2026"};
         s.semesterItemIndex = 0;
         s.grid.setText(1, 4, "1");
         s.grid.setText(2, 4, student);
         s.grid.setText(6, 4, hostile);
         s.grid.setText(1, 5, "2");
         s.grid.setText(2, 5, hostile);
       },
       SqlGradeFiles, table + "20251",
       "SELECT COUNT(*) FROM %1; SELECT Poradi, HEX(Jmeno), HEX(Poznamka) FROM %1 WHERE Poradi > 0 ORDER BY Poradi",
       "8\n1\t" + Hex(student) + "\t" + Hex(hostile) + "\n2\t" + Hex(hostile) + "\t\n"},
      {DbKind::Rozpisy,
       [&](VeklaState& s) {
         s.grid.setRowCount(3);
         s.grid.setText(1, 1, "1");
         s.grid.setText(2, 1, topic);
         s.grid.setText(4, 1, hostile);
         s.grid.setText(1, 2, "2");
         s.grid.setText(2, 2, hostile);
       },
       SqlTopicFiles, table, "SELECT COUNT(*) FROM %1; SELECT Poradi, HEX(Tema), HEX(Poznamka) FROM %1 ORDER BY Poradi",
       "2\n1\t" + Hex(topic) + "\t" + Hex(hostile) + "\n2\t" + Hex(hostile) + "\t\n"},
      {DbKind::Rozvrh,
       [&](VeklaState& s) {
         s.grid.setText(2, 4, hostile);
         s.grid.setText(2, 6, room);
         s.grid.setText(2, 7, hostile);
       },
       SqlTimetableFiles, table,
       "SELECT Den, Hodina, HEX(Predmet), HEX(Ucebna), HEX(Propojeni) FROM %1 WHERE Predmet <> ''",
       "1\t1\t" + Hex(hostile) + "\t" + Hex(room) + "\t" + Hex(hostile) + "\n"},
      {DbKind::Kalendar, [&](VeklaState& s) { s.grid.setText(1, 60, hostile); }, SqlCalendarFiles, table,
       "SELECT COUNT(*) FROM %1; SELECT mesic, den, HEX(jmeno) FROM %1 WHERE jmeno <> ''",
       "366\n2\t29\t" + Hex(hostile) + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(KindPrefix(c.kind));
    VeklaState s;
    s.programDir = dir_->path() + "/";
    s.workFilesInMemory = true;
    s.gradesIniLoaded = true;
    InitControls(s);
    SetupTab(s, c.kind);
    s.EditN = name;
    c.fill(s);
    const QString script = dir_->filePath("hostile.sql");
    WriteFileAtomic(script, c.codec(s, {})[0].bytes);
    for (std::size_t m = 0; m < std::size(kModes); ++m) {
      SCOPED_TRACE(kModes[m] ? kModes[m] : "default");
      const QString db = QString("hostile%1%2").arg(static_cast<int>(c.kind)).arg(m);
      LoadTwice(db, script, kModes[m]);
      EXPECT_EQ(Select(db, "SELECT HEX(table_name) FROM information_schema.tables WHERE table_schema = '" + db + "'"),
                (Hex(c.table) + "\n").toStdString());
      const QString quoted = "`" + QString::fromStdString(ReplaceAll(c.table, "`", "``")) + "`";
      EXPECT_EQ(Select(db, c.select.arg(quoted)), c.rows.toStdString());
    }
  }
  EXPECT_EQ(Select("victim", "SELECT DATABASE()"), "victim\n");
}

}  // namespace
