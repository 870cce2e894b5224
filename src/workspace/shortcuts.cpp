#include "workspace/shortcuts.h"

#include <map>

#include "pdb/text.h"

namespace vekla {

namespace {

const std::map<Ctl, std::vector<std::string>>& keyTable() {
  static const std::map<Ctl, std::vector<std::string>> keys = {
      // Menu items.
      {Ctl::MenuNovy, {"Ctrl+N"}},
      {Ctl::MenuOtevri, {"Ctrl+O"}},
      {Ctl::Otevt1, {"Ctrl+B"}},
      {Ctl::MenuImportCSV, {"Ctrl+I"}},
      {Ctl::MenuHtml, {"Ctrl+H"}},
      {Ctl::MenuExcel, {"Ctrl+Shift+E"}},
      {Ctl::MenuUloz, {"Ctrl+S"}},
      {Ctl::ExportCSV1, {"Ctrl+E"}},
      {Ctl::HotSync1, {"Ctrl+Shift+H"}},
      {Ctl::Konec1, {"Ctrl+Q"}},
      {Ctl::MenuZpet, {"Ctrl+Z"}},
      {Ctl::MenuZnovu, {"Ctrl+Y", "Ctrl+Shift+Z"}},
      {Ctl::MenuVyjmout, {"Ctrl+X"}},
      {Ctl::MenuKopirovat, {"Ctrl+C"}},
      {Ctl::MenuVlozit, {"Ctrl+V"}},
      {Ctl::MenuPrirucka, {"F1"}},
      {Ctl::Oprogramu1, {"Ctrl+F1"}},
      // Tool buttons without a menu item of their own.
      {Ctl::SpeedItemImport2, {"Ctrl+Shift+I"}},
      {Ctl::SpeedItemPHP, {"Ctrl+Shift+M"}},
      {Ctl::SpeedItemHodiny, {"Ctrl+T"}},
      {Ctl::SpeedItemDatum, {"Ctrl+D"}},
      {Ctl::SpeedItemBarva, {"Ctrl+Shift+B"}},
      {Ctl::SpeedItem8, {"Ctrl+Shift+W"}},
      {Ctl::SpeedItem9, {"Ctrl+Shift+L"}},
      {Ctl::SpeedItemPridatRadek, {"Alt+Insert"}},
      {Ctl::SpeedItemOdstranitRadek, {"Alt+Delete"}},
      {Ctl::SpeedItemPridatSloupec, {"Alt+Shift+Insert"}},
      {Ctl::SpeedItemOdebratSloupec, {"Alt+Shift+Delete"}},
  };
  return keys;
}

}  // namespace

std::vector<std::string> KeysOf(Ctl c) {
  const auto it = keyTable().find(c);
  return it == keyTable().end() ? std::vector<std::string>{} : it->second;
}

Ctl MenuTwinOf(Ctl button) {
  switch (button) {
    case Ctl::SpeedItemNovy: return Ctl::MenuNovy;
    case Ctl::SpeedItemOtevri1: return Ctl::MenuOtevri;
    case Ctl::SpeedItemOtevri2: return Ctl::Otevt1;
    case Ctl::SpeedItemImport: return Ctl::MenuImportCSV;
    case Ctl::SpeedItemUlozPDB: return Ctl::MenuUloz;
    case Ctl::SpeedItemUlozCSV: return Ctl::ExportCSV1;
    case Ctl::SpeedItemHTML: return Ctl::MenuHtml;
    case Ctl::SpeedItemExcel: return Ctl::MenuExcel;
    case Ctl::SpeedItem3: return Ctl::HotSync1;
    case Ctl::SpeedItem12: return Ctl::Oprogramu1;
    case Ctl::SpeedItem13: return Ctl::Konec1;
    default: return button;
  }
}

std::string ToolButtonKey(Ctl button) {
  const std::vector<std::string> keys = KeysOf(MenuTwinOf(button));
  return keys.empty() ? std::string() : keys.front();
}

std::string ToolTipWithKey(const std::string& hint, const std::string& key) {
  if (key.empty()) return hint;
  std::string text = hint;
  // Some hints end in a space ("Přidat k HotSync "): one space before the key.
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text + " (" + key + ")";
}

std::string StatusTextOf(Ctl c) {
  switch (MenuTwinOf(c)) {
    case Ctl::MenuOtevri:
    case Ctl::Otevt1: return cp("Otevírám databázi…");
    case Ctl::MenuImportCSV:
    case Ctl::SpeedItemImport2: return cp("Importuji CSV…");
    case Ctl::MenuHtml: return cp("Vytvářím stránku HTML…");
    case Ctl::MenuExcel: return cp("Vytvářím sešit Excel…");
    case Ctl::MenuUloz: return cp("Ukládám PDB…");
    case Ctl::ExportCSV1: return cp("Exportuji CSV…");
    case Ctl::SpeedItemPHP: return cp("Vytvářím skript SQL…");
    case Ctl::HotSync1: return cp("Předávám soubor k synchronizaci…");
    case Ctl::MenuTest: return cp("Kontroluji tabulku…");
    default: return {};
  }
}

}  // namespace vekla
