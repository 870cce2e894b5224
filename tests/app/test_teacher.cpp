// The window used the way a teacher uses it: typing into the grids with the
// keyboard and moving on with Enter, clicking cells, tabs, weight buttons,
// the semester box and the tool bar, resizing, closing and starting again.
// Screenshots of the states go to $VEKLA_SCREENSHOTS when it is set.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

#include "app/gridmodel.h"
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "kinds/gradesfixtures.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "support/windowfixture.h"

using namespace vekla;
using namespace vekla::test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
QColor hex(unsigned rrggbb) { return QColor::fromRgb(rrggbb); }

struct Teacher : WindowFixture {
  std::unique_ptr<MainWindow> start() { return startWindow(); }
  // The window with the class of WriteClass opened by its tool button.
  std::unique_ptr<MainWindow> openClass();

  static GridView* grid(MainWindow& w, const char* name = "StringAlignGrid") { return w.findChild<GridView*>(name); }

  // A click on a cell of a grid, as the mouse does it.
  static void click(MainWindow& w, int col, int row, const char* gridName = "StringAlignGrid") {
    GridView* g = grid(w, gridName);
    const QModelIndex index = g->gridModel()->indexOf(col, row);
    ASSERT_TRUE(index.isValid()) << col << "," << row;
    g->scrollTo(index);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
    QCoreApplication::processEvents();
  }

  // Keys as typed on the keyboard, into whatever has the focus.
  static void type(const QString& text) {
    for (const QChar ch : text) {
      QWidget* target = QApplication::focusWidget();
      ASSERT_TRUE(target);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(target, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(target, &release);
      QCoreApplication::processEvents();
    }
  }
  static void press(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_TRUE(target);
    QTest::keyClick(target, key);
    QCoreApplication::processEvents();
  }
  // Click a cell, type, Enter.
  static void typeCell(MainWindow& w, int col, int row, const QString& text) {
    click(w, col, row);
    type(text);
    press(Qt::Key_Return);
  }

  static QString cell(MainWindow& w, int col, int row) { return toQt(w.state().grid.text(col, row)); }
  static std::pair<int, int> current(MainWindow& w) {
    GridView* g = grid(w);
    return {g->gridModel()->gridCol(g->currentIndex()), g->gridModel()->gridRow(g->currentIndex())};
  }
  static QStringList logShown(MainWindow& w) {
    const QString t = w.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    return t.isEmpty() ? QStringList() : t.split('\n');
  }
  static void switchTab(MainWindow& w, int index) {
    auto* tabs = w.findChild<QTabBar*>("TabSet1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    QCoreApplication::processEvents();
  }
  static void tool(MainWindow& w, const char* name) {
    QAction* a = w.findChild<QAction*>(name);
    ASSERT_TRUE(a) << name;
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
    QCoreApplication::processEvents();
  }

  static void shot(MainWindow& w, const QString& name) {
    QCoreApplication::processEvents();
    const QString dir = qEnvironmentVariable("VEKLA_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name)));
  }

  // Every named control lies inside `box`, is at least as wide as it asks
  // to be (so no caption is cut), and overlaps no other.
  static void expectFits(QWidget* box, const std::vector<const char*>& names) {
    std::vector<std::pair<const char*, QRect>> rects;
    for (const char* n : names) {
      auto* c = box->findChild<QWidget*>(n);
      ASSERT_TRUE(c) << n;
      const QRect r(c->mapTo(box, QPoint(0, 0)), c->size());
      EXPECT_TRUE(box->rect().contains(r)) << n;
      EXPECT_GE(c->width(), c->minimumSizeHint().width()) << n;
      if (qobject_cast<QLabel*>(c) || qobject_cast<QPushButton*>(c) || qobject_cast<QCheckBox*>(c) ||
          qobject_cast<QRadioButton*>(c) || qobject_cast<QComboBox*>(c)) {
        EXPECT_GE(c->width(), c->sizeHint().width()) << n;
      }
      for (const auto& [other, o] : rects) EXPECT_FALSE(r.intersects(o)) << n << " overlaps " << other;
      rects.emplace_back(n, r);
    }
  }
};

// A class of three students with two semesters, and the preferences
// database beside it.
QString WriteClass(const QString& folder) {
  const std::vector<Semester> sems = {
      {"20251", B({5, 9, 12, 10}), cp("První pololetí"), B({8, 60, 24, 30}), B({8, 45, 24, 60})},
      {"20252", B({2, 3, 9, 3}), cp("Třída šla na výlet"), B({8, 5, 9, 50}), B({8, 50, 10, 35})}};
  const std::vector<Student> students = {
      {"1", cp("Novák Jan"), "2", {{B({1, 1, 2, 6}), cp("Pozor")}, {B({1, 1, 2, 7}), cp("Omluven")}}},
      {"2", cp("Dvořáková Eva"), "0", {{B({4, 12, 1, 1}), ""}, {B({2, 2, 1, 3}), ""}}},
      {"3", cp("Šťastný Řehoř"), "1", {{B({1, 5, 1, 4}), ""}, {B({1, 4, 1, 5}), ""}}}};
  const QString file = folder + "/Znamky-7a.PDB";
  WriteBytes(file, GradesDb("Znamky-7a", "3366cc", sems, students));
  std::vector<std::string> prefs;
  for (const auto& r : std::vector<std::vector<std::string>>{
           {"x"},
           {"y"},
           {"1", "1.0", "1-", "1.5", "A", "0.5"},
           {"ff0000", "1", "0000ff", "2", "aaaaaa", "0.5", "00cc33", "3"},
           {"0000ff", "1.3", "99ccff", "1.5", "eeeeee", "2.0", "ff9999", "3.0", "ff0000", "3.5"}})
    prefs.push_back(Fields(r));
  WriteBytes(folder + "/Znamky-db_pref.PDB",
             pdbBytes("Znamky-db_pref", "data", "TqbZ", kMarch7Noon, kMarch7Noon, prefs));
  return file;
}

std::unique_ptr<MainWindow> Teacher::openClass() {
  auto w = start();
  p.openAnswers.push_back(WriteClass(home.path() + "/trida"));
  tool(*w, "SpeedItemOtevri1");
  return w;
}

}  // namespace

// Readable failure messages: PrintTo(QString) comes with the window tests.
void PrintTo(const QString& s, std::ostream* os);

TEST_F(Teacher, TypesAGradeBookWithTheKeyboard) {
  auto w = start();
  // A name, then Enter moves on to the grade cell of the same student.
  typeCell(*w, 2, 4, u("Dvořák Petr"));
  EXPECT_EQ(cell(*w, 2, 4), u("Dvořák Petr"));
  EXPECT_EQ(cell(*w, 0, 4), u("1. Dvořák "));
  EXPECT_EQ(current(*w), std::make_pair(3, 4));
  type("1");
  press(Qt::Key_Return);
  EXPECT_EQ(cell(*w, 3, 4), "1 ");
  EXPECT_EQ(w->state().grid.fontColor(3, 4), rgbHex(0xFF0000));
  EXPECT_EQ(cell(*w, 4, 4), "1,000");

  // The second weight, then a grade with a dot for the middle dot.
  w->findChild<QToolButton*>("SBHodnota2")->click();
  typeCell(*w, 3, 5, "2.");
  EXPECT_EQ(cell(*w, 3, 5), u("2·"));
  EXPECT_EQ(w->state().grid.fontColor(3, 5), rgbHex(0x0000FF));
  EXPECT_EQ(cell(*w, 4, 5), "2,250");
  EXPECT_EQ(w->state().grid.brush(4, 5), rgbHex(0xFF9999));

  // Repairs, each with its red line in the log.
  typeCell(*w, 3, 6, "7x");
  typeCell(*w, 3, 1, "31.4");
  typeCell(*w, 3, 2, "8:5");
  typeCell(*w, 3, 3, "25:70");
  typeCell(*w, 1, 7, "0");
  typeCell(*w, 6, 4, u("zapomněl úkol"));
  EXPECT_EQ(cell(*w, 3, 6), "");
  EXPECT_EQ(cell(*w, 3, 1), "9.3");
  EXPECT_EQ(cell(*w, 3, 2), "08:50");
  EXPECT_EQ(cell(*w, 3, 3), "20:50");
  EXPECT_EQ(cell(*w, 1, 7), "4");  // 0 is no number, 1 is another student's
  EXPECT_EQ(cell(*w, 6, 4), u("zapomněl úkol"));
  EXPECT_EQ(logShown(*w), (QStringList{u("3. Nový/1 špatná známka 7x"), u("Datum/1 změna 31.4 za 9.3"),
                                       u("Čas do/1 změna 25:70 za 20:50"), u("4. Nový/Pořadí změna položky 0"),
                                       u("Žák Nový záznam: pořadí 1 už má jiný žák, dostal pořadí 4")}));
  EXPECT_EQ(w->findChild<QPlainTextEdit*>("Memo1")->palette().color(QPalette::Text), hex(0xFF0000));
  // The class average is the mean of the students' averages.
  EXPECT_EQ(cell(*w, 4, 9), "1,625");
  shot(*w, "teacher-znamky-typed.png");

  // The table test changes nothing more; "Vymazat chyby" empties the log.
  tool(*w, "MenuTest");
  EXPECT_EQ(logShown(*w).size(), 5);
  EXPECT_EQ(w->findChild<QLabel*>("Lpohyb")->text(), "");
  EXPECT_EQ(p.progressTexts.back(), "");
  tool(*w, "SpeedItem9");
  EXPECT_TRUE(logShown(*w).isEmpty());
}

TEST_F(Teacher, WeightsBandsValuesAndColumns) {
  auto w = start();
  typeCell(*w, 3, 4, "1");

  // A second grade column after the first, dated today.
  click(*w, 3, 4);
  tool(*w, "SpeedItemPridatSloupec");
  EXPECT_EQ(w->state().grid.colCount(), 9);
  EXPECT_EQ(cell(*w, 4, 0), "2");
  EXPECT_EQ(cell(*w, 4, 1), "9.3");
  w->findChild<QToolButton*>("SBHodnota2")->click();
  typeCell(*w, 4, 4, "3");

  // Weight 2 becomes 2,5: typed, then left with Tab.
  auto* weight = w->findChild<QLineEdit*>("EHodnota2");
  weight->setFocus();
  weight->selectAll();
  type("2.5");
  EXPECT_EQ(w->state().weights[1].text, "2.5");
  // A menu or another window taking the focus for a while does not leave the edit.
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(weight, &away);
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(weight, &popup);
  EXPECT_EQ(weight->text(), "2.5");
  press(Qt::Key_Tab);
  EXPECT_EQ(weight->text(), "2,50");
  EXPECT_EQ(w->state().weights[1].text, "2,50");

  // "Průměry": (1 x 1 + 3 x 2,5) / 3,5.
  w->findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(cell(*w, 5, 4), "2,429");

  // A band bound and a grade value typed into the small grids.
  click(*w, 2, 0, "StringAGZnamky2");
  EXPECT_EQ(w->state().selValueCol, 2);
  type("2.5");
  press(Qt::Key_Return);
  EXPECT_EQ(w->state().znamky2.text(2, 0), "2,50");
  click(*w, 11, 1, "StringAGZnamky");
  type("0.8");
  press(Qt::Key_Return);
  EXPECT_EQ(w->state().znamky.text(11, 1), "0,80");
  w->findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(w->state().grid.brush(5, 4), rgbHex(0xEEEEEE));  // 2,429 is now in the third band
  shot(*w, "teacher-znamky-weights.png");

  // Removing the second grade column asks first.
  click(*w, 4, 5);
  p.questionAnswers.push_back(true);
  tool(*w, "SpeedItemOdebratSloupec");
  EXPECT_EQ(p.questions.back(), cp("Odstranit sloupec 2 (9.3)?"));
  EXPECT_EQ(w->state().grid.colCount(), 8);
  EXPECT_EQ(cell(*w, 4, 4), "1,000");
  // With one grade column left the button is off.
  click(*w, 3, 5);
  EXPECT_FALSE(w->findChild<QAction*>("SpeedItemOdebratSloupec")->isEnabled());
  EXPECT_TRUE(w->findChild<QAction*>("SpeedItemPridatSloupec")->isEnabled());

  // Rows: a new student after row 5, numbered on from the highest number.
  tool(*w, "SpeedItemPridatRadek");
  EXPECT_EQ(w->state().grid.rowCount(), 12);
  EXPECT_EQ(cell(*w, 0, 6), u("6. Nový"));
  EXPECT_EQ(cell(*w, 1, 6), "6");
  click(*w, 2, 6);
  p.questionAnswers.push_back(true);
  tool(*w, "SpeedItemOdstranitRadek");
  EXPECT_EQ(w->state().grid.rowCount(), 11);
  tool(*w, "SpeedItemPridatRadek");
  EXPECT_EQ(cell(*w, 1, 7), "7");
  shot(*w, "teacher-znamky-rows.png");
}

TEST_F(Teacher, OpensAClassAndSwitchesSemesters) {
  const QString folder = home.path() + "/trida";
  const QString file = WriteClass(folder);
  // The first import folder is where the class and its preferences are.
  IniFile settings;
  settings.set("Nastaveni", "Adresar1", fromQt(folder + "/"));
  settings.save(home.path() + "/vekla.ini");
  auto w = start();

  p.openAnswers.push_back(file);
  tool(*w, "SpeedItemOtevri1");
  ASSERT_TRUE(p.errors.empty());
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(p.openRequests.back().initialDir, folder + "/");
  EXPECT_EQ(p.openRequests.back().filter, cp("Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB"));
  EXPECT_TRUE(w->windowTitle().startsWith(u("2. pol. 2025/2026 – "))) << w->windowTitle().toStdString();
  auto* box = w->findChild<QComboBox*>("CBZnamkyPololeti");
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(0), u("1. pol. 2025/2026"));
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Znamky-7a");
  EXPECT_EQ(w->findChild<QPlainTextEdit*>("MemoPoznamka")->toPlainText(), u("Třída šla na výlet"));
  EXPECT_EQ(cell(*w, 2, 5), u("Dvořáková Eva"));
  EXPECT_EQ(cell(*w, 3, 1), "2.3");
  // The class colour in the date and time rows and on the odd student rows.
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(w->state().grid.brush(2, r), rgbHex(0x3366CC));
  EXPECT_EQ(w->state().grid.brush(2, 5), rgbHex(0x3366CC));
  EXPECT_EQ(w->state().grid.fontColor(2, 5), kWhite);
  EXPECT_EQ(w->state().grid.brush(2, 4), kWhite);
  shot(*w, "teacher-znamky-opened.png");

  // A grade changed in the second semester, then the first one picked from
  // the list: the grid shows the first semester.
  typeCell(*w, 3, 6, "1");
  box->showPopup();
  QCoreApplication::processEvents();
  QAbstractItemView* list = box->view();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
  QCoreApplication::processEvents();
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(w->state().currentSemester, 1);
  EXPECT_EQ(cell(*w, 3, 1), "5.9");
  EXPECT_EQ(cell(*w, 4, 1), "12.10");
  EXPECT_EQ(cell(*w, 3, 5), u("2*"));
  EXPECT_EQ(w->findChild<QPlainTextEdit*>("MemoPoznamka")->toPlainText(), u("První pololetí"));
  shot(*w, "teacher-znamky-semester1.png");

  // Back with the keyboard: the changed grade was kept.
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  QCoreApplication::processEvents();
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(cell(*w, 3, 6), "1 ");
  EXPECT_EQ(cell(*w, 3, 1), "2.3");

  // Picking the semester that is shown keeps an edit made since.
  typeCell(*w, 3, 4, "5");
  emit box->activated(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(cell(*w, 3, 4), "5 ");

  // Saved with the first semester too.
  p.questionAnswers.push_back(true);
  p.saveAnswers.push_back(folder + "/Znamky-7a-nova.PDB");
  tool(*w, "SpeedItemUlozPDB");
  EXPECT_TRUE(p.errors.empty());
  EXPECT_EQ(p.questions.back(), cp("Uložit také pololetí 1. pol. 2025/2026?"));
  EXPECT_TRUE(QFile::exists(folder + "/Znamky-7a-nova.PDB"));
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Znamky-7a-nova");

  // "Nový" starts an empty grade book again.
  tool(*w, "SpeedItemNovy");
  EXPECT_EQ(box->count(), 1);
  EXPECT_EQ(cell(*w, 2, 4), u("Nový záznam"));
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Znamky-");
  EXPECT_EQ(w->findChild<ColorCircle*>("Shape1")->color(), rgbHex(0x3366CC));
}

TEST_F(Teacher, TimetableTimesBlocksAndPanel) {
  auto w = start();
  switchTab(*w, 2);
  ASSERT_EQ(w->state().kind, DbKind::Rozvrh);

  typeCell(*w, 2, 2, "7:52");
  EXPECT_EQ(cell(*w, 2, 2), "07:50");
  EXPECT_EQ(current(*w), std::make_pair(3, 2));
  typeCell(*w, 3, 4, u("Matematika"));
  typeCell(*w, 3, 5, u("Sekunda"));
  typeCell(*w, 3, 6, u("Učebna 12"));
  typeCell(*w, 3, 7, u("Řehoř Čížek a Šťastná Ludmila"));
  EXPECT_EQ(cell(*w, 3, 7), u("Řehoř Čížek a Šťastn"));
  // The block of the selected cell takes the chosen colour.
  click(*w, 3, 6);
  p.colorAnswers.push_back(rgbHex(0xFFFF99));
  tool(*w, "SpeedItemBarva");
  for (int r = 4; r <= 7; ++r) {
    EXPECT_EQ(w->state().grid.brush(3, r), rgbHex(0xFFFF99)) << r;
    EXPECT_EQ(w->state().grid.fontColor(3, r), kBlack) << r;
  }
  click(*w, 5, 9);
  p.colorAnswers.push_back(rgbHex(0x990000));
  tool(*w, "SpeedItemBarva");
  EXPECT_EQ(w->state().grid.brush(5, 8), rgbHex(0x990000));
  EXPECT_EQ(w->state().grid.fontColor(5, 11), kWhite);
  EXPECT_EQ(w->state().grid.brush(5, 12), kWhite);

  // A lesson added after the fourth, then removed again.
  click(*w, 5, 12);
  tool(*w, "SpeedItemPridatSloupec");
  EXPECT_EQ(w->state().grid.colCount(), 10);
  EXPECT_EQ(cell(*w, 6, 0), "5");
  EXPECT_EQ(cell(*w, 7, 1), "5");  // the labels are data and move with their lessons

  // The panel: the item is cut to eight characters with its line.
  auto* item = w->findChild<QLineEdit*>("EditRozvrhPolozka");
  item->setFocus();
  type(u("Sekunda A"));
  EXPECT_EQ(item->text(), u("Sekunda "));
  auto* first = w->findChild<QLineEdit*>("EditRozvrhLS");
  first->setFocus();
  type(u("Září"));
  EXPECT_EQ(w->state().EditRozvrhLS, cp("Září"));
  w->findChild<QRadioButton*>("RadioButtonSRozvrh")->click();
  w->findChild<QCheckBox*>("CheckBoxLS")->click();
  p.colorAnswers.push_back(rgbHex(0x66CC99));
  w->findChild<QToolButton*>("SpeedButtonRozvrh")->click();
  EXPECT_EQ(w->findChild<ColorCircle*>("ShapeRozvrh")->color(), rgbHex(0x66CC99));
  EXPECT_EQ(logShown(*w),
            (QStringList{u("Od/1 změna 7:52 za 07:50"), u("Název/2 zkrácení položky Řehoř Čížek a Šťastná Ludmila"),
                         u("Položka (třída, učitel ... ):: Sekunda A zkrácení položky")}));
  shot(*w, "teacher-rozvrh.png");

  click(*w, 6, 4);
  p.questionAnswers.push_back(true);
  tool(*w, "SpeedItemOdebratSloupec");
  EXPECT_EQ(w->state().grid.colCount(), 9);
  EXPECT_EQ(cell(*w, 6, 1), "5");

  // Everything comes back after a trip to another tab.
  switchTab(*w, 1);
  switchTab(*w, 2);
  EXPECT_EQ(cell(*w, 3, 4), u("Matematika"));
  EXPECT_EQ(w->state().grid.brush(3, 5), rgbHex(0xFFFF99));
  EXPECT_EQ(item->text(), u("Sekunda "));
  EXPECT_TRUE(w->findChild<QRadioButton*>("RadioButtonSRozvrh")->isChecked());
  EXPECT_TRUE(w->findChild<QCheckBox*>("CheckBoxLS")->isChecked());
  EXPECT_EQ(w->findChild<ColorCircle*>("ShapeRozvrh")->color(), rgbHex(0x66CC99));
}

TEST_F(Teacher, TopicPlansAndCalendar) {
  auto w = start();
  switchTab(*w, 1);
  typeCell(*w, 2, 1, u("Úvod do zlomků"));
  EXPECT_EQ(current(*w), std::make_pair(3, 1));
  type("31.4.2026");
  press(Qt::Key_Return);
  typeCell(*w, 3, 2, "1.9.2026");
  typeCell(*w, 8, 1, "2");
  EXPECT_EQ(cell(*w, 3, 1), "");
  EXPECT_EQ(cell(*w, 3, 2), "1.9.2026");
  EXPECT_EQ(cell(*w, 8, 1), "0");
  EXPECT_EQ(logShown(*w), (QStringList{u("1/Datum 31.4.2026 není datum"), u("1/Hotovo2 není 0 nebo 1")}));
  // A row inserted after the first keeps the stripes.
  click(*w, 2, 1);
  tool(*w, "SpeedItemPridatRadek");
  EXPECT_EQ(w->state().grid.rowCount(), 12);
  EXPECT_EQ(cell(*w, 0, 11), "11");
  EXPECT_EQ(cell(*w, 2, 3), "");
  EXPECT_EQ(cell(*w, 3, 3), "1.9.2026");
  p.colorAnswers.push_back(rgbHex(0xCCFFCC));
  tool(*w, "SpeedItemBarva");
  EXPECT_EQ(w->state().grid.brush(4, 3), rgbHex(0xCCFFCC));
  EXPECT_EQ(w->state().grid.brush(4, 2), kWhite);
  shot(*w, "teacher-rozpisy.png");

  switchTab(*w, 3);
  // Calendar cells are checked when read, not when typed.
  typeCell(*w, 1, 1, u("Nový rok, Den obnovy samostatného českého státu"));
  EXPECT_EQ(cell(*w, 1, 1), u("Nový rok, Den obnovy samostatného českého státu"));
  EXPECT_EQ(w->state().grid.brush(1, 1), rgbHex(0xCCFFCC));
  EXPECT_FALSE(w->findChild<QAction*>("SpeedItemPridatRadek")->isEnabled());
  shot(*w, "teacher-kalendar.png");
}

TEST_F(Teacher, NarrowWindowShowsEveryControlWhole) {
  auto w = start();
  w->resize(500, 600);
  QCoreApplication::processEvents();
  ASSERT_EQ(w->width(), 690);
  const std::vector<const char*> grades = {
      "StringAGZnamky", "CBZnamkyPololeti", "Button1",    "MemoPoznamka", "EHodnota1",  "SBHodnota1",     "EHodnota2",
      "SBHodnota2",     "EHodnota3",        "SBHodnota3", "EHodnota4",    "SBHodnota4", "StringAGZnamky2"};
  expectFits(w->findChild<QGroupBox*>("GroupBoxZnamky"), grades);
  const std::vector<const char*> databaseRow = {"GroupBoxDatabaze", "GroupBoxVytvoreno", "GroupBoxZmeneno",
                                                "GroupBoxZnamky"};
  expectFits(w->findChild<QWidget*>("PanelHlavni"), databaseRow);
  // The whole band grid is in sight.
  auto* bands = w->findChild<GridView*>("StringAGZnamky2");
  EXPECT_GE(bands->viewport()->width(), bands->columnViewportPosition(4) + bands->columnWidth(4));
  shot(*w, "teacher-narrow-znamky.png");

  switchTab(*w, 2);
  const std::vector<const char*> timetable = {"LabelRozvrhPolozka", "EditRozvrhPolozka",  "LabelRozvrhLS",
                                              "EditRozvrhLS",       "ShapeRozvrh",        "SpeedButtonRozvrh",
                                              "RadioButtonLRozvrh", "RadioButtonSRozvrh", "CheckBoxLS"};
  expectFits(w->findChild<QGroupBox*>("GroupBoxRozvrh"), timetable);
  shot(*w, "teacher-narrow-rozvrh.png");
}

TEST_F(Teacher, ClosesAndStartsAgainWithEverything) {
  {
    auto w = start();
    typeCell(*w, 2, 4, u("Černá Žofie"));
    typeCell(*w, 3, 4, "2");
    w->findChild<QPlainTextEdit*>("MemoPoznamka")->setPlainText(u("Písemka z češtiny"));
    switchTab(*w, 3);
    typeCell(*w, 1, 60, u("Přestupný den"));
    w->resize(900, 650);
    QCoreApplication::processEvents();
    // Closing with edits no database has asks first; No keeps the window.
    tool(*w, "SpeedItem13");  // "Konec"
    EXPECT_TRUE(w->isVisible());
    ASSERT_FALSE(p.defaultNoQuestions.empty());
    EXPECT_EQ(p.defaultNoQuestions.back(), cp("Známky a Kalendář nejsou uloženy do PDB. Přesto zavřít?"));
    p.questionAnswers.push_back(true);
    tool(*w, "SpeedItem13");
    EXPECT_FALSE(w->isVisible());
  }
  auto again = start();
  EXPECT_EQ(again->size(), QSize(900, 650));
  EXPECT_EQ(again->state().kind, DbKind::Kalendar);
  EXPECT_EQ(cell(*again, 1, 60), u("Přestupný den"));
  switchTab(*again, 0);
  EXPECT_EQ(cell(*again, 2, 4), u("Černá Žofie"));
  EXPECT_EQ(cell(*again, 3, 4), "2 ");
  EXPECT_EQ(cell(*again, 4, 4), "2,000");
  EXPECT_EQ(again->findChild<QPlainTextEdit*>("MemoPoznamka")->toPlainText(), u("Písemka z češtiny"));
  shot(*again, "teacher-restarted.png");
}

TEST_F(Teacher, HotSyncQueuesForJPilot) {
  QDir(home.path()).mkpath(".jpilot");
  const QString file = home.path() + "/Znamky-7a.PDB";
  WriteBytes(file, "x");
  auto w = start();
  p.openAnswers.push_back(file);
  tool(*w, "HotSync1");
  EXPECT_EQ(p.openRequests.back().title, "Instalovat");
  ASSERT_EQ(p.messages.size(), 1u);
  EXPECT_EQ(p.messages[0], cp("Soubor Znamky-7a.PDB bude nainstalován při příští synchronizaci."));
  EXPECT_EQ(ReadBytes(home.path() + "/.jpilot/jpilot.install"), QFile::encodeName(file).toStdString() + "\n");
  EXPECT_TRUE(p.opened.empty());
}

// ---------------------------------------------------------------- faults found and fixed

TEST_F(Teacher, CharacterOutsideTheCodePageIsShownAndReportedOnce) {
  auto w = start();
  for (const char* name : {"EditN", "EHodnota1"}) {
    auto* e = w->findChild<QLineEdit*>(name);
    e->setFocus();
    e->selectAll();
    w->state().Memo1.clear();
    type(u("a☺bc"));
    EXPECT_EQ(e->text(), u("a?bc")) << name;
    EXPECT_EQ(w->state().Memo1.size(), 1u) << name;
  }
  EXPECT_EQ(w->state().EditN, "a?bc");
  auto* memo = w->findChild<QPlainTextEdit*>("MemoPoznamka");
  memo->setFocus();
  w->state().Memo1.clear();
  type(u("ok ☺ ano"));
  EXPECT_EQ(memo->toPlainText(), u("ok ? ano"));
  EXPECT_EQ(w->state().memoPoznamka, std::vector<std::string>{"ok ? ano"});
  EXPECT_EQ(w->state().Memo1.size(), 1u);
}

TEST_F(Teacher, TimeTypedWithOneHourDigitIsAFullTime) {
  EXPECT_EQ(MaskedTimeText("7_:05:00"), "07:05:00");
  EXPECT_EQ(MaskedTimeText("12:3_:__"), "12:3_:00");
  EXPECT_EQ(MaskedTimeText("12:30:_5"), "12:30:_5");
  EXPECT_EQ(MaskedTimeText("__:__:__"), "00:00:00");
  EXPECT_EQ(MaskedTimeText("23:59:59"), "23:59:59");

  auto w = start();
  auto* time = w->findChild<QLineEdit*>("EditCV");
  time->setFocus();
  time->selectAll();
  press(Qt::Key_Delete);
  time->home(false);
  type("7:05:30");
  EXPECT_EQ(w->state().EditCV, "07:05:30");
  // The database is written with that time.
  p.saveAnswers.push_back(home.path() + "/Znamky-cas.PDB");
  tool(*w, "SpeedItemUlozPDB");
  EXPECT_TRUE(p.errors.empty());
  const std::string bytes = ReadBytes(home.path() + "/Znamky-cas.PDB");
  ASSERT_GE(bytes.size(), 40u);
  EXPECT_EQ(Be32At(bytes, 36) % 86400, (7u * 3600 + 5 * 60 + 30 + 86400 - 3600) % 86400);
  EXPECT_EQ(time->text(), "07:05:30");

  // Minutes left half-typed stop the save: no time the teacher never typed.
  time->selectAll();
  press(Qt::Key_Delete);
  time->home(false);
  type("12:3");
  EXPECT_EQ(w->state().EditCV, "12:3_:00");
  p.saveAnswers.push_back(home.path() + "/Znamky-pulcas.PDB");
  tool(*w, "SpeedItemUlozPDB");
  ASSERT_EQ(p.errors.size(), 1u);
  EXPECT_NE(p.errors[0].find(cp("Neplatný čas")), std::string::npos);
  EXPECT_FALSE(QFile::exists(home.path() + "/Znamky-pulcas.PDB"));
}

TEST_F(Teacher, TypingRightAfterClickingTheCurrentCellGoesIntoIt) {
  auto w = start();
  click(*w, 2, 6);
  click(*w, 2, 6);
  type(u("Nováková"));
  press(Qt::Key_Return);
  EXPECT_EQ(cell(*w, 2, 6), u("Nováková"));
  EXPECT_EQ(cell(*w, 2, 4), u("Nový záznam"));
  EXPECT_EQ(current(*w), std::make_pair(3, 6));
  // Letters typed on a cell that cannot be edited go nowhere.
  click(*w, 5, 0, "StringAGZnamky");
  type("1");
  EXPECT_EQ(grid(*w, "StringAGZnamky")->currentIndex().column(), 5);
}

TEST_F(Teacher, FullDatabaseNameIsShown) {
  auto w = start();
  const std::string name = "Znamky-" + std::string(25, 'x');  // 32 characters, as a file may hold
  w->state().EditN = name;
  w->refresh();
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text().toStdString(), name);
}

TEST_F(Teacher, DraggedColumnWidthStaysUntilColumnsAreSizedAgain) {
  auto w = start();
  GridView* g = grid(*w);
  const int auto2 = g->columnWidth(1);
  g->horizontalHeader()->resizeSection(1, auto2 + 80);
  w->findChild<QToolButton*>("SBHodnota3")->click();  // any command refreshes the window
  EXPECT_EQ(g->columnWidth(1), auto2 + 80);
  tool(*w, "SpeedItem8");
  EXPECT_EQ(g->columnWidth(1), auto2);
}

TEST_F(Teacher, GradeBookHasTheWiderGridLine) {
  auto w = start();
  GridView* g = grid(*w);
  auto lastPixelColumn = [&](int col, int row) {
    const QRect r = g->visualRect(g->gridModel()->indexOf(col, row));
    return g->viewport()->grab().toImage().pixelColor(r.right(), r.center().y());
  };
  // (2, 4) is a white cell; its right edge is grid line on the grades tab only.
  EXPECT_NE(lastPixelColumn(2, 4), hex(0xFFFFFF));
  switchTab(*w, 1);
  EXPECT_EQ(lastPixelColumn(2, 2), hex(0xFFFFFF));
}

namespace {

// Moving through grades with the keyboard while another weight is down never
// changes a grade's weight; a click gives the weight and the average follows.
TEST_F(Teacher, MovingOverGradesKeepsTheirWeights) {
  auto w = openClass();
  ASSERT_TRUE(p.errors.empty());
  EXPECT_FALSE(w->isWindowModified());
  w->findChild<QToolButton*>("SBHodnota3")->click();
  click(*w, 2, 4);
  for (int i = 0; i < 4; ++i) press(Qt::Key_Tab);
  press(Qt::Key_Return);
  press(Qt::Key_Down);
  press(Qt::Key_Left);
  EXPECT_FALSE(w->isWindowModified());
  p.saveAnswers.push_back(home.path() + "/trida/Znamky-7b.PDB");
  p.questionAnswers.push_back(true);
  tool(*w, "SpeedItemUlozPDB");
  const std::string saved = ReadBytes(home.path() + "/trida/Znamky-7b.PDB");
  EXPECT_EQ(RecordBody(saved, 4),
            Fields({"1", cp("Novák Jan"), "2", B({1, 1, 2, 6}), cp("Pozor"), B({1, 1, 2, 7}), cp("Omluven")}));
  EXPECT_EQ(RecordBody(saved, 5), Fields({"2", cp("Dvořáková Eva"), "0", B({4, 12, 1, 1}), "", B({2, 2, 1, 3}), ""}));

  // Novák's "1 " of weight 1 clicked with weight 3 (0,5) down.
  const std::string before = w->state().grid.text(5, 4);  // the average
  click(*w, 3, 4);
  EXPECT_EQ(w->state().grid.fontColor(3, 4), rgbHex(0xAAAAAA));
  EXPECT_NE(w->state().grid.text(5, 4), before);
  EXPECT_TRUE(w->isWindowModified());
  EXPECT_TRUE(w->windowTitle().contains("Znamky-7b")) << w->windowTitle().toStdString();
}

// ---------------------------------------------------------------- what a click may change

// A plain click gives a grade the weight that is down and says so in the
// status line; a click with Shift or Ctrl, or a drag that comes back to the
// grade, selects and changes nothing.
TEST_F(Teacher, OnlyAPlainClickGivesAGradeTheWeightThatIsDown) {
  auto w = start();
  typeCell(*w, 3, 4, "1");
  typeCell(*w, 3, 5, "2");
  w->findChild<QToolButton*>("SBHodnota2")->click();
  GridView* g = grid(*w);
  QWidget* viewport = g->viewport();
  const auto at = [&](int col, int row) { return g->visualRect(g->gridModel()->indexOf(col, row)).center(); };
  auto* status = w->findChild<QStatusBar*>("StatusBar");
  ASSERT_TRUE(status);
  const struct {
    const char* name;
    std::function<void()> mouse;
  } selecting[] = {
      {"Shift", [&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, at(3, 4)); }},
      {"Ctrl", [&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, at(3, 4)); }},
      {"drag",
       [&] {
         QTest::mousePress(viewport, Qt::LeftButton, {}, at(3, 4));
         QTest::mouseMove(viewport, at(3, 5));
         QTest::mouseMove(viewport, at(3, 4));
         QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(3, 4));
       }},
  };
  for (const auto& c : selecting) {
    c.mouse();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->state().grid.fontColor(3, 4), rgbHex(0xFF0000)) << c.name;
    EXPECT_EQ(status->currentMessage(), QString()) << c.name;
  }
  click(*w, 3, 4);
  EXPECT_EQ(w->state().grid.fontColor(3, 4), rgbHex(0x0000FF));
  EXPECT_EQ(status->currentMessage(),
            u("Nový záznam, sloupec 1 (9.3), známka 1: váha 1 (1,00) změněna na váhu 2 (1,00)."));
  shot(*w, "teacher-znamky-weight-click.png");
  tool(*w, "MenuZpet");
  EXPECT_EQ(status->currentMessage(), QString());
}

// Grades copied and pasted in the grid keep their weights; a text from
// another program takes the weight that is down. The click that chose
// where a block goes gives no weight.
TEST_F(Teacher, CopiedGradesKeepTheirWeights) {
  auto w = start();
  w->findChild<QToolButton*>("SBHodnota2")->click();
  typeCell(*w, 3, 5, "2");  // weight 2
  click(*w, 3, 5);
  tool(*w, "MenuKopirovat");
  w->findChild<QToolButton*>("SBHodnota3")->click();
  click(*w, 3, 7);
  tool(*w, "MenuVlozit");
  EXPECT_EQ(cell(*w, 3, 7), "2 ");
  EXPECT_EQ(w->state().grid.fontColor(3, 7), rgbHex(0x0000FF));

  // The click on "2 " of weight 2 chose where a grade goes: after the paste
  // and its undo the grade is as it was before the click.
  click(*w, 3, 5);
  EXPECT_EQ(w->state().grid.fontColor(3, 5), rgbHex(0xAAAAAA));
  QGuiApplication::clipboard()->setText("3");
  tool(*w, "MenuVlozit");
  EXPECT_EQ(cell(*w, 3, 5), "3 ");
  EXPECT_EQ(w->state().grid.fontColor(3, 5), rgbHex(0xAAAAAA));  // from another program
  tool(*w, "MenuZpet");
  EXPECT_EQ(cell(*w, 3, 5), "2 ");
  EXPECT_EQ(w->state().grid.fontColor(3, 5), rgbHex(0x0000FF));
}

// A semester switch is a step of the history: undoing it shows the
// semester left, and the edits before it can be undone too. A weight left
// as a bare "," is checked, and undo brings back the weight before it,
// never the ",".
TEST_F(Teacher, UndoCrossesSemesterSwitchesAndKeepsWeightsChecked) {
  auto w = openClass();
  ASSERT_TRUE(p.errors.empty());
  const QString before = cell(*w, 3, 6);
  typeCell(*w, 3, 6, "1");
  auto* box = w->findChild<QComboBox*>("CBZnamkyPololeti");
  emit box->activated(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(cell(*w, 3, 1), "5.9");
  EXPECT_EQ(w->findChild<QAction*>("MenuZpet")->text().remove('&'), u("Zpět: volba pololetí"));
  tool(*w, "MenuZpet");
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(cell(*w, 3, 1), "2.3");
  EXPECT_EQ(cell(*w, 3, 6), "1 ");
  tool(*w, "MenuZpet");
  EXPECT_EQ(cell(*w, 3, 6), before);

  auto* weight = w->findChild<QLineEdit*>("EHodnota1");
  const std::string weightBefore = w->state().weights[0].text;  // as the preferences give it
  weight->setFocus();
  weight->selectAll();
  type(",");
  press(Qt::Key_Tab);
  EXPECT_EQ(w->state().weights[0].text, "0,00");
  tool(*w, "MenuZpet");
  EXPECT_EQ(w->state().weights[0].text, weightBefore);
  EXPECT_EQ(weight->text(), toQt(weightBefore));
}

// Undo chosen while a weight is still being typed leaves the weight first:
// the undo takes back the checked weight, not the grade typed before.
TEST_F(Teacher, UndoWhileAWeightIsTypedLeavesTheWeightFirst) {
  auto w = start();
  typeCell(*w, 3, 4, "1");
  auto* weight = w->findChild<QLineEdit*>("EHodnota1");
  weight->setFocus();
  weight->selectAll();
  type(",");
  ASSERT_EQ(w->state().weights[0].text, ",");
  tool(*w, "MenuZpet");
  EXPECT_EQ(w->state().weights[0].text, "1,00");
  EXPECT_EQ(weight->text(), "1,00");
  EXPECT_EQ(cell(*w, 3, 4), "1 ");
}

// At the start the keys go to the grid: the first key typed does not
// rename the database.
TEST_F(Teacher, KeysGoToTheGridAtTheStart) {
  auto w = start();
  EXPECT_EQ(QApplication::focusWidget(), grid(*w));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Znamky-");
  EXPECT_EQ(current(*w), std::make_pair(2, 1));
}

}  // namespace
