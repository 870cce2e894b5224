// The per-kind setup of the main grid and window, the layouts and the
// semester label.
#include <gtest/gtest.h>

#include <QDateTime>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"

using namespace vekla;

namespace {

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetNow(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)));
    InitControls(s);
  }
  void TearDown() override { SetNow(QDateTime()); }

  // Row `row` of the main grid from column 0 as UTF-8 texts.
  std::vector<std::string> row(int r, int cols) const {
    std::vector<std::string> out;
    for (int c = 0; c < cols; ++c) out.push_back(toUtf8(s.grid.text(c, r)));
    return out;
  }
  std::vector<std::string> column0(int from, int to) const {
    std::vector<std::string> out;
    for (int r = from; r <= to; ++r) out.push_back(toUtf8(s.grid.text(0, r)));
    return out;
  }
  std::string caption(Ctl control) { return toUtf8(s.control(control).caption); }

  VeklaState s;
};

using Strings = std::vector<std::string>;

// Every control starts enabled and visible; the tabs give the menu items
// the captions that name their kind.
TEST_F(SetupTest, ControlsStartEnabledAndVisible) {
  for (const Control& c : s.controls) {
    EXPECT_TRUE(c.enabled);
    EXPECT_TRUE(c.visible);
  }
  EXPECT_EQ(caption(Ctl::MenuOtevri), "");
  EXPECT_EQ(caption(Ctl::GroupBoxZnamky), " Známky ");
}

TEST_F(SetupTest, GradesSetup) {
  s.shape1 = rgbHex(0x336699);
  s.shape2 = kWhite;
  SetupTab(s, DbKind::Znamky);
  const CellGrid& g = s.grid;

  ASSERT_EQ(g.colCount(), 8);
  ASSERT_EQ(g.rowCount(), 11);
  EXPECT_EQ(g.lineWidth, 2);
  EXPECT_EQ(row(0, 8), (Strings{"", "Pořadí", "Jméno", "1", "Průměr", "Sm. odch.", "Poznámka", "Zkoušen"}));
  EXPECT_EQ(column0(1, 10), (Strings{"Datum", "Čas od", "Čas do", "1. Nový", "2. Nový", "3. Nový", "4. Nový",
                                     "5. Nový", "Průměr", "Sm. odch."}));
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(g.text(1, n + 3), std::to_string(n));
    EXPECT_EQ(toUtf8(g.text(2, n + 3)), "Nový záznam");
    EXPECT_EQ(g.text(7, n + 3), "0");
    EXPECT_EQ(g.text(3, n + 3), "");
  }
  // One grade column dated now.
  EXPECT_EQ(g.text(3, 1), "5.3");
  EXPECT_EQ(g.text(3, 2), "09:07");
  EXPECT_EQ(g.text(3, 3), "09:07");

  // Window and panel.
  EXPECT_EQ(s.caption, "2. pol. 2025/2026");
  EXPECT_EQ(s.semesterItems, (Strings{"2. pol. 2025/2026"}));
  EXPECT_EQ(s.semesterText, "2. pol. 2025/2026");
  EXPECT_EQ(s.semesterItemIndex, 0);
  EXPECT_EQ(s.currentSemester, 1);
  EXPECT_EQ(s.studentCount, 5);
  EXPECT_EQ(s.prefix, "Znamky-");
  EXPECT_EQ(s.EditN, "Znamky-");
  EXPECT_EQ(s.EditC, "TqbZ");
  EXPECT_EQ(s.EditTD, "data");
  EXPECT_EQ(s.EditDV, "05.03.2026");
  EXPECT_EQ(s.EditDZ, "05.03.2026");
  EXPECT_EQ(s.EditCV, "09:07:03");
  EXPECT_EQ(s.EditCZ, "09:07:03");
  EXPECT_EQ(s.leadingRecords, 3);
  EXPECT_EQ(s.panelHeight, 180);
  EXPECT_EQ(toUtf8(s.dialogFilter), "Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB");
  EXPECT_EQ(caption(Ctl::MenuOtevri), "Otevři Známky ...");
  EXPECT_EQ(caption(Ctl::MenuImportCSV), "Import CSV Známky ...");
  EXPECT_EQ(caption(Ctl::MenuHtml), "Vytvořit HTML Známky z PDB");
  EXPECT_EQ(caption(Ctl::MenuExcel), "Vytvořit tabulku Excel Známky z PDB");
  EXPECT_TRUE(s.control(Ctl::SpeedItemImport2).visible);
  EXPECT_TRUE(s.control(Ctl::GroupBoxZnamky).visible);
  EXPECT_FALSE(s.control(Ctl::GroupBoxRozvrh).visible);
  EXPECT_FALSE(s.control(Ctl::SpeedItemPridatRadek).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemHodiny).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemHTML).enabled);

  // Weights, bands and grade symbols.
  const Color weightColors[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA), rgbHex(0x00CC33)};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.weights[static_cast<size_t>(i)].color, weightColors[i]);
    EXPECT_EQ(s.weights[static_cast<size_t>(i)].text, "1,00");
  }
  EXPECT_EQ(s.weightDown, 1);
  const Color bandBrush[5] = {rgbHex(0x0000FF), rgbHex(0x99CCFF), rgbHex(0xEEEEEE), rgbHex(0xFF9999),
                              rgbHex(0xFF0000)};
  const Color bandText[5] = {kWhite, kBlack, kBlack, kBlack, kWhite};
  const char* bounds[5] = {"1,3", "1,5", "2,0", "3,0", "3,5"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(s.znamky2.brush(c, 0), bandBrush[c]) << c;
    EXPECT_EQ(s.znamky2.fontColor(c, 0), bandText[c]) << c;
    EXPECT_EQ(s.znamky2.text(c, 0), bounds[c]);
  }
  EXPECT_EQ(s.znamky2.brush(5, 0), kWhite);
  EXPECT_EQ(toUtf8(s.znamky.text(0, 0)), "Známky ");
  EXPECT_TRUE(s.znamky.bold(0, 1));
  EXPECT_EQ(s.znamky.text(1, 0), "1 ");
  EXPECT_EQ(toUtf8(s.znamky.text(16, 0)), "1·");
  EXPECT_EQ(s.znamky.text(20, 0), cp("5·"));
  EXPECT_EQ(s.znamky.text(11, 1), "0,75");
  EXPECT_EQ(s.znamky.text(20, 1), "5,25");
  EXPECT_EQ(s.znamky.brush(21, 0), rgbHex(0xFEFFFF));
  EXPECT_TRUE(s.znamky.bold(21, 0));
  EXPECT_EQ(s.znamky.brush(21, 1), kWhite);
  EXPECT_EQ(s.znamky.fontColor(1, 0), weightColors[0]);
  EXPECT_EQ(s.znamky.fontColor(20, 0), weightColors[0]);

  // Colours of the grades layout (C = 8, R = 11).
  const Color hi = rgbHex(0x336699);
  struct Expect {
    int col, row;
    Color brush, font;
  } cases[] = {
      {1, 1, hi, kWhite},     {2, 3, hi, kWhite},     {7, 2, hi, kWhite},      // head rows
      {3, 1, rgbHex(0xEEFFEE), kBlack},                                       // the date cell
      {1, 9, hi, kWhite},     {6, 10, hi, kWhite},                             // summary rows
      {2, 5, hi, kWhite},     {6, 5, hi, kWhite},     {7, 7, hi, kWhite},      // odd student rows
      {2, 4, kWhite, kBlack}, {7, 8, kWhite, kBlack},                          // even student rows
  };
  for (const auto& e : cases) {
    EXPECT_EQ(g.brush(e.col, e.row), e.brush) << e.col << "," << e.row;
    EXPECT_EQ(g.fontColor(e.col, e.row), e.font) << e.col << "," << e.row;
  }
  EXPECT_EQ(g.brush(3, 5), rgbHex(0xEFFFFF));
  EXPECT_EQ(g.brush(3, 4), kWhite);
  EXPECT_TRUE(g.bold(3, 4));
  EXPECT_EQ(g.fontSize(5, 9), 10);
  EXPECT_EQ(g.align(4, 6), Align::Center);
  EXPECT_FALSE(g.bold(6, 4));
  EXPECT_EQ(g.fontSize(2, 4), 8);
  EXPECT_EQ(g.align(2, 4), Align::Default);
}

TEST_F(SetupTest, GradesSetupKeepsThePressedWeight) {
  s.weightDown = 3;
  SetupTab(s, DbKind::Znamky);
  EXPECT_EQ(s.weightDown, 3);
  EXPECT_EQ(s.znamky.fontColor(7, 0), rgbHex(0xAAAAAA));
}

TEST_F(SetupTest, TopicPlansSetup) {
  // Texts left by a previous kind in its shown cells are cleared.
  s.grid.setText(5, 8, "stale");
  s.shape1 = rgbHex(0xFFCC00);
  s.shape2 = kBlack;
  SetupTab(s, DbKind::Rozpisy);
  const CellGrid& g = s.grid;
  ASSERT_EQ(g.colCount(), 9);
  ASSERT_EQ(g.rowCount(), 11);
  EXPECT_EQ(g.lineWidth, 1);
  EXPECT_EQ(g.text(5, 8), "");
  EXPECT_EQ(row(0, 9), (Strings{"", "Pořadí", "Téma", "Datum", "Poznámka", "Od", "Do", "Celkem", "Hotovo"}));
  EXPECT_EQ(column0(1, 10), (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  for (int r = 1; r <= 10; ++r)
    for (int c = 1; c <= 8; ++c) {
      EXPECT_EQ(g.brush(c, r), r % 2 ? rgbHex(0xFFCC00) : kWhite);
      EXPECT_EQ(g.fontColor(c, r), kBlack);
    }
  EXPECT_EQ(s.EditN, "Rozpisy-");
  EXPECT_EQ(s.EditC, "TqbR");
  EXPECT_EQ(s.leadingRecords, 2);
  EXPECT_EQ(s.panelHeight, 54);
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatRadek).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemOdstranitRadek).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemPridatSloupec).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemImport2).visible);
  EXPECT_FALSE(s.control(Ctl::GroupBoxZnamky).visible);
  EXPECT_EQ(caption(Ctl::MenuExcel), "Vytvořit tabulku Excel Rozpisy z PDB");
  EXPECT_EQ(toUtf8(s.dialogFilter), "Rozpisy PDB|Rozpisy-*.PDB|databáze PDB|*.PDB");

  const std::string typ = "isdsiiib";
  const int delka[8] = {3, 255, 10, 255, 3, 3, 3, 1};
  const char* vychozi[8] = {"0", "", "", "", "0", "0", "0", "0"};
  for (int c = 1; c <= 8; ++c) {
    EXPECT_EQ(s.Sloupce.Typ[static_cast<size_t>(c)], typ[static_cast<size_t>(c - 1)]);
    EXPECT_EQ(s.Sloupce.Delka[static_cast<size_t>(c)], delka[c - 1]);
    EXPECT_EQ(s.Sloupce.Vychozi[static_cast<size_t>(c)], vychozi[c - 1]);
  }
  // The grades and timetable setups keep the table.
  SetupTab(s, DbKind::Znamky);
  EXPECT_EQ(s.Sloupce.Typ[3], 'd');
}

TEST_F(SetupTest, TimetableSetup) {
  SetupTab(s, DbKind::Rozvrh);
  const CellGrid& g = s.grid;
  ASSERT_EQ(g.colCount(), 9);
  ASSERT_EQ(g.rowCount(), 24);
  EXPECT_EQ(row(0, 9), (Strings{"", "Den", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(row(1, 9), (Strings{"Hodina ", "Název", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(row(2, 9), (Strings{"Od", "", "07:50", "08:40", "09:40", "10:40", "11:35", "12:30", "13:20"}));
  EXPECT_EQ(row(3, 9), (Strings{"Do", "", "08:35", "09:25", "10:25", "11:25", "12:20", "13:15", "14:05"}));
  // The eighth lesson lies beyond the grid and shows when it gets a tenth column.
  EXPECT_EQ(g.text(9, 1), "8");
  EXPECT_EQ(g.text(9, 2), "14:10");
  EXPECT_EQ(g.text(9, 3), "14:55");
  EXPECT_EQ(column0(4, 11), (Strings{"Předmět ", "Třída", "Učebna", "Název", "Předmět ", "Třída", "Učebna", "Název"}));
  EXPECT_EQ(toUtf8(g.text(1, 4)), "Pondělí");
  EXPECT_EQ(toUtf8(g.text(1, 8)), "Úterý");
  EXPECT_EQ(toUtf8(g.text(1, 12)), "Středa");
  EXPECT_EQ(toUtf8(g.text(1, 16)), "Čtvrtek");
  EXPECT_EQ(toUtf8(g.text(1, 20)), "Pátek");

  const Color grey = rgbHex(0xCCCCCC);
  EXPECT_EQ(g.brush(1, 1), kWhite);
  EXPECT_EQ(g.brush(1, 4), kWhite);
  EXPECT_EQ(g.brush(1, 20), kWhite);
  EXPECT_EQ(g.brush(1, 5), grey);
  EXPECT_EQ(g.brush(1, 23), grey);
  EXPECT_EQ(g.brush(2, 1), grey);
  EXPECT_EQ(g.brush(8, 3), grey);
  EXPECT_EQ(g.fontColor(8, 3), kBlack);
  EXPECT_EQ(g.brush(2, 4), kWhite);  // cleared by the setup

  EXPECT_EQ(s.EditN, "Vekla-");
  EXPECT_EQ(s.EditC, "TqbK");
  EXPECT_EQ(s.EditTD, "data");
  EXPECT_EQ(s.leadingRecords, 1);
  EXPECT_EQ(s.panelHeight, 120);
  EXPECT_TRUE(s.control(Ctl::GroupBoxRozvrh).visible);
  EXPECT_FALSE(s.control(Ctl::GroupBoxZnamky).visible);
  EXPECT_TRUE(s.control(Ctl::SpeedItemPridatSloupec).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemOdebratSloupec).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemPridatRadek).enabled);
  EXPECT_EQ(caption(Ctl::MenuOtevri), "Otevři Rozvrh ...");
  EXPECT_EQ(toUtf8(s.dialogFilter), "Vekla PDB|Vekla-*.PDB|databáze PDB|*.PDB");
}

TEST_F(SetupTest, CalendarSetup) {
  s.Memo1.push_back("old");
  SetupTab(s, DbKind::Kalendar);
  const CellGrid& g = s.grid;
  ASSERT_EQ(g.colCount(), 2);
  ASSERT_EQ(g.rowCount(), 367);
  EXPECT_EQ(row(0, 2), (Strings{"", "Svátek"}));
  EXPECT_EQ(g.text(0, 1), "1.1.");
  EXPECT_EQ(g.text(0, 60), "29.2.");
  EXPECT_EQ(g.text(0, 61), "1.3.");
  EXPECT_EQ(g.text(0, 366), "31.12.");
  EXPECT_TRUE(s.Memo1.empty());
  EXPECT_EQ(s.EditN, "vekla-datum");
  EXPECT_EQ(s.EditTD, "datu");
  EXPECT_EQ(s.leadingRecords, 0);
  EXPECT_FALSE(s.control(Ctl::MenuHtml).enabled);
  EXPECT_FALSE(s.control(Ctl::SpeedItemHTML).enabled);
  EXPECT_EQ(caption(Ctl::MenuHtml), "Vytvořit HTML Kalendář z PDB");
  EXPECT_EQ(toUtf8(s.dialogFilter), "Kalendář PDB|vekla-datum.PDB|databáze PDB|*.PDB");
  EXPECT_EQ(s.Sloupce.Typ[1], 's');
  EXPECT_EQ(s.Sloupce.Delka[1], 21);
  EXPECT_EQ(s.Sloupce.Typ[2], 0);

  // The next setup clears every cell the calendar showed and enables HTML again.
  s.grid.setText(1, 300, "Silvestr");
  SetupTab(s, DbKind::Rozvrh);
  EXPECT_EQ(s.grid.text(1, 300), "");
  EXPECT_EQ(s.grid.brush(1, 300), kWhite);
  EXPECT_TRUE(s.control(Ctl::MenuHtml).enabled);
  EXPECT_TRUE(s.control(Ctl::SpeedItemHTML).enabled);
}

TEST_F(SetupTest, NumberingAfterColumnChanges) {
  SetupTab(s, DbKind::Znamky);
  s.grid.insertCol(4);
  s.grid.insertCol(4);
  NumberGradeColumns(s);
  LayoutGrades(s);
  EXPECT_EQ(row(0, 10), (Strings{"", "Pořadí", "Jméno", "1", "2", "3", "Průměr", "Sm. odch.", "Poznámka", "Zkoušen"}));
  EXPECT_EQ(s.grid.brush(5, 2), rgbHex(0xEEFFEE));
  EXPECT_TRUE(s.grid.bold(7, 4));    // deviation column
  EXPECT_FALSE(s.grid.bold(8, 4));   // note column

  SetupTab(s, DbKind::Rozvrh);
  s.grid.setColCount(11);
  NumberLessonColumns(s);
  EXPECT_EQ(row(0, 11), (Strings{"", "Den", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

// Inserting or removing several columns at once gives the same grid as one
// column at a time: cells move with their colours, also those kept beyond
// the column count, and the last non-fixed column is never removed.
TEST(CellGridColumns, ManyAtOnceLikeOneByOne) {
  auto filled = [] {
    CellGrid g(6, 3, 1, 1);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 8; ++c) {  // columns 6 and 7 lie beyond the count
        g.setText(c, r, std::to_string(c) + "/" + std::to_string(r));
        g.setFontColor(c, r, makeColor(c, r, 0));
      }
    g.setText(2, 5, "short row");  // a stored row narrower than the grid
    return g;
  };
  auto same = [](const CellGrid& a, const CellGrid& b) {
    ASSERT_EQ(a.colCount(), b.colCount());
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(a.text(c, r), b.text(c, r)) << c << "," << r;
        EXPECT_EQ(a.fontColor(c, r), b.fontColor(c, r)) << c << "," << r;
      }
  };
  struct Case {
    int index, count;
  } inserts[] = {{3, 4}, {0, 2}, {6, 3}, {2, 0}};
  for (const auto& c : inserts) {
    CellGrid a = filled(), b = filled();
    a.insertCols(c.index, c.count);
    for (int i = 0; i < c.count; ++i) b.insertCol(c.index);
    same(a, b);
  }
  CellGrid a = filled();
  a.insertCols(3, 4);
  EXPECT_EQ(a.colCount(), 10);
  EXPECT_EQ(a.text(3, 1), "");
  EXPECT_EQ(a.text(7, 1), "3/1");
  EXPECT_EQ(a.text(11, 2), "7/2");

  Case removals[] = {{3, 2}, {1, 4}, {1, 9}, {4, 9}, {0, 2}, {6, 1}};
  for (const auto& c : removals) {
    CellGrid x = filled(), y = filled();
    x.removeCols(c.index, c.count);
    for (int i = 0; i < c.count; ++i) y.removeCol(c.index);
    same(x, y);
  }
  CellGrid r = filled();
  r.removeCols(1, 9);  // one non-fixed column stays
  EXPECT_EQ(r.colCount(), 2);
  EXPECT_EQ(r.text(1, 0), "5/0");
  EXPECT_EQ(r.text(2, 0), "6/0");
}

// Sizing again after edits measures only the columns written to, with the
// widths a grid sized from scratch gets.
TEST(CellGridColumns, SizingAgainAfterEditsLikeFromScratch) {
  CellGrid g(5, 4, 1, 1);
  for (int r = 0; r < 6; ++r)  // rows 4 and 5 lie beyond the count
    for (int c = 0; c < 5; ++c) g.setText(c, r, std::string(static_cast<size_t>(1 + (c * r) % 7), 'x'));
  g.autoSizeColumns();
  int measured = 0;
  const auto measure = CellGrid::textWidthMeasure();
  CellGrid::setTextWidthMeasure([&](const Cell& c) { return ++measured, measure(c); });
  g.autoSizeColumns();
  EXPECT_EQ(measured, 4 * 5);  // another measure: everything again
  auto sameAsFresh = [&] {
    CellGrid fresh(g.colCount(), g.rowCount(), 1, 1);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 8; ++c) fresh.at(c, r) = g.cell(c, r);
    fresh.autoSizeColumns();
    for (int c = 0; c < 8; ++c) EXPECT_EQ(g.colWidth(c), fresh.colWidth(c)) << c;
  };
  measured = 0;
  g.setText(2, 1, "a much longer text than any");
  g.setBold(3, 3, true);
  g.autoSizeColumns();
  EXPECT_EQ(measured, 2 * 4);
  sameAsFresh();
  g.setText(2, 1, "");  // the widest text gone
  g.setRowCount(6);     // the rows kept beyond the count show
  g.insertCols(1, 2);
  g.autoSizeColumns();
  sameAsFresh();
  CellGrid::setTextWidthMeasure(measure);
}

TEST_F(SetupTest, SemesterLabelByMonth) {
  struct Case {
    int month;
    const char* label;
  } cases[] = {{1, "1. pol. 2025/2026"},
               {2, "2. pol. 2025/2026"},
               {7, "2. pol. 2025/2026"},
               {8, "1. pol. 2026/2027"},
               {12, "1. pol. 2026/2027"}};
  for (const auto& c : cases) {
    SetNow(QDateTime(QDate(2026, c.month, 15), QTime(12, 0)));
    EXPECT_EQ(SemesterLabel(s), c.label) << c.month;
    EXPECT_EQ(s.caption, c.label);
  }
}

}  // namespace

