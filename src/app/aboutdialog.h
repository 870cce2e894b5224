#pragma once
// "O programu": the program, its version and licence, and the libraries it
// runs on with their versions.
#include <QDialog>
#include <QPixmap>

namespace vekla {

// The program's icon at `size` pixels, from the program's resources.
QPixmap ProgramPicture(int size);

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
  // The text shown, as plain text (for the tests and the screen reader).
  QString plainText() const;

 private:
  QString html_;
};

}  // namespace vekla
