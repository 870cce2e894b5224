#pragma once
// Colours of the state (0x00BBGGRR, system colours resolved) <-> QColor.
#include <QColor>

#include "pdb/color.h"

namespace vekla {

inline QColor qColor(Color c) {
  const Color r = resolveColor(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

inline Color fromQColor(const QColor& c) { return makeColor(c.red(), c.green(), c.blue()); }

}  // namespace vekla
