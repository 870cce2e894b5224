#pragma once
// Drawing on paper in points (1/72 inch): the printed pages are laid out in
// points and drawn on any paged device (the PDF writer, a printer, the print
// preview) in its own pixels, with fonts at their real size on that device,
// so text is measured as precisely as it is drawn.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "pdb/color.h"

class QPainter;
class QPaintDevice;

namespace vekla {

// The family of every printed text: it has every Czech letter, and the PDF
// embeds it.
inline constexpr const char* kPrintFamily = "DejaVu Sans";

// A colour of the state on paper (system colours resolved).
QColor PaperColor(Color c);

class Ink {
 public:
  // Measures for `device`; draws through `painter` when one is given.
  explicit Ink(const QPaintDevice* device, QPainter* painter = nullptr);

  // A font of `points` size.
  QFont font(double points, bool bold = false) const;
  // The advance of a text in a font, in points.
  double width(const QFont& f, const QString& text) const;
  double ascent(const QFont& f) const;
  // A text cut to `points` with "…" when it is longer.
  QString elided(const QFont& f, const QString& text, double points) const;

  void fill(const QRectF& r, const QColor& c) const;
  void line(QPointF a, QPointF b, double widthPoints, const QColor& c) const;
  void frame(const QRectF& r, double widthPoints, const QColor& c) const;
  // A text on the baseline at `at`.
  void text(QPointF at, const QString& t, const QFont& f, const QColor& c) const;
  // A text in a box, vertically centred, placed by `align` (left, right or
  // centre), cut with "…" when it is wider than the box.
  void text(const QRectF& box, Qt::Alignment align, const QString& t, const QFont& f, const QColor& c) const;
  // A text wrapped into a box; returns the height it took.
  double wrapped(const QRectF& box, const QString& t, const QFont& f, const QColor& c) const;
  // The height a wrapped text takes in a box `width` wide.
  double wrappedHeight(double width, const QString& t, const QFont& f) const;
  // A filled circle and a polyline.
  void dot(QPointF centre, double radius, const QColor& c) const;
  void polyline(const std::vector<QPointF>& points, double widthPoints, const QColor& c) const;

  // The mark of a grade's weight for printers without colour: the weight's
  // number as a superscript digit ("²"), written right after the grade, so
  // that a grey print, and a text copied from the page, still tell the
  // weights apart.
  static QString WeightMark(int weight);

  QPainter* painter() const { return painter_; }
  double dotsPerPoint() const { return k_; }

 private:
  QPointF px(QPointF p) const { return {p.x() * k_, p.y() * k_}; }
  QRectF px(const QRectF& r) const { return {r.x() * k_, r.y() * k_, r.width() * k_, r.height() * k_}; }
  // A font's metrics on the device and the widths measured with it.
  struct Measures {
    double points;
    bool bold;
    QFontMetricsF metrics;
    QHash<QString, double> widths;
  };
  Measures& measures(const QFont& f) const;
  const QFontMetricsF& metrics(const QFont& f) const { return measures(f).metrics; }

  const QPaintDevice* device_;
  QPainter* painter_;
  double k_;  // device pixels per point
  // The fonts of a page are few: a list searched by size and weight.
  mutable std::vector<std::unique_ptr<Measures>> measures_;
};

}  // namespace vekla
