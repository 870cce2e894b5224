#include "app/widgets.h"

#include <QPainter>

#include "app/qtcolor.h"

namespace vekla {

ColorCircle::ColorCircle(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
}

void ColorCircle::setColor(Color c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void ColorCircle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(qColor(color_));
  const qreal d = std::min(width(), height()) - 3;
  p.drawEllipse(QRectF((width() - d) / 2, (height() - d) / 2, d, d));
}

void SemesterBox::showPopup() {
  emit droppingDown();
  QComboBox::showPopup();
}

}  // namespace vekla
