// The main window headless: what each tab shows, the tool bar and menus,
// the grade panel, edits through the grid, and the window's lifecycle.
// Screenshots of every tab go to $VEKLA_SCREENSHOTS when it is set.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <map>
#include <memory>

#include "app/gridmodel.h"
#include "app/icons.h"
#include "app/mainwindow.h"
#include "app/qtprompter.h"
#include "app/settingsdialogs.h"
#include "app/widgets.h"
#include "commands/actions.h"
#include "commands/commands.h"
#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "support/windowfixture.h"

using namespace vekla;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

IniFile loadIni(const QString& path) {
  IniFile ini;
  ini.load(path);
  return ini;
}

struct Window : test::WindowFixture {
  std::unique_ptr<MainWindow> open() { return startWindow(); }

  static GridView* grid(MainWindow& w) { return w.findChild<GridView*>("StringAlignGrid"); }
  static GridModel* model(MainWindow& w) { return grid(w)->gridModel(); }

  // What the main grid shows in cell (col, row): header sections for the
  // fixed row and column, cells for the rest.
  static QVariant shown(MainWindow& w, int col, int row, int role = Qt::DisplayRole) {
    GridModel* m = model(w);
    if (row == 0 && col >= 1) return m->headerData(col - 1, Qt::Horizontal, role);
    if (col == 0 && row >= 1) return m->headerData(row - 1, Qt::Vertical, role);
    return m->data(m->indexOf(col, row), role);
  }
  static QString text(MainWindow& w, int col, int row) { return shown(w, col, row).toString(); }
  static QColor background(MainWindow& w, int col, int row) {
    return shown(w, col, row, Qt::BackgroundRole).value<QBrush>().color();
  }
  static QColor foreground(MainWindow& w, int col, int row) {
    return shown(w, col, row, Qt::ForegroundRole).value<QBrush>().color();
  }

  static void switchTab(MainWindow& w, int index) {
    w.findChild<QTabBar*>("TabSet1")->setCurrentIndex(index);
    QCoreApplication::processEvents();
  }

  // Puts a text into a main-grid cell as the user does: select, then edit.
  static void edit(MainWindow& w, int col, int row, const QString& t) {
    GridView* g = grid(w);
    g->setCurrentIndex(model(w)->indexOf(col, row));
    model(w)->setData(model(w)->indexOf(col, row), t, Qt::EditRole);
  }
};

QColor hex(unsigned rrggbb) { return QColor::fromRgb(rrggbb); }

}  // namespace

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QColor& c, std::ostream* os) { *os << c.name().toStdString(); }

TEST(QtFileFilterTest, TranslatesPairsAndPatternLists) {
  EXPECT_EQ(QtFileFilter(cp("Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB")),
            u("Známky PDB (Znamky-*.PDB znamky-*.pdb);;databáze PDB (*.PDB *.pdb)"));
  EXPECT_EQ(QtFileFilter("soubory PDB a PRC|*.PDB;*.PRC"), u("soubory PDB a PRC (*.PDB *.pdb *.PRC *.prc)"));
  EXPECT_EQ(QtFileFilter(""), QString());
}

// The question before closing: Enter keeps the window (No is the default).
TEST(QtPrompterTest, QuestionsThatThrowWorkAwayDefaultToNo) {
  QLabel label;
  QtPrompter prompter(nullptr, &label);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = true;
    EXPECT_EQ(box->text(), u("Rozvrh a Rozpisy nejsou uloženy do PDB. Přesto zavřít?"));
    if (const QString dir = qEnvironmentVariable("VEKLA_SCREENSHOTS"); !dir.isEmpty())
      box->grab().save(QDir(dir).filePath("close-question.png"));
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(prompter.questionDefaultNo(cp("Rozvrh a Rozpisy nejsou uloženy do PDB. Přesto zavřít?")));
  EXPECT_TRUE(seen);
}

// The message at the end of an export ends the status bar's "doing" text.
TEST(QtPrompterTest, AMessageEndsWhatTheStatusBarSaidWasBeingDone) {
  QMainWindow window;
  QLabel label;
  QtPrompter prompter(&window, &label);
  window.statusBar()->showMessage(u("Vytvářím stránku HTML..."));
  QString shownBeside;
  QTimer::singleShot(0, [&] {
    shownBeside = window.statusBar()->currentMessage();
    if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(prompter.messageOfferingFolder(cp("Uloženo do složky /tmp:\nznamky.html."), QStringLiteral("/tmp")));
  EXPECT_EQ(shownBeside, QString());
}

TEST(QtPrompterTest, ProgressShowsInTheLabelAtOnce) {
  QLabel label;
  QtPrompter prompter(nullptr, &label);
  prompter.progress("42 %");
  EXPECT_EQ(label.text(), "42 %");
  prompter.progress("");
  EXPECT_EQ(label.text(), "");
}

TEST(WeightGlyphTest, RectangleWithOutlineAndWhiteShownOffWhite) {
  for (const auto& [colour, inside] : {std::pair{rgbHex(0xFF0000), hex(0xFF0000)},
                                       std::pair{rgbHex(0x00CC33), hex(0x00CC33)}, std::pair{kWhite, hex(0xFEFFFF)}}) {
    const QImage img = WeightGlyph(colour).toImage();
    EXPECT_EQ(img.size(), QSize(48, 23));
    EXPECT_EQ(img.pixelColor(20, 10), inside);
    for (const QPoint corner :
         {QPoint(2, 2), QPoint(43, 2), QPoint(2, 18), QPoint(43, 18), QPoint(20, 2), QPoint(43, 10)})
      EXPECT_EQ(img.pixelColor(corner), QColor(Qt::black)) << corner.x() << "," << corner.y();
    for (const QPoint outside : {QPoint(1, 1), QPoint(44, 10), QPoint(20, 19), QPoint(47, 22)})
      EXPECT_EQ(img.pixelColor(outside).alpha(), 0) << outside.x() << "," << outside.y();
  }
}

// Every tool button has its picture, drawn from its SVG at the size asked
// for (sharp at 200 %, where a picture drawn at 24 pixels would be blown
// up), and every picture of the resources belongs to a button.
TEST(ToolIconTest, EveryToolButtonHasASharpPicture) {
  QSet<QString> used;
  for (const ActionDef& a : Actions()) {
    if (!a.menu.empty()) continue;
    const QIcon icon = ToolIcon(a.name);
    ASSERT_FALSE(icon.isNull()) << CtlName(a.name);
    for (const int size : {24, 48}) {
      const QImage img = icon.pixmap(size, size).toImage();
      EXPECT_EQ(img.size(), QSize(size, size)) << CtlName(a.name);
      int drawn = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) drawn += img.pixelColor(x, y).alpha() > 0;
      EXPECT_GT(drawn, size * size / 8) << CtlName(a.name) << " at " << size;
    }
    used.insert(QString::fromStdString(a.icon) + ".svg");
  }
  const QStringList files = QDir(":/icons").entryList();
  EXPECT_EQ(QSet<QString>(files.begin(), files.end()), used);
}

TEST_F(Window, FirstStartShowsFreshGradeBook) {
  auto w = open();
  EXPECT_TRUE(w->windowTitle().startsWith(u("2. pol. 2025/2026 – "))) << w->windowTitle().toStdString();
  auto* tabs = w->findChild<QTabBar*>("TabSet1");
  ASSERT_TRUE(tabs);
  EXPECT_EQ(tabs->currentIndex(), 0);
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), u("Známky"));
  EXPECT_EQ(tabs->tabText(3), u("Kalendář"));

  // 11 rows and 8 columns, the fixed ones as headers.
  EXPECT_EQ(model(*w)->rowCount(), 10);
  EXPECT_EQ(model(*w)->columnCount(), 7);
  const char* headers[] = {"Pořadí", "Jméno", "1", "Průměr", "Sm. odch.", "Poznámka", "Zkoušen"};
  for (int c = 1; c <= 7; ++c) EXPECT_EQ(text(*w, c, 0), u(headers[c - 1]));
  EXPECT_EQ(text(*w, 0, 1), u("Datum"));
  EXPECT_EQ(text(*w, 0, 2), u("Čas od"));
  EXPECT_EQ(text(*w, 0, 9), u("Průměr"));
  EXPECT_EQ(text(*w, 0, 10), u("Sm. odch."));
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(text(*w, 0, n + 3), QString::number(n) + u(". Nový"));
    EXPECT_EQ(text(*w, 1, n + 3), QString::number(n));
    EXPECT_EQ(text(*w, 2, n + 3), u("Nový záznam"));
    EXPECT_EQ(text(*w, 7, n + 3), "0");
  }
  // One grade column dated today.
  EXPECT_EQ(text(*w, 3, 1), "9.3");
  EXPECT_EQ(text(*w, 3, 2), "10:15");
  EXPECT_EQ(text(*w, 3, 3), "10:15");

  // Colours of the grades layout, and bold centred grade cells.
  EXPECT_EQ(background(*w, 3, 1), hex(0xEEFFEE));
  EXPECT_EQ(background(*w, 3, 4), hex(0xFFFFFF));
  EXPECT_EQ(background(*w, 3, 5), hex(0xEFFFFF));
  EXPECT_EQ(background(*w, 2, 5), hex(0xFFFFFF));  // Shape1, white at start
  EXPECT_TRUE(shown(*w, 3, 4, Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(shown(*w, 3, 4, Qt::FontRole).value<QFont>().pointSize(), 10);
  EXPECT_EQ(shown(*w, 2, 4, Qt::FontRole).value<QFont>().pointSize(), 8);
  EXPECT_EQ(shown(*w, 3, 4, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

  // The database panel and the grade panel.
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Znamky-");
  EXPECT_EQ(w->findChild<QLabel*>("EditC")->text(), "TqbZ");
  EXPECT_EQ(w->findChild<QLabel*>("EditTD")->text(), "data");
  EXPECT_EQ(w->findChild<QLineEdit*>("EditDV")->text(), "09.03.2026");
  EXPECT_EQ(w->findChild<QLineEdit*>("EditCZ")->text(), "10:15:00");
  EXPECT_EQ(w->findChild<QWidget*>("PanelHlavni")->height(), 180);
  EXPECT_TRUE(w->findChild<QGroupBox*>("GroupBoxZnamky")->isVisible());
  EXPECT_FALSE(w->findChild<QGroupBox*>("GroupBoxRozvrh")->isVisible());
  EXPECT_EQ(w->findChild<QGroupBox*>("GroupBoxZnamky")->title(), u(" Známky "));

  const unsigned weightColours[4] = {0xFF0000, 0x0000FF, 0xAAAAAA, 0x00CC33};
  for (int n = 1; n <= 4; ++n) {
    auto* e = w->findChild<QLineEdit*>(QString("EHodnota%1").arg(n));
    auto* b = w->findChild<QToolButton*>(QString("SBHodnota%1").arg(n));
    ASSERT_TRUE(e && b);
    EXPECT_EQ(e->text(), "1,00");
    EXPECT_EQ(e->palette().color(QPalette::Text), hex(weightColours[n - 1]));
    EXPECT_EQ(b->isChecked(), n == 1);
    EXPECT_EQ(b->icon().pixmap(48, 23).toImage().pixelColor(20, 10), hex(weightColours[n - 1]));
  }
  auto* semesters = w->findChild<QComboBox*>("CBZnamkyPololeti");
  ASSERT_EQ(semesters->count(), 1);
  EXPECT_EQ(semesters->currentText(), u("2. pol. 2025/2026"));

  // Grade symbols in the first weight's colour; the bands in their colours.
  auto* symbols = w->findChild<GridView*>("StringAGZnamky")->gridModel();
  EXPECT_EQ(symbols->data(symbols->indexOf(0, 0), Qt::DisplayRole).toString(), u("Známky "));
  EXPECT_EQ(symbols->data(symbols->indexOf(16, 0), Qt::DisplayRole).toString(), u("1·"));
  EXPECT_EQ(symbols->data(symbols->indexOf(16, 0), Qt::ForegroundRole).value<QBrush>().color(), hex(0xFF0000));
  EXPECT_EQ(symbols->data(symbols->indexOf(11, 1), Qt::DisplayRole).toString(), "0,75");
  EXPECT_FALSE(symbols->flags(symbols->indexOf(3, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(symbols->flags(symbols->indexOf(3, 1)) & Qt::ItemIsEditable);
  auto* bands = w->findChild<GridView*>("StringAGZnamky2")->gridModel();
  EXPECT_EQ(bands->data(bands->indexOf(0, 0), Qt::DisplayRole).toString(), "1,3");
  EXPECT_EQ(bands->data(bands->indexOf(0, 0), Qt::BackgroundRole).value<QBrush>().color(), hex(0x0000FF));
  EXPECT_EQ(bands->data(bands->indexOf(0, 0), Qt::ForegroundRole).value<QBrush>().color(), hex(0xFFFFFF));
  EXPECT_EQ(bands->data(bands->indexOf(4, 0), Qt::BackgroundRole).value<QBrush>().color(), hex(0xFF0000));

  auto* log = w->findChild<QPlainTextEdit*>("Memo1");
  EXPECT_TRUE(log->isReadOnly());
  EXPECT_EQ(log->toolTip(), u("chyby"));
  EXPECT_EQ(log->palette().color(QPalette::Text), hex(0xFF0000));
  EXPECT_EQ(w->findChild<ColorCircle*>("Shape1")->color(), kWhite);
  EXPECT_EQ(w->findChild<ColorCircle*>("Shape2")->color(), kBlack);
  screenshot(*w, "tab0-znamky.png");
}

TEST_F(Window, EveryTabShowsItsLayout) {
  auto w = open();

  // Topic plans, with a highlight colour chosen through the tool bar.
  switchTab(*w, 1);
  EXPECT_EQ(w->state().kind, DbKind::Rozpisy);
  EXPECT_EQ(model(*w)->rowCount(), 10);
  EXPECT_EQ(model(*w)->columnCount(), 8);
  const char* topics[] = {"Pořadí", "Téma", "Datum", "Poznámka", "Od", "Do", "Celkem", "Hotovo"};
  for (int c = 1; c <= 8; ++c) EXPECT_EQ(text(*w, c, 0), u(topics[c - 1]));
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(text(*w, 0, r), QString::number(r));
  EXPECT_EQ(w->findChild<QWidget*>("PanelHlavni")->height(), 54);
  EXPECT_FALSE(w->findChild<QGroupBox*>("GroupBoxZnamky")->isVisible());
  EXPECT_FALSE(w->findChild<QAction*>("SpeedItemImport2")->isVisible());
  EXPECT_TRUE(w->findChild<QAction*>("SpeedItemPridatRadek")->isEnabled());
  EXPECT_EQ(w->findChild<QAction*>("MenuOtevri")->text().remove('&'), u("Otevři Rozpisy ..."));
  EXPECT_EQ(w->findChild<QLineEdit*>("EditN")->text(), "Rozpisy-");
  p.colorAnswers.push_back(rgbHex(0x99CCFF));
  w->trigger(Ctl::SpeedItemBarva);
  EXPECT_EQ(w->findChild<ColorCircle*>("Shape1")->color(), rgbHex(0x99CCFF));
  EXPECT_EQ(w->findChild<ColorCircle*>("Shape2")->color(), kBlack);
  for (int c = 1; c <= 8; ++c) {
    EXPECT_EQ(background(*w, c, 1), hex(0x99CCFF));
    EXPECT_EQ(foreground(*w, c, 1), hex(0x000000));
    EXPECT_EQ(background(*w, c, 2), hex(0xFFFFFF));
  }
  screenshot(*w, "tab1-rozpisy.png");

  // Timetable: lessons 1 to 7 with their default times.
  switchTab(*w, 2);
  EXPECT_EQ(model(*w)->rowCount(), 23);
  EXPECT_EQ(model(*w)->columnCount(), 8);
  EXPECT_EQ(text(*w, 1, 0), "Den");
  const char* starts[] = {"07:50", "08:40", "09:40", "10:40", "11:35", "12:30", "13:20"};
  const char* ends[] = {"08:35", "09:25", "10:25", "11:25", "12:20", "13:15", "14:05"};
  for (int lesson = 1; lesson <= 7; ++lesson) {
    EXPECT_EQ(text(*w, lesson + 1, 0), QString::number(lesson));
    EXPECT_EQ(text(*w, lesson + 1, 1), QString::number(lesson));
    EXPECT_EQ(text(*w, lesson + 1, 2), starts[lesson - 1]);
    EXPECT_EQ(text(*w, lesson + 1, 3), ends[lesson - 1]);
    EXPECT_EQ(background(*w, lesson + 1, 2), hex(0xCCCCCC));
  }
  const char* labels[] = {"Hodina ", "Od", "Do", "Předmět ", "Třída", "Učebna", "Název"};
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(text(*w, 0, r), u(labels[r - 1]));
  EXPECT_EQ(text(*w, 0, 23), u("Název"));
  EXPECT_EQ(text(*w, 1, 1), u("Název"));
  const char* days[] = {"Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek"};
  for (int d = 0; d < 5; ++d) {
    EXPECT_EQ(text(*w, 1, 4 + 4 * d), u(days[d]));
    EXPECT_EQ(background(*w, 1, 4 + 4 * d), hex(0xFFFFFF));
    EXPECT_EQ(background(*w, 1, 5 + 4 * d), hex(0xCCCCCC));
  }
  EXPECT_EQ(background(*w, 1, 1), hex(0xFFFFFF));
  EXPECT_EQ(w->findChild<QWidget*>("PanelHlavni")->height(), 120);
  EXPECT_TRUE(w->findChild<QGroupBox*>("GroupBoxRozvrh")->isVisible());
  EXPECT_TRUE(w->findChild<QRadioButton*>("RadioButtonLRozvrh")->isChecked());
  EXPECT_FALSE(w->findChild<QCheckBox*>("CheckBoxLS")->isChecked());
  screenshot(*w, "tab2-rozvrh.png");

  // Calendar: 366 day labels, 29 February in row 60.
  switchTab(*w, 3);
  EXPECT_EQ(model(*w)->rowCount(), 366);
  EXPECT_EQ(model(*w)->columnCount(), 1);
  EXPECT_EQ(text(*w, 1, 0), u("Svátek"));
  EXPECT_EQ(text(*w, 0, 1), "1.1.");
  EXPECT_EQ(text(*w, 0, 60), "29.2.");
  EXPECT_EQ(text(*w, 0, 366), "31.12.");
  EXPECT_EQ(background(*w, 1, 1), hex(0x99CCFF));
  EXPECT_EQ(background(*w, 1, 60), hex(0xFFFFFF));
  EXPECT_FALSE(w->findChild<QAction*>("MenuHtml")->isEnabled());
  EXPECT_EQ(w->findChild<QLabel*>("EditTD")->text(), "datu");
  screenshot(*w, "tab3-kalendar.png");
}

TEST_F(Window, ToolBarAndMenus) {
  auto w = open();
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"SpeedItemNovy", "Nový PDB (Ctrl+N)"},
      {"SpeedItemOtevri1", "Import PDB z 1. adresáře (Ctrl+O)"},
      {"SpeedItemOtevri2", "Import PDB z adresáře BackUp (Ctrl+B)"},
      {"SpeedItemImport", "Import CSV (Ctrl+I)"},
      {"SpeedItemImport2", "Import CSV známky jako dvě hodnoty (Ctrl+Shift+I)"},
      {"Lpohyb", nullptr},
      {"SpeedItemUlozPDB", "Uložit jako PDB (Ctrl+S)"},
      {"SpeedItemUlozCSV", "Export do CSV (Ctrl+E)"},
      {"SpeedItemHTML", "Vytvořit Html z PDB (Ctrl+H)"},
      {"SpeedItemExcel", "Vytvořit tabulku Excel z PDB (Ctrl+Shift+E)"},
      {"SpeedItemPHP", "PHP do mySQL (Ctrl+Shift+M)"},
      {"SpeedItemHodiny", "Hodiny (Ctrl+T)"},
      {"SpeedItemDatum", "Datum (Ctrl+D)"},
      {"SpeedItemBarva", "Nastavit barvu (Ctrl+Shift+B)"},
      {"Shape1", nullptr},
      {"Shape2", nullptr},
      {"SpeedItem8", "Nastavit velikost sloupců (Ctrl+Shift+W)"},
      {"SpeedItem9", "Vymazat chyby (Ctrl+Shift+L)"},
      {"SpeedItemPridatRadek", "Vložit řádek (Alt+Insert)"},
      {"SpeedItemOdstranitRadek", "Odstranit řádek (Alt+Delete)"},
      {"SpeedItemPridatSloupec", "Přidat sloupec (Alt+Shift+Insert)"},
      {"SpeedItemOdebratSloupec", "Odebrat sloupec (Alt+Shift+Delete)"},
      {"SpeedItem3", "Přidat k HotSync (Ctrl+Shift+H)"},
      {"SpeedItem12", "Info (Ctrl+F1)"},
      {"SpeedItem13", "Konec (Ctrl+Q)"},
  };
  auto* bar = w->findChild<QToolBar*>("SpeedBar1");
  ASSERT_TRUE(bar);
  const QList<QAction*> actions = bar->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size()));
  std::vector<QImage> icons;
  for (size_t i = 0; i < expected.size(); ++i) {
    QWidget* widget = bar->widgetForAction(actions[static_cast<qsizetype>(i)]);
    ASSERT_TRUE(widget);
    EXPECT_EQ(widget->objectName(), expected[i].first);
    if (!expected[i].second) continue;
    EXPECT_EQ(widget->toolTip(), u(expected[i].second)) << expected[i].first;
    icons.push_back(actions[static_cast<qsizetype>(i)]->icon().pixmap(24, 24).toImage());
  }
  ASSERT_EQ(icons.size(), 22u);
  for (size_t i = 0; i < icons.size(); ++i)
    for (size_t j = i + 1; j < icons.size(); ++j) EXPECT_NE(icons[i], icons[j]) << i << " " << j;

  QStringList menus;
  for (QAction* a : w->menuBar()->actions()) menus << a->text().remove('&');
  EXPECT_EQ(menus, (QStringList{"Soubor", u("Úpravy"), "Utility", u("Nastavení"), "Konec", u("Nápověda")}));
  EXPECT_EQ(w->findChild<QAction*>("MenuOtevri")->text().remove('&'), u("Otevři Známky ..."));
  EXPECT_EQ(w->findChild<QAction*>("HotSync1")->text().remove('&'), "HotSync ...");

  // The grade book has every conversion; grid buttons follow the setup.
  for (const char* name : {"SpeedItemPHP", "SpeedItemHTML", "SpeedItemExcel", "MenuHtml"})
    EXPECT_TRUE(w->findChild<QAction*>(name)->isEnabled()) << name;
  EXPECT_TRUE(w->findChild<QAction*>("SpeedItemNovy")->isEnabled());
  EXPECT_TRUE(w->findChild<QAction*>("SpeedItemImport2")->isVisible());
  EXPECT_FALSE(w->findChild<QAction*>("SpeedItemPridatRadek")->isEnabled());
  EXPECT_TRUE(w->findChild<QAction*>("Oprogramu1")->isEnabled());

  // HotSync asks for the file with its own title and filter.
  w->state().settings.set("PalmDesktop", "Path", fromQt(home.path()));
  w->trigger(Ctl::SpeedItem3);
  ASSERT_EQ(p.openRequests.size(), 1u);
  EXPECT_EQ(p.openRequests[0].title, "Instalovat");
  EXPECT_EQ(p.openRequests[0].filter, "soubory PDB a PRC|*.PDB;*.PRC");
}

// The menus are the rows of the table of actions: each item in its row's
// menu in the rows' order, a line above it where its row starts a group,
// its status tip shown while the pointer is on it; "Poslední soubory" ends
// "Soubor" in a group of its own.
TEST_F(Window, MenusAreTheRowsInTheirGroups) {
  auto w = open();
  std::map<QString, QStringList> shown, rows;
  for (QAction* m : w->menuBar()->actions())
    for (QAction* a : m->menu()->actions())
      shown[m->text().remove('&')] << (a->isSeparator() ? QStringLiteral("----")
                                       : a->menu()      ? a->menu()->objectName()
                                                        : a->objectName() + ": " + a->statusTip());
  for (const ActionDef& a : Actions()) {
    if (a.menu.empty()) continue;
    QStringList& items = rows[toQt(a.menu)];
    if (a.separated) items << QStringLiteral("----");
    items << QString::fromLatin1(CtlName(a.name)) + ": " + toQt(a.statusTip);
  }
  rows[QStringLiteral("Soubor")] << QStringLiteral("----") << QStringLiteral("MenuPosledni");
  EXPECT_EQ(shown, rows);
}

TEST_F(Window, OnlyTheFirstActivationLoads) {
  auto w = open();
  edit(*w, 2, 4, "Novak");
  // Coming back from a dialog activates the window again: the grid stays.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(w.get(), &activate);
  w->activate();
  EXPECT_EQ(text(*w, 2, 4), "Novak");
}

TEST_F(Window, NeverNarrowerThan690) {
  auto w = open();
  w->resize(500, 600);
  QCoreApplication::processEvents();
  EXPECT_GE(w->width(), 690);
  w->resize(900, 600);
  QCoreApplication::processEvents();
  EXPECT_EQ(w->width(), 900);
}

TEST_F(Window, GridEditsRunTheirHandlersAndSurviveTabSwitches) {
  auto w = open();
  // Selecting a student's grade cell gives it the current weight; the edit
  // is checked and the statistics follow.
  edit(*w, 3, 4, "1");
  EXPECT_EQ(text(*w, 3, 4), "1 ");  // the check completes the symbol
  EXPECT_EQ(foreground(*w, 3, 4), hex(0xFF0000));
  EXPECT_EQ(text(*w, 4, 4), "1,000");
  EXPECT_EQ(background(*w, 4, 4), hex(0x0000FF));

  // The second weight colours the next grade.
  w->findChild<QToolButton*>("SBHodnota2")->click();
  EXPECT_EQ(w->state().weightDown, 2);
  EXPECT_TRUE(w->findChild<QToolButton*>("SBHodnota2")->isChecked());
  EXPECT_FALSE(w->findChild<QToolButton*>("SBHodnota1")->isChecked());
  edit(*w, 3, 5, "3");
  EXPECT_EQ(foreground(*w, 3, 5), hex(0x0000FF));

  // A character code page 1250 cannot hold becomes "?" with a log line.
  edit(*w, 6, 6, u("pozdě ☺"));
  EXPECT_EQ(text(*w, 6, 6), u("pozdě ?"));
  const QString log = w->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
  EXPECT_TRUE(log.startsWith(u("Znak nelze uložit"))) << log.toStdString();

  screenshot(*w, "znamky-edited.png");
  switchTab(*w, 3);
  EXPECT_EQ(model(*w)->rowCount(), 366);
  switchTab(*w, 0);
  EXPECT_EQ(text(*w, 3, 4), "1 ");
  EXPECT_EQ(foreground(*w, 3, 4), hex(0xFF0000));
  EXPECT_EQ(text(*w, 3, 5), "3 ");
  EXPECT_EQ(text(*w, 4, 4), "1,000");
  EXPECT_EQ(text(*w, 6, 6), u("pozdě ?"));
  EXPECT_TRUE(w->windowTitle().startsWith(u("2. pol. 2025/2026 – "))) << w->windowTitle().toStdString();
}

// The edit menu: undo and redo name their step and follow the keys, a
// block pasted from a spreadsheet is one step, copied cells go to the
// clipboard as tab-separated text.
TEST_F(Window, UndoRedoCopyAndPaste) {
  auto w = open();
  QAction* undo = w->findChild<QAction*>("MenuZpet");
  QAction* redo = w->findChild<QAction*>("MenuZnovu");
  EXPECT_FALSE(undo->isEnabled());
  edit(*w, 3, 4, "1");
  edit(*w, 3, 5, "2");
  EXPECT_EQ(undo->text().remove('&'), u("Zpět: úprava buňky"));
  QTest::keyClick(grid(*w), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(text(*w, 3, 5), "");
  EXPECT_EQ(text(*w, 4, 5), "");  // the student's average went with the grade
  EXPECT_EQ(redo->text().remove('&'), u("Znovu: úprava buňky"));
  QTest::keyClick(grid(*w), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(text(*w, 3, 5), "2 ");
  // The history stays with its tab.
  switchTab(*w, 1);
  EXPECT_FALSE(undo->isEnabled());
  switchTab(*w, 0);
  EXPECT_TRUE(undo->isEnabled());

  QGuiApplication::clipboard()->setText(u("3\t4\n5\tx\n"));
  grid(*w)->setCurrentIndex(model(*w)->indexOf(3, 4));
  p.questionAnswers.push_back(true);
  w->trigger(Ctl::MenuVlozit);
  EXPECT_EQ(p.questions.back(), cp("Přepsat 2 buňky?"));  // two grades typed before
  EXPECT_EQ(text(*w, 3, 4), "3 ");
  EXPECT_EQ(text(*w, 3, 5), "5 ");
  EXPECT_EQ(undo->text().remove('&'), u("Zpět: vložení 4 buněk"));
  auto* menu = w->findChild<QMenu*>();
  for (QMenu* m : w->findChildren<QMenu*>())
    if (m->title().remove('&') == u("Úpravy")) menu = m;
  menu->popup(w->mapToGlobal(QPoint(60, 20)));
  QCoreApplication::processEvents();
  screenshot(*menu, "undo-menu.png");
  screenshot(*w, "pasted-block.png");
  menu->close();
  w->trigger(Ctl::MenuZpet);
  EXPECT_EQ(text(*w, 3, 4), "1 ");
  EXPECT_EQ(text(*w, 3, 5), "2 ");

  grid(*w)->selectionModel()->select(QItemSelection(model(*w)->indexOf(3, 4), model(*w)->indexOf(3, 5)),
                                     QItemSelectionModel::ClearAndSelect);
  w->trigger(Ctl::MenuKopirovat);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), u("1 \n2 \n"));
}

// An editor closed without a change neither weighs the grade again nor
// marks the tab as edited.
TEST_F(Window, AnUnchangedEditIsNoEdit) {
  auto w = open();
  edit(*w, 3, 4, "1");
  w->run([&] { MarkSaved(w->state()); });
  w->findChild<QToolButton*>("SBHodnota2")->click();
  edit(*w, 3, 4, "1 ");
  EXPECT_EQ(foreground(*w, 3, 4), hex(0xFF0000));
  EXPECT_FALSE(w->isWindowModified());
}

TEST_F(Window, EnterCommitsAndMovesRight) {
  auto w = open();
  GridView* g = grid(*w);
  g->setFocus();
  g->setCurrentIndex(model(*w)->indexOf(2, 4));
  g->edit(g->currentIndex());
  QCoreApplication::processEvents();
  auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(g->currentIndex()));
  ASSERT_TRUE(editor);
  editor->selectAll();
  editor->insert(u("Dvořák "));
  QTest::keyClicks(editor, "Petr");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(text(*w, 2, 4), u("Dvořák Petr"));
  EXPECT_EQ(w->state().grid.text(2, 4), cp("Dvořák Petr"));
  EXPECT_EQ(model(*w)->gridCol(g->currentIndex()), 3);
  EXPECT_EQ(model(*w)->gridRow(g->currentIndex()), 4);
  EXPECT_EQ(w->state().selCol, 3);

  // An edit still open when the tab changes or a tool button is pressed is
  // committed first.
  auto typeInto = [&](int col, int row, const char* t) {
    g->setCurrentIndex(model(*w)->indexOf(col, row));
    g->edit(g->currentIndex());
    QCoreApplication::processEvents();
    auto* e = qobject_cast<QLineEdit*>(g->indexWidget(g->currentIndex()));
    ASSERT_TRUE(e);
    e->selectAll();
    QTest::keyClicks(e, t);
  };
  typeInto(2, 5, "Novak");
  switchTab(*w, 3);
  switchTab(*w, 0);
  EXPECT_EQ(text(*w, 2, 5), "Novak");
  typeInto(2, 6, "Svoboda");
  w->findChild<QAction*>("SpeedItem9")->trigger();
  EXPECT_EQ(w->state().grid.text(2, 6), "Svoboda");
}

TEST_F(Window, PanelEditsWriteTheState) {
  auto w = open();
  auto* memo = w->findChild<QPlainTextEdit*>("MemoPoznamka");
  memo->setPlainText(u("první\ndruhý"));
  EXPECT_EQ(w->state().memoPoznamka, (std::vector<std::string>{cp("první"), cp("druhý")}));

  // A weight edit left with a new value is checked.
  auto* weight = w->findChild<QLineEdit*>("EHodnota3");
  weight->setFocus();
  weight->selectAll();
  QTest::keyClicks(weight, "2,5");
  EXPECT_EQ(w->state().weights[2].text, "2,5");
  QFocusEvent leave(QEvent::FocusOut);
  QApplication::sendEvent(weight, &leave);
  EXPECT_EQ(w->state().weights[2].text, "2,50");
  EXPECT_EQ(weight->text(), "2,50");

  // Timetable items are cut to eight characters while typing.
  switchTab(*w, 2);
  auto* item = w->findChild<QLineEdit*>("EditRozvrhPolozka");
  item->setFocus();
  QTest::keyClicks(item, "Sekunda A1");
  EXPECT_EQ(w->state().EditRozvrhPolozka, "Sekunda ");
  EXPECT_EQ(item->text(), "Sekunda ");
  w->findChild<QRadioButton*>("RadioButtonSRozvrh")->click();
  w->findChild<QCheckBox*>("CheckBoxLS")->click();
  EXPECT_FALSE(w->state().lichyTyden);
  EXPECT_TRUE(w->state().rozlisovatTydny);
  p.colorAnswers.push_back(rgbHex(0xFFFF99));
  w->findChild<QToolButton*>("SpeedButtonRozvrh")->click();
  EXPECT_EQ(w->findChild<ColorCircle*>("ShapeRozvrh")->color(), rgbHex(0xFFFF99));
}

TEST_F(Window, RowCommandsThroughTheToolBar) {
  auto w = open();
  grid(*w)->setCurrentIndex(model(*w)->indexOf(2, 5));
  EXPECT_TRUE(w->findChild<QAction*>("SpeedItemPridatRadek")->isEnabled());
  w->findChild<QAction*>("SpeedItemPridatRadek")->trigger();
  EXPECT_EQ(model(*w)->rowCount(), 11);
  EXPECT_EQ(text(*w, 0, 6), u("6. Nový"));

  p.questionAnswers.push_back(false);
  w->findChild<QAction*>("SpeedItemOdstranitRadek")->trigger();
  EXPECT_EQ(model(*w)->rowCount(), 11);
  p.questionAnswers.push_back(true);
  w->findChild<QAction*>("SpeedItemOdstranitRadek")->trigger();
  EXPECT_EQ(model(*w)->rowCount(), 10);
  EXPECT_EQ(p.questions,
            (std::vector<std::string>{cp("Odstranit řádek 2 (Nový záznam)?"), cp("Odstranit řádek 2 (Nový záznam)?")}));
}

TEST_F(Window, CloseStoresPlacementAndTab) {
  {
    auto w = open();
    switchTab(*w, 2);
    w->resize(800, 640);
    QCoreApplication::processEvents();
    w->close();
  }
  IniFile ini;
  ini.load(QDir(home.path()).filePath("vekla.ini"));
  EXPECT_EQ(ini.get("Nastaveni", "TabIndex"), "2");
  EXPECT_EQ(ini.get("Nastaveni", "Width"), "800");
  EXPECT_EQ(ini.get("Nastaveni", "Height"), "640");
  EXPECT_TRUE(ini.has("Nastaveni", "Left"));

  auto again = open();
  EXPECT_EQ(again->size(), QSize(800, 640));
  EXPECT_EQ(again->findChild<QTabBar*>("TabSet1")->currentIndex(), 2);
  EXPECT_EQ(model(*again)->rowCount(), 23);
}

// A typed grade repaints its cell, the results it changes and the row
// label written by the checks, each on its own; the rest of the grid stays.
TEST_F(Window, GradeTypedRepaintsOnlyWhatChanged) {
  auto w = open();
  GridModel* m = model(*w);
  auto type = [&](int col, int row, const char* grade) {
    grid(*w)->setCurrentIndex(m->indexOf(col, row));  // the cell takes the weight that is down
    ASSERT_TRUE(m->setData(m->indexOf(col, row), u(grade), Qt::EditRole));
  };
  type(3, 4, "1");  // the first grade after the start computes everything
  QSignalSpy cells(m, &QAbstractItemModel::dataChanged);
  QSignalSpy headers(m, &QAbstractItemModel::headerDataChanged);
  type(3, 5, "2");
  EXPECT_EQ(text(*w, 3, 5), u("2 "));
  EXPECT_EQ(text(*w, 4, 5), u("2,000"));
  EXPECT_TRUE(headers.isEmpty());
  QSet<std::pair<int, int>> repainted;
  for (const auto& signal : cells) {
    const QModelIndex from = signal[0].toModelIndex(), to = signal[1].toModelIndex();
    EXPECT_EQ(from, to);
    repainted.insert({m->gridCol(from), m->gridRow(from)});
  }
  const int averageRow = w->state().grid.rowCount() - 2;
  for (std::pair<int, int> cell : {std::pair{3, 5}, {4, 5}, {5, 5}, {1, 5}, {3, averageRow}, {4, averageRow}})
    EXPECT_TRUE(repainted.contains(cell)) << cell.first << "," << cell.second;
  EXPECT_LT(repainted.size(), 20);
}

TEST_F(Window, LargeGridShowsEveryCellWithItsWidth) {
  auto w = open();
  VeklaState& s = w->state();
  s.grid.setColCount(135);
  s.grid.setRowCount(999);
  for (int r = 1; r < 999; ++r)
    for (int c = 1; c < 135; ++c) s.grid.setText(c, r, std::to_string(r * c % 97));
  s.grid.autoSizeColumns();
  w->refresh();
  EXPECT_EQ(model(*w)->rowCount(), 998);
  EXPECT_EQ(model(*w)->columnCount(), 134);
  EXPECT_EQ(text(*w, 134, 998), QString::number(998 * 134 % 97));
  for (int c = 1; c < 135; ++c) EXPECT_EQ(grid(*w)->columnWidth(c - 1), s.grid.colWidth(c)) << c;
  EXPECT_FALSE(w->grab().isNull());
}

namespace {

// The CSV tool buttons run the current kind's conversion: the topic plans go
// out as a file and come back in with the working files saved.
TEST_F(Window, CsvButtonsExportAndImportTheTab) {
  auto w = open();
  w->run([&] { TabSet1Change(w->state(), p, 1); });
  for (Ctl c : {Ctl::SpeedItemImport, Ctl::SpeedItemUlozCSV, Ctl::MenuImportCSV, Ctl::ExportCSV1})
    EXPECT_TRUE(w->findChild<QAction*>(CtlName(c))->isEnabled()) << CtlName(c);
  w->state().grid.setText(2, 1, cp("Zlomky"));
  const QString file = home.filePath("plan.csv");
  p.saveAnswers.push_back(file);
  w->trigger(Ctl::SpeedItemUlozCSV);
  ASSERT_EQ(p.saveRequests.size(), 1u);
  EXPECT_EQ(p.saveRequests[0].filter, cp("CSV (oddělený středníkem)|*.csv"));
  EXPECT_TRUE(p.saveRequests[0].overwritePrompt);

  w->state().grid.setText(2, 1, "");
  p.openAnswers.push_back(file);
  w->trigger(Ctl::MenuImportCSV);
  EXPECT_EQ(w->state().grid.text(2, 1), cp("Zlomky"));
  EXPECT_EQ(w->state().EditN, "plan");
  EXPECT_EQ(text(*w, 2, 1), u("Zlomky"));
  EXPECT_TRUE(p.errors.empty());
}

}  // namespace

namespace {

// A header click sorts the topic plans; on the timetable it changes nothing.
TEST_F(Window, HeaderClickSorts) {
  auto w = open();
  w->run([&] { TabSet1Change(w->state(), p, 1); });
  CellGrid& g = w->state().grid;
  g.setText(2, 1, cp("Žáby"));
  g.setText(2, 2, cp("čtení"));
  QHeaderView* header = grid(*w)->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(text(*w, 2, 0), u("+ Téma"));
  EXPECT_EQ(text(*w, 2, 1), u("čtení"));
  EXPECT_EQ(text(*w, 2, 2), u("Žáby"));
  EXPECT_TRUE(w->isWindowModified());
  // The click selects no column whose cells the next Delete would empty.
  EXPECT_LE(grid(*w)->selectionModel()->selectedIndexes().size(), 1);

  w->run([&] { TabSet1Change(w->state(), p, 2); });
  const QString title = text(*w, 2, 0);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(text(*w, 2, 0), title);
}

// "Nastavení" -> "Známky": OK writes the four options, "Storno" writes nothing.
TEST_F(Window, GradeOptionsDialog) {
  auto w = open();
  w->trigger(Ctl::MenuNastavZnamky);
  auto* dlg = w->findChild<QDialog*>("T_NastavZnamky");
  ASSERT_TRUE(dlg && dlg->isVisible());
  EXPECT_FALSE(dlg->isModal());
  EXPECT_TRUE(w->findChild<QCheckBox*>("CBbarevne")->isChecked());
  EXPECT_FALSE(w->findChild<QCheckBox*>("CBzvlast")->isChecked());
  screenshot(*dlg, "dialog-znamky.png");
  const QString ini = home.filePath("vekla.ini");
  w->findChild<QCheckBox*>("CBzvlast")->setChecked(true);
  dlg->findChild<QPushButton*>("Button2")->click();
  EXPECT_FALSE(loadIni(ini).has("Znamky", "Zvlast"));
  w->trigger(Ctl::MenuNastavZnamky);
  EXPECT_TRUE(w->findChild<QCheckBox*>("CBzvlast")->isChecked());  // as left
  dlg->findChild<QPushButton*>("Button1")->click();
  const IniFile saved = loadIni(ini);
  EXPECT_EQ(saved.get("Znamky", "Zvlast"), "1");
  EXPECT_EQ(saved.get("Znamky", "Barevne"), "1");

  // The toolkit's own dialogs speak Czech too.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u("Zrušit"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), u("Hledat v:"));

  // The time and date dialogs as they show.
  HoursDialog hours(w.get());
  hours.setValues(7, 50);
  screenshot(hours, "dialog-hodiny.png");
  DateDialog date(w.get());
  date.setValues(5, 9);
  screenshot(date, "dialog-datum.png");
}

}  // namespace

// The window's text widths measure with its fonts while it lives, start
// afresh when the fonts change, and leave the estimate behind when it goes.
TEST(TextWidthsTest, TheCacheLivesAndDiesWithItsOwner) {
  const Cell cell = [] {
    Cell c;
    c.text = "Novotná Klára";
    c.size = 8;
    return c;
  }();
  const int estimate = CellGrid::textWidthMeasure()(cell);
  {
    TextWidths widths;
    CellGrid::textWidthMeasure()(cell);
    CellGrid::textWidthMeasure()(cell);
    EXPECT_EQ(widths.textsKnown(), 1u);
    widths.clear();
    EXPECT_EQ(widths.textsKnown(), 0u);
    CellGrid::textWidthMeasure()(cell);
    EXPECT_EQ(widths.textsKnown(), 1u);
  }
  EXPECT_EQ(CellGrid::textWidthMeasure()(cell), estimate);
}

// A guide or a preview on a laptop's screen: smaller than asked for where
// the screen is, centred on it with room for the window's frame.
TEST(FitOnScreenTest, NoLargerThanTheScreenAndCentred) {
  struct Case {
    QRect screen;
    QSize wanted;
    QRect placed;
  } cases[] = {
      {{0, 0, 1400, 900}, {900, 720}, {242, 70, 900, 720}},
      {{0, 0, 1366, 768}, {900, 760}, {225, 0, 900, 728}},
      {{1920, 24, 1024, 600}, {900, 720}, {1974, 24, 900, 560}},
  };
  for (const Case& c : cases) EXPECT_EQ(CentredWithin(c.wanted, c.screen), c.placed) << c.screen.x();
}
