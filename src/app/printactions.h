#pragma once
// The window's printing: "Tisk…", "Náhled tisku" and "Export PDF…" of the
// tab shown, the per-student report ("Výpis pro rodiče…", "Výpis pro
// rodiče do PDF…") and the class overview ("Přehled třídy"). The pages are
// those of src/print/, the PDF files go through the export command, so the
// window prints what the converter writes.
#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <functional>
#include <memory>
#include <vector>

#include "app/classoverview.h"

class QAction;
class QPrinter;

namespace vekla {

class MainWindow;
class PrintDocument;

class PrintActions : public QObject {
  Q_OBJECT
 public:
  // Adds the actions to the window's "Soubor" menu (above the recent files)
  // and "Přehled třídy" to "Utility"; follows the window's refreshes.
  explicit PrintActions(MainWindow* window);
  ~PrintActions() override;

  void print();
  void preview();
  void exportPdf();
  void previewReport();
  void exportReport();
  void showOverview();

  // The students the report is for: the student rows of the grid's
  // selection when it has more than one cell, else every student (empty).
  std::vector<int> reportRows() const;

  // Asks where and what to print (the print dialog); tests answer it.
  std::function<bool(QPrinter& printer, int pages)> choosePrinter;
  QPrintPreviewDialog* shownPreview() const { return preview_; }
  ClassOverview* overview() const { return overview_; }

 private:
  void refresh();
  void openPreview(std::function<std::unique_ptr<PrintDocument>()> make, const QString& title);

  MainWindow* window_;
  QAction* print_ = nullptr;
  QAction* previewAction_ = nullptr;
  QAction* pdf_ = nullptr;
  QAction* report_ = nullptr;
  QAction* reportPdf_ = nullptr;
  QAction* overviewAction_ = nullptr;
  QPointer<QPrintPreviewDialog> preview_;
  QPointer<ClassOverview> overview_;
};

}  // namespace vekla
