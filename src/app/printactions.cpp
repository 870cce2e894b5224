#include "app/printactions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <set>

#include "app/classoverview.h"
#include "app/mainwindow.h"
#include "commands/convertcommands.h"
#include "commands/kindtable.h"
#include "pdb/text.h"
#include "print/printcodecs.h"
#include "workspace/gradegeometry.h"

namespace vekla {

namespace {

// A menu of the window's menu bar by its title without the "&".
QMenu* MenuTitled(QMainWindow* window, const QString& title) {
  for (QAction* a : window->menuBar()->actions())
    if (a->menu() && a->text().remove('&') == title) return a->menu();
  return nullptr;
}

}  // namespace

PrintActions::PrintActions(MainWindow* window) : QObject(window), window_(window) {
  setObjectName(QStringLiteral("PrintActions"));
  InstallPrinting();
  auto action = [this](const char* name, const QString& caption, const QString& tip, void (PrintActions::*slot)()) {
    auto* a = new QAction(caption, window_);
    a->setObjectName(QString::fromLatin1(name));
    a->setStatusTip(tip);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  print_ = action("MenuTisk", QStringLiteral("&Tisk…"), QStringLiteral("Vytiskne kartu na stránky A4"),
                  &PrintActions::print);
  print_->setShortcut(QKeySequence(QStringLiteral("Ctrl+P"), QKeySequence::PortableText));
  previewAction_ = action("MenuNahledTisku", QStringLiteral("Náhle&d tisku"),
                          QStringLiteral("Ukáže stránky, jak se vytisknou"), &PrintActions::preview);
  pdf_ = action("MenuExportPdf", QStringLiteral("Export PD&F…"), QStringLiteral("Uloží stránky tisku do souboru PDF"),
                &PrintActions::exportPdf);
  const QString forWhom = QStringLiteral("Stránka pro každého vybraného studenta (bez výběru pro všechny)");
  report_ = action("MenuVypisRodice", QStringLiteral("&Výpis pro rodiče…"), forWhom, &PrintActions::previewReport);
  reportPdf_ = action("MenuVypisRodicePdf", QStringLiteral("Výpis p&ro rodiče do PDF…"), forWhom,
                      &PrintActions::exportReport);
  overviewAction_ = action("MenuPrehledTridy", QStringLiteral("&Přehled třídy"),
                           QStringLiteral("Okno s grafy známek a průměrů třídy"), &PrintActions::showOverview);

  if (QMenu* file = MenuTitled(window_, QStringLiteral("Soubor"))) {
    QAction* before = window_->recentMenu() ? window_->recentMenu()->menuAction() : nullptr;
    file->insertSeparator(before);
    file->insertActions(before, {print_, previewAction_, pdf_});
    file->insertSeparator(before);
    file->insertActions(before, {report_, reportPdf_});
    file->insertSeparator(before);
  }
  if (QMenu* utility = MenuTitled(window_, QStringLiteral("Utility"))) utility->addAction(overviewAction_);

  choosePrinter = [this](QPrinter& printer, int pages) {
    QPrintDialog dialog(&printer, window_);
    dialog.setMinMax(1, pages);
    return dialog.exec() == QDialog::Accepted;
  };
  connect(window_, &MainWindow::refreshed, this, &PrintActions::refresh);
  refresh();
}

PrintActions::~PrintActions() = default;

void PrintActions::refresh() {
  const VeklaState& s = window_->state();
  const KindEntry& kind = KindTable(s.kind);
  for (QAction* a : {print_, previewAction_, pdf_}) a->setEnabled(kind.has(Conversion::ExportPdf));
  for (QAction* a : {report_, reportPdf_}) a->setEnabled(kind.has(Conversion::ExportReport));
  overviewAction_->setEnabled(s.kind == DbKind::Znamky);
}

std::vector<int> PrintActions::reportRows() const {
  const std::vector<CellPos> cells = window_->selectedCells();
  if (cells.size() < 2) return {};
  const GradeGeometry geo(window_->state().grid);
  std::set<int> rows;
  for (const CellPos& c : cells)
    if (geo.isStudentRow(c.row)) rows.insert(c.row);
  return {rows.begin(), rows.end()};
}

void PrintActions::print() {
  if (!print_->isEnabled()) return;
  window_->commitPendingEdit();
  std::unique_ptr<PrintDocument> doc = PagesOf(window_->state());
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(doc->frame().title);
  // Laid out first, so that the dialog knows the pages.
  doc->layout(Ink(&printer));
  if (!choosePrinter || !choosePrinter(printer, doc->pageCount())) return;
  const bool range = printer.printRange() == QPrinter::PageRange;
  if (!PrintOn(*doc, printer, range ? printer.fromPage() : 1, range ? printer.toPage() : 0))
    window_->prompter().message(cp("Tisk se nepodařil: tiskárnu nelze použít."));
}

void PrintActions::openPreview(std::function<std::unique_ptr<PrintDocument>()> make, const QString& title) {
  window_->commitPendingEdit();
  if (preview_) preview_->close();
  auto* dialog = new QPrintPreviewDialog(window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(title);
  dialog->resize(900, 760);
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
  if (!previewAction_->isEnabled()) return;
  openPreview([this] { return PagesOf(window_->state()); }, QStringLiteral("Náhled tisku"));
}

void PrintActions::previewReport() {
  if (!report_->isEnabled()) return;
  openPreview([this, rows = reportRows()] { return ReportOf(window_->state(), rows); },
              QStringLiteral("Výpis pro rodiče"));
}

void PrintActions::exportPdf() {
  if (!pdf_->isEnabled()) return;
  window_->commitPendingEdit();
  window_->run([this] { return ConvertClick(window_->state(), window_->prompter(), Conversion::ExportPdf); },
               cp("export"));
}

void PrintActions::exportReport() {
  if (!reportPdf_->isEnabled()) return;
  window_->commitPendingEdit();
  const std::vector<int> rows = reportRows();
  window_->run(
      [&] {
        VeklaState& s = window_->state();
        return ExportFilesClick(s, window_->prompter(), Conversion::ExportReport, ReportFiles(s, rows));
      },
      cp("export"));
}

void PrintActions::showOverview() {
  if (!overviewAction_->isEnabled()) return;
  window_->commitPendingEdit();
  if (!overview_) {
    overview_ = new ClassOverview(window_->state(), window_);
    connect(window_, &MainWindow::refreshed, overview_, &ClassOverview::refreshSoon);
  }
  overview_->refresh();
  overview_->show();
  overview_->raise();
  overview_->activateWindow();
}

}  // namespace vekla
