#include "workspace/setup.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/gradestats.h"

namespace vekla {

namespace {

void setControl(VeklaState& s, const char* name, bool enabled) { s.control(name).enabled = enabled; }
void showControl(VeklaState& s, const char* name, bool visible) { s.control(name).visible = visible; }

std::string num(int n) { return std::to_string(n); }

// Writes texts into consecutive cells of one row, starting at `col`.
void fillRow(CellGrid& g, int row, int col, std::initializer_list<const char*> utf8) {
  for (const char* t : utf8) g.setText(col++, row, cp(t));
}

struct KindRow {
  const char* prefix;
  const char* caption;
  const char* filter;
  int rows, cols, lineWidth, panelHeight, leading;
  const char* creator;
  const char* type;
};

const KindRow& kindRow(DbKind k) {
  static const KindRow rows[] = {
      {"Znamky-", "Známky", "Známky PDB|Znamky-*.PDB|databáze PDB|*.PDB", 11, 8, 2, 180, 3, "TqbZ",
       "data"},
      {"Rozpisy-", "Rozpisy", "Rozpisy PDB|Rozpisy-*.PDB|databáze PDB|*.PDB", 11, 9, 1, 54, 2, "TqbR",
       "data"},
      {"Vekla-", "Rozvrh", "Vekla PDB|Vekla-*.PDB|databáze PDB|*.PDB", 24, 9, 1, 120, 1, "TqbK", "data"},
      {"vekla-datum", "Kalendář", "Kalendář PDB|vekla-datum.PDB|databáze PDB|*.PDB", 367, 2, 1, 54, 0,
       "TqbK", "datu"},
  };
  const int i = static_cast<int>(k);
  return rows[i >= 0 && i < 4 ? i : 0];
}

void setSloupce(SloupceType& s, int col, char typ, int delka, const char* vychozi) {
  s.Typ[static_cast<size_t>(col)] = typ;
  s.Delka[static_cast<size_t>(col)] = delka;
  s.Vychozi[static_cast<size_t>(col)] = vychozi;
}

// The grades tab: weights, band and symbol grids, one grade column and five
// new students, the semester box, then layout and statistics.
void gradeSteps(VeklaState& s) {
  CellGrid& g = s.grid;
  s.studentCount = g.rowCount() - 6;
  // A new grade book starts without the previous class's note; a tab switch
  // loads the note back from the extras file right after the setup.
  s.memoPoznamka.clear();

  static constexpr Color weightColors[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA),
                                            rgbHex(0x00CC33)};
  for (int i = 0; i < 4; ++i) {
    s.weights[static_cast<size_t>(i)].color = weightColors[i];
    s.weights[static_cast<size_t>(i)].text = "1,00";
  }

  // The five average bands.
  CellGrid& z2 = s.znamky2;
  for (int c = 1; c <= 5; ++c) z2.setBrush(c, 0, kWhite);
  static constexpr Color bandBrush[5] = {rgbHex(0x0000FF), rgbHex(0x99CCFF), rgbHex(0xEEEEEE), rgbHex(0xFF9999),
                                         rgbHex(0xFF0000)};
  static constexpr Color bandText[5] = {kWhite, kBlack, kBlack, kBlack, kWhite};
  static const char* const bandBound[5] = {"1,3", "1,5", "2,0", "3,0", "3,5"};
  for (int c = 0; c < 5; ++c) {
    z2.setColors(c, 0, bandBrush[c], bandText[c]);
    z2.setText(c, 0, bandBound[c]);
  }

  // Grade symbols and their values.
  CellGrid& z = s.znamky;
  z.setText(0, 0, cp("Známky "));
  z.setText(0, 1, cp("Hodnoty "));
  z.setBold(0, 0, true);
  z.setBold(0, 1, true);
  for (int c = 1; c <= 21; ++c) {
    z.setBrush(c, 0, rgbHex(0xFEFFFF));
    z.setBold(c, 0, true);
    z.setBrush(c, 1, kWhite);
  }
  static const char* const symbols[20] = {"1 ", "2 ", "3 ", "4 ", "5 ", "1-", "2-", "3-", "4-", "5-",
                                          "1*", "2*", "3*", "4*", "5*", "1·", "2·", "3·", "4·", "5·"};
  static const char* const values[20] = {"1,00", "2,00", "3,00", "4,00", "5,00", "1,50", "2,50",
                                         "3,50", "4,50", "5,50", "0,75", "1,75", "2,75", "3,75",
                                         "4,75", "1,25", "2,25", "3,25", "4,25", "5,25"};
  for (int c = 1; c <= 20; ++c) {
    z.setText(c, 0, cp(symbols[c - 1]));
    z.setText(c, 1, values[c - 1]);
  }
  z.autoSizeColumns();
  const int down = s.weightDown >= 1 && s.weightDown <= 4 ? s.weightDown : 1;
  for (int c = 1; c <= 20; ++c) z.setFontColor(c, 0, s.weights[static_cast<size_t>(down - 1)].color);

  // Main grid: one grade column dated now.
  g.setColCount(8);
  g.setText(3, 1, TodayDayMonth());
  g.setText(3, 2, NowHourMinute());
  g.setText(3, 3, NowHourMinute());
  fillRow(g, 0, 0, {"", "Pořadí", "Jméno", "1", "Průměr", "Sm. odch.", "Poznámka", "Zkoušen"});
  s.EditC = s.creator;
  s.EditTD = s.type;

  const int C = g.colCount();
  for (int n = 1; n <= 5; ++n) {
    const int row = n + 3;
    g.setText(1, row, num(n));
    g.setText(2, row, cp("Nový záznam"));
    g.setText(0, row, num(n) + cp(". Nový"));
    g.setText(C - 1, row, "0");
  }

  s.semesterItems.clear();
  const std::string label = SemesterLabel(s);
  s.semesterItems.push_back(label);
  s.currentSemester = 1;
  s.semesterItemIndex = 0;
  s.semesterText = label;

  LayoutGrades(s);
  NumberGradeColumns(s);
  ComputeStatistics(s);
}

void timetableSteps(VeklaState& s) {
  CellGrid& g = s.grid;
  // A new timetable starts with an empty panel; a tab switch loads the
  // panel back from the extras file right after the setup.
  s.EditRozvrhPolozka.clear();
  s.EditRozvrhLS.clear();
  s.shapeRozvrh = kWhite;
  s.lichyTyden = true;
  s.rozlisovatTydny = false;
  g.setText(0, 0, "");
  // Up to and including the column count: the eighth lesson's cells lie one
  // beyond the grid and show when it gets a tenth column.
  for (int c = 2; c <= g.colCount(); ++c) g.setText(c, 1, num(c - 1));
  static const char* const starts[8] = {"07:50", "08:40", "09:40", "10:40", "11:35", "12:30", "13:20", "14:10"};
  static const char* const ends[8] = {"08:35", "09:25", "10:25", "11:25", "12:20", "13:15", "14:05", "14:55"};
  for (int i = 0; i < 8; ++i) {
    g.setText(i + 2, 2, starts[i]);
    g.setText(i + 2, 3, ends[i]);
  }
  g.setText(1, 1, cp("Název"));
  static const char* const days[5] = {"Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek"};
  for (int d = 0; d < 5; ++d) g.setText(1, 4 + 4 * d, cp(days[d]));
  NumberLessonColumns(s);
  LayoutTimetable(s);
}

// Odd rows in the highlight colours, even rows white with black text.
void stripeRows(VeklaState& s) {
  CellGrid& g = s.grid;
  for (int r = 1; r < g.rowCount(); ++r)
    for (int c = 1; c < g.colCount(); ++c) {
      if (r % 2 == 1) g.setColors(c, r, s.shape1, s.shape2);
      else g.setColors(c, r, kWhite, kBlack);
    }
}

}  // namespace

const std::vector<MenuItemDef>& MenuItems() {
  static const std::vector<MenuItemDef> items = [] {
    const char* const table[][3] = {
        {"Soubor", "MenuNovy", "Nový"},
        {"Soubor", "MenuOtevri", "Import z 1. adresáře "},
        {"Soubor", "Otevt1", "Import z adesáře BackUp"},
        {"Soubor", "MenuImportCSV", "Import CSV ..."},
        {"Soubor", "MenuHtml", "Vytvořit HTML ..."},
        {"Soubor", "MenuExcel", "Vytvořit Excel ..."},
        {"Soubor", "MenuUloz", "Uložit PDB"},
        {"Soubor", "ExportCSV1", "Export CSV"},
        {"Soubor", "Oprogramu1", "O programu"},
        {"Utility", "HotSync1", "HotSync ..."},
        {"Utility", "MenuTest", "Test tabulky"},
        {"Nastavení", "MenuNastavZnamky", "Známky"},
        {"Konec", "Konec1", "Konec"},
    };
    std::vector<MenuItemDef> v;
    for (const auto& t : table) v.push_back({cp(t[0]), t[1], cp(t[2])});
    return v;
  }();
  return items;
}

const std::vector<ToolButtonDef>& ToolButtons() {
  static const std::vector<ToolButtonDef> buttons = [] {
    const char* const table[][2] = {
        {"SpeedItemNovy", "Nový PDB"},
        {"SpeedItemOtevri1", "Import PDB z 1. adresáře"},
        {"SpeedItemOtevri2", "Import PDB z adresáře BackUp"},
        {"SpeedItemImport", "Import CSV"},
        {"SpeedItemImport2", "Import CSV známky jako dvě hodnoty"},
        {"SpeedItemUlozPDB", "Uložit jako PDB"},
        {"SpeedItemUlozCSV", "Export do CSV"},
        {"SpeedItemHTML", "Vytvořit Html z PDB"},
        {"SpeedItemExcel", "Vytvořit tabulku Excel z PDB"},
        {"SpeedItemPHP", "PHP do mySQL"},
        {"SpeedItemHodiny", "Hodiny"},
        {"SpeedItemDatum", "Datum"},
        {"SpeedItemBarva", "Nastavit barvu"},
        {"SpeedItem8", "Nastavit velikost sloupců"},
        {"SpeedItem9", "Vymazat chyby"},
        {"SpeedItemPridatRadek", "Vložit řádek"},
        {"SpeedItemOdstranitRadek", "Odstranit řádek"},
        {"SpeedItemPridatSloupec", "Přidat sloupec"},
        {"SpeedItemOdebratSloupec", "Odebrat sloupec"},
        {"SpeedItem3", "Přidat k HotSync "},
        {"SpeedItem12", "Info"},
        {"SpeedItem13", "Konec"},
    };
    std::vector<ToolButtonDef> v;
    for (const auto& t : table) v.push_back({t[0], cp(t[1])});
    return v;
  }();
  return buttons;
}

void InitControls(VeklaState& s) {
  for (const auto& m : MenuItems()) s.controls[m.name] = Control{true, true, m.caption};
  for (const auto& b : ToolButtons()) s.controls[b.name] = Control{true, true, b.hint};
  s.controls["GroupBoxRozvrh"] = Control{true, true, cp(" Rozvrh ")};
  s.controls["GroupBoxZnamky"] = Control{true, true, cp(" Známky ")};
}

std::string KindPrefix(DbKind k) { return kindRow(k).prefix; }
std::string KindFilter(DbKind k) { return cp(kindRow(k).filter); }
std::string KindTabCaption(DbKind k) { return cp(kindRow(k).caption); }

void SetupTab(VeklaState& s, DbKind kind) {
  const KindRow& k = kindRow(kind);
  s.kind = kind;

  // 1. Controls common to every kind.
  for (const char* m : {"MenuOtevri", "MenuNovy", "MenuImportCSV", "MenuHtml", "MenuExcel", "MenuUloz"})
    setControl(s, m, true);
  showControl(s, "SpeedItemImport2", false);
  for (const char* b : {"SpeedItemNovy", "SpeedItemOtevri1", "SpeedItemImport", "SpeedItemHTML", "SpeedItemExcel",
                        "SpeedItemUlozPDB", "SpeedItemBarva"})
    setControl(s, b, true);
  for (const char* b : {"SpeedItemHodiny", "SpeedItemDatum", "SpeedItemPridatRadek", "SpeedItemOdstranitRadek",
                        "SpeedItemPridatSloupec", "SpeedItemOdebratSloupec"})
    setControl(s, b, false);
  showControl(s, "GroupBoxRozvrh", false);
  showControl(s, "GroupBoxZnamky", false);

  // 2. Empty the cells the previous kind showed.
  ClearGridCells(s);

  // 3. The kind's shape and settings.
  CellGrid& g = s.grid;
  g.lineWidth = k.lineWidth;
  s.prefix = k.prefix;
  g.setRowCount(k.rows);
  g.setColCount(k.cols);
  const std::string name = cp(k.caption);
  s.control("MenuOtevri").caption = cp("Otevři ") + name + " ...";
  s.control("MenuImportCSV").caption = cp("Import CSV ") + name + " ...";
  s.control("MenuHtml").caption = cp("Vytvořit HTML ") + name + " z PDB";
  s.control("MenuExcel").caption = cp("Vytvořit tabulku Excel ") + name + " z PDB";
  s.panelHeight = k.panelHeight;
  switch (kind) {
    case DbKind::Znamky:
      showControl(s, "SpeedItemImport2", true);
      showControl(s, "GroupBoxZnamky", true);
      break;
    case DbKind::Rozpisy:
      setControl(s, "SpeedItemPridatRadek", true);
      setControl(s, "SpeedItemOdstranitRadek", true);
      break;
    case DbKind::Rozvrh:
      showControl(s, "GroupBoxRozvrh", true);
      setControl(s, "MenuHtml", true);
      setControl(s, "SpeedItemPridatSloupec", true);
      setControl(s, "SpeedItemOdebratSloupec", true);
      break;
    case DbKind::Kalendar:
      setControl(s, "MenuHtml", false);
      setControl(s, "SpeedItemHTML", false);
      break;
  }
  s.creator = k.creator;
  s.type = k.type;
  s.leadingRecords = k.leading;
  if (kind == DbKind::Rozpisy) {
    s.Sloupce = SloupceType{};
    setSloupce(s.Sloupce, 1, 'i', 3, "0");
    setSloupce(s.Sloupce, 2, 's', 255, "");
    setSloupce(s.Sloupce, 3, 'd', 10, "");
    setSloupce(s.Sloupce, 4, 's', 255, "");
    setSloupce(s.Sloupce, 5, 'i', 3, "0");
    setSloupce(s.Sloupce, 6, 'i', 3, "0");
    setSloupce(s.Sloupce, 7, 'i', 3, "0");
    setSloupce(s.Sloupce, 8, 'b', 1, "0");
  } else if (kind == DbKind::Kalendar) {
    s.Sloupce = SloupceType{};
    setSloupce(s.Sloupce, 1, 's', 21, "");
  }
  s.dialogFilter = cp(k.filter);
  s.EditC = s.creator;
  s.EditTD = s.type;
  switch (kind) {
    case DbKind::Znamky: gradeSteps(s); break;
    case DbKind::Rozpisy:
      fillRow(g, 0, 0, {"", "Pořadí", "Téma", "Datum", "Poznámka", "Od", "Do", "Celkem", "Hotovo"});
      LayoutTopicPlans(s);
      break;
    case DbKind::Rozvrh: timetableSteps(s); break;
    case DbKind::Kalendar:
      fillRow(g, 0, 0, {"", "Svátek"});
      LayoutCalendar(s);
      break;
  }

  // 4.-6. Error log, panel dates and name.
  s.Memo1.clear();
  const QDateTime now = Now();
  s.EditDV = s.EditDZ = now.date().toString("dd.MM.yyyy").toStdString();
  s.EditCV = s.EditCZ = now.time().toString("hh:mm:ss").toStdString();
  s.EditN = s.prefix;
}

void ClearGridCells(VeklaState& s) {
  CellGrid& g = s.grid;
  for (int r = 1; r < g.rowCount(); ++r)
    for (int c = 1; c < g.colCount(); ++c) {
      Cell& cell = g.at(c, r);
      cell.text.clear();
      cell.brush = kWhite;
      cell.font = kBlack;
      cell.bold = false;
      cell.size = 8;
      cell.align = Align::Default;
    }
}

void LayoutGrades(VeklaState& s) {
  CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  auto isGradeCol = [&](int c) { return c >= 3 && c <= C - 5; };
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c < C; ++c)
      if (!isGradeCol(c)) g.setColors(c, r, s.shape1, s.shape2);
  for (int r : {R - 2, R - 1}) {
    if (r < 1) continue;
    for (int c = 1; c < C; ++c)
      if (c < 3 || c > C - 3) g.setColors(c, r, s.shape1, s.shape2);
  }
  for (int r = 4; r <= R - 3; ++r)
    for (int c : {2, C - 2, C - 1}) {
      if (c < 1) continue;
      if (r % 2 == 1) g.setColors(c, r, s.shape1, s.shape2);
      else g.setColors(c, r, kWhite, kBlack);
    }
  for (int r = 1; r <= 3; ++r)
    for (int c = 3; c <= C - 5; ++c) g.setColors(c, r, rgbHex(0xEEFFEE), kBlack);
  for (int r = 4; r <= R - 3; ++r)
    for (int c = 3; c <= C - 5; ++c) g.setBrush(c, r, r % 2 == 1 ? rgbHex(0xEFFFFF) : kWhite);

  g.setText(0, 1, "Datum");
  g.setText(0, 2, cp("Čas od"));
  g.setText(0, 3, cp("Čas do"));
  for (int r : {R - 2, R - 1}) {
    if (r < 1) continue;
    for (int c : {1, 2, C - 2, C - 1})
      if (c >= 1) g.setText(c, r, "");
  }
  if (R - 2 >= 1) g.setText(0, R - 2, cp("Průměr"));
  if (R - 1 >= 1) g.setText(0, R - 1, cp("Sm. odch."));

  for (int r = 1; r < R; ++r)
    for (int c = 1; c < C; ++c) {
      Cell& cell = g.at(c, r);
      const bool result = c > 2 && c < C - 2;
      cell.bold = result;
      cell.size = result ? 10 : 8;
      cell.align = result ? Align::Center : Align::Default;
    }
}

void LayoutTopicPlans(VeklaState& s) {
  for (int r = 1; r < s.grid.rowCount(); ++r) s.grid.setText(0, r, num(r));
  stripeRows(s);
}

void LayoutCalendar(VeklaState& s) {
  for (int r = 1; r < s.grid.rowCount(); ++r) s.grid.setText(0, r, DayOfYearToDayMonth(r));
  stripeRows(s);
}

void LayoutTimetable(VeklaState& s) {
  CellGrid& g = s.grid;
  const int C = g.colCount(), R = g.rowCount();
  static const char* const blockLabels[4] = {"Předmět ", "Třída", "Učebna", "Název"};
  if (R > 1) g.setText(0, 1, "Hodina ");
  if (R > 2) g.setText(0, 2, "Od");
  if (R > 3) g.setText(0, 3, "Do");
  for (int r = 4; r < R; ++r) g.setText(0, r, cp(blockLabels[r % 4]));
  const Color grey = rgbHex(0xCCCCCC);
  for (int r = 1; r < R; ++r) g.setColors(1, r, grey, kBlack);
  for (int r = 1; r <= 3 && r < R; ++r)
    for (int c = 1; c < C; ++c) g.setColors(c, r, grey, kBlack);
  if (R > 1) g.setColors(1, 1, kWhite, kBlack);
  for (int r = 4; r < R; r += 4) g.setColors(1, r, kWhite, kBlack);
}

void LayoutCurrent(VeklaState& s) {
  switch (s.kind) {
    case DbKind::Znamky: LayoutGrades(s); break;
    case DbKind::Rozpisy: LayoutTopicPlans(s); break;
    case DbKind::Rozvrh: LayoutTimetable(s); break;
    case DbKind::Kalendar: LayoutCalendar(s); break;
  }
}

void NumberGradeColumns(VeklaState& s) {
  for (int c = 3; c <= s.grid.colCount() - 5; ++c) s.grid.setText(c, 0, num(c - 2));
}

void NumberLessonColumns(VeklaState& s) {
  s.grid.setText(1, 0, "Den");
  for (int c = 2; c < s.grid.colCount(); ++c) s.grid.setText(c, 0, num(c - 1));
}

std::string SemesterLabel(VeklaState& s) {
  const QDate d = Now().date();
  const int m = d.month();
  const int firstYear = m >= 8 ? d.year() : d.year() - 1;
  const char digit = (m >= 8 || m == 1) ? '1' : '2';
  std::string label;
  label += digit;
  label += ". pol. " + num(firstYear) + "/" + num(firstYear + 1);
  s.caption = label;
  return label;
}

}  // namespace vekla
