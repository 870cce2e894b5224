#pragma once
// The menu items, tool buttons and panels whose state the commands set, by
// their component names. The names are listed once here: the state, the
// window and the tests use `Ctl`, so a misspelt name does not compile.
#include <cstddef>
#include <string>

namespace vekla {

// clang-format off
#define VEKLA_CONTROLS(X)                                                                              \
  /* menu items */                                                                                     \
  X(MenuNovy) X(MenuOtevri) X(Otevt1) X(MenuImportCSV) X(MenuHtml) X(MenuExcel) X(MenuUloz)            \
  X(ExportCSV1) X(Oprogramu1) X(HotSync1) X(MenuTest) X(MenuNastavZnamky) X(Konec1)                     \
  X(MenuZpet) X(MenuZnovu) X(MenuVyjmout) X(MenuKopirovat) X(MenuVlozit)                                \
  X(MenuSlozky) X(MenuPrirucka) X(MenuUvod)                                                            \
  X(MenuTisk) X(MenuNahledTisku) X(MenuExportPdf) X(MenuVypisRodice) X(MenuVypisRodicePdf)              \
  X(MenuPrehledTridy)                                                                                  \
  /* tool buttons */                                                                                   \
  X(SpeedItemNovy) X(SpeedItemOtevri1) X(SpeedItemOtevri2) X(SpeedItemImport) X(SpeedItemImport2)      \
  X(SpeedItemUlozPDB) X(SpeedItemUlozCSV) X(SpeedItemHTML) X(SpeedItemExcel) X(SpeedItemPHP)           \
  X(SpeedItemHodiny) X(SpeedItemDatum) X(SpeedItemBarva) X(SpeedItem8) X(SpeedItem9)                    \
  X(SpeedItemPridatRadek) X(SpeedItemOdstranitRadek) X(SpeedItemPridatSloupec)                         \
  X(SpeedItemOdebratSloupec) X(SpeedItem3) X(SpeedItem12) X(SpeedItem13)                               \
  /* panels */                                                                                         \
  X(GroupBoxRozvrh) X(GroupBoxZnamky)
// clang-format on

enum class Ctl {
#define VEKLA_CONTROL_ENUM(n) n,
  VEKLA_CONTROLS(VEKLA_CONTROL_ENUM)
#undef VEKLA_CONTROL_ENUM
};

inline constexpr std::size_t kControlCount = 0
#define VEKLA_CONTROL_COUNT(n) +1
    VEKLA_CONTROLS(VEKLA_CONTROL_COUNT)
#undef VEKLA_CONTROL_COUNT
    ;

// The component name ("MenuNovy", ...).
inline const char* CtlName(Ctl c) {
  static const char* const names[] = {
#define VEKLA_CONTROL_NAME(n) #n,
      VEKLA_CONTROLS(VEKLA_CONTROL_NAME)
#undef VEKLA_CONTROL_NAME
  };
  return names[static_cast<std::size_t>(c)];
}

}  // namespace vekla
