// The keys of the menu items and tool buttons, and the status texts.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "pdb/text.h"
#include "workspace/setup.h"
#include "workspace/shortcuts.h"

using namespace vekla;

// Every tool button names a key, which reaches it (its own or its menu
// item's); no key is bound to two actions, where it would do nothing.
TEST(Shortcuts, EveryToolButtonHasAKeyAndNoKeyIsBoundTwice) {
  std::map<std::string, std::string> owner;
  auto bind = [&](Ctl c) {
    for (const std::string& k : KeysOf(c)) {
      const auto [it, fresh] = owner.emplace(k, CtlName(c));
      EXPECT_TRUE(fresh) << k << " is bound to " << it->second << " and " << CtlName(c);
    }
  };
  for (const MenuItemDef& m : MenuItems()) bind(m.name);
  for (const ToolButtonDef& b : ToolButtons()) {
    bind(b.name);
    const std::string key = ToolButtonKey(b.name);
    ASSERT_FALSE(key.empty()) << CtlName(b.name);
    // A button with a menu item leaves its key to the menu item.
    const Ctl twin = MenuTwinOf(b.name);
    EXPECT_EQ(KeysOf(b.name).empty(), twin != b.name) << CtlName(b.name);
    EXPECT_EQ(KeysOf(twin).front(), key) << CtlName(b.name);
  }
}

TEST(Shortcuts, ToolTipsAndStatusTexts) {
  const struct {
    Ctl button;
    const char* tooltip;
    const char* status;  // while the command runs; "" for quick ones
  } cases[] = {
      {Ctl::SpeedItemNovy, "Nový PDB (Ctrl+N)", ""},
      {Ctl::SpeedItemOtevri2, "Import PDB z adresáře BackUp (Ctrl+B)", "Otevírám databázi…"},
      {Ctl::SpeedItemImport2, "Import CSV známky jako dvě hodnoty (Ctrl+Shift+I)", "Importuji CSV…"},
      {Ctl::SpeedItemExcel, "Vytvořit tabulku Excel z PDB (Ctrl+Shift+E)", "Vytvářím sešit Excel…"},
      {Ctl::SpeedItem3, "Přidat k HotSync (Ctrl+Shift+H)", "Předávám soubor k synchronizaci…"},
      {Ctl::SpeedItemOdebratSloupec, "Odebrat sloupec (Alt+Shift+Delete)", ""},
  };
  for (const auto& c : cases) {
    std::string hint;
    for (const ToolButtonDef& b : ToolButtons())
      if (b.name == c.button) hint = b.hint;
    EXPECT_EQ(toUtf8(ToolTipWithKey(hint, ToolButtonKey(c.button))), c.tooltip);
    EXPECT_EQ(toUtf8(StatusTextOf(c.button)), c.status) << CtlName(c.button);
    // The menu item says the same as its button.
    EXPECT_EQ(StatusTextOf(MenuTwinOf(c.button)), StatusTextOf(c.button));
  }
  EXPECT_EQ(ToolTipWithKey("Info", ""), "Info");
  EXPECT_EQ(KeysOf(Ctl::MenuPrirucka), std::vector<std::string>{"F1"});
}
