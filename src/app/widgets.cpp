#include "app/widgets.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTranslator>

#include "app/qtcolor.h"
#include "pdb/text.h"

namespace vekla {

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
