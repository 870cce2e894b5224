#include "app/settingsdialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vekla {

namespace {

void paintBackground(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// OK and "Storno" at the bottom right; Enter is OK, Escape is "Storno".
QHBoxLayout* buttons(QDialog* d) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* ok = new QPushButton(QStringLiteral("OK"), d);
  ok->setObjectName("Button1");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Storno"), d);
  cancel->setObjectName("Button2");
  QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

QSpinBox* spin(QWidget* parent, const char* name) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setMinimumWidth(s->fontMetrics().horizontalAdvance("0000") + 32);
  return s;
}

}  // namespace

PairDialog::PairDialog(QWidget* parent, const char* objectName, const QString& caption, const QColor& background,
                       const QString& first, const QString& second)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(objectName);
  setWindowTitle(caption);
  paintBackground(this, background);
  auto* grid = new QGridLayout;
  auto* label1 = new QLabel(first, this);
  label1->setObjectName("Label1");
  auto* label2 = new QLabel(second, this);
  label2->setObjectName("Label2");
  spin1_ = spin(this, "RxSpinEdit1");
  spin2_ = spin(this, "RxSpinEdit2");
  label1->setBuddy(spin1_);
  label2->setBuddy(spin2_);
  grid->addWidget(label1, 0, 0);
  grid->addWidget(spin1_, 0, 1);
  grid->addWidget(label2, 1, 0);
  grid->addWidget(spin2_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons(this));
}

void PairDialog::setRanges(int min1, int max1, int min2, int max2) {
  spin1_->setRange(min1, max1);
  spin2_->setRange(min2, max2);
}

void PairDialog::setValues(int v1, int v2) {
  spin1_->setValue(v1);
  spin2_->setValue(v2);
  spin1_->selectAll();
  spin1_->setFocus();
}

void PairDialog::setSecondStep(int step) { spin2_->setSingleStep(step); }
int PairDialog::first() const { return spin1_->value(); }
int PairDialog::second() const { return spin2_->value(); }

HoursDialog::HoursDialog(QWidget* parent)
    : PairDialog(parent, "T_hodiny", QStringLiteral("Hodiny"), QColor(64, 128, 128), QStringLiteral("&Hodiny:"),
                 QStringLiteral("&Minuty:")) {
  setRanges(0, 23, 0, 55);
}

DateDialog::DateDialog(QWidget* parent)
    : PairDialog(parent, "T_datum", QStringLiteral("Datum"), QColor(128, 128, 255), QStringLiteral("&Den:"),
                 QStringLiteral("&Měsíc:")) {
  setRanges(1, 31, 1, 12);
}

GradeOptionsDialog::GradeOptionsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("T_NastavZnamky");
  setWindowTitle(QStringLiteral("Nastavení Známek pro HTML a Excel"));
  paintBackground(this, QColor(169, 211, 211));
  auto* layout = new QVBoxLayout(this);
  auto box = [this, layout](const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, this);
    c->setObjectName(name);
    layout->addWidget(c);
    return c;
  };
  zhustit_ = box("CBzhustit", QStringLiteral("&zhustit známky"));
  barevne_ = box("CBbarevne", QStringLiteral("&barevně odlišit"));
  znamky_ = box("CBznamky", QStringLiteral("zná&mky barevně"));
  zvlast_ = box("CBzvlast", QStringLiteral("&studenty po jednom"));
  layout->addLayout(buttons(this));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(this, &QDialog::accepted, this, [this] { emit confirmed(options()); });
  connect(this, &QDialog::finished, this, [this] { emit closedEitherWay(); });
}

void GradeOptionsDialog::setOptions(const GradeDisplayOptions& o) {
  zhustit_->setChecked(o.zhustit);
  barevne_->setChecked(o.barevne);
  znamky_->setChecked(o.znamkyBarevne);
  zvlast_->setChecked(o.zvlast);
}

GradeDisplayOptions GradeOptionsDialog::options() const {
  return {zhustit_->isChecked(), barevne_->isChecked(), znamky_->isChecked(), zvlast_->isChecked()};
}

}  // namespace vekla
