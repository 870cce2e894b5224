#pragma once
// The pictures of the tool buttons and of the weight buttons, drawn in code
// so that they look the same on every platform and need no theme.
#include <QIcon>
#include <QPixmap>
#include <string>

#include "pdb/color.h"
#include "workspace/controls.h"

namespace vekla {

// The icon of a tool button by its component name (SpeedItemNovy, ...).
QIcon ToolIcon(Ctl name);

// The glyph of a weight button: 48 x 23 pixels, a rectangle from (2, 2) to
// (43, 18) with a black outline filled with the colour; pure white is drawn
// as #FEFFFF so that it differs from the button face.
QPixmap WeightGlyph(Color color);

}  // namespace vekla
