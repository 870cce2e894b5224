#include "app/helpwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QImage>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/widgets.h"

namespace vekla {

namespace {

// The screenshots are as wide as the window they show; the browser would
// shrink them pixel by pixel and make their texts unreadable, so they are
// scaled down smoothly once, to a width the window shows without scrolling.
class GuideBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;
  QVariant loadResource(int type, const QUrl& name) override {
    QVariant resource = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::ImageResource) return resource;
    QImage image;
    if (resource.canConvert<QImage>()) image = resource.value<QImage>();
    if (image.isNull() && resource.canConvert<QByteArray>()) image.loadFromData(resource.toByteArray());
    if (image.width() <= kWidest) return resource;
    return image.scaledToWidth(kWidest, Qt::SmoothTransformation);
  }

 private:
  static constexpr int kWidest = 820;
};

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle(QStringLiteral("Vekla – příručka"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QToolBar(this);
  layout->addWidget(bar);
  browser_ = new GuideBrowser(this);
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_, 1);

  QAction* back = bar->addAction(QStringLiteral("Zpět"), browser_, &QTextBrowser::backward);
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  QAction* forward = bar->addAction(QStringLiteral("Vpřed"), browser_, &QTextBrowser::forward);
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);
  bar->addAction(QStringLiteral("Obsah"), browser_, &QTextBrowser::home);
  QAction* close = bar->addAction(QStringLiteral("Zavřít"), this, &QWidget::close);
  close->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Vekla – příručka") : title);
  });
  FitOnScreen(this, QSize(900, 720));
}

bool HelpWindow::openGuide(const QString& indexPath) {
  if (!QFileInfo(indexPath).isReadable()) return false;
  browser_->setSource(QUrl::fromLocalFile(QFileInfo(indexPath).absoluteFilePath()));
  return !browser_->toPlainText().isEmpty();
}

}  // namespace vekla
