// Printing in the window: the menu items and when they can be used, "Export
// PDF…" and the report through the export command, printing through the
// print dialog, the preview, and the class overview, whose every figure is
// the grid's. Screenshots go to $VEKLA_SCREENSHOTS when it is set.
#include <gtest/gtest.h>

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStackedBarSeries>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

#include "app/classoverview.h"
#include "app/gridmodel.h"
#include "app/mainwindow.h"
#include "app/printactions.h"
#include "commands/folders.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/poppler.h"
#include "support/realparts.h"
#include "support/windowfixture.h"
#include "support/scriptedprompter.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"

using namespace vekla;

namespace {

struct Printing : test::WindowFixture {
  Printing() { now = QDateTime(QDate(2025, 11, 3), QTime(10, 0, 0)); }

  // The window with the sample class: its grades given all four weights
  // (weights 1, 2, 0,5 and 3), the statistics computed as a command does.
  std::unique_ptr<MainWindow> openClass() {
    auto w = startWindow();
    w->openGivenFile(QStringLiteral(VEKLA_SOURCE_DIR "/examples/Znamky-7A.csv"));
    w->run([&] {
      VeklaState& s = w->state();
      const char* values[4] = {"1,00", "2,00", "0,50", "3,00"};
      for (std::size_t n = 0; n < 4; ++n) s.weights[n].text = values[n];
      const GradeGeometry geo(s.grid);
      for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
        for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
          s.grid.setFontColor(c, r, s.weights[static_cast<std::size_t>((r + c) % 4)].color);
      ComputeStatistics(s);
    });
    return w;
  }

  static PrintActions* actions(MainWindow& w) { return w.findChild<PrintActions*>(); }
  static QAction* action(MainWindow& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }
  static GridModel* model(MainWindow& w) { return w.findChild<GridView*>("StringAlignGrid")->gridModel(); }
};

// Where each item is, its key, and when it can be used: the pages on every
// tab, the report and the overview on the grade book only.
TEST_F(Printing, MenuItemsFollowTheTab) {
  auto w = openClass();
  auto menuOf = [&](const char* name) {
    for (QAction* m : w->menuBar()->actions())
      if (m->menu() && m->menu()->actions().contains(action(*w, name))) return m->text().remove('&');
    return QString();
  };
  const std::map<const char*, QString> menus = {
      {"MenuTisk", "Soubor"},           {"MenuNahledTisku", "Soubor"},    {"MenuExportPdf", "Soubor"},
      {"MenuVypisRodice", "Soubor"},    {"MenuVypisRodicePdf", "Soubor"}, {"MenuPrehledTridy", "Utility"}};
  for (const auto& [name, menu] : menus) EXPECT_EQ(menuOf(name), menu) << name;
  EXPECT_EQ(action(*w, "MenuTisk")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));

  struct Case {
    int tab;
    bool pages, report;
  };
  for (const Case& c : {Case{2, true, false}, Case{3, true, false}, Case{1, true, false}, Case{0, true, true}}) {
    w->findChild<QTabBar*>("TabSet1")->setCurrentIndex(c.tab);
    QCoreApplication::processEvents();
    for (const char* name : {"MenuTisk", "MenuNahledTisku", "MenuExportPdf"})
      EXPECT_EQ(action(*w, name)->isEnabled(), c.pages) << name << " tab " << c.tab;
    for (const char* name : {"MenuVypisRodice", "MenuVypisRodicePdf", "MenuPrehledTridy"})
      EXPECT_EQ(action(*w, name)->isEnabled(), c.report) << name << " tab " << c.tab;
  }
}

// "Export PDF…" proposes the page stem in the export folder and writes what
// a reader finds every student in; the report of two selected students has
// their two pages.
TEST_F(Printing, PdfFilesThroughTheExportCommand) {
  VEKLA_REQUIRE_REAL_PART(test::PopplerPresent(), "poppler-utils (pdfinfo, pdftotext)");
  auto w = openClass();
  const QString sheet = home.filePath("tisk/7A.pdf"), report = home.filePath("tisk/vypis.pdf");
  QDir().mkpath(home.filePath("tisk"));
  // The documents folder's Vekla folder, not made yet on a first export.
  w->state().exportDir = home.filePath("Dokumenty/Vekla");
  p.saveAnswers = {sheet, report};
  action(*w, "MenuExportPdf")->trigger();
  ASSERT_EQ(p.saveRequests.size(), 1u);
  EXPECT_EQ(p.saveRequests[0].fileName, ExportFolder(w->state()) + "znamky-7a_0110.pdf");
  // The folder is there for the dialog to open on.
  EXPECT_TRUE(QFileInfo(home.filePath("Dokumenty/Vekla")).isDir());
  EXPECT_EQ(p.saveRequests[0].filter, cp("Dokument PDF|*.pdf"));
  ASSERT_EQ(test::PdfPages(sheet), 1);
  const QString text = test::PdfText(sheet, 1);
  for (const char* name : {"Adámková Eva", "Šťastný Vojtěch", "Žák Filip"}) EXPECT_TRUE(text.contains(QString::fromUtf8(name)));

  // Rows 5 and 7: Bárta and Dvořák.
  GridView* grid = w->findChild<GridView*>("StringAlignGrid");
  grid->selectionModel()->select(QItemSelection(model(*w)->indexOf(2, 5), model(*w)->indexOf(3, 5)),
                                 QItemSelectionModel::ClearAndSelect);
  grid->selectionModel()->select(QItemSelection(model(*w)->indexOf(2, 7), model(*w)->indexOf(3, 7)),
                                 QItemSelectionModel::Select);
  EXPECT_EQ(ReportStudents(w->state(), w->selectedCells()), (std::vector<int>{5, 7}));
  action(*w, "MenuVypisRodicePdf")->trigger();
  ASSERT_EQ(p.saveRequests.size(), 2u);
  EXPECT_EQ(p.saveRequests[1].fileName, ExportFolder(w->state()) + "znamky-7a-vypis.pdf");
  ASSERT_EQ(test::PdfPages(report), 2);
  EXPECT_TRUE(test::PdfText(report, 1).contains(QString::fromUtf8("Bárta Jakub")));
  EXPECT_TRUE(test::PdfText(report, 2).contains(QString::fromUtf8("Dvořák Matěj")));

  // One cell selected is no choice: every student.
  grid->selectionModel()->select(model(*w)->indexOf(2, 5), QItemSelectionModel::ClearAndSelect);
  EXPECT_TRUE(ReportStudents(w->state(), w->selectedCells()).empty());
}

// "Tisk…" prints the pages the print dialog chose on the printer it set up.
TEST_F(Printing, PrintThroughThePrintDialog) {
  VEKLA_REQUIRE_REAL_PART(test::PopplerPresent(), "poppler-utils (pdfinfo, pdftotext)");
  auto w = openClass();
  const QString out = home.filePath("tiskarna.pdf");
  int offered = 0;
  actions(*w)->choosePrinter = [&](QPrinter& printer, int pages) {
    offered = pages;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out);
    return true;
  };
  QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(offered, 1);
  ASSERT_EQ(test::PdfPages(out), 1);
  EXPECT_TRUE(test::PdfText(out, 1).contains(QString::fromUtf8("Procházka Ondřej")));

  // Cancelled, with the printer set up already: nothing printed.
  QFile::remove(out);
  actions(*w)->choosePrinter = [&](QPrinter& printer, int) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out);
    return false;
  };
  action(*w, "MenuTisk")->trigger();
  EXPECT_FALSE(QFile::exists(out));
}

// The preview shows the pages of the tab, and those of the report: a page
// for each of the twelve students, or for each student selected.
TEST_F(Printing, PreviewOfTheSheetAndTheReport) {
  auto w = openClass();
  GridView* grid = w->findChild<GridView*>("StringAlignGrid");
  struct Case {
    const char* action;
    const char* title;
    int pages;
    const char* screenshot;
    int selectedRows = 0;  // students selected from row 5 down, two cells each
  };
  for (const Case& c : {Case{"MenuNahledTisku", "Náhled tisku", 1, "print-preview.png"},
                        Case{"MenuVypisRodice", "Výpis pro rodiče", 12, "report-preview.png"},
                        Case{"MenuVypisRodice", "Výpis pro rodiče", 3, "", 3}}) {
    grid->selectionModel()->clearSelection();
    if (c.selectedRows > 0)
      grid->selectionModel()->select(
          QItemSelection(model(*w)->indexOf(2, 5), model(*w)->indexOf(3, 4 + c.selectedRows)),
          QItemSelectionModel::ClearAndSelect);
    action(*w, c.action)->trigger();
    QPrintPreviewDialog* preview = actions(*w)->shownPreview();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(preview));
    EXPECT_EQ(preview->windowTitle(), QString::fromUtf8(c.title));
    EXPECT_EQ(preview->findChild<QPrintPreviewWidget*>()->pageCount(), c.pages) << c.action;
    if (c.screenshot[0]) screenshot(*preview, QString::fromLatin1(c.screenshot));
    preview->close();
  }
}

// What the overview shows, read from its charts and its list.
struct Shown {
  std::map<QString, int> classCounts, columnCounts;  // symbol -> grades of all weights
  std::map<std::pair<QString, int>, int> classByWeight;  // (symbol, weight) -> grades
  std::vector<double> averages;                     // of the grade columns, in order
  std::vector<QString> order, averageTexts;         // the list, top to bottom
};

Shown Read(ClassOverview& o) {
  Shown s;
  auto bars = [](QChart* chart, std::map<QString, int>& counts, std::map<std::pair<QString, int>, int>* byWeight) {
    auto* series = qobject_cast<QStackedBarSeries*>(chart->series().front());
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).front());
    const QList<QBarSet*> sets = series->barSets();
    for (int i = 0; i < axis->count(); ++i)
      for (int w = 0; w < sets.size(); ++w) {
        const int n = static_cast<int>(sets[w]->at(i));
        if (n == 0) continue;
        counts[axis->at(i)] += n;
        if (byWeight) (*byWeight)[{axis->at(i), w + 1}] += n;
      }
  };
  bars(o.classChart(), s.classCounts, &s.classByWeight);
  bars(o.columnChart(), s.columnCounts, nullptr);
  for (const QPointF& pt : qobject_cast<QLineSeries*>(o.averageChart()->series().front())->points())
    s.averages.push_back(pt.y());
  for (int r = 0; r < o.students()->rowCount(); ++r) {
    s.order.push_back(o.students()->item(r, 1)->text());
    s.averageTexts.push_back(o.students()->item(r, 2)->text());
  }
  return s;
}

// What the grid holds, counted and read from its cells.
Shown Expected(const VeklaState& st, int column) {
  Shown s;
  const CellGrid& g = st.grid;
  const GradeGeometry geo(g);
  std::vector<std::pair<double, int>> byAverage;
  for (int r = GradeGeometry::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) {
      const int weight = WeightNumber(st, g.fontColor(c, r));
      if (GradeCode(st, g.text(c, r)) == 0 || weight == 0) continue;
      QString symbol = toQt(g.text(c, r)).trimmed();
      ++s.classCounts[symbol];
      ++s.classByWeight[{symbol, weight}];
      if (c == column) ++s.columnCounts[symbol];
    }
    const std::string& a = g.text(geo.averageCol(), r);
    byAverage.emplace_back(a.empty() ? 1e9 : static_cast<double>(ParseGradeNumber(a)), r);
  }
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
    if (!g.text(c, geo.averageRow()).empty())
      s.averages.push_back(static_cast<double>(ParseGradeNumber(g.text(c, geo.averageRow()))));
  std::stable_sort(byAverage.begin(), byAverage.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [avg, r] : byAverage) {
    s.order.push_back(toQt(g.text(GradeGeometry::kNameCol, r)));
    s.averageTexts.push_back(toQt(g.text(geo.averageCol(), r)));
  }
  return s;
}

void ExpectSame(const Shown& shown, const Shown& grid) {
  EXPECT_EQ(shown.classCounts, grid.classCounts);
  EXPECT_EQ(shown.classByWeight, grid.classByWeight);
  EXPECT_EQ(shown.columnCounts, grid.columnCounts);
  ASSERT_EQ(shown.averages.size(), grid.averages.size());
  for (std::size_t i = 0; i < grid.averages.size(); ++i) EXPECT_DOUBLE_EQ(shown.averages[i], grid.averages[i]);
  EXPECT_EQ(shown.order, grid.order);
  EXPECT_EQ(shown.averageTexts, grid.averageTexts);
}

// Every figure of the overview is the grid's, and stays so after an edit
// and a move to another grade column.
TEST_F(Printing, OverviewShowsTheGridsFigures) {
  auto w = openClass();
  model(*w)->setData(model(*w)->indexOf(4, 6), QStringLiteral("1"), Qt::EditRole);
  w->run([&] { w->state().selCol = 4; });
  action(*w, "MenuPrehledTridy")->trigger();
  ClassOverview* o = actions(*w)->overview();
  ASSERT_TRUE(o);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(o));
  ExpectSame(Read(*o), Expected(w->state(), 4));
  EXPECT_TRUE(o->summary()->text().contains(toQt(w->state().grid.text(
      GradeGeometry(w->state().grid).averageCol(), GradeGeometry(w->state().grid).averageRow()))));
  screenshot(*o, "class-overview.png");

  // An edit: a 5 for the best student, in column 3.
  const Shown before = Read(*o);
  model(*w)->setData(model(*w)->indexOf(5, 10), QStringLiteral("5"), Qt::EditRole);
  w->run([&] { w->state().selCol = 5; });
  // The overview follows once the window's commands are done.
  QCoreApplication::processEvents();
  const Shown after = Read(*o);
  ExpectSame(after, Expected(w->state(), 5));
  EXPECT_NE(after.averages, before.averages);

  // On another tab it shows no grade book; back on the grade book, the grid's.
  w->findChild<QTabBar*>("TabSet1")->setCurrentIndex(2);
  QCoreApplication::processEvents();
  EXPECT_FALSE(o->showsGrades());
  w->findChild<QTabBar*>("TabSet1")->setCurrentIndex(0);
  QCoreApplication::processEvents();
  EXPECT_TRUE(o->showsGrades());
  ExpectSame(Read(*o), Expected(w->state(), 5));
}

}  // namespace

// The overview opens beside the window, never over the screen's edge.
TEST(PlaceBesideTest, RightThenLeftThenAgainstTheEdge) {
  const QRect screen(0, 0, 1400, 900);
  struct Case {
    QRect main;
    QSize wanted;
    QRect placed;
  } cases[] = {
      {{0, 0, 600, 700}, {700, 720}, {600, 0, 700, 720}},       // to the right
      {{700, 100, 700, 700}, {600, 720}, {100, 100, 600, 720}}, // to the left
      {{200, 300, 1024, 720}, {1000, 720}, {400, 180, 1000, 720}},  // no room: against the right edge, moved up
      {{0, 0, 1024, 720}, {2000, 1000}, {0, 0, 1400, 900}},     // no larger than the screen
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceBeside(c.main, c.wanted, screen), c.placed) << c.main.x() << "," << c.main.y();
}
