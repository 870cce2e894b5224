#pragma once
// The welcome of the first start: what Vekla does, and three ways on.
#include <QDialog>

#include "workspace/prompter.h"

class QCheckBox;

namespace vekla {

class WelcomeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit WelcomeDialog(QWidget* parent = nullptr);
  // The way chosen; closing the dialog counts as the empty book.
  WelcomeAnswer answer() const;

 private:
  void choose(WelcomeChoice c);

  WelcomeChoice choice_ = WelcomeChoice::EmptyBook;
  QCheckBox* showAgain_ = nullptr;
};

}  // namespace vekla
