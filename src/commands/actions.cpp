#include "commands/actions.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <type_traits>

#include "commands/clipboard.h"
#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/firstrun.h"
#include "commands/folders.h"
#include "pdb/text.h"
#include "workspace/gradegeometry.h"
#include "workspace/kindops.h"

namespace vekla {

namespace {

// A command of the state, whatever it takes of the context and whether it
// says what it did.
template <auto F>
Outcome Cmd(ActionContext& c) {
  auto call = [&] {
    using Fn = decltype(F);
    if constexpr (std::is_invocable_v<Fn, VeklaState&, Prompter&>) return F(c.s, c.p);
    else if constexpr (std::is_invocable_v<Fn, VeklaState&, Histories&>) return F(c.s, c.h);
    else return F(c.s);
  };
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    return Outcome::Done;
  } else {
    return call();
  }
}

// What the window does by itself: its own windows, the printer, closing.
template <void (WindowHost::*Show)()>
Outcome OnWindow(ActionContext& c) {
  (c.host.*Show)();
  return Outcome::Done;
}

Outcome PreviewReport(ActionContext& c) {
  c.host.previewReport(ReportStudents(c.s, c.host.selectedCells()));
  return Outcome::Done;
}

// The report of the selected students as a PDF file, through the export
// command and the kind's report codec, which reads the students from the
// state while the export runs.
Outcome ExportSelectedReport(ActionContext& c) {
  struct Chosen {
    VeklaState& s;
    ~Chosen() { s.reportStudents.clear(); }
  } chosen{c.s};
  c.s.reportStudents = ReportStudents(c.s, c.host.selectedCells());
  return ConvertClick(c.s, c.p, Conversion::ExportReport);
}

Outcome ShowGuide(ActionContext& c) {
  const QString guide = FindShippedFile(c.applicationDir, QStringLiteral("manual/index.html"));
  if (!guide.isEmpty() && c.host.showGuide(guide)) return Outcome::Done;
  c.p.message(cp("Příručka nebyla nalezena. Patří do složky ") +
              NativePath(QDir::cleanPath(c.applicationDir + "/../share/doc/vekla/manual")) + ".");
  return Outcome::Refused;
}

Outcome ShowWelcome(ActionContext& c) {
  return WelcomeClick(c.s, c.p, c.h, FindShippedFile(c.applicationDir, QStringLiteral("examples/Znamky-7A.csv")));
}

// The text for every program, and beside it the grades' weights for a
// paste in Vekla. Nothing to copy without a cell.
bool CopySelection(ActionContext& c, const std::vector<CellPos>& cells) {
  if (cells.empty()) return false;
  c.host.setClipboard({CopyCells(c.s, cells), CopyWeights(c.s, cells)});
  return true;
}

Outcome Copy(ActionContext& c) { return CopySelection(c, c.host.selectedCells()) ? Outcome::Done : Outcome::Refused; }

Outcome Cut(ActionContext& c) {
  const std::vector<CellPos> cells = c.host.selectedCells();
  if (!CopySelection(c, cells)) return Outcome::Refused;
  c.step = CountedStep("vyjmutí", cells.size());
  return CutCells(c.s, c.p, cells);
}

Outcome Paste(ActionContext& c) {
  const ClipboardContent clip = c.host.clipboard();
  if (clip.text.empty()) return Outcome::Refused;
  std::size_t fields = 0;
  for (const auto& line : SplitClipboardText(clip.text)) fields += line.size();
  // The block starts at the top-left selected cell.
  CellPos at{c.s.selCol, c.s.selRow};
  const std::vector<CellPos> cells = c.host.selectedCells();
  if (!cells.empty()) {
    at = cells.front();
    for (const CellPos p : cells) at = {std::min(at.col, p.col), std::min(at.row, p.row)};
  }
  c.step = CountedStep("vložení", fields);
  // The click that chose where the block goes gives no weight.
  TakeBackWeightClick(c.s, c.h, at);
  return PasteCells(c.s, c.p, at, clip.text, clip.weights);
}

bool CanUndo(const VeklaState& s, const Histories& h) { return h.of(s.kind).canUndo(); }
bool CanRedo(const VeklaState& s, const Histories& h) { return h.of(s.kind).canRedo(); }
// A kind has printed pages and a report when its row of the table of kinds
// has their PDF codecs (the programs that link the printing library put
// them there), and the class overview when it has grades.
bool HasPages(const VeklaState& s, const Histories&) { return KindTable(s.kind).has(Conversion::ExportPdf); }
bool HasReport(const VeklaState& s, const Histories&) { return KindTable(s.kind).has(Conversion::ExportReport); }
bool HasGrades(const VeklaState& s, const Histories&) { return Ops(s.kind).gradeCell != nullptr; }

// One row as it is written below: texts in UTF-8.
struct Row {
  Ctl name;
  const char* menu = "";
  const char* caption = "";
  char letter = 0;
  std::array<const char*, 2> keys = {};
  std::optional<Ctl> twin = {};
  const char* status = "";
  const char* statusTip = "";
  bool separated = false;
  const char* icon = "";
  std::optional<Conversion> conversion = {};
  Track track = Track::Edit;
  const char* step = "";
  ActionCommand run = nullptr;
  ActionRule enabled = nullptr;
  ActionCaption shown = nullptr;
};

// clang-format off
constexpr Row kRows[] = {
    // The menus, in order.
    {.name = Ctl::MenuNovy, .menu = "Soubor", .caption = "Nový", .letter = 'N', .keys = {"Ctrl+N"},
     .track = Track::Start, .run = Cmd<NovyClick>},
    {.name = Ctl::MenuOtevri, .menu = "Soubor", .caption = "Import z 1. adresáře ", .letter = 'O',
     .keys = {"Ctrl+O"}, .status = "Otevírám databázi…", .track = Track::Start, .run = Cmd<OtevriClick1>},
    {.name = Ctl::Otevt1, .menu = "Soubor", .caption = "Import z adresáře BackUp", .letter = 'B', .keys = {"Ctrl+B"},
     .status = "Otevírám databázi…", .track = Track::Start, .run = Cmd<OtevriClick2>},
    {.name = Ctl::MenuImportCSV, .menu = "Soubor", .caption = "Import CSV ...", .letter = 'I', .keys = {"Ctrl+I"},
     .status = "Importuji CSV…", .conversion = Conversion::ImportCsv, .step = "import CSV"},
    {.name = Ctl::MenuHtml, .menu = "Soubor", .caption = "Vytvořit HTML ...", .letter = 'H', .keys = {"Ctrl+H"},
     .status = "Vytvářím stránku HTML…", .conversion = Conversion::ExportHtml, .step = "export"},
    {.name = Ctl::MenuExcel, .menu = "Soubor", .caption = "Vytvořit Excel ...", .letter = 'E',
     .keys = {"Ctrl+Shift+E"}, .status = "Vytvářím sešit Excel…", .conversion = Conversion::ExportXlsx,
     .step = "export"},
    {.name = Ctl::MenuUloz, .menu = "Soubor", .caption = "Uložit PDB", .letter = 'U', .keys = {"Ctrl+S"},
     .status = "Ukládám PDB…", .track = Track::Save, .run = Cmd<UlozClick>},
    {.name = Ctl::ExportCSV1, .menu = "Soubor", .caption = "Export CSV", .letter = 'C', .keys = {"Ctrl+E"},
     .status = "Exportuji CSV…", .conversion = Conversion::ExportCsv, .step = "export"},
    // Printing changes nothing in the tab: no step.
    {.name = Ctl::MenuTisk, .menu = "Soubor", .caption = "Tisk…", .letter = 'T', .keys = {"Ctrl+P"},
     .statusTip = "Vytiskne kartu na stránky A4", .separated = true, .track = Track::None,
     .run = OnWindow<&WindowHost::printPages>, .enabled = HasPages},
    {.name = Ctl::MenuNahledTisku, .menu = "Soubor", .caption = "Náhled tisku", .letter = 'd',
     .statusTip = "Ukáže stránky, jak se vytisknou", .track = Track::None, .run = OnWindow<&WindowHost::previewPages>,
     .enabled = HasPages},
    {.name = Ctl::MenuExportPdf, .menu = "Soubor", .caption = "Export PDF…", .letter = 'F',
     .statusTip = "Uloží stránky tisku do souboru PDF", .conversion = Conversion::ExportPdf, .track = Track::None},
    {.name = Ctl::MenuVypisRodice, .menu = "Soubor", .caption = "Výpis pro rodiče…", .letter = 'V',
     .statusTip = "Stránka pro každého vybraného studenta (bez výběru pro všechny)", .separated = true,
     .track = Track::None, .run = PreviewReport, .enabled = HasReport},
    {.name = Ctl::MenuVypisRodicePdf, .menu = "Soubor", .caption = "Výpis pro rodiče do PDF…", .letter = 'r',
     .statusTip = "Stránka pro každého vybraného studenta (bez výběru pro všechny)",
     .conversion = Conversion::ExportReport, .track = Track::None, .run = ExportSelectedReport},
    {.name = Ctl::MenuZpet, .menu = "Úpravy", .caption = "Zpět", .letter = 'Z', .keys = {"Ctrl+Z"},
     .track = Track::None, .run = Cmd<UndoClick>, .enabled = CanUndo, .shown = UndoCaption},
    {.name = Ctl::MenuZnovu, .menu = "Úpravy", .caption = "Znovu", .letter = 'n', .keys = {"Ctrl+Y", "Ctrl+Shift+Z"},
     .track = Track::None, .run = Cmd<RedoClick>, .enabled = CanRedo, .shown = RedoCaption},
    {.name = Ctl::MenuVyjmout, .menu = "Úpravy", .caption = "Vyjmout", .letter = 'y', .keys = {"Ctrl+X"}, .run = Cut},
    {.name = Ctl::MenuKopirovat, .menu = "Úpravy", .caption = "Kopírovat", .letter = 'K', .keys = {"Ctrl+C"},
     .track = Track::None, .run = Copy},
    {.name = Ctl::MenuVlozit, .menu = "Úpravy", .caption = "Vložit", .letter = 'V', .keys = {"Ctrl+V"}, .run = Paste},
    {.name = Ctl::HotSync1, .menu = "Utility", .caption = "HotSync ...", .letter = 'H', .keys = {"Ctrl+Shift+H"},
     .status = "Předávám soubor k synchronizaci…", .run = Cmd<HotSync>},
    {.name = Ctl::MenuTest, .menu = "Utility", .caption = "Test tabulky", .letter = 'T',
     .status = "Kontroluji tabulku…", .step = "test tabulky", .run = Cmd<MenuTestClick>},
    {.name = Ctl::MenuPrehledTridy, .menu = "Utility", .caption = "Přehled třídy", .letter = 'P',
     .statusTip = "Okno s grafy známek a průměrů třídy", .track = Track::None,
     .run = OnWindow<&WindowHost::showClassOverview>, .enabled = HasGrades},
    {.name = Ctl::MenuNastavZnamky, .menu = "Nastavení", .caption = "Známky", .letter = 'Z', .track = Track::None,
     .run = OnWindow<&WindowHost::showGradeOptions>},
    {.name = Ctl::MenuSlozky, .menu = "Nastavení", .caption = "Složky…", .letter = 'S', .track = Track::None,
     .run = Cmd<SlozkyClick>},
    {.name = Ctl::Konec1, .menu = "Konec", .caption = "Konec", .letter = 'K', .keys = {"Ctrl+Q"},
     .track = Track::None, .run = OnWindow<&WindowHost::closeWindow>},
    {.name = Ctl::MenuPrirucka, .menu = "Nápověda", .caption = "Příručka", .letter = 'P', .keys = {"F1"},
     .track = Track::None, .run = ShowGuide},
    {.name = Ctl::MenuUvod, .menu = "Nápověda", .caption = "Úvodní nabídka…", .letter = 'v', .track = Track::None,
     .run = ShowWelcome},
    {.name = Ctl::Oprogramu1, .menu = "Nápověda", .caption = "O programu", .letter = 'O', .keys = {"Ctrl+F1"},
     .track = Track::None, .run = OnWindow<&WindowHost::showAbout>},

    // The tool bar, left to right.
    {.name = Ctl::SpeedItemNovy, .caption = "Nový PDB", .twin = Ctl::MenuNovy, .icon = "new"},
    {.name = Ctl::SpeedItemOtevri1, .caption = "Import PDB z 1. adresáře", .twin = Ctl::MenuOtevri,
     .icon = "open-first-folder"},
    {.name = Ctl::SpeedItemOtevri2, .caption = "Import PDB z adresáře BackUp", .twin = Ctl::Otevt1,
     .icon = "open-backup"},
    {.name = Ctl::SpeedItemImport, .caption = "Import CSV", .twin = Ctl::MenuImportCSV, .icon = "import-csv"},
    {.name = Ctl::SpeedItemImport2, .caption = "Import CSV známky jako dvě hodnoty", .keys = {"Ctrl+Shift+I"},
     .status = "Importuji CSV…", .icon = "import-csv-two-values", .conversion = Conversion::ImportCsvTwoValues,
     .step = "import CSV"},
    {.name = Ctl::SpeedItemUlozPDB, .caption = "Uložit jako PDB", .twin = Ctl::MenuUloz, .icon = "save"},
    {.name = Ctl::SpeedItemUlozCSV, .caption = "Export do CSV", .twin = Ctl::ExportCSV1, .icon = "export-csv"},
    {.name = Ctl::SpeedItemHTML, .caption = "Vytvořit Html z PDB", .twin = Ctl::MenuHtml, .icon = "export-html"},
    {.name = Ctl::SpeedItemExcel, .caption = "Vytvořit tabulku Excel z PDB", .twin = Ctl::MenuExcel,
     .icon = "export-excel"},
    {.name = Ctl::SpeedItemPHP, .caption = "PHP do mySQL", .keys = {"Ctrl+Shift+M"}, .status = "Vytvářím skript SQL…",
     .icon = "export-sql", .conversion = Conversion::ExportSql, .step = "export"},
    {.name = Ctl::SpeedItemHodiny, .caption = "Hodiny", .keys = {"Ctrl+T"}, .icon = "time", .step = "čas",
     .run = Cmd<SpeedItemHodinyClick>},
    {.name = Ctl::SpeedItemDatum, .caption = "Datum", .keys = {"Ctrl+D"}, .icon = "date", .step = "datum",
     .run = Cmd<SpeedItemDatumClick>},
    {.name = Ctl::SpeedItemBarva, .caption = "Nastavit barvu", .keys = {"Ctrl+Shift+B"}, .icon = "colour",
     .step = "barva zvýraznění", .run = Cmd<SpeedButton1Click>},
    {.name = Ctl::SpeedItem8, .caption = "Nastavit velikost sloupců", .keys = {"Ctrl+Shift+W"}, .icon = "column-widths",
     .run = Cmd<SBnastavitsloupceClick>},
    {.name = Ctl::SpeedItem9, .caption = "Vymazat chyby", .keys = {"Ctrl+Shift+L"}, .icon = "clear-log",
     .run = Cmd<SBchybyClick>},
    {.name = Ctl::SpeedItemPridatRadek, .caption = "Vložit řádek", .keys = {"Alt+Insert"}, .icon = "insert-row",
     .step = "přidání řádku", .run = Cmd<SBInsertClick>},
    {.name = Ctl::SpeedItemOdstranitRadek, .caption = "Odstranit řádek", .keys = {"Alt+Delete"}, .icon = "delete-row",
     .step = "odstranění řádku", .run = Cmd<SBDeleteClick>},
    {.name = Ctl::SpeedItemPridatSloupec, .caption = "Přidat sloupec", .keys = {"Alt+Shift+Insert"},
     .icon = "insert-column", .step = "přidání sloupce", .run = Cmd<SpeedItemPridatSloupecClick>},
    {.name = Ctl::SpeedItemOdebratSloupec, .caption = "Odebrat sloupec", .keys = {"Alt+Shift+Delete"},
     .icon = "delete-column", .step = "odebrání sloupce", .run = Cmd<SpeedItemOdebratSloupecClick>},
    {.name = Ctl::SpeedItem3, .caption = "Přidat k HotSync ", .twin = Ctl::HotSync1, .icon = "hotsync"},
    {.name = Ctl::SpeedItem12, .caption = "Info", .twin = Ctl::Oprogramu1, .icon = "about"},
    {.name = Ctl::SpeedItem13, .caption = "Konec", .twin = Ctl::Konec1, .icon = "quit"},
};
// clang-format on

ActionDef FromRow(const Row& r) {
  ActionDef a{.name = r.name,
              .menu = cp(r.menu),
              .caption = cp(r.caption),
              .letter = r.letter,
              .keys = {},
              .twin = r.twin.value_or(r.name),
              .status = cp(r.status),
              .statusTip = cp(r.statusTip),
              .separated = r.separated,
              .icon = r.icon,
              .conversion = r.conversion,
              .track = r.track,
              .step = cp(r.step),
              .run = r.run,
              .enabled = r.enabled,
              .shown = r.shown};
  for (const char* k : r.keys)
    if (k) a.keys.emplace_back(k);
  return a;
}

const std::map<Ctl, std::size_t>& rowIndex() {
  static const std::map<Ctl, std::size_t> index = [] {
    std::map<Ctl, std::size_t> m;
    for (std::size_t i = 0; i < Actions().size(); ++i) m.emplace(Actions()[i].name, i);
    return m;
  }();
  return index;
}

Outcome RunRow(const ActionDef& row, ActionContext& c) {
  if (row.run) return row.run(c);
  if (row.conversion) return ConvertClick(c.s, c.p, *row.conversion);
  return Outcome::Refused;
}

}  // namespace

const std::vector<ActionDef>& Actions() {
  static const std::vector<ActionDef> actions = [] {
    std::vector<ActionDef> v;
    for (const Row& r : kRows) v.push_back(FromRow(r));
    return v;
  }();
  return actions;
}

const ActionDef* FindAction(Ctl name) {
  const auto it = rowIndex().find(name);
  return it == rowIndex().end() ? nullptr : &Actions()[it->second];
}

const ActionDef& CommandRowOf(Ctl name) {
  const ActionDef* row = FindAction(name);
  if (!row) throw std::logic_error(std::string("no action for control ") + CtlName(name));
  const ActionDef* twin = row->twin == name ? row : FindAction(row->twin);
  return twin ? *twin : *row;
}

std::vector<std::string> KeysOf(Ctl name) {
  const ActionDef* row = FindAction(name);
  return row ? row->keys : std::vector<std::string>{};
}

std::string ToolButtonKey(Ctl name) {
  if (!FindAction(name)) return {};
  const std::vector<std::string>& keys = CommandRowOf(name).keys;
  return keys.empty() ? std::string() : keys.front();
}

std::string ToolTipOf(Ctl name) {
  const ActionDef* row = FindAction(name);
  if (!row) return {};
  const std::string key = ToolButtonKey(name);
  if (key.empty()) return row->caption;
  std::string text = row->caption;
  // Some hints end in a space ("Přidat k HotSync "): one space before the key.
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text + " (" + key + ")";
}

std::string StatusTextOf(Ctl name) { return FindAction(name) ? CommandRowOf(name).status : std::string(); }

std::string CountedStep(const char* verb, std::size_t n) {
  return n == 1 ? cp(verb) + cp(" buňky") : cp(verb) + " " + std::to_string(n) + cp(" buněk");
}

std::string WithMnemonic(const std::string& caption, char letter) {
  if (letter == 0) return caption;
  // Case is ignored for ASCII letters only, as code page 1250 holds them.
  auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
  std::string out;
  bool marked = false;
  for (const char ch : caption) {
    if (!marked && lower(ch) == lower(letter)) {
      out += '&';
      marked = true;
    }
    if (ch == '&') out += '&';
    out += ch;
  }
  return out;
}

std::string MenuTitle(const std::string& menu) {
  if (menu.empty()) return menu;
  return WithMnemonic(menu, menu == cp("Nápověda") ? 'v' : menu.front());
}

std::vector<int> ReportStudents(const VeklaState& s, const std::vector<CellPos>& selected) {
  if (selected.size() < 2) return {};
  const GradeGeometry geo(s.grid);
  std::set<int> rows;
  for (const CellPos& c : selected)
    if (geo.isStudentRow(c.row)) rows.insert(c.row);
  return {rows.begin(), rows.end()};
}

std::optional<Conversion> ConversionOf(Ctl name) {
  if (!FindAction(name)) return std::nullopt;
  return CommandRowOf(name).conversion;
}

bool IsImplemented(DbKind kind, Ctl name) {
  if (const auto conversion = ConversionOf(name)) return KindTable(kind).has(*conversion);
  return true;
}

ActionView ViewOf(const VeklaState& s, const Histories& h, Ctl name) {
  const Control& control = s.control(name);
  const ActionDef* row = FindAction(name);
  ActionView view{control.enabled, control.visible, control.caption};
  if (!row) return view;
  view.enabled = row->enabled ? row->enabled(s, h) : control.enabled && IsImplemented(s.kind, name);
  if (row->shown) view.caption = row->shown(s, h);
  else if (view.caption.empty()) view.caption = row->caption;
  return view;
}

StepResult RunAction(ActionContext& c, Ctl name) {
  const ActionView view = ViewOf(c.s, c.h, name);
  if (!FindAction(name) || !view.enabled || !view.visible) return {Outcome::Refused, false};
  const ActionDef& row = CommandRowOf(name);
  c.step = row.step;
  // The step's name is read when the command has run: it may count what
  // it changed.
  return RunStep(
      c.s, c.p, c.h, [&] { return RunRow(row, c); }, c.step, row.track);
}

}  // namespace vekla
