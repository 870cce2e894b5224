#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

#include "app/qtcolor.h"

namespace vekla {

namespace {

constexpr int kSize = 24;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kFolder(232, 190, 80);
const QColor kGreen(30, 140, 60);
const QColor kRed(200, 40, 40);
const QColor kBlue(40, 90, 190);

void page(QPainter& p, QRectF r = QRectF(5.5, 2.5, 13, 18)) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 4, r.top());
  path.lineTo(r.right(), r.top() + 4);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
  p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
}

void folder(QPainter& p) {
  p.setPen(QPen(kInk.darker(120), 1));
  p.setBrush(kFolder);
  QPainterPath path;
  path.moveTo(2.5, 6.5);
  path.lineTo(9.5, 6.5);
  path.lineTo(11.5, 8.5);
  path.lineTo(21.5, 8.5);
  path.lineTo(21.5, 20.5);
  path.lineTo(2.5, 20.5);
  path.closeSubpath();
  p.drawPath(path);
}

void letter(QPainter& p, const QString& text, const QRectF& r, const QColor& c, int px = 9, bool bold = true) {
  QFont f = p.font();
  f.setPixelSize(px);
  f.setBold(bold);
  p.setFont(f);
  p.setPen(c);
  p.drawText(r, Qt::AlignCenter, text);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  const QPointF u = d / len, n(-u.y(), u.x());
  p.setBrush(c);
  p.setPen(Qt::NoPen);
  QPolygonF head;
  head << to + u * 2 << to - u * 3 + n * 3.5 << to - u * 3 - n * 3.5;
  p.drawPolygon(head);
}

void sheet(QPainter& p, const QColor& lines) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 4.5, 17, 15));
  p.setPen(QPen(lines, 1));
  for (int y = 9; y <= 17; y += 4) p.drawLine(QPointF(4, y + 0.5), QPointF(20, y + 0.5));
  for (int x = 9; x <= 15; x += 6) p.drawLine(QPointF(x + 0.5, 5), QPointF(x + 0.5, 19));
}

// A small grid with one row or column marked, and a plus or minus sign.
void gridEdit(QPainter& p, bool row, bool add) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(QRectF(2.5, 2.5, 15, 15));
  p.setPen(QPen(QColor(150, 150, 150), 1));
  for (int i = 7; i <= 12; i += 5) {
    p.drawLine(QPointF(3, i + 0.5), QPointF(17, i + 0.5));
    p.drawLine(QPointF(i + 0.5, 3), QPointF(i + 0.5, 17));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(add ? kGreen : kRed).lighter(170));
  if (row) p.drawRect(QRectF(3, 8, 14, 4));
  else p.drawRect(QRectF(8, 3, 4, 14));
  const QColor sign = add ? kGreen : kRed;
  p.setBrush(sign);
  p.drawEllipse(QRectF(13, 13, 10, 10));
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(15.5, 18), QPointF(20.5, 18));
  if (add) p.drawLine(QPointF(18, 15.5), QPointF(18, 20.5));
}

using Painter = std::function<void(QPainter&)>;

const std::map<Ctl, Painter>& painters() {
  static const std::map<Ctl, Painter> m = {
      {Ctl::SpeedItemNovy,
       [](QPainter& p) {
         page(p);
         p.setPen(QPen(QColor(230, 170, 0), 2));
         p.drawLine(QPointF(18, 15), QPointF(18, 23));
         p.drawLine(QPointF(14, 19), QPointF(22, 19));
       }},
      {Ctl::SpeedItemOtevri1,
       [](QPainter& p) {
         folder(p);
         letter(p, "1", QRectF(2, 9, 20, 12), kInk, 10);
       }},
      {Ctl::SpeedItemOtevri2,
       [](QPainter& p) {
         folder(p);
         letter(p, "B", QRectF(2, 9, 20, 12), kBlue, 10);
       }},
      {Ctl::SpeedItemImport,
       [](QPainter& p) {
         page(p, QRectF(8.5, 2.5, 13, 18));
         letter(p, "csv", QRectF(8, 10, 14, 10), kGreen, 6);
         arrow(p, QPointF(1, 8), QPointF(9, 8), kGreen);
       }},
      {Ctl::SpeedItemImport2,
       [](QPainter& p) {
         page(p, QRectF(8.5, 2.5, 13, 18));
         letter(p, "2", QRectF(8, 8, 14, 12), kGreen, 10);
         arrow(p, QPointF(1, 8), QPointF(9, 8), kGreen);
       }},
      {Ctl::SpeedItemUlozPDB,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(kBlue);
         p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
         p.setBrush(kPaper);
         p.drawRect(QRectF(6.5, 3.5, 11, 7));
         p.setBrush(QColor(200, 200, 200));
         p.drawRect(QRectF(7.5, 13.5, 9, 7));
         p.setBrush(kInk);
         p.drawRect(QRectF(13, 5, 2, 4));
       }},
      {Ctl::SpeedItemUlozCSV,
       [](QPainter& p) {
         page(p, QRectF(2.5, 2.5, 13, 18));
         letter(p, "csv", QRectF(2, 10, 14, 10), kGreen, 6);
         arrow(p, QPointF(14, 8), QPointF(22, 8), kRed);
       }},
      {Ctl::SpeedItemHTML,
       [](QPainter& p) {
         p.setPen(QPen(kBlue, 1));
         p.setBrush(QColor(200, 225, 255));
         p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(7.5, 2.5, 9, 19));
         p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
         p.drawLine(QPointF(4, 7.5), QPointF(20, 7.5));
         p.drawLine(QPointF(4, 16.5), QPointF(20, 16.5));
       }},
      {Ctl::SpeedItemExcel,
       [](QPainter& p) {
         sheet(p, QColor(120, 180, 130));
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawRect(QRectF(1, 9, 11, 11));
         letter(p, "X", QRectF(1, 9, 11, 11), Qt::white, 9);
       }},
      {Ctl::SpeedItemPHP,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(120, 130, 200));
         p.drawRect(QRectF(4.5, 6, 15, 12));
         p.drawEllipse(QRectF(4.5, 14, 15, 7));
         p.setPen(Qt::NoPen);
         p.drawRect(QRectF(5, 6, 14, 12));
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(170, 180, 240));
         p.drawEllipse(QRectF(4.5, 3, 15, 7));
         letter(p, "sql", QRectF(4, 10, 16, 10), Qt::white, 7);
       }},
      {Ctl::SpeedItemHodiny,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1.5));
         p.setBrush(kPaper);
         p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
         p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(12, 12), QPointF(12, 6));
         p.drawLine(QPointF(12, 12), QPointF(16, 14));
       }},
      {Ctl::SpeedItemDatum,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(kPaper);
         p.drawRect(QRectF(3.5, 4.5, 17, 16));
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         p.drawRect(QRectF(4, 5, 16, 4));
         letter(p, "31", QRectF(3, 9, 18, 11), kInk, 9);
       }},
      {Ctl::SpeedItemBarva,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         const QColor colors[4] = {QColor(230, 40, 40), QColor(40, 170, 60), QColor(40, 90, 220), QColor(250, 210, 40)};
         const QPointF at[4] = {{3, 3}, {12, 3}, {3, 12}, {12, 12}};
         for (int i = 0; i < 4; ++i) {
           p.setBrush(colors[i]);
           p.drawEllipse(QRectF(at[i], QSizeF(9, 9)));
         }
       }},
      {Ctl::SpeedItem8,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.drawLine(QPointF(4.5, 3), QPointF(4.5, 21));
         p.drawLine(QPointF(19.5, 3), QPointF(19.5, 21));
         arrow(p, QPointF(12, 12), QPointF(6, 12), kBlue);
         arrow(p, QPointF(12, 12), QPointF(18, 12), kBlue);
       }},
      {Ctl::SpeedItem9,
       [](QPainter& p) {
         page(p);
         p.setPen(QPen(kRed, 1));
         for (int y = 8; y <= 16; y += 3) p.drawLine(QPointF(7, y + 0.5), QPointF(16, y + 0.5));
         p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(13, 13), QPointF(21, 21));
         p.drawLine(QPointF(21, 13), QPointF(13, 21));
       }},
      {Ctl::SpeedItemPridatRadek, [](QPainter& p) { gridEdit(p, true, true); }},
      {Ctl::SpeedItemOdstranitRadek, [](QPainter& p) { gridEdit(p, true, false); }},
      {Ctl::SpeedItemPridatSloupec, [](QPainter& p) { gridEdit(p, false, true); }},
      {Ctl::SpeedItemOdebratSloupec, [](QPainter& p) { gridEdit(p, false, false); }},
      {Ctl::SpeedItem3,
       [](QPainter& p) {
         p.setBrush(Qt::NoBrush);
         p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap));
         p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 150 * 16);
         p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
         p.drawArc(QRectF(4, 4, 16, 16), 210 * 16, 150 * 16);
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawPolygon(QPolygonF({QPointF(1, 10), QPointF(8, 10), QPointF(4.5, 15)}));
         p.setBrush(kBlue);
         p.drawPolygon(QPolygonF({QPointF(23, 14), QPointF(16, 14), QPointF(19.5, 9)}));
       }},
      {Ctl::SpeedItem12,
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kBlue);
         p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
         letter(p, "i", QRectF(2, 2, 20, 20), Qt::white, 14);
       }},
      {Ctl::SpeedItem13,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(150, 100, 60));
         p.drawRect(QRectF(4.5, 2.5, 11, 19));
         p.setBrush(kFolder);
         p.drawEllipse(QRectF(12, 11, 2, 2));
         arrow(p, QPointF(14, 12), QPointF(22, 12), kRed);
       }},
  };
  return m;
}

}  // namespace

QIcon ToolIcon(Ctl name) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const auto& m = painters();
  if (auto it = m.find(name); it != m.end()) it->second(p);
  p.end();
  return QIcon(pm);
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
