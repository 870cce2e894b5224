#include "workspace/setup.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <tuple>
#include <utility>

#include "pdb/clock.h"
#include "pdb/codecs.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/gradestats.h"
#include "workspace/kindparams.h"

namespace vekla {

namespace {

void setControl(VeklaState& s, Ctl c, bool enabled) { s.control(c).enabled = enabled; }
void showControl(VeklaState& s, Ctl c, bool visible) { s.control(c).visible = visible; }

std::string num(int n) { return std::to_string(n); }

// Writes texts into consecutive cells of one row, starting at `col`.
void fillRow(CellGrid& g, int row, int col, std::initializer_list<const char*> utf8) {
  for (const char* t : utf8) g.setText(col++, row, cp(t));
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
  s.studentCount = GradeGeometry(g).students();
  // A new grade book starts without the previous class's note; a tab switch
  // loads the note back from the extras file right after the setup.
  s.memoPoznamka.clear();

  static constexpr Color weightColors[4] = {rgbHex(0xFF0000), rgbHex(0x0000FF), rgbHex(0xAAAAAA), rgbHex(0x00CC33)};
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
  using G = GradeGeometry;
  g.setColCount(G::kOtherCols + 1);
  g.setText(G::kFirstGradeCol, G::kDateRow, TodayDayMonth());
  g.setText(G::kFirstGradeCol, G::kStartRow, NowHourMinute());
  g.setText(G::kFirstGradeCol, G::kEndRow, NowHourMinute());
  fillRow(g, 0, 0, {"", "Pořadí", "Jméno", "1", "Průměr", "Sm. odch.", "Poznámka", "Zkoušen"});
  s.EditC = s.creator;
  s.EditTD = s.type;

  const G geo(g);
  for (int n = 1; n <= geo.students(); ++n) {
    const int row = G::studentRow(n);
    g.setText(G::kOrderCol, row, num(n));
    g.setText(G::kNameCol, row, cp("Nový záznam"));
    g.setText(0, row, num(n) + cp(". Nový"));
    g.setText(geo.examinedCol(), row, "0");
  }

  StartSemestersAfresh(s);

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

void InitControls(VeklaState& s) {
  for (Control& c : s.controls) c = Control{true, true, {}};
  s.control(Ctl::GroupBoxRozvrh) = Control{true, true, cp(" Rozvrh ")};
  s.control(Ctl::GroupBoxZnamky) = Control{true, true, cp(" Známky ")};
}

void BeginSetup(VeklaState& s, DbKind kind) {
  const KindParams& k = Params(kind);
  s.kind = kind;

  // 1. Controls common to every kind.
  for (Ctl m : {Ctl::MenuOtevri, Ctl::MenuNovy, Ctl::MenuImportCSV, Ctl::MenuHtml, Ctl::MenuExcel, Ctl::MenuUloz})
    setControl(s, m, true);
  showControl(s, Ctl::SpeedItemImport2, false);
  for (Ctl b : {Ctl::SpeedItemNovy, Ctl::SpeedItemOtevri1, Ctl::SpeedItemImport, Ctl::SpeedItemHTML,
                Ctl::SpeedItemExcel, Ctl::SpeedItemUlozPDB, Ctl::SpeedItemBarva})
    setControl(s, b, true);
  for (Ctl b : {Ctl::SpeedItemHodiny, Ctl::SpeedItemDatum, Ctl::SpeedItemPridatRadek, Ctl::SpeedItemOdstranitRadek,
                Ctl::SpeedItemPridatSloupec, Ctl::SpeedItemOdebratSloupec})
    setControl(s, b, false);
  showControl(s, Ctl::GroupBoxRozvrh, false);
  showControl(s, Ctl::GroupBoxZnamky, false);

  // 2. Empty the cells the previous kind showed.
  ClearGridCells(s);

  // 3. The kind's shape and settings.
  CellGrid& g = s.grid;
  g.lineWidth = k.lineWidth;
  s.prefix = k.prefix;
  g.setRowCount(k.rows);
  g.setColCount(k.cols);
  const std::string name = cp(k.caption);
  s.control(Ctl::MenuOtevri).caption = cp("Otevři ") + name + " ...";
  s.control(Ctl::MenuImportCSV).caption = cp("Import CSV ") + name + " ...";
  s.control(Ctl::MenuHtml).caption = cp("Vytvořit HTML ") + name + " z PDB";
  s.control(Ctl::MenuExcel).caption = cp("Vytvořit tabulku Excel ") + name + " z PDB";
  s.panelHeight = k.panelHeight;
  s.creator = k.creator;
  s.type = k.type;
  s.leadingRecords = k.leadingRecords;
  s.dialogFilter = cp(k.filter);
  s.EditC = s.creator;
  s.EditTD = s.type;
}

void SetupGrades(VeklaState& s) {
  showControl(s, Ctl::SpeedItemImport2, true);
  showControl(s, Ctl::GroupBoxZnamky, true);
  gradeSteps(s);
}

void SetupTopicPlans(VeklaState& s) {
  setControl(s, Ctl::SpeedItemPridatRadek, true);
  setControl(s, Ctl::SpeedItemOdstranitRadek, true);
  s.Sloupce = SloupceType{};
  setSloupce(s.Sloupce, 1, 'i', 3, "0");
  setSloupce(s.Sloupce, 2, 's', 255, "");
  setSloupce(s.Sloupce, 3, 'd', 10, "");
  setSloupce(s.Sloupce, 4, 's', 255, "");
  setSloupce(s.Sloupce, 5, 'i', 3, "0");
  setSloupce(s.Sloupce, 6, 'i', 3, "0");
  setSloupce(s.Sloupce, 7, 'i', 3, "0");
  setSloupce(s.Sloupce, 8, 'b', 1, "0");
  fillRow(s.grid, 0, 0, {"", "Pořadí", "Téma", "Datum", "Poznámka", "Od", "Do", "Celkem", "Hotovo"});
  LayoutTopicPlans(s);
}

void SetupTimetable(VeklaState& s) {
  showControl(s, Ctl::GroupBoxRozvrh, true);
  setControl(s, Ctl::MenuHtml, true);
  setControl(s, Ctl::SpeedItemPridatSloupec, true);
  setControl(s, Ctl::SpeedItemOdebratSloupec, true);
  timetableSteps(s);
}

void SetupCalendar(VeklaState& s) {
  setControl(s, Ctl::MenuHtml, false);
  setControl(s, Ctl::SpeedItemHTML, false);
  s.Sloupce = SloupceType{};
  setSloupce(s.Sloupce, 1, 's', 21, "");
  fillRow(s.grid, 0, 0, {"", "Svátek"});
  LayoutCalendar(s);
}

void EndSetup(VeklaState& s) {
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
  using G = GradeGeometry;
  CellGrid& g = s.grid;
  const G geo(g);
  const int C = g.colCount(), R = g.rowCount();
  // The date and time rows and the statistics rows in the highlight colours,
  // but for the grade columns of the date rows and the statistics cells.
  for (int r = G::kDateRow; r <= G::kEndRow; ++r)
    for (int c = 1; c < C; ++c)
      if (!geo.isGradeCol(c)) g.setColors(c, r, s.shape1, s.shape2);
  for (int r : {geo.averageRow(), geo.deviationRow()}) {
    if (r < 1) continue;
    for (int c = 1; c < C; ++c)
      if (c < G::kFirstGradeCol || c > geo.deviationCol()) g.setColors(c, r, s.shape1, s.shape2);
  }
  // Name, note and "examined" striped by student.
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    for (int c : {int(G::kNameCol), geo.noteCol(), geo.examinedCol()}) {
      if (c < 1) continue;
      if (r % 2 == 1) g.setColors(c, r, s.shape1, s.shape2);
      else g.setColors(c, r, kWhite, kBlack);
    }
  for (int r = G::kDateRow; r <= G::kEndRow; ++r)
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c) g.setColors(c, r, rgbHex(0xEEFFEE), kBlack);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    for (int c = G::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
      g.setBrush(c, r, r % 2 == 1 ? rgbHex(0xEFFFFF) : kWhite);

  g.setText(0, G::kDateRow, "Datum");
  g.setText(0, G::kStartRow, cp("Čas od"));
  g.setText(0, G::kEndRow, cp("Čas do"));
  for (int r : {geo.averageRow(), geo.deviationRow()}) {
    if (r < 1) continue;
    for (int c : {int(G::kOrderCol), int(G::kNameCol), geo.noteCol(), geo.examinedCol()})
      if (c >= 1) g.setText(c, r, "");
  }
  if (geo.averageRow() >= 1) g.setText(0, geo.averageRow(), cp("Průměr"));
  if (geo.deviationRow() >= 1) g.setText(0, geo.deviationRow(), cp("Sm. odch."));

  // Grades and statistics large, bold and centred.
  for (int r = 1; r < R; ++r)
    for (int c = 1; c < C; ++c) {
      Cell& cell = g.at(c, r);
      const bool result = c >= G::kFirstGradeCol && c <= geo.deviationCol();
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

void NumberGradeColumns(VeklaState& s) {
  const GradeGeometry geo(s.grid);
  for (int c = GradeGeometry::kFirstGradeCol; c <= geo.lastGradeCol(); ++c)
    s.grid.setText(c, 0, num(c - GradeGeometry::kFirstGradeCol + 1));
}

void TitleGradeColumns(VeklaState& s) {
  CellGrid& g = s.grid;
  const GradeGeometry geo(g);
  g.setText(0, 0, "");
  g.setText(GradeGeometry::kOrderCol, 0, cp("Pořadí"));
  g.setText(GradeGeometry::kNameCol, 0, cp("Jméno"));
  NumberGradeColumns(s);
  g.setText(geo.averageCol(), 0, cp("Průměr"));
  g.setText(geo.deviationCol(), 0, cp("Sm. odch."));
  g.setText(geo.noteCol(), 0, cp("Poznámka"));
  g.setText(geo.examinedCol(), 0, cp("Zkoušen"));
}

void NumberLessonColumns(VeklaState& s) {
  s.grid.setText(1, 0, "Den");
  for (int c = 2; c < s.grid.colCount(); ++c) s.grid.setText(c, 0, num(c - 1));
}

void StartSemestersAfresh(VeklaState& s) {
  s.semesterItems.clear();
  const std::string label = SemesterLabel(s);
  s.semesterItems.push_back(label);
  s.currentSemester = 1;
  s.semesterItemIndex = 0;
  s.semesterText = label;
}

std::string SemesterLabel(VeklaState& s) {
  std::string label = SemesterLabelOf(Now().date());
  s.caption = label;
  return label;
}

std::string SemesterLabelOf(const QDate& d) {
  const int m = d.month();
  const int firstYear = m >= 8 ? d.year() : d.year() - 1;
  const char digit = (m >= 8 || m == 1) ? '1' : '2';
  std::string label;
  label += digit;
  label += ". pol. " + num(firstYear) + "/" + num(firstYear + 1);
  return label;
}

}  // namespace vekla
