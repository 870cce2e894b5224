// The printed pages as a reader sees them, through poppler: the text of
// every page (pdftotext), the colours of a page (pdftoppm), the fonts, and
// the page counts the layout's rules give for a class of 30 and of 999.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cmath>
#include <set>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/folders.h"
#include "commands/kindtable.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "print/gradesheet.h"
#include "print/printcodecs.h"
#include "support/gradebook.h"
#include "support/kindsfixture.h"
#include "support/poppler.h"
#include "support/realparts.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/setup.h"

using namespace vekla;
using namespace vekla::test;

namespace {

// Ten surnames by three first names: thirty names, none inside another.
const char* const kSurnames[10] = {"Adámek", "Bartoš", "Čermák", "Dušek", "Fiala",
                                   "Hájek",  "Jelínek", "Kříž",  "Musil", "Říha"};
const char* const kFirstNames[3] = {"Ondřej", "Šimon", "Žofie"};

QString NameOf(int n) {
  return QString::fromUtf8(kSurnames[(n - 1) % 10]) + ' ' + QString::fromUtf8(kFirstNames[(n - 1) / 10 % 3]);
}

// A grade book of `students` by `columns`: every grade one of the twenty
// symbols in one of the four weights (1, 2, 0,5 and 3), a date over every
// column, a note for every seventh student, the statistics computed.
VeklaState Class(int students, int columns) {
  VeklaState s;
  DefaultGradeScale(s);
  const char* values[4] = {"1,00", "2,00", "0,50", "3,00"};
  for (std::size_t n = 0; n < 4; ++n) s.weights[n].text = values[n];
  GradeBookGrid(s, students, columns);
  s.EditN = "Znamky-7B";
  s.semesterText = cp("1. pol. 2025/2026");
  CellGrid& g = s.grid;
  for (int c = 3; c < 3 + columns; ++c) g.setText(c, GradeGeometry::kDateRow, std::to_string(1 + c % 28) + ".9");
  for (int n = 1; n <= students; ++n) {
    const int r = GradeGeometry::studentRow(n);
    g.setText(1, r, std::to_string(n));
    g.setText(2, r, fromQt(NameOf(n)));
    if (n % 7 == 0) g.setText(columns + 5, r, cp("omluven"));
    for (int c = 3; c < 3 + columns; ++c) {
      g.setText(c, r, cp(kGradeSymbols[(7 * n + 3 * c) % 20]));
      g.setFontColor(c, r, kWeightColours[(n + c) % 4]);
    }
  }
  ComputeStatistics(s);
  return s;
}

// A grade as the page shows it: the symbol, then its weight's number raised.
QString Shown(const VeklaState& s, int col, int row) {
  static const char* const marks[4] = {"¹", "²", "³", "⁴"};
  return toQt(s.grid.text(col, row)).trimmed() +
         QString::fromUtf8(marks[WeightNumber(s, s.grid.fontColor(col, row)) - 1]);
}

// The file an export codec gives, written into `dir`.
QString Written(const QTemporaryDir& dir, const ExportFiles& files) {
  EXPECT_EQ(files.size(), 1u);
  const QString path = dir.filePath(files.front().name);
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(files.front().bytes.data(), static_cast<qint64>(files.front().bytes.size()));
  return path;
}

// The words of the line of a page's text that holds `name`.
QStringList RowOf(const QString& pageText, const QString& name) {
  for (const QString& line : pageText.split('\n'))
    if (line.contains(name)) return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  return {};
}

// The words of the line of a page's text that starts with the order number `n`.
QStringList RowNumbered(const QString& pageText, int n) {
  for (const QString& line : pageText.split('\n')) {
    const QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (!words.isEmpty() && words.front() == QString::number(n)) return words;
  }
  return {};
}

class Printed : public ::testing::Test {
 protected:
  void SetUp() override {
    VEKLA_REQUIRE_REAL_PART(PopplerPresent(), "poppler-utils (pdfinfo, pdftotext, pdftoppm, pdffonts)");
    ASSERT_TRUE(dir.isValid());
    SetNow(QDateTime(QDate(2025, 11, 3), QTime(10, 0, 0)));
    InstallPrinting();
  }
  void TearDown() override { SetNow(QDateTime()); }
  QTemporaryDir dir;
};

// Every student with every grade (its weight's number raised after it),
// average and deviation on the row of the page a reader finds them on; the
// frame; DejaVu Sans in the file.
TEST_F(Printed, EveryStudentGradeAndAverageOnItsPage) {
  const VeklaState s = Class(30, 8);
  const QString pdf = Written(dir, PdfGradeFiles(s, {}));
  EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("znamky-7b_0110.pdf"));
  ASSERT_EQ(PdfPages(pdf), 1);
  const QString text = PdfText(pdf, 1);
  for (const char* frame : {"Známky: 7B", "1. pol. 2025/2026", "Vytištěno 03.11.2025", "strana 1 z 1"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(frame))) << frame;
  const GradeGeometry geo(s.grid);
  for (int n = 1; n <= 30; ++n) {
    const int r = GradeGeometry::studentRow(n);
    QStringList expected{QString::number(n), NameOf(n).section(' ', 0, 0), NameOf(n).section(' ', 1)};
    for (int c = 3; c <= geo.lastGradeCol(); ++c) expected << Shown(s, c, r);
    expected << toQt(s.grid.text(geo.averageCol(), r)) << toQt(s.grid.text(geo.deviationCol(), r));
    if (n % 7 == 0) expected << QStringLiteral("omluven");
    EXPECT_EQ(RowOf(text, NameOf(n)), expected) << n;
  }
  // The class: every column's average, and the class average.
  QStringList averages{QStringLiteral("Průměr")};
  for (int c = 3; c <= geo.averageCol(); ++c) averages << toQt(s.grid.text(c, geo.averageRow()));
  QStringList averageRow;
  for (const QString& line : text.split('\n'))
    if (line.trimmed().startsWith(QStringLiteral("Průměr "))) averageRow = line.split(' ', Qt::SkipEmptyParts);
  EXPECT_EQ(averageRow, averages);
  const QString fonts = PdfFonts(pdf);
  EXPECT_TRUE(fonts.contains(QRegularExpression(QStringLiteral("DejaVuSans\\s.*\\syes\\s")))) << fonts.toStdString();
}

// Inside a grade's cell the grade is in its weight's colour and in no
// other weight's; an average's cell is filled with its band's colour.
TEST_F(Printed, ColoursOfGradesAndAveragesOnThePage) {
  const VeklaState s = Class(30, 8);
  const QString pdf = Written(dir, PdfGradeFiles(s, {}));
  constexpr int kDpi = 100;
  const QImage page = PdfPicture(pdf, 1, kDpi);
  ASSERT_FALSE(page.isNull());
  // The layout the PDF was drawn with.
  GradeSheet sheet(s);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(300);
  sheet.layout(Ink(&writer));
  const double margin = PrintDocument::kMarginMm * 72 / 25.4;
  auto pixels = [&](int col, int row) {
    const std::vector<GradeSheet::Place> places = sheet.placesOf(col, row);
    EXPECT_EQ(places.size(), 1u);
    const QRectF r = places.front().rect.translated(margin, margin);
    return QRect(QPoint(static_cast<int>(std::ceil(r.left() * kDpi / 72)) + 2,
                        static_cast<int>(std::ceil(r.top() * kDpi / 72)) + 2),
                 QPoint(static_cast<int>(r.right() * kDpi / 72) - 2, static_cast<int>(r.bottom() * kDpi / 72) - 2));
  };
  auto near = [](QRgb a, Color b) {
    return std::abs(qRed(a) - redOf(b)) + std::abs(qGreen(a) - greenOf(b)) + std::abs(qBlue(a) - blueOf(b)) < 40;
  };
  // Student 5's grades in columns 3 to 6: all four weights.
  const int row = GradeGeometry::studentRow(5);
  for (int c = 3; c <= 6; ++c) {
    const int weight = WeightNumber(s, s.grid.fontColor(c, row));
    SCOPED_TRACE(weight);
    std::array<int, 4> seen{};
    const QRect cell = pixels(c, row);
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        for (int w = 0; w < 4; ++w) seen[static_cast<std::size_t>(w)] += near(page.pixel(x, y), kWeightColours[w]);
    for (int w = 0; w < 4; ++w) {
      if (w + 1 == weight) {
        EXPECT_GE(seen[static_cast<std::size_t>(w)], 6);
      } else {
        EXPECT_EQ(seen[static_cast<std::size_t>(w)], 0) << "weight " << w + 1;
      }
    }
  }
  const GradeGeometry geo(s.grid);
  for (int n : {1, 2, 3, 4, 5}) {
    const int r = GradeGeometry::studentRow(n);
    const QRect cell = pixels(geo.averageCol(), r);
    EXPECT_TRUE(near(page.pixel(cell.left() + 1, cell.center().y()), resolveColor(s.grid.brush(geo.averageCol(), r))))
        << n;
  }
}

// The page counts of the rules. A4 less 12 mm on each side is 527 by 774
// points; the frame takes 24 above and 16 below, the legend 16: 718 points
// of table upright, 471 across. Rows are 12 points and the two title rows
// repeat, so an upright page holds 57 rows and a page across 37. A sheet
// that fits an upright page's width is printed upright; a wider one across,
// cut into parts that repeat the order number and the name, part after
// part for the same students before the next ones.
TEST_F(Printed, PageCountsOfClassesOf30And999) {
  struct Case {
    int students, columns;
    bool across;
    int rowsAPage;
  };
  int partsOf30 = 0;
  for (const Case& c : {Case{30, 8, false, 57}, Case{999, 8, false, 57}, Case{30, 60, true, 37},
                        Case{999, 60, true, 37}}) {
    SCOPED_TRACE(std::to_string(c.students) + " x " + std::to_string(c.columns));
    const VeklaState s = Class(c.students, c.columns);
    const QString pdf = Written(dir, PdfGradeFiles(s, {}));
    EXPECT_EQ(PdfLandscape(pdf), c.across);
    // The students, then the averages and the deviations.
    const int bands = (c.students + 2 + c.rowsAPage - 1) / c.rowsAPage;
    const int pages = PdfPages(pdf);
    ASSERT_EQ(pages % bands, 0) << pages;
    const int parts = pages / bands;
    if (c.students == 30 && c.across) partsOf30 = parts;
    if (c.students == 999 && c.across) {
      EXPECT_EQ(parts, partsOf30);
    }
    EXPECT_EQ(parts >= 2, c.across);
    // Each page of a band: its students by name and number, the dates; each
    // grade column's title on one part only, in order.
    for (int b = 0; b < bands; b += std::max(1, bands - 1)) {
      std::vector<int> titles;
      for (int part = 0; part < parts; ++part) {
        const QString text = PdfText(pdf, b * parts + part + 1);
        EXPECT_TRUE(text.contains(QStringLiteral("Datum")));
        const int first = b * c.rowsAPage + 1, last = std::min(c.students, (b + 1) * c.rowsAPage);
        for (int n = first; n <= last; ++n)
          EXPECT_EQ(RowNumbered(text, n).mid(1, 2).join(' '), NameOf(n)) << "student " << n << " part " << part;
        // The band's students only.
        EXPECT_TRUE(RowNumbered(text, first - 1).isEmpty());
        EXPECT_TRUE(RowNumbered(text, last + 1).isEmpty());
        const QStringList head = RowOf(text, QStringLiteral("Jméno"));
        for (const QString& w : head) {
          bool number = false;
          const int t = w.toInt(&number);
          if (number) titles.push_back(t);
        }
        EXPECT_EQ(head.contains(QStringLiteral("Průměr")), part + 1 == parts);
      }
      std::vector<int> all(static_cast<std::size_t>(c.columns));
      for (int i = 0; i < c.columns; ++i) all[static_cast<std::size_t>(i)] = i + 1;
      EXPECT_EQ(titles, all);
    }
  }
}

// The report: a page for each student, naming that student alone, with
// each grade's date and weight and the student's average.
TEST_F(Printed, ReportPageForEachStudentNamingOnlyThem) {
  const VeklaState s = Class(30, 6);
  const QString pdf = Written(dir, PdfReportFiles(s, {}));
  EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("znamky-7b-vypis.pdf"));
  ASSERT_EQ(PdfPages(pdf), 30);
  const GradeGeometry geo(s.grid);
  for (int n = 1; n <= 30; ++n) {
    const QString text = PdfText(pdf, n);
    for (int other = 1; other <= 30; ++other) EXPECT_EQ(text.contains(NameOf(other)), other == n) << n << "/" << other;
    const int r = GradeGeometry::studentRow(n);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Průměr:\\s+") + toQt(s.grid.text(geo.averageCol(), r)))))
        << n;
    for (int c = 3; c <= geo.lastGradeCol(); ++c) {
      const QStringList line = RowOf(text, toQt(s.grid.text(c, GradeGeometry::kDateRow)) + ' ');
      const int weight = WeightNumber(s, s.grid.fontColor(c, r));
      EXPECT_TRUE(line.contains(Shown(s, c, r))) << n << " column " << c;
      EXPECT_TRUE(line.join(' ').contains(QStringLiteral("váha %1 (").arg(weight))) << n << " column " << c;
    }
  }
  // The chosen students only, in the order given.
  const QString two = Written(dir, ReportFiles(s, {GradeGeometry::studentRow(9), GradeGeometry::studentRow(2), 1}));
  ASSERT_EQ(PdfPages(two), 2);
  EXPECT_TRUE(PdfText(two, 1).contains(NameOf(9)));
  EXPECT_TRUE(PdfText(two, 2).contains(NameOf(2)));
}

// The other kinds: the timetable on one page across, the calendar's year on
// two pages of six months, a long topic plan on pages of 55 rows.
TEST_F(Printed, TimetableCalendarAndTopicPlan) {
  VeklaState s;
  InitControls(s);
  SetupTab(s, DbKind::Rozvrh);
  s.grid.setText(4, 4, cp("Dějepis"));
  s.grid.setText(8, 21, cp("Tělocvična"));
  QString pdf = Written(dir, PdfTimetableFiles(s, {}));
  EXPECT_EQ(PdfPages(pdf), 1);
  EXPECT_TRUE(PdfLandscape(pdf));
  for (const char* t : {"Dějepis", "Tělocvična", "Pondělí", "Pátek", "07:50"})
    EXPECT_TRUE(PdfText(pdf, 1).contains(QString::fromUtf8(t))) << t;

  SetupTab(s, DbKind::Kalendar);
  s.grid.setText(1, 1, cp("Nový rok"));
  s.grid.setText(1, 182, cp("Jaroslava"));  // 30.6
  s.grid.setText(1, 366, cp("Silvestr"));
  pdf = Written(dir, PdfCalendarFiles(s, {}));
  ASSERT_EQ(PdfPages(pdf), 2);
  const QString first = PdfText(pdf, 1), second = PdfText(pdf, 2);
  for (const char* t : {"Leden", "Červen", "Nový rok", "Jaroslava"}) EXPECT_TRUE(first.contains(QString::fromUtf8(t))) << t;
  for (const char* t : {"Červenec", "Prosinec", "Silvestr"}) EXPECT_TRUE(second.contains(QString::fromUtf8(t))) << t;
  EXPECT_FALSE(second.contains(QStringLiteral("Jaroslava")));

  // A topic plan has no legend: 774 - 40 points, rows of 13 and one title
  // row make 55 rows a page.
  SetupTab(s, DbKind::Rozpisy);
  s.grid.setRowCount(111);
  for (int r = 1; r <= 110; ++r) s.grid.setText(2, r, cp("téma ") + std::to_string(r));
  pdf = Written(dir, PdfTopicFiles(s, {}));
  ASSERT_EQ(PdfPages(pdf), 2);
  EXPECT_FALSE(PdfLandscape(pdf));
  EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("téma 55")));
  EXPECT_FALSE(PdfText(pdf, 1).contains(QStringLiteral("téma 56")));
  EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("téma 110")));
  EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("Téma")));
}

// The PDF exports are conversions of the table of kinds once installed: the
// pages of every kind, the report of the grade book alone; an export leaves
// the tab as it was and proposes its file in the export folder.
class PrintExports : public KindTest {
 protected:
  PrintExports() : KindTest(DbKind::Znamky) {}
};

TEST_F(PrintExports, EveryPdfExportLeavesTheTabAsItWas) {
  InstallPrinting();
  for (DbKind kind : kAllKinds) {
    SCOPED_TRACE(KindPrefix(kind));
    EXPECT_TRUE(KindTable(kind).has(Conversion::ExportPdf));
    EXPECT_EQ(KindTable(kind).has(Conversion::ExportReport), kind == DbKind::Znamky);
    SetupTab(s, kind);
    s.EditN.clear();
    const std::string before = Snapshot(s);
    for (Conversion c : {Conversion::ExportPdf, Conversion::ExportReport}) {
      if (!KindTable(kind).has(c)) continue;
      p.saveAnswers = {path("tisk.pdf")};
      const std::size_t asked = p.saveRequests.size();
      ASSERT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, c); }), Outcome::Done);
      EXPECT_EQ(Snapshot(s), before);
      const FileDialogRequest& r = p.saveRequests.at(asked);
      EXPECT_EQ(r.initialDir, ExportFolder(s));
      EXPECT_TRUE(r.fileName.startsWith(r.initialDir));
      EXPECT_TRUE(r.fileName.endsWith(QStringLiteral(".pdf")));
      EXPECT_EQ(ReadBytes(path("tisk.pdf")).substr(0, 5), "%PDF-");
    }
  }
}

}  // namespace
