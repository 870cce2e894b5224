#include "print/ink.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

namespace vekla {

QColor PaperColor(Color c) {
  const Color r = resolveColor(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

Ink::Ink(const QPaintDevice* device, QPainter* painter)
    : device_(device), painter_(painter), k_(device->logicalDpiY() / 72.0) {}

QFont Ink::font(double points, bool bold) const {
  QFont f(QString::fromLatin1(kPrintFamily));
  f.setPointSizeF(points);
  f.setBold(bold);
  // No ligatures: a reader searching the PDF for "Žofie" finds it (with the
  // ligature the file holds "Žo\uFB01e"). Latin letters need no shaping.
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

Ink::Measures& Ink::measures(const QFont& f) const {
  // Every font of the pages is made by font(): its size and weight tell it.
  const double points = f.pointSizeF();
  const bool bold = f.bold();
  for (const std::unique_ptr<Measures>& m : measures_)
    if (m->points == points && m->bold == bold) return *m;
  // The font's size on the device: its metrics are in the device's pixels.
  measures_.push_back(std::make_unique<Measures>(Measures{points, bold, QFontMetricsF(f, device_), {}}));
  return *measures_.back();
}

double Ink::width(const QFont& f, const QString& text) const {
  Measures& m = measures(f);
  const auto it = m.widths.constFind(text);
  if (it != m.widths.constEnd()) return *it;
  const double w = m.metrics.horizontalAdvance(text) / k_;
  m.widths.insert(text, w);
  return w;
}
double Ink::ascent(const QFont& f) const { return metrics(f).ascent() / k_; }

QString Ink::elided(const QFont& f, const QString& text, double points) const {
  return metrics(f).elidedText(text, Qt::ElideRight, points * k_);
}

void Ink::fill(const QRectF& r, const QColor& c) const {
  if (painter_) painter_->fillRect(px(r), c);
}

void Ink::line(QPointF a, QPointF b, double widthPoints, const QColor& c) const {
  if (!painter_) return;
  painter_->setPen(QPen(c, widthPoints * k_));
  painter_->drawLine(px(a), px(b));
}

void Ink::frame(const QRectF& r, double widthPoints, const QColor& c) const {
  if (!painter_) return;
  painter_->setPen(QPen(c, widthPoints * k_));
  painter_->setBrush(Qt::NoBrush);
  painter_->drawRect(px(r));
}

void Ink::text(QPointF at, const QString& t, const QFont& f, const QColor& c) const {
  if (!painter_ || t.isEmpty()) return;
  if (painter_->font() != f) painter_->setFont(f);
  painter_->setPen(c);
  painter_->drawText(px(at), t);
}

void Ink::text(const QRectF& box, Qt::Alignment align, const QString& t, const QFont& f, const QColor& c) const {
  if (!painter_ || t.isEmpty()) return;
  const QFontMetricsF& m = metrics(f);
  QString shown = t;
  double w = width(f, t);
  // A text measured for its column fits it, whatever the sums of widths round to.
  if (w > box.width() + 0.01) {
    shown = m.elidedText(t, Qt::ElideRight, box.width() * k_);
    w = m.horizontalAdvance(shown) / k_;
  }
  double x = box.left();
  if (align & Qt::AlignRight) x = box.right() - w;
  else if (align & Qt::AlignHCenter) x = box.center().x() - w / 2;
  const double baseline = box.center().y() + (m.ascent() - m.descent()) / (2 * k_);
  text(QPointF(x, baseline), shown, f, c);
}

double Ink::wrappedHeight(double width, const QString& t, const QFont& f) const {
  if (t.isEmpty()) return 0;
  const QRectF r =
      metrics(f).boundingRect(QRectF(0, 0, width * k_, 1e7), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, t);
  return r.height() / k_;
}

double Ink::wrapped(const QRectF& box, const QString& t, const QFont& f, const QColor& c) const {
  const double h = wrappedHeight(box.width(), t, f);
  if (painter_ && !t.isEmpty()) {
    painter_->setFont(f);
    painter_->setPen(c);
    painter_->drawText(px(box), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, t);
  }
  return h;
}

void Ink::dot(QPointF centre, double radius, const QColor& c) const {
  if (!painter_) return;
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(c);
  painter_->drawEllipse(px(centre), radius * k_, radius * k_);
  painter_->setBrush(Qt::NoBrush);
}

void Ink::polyline(const std::vector<QPointF>& points, double widthPoints, const QColor& c) const {
  if (!painter_ || points.size() < 2) return;
  QPolygonF poly;
  for (const QPointF& p : points) poly << px(p);
  painter_->setPen(QPen(c, widthPoints * k_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter_->drawPolyline(poly);
}

QString Ink::WeightMark(int weight) {
  static const char16_t digits[] = {u'\u00B9', u'\u00B2', u'\u00B3', u'\u2074'};
  return weight >= 1 && weight <= 4 ? QString(QChar(digits[weight - 1])) : QString();
}

}  // namespace vekla
