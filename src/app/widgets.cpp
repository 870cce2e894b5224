#include "app/widgets.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QScreen>
#include <QLocale>
#include <QPainter>
#include <QTranslator>

#include "app/qtcolor.h"
#include "pdb/text.h"

namespace vekla {

QRect CentredWithin(QSize wanted, const QRect& screen) {
  // Title bar and borders, which the window manager adds around the window.
  const QSize frame(16, 40);
  const QSize size = wanted.boundedTo(screen.size() - frame);
  const QPoint corner = screen.topLeft() + QPoint((screen.width() - size.width() - frame.width()) / 2,
                                                  (screen.height() - size.height() - frame.height()) / 2);
  return {corner, size};
}

void FitOnScreen(QWidget* w, QSize wanted) {
  const QWidget* anchor = w->parentWidget() ? w->parentWidget() : w;
  const QScreen* screen = anchor->screen();
  if (!screen) {
    w->resize(wanted);
    return;
  }
  const QRect placed = CentredWithin(wanted, screen->availableGeometry());
  w->resize(placed.size());
  w->move(placed.topLeft());
}

int TextWidth(const QWidget* w, const QString& sample) { return w->fontMetrics().horizontalAdvance(sample) + 14; }

void SetEditText(QLineEdit* e, const std::string& cpText) {
  const QString t = toQt(cpText);
  if (e->text() != t) e->setText(t);
}

void SetTextColor(QWidget* w, Color c) {
  QPalette pal = w->palette();
  if (pal.color(QPalette::Text) == qColor(c)) return;
  pal.setColor(QPalette::Text, qColor(c));
  w->setPalette(pal);
}

void UseCzech() {
  QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
  static QTranslator qtCzech;
  if (qtCzech.isEmpty() &&
      qtCzech.load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtCzech);
}

ColorCircle::ColorCircle(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

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
