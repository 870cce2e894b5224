#pragma once
// The pictures of the tool buttons, SVG files of the program's resources
// (src/app/icons/, named by the table of actions), so that they look the
// same on every platform, need no theme and stay sharp at any scaling;
// and the glyphs of the weight buttons, drawn in the weight's colour,
// which the teacher chooses while the program runs.
#include <QIcon>
#include <QPixmap>
#include <string>

#include "pdb/color.h"
#include "workspace/controls.h"

namespace vekla {

// The icon of a tool button by its component name (SpeedItemNovy, ...);
// a null icon for a control without a picture. Drawing it needs the
// toolkit's SVG icon engine (Debian: libqt6svg6).
QIcon ToolIcon(Ctl name);

// The glyph of a weight button: 48 x 23 pixels, a rectangle from (2, 2) to
// (43, 18) with a black outline filled with the colour; pure white is drawn
// as #FEFFFF so that it differs from the button face.
QPixmap WeightGlyph(Color color);

}  // namespace vekla
