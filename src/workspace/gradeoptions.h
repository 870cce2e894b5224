#pragma once
// The four grade display options of the HTML and Excel exports, kept in
// section "Znamky" of vekla.ini and set in "Nastavení" -> "Známky". The
// exports take them as a parameter, so this header brings in no dialog.
#include "workspace/inifile.h"

namespace vekla {

struct GradeDisplayOptions {
  bool zhustit = false;       // "zhustit známky": grades packed to the left, no date and statistics rows
  bool barevne = true;        // "barevně odlišit": background and text colours of the grid
  bool znamkyBarevne = true;  // "známky barevně": grades in their weight colours
  bool zvlast = false;        // "studenty po jednom": one table per student
  friend bool operator==(const GradeDisplayOptions&, const GradeDisplayOptions&) = default;
};

GradeDisplayOptions ReadGradeDisplayOptions(const IniFile& settings);
void WriteGradeDisplayOptions(IniFile& settings, const GradeDisplayOptions& o);

}  // namespace vekla
