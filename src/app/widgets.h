#pragma once
// Small widgets of the main window: the colour circles and the semester
// box; and helpers the window's parts share.
#include <QComboBox>
#include <QWidget>
#include <string>

#include "pdb/color.h"

class QLineEdit;

namespace vekla {

// Sets the program's language, Czech, for the toolkit's own dialogs and
// formats as well (its translation, when installed).
void UseCzech();

// A window of size `wanted` on the screen's free area `screen`: no larger
// than the area less room for the window's own frame, centred on it.
QRect CentredWithin(QSize wanted, const QRect& screen);
// Sizes a window to `wanted`, or less on a small screen, centred on the
// screen of its parent (a guide or a print preview on a laptop's screen).
void FitOnScreen(QWidget* w, QSize wanted);

// Room for `sample` in the widget's font, with a margin for a frame.
int TextWidth(const QWidget* w, const QString& sample);
// Sets a line edit's text (code page 1250) only when it differs, so the
// cursor stays put while the user types.
void SetEditText(QLineEdit* e, const std::string& cpText);
void SetTextColor(QWidget* w, Color c);

// A circle filled with a colour (Shape1, Shape2, ShapeRozvrh).
class ColorCircle : public QWidget {
  Q_OBJECT
 public:
  explicit ColorCircle(QWidget* parent = nullptr);
  Color color() const { return color_; }
  void setColor(Color c);
  QSize sizeHint() const override { return {22, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Color color_ = kWhite;
};

// A combo box that says when its list is about to drop down.
class SemesterBox : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;
  void showPopup() override;

 signals:
  void droppingDown();
};

}  // namespace vekla
