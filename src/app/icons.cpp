#include "app/icons.h"

#include <QPainter>

#include "app/qtcolor.h"
#include "commands/actions.h"

// The resources live in a static library: they are registered by hand.
static void InitIconResources() { Q_INIT_RESOURCE(resources); }

namespace vekla {

QIcon ToolIcon(Ctl name) {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  const ActionDef* row = FindAction(name);
  if (!row || row->icon.empty()) return {};
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromStdString(row->icon)));
}

QPixmap WeightGlyph(Color color) {
  QImage img(48, 23, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  const Color fill = resolveColor(color) == kWhite ? rgbHex(0xFEFFFF) : color;
  QPainter p(&img);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(qColor(fill));
  // The rectangle from (2, 2) to (43, 18), outline included.
  p.drawRect(2, 2, 43 - 2, 18 - 2);
  p.end();
  return QPixmap::fromImage(img);
}

}  // namespace vekla
