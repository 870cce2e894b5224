#pragma once
// The user guide in a window of its own, beside the main window: the guide's
// HTML pages with their pictures, links followed inside, outside links in
// the browser.
#include <QWidget>

class QTextBrowser;

namespace vekla {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the guide's first page; false when it cannot be read.
  bool openGuide(const QString& indexPath);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace vekla
