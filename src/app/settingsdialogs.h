#pragma once
// The three small dialogs of the window: "Hodiny" (T_hodiny) and "Datum"
// (T_datum), shown modally to fill the selected cell, and "Nastavení Známek
// pro HTML a Excel" (T_NastavZnamky), shown without blocking the window.
#include <QDialog>

#include "workspace/settingsdialogs.h"

class QCheckBox;
class QSpinBox;

namespace vekla {

// Two spin fields, OK and "Storno".
class PairDialog : public QDialog {
  Q_OBJECT
 public:
  PairDialog(QWidget* parent, const char* objectName, const QString& caption, const QColor& background,
             const QString& first, const QString& second);
  void setRanges(int min1, int max1, int min2, int max2);
  void setValues(int v1, int v2);
  void setSecondStep(int step);
  int first() const;
  int second() const;

 private:
  QSpinBox* spin1_;
  QSpinBox* spin2_;
};

// T_hodiny: hours 0 to 23, minutes 0 to 55.
class HoursDialog : public PairDialog {
  Q_OBJECT
 public:
  explicit HoursDialog(QWidget* parent);
};

// T_datum: day 1 to 31, month 1 to 12.
class DateDialog : public PairDialog {
  Q_OBJECT
 public:
  explicit DateDialog(QWidget* parent);
};

// T_NastavZnamky: the four grade display options. OK hands them on through
// `confirmed`; "Storno" closes without; the check boxes keep what was left
// in them either way.
class GradeOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit GradeOptionsDialog(QWidget* parent);
  void setOptions(const GradeDisplayOptions& o);
  GradeDisplayOptions options() const;

 signals:
  void confirmed(const GradeDisplayOptions& o);
  void closedEitherWay();

 private:
  QCheckBox* zhustit_;
  QCheckBox* barevne_;
  QCheckBox* znamky_;
  QCheckBox* zvlast_;
};

}  // namespace vekla
