#include "app/printactions.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/widgets.h"
#include "pdb/text.h"
#include "print/printcodecs.h"

namespace vekla {

PrintActions::PrintActions(QWidget* window, const VeklaState& s, Prompter& p)
    : QObject(window), window_(window), s_(s), p_(p) {
  setObjectName(QStringLiteral("PrintActions"));
  InstallPrinting();
  choosePrinter = [this](QPrinter& printer, int pages) {
    QPrintDialog dialog(&printer, window_);
    dialog.setMinMax(1, pages);
    return dialog.exec() == QDialog::Accepted;
  };
}

PrintActions::~PrintActions() = default;

void PrintActions::print() {
  std::unique_ptr<PrintDocument> doc = PagesOf(s_);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(doc->frame().title);
  // Laid out first, so that the dialog knows the pages.
  doc->layout(Ink(&printer));
  if (!choosePrinter || !choosePrinter(printer, doc->pageCount())) return;
  const bool range = printer.printRange() == QPrinter::PageRange;
  if (!PrintOn(*doc, printer, range ? printer.fromPage() : 1, range ? printer.toPage() : 0))
    p_.message(cp("Tisk se nepodařil: tiskárnu nelze použít."));
}

void PrintActions::openPreview(std::function<std::unique_ptr<PrintDocument>()> make, const QString& title) {
  if (preview_) preview_->close();
  auto* dialog = new QPrintPreviewDialog(window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(title);
  FitOnScreen(dialog, QSize(900, 760));
  // Drawn anew whenever the preview or its "Tisk" asks.
  connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [make = std::move(make)](QPrinter* printer) {
    std::unique_ptr<PrintDocument> doc = make();
    const bool range = printer->printRange() == QPrinter::PageRange;
    PrintOn(*doc, *printer, range ? printer->fromPage() : 1, range ? printer->toPage() : 0);
  });
  preview_ = dialog;
  dialog->open();
}

void PrintActions::preview() {
  openPreview([this] { return PagesOf(s_); }, QStringLiteral("Náhled tisku"));
}

void PrintActions::previewReport(const std::vector<int>& rows) {
  openPreview([this, rows] { return ReportOf(s_, rows); }, QStringLiteral("Výpis pro rodiče"));
}

void PrintActions::showOverview() {
  if (!overview_) overview_ = new ClassOverview(s_, window_);
  overview_->refresh();
  overview_->show();
  overview_->raise();
  overview_->activateWindow();
}

void PrintActions::followWindow() {
  if (overview_) overview_->refreshSoon();
}

}  // namespace vekla
