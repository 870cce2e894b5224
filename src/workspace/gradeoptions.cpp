#include "workspace/gradeoptions.h"

namespace vekla {

GradeDisplayOptions ReadGradeDisplayOptions(const IniFile& s) {
  GradeDisplayOptions o;
  o.zhustit = s.getBool("Znamky", "Zhustit", false);
  o.barevne = s.getBool("Znamky", "Barevne", true);
  o.znamkyBarevne = s.getBool("Znamky", "ZnamkyBarevne", true);
  o.zvlast = s.getBool("Znamky", "Zvlast", false);
  return o;
}

void WriteGradeDisplayOptions(IniFile& s, const GradeDisplayOptions& o) {
  s.setBool("Znamky", "Zhustit", o.zhustit);
  s.setBool("Znamky", "Barevne", o.barevne);
  s.setBool("Znamky", "ZnamkyBarevne", o.znamkyBarevne);
  s.setBool("Znamky", "Zvlast", o.zvlast);
}

}  // namespace vekla
